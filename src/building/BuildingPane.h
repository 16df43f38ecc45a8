#pragma once

#include "BuildingRules.h"
#include "shell/KovraPage.h"
#include "shell/RibbonEventHandler.h"

#include <memory>
#include <string>
#include <vector>

class BuildingEditorCtrl;
class ProjectPane;
class wxButton;
class wxCheckBox;
class wxComboBox;
class wxCommandEvent;
class wxDataViewEvent;
class wxDataViewListCtrl;
class wxRibbonButtonBarEvent;
class wxStaticText;
class wxTextCtrl;

namespace bg {
class Building;
class Floor;
} // namespace bg

// The workspace page of one building: its outline control on the left; on
// the right the floor table, the fields and buttons that shape, add and
// remove floors, and the building's own construction parameters.
class BuildingPane : public KovraPage, public RibbonEventHandler {
public:
    enum {
        ID_BUILDING_PANE = 20048,
        ID_FLOOR_TABLE = 20052,
        ID_FLOOR_LENGTH = 20054,
        ID_FLOOR_WIDTH = 20055,
        ID_FLOOR_HEIGHT = 20056,
        ID_REMOVE_FLOOR = 20057,
        ID_APPLY_CHANGES = 20069,
        ID_L_SHAPE = 20070,
        ID_CORNER = 20071,
        ID_UPDATE_VALUE = 20076,
        ID_COPY_LAST_FLOOR = 20025,
        ID_NEW_FLOOR = 20026,
    };

    BuildingPane(wxWindow* parent, ProjectPane* projectPane, wxRibbonBar* ribbonBar,
                 const std::shared_ptr<bg::Building>& building);
    ~BuildingPane() override;

    void bindRibbonEvents(wxRibbonBar* ribbonBar) override;

    // Rebuilds the floor table from the building.
    void fillFloorTable();

    std::shared_ptr<bg::Building> getBuilding() const { return building; }
    std::shared_ptr<bg::Floor> getCurrentFloor() const { return currentFloor; }
    BuildingEditorCtrl* getEditor() const { return editor; }
    wxDataViewListCtrl* getFloorTable() const { return floorTable; }
    wxStaticText* getCurrentLevelText() const { return currentLevelText; }
    wxTextCtrl* getCornerLengthField() const { return cornerLengthField; }
    wxTextCtrl* getCornerWidthField() const { return cornerWidthField; }

    std::shared_ptr<bg::Building> building;
    // The floor the floor commands and the one-floor view act on.
    std::shared_ptr<bg::Floor> currentFloor;
    // 1 after "View all", 0 after "View one"; the floor commands keep it.
    int showAllFloors = 0;
    // The values last read from the dimension fields.
    double floorLength = 0.0;
    double floorWidth = 0.0;
    double floorHeight = 0.0;
    ProjectPane* projectPane;

private:
    void createControls();
    void showCurrentLevel();
    // The dimension fields from the current floor's outline (and height).
    void showFloorFields(bool withHeight);
    void refreshAfterFloorCommand(bool elevationsChanged);
    void showError(const wxString& text);
    std::string selectedCorner() const;
    // Reads the dimension fields into floorLength, floorWidth, floorHeight;
    // throws with a message naming a field that does not convert or fit.
    FloorDimensions readDimensionFields(OutlineSource source);

    void onFloorSelected(wxDataViewEvent& event);
    void onClickApplyChanges(wxCommandEvent& event);
    void onParameterChanged(wxCommandEvent& event);
    void onClickViewAll(wxRibbonButtonBarEvent& event);
    void onClickViewOne(wxRibbonButtonBarEvent& event);
    void onToggleLShape(wxCommandEvent& event);
    void onClickNewFloor(wxCommandEvent& event);
    void onClickUpdateValue(wxCommandEvent& event);
    void onClickRemoveFloor(wxCommandEvent& event);

    BuildingEditorCtrl* editor = nullptr;
    wxDataViewListCtrl* floorTable = nullptr;
    // The floor of each table row, in row order.
    std::vector<std::shared_ptr<bg::Floor>> tableFloors;
    wxStaticText* currentLevelText = nullptr;
    wxTextCtrl* lengthField = nullptr;
    wxTextCtrl* widthField = nullptr;
    wxTextCtrl* heightField = nullptr;
    wxCheckBox* lShapeCheck = nullptr;
    wxComboBox* cornerChoice = nullptr;
    wxTextCtrl* cornerLengthField = nullptr;
    wxTextCtrl* cornerWidthField = nullptr;
    wxCheckBox* copyLastFloorCheck = nullptr;
    // In the order of parameterFields().
    std::vector<wxTextCtrl*> parameterTexts;
    wxButton* applyButton = nullptr;
};
