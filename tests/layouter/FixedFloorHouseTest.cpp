// The complete fixed-floor model solved by SCIP: houses whose layouts must
// keep rooms apart, out of the floor's notch, on their wished facades and
// connected by doors, checked by the independent layout checker; and models
// the solver must find infeasible.

#include "layouter/Layouter.h"
#include "support/LayoutChecker.h"
#include "support/LayouterSupport.h"
#include "support/ModelFixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>

using namespace kovra_test;

namespace {

// The solver's time limit for a house: the only bound on the run. The tests
// assert nothing about how much of it is used.
constexpr double kHouseSeconds = 20.0;
constexpr double kShortSeconds = 5.0;

using Range = bg::Requirement::Range;

std::shared_ptr<bg::Requirement> houseRoom(int index, const std::string& name, const std::string& roomType,
                                           double area, Range sides, std::vector<std::string> boundaries,
                                           std::vector<int> adjacency = {-1}, Range aspect = {0.25, 4.0})
{
    const double side = std::sqrt(area);
    return std::make_shared<bg::Requirement>(index, name, std::move(adjacency), area, roomType, Range{side, side},
                                             sides, sides, aspect, Vec2(-999, -999), 0, std::move(boundaries),
                                             Range{0.8 * area, 1.5 * area}, 0);
}

// Six rooms with a corridor that connects to every other room; the living
// room wishes the south facade, the kitchen the north one.
std::shared_ptr<bg::RequirementSet> sixRoomHouse()
{
    return makeRequirementSet({
        houseRoom(0, "Entrance", "Entrance", 6, {1.5, 4}, {"whatever"}),
        houseRoom(1, "Living", "Live and eat", 28, {3, 8}, {"south"}),
        houseRoom(2, "Kitchen", "Kitchen and cleaning", 12, {2.5, 6}, {"north"}),
        houseRoom(3, "Bedroom", "Bedroom", 14, {3, 6}, {"whatever"}),
        houseRoom(4, "Child", "Bedroom", 12, {3, 6}, {"whatever"}),
        houseRoom(5, "Corridor", "Corridor", 10, {1.2, 10}, {"whatever"}, {0, 1, 2, 3, 4}, {0.1, 10}),
    });
}

struct HouseCase {
    const char* name;
    std::vector<Vec2> contour;
};

class HouseTest : public ::testing::TestWithParam<HouseCase> {};

TEST_P(HouseTest, SolvedLayoutKeepsEveryRule)
{
    auto proposal = makeProposal(makeBuilding({GetParam().contour}), sixRoomHouse());
    Layouter layouter(proposal, 1);
    SolutionHistory history;
    layouter.solutions = &history;
    ASSERT_EQ(layouter.buildFixedFloorModel(), SCIP_OKAY);

    const auto start = std::chrono::steady_clock::now();
    solveFor(layouter, kHouseSeconds);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    // For the record, not for pass or fail: when the first layout came.
    double first = -1.0;
    for (int i = 0; i < SCIPgetNSols(layouter.scip); ++i) {
        const double found = SCIPsolGetTime(SCIPgetSols(layouter.scip)[i]);
        first = first < 0.0 ? found : std::min(first, found);
    }
    std::printf("[ figures  ] %s: %zu layouts recorded, the first after %.2f s of solving, %.1f s in all\n",
                GetParam().name, history.size(), first, seconds);

    ASSERT_FALSE(history.empty()) << "no layout within " << kHouseSeconds << " s";
    layouter.applyBestSolution();
    LayoutRules rules = rulesFor(layouter);
    rules.facades = true;
    rules.doors = true;
    const auto problems = checkLayout(proposal, rules);
    EXPECT_TRUE(problems.empty()) << describe(problems);
}

INSTANTIATE_TEST_SUITE_P(Floors, HouseTest,
                         ::testing::Values(HouseCase{"Rectangle", rectContour(12, 10)},
                                           // The north-east notch of 4 x 3 m.
                                           HouseCase{"LShape", lShapedContour(14, 11, 4, 3)}),
                         [](const ::testing::TestParamInfo<HouseCase>& info) { return std::string(info.param.name); });

TEST(InfeasibleTest, SolverReportsModelsWithoutLayout)
{
    struct Case {
        const char* name;
        std::shared_ptr<bg::RequirementSet> set;
    };
    auto noRatio = makeRequirement(1, "Kitchen", 12);
    noRatio->minAspectRatio = 0.0;
    noRatio->maxAspectRatio = 0.0;
    const Case cases[] = {
        {"TwoStairsOnOneFloor",
         makeRequirementSet({makeRequirement(0, "Stair", 8, 0, {-1}, "Stair"), makeRequirement(1, "Living", 20),
                             makeRequirement(2, "Stair too", 8, 0, {-1}, "Stair")})},
        {"MaximumAspectRatioZero", makeRequirementSet({makeRequirement(0, "Living", 20), noRatio})},
    };
    for (const Case& c : cases) {
        Layouter layouter(makeProposal(makeRectBuilding(10, 8), c.set), 1);
        SolutionHistory history;
        layouter.solutions = &history;
        ASSERT_EQ(layouter.buildFixedFloorModel(), SCIP_OKAY) << c.name;
        const SCIP_STATUS status = solveFor(layouter, kShortSeconds);
        EXPECT_TRUE(status == SCIP_STATUS_INFEASIBLE || status == SCIP_STATUS_INFORUNBD)
            << c.name << ": status " << status;
        EXPECT_TRUE(history.empty()) << c.name;
    }
}

} // namespace
