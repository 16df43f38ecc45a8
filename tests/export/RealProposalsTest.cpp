// The solved proposals (a one-floor house, an L-shaped floor, a two-storey
// house with stairs) exported in both schemas must pass IfcOpenShell's
// validation, and their geometry read back must match the plan.

#include "ExportSupport.h"

#include "geometry/LayoutGeometry.h"
#include "model/RoomGeometry.h"
#include "support/LayoutChecker.h"

#include <cmath>
#include <cstdlib>
#include <fstream>

namespace {

using exporttest::ExcusedRule;
using nlohmann::json;

const std::vector<ExcusedRule> excusedRules = {
    // Walls and slabs are written as standard cases, which must carry a
    // material layer set usage; the export relates no material.
    {"IFC4", "IfcWallStandardCase.HasMaterialLayerSetUsage"},
    {"IFC4", "IfcSlabStandardCase.HasMaterialLayerSetusage"},
    {"IFC2X3", "IfcWallStandardCase.WR1"},
    // The lighting and ventilation systems get their terminals with the
    // spaces.
    {"IFC2X3", "IfcSystem.IsGroupedBy"},
};

struct Fixture {
    const char* file;
    int floors;
};

const Fixture fixtures[] = {
    {"solved-house.xsp", 1},
    {"solved-house-L.xsp", 1},
    {"solved-stairs.xsp", 2},
};

struct Case {
    Fixture fixture;
    int schema;
    bool roundtrip;
};

std::vector<Case> allCases()
{
    std::vector<Case> cases;
    for (const Fixture& fixture : fixtures)
        for (int schema : {bgexport::schemaIfc4, bgexport::schemaIfc2x3})
            for (bool roundtrip : {false, true})
                cases.push_back({fixture, schema, roundtrip});
    return cases;
}

std::string caseName(const ::testing::TestParamInfo<Case>& info)
{
    std::string name = info.param.fixture.file;
    name = name.substr(0, name.find('.'));
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return name + "_" + exporttest::schemaName(info.param.schema) + (info.param.roundtrip ? "_roundtrip" : "");
}

class RealProposal : public ::testing::TestWithParam<Case> {
protected:
    void SetUp() override
    {
        const auto available = testsupport::ifcOpenShellAvailable();
        ASSERT_EQ(available.exitCode, 0) << "IfcOpenShell for python3 is needed:\n" << available.output;
        project = exporttest::loadSolved(GetParam().fixture.file);
        proposal = project->proposals.front();
        bgexport::ExportSettings settings;
        settings.enableRoundtrip = GetParam().roundtrip;
        warnings = exporttest::exportTo(path(), project, proposal, GetParam().schema, settings);
        if (const char* keep = std::getenv("KOVRA_KEEP_IFC"))
            std::ofstream(std::string(keep) + "-" + caseName({GetParam(), 0}) + ".ifc")
                << kovra_test::readText(path());
    }

    std::string path() const { return file.path(); }

    testsupport::TempFile file{".ifc"};
    std::shared_ptr<bg::Project> project;
    std::shared_ptr<bg::Proposal> proposal;
    std::vector<std::string> warnings;
};

TEST_P(RealProposal, FixtureIsASoundLayout)
{
    kovra_test::LayoutRules rules;
    rules.doors = true;
    EXPECT_TRUE(kovra_test::checkLayout(proposal, rules).empty())
        << kovra_test::describe(kovra_test::checkLayout(proposal, rules));
}

TEST_P(RealProposal, PassesValidation)
{
    EXPECT_EQ(exporttest::validationFailures(path(), exporttest::schemaName(GetParam().schema), excusedRules), "");
}

TEST_P(RealProposal, StoreysSlabsAndWallsMatchThePlan)
{
    const json report = exporttest::checkReport(path());
    const auto& building = proposal->building;
    const BuildingParameters& p = building->parameters;

    // Storeys: one per floor, top down, each aggregated by the building.
    ASSERT_EQ(report["storeys"].size(), static_cast<std::size_t>(GetParam().fixture.floors));
    int highest = building->maxLevel;
    for (const auto& storey : report["storeys"]) {
        const int level = highest--;
        EXPECT_EQ(storey["name"], level == 0 ? "EG" : std::to_string(level) + ".OG");
        EXPECT_EQ(storey["aggregatedBy"], json::array({"IfcBuilding"}));
    }

    std::map<std::string, std::shared_ptr<bg::Floor>> floorOf;
    for (const auto& floor : building->floors)
        floorOf[floor->level == 0 ? "EG" : std::to_string(floor->level) + ".OG"] = floor;

    // Slabs: volume = area x thickness; a roof only on the top storey.
    const std::string slabType = GetParam().schema == bgexport::schemaIfc4 ? "IfcSlabStandardCase" : "IfcSlab";
    std::map<std::string, int> roofs, slabsPerStorey;
    for (const auto& slab : exporttest::productsOf(report, slabType)) {
        ASSERT_TRUE(slab["volume"].is_number()) << slab.dump();
        EXPECT_EQ(slab["containedIn"].size(), 1u);
        const std::string storey = slab["storey"];
        const double t = exporttest::valueOf(slab, "BaseQuantities", "NominalWidth");
        const double area = exporttest::valueOf(slab, "BaseQuantities", "GrossArea");
        EXPECT_NEAR(slab["volume"].get<double>(), area * t, 1e-6) << slab.dump();
        EXPECT_GT(slab["volume"].get<double>(), 0.0);
        ++slabsPerStorey[storey];
        if (std::abs(t - p.roofSlab) < 1e-9 && slab["psets"]["Pset_SlabCommon"]["IsExternal"] == true &&
            slabsPerStorey[storey] == 1 && storey == report["storeys"][0]["name"])
            ++roofs[storey];
    }
    const std::string top = report["storeys"][0]["name"];
    EXPECT_EQ(slabsPerStorey[top], 2);
    EXPECT_EQ(roofs[top], 1);
    for (const auto& entry : slabsPerStorey)
        if (entry.first != top)
            EXPECT_EQ(entry.second, 1) << entry.first;

    // Walls: t x L x h; exterior walls one per contour edge, interior walls
    // one per centre line of the plan.
    std::map<std::string, int> exterior, interior;
    for (const auto& wall : exporttest::productsOf(report, "IfcWallStandardCase")) {
        ASSERT_TRUE(wall["volume"].is_number()) << wall.dump();
        EXPECT_EQ(wall["containedIn"].size(), 1u);
        const std::string storey = wall["storey"];
        const double length = exporttest::valueOf(wall, "BaseQuantities", "NominalLength");
        const double t = exporttest::valueOf(wall, "BaseQuantities", "NominalWidth");
        const double h = exporttest::valueOf(wall, "BaseQuantities", "NominalHeight");
        EXPECT_NEAR(h, floorOf.at(storey)->height, 1e-9);
        const bool isExterior = wall["name"] == "Exterior Wall";
        EXPECT_NEAR(t, isExterior ? p.outerWallStrength : p.innerWallStrength, 1e-9);
        const double openings = 0.0;
        EXPECT_NEAR(wall["volume"].get<double>(), t * length * h - openings, 1e-6) << wall.dump();
        ++(isExterior ? exterior : interior)[storey];
    }
    for (const auto& [storey, floor] : floorOf) {
        EXPECT_EQ(exterior[storey], static_cast<int>(floor->contour.size())) << storey;
        const std::vector<Vec2> inner = insetPolygon(floor->contour, p.outerWallStrength);
        std::vector<Segment> segments;
        for (const auto& room : proposal->getRooms())
            if (room->level == floor->level)
                for (const Segment& segment : roomInteriorEdges(inner, room))
                    segments.push_back(segment);
        double thickness = p.innerWallStrength;
        EXPECT_EQ(interior[storey], static_cast<int>(buildInteriorWalls(segments, inner, thickness).size()))
            << storey;
    }
}

INSTANTIATE_TEST_SUITE_P(Export, RealProposal, ::testing::ValuesIn(allCases()), caseName);

} // namespace
