#include "ProposalPane.h"

#include "shell/AppSettings.h"
#include "shell/AppState.h"
#include "shell/TableColumns.h"
#include "requirements/DiagramCtrl.h"
#include "shell/Events.h"
#include "ExportSettingsDialog.h"
#include "shell/FileDialog.h"
#include "FloorPlanCtrl.h"
#include "ProgressDialog.h"
#include "ProposalRules.h"

#include "export/ExportSettings.h"
#include "export/IfcExporter.h"
#include "layouter/Validation.h"
#include "model/Building.h"
#include "model/BuildingParameters.h"
#include "model/Proposal.h"
#include "model/Requirement.h"

#include <wx/busyinfo.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/dataview.h>
#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/log.h>
#include <wx/msgdlg.h>
#include <wx/ribbon/buttonbar.h>
#include <wx/sizer.h>
#include <wx/settings.h>
#include <wx/stattext.h>
#include <wx/utils.h>

#include <scip/scip.h>

#include <algorithm>
#include <exception>
#include <stdexcept>

namespace {

void notify(const std::string& text)
{
    wxMessageBox(wxString::FromUTF8(text), wxMessageBoxCaptionStr, wxOK | wxICON_INFORMATION);
}

// A table of the columns (title, width asked for); widest becomes at least
// the sum of the widths the columns got.
wxDataViewListCtrl* makeTable(wxWindow* parent, int id, const std::vector<std::pair<const char*, int>>& columns,
                              int& widest)
{
    auto* table = new wxDataViewListCtrl(parent, id, wxDefaultPosition, wxDefaultSize, wxDV_ROW_LINES);
    int total = 0;
    for (const auto& [title, asked] : columns) {
        const int width = titledColumnWidth(table, title, asked);
        table->AppendTextColumn(title, wxDATAVIEW_CELL_INERT, width, wxALIGN_LEFT,
                                wxDATAVIEW_COL_RESIZABLE | wxDATAVIEW_COL_SORTABLE);
        total += width;
    }
    widest = std::max(widest, total);
    return table;
}

template <std::size_t N>
void fillTable(wxDataViewListCtrl* table, const std::vector<std::array<std::string, N>>& rows)
{
    table->DeleteAllItems();
    for (const auto& row : rows) {
        wxVector<wxVariant> cells;
        for (const std::string& cell : row)
            cells.push_back(wxVariant(wxString::FromUTF8(cell)));
        table->AppendItem(cells);
    }
}

const char* const noBuildingText = "This proposal has no building: there is nothing to lay out.";

} // namespace

ProposalPane::ProposalPane(wxWindow* parent, wxRibbonBar* ribbonBar, ProjectPane* projectPane_,
                           const std::shared_ptr<bg::Proposal>& proposal_)
    : KovraPage(parent, RIBBON_PAGE_PROPOSAL, ID_PROPOSAL_PANE), proposal(proposal_), projectPane(projectPane_)
{
    building = proposal->getBuilding();
    if (building)
        currentFloor = building->root;
    buildWindow();
    Bind(EVT_OPTIMIZER_SLICE_DONE, &ProposalPane::onSliceDone, this);
    Bind(EVT_OPTIMIZER_FINISHED, &ProposalPane::onOptimizerFinished, this);
    Bind(EVT_OPTIMIZER_STOP, &ProposalPane::onOptimizerStop, this);
    buildTopology();
    bindRibbonEvents(ribbonBar);
    Layout();
    // Registered last: a constructor that throws leaves no entry behind
    // pointing at the freed page.
    getAppState().registerPage(proposal, this);
}

ProposalPane::~ProposalPane()
{
    getAppState().registerPage(proposal, nullptr);
}

void ProposalPane::buildWindow()
{
    SetSize(500, 300);
    SetWindowStyle(wxTAB_TRAVERSAL);
    auto* top = new wxBoxSizer(wxHORIZONTAL);
    auto* left = new wxBoxSizer(wxVERTICAL);
    auto* right = new wxBoxSizer(wxVERTICAL);
    top->Add(left, 3, wxEXPAND | wxALL, 5);
    top->Add(right, 1, wxEXPAND | wxALL, 5);
    // The page owns its sizers from the start, so that a table fill that
    // throws below leaves none behind.
    SetSizer(top);

    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    auto* planButton = new wxButton(this, ID_FLOOR_PLAN_VIEW_BUTTON, "Floor plan view");
    auto* topologyButton = new wxButton(this, ID_TOPOLOGY_VIEW_BUTTON, "Topology view");
    drawInnerWall = new wxCheckBox(this, ID_DRAW_INNER_WALL, "Draw inner wall");
    drawInnerWall->SetValue(false);
    buttons->Add(planButton, 0, wxLEFT, 5);
    buttons->Add(topologyButton, 0, wxLEFT, 5);
    buttons->Add(drawInnerWall, 0, wxLEFT, 10);
    left->Add(buttons, 0, wxTOP, 5);

    if (!building) {
        noBuildingNote = new wxStaticText(this, wxID_ANY,
                                          "This proposal names no building, so there is no floor plan to show.");
        left->Add(noBuildingNote, 0, wxALL, 10);
    }
    floorPlan = new FloorPlanCtrl(this);
    floorPlan->building = building;
    floorPlan->floor = currentFloor;
    floorPlan->proposal = proposal;
    left->Add(floorPlan, 1, wxEXPAND | wxALL, 5);
    topology = new DiagramCtrl(this);
    topology->Hide();
    left->Add(topology, 1, wxEXPAND | wxALL, 5);

    int tablesWidth = 0; // the widest table's columns
    solutionsTable = makeTable(this, ID_SOLUTIONS_TABLE,
                               {{"Index", 80}, {"Objective Value (area bias of all rooms)", 120}}, tablesWidth);
    right->Add(solutionsTable, 1, wxEXPAND | wxALL, 0);
    currentSolutionLabel = new wxStaticText(this, wxID_ANY, currentSolutionText(-1));
    right->Add(currentSolutionLabel, 0, wxEXPAND | wxALL, 5);
    levelsTable = makeTable(this, ID_LEVELS_TABLE,
                            {{"Level", 80}, {"Rooms number", 80}, {"Buildable Area", 80}, {"Used Area", 80},
                             {"Unused Area", 80}},
                            tablesWidth);
    right->Add(levelsTable, 1, wxEXPAND, 0);
    fillLevelsTable();
    currentLevelLabel = new wxStaticText(this, wxID_ANY, "Current level: 0");
    right->Add(currentLevelLabel, 0, wxALL, 5);
    roomsTable = makeTable(this, ID_ROOMS_TABLE,
                           {{"Index", 60}, {"Name", 60}, {"Type", 110}, {"Level", 60}, {"Area", 60},
                            {"Expected Area", 60}, {"Difference", 60}},
                           tablesWidth);
    right->Add(roomsTable, 1, wxEXPAND, 0);
    fillRoomsTable();

    // On a wide page the side column takes the width its tables' columns
    // need, so that they show whole without scrolling sideways.
    // (The toolkit tells a column's width only once it is drawn: the sum is
    // of the widths the columns were made with.)
    tablesWidth += wxSystemSettings::GetMetric(wxSYS_VSCROLL_X, this) + 4;
    Bind(wxEVT_SIZE, [right, tablesWidth](wxSizeEvent& event) {
        right->SetMinSize(wxSize(sideColumnWidth(event.GetSize().x, tablesWidth), -1));
        event.Skip();
    });

    planButton->Bind(wxEVT_BUTTON, &ProposalPane::onFloorPlanViewButton, this);
    topologyButton->Bind(wxEVT_BUTTON, &ProposalPane::onTopologyViewButton, this);
    Bind(wxEVT_DATAVIEW_SELECTION_CHANGED, &ProposalPane::onLevelSelected, this, ID_LEVELS_TABLE);
    Bind(wxEVT_DATAVIEW_SELECTION_CHANGED, &ProposalPane::onSolutionSelected, this, ID_SOLUTIONS_TABLE);
    Bind(wxEVT_CHECKBOX, &ProposalPane::onDrawInnerWallChanged, this, ID_DRAW_INNER_WALL);
}

void ProposalPane::bindRibbonEvents(wxRibbonBar* ribbonBar)
{
    bindRibbon(ribbonBar, wxEVT_RIBBONBUTTONBAR_CLICKED, ID_FILL_ALL, &ProposalPane::onClickFillAll);
    bindRibbon(ribbonBar, wxEVT_RIBBONBUTTONBAR_CLICKED, ID_EXPORT_PROPOSAL, &ProposalPane::onClickExportProposal);
    bindRibbon(ribbonBar, wxEVT_RIBBONBUTTONBAR_CLICKED, ID_PROPOSAL_VIEW_ALL, &ProposalPane::onClickViewAll);
    bindRibbon(ribbonBar, wxEVT_RIBBONBUTTONBAR_CLICKED, ID_PROPOSAL_VIEW_ONE, &ProposalPane::onClickViewOne);
    bindRibbon(ribbonBar, wxEVT_RIBBONBUTTONBAR_CLICKED, ID_LAYOUT_START, &ProposalPane::onClickStart);
    bindRibbon(ribbonBar, wxEVT_RIBBONBUTTONBAR_CLICKED, ID_LAYOUT_CONTINUE, &ProposalPane::onClickContinue);
    bindRibbon(ribbonBar, wxEVT_RIBBONBUTTONBAR_CLICKED, ID_LAYOUT_RESET, &ProposalPane::onClickReset);
    bindRibbon(ribbonBar, wxEVT_RIBBONBUTTONBAR_CLICKED, ID_EXPORT_SETTINGS, &ProposalPane::onClickExportSettings);
    bindRibbon(ribbonBar, wxEVT_UPDATE_UI, ID_LAYOUT_START, &ProposalPane::onUpdateStart);
    bindRibbon(ribbonBar, wxEVT_UPDATE_UI, ID_LAYOUT_RESET, &ProposalPane::onUpdateReset);
    bindRibbon(ribbonBar, wxEVT_UPDATE_UI, ID_LAYOUT_CONTINUE, &ProposalPane::onUpdateContinue);
    bindRibbon(ribbonBar, wxEVT_UPDATE_UI, ID_FILL_ALL, &ProposalPane::onUpdateFillAll);
}

template <typename Work>
void ProposalPane::guarded(const char* what, Work&& work)
{
    try {
        work();
    } catch (const std::exception& error) {
        notify(std::string(what) + ": " + error.what());
    } catch (...) {
        notify(std::string(what) + ": an unknown error occurred.");
    }
}

// ---- the run --------------------------------------------------------------

bool ProposalPane::checkSpace()
{
    const SpaceCheck check = ::checkSpace(building, *proposal->requirementSet);
    if (!check.passed)
        notify(check.message);
    return check.passed;
}

bool ProposalPane::prepareModel()
{
    const std::vector<std::string> problems = validateProposal(proposal);
    if (!problems.empty()) {
        std::string text = "The requirement set cannot be laid out:";
        for (const std::string& problem : problems)
            text += "\n" + problem;
        notify(text);
        return false;
    }
    std::unique_ptr<Layouter> made;
    try {
        made = std::make_unique<Layouter>(proposal, fillAll ? 0 : 1);
    } catch (const std::exception& error) {
        notify(std::string("The layout optimizer could not be prepared: ") + error.what());
        return false;
    }
    made->solutions = &solutions;
    made->mode = layouterModeFor(*proposal->requirementSet);
    made->startValues = std::move(lastLayout);
    lastLayout.clear();
    const SCIP_RETCODE built = made->buildModel();
    if (built != SCIP_OKAY) {
        notify("The layout model could not be built (solver error " + std::to_string(built) + ").");
        return false;
    }
    layouter = std::move(made);
    rebuildModel = false;
    return true;
}

void ProposalPane::runDialog()
{
    runFailure.clear();
    runStopped = false;
    ProgressDialog dialog(this, proposal, layouter.get());
    dialog.Centre(wxBOTH);
    dialog.ShowModal();
    runFailure = dialog.failure;
}

void ProposalPane::start()
{
    if (!building) {
        notify(noBuildingText);
        return;
    }
    if (!proposal->requirementSet) {
        notify("This proposal has no requirement set: there is nothing to lay out.");
        return;
    }
    if (!bringRoomsInLine())
        return;
    if (!checkSpace())
        return;
    if ((!layouter || rebuildModel) && !prepareModel())
        return;
    started = true;
    canContinue = true;
    runDialog();
    refresh();
}

bool ProposalPane::bringRoomsInLine()
{
    bool matching = false;
    {
        auto lock = proposal->lockRooms();
        matching = roomsMatchSet(*proposal);
    }
    if (matching)
        return true;
    wxString question = "The requirement set has changed since the rooms of this proposal were made, so a run "
                        "would lay out rooms the set no longer has. Bring the rooms in line with the set, as "
                        "Reset does, and start?";
    if (!solutions.empty())
        question += " The solutions found so far are discarded.";
    if (wxMessageBox(question, wxMessageBoxCaptionStr, wxYES_NO | wxYES_DEFAULT | wxICON_QUESTION) != wxYES)
        return false;
    {
        auto lock = proposal->lockRooms();
        proposal->rebuildLayoutsAndRooms();
        proposal->resetPlacements();
    }
    // The model and the solutions were made for the old rooms.
    layouter.reset();
    rebuildModel = true;
    solutions.clear();
    started = false;
    canContinue = false;
    currentSolutionLabel->SetLabel(currentSolutionText(-1));
    refresh();
    return true;
}

void ProposalPane::onClickStart(wxRibbonButtonBarEvent&)
{
    guarded("The layout optimization could not start", [this] { start(); });
}

void ProposalPane::onClickContinue(wxRibbonButtonBarEvent&)
{
    guarded("The layout optimization could not continue", [this] {
        if (!layouter || !canContinue)
            return;
        // Continuing the model of rooms the set no longer has would lay them
        // out again: with rooms brought in line the run starts afresh.
        bool matching = false;
        {
            auto lock = proposal->lockRooms();
            matching = roomsMatchSet(*proposal);
        }
        if (!matching) {
            start();
            return;
        }
        runDialog();
        refresh();
    });
}

void ProposalPane::reset()
{
    if (!building) {
        notify(noBuildingText);
        return;
    }
    if (wxMessageBox("Discard current solutions and apply the latest changes of the requirement set?",
                     wxMessageBoxCaptionStr, wxYES_NO | wxNO_DEFAULT | wxICON_INFORMATION) != wxYES)
        return;
    const std::vector<std::string> problems = validateProposal(proposal);
    if (!problems.empty()) {
        std::string text = "The requirement set cannot be laid out:";
        for (const std::string& problem : problems)
            text += "\n" + problem;
        notify(text);
        return;
    }
    if (!layouter) {
        try {
            layouter = std::make_unique<Layouter>(proposal, fillAll ? 0 : 1);
        } catch (const std::exception& error) {
            notify(std::string("The layout optimizer could not be prepared: ") + error.what());
            return;
        }
        layouter->solutions = &solutions;
    }
    layouter->mode = layouterModeFor(*proposal->requirementSet);
    rebuildModel = true;
    Solution shown;
    lastLayout.clear();
    if (solutions.latest(shown))
        lastLayout = std::move(shown.values);
    const SCIP_RETCODE built = layouter->reset();
    {
        auto lock = proposal->lockRooms();
        proposal->resetPlacements();
    }
    solutions.clear();
    currentSolutionLabel->SetLabel(currentSolutionText(-1));
    refresh();
    started = false;
    canContinue = false;
    if (built != SCIP_OKAY)
        notify("The layout model could not be built (solver error " + std::to_string(built) + ").");
}

void ProposalPane::onClickReset(wxRibbonButtonBarEvent&)
{
    guarded("The proposal could not be reset", [this] { reset(); });
}

void ProposalPane::onClickFillAll(wxRibbonButtonBarEvent& event)
{
    fillAll = event.GetInt() != 0;
}

void ProposalPane::onUpdateStart(wxUpdateUIEvent& event)
{
    event.Enable(!started);
}

void ProposalPane::onUpdateReset(wxUpdateUIEvent&) {}

void ProposalPane::onUpdateContinue(wxUpdateUIEvent& event)
{
    event.Enable(canContinue);
}

void ProposalPane::onUpdateFillAll(wxUpdateUIEvent& event)
{
    event.Check(fillAll);
}

void ProposalPane::onSliceDone(wxCommandEvent&)
{
    guarded("The page could not show the latest layout", [this] { refresh(); });
}

void ProposalPane::onOptimizerStop(wxCommandEvent&)
{
    runStopped = true;
}

void ProposalPane::onOptimizerFinished(wxCommandEvent&)
{
    guarded("The end of the optimization could not be shown", [this] {
        if (!layouter)
            return;
        const std::string found = std::to_string(solutions.size()) + " solutions are found.";
        // A run that ended on an error is no finished search: say what
        // happened, and let Reset be the way on, for the solver would only
        // fail again.
        if (!runFailure.empty()) {
            canContinue = false;
            notify("The optimization stopped on an error: " + runFailure + " " + found);
            return;
        }
        if (layouter->solveFailure != SCIP_OKAY || !layouter->scip) {
            canContinue = false;
            notify("The optimization stopped on a solver error (code " +
                   std::to_string(static_cast<int>(layouter->solveFailure)) + "). " + found);
            return;
        }
        const SCIP_STATUS status = SCIPgetStatus(layouter->scip);
        if (status == SCIP_STATUS_INFEASIBLE || status == SCIP_STATUS_INFORUNBD) {
            canContinue = false;
            // What the sums show at once; the solver is not asked why.
            std::string text = "Model infeasible. No solutions possible for current requirement set.";
            if (building && proposal->requirementSet)
                for (const std::string& reason :
                     infeasibilityReasons(*building, *proposal->requirementSet, layouter->allowFreeSpace == 0))
                    text += "\n" + reason;
            notify(text);
            return;
        }
        notify(runEndText(solutions.size(), runStopped, status == SCIP_STATUS_OPTIMAL));
        layouter->stage = SCIPgetStage(layouter->scip);
        if (layouter->stage == SCIP_STAGE_SOLVED)
            canContinue = false;
    });
}

// ---- views and tables -----------------------------------------------------

void ProposalPane::refresh()
{
    if (viewMode == 1) {
        floorPlan->oneLevel = 1;
        floorPlan->columns = 0;
    } else {
        floorPlan->chooseColumns();
    }
    floorPlan->fitToView();
    floorPlan->Refresh(true);
    buildTopology();
    topology->update();
    fillSolutionsTable();
    fillLevelsTable();
    fillRoomsTable();
}

void ProposalPane::fillSolutionsTable()
{
    const std::vector<Solution> recorded = solutions.snapshot();
    filling = true;
    fillTable(solutionsTable, solutionRows(recorded));
    filling = false;
    currentSolutionLabel->SetLabel(currentSolutionText(static_cast<long>(recorded.size()) - 1));
}

void ProposalPane::fillLevelsTable()
{
    std::vector<LevelRow> rows;
    {
        auto lock = proposal->lockRooms();
        rows = levelRows(*proposal, getBuildingParameters().innerWallStrength);
    }
    filling = true;
    fillTable(levelsTable, rows);
    filling = false;
}

void ProposalPane::fillRoomsTable()
{
    std::vector<RoomRow> rows;
    {
        auto lock = proposal->lockRooms();
        // Inner contours are derived, never recorded: take them from the
        // rectangles the rooms hold now.
        for (const std::shared_ptr<bg::Room>& room : proposal->rooms)
            room->updateInnerContour();
        rows = roomRows(*proposal);
    }
    filling = true;
    fillTable(roomsTable, rows);
    filling = false;
}

void ProposalPane::buildTopology()
{
    auto factory = diagram::createWidgetFactory();
    topology->graph.nodes.clear();
    topology->graph.edges.clear();
    TopologyGraph shown;
    if (proposal->requirementSet) {
        auto lock = proposal->lockRooms();
        shown = topologyGraph(*proposal->requirementSet, proposal->rooms, viewMode,
                              currentFloor ? currentFloor->getLevel() : 0);
    }
    for (std::size_t p = 0; p < shown.nodes.size(); ++p) {
        diagram::Node node;
        node.id = static_cast<std::int64_t>(p);
        node.fill = shown.nodes[p].fill;
        node.position = {static_cast<double>(p), static_cast<double>(p)};
        node.size = {40.0, 40.0};
        node.labels.push_back(factory->createLabel(shown.nodes[p].name, 12));
        node.labels.push_back(factory->createLabel(std::to_string(shown.nodes[p].requirementIndex), 12));
        topology->graph.nodes.push_back(std::move(node));
    }
    for (const auto& [from, to] : shown.edges) {
        diagram::Edge edge;
        edge.width = 4.0;
        edge.from = from;
        edge.to = to;
        topology->graph.edges.push_back(edge);
    }
    topology->controller->graphChanged();
    topology->controller->arrange();
    topology->Refresh(true);
}

void ProposalPane::onLevelSelected(wxDataViewEvent&)
{
    if (filling)
        return;
    guarded("The level could not be shown", [this] {
        const int row = levelsTable->GetSelectedRow();
        const std::vector<int> levels = levelsTableLevels(*proposal);
        if (building && row >= 0 && row < static_cast<int>(levels.size())) {
            for (const std::shared_ptr<bg::Floor>& floor : building->getFloors()) {
                if (floor->getLevel() == levels[row]) {
                    currentFloor = floor;
                    floorPlan->floor = floor;
                    floorPlan->Refresh(false);
                    floorPlan->fitToView();
                    break;
                }
            }
        }
        if (currentFloor)
            currentLevelLabel->SetLabel("Current level: " + std::to_string(currentFloor->getLevel()));
        buildTopology();
        topology->update();
        fillLevelsTable();
        fillRoomsTable();
    });
}

void ProposalPane::showSolution(long position)
{
    if (!layouter || position < 0 || position >= static_cast<long>(solutions.size()))
        return;
    layouter->applySolution(solutions.at(static_cast<std::size_t>(position)));
    floorPlan->fitToView();
    floorPlan->Refresh(true);
    buildTopology();
    topology->update();
    fillLevelsTable();
    fillRoomsTable();
    currentSolutionLabel->SetLabel(currentSolutionText(position));
}

void ProposalPane::onSolutionSelected(wxDataViewEvent&)
{
    if (filling)
        return;
    guarded("The solution could not be shown", [this] { showSolution(solutionsTable->GetSelectedRow()); });
}

void ProposalPane::onClickViewAll(wxRibbonButtonBarEvent&)
{
    guarded("The levels could not be shown", [this] {
        viewMode = 0;
        buildTopology();
        topology->update();
        floorPlan->chooseColumns();
    });
}

void ProposalPane::onClickViewOne(wxRibbonButtonBarEvent&)
{
    guarded("The level could not be shown", [this] {
        viewMode = 1;
        buildTopology();
        topology->update();
        floorPlan->columns = 0;
        floorPlan->oneLevel = 1;
        floorPlan->Refresh(true);
        floorPlan->fitToView();
    });
}

void ProposalPane::onFloorPlanViewButton(wxCommandEvent&)
{
    // The two buttons never hide both views.
    if (!topology->IsShown())
        return;
    floorPlan->Show(!floorPlan->IsShown());
    Layout();
    floorPlan->fitToView();
    floorPlan->Refresh(true);
}

void ProposalPane::onTopologyViewButton(wxCommandEvent&)
{
    if (!floorPlan->IsShown())
        return;
    topology->Show(!topology->IsShown());
    Layout();
    topology->update();
}

void ProposalPane::onDrawInnerWallChanged(wxCommandEvent&)
{
    floorPlan->drawInnerWalls = drawInnerWall->GetValue();
    floorPlan->Refresh(true);
}

// ---- export ---------------------------------------------------------------

std::vector<std::string> ProposalPane::exportTo(const std::string& path, int schema)
{
    if (!building)
        throw std::runtime_error("The proposal has no building, so there is nothing to export.");
    return bgexport::exportProposal(getAppState().project, proposal, path, schema, *bgexport::getExportSettings(),
                                    std::string(wxGetUserName().mb_str()));
}

void ProposalPane::exportChosen(const wxString& path, int filterIndex)
{
    try {
        const int schema = exportSchemaForFilter(filterIndex);
        if (schema == noExportSchema)
            return;
        std::vector<std::string> warnings;
        bool laidOut = false;
        {
            auto lock = proposal->lockRooms();
            laidOut = hasLayout(*proposal);
        }
        {
            wxBusyInfo busy("Exporting as IFC...");
            warnings = exportWarnings(laidOut, exportTo(std::string(path.mb_str(wxConvLibc)), schema));
        }
        for (const std::string& warning : warnings)
            wxLogWarning("%s", wxString::FromUTF8(warning));
        // The window's log shows what was logged since it last showed, once
        // the command is done: the warnings and this line in one notice.
        wxLogMessage("%s", wxString::FromUTF8(exportedText(wxFileName(path).GetFullName().utf8_string(), schema)));
    } catch (const std::exception& error) {
        // Logged as the export command's failure, whichever step raised it.
        wxLogger(wxLOG_Error, __FILE__, __LINE__, "ProposalPane::onClickExportProposal", wxLOG_COMPONENT)
            .Log("%s", wxString::FromUTF8(error.what()));
    }
}

void ProposalPane::onClickExportProposal(wxRibbonButtonBarEvent&)
{
    try {
        if (!building) {
            notify("This proposal has no building: there is nothing to export.");
            return;
        }
        FileDialog dialog(this, FileKind::Export, "Export proposal",
                          "IFC4 files (*.ifc)|*.ifc|IFC2X3 files (*.ifc)|*.ifc|GML files (*.gml)|*.gml",
                          wxFD_SAVE | wxFD_OVERWRITE_PROMPT,
                          "Layout-" + wxString::FromUTF8(proposal->name) + ".ifc");
        if (!dialog.choose())
            return;
        exportChosen(dialog.chosenPath(), dialog.GetFilterIndex());
    } catch (const std::exception& error) {
        notify(std::string("The proposal could not be exported: ") + error.what());
    }
}

void ProposalPane::onClickExportSettings(wxRibbonButtonBarEvent&)
{
    try {
        ExportSettingsDialog dialog(this, bgexport::getExportSettings());
        dialog.Centre(wxBOTH);
        dialog.ShowModal();
    } catch (const std::exception& error) {
        notify(std::string("The export settings could not be shown: ") + error.what());
    }
}
