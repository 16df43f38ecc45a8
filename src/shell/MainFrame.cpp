#include "MainFrame.h"

#include "AppState.h"
#include "AboutDialog.h"
#include "building/BuildingPane.h"
#include "CommandGuard.h"
#include "Events.h"
#include "proposal/ProposalPane.h"
#include "requirements/RequirementSetPane.h"
#include "site/SitePane.h"
#include "CommandRules.h"
#include "KovraPage.h"
#include "ProjectPane.h"
#include "ReportPane.h"
#include "RibbonEventHandler.h"
#include "RibbonTable.h"
#include "platform/KovraClient.h"

#include <wx/accel.h>
#include <wx/aui/auibook.h>
#include <wx/display.h>
#include <wx/icon.h>
#include <wx/image.h>
#include <wx/intl.h>
#include <wx/log.h>
#include <wx/msgdlg.h>
#include <wx/ribbon/art.h>
#include <wx/ribbon/bar.h>
#include <wx/ribbon/buttonbar.h>
#include <wx/ribbon/page.h>
#include <wx/ribbon/panel.h>
#include <wx/sizer.h>
#include <wx/wupdlock.h>

#include "model/Building.h"
#include "model/Project.h"
#include "model/Proposal.h"
#include "model/Requirement.h"
#include "model/Site.h"

#include <map>
#include <vector>

namespace {

// A text of the page "Site" goes through the translation lookup.
wxString ribbonText(const RibbonPageEntry& page, const char* text)
{
    return page.translated ? wxGetTranslation(text) : wxString(text);
}

void addRibbonPage(wxRibbonBar* ribbonBar, const RibbonPageEntry& pageEntry)
{
    auto* page = new wxRibbonPage(ribbonBar, pageEntry.id, ribbonText(pageEntry, pageEntry.label));
    for (const auto& panelEntry : pageEntry.panels) {
        auto* panel = new wxRibbonPanel(page, wxID_ANY, ribbonText(pageEntry, panelEntry.label));
        auto* buttons = new wxRibbonButtonBar(panel);
        for (const auto& buttonEntry : panelEntry.buttons) {
            const wxBitmap bitmap = loadRibbonBitmap(buttonEntry.bitmap);
            // The library's own disabled picture is the icon in grey, which
            // grey icons share with their enabled look: a faded one differs.
            const wxBitmap faded = bitmap.IsOk() ? wxBitmap(bitmap.ConvertToImage().ConvertToDisabled()) : bitmap;
            auto* item = buttons->AddButton(
                buttonEntry.id, ribbonText(pageEntry, buttonEntry.label), bitmap, wxNullBitmap, faded, wxNullBitmap,
                buttonEntry.kind == RibbonButtonKind::Toggle ? wxRIBBON_BUTTON_TOGGLE : wxRIBBON_BUTTON_NORMAL,
                ribbonText(pageEntry, pageEntry.helpText));
            buttons->SetItemClientObject(item, new RibbonButtonData(&buttonEntry, bitmap.IsOk()));
        }
        if (pageEntry.translated)
            buttons->Realize();
    }
}

// The page of an object in one of the application state's page maps; null
// when it has none.
template <class T>
wxWindow* pageOf(const std::map<std::shared_ptr<T>, wxWindow*>& pages, const std::shared_ptr<T>& object)
{
    const auto found = pages.find(object);
    return found == pages.end() ? nullptr : found->second;
}

// The object an object event is about, owned again.
template <class T>
std::shared_ptr<T> objectOf(const wxCommandEvent& event)
{
    return eventObject<T>(event)->shared_from_this();
}

void initImageHandlers()
{
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))
        wxInitAllImageHandlers();
}

} // namespace

MainFrame::MainFrame()
    : wxFrame(nullptr, ID_MAIN_FRAME, "Kovra Floorsmith V1.5", wxDefaultPosition, wxDefaultSize,
              wxDEFAULT_FRAME_STYLE),
      client(std::make_unique<KovraClient::cKovraClient>())
{
    // The ICO handler must exist before the icon is read.
    initImageHandlers();
    SetIcon(wxIcon("kovra.ico", wxBITMAP_TYPE_ICO, 16, 16));
    auto* sizer = new wxBoxSizer(wxVERTICAL);

    buildRibbon();
    sizer->Add(ribbonBar, 0, wxEXPAND);
    mainPanel = new wxPanel(this, ID_MAIN_PANEL, wxDefaultPosition, wxDefaultSize, wxTAB_TRAVERSAL);
    sizer->Add(mainPanel, 1, wxEXPAND);

    auiManager.SetManagedWindow(mainPanel);
    projectPane = new ProjectPane(mainPanel);
    notebook = new wxAuiNotebook(mainPanel, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                                 wxAUI_NB_DEFAULT_STYLE | wxAUI_NB_TAB_FIXED_WIDTH);
    reportPane = new ReportPane(mainPanel);
    auiManager.AddPane(projectPane,
                       wxAuiPaneInfo().Left().Caption("Project").CloseButton(false).MinSize(wxSize(200, 0)));
    auiManager.AddPane(notebook, wxAuiPaneInfo().CenterPane());
    auiManager.AddPane(reportPane,
                       wxAuiPaneInfo().Bottom().Resizable().BottomDockable().Caption("Report").Hide());
    auiManager.Update();

    SetSizer(sizer);
    // The work area leaves out the desktop's panels.
    const wxRect area = wxDisplay(this).GetClientArea();
    const FrameSize size = initialFrameSize(area.width, area.height);
    SetSize(size.width, size.height);
    Centre(wxBOTH);
    Layout();

    Bind(wxEVT_CLOSE_WINDOW, &MainFrame::onClose, this, ID_MAIN_FRAME);
    notebook->Bind(wxEVT_AUINOTEBOOK_PAGE_CHANGED, &MainFrame::onPageChanged, this);
    notebook->Bind(wxEVT_AUINOTEBOOK_PAGE_CLOSE, &MainFrame::onPageClose, this);
    Bind(wxEVT_RIBBONBUTTONBAR_CLICKED, &MainFrame::onClickAbout, this, ID_ABOUT);
    Bind(wxEVT_RIBBONBUTTONBAR_CLICKED, &MainFrame::onClickNewProject, this, ID_NEW_PROJECT);
    Bind(wxEVT_RIBBONBUTTONBAR_CLICKED, &MainFrame::onClickLoadProject, this, ID_LOAD_PROJECT);
    Bind(wxEVT_RIBBONBUTTONBAR_CLICKED, &MainFrame::onClickSaveProject, this, ID_SAVE_PROJECT);
    Bind(wxEVT_RIBBONBUTTONBAR_CLICKED, &MainFrame::onClickPlatform, this, ID_PLATFORM);
    Bind(wxEVT_RIBBONBUTTONBAR_CLICKED, &MainFrame::onClickPlatformSaveProject, this, ID_PLATFORM_SAVE_PROJECT);
    Bind(wxEVT_RIBBONBUTTONBAR_CLICKED, &MainFrame::onClickNewBuilding, this, ID_NEW_BUILDING);
    Bind(wxEVT_RIBBONBUTTONBAR_CLICKED, &MainFrame::onClickNewRequirementSet, this, ID_NEW_REQUIREMENT_SET);
    Bind(wxEVT_RIBBONBUTTONBAR_CLICKED, &MainFrame::onClickImportRequirementSet, this, ID_IMPORT_REQUIREMENT_SET);
    Bind(wxEVT_RIBBONBUTTONBAR_CLICKED, &MainFrame::onClickNewSite, this, ID_NEW_SITE);
    Bind(wxEVT_RIBBONBUTTONBAR_CLICKED, &MainFrame::onClickNewProposal, this, ID_NEW_PROPOSAL);
    // The project commands' usual keys reach the same handlers.
    Bind(wxEVT_MENU, &MainFrame::onClickNewProject, this, ID_NEW_PROJECT);
    Bind(wxEVT_MENU, &MainFrame::onClickLoadProject, this, ID_LOAD_PROJECT);
    Bind(wxEVT_MENU, &MainFrame::onClickSaveProject, this, ID_SAVE_PROJECT);
    std::vector<wxAcceleratorEntry> keys;
    for (const CommandKey& key : projectCommandKeys())
        keys.emplace_back(wxACCEL_CTRL, key.key, key.id);
    SetAcceleratorTable(wxAcceleratorTable(static_cast<int>(keys.size()), keys.data()));
    Bind(EVT_NEW_BUILDING, &MainFrame::onClickNewBuilding, this);
    Bind(EVT_NEW_REQUIREMENT_SET, &MainFrame::onClickNewRequirementSet, this);
    Bind(EVT_IMPORT_REQUIREMENT_SET, &MainFrame::onClickImportRequirementSet, this);
    Bind(EVT_NEW_SITE, &MainFrame::onClickNewSite, this);
    Bind(EVT_NEW_PROPOSAL, &MainFrame::onClickNewProposal, this);
    for (int id : {ID_NEW_BUILDING, ID_NEW_PROPOSAL, ID_NEW_REQUIREMENT_SET, ID_IMPORT_REQUIREMENT_SET, ID_NEW_SITE,
                   ID_PLATFORM_SAVE_PROJECT})
        Bind(wxEVT_UPDATE_UI, &MainFrame::onUpdateCommand, this, id);
    auiManager.Bind(wxEVT_AUI_PANE_CLOSE, &MainFrame::onPaneClose, this);

    Bind(EVT_OPEN_BUILDING, &MainFrame::onOpenBuilding, this);
    Bind(EVT_OPEN_REQUIREMENT_SET, &MainFrame::onOpenRequirementSet, this);
    Bind(EVT_OPEN_PROPOSAL, &MainFrame::onOpenProposal, this);
    Bind(EVT_OPEN_SITE, &MainFrame::onOpenSite, this);
    Bind(EVT_BUILDING_DELETED, &MainFrame::onBuildingDeleted, this);
    Bind(EVT_REQUIREMENT_SET_DELETED, &MainFrame::onRequirementSetDeleted, this);
    Bind(EVT_PROPOSAL_DELETED, &MainFrame::onProposalDeleted, this);
    Bind(EVT_SITE_DELETED, &MainFrame::onSiteDeleted, this);
    Bind(EVT_BUILDING_NAME_CHANGED, &MainFrame::onBuildingNameChanged, this);
    Bind(EVT_REQUIREMENT_SET_NAME_CHANGED, &MainFrame::onRequirementSetNameChanged, this);
    Bind(EVT_PROPOSAL_NAME_CHANGED, &MainFrame::onProposalNameChanged, this);
    Bind(EVT_SITE_NAME_CHANGED, &MainFrame::onSiteNameChanged, this);
    Bind(EVT_SHOW_PROJECT_RIBBON, [this](wxCommandEvent&) { showRibbonPage(RIBBON_PAGE_PROJECT); });
    Bind(EVT_SHOW_BUILDING_RIBBON, [this](wxCommandEvent&) { showRibbonPage(RIBBON_PAGE_BUILDING); });
    Bind(EVT_SHOW_REQUIREMENTS_RIBBON, [this](wxCommandEvent&) { showRibbonPage(RIBBON_PAGE_REQUIREMENTS); });
    Bind(EVT_SHOW_PROPOSAL_RIBBON, [this](wxCommandEvent&) { showRibbonPage(RIBBON_PAGE_PROPOSAL); });
    Bind(EVT_SHOW_SITE_RIBBON, [this](wxCommandEvent&) { showRibbonPage(RIBBON_PAGE_SITE); });
    Bind(EVT_PROJECT_LOADED, &MainFrame::onProjectLoaded, this);
}

MainFrame::~MainFrame()
{
    auiManager.UnInit();
    // Each page unregisters itself from the application state and unbinds
    // from the ribbon bar, which must still exist then.
    notebook->DeleteAllPages();
    notebook->Destroy();
    projectPane->Destroy();
}

void MainFrame::buildRibbon()
{
    ribbonBar = new wxRibbonBar(this, ID_RIBBON_BAR, wxDefaultPosition, wxDefaultSize,
                                wxRIBBON_BAR_SHOW_PAGE_LABELS | wxRIBBON_BAR_SHOW_PANEL_EXT_BUTTONS);
    auto* art = new wxRibbonMSWArtProvider;
    art->SetColourScheme(wxColour(194, 216, 241), wxColour(255, 223, 114), wxColour(0, 0, 0));
    // The scheme gives disabled labels the colour of enabled ones.
    art->SetColour(wxRIBBON_ART_BUTTON_BAR_LABEL_DISABLED_COLOUR, wxColour(128, 128, 128));
    ribbonBar->SetArtProvider(art);

    const auto& table = ribbonTable();
    for (int k = RIBBON_PAGE_PROJECT; k <= RIBBON_PAGE_PROPOSAL; ++k)
        addRibbonPage(ribbonBar, table[k]);
    buildSitePage();

    ribbonBar->SetActivePage(static_cast<size_t>(RIBBON_PAGE_PROJECT));
    for (int k : {RIBBON_PAGE_SITE, RIBBON_PAGE_BUILDING, RIBBON_PAGE_REQUIREMENTS, RIBBON_PAGE_PROPOSAL})
        ribbonBar->HidePage(k);
    ribbonBar->Realize();
}

// The page "Site" passes its texts through the translation lookup, realises
// each button bar itself and gives its buttons a help text (its table row).
void MainFrame::buildSitePage()
{
    addRibbonPage(ribbonBar, ribbonTable()[RIBBON_PAGE_SITE]);
}

void MainFrame::showRibbonPage(int k)
{
    ribbonBar->ShowPage(k);
    if (k != RIBBON_PAGE_PROJECT) {
        for (int other = RIBBON_PAGE_BUILDING; other <= RIBBON_PAGE_SITE; ++other) {
            if (other != k)
                ribbonBar->HidePage(other);
        }
    }
    ribbonBar->AddPageHighlight(k);
    ribbonBar->SetActivePage(static_cast<size_t>(k));
    ribbonBar->Realize();
}

void MainFrame::showRibbonPageIf(wxWindow* page, int k)
{
    auto* kovraPage = dynamic_cast<KovraPage*>(page);
    if (kovraPage && kovraPage->ribbonPage == k) {
        ribbonBar->ShowPage(k);
        ribbonBar->AddPageHighlight(k);
        ribbonBar->SetActivePage(static_cast<size_t>(k));
    } else {
        ribbonBar->HidePage(k);
        ribbonBar->RemovePageHighlight(k);
    }
}

void MainFrame::onClose(wxCloseEvent& event)
{
    if (event.CanVeto()
        && wxMessageBox("Do you really want to quit Kovra Floorsmith?", wxMessageBoxCaptionStr,
                        wxYES_NO | wxNO_DEFAULT | wxICON_INFORMATION, nullptr)
               != wxYES) {
        event.Veto();
        return;
    }
    Destroy();
}

void MainFrame::onPageChanged(wxAuiNotebookEvent&)
{
    const int selection = notebook->GetSelection();
    if (selection == wxNOT_FOUND)
        return;
    wxWindow* page = notebook->GetPage(static_cast<size_t>(selection));
    for (int k : {RIBBON_PAGE_BUILDING, RIBBON_PAGE_SITE, RIBBON_PAGE_PROPOSAL, RIBBON_PAGE_REQUIREMENTS})
        showRibbonPageIf(page, k);
    auto* kovraPage = dynamic_cast<KovraPage*>(page);
    if (kovraPage && kovraPage->ribbonPage == RIBBON_PAGE_PROJECT)
        ribbonBar->SetActivePage(static_cast<size_t>(RIBBON_PAGE_PROJECT));
    if (auto* handler = dynamic_cast<RibbonEventHandler*>(page))
        handler->bindRibbonEvents(ribbonBar);
    ribbonBar->Realize();
}

void MainFrame::onPageClose(wxAuiNotebookEvent& event)
{
    // Not vetoed: the notebook destroys the page, whose destructor
    // unregisters it and drops its ribbon bindings.
    event.Skip();
}

void MainFrame::onPaneClose(wxAuiManagerEvent& event)
{
    if (event.GetPane() && event.GetPane()->window == reportPane)
        reportPane = nullptr;
    event.Skip();
}

void MainFrame::onUpdateCommand(wxUpdateUIEvent& event)
{
    event.Enable(isCommandEnabled(event.GetId(), commandContext(getAppState().project.get(), client->isConnected())));
}

void MainFrame::openBuildingPage(const std::shared_ptr<bg::Building>& building)
{
    auto* page = new BuildingPane(notebook, projectPane, ribbonBar, building);
    notebook->AddPage(page, wxString::FromUTF8(building->name), true);
}

void MainFrame::openRequirementSetPage(const std::shared_ptr<bg::RequirementSet>& requirementSet)
{
    if (wxWindow* page = pageOf(getAppState().requirementSetPages, requirementSet)) {
        activatePage(page);
        return;
    }
    const auto& project = getAppState().project;
    std::shared_ptr<bg::Building> building;
    if (project && !project->buildings.empty())
        building = project->buildings.front();
    auto* page = new RequirementSetPane(notebook, ribbonBar, requirementSet, building);
    page->client = client.get();
    page->projectPane = projectPane;
    notebook->AddPage(page, wxString::FromUTF8(requirementSet->name), true);
}

void MainFrame::openProposalPage(const std::shared_ptr<bg::Proposal>& proposal)
{
    // No repainting while the page builds its views; thawed on every path.
    wxWindowUpdateLocker lockNotebook(notebook);
    wxWindowUpdateLocker lockRibbon(ribbonBar);
    auto* page = new ProposalPane(notebook, ribbonBar, projectPane, proposal);
    notebook->AddPage(page, wxString::FromUTF8(proposal->name), true);
}

void MainFrame::openSitePage(const std::shared_ptr<bg::Site>& site)
{
    wxWindowUpdateLocker lockNotebook(notebook);
    wxWindowUpdateLocker lockRibbon(ribbonBar);
    auto* page = new SitePane(notebook, ribbonBar, site);
    notebook->AddPage(page, wxString::FromUTF8(site->name), true);
}

void MainFrame::activatePage(wxWindow* page)
{
    for (size_t i = 0; i < notebook->GetPageCount(); ++i) {
        if (notebook->GetPage(i) == page) {
            notebook->SetSelection(i);
            return;
        }
    }
}

void MainFrame::deletePage(wxWindow* page)
{
    const int index = page ? notebook->GetPageIndex(page) : wxNOT_FOUND;
    if (index != wxNOT_FOUND)
        notebook->DeletePage(static_cast<size_t>(index));
}

void MainFrame::retitlePage(wxWindow* page, const std::string& name)
{
    const int index = page ? notebook->GetPageIndex(page) : wxNOT_FOUND;
    if (index != wxNOT_FOUND)
        notebook->SetPageText(static_cast<size_t>(index), wxString::FromUTF8(name));
}

void MainFrame::onOpenBuilding(wxCommandEvent& event)
{
    runCommand(this, [&] {
        const auto building = objectOf<bg::Building>(event);
        if (wxWindow* page = pageOf(getAppState().buildingPages, building))
            activatePage(page);
        else
            openBuildingPage(building);
    });
}

void MainFrame::onOpenRequirementSet(wxCommandEvent& event)
{
    runCommand(this, [&] { openRequirementSetPage(objectOf<bg::RequirementSet>(event)); });
}

void MainFrame::onOpenProposal(wxCommandEvent& event)
{
    runCommand(this, [&] {
        const auto proposal = objectOf<bg::Proposal>(event);
        if (wxWindow* page = pageOf(getAppState().proposalPages, proposal))
            activatePage(page);
        else
            openProposalPage(proposal);
    });
}

void MainFrame::onOpenSite(wxCommandEvent& event)
{
    runCommand(this, [&] {
        const auto site = objectOf<bg::Site>(event);
        if (wxWindow* page = pageOf(getAppState().sitePages, site))
            activatePage(page);
        else
            openSitePage(site);
    });
}

void MainFrame::onBuildingDeleted(wxCommandEvent& event)
{
    runCommand(this, [&] { deletePage(pageOf(getAppState().buildingPages, objectOf<bg::Building>(event))); });
}

void MainFrame::onRequirementSetDeleted(wxCommandEvent& event)
{
    runCommand(this, [&] {
        deletePage(pageOf(getAppState().requirementSetPages, objectOf<bg::RequirementSet>(event)));
    });
}

void MainFrame::onProposalDeleted(wxCommandEvent& event)
{
    runCommand(this, [&] { deletePage(pageOf(getAppState().proposalPages, objectOf<bg::Proposal>(event))); });
}

void MainFrame::onSiteDeleted(wxCommandEvent& event)
{
    runCommand(this, [&] { deletePage(pageOf(getAppState().sitePages, objectOf<bg::Site>(event))); });
}

void MainFrame::onBuildingNameChanged(wxCommandEvent& event)
{
    runCommand(this, [&] {
        const auto building = objectOf<bg::Building>(event);
        retitlePage(pageOf(getAppState().buildingPages, building), building->name);
    });
}

void MainFrame::onRequirementSetNameChanged(wxCommandEvent& event)
{
    runCommand(this, [&] {
        const auto requirementSet = objectOf<bg::RequirementSet>(event);
        retitlePage(pageOf(getAppState().requirementSetPages, requirementSet), requirementSet->name);
    });
}

void MainFrame::onProposalNameChanged(wxCommandEvent& event)
{
    runCommand(this, [&] {
        const auto proposal = objectOf<bg::Proposal>(event);
        retitlePage(pageOf(getAppState().proposalPages, proposal), proposal->name);
    });
}

void MainFrame::onSiteNameChanged(wxCommandEvent& event)
{
    runCommand(this, [&] {
        const auto site = objectOf<bg::Site>(event);
        retitlePage(pageOf(getAppState().sitePages, site), site->name);
    });
}

void MainFrame::onProjectLoaded(wxCommandEvent&)
{
    // The load derived the inner outlines before it replaced the project.
    runCommand(this, [&] {
        notebook->DeleteAllPages();
        ribbonBar->SetActivePage(static_cast<size_t>(RIBBON_PAGE_PROJECT));
    });
}
