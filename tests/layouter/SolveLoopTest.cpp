#include "support/LayoutChecker.h"
#include "support/LayouterSupport.h"
#include "support/ModelFixtures.h"

#include "layouter/FirstLayoutTuning.h"
#include "layouter/Layouter.h"
#include "layouter/ModelNames.h"
#include "layouter/SolveLoop.h"
#include "model/Proposal.h"

#include <gtest/gtest.h>
#include <scip/scip.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace kovra_test;

// A single-floor programme that no solver proves optimal within a second or
// two, so a run always has slices left to stop.
std::shared_ptr<bg::Proposal> busyProposal()
{
    std::vector<std::shared_ptr<bg::Requirement>> requirements;
    const double areas[] = {18, 14, 12, 12, 10, 9, 8, 6};
    for (int i = 0; i < 8; ++i)
        requirements.push_back(makeRequirement(i, "Room " + std::to_string(i), areas[i], 0, {i == 0 ? -1 : 0}));
    return makeProposal(makeRectBuilding(14, 10), makeRequirementSet(requirements));
}

struct Optimiser {
    explicit Optimiser(const std::shared_ptr<bg::Proposal>& proposal, int allowFreeSpace = 1)
        : layouter(proposal, allowFreeSpace)
    {
        layouter.solutions = &history;
        EXPECT_EQ(layouter.buildFixedFloorModel(), SCIP_OKAY);
        SCIPsetIntParam(layouter.scip, "display/verblevel", 0);
    }

    SolutionHistory history;
    Layouter layouter;
};

TEST(SolveLoop, AnAlreadySolvedLayouterEndsAtOnce)
{
    Optimiser optimiser(busyProposal());
    optimiser.layouter.solved = true;
    std::atomic<bool> stop{false};
    int slices = 0;
    EXPECT_EQ(runSolveLoop(optimiser.layouter, stop, [&] { ++slices; }), SCIP_OKAY);
    EXPECT_EQ(slices, 0);
    EXPECT_EQ(optimiser.layouter.timeLimit, 1);
    EXPECT_EQ(SCIPgetStage(optimiser.layouter.scip), SCIP_STAGE_PROBLEM) << "nothing may have been solved";
}

TEST(SolveLoop, AStopDuringTheFirstSliceGivesTwoSliceEvents)
{
    Optimiser optimiser(busyProposal());
    // Whole slices: a layout found before the stop must not end the first.
    optimiser.layouter.endSliceAtNewLayout = false;
    std::atomic<bool> stop{false};
    int slices = 0;
    std::thread user([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        stop = true;
    });
    EXPECT_EQ(runSolveLoop(optimiser.layouter, stop, [&] { ++slices; }), SCIP_OKAY);
    user.join();
    ASSERT_FALSE(optimiser.layouter.solved) << "the programme must not be solvable within a second";
    EXPECT_EQ(slices, 2);
    EXPECT_EQ(optimiser.layouter.timeLimit, 2);
    // The rooms show the best solution of that second, if one was found.
    if (!optimiser.history.empty()) {
        EXPECT_EQ(describe(checkLayout(optimiser.layouter.proposal, {})), "");
    }
}

TEST(SolveLoop, TheTimeLimitGrowsPerSliceAndAContinuedRunGoesOnFromIt)
{
    Optimiser optimiser(busyProposal());
    optimiser.layouter.endSliceAtNewLayout = false;
    std::atomic<bool> stop{false};
    std::vector<double> limits;
    auto recordLimit = [&] {
        double limit = 0;
        SCIPgetRealParam(optimiser.layouter.scip, "limits/time", &limit);
        limits.push_back(limit);
        if (limits.size() == 2)
            stop = true;
    };
    runSolveLoop(optimiser.layouter, stop, recordLimit);
    ASSERT_FALSE(optimiser.layouter.solved);
    EXPECT_EQ(optimiser.layouter.timeLimit, 3) << "two successful slices";

    // "Continue": a new run on the same Layouter solves first with limit 3.
    stop = false;
    limits.clear();
    runSolveLoop(optimiser.layouter, stop, [&] {
        double limit = 0;
        SCIPgetRealParam(optimiser.layouter.scip, "limits/time", &limit);
        limits.push_back(limit);
        stop = true;
    });
    ASSERT_EQ(limits.size(), 2u);
    EXPECT_EQ(limits[0], 3.0);
    EXPECT_EQ(optimiser.layouter.timeLimit, 4);
}

// The page redraws on slice events: a better layout must end its slice, reach
// the rooms and raise the event at once, not when the slice's second is up.
TEST(SolveLoop, ANewLayoutEndsTheSliceAndReachesTheRoomsAtOnce)
{
    Optimiser optimiser(busyProposal());
    std::atomic<bool> stop{false};
    struct Seen {
        std::size_t recorded;
        SCIP_STATUS status;
        double solvingTime;
        int timeLimit;
        bool tuning;
        bool roomsShowNewest;
    };
    std::vector<Seen> seen;
    runSolveLoop(optimiser.layouter, stop, [&] {
        Solution newest;
        bool roomsShowNewest = false;
        if (optimiser.history.latest(newest)) {
            roomsShowNewest = true;
            for (const auto& room : optimiser.layouter.proposal->getRooms())
                roomsShowNewest = roomsShowNewest &&
                                  room->position.x == newest.values.at(modelnames::roomVarName("x", room->index)) &&
                                  room->size.y == newest.values.at(modelnames::roomVarName("w", room->index));
        }
        seen.push_back({optimiser.history.size(), SCIPgetStatus(optimiser.layouter.scip),
                        SCIPgetSolvingTime(optimiser.layouter.scip), optimiser.layouter.timeLimit,
                        isFirstLayoutTuningActive(optimiser.layouter.scip), roomsShowNewest});
        // Four events from the first layout on; a slow (sanitized) build
        // may need whole slices before it.
        std::size_t withLayout = 0;
        for (const Seen& event : seen)
            withLayout += event.recorded > 0 ? 1 : 0;
        if (withLayout == 4 || seen.size() == 60)
            stop = true;
    });
    ASSERT_FALSE(optimiser.layouter.solved) << "the programme must not be solved that soon";
    std::size_t firstLayout = 0;
    while (firstLayout < seen.size() && seen[firstLayout].recorded == 0)
        ++firstLayout;
    ASSERT_LT(firstLayout + 4, seen.size() + 1) << "no four slice events with layouts";
    const Seen& first = seen[firstLayout];
    // The layout ends its slice, unless the slice's limit came first (a
    // layout found in a slice's last moments, as on a slow machine).
    ASSERT_TRUE(first.status == SCIP_STATUS_USERINTERRUPT || first.status == SCIP_STATUS_TIMELIMIT) << first.status;
    if (first.status == SCIP_STATUS_USERINTERRUPT) {
        EXPECT_LT(first.solvingTime, static_cast<double>(first.timeLimit));
        const int limitBefore = firstLayout > 0 ? seen[firstLayout - 1].timeLimit : 1;
        EXPECT_EQ(first.timeLimit, limitBefore) << "a slice ended early keeps its limit for the next";
    }
    // Some better layout ended its slice. On a slow (sanitized) build the
    // only layout may have come at a slice's limit with none better after
    // it; then no slice had a layout to end at.
    bool interrupted = false;
    bool betterAfterTheFirst = false;
    for (std::size_t i = 0; i < seen.size(); ++i) {
        interrupted = interrupted || seen[i].status == SCIP_STATUS_USERINTERRUPT;
        betterAfterTheFirst = betterAfterTheFirst || (i > firstLayout && seen[i].recorded > seen[i - 1].recorded);
    }
    EXPECT_TRUE(interrupted || (first.status == SCIP_STATUS_TIMELIMIT && !betterAfterTheFirst))
        << "no slice ended at a new layout";
    EXPECT_FALSE(first.tuning) << "the settings for the first layout end with it";
    for (std::size_t i = 0; i < seen.size(); ++i) {
        SCOPED_TRACE("slice event " + std::to_string(i));
        EXPECT_TRUE(seen[i].roomsShowNewest || seen[i].recorded == 0);
        // The event after the stop repeats the last slice's state.
        if (i + 1 >= seen.size())
            break;
        // A slice ends either at a new layout or at its limit, which then grows.
        if (seen[i].status == SCIP_STATUS_USERINTERRUPT && i > 0) {
            EXPECT_GT(seen[i].recorded, seen[i - 1].recorded);
        }
        if (i > 0 && seen[i].status == SCIP_STATUS_TIMELIMIT) {
            EXPECT_EQ(seen[i].timeLimit, seen[i - 1].timeLimit + 1);
        }
    }
    EXPECT_EQ(describe(checkLayout(optimiser.layouter.proposal, {})), "");
}

// After the loop, and also when a slice event throws, a plain solve runs to
// its end: only the loop's slices end at new layouts.
TEST(SolveLoop, OnlyTheLoopsSlicesEndAtNewLayouts)
{
    // Four free rooms on a roomy floor: solved within seconds.
    std::vector<std::shared_ptr<bg::Requirement>> requirements;
    for (int i = 0; i < 4; ++i)
        requirements.push_back(makeRequirement(i, "Room " + std::to_string(i), 8 + 2 * i));
    Optimiser optimiser(makeProposal(makeRectBuilding(10, 8), makeRequirementSet(requirements)));
    std::atomic<bool> stop{false};
    EXPECT_THROW(runSolveLoop(optimiser.layouter, stop, [] { throw std::runtime_error("page gone"); }),
                 std::runtime_error);
    EXPECT_FALSE(optimiser.layouter.interruptAtNewLayout);
    // A plain solve ends at its limits (or the proof), never at a layout.
    SCIPsetRealParam(optimiser.layouter.scip, "limits/time", 20.0 * budgetFactor());
    ASSERT_EQ(SCIPsolve(optimiser.layouter.scip), SCIP_OKAY);
    const SCIP_STATUS status = SCIPgetStatus(optimiser.layouter.scip);
    EXPECT_TRUE(status == SCIP_STATUS_OPTIMAL || status == SCIP_STATUS_TIMELIMIT) << "status " << status;
}

TEST(SolveLoop, WithoutAnySolutionTheRoomsStayUntouched)
{
    // No room fits: each needs at least 30 m2 of a 20 m2 floor.
    auto proposal = makeProposal(makeRectBuilding(5, 4),
                                 makeRequirementSet({makeRequirement(0, "Hall", 40), makeRequirement(1, "Hall", 40)}));
    for (const auto& room : proposal->getRooms())
        placeRoom(proposal, room, {1.5, 2.5}, {3, 2}, 0);
    Optimiser optimiser(proposal);
    std::atomic<bool> stop{false};
    int slices = 0;
    runSolveLoop(optimiser.layouter, stop, [&] {
        if (++slices == 3)
            stop = true;
    });
    EXPECT_TRUE(optimiser.history.empty());
    for (const auto& room : proposal->getRooms()) {
        EXPECT_EQ(room->position.x, 1.5);
        EXPECT_EQ(room->size.y, 2.0);
    }
    EXPECT_EQ(optimiser.layouter.timeLimit, 1 + (optimiser.layouter.solved ? slices : slices - 1));
}

TEST(SolveLoop, AFailingSolverCallEndsTheRunAfterItsSlice)
{
    // A time limit the solver refuses: every slice would fail the same way.
    Optimiser optimiser(busyProposal());
    optimiser.layouter.timeLimit = -5;
    std::atomic<bool> stop{false};
    int slices = 0;
    const SCIP_RETCODE code = runSolveLoop(optimiser.layouter, stop, [&] { ++slices; });
    EXPECT_NE(code, SCIP_OKAY);
    EXPECT_EQ(optimiser.layouter.solveFailure, code) << "the page sees why the run ended";
    EXPECT_EQ(slices, 1) << "one slice event, then the run ends instead of spinning";
    EXPECT_EQ(optimiser.layouter.timeLimit, -5) << "a failed slice does not raise the limit";
    EXPECT_FALSE(optimiser.layouter.solved);
}

// Run under ThreadSanitizer too: the GUI side reads the rooms and the
// history while the worker solves, records and writes the rooms.
TEST(SolveLoop, RoomsAndHistoryAreReadSafelyWhileTheWorkerWrites)
{
    // Five unconnected rooms with room to spare: layouts come early, and the
    // search for the best one goes on over several slices.
    std::vector<std::shared_ptr<bg::Requirement>> requirements;
    for (int i = 0; i < 5; ++i)
        requirements.push_back(makeRequirement(i, "Room " + std::to_string(i), 10 + 2 * i));
    Optimiser optimiser(makeProposal(makeRectBuilding(14, 10), makeRequirementSet(requirements)));
    std::atomic<bool> stop{false};
    std::atomic<bool> ended{false};
    std::atomic<int> slices{0};
    std::thread worker([&] {
        runSolveLoop(optimiser.layouter, stop, [&] { ++slices; });
        ended = true;
    });

    double seen = 0;
    while (!ended && (slices < 3 || optimiser.history.empty())) {
        {
            auto lock = optimiser.layouter.proposal->lockRooms();
            for (const auto& room : optimiser.layouter.proposal->getRooms())
                seen += room->position.x + room->size.x + room->level + static_cast<double>(room->contour.size());
        }
        for (const Solution& solution : optimiser.history.snapshot())
            seen += solution.objective;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    stop = true;
    worker.join();
    EXPECT_FALSE(optimiser.history.empty());
    EXPECT_EQ(describe(checkLayout(optimiser.layouter.proposal, {})), "");
    (void)seen;
}

} // namespace
