#pragma once

// What the proposal page shows and checks, on plain model objects: the space
// check that guards "Start", the rows of its three tables, the level a row of
// the levels table stands for, the topology graph and the export schema of a
// file filter. The page wires them to its controls.

#include "diagram/Graph.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

struct Solution;

namespace bg {
class Building;
class Proposal;
class Requirement;
class RequirementSet;
class Room;
} // namespace bg

// The outcome of the space check: passed, or the message that says which
// floor (or the whole building) lacks room.
struct SpaceCheck {
    bool passed = true;
    std::string message;
};

// Whether the floors of the building, shrunk by the building's own outer
// wall and counted at 90 %, hold the target areas of the set: each floor the
// requirements of its level (the first failing floor, in floor order, is
// named), the whole building every requirement, those of any floor included.
// Only a result below -spaceTolerance fails: the room dialog's own check
// (remainingFloorArea and remainingBuildingArea of RoomForm.h).
SpaceCheck checkSpace(const std::shared_ptr<bg::Building>& building, const bg::RequirementSet& set);

// Why a model is infeasible, as far as the space check's sums show it at
// once, one sentence each naming the floor (or the whole building) and the
// sum: the rooms' smallest areas above a floor's net area; with "Fill All"
// their largest areas below it; a room whose smallest sides exceed the
// floor inside its outer walls. Empty when the sums show nothing. Rooms that
// may go on any floor are counted for the whole building only.
std::vector<std::string> infeasibilityReasons(const bg::Building& building, const bg::RequirementSet& set,
                                              bool fillAll);

// The model of a run: the floor-assignment model as soon as one requirement
// may go on any floor, else the fixed-floor model (Layouter::mode values).
int layouterModeFor(const bg::RequirementSet& set);

// "Difference" of the rooms table: the deviation of the area from the
// expected area in percent, "-" in front when below it, "0.0" when equal,
// "n/a" when nothing was expected but there is an area.
std::string formatDifference(double expectedArea, double area);

// "Used Area" of a level: the rooms' rectangles of that level, each without
// one inner wall thickness along both sides (nothing for a room narrower
// than the wall, such as one not placed yet).
double usedArea(const std::vector<std::shared_ptr<bg::Room>>& rooms, int level, double innerWall);

using SolutionRow = std::array<std::string, 2>; // Index, Objective Value
using LevelRow = std::array<std::string, 5>;    // Level, Rooms number, Buildable, Used, Unused Area
using RoomRow = std::array<std::string, 7>;     // Index, Name, Type, Level, Area, Expected Area, Difference

std::vector<SolutionRow> solutionRows(const std::vector<Solution>& solutions);

// The state of a running search, read by the worker between two slices.
struct SearchProgress {
    std::size_t layouts = 0;
    bool hasObjective = false;
    double bestObjective = 0.0;
    bool optimal = false;
    // The solver's relative gap (1.0 is 100 %); negative while it has none.
    double gap = -1.0;
};
// The progress dialog's lines: the layouts found, the best objective, and
// where the search stands: "optimal" once proven, "stopping" after "Stop",
// the gap only below 100 % (above it tells a user nothing), else searching.
std::array<std::string, 3> searchProgressLines(const SearchProgress& progress, bool stopping);
// The page's notice at the end of a run that did not fail.
std::string runEndText(std::size_t layouts, bool stopped, bool optimal);
// "Current solution: " and the position of the shown solution, nothing after
// it while there is none (-1).
std::string currentSolutionText(long position);

// The levels of the levels table, row by row: the building's levels from the
// highest down, each once for every layout of the proposal on it.
std::vector<int> levelsTableLevels(bg::Proposal& proposal);
// Rows in the order of levelsTableLevels. The caller holds the room lock.
std::vector<LevelRow> levelRows(bg::Proposal& proposal, double innerWall);
// One row per room that stands for a requirement of the proposal's set (all
// rooms when it has none), in room order: a room left from an earlier set
// is not shown as if it were one of this set. The caller holds the room lock.
std::vector<RoomRow> roomRows(const bg::Proposal& proposal);

// Whether the room was made from the requirement and still carries its index
// and name.
bool roomOfRequirement(const bg::Room& room, const bg::Requirement& requirement);
// Whether the proposal's rooms are those its set gives: one per requirement,
// in the set's order, each roomOfRequirement. True without a set. A run only
// starts from rooms that match; the caller holds the room lock.
bool roomsMatchSet(const bg::Proposal& proposal);

// The topology view's graph: one node per shown requirement (all of the set
// in view mode 0, those whose room stands on `currentLevel` in view mode 1),
// numbered by position among the shown; one edge per adjacency entry whose
// requirement is shown. The caller holds the room lock.
struct TopologyNode {
    int requirementIndex = 0;
    std::string name;
    diagram::Colour fill;
};
struct TopologyGraph {
    std::vector<TopologyNode> nodes;
    std::vector<std::pair<int, int>> edges; // node positions
};
TopologyGraph topologyGraph(const bg::RequirementSet& set, const std::vector<std::shared_ptr<bg::Room>>& rooms,
                            int viewMode, int currentLevel);
// The node colour of a room type; white for a type without one.
diagram::Colour topologyColour(const std::string& roomType);

// The export schema of the save dialog's filter: IFC4 for the first, IFC2X3
// for the second, noExportSchema for the rest (GML, which nothing writes).
constexpr int noExportSchema = -1;
int exportSchemaForFilter(int filterIndex);

// Whether any room of the proposal has a rectangle: a proposal never laid
// out has none. The caller holds the room lock.
bool hasLayout(const bg::Proposal& proposal);
// The warnings an export shows: for a proposal without a layout one
// sentence ("This proposal has no layout yet: ...") in place of the rooms'
// and entrances' own, which would all say the same; other warnings stay.
std::vector<std::string> exportWarnings(bool laidOut, const std::vector<std::string>& warnings);
// The log line and notice of a written export: the file's name and schema.
std::string exportedText(const std::string& fileName, int schema);
