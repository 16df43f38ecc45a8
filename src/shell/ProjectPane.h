#pragma once

#include "ProjectTreeRules.h"

#include <wx/clntdata.h>
#include <wx/dataview.h>
#include <wx/panel.h>

#include <memory>

namespace bg {
class Building;
class Proposal;
class RequirementSet;
class Site;
} // namespace bg

// The model object of an object item of the project tree; exactly one of the
// four pointers is set.
class ObjectData : public wxClientData {
public:
    ~ObjectData() override;

    TreeObjectKind kind() const;
    // Whether both refer to the one model object.
    bool sameObject(const ObjectData& other) const;

    std::shared_ptr<bg::RequirementSet> requirementSet;
    std::shared_ptr<bg::Proposal> proposal;
    std::shared_ptr<bg::Building> building;
    std::shared_ptr<bg::Site> site;
};

// The project tree docked at the left of the main window: the open project
// (AppState::project) as a root item, four containers and one item per
// object. The pane changes the project's lists and names itself; pages,
// ribbon pages and new objects it asks of the main window through events.
// It fills itself on the first EVT_PROJECT_CHANGED.
class ProjectPane : public wxPanel {
public:
    enum { ID_PROJECT_PANE = 20028, ID_PROJECT_TREE = 20029 };

    explicit ProjectPane(wxWindow* parent);
    ~ProjectPane() override;

    // Refills the whole tree from the open project; empty without one.
    void rebuild();
    // Append an object's item under its container and select it.
    void addBuildingItem(const std::shared_ptr<bg::Building>& building);
    void addRequirementSetItem(const std::shared_ptr<bg::RequirementSet>& requirementSet);
    void addProposalItem(const std::shared_ptr<bg::Proposal>& proposal);
    void addSiteItem(const std::shared_ptr<bg::Site>& site);

    // The kind of an item of the tree.
    TreeItemKind itemKind(const wxDataViewItem& item) const;
    // The object of an object item; null for the root and the containers.
    ObjectData* objectData(const wxDataViewItem& item) const;

    wxDataViewTreeCtrl* tree = nullptr;
    wxDataViewItem rootItem;
    wxDataViewItem requirementSetsItem;
    wxDataViewItem proposalsItem;
    wxDataViewItem sitesItem;
    wxDataViewItem buildingsItem;
    // The item of the latest selection change or context menu.
    wxDataViewItem currentItem;
    // The object of currentItem, at most one set.
    std::shared_ptr<bg::Building> selectedBuilding;
    std::shared_ptr<bg::Proposal> selectedProposal;
    std::shared_ptr<bg::RequirementSet> selectedRequirementSet;
    std::shared_ptr<bg::Site> selectedSite;

    // Commands of the context menu on currentItem, callable without the menu.
    void renameProject();
    void deleteCurrent();
    void duplicateCurrent();

private:
    void onItemContextMenu(wxDataViewEvent& event);
    void onItemActivated(wxDataViewEvent& event);
    void onSelectionChanged(wxDataViewEvent& event);
    void onItemStartEditing(wxDataViewEvent& event);
    void onItemValueChanged(wxDataViewEvent& event);
    void onProjectChanged(wxCommandEvent& event);
    void onBuildingAdded(wxCommandEvent& event);
    void onRequirementSetAdded(wxCommandEvent& event);
    void onProposalAdded(wxCommandEvent& event);
    void onSiteAdded(wxCommandEvent& event);
    void onMenu(wxCommandEvent& event);

    // Makes item current and its object the selected one.
    void setCurrent(const wxDataViewItem& item);
    void clearSelected();
    void addObjectItem(const wxDataViewItem& container, const std::string& name, ObjectData* data);
    void postOpenEvent(const ObjectData& data);
    wxString rootText() const;

    // Set while the tree is emptied and refilled, when the control may report
    // selection changes of its own.
    bool rebuilding = false;
};
