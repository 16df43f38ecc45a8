// What the fixed-floor model's separation, facade and door stages leave in
// the solver and the registry: the names that recorded solutions and the
// read-back rely on, the facade blocks per wish, and the big-M.

#include "layouter/Layouter.h"
#include "support/LayouterSupport.h"
#include "support/ModelFixtures.h"

#include <gtest/gtest.h>
#include <scip/cons_linear.h>

#include <set>

using namespace kovra_test;

namespace {

TEST(FixedFloorNamesTest, RegistryHoldsRoomObstacleSeparationAndDoorNames)
{
    // Level 0: an inverted T whose two upper corners are obstacles 0 and 1;
    // level 1: an L whose notch is obstacle 2.
    const std::vector<Vec2> tShape{{0, 0}, {12, 0}, {12, 6}, {8, 6}, {8, 10}, {4, 10}, {4, 6}, {0, 6}};
    auto building = makeBuilding({tShape, lShapedContour(12, 10, 4, 4)});
    auto set = makeRequirementSet({
        makeRequirement(0, "Upstairs", 12, 1),
        makeRequirement(1, "Hall", 8, 0, {2, -1, 3}, "Corridor", {"south"}),
        makeRequirement(2, "Study", 8, 0, {2}),                       // lists itself
        makeRequirement(3, "Porch", 6, 0, {1, 1}, "Entrance", {}),    // lists room 1 twice
    });
    Layouter layouter(makeProposal(building, set), 1);
    ASSERT_EQ(layouter.obstacles.size(), 3u);
    ASSERT_EQ(layouter.buildFixedFloorModel(), SCIP_OKAY);

    std::set<std::string> expected{"Constant", "Quadobj"};
    for (const char* room : {"_0_", "_1_", "_2_", "_3_"})
        for (const char* prefix : {"x_", "y_", "l_", "w_", "z_"})
            expected.insert(std::string(prefix) + room);
    const char* sides[] = {"_left_", "_right_", "_top_", "_bottom_"};
    for (const char* side : sides) {
        // Obstacles are numbered over all floors; a room gets binaries only
        // for those of its own level.
        expected.insert(std::string("_0__ob__2_") + side);
        for (const char* room : {"_1_", "_2_", "_3_"})
            for (const char* obstacle : {"_0_", "_1_"})
                expected.insert(std::string(room) + "_ob_" + obstacle + side);
        // Pairs by position, only on one level.
        for (const char* pair : {"_1__overlap__2_", "_1__overlap__3_", "_2__overlap__3_"})
            expected.insert(std::string(pair) + side);
    }
    // Doors up to the first -1; a repeated door keeps one registry entry.
    for (const char* door : {"_1__withDoorVar__2_", "_2__withDoorVar__2_", "_3__withDoorVar__1_"})
        expected.insert(door);
    EXPECT_EQ(registryNames(layouter), expected);

    for (const char* cons : {"Aspect_ratio_Horizontal__0__Lower_bound", "Aspect_ratio_Horizontal__3__Upper_bound",
                             "Aspect_ratio_Vertical__2__Lower_bound", "Aspect_ratio_Vertical__1__Upper_bound",
                             "_1__withDoorCons__2__xlhs", "_1__withDoorCons__2__xrhs", "_2__withDoorCons__2__ylhs",
                             "_3__withDoorCons__1__yrhs", "Boundary_south_auxiliary__1_",
                             "Boundary_any_auxiliary__3_"})
        EXPECT_NE(SCIPfindCons(layouter.scip, cons), nullptr) << cons;
    EXPECT_EQ(SCIPfindCons(layouter.scip, "_1__withDoorCons__3__xlhs"), nullptr) << "entries after -1 are not read";
}

// The facade choice rows of one room, in the order made: name and number of
// walls (facade binaries) in the block.
std::vector<std::pair<std::string, int>> facadeBlocks(const Layouter& layouter)
{
    std::vector<std::pair<std::string, int>> blocks;
    SCIP_CONS** conss = SCIPgetOrigConss(layouter.scip);
    for (int i = 0; i < SCIPgetNOrigConss(layouter.scip); ++i) {
        const std::string name = SCIPconsGetName(conss[i]);
        if (name.rfind("Boundary_", 0) == 0)
            blocks.emplace_back(name, SCIPgetNVarsLinear(layouter.scip, conss[i]));
    }
    return blocks;
}

struct FacadeCase {
    const char* name;
    std::vector<std::string> boundaries;
    const char* roomType;
    bool lShaped; // north-east notch: two east and two north walls
    std::vector<std::pair<std::string, int>> expected;
};

class FacadeTest : public ::testing::TestWithParam<FacadeCase> {};

TEST_P(FacadeTest, WishGivesItsBlocks)
{
    const FacadeCase& c = GetParam();
    auto building = makeBuilding({c.lShaped ? lShapedContour(12, 10, 4, 4) : rectContour(12, 10)});
    auto set = makeRequirementSet({makeRequirement(0, "Room", 12, 0, {-1}, c.roomType, c.boundaries)});
    Layouter layouter(makeProposal(building, set), 1);
    ASSERT_EQ(layouter.buildFixedFloorModel(), SCIP_OKAY);
    EXPECT_EQ(facadeBlocks(layouter), c.expected);
    for (const auto& entry : layouter.variables)
        EXPECT_FALSE(entry.first.empty()) << "facade binaries stay out of the registry";
}

const std::string east = "Boundary_east_auxiliary__0_";
const std::string south = "Boundary_south_auxiliary__0_";
const std::string west = "Boundary_west_auxiliary__0_";
const std::string north = "Boundary_north_auxiliary__0_";
const std::string any = "Boundary_any_auxiliary__0_";

INSTANTIATE_TEST_SUITE_P(
    Wishes, FacadeTest,
    ::testing::Values(FacadeCase{"EntranceWithoutWish", {}, "Entrance", false, {{any, 4}}},
                      FacadeCase{"BedroomWithoutWish", {}, "Bedroom", false, {}},
                      FacadeCase{"EntranceWithEmptyWish", {""}, "Entrance", false, {}},
                      FacadeCase{"CapitalisedWish", {"East"}, "Entrance", false, {}},
                      FacadeCase{"OnlyTheFirstEntryCounts", {"east", "north"}, "Bedroom", false, {{east, 1}}},
                      FacadeCase{"Corner", {"northwest"}, "Bedroom", false, {{west, 1}, {north, 1}}},
                      FacadeCase{"SouthOnRectangle", {"south"}, "Workroom", false, {{south, 1}}},
                      FacadeCase{"EntranceEast", {"east"}, "Entrance", false, {{east, 1}, {any, 4}}},
                      FacadeCase{"EntranceNortheast",
                                 {"northeast"},
                                 "Entrance",
                                 false,
                                 {{east, 1}, {any, 4}, {north, 1}, {any, 4}}},
                      FacadeCase{"EastOnLShape", {"east"}, "Bedroom", true, {{east, 2}}},
                      FacadeCase{"EntranceOnLShape", {"whatever"}, "Entrance", true, {{any, 6}}}),
    [](const ::testing::TestParamInfo<FacadeCase>& info) { return std::string(info.param.name); });

TEST(BigMTest, ComesFromTheFloorsExtentWhereverItLies)
{
    // Floors of 12 x 8 and 6 x 10 m at negative coordinates; inset by 0.26 the
    // model box runs from (-40, -30) + 0.26 to (-28, -20) - 0.26.
    auto building = makeBuilding({{{-40, -30}, {-28, -30}, {-28, -22}, {-40, -22}},
                                  {{-40, -30}, {-34, -30}, {-34, -20}, {-40, -20}}});
    auto set = makeRequirementSet({makeRequirement(0, "Room", 12, 0)});
    Layouter layouter(makeProposal(building, set), 1);
    ASSERT_EQ(layouter.buildFixedFloorModel(), SCIP_OKAY);
    const double bigM = 2.0 * ((12 - 0.52) + (10 - 0.52));
    // A horizontal room's vertical aspect rows are relaxed by exactly M.
    SCIP_CONS* relaxed = SCIPfindCons(layouter.scip, "Aspect_ratio_Vertical__0__Upper_bound");
    ASSERT_NE(relaxed, nullptr);
    EXPECT_NEAR(SCIPgetRhsLinear(layouter.scip, relaxed), bigM, 1e-9);
    SCIP_CONS* binding = SCIPfindCons(layouter.scip, "Aspect_ratio_Horizontal__0__Upper_bound");
    EXPECT_EQ(SCIPgetRhsLinear(layouter.scip, binding), 0.0);
}

} // namespace
