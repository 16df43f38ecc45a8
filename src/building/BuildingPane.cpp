#include "BuildingPane.h"

#include "shell/AppState.h"
#include "shell/TableColumns.h"
#include "BuildingEditorCtrl.h"
#include "BuildingRules.h"

#include "model/Building.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/dataview.h>
#include <wx/msgdlg.h>
#include <wx/ribbon/buttonbar.h>
#include <wx/scrolwin.h>
#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/valtext.h>

#include <algorithm>
#include <exception>
#include <string>

namespace {

std::string textOf(const wxTextCtrl* field)
{
    return field->GetValue().ToStdString(wxConvUTF8);
}

wxTextCtrl* numericField(wxWindow* parent, wxWindowID id, const wxString& text)
{
    return new wxTextCtrl(parent, id, text, wxDefaultPosition, wxDefaultSize, 0, wxTextValidator(wxFILTER_NUMERIC));
}

} // namespace

BuildingPane::BuildingPane(wxWindow* parent, ProjectPane* projectPane, wxRibbonBar* ribbonBar,
                           const std::shared_ptr<bg::Building>& building)
    : KovraPage(parent, RIBBON_PAGE_BUILDING, ID_BUILDING_PANE), building(building), projectPane(projectPane)
{
    SetInitialSize(wxSize(500, 300));

    editor = new BuildingEditorCtrl(this);
    editor->setBuilding(building);
    currentFloor = building->root;

    createControls();
    // The fields start with the floor's own extents, not the defaults of a
    // new building: "Update Value" must not reshape a floor it was not shown.
    showFloorFields(true);

    bindRibbonEvents(ribbonBar);
    floorTable->Bind(wxEVT_DATAVIEW_SELECTION_CHANGED, &BuildingPane::onFloorSelected, this);
    Bind(wxEVT_BUTTON, &BuildingPane::onClickNewFloor, this, ID_NEW_FLOOR);
    Bind(wxEVT_BUTTON, &BuildingPane::onClickUpdateValue, this, ID_UPDATE_VALUE);
    Bind(wxEVT_BUTTON, &BuildingPane::onClickRemoveFloor, this, ID_REMOVE_FLOOR);
    Bind(wxEVT_BUTTON, &BuildingPane::onClickApplyChanges, this, ID_APPLY_CHANGES);
    for (wxTextCtrl* field : parameterTexts)
        field->Bind(wxEVT_TEXT, &BuildingPane::onParameterChanged, this);
    Bind(wxEVT_CHECKBOX, &BuildingPane::onToggleLShape, this, ID_L_SHAPE);

    showAllFloors = 0;
    fillFloorTable();
    Layout();
    // Registered last: a constructor that throws leaves no entry behind
    // pointing at the freed page.
    getAppState().registerPage(building, this);
}

BuildingPane::~BuildingPane()
{
    getAppState().registerPage(building, nullptr);
}

void BuildingPane::createControls()
{
    // The right column scrolls when the window is too low to show it all:
    // the parameters and "Apply changes" stay within reach.
    auto* side = new wxScrolledWindow(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxVSCROLL);
    floorTable = new wxDataViewListCtrl(side, ID_FLOOR_TABLE, wxDefaultPosition, wxDefaultSize, wxDV_ROW_LINES);
    const int columnFlags = wxDATAVIEW_COL_RESIZABLE | wxDATAVIEW_COL_SORTABLE;
    const wxString squareMetres = wxString::FromUTF8("(m\xC2\xB2)");
    // Each column at least as wide as its title.
    int tableWidth = 0;
    const auto addColumn = [&](const wxString& title, int asked) {
        const int width = titledColumnWidth(floorTable, title, asked);
        floorTable->AppendTextColumn(title, wxDATAVIEW_CELL_INERT, width, wxALIGN_LEFT, columnFlags);
        tableWidth += width;
    };
    addColumn("Level", 50);
    addColumn("Length (m)", 80);
    addColumn("Width (m)", 80);
    addColumn("Gross area " + squareMetres, 80);
    addColumn("Net area " + squareMetres, 80);
    addColumn("Elevation (m)", 80);

    // The floor part.
    currentLevelText = new wxStaticText(side, wxID_ANY, "Current level: 0");
    auto* dimensions = new wxFlexGridSizer(2);
    dimensions->Add(new wxStaticText(side, wxID_ANY, "Maximal length:   "), 0, wxALIGN_CENTER_VERTICAL);
    lengthField = new wxTextCtrl(side, ID_FLOOR_LENGTH, "15.0");
    dimensions->Add(lengthField, 0, wxEXPAND);
    dimensions->Add(new wxStaticText(side, wxID_ANY, "Maximal width:   "), 0, wxALIGN_CENTER_VERTICAL);
    widthField = new wxTextCtrl(side, ID_FLOOR_WIDTH, "15.0");
    dimensions->Add(widthField, 0, wxEXPAND);
    dimensions->Add(new wxStaticText(side, wxID_ANY, "Floor height:   "), 0, wxALIGN_CENTER_VERTICAL);
    heightField = new wxTextCtrl(side, ID_FLOOR_HEIGHT, "2.75");
    dimensions->Add(heightField, 0, wxEXPAND);

    auto* lShape = new wxFlexGridSizer(2, 3, 0, 5);
    lShapeCheck = new wxCheckBox(side, ID_L_SHAPE, "Using L shape building");
    const wxString corners[] = {"Top-Left", "Top-Right", "Bottom-Left", "Bottom-Right"};
    cornerChoice = new wxComboBox(side, ID_CORNER, wxEmptyString, wxDefaultPosition, wxDefaultSize, 4, corners,
                                  wxCB_DROPDOWN);
    cornerChoice->SetSelection(1);
    cornerChoice->Disable();
    cornerLengthField = numericField(side, wxID_ANY, "5.0");
    cornerLengthField->Disable();
    cornerWidthField = numericField(side, wxID_ANY, "5.0");
    cornerWidthField->Disable();
    lShape->Add(lShapeCheck, 0, wxALIGN_CENTER_VERTICAL);
    lShape->Add(new wxStaticText(side, wxID_ANY, "Corner length: "), 0, wxALIGN_CENTER_VERTICAL);
    lShape->Add(cornerLengthField);
    lShape->Add(cornerChoice, 0, wxALIGN_CENTER_VERTICAL);
    lShape->Add(new wxStaticText(side, wxID_ANY, "Corner width: "), 0, wxALIGN_CENTER_VERTICAL);
    lShape->Add(cornerWidthField);

    auto* copyRow = new wxBoxSizer(wxHORIZONTAL);
    copyRow->Add(new wxStaticText(side, wxID_ANY, "Copy last floor"), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 5);
    copyLastFloorCheck = new wxCheckBox(side, ID_COPY_LAST_FLOOR, wxEmptyString);
    copyLastFloorCheck->SetValue(true);
    copyRow->Add(copyLastFloorCheck, 0, wxALIGN_CENTER_VERTICAL);

    auto* floorButtons = new wxBoxSizer(wxHORIZONTAL);
    floorButtons->Add(new wxButton(side, ID_NEW_FLOOR, "New floor"));
    floorButtons->Add(new wxButton(side, ID_REMOVE_FLOOR, "Remove floor"), 0, wxLEFT, 5);

    auto* floorPart = new wxBoxSizer(wxVERTICAL);
    floorPart->Add(currentLevelText, 0, wxBOTTOM, 5);
    floorPart->Add(dimensions, 0, wxBOTTOM, 5);
    floorPart->Add(lShape, 0, wxBOTTOM, 5);
    floorPart->Add(new wxButton(side, ID_UPDATE_VALUE, "Update Value"), 0, wxBOTTOM, 5);
    floorPart->Add(copyRow, 0, wxBOTTOM, 5);
    floorPart->Add(floorButtons);

    // The parameters: slabs and walls left, doors and windows right.
    auto* parameters = new wxFlexGridSizer(2);
    auto* leftParameters = new wxFlexGridSizer(2);
    auto* rightParameters = new wxFlexGridSizer(2);
    for (const ParameterField& field : parameterFields()) {
        wxFlexGridSizer* grid = field.id <= 20063 ? leftParameters : rightParameters;
        const double value = building->parameters.*field.value;
        auto* text = numericField(side, field.id, wxString::FromUTF8(formatTwoDecimals(value)));
        grid->Add(new wxStaticText(side, wxID_ANY, field.label), 0, wxALIGN_CENTER_VERTICAL);
        grid->Add(text);
        parameterTexts.push_back(text);
    }
    parameters->Add(leftParameters, 0, wxRIGHT, 10);
    parameters->Add(rightParameters);

    applyButton = new wxButton(side, ID_APPLY_CHANGES, "Apply changes");
    applyButton->Disable();
    auto* applyRow = new wxBoxSizer(wxHORIZONTAL);
    applyRow->Add(applyButton);

    auto* column = new wxBoxSizer(wxVERTICAL);
    // The table takes the height the other parts leave; with too little, the
    // column scrolls.
    column->Add(floorTable, 1, wxEXPAND | wxALL, 5);
    column->Add(floorPart, 0, wxEXPAND | wxALL, 5);
    column->Add(parameters, 0, wxEXPAND | wxALL, 5);
    column->Add(applyRow, 0, wxEXPAND | wxALL, 5);

    // Two rows of the floor table show even in a low window.
    floorTable->SetMinSize(wxSize(-1, 75));
    side->SetSizer(column);
    side->SetScrollRate(0, 10);
    const int scrollBar = wxSystemSettings::GetMetric(wxSYS_VSCROLL_X, side);
    const int columnWidth = column->CalcMin().x + scrollBar;
    side->SetMinSize(wxSize(columnWidth, -1));
    // On a wide page the column takes the width the floor table's columns
    // need, so that they show whole without scrolling sideways.
    const int tablesWidth = tableWidth + 2 * scrollBar + 20;
    Bind(wxEVT_SIZE, [side, columnWidth, tablesWidth](wxSizeEvent& event) {
        side->SetMinSize(wxSize(std::max(columnWidth, sideColumnWidth(event.GetSize().x, tablesWidth)), -1));
        event.Skip();
    });

    auto* page = new wxBoxSizer(wxHORIZONTAL);
    page->Add(editor, 3, wxEXPAND | wxALL, 5);
    page->Add(side, 1, wxEXPAND | wxALL, 5);
    SetSizer(page);
}

void BuildingPane::bindRibbonEvents(wxRibbonBar* ribbonBar)
{
    bindRibbon(ribbonBar, wxEVT_RIBBONBUTTONBAR_CLICKED, ID_BUILDING_VIEW_ALL, &BuildingPane::onClickViewAll);
    bindRibbon(ribbonBar, wxEVT_RIBBONBUTTONBAR_CLICKED, ID_BUILDING_VIEW_ONE, &BuildingPane::onClickViewOne);
}

void BuildingPane::fillFloorTable()
{
    floorTable->DeleteAllItems();
    tableFloors = floorsInTableOrder(*building);
    for (const auto& floor : tableFloors) {
        wxVector<wxVariant> cells;
        for (const std::string& cell : floorRow(*floor, building->parameters))
            cells.push_back(wxVariant(wxString::FromUTF8(cell)));
        floorTable->AppendItem(cells);
    }
}

void BuildingPane::showCurrentLevel()
{
    currentLevelText->SetLabel(wxString::Format("Current level: %d", currentFloor ? currentFloor->level : 0));
}

void BuildingPane::showFloorFields(bool withHeight)
{
    if (!currentFloor)
        return;
    const FloorFieldTexts shown{textOf(lengthField), textOf(widthField), textOf(cornerLengthField),
                                textOf(cornerWidthField), textOf(heightField)};
    const FloorFieldTexts texts = floorFieldTexts(*currentFloor, shown);
    lengthField->ChangeValue(wxString::FromUTF8(texts.length));
    widthField->ChangeValue(wxString::FromUTF8(texts.width));
    if (withHeight)
        heightField->ChangeValue(wxString::FromUTF8(texts.height));
}

void BuildingPane::showError(const wxString& text)
{
    wxMessageBox(text, wxMessageBoxCaptionStr, wxOK | wxICON_ERROR, this);
}

void BuildingPane::onFloorSelected(wxDataViewEvent&)
{
    try {
        // The row's own floor rather than a level counted from the top: the
        // columns are sortable, and levels need not be gapless.
        const int row = floorTable->GetSelectedRow();
        if (row != wxNOT_FOUND && static_cast<std::size_t>(row) < tableFloors.size()) {
            currentFloor = tableFloors[static_cast<std::size_t>(row)];
            editor->setFloor(currentFloor);
            editor->fitToView();
        }
        // The height field keeps what the user typed for the next floor.
        showFloorFields(false);
        showCurrentLevel();
    } catch (const std::exception& error) {
        showError(wxString::FromUTF8(error.what()));
    }
}

void BuildingPane::onClickApplyChanges(wxCommandEvent&)
{
    try {
        std::vector<std::string> texts;
        for (const wxTextCtrl* field : parameterTexts)
            texts.push_back(textOf(field));
        building->parameters = applyParameterTexts(building->parameters, texts);
        fillFloorTable();
        applyButton->Disable();
    } catch (const std::exception& error) {
        showError(wxString::FromUTF8(error.what()));
    }
}

void BuildingPane::onParameterChanged(wxCommandEvent&)
{
    applyButton->Enable();
}

void BuildingPane::onClickViewAll(wxRibbonButtonBarEvent&)
{
    showAllFloors = 1;
    try {
        editor->arrangeAll();
    } catch (const std::exception& error) {
        showError(wxString::FromUTF8(error.what()));
    }
}

void BuildingPane::onClickViewOne(wxRibbonButtonBarEvent&)
{
    showAllFloors = 0;
    try {
        editor->showOneFloor();
    } catch (const std::exception& error) {
        showError(wxString::FromUTF8(error.what()));
    }
}

void BuildingPane::onToggleLShape(wxCommandEvent&)
{
    const bool lShape = lShapeCheck->IsChecked();
    cornerChoice->Enable(lShape);
    cornerLengthField->Enable(lShape);
    cornerWidthField->Enable(lShape);
}

void BuildingPane::refreshAfterFloorCommand(bool elevationsChanged)
{
    showCurrentLevel();
    if (showAllFloors == 1)
        editor->arrangeAll();
    else
        editor->showOneFloor();
    if (elevationsChanged)
        building->updateElevations();
    editor->setFloor(currentFloor);
    editor->fitToView();
    fillFloorTable();
}

std::string BuildingPane::selectedCorner() const
{
    const int selected = cornerChoice->GetSelection();
    return selected == wxNOT_FOUND ? std::string() : cornerChoice->GetString(selected).ToStdString(wxConvUTF8);
}

FloorDimensions BuildingPane::readDimensionFields(OutlineSource source)
{
    FloorDimensions dimensions{floorLength, floorWidth, 0.0, 0.0, floorHeight};
    const FloorFieldTexts texts{textOf(lengthField), textOf(widthField), textOf(cornerLengthField),
                                textOf(cornerWidthField), textOf(heightField)};
    // The fields read before one that fails keep their new values.
    auto keep = [&] {
        floorLength = dimensions.length;
        floorWidth = dimensions.width;
        floorHeight = dimensions.height;
    };
    try {
        readFloorFields(texts, source, dimensions);
    } catch (...) {
        keep();
        throw;
    }
    keep();
    return dimensions;
}

void BuildingPane::onClickNewFloor(wxCommandEvent&)
{
    if (!currentFloor)
        return;
    try {
        OutlineSource source = OutlineSource::Rectangle;
        if (copyLastFloorCheck->IsChecked())
            source = OutlineSource::CopyOfCurrent;
        else if (lShapeCheck->IsChecked())
            source = OutlineSource::LShape;
        const FloorDimensions dimensions = readDimensionFields(source);

        std::vector<Vec2> outline = floorOutline(source, dimensions, selectedCorner(), *currentFloor);
        currentFloor = addFloorOnTop(*building, floorHeight, std::move(outline));
        refreshAfterFloorCommand(true);
    } catch (const std::exception& error) {
        showError(wxString::FromUTF8(error.what()));
    }
}

void BuildingPane::onClickUpdateValue(wxCommandEvent&)
{
    if (!currentFloor)
        return;
    try {
        const OutlineSource source = lShapeCheck->IsChecked() ? OutlineSource::LShape : OutlineSource::Rectangle;
        const FloorDimensions dimensions = readDimensionFields(source);

        currentFloor->setContour(floorOutline(source, dimensions, selectedCorner(), *currentFloor));
        currentFloor->height = floorHeight;
        building->updateElevations();
        refreshAfterFloorCommand(false);
    } catch (const std::exception& error) {
        showError(wxString::FromUTF8(error.what()));
    }
}

void BuildingPane::onClickRemoveFloor(wxCommandEvent&)
{
    if (!currentFloor)
        return;
    try {
        const std::string refusal = removalRefusal(*building, currentFloor);
        if (!refusal.empty()) {
            wxMessageBox(wxString::FromUTF8(refusal), wxMessageBoxCaptionStr, wxOK, this);
        } else if (wxMessageBox("Confirm delete?", wxMessageBoxCaptionStr, wxYES_NO | wxNO_DEFAULT | wxICON_INFORMATION,
                                this) == wxYES) {
            currentFloor = removeFloor(*building, currentFloor);
            // The removed floor's values would be applied to the one below.
            showFloorFields(true);
        }
        fillFloorTable();
        showCurrentLevel();
        editor->setBuilding(building);
        editor->fitToView();
    } catch (const std::exception& error) {
        showError(wxString::FromUTF8(error.what()));
    }
}
