#include "ProgressDialog.h"

#include "LayoutOptimizer.h"
#include "shell/Events.h"
#include "shell/JoinedThread.h"

#include <wx/activityindicator.h>
#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

ProgressDialog::ProgressDialog(wxWindow* parent, const std::shared_ptr<bg::Proposal>& proposal_,
                               Layouter* layouter_)
    : wxDialog(parent, ID_PROGRESS_DIALOG, "Layout Optimization", wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE),
      proposal(proposal_), layouter(layouter_), timer(this)
{
    auto* rows = new wxBoxSizer(wxVERTICAL);

    auto* activityRow = new wxBoxSizer(wxHORIZONTAL);
    indicator = new wxActivityIndicator(this, wxID_ANY);
    activityRow->Add(indicator, 0, wxEXPAND | wxALL, 5);
    activityRow->Add(new wxStaticText(this, wxID_ANY, "Layout Optimizing..."), 0, wxEXPAND | wxALL, 5);

    auto* timeRow = new wxFlexGridSizer(2, 0, 0);
    timeRow->Add(new wxStaticText(this, wxID_ANY, "Runtime"), 0, wxEXPAND | wxALL, 5);
    timeLabel = new wxStaticText(this, ID_TIME_LABEL, "00:00::00");
    timeRow->Add(timeLabel, 0, wxEXPAND | wxALL, 5);

    auto* progressRows = new wxBoxSizer(wxVERTICAL);
    for (auto& label : progressLabels) {
        label = new wxStaticText(this, wxID_ANY, "");
        progressRows->Add(label, 0, wxLEFT | wxRIGHT | wxTOP, 5);
    }

    auto* hintRow = new wxBoxSizer(wxHORIZONTAL);
    hintRow->Add(new wxStaticText(this, wxID_ANY, "Press stop if a satisfying solution is found"), 0,
                 wxALIGN_CENTER_VERTICAL | wxALL, 5);

    auto* buttonRow = new wxBoxSizer(wxHORIZONTAL);
    buttonRow->Add(new wxButton(this, wxID_CANCEL, "Stop"), 0, wxRIGHT, 5);

    for (wxSizer* row : {static_cast<wxSizer*>(activityRow), static_cast<wxSizer*>(timeRow),
                         static_cast<wxSizer*>(progressRows), static_cast<wxSizer*>(hintRow),
                         static_cast<wxSizer*>(buttonRow)})
        rows->Add(row, 0, wxEXPAND | wxALL, 5);
    // Sized for the longest lines the search can show, so that the dialog
    // does not grow under the user's eyes.
    SearchProgress widest;
    widest.hasObjective = true;
    widest.bestObjective = -99999.9999;
    widest.gap = 0.999;
    const auto longest = searchProgressLines(widest, false);
    for (std::size_t i = 0; i < progressLabels.size(); ++i)
        progressLabels[i]->SetLabel(longest[i]);
    SetSizerAndFit(rows);
    showProgress();

    Bind(wxEVT_TIMER, &ProgressDialog::onTimer, this);
    Bind(wxEVT_BUTTON, &ProgressDialog::onStop, this, wxID_CANCEL);
    Bind(EVT_OPTIMIZER_THREAD_DONE, &ProgressDialog::onThreadDone, this);
    Bind(EVT_OPTIMIZER_PROGRESS, &ProgressDialog::onProgress, this);

    Layout();
    Centre(wxBOTH);
    indicator->Start();

    thread = new LayoutOptimizer(this, parent, layouter, proposal);
    if (thread->Run() != wxTHREAD_NO_ERROR) {
        // Without a worker there is nothing to wait for: end as a finished run.
        delete thread;
        thread = nullptr;
        wxQueueEvent(this, new wxThreadEvent(EVT_OPTIMIZER_THREAD_DONE, wxID_ANY));
    }
    startTime = wxDateTime::Now();
    timer.Start(100);
}

ProgressDialog::~ProgressDialog()
{
    timer.Stop();
    // A dialog destroyed before its thread reported back still waits for it.
    if (thread) {
        thread->stopRequested = true;
        joinThread();
    }
    proposal.reset();
}

void ProgressDialog::joinThread()
{
    stopAndJoin(thread);
}

void ProgressDialog::onTimer(wxTimerEvent&)
{
    timeLabel->SetLabel((wxDateTime::Now() - startTime).Format(wxDefaultTimeSpanFormat));
}

void ProgressDialog::onProgress(wxThreadEvent& event)
{
    progress = event.GetPayload<SearchProgress>();
    showProgress();
}

void ProgressDialog::showProgress()
{
    const auto lines = searchProgressLines(progress, stopping);
    for (std::size_t i = 0; i < progressLabels.size(); ++i)
        progressLabels[i]->SetLabel(wxString::FromUTF8(lines[i]));
}

void ProgressDialog::onStop(wxCommandEvent&)
{
    stopping = true;
    showProgress();
    wxQueueEvent(GetParent(), new wxCommandEvent(EVT_OPTIMIZER_STOP, 0));
    if (thread)
        thread->stopRequested = true;
}

void ProgressDialog::onThreadDone(wxThreadEvent&)
{
    if (thread)
        joinThread();
    wxQueueEvent(GetParent(), new wxCommandEvent(EVT_OPTIMIZER_FINISHED, 0));
    if (IsModal())
        EndModal(wxID_CANCEL);
}
