#include "layouter/FloorAssignmentStages.h"
#include "layouter/Layouter.h"
#include "layouter/ModelNames.h"
#include "model/Requirement.h"

using namespace modelsupport;
using namespace modelnames;

namespace floorassignment {

using modelstages::addSideBinaries;
using modelstages::Sides;

SCIP_RETCODE addObstacleRows(const StageInput& in, const std::vector<Obstacle>& obstacles)
{
    const double M = in.bigM;
    const double inf = in.inf;
    for (const std::shared_ptr<bg::Requirement>& requirement : in.requirements) {
        const int id = requirement->getIndex();
        const int level = requirement->getLevel();
        const RoomVars room = lookupRoom(in.variables, id);
        for (size_t k = 0; k < obstacles.size(); ++k) {
            const Obstacle& obstacle = obstacles[k];
            const int q = obstacle.getLevel();
            if ((level != anyFloor && level != q) || !in.floors.boxes.count(q))
                continue;
            SCIP_VAR* f = lookup(in.variables, levelVarName(id, q));
            const double ox = obstacle.getX(), oy = obstacle.getY();
            const double ow = obstacle.getWidth(), oh = obstacle.getHeight();
            Sides b{};
            SCIP_CALL(addSideBinaries(
                in.scip, in.variables,
                [&](const char* side) { return obstacleVarName(id, static_cast<int>(k), side); }, b));
            // On the obstacle's level (f = 1) a binary at 1 puts the obstacle
            // west, east, south or north of the room; elsewhere every row is
            // relaxed by M.
            SCIP_CALL(addQuadraticRow(in.scip, "", ox + ow - M, inf, {{room.x, 1.0}}, {{b.left, f, -M}}));
            SCIP_CALL(addQuadraticRow(in.scip, "", -inf, ox + M, {{room.x, 1.0}, {room.l, 1.0}}, {{b.right, f, M}}));
            SCIP_CALL(addQuadraticRow(in.scip, "", oy + oh - M, inf, {{room.y, 1.0}}, {{b.top, f, -M}}));
            SCIP_CALL(addQuadraticRow(in.scip, "", -inf, oy + M, {{room.y, 1.0}, {room.w, 1.0}}, {{b.bottom, f, M}}));
            SCIP_CALL(addLinearRow(in.scip, "", 1.0, 4.0,
                                   {{b.left, 1.0}, {b.right, 1.0}, {b.top, 1.0}, {b.bottom, 1.0}}));
        }
    }
    return SCIP_OKAY;
}

SCIP_RETCODE addNonOverlapRows(const StageInput& in)
{
    // Rooms are named by their positions here, which equal their indices.
    const double M = in.bigM;
    const int n = static_cast<int>(in.requirements.size());
    for (int i = 0; i + 1 < n; ++i) {
        const RoomVars a = lookupRoom(in.variables, i);
        for (int j = i + 1; j < n; ++j) {
            const RoomVars b = lookupRoom(in.variables, j);
            SCIP_VAR* s = lookup(in.variables, sameLevelKey(i, j));
            Sides side{};
            SCIP_CALL(addSideBinaries(
                in.scip, in.variables, [&](const char* word) { return overlapVarName(i, j, word); }, side));
            // Rooms on one level (s = 1) hold at least one side; on different
            // levels the binaries are free and the rows relaxed by M.
            SCIP_CALL(addLinearRow(in.scip, overlapConsName(i, j), 0.0, 4.0,
                                   {{side.left, 1.0}, {side.right, 1.0}, {side.top, 1.0}, {side.bottom, 1.0}, {s, -1.0}}));
            SCIP_CALL(addQuadraticRow(in.scip, "", -in.inf, M, {{a.x, 1.0}, {a.l, 1.0}, {b.x, -1.0}},
                                      {{side.left, s, M}}));
            SCIP_CALL(addQuadraticRow(in.scip, "", -in.inf, M, {{b.x, 1.0}, {b.l, 1.0}, {a.x, -1.0}},
                                      {{side.right, s, M}}));
            SCIP_CALL(addQuadraticRow(in.scip, "", -in.inf, M, {{a.y, 1.0}, {a.w, 1.0}, {b.y, -1.0}},
                                      {{side.bottom, s, M}}));
            SCIP_CALL(addQuadraticRow(in.scip, "", -in.inf, M, {{b.y, 1.0}, {b.w, 1.0}, {a.y, -1.0}},
                                      {{side.top, s, M}}));
        }
    }
    return SCIP_OKAY;
}

} // namespace floorassignment
