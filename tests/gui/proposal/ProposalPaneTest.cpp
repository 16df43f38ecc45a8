#include "GuiSupport.h"
#include "DialogTesting.h"
#include "ProposalTesting.h"
#include "RibbonSupport.h"

#include "shell/AppState.h"
#include "requirements/DiagramCtrl.h"
#include "shell/Events.h"
#include "proposal/FloorPlanCtrl.h"
#include "shell/MainFrame.h"
#include "proposal/ProgressDialog.h"
#include "proposal/ProposalPane.h"
#include "proposal/ProposalRules.h"
#include "shell/RibbonTable.h"
#include "requirements/RequirementTable.h"
#include "requirements/RoomDialog.h"

#include "support/FileSupport.h"
#include "support/ModelFixtures.h"

#include "export/IfcExporter.h"
#include "layouter/Layouter.h"
#include "layouter/ModelNames.h"
#include "model/Project.h"

#include <gtest/gtest.h>

#include <wx/aui/auibook.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/dataview.h>
#include <wx/filedlg.h>
#include <wx/log.h>
#include <wx/msgdlg.h>
#include <wx/ribbon/bar.h>
#include <wx/ribbon/buttonbar.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/weakref.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace kovra_test;

// Keeps what the page logs, with the function that logged it, instead of
// the message boxes that the GUI log would show.
class RecordingLog : public wxLog {
public:
    struct Record {
        wxLogLevel level;
        std::string text;
        std::string function;
    };
    std::vector<Record> records;

protected:
    void DoLogRecord(wxLogLevel level, const wxString& text, const wxLogRecordInfo& info) override
    {
        records.push_back({level, text.utf8_string(), info.func ? info.func : ""});
    }
};

// Cancels a file dialog and keeps the file name it offered.
class ExpectFileName : public wxExpectModalBase<wxFileDialog> {
public:
    explicit ExpectFileName(std::string* name) : name(name) {}

protected:
    int OnInvoked(wxFileDialog* dialog) const override
    {
        *name = dialog->GetFilename().utf8_string();
        return wxID_CANCEL;
    }

private:
    std::string* name;
};

// Eight rooms on one 14 x 10 floor: a search that a second does not finish.
std::shared_ptr<bg::RequirementSet> houseSet()
{
    std::vector<std::shared_ptr<bg::Requirement>> requirements;
    const double areas[] = {18, 14, 12, 12, 10, 9, 8, 6};
    for (int i = 0; i < 8; ++i)
        requirements.push_back(makeRequirement(i, "Room " + std::to_string(i), areas[i], 0, {i == 0 ? -1 : 0},
                                               i == 0 ? "Live and eat" : "Bedroom"));
    return makeRequirementSet(requirements);
}

// The main window with an open project; each test adds its proposals.
class ProposalPaneTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        getAppState().project = std::make_shared<bg::Project>("Home");
        previousLog = wxLog::SetActiveTarget(&log);
        frame = new MainFrame();
        frame->SetSize(0, 0, 1280, 900);
        frame->Show();
        pumpEventsUntil([&] { return frame->IsShownOnScreen(); });
    }

    void TearDown() override
    {
        if (frame)
            frame->Destroy();
        pumpEventsUntil([&] { return !frame; });
        getAppState().project.reset();
        wxLog::SetActiveTarget(previousLog);
    }

    ProposalPane* open(const std::shared_ptr<bg::Building>& building, const std::shared_ptr<bg::RequirementSet>& set,
                       const std::string& name = "Variant")
    {
        auto proposal = makeProposal(building, set, name);
        getAppState().project->buildings.push_back(building);
        getAppState().project->requirementSets.push_back(set);
        getAppState().project->proposals.push_back(proposal);
        frame->openProposalPage(proposal);
        pumpEvents(50);
        return dynamic_cast<ProposalPane*>(getAppState().proposalPages[proposal]);
    }

    void click(int id, int checked = 0) { ASSERT_TRUE(clickRibbon(frame->getRibbonBar(), id, checked != 0)) << id; }

    // Whether the ribbon would enable the buttons of id now.
    bool enabled(int id)
    {
        wxUpdateUIEvent event(id);
        event.SetEventObject(frame->getRibbonBar());
        frame->getRibbonBar()->GetEventHandler()->ProcessEvent(event);
        return !event.GetSetEnabled() || event.GetEnabled();
    }

    static std::vector<std::string> column(wxDataViewListCtrl* table, unsigned col)
    {
        std::vector<std::string> cells;
        for (int row = 0; row < table->GetItemCount(); ++row)
            cells.push_back(table->GetTextValue(row, col).utf8_string());
        return cells;
    }

    static void select(wxDataViewListCtrl* table, int row)
    {
        table->SelectRow(row);
        wxDataViewEvent event(wxEVT_DATAVIEW_SELECTION_CHANGED, table, table->RowToItem(row));
        table->GetEventHandler()->ProcessEvent(event);
    }

    // Runs "Start" or "Continue" until at least `slices` slice events arrived
    // after a solution was shown, stops, and returns the notice that follows.
    std::string run(ProposalPane* page, int id, int slices, const std::string& screenshot = {})
    {
        int seen = 0;
        auto counter = [&](wxCommandEvent& event) {
            if (page->solutionsTable->GetItemCount() > 0)
                ++seen;
            event.Skip();
        };
        page->Bind(EVT_OPTIMIZER_SLICE_DONE, counter);
        std::string notice;
        wxTEST_DIALOG(
            {
                click(id);
                pumpEventsUntil([&] { return !notice.empty(); });
            },
            RunProgress([&] { return seen >= slices; }), KeepMessage(&notice, wxID_OK, screenshot));
        page->Unbind(EVT_OPTIMIZER_SLICE_DONE, counter);
        return notice;
    }

    // Runs "Start" or "Continue" on rooms that no longer match the set:
    // answers the question with `answer` and, on Yes, stops the run after
    // its first solution. Returns the question; the notice goes to `notice`.
    std::string runChanged(ProposalPane* page, int id, int answer, std::string& notice,
                           const std::string& screenshot = {})
    {
        std::string question;
        if (answer != wxID_YES) {
            wxTEST_DIALOG(click(id), KeepMessage(&question, answer, screenshot));
            return question;
        }
        wxTEST_DIALOG(
            {
                click(id);
                pumpEventsUntil([&] { return !notice.empty(); });
            },
            KeepMessage(&question, answer, screenshot),
            RunProgress([&] { return page->solutionsTable->GetItemCount() > 0; }), KeepMessage(&notice));
        return question;
    }

    wxWeakRef<MainFrame> frame;
    RecordingLog log;
    wxLog* previousLog = nullptr;
};

TEST_F(ProposalPaneTest, StartStopContinueChooseAndReset)
{
    ProposalPane* page = open(makeRectBuilding(14, 10), houseSet());
    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(enabled(ID_LAYOUT_START));
    EXPECT_FALSE(enabled(ID_LAYOUT_CONTINUE));
    EXPECT_EQ(page->roomsTable->GetItemCount(), 8);
    EXPECT_EQ(column(page->roomsTable, 4), std::vector<std::string>(8, "0.00"));

    // Slice events refresh the tables while the dialog is up; "Stop" ends it.
    const std::string first = run(page, ID_LAYOUT_START, 1);
    const std::size_t afterFirst = page->solutions.size();
    ASSERT_GT(afterFirst, 0u);
    EXPECT_EQ(first, runEndText(afterFirst, /*stopped=*/true, /*optimal=*/false));
    EXPECT_FALSE(enabled(ID_LAYOUT_START));
    EXPECT_TRUE(enabled(ID_LAYOUT_CONTINUE));
    EXPECT_EQ(page->solutionsTable->GetItemCount(), static_cast<int>(afterFirst));
    EXPECT_EQ(page->currentSolutionLabel->GetLabel().utf8_string(),
              "Current solution: " + std::to_string(afterFirst - 1));
    EXPECT_NE(column(page->roomsTable, 4), std::vector<std::string>(8, "0.00")) << "the rooms were placed";
    takeScreenshot("proposal-page-after-run");

    // Continue records into the same history; its notice counts them all.
    const std::string second = run(page, ID_LAYOUT_CONTINUE, 2);
    EXPECT_GE(page->solutions.size(), afterFirst);
    EXPECT_EQ(second, runEndText(page->solutions.size(), /*stopped=*/true, /*optimal=*/false));

    // Choosing the first recorded solution puts every room where that
    // solution has it, and the rooms table follows. Two solutions may share
    // all their areas, so the table is compared with the rooms, not with the
    // newest solution's table.
    const Solution chosen = page->solutions.at(0);
    select(page->solutionsTable, 0);
    EXPECT_EQ(page->currentSolutionLabel->GetLabel(), "Current solution: 0");
    ASSERT_EQ(page->proposal->rooms.size(), 8u);
    std::vector<std::string> areas;
    for (int i = 0; i < 8; ++i) {
        const auto& room = page->proposal->rooms[i];
        EXPECT_DOUBLE_EQ(room->position.x, chosen.values.at(modelnames::roomVarName("x", i))) << i;
        EXPECT_DOUBLE_EQ(room->position.y, chosen.values.at(modelnames::roomVarName("y", i))) << i;
        EXPECT_DOUBLE_EQ(room->size.x, chosen.values.at(modelnames::roomVarName("l", i))) << i;
        EXPECT_DOUBLE_EQ(room->size.y, chosen.values.at(modelnames::roomVarName("w", i))) << i;
    }
    for (const RoomRow& row : roomRows(*page->proposal))
        areas.push_back(row[4]);
    EXPECT_EQ(column(page->roomsTable, 4), areas);

    // Reset asks first; No changes nothing.
    wxTEST_DIALOG(click(ID_LAYOUT_RESET), wxExpectModal<wxMessageDialog>(wxNO));
    EXPECT_FALSE(page->solutions.empty());
    std::string question;
    wxTEST_DIALOG(click(ID_LAYOUT_RESET), KeepMessage(&question, wxID_YES));
    EXPECT_EQ(question, "Discard current solutions and apply the latest changes of the requirement set?");
    EXPECT_TRUE(enabled(ID_LAYOUT_START));
    EXPECT_FALSE(enabled(ID_LAYOUT_CONTINUE));
    EXPECT_TRUE(page->rebuildModel);
    EXPECT_EQ(page->currentSolutionLabel->GetLabel(), "Current solution: ");
    EXPECT_EQ(page->solutionsTable->GetItemCount(), 0);
    EXPECT_EQ(column(page->roomsTable, 4), std::vector<std::string>(8, "0.00"));
}

TEST_F(ProposalPaneTest, AnInfeasibleSetEndsWithTheInfeasibleNotice)
{
    // With "Fill All" one small room would have to fill the whole floor.
    ProposalPane* page = open(makeRectBuilding(10, 8), makeRequirementSet({makeRequirement(0, "Box", 10)}));
    click(ID_FILL_ALL, 1);
    EXPECT_TRUE(page->fillAll);
    const std::string notice = run(page, ID_LAYOUT_START, 1000, "proposal-infeasible-notice");
    // 9.28 x 7.28 m inside the outer walls, 90 % of it net; the room may take 15 m² at most.
    EXPECT_EQ(notice, "Model infeasible. No solutions possible for current requirement set.\n"
                      "Floor 0: with \"Fill All\" on, the rooms' largest areas add up to only 15.00 m\u00b2, less "
                      "than its net area of 60.80 m\u00b2.");
    EXPECT_EQ(page->layouter->allowFreeSpace, 0);
    EXPECT_FALSE(enabled(ID_LAYOUT_CONTINUE));
    EXPECT_FALSE(enabled(ID_LAYOUT_START));
}

TEST_F(ProposalPaneTest, ASolvedFloorAssignmentRunDisablesContinue)
{
    // Two floors, one room that may go on either: the search ends by itself.
    ProposalPane* page = open(makeRectBuilding(8, 6, 2),
                              makeRequirementSet({makeRequirement(0, "Study", 12, bg::anyFloor)}));
    const std::string notice = run(page, ID_LAYOUT_START, 1000);
    EXPECT_EQ(page->layouter->mode, floorAssignmentMode);
    EXPECT_EQ(notice, runEndText(page->solutions.size(), false, true));
    EXPECT_FALSE(enabled(ID_LAYOUT_CONTINUE));
    const int level = page->proposal->rooms[0]->level;
    EXPECT_TRUE(level == 0 || level == 1) << level;
    EXPECT_EQ(column(page->levelsTable, 0), (std::vector<std::string>{"1", "0"}));
    EXPECT_EQ(column(page->levelsTable, 1), level == 1 ? (std::vector<std::string>{"1", "0"})
                                                        : (std::vector<std::string>{"0", "1"}));
}

TEST_F(ProposalPaneTest, ProblemsBeforeTheModelAreShownWithoutADialog)
{
    struct Case {
        const char* name;
        std::shared_ptr<bg::RequirementSet> set;
        const char* messageStart;
    };
    auto tooLong = makeRequirement(0, "Hall", 10);
    tooLong->minLength = 5;
    tooLong->maxLength = 2;
    const Case cases[] = {
        {"space", makeRequirementSet({makeRequirement(0, "Hall", 200)}), "Not enough space on floor 0"},
        {"validation", makeRequirementSet({tooLong}), "The requirement set cannot be laid out:\nRoom 0"},
    };
    for (const Case& c : cases) {
        ProposalPane* page = open(makeRectBuilding(10, 8), c.set, c.name);
        std::string message;
        // A progress dialog would fail the test as unexpected.
        wxTEST_DIALOG(click(ID_LAYOUT_START), KeepMessage(&message));
        EXPECT_EQ(message.rfind(c.messageStart, 0), 0u) << c.name << ": " << message;
        EXPECT_TRUE(enabled(ID_LAYOUT_START)) << c.name;
        EXPECT_FALSE(page->started) << c.name;
        EXPECT_EQ(page->layouter, nullptr) << c.name;
    }
}

TEST_F(ProposalPaneTest, StartRunsOnThePageSelectedLast)
{
    // Each page's space check names its own crowded floor.
    ProposalPane* lower = open(makeRectBuilding(10, 8, 2), makeRequirementSet({makeRequirement(0, "Hall", 200, 0)}),
                               "Lower");
    ProposalPane* upper = open(makeRectBuilding(10, 8, 2), makeRequirementSet({makeRequirement(0, "Hall", 200, 1)}),
                               "Upper");
    std::string message;
    wxTEST_DIALOG(click(ID_LAYOUT_START), KeepMessage(&message));
    EXPECT_EQ(message, "Not enough space on floor 1 to meet the area requirements.");

    frame->activatePage(lower);
    pumpEvents(50);
    wxTEST_DIALOG(click(ID_LAYOUT_START), KeepMessage(&message));
    EXPECT_EQ(message, "Not enough space on floor 0 to meet the area requirements.");
    EXPECT_NE(upper, lower);
}

TEST_F(ProposalPaneTest, LevelsViewsAndTopology)
{
    auto set = makeRequirementSet({makeRequirement(0, "Hall", 10, 0, {1, 2}, "Entrance"),
                                   makeRequirement(1, "Kitchen", 10, 0, {0}, "Kitchen and cleaning"),
                                   makeRequirement(2, "Bed", 10, 1, {0}, "Bedroom")});
    ProposalPane* page = open(makeRectBuilding(10, 8, 3), set);
    EXPECT_EQ(column(page->levelsTable, 0), (std::vector<std::string>{"2", "1", "0"}));
    EXPECT_EQ(page->topology->graph.nodes.size(), 3u);
    EXPECT_EQ(page->topology->graph.edges.size(), 4u);

    // The bottom row stands for the lowest level.
    select(page->levelsTable, 2);
    EXPECT_EQ(page->currentLevelLabel->GetLabel(), "Current level: 0");
    select(page->levelsTable, 1);
    EXPECT_EQ(page->currentLevelLabel->GetLabel(), "Current level: 1");
    EXPECT_EQ(page->currentFloor->level, 1);
    EXPECT_EQ(page->floorPlan->floor, page->currentFloor);

    click(ID_PROPOSAL_VIEW_ONE);
    EXPECT_EQ(page->viewMode, 1);
    EXPECT_EQ(page->topology->graph.nodes.size(), 1u);
    EXPECT_TRUE(page->topology->graph.edges.empty()) << "the bed's edge goes downstairs";
    click(ID_PROPOSAL_VIEW_ALL);
    EXPECT_EQ(page->viewMode, 0);
    EXPECT_EQ(page->topology->graph.nodes.size(), 3u);
    EXPECT_EQ(page->floorPlan->oneLevel, 0);

    // "Floor plan view" does nothing while the plan is the only view;
    // "Topology view" adds the topology beside it; either hides its own.
    auto press = [&](int id) {
        wxCommandEvent event(wxEVT_BUTTON, id);
        page->FindWindow(id)->GetEventHandler()->ProcessEvent(event);
    };
    press(ProposalPane::ID_FLOOR_PLAN_VIEW_BUTTON);
    EXPECT_TRUE(page->floorPlan->IsShown());
    EXPECT_FALSE(page->topology->IsShown());
    press(ProposalPane::ID_TOPOLOGY_VIEW_BUTTON);
    EXPECT_TRUE(page->floorPlan->IsShown());
    EXPECT_TRUE(page->topology->IsShown());
    press(ProposalPane::ID_FLOOR_PLAN_VIEW_BUTTON);
    EXPECT_FALSE(page->floorPlan->IsShown());
    press(ProposalPane::ID_TOPOLOGY_VIEW_BUTTON);
    EXPECT_TRUE(page->topology->IsShown()) << "the last view stays";
    press(ProposalPane::ID_FLOOR_PLAN_VIEW_BUTTON);
    EXPECT_TRUE(page->floorPlan->IsShown());

    wxCommandEvent check(wxEVT_CHECKBOX, ProposalPane::ID_DRAW_INNER_WALL);
    page->drawInnerWall->SetValue(true);
    check.SetInt(1);
    page->drawInnerWall->GetEventHandler()->ProcessEvent(check);
    EXPECT_TRUE(page->floorPlan->drawInnerWalls);
}

TEST_F(ProposalPaneTest, PlanAndTopologyAfterARun)
{
    ProposalPane* page = open(makeRectBuilding(14, 10), houseSet());
    run(page, ID_LAYOUT_START, 2);
    wxCommandEvent event(wxEVT_BUTTON, ProposalPane::ID_TOPOLOGY_VIEW_BUTTON);
    page->FindWindow(ProposalPane::ID_TOPOLOGY_VIEW_BUTTON)->GetEventHandler()->ProcessEvent(event);
    pumpEvents(300);
    EXPECT_TRUE(page->topology->IsShown());
    EXPECT_EQ(page->topology->graph.nodes.size(), 8u);
    EXPECT_EQ(page->topology->graph.edges.size(), 7u);
    takeScreenshot("proposal-page-topology");
}

TEST_F(ProposalPaneTest, ExportOfAProposalNeverLaidOutWarnsOnce)
{
    ScratchFolder folder;
    ProposalPane* page = open(makeRectBuilding(10, 8), houseSet());
    page->exportChosen(wxString::FromUTF8((folder.path() / "empty.ifc").string()), 0);
    EXPECT_TRUE(std::filesystem::exists(folder.path() / "empty.ifc"));
    std::vector<std::string> warnings;
    std::vector<std::string> messages;
    for (const auto& record : log.records) {
        if (record.level == wxLOG_Warning)
            warnings.push_back(record.text);
        if (record.level == wxLOG_Message)
            messages.push_back(record.text);
    }
    std::string all;
    for (const std::string& warning : warnings)
        all += warning + "\n";
    ASSERT_EQ(warnings.size(), 1u) << "eight rooms, one warning:\n" << all;
    EXPECT_EQ(warnings[0].rfind("This proposal has no layout yet: ", 0), 0u) << warnings[0];
    EXPECT_EQ(messages, std::vector<std::string>{"Exported \"empty.ifc\" as IFC4."});
}

TEST_F(ProposalPaneTest, ExportWritesTheChosenSchemaAndSaysWhyItCannot)
{
    ScratchFolder folder;
    std::string offered;
    ProposalPane* page = open(makeRectBuilding(10, 8), makeRequirementSet({makeRequirement(0, "Hall", 20)}));
    placeRoom(page->proposal, page->proposal->rooms[0], {0.5, 0.5}, {5, 4}, 0);

    auto read = [](const std::filesystem::path& path) {
        std::ifstream file(path);
        return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    };
    // The save dialog's filters: IFC4, IFC2X3, and GML, which writes nothing.
    page->exportChosen(wxString::FromUTF8((folder.path() / "four.ifc").string()), 0);
    page->exportChosen(wxString::FromUTF8((folder.path() / "old.ifc").string()), 1);
    page->exportChosen(wxString::FromUTF8((folder.path() / "plan.gml").string()), 2);
    const std::string four = read(folder.path() / "four.ifc");
    EXPECT_EQ(four.rfind("ISO-10303-21;", 0), 0u);
    EXPECT_NE(four.find("FILE_SCHEMA(('IFC4'))"), std::string::npos);
    EXPECT_NE(read(folder.path() / "old.ifc").find("FILE_SCHEMA(('IFC2X3'))"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "plan.gml"));
    for (const auto& record : log.records)
        EXPECT_NE(record.level, wxLOG_Error) << record.text;
    // Each written file is named with its schema; the laid-out room gives
    // no warning of a missing layout.
    std::vector<std::string> messages;
    for (const auto& record : log.records) {
        if (record.level == wxLOG_Message)
            messages.push_back(record.text);
        EXPECT_EQ(record.text.find("no layout"), std::string::npos) << record.text;
    }
    EXPECT_EQ(messages, (std::vector<std::string>{"Exported \"four.ifc\" as IFC4.", "Exported \"old.ifc\" as IFC2X3."}));

    // A file that cannot be written is logged as an error of the command.
    page->exportChosen(wxString::FromUTF8((folder.path() / "missing" / "house.ifc").string()), 0);
    ASSERT_FALSE(log.records.empty());
    EXPECT_EQ(log.records.back().level, wxLOG_Error);
    EXPECT_NE(log.records.back().text.find("house.ifc"), std::string::npos) << log.records.back().text;
    EXPECT_EQ(log.records.back().function, "ProposalPane::onClickExportProposal");

    // The command offers the file name after the proposal in the user's folder.
    wxTEST_DIALOG(click(ID_EXPORT_PROPOSAL), ExpectFileName(&offered));
    EXPECT_EQ(offered, "Layout-Variant.ifc");

    auto proposal = bg::Proposal::create("Loose");
    getAppState().project->proposals.push_back(proposal);
    frame->openProposalPage(proposal);
    pumpEvents(50);
    auto* loose = dynamic_cast<ProposalPane*>(getAppState().proposalPages[proposal]);
    ASSERT_NE(loose, nullptr);
    EXPECT_NE(loose->noBuildingNote, nullptr);
    std::string message;
    wxTEST_DIALOG(click(ID_EXPORT_PROPOSAL), KeepMessage(&message));
    EXPECT_EQ(message, "This proposal has no building: there is nothing to export.");
    wxTEST_DIALOG(click(ID_LAYOUT_START), KeepMessage(&message));
    EXPECT_EQ(message, "This proposal has no building: there is nothing to lay out.");
}

} // namespace

namespace {

std::shared_ptr<bg::RequirementSet> livingBathBed()
{
    return makeRequirementSet(
        {makeRequirement(0, "Living", 30), makeRequirement(1, "Bath", 8), makeRequirement(2, "Bed", 14)});
}

std::vector<std::string> requirementNames(const bg::RequirementSet& set)
{
    std::vector<std::string> names;
    for (const auto& requirement : set.requirements)
        names.push_back(requirement->name);
    return names;
}

} // namespace

TEST_F(ProposalPaneTest, ARunStartsOnlyFromRoomsThatMatchTheSet)
{
    struct Case {
        const char* name;
        bool runFirst;   // a run before the change, so that "Continue" is offered
        void (*change)(bg::RequirementSet&);
        int button;      // what "Start" (or "Continue") is
        int answer;
        std::vector<std::string> shownBefore; // the rooms table after the change
    };
    const Case cases[] = {
        {"BathRemoved", false, [](bg::RequirementSet& set) { removeRequirementByIndex(set, 1); }, ID_LAYOUT_START,
         wxID_YES, {"Living"}},
        {"StudyAdded", false,
         [](bg::RequirementSet& set) { set.requirements.push_back(makeRequirement(3, "Study", 10)); },
         ID_LAYOUT_START, wxID_YES, {"Living", "Bath", "Bed"}},
        {"BathRemovedDeclined", false, [](bg::RequirementSet& set) { removeRequirementByIndex(set, 1); },
         ID_LAYOUT_START, wxID_NO, {"Living"}},
        // Eight rooms, so that the first run has not ended by itself and
        // "Continue" is offered.
        {"RoomRemovedAfterARunThenContinue", true,
         [](bg::RequirementSet& set) { removeRequirementByIndex(set, 1); }, ID_LAYOUT_CONTINUE, wxID_YES,
         {"Room 0"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto set = c.runFirst ? houseSet() : livingBathBed();
        ProposalPane* page = open(makeRectBuilding(14, 10), set, c.name);
        ASSERT_NE(page, nullptr);
        if (c.runFirst) {
            ASSERT_EQ(run(page, ID_LAYOUT_START, 1).rfind("Optimization ", 0), 0u);
        }
        c.change(*set);
        page->refresh();
        EXPECT_EQ(column(page->roomsTable, 1), c.shownBefore) << "no room of another requirement is shown";

        std::string notice;
        const std::string question =
            runChanged(page, c.button, c.answer, notice, c.runFirst ? "proposal-rooms-question" : "");
        EXPECT_EQ(question.rfind("The requirement set has changed since the rooms of this proposal were made", 0),
                  0u)
            << question;
        EXPECT_EQ(question.find("discarded") != std::string::npos, c.runFirst) << question;
        if (c.answer != wxID_YES) {
            EXPECT_EQ(page->layouter, nullptr);
            EXPECT_FALSE(roomsMatchSet(*page->proposal)) << "nothing was changed";
            EXPECT_EQ(column(page->roomsTable, 1), c.shownBefore);
            continue;
        }
        EXPECT_EQ(notice.rfind("Optimization ", 0), 0u) << notice; // finished or stopped: it ran
        ASSERT_EQ(page->proposal->rooms.size(), set->requirements.size());
        EXPECT_TRUE(roomsMatchSet(*page->proposal));
        for (std::size_t i = 0; i < set->requirements.size(); ++i) {
            const auto& room = page->proposal->rooms[i];
            EXPECT_EQ(room->name, set->requirements[i]->name) << i;
            EXPECT_GT(room->size.x * room->size.y, 0.0) << room->name << " was laid out";
        }
        EXPECT_EQ(column(page->roomsTable, 1), requirementNames(*set));
    }
}

TEST_F(ProposalPaneTest, AnAreaTheRoomDialogTakesPassesTheCheckBeforeARun)
{
    struct Case {
        const char* name;
        std::shared_ptr<bg::Building> building;
        int level;
        double otherRoom; // area of a room already on the level, 0 for none
    };
    auto thickWall = makeRectBuilding(5.72, 5.72);
    thickWall->parameters.outerWallStrength = 0.36;
    const Case cases[] = {
        {"10 x 10", makeRectBuilding(10, 10), 0, 0},
        {"14 x 10, upper floor with a room", makeRectBuilding(14, 10, 2), 1, 20},
        {"5.72 x 5.72 with a 0.36 wall", thickWall, 0, 7.5},
        {"L shape", makeLShapedBuilding(15, 15, 5, 5), 0, 33.3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto set = makeRequirementSet({});
        if (c.otherRoom > 0)
            set->requirements.push_back(makeRequirement(0, "Living", c.otherRoom, c.level));
        {
            // The new room starts with the space left, rounded to the hundredth.
            RoomDialog dialog(frame.get(), c.building, set, nullptr, c.level, "New Room");
            bool accepted = false;
            wxTEST_DIALOG(accepted = dialog.confirm(), wxExpectModal<wxMessageDialog>(wxOK).Optional());
            EXPECT_TRUE(accepted) << dialog.areaField->GetValue().utf8_string();
        }
        ProposalPane* page = open(c.building, set, c.name);
        ASSERT_NE(page, nullptr);
        bool passed = false;
        wxTEST_DIALOG(passed = page->checkSpace(), wxExpectModal<wxMessageDialog>(wxOK).Optional());
        EXPECT_TRUE(passed);

        // One hundredth more is refused by both.
        set->requirements.back()->area += 0.01;
        wxTEST_DIALOG(passed = page->checkSpace(), wxExpectModal<wxMessageDialog>(wxOK));
        EXPECT_FALSE(passed);
        RoomDialog again(frame.get(), c.building, set, set->requirements.back(), c.level, "Room");
        bool accepted = true;
        wxTEST_DIALOG(accepted = again.confirm(), wxExpectModal<wxMessageDialog>(wxOK));
        EXPECT_FALSE(accepted);
    }
}
