// The packing handed to the fixed-floor model as a start: the rooms it
// places pass the independent layout checker (doors along the corridor,
// facade wishes, stairs, fill); the solver takes it whole as the first
// layout, or completes it where it is handed over partial; and a start it
// cannot use, or none, loses nothing.

#include "support/LayoutChecker.h"
#include "support/LayouterSupport.h"
#include "support/ModelFixtures.h"

#include "layouter/FirstLayoutTuning.h"
#include "layouter/HeldStart.h"
#include "layouter/Layouter.h"
#include "layouter/ModelNames.h"
#include "layouter/ModelSupport.h"
#include "layouter/SolveLoop.h"
#include "layouter/StartLayout.h"
#include "model/BuildingParameters.h"
#include "model/Project.h"
#include "model/Proposal.h"

#include <gtest/gtest.h>
#include <scip/scip.h>

#include <atomic>
#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace kovra_test;
using Range = bg::Requirement::Range;

// A room as the benchmark's briefs make it: a square target, sides within
// [minSide, maxSide]; a corridor long and narrow in either direction.
std::shared_ptr<bg::Requirement> room(int index, const std::string& type, double area, double minSide,
                                      double maxSide, int level = 0, const char* wish = "whatever",
                                      std::vector<int> adjacency = {-1})
{
    const bool corridor = type == "Corridor";
    const double side = std::sqrt(area);
    const Range target = corridor ? Range{area / minSide, minSide} : Range{side, side};
    const Range aspect = corridor ? Range{0.1, 10.0} : Range{0.25, 4.0};
    return std::make_shared<bg::Requirement>(index, type + " " + std::to_string(index), std::move(adjacency), area,
                                             type, target, Range{minSide, maxSide}, Range{minSide, maxSide}, aspect,
                                             Vec2(-999, -999), level, std::vector<std::string>{wish},
                                             Range{0.8 * area, 1.5 * area}, 0);
}

// Six rooms on a 12 x 10 m floor: a corridor with doors to the other five,
// wishes for the south, north and east facades, an entrance.
std::shared_ptr<bg::Proposal> house()
{
    return makeProposal(makeRectBuilding(12, 10),
                        makeRequirementSet({room(0, "Entrance", 6, 1.5, 4), room(1, "Live and eat", 30, 3, 8, 0, "south"),
                                            room(2, "Kitchen and cleaning", 12, 2.5, 6, 0, "north"),
                                            room(3, "Bedroom", 16, 3, 6, 0, "east"), room(4, "Bedroom", 12, 2.8, 6),
                                            room(5, "Corridor", 10, 1.2, 12, 0, "whatever", {0, 1, 2, 3, 4})}));
}

// Two floors with a stair room on each (one rectangle for both), a hall and
// a landing with doors to every room of their floor.
std::shared_ptr<bg::Proposal> stairs()
{
    return makeProposal(
        makeRectBuilding(10, 8.5, 2),
        makeRequirementSet({room(0, "Entrance", 5, 1.5, 3.5), room(1, "Corridor", 10, 1.2, 10, 0, "whatever", {0, 2, 3, 4}),
                            room(2, "Live and eat", 26, 3, 8, 0, "south"),
                            room(3, "Kitchen and cleaning", 12, 2.5, 5, 0, "north"), room(4, "Stair", 6, 2, 3.5, 0),
                            room(5, "Stair", 6, 2, 3.5, 1),
                            room(6, "Corridor", 10, 1.2, 10, 1, "whatever", {5, 7, 8, 9}),
                            room(7, "Bedroom", 16, 3, 6, 1, "south"), room(8, "Bedroom", 13, 2.8, 6, 1),
                            room(9, "Kitchen and cleaning", 8, 2, 4, 1, "north")}));
}

// Sixteen rooms on a 20 x 15 m floor, no doors: rows only.
std::shared_ptr<bg::Proposal> sixteen()
{
    const double areas[] = {30, 24, 20, 18, 16, 16, 14, 14, 12, 12, 12, 10, 10, 8, 8, 6};
    std::vector<std::shared_ptr<bg::Requirement>> rooms;
    for (int i = 0; i < 16; ++i) {
        const double side = std::sqrt(areas[i]);
        rooms.push_back(room(i, "Bedroom", areas[i], std::max(1.5, 0.5 * side), 2.0 * side));
    }
    return makeProposal(makeRectBuilding(20, 15), makeRequirementSet(rooms));
}

// Fourteen rooms and two corridors on one floor: two bands.
std::shared_ptr<bg::Proposal> twoCorridors()
{
    const double areas[] = {14, 12, 10, 12, 16, 10, 13, 11, 12, 14, 10, 12};
    std::vector<std::shared_ptr<bg::Requirement>> rooms;
    std::vector<int> first, second;
    for (int i = 0; i < 12; ++i) {
        rooms.push_back(room(i, "Bedroom", areas[i], std::max(1.5, 0.5 * std::sqrt(areas[i])), 2.0 * std::sqrt(areas[i])));
        (i % 2 == 0 ? first : second).push_back(i);
    }
    rooms.push_back(room(12, "Corridor", 14, 1.2, 14, 0, "whatever", first));
    rooms.push_back(room(13, "Corridor", 14, 1.2, 14, 0, "whatever", second));
    return makeProposal(makeRectBuilding(13, 19.5), makeRequirementSet(rooms));
}

struct PackCase {
    const char* label;
    std::function<std::shared_ptr<bg::Proposal>()> proposal;
    bool fill;
    bool facades;
};

const PackCase packCases[] = {
    {"house_free", house, false, true},
    {"stairs_free", stairs, false, true},
    {"sixteen_free", sixteen, false, false},
    {"sixteen_filled", sixteen, true, false},
    {"two_corridors_free", twoCorridors, false, false},
    {"two_corridors_filled", twoCorridors, true, false},
};

class StartLayoutTest : public ::testing::TestWithParam<PackCase> {};

std::vector<startlayout::PackedRoom> pack(Layouter& layouter)
{
    const double t = getBuildingParameters().innerWallStrength;
    const modelsupport::FloorData floors = modelsupport::computeFloorData(
        layouter.proposal->getBuilding()->getFloors(), getBuildingParameters().outerWallStrength - 0.5 * t);
    return startlayout::packRooms(layouter.requirementSet->getRequirements(), floors, t, layouter.allowFreeSpace == 0);
}

// The packing alone, written into the rooms, is a layout the checker
// accepts: every door along a corridor, the wishes met, the floor filled
// where it must be.
TEST_P(StartLayoutTest, ThePackingPassesTheChecker)
{
    const PackCase& c = GetParam();
    auto proposal = c.proposal();
    Layouter layouter(proposal, c.fill ? 0 : 1);
    const std::vector<startlayout::PackedRoom> packed = pack(layouter);
    ASSERT_EQ(packed.size(), layouter.requirementSet->getRequirements().size());
    const double t = getBuildingParameters().innerWallStrength;
    layouter.applySolution(Solution{0.0, startlayout::modelValues(layouter.requirementSet->getRequirements(), packed,
                                                                  {}, t, getBuildingParameters().doorWidth)});
    LayoutRules rules = rulesFor(layouter);
    rules.separation = true;
    rules.doors = true;
    rules.facades = c.facades;
    const auto problems = checkLayout(proposal, rules);
    EXPECT_TRUE(problems.empty()) << describe(problems);
}

// The packing satisfies every row of the model, so it is held whole: the
// first slice of the application's solve loop ends with it recorded, before
// presolving and any search, and the page shows the packing itself. The
// settings for the first layout stay in force until the solver has a layout
// of its own.
TEST_P(StartLayoutTest, TheWholeStartIsTheFirstLayoutAsItIs)
{
    const PackCase& c = GetParam();
    auto proposal = c.proposal();
    SolutionHistory history;
    Layouter layouter(proposal, c.fill ? 0 : 1);
    layouter.solutions = &history;
    const std::vector<startlayout::PackedRoom> packed = pack(layouter);
    ASSERT_EQ(layouter.buildModel(), SCIP_OKAY);
    EXPECT_EQ(layouter.startsOffered, 1);
    ASSERT_EQ(layouter.completeStartsOffered, 1) << "the packing satisfies every row";
    ASSERT_TRUE(isFirstLayoutTuningActive(layouter.scip));
    SCIPsetIntParam(layouter.scip, "display/verblevel", 0);

    std::atomic<bool> stop{false};
    std::size_t recordedAtFirstSlice = 0;
    SCIP_STAGE stageAtFirstSlice = SCIP_STAGE_INIT;
    bool solverHadOneAtFirstSlice = true;
    bool tunedAtFirstSlice = false;
    Solution shown;
    ASSERT_EQ(runSolveLoop(layouter, stop,
                           [&] {
                               if (stop.exchange(true))
                                   return;
                               recordedAtFirstSlice = history.size();
                               stageAtFirstSlice = SCIPgetStage(layouter.scip);
                               solverHadOneAtFirstSlice = SCIPgetNSols(layouter.scip) > 0;
                               tunedAtFirstSlice = isFirstLayoutTuningActive(layouter.scip);
                               history.latest(shown);
                           }),
              SCIP_OKAY);
    ASSERT_GE(recordedAtFirstSlice, 1u) << "the first slice shows a layout";
    EXPECT_LE(stageAtFirstSlice, SCIP_STAGE_PRESOLVED) << "recorded before the search";
    EXPECT_EQ(tunedAtFirstSlice, !solverHadOneAtFirstSlice) << "the settings last until the solver has a layout";
    ASSERT_NE(findHeldStart(layouter.scip), nullptr);

    // The first recorded layout is the packing, to the last digit.
    const Solution first = history.at(0);
    for (const startlayout::PackedRoom& room : packed) {
        const std::pair<const char*, double> sides[] = {{"x", room.x}, {"y", room.y}, {"l", room.l}, {"w", room.w}};
        for (const auto& [prefix, value] : sides)
            EXPECT_DOUBLE_EQ(first.values.at(modelnames::roomVarName(prefix, room.index)), value)
                << prefix << " of room " << room.index;
    }
    layouter.applySolution(first);
    LayoutRules rules = rulesFor(layouter);
    rules.separation = true;
    rules.doors = true;
    rules.facades = true;
    EXPECT_EQ(describe(checkLayout(proposal, rules)), "");
    // What the page showed after the first slice is at least as good.
    EXPECT_LE(shown.objective, first.objective + 1e-6);
}

// The held start is shown, not searched from: where the solver finds a
// layout of its own before presolving (the zero-objective heuristic of the
// settings for the first layout, on the house with space left free) and its
// own layouts beat the start within the first nodes, it never takes the
// start, and the search is the one without the packing, node for node, to
// the same optimum. Handed over at the transformation, the better incumbent
// led the search through up to twice the nodes.
TEST(StartLayout, AHeldStartLeavesTheSearchAsWithoutIt)
{
    struct Run {
        SCIP_STATUS status = SCIP_STATUS_UNKNOWN;
        SCIP_Longint nodes = 0;
        double optimum = 0.0;
        bool held = false;
        bool handedOver = false;
        std::vector<Solution> recorded;
    };
    const auto run = [](bool packing) {
        auto proposal = house();
        SolutionHistory history;
        Layouter layouter(proposal, 1);
        layouter.solutions = &history;
        layouter.packStartLayout = packing;
        Run r;
        if (layouter.buildModel() != SCIP_OKAY)
            return r;
        r.status = solveFor(layouter, 120.0);
        r.nodes = SCIPgetNTotalNodes(layouter.scip);
        r.optimum = SCIPgetPrimalbound(layouter.scip);
        const HeldStart* held = findHeldStart(layouter.scip);
        r.held = held != nullptr;
        r.handedOver = held != nullptr && held->handedOver();
        r.recorded = history.snapshot();
        return r;
    };
    const Run with = run(true);
    const Run without = run(false);
    ASSERT_EQ(without.status, SCIP_STATUS_OPTIMAL);
    ASSERT_EQ(with.status, SCIP_STATUS_OPTIMAL);
    ASSERT_TRUE(with.held);
    EXPECT_FALSE(with.handedOver) << "the solver had a layout of its own before presolving";
    EXPECT_EQ(with.nodes, without.nodes);
    EXPECT_NEAR(with.optimum, without.optimum, 1e-6);
    // What was recorded: the start first, then only better layouts, down to
    // the optimum.
    ASSERT_GE(with.recorded.size(), 2u);
    for (std::size_t i = 1; i < with.recorded.size(); ++i)
        EXPECT_LT(with.recorded[i].objective, with.recorded[i - 1].objective) << "layout " << i;
    EXPECT_NEAR(with.recorded.back().objective, with.optimum, 1e-6);
}

// Where no heuristic finds a layout before presolving (here without the
// settings for the first layout), the solver takes the held start as its
// own and the search improves on it.
TEST(StartLayout, TheSolverTakesTheHeldStartWhenItHasNoneOfItsOwn)
{
    auto proposal = house();
    SolutionHistory history;
    Layouter layouter(proposal, 1);
    layouter.solutions = &history;
    layouter.tuneFirstLayout = false;
    ASSERT_EQ(layouter.buildModel(), SCIP_OKAY);
    const HeldStart* held = findHeldStart(layouter.scip);
    ASSERT_NE(held, nullptr);
    SCIPsetIntParam(layouter.scip, "limits/solutions", 1);
    solveFor(layouter, 30.0);
    EXPECT_TRUE(held->handedOver());
    SCIP_SOL* first = SCIPgetBestSol(layouter.scip);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(SCIPsolGetHeur(first), nullptr);
    EXPECT_STREQ(SCIPheurGetName(SCIPsolGetHeur(first)), HeldStart::heuristicName);
    EXPECT_EQ(SCIPgetNNodes(layouter.scip), 0) << "taken before the search";
    EXPECT_NEAR(SCIPgetSolOrigObj(layouter.scip, first), held->solution().objective, 1e-6);
    ASSERT_EQ(history.size(), 1u) << "recorded once, when shown";
}

// Past its first nodes the search goes on from the held start unless its own
// layouts have beaten it by then: from there its incumbent is never worse
// than the layout on the page. The benchmark's house with space left free:
// its own layouts beat the packing within the usual count; after a single
// node, the zero-objective heuristic's layout has not, and the start is
// taken.
TEST(StartLayout, PastItsFirstNodesTheSearchIsNeverBehindTheHeldStart)
{
    std::vector<std::string> warnings;
    const auto project = bg::Project::load(std::string(KOVRA_SOURCE_DIR) + "/bench/data/02-house.xsp", &warnings);
    ASSERT_EQ(project->proposals.size(), 1u);
    struct Case {
        const char* label;
        SCIP_Longint handOverNodes;
        bool takenExpected;
    };
    const Case cases[] = {{"usual count", HeldStart::defaultHandOverNodes, false}, {"one node", 1, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        SolutionHistory history;
        Layouter layouter(project->proposals.front(), 1);
        layouter.solutions = &history;
        ASSERT_EQ(layouter.buildModel(), SCIP_OKAY);
        HeldStart* held = findHeldStart(layouter.scip);
        ASSERT_NE(held, nullptr);
        held->handOverNodes = c.handOverNodes;
        SCIPsetLongintParam(layouter.scip, "limits/nodes", c.handOverNodes + 5);
        solveFor(layouter, 60.0);
        ASSERT_GT(SCIPgetNNodes(layouter.scip), c.handOverNodes);
        EXPECT_LE(SCIPgetPrimalbound(layouter.scip), held->solution().objective + 1e-6);
        EXPECT_EQ(held->handedOver(), c.takenExpected);
        Solution shown;
        ASSERT_TRUE(history.latest(shown));
        EXPECT_NEAR(shown.objective, SCIPgetPrimalbound(layouter.scip), 1e-6) << "the page shows the best there is";
    }
}

// A start that breaks a row (a room pushed off its floor) is not taken whole:
// the solver's check of the whole solution sees the row, and the start goes
// to the solver's completion instead.
TEST(StartLayout, AStartThatBreaksARowGoesToTheCompletion)
{
    auto proposal = house();
    Layouter layouter(proposal, 1);
    layouter.packStartLayout = false;
    ASSERT_EQ(layouter.buildModel(), SCIP_OKAY);
    const double t = getBuildingParameters().innerWallStrength;
    const auto& requirements = layouter.requirementSet->getRequirements();
    std::vector<startlayout::PackedRoom> packed = pack(layouter);
    ASSERT_EQ(packed.size(), requirements.size());
    const auto values = startlayout::modelValues(requirements, packed, {}, t, getBuildingParameters().doorWidth);

    // Whole and sound: every variable gets a value, the facade binaries too.
    const auto complete = startlayout::completeValues(layouter.scip, layouter.variables, values);
    EXPECT_EQ(complete.size(), static_cast<std::size_t>(SCIPgetNOrigVars(layouter.scip)));
    bool accepted = false;
    ASSERT_EQ(startlayout::offerCompleteSolution(layouter.scip, layouter.variables, values, accepted), SCIP_OKAY);
    EXPECT_TRUE(accepted);

    // The same layout with the corridor moved half a metre off the floor.
    layouter.packStartLayout = true;
    layouter.startValues = values;
    layouter.startValues[modelnames::roomVarName("x", 5)] -= 0.5 + packed[5].x;
    ASSERT_EQ(layouter.buildModel(), SCIP_OKAY);
    EXPECT_EQ(layouter.startsOffered, 2);
    EXPECT_EQ(layouter.completeStartsOffered, 1) << "only the packing is whole";

    // A value the rows cannot decide: a room's net area missing leaves a
    // continuous variable open, so nothing is handed over whole.
    auto missing = values;
    missing.erase(modelnames::roomVarName("z", 0));
    EXPECT_TRUE(startlayout::completeValues(layouter.scip, layouter.variables, missing).empty());
}

// Through the solver: without the whole start, the packing is completed
// before presolving and is the first recorded layout. (Without the settings
// for the first layout, whose zero-objective heuristic may find one at the
// same point on roomy floors.)
TEST_P(StartLayoutTest, TheSolverCompletesItFirst)
{
    const PackCase& c = GetParam();
    auto proposal = c.proposal();
    SolutionHistory history;
    Layouter layouter(proposal, c.fill ? 0 : 1);
    layouter.solutions = &history;
    layouter.tuneFirstLayout = false;
    layouter.offerCompleteStarts = false;
    ASSERT_EQ(layouter.buildModel(), SCIP_OKAY);
    EXPECT_EQ(layouter.completeStartsOffered, 0);
    SCIPsetIntParam(layouter.scip, "limits/solutions", 1);
    solveFor(layouter, 30.0);
    ASSERT_FALSE(history.empty());
    SCIP_SOL* first = SCIPgetBestSol(layouter.scip);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(SCIPsolGetHeur(first), nullptr);
    EXPECT_STREQ(SCIPheurGetName(SCIPsolGetHeur(first)), "completesol");
    EXPECT_EQ(SCIPgetNNodes(layouter.scip), 0) << "completed before the search";
    layouter.applyBestSolution();
    LayoutRules rules = rulesFor(layouter);
    rules.separation = true;
    rules.doors = true;
    rules.facades = true;
    const auto problems = checkLayout(proposal, rules);
    EXPECT_TRUE(problems.empty()) << describe(problems);
}

INSTANTIATE_TEST_SUITE_P(Programmes, StartLayoutTest, ::testing::ValuesIn(packCases),
                         [](const ::testing::TestParamInfo<PackCase>& info) { return std::string(info.param.label); });

// A floor with a notch: where the rooms must fill it, no packing, and the
// search runs as without one; where they may leave space free, the rows take
// its largest rectangle and keep clear of the notch.
TEST(StartLayout, AnLShapedFloorIsPackedInItsLargestRectangleOnlyWhenSpaceMayStayFree)
{
    auto proposal = makeProposal(makeLShapedBuilding(13, 11, 4, 4), house()->requirementSet);
    Layouter filled(proposal, 0);
    EXPECT_TRUE(pack(filled).empty());
    ASSERT_EQ(filled.buildModel(), SCIP_OKAY);
    EXPECT_EQ(filled.startsOffered, 0);

    Layouter free(proposal, 1);
    const std::vector<startlayout::PackedRoom> packed = pack(free);
    ASSERT_EQ(packed.size(), free.requirementSet->getRequirements().size());
    ASSERT_FALSE(free.obstacles.empty());
    const double t = getBuildingParameters().innerWallStrength;
    free.applySolution(Solution{0.0, startlayout::modelValues(free.requirementSet->getRequirements(), packed, {}, t,
                                                              getBuildingParameters().doorWidth)});
    LayoutRules rules = rulesFor(free);
    rules.separation = true;
    rules.doors = true;
    EXPECT_EQ(describe(checkLayout(proposal, rules)), "") << "inside the L, clear of the notch, doors kept";
    ASSERT_EQ(free.buildModel(), SCIP_OKAY);
    EXPECT_EQ(free.startsOffered, 1);
}

// The layout on the screen starts the next model of the same rooms; a
// layout the solver cannot complete, or one of other rooms, loses nothing.
TEST(StartLayout, TheLastLayoutStartsTheRebuiltModel)
{
    auto proposal = house();
    SolutionHistory history;
    Layouter layouter(proposal, 1);
    layouter.solutions = &history;
    layouter.packStartLayout = false;
    ASSERT_EQ(layouter.buildModel(), SCIP_OKAY);
    EXPECT_EQ(layouter.startsOffered, 0) << "no start without the packing and a last layout";
    layouter.packStartLayout = true;
    ASSERT_EQ(layouter.buildModel(), SCIP_OKAY);
    EXPECT_EQ(layouter.startsOffered, 1) << "the packing";
    SCIPsetIntParam(layouter.scip, "limits/solutions", 1);
    solveFor(layouter, 30.0);
    ASSERT_FALSE(history.empty());
    layouter.applyBestSolution();

    // "Reset" for the same rooms: the last layout and the packing.
    history.clear();
    ASSERT_EQ(layouter.reset(), SCIP_OKAY);
    EXPECT_EQ(layouter.startsOffered, 2);
    EXPECT_EQ(layouter.completeStartsOffered, 2) << "both are sound layouts";

    // A layout of other rooms is not offered.
    layouter.startValues = {{"x__0_", 0.0}, {"y__0_", 0.0}, {"l__0_", 3.0}, {"w__0_", 3.0}};
    ASSERT_EQ(layouter.buildModel(), SCIP_OKAY);
    EXPECT_EQ(layouter.startsOffered, 1);
    EXPECT_TRUE(layouter.startValues.empty());

    // Rooms far outside the floor: the solver drops the start and finds its own.
    layouter.packStartLayout = false;
    for (const auto& requirement : layouter.requirementSet->getRequirements())
        for (const char* prefix : {"x", "y", "l", "w"})
            layouter.startValues[modelnames::roomVarName(prefix, requirement->getIndex())] = 500.0;
    ASSERT_EQ(layouter.buildModel(), SCIP_OKAY);
    EXPECT_EQ(layouter.startsOffered, 1);
    EXPECT_EQ(layouter.completeStartsOffered, 0) << "rooms off the floor break rows";
    SCIPsetIntParam(layouter.scip, "limits/solutions", 1);
    solveFor(layouter, 60.0);
    ASSERT_FALSE(history.empty()) << "the search runs as without a start";
    layouter.applyBestSolution();
    LayoutRules rules = rulesFor(layouter);
    rules.doors = true;
    EXPECT_EQ(describe(checkLayout(proposal, rules)), "");
}

} // namespace
