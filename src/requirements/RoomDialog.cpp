#include "RoomDialog.h"

#include "shell/RibbonTable.h"

#include "model/Building.h"
#include "model/Constants.h"
#include "model/Requirement.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/checklst.h>
#include <wx/collpane.h>
#include <wx/combobox.h>
#include <wx/display.h>
#include <wx/log.h>
#include <wx/msgdlg.h>
#include <wx/scrolwin.h>
#include <wx/sizer.h>
#include <wx/slider.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/tglbtn.h>
#include <wx/valtext.h>

#include <algorithm>
#include <exception>
#include <stdexcept>
#include <tuple>

namespace {

wxString fromUtf8(const std::string& text)
{
    return wxString::FromUTF8(text);
}

std::string toUtf8(const wxString& text)
{
    return text.utf8_string();
}

wxBitmap loadImage(const char* file)
{
    wxLogNull quiet; // a missing image leaves the bitmap empty
    return wxBitmap(ribbonBitmapPath(file), wxBITMAP_TYPE_PNG);
}

wxString percentText(int value)
{
    return wxString::Format("%d%%", value);
}

void addCell(wxSizer* sizer, wxWindow* window, int flags = 0)
{
    sizer->Add(window, 0, wxALL | flags, 5);
}

// Sets a combo box to the text: its entry when there is one, else as typed.
void showInBox(wxComboBox* box, const std::string& text)
{
    const int entry = box->FindString(fromUtf8(text), true);
    if (entry != wxNOT_FOUND)
        box->SetSelection(entry);
    else
        box->ChangeValue(fromUtf8(text));
}

void showRemaining(wxTextCtrl* field, const std::string& text, bool isShort)
{
    field->Clear();
    field->SetDefaultStyle(isShort ? wxTextAttr(*wxRED) : wxTextAttr());
    field->AppendText(fromUtf8(text));
    field->Refresh();
}

// Runs a handler's work; nothing it throws leaves the handler.
template <typename Work>
void guarded(Work&& work)
{
    try {
        work();
    } catch (const std::exception& error) {
        wxLogError("%s", wxString::FromUTF8(error.what()));
    } catch (...) {
        wxLogError("Unexpected error in the room dialog.");
    }
}

} // namespace

RoomDialog::RoomDialog(wxWindow* parent, const std::shared_ptr<bg::Building>& building,
                       const std::shared_ptr<bg::RequirementSet>& requirementSet,
                       const std::shared_ptr<bg::Requirement>& requirement, const int& level, const wxString& title)
    : building(building), requirementSet(requirementSet), requirement(requirement), initialLevel(level)
{
    Create(parent, ID_ROOM_DIALOG, title, wxDefaultPosition, wxDefaultSize, wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER);
    // The panes scroll inside the dialog, so that a low screen still shows
    // the door list and the buttons.
    auto* body = new wxScrolledWindow(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxVSCROLL);
    body->SetScrollRate(0, 10);
    // Two columns, what the room is on the left and where it goes on the
    // right, so that a laptop screen shows the door list without scrolling.
    auto* sizer = new wxBoxSizer(wxHORIZONTAL);
    auto* left = new wxBoxSizer(wxVERTICAL);
    auto* right = new wxBoxSizer(wxVERTICAL);
    sizer->Add(left, 1, wxEXPAND);
    sizer->Add(right, 1, wxEXPAND);

    auto* information = new wxCollapsiblePane(body, wxID_ANY, "Room Information");
    createInformationPane(information->GetPane());
    left->Add(information, 0, wxALL | wxEXPAND, 5);
    auto* dimensions = new wxCollapsiblePane(body, wxID_ANY, "Room Dimensions");
    createDimensionsPane(dimensions->GetPane());
    left->Add(dimensions, 0, wxALL | wxEXPAND, 5);
    auto* position = new wxCollapsiblePane(body, wxID_ANY, "Room Position");
    createPositionPane(position->GetPane());
    right->Add(position, 1, wxALL | wxEXPAND, 5);
    for (wxCollapsiblePane* pane : {information, dimensions, position})
        pane->Expand();

    fillFromRequirement();
    updateRemainingAreas();
    fillDoorList();

    auto* buttons = new wxStdDialogButtonSizer;
    buttons->AddButton(new wxButton(this, wxID_CANCEL));
    auto* ok = new wxButton(this, wxID_OK);
    ok->SetDefault();
    buttons->AddButton(ok);
    buttons->Realize();
    body->SetSizer(sizer);
    auto* outer = new wxBoxSizer(wxVERTICAL);
    outer->Add(body, 1, wxEXPAND);
    outer->Add(buttons, 0, wxALL | wxALIGN_RIGHT, 5);

    bindEvents();
    SetSizer(outer);
    // As wide as both columns need and 640 high where the screen has room,
    // else as large as its work area.
    const wxRect area = wxDisplay(static_cast<const wxWindow*>(this)).GetClientArea();
    SetSize(roomDialogSize(sizer->GetMinSize().x + 30, area.width, area.height));
    Layout();
    CentreOnParent(wxBOTH);
}

RoomDialog::~RoomDialog() = default;

wxSize roomDialogSize(int columnsWidth, int screenWidth, int screenHeight)
{
    return wxSize(std::min(std::max(columnsWidth, 640), screenWidth - 40), std::min(640, screenHeight - 40));
}

void RoomDialog::createInformationPane(wxWindow* pane)
{
    auto* grid = new wxFlexGridSizer(2);
    grid->AddGrowableCol(1);
    addCell(grid, new wxStaticText(pane, wxID_ANY, "Room ID"));
    roomId = new wxTextCtrl(pane, ID_ROOM_ID, "", wxDefaultPosition, wxDefaultSize, wxTE_READONLY | wxTE_RICH);
    addCell(grid, roomId, wxEXPAND);
    addCell(grid, new wxStaticText(pane, wxID_ANY, "Room Name"));
    nameField = new wxTextCtrl(pane, ID_ROOM_NAME, "", wxDefaultPosition, wxDefaultSize, wxTE_RICH);
    addCell(grid, nameField, wxEXPAND);
    addCell(grid, new wxStaticText(pane, wxID_ANY, "Room Type"));
    wxArrayString types;
    for (const std::string& type : roomTypes())
        types.Add(fromUtf8(type));
    typeBox = new wxComboBox(pane, ID_ROOM_TYPE, "", wxDefaultPosition, wxDefaultSize, types, wxCB_DROPDOWN);
    addCell(grid, typeBox, wxEXPAND);
    addCell(grid, new wxStaticText(pane, wxID_ANY, "Storey Level"));
    wxArrayString levels;
    for (const std::string& entry : levelEntries(building.get()))
        levels.Add(fromUtf8(entry));
    levelBox = new wxComboBox(pane, ID_ROOM_LEVEL, "", wxDefaultPosition, wxDefaultSize, levels, wxCB_DROPDOWN);
    addCell(grid, levelBox, wxEXPAND);
    pane->SetSizer(grid);
}

void RoomDialog::createDimensionsPane(wxWindow* pane)
{
    auto* column = new wxBoxSizer(wxVERTICAL);
    auto* remaining = new wxFlexGridSizer(2);
    remaining->AddGrowableCol(1);
    addCell(remaining, new wxStaticText(pane, wxID_ANY, fromUtf8("Remaining area of building (m\u00b2): ")));
    remainingBuilding = new wxTextCtrl(pane, ID_REMAINING_BUILDING, "", wxDefaultPosition, wxDefaultSize, wxTE_RICH);
    remainingBuilding->Disable();
    addCell(remaining, remainingBuilding, wxEXPAND);
    addCell(remaining, new wxStaticText(pane, wxID_ANY, fromUtf8("Remaining area of selected floor (m\u00b2): ")));
    remainingFloor = new wxTextCtrl(pane, ID_REMAINING_FLOOR, "", wxDefaultPosition, wxDefaultSize, wxTE_RICH);
    remainingFloor->Disable();
    addCell(remaining, remainingFloor, wxEXPAND);
    column->Add(remaining, 0, wxEXPAND);

    const wxBitmap unlocked = loadImage("unlocked.png");
    const wxBitmap locked = loadImage("locked.png");
    // The area's toggle is 24 x 24: its pictures are scaled to it, so that
    // the lock shows whole rather than cut to its middle.
    const auto scaled = [](const wxBitmap& bitmap) {
        if (!bitmap.IsOk() || (bitmap.GetWidth() <= 24 && bitmap.GetHeight() <= 24))
            return bitmap;
        return wxBitmap(bitmap.ConvertToImage().Scale(24, 24, wxIMAGE_QUALITY_HIGH));
    };
    const wxBitmap smallUnlocked = scaled(unlocked);
    const wxBitmap smallLocked = scaled(locked);
    auto* rows = new wxFlexGridSizer(7);
    rows->AddGrowableCol(1);
    struct RowIds {
        const char* label;
        int min, field, max, lock;
        wxTextCtrl** fieldOut;
        wxSlider **minOut, **maxOut;
        wxStaticText **minLabelOut, **maxLabelOut;
        wxBitmapToggleButton** lockOut;
    };
    const RowIds ids[] = {
        {"Area (m\u00b2)", ID_AREA_MIN, ID_AREA, ID_AREA_MAX, ID_AREA_LOCK, &areaField, &areaMin, &areaMax,
         &areaMinLabel, &areaMaxLabel, &areaLock},
        {"Room Length (m)", ID_LENGTH_MIN, ID_LENGTH, ID_LENGTH_MAX, ID_LENGTH_LOCK, &lengthField, &lengthMin,
         &lengthMax, &lengthMinLabel, &lengthMaxLabel, &lengthLock},
        {"Room Width (m)", ID_WIDTH_MIN, ID_WIDTH, ID_WIDTH_MAX, ID_WIDTH_LOCK, &widthField, &widthMin, &widthMax,
         &widthMinLabel, &widthMaxLabel, &widthLock},
    };
    for (const RowIds& r : ids) {
        addCell(rows, new wxStaticText(pane, wxID_ANY, fromUtf8(r.label)));
        *r.minOut = new wxSlider(pane, r.min, 50, 0, 100);
        addCell(rows, *r.minOut, wxEXPAND);
        *r.minLabelOut = new wxStaticText(pane, wxID_ANY, percentText(50));
        addCell(rows, *r.minLabelOut);
        *r.fieldOut = new wxTextCtrl(pane, r.field, "", wxDefaultPosition, wxDefaultSize, wxTE_RICH,
                                     wxTextValidator(wxFILTER_NUMERIC));
        addCell(rows, *r.fieldOut);
        *r.maxLabelOut = new wxStaticText(pane, wxID_ANY, percentText(150));
        addCell(rows, *r.maxLabelOut);
        *r.maxOut = new wxSlider(pane, r.max, 150, 100, 200);
        addCell(rows, *r.maxOut);
        const bool area = r.lock == ID_AREA_LOCK;
        *r.lockOut = new wxBitmapToggleButton(pane, r.lock, area ? smallUnlocked : unlocked, wxDefaultPosition,
                                              area ? wxSize(24, 24) : wxDefaultSize, wxBORDER_NONE);
        (*r.lockOut)->SetBitmapPressed(area ? smallLocked : locked);
        addCell(rows, *r.lockOut);
    }
    column->Add(rows, 0, wxEXPAND);
    pane->SetSizer(column);
}

void RoomDialog::createPositionPane(wxWindow* pane)
{
    auto* column = new wxBoxSizer(wxVERTICAL);
    auto* grid = new wxFlexGridSizer(2);
    addCell(grid, new wxStaticText(pane, wxID_ANY, "Fixed room position"));
    auto* fixed = new wxFlexGridSizer(2);
    addCell(fixed, new wxStaticText(pane, wxID_ANY, "X-Position"));
    xPosition = new wxTextCtrl(pane, ID_X_POSITION, "", wxDefaultPosition, wxDefaultSize, wxTE_RICH);
    xPosition->Disable();
    addCell(fixed, xPosition);
    addCell(fixed, new wxStaticText(pane, wxID_ANY, "Y-Position"));
    yPosition = new wxTextCtrl(pane, ID_Y_POSITION, "", wxDefaultPosition, wxDefaultSize, wxTE_RICH);
    yPosition->Disable();
    addCell(fixed, yPosition);
    grid->Add(fixed, 0, wxALL, 5);

    addCell(grid, new wxStaticText(pane, wxID_ANY, "Alignment of room"));
    auto* rose = new wxFlexGridSizer(3);
    struct Cell {
        int id; // 0: the picture
        const char* word;
    };
    const Cell cells[] = {{ID_CHECK_NORTHWEST, "northwest"}, {ID_CHECK_NORTH, "north"}, {ID_CHECK_NORTHEAST, "northeast"},
                          {ID_CHECK_WEST, "west"},           {0, nullptr},           {ID_CHECK_EAST, "east"},
                          {ID_CHECK_SOUTHWEST, "southwest"}, {ID_CHECK_SOUTH, "south"}, {ID_CHECK_SOUTHEAST, "southeast"}};
    for (const Cell& cell : cells) {
        if (cell.id == 0) {
            rose->Add(new wxStaticBitmap(pane, wxID_ANY, loadImage("wind-rose.png")), 0, wxALL | wxALIGN_CENTER, 5);
            continue;
        }
        auto* box = new wxCheckBox(pane, cell.id, "");
        directionBoxes.emplace_back(box, cell.word);
        rose->Add(box, 0, wxALL | wxALIGN_CENTER, 5);
    }
    grid->Add(rose, 0, wxALL, 5);
    column->Add(grid, 0, wxEXPAND);

    auto* lists = new wxFlexGridSizer(2);
    lists->AddGrowableCol(0);
    lists->AddGrowableCol(1);
    lists->AddGrowableRow(1);
    addCell(lists, new wxStaticText(pane, wxID_ANY, "Neighboring conditions (Door)"));
    addCell(lists, new wxStaticText(pane, wxID_ANY, "Neighboring conditions (Wall)"));
    doorList = new wxCheckListBox(pane, ID_DOOR_LIST, wxDefaultPosition, wxDefaultSize, 0, nullptr,
                                  wxLB_MULTIPLE | wxLB_HSCROLL);
    // A few rows at least, however low the window.
    doorList->SetMinSize(wxSize(-1, 120));
    lists->Add(doorList, 1, wxALL | wxEXPAND, 5);
    wallList = new wxCheckListBox(pane, ID_WALL_LIST, wxDefaultPosition, wxDefaultSize, 0, nullptr,
                                  wxLB_MULTIPLE | wxLB_HSCROLL);
    wallList->Disable();
    wallList->SetMinSize(wxSize(-1, 120));
    lists->Add(wallList, 1, wxALL | wxEXPAND, 5);
    column->Add(lists, 1, wxEXPAND);
    pane->SetSizer(column);
}

RoomDialog::Row RoomDialog::row(DimensionRow which) const
{
    switch (which) {
    case DimensionRow::Area:
        return {areaField, areaMin, areaMax, areaMinLabel, areaMaxLabel, areaLock};
    case DimensionRow::Length:
        return {lengthField, lengthMin, lengthMax, lengthMinLabel, lengthMaxLabel, lengthLock};
    default:
        return {widthField, widthMin, widthMax, widthMinLabel, widthMaxLabel, widthLock};
    }
}

void RoomDialog::fillFromRequirement()
{
    const RoomForm form = roomFormFor(building.get(), *requirementSet, requirement, initialLevel);
    roomId->ChangeValue(wxString::Format("%d", form.index));
    nameField->ChangeValue(fromUtf8(form.name));
    if (!form.roomType.empty())
        typeBox->SetStringSelection(fromUtf8(form.roomType));
    showInBox(levelBox, form.level);
    areaField->ChangeValue(fromUtf8(form.dimensions.area));
    lengthField->ChangeValue(fromUtf8(form.dimensions.length));
    widthField->ChangeValue(fromUtf8(form.dimensions.width));
    const std::pair<wxSlider*, int> sliders[] = {{areaMin, form.areaMin},     {areaMax, form.areaMax},
                                                 {lengthMin, form.lengthMin}, {lengthMax, form.lengthMax},
                                                 {widthMin, form.widthMin},   {widthMax, form.widthMax}};
    for (const auto& [slider, value] : sliders)
        slider->SetValue(value);
    for (DimensionRow which : {DimensionRow::Area, DimensionRow::Length, DimensionRow::Width}) {
        const Row r = row(which);
        r.minLabel->SetLabel(percentText(r.min->GetValue()));
        r.maxLabel->SetLabel(percentText(r.max->GetValue()));
    }
    for (auto& [box, word] : directionBoxes)
        box->SetValue(word == form.direction);
    applyLocks(form.locks);
}

void RoomDialog::lockRow(DimensionRow which)
{
    const Row r = row(which);
    r.lock->SetValue(true);
    for (wxSlider* slider : {r.min, r.max}) {
        slider->SetValue(100);
        slider->Disable();
    }
    r.minLabel->SetLabel(percentText(100));
    r.maxLabel->SetLabel(percentText(100));
}

void RoomDialog::applyLocks(const LockStates& states)
{
    const std::pair<DimensionRow, RowState> rows[] = {
        {DimensionRow::Area, states.area}, {DimensionRow::Length, states.length}, {DimensionRow::Width, states.width}};
    for (const auto& [which, state] : rows) {
        const Row r = row(which);
        if (state == RowState::Free) {
            r.lock->SetValue(false);
            r.lock->Enable();
            r.min->Enable();
            r.max->Enable();
            r.field->Enable();
            continue;
        }
        lockRow(which);
        r.lock->Enable(state == RowState::Locked);
        r.field->Enable(state == RowState::Locked);
    }
    locks = states;
}

void RoomDialog::onLockToggled(DimensionRow which, bool pressed)
{
    LockStates next = pressed ? pressLock(locks, which) : releaseLock(locks, which);
    // A row the user just released keeps its sliders at 100 until moved.
    applyLocks(next);
}

void RoomDialog::onAreaLockToggled(wxCommandEvent& event)
{
    guarded([&] { onLockToggled(DimensionRow::Area, event.IsChecked()); });
}

void RoomDialog::onLengthLockToggled(wxCommandEvent& event)
{
    guarded([&] { onLockToggled(DimensionRow::Length, event.IsChecked()); });
}

void RoomDialog::onWidthLockToggled(wxCommandEvent& event)
{
    guarded([&] { onLockToggled(DimensionRow::Width, event.IsChecked()); });
}

void RoomDialog::onDimensionTyped(DimensionTexts (*couple)(DimensionTexts, const LockStates&))
{
    const DimensionTexts before{toUtf8(areaField->GetValue()), toUtf8(lengthField->GetValue()),
                                toUtf8(widthField->GetValue())};
    const DimensionTexts after = couple(before, locks);
    const std::tuple<wxTextCtrl*, const std::string&, const std::string&> fields[] = {
        {areaField, before.area, after.area},
        {lengthField, before.length, after.length},
        {widthField, before.width, after.width}};
    for (const auto& [field, was, now] : fields)
        if (was != now)
            field->ChangeValue(fromUtf8(now));
}

void RoomDialog::onAreaChanged(wxCommandEvent&)
{
    guarded([this] {
        onDimensionTyped(&coupleAfterArea);
        updateRemainingAreas();
    });
}

void RoomDialog::onLengthChanged(wxCommandEvent&)
{
    guarded([this] { onDimensionTyped(&coupleAfterLength); });
}

void RoomDialog::onWidthChanged(wxCommandEvent&)
{
    guarded([this] { onDimensionTyped(&coupleAfterWidth); });
}

void RoomDialog::onSlider(wxCommandEvent& event)
{
    const std::pair<wxSlider*, wxStaticText*> sliders[] = {
        {areaMin, areaMinLabel},     {areaMax, areaMaxLabel},   {lengthMin, lengthMinLabel},
        {lengthMax, lengthMaxLabel}, {widthMin, widthMinLabel}, {widthMax, widthMaxLabel}};
    for (const auto& [slider, label] : sliders)
        if (slider->GetId() == event.GetId())
            label->SetLabel(percentText(slider->GetValue()));
    if (event.GetId() == ID_AREA_MIN)
        areaMin->SetToolTip("Area");
}

void RoomDialog::onDirectionChecked(wxCommandEvent& event)
{
    if (!event.IsChecked())
        return;
    for (auto& [box, word] : directionBoxes)
        if (box->GetId() != event.GetId())
            box->SetValue(false);
}

void RoomDialog::fillDoorList()
{
    doorList->Clear();
    // A level text that names no level filters nothing.
    const int level = parseLevel(toUtf8(levelBox->GetValue())).value_or(bg::anyFloor);
    const std::vector<std::string> items = doorListItems(
        *requirementSet, level, requirement ? std::optional<int>(requirement->index) : std::nullopt);
    const std::vector<bool> ticks = doorListTicks(items, requirement ? requirement->adjacency : std::vector<int>{});
    for (std::size_t i = 0; i < items.size(); ++i) {
        const int item = doorList->Append(fromUtf8(items[i]));
        doorList->Check(static_cast<unsigned>(item), ticks[i]);
    }
}

void RoomDialog::onLevelChanged(wxCommandEvent&)
{
    guarded([this] {
        fillDoorList();
        updateRemainingAreas();
    });
}

void RoomDialog::updateRemainingAreas()
{
    const RemainingAreaTexts texts =
        remainingAreaTexts(building.get(), *requirementSet, requirement.get(), toUtf8(areaField->GetValue()),
                           parseLevel(toUtf8(levelBox->GetValue())));
    showRemaining(remainingBuilding, texts.building, texts.buildingShort);
    showRemaining(remainingFloor, texts.floor, texts.floorShort);
}

RoomForm RoomDialog::readForm() const
{
    RoomForm form;
    form.index = requirement ? requirement->index : nextIndex(*requirementSet);
    form.name = toUtf8(nameField->GetValue());
    const int type = typeBox->GetSelection();
    form.roomType = type == wxNOT_FOUND ? std::string() : toUtf8(typeBox->GetString(static_cast<unsigned>(type)));
    form.level = toUtf8(levelBox->GetValue());
    form.dimensions = {toUtf8(areaField->GetValue()), toUtf8(lengthField->GetValue()), toUtf8(widthField->GetValue())};
    form.areaMin = areaMin->GetValue();
    form.areaMax = areaMax->GetValue();
    form.lengthMin = lengthMin->GetValue();
    form.lengthMax = lengthMax->GetValue();
    form.widthMin = widthMin->GetValue();
    form.widthMax = widthMax->GetValue();
    form.locks = locks;
    for (const auto& [box, word] : directionBoxes)
        if (box->GetValue() && form.direction.empty())
            form.direction = word;
    for (unsigned i = 0; i < doorList->GetCount(); ++i) {
        form.doorItems.push_back(toUtf8(doorList->GetString(i)));
        form.doorTicks.push_back(doorList->IsChecked(i));
    }
    form.xPosition = toUtf8(xPosition->GetValue());
    form.yPosition = toUtf8(yPosition->GetValue());
    return form;
}

std::vector<std::string> RoomDialog::getBoundaries() const
{
    std::vector<std::string> ticked;
    for (const auto& [box, word] : directionBoxes)
        if (box->GetValue())
            ticked.push_back(word);
    return boundaryWish(ticked);
}

std::vector<int> RoomDialog::getAdjacency() const
{
    const RoomForm form = readForm();
    return adjacencyFromDoorList(form.doorItems, form.doorTicks, form.index,
                                 requirement ? requirement->adjacency : std::vector<int>{});
}

bool RoomDialog::validateArea(const RoomForm& form)
{
    const FormNumbers numbers = checkRoomForm(form);
    const auto message =
        areaCheckMessage(building.get(), *requirementSet, requirement.get(), numbers.area, numbers.level);
    if (!message)
        return true;
    wxMessageBox(fromUtf8(*message), wxMessageBoxCaptionStr, wxOK | wxICON_INFORMATION, this);
    return false;
}

bool RoomDialog::confirm()
{
    const RoomForm form = readForm();
    try {
        if (!validateArea(form))
            return false;
        applyRoomForm(form, *requirementSet, requirement);
    } catch (const std::invalid_argument& error) {
        wxMessageBox(fromUtf8(error.what()), wxMessageBoxCaptionStr, wxOK | wxICON_INFORMATION, this);
        return false;
    }
    return true;
}

void RoomDialog::onOk(wxCommandEvent&)
{
    guarded([this] {
        if (confirm())
            EndModal(wxID_OK);
    });
}

void RoomDialog::onKeyDown(wxKeyEvent& event)
{
    // Either Enter key confirms from any field; a focused button keeps its
    // own Enter, and Escape goes on to the dialog, which cancels.
    const int key = event.GetKeyCode();
    wxWindow* focus = FindFocus();
    if ((key != WXK_RETURN && key != WXK_NUMPAD_ENTER) || event.GetModifiers() != wxMOD_NONE
        || dynamic_cast<wxAnyButton*>(focus)) {
        event.Skip();
        return;
    }
    wxCommandEvent ok(wxEVT_BUTTON, wxID_OK);
    onOk(ok);
}

void RoomDialog::bindEvents()
{
    Bind(wxEVT_COMBOBOX, &RoomDialog::onLevelChanged, this, ID_ROOM_LEVEL);
    for (const auto& entry : directionBoxes)
        Bind(wxEVT_CHECKBOX, &RoomDialog::onDirectionChecked, this, entry.first->GetId());
    for (int id : {ID_AREA_MIN, ID_AREA_MAX, ID_LENGTH_MIN, ID_LENGTH_MAX, ID_WIDTH_MIN, ID_WIDTH_MAX})
        Bind(wxEVT_SLIDER, &RoomDialog::onSlider, this, id);
    Bind(wxEVT_TEXT, &RoomDialog::onAreaChanged, this, ID_AREA);
    Bind(wxEVT_TEXT, &RoomDialog::onLengthChanged, this, ID_LENGTH);
    Bind(wxEVT_TEXT, &RoomDialog::onWidthChanged, this, ID_WIDTH);
    Bind(wxEVT_TOGGLEBUTTON, &RoomDialog::onAreaLockToggled, this, ID_AREA_LOCK);
    Bind(wxEVT_TOGGLEBUTTON, &RoomDialog::onLengthLockToggled, this, ID_LENGTH_LOCK);
    Bind(wxEVT_TOGGLEBUTTON, &RoomDialog::onWidthLockToggled, this, ID_WIDTH_LOCK);
    Bind(wxEVT_CHAR_HOOK, &RoomDialog::onKeyDown, this);
    Bind(wxEVT_BUTTON, &RoomDialog::onOk, this, wxID_OK);
}
