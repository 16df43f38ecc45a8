#pragma once

#include "layouter/Layouter.h"

#include <objscip/objscip.h>

#include <unordered_map>
#include <utility>
#include <vector>

// A whole start held back from the solver. A start that satisfies every row
// is the first layout the page shows, at once; the solver gets it only when
// its own heuristics before presolving found no layout. Handed over at the
// transformation, a better incumbent than the solver's own first one led the
// search elsewhere and proofs took up to twice as long (bench/README.md);
// held back, the search runs as without the start wherever the solver finds
// a layout of its own before presolving, and the large programmes, where it
// finds none, still start from it.
//
// A primal heuristic that runs once before presolving, after every other
// heuristic of that point. The recorder (EventhdlrNewSol) records the held
// start as the first layout when it starts to listen.
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

private:
    // Every original variable with its value.
    std::vector<std::pair<SCIP_VAR*, double>> values;
    Solution shown;
    bool taken = false;
};

// Holds a start (every original variable with a value, known to satisfy every
// row) in the instance; of two held starts the one with the lower objective
// stays. In the problem stage only.
SCIP_RETCODE holdWholeStart(SCIP* scip, const std::unordered_map<SCIP_VAR*, double>& values,
                            const std::unordered_map<std::string, SCIP_VAR*>& registry);

// The held start of the instance, null when it holds none.
const HeldStart* findHeldStart(SCIP* scip);
