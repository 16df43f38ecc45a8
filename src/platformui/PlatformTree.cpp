#include "PlatformTree.h"

#include "shell/AppState.h"
#include "shell/TableColumns.h"

#include "platform/KovraClient.h"

#include <wx/msgdlg.h>
#include <wx/textdlg.h>

#include <algorithm>

namespace {

// Reads beneath node.id while the bounds allow; level is node's depth below
// the root (projects are at 1).
void readFolderContents(KovraClient::cKovraClient& client, RemoteNode& node, int level, const TreeLimits& limits,
                        int& entries, RemoteRepository& read)
{
    if (level >= limits.depth) {
        read.tooDeep = true;
        return;
    }
    const auto take = [&]() {
        if (entries >= limits.entries) {
            read.tooMany = true;
            return false;
        }
        ++entries;
        return true;
    };
    for (const auto& folder : client.getFolders(node.id)) {
        if (!take())
            return;
        // A folder beneath a project shows no date.
        RemoteNode child{"Folder", folder.id, folder.name, folder.description, "", {}};
        readFolderContents(client, child, level + 1, limits, entries, read);
        node.children.push_back(std::move(child));
    }
    // Resources directly beneath a project keep their date; inside a folder
    // they show none.
    for (const auto& resource : client.getResources(node.id)) {
        if (!take())
            return;
        node.children.push_back({"Resource", resource.id, resource.name, resource.description,
                                 level == 1 ? resource.date : "", {}});
    }
}

// Platform names are UTF-8, as the client hands them out.
wxString fromLocal(const std::string& text)
{
    return wxString::FromUTF8(text);
}

} // namespace

PlatformTree::PlatformTree(wxWindow* parent, KovraClient::cKovraClient* client)
    : client(client),
      tree(new wxTreeListCtrl(parent, ID_TREE, wxDefaultPosition, wxDefaultSize, wxTL_SINGLE))
{
    tree->SetMinSize(wxSize(300, 300));
    const int flags = wxCOL_RESIZABLE;
    tree->AppendColumn("Name", titledColumnWidth(tree, "Name", 120), wxALIGN_LEFT, flags);
    tree->AppendColumn("Description", titledColumnWidth(tree, "Description", 90), wxALIGN_LEFT, flags);
    tree->AppendColumn("Date", titledColumnWidth(tree, "Date", 90), wxALIGN_LEFT, flags);
}

std::string RemoteRepository::notice() const
{
    std::string text;
    if (refusedNames > 0)
        text += "\n- " + std::to_string(refusedNames) +
                (refusedNames == 1 ? " entry whose name cannot be used" : " entries whose names cannot be used") +
                " (\"..\", \".\", or holding \"/\", \"\\\" or control characters)";
    if (tooDeep)
        text += "\n- folders deeper than " + std::to_string(limits.depth) + " levels";
    if (tooMany)
        text += "\n- everything after the first " + std::to_string(limits.entries) + " entries";
    return text.empty() ? text : "Some of the platform is not shown:" + text;
}

RemoteRepository readRepository(KovraClient::cKovraClient& client, const TreeLimits& limits)
{
    RemoteRepository read;
    read.limits = limits;
    if (!client.isConnected())
        return read;
    client.takeRefusedNames();
    int entries = 0;
    for (const auto& asset : client.getAssets()) {
        if (entries >= limits.entries) {
            read.tooMany = true;
            break;
        }
        ++entries;
        RemoteNode node{"Asset", asset.id, asset.name, asset.description, asset.date, {}};
        readFolderContents(client, node, 1, limits, entries, read);
        read.assets.push_back(std::move(node));
    }
    read.refusedNames = client.takeRefusedNames();
    return read;
}

void PlatformTree::refreshTree()
{
    const RemoteRepository read = readRepository(*client, limits);
    const std::vector<RemoteNode>& remote = read.assets;

    tree->DeleteAllItems();
    assets.clear();
    folders.clear();
    resources.clear();
    const auto addChildren = [this](wxTreeListItem parent, const RemoteNode& node, auto& self) -> void {
        for (const RemoteNode& child : node.children) {
            if (child.kind == "Folder")
                self(addFolderRow(parent, child.id, child.name, child.description, child.date), child, self);
            else
                addResourceRow(parent, child.id, child.name, child.description, child.date);
        }
    };
    for (const RemoteNode& node : remote)
        addChildren(addAssetRow(tree->GetRootItem(), node.id, node.name, node.description, node.date), node,
                    addChildren);
    expandAll();
    if (const std::string notice = read.notice(); !notice.empty())
        showNotice(fromLocal(notice));
}

void PlatformTree::addFolderContents(wxTreeListItem folderItem)
{
    const PlatformEntry folder = findEntry(folderItem);
    RemoteNode node{"Folder", folder.platformId, folder.name, "", "", {}};
    RemoteRepository read;
    int entries = 0;
    readFolderContents(*client, node, 2, limits, entries, read);
    const auto addChildren = [this](wxTreeListItem parent, const RemoteNode& node, auto& self) -> void {
        for (const RemoteNode& child : node.children) {
            if (child.kind == "Folder")
                self(addFolderRow(parent, child.id, child.name, child.description, child.date), child, self);
            else
                addResourceRow(parent, child.id, child.name, child.description, child.date);
        }
    };
    addChildren(folderItem, node, addChildren);
}

void PlatformTree::expandAll()
{
    for (const auto& entry : assets)
        tree->Expand(entry.item);
    for (const auto& entry : folders)
        tree->Expand(entry.item);
}

void PlatformTree::selectByPlatformId()
{
    const std::string& id = getAppState().platformResourceId;
    if (id.empty())
        return;
    for (const auto& entry : resources) {
        if (entry.platformId == id) {
            tree->Select(entry.item);
            return;
        }
    }
}

wxTreeListItem PlatformTree::appendRow(wxTreeListItem parent, wxTreeListItem previous, const std::string& name,
                                       const std::string& description, const std::string& date)
{
    wxTreeListItem item;
    if (previous.IsOk())
        item = tree->InsertItem(parent, previous, fromLocal(name));
    else
        item = tree->AppendItem(parent, fromLocal(name));
    tree->SetItemText(item, 1, fromLocal(description));
    tree->SetItemText(item, 2, fromLocal(date));
    return item;
}

wxTreeListItem PlatformTree::addAssetRow(wxTreeListItem parent, const std::string& id, const std::string& name,
                                         const std::string& description, const std::string& date)
{
    const wxTreeListItem item = appendRow(parent, wxTreeListItem(), name, description, date);
    assets.push_back({item, name, description, date, "Asset", id});
    return item;
}

wxTreeListItem PlatformTree::addFolderRow(wxTreeListItem parent, const std::string& id, const std::string& name,
                                          const std::string& description, const std::string& date)
{
    wxTreeListItem item;
    wxTreeListItem child = tree->GetFirstChild(parent);
    if (!child.IsOk()) {
        item = appendRow(parent, wxTreeListItem(), name, description, date);
    } else if (findEntry(child).kind == "Resource") {
        item = tree->PrependItem(parent, fromLocal(name));
        tree->SetItemText(item, 1, fromLocal(description));
        tree->SetItemText(item, 2, fromLocal(date));
    } else {
        wxTreeListItem lastFolder = child;
        for (wxTreeListItem next = tree->GetNextSibling(child); next.IsOk() && findEntry(next).kind == "Folder";
             next = tree->GetNextSibling(next))
            lastFolder = next;
        item = appendRow(parent, lastFolder, name, description, date);
    }
    folders.push_back({item, name, description, date, "Folder", id});
    return item;
}

wxTreeListItem PlatformTree::addResourceRow(wxTreeListItem parent, const std::string& id, const std::string& name,
                                            const std::string& description, const std::string& date)
{
    const wxTreeListItem item = appendRow(parent, wxTreeListItem(), name, description, date);
    resources.push_back({item, name, description, date, "Resource", id});
    return item;
}

void PlatformTree::collectRows(wxTreeListItem item, std::vector<wxTreeListItem>& rows) const
{
    rows.push_back(item);
    for (wxTreeListItem child = tree->GetFirstChild(item); child.IsOk(); child = tree->GetNextSibling(child))
        collectRows(child, rows);
}

void PlatformTree::removeRow(wxTreeListItem item)
{
    if (!item.IsOk())
        return;
    std::vector<wxTreeListItem> rows;
    collectRows(item, rows);
    const auto gone = [&rows](const PlatformEntry& entry) {
        return std::find(rows.begin(), rows.end(), entry.item) != rows.end();
    };
    for (auto* list : {&assets, &folders, &resources})
        list->erase(std::remove_if(list->begin(), list->end(), gone), list->end());
    tree->DeleteItem(item);
}

PlatformEntry PlatformTree::findEntry(wxTreeListItem item) const
{
    if (!item.IsOk())
        return {};
    for (const auto* list : {&assets, &folders, &resources}) {
        for (const auto& entry : *list) {
            if (entry.item == item)
                return entry;
        }
    }
    return {};
}

PlatformEntry PlatformTree::selectedTarget() const
{
    const wxTreeListItem selected = selection();
    const PlatformEntry entry = findEntry(selected);
    if (entry.kind == "Resource")
        return findEntry(tree->GetItemParent(selected));
    return entry;
}

void PlatformTree::onClickNewProject(wxWindow* parent)
{
    wxTextEntryDialog dialog(parent, "New project", "Project name", "new kovra project", wxOK | wxCANCEL | wxCENTRE);
    if (dialog.ShowModal() != wxID_OK)
        return;
    const std::string name = dialog.GetValue().utf8_string();
    const std::string id = client->createAsset(name);
    addAssetRow(tree->GetRootItem(), id, name, "", "");
}

void PlatformTree::onClickNewFolder(wxWindow* parent)
{
    wxTextEntryDialog dialog(parent, "New folder", "Folder name", "folder", wxOK | wxCANCEL | wxCENTRE);
    if (dialog.ShowModal() != wxID_OK)
        return;
    if (!selection().IsOk())
        return;
    const PlatformEntry target = selectedTarget();
    const std::string name = dialog.GetValue().utf8_string();
    const std::string id = client->createFolder(name, target.platformId);
    addFolderRow(target.item, id, name, "", "");
}

void tellPlatformFailure(const std::exception& error)
{
    showNotice(wxString::FromUTF8(error.what()));
}

void showNotice(const wxString& text)
{
    wxMessageBox(text, wxMessageBoxCaptionStr, wxOK | wxCENTRE, nullptr);
}

bool askQuestion(const wxString& text)
{
    return wxMessageBox(text, wxMessageBoxCaptionStr, wxYES_NO | wxNO_DEFAULT | wxICON_INFORMATION, nullptr) == wxYES;
}
