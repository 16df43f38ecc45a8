#pragma once

#include <wx/treelist.h>

#include <exception>
#include <string>
#include <vector>

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

    void refreshTree();
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
