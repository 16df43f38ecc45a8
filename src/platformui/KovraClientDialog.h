#pragma once

#include "PlatformTree.h"

#include <wx/dialog.h>

#include <functional>
#include <string>

class ProjectPane;
class wxButton;
class wxCheckListBox;
class wxStaticText;
class wxUpdateUIEvent;

namespace KovraClient {
class cKovraClient;
}

// "Kovra File Manager": in mode 0 the user logs in through the web browser,
// browses the platform's repository, uploads, downloads, renames and deletes
// files and opens a project stored there; in mode 1 the open project and its
// IFC model are saved into the repository.
//
// Every command catches the client's exceptions and shows their text; the
// dialog stays open and the tree and the application state stay as they
// were before the failing call.
class KovraClientDialog : public wxDialog {
public:
    enum Mode { MODE_BROWSE = 0, MODE_SAVE = 1 };
    enum {
        ID_DIALOG = 20175,
        ID_DISCONNECT = 20177,
        ID_CONNECT = 20180,
        ID_SAVE = 20185,
        ID_UPLOAD = 20188,
        ID_RENAME = 20189,
        ID_DELETE = 20190,
        ID_DOWNLOAD = 20191,
    };
    // Opens the login address; the default is the system's web browser.
    using BrowserLauncher = std::function<void(const std::string& url)>;

    // client: the process's platform client, not owned; eventTarget: the
    // project tree, told when a project was opened from the platform.
    KovraClientDialog(wxWindow* parent, KovraClient::cKovraClient* client, ProjectPane* eventTarget, int mode,
                      BrowserLauncher launcher = {});
    ~KovraClientDialog() override;

    PlatformTree& platformTree() { return repository; }

    // Not owned: the main window's.
    KovraClient::cKovraClient* client;
    wxTreeListCtrl* tree = nullptr;
    wxStaticText* userLabel = nullptr;
    ProjectPane* eventTarget;
    wxButton* downloadButton = nullptr;
    wxCheckListBox* fileTypes = nullptr;
    const int mode;
    // Where the login goes: the client's default platform address.
    std::string baseUrl;

    void updateUserLabel();

private:
    void onClickConnect(wxCommandEvent& event);
    void onClickDisconnect(wxCommandEvent& event);
    void onClickUpload(wxCommandEvent& event);
    void onClickDownload(wxCommandEvent& event);
    void onClickRename(wxCommandEvent& event);
    void onClickDelete(wxCommandEvent& event);
    void onClickSave(wxCommandEvent& event);
    void onSelectionChanged(wxTreeListEvent& event);
    void onUpdateConnect(wxUpdateUIEvent& event);
    void onUpdateDisconnect(wxUpdateUIEvent& event);
    void onUpdateDownload(wxUpdateUIEvent& event);
    void onUpdateSelectionButtons(wxUpdateUIEvent& event);

    void openProject(const PlatformEntry& entry);
    void saveProject();

    PlatformTree repository;
    BrowserLauncher launcher;
};
