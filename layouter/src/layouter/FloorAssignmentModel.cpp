#include "layouter/Layouter.h"

// The floor-assignment model is not available yet. The build still replaces
// the previous model by an empty one, so that no stale model is solved, and
// reports the failure.
SCIP_RETCODE Layouter::buildFloorAssignmentModel()
{
    SCIP_CALL(recreateSolver("SCIP_Roomwright"));
    SCIPerrorMessage("The floor-assignment model is not available\n");
    return SCIP_NOTIMPLEMENTED;
}
