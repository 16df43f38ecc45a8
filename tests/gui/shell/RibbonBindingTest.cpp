#include "GuiSupport.h"

#include "shell/AppState.h"
#include "shell/KovraPage.h"
#include "shell/MainFrame.h"
#include "shell/RibbonEventHandler.h"
#include "RibbonSupport.h"

#include <gtest/gtest.h>

#include <wx/aui/auibook.h>
#include <wx/ribbon/bar.h>
#include <wx/ribbon/buttonbar.h>
#include <wx/weakref.h>

#include <string>
#include <vector>

namespace {

// A workspace page that records which page handled "Start".
class RecordingPage : public KovraPage, public RibbonEventHandler {
public:
    RecordingPage(wxWindow* parent, RibbonPage kind, std::string name, std::vector<std::string>* log)
        : KovraPage(parent, kind), name(std::move(name)), log(log)
    {
    }

    void bindRibbonEvents(wxRibbonBar* ribbonBar) override
    {
        bindRibbon(ribbonBar, wxEVT_RIBBONBUTTONBAR_CLICKED, ID_LAYOUT_START, &RecordingPage::onStart);
    }

private:
    void onStart(wxRibbonButtonBarEvent&) { log->push_back(name); }

    std::string name;
    std::vector<std::string>* log;
};

class RibbonBindingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        frame = new MainFrame();
        frame->Show();
        pumpEventsUntil([&] { return frame->IsShownOnScreen(); });
    }

    void TearDown() override
    {
        frame->Destroy();
        pumpEventsUntil([&] { return !frame; });
    }

    void click(int id) { ASSERT_TRUE(clickRibbon(frame->getRibbonBar(), id)); }

    RecordingPage* addPage(const std::string& name, RibbonPage kind = RIBBON_PAGE_PROPOSAL)
    {
        auto* page = new RecordingPage(frame->getNotebook(), kind, name, &log);
        frame->getNotebook()->AddPage(page, name, true);
        pumpEvents(20);
        return page;
    }

    wxWeakRef<MainFrame> frame;
    std::vector<std::string> log;
};

TEST_F(RibbonBindingTest, ThePageSelectedLastHandlesTheCommandOnce)
{
    RecordingPage* a = addPage("A");
    addPage("B");
    click(ID_LAYOUT_START);
    EXPECT_EQ(log, std::vector<std::string>{"B"});

    frame->getNotebook()->SetSelection(frame->getNotebook()->GetPageIndex(a));
    pumpEvents(20);
    log.clear();
    click(ID_LAYOUT_START);
    EXPECT_EQ(log, std::vector<std::string>{"A"});
}

TEST_F(RibbonBindingTest, PageBoundTwiceHandlesAClickOnce)
{
    RecordingPage* page = addPage("A");
    page->bindRibbonEvents(frame->getRibbonBar());
    page->bindRibbonEvents(frame->getRibbonBar());
    click(ID_LAYOUT_START);
    EXPECT_EQ(log, std::vector<std::string>{"A"});
}

TEST_F(RibbonBindingTest, DestroyedPageNeverHandlesAgain)
{
    addPage("A");
    RecordingPage* b = addPage("B");
    frame->getNotebook()->DeletePage(frame->getNotebook()->GetPageIndex(b));
    pumpEvents(20);
    click(ID_LAYOUT_START);
    EXPECT_EQ(log, std::vector<std::string>{"A"});

    frame->getNotebook()->DeleteAllPages();
    pumpEvents(20);
    log.clear();
    click(ID_LAYOUT_START);
    EXPECT_TRUE(log.empty());
}


class RibbonFollowsPage : public RibbonBindingTest, public ::testing::WithParamInterface<RibbonPage> {};

TEST_P(RibbonFollowsPage, SelectedPageShowsItsRibbonPageBesideProject)
{
    const RibbonPage kind = GetParam();
    addPage("other", kind == RIBBON_PAGE_BUILDING ? RIBBON_PAGE_SITE : RIBBON_PAGE_BUILDING);
    addPage("page", kind);
    wxRibbonBar* ribbon = frame->getRibbonBar();
    for (size_t k = 0; k < ribbon->GetPageCount(); ++k)
        EXPECT_EQ(ribbon->IsPageShown(k), k == RIBBON_PAGE_PROJECT || static_cast<int>(k) == kind) << k;
    EXPECT_EQ(ribbon->GetActivePage(), kind);
}

INSTANTIATE_TEST_SUITE_P(Kinds, RibbonFollowsPage,
                         ::testing::Values(RIBBON_PAGE_BUILDING, RIBBON_PAGE_REQUIREMENTS, RIBBON_PAGE_PROPOSAL,
                                           RIBBON_PAGE_SITE));

TEST_F(RibbonBindingTest, TreeRequestShowsOneWorkspaceRibbonPage)
{
    frame->showRibbonPage(RIBBON_PAGE_SITE);
    frame->showRibbonPage(RIBBON_PAGE_REQUIREMENTS);
    wxRibbonBar* ribbon = frame->getRibbonBar();
    for (size_t k = 0; k < ribbon->GetPageCount(); ++k)
        EXPECT_EQ(ribbon->IsPageShown(k), k == RIBBON_PAGE_PROJECT || k == RIBBON_PAGE_REQUIREMENTS) << k;
    EXPECT_EQ(ribbon->GetActivePage(), RIBBON_PAGE_REQUIREMENTS);

    frame->showRibbonPage(RIBBON_PAGE_PROJECT);
    EXPECT_TRUE(ribbon->IsPageShown(RIBBON_PAGE_REQUIREMENTS));
    EXPECT_EQ(ribbon->GetActivePage(), RIBBON_PAGE_PROJECT);
}

} // namespace
