#include "layouter/FixedFloorStages.h"
#include "layouter/ModelNames.h"
#include "model/Requirement.h"

using namespace modelsupport;
using namespace modelnames;

namespace fixedfloor {

namespace {

// The three rows that hold the room against `wall` (of side `side`) when b is
// 1 and are slack by M when it is 0.
SCIP_RETCODE addWallContactRows(const StageInput& in, const RoomVars& r, SCIP_VAR* b,
                                const std::string& side, const PolygonEdge& wall)
{
    const double M = in.bigM;
    const double inf = in.inf;
    const double fx = wall.start.x, fy = wall.start.y, tx = wall.end.x, ty = wall.end.y;
    if (side == "east") {
        SCIP_CALL(addLinearRow(in.scip, "", fx - M, inf, {{r.x, 1.0}, {r.l, 1.0}, {b, -M}}));
        SCIP_CALL(addLinearRow(in.scip, "", fy - M, inf, {{r.y, 1.0}, {b, -M}}));
        SCIP_CALL(addLinearRow(in.scip, "", -inf, ty + M, {{r.y, 1.0}, {r.w, 1.0}, {b, M}}));
    } else if (side == "south") {
        SCIP_CALL(addLinearRow(in.scip, "", -inf, fy + M, {{r.y, 1.0}, {b, M}}));
        SCIP_CALL(addLinearRow(in.scip, "", fx - M, inf, {{r.x, 1.0}, {b, -M}}));
        SCIP_CALL(addLinearRow(in.scip, "", -inf, tx + M, {{r.x, 1.0}, {r.l, 1.0}, {b, M}}));
    } else if (side == "west") {
        SCIP_CALL(addLinearRow(in.scip, "", -inf, fx + M, {{r.x, 1.0}, {b, M}}));
        SCIP_CALL(addLinearRow(in.scip, "", ty - M, inf, {{r.y, 1.0}, {b, -M}}));
        SCIP_CALL(addLinearRow(in.scip, "", -inf, fy + M, {{r.y, 1.0}, {r.w, 1.0}, {b, M}}));
    } else {
        SCIP_CALL(addLinearRow(in.scip, "", fy - M, inf, {{r.y, 1.0}, {r.w, 1.0}, {b, -M}}));
        SCIP_CALL(addLinearRow(in.scip, "", tx - M, inf, {{r.x, 1.0}, {b, -M}}));
        SCIP_CALL(addLinearRow(in.scip, "", -inf, fx + M, {{r.x, 1.0}, {r.l, 1.0}, {b, M}}));
    }
    return SCIP_OKAY;
}

struct SideWalls {
    const char* side;
    const std::vector<PolygonEdge>* walls;
};

// One facade choice row "at least one of these walls" over the given walls,
// with a facade binary and its contact rows per wall. A block without walls
// keeps its row empty (1 <= 0): the model is then infeasible, as it should be
// for a wish the floor cannot meet.
SCIP_RETCODE addFacadeBlock(const StageInput& in, const RoomVars& room, const std::string& name,
                            const std::vector<SideWalls>& sides)
{
    ConsGuard choice(in.scip);
    SCIP_CALL(SCIPcreateConsBasicLinear(in.scip, &choice.cons, name.c_str(), 0, nullptr, nullptr, 1.0,
                                        in.inf));
    for (const SideWalls& side : sides) {
        for (const PolygonEdge& wall : *side.walls) {
            SCIP_VAR* b;
            // Facade binaries stay out of the registry and so out of the
            // recorded solutions.
            SCIP_CALL(addVariable(in.scip, &b, "", 0.0, 1.0, 0.0, SCIP_VARTYPE_BINARY));
            SCIP_CALL(SCIPaddCoefLinear(in.scip, choice.cons, b, 1.0));
            SCIP_CALL(addWallContactRows(in, room, b, side.side, wall));
        }
    }
    SCIP_CALL(SCIPaddCons(in.scip, choice.cons));
    return SCIP_OKAY;
}

bool isSide(const std::string& word)
{
    return word == "east" || word == "south" || word == "west" || word == "north";
}

} // namespace

std::vector<std::string> directionWords(const std::vector<std::string>& boundaries)
{
    if (boundaries.empty())
        return {"whatever"};
    const std::string& wish = boundaries.front();
    if (wish == "whatever" || isSide(wish))
        return {wish};
    if (wish == "southeast")
        return {"east", "south"};
    if (wish == "northeast")
        return {"east", "north"};
    if (wish == "southwest")
        return {"west", "south"};
    if (wish == "northwest")
        return {"west", "north"};
    return {};
}

SCIP_RETCODE addFacadeRows(const StageInput& in)
{
    const WallLists walls = makeWallLists(in.floors.polygons);
    for (const std::shared_ptr<bg::Requirement>& requirement : in.requirements) {
        const bool entrance = requirement->getRoomType() == "Entrance";
        const int id = requirement->getIndex();
        const int level = requirement->getLevel();
        for (const std::string& word : directionWords(requirement->getBoundaries())) {
            if (word == "whatever" && !entrance)
                break;
            const RoomVars room = lookupRoom(in.variables, id);
            if (isSide(word)) {
                SCIP_CALL(addFacadeBlock(in, room, boundaryConsName(word, id),
                                         {{word.c_str(), &walls.walls(word, level)}}));
            }
            if (entrance) {
                SCIP_CALL(addFacadeBlock(in, room, boundaryConsName("any", id),
                                         {{"east", &walls.walls("east", level)},
                                          {"south", &walls.walls("south", level)},
                                          {"west", &walls.walls("west", level)},
                                          {"north", &walls.walls("north", level)}}));
            }
        }
    }
    return SCIP_OKAY;
}

SCIP_RETCODE addDoorRows(const StageInput& in, double doorWidth, double t)
{
    const double W = doorWidth;
    const double D = doorWidth + t;
    for (const std::shared_ptr<bg::Requirement>& requirement : in.requirements) {
        const int i = requirement->getIndex();
        for (const int j : requirement->getAdjacency()) {
            if (j == -1)
                break;
            const RoomVars a = lookupRoom(in.variables, i);
            const RoomVars b = lookupRoom(in.variables, j);
            SCIP_VAR* d;
            const std::string name = doorVarName(i, j);
            SCIP_CALL(addVariable(in.scip, &d, name, 0.0, 1.0, 0.0, SCIP_VARTYPE_BINARY));
            registerVariable(in.variables, name, d);
            // d = 0: side by side along x, sharing at least W of a north-south
            // wall; d = 1: one north of the other, sharing at least D of an
            // east-west wall, at most t apart.
            SCIP_CALL(addLinearRow(in.scip, doorConsName(i, j, "_xlhs"), -in.inf, 0.0,
                                   {{a.x, 1.0}, {b.x, -1.0}, {b.l, -1.0}, {d, D}}));
            SCIP_CALL(addLinearRow(in.scip, doorConsName(i, j, "_xrhs"), -in.inf, 0.0,
                                   {{b.x, 1.0}, {a.x, -1.0}, {a.l, -1.0}, {d, D}}));
            SCIP_CALL(addLinearRow(in.scip, doorConsName(i, j, "_ylhs"), W, in.inf,
                                   {{a.y, -1.0}, {b.y, 1.0}, {b.w, 1.0}, {d, D}}));
            SCIP_CALL(addLinearRow(in.scip, doorConsName(i, j, "_yrhs"), W, in.inf,
                                   {{b.y, -1.0}, {a.y, 1.0}, {a.w, 1.0}, {d, D}}));
        }
    }
    return SCIP_OKAY;
}

} // namespace fixedfloor
