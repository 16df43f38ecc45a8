#include "OptimizerEvents.h"

// The event types are registered during static initialisation, before the
// application object or any window exists.
wxDEFINE_EVENT(EVT_OPTIMIZER_SLICE_DONE, wxCommandEvent);
wxDEFINE_EVENT(EVT_OPTIMIZER_THREAD_DONE, wxThreadEvent);
wxDEFINE_EVENT(EVT_OPTIMIZER_STOP, wxCommandEvent);
wxDEFINE_EVENT(EVT_OPTIMIZER_FINISHED, wxCommandEvent);
