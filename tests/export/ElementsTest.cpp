// Slabs, walls and their connections on small hand-made floors, with the
// numbers worked out by hand.

#include "ExportSupport.h"
#include "StoreyHarness.h"

#include "support/ModelFixtures.h"

#include <cmath>

namespace {

using exporttest::StoreyHarness;

bool near(const Vec2& a, const Vec2& b)
{
    return std::hypot(a.x - b.x, a.y - b.y) < 1e-9;
}

TEST(OverlapSegments, CommonPartOfTwoSegmentsOnOneLine)
{
    struct Row {
        std::vector<Vec2> a, b;
        bool overlaps;
        std::vector<Vec2> out;
    };
    const Row rows[] = {
        {{{0, 0}, {10, 0}}, {{5, 5e-5}, {15, 5e-5}}, true, {{5, 0}, {10, 0}}},
        {{{0, 0}, {10, 0}}, {{10, 0}, {20, 0}}, false, {}},     // end to end
        {{{0, 0}, {10, 0}}, {{0, 0.5}, {10, 0.5}}, false, {}},  // parallel lines
        {{{3, 0}, {3, 4}}, {{3 + 5e-5, 2}, {3 + 5e-5, 9}}, true, {{3, 2}, {3, 4}}},
        {{{0, 0}, {10, 0}}, {{5, 0}, {5, 3}}, false, {}},       // crossing
        {{{10, 0}, {0, 0}}, {{2, 0}, {4, 0}}, true, {{2, 0}, {4, 0}}},
        {{{0, 0}, {10, 0}}, {{5, 0}, {5 + 5e-5, 0}}, true, {{5, 0}, {5 + 5e-5, 0}}},
    };
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        std::vector<Vec2> out{{99, 99}};
        EXPECT_EQ(bgexport::overlapSegments(rows[i].a, rows[i].b, out), rows[i].overlaps) << "row " << i;
        ASSERT_EQ(out.size(), rows[i].out.size()) << "row " << i;
        for (std::size_t k = 0; k < out.size(); ++k)
            EXPECT_TRUE(near(out[k], rows[i].out[k])) << "row " << i << " point " << k;
    }
}

// The exterior walls of one floor, by the direction they run in.
std::map<std::string, const bgexport::WallRecord*> wallsByHeading(bgexport::IfcStoryExporter& exporter)
{
    std::map<std::string, const bgexport::WallRecord*> result;
    for (const auto& [entity, wall] : exporter.walls) {
        const std::string heading = wall.direction.x > 0.5    ? "east-going"
                                    : wall.direction.x < -0.5 ? "west-going"
                                    : wall.direction.y > 0.5  ? "north-going"
                                                              : "south-going";
        result[heading] = &wall;
    }
    return result;
}

TEST(ExteriorWalls, RectangleWallsRunThroughOrBetweenTheCornersAndConnect)
{
    auto building = kovra_test::makeRectBuilding(10, 8);
    StoreyHarness harness(building);
    harness.beginStorey(building->floors.front());
    harness.exporter->writeExteriorWalls(building->floors.front());
    harness.exporter->connectWalls();
    auto walls = wallsByHeading(*harness.exporter);
    ASSERT_EQ(walls.size(), 4u);
    const auto& south = *walls.at("east-going");
    const auto& east = *walls.at("north-going");
    const auto& north = *walls.at("west-going");
    const auto& west = *walls.at("south-going");
    EXPECT_NEAR(south.length, 10.0, 1e-9);
    EXPECT_NEAR(north.length, 10.0, 1e-9);
    EXPECT_NEAR(east.length, 7.28, 1e-9);
    EXPECT_NEAR(west.length, 7.28, 1e-9);
    const Vec2 corners[] = {{0, 0}, {0, 0.36}, {10, 0.36}, {10, 0}};
    for (int k = 0; k < 4; ++k)
        EXPECT_TRUE(near(south.corners[k], corners[k])) << k;
    // South end / east start, east end / north start, and so on round.
    EXPECT_EQ(south.endConnection, 4);
    EXPECT_EQ(east.startConnection, 3);
    EXPECT_EQ(east.endConnection, 3);
    EXPECT_EQ(north.startConnection, 4);
    EXPECT_EQ(north.endConnection, 4);
    EXPECT_EQ(west.startConnection, 3);
    EXPECT_EQ(west.endConnection, 3);
    EXPECT_EQ(south.startConnection, 4);
}

TEST(ExteriorWalls, LShapeConnectsItsInnerCornerWithCodesOneAndTwo)
{
    auto building = kovra_test::makeLShapedBuilding(13, 11, 4, 4, 2);
    StoreyHarness harness(building);
    for (const auto& floor : building->floors) {
        harness.beginStorey(floor);
        harness.exporter->writeExteriorWalls(floor);
    }
    harness.exporter->connectWalls();
    std::map<int, int> ends, starts;
    for (const auto& [entity, wall] : harness.exporter->walls) {
        ++ends[wall.endConnection];
        ++starts[wall.startConnection];
    }
    // Per storey: one concave corner, where the west-going wall ends (2) on
    // the north-going one's start (1), and five convex ones (3 and 4); the
    // storeys never connect to each other.
    EXPECT_EQ(ends, (std::map<int, int>{{2, 2}, {3, 6}, {4, 4}}));
    EXPECT_EQ(starts, (std::map<int, int>{{1, 2}, {3, 4}, {4, 6}}));
}

TEST(Walls, CentreLineShorterThanATenthOfAMillimetreIsSkippedWithAWarning)
{
    auto building = kovra_test::makeRectBuilding(10, 8);
    StoreyHarness harness(building);
    harness.beginStorey(building->floors.front());
    EXPECT_EQ(harness.exporter->writeWall({{1, 1}, {1, 1 + 5e-5}}, 0.2, "L", 0, "Interior Wall"), nullptr);
    EXPECT_TRUE(harness.exporter->walls.empty());
    ASSERT_EQ(harness.exporter->warnings.size(), 1u);
    EXPECT_NE(harness.exporter->warnings[0].find("Interior Wall"), std::string::npos);
}

TEST(Slabs, FloorSlabCoversTheFloorBelowAndKeepsOnlyThePartJoiningItsOwn)
{
    struct Row {
        std::vector<Vec2> lower, upper;
        double area;
        std::size_t warnings;
    };
    const Row rows[] = {
        {kovra_test::rectContour(12, 10), kovra_test::rectContour(10, 8), 120.0, 0},
        {{{20, 0}, {25, 0}, {25, 5}, {20, 5}}, kovra_test::rectContour(10, 8), 80.0, 1},
    };
    for (const Row& row : rows) {
        auto building = kovra_test::makeBuilding({row.lower, row.upper});
        StoreyHarness harness(building);
        auto upper = building->floors.back();
        harness.beginStorey(upper);
        harness.exporter->writeSlab(0, 0.0, upper);
        ASSERT_EQ(harness.exporter->slabs.size(), 1u);
        const auto& record = harness.exporter->slabs.begin()->second;
        EXPECT_NEAR(std::fabs(twiceSignedArea(record.outline)) / 2.0, row.area, 1e-9);
        EXPECT_LT(twiceSignedArea(record.outline), 0.0); // kept clockwise
        EXPECT_EQ(harness.exporter->warnings.size(), row.warnings);
    }
}

TEST(Slabs, QuantitiesAndPlacementOfWorkedFloors)
{
    const auto available = testsupport::ifcOpenShellAvailable();
    ASSERT_EQ(available.exitCode, 0) << available.output;
    auto building = kovra_test::makeRectBuilding(10, 8, 2);
    auto project = std::make_shared<bg::Project>("P");
    auto set = kovra_test::makeRequirementSet({});
    auto proposal = kovra_test::makeProposal(building, set);
    testsupport::TempFile file(".ifc");
    exporttest::exportTo(file.path(), project, proposal, bgexport::schemaIfc4);
    const auto report = exporttest::checkReport(file.path());

    bool sawFloorSlab = false, sawRoof = false, sawSouthWall = false;
    for (const auto& slab : exporttest::productsOf(report, "IfcSlabStandardCase")) {
        if (std::abs(exporttest::valueOf(slab, "BaseQuantities", "NominalWidth") - 0.2) < 1e-9) {
            sawFloorSlab = true;
            EXPECT_NEAR(exporttest::valueOf(slab, "BaseQuantities", "Perimeter"), 36.0, 1e-9);
            EXPECT_NEAR(exporttest::valueOf(slab, "BaseQuantities", "GrossArea"), 80.0, 1e-9);
            EXPECT_NEAR(exporttest::valueOf(slab, "BaseQuantities", "GrossVolume"), 16.0, 1e-9);
            EXPECT_EQ(slab["psets"]["Pset_SlabCommon"]["IsExternal"], false);
        }
        if (std::abs(exporttest::valueOf(slab, "BaseQuantities", "NominalWidth") - 0.35) < 1e-9) {
            sawRoof = true;
            EXPECT_EQ(slab["storey"], "1.OG");
        }
    }
    for (const auto& wall : exporttest::productsOf(report, "IfcWallStandardCase")) {
        if (wall["name"] != "Exterior Wall" ||
            std::abs(exporttest::valueOf(wall, "BaseQuantities", "NominalLength") - 10.0) > 1e-9)
            continue;
        sawSouthWall = true;
        EXPECT_NEAR(exporttest::valueOf(wall, "BaseQuantities", "NominalWidth"), 0.36, 1e-9);
        EXPECT_NEAR(exporttest::valueOf(wall, "BaseQuantities", "NominalHeight"), 2.75, 1e-9);
        EXPECT_NEAR(exporttest::valueOf(wall, "BaseQuantities", "GrossSideArea"), 27.5, 1e-9);
        EXPECT_NEAR(exporttest::valueOf(wall, "BaseQuantities", "GrossVolume"), 9.9, 1e-9);
        EXPECT_EQ(wall["psets"]["Pset_WallCommon"]["IsExternal"], true);
    }
    EXPECT_TRUE(sawFloorSlab && sawRoof && sawSouthWall);

    // The roof slab lies on top of the storey: placed at height + thickness,
    // its body reaching down by its thickness.
    const std::string text = kovra_test::readText(file.path());
    EXPECT_NE(text.find("IFCCARTESIANPOINT((0.,0.,3.1000000000000001));"), std::string::npos);
}

TEST(ExportSettingsValues, DefaultsAndDialogOrder)
{
    const bgexport::ExportSettings settings;
    int ticked = 0;
    for (const auto& flag : bgexport::settingsFlags())
        ticked += settings.*(flag.flag) ? 1 : 0;
    EXPECT_EQ(ticked, 13); // all but "Material" and "Roundtrip"
    EXPECT_FALSE(settings.enableMaterial);
    EXPECT_FALSE(settings.enableRoundtrip);
    EXPECT_STREQ(bgexport::settingsFlags().front().label, "Door Style");
    EXPECT_STREQ(bgexport::settingsFlags().back().label, "External Space");
    EXPECT_EQ(bgexport::formatUValue(settings.doorUValue), "1.00");
    EXPECT_EQ(settings.scales.at(settings.scaleFactor), 100);
    EXPECT_EQ(bgexport::getExportSettings(), bgexport::getExportSettings());
}

TEST(ExportSettingsValues, FieldsAreParsedAllOrNothing)
{
    struct Row {
        std::array<std::string, 7> texts;
        std::string errorStart; // "" when every field is good
        double door;
    };
    const Row rows[] = {
        {{"0.5", "0.6", "0.7", "0.8", "0.9", "0.356", "1.5 W/m2K"}, "", 0.356},
        {{"0.5", "0.6", "0.7", "0.8", "0.9", "", "1.1"}, "Door u value", 1.0},
        {{"0.5", "-", "0.7", "0.8", "0.9", "1", "1"}, "Floor slab u value", 1.0},
        {{"0.5", "0.6", "0.7", "0.8", "0.9", "1", "1e999"}, "Window u value", 1.0},
        {{"-0.5", "0.6", "0.7", "0.8", "0.9", "1", "1"}, "Base slab u value", 1.0},
    };
    for (const Row& row : rows) {
        bgexport::ExportSettings settings;
        const std::string error = bgexport::parseUValues(row.texts, settings);
        EXPECT_EQ(error.substr(0, row.errorStart.size()), row.errorStart) << error;
        EXPECT_EQ(error.empty(), row.errorStart.empty()) << error;
        EXPECT_DOUBLE_EQ(settings.doorUValue, row.door);
        if (!error.empty()) {
            EXPECT_DOUBLE_EQ(settings.baseSlabUValue, 1.0); // nothing stored
        } else {
            EXPECT_DOUBLE_EQ(settings.windowUValue, 1.5);
        }
    }
}

} // namespace
