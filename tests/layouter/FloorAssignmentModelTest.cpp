// The floor-assignment model without solving: the names that recorded
// solutions and the read-back rely on, one connection per connected pair, a
// fixed level that no floor has, and the read-back of the chosen levels.

#include "layouter/Layouter.h"
#include "support/LayouterSupport.h"
#include "support/ModelFixtures.h"

#include <gtest/gtest.h>

#include <ostream>
#include <set>
#include <stdexcept>

using namespace kovra_test;

namespace {

// Names of the solver's variables that contain `part`.
std::set<std::string> solverVariables(const Layouter& layouter, const std::string& part)
{
    std::set<std::string> names;
    SCIP_VAR** vars = SCIPgetOrigVars(layouter.scip);
    for (int i = 0; i < SCIPgetNOrigVars(layouter.scip); ++i) {
        const std::string name = SCIPvarGetName(vars[i]);
        if (name.find(part) != std::string::npos)
            names.insert(name);
    }
    return names;
}

std::shared_ptr<bg::Floor> floorOf(bg::Building& building, int level)
{
    for (const auto& floor : building.getFloors())
        if (floor->getLevel() == level)
            return floor;
    return nullptr;
}

TEST(FloorAssignmentNamesTest, RegistryHoldsRoomLevelSameLevelObstacleAndSeparationNames)
{
    // Level 0 is an L whose notch is obstacle 0; level 1 a narrower rectangle.
    auto building = makeBuilding({lShapedContour(12, 10, 4, 4), rectContour(8, 10)});
    auto set = makeRequirementSet({makeRequirement(0, "Guest", 16, -999, {2}),
                                   makeRequirement(1, "Study", 12, 1),
                                   makeRequirement(2, "Hall", 8, 0, {0, 0}, "Corridor")});
    Layouter layouter(makeProposal(building, set), 1);
    ASSERT_EQ(layouter.obstacles.size(), 1u);
    ASSERT_EQ(layouter.buildFloorAssignmentModel(), SCIP_OKAY);
    EXPECT_STREQ(SCIPgetProbName(layouter.scip), "SCIP_Roomwright");
    EXPECT_NE(SCIPfindEventhdlr(layouter.scip, "New solution"), nullptr);

    std::set<std::string> expected{"Constant", "Quadobj", "levels_0__1_", "levels_0__2_", "levels_1__2_"};
    for (const char* room : {"_0_", "_1_", "_2_"}) {
        for (const char* prefix : {"x_", "y_", "l_", "w_", "z_"})
            expected.insert(std::string(prefix) + room);
        // A level binary per floor level, whatever the room's own level.
        for (const char* level : {"0", "1"})
            expected.insert(std::string("f_") + room + level + "_level_");
    }
    for (const char* side : {"_left_", "_right_", "_top_", "_bottom_"}) {
        // The room on any floor and the room on level 0 meet the obstacle of
        // level 0; the room on level 1 does not.
        expected.insert(std::string("_0__ob__0_") + side);
        expected.insert(std::string("_2__ob__0_") + side);
        // Every pair, also two rooms on different fixed levels.
        for (const char* pair : {"_0__overlap__1_", "_0__overlap__2_", "_1__overlap__2_"})
            expected.insert(std::string(pair) + side);
    }
    EXPECT_EQ(registryNames(layouter), expected);

    // The solver knows a same-level binary by another name than the registry.
    for (const auto& [name, var] : layouter.variables) {
        const std::string solverName = name.rfind("levels", 0) == 0 ? "floor" + name.substr(6) : name;
        EXPECT_EQ(SCIPfindVar(layouter.scip, solverName.c_str()), var) << name;
    }
    EXPECT_EQ(solverVariables(layouter, "_connected_"), std::set<std::string>{"_0__connected__2_"})
        << "one connection for the pair, named after the room that lists first; not registered";

    for (const char* cons : {"level_0_", "level_1_", "level_2_", "l_w_z_1_", "_0__overlap__1_", "_1__overlap__2_",
                             "QuadobjConstraint", "Aspect_ratio_Horizontal__0__Lower_bound",
                             "Aspect_ratio_Vertical__2__Upper_bound"})
        EXPECT_NE(SCIPfindCons(layouter.scip, cons), nullptr) << cons;

    // Unlike the fixed-floor model, the target extent is not widened by a
    // wall: the objective coefficient of l is -2 x 4 for a 4 m target.
    EXPECT_DOUBLE_EQ(SCIPvarGetObj(layouter.variables.at("l__0_")), -8.0);
    // Positions range over the box of all floors, here the wider level 0.
    const double minLength = set->getRequirements()[1]->getLengthRange().first;
    EXPECT_NEAR(SCIPvarGetUbOriginal(layouter.variables.at("x__1_")), 12 - 0.26 - minLength - 0.2, 1e-9);
}

struct ConnectionCase {
    const char* name;
    std::vector<std::vector<int>> adjacency; // per requirement
    std::set<std::string> expected;
};

// A failing row names itself.
void PrintTo(const ConnectionCase& c, std::ostream* out)
{
    *out << c.name;
}

class ConnectionTest : public ::testing::TestWithParam<ConnectionCase> {};

TEST_P(ConnectionTest, OneConnectionPerPairUpToTheFirstMinusOne)
{
    std::vector<std::shared_ptr<bg::Requirement>> requirements;
    for (size_t i = 0; i < GetParam().adjacency.size(); ++i)
        requirements.push_back(makeRequirement(static_cast<int>(i), "Room", 9, -999, GetParam().adjacency[i]));
    Layouter layouter(makeProposal(makeRectBuilding(10, 8, 2), makeRequirementSet(requirements)), 1);
    ASSERT_EQ(layouter.buildFloorAssignmentModel(), SCIP_OKAY);
    EXPECT_EQ(solverVariables(layouter, "_connected_"), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Adjacency, ConnectionTest,
    ::testing::Values(ConnectionCase{"None", {{-1}, {-1}, {-1}, {-1}}, {}},
                      ConnectionCase{"StopsAtMinusOne", {{2, -1, 3}, {-1}, {-1}, {-1}}, {"_0__connected__2_"}},
                      ConnectionCase{"Repeated", {{2, 2}, {-1}, {-1}, {-1}}, {"_0__connected__2_"}},
                      ConnectionCase{"Mutual", {{2}, {-1}, {0}, {-1}}, {"_0__connected__2_"}},
                      ConnectionCase{"ListedByTheLaterRoom", {{-1}, {-1}, {0}, {-1}}, {"_2__connected__0_"}},
                      ConnectionCase{"Chain", {{1}, {2}, {3}, {-1}},
                                     {"_0__connected__1_", "_1__connected__2_", "_2__connected__3_"}}),
    [](const ::testing::TestParamInfo<ConnectionCase>& info) { return std::string(info.param.name); });

TEST(FloorAssignmentModelTest, FixedLevelThatNoFloorHasEndsTheBuildNamingTheLevel)
{
    // Not a room free to go on any floor: a data error, as the check before a
    // build reports it.
    auto proposal = makeProposal(makeRectBuilding(10, 8, 2),
                                 makeRequirementSet({makeRequirement(0, "Guest", 12, -999),
                                                     makeRequirement(1, "Attic", 9, 4)}));
    Layouter layouter(proposal, 1);
    try {
        layouter.buildFloorAssignmentModel();
        FAIL() << "expected std::out_of_range";
    } catch (const std::out_of_range& error) {
        EXPECT_NE(std::string(error.what()).find("level 4"), std::string::npos) << error.what();
    }
    EXPECT_EQ(layouter.variables.count("x__0_"), 1u);
    EXPECT_EQ(layouter.variables.count("x__1_"), 0u);
}

TEST(FloorAssignmentModelTest, BuildingTwiceLeavesOneModelAndTheSecondRegistry)
{
    auto proposal = makeProposal(makeRectBuilding(10, 8, 2),
                                 makeRequirementSet({makeRequirement(0, "Guest", 12, -999),
                                                     makeRequirement(1, "Study", 9, 1)}));
    Layouter layouter(proposal, 1);
    ASSERT_EQ(layouter.buildFloorAssignmentModel(), SCIP_OKAY);
    const int handlers = SCIPgetNEventhdlrs(layouter.scip);
    ASSERT_EQ(layouter.buildFloorAssignmentModel(), SCIP_OKAY);
    Layouter fresh(proposal, 1);
    ASSERT_EQ(fresh.buildFloorAssignmentModel(), SCIP_OKAY);
    EXPECT_EQ(SCIPgetNEventhdlrs(layouter.scip), handlers);
    EXPECT_EQ(SCIPgetNOrigVars(layouter.scip), SCIPgetNOrigVars(fresh.scip));
    EXPECT_EQ(SCIPgetNOrigConss(layouter.scip), SCIPgetNOrigConss(fresh.scip));
    EXPECT_EQ(registryNames(layouter), registryNames(fresh));
}

// The read-back in floor-assignment mode: the room on any floor (index 2)
// takes the level whose binary is above one half, and the floor of that level.
struct ReadBackCase {
    const char* name;
    std::unordered_map<std::string, double> values;
    int level;                // expected; -999: none chosen
    bool floorAddedLater = false; // a level-2 floor that the proposal has no layout for
};

void PrintTo(const ReadBackCase& c, std::ostream* out)
{
    *out << c.name;
}

class LevelReadBackTest : public ::testing::TestWithParam<ReadBackCase> {};

TEST_P(LevelReadBackTest, RoomTakesTheChosenLevelAndItsFloor)
{
    const ReadBackCase& c = GetParam();
    auto building = makeRectBuilding(10, 8, 2);
    auto proposal = makeProposal(building, makeRequirementSet({makeRequirement(0, "Living", 20, 0),
                                                               makeRequirement(1, "Study", 12, 1),
                                                               makeRequirement(2, "Guest", 12, -999)}));
    if (c.floorAddedLater) {
        auto floor = std::make_shared<bg::Floor>(2);
        floor->contour = rectContour(10, 8);
        building->addFloor(floor);
    }
    Layouter layouter(proposal, 1);
    layouter.mode = floorAssignmentMode;
    SolutionHistory history;
    layouter.solutions = &history;
    const std::shared_ptr<bg::Room> guest = proposal->getRooms().at(2);
    placeRoom(proposal, guest, {1, 1}, {3, 4}, 0); // an earlier layout's floor

    history.append({1.0, c.values});
    layouter.applyBestSolution();

    EXPECT_EQ(guest->level, c.level);
    EXPECT_EQ(guest->floor, c.level == -999 ? floorOf(*building, 0) : floorOf(*building, c.level))
        << "no level chosen: the room keeps its previous floor";
    EXPECT_EQ(proposal->getRooms().at(1)->level, 1) << "a room on a fixed floor keeps its requirement's level";
}

INSTANTIATE_TEST_SUITE_P(
    Values, LevelReadBackTest,
    ::testing::Values(
        ReadBackCase{"LevelOne", {{"f__2_0_level_", 0.0}, {"f__2_1_level_", 1.0}}, 1},
        ReadBackCase{"LevelZero", {{"f__2_0_level_", 1.0}, {"f__2_1_level_", 0.0}}, 0},
        // The solver reports binaries within its integrality tolerance.
        ReadBackCase{"WithinTolerance", {{"f__2_0_level_", 0.000001}, {"f__2_1_level_", 0.999999}}, 1},
        ReadBackCase{"NoneAboveOneHalf", {{"f__2_0_level_", 0.3}, {"f__2_1_level_", 0.4}}, -999},
        ReadBackCase{"NotInTheSolution", {}, -999},
        ReadBackCase{"LevelNoFloorHas", {{"f__2_0_level_", 0.0}, {"f__2_7_level_", 1.0}}, -999},
        ReadBackCase{"FloorAddedAfterTheProposal",
                     {{"f__2_0_level_", 0.0}, {"f__2_1_level_", 0.0}, {"f__2_2_level_", 1.0}},
                     2,
                     true}),
    [](const ::testing::TestParamInfo<ReadBackCase>& info) { return std::string(info.param.name); });

} // namespace
