// The building page in a shown frame: real widgets, the real model, message
// boxes answered through the dialog test hooks.
#include "GuiSupport.h"

#include "shell/AppState.h"
#include "building/BuildingEditorCtrl.h"
#include "building/BuildingPane.h"
#include "shell/RibbonTable.h"

#include "model/Building.h"
#include "model/Project.h"
#include "support/ModelFixtures.h"
#include "support/SamePolygon.h"

#include <gtest/gtest.h>

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/dataview.h>
#include <wx/frame.h>
#include <wx/msgdlg.h>
#include <wx/ribbon/bar.h>
#include <wx/ribbon/buttonbar.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include "DialogTesting.h"
#include <wx/textctrl.h>
#include <wx/weakref.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

using Contour = std::vector<Vec2>;

bool sameContour(const Contour& a, const Contour& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].x != b[i].x || a[i].y != b[i].y)
            return false;
    return true;
}

// A message box with the given text, answered with `answer`.
class ExpectMessage : public wxExpectModal<wxMessageDialog> {
public:
    ExpectMessage(const wxString& text, int answer) : wxExpectModal<wxMessageDialog>(answer), text(text) {}

protected:
    int OnInvoked(wxMessageDialog* dialog) const override
    {
        EXPECT_EQ(dialog->GetMessage(), text);
        return wxExpectModal<wxMessageDialog>::OnInvoked(dialog);
    }

private:
    wxString text;
};

// A message box whose text contains `part`, answered with OK.
class ExpectErrorNaming : public wxExpectModal<wxMessageDialog> {
public:
    explicit ExpectErrorNaming(const wxString& part) : wxExpectModal<wxMessageDialog>(wxOK), part(part) {}

protected:
    int OnInvoked(wxMessageDialog* dialog) const override
    {
        EXPECT_TRUE(dialog->GetMessage().Contains(part)) << dialog->GetMessage();
        return wxExpectModal<wxMessageDialog>::OnInvoked(dialog);
    }

private:
    wxString part;
};

// A shown frame with a ribbon bar above a building page.
class BuildingPaneTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        if (frame)
            frame->Destroy();
        pumpEventsUntil([&] { return !frame; });
    }

    BuildingPane* open(const std::shared_ptr<bg::Building>& building)
    {
        frame = new wxFrame(nullptr, wxID_ANY, "Building", wxDefaultPosition, wxSize(1200, 720));
        ribbon = new wxRibbonBar(frame);
        auto* sizer = new wxBoxSizer(wxVERTICAL);
        sizer->Add(ribbon, 0, wxEXPAND);
        pane = new BuildingPane(frame, nullptr, ribbon, building);
        sizer->Add(pane, 1, wxEXPAND);
        frame->SetSizer(sizer);
        frame->Show();
        pumpEventsUntil([&] { return frame->IsShownOnScreen(); });
        frame->Layout();
        wxTheApp->ProcessPendingEvents();
        return pane;
    }

    wxTextCtrl* field(int id) { return dynamic_cast<wxTextCtrl*>(pane->FindWindow(id)); }
    wxCheckBox* checkBox(int id) { return dynamic_cast<wxCheckBox*>(pane->FindWindow(id)); }
    wxComboBox* corner() { return dynamic_cast<wxComboBox*>(pane->FindWindow(BuildingPane::ID_CORNER)); }
    wxButton* button(int id) { return dynamic_cast<wxButton*>(pane->FindWindow(id)); }

    void click(int id)
    {
        wxCommandEvent event(wxEVT_BUTTON, id);
        event.SetEventObject(button(id));
        button(id)->GetEventHandler()->ProcessEvent(event);
    }

    void setCheck(int id, bool checked)
    {
        checkBox(id)->SetValue(checked);
        wxCommandEvent event(wxEVT_CHECKBOX, id);
        event.SetEventObject(checkBox(id));
        event.SetInt(checked ? 1 : 0);
        checkBox(id)->GetEventHandler()->ProcessEvent(event);
    }

    void selectRow(int row)
    {
        wxDataViewListCtrl* table = pane->getFloorTable();
        table->SelectRow(static_cast<unsigned>(row));
        wxDataViewEvent event(wxEVT_DATAVIEW_SELECTION_CHANGED, table, table->RowToItem(row));
        table->GetEventHandler()->ProcessEvent(event);
    }

    void ribbonClick(int id)
    {
        wxRibbonButtonBarEvent event(wxEVT_RIBBONBUTTONBAR_CLICKED, id);
        event.SetEventObject(ribbon);
        ribbon->GetEventHandler()->ProcessEvent(event);
    }

    std::vector<std::string> row(int r)
    {
        std::vector<std::string> cells;
        wxDataViewListCtrl* table = pane->getFloorTable();
        for (unsigned c = 0; c < table->GetColumnCount(); ++c)
            cells.push_back(table->GetTextValue(static_cast<unsigned>(r), c).ToStdString());
        return cells;
    }

    std::vector<std::string> column(unsigned c)
    {
        std::vector<std::string> cells;
        wxDataViewListCtrl* table = pane->getFloorTable();
        for (int r = 0; r < table->GetItemCount(); ++r)
            cells.push_back(table->GetTextValue(static_cast<unsigned>(r), c).ToStdString());
        return cells;
    }

    // Screenshots only: lets the display draw what the test changed.
    void screenshot(const std::string& name)
    {
        frame->Refresh();
        frame->Update();
        pumpEvents(300);
        takeScreenshot(name);
    }

    std::string currentLevelText() { return pane->getCurrentLevelText()->GetLabel().ToStdString(); }

    wxWeakRef<wxFrame> frame;
    wxRibbonBar* ribbon = nullptr;
    BuildingPane* pane = nullptr;
};

TEST_F(BuildingPaneTest, NewBuildingShowsItsRootFloor)
{
    auto building = std::make_shared<bg::Building>("New");
    open(building);
    ASSERT_EQ(building->floors.size(), 1u);
    EXPECT_EQ(pane->getCurrentFloor(), building->root);
    EXPECT_EQ(pane->getEditor()->getFloor(), building->root);
    ASSERT_EQ(pane->getFloorTable()->GetItemCount(), 1);
    EXPECT_EQ(row(0), (std::vector<std::string>{"0", "15.00", "15.00", "225.00", "203.92", "0.00"}));
    EXPECT_EQ(currentLevelText(), "Current level: 0");
    EXPECT_EQ(getAppState().buildingPages[building], pane);
    EXPECT_EQ(pane->ribbonPage, RIBBON_PAGE_BUILDING);
    EXPECT_EQ(pane->GetId(), BuildingPane::ID_BUILDING_PANE);
}

TEST_F(BuildingPaneTest, ControlsStartAsTheUserExpects)
{
    open(kovra_test::makeRectBuilding(15, 15));
    EXPECT_EQ(field(BuildingPane::ID_FLOOR_LENGTH)->GetValue(), "15.0");
    EXPECT_EQ(field(BuildingPane::ID_FLOOR_WIDTH)->GetValue(), "15.0");
    EXPECT_EQ(field(BuildingPane::ID_FLOOR_HEIGHT)->GetValue(), "2.75");
    EXPECT_FALSE(checkBox(BuildingPane::ID_L_SHAPE)->IsChecked());
    EXPECT_TRUE(checkBox(BuildingPane::ID_COPY_LAST_FLOOR)->IsChecked());
    EXPECT_EQ(corner()->GetStringSelection(), "Top-Right");
    EXPECT_FALSE(corner()->IsEnabled());
    EXPECT_FALSE(pane->getCornerLengthField()->IsEnabled());
    EXPECT_FALSE(pane->getCornerWidthField()->IsEnabled());
    EXPECT_EQ(field(20064)->GetValue(), "1.00");
    EXPECT_EQ(field(20062)->GetValue(), "0.36");
    EXPECT_FALSE(button(BuildingPane::ID_APPLY_CHANGES)->IsEnabled());

    setCheck(BuildingPane::ID_L_SHAPE, true);
    EXPECT_TRUE(corner()->IsEnabled());
    EXPECT_TRUE(pane->getCornerLengthField()->IsEnabled());
    EXPECT_TRUE(pane->getCornerWidthField()->IsEnabled());
    setCheck(BuildingPane::ID_L_SHAPE, false);
    EXPECT_FALSE(corner()->IsEnabled());
    EXPECT_FALSE(pane->getCornerWidthField()->IsEnabled());
}

TEST_F(BuildingPaneTest, TheFieldsShowTheFloorThePageOpensWith)
{
    auto building = kovra_test::makeRectBuilding(15, 12, 1, 3.1);
    const std::vector<Vec2> outline = building->root->contour;
    open(building);
    EXPECT_EQ(field(BuildingPane::ID_FLOOR_LENGTH)->GetValue(), "15.0");
    EXPECT_EQ(field(BuildingPane::ID_FLOOR_WIDTH)->GetValue(), "12.000000");
    EXPECT_EQ(field(BuildingPane::ID_FLOOR_HEIGHT)->GetValue(), "3.10");
    // "Update Value" straight away leaves the floor as it was.
    click(BuildingPane::ID_UPDATE_VALUE);
    EXPECT_TRUE(kovra_test::samePolygon(building->root->contour, outline));
    EXPECT_DOUBLE_EQ(building->root->height, 3.1);
}

TEST_F(BuildingPaneTest, OnlyParameterFieldsEnableApply)
{
    open(kovra_test::makeRectBuilding(15, 15));
    field(BuildingPane::ID_FLOOR_LENGTH)->SetValue("12");
    field(BuildingPane::ID_FLOOR_HEIGHT)->SetValue("3");
    pane->getCornerLengthField()->SetValue("4");
    EXPECT_FALSE(button(BuildingPane::ID_APPLY_CHANGES)->IsEnabled());
    field(20067)->SetValue("0.9");
    EXPECT_TRUE(button(BuildingPane::ID_APPLY_CHANGES)->IsEnabled());
}

TEST_F(BuildingPaneTest, NewFloorCopiesTheCurrentFloorOnTop)
{
    auto building = kovra_test::makeLShapedBuilding(15, 15, 5, 5);
    open(building);
    field(BuildingPane::ID_FLOOR_HEIGHT)->SetValue("3.1");
    click(BuildingPane::ID_NEW_FLOOR);

    ASSERT_EQ(building->floors.size(), 2u);
    auto added = building->floors.back();
    EXPECT_EQ(added->level, 1);
    EXPECT_DOUBLE_EQ(added->height, 3.1);
    EXPECT_DOUBLE_EQ(added->elevation, 2.95);
    EXPECT_TRUE(sameContour(added->contour, building->root->contour));
    EXPECT_EQ(pane->getCurrentFloor(), added);
    EXPECT_EQ(pane->getEditor()->getFloor(), added);
    EXPECT_EQ(column(0), (std::vector<std::string>{"1", "0"}));
    EXPECT_EQ(column(5), (std::vector<std::string>{"2.95", "0.00"}));
    EXPECT_EQ(currentLevelText(), "Current level: 1");
}

TEST_F(BuildingPaneTest, NewFloorWithoutCopyTakesTheRectangleOrTheL)
{
    auto building = kovra_test::makeRectBuilding(15, 15);
    open(building);
    setCheck(BuildingPane::ID_COPY_LAST_FLOOR, false);
    field(BuildingPane::ID_FLOOR_LENGTH)->SetValue("12");
    field(BuildingPane::ID_FLOOR_WIDTH)->SetValue("9");
    click(BuildingPane::ID_NEW_FLOOR);
    EXPECT_TRUE(sameContour(building->floors.back()->contour, kovra_test::rectContour(12, 9)));

    setCheck(BuildingPane::ID_L_SHAPE, true);
    click(BuildingPane::ID_NEW_FLOOR);
    EXPECT_TRUE(sameContour(building->floors.back()->contour, kovra_test::lShapedContour(12, 9, 5, 5)));
    EXPECT_EQ(building->floors.back()->level, 2);
}

TEST_F(BuildingPaneTest, UpdateValueGivesTheCurrentFloorAnL)
{
    auto building = kovra_test::makeRectBuilding(15, 15);
    open(building);
    setCheck(BuildingPane::ID_L_SHAPE, true);
    click(BuildingPane::ID_UPDATE_VALUE);
    EXPECT_TRUE(sameContour(building->root->contour,
                            {{0, 0}, {15, 0}, {15, 10}, {10, 10}, {10, 15}, {0, 15}}));
    EXPECT_EQ(row(0)[3], "200.00");
    EXPECT_EQ(building->floors.size(), 1u);
    screenshot("building-page-l-shape");

    corner()->SetSelection(2); // Bottom-Left
    click(BuildingPane::ID_UPDATE_VALUE);
    EXPECT_TRUE(sameContour(building->root->contour, {{0, 5}, {5, 5}, {5, 0}, {15, 0}, {15, 15}, {0, 15}}));
}

TEST_F(BuildingPaneTest, UpdateValueKeepsTheHeightGivenToTheRoot)
{
    auto building = kovra_test::makeRectBuilding(15, 15, 2);
    open(building);
    field(BuildingPane::ID_FLOOR_HEIGHT)->SetValue("3.5");
    click(BuildingPane::ID_UPDATE_VALUE);
    EXPECT_DOUBLE_EQ(building->root->height, 3.5);
    EXPECT_DOUBLE_EQ(building->floors.back()->elevation, 3.7);
    EXPECT_EQ(column(5), (std::vector<std::string>{"3.70", "0.00"}));
}

struct RefusedFloorCase {
    const char* what;
    int fieldId; // 0 for the corner length field
    const char* text;
    bool lShape;
    const char* named;
};

void PrintTo(const RefusedFloorCase& c, std::ostream* out)
{
    *out << c.what;
}

const RefusedFloorCase refusedFloorCases[] = {
    {"empty length", BuildingPane::ID_FLOOR_LENGTH, "", false, "Maximal length"},
    {"zero width", BuildingPane::ID_FLOOR_WIDTH, "0", false, "Maximal width"},
    {"negative height", BuildingPane::ID_FLOOR_HEIGHT, "-2", false, "Floor height"},
    {"corner too long", 0, "16", true, "corner"},
};

class RefusedFloorTest : public BuildingPaneTest, public ::testing::WithParamInterface<RefusedFloorCase> {};

TEST_P(RefusedFloorTest, NewFloorAndUpdateValueLeaveTheBuildingAsItWas)
{
    const RefusedFloorCase& c = GetParam();
    auto building = kovra_test::makeRectBuilding(15, 15);
    open(building);
    setCheck(BuildingPane::ID_COPY_LAST_FLOOR, false);
    setCheck(BuildingPane::ID_L_SHAPE, c.lShape);
    (c.fieldId ? field(c.fieldId) : pane->getCornerLengthField())->SetValue(c.text);

    wxTEST_DIALOG(click(BuildingPane::ID_NEW_FLOOR), ExpectErrorNaming(c.named));
    wxTEST_DIALOG(click(BuildingPane::ID_UPDATE_VALUE), ExpectErrorNaming(c.named));
    EXPECT_EQ(building->floors.size(), 1u) << c.what;
    EXPECT_TRUE(sameContour(building->root->contour, kovra_test::rectContour(15, 15))) << c.what;
    EXPECT_DOUBLE_EQ(building->root->height, 2.75) << c.what;
    EXPECT_EQ(pane->getFloorTable()->GetItemCount(), 1) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Fields, RefusedFloorTest, ::testing::ValuesIn(refusedFloorCases));

TEST_F(BuildingPaneTest, ChoosingARowMakesItsFloorCurrent)
{
    auto building = kovra_test::makeBuilding(
        {kovra_test::rectContour(12.5, 8), kovra_test::rectContour(10, 8), kovra_test::rectContour(9, 7)});
    open(building);
    field(BuildingPane::ID_FLOOR_HEIGHT)->SetValue("3.3");
    EXPECT_EQ(column(0), (std::vector<std::string>{"2", "1", "0"}));
    selectRow(2);
    EXPECT_EQ(pane->getCurrentFloor(), building->root);
    EXPECT_EQ(pane->getEditor()->getFloor(), building->root);
    EXPECT_EQ(currentLevelText(), "Current level: 0");
    EXPECT_EQ(field(BuildingPane::ID_FLOOR_LENGTH)->GetValue(), "12.500000");
    EXPECT_EQ(field(BuildingPane::ID_FLOOR_WIDTH)->GetValue(), "8.000000");
    EXPECT_EQ(field(BuildingPane::ID_FLOOR_HEIGHT)->GetValue(), "3.3");
    selectRow(0);
    EXPECT_EQ(pane->getCurrentFloor()->level, 2);
    EXPECT_EQ(currentLevelText(), "Current level: 2");
}

TEST_F(BuildingPaneTest, RemoveFloorRefusesTheRootAndAMiddleFloor)
{
    auto building = kovra_test::makeRectBuilding(15, 15, 3);
    open(building);
    // The page opens on the root floor.
    wxTEST_DIALOG(click(BuildingPane::ID_REMOVE_FLOOR),
                  ExpectMessage("This is the root floor, it cannot be removed.", wxOK));
    selectRow(1);
    wxTEST_DIALOG(click(BuildingPane::ID_REMOVE_FLOOR),
                  ExpectMessage("This floor is between two others, it cannot be removed.", wxOK));
    EXPECT_EQ(building->floors.size(), 3u);

    selectRow(0);
    wxTEST_DIALOG(click(BuildingPane::ID_REMOVE_FLOOR), ExpectMessage("Confirm delete?", wxNO));
    EXPECT_EQ(building->floors.size(), 3u);

    wxTEST_DIALOG(click(BuildingPane::ID_REMOVE_FLOOR), ExpectMessage("Confirm delete?", wxYES));
    ASSERT_EQ(building->floors.size(), 2u);
    EXPECT_EQ(column(0), (std::vector<std::string>{"1", "0"}));
    EXPECT_EQ(pane->getCurrentFloor()->level, 1);
    EXPECT_TRUE(pane->getCurrentFloor()->upper.expired());
    EXPECT_EQ(currentLevelText(), "Current level: 1");
    // The outline shows the root floor again.
    EXPECT_EQ(pane->getEditor()->getFloor(), building->root);
}

TEST_F(BuildingPaneTest, RemovedFloorsValuesGiveWayToTheCurrentFloors)
{
    auto building = kovra_test::makeBuilding({kovra_test::rectContour(12.5, 8), kovra_test::rectContour(9, 7)});
    (*std::next(building->floors.begin()))->height = 3.1;
    building->root->height = 2.9;
    open(building);
    selectRow(0);
    field(BuildingPane::ID_FLOOR_HEIGHT)->SetValue("4");
    wxTEST_DIALOG(click(BuildingPane::ID_REMOVE_FLOOR), ExpectMessage("Confirm delete?", wxYES));
    ASSERT_EQ(pane->getCurrentFloor(), building->root);
    EXPECT_EQ(field(BuildingPane::ID_FLOOR_LENGTH)->GetValue(), "12.500000");
    EXPECT_EQ(field(BuildingPane::ID_FLOOR_WIDTH)->GetValue(), "8.000000");
    EXPECT_EQ(field(BuildingPane::ID_FLOOR_HEIGHT)->GetValue(), "2.90");
}

TEST_F(BuildingPaneTest, ApplyChangesStoresTheParametersAndRefreshesNetAreas)
{
    auto building = kovra_test::makeRectBuilding(15, 15, 2);
    open(building);
    const std::vector<std::string> gross = column(3);
    const std::vector<std::string> elevations = column(5);
    field(20062)->SetValue("0.5");
    click(BuildingPane::ID_APPLY_CHANGES);
    EXPECT_DOUBLE_EQ(building->parameters.outerWallStrength, 0.5);
    EXPECT_DOUBLE_EQ(getBuildingParameters().outerWallStrength, 0.36);
    EXPECT_EQ(column(4), (std::vector<std::string>{"196.00", "196.00"}));
    EXPECT_EQ(column(3), gross);
    EXPECT_EQ(column(5), elevations);
    EXPECT_FALSE(button(BuildingPane::ID_APPLY_CHANGES)->IsEnabled());
}

TEST_F(BuildingPaneTest, ParameterThatIsNoNumberIsNamedAndNothingIsStored)
{
    auto building = kovra_test::makeRectBuilding(15, 15);
    open(building);
    field(20059)->SetValue("0.7");
    field(20065)->SetValue("");
    wxTEST_DIALOG(click(BuildingPane::ID_APPLY_CHANGES), ExpectErrorNaming("Door height"));
    EXPECT_DOUBLE_EQ(building->parameters.baseSlabStrength, 0.5);
    EXPECT_TRUE(button(BuildingPane::ID_APPLY_CHANGES)->IsEnabled());
}

TEST_F(BuildingPaneTest, RibbonViewCommandsReachThePageBoundLast)
{
    auto building = kovra_test::makeRectBuilding(15, 15, 3);
    open(building);
    auto other = std::make_shared<bg::Building>("Other");
    auto* second = new BuildingPane(frame, nullptr, ribbon, other);
    second->Hide();

    ribbonClick(ID_BUILDING_VIEW_ALL);
    EXPECT_EQ(second->showAllFloors, 1);
    EXPECT_EQ(pane->showAllFloors, 0);

    pane->bindRibbonEvents(ribbon);
    ribbonClick(ID_BUILDING_VIEW_ALL);
    EXPECT_EQ(pane->showAllFloors, 1);
    EXPECT_TRUE(pane->getEditor()->isShowingAll());
    EXPECT_GE(pane->getEditor()->getColumns(), 1u);
    screenshot("building-page-view-all");

    ribbonClick(ID_BUILDING_VIEW_ONE);
    EXPECT_EQ(pane->showAllFloors, 0);
    EXPECT_FALSE(pane->getEditor()->isShowingAll());

    second->Destroy();
    ribbonClick(ID_BUILDING_VIEW_ALL); // no handler of the destroyed page left
    EXPECT_EQ(pane->showAllFloors, 1);
}

TEST_F(BuildingPaneTest, BuildingMadeOnThePageSavesAndLoadsEqual)
{
    auto building = std::make_shared<bg::Building>("Made");
    open(building);
    setCheck(BuildingPane::ID_COPY_LAST_FLOOR, false);
    setCheck(BuildingPane::ID_L_SHAPE, true);
    field(BuildingPane::ID_FLOOR_HEIGHT)->SetValue("3");
    click(BuildingPane::ID_UPDATE_VALUE);
    setCheck(BuildingPane::ID_L_SHAPE, false);
    field(BuildingPane::ID_FLOOR_LENGTH)->SetValue("12");
    click(BuildingPane::ID_NEW_FLOOR);
    field(20063)->SetValue("0.25");
    click(BuildingPane::ID_APPLY_CHANGES);

    bg::Project project("Project");
    project.buildings.push_back(building);
    std::stringstream text;
    project.saveToStream(text);
    auto loaded = bg::Project::loadFromText(text.str());
    ASSERT_EQ(loaded->buildings.size(), 1u);
    auto copy = loaded->buildings.front();
    ASSERT_EQ(copy->floors.size(), building->floors.size());
    auto original = building->floors.begin();
    for (const auto& floor : copy->floors) {
        const auto& before = *original++;
        EXPECT_EQ(floor->level, before->level);
        EXPECT_DOUBLE_EQ(floor->height, before->height);
        EXPECT_DOUBLE_EQ(floor->elevation, before->elevation);
        EXPECT_TRUE(sameContour(floor->contour, before->contour)) << "level " << floor->level;
    }
    EXPECT_EQ(copy->root->level, 0);
    EXPECT_EQ(copy->root->upper.lock(), copy->floors.back());
    EXPECT_DOUBLE_EQ(copy->parameters.innerWallStrength, 0.25);
    EXPECT_EQ(copy->maxLevel, 1);
}

} // namespace
