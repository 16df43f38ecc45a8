// The integer-floor model solved by SCIP under a time limit, read back in
// its mode and checked by the independent layout checker in its convention
// (net rectangles on the layout outlines). Also cases that literal big-M
// values and level selectors would get wrong whatever the solver's luck,
// and models the solver must find infeasible.

#include "layouter/Layouter.h"
#include "support/LayoutChecker.h"
#include "support/LayouterSupport.h"
#include "support/ModelFixtures.h"

#include <gtest/gtest.h>

#include <ostream>

using namespace kovra_test;

namespace {

// The solver's time limit per case: the only bound on a run. The tests
// assert nothing about how much of it is used.
constexpr double kSeconds = 10.0;

// Builds the integer-floor model, solves it and applies the best layout;
// false when the solver recorded none.
bool solveAndApply(Layouter& layouter, SolutionHistory& history)
{
    layouter.solutions = &history;
    layouter.mode = integerFloorMode;
    if (layouter.buildModel() != SCIP_OKAY)
        return false;
    solveFor(layouter, kSeconds);
    if (history.empty())
        return false;
    layouter.applyBestSolution();
    return true;
}

void expectSoundLayout(const Layouter& layouter, const std::shared_ptr<bg::Proposal>& proposal)
{
    LayoutRules rules = rulesFor(layouter);
    rules.netRectangles = true;
    rules.facades = true;
    rules.doors = true;
    const auto problems = checkLayout(proposal, rules);
    EXPECT_TRUE(problems.empty()) << describe(problems);
}

using Range = bg::Requirement::Range;

// A room of free proportions: length and width within their ranges, area
// within `area`, a square target of side `target`.
std::shared_ptr<bg::Requirement> freeRoom(int index, double target, Range length, Range width, Range area, int level,
                                          std::vector<int> adjacency = {-1}, const std::string& roomType = "Bedroom",
                                          std::vector<std::string> boundaries = {"whatever"})
{
    return std::make_shared<bg::Requirement>(index, "Room " + std::to_string(index), std::move(adjacency),
                                             target * target, roomType, Range{target, target}, length, width,
                                             Range{0.1, 10.0}, Vec2(-999, -999), level, std::move(boundaries), area, 0);
}

struct SolveCase {
    const char* name;
    std::shared_ptr<bg::Building> building;
    std::vector<std::shared_ptr<bg::Requirement>> requirements;
    int allowFreeSpace;
};

void PrintTo(const SolveCase& c, std::ostream* out)
{
    *out << c.name;
}

class IntegerFloorSolveTest : public ::testing::TestWithParam<SolveCase> {};

TEST_P(IntegerFloorSolveTest, LayoutKeepsEveryRule)
{
    const SolveCase& c = GetParam();
    auto proposal = makeProposal(c.building, makeRequirementSet(c.requirements));
    Layouter layouter(proposal, c.allowFreeSpace);
    SolutionHistory history;
    ASSERT_TRUE(solveAndApply(layouter, history)) << "no layout within " << kSeconds << " s";
    expectSoundLayout(layouter, proposal);
}

std::shared_ptr<bg::Building> atNegativeX()
{
    return makeBuilding({{{-20, -5}, {-10, -5}, {-10, 3}, {-20, 3}}});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IntegerFloorSolveTest,
    ::testing::Values(
        SolveCase{"OneFloorThreeRooms",
                  makeRectBuilding(10, 8),
                  {makeRequirement(0, "Living", 24, 0), makeRequirement(1, "Study", 12, 0),
                   makeRequirement(2, "Bath", 6, 0)},
                  1},
        SolveCase{"AnyFloorFillAllOff",
                  makeRectBuilding(9, 7, 2),
                  {makeRequirement(0, "Living", 24, 0), makeRequirement(1, "Study", 12, 1),
                   makeRequirement(2, "Guest", 14, -999), makeRequirement(3, "Work", 10, -999)},
                  1},
        // Each floor of 8.28 x 6.28 m filled exactly by a room of its own and
        // one that may go on either floor.
        SolveCase{"AnyFloorFillAllOn",
                  makeRectBuilding(9, 7, 2),
                  {makeRequirement(0, "Living", 26, 0), makeRequirement(1, "Study", 26, 1),
                   makeRequirement(2, "Guest", 26, -999), makeRequirement(3, "Work", 26, -999)},
                  0},
        SolveCase{"LShapedFloor",
                  makeLShapedBuilding(12, 10, 4, 4),
                  {makeRequirement(0, "Living", 24, 0), makeRequirement(1, "Study", 14, 0),
                   makeRequirement(2, "Bedroom", 14, 0)},
                  1},
        SolveCase{"FacadesAndConnection",
                  makeRectBuilding(10, 8, 2),
                  {makeRequirement(0, "Living", 20, 0, {-1}, "Live and eat", {"south"}),
                   makeRequirement(1, "Kitchen", 12, -999, {0}, "Kitchen", {"northeast"}),
                   makeRequirement(2, "Study", 12, 1, {-1}, "Workroom", {"west"}),
                   makeRequirement(3, "Bedroom", 14, -999, {-1}, "Bedroom", {"north"})},
                  1},
        SolveCase{"StairsStacked",
                  makeRectBuilding(10, 8, 2),
                  {makeRequirement(0, "Stair down", 8, 0, {-1}, "Stair"), makeRequirement(1, "Stair up", 8, 1, {-1}, "Stair"),
                   makeRequirement(2, "Living", 20, 0, {0}), makeRequirement(3, "Bedroom", 14, 1, {1})},
                  1},
        // A building at negative x: a big-M taken from the largest x alone
        // would be negative and bind every disjunction.
        SolveCase{"AtNegativeX",
                  atNegativeX(),
                  {makeRequirement(0, "Living", 24, 0), makeRequirement(1, "Study", 12, 0, {0})},
                  1},
        // The L's notch (north-east, from x 7.64 and y 5.64 inside the outer
        // walls): room 0 fills the part south of it, so room 1 can meet its
        // east wish only at the notch's wall, and would like to be longer
        // than the 7.28 m up to it.
        SolveCase{"EastWallOfTheNotch",
                  makeLShapedBuilding(12, 10, 4, 4),
                  {freeRoom(0, 8, {11.28, 11.28}, {5.28, 5.28}, {50, 70}, 0, {-1}, "Live and eat", {"south"}),
                   freeRoom(1, 8, {2, 7.38}, {2, 4}, {4, 40}, 0, {-1}, "Bedroom", {"east"})},
                  1},
        // A 5 x 25 m floor filled by two rooms one behind the other: the rows
        // keeping them apart span the floor's depth, more than twice its width.
        SolveCase{"DeeperThanWide",
                  makeRectBuilding(5, 25),
                  {freeRoom(0, 7, {3, 15}, {3, 15}, {40, 70}, 0), freeRoom(1, 7, {3, 15}, {3, 15}, {40, 70}, 0)},
                  0}),
    [](const ::testing::TestParamInfo<SolveCase>& info) { return std::string(info.param.name); });

TEST(IntegerFloorLevelTest, RoomOnAnyFloorStandsOnALevelThatHasAFloor)
{
    // Layout levels 0 and 2; the room would like 8 x 8 m, more than either
    // 5.28 x 4.28 m floor holds, and must still come back on one of them.
    auto building = makeRectBuilding(6, 5, 2);
    building->getFloors().back()->level = 2;
    auto proposal = makeProposal(building, makeRequirementSet({freeRoom(0, 8, {2, 12}, {2, 12}, {4, 100}, -999)}));
    ASSERT_EQ(proposal->getLayouts().back()->getLevel(), 2);
    Layouter layouter(proposal, 1);
    SolutionHistory history;
    ASSERT_TRUE(solveAndApply(layouter, history)) << "no layout within " << kSeconds << " s";
    const int level = proposal->getRooms()[0]->level;
    EXPECT_TRUE(level == 0 || level == 2) << "level " << level;
    expectSoundLayout(layouter, proposal);
}

struct InfeasibleCase {
    const char* name;
    std::shared_ptr<bg::Building> building;
    std::vector<std::shared_ptr<bg::Requirement>> requirements;
    int allowFreeSpace;
};

void PrintTo(const InfeasibleCase& c, std::ostream* out)
{
    *out << c.name;
}

class IntegerFloorInfeasibleTest : public ::testing::TestWithParam<InfeasibleCase> {};

TEST_P(IntegerFloorInfeasibleTest, SolverFindsNoLayout)
{
    const InfeasibleCase& c = GetParam();
    Layouter layouter(makeProposal(c.building, makeRequirementSet(c.requirements)), c.allowFreeSpace);
    SolutionHistory history;
    layouter.solutions = &history;
    ASSERT_EQ(layouter.buildIntegerFloorModel(), SCIP_OKAY);
    const SCIP_STATUS status = solveFor(layouter, kSeconds);
    EXPECT_TRUE(status == SCIP_STATUS_INFEASIBLE || status == SCIP_STATUS_INFORUNBD) << "status " << status;
    EXPECT_TRUE(history.empty());
}

// A triangle has a south and a west edge and one slanted edge, so it lacks
// a north or an east wall.
std::shared_ptr<bg::Building> triangle()
{
    return makeBuilding({{{0, 0}, {12, 0}, {0, 12}}});
}

std::string missingSide()
{
    const std::vector<Vec2> contour = {{0, 0}, {12, 0}, {0, 12}};
    bool north = false;
    for (const PolygonEdge& edge : Polygon(contour).getEdges())
        north = north || edge.side == "north";
    return north ? "east" : "north";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IntegerFloorInfeasibleTest,
    ::testing::Values(
        InfeasibleCase{"StairsOnOneFixedLevel",
                       makeRectBuilding(10, 8, 2),
                       {makeRequirement(0, "Stair", 8, 0, {-1}, "Stair"), makeRequirement(1, "Stair", 8, 0, {-1}, "Stair")},
                       1},
        InfeasibleCase{"FacadeSideTheOutlineLacks",
                       triangle(),
                       {makeRequirement(0, "Room", 9, 0, {-1}, "Bedroom", {missingSide()})},
                       1},
        InfeasibleCase{"EmptySetWithFillAll", makeRectBuilding(10, 8), {}, 0},
        // Two rooms of at most 45 m² each can fill one 67.6 m² floor at most,
        // never both: no room may count towards a floor it does not stand on.
        InfeasibleCase{"RoomsFillOnlyOneOfTwoFloors",
                       makeRectBuilding(10, 8, 2),
                       {makeRequirement(0, "A", 30, -999), makeRequirement(1, "B", 30, -999)},
                       0}),
    [](const ::testing::TestParamInfo<InfeasibleCase>& info) { return std::string(info.param.name); });

} // namespace
