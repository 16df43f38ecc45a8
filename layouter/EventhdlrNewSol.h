#pragma once

#include <objscip/objscip.h>

#include <string>
#include <unordered_map>

class SolutionHistory;
struct Solution;

// Records every new best solution while the solver runs: copies the values
// of all registered variables into the current-values map and appends a
// Solution to the history. Included by every model build as its last step;
// the solver instance owns it and deletes it when the instance is freed.
//
// The registry, the map and the history belong to the Layouter (and its page)
// and outlive the handler. scip_exec runs on the solve thread inside
// SCIPsolve; the history guards itself against the GUI thread.
class EventhdlrNewSol : public scip::ObjEventhdlr {
public:
    EventhdlrNewSol(SCIP* scip, std::unordered_map<std::string, SCIP_VAR*>* variables,
                    std::unordered_map<std::string, double>* currentValues,
                    SolutionHistory* solutions, const bool* interruptAtRecord = nullptr);

    // Listens from the transformation of the problem on, not only while
    // solving: some heuristics find layouts before presolving. A whole start
    // held for the solver (HeldStart.h) is recorded here, as the first
    // layout; after it, only solutions better than the last recorded one.
    SCIP_DECL_EVENTINIT(scip_init) override;
    SCIP_DECL_EVENTEXIT(scip_exit) override;
    SCIP_DECL_EVENTEXEC(scip_exec) override;

    std::unordered_map<std::string, SCIP_VAR*>* variables;
    std::unordered_map<std::string, double>* currentValues;
    // May be null: the values are still tracked, nothing is appended.
    SolutionHistory* solutions;
    // While the pointed-to flag is set, every recorded solution interrupts
    // the solve, so that the solve loop ends its slice and shows the layout
    // at once instead of at the slice's time limit. Null: never.
    const bool* interruptAtRecord;

private:
    // Records `start`, or the solver's best solution when it is null, if it
    // is better than the last one recorded.
    SCIP_RETCODE record(SCIP* scip, const Solution* start);
    // record, with every exception turned into a return code.
    SCIP_RETCODE recordSafely(SCIP* scip, const Solution* start);

    bool recorded = false;
    double recordedObjective = 0.0;
};
