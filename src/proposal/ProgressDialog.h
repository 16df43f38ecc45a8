#pragma once

#include "ProposalRules.h"

#include <wx/datetime.h>
#include <wx/dialog.h>
#include <wx/timer.h>

#include <array>
#include <memory>
#include <string>

class Layouter;
class LayoutOptimizer;
class wxActivityIndicator;
class wxStaticText;
class wxThreadEvent;

namespace bg {
class Proposal;
}

// The modal dialog shown while the optimiser runs: starts the worker
// thread, shows the elapsed time, offers "Stop", and closes once the thread
// has ended. The close box and Escape act as "Stop" as well.
class ProgressDialog : public wxDialog {
public:
    enum { ID_PROGRESS_DIALOG = 20167, ID_TIME_LABEL = 20169 };

    ProgressDialog(wxWindow* parent, const std::shared_ptr<bg::Proposal>& proposal, Layouter* layouter);
    ~ProgressDialog() override;

    wxStaticText* timeLabel = nullptr;
    // The layouts found, the best objective and where the search stands.
    std::array<wxStaticText*, 3> progressLabels{};
    SearchProgress progress;
    // "Stop" was pressed: the running slice is the last.
    bool stopping = false;
    wxActivityIndicator* indicator = nullptr;
    std::shared_ptr<bg::Proposal> proposal;
    Layouter* layouter = nullptr;
    LayoutOptimizer* thread = nullptr;
    wxTimer timer;
    wxDateTime startTime;
    // The error that ended the worker, written by it before it reports
    // back; empty when the loop ended normally.
    std::string failure;

private:
    void onTimer(wxTimerEvent& event);
    void onStop(wxCommandEvent& event);
    void onThreadDone(wxThreadEvent& event);
    void onProgress(wxThreadEvent& event);
    void showProgress();
    // Ends the worker (asking it to stop if it still runs) and joins it.
    void joinThread();
};
