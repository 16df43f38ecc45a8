#include "GuiSupport.h"
#include "MainFrame.h"

#include <gtest/gtest.h>

TEST(MainFrame, OpensAsAVisibleTopLevelWindow)
{
    auto* frame = new MainFrame(nullptr, wxID_ANY, "Kovra Floorsmith");
    frame->Show();
    frame->Centre();
    pumpEvents(100);
    EXPECT_TRUE(frame->IsShown());
    EXPECT_EQ(frame->GetTitle(), "Kovra Floorsmith");
    EXPECT_GT(frame->GetSize().GetWidth(), 0);
    frame->Destroy();
    pumpEvents(50);
}
