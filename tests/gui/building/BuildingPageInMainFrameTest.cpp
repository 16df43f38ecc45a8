// The building page as the main window opens it: in the notebook, with the
// ribbon's "View all" and "View one".
#include "DialogTesting.h"
#include "GuiSupport.h"

#include "shell/AppState.h"
#include "building/BuildingEditorCtrl.h"
#include "building/BuildingPane.h"
#include "shell/MainFrame.h"
#include "shell/RibbonTable.h"

#include "model/Building.h"
#include "model/Project.h"
#include "support/ModelFixtures.h"

#include <gtest/gtest.h>

#include <wx/aui/auibook.h>
#include <wx/button.h>
#include <wx/ribbon/bar.h>
#include <wx/ribbon/buttonbar.h>
#include <wx/scrolwin.h>
#include <wx/weakref.h>

namespace {

class BuildingPageInMainFrameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        getAppState().project = std::make_shared<bg::Project>("Home");
        frame = new MainFrame();
        frame->Show();
        ASSERT_TRUE(pumpEventsUntil([&] { return frame->IsShownOnScreen(); }));
    }

    void TearDown() override
    {
        if (frame)
            frame->Destroy();
        pumpEventsUntil([&] { return !frame; });
        getAppState().project.reset();
    }

    BuildingPane* openPage(const std::shared_ptr<bg::Building>& building)
    {
        getAppState().project->addBuilding(building);
        frame->openBuildingPage(building);
        wxTheApp->ProcessPendingEvents();
        return dynamic_cast<BuildingPane*>(getAppState().buildingPages[building]);
    }

    void ribbonClick(int id)
    {
        wxRibbonButtonBarEvent event(wxEVT_RIBBONBUTTONBAR_CLICKED, id);
        event.SetEventObject(frame->getRibbonBar());
        frame->getRibbonBar()->GetEventHandler()->ProcessEvent(event);
    }

    wxWeakRef<MainFrame> frame;
};

TEST_F(BuildingPageInMainFrameTest, NewBuildingOpensOnItsRootFloor)
{
    auto building = std::make_shared<bg::Building>("Annex");
    BuildingPane* page = openPage(building);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(frame->getNotebook()->GetPageText(0), "Annex");
    ASSERT_EQ(building->floors.size(), 1u);
    EXPECT_EQ(page->getCurrentFloor(), building->root);
    EXPECT_EQ(frame->getRibbonBar()->GetActivePage(), RIBBON_PAGE_BUILDING);
}

// The main window opens at two thirds of the display, too low for the whole
// column of floor and parameter fields: the column scrolls, so that "Apply
// changes" can be reached.
TEST_F(BuildingPageInMainFrameTest, ALowWindowScrollsTheColumnToApplyChanges)
{
    BuildingPane* page = openPage(kovra_test::makeRectBuilding(15, 15, 3));
    ASSERT_NE(page, nullptr);
    pumpEvents(50);
    auto* apply = dynamic_cast<wxButton*>(page->FindWindow(BuildingPane::ID_APPLY_CHANGES));
    ASSERT_NE(apply, nullptr);
    auto* column = dynamic_cast<wxScrolledWindow*>(apply->GetParent());
    ASSERT_NE(column, nullptr);
    ASSERT_LT(column->GetClientSize().y, column->GetVirtualSize().y) << "the window is not low enough to tell";
    const auto bottomOf = [&](wxWindow* window) {
        return window->GetPosition().y + window->GetSize().y;
    };
    EXPECT_GT(bottomOf(apply), column->GetClientSize().y);
    column->Scroll(0, column->GetVirtualSize().y);
    pumpEvents(50);
    EXPECT_LE(bottomOf(apply), column->GetClientSize().y);
    EXPECT_GE(apply->GetPosition().y, 0);
}

TEST_F(BuildingPageInMainFrameTest, ViewCommandsActOnThePageSelectedLast)
{
    auto house = kovra_test::makeRectBuilding(15, 15, 3);
    house->name = "House";
    auto shed = kovra_test::makeRectBuilding(6, 4);
    shed->name = "Shed";
    BuildingPane* housePage = openPage(house);
    BuildingPane* shedPage = openPage(shed);
    ASSERT_TRUE(housePage && shedPage);

    ribbonClick(ID_BUILDING_VIEW_ALL);
    EXPECT_EQ(shedPage->showAllFloors, 1);
    EXPECT_EQ(housePage->showAllFloors, 0);

    frame->getNotebook()->SetSelection(0);
    ASSERT_TRUE(pumpEventsUntil([&] { return frame->getNotebook()->GetSelection() == 0; }));
    wxTheApp->ProcessPendingEvents();
    ribbonClick(ID_BUILDING_VIEW_ALL);
    EXPECT_EQ(housePage->showAllFloors, 1);
    EXPECT_TRUE(housePage->getEditor()->isShowingAll());
    frame->Update();
    pumpEvents(300); // lets the display draw it, for the screenshot only
    takeScreenshot("building-page-in-main-window-view-all");

    ribbonClick(ID_BUILDING_VIEW_ONE);
    EXPECT_EQ(housePage->showAllFloors, 0);
    EXPECT_EQ(shedPage->showAllFloors, 1);
}

TEST_F(BuildingPageInMainFrameTest, ClosingThePageUnregistersIt)
{
    auto building = kovra_test::makeRectBuilding(10, 8);
    openPage(building);
    frame->getNotebook()->DeletePage(0);
    EXPECT_EQ(getAppState().buildingPages[building], nullptr);
    ribbonClick(ID_BUILDING_VIEW_ALL); // no handler of the closed page is left
}

} // namespace
