#include "layouter/FixedFloorStages.h"
#include "layouter/Layouter.h"
#include "layouter/ModelNames.h"
#include "model/Requirement.h"

using namespace modelsupport;
using namespace modelnames;

namespace fixedfloor {

using modelstages::addSideBinaries;
using modelstages::Sides;

SCIP_RETCODE addObstacleRows(const StageInput& in, const std::vector<Obstacle>& obstacles)
{
    const double M = in.bigM;
    for (const std::shared_ptr<bg::Requirement>& requirement : in.requirements) {
        const int id = requirement->getIndex();
        const int level = requirement->getLevel();
        const RoomVars room = lookupRoom(in.variables, id);
        for (size_t k = 0; k < obstacles.size(); ++k) {
            const Obstacle& obstacle = obstacles[k];
            if (obstacle.getLevel() != level)
                continue;
            const double ox = obstacle.getX(), oy = obstacle.getY();
            const double ow = obstacle.getWidth(), oh = obstacle.getHeight();
            Sides b{};
            SCIP_CALL(addSideBinaries(
                in.scip, in.variables,
                [&](const char* side) { return obstacleVarName(id, static_cast<int>(k), side); }, b));
            // A binary at 1 puts the obstacle on its side of the room; at 0
            // its row is relaxed by M. At least one side holds.
            SCIP_CALL(addLinearRow(in.scip, "", ox + ow - M, in.inf, {{room.x, 1.0}, {b.left, -M}}));
            SCIP_CALL(addLinearRow(in.scip, "", -in.inf, ox + M,
                                   {{room.x, 1.0}, {room.l, 1.0}, {b.right, M}}));
            SCIP_CALL(addLinearRow(in.scip, "", oy + oh - M, in.inf, {{room.y, 1.0}, {b.bottom, -M}}));
            SCIP_CALL(addLinearRow(in.scip, "", -in.inf, oy + M,
                                   {{room.y, 1.0}, {room.w, 1.0}, {b.top, M}}));
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
        const int level = in.requirements[i]->getLevel();
        for (int j = i + 1; j < n; ++j) {
            if (in.requirements[j]->getLevel() != level)
                continue;
            const RoomVars b = lookupRoom(in.variables, j);
            Sides s{};
            SCIP_CALL(addSideBinaries(
                in.scip, in.variables, [&](const char* side) { return overlapVarName(i, j, side); }, s));
            SCIP_CALL(addLinearRow(in.scip, "", 1.0, 4.0,
                                   {{s.left, 1.0}, {s.right, 1.0}, {s.top, 1.0}, {s.bottom, 1.0}}));
            SCIP_CALL(addLinearRow(in.scip, "", -M, in.inf,
                                   {{a.x, 1.0}, {b.x, -1.0}, {b.l, -1.0}, {s.left, -M}}));
            SCIP_CALL(addLinearRow(in.scip, "", -M, in.inf,
                                   {{b.x, 1.0}, {a.x, -1.0}, {a.l, -1.0}, {s.right, -M}}));
            SCIP_CALL(addLinearRow(in.scip, "", -M, in.inf,
                                   {{a.y, 1.0}, {b.y, -1.0}, {b.w, -1.0}, {s.bottom, -M}}));
            SCIP_CALL(addLinearRow(in.scip, "", -M, in.inf,
                                   {{b.y, 1.0}, {a.y, -1.0}, {a.w, -1.0}, {s.top, -M}}));
        }
    }
    return SCIP_OKAY;
}

} // namespace fixedfloor
