#include "layouter/FloorAssignmentStages.h"
#include "layouter/ModelNames.h"
#include "model/Requirement.h"

#include <algorithm>
#include <set>

using namespace modelsupport;
using namespace modelnames;

namespace floorassignment {

SCIP_RETCODE addConnectionRows(const StageInput& in, double doorWidth, double t)
{
    const double D = doorWidth + t;
    // One connection per pair, whichever room lists the other and how often.
    std::set<std::string> done;
    for (const std::shared_ptr<bg::Requirement>& requirement : in.requirements) {
        const int r = requirement->getIndex();
        for (const int a : requirement->connectedIndices()) {
            const int low = std::min(r, a), high = std::max(r, a);
            if (!done.insert(std::to_string(low) + "_" + std::to_string(high)).second)
                continue;
            const RoomVars vr = lookupRoom(in.variables, r);
            const RoomVars va = lookupRoom(in.variables, a);
            SCIP_VAR* s = lookup(in.variables, sameLevelKey(low, high));
            SCIP_CALL(addLinearRow(in.scip, "", 1.0, 1.0, {{s, 1.0}}));
            // c = 0: side by side along x, sharing at least D of a north-south
            // wall; c = 1: one north of the other, sharing at least D of an
            // east-west wall. The non-overlap rows of the level make them touch.
            SCIP_VAR* c;
            SCIP_CALL(addVariable(in.scip, &c, connectionVarName(r, a), 0.0, 1.0, 0.0, SCIP_VARTYPE_BINARY));
            SCIP_CALL(addLinearRow(in.scip, "", -in.inf, 0.0, {{vr.x, 1.0}, {va.x, -1.0}, {va.l, -1.0}, {c, D}}));
            SCIP_CALL(addLinearRow(in.scip, "", -in.inf, 0.0, {{va.x, 1.0}, {vr.x, -1.0}, {vr.l, -1.0}, {c, D}}));
            SCIP_CALL(addLinearRow(in.scip, "", -in.inf, -D, {{vr.y, 1.0}, {va.y, -1.0}, {va.w, -1.0}, {c, -D}}));
            SCIP_CALL(addLinearRow(in.scip, "", -in.inf, -D, {{va.y, 1.0}, {vr.y, -1.0}, {vr.w, -1.0}, {c, -D}}));
        }
    }
    return SCIP_OKAY;
}

} // namespace floorassignment
