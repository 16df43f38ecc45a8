#pragma once

#include "shell/KovraPage.h"
#include "shell/RibbonEventHandler.h"

#include "layouter/Layouter.h"

#include <memory>
#include <unordered_map>
#include <string>
#include <vector>

class DiagramCtrl;
class FloorPlanCtrl;
class ProjectPane;
class wxCheckBox;
class wxDataViewEvent;
class wxDataViewListCtrl;
class wxRibbonButtonBarEvent;
class wxStaticText;
class wxUpdateUIEvent;

namespace bg {
class Building;
class Floor;
class Proposal;
} // namespace bg

// The workspace page of one proposal: runs the layout optimiser on it
// ("Start", "Continue", "Reset", the "Fill All" option), shows the floor plan
// and the topology of its rooms, the recorded solutions, its levels and its
// rooms, shows a chosen earlier solution, and exports the proposal as IFC.
//
// The page owns its Layouter and the solution history. While the progress
// dialog is open the optimiser's worker thread appends to the history and
// writes the rooms (under the proposal's room lock); the page makes, resets
// or releases its Layouter only while no dialog is open.
class ProposalPane : public KovraPage, public RibbonEventHandler {
public:
    enum {
        ID_PROPOSAL_PANE = 20050,
        ID_FLOOR_PLAN_VIEW_BUTTON = 20149,
        ID_TOPOLOGY_VIEW_BUTTON = 20150,
        ID_SOLUTIONS_TABLE = 20153,
        ID_LEVELS_TABLE = 20154,
        ID_ROOMS_TABLE = 20155,
        ID_DRAW_INNER_WALL = 20159,
    };

    ProposalPane(wxWindow* parent, wxRibbonBar* ribbonBar, ProjectPane* projectPane,
                 const std::shared_ptr<bg::Proposal>& proposal);
    ~ProposalPane() override;

    void bindRibbonEvents(wxRibbonBar* ribbonBar) override;

    // The space check of "Start"; shows why it fails.
    bool checkSpace();
    // Rebuilds the plan, the topology and the three tables from the proposal
    // and the history.
    void refresh();
    void fillSolutionsTable();
    void fillLevelsTable();
    void fillRoomsTable();
    void buildTopology();
    // Writes the proposal as IFC to path in the schema (bgexport codes) with
    // the process-wide export settings and returns the exporter's warnings.
    // Throws what the exporter throws, and for a proposal without a building.
    std::vector<std::string> exportTo(const std::string& path, int schema);
    // The export command after the file dialog: the schema of the chosen
    // filter (nothing for GML), the busy message while writing, the
    // warnings and any failure to the log.
    void exportChosen(const wxString& path, int filterIndex);

    int viewMode = 0; // 0 all levels, 1 the current level only
    wxStaticText* currentLevelLabel = nullptr;
    wxStaticText* currentSolutionLabel = nullptr;
    FloorPlanCtrl* floorPlan = nullptr;
    DiagramCtrl* topology = nullptr; // hidden at first
    wxDataViewListCtrl* levelsTable = nullptr;
    wxDataViewListCtrl* roomsTable = nullptr;
    wxDataViewListCtrl* solutionsTable = nullptr;
    wxStaticText* noBuildingNote = nullptr; // instead of the plan when the proposal has no building
    std::shared_ptr<bg::Building> building;
    std::shared_ptr<bg::Proposal> proposal;
    std::shared_ptr<bg::Floor> currentFloor; // the floor chosen in the levels table
    // Every improving solution since the last Reset; outlives every Layouter
    // that records into it.
    SolutionHistory solutions;
    std::unique_ptr<Layouter> layouter; // made by the first Start or Reset
    bool fillAll = false;
    // A run was started since the page was made or reset: "Start" is disabled.
    bool started = false;
    // The user pressed "Stop" during the latest run.
    bool runStopped = false;
    bool canContinue = false;
    // Set by Reset: the next Start makes a new Layouter and builds its model.
    bool rebuildModel = false;
    // The layout shown before "Reset", handed to the next model as a start
    // (Layouter::startValues; the model ignores it when the rooms changed).
    std::unordered_map<std::string, double> lastLayout;
    // The error that ended the last run's worker thread, empty when none did.
    std::string runFailure;
    ProjectPane* projectPane; // kept for the page table; not used
    wxCheckBox* drawInnerWall = nullptr;

    void onClickFillAll(wxRibbonButtonBarEvent& event);
    void onClickExportProposal(wxRibbonButtonBarEvent& event);
    void onClickExportSettings(wxRibbonButtonBarEvent& event);
    void onClickViewAll(wxRibbonButtonBarEvent& event);
    void onClickViewOne(wxRibbonButtonBarEvent& event);
    void onClickStart(wxRibbonButtonBarEvent& event);
    void onClickContinue(wxRibbonButtonBarEvent& event);
    void onClickReset(wxRibbonButtonBarEvent& event);
    void onUpdateStart(wxUpdateUIEvent& event);
    void onUpdateReset(wxUpdateUIEvent& event);
    void onUpdateContinue(wxUpdateUIEvent& event);
    void onUpdateFillAll(wxUpdateUIEvent& event);

private:
    void buildWindow();
    void start();
    // A run starts only from rooms that match the requirement set: when they
    // do not (a requirement removed, added or renamed since they were made),
    // asks, then rebuilds them as "Reset" does. False when the user declines.
    bool bringRoomsInLine();
    void reset();
    // A new Layouter with its model for the requirement set as it stands;
    // on any problem says why and leaves the current one in place.
    bool prepareModel();
    // Shows the progress dialog on the Layouter until its worker has ended.
    void runDialog();
    void showSolution(long position);

    void onSliceDone(wxCommandEvent& event);
    void onOptimizerFinished(wxCommandEvent& event);
    void onOptimizerStop(wxCommandEvent& event);
    void onLevelSelected(wxDataViewEvent& event);
    void onSolutionSelected(wxDataViewEvent& event);
    void onFloorPlanViewButton(wxCommandEvent& event);
    void onTopologyViewButton(wxCommandEvent& event);
    void onDrawInnerWallChanged(wxCommandEvent& event);

    // Runs a handler's work; what it throws is shown, never passed on.
    template <typename Work>
    void guarded(const char* what, Work&& work);

    // Set while the tables are refilled, whose selection events mean nothing.
    bool filling = false;
};
