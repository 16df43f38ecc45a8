// The floor-assignment model solved by SCIP on two-floor buildings: rooms on
// any floor land on a floor, join the rooms they connect to, reach their
// facades there and keep clear of the rooms of that floor; the layouts are
// read back and checked by the independent layout checker. Also proposals
// made before their building gained or lost a floor, and models the solver
// must find infeasible.

#include "layouter/Layouter.h"
#include "support/LayoutChecker.h"
#include "support/LayouterSupport.h"
#include "support/ModelFixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ostream>

using namespace kovra_test;

namespace {

// The solver's time limit per case: the only bound on a run. The tests
// assert nothing about how much of it is used.
constexpr double kSeconds = 5.0;

// Level 0 of 10 x 8 m and a narrower level 1 of 7 x 8 m, so that the two
// floors' east walls lie apart.
std::shared_ptr<bg::Building> twoFloors()
{
    return makeBuilding({rectContour(10, 8), rectContour(7, 8)});
}

std::shared_ptr<bg::Floor> floorOf(bg::Building& building, int level)
{
    for (const auto& floor : building.getFloors())
        if (floor->getLevel() == level)
            return floor;
    return nullptr;
}

// Builds the floor-assignment model, solves it and applies the best layout;
// false when the solver recorded none. Prints when the first layout came.
bool solveAndApply(Layouter& layouter, SolutionHistory& history, const std::string& label,
                   double seconds = kSeconds)
{
    layouter.solutions = &history;
    layouter.mode = floorAssignmentMode;
    if (layouter.buildFloorAssignmentModel() != SCIP_OKAY)
        return false;
    const auto start = std::chrono::steady_clock::now();
    solveFor(layouter, seconds);
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    double first = -1.0;
    for (int i = 0; i < SCIPgetNSols(layouter.scip); ++i) {
        const double found = SCIPsolGetTime(SCIPgetSols(layouter.scip)[i]);
        first = first < 0.0 ? found : std::min(first, found);
    }
    std::printf("[ figures  ] %s: %zu layouts recorded, the first after %.2f s of solving, %.1f s in all\n",
                label.c_str(), history.size(), first, elapsed);
    if (history.empty())
        return false;
    layouter.applyBestSolution();
    return true;
}

// Every rule of the checker, and in the newest solution each pair's
// same-level binary says whether the two rooms were read back on one level.
void expectSoundLayout(const Layouter& layouter, const std::shared_ptr<bg::Proposal>& proposal)
{
    LayoutRules rules = rulesFor(layouter);
    rules.facades = true;
    rules.doors = true;
    const auto problems = checkLayout(proposal, rules);
    EXPECT_TRUE(problems.empty()) << describe(problems);

    const auto& rooms = proposal->getRooms();
    for (size_t p = 0; p < rooms.size(); ++p) {
        for (size_t q = p + 1; q < rooms.size(); ++q) {
            const std::string key = "levels_" + std::to_string(p) + "__" + std::to_string(q) + "_";
            ASSERT_EQ(layouter.currentValues.count(key), 1u) << key;
            EXPECT_EQ(layouter.currentValues.at(key) > 0.5, rooms[p]->level == rooms[q]->level) << key;
        }
    }
}

TEST(FloorAssignmentSolveTest, AnyFloorRoomJoinsTheRoomItConnectsToOnLevelOne)
{
    auto building = twoFloors();
    auto proposal = makeProposal(building, makeRequirementSet({makeRequirement(0, "Living", 20, 0),
                                                               makeRequirement(1, "Study", 12, 1),
                                                               makeRequirement(2, "Guest", 10, -999, {1})}));
    Layouter layouter(proposal, 1);
    SolutionHistory history;
    ASSERT_TRUE(solveAndApply(layouter, history, "JoinsOnLevelOne")) << "no layout within " << kSeconds << " s";

    const auto guest = proposal->getRooms()[2];
    EXPECT_EQ(guest->level, 1);
    EXPECT_EQ(guest->floor, floorOf(*building, 1));
    // The checker's door rule: one level, a shared wall at least a door wide.
    expectSoundLayout(layouter, proposal);
}

struct FacadeCase {
    const char* name;
    const char* roomType;
    std::vector<std::string> boundaries;
    // {0}: joined to the study on level 1; {-1}: free to land on either floor.
    std::vector<int> adjacency;
};

// A failing row names itself.
void PrintTo(const FacadeCase& c, std::ostream* out)
{
    *out << c.name;
}

class AnyFloorFacadeTest : public ::testing::TestWithParam<FacadeCase> {};

TEST_P(AnyFloorFacadeTest, WishIsMetOnTheFloorTheRoomLandsOn)
{
    const FacadeCase& c = GetParam();
    auto proposal = makeProposal(twoFloors(),
                                 makeRequirementSet({makeRequirement(0, "Study", 12, 1),
                                                     makeRequirement(1, "Room", 10, -999, c.adjacency, c.roomType,
                                                                     c.boundaries),
                                                     makeRequirement(2, "Living", 20, 0)}));
    Layouter layouter(proposal, 1);
    SolutionHistory history;
    ASSERT_TRUE(solveAndApply(layouter, history, c.name)) << "no layout within " << kSeconds << " s";
    if (c.adjacency.front() == 0) {
        EXPECT_EQ(proposal->getRooms()[1]->level, 1);
    }
    // The checker holds the room to the walls of its own floor.
    expectSoundLayout(layouter, proposal);
}

INSTANTIATE_TEST_SUITE_P(
    Wishes, AnyFloorFacadeTest,
    ::testing::Values(FacadeCase{"EntranceWithoutWish", "Entrance", {}, {0}},
                      FacadeCase{"EntranceWhatever", "Entrance", {"whatever"}, {0}},
                      FacadeCase{"EntranceNorth", "Entrance", {"north"}, {0}},
                      FacadeCase{"BedroomEast", "Bedroom", {"east"}, {0}},
                      FacadeCase{"BedroomSoutheast", "Bedroom", {"southeast"}, {0}},
                      FacadeCase{"WorkroomWestOnEitherFloor", "Workroom", {"west"}, {-1}},
                      FacadeCase{"EntranceOnEitherFloor", "Entrance", {}, {-1}}),
    [](const ::testing::TestParamInfo<FacadeCase>& info) { return std::string(info.param.name); });

// A proposal keeps the layouts of the floors its building had when it was
// made; the model and the read-back go by the building's floors.
struct StaleCase {
    const char* name;
    int floorsAtProposal;
    int floorsAtStart;
    std::vector<std::shared_ptr<bg::Requirement>> requirements;
};

void PrintTo(const StaleCase& c, std::ostream* out)
{
    *out << c.name;
}

class StaleProposalTest : public ::testing::TestWithParam<StaleCase> {};

TEST_P(StaleProposalTest, BuildsAndSolvesByTheBuildingsFloors)
{
    const StaleCase& c = GetParam();
    auto building = makeRectBuilding(10, 8, c.floorsAtProposal);
    auto proposal = makeProposal(building, makeRequirementSet(c.requirements));
    for (int level = c.floorsAtProposal; level < c.floorsAtStart; ++level) {
        auto floor = std::make_shared<bg::Floor>(level);
        floor->height = 2.75;
        floor->contour = rectContour(10, 8);
        building->addFloor(floor);
    }
    while (static_cast<int>(building->getFloors().size()) > c.floorsAtStart)
        building->getFloors().pop_back();
    building->updateLevels();
    ASSERT_EQ(proposal->getLayouts().size(), static_cast<size_t>(c.floorsAtProposal));

    Layouter layouter(proposal, 1);
    SolutionHistory history;
    ASSERT_TRUE(solveAndApply(layouter, history, c.name)) << "no layout within " << kSeconds << " s";
    // Rooms on one floor never overlap, whether or not it has a layout, and
    // each stands on the floor of its level.
    expectSoundLayout(layouter, proposal);
}

INSTANTIATE_TEST_SUITE_P(
    Floors, StaleProposalTest,
    ::testing::Values(
        // Two rooms and a guest joined to one of them on the new level 1.
        StaleCase{"FloorAdded", 1, 2,
                  {makeRequirement(0, "Living", 20, 0), makeRequirement(1, "Study", 12, 1),
                   makeRequirement(2, "Bedroom", 12, 1), makeRequirement(3, "Guest", 8, -999, {1})}},
        // Level 1 is gone; the entrance must reach a facade of a floor that is left.
        StaleCase{"FloorRemoved", 2, 1,
                  {makeRequirement(0, "Living", 20, 0), makeRequirement(1, "Guest", 10, -999),
                   makeRequirement(2, "Entrance", 6, -999, {-1}, "Entrance", {})}}),
    [](const ::testing::TestParamInfo<StaleCase>& info) { return std::string(info.param.name); });

using Range = bg::Requirement::Range;

std::shared_ptr<bg::Requirement> houseRoom(int index, const std::string& name, const std::string& roomType,
                                           double area, int level, Range sides, std::vector<std::string> boundaries,
                                           std::vector<int> adjacency = {-1})
{
    const double side = std::sqrt(area);
    return std::make_shared<bg::Requirement>(index, name, std::move(adjacency), area, roomType, Range{side, side},
                                             sides, sides, Range{0.25, 4.0}, Vec2(-999, -999), level,
                                             std::move(boundaries), Range{0.8 * area, 1.5 * area}, 0);
}

TEST(FloorAssignmentSolveTest, TwoStoreyHouseKeepsEveryRule)
{
    // An L-shaped ground floor (its north-east notch an obstacle) under a
    // rectangular upper floor; stairs stacked; four rooms free to go on
    // either floor, two of them joined to rooms of a fixed floor.
    constexpr double kHouseSeconds = 8.0;
    auto building = makeBuilding({lShapedContour(14, 11, 4, 3), rectContour(10, 11)});
    auto proposal = makeProposal(
        building,
        makeRequirementSet({
            houseRoom(0, "Entrance", "Entrance", 6, 0, {1.5, 4}, {"whatever"}),
            houseRoom(1, "Living", "Live and eat", 28, 0, {3, 8}, {"south"}, {0}),
            houseRoom(2, "Kitchen", "Kitchen and cleaning", 12, -999, {2.5, 6}, {"north"}, {1}),
            houseRoom(3, "Stair down", "Stair", 8, 0, {2, 4}, {"whatever"}),
            houseRoom(4, "Stair up", "Stair", 8, 1, {2, 4}, {"whatever"}),
            houseRoom(5, "Corridor", "Corridor", 8, 1, {1.2, 8}, {"whatever"}, {4}),
            houseRoom(6, "Bedroom", "Bedroom", 14, -999, {3, 6}, {"east"}, {5}),
            houseRoom(7, "Child", "Bedroom", 12, -999, {3, 6}, {"whatever"}),
            houseRoom(8, "Workroom", "Workroom", 9, -999, {2.5, 5}, {"west"}),
        }));
    Layouter layouter(proposal, 1);
    SolutionHistory history;
    ASSERT_TRUE(solveAndApply(layouter, history, "TwoStoreyHouse", kHouseSeconds))
        << "no layout within " << kHouseSeconds << " s";
    EXPECT_EQ(proposal->getRooms()[6]->level, 1) << "the bedroom joins the corridor upstairs";
    expectSoundLayout(layouter, proposal);
}

TEST(FloorAssignmentSolveTest, SolverReportsModelsWithoutLayout)
{
    struct Case {
        const char* name;
        int allowFreeSpace;
        std::vector<std::shared_ptr<bg::Requirement>> requirements;
    };
    const Case cases[] = {
        {"ConnectedAcrossFixedLevels", 1,
         {makeRequirement(0, "Living", 20, 0, {1}), makeRequirement(1, "Study", 12, 1),
          makeRequirement(2, "Guest", 10, -999)}},
        // Without free space every floor must be covered; nothing may go on level 1.
        {"EmptyFloorMustBeFilled", 0, {makeRequirement(0, "Living", 20, 0), makeRequirement(1, "Study", 12, 0)}},
    };
    for (const Case& c : cases) {
        Layouter layouter(makeProposal(twoFloors(), makeRequirementSet(c.requirements)), c.allowFreeSpace);
        SolutionHistory history;
        layouter.solutions = &history;
        ASSERT_EQ(layouter.buildFloorAssignmentModel(), SCIP_OKAY) << c.name;
        const SCIP_STATUS status = solveFor(layouter, kSeconds);
        EXPECT_TRUE(status == SCIP_STATUS_INFEASIBLE || status == SCIP_STATUS_INFORUNBD)
            << c.name << ": status " << status;
        EXPECT_TRUE(history.empty()) << c.name;
    }
}

} // namespace
