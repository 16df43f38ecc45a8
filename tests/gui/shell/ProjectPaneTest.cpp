#include "DialogTesting.h"
#include "GuiSupport.h"

#include "shell/AppState.h"
#include "building/BuildingPane.h"
#include "shell/Events.h"
#include "shell/MainFrame.h"
#include "shell/ProjectPane.h"
#include "proposal/ProposalPane.h"
#include "shell/RibbonTable.h"
#include "site/SitePane.h"

#include "model/Building.h"
#include "model/Project.h"
#include "model/Proposal.h"
#include "model/Requirement.h"
#include "model/Site.h"
#include "support/FileSupport.h"
#include "support/ModelFixtures.h"

#include <gtest/gtest.h>

#include <wx/aui/auibook.h>
#include <wx/msgdlg.h>
#include <wx/ribbon/bar.h>
#include <wx/weakref.h>

namespace {

using namespace kovra_test;

// The main window with a project of a building "House" (used by the
// proposal "Variant A"), a spare building "Shed", a set "Brief" and a site
// "Plot" on the shed, its tree filled.
class ProjectPaneTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto project = std::make_shared<bg::Project>("Home");
        house = makeRectBuilding(10, 8, 2);
        house->name = "House";
        shed = makeRectBuilding(4, 3);
        shed->name = "Shed";
        brief = makeRequirementSet({makeRequirement(0, "Living", 20)}, "Brief");
        proposal = makeProposal(house, brief, "Variant A");
        site = std::make_shared<bg::Site>();
        site->name = "Plot";
        site->building = shed;
        project->addBuilding(house);
        project->addBuilding(shed);
        project->addRequirementSet(brief);
        project->proposals.push_back(proposal);
        project->sites.push_back(site);
        getAppState().project = project;

        frame = new MainFrame();
        frame->Show();
        pane = frame->getProjectPane();
        tree = pane->tree;
        postEvent(pane, EVT_PROJECT_CHANGED);
        ASSERT_TRUE(pumpEventsUntil([&] { return pane->rootItem.IsOk() && frame->IsShownOnScreen(); }));
    }

    void TearDown() override
    {
        frame->Destroy();
        pumpEventsUntil([&] { return !frame; });
        getAppState().project.reset();
    }

    wxDataViewItem item(const wxDataViewItem& container, const std::string& name)
    {
        for (int i = 0; i < tree->GetChildCount(container); ++i) {
            const wxDataViewItem child = tree->GetNthChild(container, static_cast<unsigned>(i));
            if (tree->GetItemText(child).utf8_string() == name)
                return child;
        }
        return wxDataViewItem();
    }

    // The user selects an item: the control selects it and reports it.
    void userSelect(const wxDataViewItem& selected)
    {
        if (selected.IsOk())
            tree->Select(selected);
        else
            tree->UnselectAll();
        wxDataViewEvent event(wxEVT_DATAVIEW_SELECTION_CHANGED, tree, selected);
        tree->HandleWindowEvent(event);
    }

    // An in-place edit of the item committed with the text.
    void userRename(const wxDataViewItem& edited, const std::string& text)
    {
        tree->SetItemText(edited, wxString::FromUTF8(text));
        wxDataViewEvent event(wxEVT_DATAVIEW_ITEM_VALUE_CHANGED, tree, edited);
        tree->HandleWindowEvent(event);
    }

    std::vector<std::string> pageTitles()
    {
        std::vector<std::string> titles;
        for (size_t i = 0; i < frame->getNotebook()->GetPageCount(); ++i)
            titles.push_back(frame->getNotebook()->GetPageText(i).utf8_string());
        return titles;
    }

    wxWindow* selectedPage()
    {
        const int selection = frame->getNotebook()->GetSelection();
        return selection == wxNOT_FOUND ? nullptr : frame->getNotebook()->GetPage(static_cast<size_t>(selection));
    }

    // Lets every queued event run: the tree's posts and the window's answers.
    void settle() { pumpEvents(50); }

    wxWeakRef<MainFrame> frame;
    ProjectPane* pane = nullptr;
    wxDataViewTreeCtrl* tree = nullptr;
    std::shared_ptr<bg::Building> house, shed;
    std::shared_ptr<bg::RequirementSet> brief;
    std::shared_ptr<bg::Proposal> proposal;
    std::shared_ptr<bg::Site> site;
};

TEST_F(ProjectPaneTest, ListsTheProjectUnderFourContainers)
{
    EXPECT_EQ(tree->GetItemText(pane->rootItem), "Project (Home)");
    std::vector<std::string> containers;
    for (int i = 0; i < tree->GetChildCount(pane->rootItem); ++i)
        containers.push_back(tree->GetItemText(tree->GetNthChild(pane->rootItem, i)).utf8_string());
    EXPECT_EQ(containers, (std::vector<std::string>{"Buildings", "Requirement sets", "Proposals", "Sites"}));
    EXPECT_EQ(tree->GetItemText(tree->GetNthChild(pane->buildingsItem, 1)), "Shed");
    EXPECT_TRUE(item(pane->proposalsItem, "Variant A").IsOk());
    EXPECT_TRUE(item(pane->sitesItem, "Plot").IsOk());
    EXPECT_FALSE(pane->currentItem.IsOk()) << "the program's selection of the root is no user's";
}

TEST_F(ProjectPaneTest, AnObjectAddedJustBeforeARebuildIsListedOnce)
{
    // A new project and at once a new building: the rebuild lists the
    // building, then the building's own added-event arrives.
    auto project = std::make_shared<bg::Project>("Fresh");
    auto barn = makeRectBuilding(6, 5);
    barn->name = "Barn";
    project->addBuilding(barn);
    getAppState().project = project;
    postEvent(pane, EVT_PROJECT_CHANGED);
    postObjectEvent(pane, EVT_BUILDING_ADDED, barn);
    settle();
    ASSERT_EQ(tree->GetChildCount(pane->buildingsItem), 1);
    EXPECT_EQ(tree->GetItemText(tree->GetNthChild(pane->buildingsItem, 0)), "Barn");

    // A second building of the same name is another object and is listed.
    auto twin = makeRectBuilding(6, 5);
    twin->name = "Barn";
    project->addBuilding(twin);
    postObjectEvent(pane, EVT_BUILDING_ADDED, twin);
    settle();
    EXPECT_EQ(tree->GetChildCount(pane->buildingsItem), 2);
}

TEST_F(ProjectPaneTest, SelectingABuildingTwiceOpensOnePageAndItsRibbon)
{
    const wxDataViewItem houseItem = item(pane->buildingsItem, "House");
    userSelect(houseItem);
    userSelect(houseItem); // before the first open was handled
    settle();
    ASSERT_EQ(pageTitles(), std::vector<std::string>{"House"});
    wxWindow* page = getAppState().buildingPages[house];
    EXPECT_EQ(selectedPage(), page);

    userSelect(item(pane->sitesItem, "Plot"));
    settle();
    userSelect(houseItem);
    settle();
    EXPECT_EQ(pageTitles(), (std::vector<std::string>{"House", "Plot"}));
    EXPECT_EQ(selectedPage(), page);
    wxRibbonBar* ribbon = frame->getRibbonBar();
    for (size_t k = 0; k < ribbon->GetPageCount(); ++k)
        EXPECT_EQ(ribbon->IsPageShown(k), k == RIBBON_PAGE_PROJECT || k == RIBBON_PAGE_BUILDING) << k;
    EXPECT_EQ(ribbon->GetActivePage(), RIBBON_PAGE_BUILDING);

    userSelect(item(pane->proposalsItem, "Variant A"));
    settle();
    for (size_t k = 0; k < ribbon->GetPageCount(); ++k)
        EXPECT_EQ(ribbon->IsPageShown(k), k == RIBBON_PAGE_PROJECT || k == RIBBON_PAGE_PROPOSAL) << k;
}

TEST_F(ProjectPaneTest, ClosedPageOpensAnewAndReusesTheEntry)
{
    userSelect(item(pane->buildingsItem, "House"));
    settle();
    const size_t entries = getAppState().buildingPages.size();
    frame->getNotebook()->DeletePage(0);
    EXPECT_EQ(getAppState().buildingPages[house], nullptr);

    userSelect(pane->rootItem);
    userSelect(item(pane->buildingsItem, "House"));
    settle();
    EXPECT_EQ(pageTitles(), std::vector<std::string>{"House"});
    EXPECT_NE(getAppState().buildingPages[house], nullptr);
    EXPECT_EQ(getAppState().buildingPages.size(), entries);
}

TEST_F(ProjectPaneTest, DeletingAProposalClosesExactlyItsPage)
{
    userSelect(item(pane->buildingsItem, "Shed"));
    userSelect(item(pane->proposalsItem, "Variant A"));
    settle();
    ASSERT_EQ(pageTitles(), (std::vector<std::string>{"Shed", "Variant A"}));
    std::weak_ptr<bg::Proposal> watch = proposal;
    proposal.reset();

    wxTEST_DIALOG(pane->deleteCurrent(), wxExpectModal<wxMessageDialog>(wxYES).Describe("Confirm delete?"));
    EXPECT_FALSE(item(pane->proposalsItem, "Variant A").IsOk()) << "the item is gone before the page closes";
    EXPECT_TRUE(getAppState().project->proposals.empty());
    settle();
    EXPECT_EQ(pageTitles(), std::vector<std::string>{"Shed"});
}

TEST_F(ProjectPaneTest, DeleteAnsweredNoChangesNothing)
{
    userSelect(item(pane->sitesItem, "Plot"));
    settle();
    wxTEST_DIALOG(pane->deleteCurrent(), wxExpectModal<wxMessageDialog>(wxNO).Describe("Confirm delete?"));
    settle();
    EXPECT_EQ(getAppState().project->sites.size(), 1u);
    EXPECT_EQ(pageTitles(), std::vector<std::string>{"Plot"});
}

TEST_F(ProjectPaneTest, DeletingABuildingInUseIsRefused)
{
    userSelect(item(pane->buildingsItem, "House"));
    settle();
    wxTEST_DIALOG(pane->deleteCurrent(), wxExpectModal<wxMessageDialog>(wxOK).Describe("refusal"));
    settle();
    EXPECT_EQ(getAppState().project->buildings.size(), 2u);
    EXPECT_TRUE(item(pane->buildingsItem, "House").IsOk());
    EXPECT_EQ(pageTitles(), std::vector<std::string>{"House"});
}

TEST_F(ProjectPaneTest, AllowedDeletionsSaveAndLoadWithoutMending)
{
    for (const auto& [container, name] : std::vector<std::pair<wxDataViewItem, std::string>>{
             {pane->sitesItem, "Plot"}, {pane->proposalsItem, "Variant A"}, {pane->buildingsItem, "House"}}) {
        userSelect(item(container, name));
        settle();
        wxTEST_DIALOG(pane->deleteCurrent(), wxExpectModal<wxMessageDialog>(wxYES).Describe(name));
        settle();
    }
    EXPECT_TRUE(pageTitles().empty());
    ScratchFolder folder;
    getAppState().saveProject(folder.file("after.xsp"));
    EXPECT_TRUE(getAppState().loadProject(folder.file("after.xsp")).empty());
    EXPECT_EQ(getAppState().project->buildings.size(), 1u);
}

TEST_F(ProjectPaneTest, RenameRetitlesTheOpenPageOnly)
{
    userSelect(item(pane->sitesItem, "Plot"));
    userSelect(item(pane->buildingsItem, "House"));
    settle();
    userRename(item(pane->sitesItem, "Plot"), "Corner plot");
    userRename(item(pane->requirementSetsItem, "Brief"), "Short brief"); // no page
    settle();
    EXPECT_EQ(site->name, "Corner plot");
    EXPECT_EQ(brief->name, "Short brief");
    EXPECT_EQ(pageTitles(), (std::vector<std::string>{"Corner plot", "House"}));
}

TEST_F(ProjectPaneTest, RenameActsOnTheEditedItemNotAnEarlierSelection)
{
    userSelect(item(pane->buildingsItem, "House"));
    settle();
    auto added = std::make_shared<bg::Building>("Building");
    getAppState().project->addBuilding(added);
    postObjectEvent(pane, EVT_BUILDING_ADDED, added);
    settle();
    const wxDataViewItem addedItem = item(pane->buildingsItem, "Building");
    ASSERT_TRUE(addedItem.IsOk());
    // The control selected the new item without reporting it.
    EXPECT_EQ(tree->GetSelection(), addedItem);
    EXPECT_EQ(pane->selectedBuilding, house);
    userRename(addedItem, "Garage");
    settle();
    EXPECT_EQ(added->name, "Garage");
    EXPECT_EQ(house->name, "House");
    EXPECT_EQ(tree->GetItemText(item(pane->buildingsItem, "House")), "House");
}

TEST_F(ProjectPaneTest, RootAndContainersCannotBeEditedInPlace)
{
    for (const wxDataViewItem& refused : {pane->rootItem, pane->buildingsItem, pane->sitesItem}) {
        wxDataViewEvent event(wxEVT_DATAVIEW_ITEM_START_EDITING, tree, refused);
        tree->HandleWindowEvent(event);
        EXPECT_FALSE(event.IsAllowed());
    }
    wxDataViewEvent event(wxEVT_DATAVIEW_ITEM_START_EDITING, tree, item(pane->buildingsItem, "Shed"));
    tree->HandleWindowEvent(event);
    EXPECT_TRUE(event.IsAllowed());
}

TEST_F(ProjectPaneTest, DuplicatingABuildingListsTheCopyLastAndOpensIt)
{
    userSelect(item(pane->buildingsItem, "House"));
    settle();
    pane->duplicateCurrent();
    settle();
    const auto& buildings = getAppState().project->buildings;
    ASSERT_EQ(buildings.size(), 3u);
    EXPECT_EQ(buildings.back()->name, "House_2");
    EXPECT_EQ(buildings.back()->floors.size(), 2u);
    EXPECT_EQ(tree->GetItemText(tree->GetNthChild(pane->buildingsItem, 2)), "House_2");
    EXPECT_EQ(pageTitles(), (std::vector<std::string>{"House", "House_2"}));

    userSelect(item(pane->buildingsItem, "House_2"));
    settle();
    pane->duplicateCurrent();
    settle();
    EXPECT_EQ(buildings.back()->name, "House_2_2");
}

TEST_F(ProjectPaneTest, RenameProjectCancelledKeepsTheName)
{
    wxTEST_DIALOG(pane->renameProject(), ExpectTextEntry("ignored", wxID_CANCEL));
    EXPECT_EQ(getAppState().project->name, "Home");
    EXPECT_EQ(tree->GetItemText(pane->rootItem), "Project (Home)");

    wxTEST_DIALOG(pane->renameProject(), ExpectTextEntry("Villa"));
    EXPECT_EQ(getAppState().project->name, "Villa");
    EXPECT_EQ(tree->GetItemText(pane->rootItem), "Project (Villa)");
}

TEST_F(ProjectPaneTest, SelectionOfNoItemEmptiesTheSelectionAndPostsNothing)
{
    userSelect(item(pane->buildingsItem, "Shed"));
    settle();
    userSelect(wxDataViewItem());
    settle();
    EXPECT_FALSE(pane->selectedBuilding);
    EXPECT_FALSE(pane->currentItem.IsOk());
    EXPECT_EQ(pageTitles(), std::vector<std::string>{"Shed"});
}

TEST_F(ProjectPaneTest, LoadedProjectWithTwoPagesOpen)
{
    getAppState().loadProject(dataFile("project.xsp"));
    postEvent(pane, EVT_PROJECT_CHANGED);
    settle();
    const auto& project = *getAppState().project;
    userSelect(item(pane->buildingsItem, project.buildings.front()->name));
    userSelect(item(pane->proposalsItem, project.proposals.front()->name));
    settle();
    EXPECT_EQ(pageTitles().size(), 2u);
    pumpEvents(100);
    takeScreenshot("tree-with-pages");
}

} // namespace

namespace {

TEST_F(ProjectPaneTest, ProjectFromThePlatformClosesAllPages)
{
    userSelect(item(pane->buildingsItem, "House"));
    userSelect(item(pane->sitesItem, "Plot"));
    settle();
    ASSERT_EQ(pageTitles().size(), 2u);
    postEvent(frame, EVT_PROJECT_LOADED);
    settle();
    EXPECT_TRUE(pageTitles().empty());
    EXPECT_EQ(frame->getRibbonBar()->GetActivePage(), RIBBON_PAGE_PROJECT);
    EXPECT_EQ(getAppState().buildingPages[house], nullptr);
    EXPECT_EQ(getAppState().sitePages[site], nullptr);
}

} // namespace
