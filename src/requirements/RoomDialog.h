#pragma once

#include "RoomForm.h"

#include <wx/dialog.h>

#include <memory>

class wxBitmapToggleButton;
class wxCheckBox;
class wxCheckListBox;
class wxComboBox;
class wxCommandEvent;
class wxKeyEvent;
class wxSlider;
class wxStaticText;
class wxTextCtrl;

namespace bg {
class Building;
class Requirement;
class RequirementSet;
} // namespace bg

// Control ids of the room dialog.
enum {
    ID_ROOM_DIALOG = 20081,
    ID_ROOM_ID = 20082,
    ID_ROOM_NAME = 20083,
    ID_ROOM_TYPE = 20084,
    ID_ROOM_LEVEL = 20085,
    ID_DOOR_LIST = 20086,
    ID_WALL_LIST = 20087,
    ID_X_POSITION = 20091,
    ID_Y_POSITION = 20092,
    ID_AREA_LOCK = 20093,
    ID_LENGTH_LOCK = 20094,
    ID_WIDTH_LOCK = 20095,
    ID_REMAINING_BUILDING = 20096,
    ID_REMAINING_FLOOR = 20097,
    ID_AREA = 20098,
    ID_AREA_MIN = 20100,
    ID_AREA_MAX = 20101,
    ID_LENGTH = 20102,
    ID_LENGTH_MIN = 20104,
    ID_LENGTH_MAX = 20105,
    ID_WIDTH = 20106,
    ID_WIDTH_MIN = 20108,
    ID_WIDTH_MAX = 20109,
    ID_CHECK_EAST = 20112,
    ID_CHECK_SOUTHEAST = 20113,
    ID_CHECK_SOUTH = 20114,
    ID_CHECK_SOUTHWEST = 20115,
    ID_CHECK_WEST = 20116,
    ID_CHECK_NORTHWEST = 20117,
    ID_CHECK_NORTH = 20118,
    ID_CHECK_NORTHEAST = 20119,
};

// Creates or edits one room requirement of a set. The caller shows it modally
// and destroys it; the set changes only when OK succeeds (a new room is then
// appended with the next index). The form logic lives in RoomForm.h.
class RoomDialog : public wxDialog {
public:
    RoomDialog(wxWindow* parent, const std::shared_ptr<bg::Building>& building,
               const std::shared_ptr<bg::RequirementSet>& requirementSet,
               const std::shared_ptr<bg::Requirement>& requirement, const int& level, const wxString& title);
    ~RoomDialog() override;

    // What the controls hold now.
    RoomForm readForm() const;
    // The boundary wish of the ticked direction box.
    std::vector<std::string> getBoundaries() const;
    // The adjacency the door list gives (stored neighbours it does not show kept).
    std::vector<int> getAdjacency() const;
    // Checks and writes the requirement; true when the dialog may close.
    bool confirm();

    std::shared_ptr<bg::Building> building; // may be empty: then no level but "Any floor"
    std::shared_ptr<bg::RequirementSet> requirementSet;
    std::shared_ptr<bg::Requirement> requirement; // empty for a new room until OK creates it
    int initialLevel;                             // a new room's first level

    wxTextCtrl* roomId = nullptr;
    wxTextCtrl* nameField = nullptr;
    wxComboBox* typeBox = nullptr;
    wxComboBox* levelBox = nullptr;
    wxTextCtrl* remainingBuilding = nullptr;
    wxTextCtrl* remainingFloor = nullptr;
    wxTextCtrl* areaField = nullptr;
    wxTextCtrl* lengthField = nullptr;
    wxTextCtrl* widthField = nullptr;
    wxSlider* areaMin = nullptr;
    wxSlider* areaMax = nullptr;
    wxSlider* lengthMin = nullptr;
    wxSlider* lengthMax = nullptr;
    wxSlider* widthMin = nullptr;
    wxSlider* widthMax = nullptr;
    wxStaticText* areaMinLabel = nullptr;
    wxStaticText* areaMaxLabel = nullptr;
    wxStaticText* lengthMinLabel = nullptr;
    wxStaticText* lengthMaxLabel = nullptr;
    wxStaticText* widthMinLabel = nullptr;
    wxStaticText* widthMaxLabel = nullptr;
    wxBitmapToggleButton* areaLock = nullptr;
    wxBitmapToggleButton* lengthLock = nullptr;
    wxBitmapToggleButton* widthLock = nullptr;
    wxTextCtrl* xPosition = nullptr;
    wxTextCtrl* yPosition = nullptr;
    std::vector<std::pair<wxCheckBox*, std::string>> directionBoxes; // with their direction words
    wxCheckListBox* doorList = nullptr;
    wxCheckListBox* wallList = nullptr;

private:
    struct Row {
        wxTextCtrl* field;
        wxSlider* min;
        wxSlider* max;
        wxStaticText* minLabel;
        wxStaticText* maxLabel;
        wxBitmapToggleButton* lock;
    };
    Row row(DimensionRow which) const;

    void createInformationPane(wxWindow* pane);
    void createDimensionsPane(wxWindow* pane);
    void createPositionPane(wxWindow* pane);
    void fillFromRequirement();
    void fillDoorList();
    void updateRemainingAreas();
    bool validateArea(const RoomForm& form);
    void bindEvents();

    // The lock routine: the row's toggle pressed, its sliders held at 100.
    void lockRow(DimensionRow which);
    // Shows the rows as `states` has them, coming from the current ones.
    void applyLocks(const LockStates& states);
    void onLockToggled(DimensionRow which, bool pressed);
    void onAreaLockToggled(wxCommandEvent& event);
    void onLengthLockToggled(wxCommandEvent& event);
    void onWidthLockToggled(wxCommandEvent& event);
    // The coupling: the other fields follow without raising text events.
    void onDimensionTyped(DimensionTexts (*couple)(DimensionTexts, const LockStates&));
    void onAreaChanged(wxCommandEvent& event);
    void onLengthChanged(wxCommandEvent& event);
    void onWidthChanged(wxCommandEvent& event);
    void onSlider(wxCommandEvent& event);
    void onDirectionChecked(wxCommandEvent& event);
    void onLevelChanged(wxCommandEvent& event);
    void onKeyDown(wxKeyEvent& event);
    void onOk(wxCommandEvent& event);

    LockStates locks; // as the toggles show them
};

// The dialog's size for its columns' width on a screen's work area: 640 high
// and at least 640 wide, never beyond the work area less a margin.
wxSize roomDialogSize(int columnsWidth, int screenWidth, int screenHeight);
