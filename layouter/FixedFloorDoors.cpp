#include "layouter/FixedFloorStages.h"
#include "layouter/ModelNames.h"
#include "model/Requirement.h"

using namespace modelsupport;
using namespace modelnames;

namespace fixedfloor {

SCIP_RETCODE addDoorRows(const StageInput& in, double doorWidth, double t)
{
    // A door needs its own width and a wall thickness of shared side, so that
    // the crossing walls at either end leave the door its whole width.
    const double D = doorWidth + t;
    for (const std::shared_ptr<bg::Requirement>& requirement : in.requirements) {
        const int i = requirement->getIndex();
        for (const int j : requirement->connectedIndices()) {
            const RoomVars a = lookupRoom(in.variables, i);
            const RoomVars b = lookupRoom(in.variables, j);
            SCIP_VAR* d;
            const std::string name = doorVarName(i, j);
            SCIP_CALL(addVariable(in.scip, &d, name, 0.0, 1.0, 0.0, SCIP_VARTYPE_BINARY));
            registerVariable(in.variables, name, d);
            // d = 0: side by side along x, sharing at least D of a north-south
            // wall; d = 1: one north of the other, sharing at least D of an
            // east-west wall. The rooms touch either way (the non-overlap rows
            // keep them from overlapping), so they share one wall: rooms a gap
            // apart would each get a wall of their own, and a door cut into
            // one would open onto the other.
            SCIP_CALL(addLinearRow(in.scip, doorConsName(i, j, "_xlhs"), -in.inf, 0.0,
                                   {{a.x, 1.0}, {b.x, -1.0}, {b.l, -1.0}, {d, D}}));
            SCIP_CALL(addLinearRow(in.scip, doorConsName(i, j, "_xrhs"), -in.inf, 0.0,
                                   {{b.x, 1.0}, {a.x, -1.0}, {a.l, -1.0}, {d, D}}));
            SCIP_CALL(addLinearRow(in.scip, doorConsName(i, j, "_ylhs"), D, in.inf,
                                   {{a.y, -1.0}, {b.y, 1.0}, {b.w, 1.0}, {d, D}}));
            SCIP_CALL(addLinearRow(in.scip, doorConsName(i, j, "_yrhs"), D, in.inf,
                                   {{b.y, -1.0}, {a.y, 1.0}, {a.w, 1.0}, {d, D}}));
        }
    }
    return SCIP_OKAY;
}

} // namespace fixedfloor
