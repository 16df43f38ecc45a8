#pragma once

#include <wx/aui/aui.h>
#include <wx/frame.h>

#include <memory>

class ProjectPane;
class ReportPane;
class wxAuiNotebook;
class wxAuiNotebookEvent;
class wxPanel;
class wxRibbonBar;
class wxUpdateUIEvent;

namespace KovraClient {
class cKovraClient;
}

namespace bg {
class Building;
class Proposal;
class RequirementSet;
class Site;
} // namespace bg

// The application's main window: the ribbon bar, and below it a panel whose
// AUI manager docks the project tree on the left, the notebook of workspace
// pages in the centre and the hidden report pane at the bottom. It handles
// the commands of the ribbon table marked for the frame; the selected
// workspace page handles those of its ribbon page.
class MainFrame : public wxFrame {
public:
    MainFrame();
    ~MainFrame() override;

    wxRibbonBar* getRibbonBar() const { return ribbonBar; }
    wxAuiNotebook* getNotebook() const { return notebook; }
    ProjectPane* getProjectPane() const { return projectPane; }
    ReportPane* getReportPane() const { return reportPane; }
    wxAuiManager& getAuiManager() { return auiManager; }
    KovraClient::cKovraClient* getClient() const { return client.get(); }

    // Shows ribbon page k (a RibbonPage), hides the other workspace ribbon
    // pages and makes k the active page; the page "Project" stays shown.
    void showRibbonPage(int k);

    // Open a new page for the object, add it to the notebook and select it.
    void openBuildingPage(const std::shared_ptr<bg::Building>& building);
    // Activates the set's page instead when it has one.
    void openRequirementSetPage(const std::shared_ptr<bg::RequirementSet>& requirementSet);
    void openProposalPage(const std::shared_ptr<bg::Proposal>& proposal);
    void openSitePage(const std::shared_ptr<bg::Site>& site);
    // Selects the notebook page that is the window; nothing for another one.
    void activatePage(wxWindow* page);

    // The file commands: each asks for a file; a failure is shown and leaves
    // the open project, its tree and pages as they were.
    void loadProject();
    void saveProject();
    // Adds the requirement set read from the file, opens its page and lists
    // it; throws (naming file, line and column) and adds nothing when the
    // file does not import.
    void importRequirementSet(const wxString& path);
    // Adds the requirement set read from a file on the platform; nothing
    // when the user cancels.
    void importRequirementSetFromPlatform();

private:
    void buildRibbon();
    void buildSitePage();

    void onClose(wxCloseEvent& event);
    void onPageChanged(wxAuiNotebookEvent& event);
    void onPageClose(wxAuiNotebookEvent& event);
    void onPaneClose(wxAuiManagerEvent& event);
    void onClickAbout(wxCommandEvent& event);
    void onClickNewProject(wxCommandEvent& event);
    void onClickLoadProject(wxCommandEvent& event);
    void onClickSaveProject(wxCommandEvent& event);
    void onClickPlatform(wxCommandEvent& event);
    void onClickPlatformSaveProject(wxCommandEvent& event);
    void onClickNewBuilding(wxCommandEvent& event);
    void onClickNewRequirementSet(wxCommandEvent& event);
    void onClickImportRequirementSet(wxCommandEvent& event);
    void onClickNewSite(wxCommandEvent& event);
    void onClickNewProposal(wxCommandEvent& event);
    // Enables the frame's creating and platform commands by their rules.
    void onUpdateCommand(wxUpdateUIEvent& event);

    void onOpenBuilding(wxCommandEvent& event);
    void onOpenRequirementSet(wxCommandEvent& event);
    void onOpenProposal(wxCommandEvent& event);
    void onOpenSite(wxCommandEvent& event);
    void onBuildingDeleted(wxCommandEvent& event);
    void onRequirementSetDeleted(wxCommandEvent& event);
    void onProposalDeleted(wxCommandEvent& event);
    void onSiteDeleted(wxCommandEvent& event);
    void onBuildingNameChanged(wxCommandEvent& event);
    void onRequirementSetNameChanged(wxCommandEvent& event);
    void onProposalNameChanged(wxCommandEvent& event);
    void onSiteNameChanged(wxCommandEvent& event);
    void onProjectLoaded(wxCommandEvent& event);

    // Closes the page, when the notebook holds it.
    void deletePage(wxWindow* page);
    // Sets the page's title, when the notebook holds it.
    void retitlePage(wxWindow* page, const std::string& name);

    void showRibbonPageIf(wxWindow* page, int k);

    wxAuiManager auiManager;
    wxRibbonBar* ribbonBar = nullptr;
    // One page per open workspace object.
    wxAuiNotebook* notebook = nullptr;
    // The client area below the ribbon bar, managed by auiManager.
    wxPanel* mainPanel = nullptr;
    ProjectPane* projectPane = nullptr;
    // Null once its pane was closed.
    ReportPane* reportPane = nullptr;
    // The one platform client of the process, lent to the platform dialogs
    // and the requirement-set pages.
    std::unique_ptr<KovraClient::cKovraClient> client;
};
