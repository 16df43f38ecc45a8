#include "RequirementPlatformDialog.h"

#include "shell/AppState.h"
#include "PlatformRules.h"
#include "PlatformUpload.h"
#include "PrivateFolder.h"

#include "model/Project.h"
#include "model/Requirement.h"
#include "model/RequirementFile.h"
#include "platform/KovraClient.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include <algorithm>

namespace {

template <typename Command>
void guarded(Command&& command)
{
    try {
        command();
    } catch (const std::exception& error) {
        tellPlatformFailure(error);
    }
}

} // namespace

RequirementPlatformDialog::RequirementPlatformDialog(wxWindow* parent, KovraClient::cKovraClient* client,
                                                     ProjectPane*, std::shared_ptr<bg::RequirementSet> requirementSet,
                                                     int mode)
    : wxDialog(parent, ID_DIALOG, "Kovra File Manager", wxDefaultPosition, wxSize(600, 600),
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      client(client),
      requirementSet(std::move(requirementSet)),
      mode(mode),
      repository(this, client)
{
    tree = repository.control();
    auto* sizer = new wxBoxSizer(wxVERTICAL);

    auto* userRow = new wxBoxSizer(wxHORIZONTAL);
    userRow->Add(new wxStaticText(this, wxID_ANY, "Username: "), 0, wxALL, 5);
    userLabel = new wxStaticText(this, wxID_ANY, wxString::FromUTF8(client->getLogginUser().name));
    userRow->Add(userLabel, 0, wxALL, 5);
    sizer->Add(userRow, 0, wxALL, 5);

    auto* treeColumn = new wxBoxSizer(wxVERTICAL);
    treeColumn->Add(new wxStaticText(this, wxID_ANY, "Repository"), 0, wxALL, 5);
    treeColumn->Add(tree, 1, wxALL | wxEXPAND, 5);
    sizer->Add(treeColumn, 1, wxALL | wxEXPAND, 5);

    auto* buttonRow = new wxBoxSizer(wxHORIZONTAL);
    buttonRow->Add(new wxButton(this, PlatformTree::ID_NEW_PROJECT, "New Project"), 0, wxALL, 5);
    buttonRow->Add(new wxButton(this, PlatformTree::ID_NEW_FOLDER, "New Folder"), 0, wxALL, 5);
    auto* saveButton = new wxButton(this, ID_SAVE, "Save");
    buttonRow->Add(saveButton, 0, wxALL, 5);
    buttonRow->Add(new wxButton(this, ID_IMPORT, "Import"), 0, wxALL, 5);
    if (mode == MODE_IMPORT)
        saveButton->Disable();
    sizer->Add(buttonRow, 0, wxALL, 5);

    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { guarded([&] { repository.onClickNewProject(this); }); },
         PlatformTree::ID_NEW_PROJECT);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { guarded([&] { repository.onClickNewFolder(this); }); },
         PlatformTree::ID_NEW_FOLDER);
    Bind(wxEVT_BUTTON, &RequirementPlatformDialog::onClickSave, this, ID_SAVE);
    Bind(wxEVT_BUTTON, &RequirementPlatformDialog::onClickImport, this, ID_IMPORT);
    Bind(wxEVT_UPDATE_UI, &RequirementPlatformDialog::onUpdateSave, this, ID_SAVE);
    Bind(wxEVT_UPDATE_UI, &RequirementPlatformDialog::onUpdateImport, this, ID_IMPORT);

    guarded([&] { repository.refreshTree(); });
    repository.selectByPlatformId();
    SetSizer(sizer);
    sizer->SetSizeHints(this);
    SetSize(wxSize(std::max(600, GetSize().x), std::max(600, GetSize().y)));
    Layout();
    Centre(wxBOTH);
}

RequirementPlatformDialog::~RequirementPlatformDialog() = default;

void RequirementPlatformDialog::onUpdateSave(wxUpdateUIEvent& event)
{
    event.Enable(requirementSet && mode == MODE_SAVE);
}

void RequirementPlatformDialog::onUpdateImport(wxUpdateUIEvent& event)
{
    const PlatformEntry entry = repository.selectedEntry();
    event.Enable(entry.kind == "Resource" && isRequirementFileName(entry.name));
}

void RequirementPlatformDialog::onClickSave(wxCommandEvent&)
{
    guarded([&] { save(); });
}

void RequirementPlatformDialog::onClickImport(wxCommandEvent&)
{
    guarded([&] { import(); });
}

void RequirementPlatformDialog::save()
{
    const wxTreeListItem selected = repository.selection();
    const std::shared_ptr<bg::Project> project = getAppState().project;
    if (!requirementSet)
        return;
    if (!selected.IsOk()) {
        askQuestion("Please select a location in the repository list above to save your file.");
        return;
    }
    const std::string fileName = (project ? project->name : std::string()) + "_" + requirementSet->name + ".csv";
    const PlatformEntry target = repository.selectedTarget();
    PrivateFolder staging;
    // Staged under a fixed name: project and set names are free text.
    const std::string path = staging.file("requirements.csv");
    bg::exportRequirementsCsv(requirementSet, path);
    checkStagedFile(path);
    const Upload stored = upload(*client, path, fileName, target.platformId, std::string());
    repository.addResourceRow(target.item, stored.resource.id, stored.resource.name, "", stored.resource.date);
    if (!stored.notice.empty())
        showNotice(wxString::FromUTF8(stored.notice));
    showNotice("File successfully saved.");
    SetReturnCode(wxID_OK);
    EndDialog(wxID_OK);
}

void RequirementPlatformDialog::import()
{
    const wxTreeListItem selected = repository.selection();
    if (!selected.IsOk() || !requirementSet)
        return;
    const PlatformEntry entry = repository.findEntry(selected);
    PrivateFolder staging;
    // Named as on the platform, so that the reader's messages name it too.
    const std::string path = staging.file(entry.name);
    if (!client->downloadFile(entry.platformId, path)) {
        showNotice("Fail, please try again.");
        return;
    }
    // Read completely before the set changes: a file that does not import
    // leaves the set and its name as they were.
    auto requirements = bg::importRequirementsCsv(path);
    requirementSet->name = nameBeforeFirstPoint(entry.name);
    requirementSet->requirements = std::move(requirements);
    imported = true;
    showNotice("File imported");
    SetReturnCode(wxID_OK);
    EndDialog(wxID_OK);
}

bool saveRequirementSetOnPlatform(wxWindow* page, KovraClient::cKovraClient* client, ProjectPane* projectPane,
                                  const std::shared_ptr<bg::RequirementSet>& requirementSet)
{
    bool imported = false;
    guarded([&] {
        RequirementPlatformDialog dialog(page, client, projectPane, requirementSet,
                                         RequirementPlatformDialog::MODE_SAVE);
        dialog.ShowModal();
        imported = dialog.importedIntoSet();
    });
    return imported;
}
