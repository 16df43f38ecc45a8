#include "layouter/SolveLoop.h"

#include "layouter/FirstLayoutTuning.h"
#include "layouter/Layouter.h"

#include <scip/scip.h>

namespace {

// Reports a failing solver call the way SCIP_CALL does, without returning.
#define REPORT_SCIP_FAILURE(code)                                           \
    do {                                                                    \
        SCIPmessagePrintErrorHeader(__FILE__, __LINE__);                    \
        SCIPmessagePrintError("Error <%d> in function call\n", (int)(code)); \
    } while (false)

// One slice: raise the time limit and solve on. Returns the first failure.
SCIP_RETCODE solveSlice(Layouter& layouter)
{
    SCIP_RETCODE code = SCIPsetRealParam(layouter.scip, "limits/time", static_cast<double>(layouter.timeLimit));
    if (code != SCIP_OKAY) {
        REPORT_SCIP_FAILURE(code);
        return code;
    }
    code = SCIPsolve(layouter.scip);
    if (code != SCIP_OKAY) {
        REPORT_SCIP_FAILURE(code);
        return code;
    }
    code = settleFirstLayoutTuning(layouter.scip);
    if (code != SCIP_OKAY) {
        REPORT_SCIP_FAILURE(code);
        return code;
    }
    layouter.stage = SCIPgetStage(layouter.scip);
    if (layouter.stage == SCIP_STAGE_SOLVED)
        layouter.solved = true;
    ++layouter.timeLimit;
    return SCIP_OKAY;
}

} // namespace

SCIP_RETCODE runSolveLoop(Layouter& layouter, const std::atomic<bool>& stopRequested,
                          const std::function<void()>& onSlice)
{
    layouter.solveFailure = SCIP_OKAY;
    while (!layouter.solved) {
        if (stopRequested.load()) {
            layouter.applyBestSolution();
            onSlice();
            return SCIP_OKAY;
        }
        // Without a model there is nothing to solve: the builder has failed.
        const SCIP_RETCODE code = layouter.scip ? solveSlice(layouter) : SCIP_INVALIDCALL;
        layouter.applyBestSolution();
        if (code != SCIP_OKAY)
            layouter.solveFailure = code;
        onSlice();
        if (code != SCIP_OKAY)
            return code;
    }
    return SCIP_OKAY;
}
