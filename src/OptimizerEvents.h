#pragma once

#include <wx/event.h>

// Events by which the optimiser's worker thread, its progress dialog and the
// proposal page talk. None carries data: receivers read the state from the
// Layouter, the proposal and the solution history.

// After every solve slice, and once more after a stop; to the proposal page.
wxDECLARE_EVENT(EVT_OPTIMIZER_SLICE_DONE, wxCommandEvent);
// When the solve loop has ended; to the progress dialog.
wxDECLARE_EVENT(EVT_OPTIMIZER_THREAD_DONE, wxThreadEvent);
// When the user presses "Stop"; from the progress dialog to the page.
wxDECLARE_EVENT(EVT_OPTIMIZER_STOP, wxCommandEvent);
// After the worker thread has ended and been deleted; to the page.
wxDECLARE_EVENT(EVT_OPTIMIZER_FINISHED, wxCommandEvent);
