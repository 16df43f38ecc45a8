#include "layouter/FixedFloorStages.h"
#include "layouter/Layouter.h"
#include "layouter/ModelSupport.h"
#include "model/Building.h"
#include "model/Proposal.h"
#include "model/Requirement.h"

using namespace modelsupport;
using modelstages::VariableParams;

SCIP_RETCODE Layouter::buildFixedFloorModel()
{
    SCIP_CALL(recreateSolver("SCIP_Roomwright"));
    const double inf = SCIPinfinity(scip);
    const double t = parameters->innerWallStrength;
    const double inset = parameters->outerWallStrength - 0.5 * t;

    const FloorData floors = computeFloorData(proposal->getBuilding()->getFloors(), inset);
    double objectiveConstant = floors.totalArea;

    const std::vector<std::shared_ptr<bg::Requirement>>& requirements = requirementSet->getRequirements();

    // Rooms: a rectangle inside the floor box of its level, its net area
    // (l − t)·(w − t) = z within the area bounds.
    for (const std::shared_ptr<bg::Requirement>& requirement : requirements) {
        const BoundingBox& box = floors.box(requirement->getLevel());
        const int id = requirement->getIndex();
        const auto [targetLength, targetWidth] = requirement->getTargetSize();
        const auto [minLength, maxLength] = requirement->getLengthRange();
        const auto [minWidth, maxWidth] = requirement->getWidthRange();
        const auto [minArea, maxArea] = requirement->getAreaErrorRange();

        modelstages::RoomShape room{};
        SCIP_CALL(modelstages::addRoomVariables(
            scip, variables, id, VariableParams{box.min.x, box.max.x - minLength - t, 0.0},
            VariableParams{box.min.y, box.max.y - minWidth - t, 0.0},
            VariableParams{minLength + t, maxLength + t, -2.0 * (targetLength + t)},
            VariableParams{minWidth + t, maxWidth + t, -2.0 * (targetWidth + t)}, VariableParams{minArea, maxArea, 0.0},
            room));
        const RoomVars& r = room.rect;
        SCIP_CALL(addLinearRow(scip, "", box.min.x, box.max.x, {{r.x, 1.0}, {r.l, 1.0}}));
        SCIP_CALL(addLinearRow(scip, "", box.min.y, box.max.y, {{r.y, 1.0}, {r.w, 1.0}}));
        SCIP_CALL(modelstages::addShapeRow(scip, id, room, t));

        objectiveConstant += (targetLength + t) * (targetLength + t) + (targetWidth + t) * (targetWidth + t);
    }

    // Stairs share one rectangle; then the stages after the base work on the
    // same variables and big-M.
    const modelstages::StageInput input{scip, variables, requirements, floors, inf, floors.bigM};
    SCIP_CALL(modelstages::addStairRows(input));

    // Floor fill: the rooms of a level cover its usable area exactly, or at
    // most that area when free space is allowed.
    for (const auto& [level, area] : floors.areas) {
        std::vector<BilinearTerm> extents;
        for (const std::shared_ptr<bg::Requirement>& requirement : requirements) {
            if (requirement->getLevel() != level)
                continue;
            const RoomVars room = lookupRoom(variables, requirement->getIndex());
            extents.push_back({room.l, room.w, 1.0});
        }
        SCIP_CALL(addQuadraticRow(scip, "", allowFreeSpace == 0 ? area : 0.0, area, {}, extents));
    }

    // Objective: the constant makes it A_tot + Σ (l − lt − t)² + (w − wt − t)² − l·w.
    SCIP_CALL(modelstages::addObjective(input, objectiveConstant));

    // Separation, facades and doors.
    SCIP_CALL(fixedfloor::addObstacleRows(input, obstacles));
    SCIP_CALL(fixedfloor::addNonOverlapRows(input));
    SCIP_CALL(modelstages::addAspectRatioRows(input));
    SCIP_CALL(fixedfloor::addFacadeRows(input));
    SCIP_CALL(fixedfloor::addDoorRows(input, parameters->doorWidth, t));

    SCIP_CALL(includeRecorder());
    return SCIP_OKAY;
}
