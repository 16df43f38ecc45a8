#include "DialogTesting.h"
#include "ProposalTesting.h"
#include "GuiSupport.h"
#include "PlatformDialogSupport.h"
#include "RibbonSupport.h"

#include "shell/AppState.h"
#include "shell/Events.h"
#include "platformui/KovraClientDialog.h"
#include "shell/MainFrame.h"
#include "shell/ProjectPane.h"
#include "shell/ProposalDialog.h"
#include "proposal/ProposalPane.h"
#include "building/BuildingPane.h"
#include "shell/RibbonTable.h"

#include "model/Building.h"
#include "model/Project.h"
#include "model/Proposal.h"
#include "model/Requirement.h"
#include "model/Site.h"
#include "support/FileSupport.h"
#include "support/ModelFixtures.h"

#include <gtest/gtest.h>

#include <wx/aui/auibook.h>
#include <wx/choice.h>
#include <wx/filedlg.h>
#include <wx/msgdlg.h>
#include <wx/weakref.h>

#include <filesystem>
#include <sstream>

namespace {

using namespace kovra_test;

std::string projectText(const bg::Project& project)
{
    std::stringstream out;
    project.saveToStream(out);
    return maskIds(out.str());
}

class ProjectCommandsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        getAppState().project.reset();
        frame = new MainFrame();
        frame->Show();
        ASSERT_TRUE(pumpEventsUntil([&] { return frame->IsShownOnScreen(); }));
    }

    void TearDown() override
    {
        frame->Destroy();
        pumpEventsUntil([&] { return !frame; });
        getAppState().project.reset();
    }

    void click(int id) { ASSERT_TRUE(clickRibbon(frame->getRibbonBar(), id)) << id; }
    void settle() { pumpEvents(50); }

    std::vector<std::string> pageTitles()
    {
        std::vector<std::string> titles;
        for (size_t i = 0; i < frame->getNotebook()->GetPageCount(); ++i)
            titles.push_back(frame->getNotebook()->GetPageText(i).utf8_string());
        return titles;
    }

    std::vector<std::string> treeItems(const wxDataViewItem& container)
    {
        std::vector<std::string> names;
        wxDataViewTreeCtrl* tree = frame->getProjectPane()->tree;
        for (int i = 0; i < tree->GetChildCount(container); ++i)
            names.push_back(tree->GetItemText(tree->GetNthChild(container, static_cast<unsigned>(i))).utf8_string());
        return names;
    }

    wxWeakRef<MainFrame> frame;
    ScratchFolder folder;
};

TEST_F(ProjectCommandsTest, NewProjectBuildingImportSaveAndLoadAgain)
{
    wxTEST_DIALOG(click(ID_NEW_PROJECT), ExpectTextEntry("Road"));
    settle();
    ASSERT_TRUE(getAppState().project);
    EXPECT_EQ(getAppState().project->name, "Road");
    ProjectPane* pane = frame->getProjectPane();
    EXPECT_EQ(pane->tree->GetItemText(pane->rootItem), "Project (Road)");

    wxTEST_DIALOG(click(ID_NEW_BUILDING), ExpectTextEntry("House"));
    // The fixture's Living has doors to rooms 1 and 2, which the file lacks:
    // the import names them once.
    wxTEST_DIALOG(click(ID_IMPORT_REQUIREMENT_SET), wxExpectModal<wxFileDialog>(dataFile("requirements.csv")),
                  wxExpectModal<wxMessageDialog>(wxOK).Describe("problems of the imported file"));
    settle();
    const bg::Project& project = *getAppState().project;
    ASSERT_EQ(project.buildings.size(), 1u);
    ASSERT_EQ(project.requirementSets.size(), 1u);
    EXPECT_EQ(project.requirementSets.front()->name, "requirements");
    EXPECT_FALSE(project.requirementSets.front()->requirements.empty());
    EXPECT_EQ(treeItems(pane->buildingsItem), std::vector<std::string>{"House"});
    EXPECT_EQ(treeItems(pane->requirementSetsItem), std::vector<std::string>{"requirements"});
    EXPECT_EQ(pageTitles(), (std::vector<std::string>{"House", "requirements"}));
    frame->UpdateWindowUI(wxUPDATE_UI_RECURSE);
    settle();
    takeScreenshot("after-commands");

    const std::string path = folder.file("road.xsp");
    wxTEST_DIALOG(click(ID_SAVE_PROJECT), wxExpectModal<wxFileDialog>(path));
    const std::string saved = projectText(project);

    wxTEST_DIALOG(click(ID_NEW_PROJECT), wxExpectModal<wxMessageDialog>(wxYES).Describe("save question"),
                  ExpectTextEntry("Other"));
    settle();
    EXPECT_TRUE(pageTitles().empty());
    EXPECT_EQ(getAppState().project->name, "Other");

    wxTEST_DIALOG(click(ID_LOAD_PROJECT), wxExpectModal<wxMessageDialog>(wxYES).Describe("save question"),
                  wxExpectModal<wxFileDialog>(path));
    settle();
    EXPECT_EQ(projectText(*getAppState().project), saved);
    EXPECT_EQ(pane->tree->GetItemText(pane->rootItem), "Project (Road)");
    EXPECT_EQ(frame->getRibbonBar()->GetActivePage(), RIBBON_PAGE_PROJECT);
}

TEST_F(ProjectCommandsTest, ProjectSavedWithoutExtensionOpensAgainFromItsFolder)
{
    getAppState().project = std::make_shared<bg::Project>("House");
    OfferedFile save, load;
    wxTEST_DIALOG(click(ID_SAVE_PROJECT), ExpectFile(folder.file("house"), &save));
    EXPECT_TRUE(std::filesystem::exists(folder.file("house.xsp")));
    EXPECT_FALSE(std::filesystem::exists(folder.file("house")));

    wxTEST_DIALOG(click(ID_LOAD_PROJECT), wxExpectModal<wxMessageDialog>(wxYES).Describe("save question"),
                  ExpectFile(folder.file("house.xsp"), &load));
    settle();
    EXPECT_EQ(getAppState().project->name, "House");
    EXPECT_EQ(std::filesystem::path(load.directory), std::filesystem::path(folder.file("house")).parent_path());
    EXPECT_EQ(load.wildcard, "Project files (*.xsp)|*.xsp");
}

TEST_F(ProjectCommandsTest, NameThatBecomesAnExistingFileAsksBeforeReplacingIt)
{
    writeText(folder.file("house.xsp"), "kept");
    getAppState().project = std::make_shared<bg::Project>("House");
    OfferedFile save;
    wxTEST_DIALOG(click(ID_SAVE_PROJECT), ExpectFile(folder.file("house"), &save),
                  wxExpectModal<wxMessageDialog>(wxNO).Describe("replace question"));
    EXPECT_EQ(readText(folder.file("house.xsp")), "kept");
    wxTEST_DIALOG(click(ID_SAVE_PROJECT), ExpectFile(folder.file("house"), &save),
                  wxExpectModal<wxMessageDialog>(wxYES).Describe("replace question"));
    EXPECT_NE(readText(folder.file("house.xsp")), "kept");
}

TEST_F(ProjectCommandsTest, FailedLoadShowsTheErrorAndKeepsProjectAndPages)
{
    auto project = std::make_shared<bg::Project>("Kept");
    project->addBuilding(makeRectBuilding(10, 8));
    getAppState().project = project;
    postEvent(frame->getProjectPane(), EVT_PROJECT_CHANGED);
    postObjectEvent(frame, EVT_OPEN_BUILDING, project->buildings.front());
    settle();
    ASSERT_EQ(pageTitles().size(), 1u);

    // A placed room with a corner beyond what the clipping takes: the file
    // is well formed, its rooms' inner outlines cannot be derived.
    bg::Project far("Far");
    far.addBuilding(makeRectBuilding(10, 8));
    far.addRequirementSet(makeRequirementSet({makeRequirement(0, "Hall", 10)}));
    far.proposals.push_back(makeProposal(far.buildings.front(), far.requirementSets.front(), "Variant"));
    placeRoom(far.proposals.front(), far.proposals.front()->rooms.front(), {1, 1}, {3, 3}, 0);
    far.proposals.front()->rooms.front()->contour[2] = {2e9, 4};
    far.saveToFile(folder.file("far.xsp"));
    writeText(folder.file("broken.xsp"), "<project><name>Broken</name><buildings>");

    for (const char* file : {"broken.xsp", "far.xsp"}) {
        SCOPED_TRACE(file);
        std::string error;
        wxTEST_DIALOG(click(ID_LOAD_PROJECT), wxExpectModal<wxMessageDialog>(wxYES).Describe("save question"),
                      wxExpectModal<wxFileDialog>(folder.file(file)), KeepMessage(&error));
        settle();
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(getAppState().project, project);
        EXPECT_EQ(pageTitles().size(), 1u);
        EXPECT_EQ(frame->getProjectPane()->tree->GetItemText(frame->getProjectPane()->rootItem), "Project (Kept)");
    }
}

TEST_F(ProjectCommandsTest, APageThatCannotBeBuiltLeavesNoEntryAndOpensOnceMended)
{
    // A point beyond what the clipping takes makes the page's construction
    // throw; once the point is mended the page opens.
    struct Case {
        const char* name;
        wxEventType open;
        int pageId;
    };
    const Case cases[] = {{"building", EVT_OPEN_BUILDING, BuildingPane::ID_BUILDING_PANE},
                          {"proposal", EVT_OPEN_PROPOSAL, ProposalPane::ID_PROPOSAL_PANE}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto project = std::make_shared<bg::Project>("P");
        project->addBuilding(makeRectBuilding(10, 8));
        project->addRequirementSet(makeRequirementSet({makeRequirement(0, "Hall", 10)}));
        auto building = project->buildings.front();
        auto proposal = makeProposal(building, project->requirementSets.front(), "Variant");
        project->proposals.push_back(proposal);
        placeRoom(proposal, proposal->rooms.front(), {1, 1}, {3, 3}, 0);
        getAppState().project = project;
        frame->getNotebook()->DeleteAllPages();
        std::vector<Vec2>& contour = c.open == EVT_OPEN_BUILDING ? building->root->contour
                                                                 : proposal->rooms.front()->contour;
        const Vec2 kept = contour[2];
        contour[2] = {2e9, kept.y};
        auto openIt = [&] {
            if (c.open == EVT_OPEN_BUILDING)
                postObjectEvent(frame, c.open, building);
            else
                postObjectEvent(frame, c.open, proposal);
            settle();
        };
        auto registered = [&]() -> wxWindow* {
            const AppState& pages = getAppState();
            if (c.open == EVT_OPEN_BUILDING)
                return pages.buildingPages.count(building) ? pages.buildingPages.at(building) : nullptr;
            return pages.proposalPages.count(proposal) ? pages.proposalPages.at(proposal) : nullptr;
        };

        std::string error;
        wxTEST_DIALOG(openIt(), KeepMessage(&error));
        EXPECT_FALSE(error.empty());
        EXPECT_TRUE(pageTitles().empty());
        ASSERT_EQ(registered(), nullptr) << "a page that was never built stays registered";

        contour[2] = kept;
        openIt();
        ASSERT_EQ(pageTitles().size(), 1u);
        EXPECT_EQ(registered(), frame->getNotebook()->GetPage(0));
        EXPECT_EQ(registered()->GetId(), c.pageId);
        frame->getNotebook()->DeleteAllPages();
        EXPECT_EQ(registered(), nullptr);
    }
}

TEST_F(ProjectCommandsTest, FailedSaveShowsTheErrorAndKeepsTheEarlierFile)
{
    getAppState().project = std::make_shared<bg::Project>("P");
    wxTEST_DIALOG(click(ID_SAVE_PROJECT), wxExpectModal<wxFileDialog>(folder.file("no/folder/p.xsp")),
                  wxExpectModal<wxMessageDialog>(wxOK).Describe("the error"));
    EXPECT_FALSE(std::filesystem::exists(folder.file("no/folder/p.xsp")));

    getAppState().project.reset();
    wxTEST_DIALOG(click(ID_SAVE_PROJECT), wxExpectModal<wxMessageDialog>(wxOK).Describe("nothing to save"));
}

TEST_F(ProjectCommandsTest, NewProjectAnsweredNoChangesNothing)
{
    auto project = std::make_shared<bg::Project>("Kept");
    project->addBuilding(makeRectBuilding(10, 8));
    getAppState().project = project;
    postObjectEvent(frame, EVT_OPEN_BUILDING, project->buildings.front());
    settle();
    wxTEST_DIALOG(click(ID_NEW_PROJECT), wxExpectModal<wxMessageDialog>(wxNO).Describe("save question"));
    settle();
    EXPECT_EQ(getAppState().project, project);
    EXPECT_EQ(pageTitles().size(), 1u);
}

TEST_F(ProjectCommandsTest, NewProposalPairsTheChosenBuildingAndSet)
{
    auto project = std::make_shared<bg::Project>("P");
    project->addBuilding(makeRectBuilding(10, 8, 3));
    project->addRequirementSet(makeRequirementSet({makeRequirement(0, "A", 12), makeRequirement(1, "B", 10, 1),
                                                   makeRequirement(2, "C", 9, -999), makeRequirement(3, "D", 8, 2),
                                                   makeRequirement(4, "E", 6)}));
    getAppState().project = project;
    postEvent(frame->getProjectPane(), EVT_PROJECT_CHANGED);
    settle();

    wxTEST_DIALOG(click(ID_NEW_PROPOSAL), ExpectProposalDialog("Variant"));
    settle();
    ASSERT_EQ(project->proposals.size(), 1u);
    const auto& proposal = project->proposals.front();
    EXPECT_EQ(proposal->name, "Variant");
    EXPECT_EQ(proposal->building, project->buildings.front());
    ASSERT_EQ(proposal->layouts.size(), 3u);
    for (int level = 0; level < 3; ++level)
        EXPECT_EQ(proposal->layouts[level]->level, level);
    ASSERT_EQ(proposal->rooms.size(), 5u);
    const int levels[] = {0, 1, -999, 2, 0};
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(proposal->rooms[i]->level, levels[i]) << i;
        EXPECT_EQ(proposal->rooms[i]->size.x, 0.0);
        EXPECT_EQ(proposal->rooms[i]->size.y, 0.0);
    }
    EXPECT_EQ(pageTitles(), std::vector<std::string>{"Variant"});
    EXPECT_EQ(treeItems(frame->getProjectPane()->proposalsItem), std::vector<std::string>{"Variant"});
}

TEST_F(ProjectCommandsTest, CreatingFromTheTreeWithoutWhatItNeedsMakesNothing)
{
    getAppState().project = std::make_shared<bg::Project>("Empty");
    wxTEST_DIALOG({
        postEvent(frame, EVT_NEW_PROPOSAL);
        settle();
    },
                  wxExpectModal<wxMessageDialog>(wxOK).Describe("why not"));
    EXPECT_TRUE(getAppState().project->proposals.empty());

    getAppState().project.reset();
    wxTEST_DIALOG({
        postEvent(frame, EVT_NEW_BUILDING);
        settle();
    },
                  wxExpectModal<wxMessageDialog>(wxOK).Describe("no project"));
}

TEST_F(ProjectCommandsTest, NewSiteWithAnEmptyNameAndABadImport)
{
    auto project = std::make_shared<bg::Project>("P");
    project->addBuilding(makeRectBuilding(10, 8));
    getAppState().project = project;
    postEvent(frame->getProjectPane(), EVT_PROJECT_CHANGED);
    settle();

    wxTEST_DIALOG(click(ID_NEW_SITE), ExpectTextEntry(""));
    settle();
    ASSERT_EQ(project->sites.size(), 1u);
    EXPECT_EQ(project->sites.front()->name, "");
    EXPECT_EQ(pageTitles(), std::vector<std::string>{""});

    std::string text = readText(dataFile("requirements.csv"));
    text.replace(text.find("20.500000"), 9, "twenty");
    writeText(folder.file("bad.csv"), text);
    wxTEST_DIALOG(click(ID_IMPORT_REQUIREMENT_SET), wxExpectModal<wxFileDialog>(folder.file("bad.csv")),
                  wxExpectModal<wxMessageDialog>(wxOK).Describe("the reader's message"));
    settle();
    EXPECT_TRUE(project->requirementSets.empty());
}

TEST_F(ProjectCommandsTest, PlatformOpensTheFileManager)
{
    wxTEST_DIALOG(click(ID_PLATFORM), wxExpectDismissableModal<KovraClientDialog>(wxID_CANCEL));
}

// Open A from a folder platform, make a new project B, save it there: B has
// no platform copy, so no "Overwrite" is offered and A's file stays.
TEST_F(ProjectCommandsTest, ANewProjectHasNoPlatformCopySoSavingItKeepsTheFileOpenedBefore)
{
    FolderPlatform platform;
    std::stringstream a;
    bg::Project("A").saveToStream(a);
    platform.put("House/A.xsp", a.str());
    KovraClient::cKovraClient* client = frame->getClient();
    std::string loginUrl;
    ASSERT_TRUE(client->autorizationRequest(platform.root().string(), "", loginUrl)) << client->lastError();
    ASSERT_TRUE(client->tokenRequest()) << client->lastError();

    auto* browse = new KovraClientDialog(frame, client, frame->getProjectPane(), KovraClientDialog::MODE_BROWSE);
    browse->Show();
    selectRow(browse->tree, rowAt(browse->tree, {"House", "A.xsp"}));
    pressButton(browse, KovraClientDialog::ID_DOWNLOAD);
    browse->Destroy();
    settle();
    ASSERT_EQ(getAppState().project->name, "A");
    ASSERT_FALSE(getAppState().platformResourceId.empty());

    wxTEST_DIALOG(click(ID_NEW_PROJECT), wxExpectModal<wxMessageDialog>(wxYES).Describe("save question"),
                  ExpectTextEntry("B"));
    settle();
    EXPECT_EQ(getAppState().project->name, "B");
    EXPECT_TRUE(getAppState().platformResourceId.empty());

    auto* save = new KovraClientDialog(frame, client, frame->getProjectPane(), KovraClientDialog::MODE_SAVE);
    save->Show();
    selectRow(save->tree, rowAt(save->tree, {"House"}));
    // Were A's id kept, the save would ask "Overwrite" here and delete A.xsp.
    pressButton(save, KovraClientDialog::ID_SAVE);
    save->Destroy();
    settle();
    EXPECT_TRUE(platform.has("House/A.xsp"));
    EXPECT_EQ(bg::Project::load((platform.root() / "House/A.xsp").string())->name, "A");
    EXPECT_TRUE(platform.has("House/B.xsp"));
    client->logout();
    getAppState().platformResourceId.clear();
}

// The new-proposal dialog on its own, answered without its modal loop.
class ProposalDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto project = std::make_shared<bg::Project>("P");
        for (const char* name : {"One", "Two", "Three"}) {
            auto building = makeRectBuilding(10, 8);
            building->name = name;
            project->addBuilding(building);
        }
        project->addRequirementSet(makeRequirementSet({makeRequirement(0, "A", 12)}, "Same"));
        project->addRequirementSet(makeRequirementSet({makeRequirement(0, "B", 12)}, "Same"));
        getAppState().project = project;
    }

    void TearDown() override { getAppState().project.reset(); }

    static void choose(wxChoice* choice, int n)
    {
        choice->SetSelection(n);
        wxCommandEvent event(wxEVT_CHOICE, choice->GetId());
        event.SetInt(n);
        event.SetEventObject(choice);
        choice->ProcessWindowEvent(event);
    }

    // "Confirm" pressed on the shown dialog, initialised as ShowModal does;
    // a confirmed dialog without modal loop hides itself.
    static void confirm(ProposalDialog& dialog)
    {
        dialog.Show();
        dialog.InitDialog();
        wxCommandEvent press(wxEVT_BUTTON, wxID_OK);
        press.SetEventObject(dialog.FindWindow(wxID_OK));
        dialog.FindWindow(wxID_OK)->ProcessWindowEvent(press);
    }
};

TEST_F(ProposalDialogTest, ConfirmAtOnceGivesTheNameAndTheFirstChoices)
{
    ProposalDialog dialog(nullptr, "Variant");
    confirm(dialog);
    EXPECT_FALSE(dialog.IsShown());
    EXPECT_EQ(dialog.name, "Variant");
    EXPECT_EQ(dialog.building, getAppState().project->buildings.front());
    EXPECT_EQ(dialog.requirementSet, getAppState().project->requirementSets.front());
}

TEST_F(ProposalDialogTest, ItemsTellSetsOfOneNameApart)
{
    ProposalDialog dialog(nullptr, "Variant");
    choose(dialog.requirementSetChoice, 1);
    choose(dialog.buildingChoice, 2);
    EXPECT_EQ(dialog.requirementSet, getAppState().project->requirementSets.back());
    EXPECT_EQ(dialog.building, getAppState().project->buildings.back());
    EXPECT_EQ(dialog.building->name, "Three");
}

TEST_F(ProposalDialogTest, EmptyNameIsRefused)
{
    ProposalDialog dialog(nullptr, "");
    wxTEST_DIALOG(confirm(dialog), wxExpectModal<wxMessageDialog>(wxOK).Describe("validator notice"));
    EXPECT_TRUE(dialog.IsShown());
}

TEST_F(ProposalDialogTest, EmptyListsLeaveTheResultsEmpty)
{
    getAppState().project = std::make_shared<bg::Project>("Empty");
    ProposalDialog dialog(nullptr, "Variant");
    EXPECT_EQ(dialog.buildingChoice->GetCount(), 0u);
    EXPECT_FALSE(dialog.building);
    EXPECT_FALSE(dialog.requirementSet);
}

} // namespace
