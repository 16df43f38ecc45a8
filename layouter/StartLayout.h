#pragma once

#include "layouter/ModelSupport.h"

#include <scip/scip.h>

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace bg {
class Requirement;
}

// A start for the fixed-floor model's search. On large floors the solver's
// own heuristics rarely meet every door at once and the first layout comes
// late or never; a quick packing that already has the corridors with their
// rooms along them is that first layout when it satisfies the model (held
// whole), or lets the solver's completion of partial solutions find one
// before presolving. A packing the solver cannot complete costs a few
// milliseconds and changes nothing else.
namespace startlayout {

// One room's rectangle as the fixed-floor model has it: the south-west corner
// and the extents along x and y, one inner wall thickness included.
struct PackedRoom {
    int index = 0;
    double x = 0.0, y = 0.0, l = 0.0, w = 0.0;
};

// Packs the rooms of every level of a fixed-floor programme into its floor's
// box: rows of rooms, and where a corridor has doors to rooms, a band of a
// row south of the corridor, the corridor across the floor and a row north of
// it, with the corridor's rooms in those rows. Rooms on a side's facade wish
// go to that side's row or end; stairs take the same place on every level.
// Rows fill the box exactly (sides ∝ areas); with `fill` false a side out of
// the room's limits is brought within them. A floor that is not its box (an
// L, a notch) gets its rows in its largest rectangle when `fill` is false.
// Empty when the programme has a room on any floor, a floor that is not its
// box while `fill` is set, or a level without a floor: then there is nothing
// to offer.
std::vector<PackedRoom> packRooms(const std::vector<std::shared_ptr<bg::Requirement>>& requirements,
                                  const modelsupport::FloorData& floors, double t, bool fill);

// A rectangle of a level that rooms keep clear of (Layouter's Obstacle).
struct ObstacleBox {
    int level = 0;
    double x = 0.0, y = 0.0, width = 0.0, height = 0.0;
};

// The fixed-floor model's named values of the rectangles: x, y, l, w, z of
// every room, the side binaries of every pair on one level and of every
// obstacle, the door binaries, "Quadobj" and "Constant". Facade binaries are
// unnamed and left to the solver.
std::unordered_map<std::string, double> modelValues(const std::vector<std::shared_ptr<bg::Requirement>>& requirements,
                                                    const std::vector<PackedRoom>& rooms,
                                                    const std::vector<ObstacleBox>& obstacles, double t,
                                                    double doorWidth);

// The rectangles of a recorded solution (x, y, l, w by name), one per
// requirement; empty when a room's values are missing.
std::vector<PackedRoom> roomsOf(const std::vector<std::shared_ptr<bg::Requirement>>& requirements,
                                const std::unordered_map<std::string, double>& values);

// Every variable of the problem given a value: the named ones from `values`,
// every other one (the facade binaries) from the rows it stands in: a binary
// is 1 where each row whose other variables all have values still holds with
// it at 1, else 0. Empty when a variable without a value is not binary.
// Only in the problem stage.
std::unordered_map<SCIP_VAR*, double> completeValues(SCIP* scip, const modelsupport::Registry& variables,
                                                     const std::unordered_map<std::string, double>& values);

// Holds the values, completed by completeValues, in the instance as a whole
// start (HeldStart.h) when they satisfy every row of the model: the recorder
// shows it as the first layout before presolving, and the solver takes it
// where its own layouts do not soon beat it. `accepted` says
// whether it is held; a start that breaks a row is not (the caller can still
// offer it as a partial solution). Only in the problem stage.
SCIP_RETCODE offerCompleteSolution(SCIP* scip, const modelsupport::Registry& variables,
                                   const std::unordered_map<std::string, double>& values, bool& accepted);

// Hands the values to the solver as a partial solution, which its completion
// heuristic completes before presolving. Only in the problem stage; names the
// registry lacks are skipped.
SCIP_RETCODE offerPartialSolution(SCIP* scip, const modelsupport::Registry& variables,
                                  const std::unordered_map<std::string, double>& values);

} // namespace startlayout
