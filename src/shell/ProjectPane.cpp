#include "ProjectPane.h"

#include "AppState.h"
#include "CommandGuard.h"
#include "Events.h"
#include "RibbonTable.h"

#include "model/Building.h"
#include "model/Project.h"
#include "model/Proposal.h"
#include "model/Requirement.h"
#include "model/Site.h"

#include <wx/menu.h>
#include <wx/msgdlg.h>
#include <wx/sizer.h>
#include <wx/textdlg.h>

#include <algorithm>
#include <exception>
#include <initializer_list>

namespace {

// Model names are UTF-8 (as the project file stores them), whatever the
// user's locale.
wxString toTree(const std::string& name)
{
    return wxString::FromUTF8(name);
}

std::string toModel(const wxString& text)
{
    return text.utf8_string();
}

template <class T>
void eraseFrom(std::list<std::shared_ptr<T>>& list, const std::shared_ptr<T>& object)
{
    list.remove(object);
}

} // namespace

ObjectData::~ObjectData() = default;

bool ObjectData::sameObject(const ObjectData& other) const
{
    return building == other.building && requirementSet == other.requirementSet && proposal == other.proposal
           && site == other.site;
}

TreeObjectKind ObjectData::kind() const
{
    if (building)
        return TreeObjectKind::Building;
    if (requirementSet)
        return TreeObjectKind::RequirementSet;
    if (proposal)
        return TreeObjectKind::Proposal;
    if (site)
        return TreeObjectKind::Site;
    return TreeObjectKind::None;
}

ProjectPane::ProjectPane(wxWindow* parent)
    : wxPanel(parent, ID_PROJECT_PANE, wxDefaultPosition, wxSize(300, 300), wxTAB_TRAVERSAL, "Project Pane")
{
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    tree = new wxDataViewTreeCtrl(this, ID_PROJECT_TREE, wxDefaultPosition, wxDefaultSize,
                                  wxDV_NO_HEADER | wxDV_ROW_LINES);
    sizer->Add(tree, 1, wxEXPAND | wxALL, 5);
    SetSizer(sizer);

    Bind(wxEVT_DATAVIEW_ITEM_CONTEXT_MENU, &ProjectPane::onItemContextMenu, this, ID_PROJECT_TREE);
    Bind(wxEVT_DATAVIEW_ITEM_ACTIVATED, &ProjectPane::onItemActivated, this, ID_PROJECT_TREE);
    Bind(wxEVT_DATAVIEW_SELECTION_CHANGED, &ProjectPane::onSelectionChanged, this, ID_PROJECT_TREE);
    Bind(wxEVT_DATAVIEW_ITEM_START_EDITING, &ProjectPane::onItemStartEditing, this, ID_PROJECT_TREE);
    Bind(wxEVT_DATAVIEW_ITEM_VALUE_CHANGED, &ProjectPane::onItemValueChanged, this, ID_PROJECT_TREE);
    Bind(EVT_SITE_ADDED, &ProjectPane::onSiteAdded, this);
    Bind(EVT_PROJECT_CHANGED, &ProjectPane::onProjectChanged, this);
    Bind(EVT_REQUIREMENT_SET_ADDED, &ProjectPane::onRequirementSetAdded, this);
    Bind(EVT_PROPOSAL_ADDED, &ProjectPane::onProposalAdded, this);
    Bind(EVT_BUILDING_ADDED, &ProjectPane::onBuildingAdded, this);
    for (int id : std::initializer_list<int>{ID_RENAME_PROJECT, ID_NEW_BUILDING, ID_NEW_SITE, ID_NEW_REQUIREMENT_SET, ID_IMPORT_REQUIREMENT_SET,
                   ID_NEW_PROPOSAL, ID_DELETE_OBJECT, ID_RENAME_OBJECT, ID_DUPLICATE_OBJECT})
        Bind(wxEVT_MENU, &ProjectPane::onMenu, this, id);
}

ProjectPane::~ProjectPane()
{
    rebuilding = true; // the control may report selection changes while it goes
    clearSelected();
}

wxString ProjectPane::rootText() const
{
    const auto& project = getAppState().project;
    return "Project (" + (project ? toTree(project->name) : wxString()) + ")";
}

void ProjectPane::rebuild()
{
    rebuilding = true;
    clearSelected();
    currentItem = wxDataViewItem();
    tree->DeleteAllItems();
    rootItem = requirementSetsItem = proposalsItem = sitesItem = buildingsItem = wxDataViewItem();
    const auto project = getAppState().project;
    if (project) {
        rootItem = tree->AppendContainer(wxDataViewItem(), rootText());
        buildingsItem = tree->AppendContainer(rootItem, "Buildings");
        requirementSetsItem = tree->AppendContainer(rootItem, "Requirement sets");
        proposalsItem = tree->AppendContainer(rootItem, "Proposals");
        sitesItem = tree->AppendContainer(rootItem, "Sites");
        for (const auto& building : project->buildings)
            addBuildingItem(building);
        for (const auto& requirementSet : project->requirementSets)
            addRequirementSetItem(requirementSet);
        for (const auto& proposal : project->proposals)
            addProposalItem(proposal);
        for (const auto& site : project->sites)
            addSiteItem(site);
        for (const auto& item : {rootItem, requirementSetsItem, proposalsItem, buildingsItem, sitesItem})
            tree->Expand(item);
        tree->Select(rootItem);
    }
    rebuilding = false;
}

void ProjectPane::addObjectItem(const wxDataViewItem& container, const std::string& name, ObjectData* data)
{
    if (!container.IsOk()) {
        delete data; // no tree without a project
        return;
    }
    // An object is listed once. New Project followed at once by New Building
    // queues a rebuild and the building's own added-event; the rebuild lists
    // the building already.
    for (unsigned i = 0, n = static_cast<unsigned>(tree->GetChildCount(container)); i < n; ++i) {
        const ObjectData* listed = objectData(tree->GetNthChild(container, i));
        if (listed && listed->sameObject(*data)) {
            delete data;
            return;
        }
    }
    const wxDataViewItem item = tree->AppendItem(container, toTree(name), -1, data);
    tree->Expand(container);
    tree->Select(item);
}

void ProjectPane::addBuildingItem(const std::shared_ptr<bg::Building>& building)
{
    auto* data = new ObjectData;
    data->building = building;
    addObjectItem(buildingsItem, building->name, data);
}

void ProjectPane::addRequirementSetItem(const std::shared_ptr<bg::RequirementSet>& requirementSet)
{
    auto* data = new ObjectData;
    data->requirementSet = requirementSet;
    addObjectItem(requirementSetsItem, requirementSet->name, data);
}

void ProjectPane::addProposalItem(const std::shared_ptr<bg::Proposal>& proposal)
{
    auto* data = new ObjectData;
    data->proposal = proposal;
    addObjectItem(proposalsItem, proposal->name, data);
}

void ProjectPane::addSiteItem(const std::shared_ptr<bg::Site>& site)
{
    auto* data = new ObjectData;
    data->site = site;
    addObjectItem(sitesItem, site->name, data);
}

TreeItemKind ProjectPane::itemKind(const wxDataViewItem& item) const
{
    if (!item.IsOk())
        return TreeItemKind::None;
    if (item == rootItem)
        return TreeItemKind::Root;
    if (item == buildingsItem)
        return TreeItemKind::Buildings;
    if (item == requirementSetsItem)
        return TreeItemKind::RequirementSets;
    if (item == proposalsItem)
        return TreeItemKind::Proposals;
    if (item == sitesItem)
        return TreeItemKind::Sites;
    return objectData(item) ? TreeItemKind::Object : TreeItemKind::None;
}

ObjectData* ProjectPane::objectData(const wxDataViewItem& item) const
{
    if (!item.IsOk() || item == rootItem || item == buildingsItem || item == requirementSetsItem
        || item == proposalsItem || item == sitesItem)
        return nullptr;
    return dynamic_cast<ObjectData*>(tree->GetItemData(item));
}

void ProjectPane::clearSelected()
{
    selectedBuilding.reset();
    selectedProposal.reset();
    selectedRequirementSet.reset();
    selectedSite.reset();
}

void ProjectPane::setCurrent(const wxDataViewItem& item)
{
    clearSelected();
    currentItem = item;
    if (const ObjectData* data = objectData(item)) {
        selectedBuilding = data->building;
        selectedProposal = data->proposal;
        selectedRequirementSet = data->requirementSet;
        selectedSite = data->site;
    }
}

void ProjectPane::postOpenEvent(const ObjectData& data)
{
    if (data.proposal)
        postObjectEvent(this, EVT_OPEN_PROPOSAL, data.proposal);
    else if (data.requirementSet)
        postObjectEvent(this, EVT_OPEN_REQUIREMENT_SET, data.requirementSet);
    else if (data.building)
        postObjectEvent(this, EVT_OPEN_BUILDING, data.building);
    else if (data.site)
        postObjectEvent(this, EVT_OPEN_SITE, data.site);
}

void ProjectPane::onSelectionChanged(wxDataViewEvent& event)
{
    if (rebuilding)
        return;
    setCurrent(event.GetItem());
    switch (itemKind(currentItem)) {
    case TreeItemKind::Root:
        postEvent(this, EVT_SHOW_PROJECT_RIBBON);
        break;
    case TreeItemKind::Buildings:
        postEvent(this, EVT_SHOW_BUILDING_RIBBON);
        break;
    case TreeItemKind::RequirementSets:
        postEvent(this, EVT_SHOW_REQUIREMENTS_RIBBON);
        break;
    case TreeItemKind::Proposals:
        postEvent(this, EVT_SHOW_PROPOSAL_RIBBON);
        break;
    case TreeItemKind::Sites:
        postEvent(this, EVT_SHOW_SITE_RIBBON);
        break;
    case TreeItemKind::Object: {
        const ObjectData& data = *objectData(currentItem);
        postOpenEvent(data);
        if (data.proposal)
            postEvent(this, EVT_SHOW_PROPOSAL_RIBBON);
        else if (data.requirementSet)
            postEvent(this, EVT_SHOW_REQUIREMENTS_RIBBON);
        else if (data.building)
            postEvent(this, EVT_SHOW_BUILDING_RIBBON);
        else
            postEvent(this, EVT_SHOW_SITE_RIBBON);
        break;
    }
    case TreeItemKind::None:
        break;
    }
}

void ProjectPane::onItemActivated(wxDataViewEvent& event)
{
    if (const ObjectData* data = objectData(event.GetItem()))
        postOpenEvent(*data);
}

void ProjectPane::onItemStartEditing(wxDataViewEvent& event)
{
    // Only objects have names to edit; the root and containers do not.
    if (!objectData(event.GetItem()))
        event.Veto();
}

void ProjectPane::onItemValueChanged(wxDataViewEvent& event)
{
    // The edited item's own object, whatever was selected before.
    const ObjectData* data = objectData(event.GetItem());
    if (!data)
        return;
    const std::string name = toModel(tree->GetItemText(event.GetItem()));
    wxEvtHandler* parent = GetParent() ? GetParent()->GetEventHandler() : nullptr;
    if (data->proposal) {
        if (data->proposal->name == name)
            return;
        data->proposal->name = name;
        postObjectEvent(parent, EVT_PROPOSAL_NAME_CHANGED, data->proposal);
    } else if (data->requirementSet) {
        if (data->requirementSet->name == name)
            return;
        data->requirementSet->name = name;
        postObjectEvent(parent, EVT_REQUIREMENT_SET_NAME_CHANGED, data->requirementSet);
    } else if (data->building) {
        if (data->building->name == name)
            return;
        data->building->name = name;
        postObjectEvent(parent, EVT_BUILDING_NAME_CHANGED, data->building);
    } else if (data->site) {
        if (data->site->name == name)
            return;
        data->site->name = name;
        postObjectEvent(parent, EVT_SITE_NAME_CHANGED, data->site);
    }
}

void ProjectPane::onItemContextMenu(wxDataViewEvent& event)
{
    // The menu acts on the item clicked, which need not be the selected one.
    if (event.GetItem().IsOk())
        setCurrent(event.GetItem());
    const ObjectData* data = objectData(currentItem);
    const auto entries = treeMenuEntries(itemKind(currentItem), data ? data->kind() : TreeObjectKind::None);
    if (entries.empty())
        return;
    wxMenu menu;
    for (const auto& entry : entries) {
        if (entry.id == TREE_MENU_SEPARATOR)
            menu.AppendSeparator();
        else
            menu.Append(entry.id, entry.label);
    }
    PopupMenu(&menu); // at the mouse, over the item clicked
}

void ProjectPane::onMenu(wxCommandEvent& event)
{
    runCommand(this, [&] {
        wxEvtHandler* parent = GetParent() ? GetParent()->GetEventHandler() : nullptr;
        switch (event.GetId()) {
        case ID_RENAME_PROJECT:
            renameProject();
            break;
        case ID_NEW_BUILDING:
            postEvent(parent, EVT_NEW_BUILDING);
            break;
        case ID_NEW_REQUIREMENT_SET:
            postEvent(parent, EVT_NEW_REQUIREMENT_SET);
            break;
        case ID_IMPORT_REQUIREMENT_SET:
            postEvent(parent, EVT_IMPORT_REQUIREMENT_SET);
            break;
        case ID_NEW_PROPOSAL:
            postEvent(parent, EVT_NEW_PROPOSAL);
            break;
        case ID_NEW_SITE:
            postEvent(parent, EVT_NEW_SITE);
            break;
        case ID_DELETE_OBJECT:
            deleteCurrent();
            break;
        case ID_RENAME_OBJECT:
            if (objectData(currentItem) && tree->GetColumnCount() > 0)
                tree->EditItem(currentItem, tree->GetColumn(0));
            break;
        case ID_DUPLICATE_OBJECT:
            duplicateCurrent();
            break;
        default:
            break;
        }
    });
}

void ProjectPane::renameProject()
{
    auto project = getAppState().project;
    if (!project)
        return;
    wxTextEntryDialog dialog(this, "Project name", "New project", toTree(project->name),
                             wxOK | wxCANCEL | wxCENTRE);
    if (dialog.ShowModal() == wxID_OK)
        project->name = toModel(dialog.GetValue());
    if (rootItem.IsOk())
        tree->SetItemText(rootItem, rootText());
}

void ProjectPane::deleteCurrent()
{
    auto project = getAppState().project;
    const ObjectData* data = objectData(currentItem);
    if (!project || !data)
        return;
    // A proposal or site that still uses the object would be saved with a
    // link to nothing.
    std::string blocker;
    if (data->building)
        blocker = deletionBlocker(*project, data->building);
    else if (data->requirementSet)
        blocker = deletionBlocker(*project, data->requirementSet);
    if (!blocker.empty()) {
        wxMessageBox(toTree(blocker), "Delete", wxOK | wxICON_INFORMATION, this);
        return;
    }
    if (wxMessageBox("Confirm delete?", wxMessageBoxCaptionStr, wxYES_NO | wxNO_DEFAULT | wxICON_INFORMATION, this)
        != wxYES)
        return;
    wxEvtHandler* parent = GetParent() ? GetParent()->GetEventHandler() : nullptr;
    // The events hold the objects, so the main window still finds them after
    // the project and the tree let go.
    if (data->proposal) {
        postObjectEvent(parent, EVT_PROPOSAL_DELETED, data->proposal);
        eraseFrom(project->proposals, data->proposal);
    } else if (data->requirementSet) {
        postObjectEvent(parent, EVT_REQUIREMENT_SET_DELETED, data->requirementSet);
        eraseFrom(project->requirementSets, data->requirementSet);
    } else if (data->site) {
        postObjectEvent(parent, EVT_SITE_DELETED, data->site);
        eraseFrom(project->sites, data->site);
    } else if (data->building) {
        postObjectEvent(parent, EVT_BUILDING_DELETED, data->building);
        eraseFrom(project->buildings, data->building);
    }
    const wxDataViewItem gone = currentItem;
    clearSelected();
    currentItem = wxDataViewItem();
    rebuilding = true; // the control reports the lost selection
    tree->DeleteItem(gone);
    rebuilding = false;
}

void ProjectPane::duplicateCurrent()
{
    auto project = getAppState().project;
    const ObjectData* data = objectData(currentItem);
    if (!project || !data)
        return;
    if (data->building) {
        auto copy = duplicateBuilding(*project, data->building);
        addBuildingItem(copy);
        postObjectEvent(this, EVT_OPEN_BUILDING, copy);
    } else if (data->requirementSet) {
        auto copy = duplicateRequirementSet(*project, data->requirementSet);
        addRequirementSetItem(copy);
        postObjectEvent(this, EVT_OPEN_REQUIREMENT_SET, copy);
    }
}

void ProjectPane::onProjectChanged(wxCommandEvent&)
{
    rebuild();
}

void ProjectPane::onBuildingAdded(wxCommandEvent& event)
{
    runCommand(this, [&] { addBuildingItem(eventObject<bg::Building>(event)->shared_from_this()); });
}

void ProjectPane::onRequirementSetAdded(wxCommandEvent& event)
{
    runCommand(this, [&] { addRequirementSetItem(eventObject<bg::RequirementSet>(event)->shared_from_this()); });
}

void ProjectPane::onProposalAdded(wxCommandEvent& event)
{
    runCommand(this, [&] { addProposalItem(eventObject<bg::Proposal>(event)->shared_from_this()); });
}

void ProjectPane::onSiteAdded(wxCommandEvent& event)
{
    runCommand(this, [&] { addSiteItem(eventObject<bg::Site>(event)->shared_from_this()); });
}
