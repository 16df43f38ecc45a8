#pragma once

#include "layouter/ModelSupport.h"

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace bg {
class Requirement;
}

// Stages that the fixed-floor and the floor-assignment model build alike:
// room variables and shape, stairs, objective, aspect ratios and the facade
// rows of a room on a known level.
namespace modelstages {

// What every stage after the base works on.
struct StageInput {
    SCIP* scip;
    modelsupport::Registry& variables;
    const std::vector<std::shared_ptr<bg::Requirement>>& requirements;
    const modelsupport::FloorData& floors;
    double inf;
    // Big-M of the disjunctions.
    double bigM;
};

// Bounds and objective coefficient of one variable.
struct VariableParams {
    double lb;
    double ub;
    double obj;
};

// The five registered variables of a room: its rectangle and net area z.
struct RoomShape {
    modelsupport::RoomVars rect;
    SCIP_VAR* z;
};

// Creates, adds and registers x, y, l, w and z of the room, in this order.
SCIP_RETCODE addRoomVariables(SCIP* scip, modelsupport::Registry& variables, int index, const VariableParams& x,
                              const VariableParams& y, const VariableParams& l, const VariableParams& w,
                              const VariableParams& z, RoomShape& room);
// (l − t)·(w − t) = z: the net area inside one wall thickness t.
SCIP_RETCODE addShapeRow(SCIP* scip, int index, const RoomShape& room, double t);
// All stair rooms of the set share one rectangle, whatever their floors.
SCIP_RETCODE addStairRows(const StageInput& in);
// "Constant" (fixed to 1, objective coefficient `constant`), "Quadobj" and
// "QuadobjConstraint": Quadobj = Σ over the rooms of l² + w² − l·w.
SCIP_RETCODE addObjective(const StageInput& in, double constant);
// Each room's ratio of extents lies within its requirement's range.
SCIP_RETCODE addAspectRatioRows(const StageInput& in);

// The four binaries of one disjunction: on which side of a rectangle another
// one lies.
struct Sides {
    SCIP_VAR* left;
    SCIP_VAR* right;
    SCIP_VAR* top;
    SCIP_VAR* bottom;
};
// Creates, adds and registers the binaries named nameOf(side word), in the
// order left, right, top, bottom, so that every recorded solution carries
// them.
SCIP_RETCODE addSideBinaries(SCIP* scip, modelsupport::Registry& variables,
                             const std::function<std::string(const char*)>& nameOf, Sides& sides);

// The direction words of a facade wish: "whatever", or one or two of "east",
// "south", "west", "north"; none for a wish the models do not know.
std::vector<std::string> directionWords(const std::vector<std::string>& boundaries);
// "east", "south", "west" or "north".
bool isSide(const std::string& word);

// One row that holds a room against a wall it has chosen: the sum of the
// terms is at least (atLeast) or at most `bound`.
struct ContactRow {
    std::vector<modelsupport::Term> terms;
    double bound;
    bool atLeast;
};

// The rows come as: the room's side on or beyond the wall's line, then its
// two limits along the wall. The fixed-floor model makes the lower limit
// first, the floor-assignment model the limit at the wall's start; each keeps
// its own order so that the solver sees the model it always saw.
enum class ContactOrder { LowerLimitFirst, StartLimitFirst };

std::array<ContactRow, 3> wallContactRows(const modelsupport::RoomVars& room, const std::string& side,
                                          const PolygonEdge& wall, ContactOrder order);

// Walls of one side label.
struct SideWalls {
    const char* side;
    const std::vector<PolygonEdge>* walls;
};

// One facade choice row "at least one of these walls" named `name`, with an
// unregistered facade binary b per wall and its contact rows, each slack by
// M while b is 0. A block without walls keeps its row empty (1 <= 0): the
// model is then infeasible, as it should be for a wish the floor cannot meet.
SCIP_RETCODE addFacadeBlock(const StageInput& in, const modelsupport::RoomVars& room, const std::string& name,
                            const std::vector<SideWalls>& sides, ContactOrder order);

// The facade choice of a room that may stand on several floors, for one of
// them, switched by the binary `on` of that floor: 0 <= Σ b − on <= most, so
// with on = 1 the room takes at least one of the walls; each chosen wall
// holds it by rows that take effect only when b·on = 1 and are slack by M
// otherwise. An unnamed row and unregistered wall binaries.
SCIP_RETCODE addSwitchedFacadeBlock(const StageInput& in, const modelsupport::RoomVars& room, SCIP_VAR* on,
                                    double most, const std::vector<SideWalls>& sides, ContactOrder order);

} // namespace modelstages
