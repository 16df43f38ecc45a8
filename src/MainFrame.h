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

private:
    void buildRibbon();
    void buildSitePage(const wxString& bitmapPrefix);

    void onClose(wxCloseEvent& event);
    void onPageChanged(wxAuiNotebookEvent& event);
    void onPageClose(wxAuiNotebookEvent& event);
    void onPaneClose(wxAuiManagerEvent& event);
    void onAbout(wxCommandEvent& event);
    void onUpdateNeedsProject(wxUpdateUIEvent& event);
    void onUpdateNeedsBuilding(wxUpdateUIEvent& event);
    void onUpdateNewProposal(wxUpdateUIEvent& event);
    void onUpdatePlatformSave(wxUpdateUIEvent& event);

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
