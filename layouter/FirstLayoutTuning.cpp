#include "layouter/FirstLayoutTuning.h"

#include <scip/scip.h>

namespace {

// What the search before the first layout runs with, chosen on the
// benchmark's cases (bench/README.md): the solver's feasibility emphasis
// (aggressive primal heuristics, quick separation, depth-first node
// selection). The zero-objective heuristic it switches on finds a first
// layout before presolving on most programmes whose rooms may leave space
// free, and of the settings tried it alone found one for the filled
// two-floor programme with stairs.
SCIP_RETCODE putSettingsInForce(SCIP* scip)
{
    SCIP_CALL(SCIPsetEmphasis(scip, SCIP_PARAMEMPHASIS_FEASIBILITY, TRUE));
    return SCIP_OKAY;
}

} // namespace

FirstLayoutTuning::FirstLayoutTuning(SCIP* scip)
    : scip::ObjEventhdlr(scip, handlerName, "Solver settings for the search before the first layout")
{
}

std::vector<FirstLayoutTuning::SavedParameter> FirstLayoutTuning::currentParameters(SCIP* scip)
{
    SCIP_PARAM** params = SCIPgetParams(scip);
    const int count = SCIPgetNParams(scip);
    std::vector<SavedParameter> values;
    values.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        SCIP_PARAM* param = params[i];
        SavedParameter saved;
        saved.name = SCIPparamGetName(param);
        saved.type = SCIPparamGetType(param);
        switch (saved.type) {
        case SCIP_PARAMTYPE_BOOL: saved.boolValue = SCIPparamGetBool(param); break;
        case SCIP_PARAMTYPE_INT: saved.intValue = SCIPparamGetInt(param); break;
        case SCIP_PARAMTYPE_LONGINT: saved.longintValue = SCIPparamGetLongint(param); break;
        case SCIP_PARAMTYPE_REAL: saved.realValue = SCIPparamGetReal(param); break;
        case SCIP_PARAMTYPE_CHAR: saved.charValue = SCIPparamGetChar(param); break;
        case SCIP_PARAMTYPE_STRING: saved.stringValue = SCIPparamGetString(param); break;
        }
        values.push_back(std::move(saved));
    }
    return values;
}

bool FirstLayoutTuning::sameValue(const SavedParameter& a, const SavedParameter& b)
{
    switch (a.type) {
    case SCIP_PARAMTYPE_BOOL: return a.boolValue == b.boolValue;
    case SCIP_PARAMTYPE_INT: return a.intValue == b.intValue;
    case SCIP_PARAMTYPE_LONGINT: return a.longintValue == b.longintValue;
    case SCIP_PARAMTYPE_REAL: return a.realValue == b.realValue;
    case SCIP_PARAMTYPE_CHAR: return a.charValue == b.charValue;
    case SCIP_PARAMTYPE_STRING: return a.stringValue == b.stringValue;
    }
    return true;
}

SCIP_RETCODE FirstLayoutTuning::apply()
{
    if (active)
        return SCIP_OKAY;
    // The same parameters in the same order before and after: the settings
    // change values, they add no parameter.
    std::vector<SavedParameter> before = currentParameters(scip_);
    SCIP_CALL(putSettingsInForce(scip_));
    const std::vector<SavedParameter> after = currentParameters(scip_);
    changed.clear();
    for (std::size_t i = 0; i < before.size() && i < after.size(); ++i)
        if (!sameValue(before[i], after[i]))
            changed.push_back(std::move(before[i]));
    active = true;
    return SCIP_OKAY;
}

SCIP_RETCODE FirstLayoutTuning::restore()
{
    if (!active)
        return SCIP_OKAY;
    active = false;
    for (const SavedParameter& saved : changed) {
        const char* name = saved.name.c_str();
        switch (saved.type) {
        case SCIP_PARAMTYPE_BOOL: SCIP_CALL(SCIPsetBoolParam(scip_, name, saved.boolValue)); break;
        case SCIP_PARAMTYPE_INT: SCIP_CALL(SCIPsetIntParam(scip_, name, saved.intValue)); break;
        case SCIP_PARAMTYPE_LONGINT: SCIP_CALL(SCIPsetLongintParam(scip_, name, saved.longintValue)); break;
        case SCIP_PARAMTYPE_REAL: SCIP_CALL(SCIPsetRealParam(scip_, name, saved.realValue)); break;
        case SCIP_PARAMTYPE_CHAR: SCIP_CALL(SCIPsetCharParam(scip_, name, saved.charValue)); break;
        case SCIP_PARAMTYPE_STRING: SCIP_CALL(SCIPsetStringParam(scip_, name, saved.stringValue.c_str())); break;
        }
    }
    changed.clear();
    return SCIP_OKAY;
}

SCIP_DECL_EVENTINIT(FirstLayoutTuning::scip_init)
{
    SCIP_CALL(SCIPcatchEvent(scip, SCIP_EVENTTYPE_BESTSOLFOUND, eventhdlr, nullptr, nullptr));
    // A solution the solver holds already is its first layout: the search
    // runs with the usual settings. (A held start is not the solver's: the
    // settings stay until the solver finds or takes a layout.)
    if (SCIPgetBestSol(scip) != nullptr)
        SCIP_CALL(restore());
    return SCIP_OKAY;
}

SCIP_DECL_EVENTEXIT(FirstLayoutTuning::scip_exit)
{
    SCIP_CALL(SCIPdropEvent(scip, SCIP_EVENTTYPE_BESTSOLFOUND, eventhdlr, nullptr, -1));
    return SCIP_OKAY;
}

SCIP_DECL_EVENTEXEC(FirstLayoutTuning::scip_exec)
{
    // The first new best solution is the first layout the recorder records.
    SCIP_CALL(restore());
    return SCIP_OKAY;
}

SCIP_RETCODE includeFirstLayoutTuning(SCIP* scip)
{
    auto* tuning = new FirstLayoutTuning(scip);
    // The instance owns the handler from here on and deletes it when freed.
    SCIP_CALL(SCIPincludeObjEventhdlr(scip, tuning, TRUE));
    SCIP_CALL(tuning->apply());
    return SCIP_OKAY;
}

namespace {

FirstLayoutTuning* findTuning(SCIP* scip)
{
    if (scip == nullptr)
        return nullptr;
    return dynamic_cast<FirstLayoutTuning*>(SCIPfindObjEventhdlr(scip, FirstLayoutTuning::handlerName));
}

} // namespace

bool isFirstLayoutTuningActive(SCIP* scip)
{
    const FirstLayoutTuning* tuning = findTuning(scip);
    return tuning != nullptr && tuning->isActive();
}

SCIP_RETCODE settleFirstLayoutTuning(SCIP* scip)
{
    FirstLayoutTuning* tuning = findTuning(scip);
    if (tuning != nullptr && tuning->isActive() && SCIPgetNSols(scip) > 0)
        SCIP_CALL(tuning->restore());
    return SCIP_OKAY;
}
