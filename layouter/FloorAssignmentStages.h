#pragma once

#include "layouter/ModelStages.h"
#include "model/Constants.h"

#include <vector>

class Obstacle;

// The stages of the floor-assignment model after its base. A room's level
// binaries f (registered as "f_" + tag + level + "_level_") and each pair's
// same-level binary s (registered as "levels" + tag(p) + tag(q)) switch the
// rows that depend on the floor: a row multiplied by a binary that is 0 is
// relaxed by M. Aspect ratios are shared with the fixed-floor model.
namespace floorassignment {

using modelstages::StageInput;

// The level given to requirements that may go on any floor.
using bg::anyFloor;

// Every room keeps clear of the obstacles of the level it lands on; a room on
// a fixed level meets only that level's obstacles. Obstacles of a level no
// floor has concern no room.
SCIP_RETCODE addObstacleRows(const StageInput& in, const std::vector<Obstacle>& obstacles);
// Every pair of rooms gets separation binaries; they must hold one side when
// the two rooms share a level.
SCIP_RETCODE addNonOverlapRows(const StageInput& in);
// Facade wishes, room by room: on the fixed level's walls, or for a room on
// any floor on the walls of whichever level it lands on.
SCIP_RETCODE addFacadeRows(const StageInput& in);
// Rooms named in an adjacency list lie on one level and share a wall at least
// doorWidth + t long; t is the inner wall thickness.
SCIP_RETCODE addConnectionRows(const StageInput& in, double doorWidth, double t);

} // namespace floorassignment
