// The road a user walks, through the real main window: an empty window, a new
// project, a building made L-shaped on its page, a requirement set imported
// from a file of seven rooms, a proposal, "Start" until a layout shows, "Stop",
// the best solution chosen, "Export proposal" as IFC4 and IFC2X3 with both
// files checked by IfcOpenShell's validator, the project saved, a new
// project, the saved one loaded again. Modal dialogs are answered through the
// dialog test hooks; every wait is for an event or a state.
//
// With KOVRA_SCREENSHOTS set to the docs/ folder the walk writes the README's
// screenshots and the pictures of the exported files' storeys (see the
// README's tour).

#include "DialogTesting.h"
#include "ProposalTesting.h"
#include "GuiSupport.h"
#include "RibbonSupport.h"

#include "shell/AppState.h"
#include "building/BuildingPane.h"
#include "shell/Events.h"
#include "shell/MainFrame.h"
#include "shell/ProjectPane.h"
#include "proposal/ProgressDialog.h"
#include "shell/ProposalDialog.h"
#include "proposal/ProposalPane.h"
#include "shell/RibbonTable.h"

#include "export/ExportSupport.h"
#include "layouter/Layouter.h"
#include "model/Building.h"
#include "model/Constants.h"
#include "model/Project.h"
#include "model/Proposal.h"
#include "model/Requirement.h"
#include "support/ExampleProjects.h"
#include "support/FileSupport.h"
#include "support/LayoutChecker.h"
#include "support/LayouterSupport.h"
#include "support/ModelFixtures.h"
#include "support/SamePolygon.h"

#include <gtest/gtest.h>

#include <wx/aui/auibook.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/dataview.h>
#include <wx/combobox.h>
#include <wx/filedlg.h>
#include <wx/log.h>
#include <wx/msgdlg.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/weakref.h>

#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace kovra_test;

// Answers the export's file dialog with a path and a file type (the index
// of its filter). GTK's chooser reports no path for a file set while it was
// never shown, so the dialog is shown, as a user sees it, until it reports
// the path.
class ExpectExportFile : public wxExpectModalBase<wxFileDialog> {
public:
    ExpectExportFile(const std::string& path, int filterIndex) : path(path), filterIndex(filterIndex) {}

protected:
    int OnInvoked(wxFileDialog* dialog) const override
    {
        dialog->Show();
        dialog->SetPath(wxString::FromUTF8(path));
        dialog->SetFilterIndex(filterIndex);
        EXPECT_TRUE(pumpEventsUntil([&] {
            return dialog->GetPath().utf8_string() == path && dialog->GetFilterIndex() == filterIndex;
        })) << dialog->GetPath() << " " << dialog->GetFilterIndex();
        dialog->Hide();
        return wxID_OK;
    }

private:
    std::string path;
    int filterIndex;
};

std::string projectText(const bg::Project& project)
{
    std::stringstream out;
    project.saveToStream(out);
    return maskIds(out.str());
}

class WalkTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        getAppState().project.reset();
        // What the window logs goes to the test's output, not into message
        // boxes that nobody answers.
        previousLog = wxLog::SetActiveTarget(&log);
        frame = new MainFrame();
        // The whole screen, so that the screenshots show the window alone.
        frame->SetSize(0, 0, 1280, 800);
        frame->Show();
        ASSERT_TRUE(pumpEventsUntil([&] { return frame->IsShownOnScreen(); }));
    }

    void TearDown() override
    {
        if (frame)
            frame->Destroy();
        pumpEventsUntil([&] { return !frame; });
        getAppState().project.reset();
        wxLog::SetActiveTarget(previousLog);
    }

    void click(int id, bool checked = false) { ASSERT_TRUE(clickRibbon(frame->getRibbonBar(), id, checked)) << id; }
    void settle() { pumpEvents(50); }

    void screenshot(const std::string& name)
    {
        frame->UpdateWindowUI(wxUPDATE_UI_RECURSE);
        frame->Refresh();
        frame->Update();
        pumpEvents(300); // lets the toolkit finish drawing, for the picture only
        takeScreenshot(name);
    }

    std::vector<std::string> pageTitles()
    {
        std::vector<std::string> titles;
        for (size_t i = 0; i < frame->getNotebook()->GetPageCount(); ++i)
            titles.push_back(frame->getNotebook()->GetPageText(i).utf8_string());
        return titles;
    }

    // The building page's own controls, found by their ids as a user finds
    // them by their labels.
    template <typename Control>
    Control* control(wxWindow* page, int id)
    {
        auto* found = dynamic_cast<Control*>(page->FindWindow(id));
        EXPECT_NE(found, nullptr) << id;
        return found;
    }

    void type(wxWindow* page, int id, const char* text) { control<wxTextCtrl>(page, id)->SetValue(text); }

    void check(wxWindow* page, int id)
    {
        auto* box = control<wxCheckBox>(page, id);
        box->SetValue(true);
        wxCommandEvent event(wxEVT_CHECKBOX, id);
        event.SetEventObject(box);
        event.SetInt(1);
        box->GetEventHandler()->ProcessEvent(event);
    }

    void press(wxWindow* page, int id)
    {
        auto* button = control<wxButton>(page, id);
        wxCommandEvent event(wxEVT_BUTTON, id);
        event.SetEventObject(button);
        button->GetEventHandler()->ProcessEvent(event);
    }

    // "Load Project" in an empty window and a double-click on its only
    // proposal in the tree, which opens the proposal's page.
    std::shared_ptr<bg::Proposal> loadAndOpenProposal(const std::string& path)
    {
        wxTEST_DIALOG(click(ID_LOAD_PROJECT), wxExpectModal<wxFileDialog>(path));
        settle();
        const auto project = getAppState().project;
        if (!project || project->proposals.size() != 1u)
            return nullptr;
        const auto proposal = project->proposals.front();
        ProjectPane* pane = frame->getProjectPane();
        EXPECT_EQ(pane->tree->GetChildCount(pane->proposalsItem), 1);
        const wxDataViewItem item = pane->tree->GetNthChild(pane->proposalsItem, 0);
        wxDataViewEvent activated(wxEVT_DATAVIEW_ITEM_ACTIVATED, pane->tree, item);
        pane->tree->GetEventHandler()->ProcessEvent(activated);
        if (!pumpEventsUntil([&] { return getAppState().proposalPages[proposal] != nullptr; }))
            return nullptr;
        return proposal;
    }

    // "Start" on the proposal's page as a user runs it: the progress dialog
    // stays up until a slice has put a layout into the solutions table, then
    // "Stop"; the notice that follows is answered; then the best solution,
    // the newest of the improving ones, is chosen in the table. The layout
    // must keep every rule of the checker.
    void startStopAndChooseBest(const std::shared_ptr<bg::Proposal>& proposal)
    {
        auto* page = dynamic_cast<ProposalPane*>(getAppState().proposalPages[proposal]);
        ASSERT_NE(page, nullptr);
        int slicesWithLayout = 0;
        auto counter = [&](wxCommandEvent& event) {
            if (page->solutionsTable->GetItemCount() > 0)
                ++slicesWithLayout;
            event.Skip();
        };
        page->Bind(EVT_OPTIMIZER_SLICE_DONE, counter);
        std::string notice;
        wxTEST_DIALOG(
            {
                click(ID_LAYOUT_START);
                pumpEventsUntil([&] { return !notice.empty(); }, 240000);
            },
            RunProgress([&] { return slicesWithLayout >= 1; }), KeepMessage(&notice));
        page->Unbind(EVT_OPTIMIZER_SLICE_DONE, counter);
        // Stopped after the first layout, unless the search ended by itself.
        EXPECT_TRUE(notice.rfind("Optimization stopped.", 0) == 0 || notice.rfind("Optimization finished", 0) == 0)
            << notice;
        const int rows = page->solutionsTable->GetItemCount();
        ASSERT_GT(rows, 0);
        page->solutionsTable->SelectRow(rows - 1);
        wxDataViewEvent chosen(wxEVT_DATAVIEW_SELECTION_CHANGED, page->solutionsTable,
                               page->solutionsTable->RowToItem(rows - 1));
        page->solutionsTable->GetEventHandler()->ProcessEvent(chosen);
        EXPECT_EQ(page->currentSolutionLabel->GetLabel().utf8_string(),
                  "Current solution: " + std::to_string(rows - 1));
        ASSERT_TRUE(page->layouter);
        for (const auto& room : proposal->getRooms())
            room->updateInnerContour();
        LayoutRules rules = rulesFor(*page->layouter);
        rules.facades = true;
        rules.doors = true;
        const auto problems = checkLayout(proposal, rules);
        EXPECT_TRUE(problems.empty()) << describe(problems);
    }

    // With KOVRA_SCREENSHOTS set, the storeys of the exported file as
    // IfcOpenShell reads them (tests/ifc/draw_storeys.py), into <name>.png
    // there; nothing otherwise.
    void drawStoreys(const std::string& path, const std::string& name)
    {
        const char* folder = std::getenv("KOVRA_SCREENSHOTS");
        if (!folder)
            return;
        const std::string script = std::string(KOVRA_SOURCE_DIR) + "/tests/ifc/draw_storeys.py";
        const auto result = testsupport::runCommand("python3 " + testsupport::shellQuote(script) + " " +
                                                    testsupport::shellQuote(path) + " " +
                                                    testsupport::shellQuote(std::string(folder) + "/" + name + ".png"));
        EXPECT_EQ(result.exitCode, 0) << result.output;
    }

    // "Export proposal" in each schema (the file dialog's first filter is
    // IFC4, the second IFC2X3): every file valid, one space per room, one
    // storey per floor. The IFC4 file's storeys are drawn into the picture
    // `storeysPicture` names.
    void exportAndValidate(const std::shared_ptr<bg::Proposal>& proposal, const std::vector<int>& schemas,
                           std::size_t storeys, const std::string& storeysPicture)
    {
        for (const int schema : schemas) {
            const std::string name = exporttest::schemaName(schema);
            const std::string path = folder.file("walk-" + name + ".ifc");
            wxTEST_DIALOG(click(ID_EXPORT_PROPOSAL),
                          ExpectExportFile(path, schema == bgexport::schemaIfc4 ? 0 : 1));
            settle();
            ASSERT_TRUE(std::filesystem::exists(path)) << name;
            EXPECT_EQ(exporttest::validationFailures(path), "") << name;
            const std::string text = readText(path);
            EXPECT_EQ(exporttest::linesNamed(text, "IFCSPACE").size(), proposal->getRooms().size()) << name;
            EXPECT_EQ(exporttest::linesNamed(text, "IFCBUILDINGSTOREY").size(), storeys) << name;
            if (schema == bgexport::schemaIfc4)
                drawStoreys(path, storeysPicture);
        }
    }

    wxWeakRef<MainFrame> frame;
    ScratchFolder folder;
    wxLogStderr log;
    wxLog* previousLog = nullptr;
};

TEST_F(WalkTest, FromAnEmptyWindowToAValidatedBuildingModelAndBack)
{
    // New Project.
    wxTEST_DIALOG(click(ID_NEW_PROJECT), ExpectTextEntry("Walk"));
    settle();
    ASSERT_TRUE(getAppState().project);
    const auto project = getAppState().project;

    // New Building, its floor made L-shaped on the building page: 13 x 11 m
    // without its 4 x 4 m north-east corner.
    wxTEST_DIALOG(click(ID_NEW_BUILDING), ExpectTextEntry("House"));
    settle();
    ASSERT_EQ(project->buildings.size(), 1u);
    const auto building = project->buildings.front();
    auto* buildingPage = dynamic_cast<BuildingPane*>(getAppState().buildingPages[building]);
    ASSERT_NE(buildingPage, nullptr);
    type(buildingPage, BuildingPane::ID_FLOOR_LENGTH, "13");
    type(buildingPage, BuildingPane::ID_FLOOR_WIDTH, "11");
    check(buildingPage, BuildingPane::ID_L_SHAPE);
    control<wxComboBox>(buildingPage, BuildingPane::ID_CORNER)->SetStringSelection("Top-Right");
    buildingPage->getCornerLengthField()->SetValue("4");
    buildingPage->getCornerWidthField()->SetValue("4");
    press(buildingPage, BuildingPane::ID_UPDATE_VALUE);
    ASSERT_EQ(building->floors.size(), 1u);
    EXPECT_TRUE(samePolygon(building->root->contour, lShapedContour(13, 11, 4, 4)));
    screenshot("tour-building");

    // The requirement set, imported from a file of seven rooms.
    wxTEST_DIALOG(click(ID_IMPORT_REQUIREMENT_SET), wxExpectModal<wxFileDialog>(dataFile("seven-rooms.csv")));
    settle();
    ASSERT_EQ(project->requirementSets.size(), 1u);
    const auto requirementSet = project->requirementSets.front();
    EXPECT_EQ(requirementSet->name, "seven-rooms");
    ASSERT_EQ(requirementSet->requirements.size(), 7u);
    screenshot("tour-requirements");

    // New Proposal of the house and the seven rooms.
    wxTEST_DIALOG(click(ID_NEW_PROPOSAL), ExpectProposalDialog("First try"));
    settle();
    ASSERT_EQ(project->proposals.size(), 1u);
    const auto proposal = project->proposals.front();
    ASSERT_EQ(proposal->building, building);
    ASSERT_EQ(proposal->requirementSet, requirementSet);
    EXPECT_EQ(pageTitles(), (std::vector<std::string>{"House", "seven-rooms", "First try"}));

    startStopAndChooseBest(proposal);
    screenshot("tour-proposal");
    exportAndValidate(proposal, {bgexport::schemaIfc4, bgexport::schemaIfc2x3}, 1, "tour-ifc-storeys");

    // Save, New Project, Load: the project comes back as it was saved. The
    // question before a new or loaded project asks to make sure the open one
    // is saved; "Yes" goes on.
    const std::string path = folder.file("walk.xsp");
    wxTEST_DIALOG(click(ID_SAVE_PROJECT), wxExpectModal<wxFileDialog>(path));
    const std::string saved = projectText(*project);
    wxTEST_DIALOG(click(ID_NEW_PROJECT), wxExpectModal<wxMessageDialog>(wxYES).Describe("save question"),
                  ExpectTextEntry("Other"));
    settle();
    EXPECT_TRUE(pageTitles().empty());
    ASSERT_NE(getAppState().project, project);
    wxTEST_DIALOG(click(ID_LOAD_PROJECT), wxExpectModal<wxMessageDialog>(wxYES).Describe("save question"),
                  wxExpectModal<wxFileDialog>(path));
    settle();
    ASSERT_TRUE(getAppState().project);
    EXPECT_EQ(projectText(*getAppState().project), saved);
    ASSERT_EQ(getAppState().project->proposals.size(), 1u);
}

// The second walk: a building of two floors, a brief with a stair on each
// floor and a study that may go on either, to the IFC4 file.
TEST_F(WalkTest, TwoStoreysWithStairsAndARoomOnEitherFloorToIfc4)
{
    wxTEST_DIALOG(click(ID_NEW_PROJECT), ExpectTextEntry("Two storeys"));
    settle();
    wxTEST_DIALOG(click(ID_NEW_BUILDING), ExpectTextEntry("House"));
    settle();
    const auto project = getAppState().project;
    ASSERT_TRUE(project && project->buildings.size() == 1u);
    const auto building = project->buildings.front();
    auto* buildingPage = dynamic_cast<BuildingPane*>(getAppState().buildingPages[building]);
    ASSERT_NE(buildingPage, nullptr);
    type(buildingPage, BuildingPane::ID_FLOOR_LENGTH, "10");
    type(buildingPage, BuildingPane::ID_FLOOR_WIDTH, "8.5");
    press(buildingPage, BuildingPane::ID_UPDATE_VALUE);
    // "Copy last floor" is ticked: the upper floor repeats the ground floor.
    press(buildingPage, BuildingPane::ID_NEW_FLOOR);
    ASSERT_EQ(building->floors.size(), 2u);
    for (const auto& floor : building->floors)
        EXPECT_TRUE(samePolygon(floor->contour, rectContour(10, 8.5)));

    wxTEST_DIALOG(click(ID_IMPORT_REQUIREMENT_SET),
                  wxExpectModal<wxFileDialog>(dataFile("two-storey-rooms.csv")));
    settle();
    ASSERT_EQ(project->requirementSets.size(), 1u);
    const auto& requirements = project->requirementSets.front()->requirements;
    ASSERT_EQ(requirements.size(), 10u);
    EXPECT_EQ(requirements.back()->getLevel(), bg::anyFloor);

    wxTEST_DIALOG(click(ID_NEW_PROPOSAL), ExpectProposalDialog("Stairs"));
    settle();
    ASSERT_EQ(project->proposals.size(), 1u);
    const auto proposal = project->proposals.front();
    startStopAndChooseBest(proposal);
    for (const auto& room : proposal->getRooms())
        EXPECT_TRUE(room->level == 0 || room->level == 1) << room->level;
    exportAndValidate(proposal, {bgexport::schemaIfc4}, 2, "tour-ifc-two-storeys");
}

// Two storeys whose floors the rooms must fill, with a stair on each, as a
// user runs them: "Fill All" on, "Start" until a layout shows (the storeys
// solved one at a time bring one within seconds; the whole model alone took
// about a minute), "Stop"; the layout fills both floors and keeps every rule.
TEST_F(WalkTest, TwoFilledStoreysWithStairsGetALayout)
{
    const auto proposal = loadAndOpenProposal(std::string(KOVRA_SOURCE_DIR) + "/bench/data/04-stairs.xsp");
    ASSERT_NE(proposal, nullptr);
    auto* page = dynamic_cast<ProposalPane*>(getAppState().proposalPages[proposal]);
    ASSERT_NE(page, nullptr);
    click(ID_FILL_ALL, true);
    ASSERT_TRUE(page->fillAll);
    startStopAndChooseBest(proposal);
    ASSERT_TRUE(page->layouter);
    EXPECT_EQ(page->layouter->allowFreeSpace, 0);
    screenshot("walk-filled-storeys");
}

// Each example as a user opens it: "Load Project" in an empty window, a
// double-click on its proposal in the tree, "Start" until a layout shows,
// "Stop"; the best layout keeps every rule. Prints how long the first layout
// took on the clock, for the README's promise of seconds; asserts nothing
// about it.
class ExampleWalkTest : public WalkTest, public ::testing::WithParamInterface<ExampleInfo> {};

TEST_P(ExampleWalkTest, OpensAndStartShowsALayout)
{
    const std::string file = GetParam().file;
    const auto proposal = loadAndOpenProposal(std::string(KOVRA_SOURCE_DIR) + "/examples/" + file);
    ASSERT_NE(proposal, nullptr) << file;

    const auto start = std::chrono::steady_clock::now();
    startStopAndChooseBest(proposal);
    std::printf("[ figures  ] %s: Start to a layout shown and stopped in %.1f s on the clock\n", file.c_str(),
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
}

INSTANTIATE_TEST_SUITE_P(Examples, ExampleWalkTest, ::testing::ValuesIn(examples()),
                         [](const ::testing::TestParamInfo<ExampleInfo>& info) {
                             std::string name;
                             for (const char ch : std::string(info.param.file))
                                 if (ch == '.')
                                     break;
                                 else if (std::isalnum(static_cast<unsigned char>(ch)))
                                     name += ch;
                             return name;
                         });

} // namespace
