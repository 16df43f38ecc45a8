#include "layouter/FixedFloorStages.h"
#include "layouter/ModelNames.h"
#include "model/Requirement.h"

using namespace modelsupport;
using namespace modelnames;

namespace fixedfloor {

using modelstages::addFacadeBlock;
using modelstages::ContactOrder;
using modelstages::isSide;

SCIP_RETCODE addFacadeRows(const StageInput& in)
{
    const WallLists walls = makeWallLists(in.floors.polygons);
    const ContactOrder order = ContactOrder::LowerLimitFirst;
    for (const std::shared_ptr<bg::Requirement>& requirement : in.requirements) {
        const bool entrance = requirement->getRoomType() == "Entrance";
        const int id = requirement->getIndex();
        const int level = requirement->getLevel();
        for (const std::string& word : modelstages::directionWords(requirement->getBoundaries())) {
            if (word == "whatever" && !entrance)
                break;
            const RoomVars room = lookupRoom(in.variables, id);
            if (isSide(word)) {
                SCIP_CALL(addFacadeBlock(in, room, boundaryConsName(word, id),
                                         {{word.c_str(), &walls.walls(word, level)}}, order));
            }
            if (entrance) {
                SCIP_CALL(addFacadeBlock(in, room, boundaryConsName("any", id),
                                         {{"east", &walls.walls("east", level)},
                                          {"south", &walls.walls("south", level)},
                                          {"west", &walls.walls("west", level)},
                                          {"north", &walls.walls("north", level)}},
                                         order));
            }
        }
    }
    return SCIP_OKAY;
}

} // namespace fixedfloor
