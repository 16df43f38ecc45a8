#include "layouter/HeldStart.h"

#include <scip/scip.h>

#include <climits>

namespace {

// Runs after every other heuristic of its points, so that it sees whether
// they found a layout.
constexpr int heldStartPriority = INT_MIN / 4;

} // namespace

HeldStart::HeldStart(SCIP* scip, std::vector<std::pair<SCIP_VAR*, double>> values_, Solution shown_)
    : scip::ObjHeur(scip, heuristicName, "a whole start, handed over when the search's own layouts do not beat it",
                    'W', heldStartPriority, 1, 0, -1, SCIP_HEURTIMING_BEFOREPRESOL | SCIP_HEURTIMING_AFTERNODE,
                    FALSE),
      values(std::move(values_)), shown(std::move(shown_))
{
}

void HeldStart::replace(std::vector<std::pair<SCIP_VAR*, double>> values_, Solution shown_)
{
    values = std::move(values_);
    shown = std::move(shown_);
    taken = false;
    decided = false;
}

SCIP_DECL_HEUREXEC(HeldStart::scip_exec)
{
    *result = SCIP_DIDNOTRUN;
    if (taken || decided)
        return SCIP_OKAY;
    if ((heurtiming & SCIP_HEURTIMING_BEFOREPRESOL) != 0) {
        if (SCIPgetNSols(scip) > 0)
            return SCIP_OKAY;
    } else {
        // The search's own layouts get their chance first; a search that
        // has not beaten the start by then goes on from it.
        if (SCIPgetNNodes(scip) < handOverNodes)
            return SCIP_OKAY;
        decided = true;
        if (SCIPgetNSols(scip) > 0 && SCIPisLE(scip, SCIPgetPrimalbound(scip), shown.objective))
            return SCIP_OKAY;
    }
    taken = true;
    *result = SCIP_DIDNOTFIND;
    SCIP_SOL* sol = nullptr;
    SCIP_CALL(createSolutionWith(scip, heur, values, &sol));
    SCIP_Bool stored = FALSE;
    SCIP_CALL(SCIPtrySolFree(scip, &sol, FALSE, FALSE, TRUE, TRUE, TRUE, &stored));
    if (stored)
        *result = SCIP_FOUNDSOL;
    return SCIP_OKAY;
}

namespace {

HeldStart* findHeld(SCIP* scip)
{
    if (scip == nullptr || SCIPfindHeur(scip, HeldStart::heuristicName) == nullptr)
        return nullptr;
    return dynamic_cast<HeldStart*>(SCIPfindObjHeur(scip, HeldStart::heuristicName));
}

} // namespace

HeldStart* findHeldStart(SCIP* scip)
{
    return findHeld(scip);
}

SCIP_RETCODE holdWholeStart(SCIP* scip, const std::unordered_map<SCIP_VAR*, double>& values,
                            const std::unordered_map<std::string, SCIP_VAR*>& registry)
{
    SCIP_SOL* sol = nullptr;
    SCIP_CALL(createSolutionWith(scip, nullptr, values, &sol));
    const double objective = SCIPgetSolOrigObj(scip, sol);
    SCIP_CALL(SCIPfreeSol(scip, &sol));

    HeldStart* held = findHeld(scip);
    if (held != nullptr) {
        // A plug-in stays once included: the better start takes its place
        // in the one there is.
        if (held->solution().objective <= objective)
            return SCIP_OKAY;
    }
    Solution shown;
    shown.objective = objective;
    for (const auto& [name, var] : registry) {
        const auto found = values.find(var);
        shown.values[name] = found != values.end() ? found->second : 0.0;
    }
    std::vector<std::pair<SCIP_VAR*, double>> ordered(values.begin(), values.end());
    if (held != nullptr) {
        held->replace(std::move(ordered), std::move(shown));
        return SCIP_OKAY;
    }
    // The instance owns the heuristic from here on and deletes it when freed.
    SCIP_CALL(SCIPincludeObjHeur(scip, new HeldStart(scip, std::move(ordered), std::move(shown)), TRUE));
    return SCIP_OKAY;
}
