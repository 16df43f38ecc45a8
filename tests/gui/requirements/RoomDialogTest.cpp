// The room dialog under Xvfb, driven through its controls: what it shows for
// a new and an existing room, the locks and the coupling, the direction boxes,
// the door list, the checks of OK and what OK writes.
#include "DialogTesting.h"
#include "GuiSupport.h"

#include "requirements/RoomDialog.h"

#include "model/Building.h"
#include "model/Constants.h"
#include "model/Project.h"
#include "model/Requirement.h"
#include "model/RequirementFile.h"
#include "support/FileSupport.h"
#include "support/ModelFixtures.h"

#include <gtest/gtest.h>

#include <wx/checkbox.h>
#include <wx/checklst.h>
#include <wx/combobox.h>
#include <wx/display.h>
#include <wx/frame.h>
#include <wx/msgdlg.h>
#include <wx/slider.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/tglbtn.h>
#include <wx/weakref.h>

#include <algorithm>
#include <memory>

namespace {

using namespace kovra_test;

// One floor of 5.72 m x 5.72 m on level 0 with a 0.36 m outer wall: 22.5 m² to plan.
std::shared_ptr<bg::Building> smallHouse()
{
    auto building = makeRectBuilding(5.72, 5.72, 1);
    building->parameters.outerWallStrength = 0.36;
    return building;
}

// Sends the event to the control, as a user's change would.
void send(wxWindow* control, wxCommandEvent& event)
{
    event.SetEventObject(control);
    event.SetId(control->GetId());
    control->GetEventHandler()->ProcessEvent(event);
}

void toggle(wxBitmapToggleButton* button, bool pressed)
{
    button->SetValue(pressed);
    wxCommandEvent event(wxEVT_TOGGLEBUTTON);
    event.SetInt(pressed);
    send(button, event);
}

void tick(wxCheckBox* box, bool ticked)
{
    box->SetValue(ticked);
    wxCommandEvent event(wxEVT_CHECKBOX);
    event.SetInt(ticked);
    send(box, event);
}

void chooseLevel(wxComboBox* box, const wxString& entry)
{
    box->SetStringSelection(entry);
    wxCommandEvent event(wxEVT_COMBOBOX);
    event.SetInt(box->GetSelection());
    send(box, event);
}

void moveSlider(wxSlider* slider, int value)
{
    slider->SetValue(value);
    wxCommandEvent event(wxEVT_SLIDER);
    event.SetInt(value);
    send(slider, event);
}

std::vector<wxString> items(wxCheckListBox* list)
{
    std::vector<wxString> result;
    for (unsigned i = 0; i < list->GetCount(); ++i)
        result.push_back(list->GetString(i) + (list->IsChecked(i) ? " [x]" : ""));
    return result;
}

// The field's text is written in its default style.
bool isRed(wxTextCtrl* field)
{
    const wxTextAttr& style = field->GetDefaultStyle();
    return style.HasTextColour() && style.GetTextColour() == *wxRED;
}

class RoomDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        frame = new wxFrame(nullptr, wxID_ANY, "Requirements", wxDefaultPosition, wxSize(800, 600));
        frame->Show();
    }
    void TearDown() override
    {
        dialog.reset();
        frame->Destroy();
        pumpEventsUntil([] { return wxTopLevelWindows.empty(); });
    }

    RoomDialog& open(const std::shared_ptr<bg::Building>& building, const std::shared_ptr<bg::RequirementSet>& set,
                     const std::shared_ptr<bg::Requirement>& requirement, int level, const wxString& title = "Room")
    {
        dialog = std::make_unique<RoomDialog>(frame, building, set, requirement, level, title);
        return *dialog;
    }

    wxFrame* frame = nullptr;
    std::unique_ptr<RoomDialog> dialog;
};

// Hall (level 0, neighbours 1 and 2), Kitchen (level 1) and Stairs (any floor).
std::shared_ptr<bg::RequirementSet> hallKitchenStairs()
{
    return makeRequirementSet({makeRequirement(0, "Hall", 10, 0, {1, 2}), makeRequirement(1, "Kitchen", 10, 1, {0}),
                               makeRequirement(2, "Stairs", 5, bg::anyFloor, {0})});
}

} // namespace

TEST_F(RoomDialogTest, NewRoomStartsAsASquareOfTheSpaceLeft)
{
    auto set = makeRequirementSet({makeRequirement(0, "Living", 12.5, 0)});
    RoomDialog& d = open(smallHouse(), set, nullptr, 0, "New Room");
    EXPECT_EQ(d.GetId(), ID_ROOM_DIALOG);
    // Within the screen's work area.
    const wxRect area = wxDisplay(static_cast<const wxWindow*>(&d)).GetClientArea();
    EXPECT_LE(d.GetSize().x, area.width - 40);
    EXPECT_LE(d.GetSize().y, area.height - 40);
    EXPECT_EQ(d.roomId->GetValue(), "1");
    EXPECT_EQ(d.nameField->GetValue(), "New Room");
    EXPECT_EQ(d.typeBox->GetValue(), "Entrance");
    EXPECT_EQ(d.levelBox->GetValue(), "0");
    EXPECT_EQ(d.areaField->GetValue(), "10.00");
    EXPECT_EQ(d.lengthField->GetValue(), "3.16");
    EXPECT_EQ(d.widthField->GetValue(), "3.16");
    EXPECT_EQ(d.remainingBuilding->GetValue(), "0.00");
    EXPECT_EQ(d.remainingFloor->GetValue(), "0.00");
    EXPECT_TRUE(wxWindow::FindWindowByLabel(wxString::FromUTF8("Remaining area of building (m\u00b2): "), &d));
    EXPECT_FALSE(isRed(d.remainingBuilding));
    EXPECT_EQ(d.areaMinLabel->GetLabel(), "50%");
    EXPECT_EQ(d.widthMaxLabel->GetLabel(), "150%");
    EXPECT_FALSE(d.wallList->IsEnabled());
    EXPECT_EQ(d.wallList->GetCount(), 0u);

    d.areaField->SetValue("11"); // raises the text event, as typing does
    EXPECT_EQ(d.remainingBuilding->GetValue(), "-1.00");
    EXPECT_EQ(d.remainingFloor->GetValue(), "-1.00");
    EXPECT_TRUE(isRed(d.remainingBuilding));
    EXPECT_TRUE(isRed(d.remainingFloor));
    EXPECT_EQ(d.lengthField->GetValue(), "3.32");

    chooseLevel(d.levelBox, "Any floor");
    EXPECT_EQ(d.remainingFloor->GetValue(), "----");
}

TEST_F(RoomDialogTest, LockSequence)
{
    auto set = makeRequirementSet({});
    RoomDialog& d = open(makeRectBuilding(10, 10), set, nullptr, 0);
    d.areaField->SetValue("20");
    toggle(d.areaLock, true);
    EXPECT_FALSE(d.areaMin->IsEnabled());
    EXPECT_EQ(d.areaMin->GetValue(), 100);
    EXPECT_EQ(d.areaMaxLabel->GetLabel(), "100%");
    toggle(d.lengthLock, true);
    // The width follows from area and length.
    EXPECT_TRUE(d.widthLock->GetValue());
    EXPECT_FALSE(d.widthLock->IsEnabled());
    EXPECT_FALSE(d.widthField->IsEnabled());
    EXPECT_EQ(d.widthMin->GetValue(), 100);
    d.lengthField->SetValue("5");
    EXPECT_EQ(d.widthField->GetValue(), "4.00");
    EXPECT_EQ(d.areaField->GetValue(), "20");

    toggle(d.lengthLock, false);
    EXPECT_TRUE(d.areaLock->GetValue());
    for (wxBitmapToggleButton* lock : {d.lengthLock, d.widthLock}) {
        EXPECT_FALSE(lock->GetValue());
        EXPECT_TRUE(lock->IsEnabled());
    }
    EXPECT_TRUE(d.widthField->IsEnabled());
    EXPECT_TRUE(d.widthMin->IsEnabled());
    EXPECT_EQ(d.widthMin->GetValue(), 100);
}

TEST_F(RoomDialogTest, LengthAndWidthLockedDeriveTheArea)
{
    auto set = makeRequirementSet({});
    RoomDialog& d = open(makeRectBuilding(10, 10), set, nullptr, 0);
    toggle(d.lengthLock, true);
    toggle(d.widthLock, true);
    EXPECT_FALSE(d.areaField->IsEnabled());
    EXPECT_FALSE(d.areaLock->IsEnabled());
    d.lengthField->SetValue("5");
    d.widthField->SetValue("3");
    EXPECT_EQ(d.areaField->GetValue(), "15.00");
    toggle(d.lengthLock, false);
    EXPECT_TRUE(d.areaField->IsEnabled());
    EXPECT_TRUE(d.areaLock->IsEnabled());
    EXPECT_FALSE(d.areaLock->GetValue());
    EXPECT_TRUE(d.areaMin->IsEnabled());
    EXPECT_TRUE(d.widthLock->GetValue());
}

TEST_F(RoomDialogTest, ExistingRoomOpensWithItsValuesAndLocks)
{
    auto requirement = makeRequirement(0, "Living", 20, 0, {-1}, "Bedroom", {"south"});
    requirement->minAreaError = 10;
    requirement->maxAreaError = 60;
    auto set = makeRequirementSet({requirement});
    RoomDialog& d = open(makeRectBuilding(10, 10), set, requirement, 0);
    EXPECT_EQ(d.areaMin->GetValue(), 50);
    EXPECT_EQ(d.areaMax->GetValue(), 200);
    EXPECT_EQ(d.areaMaxLabel->GetLabel(), "200%");
    EXPECT_EQ(d.typeBox->GetValue(), "Bedroom");
    EXPECT_EQ(d.getBoundaries(), std::vector<std::string>{"south"});
    dialog.reset();

    requirement->lock = 3;
    RoomDialog& locked = open(makeRectBuilding(10, 10), set, requirement, 0);
    for (wxBitmapToggleButton* lock : {locked.areaLock, locked.lengthLock, locked.widthLock})
        EXPECT_TRUE(lock->GetValue());
    EXPECT_FALSE(locked.widthLock->IsEnabled());
    EXPECT_FALSE(locked.widthField->IsEnabled());
    EXPECT_EQ(locked.lengthMinLabel->GetLabel(), "100%");
    ASSERT_TRUE(locked.confirm());
    EXPECT_EQ(requirement->lock, 3);
    EXPECT_DOUBLE_EQ(requirement->maxAreaError, 20);
}

TEST_F(RoomDialogTest, DirectionBoxesAreExclusive)
{
    auto set = makeRequirementSet({});
    RoomDialog& d = open(nullptr, set, nullptr, 0);
    ASSERT_EQ(d.directionBoxes.size(), 8u);
    auto box = [&](const std::string& word) {
        for (auto& [checkBox, boxWord] : d.directionBoxes)
            if (boxWord == word)
                return checkBox;
        return static_cast<wxCheckBox*>(nullptr);
    };
    tick(box("east"), true);
    tick(box("north"), true);
    EXPECT_FALSE(box("east")->GetValue());
    EXPECT_EQ(d.getBoundaries(), std::vector<std::string>{"north"});
    moveSlider(d.areaMin, 70);
    EXPECT_EQ(d.areaMinLabel->GetLabel(), "70%");
    EXPECT_EQ(d.areaMin->GetToolTipText(), "Area");
    tick(box("north"), false);
    EXPECT_EQ(d.getBoundaries(), std::vector<std::string>{"whatever"});
}

TEST_F(RoomDialogTest, DoorListFollowsTheLevelAndKeepsOtherFloors)
{
    auto set = hallKitchenStairs();
    auto hall = set->requirements[0];
    RoomDialog& d = open(makeRectBuilding(10, 10, 2), set, hall, 0);
    // A room has no door to itself: Hall is not in Hall's list.
    EXPECT_EQ(items(d.doorList), (std::vector<wxString>{"2_Stairs [x]"}));
    EXPECT_EQ(d.getAdjacency(), (std::vector<int>{1, 2}));
    chooseLevel(d.levelBox, "Any floor");
    EXPECT_EQ(items(d.doorList), (std::vector<wxString>{"1_Kitchen [x]", "2_Stairs [x]"}));
    chooseLevel(d.levelBox, "0");
    ASSERT_TRUE(d.confirm());
    EXPECT_EQ(hall->adjacency, (std::vector<int>{1, 2}));
    EXPECT_EQ(set->requirements[1]->adjacency, std::vector<int>{0});
}

TEST_F(RoomDialogTest, NewRoomTicksNeighboursThatListItBack)
{
    auto set = hallKitchenStairs();
    set->requirements[1]->adjacency = {-1};
    RoomDialog& d = open(makeRectBuilding(10, 10, 2), set, nullptr, 1);
    EXPECT_EQ(items(d.doorList), (std::vector<wxString>{"1_Kitchen", "2_Stairs"}));
    d.doorList->Check(0, true);
    ASSERT_TRUE(d.confirm());
    ASSERT_EQ(set->requirements.size(), 4u);
    EXPECT_EQ(set->requirements[3]->index, 3);
    EXPECT_EQ(set->requirements[3]->adjacency, std::vector<int>{1});
    EXPECT_EQ(set->requirements[1]->adjacency, std::vector<int>{3});
    EXPECT_EQ(d.requirement, set->requirements[3]);
}

TEST_F(RoomDialogTest, AreaCheckKeepsTheDialogOpenAndTheSetUnchanged)
{
    auto edited = makeRequirement(1, "Bath", 5, 0);
    // 12.5 m² of 22.5 planned, 5 of them the edited room's: 15 m² fit.
    auto set = makeRequirementSet({makeRequirement(0, "Living", 7.5, 0), edited});
    RoomDialog& d = open(smallHouse(), set, edited, 0);
    d.areaField->SetValue("15.5");
    bool accepted = true;
    wxTEST_DIALOG(accepted = d.confirm(),
                  wxExpectModal<wxMessageDialog>(wxOK).Describe("building message"));
    EXPECT_FALSE(accepted);
    EXPECT_DOUBLE_EQ(edited->area, 5);
    d.areaField->SetValue("15");
    EXPECT_TRUE(d.confirm());
    EXPECT_DOUBLE_EQ(edited->area, 15);
}

TEST_F(RoomDialogTest, FieldsThatDoNotConvertAreRefusedWithAMessage)
{
    auto set = hallKitchenStairs();
    RoomDialog& d = open(makeRectBuilding(10, 10, 2), set, nullptr, 0);
    d.doorList->Check(1, true);
    d.widthField->ChangeValue("wide");
    bool accepted = true;
    wxTEST_DIALOG(accepted = d.confirm(), wxExpectModal<wxMessageDialog>(wxOK).Describe("Room Width message"));
    EXPECT_FALSE(accepted);
    EXPECT_EQ(set->requirements.size(), 3u);
    EXPECT_EQ(set->requirements[2]->adjacency, std::vector<int>{0});
    EXPECT_FALSE(d.requirement);
}

TEST_F(RoomDialogTest, EitherEnterConfirmsFromAFieldAndEscapeCancels)
{
    struct Case {
        const char* name;
        int keyCode;
        int result;
        std::size_t rooms;
    };
    const Case cases[] = {{"Enter", WXK_RETURN, wxID_OK, 1},
                          {"keypad Enter", WXK_NUMPAD_ENTER, wxID_OK, 1},
                          {"Escape", WXK_ESCAPE, wxID_CANCEL, 0}};
    for (const Case& c : cases) {
        auto set = makeRequirementSet({});
        RoomDialog& d = open(makeRectBuilding(10, 10), set, nullptr, 0);
        wxWeakRef<RoomDialog> ref(&d);
        const int keyCode = c.keyCode;
        d.CallAfter([ref, keyCode] {
            // The key as it reaches the dialog while the name field has the focus.
            ref->nameField->SetFocus();
            wxKeyEvent key(wxEVT_CHAR_HOOK);
            key.m_keyCode = keyCode;
            key.SetEventObject(ref->nameField);
            ref->GetEventHandler()->ProcessEvent(key);
            // Ends a loop that the key did not end, so that a failure cannot hang.
            if (ref && ref->IsModal())
                ref->EndModal(-1);
        });
        EXPECT_EQ(d.ShowModal(), c.result) << c.name;
        EXPECT_EQ(set->requirements.size(), c.rooms) << c.name;
    }
}

TEST_F(RoomDialogTest, NameKeepsEveryCharacterThroughBothFiles)
{
    ScratchFolder folder;
    auto set = makeRequirementSet({});
    RoomDialog& d = open(makeRectBuilding(10, 10), set, nullptr, 0);
    const wxString name = wxString::FromUTF8("\xc5\x81" "azienka \xc3\xa9");
    d.nameField->SetValue(name);
    ASSERT_TRUE(d.confirm());
    ASSERT_EQ(set->requirements.size(), 1u);
    EXPECT_EQ(set->requirements[0]->name, name.utf8_string());

    bg::exportRequirementsCsv(set, folder.file("rooms.csv"));
    const auto imported = bg::importRequirementsCsv(folder.file("rooms.csv"));
    ASSERT_EQ(imported.size(), 1u);
    EXPECT_EQ(imported[0]->name, name.utf8_string());

    auto project = std::make_shared<bg::Project>("Home");
    project->addRequirementSet(set);
    project->saveToFile(folder.file("home.xsp"));
    const auto loaded = bg::Project::load(folder.file("home.xsp"));
    ASSERT_TRUE(loaded);
    ASSERT_EQ(loaded->requirementSets.size(), 1u);
    EXPECT_EQ(loaded->requirementSets.front()->requirements.at(0)->name, name.utf8_string());
}

TEST(RoomDialogSize, FitsTheScreenAndItsColumns)
{
    struct Row {
        int columns, screenWidth, screenHeight;
        wxSize expected;
    } rows[] = {
        {900, 1920, 1080, {900, 640}},  // the columns' width, 640 high
        {500, 1920, 1080, {640, 640}},  // never narrower than 640
        {1300, 1280, 800, {1240, 640}}, // never wider than the screen
        {900, 1024, 600, {900, 560}},   // a low screen: as high as it has room
    };
    for (const Row& row : rows)
        EXPECT_EQ(roomDialogSize(row.columns, row.screenWidth, row.screenHeight), row.expected)
            << row.columns << " on " << row.screenWidth << " x " << row.screenHeight;
}

TEST_F(RoomDialogTest, TheDoorListAndTheButtonsShowWithoutScrollingOnALaptopScreen)
{
    auto set = hallKitchenStairs();
    RoomDialog& d = open(makeRectBuilding(10, 10, 2), set, set->requirements[0], 0, "Hall");
    d.Show();
    pumpEventsUntil([&] { return d.IsShownOnScreen(); });
    const wxRect area = wxDisplay(static_cast<const wxWindow*>(&d)).GetClientArea();
    ASSERT_LE(area.height, 800) << "the tests' virtual screen is a laptop's";
    wxWindow* body = d.doorList->GetParent();
    while (body->GetParent() != &d)
        body = body->GetParent();
    EXPECT_LE(body->GetVirtualSize().y, body->GetClientSize().y) << "the panes need no scrolling";
    const wxRect list = d.doorList->GetScreenRect();
    const wxRect dialog = d.GetScreenRect();
    EXPECT_TRUE(dialog.Contains(list)) << "the whole door list lies within the dialog";
    EXPECT_GE(list.height, 100);
    EXPECT_TRUE(dialog.Contains(d.FindWindow(wxID_OK)->GetScreenRect()));
}

TEST_F(RoomDialogTest, Screenshot)
{
    auto set = hallKitchenStairs();
    auto hall = set->requirements[0];
    RoomDialog& d = open(makeRectBuilding(10, 10, 2), set, hall, 0, "Hall");
    d.Show();
    pumpEventsUntil([&] { return d.IsShownOnScreen(); });
    pumpEvents(300);
    takeScreenshot("room-dialog");
    SUCCEED();
}
