#pragma once

#include "layouter/Layouter.h"

#include <objscip/objscip.h>

#include <unordered_map>
#include <utility>
#include <vector>

// A solution of the original problem with each (variable, value) of `values`
// set, from `heuristic` (or none). On a failing set the solution is freed and
// the failure returned; else the caller owns *sol.
template <class Values>
SCIP_RETCODE createSolutionWith(SCIP* scip, SCIP_HEUR* heuristic, const Values& values, SCIP_SOL** sol)
{
    SCIP_CALL(SCIPcreateOrigSol(scip, sol, heuristic));
    for (const auto& [var, value] : values) {
        const SCIP_RETCODE set = SCIPsetSolVal(scip, *sol, var, value);
        if (set != SCIP_OKAY) {
            SCIP_CALL(SCIPfreeSol(scip, sol));
            return set;
        }
    }
    return SCIP_OKAY;
}

// A whole start held back from the solver. A start that satisfies every row
// is the first layout the page shows, at once; the solver gets it only where
// its own search does not do as well: before presolving when no heuristic
// found a layout there, else after its first nodes (handOverNodes) when its
// own layouts have not beaten the start by then. Handed over at the
// transformation, the better incumbent led some searches elsewhere and
// their proofs took up to twice as long (bench/README.md); held back, the
// search runs as without the start wherever its own layouts soon beat it,
// and the large programmes, where they do not, still improve on it.
//
// A primal heuristic that runs after every other heuristic before presolving
// and after each node until it has decided. The recorder (EventhdlrNewSol)
// records the held start as the first layout when it starts to listen.
class HeldStart : public scip::ObjHeur {
public:
    static constexpr const char* heuristicName = "wholestart";

    HeldStart(SCIP* scip, std::vector<std::pair<SCIP_VAR*, double>> values, Solution shown);

    // The start as the recorder records it: its objective and the values of
    // the registered variables.
    const Solution& solution() const { return shown; }
    // Whether the solver took the start as a solution of its own.
    bool handedOver() const { return taken; }
    // Holds another start in place of this one.
    void replace(std::vector<std::pair<SCIP_VAR*, double>> values, Solution shown);

    SCIP_DECL_HEUREXEC(scip_exec) override;

    // Nodes the search has to beat the start with layouts of its own; after
    // them it takes the start if it has not. Chosen on the benchmark: the
    // small programmes' own layouts beat their packings well within them
    // (at 100, the house's took the start and its proof went another way),
    // and a large one's search still improves on its packing within 20 s.
    static constexpr SCIP_Longint defaultHandOverNodes = 1000;
    SCIP_Longint handOverNodes = defaultHandOverNodes;

private:
    // Every original variable with its value.
    std::vector<std::pair<SCIP_VAR*, double>> values;
    Solution shown;
    bool taken = false;
    // Whether the search's own layouts were compared with the start.
    bool decided = false;
};

// Holds a start (every original variable with a value, known to satisfy every
// row) in the instance; of two held starts the one with the lower objective
// stays. In the problem stage only.
SCIP_RETCODE holdWholeStart(SCIP* scip, const std::unordered_map<SCIP_VAR*, double>& values,
                            const std::unordered_map<std::string, SCIP_VAR*>& registry);

// The held start of the instance, null when it holds none.
HeldStart* findHeldStart(SCIP* scip);
