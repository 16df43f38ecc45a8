// Doors, windows and spaces on small hand-placed proposals, with the numbers
// worked out by hand, and the body options of doors and windows on a solved
// proposal.

#include "ExportSupport.h"
#include "StoreyHarness.h"
#include "TwoRooms.h"

#include "model/Proposal.h"
#include "model/Requirement.h"
#include "support/ModelFixtures.h"

#include <cmath>

namespace {

using exporttest::linesNamed;
using exporttest::TwoRooms;

TEST(Fillings, MutuallyAdjacentRoomsGetOneDoorAndTheEntranceItsOwn)
{
    TwoRooms plan;
    const std::string text = plan.exportText();
    EXPECT_EQ(linesNamed(text, "IFCDOORSTANDARDCASE").size(), 2u); // entrance and the pair's door
    EXPECT_EQ(linesNamed(text, "IFCWINDOWSTANDARDCASE").size(), 1u); // the entrance gets none
    EXPECT_EQ(linesNamed(text, "IFCOPENINGSTANDARDCASE").size(), 3u);
    EXPECT_EQ(linesNamed(text, "IFCRELVOIDSELEMENT").size(), 3u);
    EXPECT_EQ(linesNamed(text, "IFCRELFILLSELEMENT").size(), 3u);
    EXPECT_TRUE(plan.warnings.empty());
}

TEST(Fillings, MisplacedEntranceCostsOnlyItsOwnDoor)
{
    // The optimiser places rooms for the default inner wall; with a thicker
    // one the entrance misses the facade, but the rooms still get their door.
    TwoRooms plan;
    plan.building->parameters.innerWallStrength = 0.3;
    const std::string text = plan.exportText();
    EXPECT_EQ(linesNamed(text, "IFCDOORSTANDARDCASE").size(), 1u);
    ASSERT_EQ(plan.warnings.size(), 1u);
    EXPECT_NE(plan.warnings[0].find("\"Hall\""), std::string::npos) << plan.warnings[0];
}

// An entrance on a facade that no wall was written along gets no door, and
// the export says so.
TEST(Fillings, EntranceWithoutAWallAlongItsFacadeIsNamed)
{
    TwoRooms plan;
    exporttest::StoreyHarness harness(plan.building);
    auto& exporter = *harness.exporter;
    exporter.proposal = plan.proposal;
    const auto floor = plan.building->floors.front();
    harness.beginStorey(floor);
    exporter.writeDoorsAndWindows(floor); // no walls written first
    bool named = false;
    for (const std::string& warning : exporter.warnings)
        named = named || (warning.find("\"Hall\"") != std::string::npos && warning.find("no wall") != std::string::npos);
    EXPECT_TRUE(named);
}

// On an L-shaped floor whose north-east corner is cut away, an entrance on
// the west facade whose north side lies on the line of the notch's edge:
// its door goes into the west wall it touches, not onto that line far
// away, and a person walks through it into the entrance.
TEST(Fillings, EntranceDoorGoesIntoTheFacadeItsRoomTouches)
{
    const auto available = testsupport::ifcOpenShellAvailable();
    ASSERT_EQ(available.exitCode, 0) << available.output;
    auto building = kovra_test::makeLShapedBuilding(13, 11, 4, 4);
    auto set = kovra_test::makeRequirementSet({kovra_test::makeRequirement(0, "Hall", 8, 0, {-1}, "Entrance")});
    auto proposal = kovra_test::makeProposal(building, set, "Notch");
    const auto room = proposal->getRooms().front();
    // North side at 6.74 - 0.1 = 6.64, the notch's edge inside the wall.
    kovra_test::placeRoom(proposal, room, {0.26, 4.04}, {3.0, 2.7}, 0);
    room->updateInnerContour();
    testsupport::TempFile file(".ifc");
    const auto warnings =
        exporttest::exportTo(file.path(), std::make_shared<bg::Project>("P"), proposal, bgexport::schemaIfc4);
    EXPECT_TRUE(warnings.empty()) << warnings.front();
    const auto report = exporttest::checkReport(file.path());
    const auto& doors = report["walk"]["doors"];
    ASSERT_EQ(doors.size(), 1u);
    EXPECT_EQ(doors[0]["external"], true);
    std::vector<std::string> entered;
    for (const auto& face : doors[0]["faces"]) {
        EXPECT_TRUE(face["walls"].empty()) << doors[0].dump();
        for (const auto& space : face["spaces"])
            entered.push_back(space);
    }
    EXPECT_EQ(entered, std::vector<std::string>{"Hall"}) << doors[0].dump();
}

// Rooms that share only a door width of side: the crossing wall at its end
// cuts their wall piece shorter than the door, so the door finds no host, and
// the export names the pair instead of dropping it silently.
TEST(Fillings, DoorWithoutAHostWallIsNamed)
{
    auto building = kovra_test::makeRectBuilding(10, 8);
    auto set = kovra_test::makeRequirementSet({kovra_test::makeRequirement(0, "Hall", 36, 0, {1}),
                                               kovra_test::makeRequirement(1, "Sleep", 5, 0, {0}),
                                               kovra_test::makeRequirement(2, "Store", 30, 0)});
    auto proposal = kovra_test::makeProposal(building, set, "Narrow");
    const auto rooms = proposal->getRooms();
    kovra_test::placeRoom(proposal, rooms[0], {0.26, 0.26}, {4.8, 7.48}, 0);
    kovra_test::placeRoom(proposal, rooms[1], {5.06, 6.74}, {4.68, 1.0}, 0);
    kovra_test::placeRoom(proposal, rooms[2], {5.06, 0.26}, {4.68, 6.48}, 0);
    for (const auto& room : rooms)
        room->updateInnerContour();
    testsupport::TempFile file(".ifc");
    const std::vector<std::string> warnings =
        exporttest::exportTo(file.path(), std::make_shared<bg::Project>("P"), proposal, bgexport::schemaIfc4);
    EXPECT_TRUE(linesNamed(kovra_test::readText(file.path()), "IFCDOORSTANDARDCASE").empty());
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("The door between \"Hall\" and \"Sleep\""), std::string::npos) << warnings[0];
}

TEST(Fillings, RoomOfAnyFloorGetsItsWindowAndNoGlazingGivesNone)
{
    TwoRooms anyFloor("Bedroom", bg::anyFloor);
    EXPECT_EQ(linesNamed(anyFloor.exportText(), "IFCWINDOWSTANDARDCASE").size(), 1u);

    TwoRooms unglazed;
    unglazed.building->parameters.windowGlazingFactor = 0.0;
    EXPECT_EQ(linesNamed(unglazed.exportText(), "IFCWINDOWSTANDARDCASE").size(), 0u);
}

TEST(Fillings, WidthsRoundUpToATenthAndShareTheirMap)
{
    auto building = kovra_test::makeRectBuilding(10, 8);
    exporttest::StoreyHarness harness(building);
    auto& exporter = *harness.exporter;
    struct Row {
        double width;
        double written;
    };
    const Row rows[] = {{1.23, 1.3}, {1.28, 1.3}, {1.0, 1.0}, {0.3, 0.3}};
    std::vector<ifc::EntityPtr> maps;
    for (const Row& row : rows) {
        double width = row.width;
        maps.push_back(exporter.cachedRepresentationMap(exporter.windowMaps, width, 1.2, 0.36));
        EXPECT_DOUBLE_EQ(width, row.written) << row.width;
    }
    EXPECT_EQ(maps[0], maps[1]);
    EXPECT_NE(maps[0], maps[2]);
    EXPECT_EQ(exporter.windowMaps.size(), 3u);
}

TEST(Spaces, WorkedRoomQuantitiesAndItsRequirementTexts)
{
    const auto available = testsupport::ifcOpenShellAvailable();
    ASSERT_EQ(available.exitCode, 0) << available.output;
    auto building = kovra_test::makeRectBuilding(10, 8);
    auto set = kovra_test::makeRequirementSet(
        {kovra_test::makeRequirement(0, "Study", 20, bg::anyFloor, {3, 1}, "Office", {"south"}),
         kovra_test::makeRequirement(1, "Den", 12, 0, {-1}), kovra_test::makeRequirement(3, "Bath", 6, 0, {-1})});
    auto proposal = kovra_test::makeProposal(building, set, "Worked");
    const auto rooms = proposal->getRooms();
    kovra_test::placeRoom(proposal, rooms[0], {2.0, 3.0}, {4.2, 3.2}, 0);
    kovra_test::placeRoom(proposal, rooms[1], {6.2, 3.0}, {3.0, 3.2}, 0);
    for (const auto& room : rooms)
        room->updateInnerContour();
    testsupport::TempFile file(".ifc");
    exporttest::exportTo(file.path(), std::make_shared<bg::Project>("P"), proposal, bgexport::schemaIfc2x3);
    const auto report = exporttest::checkReport(file.path());
    const auto spaces = exporttest::productsOf(report, "IfcSpace");
    ASSERT_EQ(spaces.size(), 2u);
    const auto& space = spaces[0];
    EXPECT_EQ(spaces[1]["psets"]["Kovra_Requirement"]["RequiredAdjacentRooms"], "None");
    EXPECT_EQ(space["name"], "Study");
    const std::pair<const char*, double> quantities[] = {{"NominalHeight", 2.75},   {"GrossPerimeter", 14.0},
                                                         {"GrossCeilingArea", 12.0}, {"GrossFloorArea", 12.0},
                                                         {"GrossWallArea", 38.5},    {"GrossVolume", 33.0}};
    for (const auto& [name, value] : quantities)
        EXPECT_NEAR(exporttest::valueOf(space, "BaseQuantities", name), value, 1e-9) << name;
    EXPECT_NEAR(space["volume"].get<double>(), 33.0, 1e-6);
    const auto& texts = space["psets"]["Kovra_Requirement"];
    EXPECT_EQ(texts["RequiredAdjacentRooms"], "Bath; Den; ");
    EXPECT_EQ(texts["RequiredBoundaries"], "south");
    EXPECT_EQ(texts["RequiredPositions"], "(-999.000000, -999.000000);");
    EXPECT_EQ(texts["Level"], "-999");
    EXPECT_EQ(texts["AreaTarget"], "20.000000");
    EXPECT_EQ(texts["RoomType"], "Office");

    const std::string text = kovra_test::readText(file.path());
    // The space stands at its outline's corner nearest the origin.
    bool placed = false;
    for (const auto& point : linesNamed(text, "IFCCARTESIANPOINT")) {
        double x = 0, y = 0, z = 1;
        if (std::sscanf(point.attributes.c_str(), "(%lf,%lf,%lf)", &x, &y, &z) == 3)
            placed = placed || (std::fabs(x - 2.1) < 1e-9 && std::fabs(y - 3.1) < 1e-9 && z == 0.0);
    }
    EXPECT_TRUE(placed);
    EXPECT_EQ(linesNamed(text, "IFCZONE").size(), 2u); // "Office" and "Bedroom"
    EXPECT_EQ(linesNamed(text, "IFCFLOWTERMINAL").size(), 4u);
}

TEST(Spaces, RoomWithoutAnOutlineGetsNoSpace)
{
    TwoRooms plan;
    plan.proposal->getRooms()[1]->innerContour.clear();
    const std::string text = plan.exportText();
    EXPECT_EQ(linesNamed(text, "IFCSPACE").size(), 1u);
    ASSERT_EQ(plan.warnings.size(), 1u);
    EXPECT_NE(plan.warnings[0].find("no space"), std::string::npos);
}

// A proposal not laid out yet has no space and so no terminal: its systems
// would have no members, which IFC2X3 forbids, so there are none.
TEST(Spaces, ProposalNotLaidOutHasNoSystemsAndValidates)
{
    const auto available = testsupport::ifcOpenShellAvailable();
    ASSERT_EQ(available.exitCode, 0) << available.output;
    auto project = exporttest::loadSolved("solved-house.xsp");
    const auto& solved = project->proposals.front();
    const auto fresh = bg::Proposal::create("Not laid out", solved->building, solved->requirementSet);
    project->proposals.push_back(fresh);
    for (int schema : {bgexport::schemaIfc2x3, bgexport::schemaIfc4}) {
        testsupport::TempFile file(".ifc");
        exporttest::exportTo(file.path(), project, fresh, schema, bgexport::ExportSettings());
        const std::string text = kovra_test::readText(file.path());
        EXPECT_TRUE(linesNamed(text, "IFCSPACE").empty());
        EXPECT_TRUE(linesNamed(text, "IFCSYSTEM").empty()) << exporttest::schemaName(schema);
        EXPECT_EQ(exporttest::validationFailures(file.path()), "");
    }
    // Laid out, the same proposal has both systems.
    testsupport::TempFile file(".ifc");
    exporttest::exportTo(file.path(), project, solved, bgexport::schemaIfc2x3, bgexport::ExportSettings());
    EXPECT_EQ(linesNamed(kovra_test::readText(file.path()), "IFCSYSTEM").size(), 2u);
}

TEST(Spaces, DoorFacesOnTheRoomOutlineAreRecorded)
{
    TwoRooms plan;
    exporttest::StoreyHarness harness(plan.building);
    auto& exporter = *harness.exporter;
    exporter.proposal = plan.proposal;
    const auto floor = plan.building->floors.front();
    harness.beginStorey(floor);
    exporter.writeExteriorWalls(floor);
    exporter.writeInteriorWalls(plan.proposal, floor);
    exporter.writeDoorsAndWindows(floor);
    for (const auto& room : plan.proposal->getRooms())
        exporter.writeSpace(plan.proposal->requirementSet, room);
    ASSERT_EQ(exporter.doors.size(), 2u);
    for (const auto& [entity, door] : exporter.doors) {
        // The entrance door is seen by the hall only; the inner door by both.
        EXPECT_EQ(door.spaceFaces.size(), door.thickness > 0.3 ? 1u : 2u);
    }
    ASSERT_EQ(exporter.windows.size(), 1u);
    EXPECT_NE(exporter.windows.begin()->second.spaceFace.first, nullptr);
}

// Every combination of "Mapped Item" and "Ceiled Mapped Item" validates and
// gives doors and windows the volume of their written sizes; doors are the
// same in all of them, windows alike among the combinations that round.
TEST(Fillings, BodyOptionsAllValidateWithTheSameVolumes)
{
    const auto available = testsupport::ifcOpenShellAvailable();
    ASSERT_EQ(available.exitCode, 0) << available.output;
    auto project = exporttest::loadSolved("solved-house.xsp");
    std::map<bool, std::vector<double>> windowVolumes;
    std::vector<double> doorVolumes;
    for (bool mapped : {false, true})
        for (bool ceiled : {false, true}) {
            bgexport::ExportSettings settings;
            settings.enableMappedItems = mapped;
            settings.enableCeiledMappedItems = ceiled;
            testsupport::TempFile file(".ifc");
            exporttest::exportTo(file.path(), project, project->proposals.front(), bgexport::schemaIfc2x3, settings);
            EXPECT_EQ(exporttest::validationFailures(file.path()), "")
                << mapped << ceiled;
            const auto report = exporttest::checkReport(file.path());
            std::vector<double> doors, windows;
            for (const auto& door : exporttest::productsOf(report, "IfcDoor"))
                doors.push_back(door["volume"].get<double>());
            for (const auto& window : exporttest::productsOf(report, "IfcWindow")) {
                const double volume = window["volume"].get<double>();
                EXPECT_NEAR(volume, window["overallWidth"].get<double>() * 1.2 * 0.36, 1e-6);
                windows.push_back(volume);
            }
            if (doorVolumes.empty())
                doorVolumes = doors;
            for (std::size_t i = 0; i < doors.size() && i < doorVolumes.size(); ++i)
                EXPECT_NEAR(doors[i], doorVolumes[i], 1e-6) << mapped << ceiled;
            EXPECT_EQ(doors.size(), doorVolumes.size());
            const bool rounds = ceiled;
            if (windowVolumes[rounds].empty())
                windowVolumes[rounds] = windows;
            ASSERT_EQ(windows.size(), windowVolumes[rounds].size());
            for (std::size_t i = 0; i < windows.size(); ++i)
                EXPECT_NEAR(windows[i], windowVolumes[rounds][i], 1e-6) << mapped << ceiled;
        }
}

} // namespace
