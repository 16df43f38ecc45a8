#include "layouter/FixedFloorStages.h"
#include "layouter/Layouter.h"
#include "layouter/ModelNames.h"
#include "layouter/ModelSupport.h"
#include "model/Building.h"
#include "model/Proposal.h"
#include "model/Requirement.h"

using namespace modelsupport;
using modelnames::roomVarName;

namespace {

// Σ over the rooms of (l² + w² − l·w) − Quadobj = 0: the quadratic part of the
// objective, carried by the free variable Quadobj.
SCIP_RETCODE addQuadraticObjective(SCIP* scip, Registry& variables, SCIP_VAR* quadobj,
                                   const std::vector<std::shared_ptr<bg::Requirement>>& requirements)
{
    ConsGuard row(scip);
    SCIP_CALL(SCIPcreateConsBasicQuadraticNonlinear(scip, &row.cons, "QuadobjConstraint", 0, nullptr,
                                                    nullptr, 0, nullptr, nullptr, nullptr, 0.0, 0.0));
    SCIP_CALL(SCIPaddLinearVarNonlinear(scip, row.cons, quadobj, -1.0));
    for (const std::shared_ptr<bg::Requirement>& requirement : requirements) {
        const int id = requirement->getIndex();
        ExprGuard l(scip), w(scip), l2(scip), w2(scip), lw(scip);
        SCIP_CALL(SCIPcreateExprVar(scip, &l.expr, lookup(variables, roomVarName("l", id)), nullptr, nullptr));
        SCIP_CALL(SCIPcreateExprVar(scip, &w.expr, lookup(variables, roomVarName("w", id)), nullptr, nullptr));
        SCIP_CALL(SCIPcreateExprPow(scip, &l2.expr, l.expr, 2.0, nullptr, nullptr));
        SCIP_CALL(SCIPcreateExprPow(scip, &w2.expr, w.expr, 2.0, nullptr, nullptr));
        SCIP_EXPR* factors[] = {l.expr, w.expr};
        SCIP_CALL(SCIPcreateExprProduct(scip, &lw.expr, 2, factors, 1.0, nullptr, nullptr));
        SCIP_CALL(SCIPaddExprNonlinear(scip, row.cons, l2.expr, 1.0));
        SCIP_CALL(SCIPaddExprNonlinear(scip, row.cons, w2.expr, 1.0));
        SCIP_CALL(SCIPaddExprNonlinear(scip, row.cons, lw.expr, -1.0));
    }
    SCIP_CALL(SCIPaddCons(scip, row.cons));
    return SCIP_OKAY;
}

} // namespace

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

        SCIP_VAR *x, *y, *l, *w, *z;
        SCIP_CALL(addVariable(scip, &x, roomVarName("x", id), box.min.x, box.max.x - minLength - t, 0.0,
                              SCIP_VARTYPE_CONTINUOUS));
        registerVariable(variables, roomVarName("x", id), x);
        SCIP_CALL(addVariable(scip, &y, roomVarName("y", id), box.min.y, box.max.y - minWidth - t, 0.0,
                              SCIP_VARTYPE_CONTINUOUS));
        registerVariable(variables, roomVarName("y", id), y);
        SCIP_CALL(addVariable(scip, &l, roomVarName("l", id), minLength + t, maxLength + t,
                              -2.0 * (targetLength + t), SCIP_VARTYPE_CONTINUOUS));
        registerVariable(variables, roomVarName("l", id), l);
        SCIP_CALL(addVariable(scip, &w, roomVarName("w", id), minWidth + t, maxWidth + t,
                              -2.0 * (targetWidth + t), SCIP_VARTYPE_CONTINUOUS));
        registerVariable(variables, roomVarName("w", id), w);
        SCIP_CALL(addVariable(scip, &z, roomVarName("z", id), minArea, maxArea, 0.0, SCIP_VARTYPE_CONTINUOUS));
        registerVariable(variables, roomVarName("z", id), z);

        SCIP_CALL(addLinearRow(scip, "", box.min.x, box.max.x, {{x, 1.0}, {l, 1.0}}));
        SCIP_CALL(addLinearRow(scip, "", box.min.y, box.max.y, {{y, 1.0}, {w, 1.0}}));
        SCIP_CALL(addQuadraticRow(scip, modelnames::shapeConsName(id), -t * t, -t * t,
                                  {{z, -1.0}, {l, -t}, {w, -t}}, {{l, w, 1.0}}));

        objectiveConstant += (targetLength + t) * (targetLength + t) + (targetWidth + t) * (targetWidth + t);
    }

    // Stairs: all stair rooms share one rectangle, whatever their floors.
    for (const std::shared_ptr<bg::Requirement>& first : requirements) {
        for (const std::shared_ptr<bg::Requirement>& second : requirements) {
            if (first->getRoomType() != "Stair" || second->getRoomType() != "Stair" ||
                first->getIndex() >= second->getIndex())
                continue;
            const RoomVars a = lookupRoom(variables, first->getIndex());
            const RoomVars b = lookupRoom(variables, second->getIndex());
            SCIP_CALL(addLinearRow(scip, "", 0.0, 0.0, {{a.x, 1.0}, {b.x, -1.0}}));
            SCIP_CALL(addLinearRow(scip, "", 0.0, 0.0, {{a.y, 1.0}, {b.y, -1.0}}));
            SCIP_CALL(addLinearRow(scip, "", 0.0, 0.0, {{a.l, 1.0}, {b.l, -1.0}}));
            SCIP_CALL(addLinearRow(scip, "", 0.0, 0.0, {{a.w, 1.0}, {b.w, -1.0}}));
        }
    }

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
    SCIP_VAR* constant;
    SCIP_CALL(addVariable(scip, &constant, "Constant", 1.0, 1.0, objectiveConstant, SCIP_VARTYPE_CONTINUOUS));
    registerVariable(variables, "Constant", constant);
    SCIP_VAR* quadobj;
    SCIP_CALL(addVariable(scip, &quadobj, "Quadobj", -inf, inf, 1.0, SCIP_VARTYPE_CONTINUOUS));
    registerVariable(variables, "Quadobj", quadobj);
    SCIP_CALL(addQuadraticObjective(scip, variables, quadobj, requirements));

    // Separation, facades and doors, on the same variables and big-M.
    const fixedfloor::StageInput input{scip, variables, requirements, floors, inf, floors.bigM};
    SCIP_CALL(fixedfloor::addObstacleRows(input, obstacles));
    SCIP_CALL(fixedfloor::addNonOverlapRows(input));
    SCIP_CALL(fixedfloor::addAspectRatioRows(input));
    SCIP_CALL(fixedfloor::addFacadeRows(input));
    SCIP_CALL(fixedfloor::addDoorRows(input, parameters->doorWidth, t));

    SCIP_CALL(includeRecorder());
    return SCIP_OKAY;
}
