#pragma once

#include "ProposalRules.h"

#include <wx/thread.h>

#include <atomic>
#include <memory>

class Layouter;
class ProgressDialog;
class wxWindow;

namespace bg {
class Proposal;
}

// The optimiser's worker thread: runs the solve loop on the proposal page's
// Layouter, tells the page after every slice and the dialog at the end.
// Joinable; made, started and deleted by the ProgressDialog.
class LayoutOptimizer : public wxThread {
public:
    LayoutOptimizer(ProgressDialog* dialog, wxWindow* page, Layouter* layouter,
                    const std::shared_ptr<bg::Proposal>& proposal);
    ~LayoutOptimizer() override;

    ProgressDialog* dialog;
    wxWindow* page;
    Layouter* layouter;
    std::shared_ptr<bg::Proposal> proposal;
    // Set by the GUI thread, read by the worker before each slice.
    std::atomic<bool> stopRequested{false};

protected:
    ExitCode Entry() override;

private:
    // On the worker, between slices, while it owns the solver.
    SearchProgress readProgress() const;
};
