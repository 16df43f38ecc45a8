#pragma once

#include "layouter/ModelSupport.h"

#include <memory>
#include <string>
#include <vector>

namespace bg {
class Requirement;
}
class Obstacle;

// The stages of the fixed-floor model after its base: each adds its binaries
// and rows to the instance, looking the room variables up in the registry.
namespace fixedfloor {

struct StageInput {
    SCIP* scip;
    modelsupport::Registry& variables;
    const std::vector<std::shared_ptr<bg::Requirement>>& requirements;
    const modelsupport::FloorData& floors;
    double inf;
    // Big-M of the disjunctions.
    double bigM;
};

// Every room keeps clear of the obstacles of its level.
SCIP_RETCODE addObstacleRows(const StageInput& in, const std::vector<Obstacle>& obstacles);
// No two rooms of one level overlap.
SCIP_RETCODE addNonOverlapRows(const StageInput& in);
// Each room's ratio of extents lies within its requirement's range.
SCIP_RETCODE addAspectRatioRows(const StageInput& in);
// Rooms reach the facades they wish for; entrances reach some facade.
SCIP_RETCODE addFacadeRows(const StageInput& in);
// Rooms named in an adjacency list share a wall at least a door wide;
// t is the inner wall thickness.
SCIP_RETCODE addDoorRows(const StageInput& in, double doorWidth, double t);

// The direction words of a facade wish: "whatever", or one or two of "east",
// "south", "west", "north"; none for a wish the models do not know.
std::vector<std::string> directionWords(const std::vector<std::string>& boundaries);

} // namespace fixedfloor
