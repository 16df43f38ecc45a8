#pragma once

#include <wx/treelist.h>

#include <exception>
#include <string>
#include <vector>

#include "platform/Limits.h"

class wxWindow;

namespace KovraClient {
class cKovraClient;
}

// The record kept for one row of the platform tree. Entries are copies: a
// later change of the row's text does not reach them.
struct PlatformEntry {
    wxTreeListItem item;
    std::string name;        // the row's name when it was added
    std::string description; // column "Description" when added
    std::string date;        // column "Date" when added
    std::string kind;        // "Asset", "Folder" or "Resource"
    std::string platformId;
};

// What a refresh reads from the platform before it touches a row.
struct RemoteNode {
    std::string kind;
    std::string id;
    std::string name;
    std::string description;
    std::string date;
    std::vector<RemoteNode> children; // folders first, then resources
};

// How deep and how much of the platform a refresh reads: a server or folder
// may list an endless tree, one request per level.
struct TreeLimits {
    int depth = kovraplatform::limits::treeDepth;     // levels below the root, projects being the first
    int entries = kovraplatform::limits::treeEntries; // rows in all
};

struct RemoteRepository {
    std::vector<RemoteNode> assets;
    TreeLimits limits;
    int refusedNames = 0; // listed entries left out for their names
    bool tooDeep = false;
    bool tooMany = false;
    // One text naming everything left out; empty when nothing was.
    std::string notice() const;
};

// The whole repository within limits, GUI-free. Throws what the client throws.
RemoteRepository readRepository(KovraClient::cKovraClient& client, const TreeLimits& limits);

// The platform's repository as a tree, shared by both platform dialogs:
// projects (assets) beneath the hidden root, beneath a project or folder
// first its folders, then its files (resources), in the platform's order.
//
// Every row has exactly one entry, in the list of its kind; a row leaves the
// tree only through removeRow, which drops the entries of the row and of
// every row beneath it, so an item handle that the tree hands out again
// never finds a stale entry.
//
// Client calls may throw; a failing refresh leaves the rows as they were,
// because the whole repository is read before the first row changes.
class PlatformTree {
public:
    static constexpr int ID_TREE = 20182;
    static constexpr int ID_NEW_PROJECT = 20183;
    static constexpr int ID_NEW_FOLDER = 20184;

    // Makes the tree control as a child of parent.
    PlatformTree(wxWindow* parent, KovraClient::cKovraClient* client);

    wxTreeListCtrl* control() const { return tree; }

    // Reads the repository within limits, then shows it; says in one notice
    // what it left out.
    void refreshTree();
    TreeLimits limits;
    void addFolderContents(wxTreeListItem folderItem);
    void expandAll();
    // Selects the first row whose resource is the open project's platform
    // file, when it came from the platform.
    void selectByPlatformId();

    wxTreeListItem addAssetRow(wxTreeListItem parent, const std::string& id, const std::string& name,
                               const std::string& description, const std::string& date);
    // Folders stay ahead of resources beneath their parent.
    wxTreeListItem addFolderRow(wxTreeListItem parent, const std::string& id, const std::string& name,
                                const std::string& description, const std::string& date);
    wxTreeListItem addResourceRow(wxTreeListItem parent, const std::string& id, const std::string& name,
                                  const std::string& description, const std::string& date);
    // Deletes the row with the rows beneath it, and their entries.
    void removeRow(wxTreeListItem item);

    // A copy of the row's entry; the default entry for the empty item.
    PlatformEntry findEntry(wxTreeListItem item) const;
    wxTreeListItem selection() const { return tree->GetSelection(); }
    PlatformEntry selectedEntry() const { return findEntry(selection()); }
    // Where a new object goes for the selected row: the row itself, or its
    // parent when it is a resource. The default entry when none is selected.
    PlatformEntry selectedTarget() const;

    // The buttons "New Project" and "New Folder": ask for a name (dialogs
    // centred on parent) and create the object on the platform.
    void onClickNewProject(wxWindow* parent);
    void onClickNewFolder(wxWindow* parent);

    const std::vector<PlatformEntry>& getAssets() const { return assets; }
    const std::vector<PlatformEntry>& getFolders() const { return folders; }
    const std::vector<PlatformEntry>& getResources() const { return resources; }

private:
    wxTreeListItem appendRow(wxTreeListItem parent, wxTreeListItem previous, const std::string& name,
                             const std::string& description, const std::string& date);
    void collectRows(wxTreeListItem item, std::vector<wxTreeListItem>& rows) const;

    // Not owned: the main window's.
    KovraClient::cKovraClient* client;
    wxTreeListCtrl* tree;
    std::vector<PlatformEntry> assets;
    std::vector<PlatformEntry> folders;
    std::vector<PlatformEntry> resources;
};

// Shows the text of a failed platform call in a notice.
void tellPlatformFailure(const std::exception& error);
// A notice: one OK button, centred, no parent.
void showNotice(const wxString& text);
// A question box whose answer the caller may ignore: Yes and No, No the
// default, the information icon. True on Yes.
bool askQuestion(const wxString& text);
