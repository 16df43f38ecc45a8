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
    // A slice that a new layout ended early has not had its second yet: the
    // next one goes on to the same limit.
    if (layouter.solved || SCIPgetStatus(layouter.scip) != SCIP_STATUS_USERINTERRUPT)
        ++layouter.timeLimit;
    return SCIP_OKAY;
}

// Lets the recorder interrupt the solve for the length of one run, also
// when onSlice throws; a plain SCIPsolve afterwards runs uninterrupted.
class InterruptAtNewLayout {
public:
    explicit InterruptAtNewLayout(Layouter& layouter_) : layouter(layouter_)
    {
        layouter.interruptAtNewLayout = layouter.endSliceAtNewLayout;
    }
    ~InterruptAtNewLayout() { layouter.interruptAtNewLayout = false; }
    InterruptAtNewLayout(const InterruptAtNewLayout&) = delete;
    InterruptAtNewLayout& operator=(const InterruptAtNewLayout&) = delete;

private:
    Layouter& layouter;
};

} // namespace

SCIP_RETCODE runSolveLoop(Layouter& layouter, const std::atomic<bool>& stopRequested,
                          const std::function<void()>& onSlice)
{
    layouter.solveFailure = SCIP_OKAY;
    const InterruptAtNewLayout interrupting(layouter);
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
