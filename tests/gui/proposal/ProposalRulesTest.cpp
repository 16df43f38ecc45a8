#include "proposal/ProposalRules.h"
#include "requirements/RequirementTable.h"
#include "requirements/RoomForm.h"

#include "support/ModelFixtures.h"

#include "export/IfcExporter.h"
#include "layouter/Layouter.h"
#include "model/BuildingParameters.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace kovra_test;

// ---- the space check ------------------------------------------------------

struct SpaceCase {
    const char* name;
    std::vector<std::vector<Vec2>> floors;       // levels 0, 1, ...
    std::vector<std::pair<int, double>> rooms;   // (level, target area)
    bool passed;
    const char* message;
};

// A 10 x 10 floor keeps (10 - 2 x 0.36)^2 = 86.1184 m2 inside its outer
// wall, of which 90 % (77.50656 m2) counts.
const SpaceCase spaceCases[] = {
    {"FitsOnBothFloors", {rectContour(10, 10), rectContour(10, 10)}, {{0, 40}, {1, 40}}, true, ""},
    {"FirstFailingFloorInFloorOrderIsNamed",
     {rectContour(10, 10), rectContour(10, 10), rectContour(10, 10)},
     {{1, 80}, {2, 80}},
     false,
     "Not enough space on floor 1 to meet the area requirements."},
    {"FloorThatShrinksToNothingFailsWithARoom",
     {rectContour(10, 10), rectContour(0.5, 0.5)},
     {{1, 1}},
     false,
     "Not enough space on floor 1 to meet the area requirements."},
    {"FloorThatShrinksToNothingPassesWithoutRooms", {rectContour(10, 10), rectContour(0.5, 0.5)}, {{0, 20}}, true, ""},
    {"AnyFloorRoomsCountOnlyInTheTotal",
     {rectContour(10, 10), rectContour(10, 10)},
     {{0, 70}, {1, 70}, {bg::anyFloor, 20}},
     false,
     "Not enough space for the whole building to meet the area requirements."},
    {"AnyFloorRoomsThatFitTheTotalPass", {rectContour(10, 10), rectContour(10, 10)}, {{bg::anyFloor, 150}}, true, ""},
};

class SpaceCheckTest : public ::testing::TestWithParam<SpaceCase> {};

TEST_P(SpaceCheckTest, ComparesTheUsableAreaWithTheTargetAreas)
{
    const SpaceCase& c = GetParam();
    auto building = makeBuilding(c.floors);
    std::vector<std::shared_ptr<bg::Requirement>> requirements;
    for (std::size_t i = 0; i < c.rooms.size(); ++i)
        requirements.push_back(makeRequirement(static_cast<int>(i), "Room", c.rooms[i].second, c.rooms[i].first));
    const SpaceCheck check = checkSpace(building, *makeRequirementSet(requirements));
    EXPECT_EQ(check.passed, c.passed);
    EXPECT_EQ(check.message, c.message);
}

INSTANTIATE_TEST_SUITE_P(Cases, SpaceCheckTest, ::testing::ValuesIn(spaceCases),
                         [](const ::testing::TestParamInfo<SpaceCase>& info) { return info.param.name; });

TEST(SpaceCheckTest, UsesTheBuildingsOwnOuterWall)
{
    auto building = makeRectBuilding(10, 10);
    auto set = makeRequirementSet({makeRequirement(0, "Hall", 80)});
    EXPECT_FALSE(checkSpace(building, *set).passed);
    building->parameters.outerWallStrength = 0.0; // 90 m2 usable
    EXPECT_TRUE(checkSpace(building, *set).passed);
}

TEST(SpaceCheckTest, EqualityAndTheRoomDialogsToleranceFitOnTheFloorAndInTheTotal)
{
    // The room dialog takes an area up to spaceTolerance above the space left
    // (it shows and prefills areas to the hundredth): so does the check.
    auto building = makeRectBuilding(10, 10, 2);
    building->parameters.outerWallStrength = 0.0; // 90 m2 count on each floor
    const double within = 90 + 0.8 * spaceTolerance, beyond = 90 + 1.2 * spaceTolerance;
    EXPECT_TRUE(checkSpace(building, *makeRequirementSet({makeRequirement(0, "Hall", 90, 0)})).passed);
    EXPECT_TRUE(checkSpace(building, *makeRequirementSet({makeRequirement(0, "Hall", within, 0)})).passed);
    EXPECT_FALSE(checkSpace(building, *makeRequirementSet({makeRequirement(0, "Hall", beyond, 0)})).passed);
    EXPECT_TRUE(checkSpace(building, *makeRequirementSet({makeRequirement(0, "Hall", 90, 0),
                                                         makeRequirement(1, "Loft", within, bg::anyFloor)}))
                    .passed);
    EXPECT_FALSE(checkSpace(building, *makeRequirementSet({makeRequirement(0, "Hall", 90, 0),
                                                          makeRequirement(1, "Loft", beyond, bg::anyFloor)}))
                     .passed);
}

TEST(SpaceCheckTest, AgreesWithTheRoomDialogsCheckOnEveryArea)
{
    struct Case {
        const char* name;
        std::shared_ptr<bg::Building> building;
        int level;
    };
    auto thickWall = makeRectBuilding(5.72, 5.72);
    thickWall->parameters.outerWallStrength = 0.36;
    const Case cases[] = {{"10 x 10", makeRectBuilding(10, 10), 0},
                          {"14 x 10, upper floor", makeRectBuilding(14, 10, 2), 1},
                          {"5.72 x 5.72, 0.36 wall", thickWall, 0},
                          {"L shape", makeLShapedBuilding(15, 15, 5, 5), 0}};
    for (const Case& c : cases) {
        const auto empty = makeRequirementSet({});
        const double space = remainingFloorArea(*c.building, *empty, c.level);
        for (const double area : {space - 0.01, space, space + 0.004, space + 0.006, space + 0.01}) {
            const bool dialogTakes = !areaCheckMessage(c.building.get(), *empty, nullptr, area, c.level);
            const auto set = makeRequirementSet({makeRequirement(0, "Room", area, c.level)});
            EXPECT_EQ(checkSpace(c.building, *set).passed, dialogTakes) << c.name << ", area " << area;
        }
    }
}

// ---- rooms of another requirement --------------------------------------

TEST(RoomsOfTheSetTest, ChangedSetsNoLongerMatchAndTheirStaleRoomsAreNotShown)
{
    struct Case {
        const char* name;
        void (*change)(bg::RequirementSet&);
        bool matching;
        std::vector<std::string> shown; // names of the rooms table
    };
    const Case cases[] = {
        {"Unchanged", [](bg::RequirementSet&) {}, true, {"Living", "Bath", "Bed"}},
        // Bed is renumbered to 1: the room "Bath" holds index 1, the room
        // "Bed" still 2; neither stands for Bed now.
        {"BathRemoved", [](bg::RequirementSet& set) { removeRequirementByIndex(set, 1); }, false, {"Living"}},
        {"StudyAdded",
         [](bg::RequirementSet& set) { set.requirements.push_back(makeRequirement(3, "Study", 10)); },
         false,
         {"Living", "Bath", "Bed"}},
        {"BedRenamed", [](bg::RequirementSet& set) { set.requirements[2]->name = "Guest"; }, false, {"Living", "Bath"}},
        {"BedReplaced",
         [](bg::RequirementSet& set) { set.requirements[2] = makeRequirement(2, "Bed", 14); },
         false,
         {"Living", "Bath"}},
    };
    for (const Case& c : cases) {
        auto set = makeRequirementSet(
            {makeRequirement(0, "Living", 30), makeRequirement(1, "Bath", 8), makeRequirement(2, "Bed", 14)});
        auto proposal = makeProposal(makeRectBuilding(14, 10), set);
        c.change(*set);
        EXPECT_EQ(roomsMatchSet(*proposal), c.matching) << c.name;
        std::vector<std::string> shown;
        for (const RoomRow& row : roomRows(*proposal))
            shown.push_back(row[1]);
        EXPECT_EQ(shown, c.shown) << c.name;

        proposal->rebuildLayoutsAndRooms();
        EXPECT_TRUE(roomsMatchSet(*proposal)) << c.name;
        EXPECT_EQ(roomRows(*proposal).size(), set->requirements.size()) << c.name;
    }
    auto withoutSet = makeProposal(makeRectBuilding(14, 10), makeRequirementSet({makeRequirement(0, "Living", 30)}));
    withoutSet->requirementSet.reset();
    EXPECT_TRUE(roomsMatchSet(*withoutSet));
    EXPECT_EQ(roomRows(*withoutSet).size(), 1u);
}

// ---- why a model is infeasible ------------------------------------------

TEST(InfeasibilityReasonsTest, NameTheFloorAndTheSum)
{
    // A 10 x 10 floor with the default outer wall: 77.51 m2 net, 9.28 m a side inside.
    struct Case {
        const char* name;
        int floors;
        std::vector<std::pair<int, double>> rooms; // (level, target area): bounds 0.8 and 1.5 times it
        bool fillAll;
        std::vector<std::string> reasons;
    };
    const Case cases[] = {
        {"FitsWithoutFillAll", 1, {{0, 30}}, false, {}},
        {"SmallestAreasExceedTheFloor",
         2,
         {{0, 30}, {1, 60}, {1, 50}},
         false,
         {"Floor 1: the rooms' smallest areas add up to 88.00 m\u00b2, more than its net area of 77.51 m\u00b2."}},
        {"FillAllWithLargestAreasShort",
         2,
         {{0, 60}, {1, 30}},
         true,
         {"Floor 1: with \"Fill All\" on, the rooms' largest areas add up to only 45.00 m\u00b2, less than its net "
          "area of 77.51 m\u00b2."}},
        {"FillAllWithAnEmptyFloor",
         2,
         {{0, 60}},
         true,
         {"Floor 1: with \"Fill All\" on, the rooms' largest areas add up to only 0.00 m\u00b2, less than its net "
          "area of 77.51 m\u00b2."}},
        {"AnyFloorRoomsCountForTheWholeBuildingOnly",
         2,
         {{0, 60}, {bg::anyFloor, 90}, {bg::anyFloor, 50}},
         false,
         {"The whole building: the rooms' smallest areas add up to 160.00 m\u00b2, more than its net area of "
          "155.01 m\u00b2."}},
        {"AnyFloorRoomsMayFillAFloorButNotTheBuilding",
         2,
         {{0, 20}, {bg::anyFloor, 30}},
         true,
         {"The whole building: with \"Fill All\" on, the rooms' largest areas add up to only 75.00 m\u00b2, less "
          "than its net area of 155.01 m\u00b2."}},
    };
    for (const Case& c : cases) {
        auto building = makeRectBuilding(10, 10, c.floors);
        std::vector<std::shared_ptr<bg::Requirement>> requirements;
        for (std::size_t i = 0; i < c.rooms.size(); ++i)
            requirements.push_back(makeRequirement(static_cast<int>(i), "Room", c.rooms[i].second, c.rooms[i].first));
        EXPECT_EQ(infeasibilityReasons(*building, *makeRequirementSet(requirements), c.fillAll), c.reasons) << c.name;
    }
}

TEST(InfeasibilityReasonsTest, ARoomWhoseSmallestSidesExceedTheFloor)
{
    auto building = makeRectBuilding(10, 6);
    auto hall = makeRequirement(0, "Hall", 20);
    hall->minLength = 4;
    hall->minWidth = 5.5; // the floor is 5.28 m deep inside its outer walls
    auto study = makeRequirement(1, "Study", 10);
    EXPECT_EQ(infeasibilityReasons(*building, *makeRequirementSet({hall, study}), false),
              std::vector<std::string>{"Floor 0: room \"Hall\" is at least 4.00 x 5.50 m, more than the floor's "
                                       "9.28 x 5.28 m inside its outer walls."});
}

TEST(LayouterModeTest, AnyFloorRequirementSelectsFloorAssignment)
{
    EXPECT_EQ(layouterModeFor(*makeRequirementSet({makeRequirement(0, "A", 10, 0), makeRequirement(1, "B", 10, 1)})),
              fixedFloorMode);
    EXPECT_EQ(layouterModeFor(*makeRequirementSet({makeRequirement(0, "A", 10, 0),
                                                   makeRequirement(1, "B", 10, bg::anyFloor)})),
              floorAssignmentMode);
}

// ---- formatters -----------------------------------------------------------

struct DifferenceCase {
    double expected;
    double area;
    const char* text;
};

TEST(FormatDifferenceTest, SignPercentZeroAndNothingExpected)
{
    const DifferenceCase cases[] = {
        {20.0, 0.0, "-100.00%"}, {20.0, 15.0, "-25.00%"}, {20.0, 25.0, "25.00%"},
        {20.0, 20.0, "0.0"},     {0.0, 0.0, "0.0"},       {0.0, 3.0, "n/a"},
    };
    for (const DifferenceCase& c : cases)
        EXPECT_EQ(formatDifference(c.expected, c.area), c.text) << c.expected << " / " << c.area;
}

TEST(TableRowsTest, UnplacedRoomsAndTheirLevels)
{
    auto proposal = makeProposal(makeRectBuilding(10, 8, 2),
                                 makeRequirementSet({makeRequirement(0, "Living", 16, 0),
                                                     makeRequirement(1, "Study", 9, 1),
                                                     makeRequirement(2, "Store", 0, 1)}));
    proposal->rooms[2]->requirement->targetLength = 0.0;

    // Before any run every room has a zero rectangle, which uses no area.
    const double t = getBuildingParameters().innerWallStrength;
    EXPECT_EQ(levelsTableLevels(*proposal), (std::vector<int>{1, 0}));
    const std::vector<LevelRow> levels = levelRows(*proposal, t);
    ASSERT_EQ(levels.size(), 2u);
    EXPECT_EQ(levels[0], (LevelRow{"1", "2", "67.5584", "0.0000", "67.5584"}));
    EXPECT_EQ(levels[1][0], "0");
    EXPECT_EQ(levels[1][1], "1");
    EXPECT_EQ(levels[1][3], "0.0000");

    const std::vector<RoomRow> rooms = roomRows(*proposal);
    ASSERT_EQ(rooms.size(), 3u);
    EXPECT_EQ(rooms[0], (RoomRow{"0", "Living", "Bedroom", "0", "0.00", "16.00", "-100.00%"}));
    EXPECT_EQ(rooms[2][5], "0.00");
    EXPECT_EQ(rooms[2][6], "0.0") << "nothing expected and nothing there";
}

TEST(TableRowsTest, PlacedRoomsUseTheirRectanglesAndInnerContours)
{
    auto proposal = makeProposal(makeRectBuilding(10, 8), makeRequirementSet({makeRequirement(0, "Living", 16),
                                                                              makeRequirement(1, "Bath", 9)}));
    placeRoom(proposal, proposal->rooms[0], {0, 0}, {5.2, 4.2}, 0);
    placeRoom(proposal, proposal->rooms[1], {5.2, 0}, {3.2, 3.2}, 0);
    for (const auto& room : proposal->rooms)
        room->updateInnerContour();

    // Used Area = (5.2 - 0.2)(4.2 - 0.2) + (3.2 - 0.2)(3.2 - 0.2) = 20 + 9.
    EXPECT_DOUBLE_EQ(usedArea(proposal->rooms, 0, 0.2), 29.0);
    EXPECT_EQ(levelRows(*proposal, 0.2)[0][3], "29.0000");
    const std::vector<RoomRow> rooms = roomRows(*proposal);
    EXPECT_EQ(rooms[0][4], "20.00") << "the inner contour, half a wall in on every side";
    EXPECT_EQ(rooms[0][6], "25.00%");
}

TEST(TableRowsTest, SolutionsAreNumberedFromZero)
{
    const std::vector<Solution> recorded{{3.5, {}}, {2.25, {}}, {1.0, {}}};
    const std::vector<SolutionRow> rows = solutionRows(recorded);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], (SolutionRow{"0", "3.5000"}));
    EXPECT_EQ(rows[2], (SolutionRow{"2", "1.0000"}));
    EXPECT_EQ(currentSolutionText(2), "Current solution: 2");
    EXPECT_EQ(currentSolutionText(-1), "Current solution: ");
}

TEST(TableRowsTest, LevelsRunFromTheTopAndSkipLevelsWithoutLayout)
{
    auto proposal = makeProposal(makeRectBuilding(10, 8, 4), makeRequirementSet({makeRequirement(0, "A", 10)}));
    EXPECT_EQ(levelsTableLevels(*proposal), (std::vector<int>{3, 2, 1, 0}));
    proposal->layouts.erase(proposal->layouts.begin() + 1); // level 1
    EXPECT_EQ(levelsTableLevels(*proposal), (std::vector<int>{3, 2, 0}));
    EXPECT_EQ(levelRows(*proposal, 0.2).size(), 3u);
}

// ---- topology -------------------------------------------------------------

// Four rooms: 0 and 1 on level 0, 2 and 3 on level 1; 0-1, 0-2, 2-3 and an
// entry beyond the set; the entries after a -1 are never read.
std::shared_ptr<bg::Proposal> topologyProposal()
{
    auto proposal = makeProposal(makeRectBuilding(10, 8, 2),
                                 makeRequirementSet({makeRequirement(0, "Hall", 10, 0, {1, 2, -1, 3}, "Entrance"),
                                                     makeRequirement(1, "Kitchen", 10, 0, {0}, "Kitchen and cleaning"),
                                                     makeRequirement(2, "Bed", 10, 1, {3, 7}, "Bedroom"),
                                                     makeRequirement(3, "Study", 10, 1, {-1}, "Library")}));
    return proposal;
}

TEST(TopologyTest, AllLevelsShowEveryRequirementAndEveryEdge)
{
    auto proposal = topologyProposal();
    const TopologyGraph graph = topologyGraph(*proposal->requirementSet, proposal->rooms, 0, 0);
    ASSERT_EQ(graph.nodes.size(), 4u);
    EXPECT_EQ(graph.nodes[1].name, "Kitchen");
    EXPECT_EQ(graph.nodes[1].requirementIndex, 1);
    EXPECT_EQ(graph.nodes[0].fill.r, 1.0);
    EXPECT_EQ(graph.nodes[1].fill.g, 1.0);
    EXPECT_EQ(graph.nodes[3].fill.b, 1.0) << "an unknown type is white";
    EXPECT_EQ(graph.edges, (std::vector<std::pair<int, int>>{{0, 1}, {0, 2}, {1, 0}, {2, 3}}))
        << "a pair listing each other gives two edges; an index beyond the set gives none";
}

TEST(TopologyTest, OneLevelShowsItsRoomsNumberedAmongThemselves)
{
    auto proposal = topologyProposal();
    const TopologyGraph upper = topologyGraph(*proposal->requirementSet, proposal->rooms, 1, 1);
    ASSERT_EQ(upper.nodes.size(), 2u);
    EXPECT_EQ(upper.nodes[0].requirementIndex, 2);
    EXPECT_EQ(upper.nodes[1].requirementIndex, 3);
    EXPECT_EQ(upper.edges, (std::vector<std::pair<int, int>>{{0, 1}}));

    const TopologyGraph lower = topologyGraph(*proposal->requirementSet, proposal->rooms, 1, 0);
    ASSERT_EQ(lower.nodes.size(), 2u);
    EXPECT_EQ(lower.edges, (std::vector<std::pair<int, int>>{{0, 1}, {1, 0}}))
        << "the edge from the hall to the bedroom upstairs is dropped";
}

TEST(TopologyTest, ColoursOfTheRoomTypes)
{
    EXPECT_DOUBLE_EQ(topologyColour("Live and eat").g, 0.59);
    EXPECT_DOUBLE_EQ(topologyColour("Bedroom").r, 0.98);
    EXPECT_DOUBLE_EQ(topologyColour("Stair").b, 0.5);
    EXPECT_DOUBLE_EQ(topologyColour("Garden").b, 0.0);
    EXPECT_DOUBLE_EQ(topologyColour("Corridor").g, 0.0);
}

// ---- export ---------------------------------------------------------------

TEST(ExportFilterTest, FilterToSchema)
{
    const std::pair<int, int> cases[] = {{0, bgexport::schemaIfc4}, {1, bgexport::schemaIfc2x3},
                                         {2, noExportSchema}, {-1, noExportSchema}};
    for (const auto& [filter, schema] : cases)
        EXPECT_EQ(exportSchemaForFilter(filter), schema) << "filter " << filter;
}

} // namespace

namespace {

TEST(SearchProgressTest, LinesTellFoundBestAndWhereTheSearchStands)
{
    struct Case {
        const char* name;
        SearchProgress progress;
        bool stopping;
        std::array<std::string, 3> expected;
    };
    SearchProgress none;
    SearchProgress three;
    three.layouts = 3;
    three.hasObjective = true;
    three.bestObjective = 41.25;
    SearchProgress wideGap = three;
    wideGap.gap = 3.4;
    SearchProgress narrowGap = three;
    narrowGap.gap = 0.125;
    SearchProgress optimal = three;
    optimal.gap = 0.0;
    optimal.optimal = true;
    const Case cases[] = {
        {"nothing yet", none, false, {"Layouts found: 0", "Best objective: none yet", "Search: running"}},
        {"a gap above 100 % says nothing", wideGap, false,
         {"Layouts found: 3", "Best objective: 41.2500", "Search: running"}},
        {"no gap known", three, false, {"Layouts found: 3", "Best objective: 41.2500", "Search: running"}},
        {"a gap below 100 %", narrowGap, false,
         {"Layouts found: 3", "Best objective: 41.2500", "Search: running, within 12.5 % of the best possible"}},
        {"stopping", narrowGap, true,
         {"Layouts found: 3", "Best objective: 41.2500", "Search: stopping after this step..."}},
        {"optimal", optimal, false,
         {"Layouts found: 3", "Best objective: 41.2500", "Search: optimal, no better layout exists"}},
        {"optimal wins over stopping", optimal, true,
         {"Layouts found: 3", "Best objective: 41.2500", "Search: optimal, no better layout exists"}},
    };
    for (const Case& row : cases)
        EXPECT_EQ(searchProgressLines(row.progress, row.stopping), row.expected) << row.name;
}

TEST(SearchProgressTest, EndOfRunSaysStoppedOrOptimal)
{
    EXPECT_EQ(runEndText(4, false, false), "Optimization finished. 4 solutions are found.");
    EXPECT_EQ(runEndText(4, true, false), "Optimization stopped. 4 solutions are found.");
    EXPECT_EQ(runEndText(1, true, true), "Optimization finished: the best layout is optimal. 1 solution is found.");
    EXPECT_EQ(runEndText(0, false, false), "Optimization finished. 0 solutions are found.");
}

TEST(ExportFeedbackTest, OneWarningForAProposalWithoutLayout)
{
    const std::vector<std::string> given = {"Room \"Hall\" on storey 0 gets no space: it has no inner outline.",
                                            "Room \"Bath\" on storey 0 gets no space: it has no inner outline.",
                                            "The entrance \"Door\" on storey 0 gets no door: no wall runs along it.",
                                            "The slab under storey 1 leaves out 2 m2."};
    EXPECT_EQ(exportWarnings(true, given), given);
    const std::vector<std::string> once = exportWarnings(false, given);
    ASSERT_EQ(once.size(), 2u);
    EXPECT_EQ(once[0].rfind("This proposal has no layout yet: ", 0), 0u) << once[0];
    EXPECT_EQ(once[1], given[3]);
    EXPECT_EQ(exportWarnings(false, {}).size(), 1u);
    EXPECT_EQ(exportedText("house.ifc", bgexport::schemaIfc4), "Exported \"house.ifc\" as IFC4.");
    EXPECT_EQ(exportedText("old.ifc", bgexport::schemaIfc2x3), "Exported \"old.ifc\" as IFC2X3.");
}

TEST(ExportFeedbackTest, ALayoutIsAnyRoomWithARectangle)
{
    auto proposal = makeProposal(makeRectBuilding(10, 8), makeRequirementSet({makeRequirement(0, "Hall", 8),
                                                                              makeRequirement(1, "Bath", 6)}));
    EXPECT_FALSE(hasLayout(*proposal));
    proposal->rooms[1]->size = {2, 3};
    EXPECT_TRUE(hasLayout(*proposal));
}

} // namespace
