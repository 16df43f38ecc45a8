#include "KovraClientDialog.h"

#include "shell/AppState.h"
#include "shell/Events.h"
#include "shell/FileDialog.h"
#include "PlatformRules.h"
#include "PlatformUpload.h"
#include "PrivateFolder.h"
#include "shell/ProjectPane.h"

#include "export/ExportSettings.h"
#include "export/IfcExporter.h"
#include "model/Project.h"
#include "model/Proposal.h"
#include "platform/KovraClient.h"
#include "platform/Paths.h"

#include <wx/button.h>
#include <wx/checklst.h>
#include <wx/filedlg.h>
#include <wx/msgdlg.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textdlg.h>
#include <wx/utils.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace {

// Runs a platform command; a failure is shown and ends it.
template <typename Command>
void guarded(Command&& command)
{
    try {
        command();
    } catch (const std::exception& error) {
        tellPlatformFailure(error);
    }
}

void launchDefaultBrowser(const std::string& url)
{
    wxLaunchDefaultBrowser(wxString::FromUTF8(url));
}

} // namespace

KovraClientDialog::KovraClientDialog(wxWindow* parent, KovraClient::cKovraClient* client, ProjectPane* eventTarget,
                                     int mode, BrowserLauncher launcher)
    : wxDialog(parent, ID_DIALOG, "Kovra File Manager", wxDefaultPosition, wxSize(600, 600),
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      client(client),
      eventTarget(eventTarget),
      mode(mode),
      baseUrl(client->defaultBaseUrl()),
      repository(this, client),
      launcher(launcher ? std::move(launcher) : BrowserLauncher(launchDefaultBrowser))
{
    tree = repository.control();
    auto* sizer = new wxBoxSizer(wxVERTICAL);

    auto* userRow = new wxBoxSizer(wxHORIZONTAL);
    userRow->Add(new wxStaticText(this, wxID_ANY, "Username: "), 0, wxALL, 5);
    userLabel = new wxStaticText(this, wxID_ANY, "Not logged in");
    userRow->Add(userLabel, 0, wxALL, 5);
    sizer->Add(userRow, 0, wxALL, 5);

    if (mode == MODE_BROWSE) {
        auto* loginRow = new wxBoxSizer(wxHORIZONTAL);
        loginRow->Add(new wxButton(this, ID_CONNECT, "Connect"), 0, wxALL, 5);
        loginRow->Add(new wxButton(this, ID_DISCONNECT, "Disconnect"), 0, wxALL, 5);
        sizer->Add(loginRow, 0, wxALL, 5);
    }

    auto* treeColumn = new wxBoxSizer(wxVERTICAL);
    treeColumn->Add(new wxStaticText(this, wxID_ANY, "Repository"), 0, wxALL, 5);
    treeColumn->Add(tree, 1, wxALL | wxEXPAND, 5);
    sizer->Add(treeColumn, 1, wxALL | wxEXPAND, 5);

    auto* buttonRow = new wxBoxSizer(wxHORIZONTAL);
    buttonRow->Add(new wxButton(this, PlatformTree::ID_NEW_PROJECT, "New Project"), 0, wxALL, 5);
    buttonRow->Add(new wxButton(this, PlatformTree::ID_NEW_FOLDER, "New Folder"), 0, wxALL, 5);
    if (mode == MODE_SAVE) {
        buttonRow->Add(new wxButton(this, ID_SAVE, "Save"), 0, wxALL, 5);
        const wxString items[] = {"Project File", "IFC File"};
        fileTypes = new wxCheckListBox(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, 2, items);
        fileTypes->Check(0);
        buttonRow->Add(fileTypes, 0, wxALL, 5);
    } else {
        buttonRow->Add(new wxButton(this, ID_UPLOAD, "Upload"), 0, wxALL, 5);
        downloadButton = new wxButton(this, ID_DOWNLOAD, "Download");
        buttonRow->Add(downloadButton, 0, wxALL, 5);
        buttonRow->Add(new wxButton(this, ID_DELETE, "Delete"), 0, wxALL, 5);
        buttonRow->Add(new wxButton(this, ID_RENAME, "Rename"), 0, wxALL, 5);
    }
    sizer->Add(buttonRow, 0, wxALL, 5);

    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { guarded([&] { repository.onClickNewProject(this); }); },
         PlatformTree::ID_NEW_PROJECT);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { guarded([&] { repository.onClickNewFolder(this); }); },
         PlatformTree::ID_NEW_FOLDER);
    Bind(wxEVT_BUTTON, &KovraClientDialog::onClickSave, this, ID_SAVE);
    Bind(wxEVT_BUTTON, &KovraClientDialog::onClickUpload, this, ID_UPLOAD);
    Bind(wxEVT_BUTTON, &KovraClientDialog::onClickDownload, this, ID_DOWNLOAD);
    Bind(wxEVT_BUTTON, &KovraClientDialog::onClickRename, this, ID_RENAME);
    Bind(wxEVT_BUTTON, &KovraClientDialog::onClickDelete, this, ID_DELETE);
    Bind(wxEVT_BUTTON, &KovraClientDialog::onClickConnect, this, ID_CONNECT);
    Bind(wxEVT_BUTTON, &KovraClientDialog::onClickDisconnect, this, ID_DISCONNECT);
    tree->Bind(wxEVT_TREELIST_SELECTION_CHANGED, &KovraClientDialog::onSelectionChanged, this);
    Bind(wxEVT_UPDATE_UI, &KovraClientDialog::onUpdateConnect, this, ID_CONNECT);
    Bind(wxEVT_UPDATE_UI, &KovraClientDialog::onUpdateDisconnect, this, ID_DISCONNECT);
    Bind(wxEVT_UPDATE_UI, &KovraClientDialog::onUpdateDownload, this, ID_DOWNLOAD);
    for (int id : {ID_UPLOAD, ID_RENAME, ID_DELETE})
        Bind(wxEVT_UPDATE_UI, &KovraClientDialog::onUpdateSelectionButtons, this, id);

    if (client->isConnected()) {
        guarded([&] { repository.refreshTree(); });
        updateUserLabel();
        if (mode == MODE_SAVE)
            repository.selectByPlatformId();
    }
    SetSizer(sizer);
    // At least 600 x 600, and wide enough that no button of the row is cut.
    sizer->SetSizeHints(this);
    SetSize(wxSize(std::max(600, GetSize().x), std::max(600, GetSize().y)));
    Layout();
    Centre(wxBOTH);
}

KovraClientDialog::~KovraClientDialog() = default;

void KovraClientDialog::updateUserLabel()
{
    if (client->isConnected())
        userLabel->SetLabelText(wxString::FromUTF8(client->getLogginUser().name));
    else
        userLabel->SetLabelText("Not logged in");
}

void KovraClientDialog::onClickConnect(wxCommandEvent&)
{
    guarded([&] {
        std::string loginUrl;
        if (!client->autorizationRequest(baseUrl, "", loginUrl)) {
            showNotice(wxString::FromUTF8("Cannot connect to the platform: " + client->lastError()));
            return;
        }
        // A platform in a folder of this computer has no login to confirm.
        if (!kovraplatform::folderOfBase(baseUrl.empty() ? client->defaultBaseUrl() : baseUrl)) {
            launcher(loginUrl);
            wxMessageDialog question(this, "Please log in with your Kovra account in the web browser, then press OK.",
                                     "Log in", wxOK | wxCANCEL | wxICON_INFORMATION);
            if (question.ShowModal() != wxID_OK)
                return;
        }
        client->tokenRequest();
        if (!client->isConnected()) {
            showNotice(wxString::FromUTF8("Login failed: " + client->lastError()));
            return;
        }
        updateUserLabel();
        repository.refreshTree();
    });
}

void KovraClientDialog::onClickDisconnect(wxCommandEvent&)
{
    guarded([&] {
        client->logout();
        updateUserLabel();
        repository.refreshTree();
    });
}

void KovraClientDialog::onSelectionChanged(wxTreeListEvent&)
{
    if (mode != MODE_BROWSE)
        return;
    const PlatformEntry entry = repository.selectedEntry();
    const bool project = entry.kind == "Resource" && isProjectFileName(entry.name);
    downloadButton->SetLabel(project ? "Open Project" : "Download");
    Layout();
}

void KovraClientDialog::onClickUpload(wxCommandEvent&)
{
    guarded([&] {
        FileDialog dialog(this, FileKind::Upload, "Upload File", wxFileSelectorDefaultWildcardStr,
                          wxFD_OPEN | wxFD_FILE_MUST_EXIST);
        if (!dialog.choose())
            return;
        if (!repository.selection().IsOk())
            return;
        const PlatformEntry target = repository.selectedTarget();
        const std::string id = client->importFile(dialog.chosenPath().utf8_string(), target.platformId);
        const KovraClient::KovraResource resource = client->getResource(id);
        // As the tree reads it again: a date beneath a project, none in a folder.
        repository.addResourceRow(target.item, id, resource.name, "", target.kind == "Asset" ? resource.date : "");
    });
}

void KovraClientDialog::onClickDownload(wxCommandEvent&)
{
    const PlatformEntry entry = repository.selectedEntry();
    if (entry.kind == "Resource") {
        guarded([&] {
            if (downloadButton->GetLabel() == "Download") {
                const DownloadChoice choice = downloadChoiceFor(entry.name);
                FileDialog dialog(this, FileKind::Download, wxString::FromUTF8(choice.title),
                                  wxString::FromUTF8(choice.wildcard), wxFD_SAVE | wxFD_OVERWRITE_PROMPT,
                                  wxString::FromUTF8(choice.fileName));
                if (!dialog.choose())
                    return;
                if (client->downloadFile(entry.platformId, dialog.chosenPath().utf8_string()))
                    showNotice("File downloaded");
                else
                    showNotice("Fail, please try again.");
            } else {
                openProject(entry);
            }
        });
    }
    Close();
}

void KovraClientDialog::openProject(const PlatformEntry& entry)
{
    if (getAppState().project) {
        wxMessageDialog question(this, "Discard current project without saving?", wxMessageBoxCaptionStr,
                                 wxYES_NO | wxCANCEL);
        if (question.ShowModal() != wxID_YES)
            return;
    }
    PrivateFolder staging;
    const std::string path = staging.file("download.xsp");
    if (!client->downloadFile(entry.platformId, path)) {
        showNotice("Fail, please try again.");
        return;
    }
    try {
        // Throws, keeping the open project, for a file without a project.
        getAppState().loadProject(wxString::FromUTF8(path));
    } catch (const std::exception& error) {
        showNotice(wxString::FromUTF8("\"" + entry.name + "\" is not a Kovra project: " + error.what()));
        return;
    }
    getAppState().platformResourceId = entry.platformId;
    postEvent(eventTarget, EVT_PROJECT_CHANGED);
    postEvent(GetParent(), EVT_PROJECT_LOADED);
}

void KovraClientDialog::onClickRename(wxCommandEvent&)
{
    guarded([&] {
        const wxTreeListItem item = repository.selection();
        if (!item.IsOk())
            return;
        const PlatformEntry entry = repository.findEntry(item);
        wxTextEntryDialog dialog(this, "Rename", "New name", wxString::FromUTF8(entry.name), wxOK | wxCANCEL);
        if (dialog.ShowModal() != wxID_OK)
            return;
        const std::string name = dialog.GetValue().utf8_string();
        if (entry.kind == "Asset")
            client->renameAsset(entry.platformId, name);
        else if (entry.kind == "Folder")
            client->renameFolder(entry.platformId, name);
        else
            client->renameResource(entry.platformId, name);
        // Only a name the platform took is shown; the entry keeps the old one.
        tree->SetItemText(item, 0, wxString::FromUTF8(name));
    });
}

void KovraClientDialog::onClickDelete(wxCommandEvent&)
{
    guarded([&] {
        const wxTreeListItem item = repository.selection();
        if (!item.IsOk())
            return;
        if (!askQuestion("Confirm delete?"))
            return;
        const PlatformEntry entry = repository.findEntry(item);
        if (entry.kind == "Asset")
            client->deleteAsset(entry.platformId);
        else if (entry.kind == "Folder")
            client->deleteFolder(entry.platformId);
        else
            client->deleteResource(entry.platformId);
        repository.removeRow(item);
    });
}

void KovraClientDialog::onUpdateConnect(wxUpdateUIEvent& event)
{
    event.Enable(mode == MODE_BROWSE && !client->isConnected());
}

void KovraClientDialog::onUpdateDisconnect(wxUpdateUIEvent& event)
{
    event.Enable(mode == MODE_BROWSE && client->isConnected());
}

void KovraClientDialog::onUpdateDownload(wxUpdateUIEvent& event)
{
    event.Enable(repository.selectedEntry().kind == "Resource");
}

void KovraClientDialog::onUpdateSelectionButtons(wxUpdateUIEvent& event)
{
    event.Enable(repository.selection().IsOk());
}

void KovraClientDialog::onClickSave(wxCommandEvent&)
{
    guarded([&] { saveProject(); });
}

void KovraClientDialog::saveProject()
{
    const wxTreeListItem selected = repository.selection();
    const std::shared_ptr<bg::Project> project = getAppState().project;
    if (!project) {
        askQuestion("No project to save");
        return;
    }
    bool overwrite = true;
    std::string newName;
    const std::string oldId = getAppState().platformResourceId;
    wxTreeListItem oldRow;
    if (!oldId.empty()) {
        wxMessageDialog question(this, "Overwrite current project or save with a new name?", wxMessageBoxCaptionStr,
                                 wxYES_NO | wxCANCEL);
        question.SetYesNoCancelLabels("Overwrite", "Rename", "Cancel");
        const int answer = question.ShowModal();
        if (answer != wxID_YES && answer != wxID_NO)
            return;
        if (answer == wxID_NO) {
            wxTextEntryDialog dialog(this, "Enter new name for file", wxEmptyString, "New name?", wxOK | wxCANCEL);
            if (dialog.ShowModal() != wxID_OK)
                return;
            newName = dialog.GetValue().utf8_string();
            overwrite = false;
        }
        for (const auto& entry : repository.getResources()) {
            if (entry.platformId == oldId)
                oldRow = entry.item;
        }
    }
    const bool projectFile = fileTypes->IsChecked(static_cast<unsigned>(fileTypes->FindString("Project File")));
    const bool ifcFile = fileTypes->IsChecked(static_cast<unsigned>(fileTypes->FindString("IFC File")));
    if (!selected.IsOk()) {
        askQuestion("Please select a location in the repository list above to save your file.");
        return;
    }
    const PlatformEntry target = repository.selectedTarget();
    const std::string chosenName = overwrite ? project->name : newName;
    PrivateFolder staging;

    if (projectFile) {
        std::stringstream text;
        project->saveToStream(text);
        const std::string fileName = chosenName + ".xsp";
        // Staged under a fixed name: the project's name is free text.
        const std::string path = staging.file("project.xsp");
        writeCompletely(path, text.str());
        // The old copy goes only once the new one is stored.
        const std::string replaceId = overwrite ? oldId : std::string();
        const Upload stored = upload(*client, path, fileName, target.platformId, replaceId);
        if (stored.replaced)
            repository.removeRow(oldRow);
        getAppState().platformResourceId = stored.resource.id;
        repository.addResourceRow(target.item, stored.resource.id, stored.resource.name, "", stored.resource.date);
        if (!stored.notice.empty())
            showNotice(wxString::FromUTF8(stored.notice));
    }

    if (ifcFile && !project->proposals.empty()) {
        const std::shared_ptr<bg::Proposal> proposal = project->proposals.front();
        if (!proposal->getBuilding()) {
            showNotice("The first proposal has no building, so no IFC file was saved.");
        } else {
            const std::vector<KovraClient::KovraUser> users = client->getUsers();
            const std::string author = users.empty() ? std::string() : users.front().name;
            const std::string fileName = chosenName + ".ifc";
            const std::string path = staging.file("model.ifc");
            bgexport::exportProposal(project, proposal, path, bgexport::schemaIfc4, *bgexport::getExportSettings(),
                                     author);
            checkStagedFile(path);
            const Upload stored = upload(*client, path, fileName, target.platformId, std::string());
            repository.addResourceRow(target.item, stored.resource.id, stored.resource.name, "",
                                      stored.resource.date);
            if (!stored.notice.empty())
                showNotice(wxString::FromUTF8(stored.notice));
        }
    }
    Close();
}
