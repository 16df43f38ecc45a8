#pragma once

// Helpers for tests that run the optimiser: a quiet solve under a time limit,
// the names in its registry and the checker's rules with the Layouter's
// obstacles.

#include "layouter/Layouter.h"
#include "support/LayoutChecker.h"

#include <scip/scip.h>

#include <set>
#include <string>

namespace kovra_test {

// How much longer a solve may take in this build: sanitizers slow the solver
// down several times, and a budget is a limit, never an expected time.
inline double budgetFactor()
{
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    return 4.0;
#else
    return 1.0;
#endif
}

// Solves (or goes on solving) the Layouter's model until the solver's total
// CPU time reaches `seconds` (times budgetFactor); returns the solver's
// status. CPU time, so that other processes on a loaded machine do not eat
// the budget.
inline SCIP_STATUS solveFor(Layouter& layouter, double seconds)
{
    SCIPsetIntParam(layouter.scip, "display/verblevel", 0);
    SCIPsetIntParam(layouter.scip, "timing/clocktype", 1);
    SCIPsetRealParam(layouter.scip, "limits/time", seconds * budgetFactor());
    if (SCIPsolve(layouter.scip) != SCIP_OKAY)
        return SCIP_STATUS_UNKNOWN;
    return SCIPgetStatus(layouter.scip);
}

// Names in the Layouter's registry of solver variables.
inline std::set<std::string> registryNames(const Layouter& layouter)
{
    std::set<std::string> names;
    for (const auto& entry : layouter.variables)
        names.insert(entry.first);
    return names;
}

inline LayoutRules rulesFor(const Layouter& layouter)
{
    LayoutRules rules;
    rules.allowFreeSpace = layouter.allowFreeSpace != 0;
    for (const Obstacle& o : layouter.obstacles)
        rules.keepOut.push_back({o.getLevel(), o.getX(), o.getY(), o.getWidth(), o.getHeight()});
    return rules;
}

} // namespace kovra_test
