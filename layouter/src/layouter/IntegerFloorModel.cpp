#include "layouter/Layouter.h"

// The integer-floor model is not available yet. The build still replaces the
// previous model by an empty one, so that no stale model is solved, and
// reports the failure.
SCIP_RETCODE Layouter::buildIntegerFloorModel()
{
    SCIP_CALL(recreateSolver("SCIP_Floorsmith"));
    SCIPerrorMessage("The integer-floor model is not available\n");
    return SCIP_NOTIMPLEMENTED;
}
