// Second-level wall boundaries on the worked case of a 4 m wall between two
// rooms, and the option combinations of both levels.

#include "ExportSupport.h"
#include "StoreyHarness.h"
#include "TwoRooms.h"

#include "model/Requirement.h"
#include "support/ModelFixtures.h"

#include <cmath>
#include <map>

namespace {

using exporttest::Line;
using exporttest::TwoRooms;

// A boundary's face read back from the text: the plane's location, axis and
// reference direction, and the outline's points.
struct Face {
    std::vector<double> location, axis, reference;
    std::vector<std::vector<double>> outline;
};

std::vector<std::uint64_t> references(const std::string& attributes)
{
    std::vector<std::uint64_t> ids;
    for (std::size_t at = attributes.find('#'); at != std::string::npos; at = attributes.find('#', at + 1))
        ids.push_back(std::stoull(attributes.substr(at + 1)));
    return ids;
}

std::vector<double> numbers(const std::string& attributes)
{
    std::vector<double> values;
    std::string text = attributes;
    for (char& c : text)
        if (c == '(' || c == ')' || c == ',')
            c = ' ';
    std::istringstream in(text);
    for (double v; in >> v;)
        values.push_back(v);
    return values;
}

Face faceOf(const std::map<std::uint64_t, Line>& lines, const Line& boundary)
{
    // GlobalId, owner, name, description, space, element, geometry ...
    const auto refs = references(boundary.attributes);
    const Line& geometry = lines.at(refs[3]);
    const Line& surface = lines.at(references(geometry.attributes)[0]);
    const auto surfaceRefs = references(surface.attributes);
    const Line& plane = lines.at(surfaceRefs[0]);
    const auto axes = references(lines.at(references(plane.attributes)[0]).attributes);
    Face face;
    face.location = numbers(lines.at(axes[0]).attributes);
    face.axis = numbers(lines.at(axes[1]).attributes);
    face.reference = numbers(lines.at(axes[2]).attributes);
    for (std::uint64_t point : references(lines.at(surfaceRefs[1]).attributes))
        face.outline.push_back(numbers(lines.at(point).attributes));
    return face;
}

std::shared_ptr<bg::Room> roomWithContour(const std::shared_ptr<bg::Requirement>& requirement,
                                          std::vector<Vec2> contour)
{
    auto room = std::make_shared<bg::Room>(requirement);
    room->level = 0;
    room->innerContour = std::move(contour);
    return room;
}

// The harness's file flushed: every line by its id into `lines`, and the
// second-level boundaries in file order.
std::vector<Line> secondLevelBoundaries(exporttest::StoreyHarness& harness, std::map<std::uint64_t, Line>& lines)
{
    harness.step.flush();
    std::vector<Line> boundaries;
    for (const Line& line : exporttest::dataLines(harness.out.str())) {
        lines[line.id] = line;
        if (line.name == "IFCRELSPACEBOUNDARY2NDLEVEL")
            boundaries.push_back(line);
    }
    return boundaries;
}

TEST(SecondLevelWalls, FourMetreWallBetweenTwoRoomsIsOnePairOfFaces)
{
    auto building = kovra_test::makeRectBuilding(10, 8);
    exporttest::StoreyHarness harness(building);
    auto& exporter = *harness.exporter;
    auto floor = building->floors.front();
    harness.beginStorey(floor);
    harness.writer.currentSurfaceStyle = exporter.innerWallStyle;
    const auto wall = exporter.writeWall({{0, 0}, {4, 0}}, 0.2, "L", 0, "Interior Wall");
    auto set = kovra_test::makeRequirementSet(
        {kovra_test::makeRequirement(0, "North", 12), kovra_test::makeRequirement(1, "South", 12)});
    exporter.writeSpace(set, roomWithContour(set->requirements[0], {{0, 0.1}, {4, 0.1}, {4, 3}, {0, 3}}));
    exporter.writeSpace(set, roomWithContour(set->requirements[1], {{0, -3}, {4, -3}, {4, -0.1}, {0, -0.1}}));
    exporter.writeSecondLevelWallBoundaries();
    const auto& record = *exporter.walls.find(wall);
    ASSERT_EQ(record.spaceBoundaries.size(), 2u);

    std::map<std::uint64_t, Line> lines;
    const std::vector<Line> boundaries = secondLevelBoundaries(harness, lines);
    ASSERT_EQ(boundaries.size(), 2u);
    for (const Line& boundary : boundaries)
        EXPECT_NE(boundary.attributes.find("'2a'"), std::string::npos);
    // North room: at (0, 0.1) less its origin (0, 0.1), facing south, up
    // from its floor; south room: at (0, -0.1) less its origin (0, -0.1),
    // facing north, the outline running down in its flipped frame.
    const Face north = faceOf(lines, boundaries[0]);
    const Face south = faceOf(lines, boundaries[1]);
    EXPECT_EQ(north.location, (std::vector<double>{0, 0, 0}));
    EXPECT_EQ(north.axis, (std::vector<double>{0, -1, 0}));
    EXPECT_EQ(north.reference, (std::vector<double>{1, 0, 0}));
    EXPECT_EQ(south.location, (std::vector<double>{0, 0, 0}));
    EXPECT_EQ(south.axis, (std::vector<double>{0, 1, 0}));
    EXPECT_EQ(south.reference, (std::vector<double>{1, 0, 0}));
    auto hasPoints = [](const Face& face, const std::vector<std::vector<double>>& expected) {
        for (const auto& point : expected)
            if (std::find(face.outline.begin(), face.outline.end(), point) == face.outline.end())
                return false;
        return face.outline.size() == expected.size() + 1; // closed by repeating the first point
    };
    EXPECT_TRUE(hasPoints(north, {{0, 0}, {4, 0}, {4, 2.75}, {0, 2.75}}));
    EXPECT_TRUE(hasPoints(south, {{0, 0}, {4, 0}, {4, -2.75}, {0, -2.75}}));
}

// The south room's corner reaches half a millimetre along the wall's face:
// the pair of faces there is no wider than rounding. It is left out and
// counted, with its area, in the one warning of slivers; the north room's
// face keeps the rest of the wall.
TEST(SecondLevelWalls, FacesNarrowerThanAMillimetreAreLeftOutAndCounted)
{
    auto building = kovra_test::makeRectBuilding(10, 8);
    exporttest::StoreyHarness harness(building);
    auto& exporter = *harness.exporter;
    harness.beginStorey(building->floors.front());
    harness.writer.currentSurfaceStyle = exporter.innerWallStyle;
    exporter.writeWall({{0, 0}, {4, 0}}, 0.2, "L", 0, "Interior Wall");
    auto set = kovra_test::makeRequirementSet(
        {kovra_test::makeRequirement(0, "North", 12), kovra_test::makeRequirement(1, "South", 12)});
    exporter.writeSpace(set, roomWithContour(set->requirements[0], {{0, 0.1}, {4, 0.1}, {4, 3}, {0, 3}}));
    exporter.writeSpace(set,
                        roomWithContour(set->requirements[1], {{3.9995, -3}, {8, -3}, {8, -0.1}, {3.9995, -0.1}}));
    exporter.writeSecondLevelWallBoundaries();
    exporter.reportSlivers();
    ASSERT_EQ(exporter.warnings.size(), 1u);
    EXPECT_NE(exporter.warnings[0].find("1 space boundary piece(s) narrower than 1 mm are left out, 0.00138 m2"),
              std::string::npos)
        << exporter.warnings[0];

    std::map<std::uint64_t, Line> lines;
    const std::vector<Line> boundaries = secondLevelBoundaries(harness, lines);
    ASSERT_EQ(boundaries.size(), 1u);
    EXPECT_NE(boundaries[0].attributes.find("'2b'"), std::string::npos);
    const Face north = faceOf(lines, boundaries[0]);
    ASSERT_EQ(north.outline.size(), 5u);
    EXPECT_NEAR(north.outline[1][0] - north.outline[0][0], 3.9995, 1e-12);
}

TEST(SecondLevelBoundaries, OptionCombinationsValidateAndPairConsistently)
{
    const auto available = testsupport::ifcOpenShellAvailable();
    ASSERT_EQ(available.exitCode, 0) << available.output;
    struct Row {
        bool firstLevel, secondLevel, external, ifc4Entity;
    };
    const Row rows[] = {
        {true, true, true, true},   {false, true, true, true}, {false, true, false, true},
        {false, true, true, false}, {true, true, false, false},
    };
    for (const Row& row : rows) {
        TwoRooms plan;
        bgexport::ExportSettings settings;
        settings.enableSpaceBoundary1st = row.firstLevel;
        settings.enableSpaceBoundary2nd = row.secondLevel;
        settings.enableExternalSpatialElement = row.external;
        settings.enableNewIfc4SpaceBoundary = row.ifc4Entity;
        testsupport::TempFile file(".ifc");
        exporttest::exportTo(file.path(), plan.project, plan.proposal, bgexport::schemaIfc4, settings);
        const std::string label = std::to_string(row.firstLevel) + std::to_string(row.secondLevel) +
                                  std::to_string(row.external) + std::to_string(row.ifc4Entity);
        EXPECT_EQ(exporttest::validationFailures(file.path()), "")
            << label;
        const auto report = exporttest::checkReport(file.path());
        std::map<std::string, int> kinds;
        std::map<int, nlohmann::json> byId;
        for (const auto& boundary : report["boundaries"])
            byId[boundary["id"].get<int>()] = boundary;
        for (const auto& [id, boundary] : byId) {
            if (boundary["name"] != "2ndLevel")
                continue;
            const std::string relating = boundary["relatingType"] == "IfcSpace" ? "space" : "outside";
            ++kinds[boundary["description"].get<std::string>() + " " + relating + " " +
                    boundary["type"].get<std::string>()];
            EXPECT_GT(boundary["area"].get<double>(), 0.0) << label << boundary.dump();
            EXPECT_EQ(boundary["inElement"], true) << label << boundary.dump();
            if (!boundary["corresponding"].is_null()) {
                EXPECT_EQ(byId.at(boundary["corresponding"].get<int>())["corresponding"], id) << label;
            }
        }
        const std::string entity = row.ifc4Entity ? "IfcRelSpaceBoundary2ndLevel" : "IfcRelSpaceBoundary";
        EXPECT_GT(kinds["2a space " + entity], 0) << label;
        EXPECT_EQ(kinds["2a outside " + entity] > 0, row.external) << label;
        EXPECT_EQ(kinds.count("2a space IfcRelSpaceBoundary2ndLevel") + kinds.count("2a space IfcRelSpaceBoundary"),
                  1u)
            << label;
        int firstLevel = 0;
        for (const auto& [id, boundary] : byId)
            firstLevel += boundary["name"] == "1stLevel" ? 1 : 0;
        EXPECT_EQ(firstLevel > 0, row.firstLevel) << label;
    }
}

} // namespace

namespace {

// An upper storey that overhangs its lower one on all sides, one room on
// each filling its floor: what lies under the upper room (the room below,
// the lower walls, the open underside around them) and over each room adds
// up to the room's floor and ceiling area, each piece once.
TEST(SecondLevelBoundaries, FloorsAndCeilingsUnderAnOverhangAddUpToTheirRooms)
{
    const auto available = testsupport::ifcOpenShellAvailable();
    ASSERT_EQ(available.exitCode, 0) << available.output;
    const std::vector<Vec2> lower{{2, 2}, {12, 2}, {12, 10}, {2, 10}};
    auto building = kovra_test::makeBuilding({lower, kovra_test::rectContour(14, 12)});
    auto set = kovra_test::makeRequirementSet(
        {kovra_test::makeRequirement(0, "Below", 70, 0), kovra_test::makeRequirement(1, "Above", 150, 1)});
    auto proposal = kovra_test::makeProposal(building, set, "Overhang");
    const auto rooms = proposal->getRooms();
    kovra_test::placeRoom(proposal, rooms[0], {2.26, 2.26}, {9.48, 7.48}, 0);
    kovra_test::placeRoom(proposal, rooms[1], {0.26, 0.26}, {13.48, 11.48}, 1);
    for (const auto& room : rooms)
        room->updateInnerContour();
    testsupport::TempFile file(".ifc");
    const auto warnings =
        exporttest::exportTo(file.path(), std::make_shared<bg::Project>("P"), proposal, bgexport::schemaIfc4);
    EXPECT_TRUE(warnings.empty()) << warnings.front();
    const auto report = exporttest::checkReport(file.path());
    std::map<std::string, double> elevation;
    for (const auto& storey : report["storeys"])
        elevation[storey["name"]] = storey["elevation"].get<double>();
    for (const auto& space : exporttest::productsOf(report, "IfcSpace")) {
        const double floorZ = elevation.at(space["aggregatedIn"].at(0).get<std::string>());
        const double ceilingZ = floorZ + 2.75;
        const double area = exporttest::valueOf(space, "BaseQuantities", "GrossFloorArea");
        double floor = 0.0, ceiling = 0.0;
        for (const auto& boundary : report["boundaries"]) {
            if (boundary["name"] != "2ndLevel" || boundary["relating"] != space["id"] ||
                boundary["zmax"].get<double>() - boundary["zmin"].get<double>() > 1e-9)
                continue;
            const double z = boundary["zmin"].get<double>();
            if (std::abs(z - floorZ) < 1e-6)
                floor += boundary["area"].get<double>();
            else if (std::abs(z - ceilingZ) < 1e-6)
                ceiling += boundary["area"].get<double>();
        }
        EXPECT_NEAR(floor, area, 1e-6) << space["name"];
        EXPECT_NEAR(ceiling, area, 1e-6) << space["name"];
    }
}

} // namespace

namespace {

// The upper storey's inner wall stands half a millimetre east of the lower
// one: where a space meets the other storey's wall, the overlap is a strip
// 0.5 mm wide. Such strips are no surfaces; they are left out and counted,
// with their area, in one warning.
TEST(SecondLevelBoundaries, SliversAreLeftOutAndCounted)
{
    auto building = kovra_test::makeRectBuilding(10, 8, 2);
    auto set = kovra_test::makeRequirementSet(
        {kovra_test::makeRequirement(0, "West", 36, 0), kovra_test::makeRequirement(1, "East", 35, 0),
         kovra_test::makeRequirement(2, "Up west", 36, 1), kovra_test::makeRequirement(3, "Up east", 35, 1)});
    auto proposal = kovra_test::makeProposal(building, set, "Slivers");
    const auto rooms = proposal->getRooms();
    kovra_test::placeRoom(proposal, rooms[0], {0.26, 0.26}, {4.8, 7.48}, 0);
    kovra_test::placeRoom(proposal, rooms[1], {5.06, 0.26}, {4.68, 7.48}, 0);
    kovra_test::placeRoom(proposal, rooms[2], {0.26, 0.26}, {4.8005, 7.48}, 1);
    kovra_test::placeRoom(proposal, rooms[3], {5.0605, 0.26}, {4.6795, 7.48}, 1);
    for (const auto& room : rooms)
        room->updateInnerContour();
    testsupport::TempFile file(".ifc");
    const auto warnings =
        exporttest::exportTo(file.path(), std::make_shared<bg::Project>("P"), proposal, bgexport::schemaIfc4);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("2 space boundary piece(s) narrower than 1 mm are left out, 0.00728 m2"),
              std::string::npos)
        << warnings[0];
}

} // namespace
