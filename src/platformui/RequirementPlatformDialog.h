#pragma once

#include "PlatformTree.h"

#include <wx/dialog.h>

#include <memory>

class ProjectPane;
class wxStaticText;
class wxUpdateUIEvent;

namespace bg {
class RequirementSet;
}

namespace KovraClient {
class cKovraClient;
}

// Moves one requirement set between the program and the platform: mode 0
// saves it as a requirement file (CSV) into the repository, mode 1 fills it
// from a requirement file stored there and ends with wxID_OK. The user logs
// in through the file manager; this dialog has no login of its own.
//
// The set changes only when a whole file was read; a failing command shows
// its text and leaves the dialog open.
class RequirementPlatformDialog : public wxDialog {
public:
    enum Mode { MODE_SAVE = 0, MODE_IMPORT = 1 };
    enum { ID_DIALOG = 20175, ID_SAVE = 20186, ID_IMPORT = 20187 };

    // client: not owned; projectPane is told nothing.
    RequirementPlatformDialog(wxWindow* parent, KovraClient::cKovraClient* client, ProjectPane* projectPane,
                              std::shared_ptr<bg::RequirementSet> requirementSet, int mode);
    ~RequirementPlatformDialog() override;

    PlatformTree& platformTree() { return repository; }
    // Whether "Import" has replaced the set's name and requirements.
    bool importedIntoSet() const { return imported; }

    KovraClient::cKovraClient* client;
    wxTreeListCtrl* tree = nullptr;
    wxStaticText* userLabel = nullptr;
    std::shared_ptr<bg::RequirementSet> requirementSet;
    const int mode;

private:
    void onClickSave(wxCommandEvent& event);
    void onClickImport(wxCommandEvent& event);
    void onUpdateSave(wxUpdateUIEvent& event);
    void onUpdateImport(wxUpdateUIEvent& event);

    void save();
    void import();

    PlatformTree repository;
    bool imported = false;
};

// The requirement page's "On Kovra Platform": saves the set to the platform
// through the dialog in mode 0, shown modally over page. "Import" works there
// too; true when it replaced the set's requirements, which the page then
// shows anew. Never throws.
bool saveRequirementSetOnPlatform(wxWindow* page, KovraClient::cKovraClient* client, ProjectPane* projectPane,
                                  const std::shared_ptr<bg::RequirementSet>& requirementSet);
