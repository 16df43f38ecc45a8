// The Layouter without solving: obstacles from floor contours, the read-back
// of recorded solutions into the rooms, and reset.

#include "layouter/Layouter.h"
#include "support/ModelFixtures.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <stdexcept>

using namespace kovra_test;

namespace {

struct ObstacleCase {
    const char* name;
    std::vector<Vec2> contour;
    // Expected obstacles, all on level 0; empty for none.
    std::vector<std::array<double, 4>> expected;
};

class ObstacleTest : public ::testing::TestWithParam<ObstacleCase> {};

TEST_P(ObstacleTest, FloorContourGivesTheNotchesOfItsInsetOutline)
{
    const ObstacleCase& c = GetParam();
    auto proposal = makeProposal(makeBuilding({c.contour}), makeRequirementSet({}));
    Layouter layouter(proposal, 1);
    ASSERT_EQ(layouter.obstacles.size(), c.expected.size());
    for (size_t i = 0; i < c.expected.size(); ++i) {
        const Obstacle& o = layouter.obstacles[i];
        EXPECT_EQ(o.getLevel(), 0);
        EXPECT_NEAR(o.getX(), c.expected[i][0], 1e-6);
        EXPECT_NEAR(o.getY(), c.expected[i][1], 1e-6);
        EXPECT_NEAR(o.getWidth(), c.expected[i][2], 1e-6);
        EXPECT_NEAR(o.getHeight(), c.expected[i][3], 1e-6);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Contours, ObstacleTest,
    ::testing::Values(
        ObstacleCase{"Rectangle", rectContour(10, 8), {}},
        ObstacleCase{"ClockwiseRectangle", {{0, 0}, {0, 8}, {10, 8}, {10, 0}}, {}},
        // The outline inset by 0.26 has the bounding box (0.26, 0.26) to
        // (14.74, 14.74) and the notch (9.74, 9.74) to (14.74, 14.74).
        ObstacleCase{"LShape", lShapedContour(15, 15, 5, 5), {{9.74, 9.74, 5.0, 5.0}}},
        ObstacleCase{"RectangleWithCollinearPoint", {{0, 0}, {5, 0}, {10, 0}, {10, 8}, {0, 8}}, {}}),
    [](const ::testing::TestParamInfo<ObstacleCase>& info) { return std::string(info.param.name); });

// Four points that are no rectangle still need their complement: the two
// slanted corners, each replaced by its bounding box.
TEST(ObstacleTest, TrapezoidCornersAreKeptOut)
{
    auto proposal = makeProposal(makeBuilding({{{0, 0}, {10, 0}, {8, 6}, {2, 6}}}), makeRequirementSet({}));
    Layouter layouter(proposal, 1);
    ASSERT_EQ(layouter.obstacles.size(), 2u);
    // Each obstacle touches the top of the inset bounding box and one side.
    for (const Obstacle& o : layouter.obstacles) {
        EXPECT_GT(o.getWidth(), 1.0);
        EXPECT_GT(o.getHeight(), 5.0);
    }
}

TEST(ObstacleTest, ObstaclesCarryTheirFloorsLevelInFloorOrder)
{
    auto building = makeBuilding({rectContour(15, 15), lShapedContour(15, 15, 5, 5), lShapedContour(15, 15, 4, 4)});
    Layouter layouter(makeProposal(building, makeRequirementSet({})), 1);
    ASSERT_EQ(layouter.obstacles.size(), 2u);
    EXPECT_EQ(layouter.obstacles[0].getLevel(), 1);
    EXPECT_EQ(layouter.obstacles[1].getLevel(), 2);
    EXPECT_NEAR(layouter.obstacles[1].getWidth(), 4.0, 1e-9);
}

TEST(BoundingBoxComplementTest, CoversWhatTheOutlineLeavesOfItsBox)
{
    EXPECT_TRUE(boundingBoxComplement(rectContour(4, 3)).empty());
    const auto pieces = boundingBoxComplement(lShapedContour(15, 15, 5, 5));
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_NEAR(std::fabs(twiceSignedArea(pieces[0])) / 2.0, 25.0, 1e-9);
    try {
        boundingBoxComplement({{1, 1}});
        FAIL() << "expected std::runtime_error";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "Too few vectors to create a bounding box");
    }
}

TEST(SolutionHistoryTest, HandsOutCopiesOldestFirst)
{
    SolutionHistory history;
    Solution newest;
    EXPECT_FALSE(history.latest(newest));
    history.append({5.0, {{"a", 1.0}}});
    history.append({3.0, {{"a", 2.0}}});
    EXPECT_EQ(history.size(), 2u);
    ASSERT_TRUE(history.latest(newest));
    EXPECT_EQ(newest.objective, 3.0);
    EXPECT_EQ(history.snapshot().front().values.at("a"), 1.0);
    EXPECT_THROW(history.at(2), std::out_of_range);
    history.clear();
    EXPECT_TRUE(history.empty());
}

// A proposal on two floors (levels 0 and 1) with a room on each and one room
// that may go on any floor.
struct ReadBack : ::testing::Test {
    std::shared_ptr<bg::Proposal> proposal =
        makeProposal(makeRectBuilding(10, 8, 2), makeRequirementSet({makeRequirement(0, "Living", 20, 0),
                                                                       makeRequirement(1, "Study", 12, 1),
                                                                       makeRequirement(2, "Guest", 12, -999)}));
    Layouter layouter{proposal, 1};
    SolutionHistory history;

    void SetUp() override { layouter.solutions = &history; }

    std::shared_ptr<bg::Room> room(int i) { return proposal->getRooms().at(i); }
    std::shared_ptr<bg::Floor> floor(int level)
    {
        for (const auto& f : proposal->getBuilding()->getFloors())
            if (f->getLevel() == level)
                return f;
        return nullptr;
    }
};

TEST_F(ReadBack, EmptyHistoryLeavesTheRoomsUntouched)
{
    placeRoom(proposal, room(0), {1, 2}, {3, 4}, 0);
    for (SolutionHistory* solutions : {static_cast<SolutionHistory*>(nullptr), &history}) {
        layouter.solutions = solutions;
        layouter.applyBestSolution();
        EXPECT_EQ(room(0)->position.x, 1.0);
        EXPECT_EQ(room(0)->size.y, 4.0);
        EXPECT_EQ(room(0)->contour.size(), 4u);
        EXPECT_EQ(room(2)->level, -999);
        EXPECT_TRUE(layouter.currentValues.empty());
    }
}

TEST_F(ReadBack, FixedFloorModeTakesRectanglesAndTheRequirementsLevel)
{
    history.append({1.0,
                    {{"x__0_", 1.0}, {"y__0_", 2.0}, {"l__0_", 4.0}, {"w__0_", 5.0},
                     {"x__1_", 0.5}, {"y__1_", 0.5}, {"l__1_", 3.0}, {"w__1_", 3.0},
                     // A level binary of a room on a fixed floor is not read.
                     {"f__1_0_level_", 1.0}}});
    layouter.applyBestSolution();

    EXPECT_EQ(room(0)->position.x, 1.0);
    EXPECT_EQ(room(0)->position.y, 2.0);
    EXPECT_EQ(room(0)->size.x, 4.0);
    EXPECT_EQ(room(0)->size.y, 5.0);
    ASSERT_EQ(room(0)->contour.size(), 4u);
    EXPECT_EQ(room(0)->contour[2].x, 5.0);
    EXPECT_EQ(room(0)->contour[2].y, 7.0);
    EXPECT_EQ(room(0)->floor, floor(0));
    EXPECT_EQ(room(1)->level, 1);
    EXPECT_EQ(room(1)->floor, floor(1));

    // Room 2 was not in the solution: placed at the origin with no size, its
    // names entered with 0.
    EXPECT_EQ(room(2)->size.x, 0.0);
    EXPECT_EQ(room(2)->level, -999);
    for (const char* name : {"x__2_", "y__2_", "l__2_", "w__2_"})
        EXPECT_EQ(layouter.currentValues.at(name), 0.0) << name;
}

TEST_F(ReadBack, FloorAssignmentModeReadsLevelBinariesAboveOneHalf)
{
    layouter.mode = floorAssignmentMode;
    // The solver reports binaries within its integrality tolerance.
    history.append({1.0, {{"f__2_0_level_", 0.000001}, {"f__2_1_level_", 0.999999}}});
    layouter.applyBestSolution();
    EXPECT_EQ(room(2)->level, 1);
    EXPECT_EQ(room(2)->floor, floor(1));

    history.append({0.5, {{"f__0_0_level_", 0.3}, {"f__0_1_level_", 0.4}}});
    layouter.applyBestSolution();
    EXPECT_EQ(room(0)->level, 0) << "no binary set: the requirement's level from resetPlacements";
    EXPECT_EQ(room(2)->level, -999) << "room 2 has no binaries in this solution";
    EXPECT_EQ(room(2)->floor, floor(1)) << "an unplaced room keeps its previous floor";
}

TEST_F(ReadBack, IntegerFloorModeRoundsTheFloorVariable)
{
    layouter.mode = integerFloorMode;
    history.append({1.0, {{"f__2_", 0.9999996}}});
    layouter.applyBestSolution();
    EXPECT_EQ(room(2)->level, 1);
    EXPECT_EQ(room(2)->floor, floor(1));
    EXPECT_EQ(room(1)->level, 1) << "a room on a fixed floor keeps its requirement's level";
}

TEST_F(ReadBack, AGivenSolutionIsReadBackLikeTheNewest)
{
    layouter.mode = floorAssignmentMode;
    history.append({2.0, {{"x__2_", 1.0}, {"l__2_", 3.0}, {"w__2_", 4.0}, {"f__2_0_level_", 1.0}}});
    history.append({1.0, {{"x__2_", 5.0}, {"l__2_", 2.0}, {"w__2_", 2.0}, {"f__2_1_level_", 1.0}}});

    layouter.applySolution(history.at(0));
    EXPECT_EQ(room(2)->position.x, 1.0);
    EXPECT_EQ(room(2)->size.y, 4.0);
    EXPECT_EQ(room(2)->level, 0);
    EXPECT_EQ(room(2)->floor, floor(0));
    EXPECT_EQ(layouter.currentValues.at("x__2_"), 1.0) << "the applied solution is the current one";

    layouter.applyBestSolution();
    EXPECT_EQ(room(2)->position.x, 5.0);
    EXPECT_EQ(room(2)->level, 1);
}

TEST(ReadBackTest, TwoLayoutsOfOneLevelGiveTheLaterFloor)
{
    auto building = makeBuilding({rectContour(10, 8), rectContour(10, 8)});
    building->getFloors().back()->level = 0;
    auto proposal = makeProposal(building, makeRequirementSet({makeRequirement(0, "Living", 20, 0)}));
    Layouter layouter(proposal, 1);
    SolutionHistory history;
    history.append({1.0, {}});
    layouter.solutions = &history;
    layouter.applyBestSolution();
    EXPECT_EQ(proposal->getRooms()[0]->floor, building->getFloors().back());
}

TEST(ResetTest, RebuildsLayoutsRoomsAndModel)
{
    auto building = makeRectBuilding(10, 8, 2);
    auto set = makeRequirementSet({makeRequirement(0, "Living", 20, 0), makeRequirement(1, "Study", 12, 1)});
    auto proposal = makeProposal(building, set);
    Layouter layouter(proposal, 1);
    set->getRequirements().push_back(makeRequirement(2, "Guest", 12, 1));
    proposal->requirementSet = makeRequirementSet({});
    layouter.currentValues["x__0_"] = 3.0;
    layouter.timeLimit = 7;
    layouter.solved = true;

    EXPECT_EQ(layouter.reset(), SCIP_OKAY);
    EXPECT_EQ(proposal->requirementSet, set);
    ASSERT_EQ(proposal->getLayouts().size(), 2u);
    EXPECT_NEAR(boundingBox(proposal->getLayouts()[1]->getContour()).min.x, 0.36, 1e-9);
    EXPECT_EQ(proposal->getLayouts()[1]->getLevel(), 1);
    ASSERT_EQ(proposal->getRooms().size(), 3u);
    EXPECT_EQ(proposal->getRooms()[2]->level, 1);
    EXPECT_EQ(layouter.timeLimit, 1);
    EXPECT_FALSE(layouter.solved);
    EXPECT_TRUE(layouter.currentValues.empty());
    ASSERT_NE(layouter.scip, nullptr);
    EXPECT_EQ(layouter.variables.count("x__2_"), 1u);
}

TEST(ResetTest, TakesTheObstaclesOfTheCurrentOutlines)
{
    auto building = makeRectBuilding(12, 10);
    auto proposal = makeProposal(building, makeRequirementSet({makeRequirement(0, "Living", 20, 0)}));
    Layouter layouter(proposal, 1);
    EXPECT_TRUE(layouter.obstacles.empty());

    // The outline became an L after the optimiser was made: "Reset" applies it.
    building->getFloors().front()->contour = lShapedContour(12, 10, 5, 4);
    EXPECT_EQ(layouter.reset(), SCIP_OKAY);
    EXPECT_EQ(layouter.obstacles.size(), 1u);
}

TEST(ResetTest, BuildsTheModelOfItsMode)
{
    auto proposal = makeProposal(makeRectBuilding(10, 8), makeRequirementSet({makeRequirement(0, "Living", 20, 0)}));
    Layouter layouter(proposal, 1);
    layouter.mode = integerFloorMode;
    EXPECT_EQ(layouter.reset(), SCIP_OKAY);
    EXPECT_EQ(layouter.timeLimit, 1);
    EXPECT_EQ(proposal->getRooms().size(), 1u);
    EXPECT_EQ(layouter.variables.count("f__0_"), 1u) << "the integer floor variable of the room";
}

} // namespace
