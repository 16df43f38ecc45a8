#include "LayoutOptimizer.h"

#include "shell/Events.h"
#include "ProgressDialog.h"

#include "layouter/Layouter.h"
#include "layouter/SolveLoop.h"

#include <scip/scip.h>

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

SearchProgress LayoutOptimizer::readProgress() const
{
    SearchProgress progress;
    Solution newest;
    if (layouter->solutions && layouter->solutions->latest(newest)) {
        progress.layouts = layouter->solutions->size();
        progress.hasObjective = true;
        progress.bestObjective = newest.objective;
    }
    if (SCIP* scip = layouter->scip) {
        progress.optimal = SCIPgetStatus(scip) == SCIP_STATUS_OPTIMAL;
        const SCIP_STAGE stage = SCIPgetStage(scip);
        if (stage >= SCIP_STAGE_TRANSFORMED && stage <= SCIP_STAGE_SOLVED && SCIPgetNSols(scip) > 0) {
            const double gap = SCIPgetGap(scip);
            progress.gap = SCIPisInfinity(scip, gap) ? -1.0 : gap;
        }
    }
    return progress;
}

wxThread::ExitCode LayoutOptimizer::Entry()
{
    try {
        runSolveLoop(*layouter, stopRequested, [this] {
            wxCommandEvent sliceDone(EVT_OPTIMIZER_SLICE_DONE, 0);
            page->GetEventHandler()->AddPendingEvent(sliceDone);
            auto* progress = new wxThreadEvent(EVT_OPTIMIZER_PROGRESS, wxID_ANY);
            progress->SetPayload(readProgress());
            wxQueueEvent(dialog, progress);
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
