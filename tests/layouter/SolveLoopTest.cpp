#include "support/LayoutChecker.h"
#include "support/ModelFixtures.h"

#include "layouter/Layouter.h"
#include "layouter/SolveLoop.h"
#include "model/Proposal.h"

#include <gtest/gtest.h>
#include <scip/scip.h>

#include <atomic>
#include <chrono>
#include <memory>
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
