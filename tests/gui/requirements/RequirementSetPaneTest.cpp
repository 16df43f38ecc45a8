// The requirement-set page under Xvfb with real model objects: table and
// diagram, the room dialog from a row, a node and "Add room", removal,
// saving, and the page inside the main window.
#include "DialogTesting.h"
#include "GuiSupport.h"

#include "shell/AppState.h"
#include "requirements/DiagramCtrl.h"
#include "shell/Events.h"
#include "shell/MainFrame.h"
#include "requirements/RequirementSetPane.h"
#include "requirements/RequirementTable.h"
#include "shell/RibbonTable.h"
#include "requirements/RoomDialog.h"

#include "model/Building.h"
#include "model/Constants.h"
#include "model/Project.h"
#include "model/Requirement.h"
#include "model/RequirementFile.h"
#include "support/FileSupport.h"
#include "support/ModelFixtures.h"

#include <gtest/gtest.h>

#include <wx/checklst.h>
#include <wx/combobox.h>
#include <wx/dataview.h>
#include <wx/filedlg.h>
#include <wx/frame.h>
#include <wx/msgdlg.h>
#include <wx/ribbon/bar.h>
#include <wx/ribbon/buttonbar.h>
#include <wx/sizer.h>
#include <wx/textctrl.h>

#include <filesystem>
#include <functional>

namespace {

using namespace kovra_test;

// Answers the room dialog with what the function does to it.
class ExpectRoomDialog : public wxExpectModalBase<RoomDialog, ExpectRoomDialog> {
public:
    explicit ExpectRoomDialog(std::function<int(RoomDialog&)> answer) : answer(std::move(answer)) {}

protected:
    int OnInvoked(RoomDialog* dialog) const override { return answer(*dialog); }

private:
    std::function<int(RoomDialog&)> answer;
};

// Fills in a new room as a user does and presses OK.
ExpectRoomDialog newRoom(const std::string& name, const wxString& level, const std::vector<int>& neighbours,
                         const wxString& area = "10")
{
    return ExpectRoomDialog([=](RoomDialog& dialog) {
        EXPECT_EQ(dialog.GetTitle(), "New Room");
        dialog.nameField->SetValue(wxString::FromUTF8(name));
        dialog.levelBox->SetStringSelection(level);
        wxCommandEvent changed(wxEVT_COMBOBOX, ID_ROOM_LEVEL);
        changed.SetEventObject(dialog.levelBox);
        dialog.levelBox->GetEventHandler()->ProcessEvent(changed);
        dialog.areaField->SetValue(area);
        for (unsigned i = 0; i < dialog.doorList->GetCount(); ++i) {
            long index = -1;
            dialog.doorList->GetString(i).BeforeFirst('_').ToLong(&index);
            for (int neighbour : neighbours)
                if (neighbour == index)
                    dialog.doorList->Check(i);
        }
        return dialog.confirm() ? wxID_OK : wxID_CANCEL;
    });
}

std::vector<std::string> column(wxDataViewListCtrl* table, unsigned col)
{
    std::vector<std::string> cells;
    for (int row = 0; row < table->GetItemCount(); ++row)
        cells.push_back(table->GetTextValue(static_cast<unsigned>(row), col).utf8_string());
    return cells;
}

class RequirementSetPaneTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        if (frame)
            frame->Destroy();
        pumpEventsUntil([] { return wxTopLevelWindows.empty(); });
    }

    RequirementSetPane& open(const std::shared_ptr<bg::RequirementSet>& set,
                             const std::shared_ptr<bg::Building>& building)
    {
        frame = new wxFrame(nullptr, wxID_ANY, "Requirements", wxDefaultPosition, wxSize(1100, 760));
        page = new RequirementSetPane(frame, nullptr, set, building);
        auto* sizer = new wxBoxSizer(wxVERTICAL);
        sizer->Add(page, 1, wxEXPAND);
        frame->SetSizer(sizer);
        frame->Show();
        frame->Layout();
        return *page;
    }

    void sendNodeEvent(wxEventType type, int node)
    {
        page->diagram->selectedNode = node;
        wxCommandEvent event(type);
        event.SetEventObject(page->diagram);
        page->GetEventHandler()->ProcessEvent(event);
    }

    wxFrame* frame = nullptr;
    RequirementSetPane* page = nullptr;
};

// The removal example: 3 lists {0, 1, 2}, 0 lists {1}.
std::shared_ptr<bg::RequirementSet> fourRooms()
{
    return makeRequirementSet({makeRequirement(0, "Hall", 8, 0, {1}), makeRequirement(1, "Bath", 5, 0, {3}),
                               makeRequirement(2, "Bed", 12, 0, {3}), makeRequirement(3, "Living", 20, 0, {0, 1, 2})});
}

} // namespace

TEST_F(RequirementSetPaneTest, EmptySetShowsThePlaceholderWhoseDoubleClickOpensNewRoom)
{
    auto set = makeRequirementSet({});
    RequirementSetPane& p = open(set, makeRectBuilding(10, 10));
    EXPECT_EQ(p.GetId(), ID_REQUIREMENT_SET_PANE);
    EXPECT_EQ(p.table->GetItemCount(), 0);
    EXPECT_EQ(p.table->GetColumnCount(), 18u);
    ASSERT_EQ(p.diagram->graph.nodes.size(), 1u);
    EXPECT_EQ(getAppState().requirementSetPages[set], &p);

    sendNodeEvent(EVT_DIAGRAM_NODE_SELECTED, 0);
    EXPECT_EQ(p.table->GetSelectedRow(), wxNOT_FOUND);
    wxTEST_DIALOG(sendNodeEvent(EVT_DIAGRAM_NODE_ACTIVATED, 0),
                  ExpectRoomDialog([](RoomDialog& dialog) {
                      EXPECT_EQ(dialog.GetTitle(), "New Room");
                      return wxID_CANCEL;
                  }).Describe("New Room"));
    EXPECT_TRUE(set->requirements.empty());
    sendNodeEvent(EVT_DIAGRAM_NODE_ACTIVATED, -1); // empty space: nothing opens
}

TEST_F(RequirementSetPaneTest, RoomsAddedThroughTheDialogAppearInTableAndDiagram)
{
    auto set = makeRequirementSet({});
    RequirementSetPane& p = open(set, makeRectBuilding(10, 10, 2));
    wxTEST_DIALOG(p.addRoom(), newRoom("Hall", "0", {}).Describe("Hall"));
    wxTEST_DIALOG(p.addRoom(), newRoom("Kitchen", "1", {}).Describe("Kitchen"));
    EXPECT_EQ(p.lastLevel, 1);
    wxTEST_DIALOG(p.addRoom(), ExpectRoomDialog([](RoomDialog& dialog) {
                                   EXPECT_EQ(dialog.levelBox->GetValue(), "1") << "the last room's level";
                                   return wxID_CANCEL;
                               }).Describe("level of the next room"));
    wxTEST_DIALOG(p.addRoom(), newRoom("Stairs", "Any floor", {0, 1}, "5").Describe("Stairs"));

    EXPECT_EQ(column(p.table, 0), (std::vector<std::string>{"0", "1", "2"}));
    EXPECT_EQ(column(p.table, 1), (std::vector<std::string>{"Hall", "Kitchen", "Stairs"}));
    EXPECT_EQ(column(p.table, 2), (std::vector<std::string>{"2", "2", "0,1"}));
    EXPECT_EQ(column(p.table, 6), (std::vector<std::string>{"0", "1", "any floor"}));
    EXPECT_EQ(column(p.table, 17), (std::vector<std::string>{"(any, any)", "(any, any)", "(any, any)"}));
    EXPECT_EQ(p.diagram->graph.nodes.size(), 3u);
    EXPECT_EQ(p.diagram->graph.edges.size(), 4u);
    EXPECT_EQ(p.lastLevel, bg::anyFloor);
}

TEST_F(RequirementSetPaneTest, ARowOrANodeOpensItsRoomAndSelectionsFollowEachOther)
{
    auto set = fourRooms();
    RequirementSetPane& p = open(set, makeRectBuilding(10, 10));
    sendNodeEvent(EVT_DIAGRAM_NODE_SELECTED, 2);
    EXPECT_EQ(p.table->GetSelectedRow(), 2);
    sendNodeEvent(EVT_DIAGRAM_NODE_SELECTED, -1);
    EXPECT_EQ(p.table->GetSelectedRow(), wxNOT_FOUND);

    p.table->SelectRow(3);
    wxDataViewEvent activated(wxEVT_DATAVIEW_ITEM_ACTIVATED, p.table, p.table->RowToItem(3));
    wxTEST_DIALOG(p.table->GetEventHandler()->ProcessEvent(activated),
                  ExpectRoomDialog([](RoomDialog& dialog) {
                      EXPECT_EQ(dialog.GetTitle(), "Living");
                      dialog.areaField->SetValue("18");
                      return dialog.confirm() ? wxID_OK : wxID_CANCEL;
                  }).Describe("Living"));
    EXPECT_EQ(column(p.table, 4)[3], "18.00");
    wxTEST_DIALOG(sendNodeEvent(EVT_DIAGRAM_NODE_ACTIVATED, 1), ExpectRoomDialog([](RoomDialog& dialog) {
                                                                  EXPECT_EQ(dialog.GetTitle(), "Bath");
                                                                  return wxID_CANCEL;
                                                              }).Describe("Bath"));
}

TEST_F(RequirementSetPaneTest, RemovalAsksAndRenumbers)
{
    auto set = fourRooms();
    RequirementSetPane& p = open(set, makeRectBuilding(10, 10));
    p.table->UnselectAll();
    ASSERT_EQ(p.table->GetSelectedRow(), wxNOT_FOUND);
    p.removeSelectedRoom(); // no row selected: no question
    p.table->SelectRow(1);
    wxTEST_DIALOG(p.removeSelectedRoom(), wxExpectModal<wxMessageDialog>(wxNO).Describe("Confirm delete?"));
    EXPECT_EQ(set->requirements.size(), 4u);
    wxTEST_DIALOG(p.removeSelectedRoom(), wxExpectModal<wxMessageDialog>(wxYES).Describe("Confirm delete?"));
    EXPECT_EQ(column(p.table, 0), (std::vector<std::string>{"0", "1", "2"}));
    EXPECT_EQ(column(p.table, 1), (std::vector<std::string>{"Hall", "Bed", "Living"}));
    EXPECT_EQ(column(p.table, 2), (std::vector<std::string>{"none", "2", "0,1"}));
    EXPECT_EQ(p.diagram->graph.nodes.size(), 3u);
}

TEST_F(RequirementSetPaneTest, SavedSetReadsBackEqual)
{
    ScratchFolder folder;
    auto set = makeRequirementSet({});
    RequirementSetPane& p = open(set, makeRectBuilding(10, 10, 2));
    wxTEST_DIALOG(p.addRoom(), newRoom("Hall", "0", {}).Describe("Hall"));
    wxTEST_DIALOG(p.addRoom(), newRoom("Bad_room", "1", {}, "12").Describe("Bad_room"));
    wxTEST_DIALOG(p.addRoom(), newRoom("Stairs", "Any floor", {0, 1}, "5").Describe("Stairs"));

    const std::string path = folder.file("brief.csv");
    wxTEST_DIALOG(p.saveRequirements(), wxExpectModal<wxMessageDialog>(wxID_CANCEL).Describe("where"));
    wxTEST_DIALOG(p.saveRequirements(), wxExpectModal<wxMessageDialog>(wxID_NO).Describe("where"),
                  wxExpectModal<wxFileDialog>(wxString::FromUTF8(path), wxID_CANCEL).Describe("file"));
    EXPECT_FALSE(std::filesystem::exists(path));
    wxTEST_DIALOG(p.saveRequirements(), wxExpectModal<wxMessageDialog>(wxID_NO).Describe("where"),
                  wxExpectModal<wxFileDialog>(wxString::FromUTF8(path)).Describe("file"));
    const auto imported = bg::importRequirementsCsv(path);
    ASSERT_EQ(imported.size(), set->requirements.size());
    for (std::size_t i = 0; i < imported.size(); ++i)
        EXPECT_EQ(requirementRow(*imported[i]), requirementRow(*set->requirements[i])) << "row " << i;

    // A write that fails says why and leaves the page as it was.
    const std::string nowhere = folder.file("missing/brief.csv");
    wxTEST_DIALOG(p.saveRequirements(), wxExpectModal<wxMessageDialog>(wxID_NO).Describe("where"),
                  wxExpectModal<wxFileDialog>(wxString::FromUTF8(nowhere)).Describe("file"),
                  wxExpectModal<wxMessageDialog>(wxOK).Describe("the writer's message"));
    EXPECT_EQ(set->requirements.size(), 3u);

    wxTEST_DIALOG(p.saveRequirements(), wxExpectModal<wxMessageDialog>(wxID_YES).Describe("where"),
                  wxExpectModal<wxMessageDialog>(wxOK).Describe("no platform outside the main window"));
}

TEST_F(RequirementSetPaneTest, EightRoomsScreenshot)
{
    auto set = makeRequirementSet({
        makeRequirement(0, "Entrance", 6, 0, {1, 3}, "Entrance"),
        makeRequirement(1, "Living", 28, 0, {0, 2}, "Live and eat"),
        makeRequirement(2, "Kitchen", 12, 0, {1}, "Kitchen and cleaning"),
        makeRequirement(3, "Stairs", 6, bg::anyFloor, {0, 5}, "Stair"),
        makeRequirement(4, "Bedroom", 16, 1, {5}, "Bedroom"),
        makeRequirement(5, "Corridor", 8, 1, {3, 4, 6, 7}, "Corridor"),
        makeRequirement(6, "Study", 10, 1, {5}, "Workroom"),
        makeRequirement(7, "Bath", 7, 1, {5}, "Bathroom"),
    });
    set->requirements[1]->expectedPosition = Vec2(2.5, bg::noExpectedPosition);
    RequirementSetPane& p = open(set, makeRectBuilding(10, 10, 2));
    EXPECT_EQ(p.table->GetItemCount(), 8);
    EXPECT_EQ(p.diagram->graph.nodes.size(), 8u);
    EXPECT_EQ(p.diagram->graph.edges.size(), 14u);
    pumpEventsUntil([&] { return p.diagram->IsShownOnScreen(); });
    pumpEvents(500);
    takeScreenshot("requirement-page");
}

TEST(RequirementSetPageInMainFrame, AddRoomFromTheRibbonOpensTheDialog)
{
    auto project = std::make_shared<bg::Project>("Home");
    auto brief = makeRequirementSet({makeRequirement(0, "Living", 20)}, "Brief");
    project->addBuilding(makeRectBuilding(10, 8, 2));
    project->addRequirementSet(brief);
    getAppState().project = project;
    auto* frame = new MainFrame();
    frame->Show();
    frame->openRequirementSetPage(brief);
    pumpEventsUntil([&] { return getAppState().requirementSetPages[brief] != nullptr; });
    auto* page = dynamic_cast<RequirementSetPane*>(getAppState().requirementSetPages[brief]);
    ASSERT_TRUE(page);
    EXPECT_EQ(page->table->GetItemCount(), 1);
    EXPECT_TRUE(page->building);

    wxRibbonButtonBarEvent click(wxEVT_RIBBONBUTTONBAR_CLICKED, ID_ADD_ROOM);
    click.SetEventObject(frame->getRibbonBar());
    wxTEST_DIALOG(frame->getRibbonBar()->GetEventHandler()->ProcessEvent(click),
                  newRoom("Kitchen", "0", {0}).Describe("New Room"));
    EXPECT_EQ(page->table->GetItemCount(), 2);
    EXPECT_EQ(brief->requirements[0]->adjacency, std::vector<int>{1});

    // Saved from the page and imported as a new set, the rooms are the same.
    ScratchFolder folder;
    const std::string path = folder.file("brief.csv");
    wxRibbonButtonBarEvent save(wxEVT_RIBBONBUTTONBAR_CLICKED, ID_SAVE_REQUIREMENTS);
    save.SetEventObject(frame->getRibbonBar());
    wxTEST_DIALOG(frame->getRibbonBar()->GetEventHandler()->ProcessEvent(save),
                  wxExpectModal<wxMessageDialog>(wxID_NO).Describe("where"),
                  wxExpectModal<wxFileDialog>(wxString::FromUTF8(path)).Describe("file"));
    frame->importRequirementSet(wxString::FromUTF8(path));
    ASSERT_EQ(project->requirementSets.size(), 2u);
    const auto imported = project->requirementSets.back();
    ASSERT_EQ(imported->requirements.size(), brief->requirements.size());
    for (std::size_t i = 0; i < imported->requirements.size(); ++i)
        EXPECT_EQ(requirementRow(*imported->requirements[i]), requirementRow(*brief->requirements[i])) << i;

    wxTEST_DIALOG(frame->Close(), wxExpectModal<wxMessageDialog>(wxYES).Describe("quit question"));
    pumpEventsUntil([] { return wxTopLevelWindows.empty(); });
    getAppState().project.reset();
}
