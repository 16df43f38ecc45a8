#pragma once

#include "layouter/ModelStages.h"

#include <vector>

class Obstacle;

// The stages of the fixed-floor model after its base that only this model
// has: each adds its binaries and rows to the instance, looking the room
// variables up in the registry. Aspect ratios are shared (ModelStages.h).
namespace fixedfloor {

using modelstages::StageInput;

// Every room keeps clear of the obstacles of its level.
SCIP_RETCODE addObstacleRows(const StageInput& in, const std::vector<Obstacle>& obstacles);
// No two rooms of one level overlap.
SCIP_RETCODE addNonOverlapRows(const StageInput& in);
// Rooms reach the facades they wish for; entrances reach some facade.
SCIP_RETCODE addFacadeRows(const StageInput& in);
// Rooms named in an adjacency list touch and share a wall at least
// doorWidth + t long, as in the floor-assignment model; t is the inner wall
// thickness.
SCIP_RETCODE addDoorRows(const StageInput& in, double doorWidth, double t);

} // namespace fixedfloor
