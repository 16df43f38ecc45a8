#include "layouter/FloorAssignmentStages.h"
#include "layouter/ModelNames.h"
#include "model/Requirement.h"

using namespace modelsupport;
using namespace modelnames;

namespace floorassignment {

namespace {

using modelstages::ContactOrder;
using modelstages::SideWalls;

// The limits along a wall come from its start to its end in this model.
const ContactOrder order = ContactOrder::StartLimitFirst;

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
                SCIP_CALL(modelstages::addSwitchedFacadeBlock(in, room, f, most, wishedWalls(walls, word, k), order));
            }
        }
    }
    return SCIP_OKAY;
}

} // namespace floorassignment
