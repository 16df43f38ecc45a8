#include "GuiSupport.h"
#include "support/ModelFixtures.h"

#include "proposal/LayoutOptimizer.h"
#include "shell/Events.h"
#include "proposal/ProgressDialog.h"

#include "layouter/Layouter.h"
#include "model/Proposal.h"

#include <gtest/gtest.h>
#include <scip/scip.h>

#include <wx/button.h>
#include <wx/frame.h>
#include <wx/regex.h>
#include <wx/stattext.h>
#include <wx/timer.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace kovra_test;

// Stands in for the proposal page: records the optimiser's events in order
// and, after `stopAfterSlices` slice events, stops the run the way the user
// would (the "Stop" button, or the Escape key).
class RecordingPage : public wxFrame {
public:
    RecordingPage() : wxFrame(nullptr, wxID_ANY, "Proposal")
    {
        Bind(EVT_OPTIMIZER_SLICE_DONE, [this](wxCommandEvent&) { onSlice(); });
        Bind(EVT_OPTIMIZER_STOP, [this](wxCommandEvent&) { events.push_back("stop"); });
        Bind(EVT_OPTIMIZER_FINISHED, [this](wxCommandEvent&) {
            events.push_back("finished");
            threadGoneAtFinish = dialog && dialog->thread == nullptr;
        });
        stopTimer.Bind(wxEVT_TIMER, [this](wxTimerEvent&) { pressStop(); });
    }

    void onSlice()
    {
        events.push_back("slice");
        // Press "Stop" a little later, while the next slice is running.
        if (++slices == stopAfterSlices && dialog)
            stopTimer.StartOnce(300);
    }

    void pressStop()
    {
        if (!dialog)
            return;
        if (screenshot)
            takeScreenshot("progress-dialog");
        if (useEscape) {
            // The key as the dialog receives it first, before any control.
            // A key sent through the display would reach whichever window
            // holds the focus there, another test's window when GUI tests
            // run side by side, and the dialog would never end.
            wxKeyEvent escape(wxEVT_CHAR_HOOK);
            escape.m_keyCode = WXK_ESCAPE;
            escape.SetEventObject(dialog);
            dialog->GetEventHandler()->ProcessEvent(escape);
        } else {
            wxCommandEvent press(wxEVT_BUTTON, wxID_CANCEL);
            press.SetEventObject(dialog);
            dialog->GetEventHandler()->AddPendingEvent(press);
        }
    }

    ProgressDialog* dialog = nullptr;
    std::vector<std::string> events;
    int slices = 0;
    int stopAfterSlices = 2;
    bool useEscape = false;
    bool screenshot = false;
    bool threadGoneAtFinish = false;
    wxTimer stopTimer;
};

std::shared_ptr<bg::Proposal> houseProposal()
{
    std::vector<std::shared_ptr<bg::Requirement>> requirements;
    const double areas[] = {18, 14, 12, 12, 10, 9, 8, 6};
    for (int i = 0; i < 8; ++i)
        requirements.push_back(makeRequirement(i, "Room " + std::to_string(i), areas[i], 0, {i == 0 ? -1 : 0}));
    return makeProposal(makeRectBuilding(14, 10), makeRequirementSet(requirements));
}

struct DialogRun {
    std::vector<std::string> events;
    int modalResult = 0;
    bool threadGoneAtFinish = false;
    std::vector<std::string> progressLines; // as the dialog showed them last
};

DialogRun runDialog(Layouter& layouter, bool useEscape, bool screenshot = false)
{
    auto* page = new RecordingPage;
    page->useEscape = useEscape;
    page->screenshot = screenshot;
    page->Show();
    DialogRun run;
    {
        ProgressDialog dialog(page, layouter.proposal, &layouter);
        page->dialog = &dialog;
        dialog.Centre();
        run.modalResult = dialog.ShowModal();
        for (wxStaticText* label : dialog.progressLabels)
            run.progressLines.push_back(label->GetLabel().utf8_string());
        // The finished event was queued before the modal loop ended.
        pumpEventsUntil([&] { return !page->events.empty() && page->events.back() == "finished"; }, 5000);
        page->dialog = nullptr;
    }
    run.events = page->events;
    run.threadGoneAtFinish = page->threadGoneAtFinish;
    page->Destroy();
    pumpEvents(20);
    return run;
}

class ProgressDialogRun : public ::testing::TestWithParam<bool> {};

TEST_P(ProgressDialogRun, SlicesArriveUntilStopThenFinishedAfterTheThreadHasEnded)
{
    const bool useEscape = GetParam();
    SolutionHistory history;
    Layouter layouter(houseProposal(), 1);
    layouter.solutions = &history;
    // Slices counted whole: a better layout would end its slice early.
    layouter.endSliceAtNewLayout = false;
    ASSERT_EQ(layouter.buildFixedFloorModel(), SCIP_OKAY);
    SCIPsetIntParam(layouter.scip, "display/verblevel", 0);

    const DialogRun run = runDialog(layouter, useEscape, /*screenshot=*/!useEscape);
    EXPECT_EQ(run.modalResult, wxID_CANCEL);
    ASSERT_FALSE(run.events.empty());
    EXPECT_EQ(run.events.back(), "finished");
    EXPECT_TRUE(run.threadGoneAtFinish);
    ASSERT_FALSE(layouter.solved);

    // At least two slices, the stop, then the slice that was running when
    // "Stop" was handled (on a loaded machine more slices may end before it is)
    // and one more after the stop. Every completed slice raised the time limit
    // by one, so there is one slice event per completed slice plus one.
    const auto stop = std::find(run.events.begin(), run.events.end(), "stop");
    ASSERT_NE(stop, run.events.end());
    const long slicesBeforeStop = stop - run.events.begin();
    EXPECT_GE(slicesBeforeStop, 2);
    EXPECT_EQ(std::count(run.events.begin(), stop, "slice"), slicesBeforeStop);
    const long slicesAfterStop = std::count(stop + 1, run.events.end(), "slice");
    EXPECT_GE(slicesAfterStop, 1) << "one event after the stop";
    EXPECT_EQ(run.events.size(), static_cast<std::size_t>(slicesBeforeStop + 1 + slicesAfterStop + 1));
    EXPECT_EQ(slicesBeforeStop + slicesAfterStop, layouter.timeLimit) << "one event per slice and one after the stop";

    // The dialog told of the search: what was found (on a busy machine
    // perhaps nothing yet) and that it stops.
    SearchProgress found;
    Solution best;
    if (history.latest(best)) {
        found.layouts = history.size();
        found.hasObjective = true;
        found.bestObjective = best.objective;
    }
    const auto expected = searchProgressLines(found, true);
    ASSERT_EQ(run.progressLines.size(), 3u);
    EXPECT_EQ(run.progressLines[0], expected[0]);
    EXPECT_EQ(run.progressLines[1], expected[1]);
    EXPECT_EQ(run.progressLines[2], "Search: stopping after this step...");
}

INSTANTIATE_TEST_SUITE_P(StopButtonAndEscape, ProgressDialogRun, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "Escape" : "StopButton";
                         });

TEST(ProgressDialog, ASolvedLayouterClosesAtOnce)
{
    SolutionHistory history;
    Layouter layouter(houseProposal(), 1);
    layouter.solutions = &history;
    ASSERT_EQ(layouter.buildFixedFloorModel(), SCIP_OKAY);
    layouter.solved = true;
    const DialogRun run = runDialog(layouter, false);
    EXPECT_EQ(run.events, std::vector<std::string>{"finished"});
}

TEST(ProgressDialog, ShowsItsRowsAndTheTimeLabel)
{
    SolutionHistory history;
    Layouter layouter(houseProposal(), 1);
    layouter.solutions = &history;
    ASSERT_EQ(layouter.buildFixedFloorModel(), SCIP_OKAY);
    layouter.solved = true; // the thread ends at once; the controls are what matters here
    auto* page = new wxFrame(nullptr, wxID_ANY, "Proposal");
    {
        ProgressDialog dialog(page, layouter.proposal, &layouter);
        EXPECT_EQ(dialog.GetId(), 20167);
        EXPECT_EQ(dialog.GetTitle(), "Layout Optimization");
        ASSERT_NE(dialog.timeLabel, nullptr);
        EXPECT_EQ(dialog.timeLabel->GetId(), 20169);
        EXPECT_EQ(dialog.timeLabel->GetLabel(), "00:00::00");
        auto* stop = dynamic_cast<wxButton*>(dialog.FindWindow(wxID_CANCEL));
        ASSERT_NE(stop, nullptr);
        EXPECT_EQ(stop->GetLabel(), "Stop");
        for (const char* text : {"Layout Optimizing...", "Runtime", "Press stop if a satisfying solution is found"}) {
            bool found = false;
            for (wxWindow* child : dialog.GetChildren())
                found = found || child->GetLabel() == text;
            EXPECT_TRUE(found) << text;
        }
        // After the first tick the label shows the elapsed time, h:m:s.
        pumpEventsUntil([&] { return dialog.timeLabel->GetLabel() != "00:00::00"; }, 3000);
        const wxString shown = dialog.timeLabel->GetLabel();
        EXPECT_TRUE(wxRegEx("^[0-9][0-9]:[0-9][0-9]:[0-9][0-9]$").Matches(shown)) << shown;
        pumpEventsUntil([&] { return dialog.thread == nullptr; }, 5000);
    }
    page->Destroy();
    pumpEvents(20);
}

} // namespace
