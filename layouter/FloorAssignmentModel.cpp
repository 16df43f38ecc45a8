#include "layouter/FloorAssignmentStages.h"
#include "layouter/Layouter.h"
#include "layouter/ModelNames.h"
#include "model/Building.h"
#include "model/Proposal.h"
#include "model/Requirement.h"

using namespace modelsupport;
using namespace modelnames;
using floorassignment::anyFloor;
using modelstages::VariableParams;

namespace {

// One binary per floor level, exactly one of them 1 ("level" + tag); a fixed
// level's binary is fixed to 1.
SCIP_RETCODE addLevelBinaries(SCIP* scip, Registry& variables, const FloorData& floors, int id, int level)
{
    ConsGuard choice(scip);
    SCIP_CALL(SCIPcreateConsBasicLinear(scip, &choice.cons, levelChoiceConsName(id).c_str(), 0, nullptr, nullptr,
                                        1.0, 1.0));
    for (const auto& entry : floors.boxes) {
        const int k = entry.first;
        const std::string name = levelVarName(id, k);
        SCIP_VAR* f;
        SCIP_CALL(addVariable(scip, &f, name, 0.0, 1.0, 0.0, SCIP_VARTYPE_BINARY));
        registerVariable(variables, name, f);
        SCIP_CALL(SCIPaddCoefLinear(scip, choice.cons, f, 1.0));
        if (level == k)
            SCIP_CALL(addLinearRow(scip, "", 1.0, 1.0, {{f, 1.0}}));
    }
    SCIP_CALL(SCIPaddCons(scip, choice.cons));
    return SCIP_OKAY;
}

// The room lies inside the floor box of the level it lands on; the rows of
// the other levels are slack by M.
SCIP_RETCODE addContainmentRows(SCIP* scip, const Registry& variables, const FloorData& floors, int id,
                                const RoomVars& r, double inf)
{
    const double M = floors.bigM;
    for (const auto& [k, box] : floors.boxes) {
        SCIP_VAR* f = lookup(variables, levelVarName(id, k));
        SCIP_CALL(addLinearRow(scip, "", box.min.x - M, inf, {{r.x, 1.0}, {f, -M}}));
        SCIP_CALL(addLinearRow(scip, "", -inf, box.max.x + M, {{r.x, 1.0}, {r.l, 1.0}, {f, M}}));
        SCIP_CALL(addLinearRow(scip, "", box.min.y - M, inf, {{r.y, 1.0}, {f, -M}}));
        SCIP_CALL(addLinearRow(scip, "", -inf, box.max.y + M, {{r.y, 1.0}, {r.w, 1.0}, {f, M}}));
    }
    return SCIP_OKAY;
}

// Per level k: Σ over the rooms of f_k·(z + t·l + t·w − t²) = a_k, the gross
// rectangles of the rooms on k; a_k is the usable area, or at most that when
// free space is allowed.
SCIP_RETCODE addLevelFillRows(const modelstages::StageInput& in, double t, bool allowFreeSpace)
{
    for (const auto& [k, area] : in.floors.areas) {
        SCIP_VAR* covered;
        SCIP_CALL(addVariable(in.scip, &covered, "", allowFreeSpace ? 0.0 : area, area, 0.0,
                              SCIP_VARTYPE_CONTINUOUS));
        std::vector<Term> linear{{covered, -1.0}};
        std::vector<BilinearTerm> products;
        for (const std::shared_ptr<bg::Requirement>& requirement : in.requirements) {
            const int id = requirement->getIndex();
            SCIP_VAR* z = lookup(in.variables, roomVarName("z", id));
            const RoomVars r = lookupRoom(in.variables, id);
            SCIP_VAR* f = lookup(in.variables, levelVarName(id, k));
            products.push_back({z, f, 1.0});
            products.push_back({r.l, f, t});
            products.push_back({r.w, f, t});
            linear.push_back({f, -t * t});
        }
        SCIP_CALL(addQuadraticRow(in.scip, "", 0.0, 0.0, linear, products));
    }
    return SCIP_OKAY;
}

// Per pair of positions p < q: s = Σ over the levels of f_p·f_q, 1 exactly
// when the two rooms share a level. The levels are the building's floors',
// the same that the level binaries have, so a proposal whose layouts predate
// a change of the floors still separates the rooms of every floor.
SCIP_RETCODE addSameLevelBinaries(const modelstages::StageInput& in)
{
    const int n = static_cast<int>(in.requirements.size());
    for (int p = 0; p + 1 < n; ++p) {
        for (int q = p + 1; q < n; ++q) {
            SCIP_VAR* s;
            SCIP_CALL(addVariable(in.scip, &s, sameLevelVarName(p, q), 0.0, 1.0, 0.0, SCIP_VARTYPE_BINARY));
            registerVariable(in.variables, sameLevelKey(p, q), s);
            std::vector<BilinearTerm> products;
            for (const int k : in.floors.levels)
                products.push_back(
                    {lookup(in.variables, levelVarName(p, k)), lookup(in.variables, levelVarName(q, k)), 1.0});
            SCIP_CALL(addQuadraticRow(in.scip, "", 0.0, 0.0, {{s, -1.0}}, products));
        }
    }
    return SCIP_OKAY;
}

} // namespace

SCIP_RETCODE Layouter::buildFloorAssignmentModel()
{
    SCIP_CALL(recreateSolver("SCIP_Roomwright"));
    const double inf = SCIPinfinity(scip);
    const double t = parameters->innerWallStrength;
    const double inset = parameters->outerWallStrength - 0.5 * t;

    const FloorData floors = computeFloorData(proposal->getBuilding()->getFloors(), inset);
    const BoundingBox& all = floors.modelBox;
    double objectiveConstant = floors.totalArea;

    const std::vector<std::shared_ptr<bg::Requirement>>& requirements = requirementSet->getRequirements();
    const modelstages::StageInput input{scip, variables, requirements, floors, inf, floors.bigM};

    // Rooms: a rectangle anywhere in the model box, held inside the floor box
    // of the level its binaries choose; its net area (l − t)·(w − t) = z.
    for (const std::shared_ptr<bg::Requirement>& requirement : requirements) {
        const int level = requirement->getLevel();
        // A fixed level must be a floor's; a room is never silently let loose
        // on every floor. Throws std::out_of_range naming the level.
        if (level != anyFloor)
            floors.box(level);
        const int id = requirement->getIndex();
        const auto [targetLength, targetWidth] = requirement->getTargetSize();
        const auto [minLength, maxLength] = requirement->getLengthRange();
        const auto [minWidth, maxWidth] = requirement->getWidthRange();
        const auto [minArea, maxArea] = requirement->getAreaErrorRange();

        modelstages::RoomShape room{};
        SCIP_CALL(modelstages::addRoomVariables(
            scip, variables, id, VariableParams{all.min.x, all.max.x - minLength - t, 0.0},
            VariableParams{all.min.y, all.max.y - minWidth - t, 0.0},
            VariableParams{minLength + t, maxLength + t, -2.0 * targetLength},
            VariableParams{minWidth + t, maxWidth + t, -2.0 * targetWidth}, VariableParams{minArea, maxArea, 0.0}, room));
        SCIP_CALL(addLevelBinaries(scip, variables, floors, id, level));
        SCIP_CALL(addContainmentRows(scip, variables, floors, id, room.rect, inf));
        SCIP_CALL(modelstages::addShapeRow(scip, id, room, t));

        objectiveConstant += targetLength * targetLength + targetWidth * targetWidth;
    }

    SCIP_CALL(modelstages::addStairRows(input));
    SCIP_CALL(addLevelFillRows(input, t, allowFreeSpace != 0));
    SCIP_CALL(addSameLevelBinaries(input));
    // The constant makes it A_tot + Σ (l − lt)² + (w − wt)² − l·w.
    SCIP_CALL(modelstages::addObjective(input, objectiveConstant));

    SCIP_CALL(floorassignment::addObstacleRows(input, obstacles));
    SCIP_CALL(floorassignment::addNonOverlapRows(input));
    SCIP_CALL(modelstages::addAspectRatioRows(input));
    SCIP_CALL(floorassignment::addFacadeRows(input));
    SCIP_CALL(floorassignment::addConnectionRows(input, parameters->doorWidth, t));

    SCIP_CALL(includeRecorder());
    return SCIP_OKAY;
}
