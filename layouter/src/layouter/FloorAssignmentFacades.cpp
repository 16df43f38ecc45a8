#include "layouter/FloorAssignmentStages.h"
#include "layouter/ModelNames.h"
#include "model/Requirement.h"

using namespace modelsupport;
using namespace modelnames;

namespace floorassignment {

namespace {

using modelstages::ContactOrder;
using modelstages::ContactRow;
using modelstages::SideWalls;

// The limits along a wall come from its start to its end in this model.
const ContactOrder order = ContactOrder::StartLimitFirst;

// The facade choice of a room on any floor for one level with binary f:
// 0 <= Σ b − f <= most, so on its level (f = 1) the room takes at least one
// of the walls; each chosen wall holds it by rows that take effect only when
// b·f = 1 and are slack by M otherwise.
SCIP_RETCODE addLevelBlock(const StageInput& in, const RoomVars& room, SCIP_VAR* f, double most,
                           const std::vector<SideWalls>& sides)
{
    const double M = in.bigM;
    ConsGuard choice(in.scip);
    SCIP_CALL(SCIPcreateConsBasicLinear(in.scip, &choice.cons, "", 0, nullptr, nullptr, 0.0, most));
    for (const SideWalls& side : sides) {
        for (const PolygonEdge& wall : *side.walls) {
            SCIP_VAR* b;
            // Facade binaries stay out of the registry and so out of the
            // recorded solutions.
            SCIP_CALL(addVariable(in.scip, &b, "", 0.0, 1.0, 0.0, SCIP_VARTYPE_BINARY));
            SCIP_CALL(SCIPaddCoefLinear(in.scip, choice.cons, b, 1.0));
            for (ContactRow row : modelstages::wallContactRows(room, side.side, wall, order)) {
                // Every row as "M·b·f + terms <= bound": a lower limit turned round.
                double rhs = row.bound + M;
                if (row.atLeast) {
                    for (Term& term : row.terms)
                        term.coef = -term.coef;
                    rhs = M - row.bound;
                }
                SCIP_CALL(addQuadraticRow(in.scip, "", -in.inf, rhs, row.terms, {{b, f, M}}));
            }
        }
    }
    SCIP_CALL(SCIPaddCoefLinear(in.scip, choice.cons, f, -1.0));
    SCIP_CALL(SCIPaddCons(in.scip, choice.cons));
    return SCIP_OKAY;
}

// The walls a direction word asks for on `level`: those of its side, or of
// every side for "whatever" (an entrance's wish for some facade).
std::vector<SideWalls> wishedWalls(const WallLists& walls, const std::string& word, int level)
{
    if (word != "whatever")
        return {{word.c_str(), &walls.walls(word, level)}};
    return {{"east", &walls.walls("east", level)},
            {"south", &walls.walls("south", level)},
            {"west", &walls.walls("west", level)},
            {"north", &walls.walls("north", level)}};
}

} // namespace

SCIP_RETCODE addFacadeRows(const StageInput& in)
{
    const WallLists walls = makeWallLists(in.floors.polygons);
    for (const std::shared_ptr<bg::Requirement>& requirement : in.requirements) {
        const int id = requirement->getIndex();
        const int level = requirement->getLevel();
        const bool entrance = requirement->getRoomType() == "Entrance";
        const RoomVars room = lookupRoom(in.variables, id);
        for (const std::string& word : modelstages::directionWords(requirement->getBoundaries())) {
            // "whatever" asks an entrance for some facade, any other room for none.
            if (word == "whatever" && !entrance)
                break;
            if (level != anyFloor) {
                SCIP_CALL(modelstages::addFacadeBlock(in, room, "", wishedWalls(walls, word, level), order));
                continue;
            }
            // On any floor: one block per floor level, each switched on by
            // the room's binary of that level. The upper side only caps how
            // many walls may be chosen at once; one chosen wall always does.
            const double most = word == "whatever" || (entrance && word == "east") ? in.inf : 4.0;
            for (const int k : in.floors.levels) {
                SCIP_VAR* f = lookup(in.variables, levelVarName(id, k));
                SCIP_CALL(addLevelBlock(in, room, f, most, wishedWalls(walls, word, k)));
            }
        }
    }
    return SCIP_OKAY;
}

} // namespace floorassignment
