#pragma once

#include "geometry/Polygon.h"
#include "model/BuildingParameters.h"

#include <scip/scip.h>

#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

namespace bg {
class Proposal;
class RequirementSet;
}

// A rectangle on one floor level that rooms must keep clear of: a part of the
// floor's bounding box that the floor itself does not cover.
class Obstacle {
public:
    Obstacle(int level, double x, double y, double width, double height);

    int getLevel() const { return level; }
    double getX() const { return x; }          // smallest x
    double getY() const { return y; }          // smallest y
    double getWidth() const { return width; }  // extent along x
    double getHeight() const { return height; } // extent along y

private:
    int level;
    double x;
    double y;
    double width;
    double height;
};

// One recorded solution: the solver's primal bound when it was found and the
// value of every registered solver variable, by name.
struct Solution {
    double objective = 0.0;
    std::unordered_map<std::string, double> values;
};

// The recorded solutions, oldest first; the newest is the best found so far.
// The solver's worker thread appends while the GUI thread reads, so every
// access goes through the lock and readers get copies.
class SolutionHistory {
public:
    void append(Solution solution);
    void clear();
    std::size_t size() const;
    bool empty() const;
    // A copy of the whole list, oldest first.
    std::vector<Solution> snapshot() const;
    // A copy of element `position`; std::out_of_range past the end.
    Solution at(std::size_t position) const;
    // A copy of the newest solution; false (and `newest` untouched) when empty.
    bool latest(Solution& newest) const;

private:
    mutable std::mutex mutex;
    std::vector<Solution> solutions;
};

// The parts of the points' bounding box that the closed polygon through the
// points does not cover, each a closed path in the clipping library's order.
// Throws std::runtime_error "Too few vectors to create a bounding box" for
// fewer than two points, GeometryError for points the clipping cannot take.
std::vector<std::vector<Vec2>> boundingBoxComplement(std::vector<Vec2> points);

// Values of Layouter::mode: the model that buildModel builds.
constexpr int fixedFloorMode = 0;
constexpr int floorAssignmentMode = 1;
constexpr int integerFloorMode = 2;

// The optimiser of one proposal: the solver instance with the current model,
// the obstacles of its floors, the time limit of the next solve slice and the
// registry of named solver variables that the recorder and the read-back use.
//
// Threads: the constructor, reset and the builders run on the GUI thread while
// no solve runs. During a run the worker thread owns scip, currentValues,
// timeLimit, stage and solved; the solution history and the proposal's rooms
// are shared with the GUI thread under their own locks.
class Layouter {
public:
    // Takes the requirement set from the proposal and derives the obstacles of
    // its floors; builds no model. Throws std::invalid_argument for a
    // proposal without a building or requirement set (a loaded file may have
    // lost them), GeometryError for an outline the clipping cannot take, and
    // std::runtime_error when a floor contour yields a piece of fewer than two
    // points ("Too few vectors to create a bounding box").
    Layouter(const std::shared_ptr<bg::Proposal>& proposal, int allowFreeSpace);
    ~Layouter();
    Layouter(const Layouter&) = delete;
    Layouter& operator=(const Layouter&) = delete;

    // Fresh layouts, rooms and obstacles from the proposal's building, a new
    // model of `mode` and a time limit of one second. Returns the builder's
    // return code.
    SCIP_RETCODE reset();
    // Writes the newest recorded solution into the proposal's rooms; leaves
    // them untouched while nothing is recorded.
    void applyBestSolution();
    // Writes the solution into the proposal's rooms the way the model of
    // `mode` names its variables (a missing name reads as 0): rectangles,
    // levels and the floors of those levels. Holds the proposal's room lock.
    void applySolution(const Solution& solution);

    // The builder of `mode`: fixedFloorMode, integerFloorMode, any other
    // value floor assignment.
    SCIP_RETCODE buildModel();
    SCIP_RETCODE buildFixedFloorModel();
    SCIP_RETCODE buildFloorAssignmentModel();
    SCIP_RETCODE buildIntegerFloorModel();

    // Null until the first model build; every build replaces it.
    SCIP* scip = nullptr;
    std::shared_ptr<bg::RequirementSet> requirementSet;
    std::shared_ptr<bg::Proposal> proposal;
    std::vector<Obstacle> obstacles;
    // The process-wide defaults, not the building's own copy.
    const BuildingParameters* parameters = nullptr;
    // Seconds of total solving time allowed by the next slice.
    int timeLimit = 1;
    // Values of the newest recorded or applied solution.
    std::unordered_map<std::string, double> currentValues;
    // Owned by the proposal page; null until the page sets it.
    SolutionHistory* solutions = nullptr;
    // Named solver variables of the current model; valid while `scip` lives.
    std::unordered_map<std::string, SCIP_VAR*> variables;
    int stage = 0;
    bool solved = false;
    // 0: the rooms of a floor fill its usable area exactly; otherwise they may
    // leave part of it free.
    int allowFreeSpace = 0;
    int mode = fixedFloorMode;
    // The failing return code that ended the last solve run, SCIP_OKAY when
    // it ended normally; the proposal page reports it.
    SCIP_RETCODE solveFailure = SCIP_OKAY;
    // Every model build puts the solver settings for the first layout in
    // force (FirstLayoutTuning.h) while this is set; they end by themselves
    // once a layout is recorded. Cleared only to measure the search without.
    bool tuneFirstLayout = true;
    // The solve loop ends a slice as soon as the recorder records a better
    // layout, so that the page shows it at once rather than when the slice's
    // second is up. Cleared only to measure or test whole slices.
    bool endSliceAtNewLayout = true;
    // Every fixed-floor build hands the solver a quick packing of the rooms
    // as a start (StartLayout.h). Cleared only to measure the search without.
    bool packStartLayout = true;
    // A layout to hand the solver as a start at the next build, by variable
    // name (a recorded solution's values): the page's last layout when the
    // model is rebuilt for the same rooms. Used and emptied by the build;
    // ignored when its rooms are not the requirement set's.
    std::unordered_map<std::string, double> startValues;
    // A start that satisfies every row of the model is held whole
    // (HeldStart.h): the first layout, recorded before any search, and the
    // solver's own only where its own layouts do not soon beat it.
    // Otherwise, or with this cleared (only to measure or test the
    // completion), it goes over as a partial solution for the solver's
    // completion heuristic.
    bool offerCompleteStarts = true;
    // How many starts (whole or partial) the last build handed the solver,
    // and how many of them whole.
    int startsOffered = 0;
    int completeStartsOffered = 0;
    // Set by the solve loop while it runs with endSliceAtNewLayout; the
    // recorder interrupts the solve only then, never a plain SCIPsolve.
    // Worker thread only.
    bool interruptAtNewLayout = false;

private:
    // Frees the previous instance (and with it its recorder), empties the
    // registry and creates a new instance with the default plug-ins.
    SCIP_RETCODE recreateSolver(const char* problemName);
    // Hands a new recorder to the instance, and the settings for the first
    // layout when tuneFirstLayout is set; the last step of every build.
    SCIP_RETCODE includeRecorder();
    void freeSolver();
    // Rectangles of every floor's bounding box that its inset outline leaves
    // uncovered; none for a rectangular floor.
    std::vector<Obstacle> computeObstacles() const;
    // After a fixed-floor build: holds startValues and the packing whole
    // where they satisfy every row, else offers them as partial solutions,
    // which the solver completes before presolving.
    SCIP_RETCODE offerStartLayouts();
    // One start: held whole when the solver's check accepts it, else
    // offered partial (then `partial` is set).
    SCIP_RETCODE offerStart(const std::unordered_map<std::string, double>& values, bool& partial);
};
