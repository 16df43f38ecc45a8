// The main window's project commands: new, load and save project, the
// platform, the creating commands and the import, and "About".

#include "MainFrame.h"

#include "AboutDialog.h"
#include "AppState.h"
#include "CommandGuard.h"
#include "CommandRules.h"
#include "Events.h"
#include "FileDialog.h"
#include "platformui/KovraClientDialog.h"
#include "ProjectPane.h"
#include "ProposalDialog.h"
#include "platformui/RequirementPlatformDialog.h"
#include "RibbonTable.h"
#include "site/SitePane.h"

#include "model/Building.h"
#include "model/Project.h"
#include "model/Proposal.h"
#include "model/Requirement.h"
#include "model/RequirementFile.h"
#include "model/Site.h"
#include "platform/KovraClient.h"

#include <wx/aui/auibook.h>
#include <wx/busyinfo.h>
#include <wx/filedlg.h>
#include <wx/msgdlg.h>
#include <wx/ribbon/bar.h>
#include <wx/textdlg.h>

#include <stdexcept>

namespace {

// Asks for a new object's name; false when the user cancelled. An empty name
// is refused by the dialog itself when allowEmpty is false.
bool askName(wxWindow* parent, const char* caption, const char* message, bool allowEmpty, std::string& name)
{
    wxTextEntryDialog dialog(parent, message, caption, wxEmptyString, wxOK | wxCANCEL | wxCENTRE);
    if (!allowEmpty)
        dialog.SetTextValidator(wxFILTER_EMPTY);
    if (dialog.ShowModal() != wxID_OK)
        return false;
    name = dialog.GetValue().utf8_string();
    return true;
}

// Replacing the open project discards what was not saved: only Yes goes on.
bool confirmReplacingProject()
{
    if (!getAppState().project)
        return true;
    return wxMessageBox("Please ensure you have saved the current opened project.", wxMessageBoxCaptionStr,
                        wxYES_NO | wxNO_DEFAULT | wxICON_INFORMATION, nullptr)
           == wxYES;
}

// The open project, for a command that adds to it; throws when none is open
// (the tree's menu reaches the commands without the ribbon's rules).
bg::Project& openProject()
{
    if (!getAppState().project)
        throw std::runtime_error("Open or create a project first.");
    return *getAppState().project;
}

void tellUser(wxWindow* parent, const wxString& text)
{
    wxMessageBox(text, wxMessageBoxCaptionStr, wxOK | wxCENTRE, parent);
}

} // namespace

void MainFrame::onClickAbout(wxCommandEvent&)
{
    runCommand(this, [&] {
        AboutDialog dialog(this);
        dialog.ShowModal();
    });
}

void MainFrame::onClickNewProject(wxCommandEvent&)
{
    runCommand(this, [&] {
        if (!confirmReplacingProject())
            return;
        std::string name;
        if (!askName(this, "New project", "Project name", true, name))
            return;
        getAppState().project = std::make_shared<bg::Project>(name);
        // A new project has no copy on the platform: an id left from the
        // project opened before would make "Overwrite" delete that file.
        getAppState().platformResourceId.clear();
        postEvent(projectPane, EVT_PROJECT_CHANGED);
        notebook->DeleteAllPages();
    });
}

void MainFrame::onClickLoadProject(wxCommandEvent&)
{
    runCommand(this, [&] { loadProject(); });
    ribbonBar->SetActivePage(static_cast<size_t>(RIBBON_PAGE_PROJECT));
}

void MainFrame::loadProject()
{
    if (!confirmReplacingProject())
        return;
    FileDialog dialog(this, FileKind::Project, "Open project", "Project files (*.xsp)|*.xsp",
                      wxFD_OPEN | wxFD_FILE_MUST_EXIST);
    if (!dialog.choose())
        return;
    std::vector<std::string> warnings;
    try {
        warnings = getAppState().loadProject(dialog.chosenPath());
    } catch (const std::exception& error) {
        // The open project, its tree and its pages stay as they were.
        tellUser(nullptr, wxString::FromUTF8(error.what()));
        return;
    }
    getAppState().platformResourceId.clear();
    postEvent(projectPane, EVT_PROJECT_CHANGED);
    notebook->DeleteAllPages();
    if (!warnings.empty()) {
        wxString text = "The project was opened. Some of its file was damaged and mended:";
        for (const auto& warning : warnings)
            text += "\n- " + wxString::FromUTF8(warning);
        tellUser(this, text);
    }
}

void MainFrame::onClickSaveProject(wxCommandEvent&)
{
    runCommand(this, [&] { saveProject(); });
}

void MainFrame::saveProject()
{
    if (!getAppState().project) {
        tellUser(this, "There is no open project to save.");
        return;
    }
    FileDialog dialog(this, FileKind::Project, "Save project", "Project files (*.xsp)|*.xsp",
                      wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
    if (!dialog.choose())
        return;
    try {
        getAppState().saveProject(dialog.chosenPath());
    } catch (const std::exception& error) {
        tellUser(nullptr, wxString::FromUTF8(error.what()));
    }
}

void MainFrame::onClickPlatform(wxCommandEvent&)
{
    runCommand(this, [&] {
        KovraClientDialog dialog(this, client.get(), projectPane, KovraClientDialog::MODE_BROWSE);
        dialog.ShowModal();
    });
}

void MainFrame::onClickPlatformSaveProject(wxCommandEvent&)
{
    runCommand(this, [&] {
        KovraClientDialog dialog(this, client.get(), projectPane, KovraClientDialog::MODE_SAVE);
        dialog.ShowModal();
    });
}

void MainFrame::onClickNewBuilding(wxCommandEvent&)
{
    runCommand(this, [&] {
        bg::Project& project = openProject();
        std::string name;
        if (!askName(this, "New building", "New building", false, name))
            return;
        auto building = std::make_shared<bg::Building>(name);
        project.addBuilding(building);
        openBuildingPage(building);
        postObjectEvent(projectPane, EVT_BUILDING_ADDED, building);
    });
}

void MainFrame::onClickNewRequirementSet(wxCommandEvent&)
{
    runCommand(this, [&] {
        bg::Project& project = openProject();
        std::string name;
        if (!askName(this, "New requirement set", "New requirement set", false, name))
            return;
        auto requirementSet = std::make_shared<bg::RequirementSet>(name);
        project.addRequirementSet(requirementSet);
        openRequirementSetPage(requirementSet);
        postObjectEvent(projectPane, EVT_REQUIREMENT_SET_ADDED, requirementSet);
    });
}

void MainFrame::onClickImportRequirementSet(wxCommandEvent&)
{
    runCommand(this, [&] {
        openProject();
        if (client->isConnected()) {
            wxMessageDialog question(this, "Do you want to import from Kovra Platform or from this PC?", "Import",
                                     wxYES_NO | wxCANCEL);
            question.SetYesNoCancelLabels("From Kovra Platform", "From this PC", "Cancel");
            const int answer = question.ShowModal();
            if (answer == wxID_CANCEL)
                return;
            if (answer == wxID_YES) {
                importRequirementSetFromPlatform();
                return;
            }
        }
        FileDialog dialog(this, FileKind::Requirements, "Import CSV file", "CSV files (*.csv)|*.csv",
                          wxFD_OPEN | wxFD_FILE_MUST_EXIST);
        if (!dialog.choose())
            return;
        wxBusyInfo busy("Importing...");
        importRequirementSet(dialog.chosenPath());
    });
}

void MainFrame::importRequirementSetFromPlatform()
{
    bg::Project& project = openProject();
    auto requirementSet = std::make_shared<bg::RequirementSet>();
    RequirementPlatformDialog dialog(this, client.get(), projectPane, requirementSet,
                                     RequirementPlatformDialog::MODE_IMPORT);
    // The dialog fills the set only from a file read completely.
    if (dialog.ShowModal() != wxID_OK)
        return;
    project.addRequirementSet(requirementSet);
    openRequirementSetPage(requirementSet);
    postObjectEvent(projectPane, EVT_REQUIREMENT_SET_ADDED, requirementSet);
}

void MainFrame::importRequirementSet(const wxString& path)
{
    bg::Project& project = openProject();
    auto requirementSet = std::make_shared<bg::RequirementSet>(requirementSetNameFor(path.utf8_string()));
    // Read completely before anything is added.
    std::vector<int> lines;
    requirementSet->requirements = bg::importRequirementsCsv(std::string(path.fn_str()), &lines);
    // What "Start" would refuse is said now, while the file is at hand; the
    // levels are those of the project's buildings, when it has any.
    std::vector<int> levels;
    for (const auto& building : project.buildings)
        for (const auto& floor : building->floors)
            levels.push_back(floor->level);
    const std::vector<std::string> problems = bg::requirementFileProblems(
        requirementSet->requirements, lines, project.buildings.empty() ? nullptr : &levels);
    project.addRequirementSet(requirementSet);
    openRequirementSetPage(requirementSet);
    postObjectEvent(projectPane, EVT_REQUIREMENT_SET_ADDED, requirementSet);
    if (!problems.empty()) {
        std::string text = "The requirement set was imported, but \"Start\" will refuse it until these are mended:";
        for (const std::string& problem : problems)
            text += "\n" + problem;
        tellUser(this, wxString::FromUTF8(text));
    }
}

void MainFrame::onClickNewSite(wxCommandEvent&)
{
    runCommand(this, [&] {
        bg::Project& project = openProject();
        std::string name;
        if (!askName(this, "New site", "Site name", true, name))
            return;
        auto site = std::make_shared<bg::Site>();
        site->name = name;
        project.sites.push_back(site);
        openSitePage(site);
        postObjectEvent(projectPane, EVT_SITE_ADDED, site);
    });
}

void MainFrame::onClickNewProposal(wxCommandEvent&)
{
    runCommand(this, [&] {
        bg::Project& project = openProject();
        if (project.buildings.empty() || project.requirementSets.empty()) {
            tellUser(this, "A proposal needs a building and a requirement set: make both first.");
            return;
        }
        ProposalDialog dialog(this, wxEmptyString);
        if (dialog.ShowModal() != wxID_OK)
            return;
        if (!dialog.building || !dialog.requirementSet) {
            tellUser(this, "A proposal needs a building and a requirement set: choose both.");
            return;
        }
        auto proposal = bg::Proposal::create(dialog.name.utf8_string(), dialog.building, dialog.requirementSet);
        project.proposals.push_back(proposal);
        openProposalPage(proposal);
        postObjectEvent(projectPane, EVT_PROPOSAL_ADDED, proposal);
    });
}
