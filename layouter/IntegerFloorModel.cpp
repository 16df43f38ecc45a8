// The integer-floor model: every room has one integer level f, and rows that
// depend on the floor are switched by level selectors. Rooms are net
// rectangles (l·w = z) on the proposal's layouts, which may touch; the other
// two models work on wall-centred rectangles of the building's floors.

#include "layouter/Layouter.h"
#include "layouter/ModelNames.h"
#include "layouter/ModelStages.h"
#include "model/Constants.h"
#include "model/Proposal.h"
#include "model/Requirement.h"

#include <algorithm>
#include <map>
#include <set>
#include <stdexcept>
#include <utility>

using namespace modelsupport;
using namespace modelnames;
using bg::anyFloor;
using modelstages::Sides;

namespace {

// Floor data of the proposal's layouts, whose contours are inset by the
// whole outer wall. The first layout of a level gives its box, outline and
// area; every layout counts towards the total area.
FloorData layoutFloorData(const std::vector<std::shared_ptr<bg::Layout>>& layouts)
{
    if (layouts.empty())
        throw std::invalid_argument("The proposal has no floor layouts to place rooms on");
    FloorData data;
    for (const std::shared_ptr<bg::Layout>& layout : layouts)
        data.addOutline(layout->getLevel(), layout->getContour());
    data.setBigM();
    return data;
}

// The parts of each layout's bounding box that its outline leaves uncovered,
// layout by layout. The Layouter's own obstacles are those of the outlines
// inset by less than the outer wall, on which the other models' wall-centred
// rectangles lie; net rooms kept clear only of those could reach into the
// outer wall at a notch, by half an inner wall, and miss a facade they touch.
std::vector<Obstacle> layoutObstacles(const std::vector<std::shared_ptr<bg::Layout>>& layouts)
{
    std::vector<Obstacle> found;
    for (const std::shared_ptr<bg::Layout>& layout : layouts) {
        for (const std::vector<Vec2>& piece : boundingBoxComplement(layout->getContour())) {
            const BoundingBox box = boundingBox(piece);
            const double width = box.max.x - box.min.x, height = box.max.y - box.min.y;
            // A rectangular outline leaves nothing, or slivers of rounding.
            if (width > 1e-6 && height > 1e-6)
                found.emplace_back(layout->getLevel(), box.min.x, box.min.y, width, height);
        }
    }
    return found;
}

// binary = 1 implies Σ terms <= rhs.
SCIP_RETCODE addIndicatorRow(SCIP* scip, SCIP_VAR* binary, const std::vector<Term>& terms, double rhs)
{
    std::vector<SCIP_VAR*> vars;
    std::vector<double> coefs;
    for (const Term& term : terms) {
        vars.push_back(term.var);
        coefs.push_back(term.coef);
    }
    ConsGuard row(scip);
    SCIP_CALL(SCIPcreateConsBasicIndicator(scip, &row.cons, "", binary, static_cast<int>(vars.size()), vars.data(),
                                           coefs.data(), rhs));
    SCIP_CALL(SCIPaddCons(scip, row.cons));
    return SCIP_OKAY;
}

SCIP_RETCODE addUnnamedBinary(SCIP* scip, SCIP_VAR** var)
{
    return addVariable(scip, var, "", 0.0, 1.0, 0.0, SCIP_VARTYPE_BINARY);
}

// Whether a room's level f lies below, above or on the level L. Exactly one
// holds, and on = 1 exactly when f = L: a selector that could say "on" for a
// room standing elsewhere would let a floor count rooms of another floor.
struct LevelSelector {
    SCIP_VAR* below;
    SCIP_VAR* above;
    SCIP_VAR* on;
};

SCIP_RETCODE addLevelSelector(SCIP* scip, SCIP_VAR* f, int level, LevelSelector& s)
{
    const double L = level;
    SCIP_CALL(addUnnamedBinary(scip, &s.below));
    SCIP_CALL(addUnnamedBinary(scip, &s.above));
    SCIP_CALL(addUnnamedBinary(scip, &s.on));
    SCIP_CALL(addIndicatorRow(scip, s.below, {{f, 1.0}}, L - 1.0));
    SCIP_CALL(addIndicatorRow(scip, s.above, {{f, -1.0}}, -L - 1.0));
    SCIP_CALL(addLinearRow(scip, "", 1.0, 1.0, {{s.below, 1.0}, {s.above, 1.0}, {s.on, 1.0}}));
    SCIP_CALL(addIndicatorRow(scip, s.on, {{f, 1.0}}, L));
    SCIP_CALL(addIndicatorRow(scip, s.on, {{f, -1.0}}, -L));
    return SCIP_OKAY;
}

// same = 1 exactly when the two rooms' levels are equal.
SCIP_RETCODE addPairSelector(SCIP* scip, SCIP_VAR* fi, SCIP_VAR* fj, SCIP_VAR** same)
{
    SCIP_VAR* below;
    SCIP_VAR* above;
    SCIP_CALL(addUnnamedBinary(scip, &below));
    SCIP_CALL(addUnnamedBinary(scip, &above));
    SCIP_CALL(addUnnamedBinary(scip, same));
    SCIP_CALL(addIndicatorRow(scip, below, {{fi, 1.0}, {fj, -1.0}}, -1.0));
    SCIP_CALL(addIndicatorRow(scip, above, {{fj, 1.0}, {fi, -1.0}}, -1.0));
    SCIP_CALL(addLinearRow(scip, "", 1.0, 1.0, {{below, 1.0}, {above, 1.0}, {*same, 1.0}}));
    return SCIP_OKAY;
}

struct IntegerRoom {
    RoomVars rect;
    SCIP_VAR* z;
    SCIP_VAR* f;
};

IntegerRoom lookupIntegerRoom(const Registry& registry, int index)
{
    return {lookupRoom(registry, index), lookup(registry, roomVarName("z", index)),
            lookup(registry, floorVarName(index))};
}

// The six registered variables of a room and its own rows: its area, and its
// rectangle inside the box of its fixed floor, or inside the box of the floor
// it stands on when it may go on any floor.
SCIP_RETCODE addRoom(const modelstages::StageInput& in, const bg::Requirement& requirement)
{
    SCIP* scip = in.scip;
    const FloorData& floors = in.floors;
    const BoundingBox& all = floors.modelBox;
    const double M = in.bigM;
    const int id = requirement.getIndex();
    const auto [targetLength, targetWidth] = requirement.getTargetSize();
    const auto [minLength, maxLength] = requirement.getLengthRange();
    const auto [minWidth, maxWidth] = requirement.getWidthRange();
    const auto [minArea, maxArea] = requirement.getAreaErrorRange();

    modelstages::RoomShape room{};
    SCIP_CALL(modelstages::addRoomVariables(
        scip, in.variables, id, {all.min.x, all.max.x - minLength, 0.0}, {all.min.y, all.max.y - minWidth, 0.0},
        {minLength, maxLength, -2.0 * targetLength}, {minWidth, maxWidth, -2.0 * targetWidth},
        {minArea, maxArea, 0.0}, room));
    const std::string fName = floorVarName(id);
    SCIP_VAR* f;
    // The lowest and the highest layout level.
    SCIP_CALL(addVariable(scip, &f, fName, floors.boxes.begin()->first, floors.boxes.rbegin()->first, 0.0,
                          SCIP_VARTYPE_INTEGER));
    registerVariable(in.variables, fName, f);
    const RoomVars& r = room.rect;

    // The net area: l·w = z.
    SCIP_CALL(addQuadraticRow(scip, "", 0.0, 0.0, {{room.z, -1.0}}, {{r.l, r.w, 1.0}}));

    const int level = requirement.getLevel();
    if (level != anyFloor) {
        // Throws std::out_of_range naming a level that no layout has.
        const BoundingBox& box = floors.box(level);
        SCIP_CALL(addLinearRow(scip, "", level, level, {{f, 1.0}}));
        SCIP_CALL(addLinearRow(scip, "", box.min.x, box.max.x, {{r.x, 1.0}}));
        SCIP_CALL(addLinearRow(scip, "", box.min.x, box.max.x, {{r.x, 1.0}, {r.l, 1.0}}));
        SCIP_CALL(addLinearRow(scip, "", box.min.y, box.max.y, {{r.y, 1.0}}));
        SCIP_CALL(addLinearRow(scip, "", box.min.y, box.max.y, {{r.y, 1.0}, {r.w, 1.0}}));
        return SCIP_OKAY;
    }
    // The room stands on exactly one of the layouts' levels: without this row
    // a gap between levels (0 and 2) would leave it a level without a floor.
    ConsGuard onSomeLevel(scip);
    SCIP_CALL(SCIPcreateConsBasicLinear(scip, &onSomeLevel.cons, "", 0, nullptr, nullptr, 1.0, 1.0));
    for (const auto& [L, box] : floors.boxes) {
        LevelSelector s{};
        SCIP_CALL(addLevelSelector(scip, f, L, s));
        SCIP_CALL(SCIPaddCoefLinear(scip, onSomeLevel.cons, s.on, 1.0));
        SCIP_CALL(addLinearRow(scip, "", box.min.x - M, in.inf, {{r.x, 1.0}, {s.on, -M}}));
        SCIP_CALL(addLinearRow(scip, "", -in.inf, box.max.x + M, {{r.x, 1.0}, {s.on, M}}));
        SCIP_CALL(addLinearRow(scip, "", box.min.x - M, in.inf, {{r.x, 1.0}, {r.l, 1.0}, {s.on, -M}}));
        SCIP_CALL(addLinearRow(scip, "", -in.inf, box.max.x + M, {{r.x, 1.0}, {r.l, 1.0}, {s.on, M}}));
        SCIP_CALL(addLinearRow(scip, "", box.min.y - M, in.inf, {{r.y, 1.0}, {s.on, -M}}));
        SCIP_CALL(addLinearRow(scip, "", -in.inf, box.max.y + M, {{r.y, 1.0}, {s.on, M}}));
        SCIP_CALL(addLinearRow(scip, "", box.min.y - M, in.inf, {{r.y, 1.0}, {r.w, 1.0}, {s.on, -M}}));
        SCIP_CALL(addLinearRow(scip, "", -in.inf, box.max.y + M, {{r.y, 1.0}, {r.w, 1.0}, {s.on, M}}));
    }
    SCIP_CALL(SCIPaddCons(scip, onSomeLevel.cons));
    return SCIP_OKAY;
}

// "Constant" (fixed to 1, objective coefficient `constant`) and "QuadObj",
// tied by an unnamed row to Σ over the rooms of l² + w² − l·w.
SCIP_RETCODE addObjectiveVariables(const modelstages::StageInput& in, double constant)
{
    SCIP_VAR* constantVar;
    SCIP_CALL(addVariable(in.scip, &constantVar, "Constant", 1.0, 1.0, constant, SCIP_VARTYPE_CONTINUOUS));
    registerVariable(in.variables, "Constant", constantVar);
    SCIP_VAR* quadObj;
    SCIP_CALL(addVariable(in.scip, &quadObj, "QuadObj", -in.inf, in.inf, 1.0, SCIP_VARTYPE_CONTINUOUS));
    registerVariable(in.variables, "QuadObj", quadObj);
    std::vector<BilinearTerm> squares;
    for (const std::shared_ptr<bg::Requirement>& requirement : in.requirements) {
        const RoomVars r = lookupRoom(in.variables, requirement->getIndex());
        squares.push_back({r.l, r.l, 1.0});
        squares.push_back({r.w, r.w, 1.0});
        squares.push_back({r.l, r.w, -1.0});
    }
    return addQuadraticRow(in.scip, "", 0.0, 0.0, {{quadObj, -1.0}}, squares);
}

// Per layout level L: Σ over the rooms standing on L of z = a_L, with a_L the
// outline's area, or at most that when free space is allowed.
SCIP_RETCODE addFloorAreaRows(const modelstages::StageInput& in, bool allowFreeSpace)
{
    for (const auto& [L, area] : in.floors.areas) {
        SCIP_VAR* covered;
        SCIP_CALL(addVariable(in.scip, &covered, "", allowFreeSpace ? 0.0 : area, area, 0.0,
                              SCIP_VARTYPE_CONTINUOUS));
        std::vector<BilinearTerm> onLevel;
        for (const std::shared_ptr<bg::Requirement>& requirement : in.requirements) {
            const IntegerRoom room = lookupIntegerRoom(in.variables, requirement->getIndex());
            LevelSelector s{};
            SCIP_CALL(addLevelSelector(in.scip, room.f, L, s));
            onLevel.push_back({room.z, s.on, 1.0});
        }
        SCIP_CALL(addQuadraticRow(in.scip, "", 0.0, 0.0, {{covered, -1.0}}, onLevel));
    }
    return SCIP_OKAY;
}

// Stair rooms share one rectangle; two with fixed levels lie on different
// levels.
SCIP_RETCODE addStairStacking(const modelstages::StageInput& in)
{
    for (const std::shared_ptr<bg::Requirement>& first : in.requirements) {
        for (const std::shared_ptr<bg::Requirement>& second : in.requirements) {
            if (first->getRoomType() != "Stair" || second->getRoomType() != "Stair" ||
                first->getIndex() >= second->getIndex())
                continue;
            const IntegerRoom a = lookupIntegerRoom(in.variables, first->getIndex());
            const IntegerRoom b = lookupIntegerRoom(in.variables, second->getIndex());
            SCIP_CALL(addLinearRow(in.scip, "", 0.0, 0.0, {{a.rect.x, 1.0}, {b.rect.x, -1.0}}));
            SCIP_CALL(addLinearRow(in.scip, "", 0.0, 0.0, {{a.rect.y, 1.0}, {b.rect.y, -1.0}}));
            SCIP_CALL(addLinearRow(in.scip, "", 0.0, 0.0, {{a.rect.l, 1.0}, {b.rect.l, -1.0}}));
            SCIP_CALL(addLinearRow(in.scip, "", 0.0, 0.0, {{a.rect.w, 1.0}, {b.rect.w, -1.0}}));
            if (first->getLevel() == anyFloor || second->getLevel() == anyFloor)
                continue;
            SCIP_VAR* firstBelow;
            SCIP_VAR* secondBelow;
            SCIP_CALL(addUnnamedBinary(in.scip, &firstBelow));
            SCIP_CALL(addUnnamedBinary(in.scip, &secondBelow));
            SCIP_CALL(addIndicatorRow(in.scip, firstBelow, {{a.f, 1.0}, {b.f, -1.0}}, -1.0));
            SCIP_CALL(addIndicatorRow(in.scip, secondBelow, {{b.f, 1.0}, {a.f, -1.0}}, -1.0));
            SCIP_CALL(addLinearRow(in.scip, "", 1.0, 2.0, {{firstBelow, 1.0}, {secondBelow, 1.0}}));
        }
    }
    return SCIP_OKAY;
}

// A room keeps clear of every obstacle of its level: of its fixed level's
// obstacles directly, of every obstacle while it stands on that obstacle's
// level when it may go on any floor. Side binaries are named by the
// obstacle's position in the whole list, all levels together.
SCIP_RETCODE addObstacleRows(const modelstages::StageInput& in, const std::vector<Obstacle>& obstacles)
{
    const double M = in.bigM;
    const double inf = in.inf;
    for (const std::shared_ptr<bg::Requirement>& requirement : in.requirements) {
        const int id = requirement->getIndex();
        const int level = requirement->getLevel();
        const IntegerRoom room = lookupIntegerRoom(in.variables, id);
        const RoomVars& r = room.rect;
        for (std::size_t k = 0; k < obstacles.size(); ++k) {
            const Obstacle& obstacle = obstacles[k];
            if (level != anyFloor && obstacle.getLevel() != level)
                continue;
            const double ox = obstacle.getX(), oy = obstacle.getY();
            const double ow = obstacle.getWidth(), oh = obstacle.getHeight();
            Sides b{};
            SCIP_CALL(modelstages::addSideBinaries(
                in.scip, in.variables,
                [&](const char* side) { return obstacleVarName(id, static_cast<int>(k), side); }, b));
            if (level != anyFloor) {
                SCIP_CALL(addLinearRow(in.scip, "", -inf, ox + M, {{r.x, 1.0}, {r.l, 1.0}, {b.left, M}}));
                SCIP_CALL(addLinearRow(in.scip, "", ox + ow - M, inf, {{r.x, 1.0}, {b.right, -M}}));
                SCIP_CALL(addLinearRow(in.scip, "", -inf, oy + M, {{r.y, 1.0}, {r.w, 1.0}, {b.bottom, M}}));
                SCIP_CALL(addLinearRow(in.scip, "", oy + oh - M, inf, {{r.y, 1.0}, {b.top, -M}}));
                SCIP_CALL(addLinearRow(in.scip, "", 1.0, 4.0,
                                       {{b.left, 1.0}, {b.right, 1.0}, {b.bottom, 1.0}, {b.top, 1.0}}));
                continue;
            }
            LevelSelector s{};
            SCIP_CALL(addLevelSelector(in.scip, room.f, obstacle.getLevel(), s));
            SCIP_CALL(addQuadraticRow(in.scip, "", -inf, ox + M, {{r.x, 1.0}, {r.l, 1.0}}, {{s.on, b.left, M}}));
            SCIP_CALL(addQuadraticRow(in.scip, "", ox + ow - M, inf, {{r.x, 1.0}}, {{s.on, b.right, -M}}));
            SCIP_CALL(addQuadraticRow(in.scip, "", -inf, oy + M, {{r.y, 1.0}, {r.w, 1.0}}, {{s.on, b.bottom, M}}));
            SCIP_CALL(addQuadraticRow(in.scip, "", oy + oh - M, inf, {{r.y, 1.0}}, {{s.on, b.top, -M}}));
            SCIP_CALL(addLinearRow(in.scip, "", 0.0, 4.0,
                                   {{b.left, 1.0}, {b.right, 1.0}, {b.bottom, 1.0}, {b.top, 1.0}, {s.on, -1.0}}));
        }
    }
    return SCIP_OKAY;
}

// Two rooms that may share a level keep clear of each other on one side when
// they do. The rooms are addressed by index, so the indices of the set must
// be 0 to n − 1; std::out_of_range otherwise.
SCIP_RETCODE addPairRows(const modelstages::StageInput& in,
                         const std::map<int, std::shared_ptr<bg::Requirement>>& requirementsByIndex)
{
    const double M = in.bigM;
    const int n = static_cast<int>(in.requirements.size());
    for (int i = 0; i + 1 < n; ++i) {
        for (int j = i + 1; j < n; ++j) {
            const int levelI = requirementsByIndex.at(i)->getLevel();
            const int levelJ = requirementsByIndex.at(j)->getLevel();
            const IntegerRoom a = lookupIntegerRoom(in.variables, i);
            const IntegerRoom b = lookupIntegerRoom(in.variables, j);
            if (levelI != anyFloor && levelJ != anyFloor && levelI != levelJ)
                continue;
            Sides side{};
            SCIP_CALL(modelstages::addSideBinaries(
                in.scip, in.variables, [&](const char* word) { return overlapVarName(i, j, word); }, side));
            if (levelI != anyFloor && levelI == levelJ) {
                SCIP_CALL(addLinearRow(in.scip, "", -in.inf, M,
                                       {{a.rect.x, 1.0}, {a.rect.l, 1.0}, {b.rect.x, -1.0}, {side.left, M}}));
                SCIP_CALL(addLinearRow(in.scip, "", -in.inf, M,
                                       {{b.rect.x, 1.0}, {b.rect.l, 1.0}, {a.rect.x, -1.0}, {side.right, M}}));
                SCIP_CALL(addLinearRow(in.scip, "", -in.inf, M,
                                       {{a.rect.y, 1.0}, {a.rect.w, 1.0}, {b.rect.y, -1.0}, {side.bottom, M}}));
                SCIP_CALL(addLinearRow(in.scip, "", -in.inf, M,
                                       {{b.rect.y, 1.0}, {b.rect.w, 1.0}, {a.rect.y, -1.0}, {side.top, M}}));
                SCIP_CALL(addLinearRow(in.scip, "", 1.0, in.inf,
                                       {{side.left, 1.0}, {side.right, 1.0}, {side.bottom, 1.0}, {side.top, 1.0}}));
                continue;
            }
            SCIP_VAR* same;
            SCIP_CALL(addPairSelector(in.scip, a.f, b.f, &same));
            SCIP_CALL(addQuadraticRow(in.scip, "", -in.inf, M, {{a.rect.x, 1.0}, {a.rect.l, 1.0}, {b.rect.x, -1.0}},
                                      {{side.left, same, M}}));
            SCIP_CALL(addQuadraticRow(in.scip, "", -in.inf, M, {{b.rect.x, 1.0}, {b.rect.l, 1.0}, {a.rect.x, -1.0}},
                                      {{side.right, same, M}}));
            SCIP_CALL(addQuadraticRow(in.scip, "", -in.inf, M, {{a.rect.y, 1.0}, {a.rect.w, 1.0}, {b.rect.y, -1.0}},
                                      {{side.bottom, same, M}}));
            SCIP_CALL(addQuadraticRow(in.scip, "", -in.inf, M, {{b.rect.y, 1.0}, {b.rect.w, 1.0}, {a.rect.y, -1.0}},
                                      {{side.top, same, M}}));
            SCIP_CALL(addLinearRow(in.scip, "", 0.0, 4.0,
                                   {{side.left, 1.0}, {side.right, 1.0}, {side.bottom, 1.0}, {side.top, 1.0},
                                    {same, -1.0}}));
        }
    }
    return SCIP_OKAY;
}

// A wished side: one of the walls of that side on the room's fixed floor, or
// on whichever floor it stands on. A floor without a wall of that side
// leaves its choice row unsatisfiable there.
SCIP_RETCODE addFacadeRows(const modelstages::StageInput& in)
{
    using modelstages::ContactOrder;
    const WallLists walls = makeWallLists(in.floors.polygons);
    for (const std::shared_ptr<bg::Requirement>& requirement : in.requirements) {
        const int id = requirement->getIndex();
        const int level = requirement->getLevel();
        const IntegerRoom room = lookupIntegerRoom(in.variables, id);
        // Any room type alike: "whatever" asks for no facade here.
        for (const std::string& side : modelstages::directionWords(requirement->getBoundaries())) {
            if (side == "whatever")
                break;
            if (level != anyFloor) {
                SCIP_CALL(modelstages::addFacadeBlock(in, room.rect, "", {{side.c_str(), &walls.walls(side, level)}},
                                                      ContactOrder::StartLimitFirst));
                continue;
            }
            for (const int L : in.floors.levels) {
                LevelSelector s{};
                SCIP_CALL(addLevelSelector(in.scip, room.f, L, s));
                SCIP_CALL(modelstages::addSwitchedFacadeBlock(in, room.rect, s.on, 4.0,
                                                              {{side.c_str(), &walls.walls(side, L)}},
                                                              ContactOrder::StartLimitFirst));
            }
        }
    }
    return SCIP_OKAY;
}

// Connected rooms stand on one level and share a wall at least d + t long:
// along x when c = 1, along y when c = 0.
SCIP_RETCODE addConnectionRows(const modelstages::StageInput& in, double doorWidth, double t)
{
    const double D = doorWidth + t;
    std::set<std::pair<int, int>> connected;
    for (const std::shared_ptr<bg::Requirement>& requirement : in.requirements) {
        const int i = requirement->getIndex();
        for (const int j : requirement->getAdjacency()) {
            if (j == -1)
                break;
            if (!connected.insert({std::min(i, j), std::max(i, j)}).second)
                continue;
            const IntegerRoom a = lookupIntegerRoom(in.variables, i);
            const IntegerRoom b = lookupIntegerRoom(in.variables, j);
            SCIP_CALL(addLinearRow(in.scip, "", 0.0, 0.0, {{a.f, 1.0}, {b.f, -1.0}}));
            SCIP_VAR* c;
            SCIP_CALL(addVariable(in.scip, &c, connectionVarName(i, j), 0.0, 1.0, 0.0, SCIP_VARTYPE_BINARY));
            const RoomVars& p = a.rect;
            const RoomVars& q = b.rect;
            SCIP_CALL(addLinearRow(in.scip, "", -in.inf, 0.0, {{p.x, 1.0}, {q.x, -1.0}, {q.l, -1.0}, {c, D}}));
            SCIP_CALL(addLinearRow(in.scip, "", -in.inf, 0.0, {{q.x, 1.0}, {p.x, -1.0}, {p.l, -1.0}, {c, D}}));
            SCIP_CALL(addLinearRow(in.scip, "", -in.inf, -D, {{p.y, 1.0}, {q.y, -1.0}, {q.w, -1.0}, {c, -D}}));
            SCIP_CALL(addLinearRow(in.scip, "", -in.inf, -D, {{q.y, 1.0}, {p.y, -1.0}, {p.w, -1.0}, {c, -D}}));
        }
    }
    return SCIP_OKAY;
}

} // namespace

SCIP_RETCODE Layouter::buildIntegerFloorModel()
{
    SCIP_CALL(recreateSolver("SCIP_Floorsmith"));
    const double inf = SCIPinfinity(scip);

    // Throws for a proposal without layouts and for a layout contour of fewer
    // than two points.
    const FloorData floors = layoutFloorData(proposal->getLayouts());
    const std::vector<std::shared_ptr<bg::Requirement>>& requirements = requirementSet->getRequirements();
    const modelstages::StageInput input{scip, variables, requirements, floors, inf, floors.bigM};

    // The first requirement of an index is the one found by index and name.
    std::map<int, std::shared_ptr<bg::Requirement>> requirementsByIndex;
    double constantOffset = floors.totalArea;
    for (const std::shared_ptr<bg::Requirement>& requirement : requirements) {
        requirementsByIndex.emplace(requirement->getIndex(), requirement);
        const auto [targetLength, targetWidth] = requirement->getTargetSize();
        constantOffset += targetLength * targetLength + targetWidth * targetWidth;
        SCIP_CALL(addRoom(input, *requirement));
    }
    // The constant makes the objective A_tot + Σ (l − tl)² + (w − tw)² − l·w.
    SCIP_CALL(addObjectiveVariables(input, constantOffset));
    SCIP_CALL(addFloorAreaRows(input, allowFreeSpace != 0));
    SCIP_CALL(addStairStacking(input));
    SCIP_CALL(addObstacleRows(input, layoutObstacles(proposal->getLayouts())));

    SCIP_CALL(addPairRows(input, requirementsByIndex));
    SCIP_CALL(modelstages::addAspectRatioRows(input));
    SCIP_CALL(addFacadeRows(input));
    SCIP_CALL(addConnectionRows(input, parameters->doorWidth, parameters->innerWallStrength));

    SCIP_CALL(includeRecorder());
    return SCIP_OKAY;
}
