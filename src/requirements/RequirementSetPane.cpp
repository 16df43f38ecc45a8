#include "RequirementSetPane.h"

#include "shell/AppState.h"
#include "shell/TableColumns.h"
#include "DiagramCtrl.h"
#include "shell/Events.h"
#include "shell/FileDialog.h"
#include "shell/ProjectPane.h"
#include "platformui/RequirementPlatformDialog.h"
#include "RequirementTable.h"
#include "shell/RibbonTable.h"
#include "RoomDialog.h"

#include "model/Requirement.h"
#include "model/RequirementFile.h"

#include <wx/dataview.h>
#include <wx/log.h>
#include <wx/msgdlg.h>
#include <wx/ribbon/buttonbar.h>
#include <wx/sizer.h>

#include <exception>

RequirementSetPane::RequirementSetPane(wxWindow* parent, wxRibbonBar* ribbonBar,
                                       const std::shared_ptr<bg::RequirementSet>& requirementSet,
                                       const std::shared_ptr<bg::Building>& building)
    : KovraPage(parent, RIBBON_PAGE_REQUIREMENTS, ID_REQUIREMENT_SET_PANE),
      requirementSet(requirementSet),
      building(building)
{
    SetSize(540, 300);
    SetWindowStyle(wxTAB_TRAVERSAL);

    auto* sizer = new wxBoxSizer(wxVERTICAL);
    table = new wxDataViewListCtrl(this, ID_REQUIREMENT_TABLE, wxDefaultPosition, wxDefaultSize, wxDV_ROW_LINES);
    for (const RequirementColumn& column : requirementColumns())
        table->AppendTextColumn(wxString::FromUTF8(column.title), wxDATAVIEW_CELL_INERT,
                                titledColumnWidth(table, wxString::FromUTF8(column.title), column.width),
                                wxALIGN_LEFT, wxDATAVIEW_COL_RESIZABLE | wxDATAVIEW_COL_SORTABLE);
    sizer->Add(table, 3, wxEXPAND | wxALL, 5);
    diagram = new DiagramCtrl(this);
    sizer->Add(diagram, 2, wxEXPAND | wxALL, 5);

    Bind(wxEVT_DATAVIEW_ITEM_ACTIVATED, &RequirementSetPane::onTableItemActivated, this, ID_REQUIREMENT_TABLE);
    Bind(wxEVT_DATAVIEW_SELECTION_CHANGED, &RequirementSetPane::onTableSelectionChanged, this, ID_REQUIREMENT_TABLE);
    Bind(EVT_DIAGRAM_NODE_ACTIVATED, &RequirementSetPane::onDiagramNodeActivated, this);
    Bind(EVT_DIAGRAM_NODE_SELECTED, &RequirementSetPane::onDiagramNodeSelected, this);
    bindRibbonEvents(ribbonBar);

    fillTable();
    fillDiagram();
    SetSizer(sizer);
    Layout();
    // Registered last: a constructor that throws leaves no entry behind
    // pointing at the freed page.
    getAppState().registerPage(requirementSet, this);
}

RequirementSetPane::~RequirementSetPane()
{
    getAppState().registerPage(requirementSet, nullptr);
}

void RequirementSetPane::bindRibbonEvents(wxRibbonBar* ribbonBar)
{
    bindRibbon(ribbonBar, wxEVT_RIBBONBUTTONBAR_CLICKED, ID_ADD_ROOM, &RequirementSetPane::onClickAddRoom);
    bindRibbon(ribbonBar, wxEVT_RIBBONBUTTONBAR_CLICKED, ID_REMOVE_ROOM, &RequirementSetPane::onClickRemoveRoom);
    bindRibbon(ribbonBar, wxEVT_RIBBONBUTTONBAR_CLICKED, ID_SAVE_REQUIREMENTS,
               &RequirementSetPane::onClickSaveRequirements);
}

void RequirementSetPane::fillTable()
{
    table->DeleteAllItems();
    for (const auto& requirement : requirementSet->requirements) {
        wxVector<wxVariant> cells;
        for (const std::string& cell : requirementRow(*requirement))
            cells.push_back(wxVariant(wxString::FromUTF8(cell)));
        table->AppendItem(cells);
    }
}

void RequirementSetPane::fillDiagram()
{
    fillRequirementGraph(diagram->graph, *requirementSet);
    diagram->controller->graphChanged();
    diagram->controller->arrange();
    diagram->Refresh(true);
}

void RequirementSetPane::editRoom(int index)
{
    std::shared_ptr<bg::Requirement> requirement;
    if (index >= 0) {
        for (const auto& candidate : requirementSet->requirements)
            if (candidate->index == index)
                requirement = candidate;
        if (!requirement)
            return;
    }
    int level = requirement ? requirement->level : lastLevel;
    const wxString title = requirement ? wxString::FromUTF8(requirement->name) : wxString("New Room");
    RoomDialog dialog(this, building, requirementSet, requirement, level, title);
    if (dialog.ShowModal() != wxID_OK)
        return;
    fillTable();
    fillDiagram();
    if (dialog.requirement)
        lastLevel = dialog.requirement->level;
}

void RequirementSetPane::addRoom()
{
    editRoom(-1);
}

int RequirementSetPane::selectedIndex() const
{
    const int row = table->GetSelectedRow();
    if (row == wxNOT_FOUND)
        return -1;
    long index = -1;
    if (!table->GetTextValue(static_cast<unsigned>(row), 0).ToLong(&index))
        return -1;
    return static_cast<int>(index);
}

int RequirementSetPane::rowOfIndex(int index) const
{
    // Sorting reorders the rows shown; the first cell still names the room.
    for (int row = 0; row < table->GetItemCount(); ++row)
        if (table->GetTextValue(static_cast<unsigned>(row), 0) == wxString::Format("%d", index))
            return row;
    return wxNOT_FOUND;
}

void RequirementSetPane::removeSelectedRoom()
{
    const int index = selectedIndex();
    if (index < 0)
        return;
    if (wxMessageBox("Confirm delete?", wxMessageBoxCaptionStr, wxYES_NO | wxNO_DEFAULT | wxICON_INFORMATION,
                     this) != wxYES)
        return;
    removeRequirementByIndex(*requirementSet, index);
    fillTable();
    fillDiagram();
}

void RequirementSetPane::saveRequirements()
{
    wxMessageDialog question(this, "Do you want to save on Kovra Platform or on this PC?", "Save",
                             wxYES_NO | wxCANCEL);
    question.SetYesNoCancelLabels("On Kovra Platform", "On this PC", "Cancel");
    const int answer = question.ShowModal();
    if (answer == wxID_YES) {
        // The platform client and the project tree belong to the main window,
        // which hands them to the page it opens.
        if (!client) {
            wxMessageBox("The Kovra Platform is not available here.", wxMessageBoxCaptionStr,
                         wxOK | wxICON_INFORMATION, this);
            return;
        }
        // The dialog's "Import" replaces the set's rooms and its name as well:
        // the page, its tab and the project tree follow.
        if (saveRequirementSetOnPlatform(this, client, projectPane, requirementSet)) {
            fillTable();
            fillDiagram();
            if (projectPane)
                projectPane->rebuild();
            postObjectEvent(wxGetTopLevelParent(this), EVT_REQUIREMENT_SET_NAME_CHANGED, requirementSet);
        }
        return;
    }
    if (answer != wxID_NO)
        return;
    FileDialog files(this, FileKind::Requirements, "Save Requirement Set", "Requirement Set (*.csv)|*.csv",
                     wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
    if (!files.choose())
        return;
    const wxString path = files.chosenPath();
    try {
        bg::exportRequirementsCsv(requirementSet, path.utf8_string());
    } catch (const std::exception& error) {
        wxMessageBox(wxString::FromUTF8(error.what()), wxMessageBoxCaptionStr, wxOK | wxCENTRE, this);
    }
}

template <typename Work>
void RequirementSetPane::guarded(Work&& work)
{
    try {
        work();
    } catch (const std::exception& error) {
        wxLogError("%s", wxString::FromUTF8(error.what()));
    } catch (...) {
        wxLogError("Unexpected error in the requirement page.");
    }
}

void RequirementSetPane::onTableItemActivated(wxDataViewEvent&)
{
    guarded([this] {
        const int index = selectedIndex();
        if (index >= 0)
            editRoom(index);
    });
}

void RequirementSetPane::onTableSelectionChanged(wxDataViewEvent&)
{
    guarded([this] {
        const int index = selectedIndex();
        diagram->controller->cancel();
        if (index != -1)
            diagram->controller->selectNode(index);
        diagram->Refresh(false);
    });
}

void RequirementSetPane::onDiagramNodeActivated(wxCommandEvent&)
{
    guarded([this] {
        const int node = diagram->selectedNode;
        if (node == -1)
            return;
        if (requirementSet->requirements.empty())
            addRoom();
        else
            editRoom(node);
    });
}

void RequirementSetPane::onDiagramNodeSelected(wxCommandEvent&)
{
    guarded([this] {
        if (requirementSet->requirements.empty())
            return;
        const int node = diagram->selectedNode;
        const int row = node == -1 ? wxNOT_FOUND : rowOfIndex(node);
        if (row == wxNOT_FOUND)
            table->UnselectAll();
        else
            table->SelectRow(static_cast<unsigned>(row));
    });
}

void RequirementSetPane::onClickAddRoom(wxRibbonButtonBarEvent&)
{
    guarded([this] { addRoom(); });
}

void RequirementSetPane::onClickRemoveRoom(wxRibbonButtonBarEvent&)
{
    guarded([this] { removeSelectedRoom(); });
}

void RequirementSetPane::onClickSaveRequirements(wxRibbonButtonBarEvent&)
{
    guarded([this] { saveRequirements(); });
}
