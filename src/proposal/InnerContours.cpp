#include "InnerContours.h"

#include "shell/AppState.h"

#include "model/Building.h"
#include "model/Project.h"
#include "model/Proposal.h"

#include <algorithm>

void recomputeInnerContours(bg::Project* project)
{
    if (!project)
        return;
    for (const auto& proposal : project->proposals) {
        const auto& building = proposal->building;
        if (!building || building->floors.empty())
            continue;
        int lowest = building->floors.front()->level;
        int highest = lowest;
        for (const auto& floor : building->floors) {
            lowest = std::min(lowest, floor->level);
            highest = std::max(highest, floor->level);
        }
        auto lock = proposal->lockRooms();
        for (const auto& room : proposal->rooms) {
            if (room->level >= lowest && room->level <= highest && !room->contour.empty())
                room->updateInnerContour();
        }
    }
}

void recomputeInnerContours()
{
    recomputeInnerContours(getAppState().project.get());
}
