#include "layouter/EventhdlrNewSol.h"

#include "layouter/HeldStart.h"
#include "layouter/Layouter.h"

#include <exception>
#include <new>

EventhdlrNewSol::EventhdlrNewSol(SCIP* scip,
                                 std::unordered_map<std::string, SCIP_VAR*>* variables_,
                                 std::unordered_map<std::string, double>* currentValues_,
                                 SolutionHistory* solutions_, const bool* interruptAtRecord_)
    : scip::ObjEventhdlr(scip, "New solution", "Event handler for new solutions in Layout Problem"),
      variables(variables_), currentValues(currentValues_), solutions(solutions_),
      interruptAtRecord(interruptAtRecord_)
{
}

SCIP_DECL_EVENTINIT(EventhdlrNewSol::scip_init)
{
    SCIP_CALL(SCIPcatchEvent(scip, SCIP_EVENTTYPE_BESTSOLFOUND, eventhdlr, nullptr, nullptr));
    recorded = false;
    // A held start is the first layout before the solver has any.
    if (const HeldStart* held = findHeldStart(scip))
        SCIP_CALL(recordSafely(scip, &held->solution()));
    if (SCIPgetBestSol(scip) == nullptr)
        return SCIP_OKAY;
    return recordSafely(scip, nullptr);
}

SCIP_DECL_EVENTEXIT(EventhdlrNewSol::scip_exit)
{
    SCIP_CALL(SCIPdropEvent(scip, SCIP_EVENTTYPE_BESTSOLFOUND, eventhdlr, nullptr, -1));
    return SCIP_OKAY;
}

SCIP_DECL_EVENTEXEC(EventhdlrNewSol::scip_exec)
{
    return recordSafely(scip, nullptr);
}

SCIP_RETCODE EventhdlrNewSol::recordSafely(SCIP* scip, const Solution* start)
{
    // This runs inside the solver's C frames: no exception may leave it.
    try {
        return record(scip, start);
    } catch (const std::bad_alloc&) {
        SCIPerrorMessage("Out of memory while recording a solution\n");
        return SCIP_NOMEMORY;
    } catch (const std::exception& error) {
        SCIPerrorMessage("Recording a solution failed: %s\n", error.what());
        return SCIP_ERROR;
    } catch (...) {
        SCIPerrorMessage("Recording a solution failed\n");
        return SCIP_ERROR;
    }
}

SCIP_RETCODE EventhdlrNewSol::record(SCIP* scip, const Solution* start)
{
    Solution found;
    if (start != nullptr) {
        found = *start;
    } else {
        SCIP_SOL* sol = SCIPgetBestSol(scip);
        if (sol == nullptr)
            return SCIP_OKAY;
        // The solution's own objective: when the new-best event arrives the
        // solver's primal bound may still be that of the previous solution.
        found.objective = SCIPgetSolOrigObj(scip, sol);
        for (const auto& [name, var] : *variables)
            found.values[name] = SCIPgetSolVal(scip, sol, var);
    }
    // The solver's first layouts may be worse than a held start already
    // shown, and the held start itself comes back when the solver takes it:
    // only a better layout is recorded.
    if (recorded && !SCIPisLT(scip, found.objective, recordedObjective))
        return SCIP_OKAY;
    recorded = true;
    recordedObjective = found.objective;
    for (const auto& [name, value] : found.values)
        (*currentValues)[name] = value;
    if (solutions)
        solutions->append(Solution{found.objective, *currentValues});
    if (interruptAtRecord != nullptr && *interruptAtRecord)
        SCIP_CALL(SCIPinterruptSolve(scip));
    return SCIP_OKAY;
}
