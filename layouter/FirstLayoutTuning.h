#pragma once

#include <objscip/objscip.h>

#include <string>
#include <vector>

// Solver settings for the search before the first layout. Users judge the
// optimiser by how soon the first layout appears, so until then the solver
// favours finding any feasible layout over bounds and proofs. The settings
// change no variable or row of the model; when the first new best solution
// arrives, every parameter they changed gets back the value it had before,
// so the search for better layouts and the proof run as without them.
//
// Included by every model build after the recorder (Layouter::includeRecorder)
// when Layouter::tuneFirstLayout is set; the solver instance owns it.
class FirstLayoutTuning : public scip::ObjEventhdlr {
public:
    static constexpr const char* handlerName = "First layout tuning";

    explicit FirstLayoutTuning(SCIP* scip);

    // Puts the settings in force and remembers the parameters they changed.
    // Before the solve only.
    SCIP_RETCODE apply();
    // Gives every parameter the settings changed its earlier value back;
    // does nothing when they are not in force.
    SCIP_RETCODE restore();
    // True between apply and restore.
    bool isActive() const { return active; }

    // Listens from the transformation on, as the recorder does.
    SCIP_DECL_EVENTINIT(scip_init) override;
    SCIP_DECL_EVENTEXIT(scip_exit) override;
    SCIP_DECL_EVENTEXEC(scip_exec) override;

private:
    // A parameter's value before the settings, in the field of its type.
    struct SavedParameter {
        std::string name;
        SCIP_PARAMTYPE type;
        SCIP_Bool boolValue = FALSE;
        int intValue = 0;
        SCIP_Longint longintValue = 0;
        SCIP_Real realValue = 0.0;
        char charValue = '\0';
        std::string stringValue;
    };

    static std::vector<SavedParameter> currentParameters(SCIP* scip);
    static bool sameValue(const SavedParameter& a, const SavedParameter& b);

    std::vector<SavedParameter> changed;
    bool active = false;
};

// Includes a FirstLayoutTuning in the instance and puts its settings in force.
SCIP_RETCODE includeFirstLayoutTuning(SCIP* scip);

// True while the instance searches with the settings for the first layout.
bool isFirstLayoutTuningActive(SCIP* scip);

// Between two solves: ends the settings when the instance already holds a
// solution (a slice may end between the first solution and the handler's
// next chance to act). Does nothing without the handler.
SCIP_RETCODE settleFirstLayoutTuning(SCIP* scip);
