#pragma once

#include "shell/KovraPage.h"
#include "shell/RibbonEventHandler.h"

#include <memory>

class DiagramCtrl;
class ProjectPane;
class wxCommandEvent;
class wxDataViewEvent;
class wxDataViewListCtrl;
class wxRibbonButtonBarEvent;

namespace KovraClient {
class cKovraClient;
}

namespace bg {
class Building;
class RequirementSet;
} // namespace bg

// Control ids of the requirement-set page.
enum {
    ID_REQUIREMENT_SET_PANE = 20049,
    ID_REQUIREMENT_TABLE = 20080,
};

// The workspace page of one requirement set: its rooms in a table above
// their adjacency diagram. Rooms are added and edited through the room
// dialog, removed with their indices renumbered, and the set is saved to a
// requirement file. Rows and nodes are found by the requirement index, which
// runs 0, 1, 2 ... in set order.
class RequirementSetPane : public KovraPage, public RibbonEventHandler {
public:
    RequirementSetPane(wxWindow* parent, wxRibbonBar* ribbonBar, const std::shared_ptr<bg::RequirementSet>& requirementSet,
                       const std::shared_ptr<bg::Building>& building);
    ~RequirementSetPane() override;

    void bindRibbonEvents(wxRibbonBar* ribbonBar) override;

    // Rebuild the table and the diagram from the set.
    void fillTable();
    void fillDiagram();

    // Opens the room dialog for the requirement with that index (-1 for a new room).
    void editRoom(int index);
    void addRoom();
    // Asks, then removes the room of the selected row.
    void removeSelectedRoom();
    void saveRequirements();

    std::shared_ptr<bg::RequirementSet> requirementSet;
    // The project's first building when the page was opened; may be empty.
    std::shared_ptr<bg::Building> building;
    wxDataViewListCtrl* table = nullptr;
    DiagramCtrl* diagram = nullptr;
    // Set by the main window after construction.
    KovraClient::cKovraClient* client = nullptr;
    ProjectPane* projectPane = nullptr;
    // The level of the room last accepted in the dialog: where a new room starts.
    int lastLevel = 0;

private:
    // The index in the first cell of the selected row; -1 when none is selected.
    int selectedIndex() const;
    // The table row whose first cell holds the index; wxNOT_FOUND for none.
    int rowOfIndex(int index) const;
    void onTableItemActivated(wxDataViewEvent& event);
    void onTableSelectionChanged(wxDataViewEvent& event);
    void onDiagramNodeActivated(wxCommandEvent& event);
    void onDiagramNodeSelected(wxCommandEvent& event);
    void onClickAddRoom(wxRibbonButtonBarEvent& event);
    void onClickRemoveRoom(wxRibbonButtonBarEvent& event);
    void onClickSaveRequirements(wxRibbonButtonBarEvent& event);
    // Runs a handler's work; nothing it throws leaves the handler.
    template <typename Work>
    void guarded(Work&& work);
};
