// First-level space boundaries on hand-placed floors: what each option
// combination writes, and an overhanging storey's open underside.

#include "ExportSupport.h"
#include "StoreyHarness.h"
#include "TwoRooms.h"

#include "support/ModelFixtures.h"

#include <cctype>

namespace {

using exporttest::TwoRooms;

struct Counts {
    int towardsSpaces = 0, towardsAir = 0, towardsEarth = 0, firstLevelEntities = 0, plainEntities = 0;
    bool operator==(const Counts& o) const
    {
        return towardsSpaces == o.towardsSpaces && towardsAir == o.towardsAir && towardsEarth == o.towardsEarth &&
               firstLevelEntities == o.firstLevelEntities && plainEntities == o.plainEntities;
    }
};

std::ostream& operator<<(std::ostream& out, const Counts& c)
{
    return out << "spaces " << c.towardsSpaces << ", Air " << c.towardsAir << ", Earth " << c.towardsEarth
               << ", first-level entities " << c.firstLevelEntities << ", plain " << c.plainEntities;
}

TEST(FirstLevelBoundaries, EachOptionCombinationValidatesWithItsBoundaries)
{
    const auto available = testsupport::ifcOpenShellAvailable();
    ASSERT_EQ(available.exitCode, 0) << available.output;
    // The two rooms: 2 slab faces and 4 wall faces each; an interior door
    // seen from both, the entrance door and the window from one room. Outside:
    // roof top and 4 edges, 4 outer wall faces, the ends of the south and north
    // walls, entrance door and window towards "Air"; base slab bottom and 4
    // edges towards "Earth".
    struct Row {
        bool firstLevel, external, ifc4Entity;
        Counts expected;
    };
    const Row rows[] = {
        {true, true, true, {16, 15, 5, 36, 0}},
        {true, true, false, {16, 15, 5, 0, 36}},
        {true, false, true, {16, 0, 0, 16, 0}},
        {false, true, true, {0, 0, 0, 0, 0}},
    };
    for (const Row& row : rows) {
        TwoRooms plan;
        bgexport::ExportSettings settings;
        settings.enableSpaceBoundary1st = row.firstLevel;
        settings.enableSpaceBoundary2nd = false;
        settings.enableExternalSpatialElement = row.external;
        settings.enableNewIfc4SpaceBoundary = row.ifc4Entity;
        testsupport::TempFile file(".ifc");
        exporttest::exportTo(file.path(), plan.project, plan.proposal, bgexport::schemaIfc4, settings);
        const std::string label = std::to_string(row.firstLevel) + std::to_string(row.external) +
                                  std::to_string(row.ifc4Entity);
        EXPECT_EQ(exporttest::validationFailures(file.path()), "")
            << label;
        const auto report = exporttest::checkReport(file.path());
        Counts counts;
        for (const auto& boundary : report["boundaries"]) {
            if (boundary["relatingName"] == "Air")
                ++counts.towardsAir;
            else if (boundary["relatingName"] == "Earth")
                ++counts.towardsEarth;
            else
                ++counts.towardsSpaces;
            ++(boundary["type"] == "IfcRelSpaceBoundary1stLevel" ? counts.firstLevelEntities : counts.plainEntities);
            EXPECT_GT(boundary["area"].get<double>(), 0.0) << label << boundary.dump();
            EXPECT_EQ(boundary["inElement"], true) << label << boundary.dump();
        }
        EXPECT_EQ(counts, row.expected) << label;
    }
}

TEST(FirstLevelBoundaries, OverhangingStoreyHasItsOpenUndersideAsOneFaceAroundAHole)
{
    const auto available = testsupport::ifcOpenShellAvailable();
    ASSERT_EQ(available.exitCode, 0) << available.output;
    const std::vector<Vec2> lower{{2, 2}, {12, 2}, {12, 10}, {2, 10}};
    auto building = kovra_test::makeBuilding({lower, kovra_test::rectContour(14, 12)});
    auto proposal = kovra_test::makeProposal(building, kovra_test::makeRequirementSet({}), "Overhang");
    testsupport::TempFile file(".ifc");
    exporttest::exportTo(file.path(), std::make_shared<bg::Project>("P"), proposal, bgexport::schemaIfc4);
    EXPECT_EQ(exporttest::validationFailures(file.path()), "");
    const auto report = exporttest::checkReport(file.path());
    int undersides = 0;
    for (const auto& boundary : report["boundaries"]) {
        const double z = boundary["zmin"].get<double>();
        // The upper floor slab's underside lies at the upper storey's
        // elevation less the slab's thickness.
        if (boundary["name"] == "1stLevel" && boundary["relatingName"] == "Air" && boundary["zmax"].get<double>() - z < 1e-9 &&
            std::abs(z - (building->floors.back()->elevation - 0.2)) < 1e-9) {
            ++undersides;
            EXPECT_NEAR(boundary["area"].get<double>(), 14.0 * 12.0 - 10.0 * 8.0, 1e-6);
        }
    }
    EXPECT_EQ(undersides, 1);
}

} // namespace

namespace {

TEST(FirstLevelBoundaries, WindowAndDoorThatNoRoomTouchesAreSkippedWithAWarning)
{
    exporttest::TwoRooms plan;
    exporttest::StoreyHarness harness(plan.building);
    auto& exporter = *harness.exporter;
    exporter.proposal = plan.proposal;
    const auto floor = plan.building->floors.front();
    harness.beginStorey(floor);
    exporter.writeExteriorWalls(floor);
    exporter.writeInteriorWalls(plan.proposal, floor);
    exporter.writeDoorsAndWindows(floor);
    ASSERT_EQ(exporter.windows.size(), 1u);
    exporter.settings->enableExternalSpatialElement = true;
    exporter.airElement = harness.writer.writeExternalSpatialElement("Air", 0);
    // No spaces written: no room recorded a face of any door or window.
    EXPECT_NO_THROW(exporter.writeFirstLevelWallBoundaries());
    EXPECT_NO_THROW(exporter.writeFirstLevelDoorBoundaries());
    EXPECT_NO_THROW(exporter.writeFirstLevelWindowBoundaries());
    EXPECT_NO_THROW(exporter.writeSecondLevelDoorBoundaries());
    EXPECT_NO_THROW(exporter.writeSecondLevelWindowBoundaries());
    int skipped = 0;
    for (const std::string& warning : exporter.warnings)
        skipped += warning.find("no room touches") != std::string::npos ? 1 : 0;
    EXPECT_EQ(skipped, 2); // the window and the entrance door
    // Neither has a boundary, not even one towards the air.
    std::vector<std::string> fillings;
    for (const auto& [entity, door] : exporter.doors)
        fillings.push_back("#" + std::to_string(entity->id));
    for (const auto& [entity, window] : exporter.windows)
        fillings.push_back("#" + std::to_string(entity->id));
    harness.step.flush();
    for (const auto& line : exporttest::dataLines(harness.out.str())) {
        if (line.name.rfind("IFCRELSPACEBOUNDARY", 0) != 0)
            continue;
        for (const std::string& filling : fillings) {
            const std::size_t at = line.attributes.find(filling);
            const bool names = at != std::string::npos &&
                               (at + filling.size() == line.attributes.size() ||
                                !std::isdigit(static_cast<unsigned char>(line.attributes[at + filling.size()])));
            EXPECT_FALSE(names) << line.name << "(" << line.attributes << ")";
        }
    }
}

} // namespace
