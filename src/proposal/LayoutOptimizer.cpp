#include "LayoutOptimizer.h"

#include "shell/Events.h"
#include "ProgressDialog.h"

#include "layouter/Layouter.h"
#include "layouter/SolveLoop.h"

#include <exception>

LayoutOptimizer::LayoutOptimizer(ProgressDialog* dialog_, wxWindow* page_, Layouter* layouter_,
                                 const std::shared_ptr<bg::Proposal>& proposal_)
    : wxThread(wxTHREAD_JOINABLE), dialog(dialog_), page(page_), layouter(layouter_), proposal(proposal_)
{
}

LayoutOptimizer::~LayoutOptimizer()
{
    proposal.reset();
}

wxThread::ExitCode LayoutOptimizer::Entry()
{
    try {
        runSolveLoop(*layouter, stopRequested, [this] {
            wxCommandEvent sliceDone(EVT_OPTIMIZER_SLICE_DONE, 0);
            page->GetEventHandler()->AddPendingEvent(sliceDone);
        });
    } catch (const std::exception& error) {
        // The loop ends; the dialog still learns that the thread is done,
        // and keeps the text for the page to report.
        dialog->failure = error.what();
    } catch (...) {
        dialog->failure = "an unknown error occurred.";
    }
    wxQueueEvent(dialog, new wxThreadEvent(EVT_OPTIMIZER_THREAD_DONE, wxID_ANY));
    return static_cast<ExitCode>(0);
}
