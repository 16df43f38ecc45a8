// The export's frame and its refusals: the file's header and order of
// storeys, true north and the site, what a failed export leaves behind, and
// that the user's settings survive every export.

#include "ExportSupport.h"

#include "model/Site.h"
#include "support/ModelFixtures.h"

#include <cmath>
#include <filesystem>

namespace {

using exporttest::dataLines;
using exporttest::linesNamed;

std::shared_ptr<bg::Project> projectWith(const std::shared_ptr<bg::Building>& building)
{
    auto project = std::make_shared<bg::Project>("Project");
    project->addBuilding(building);
    auto set = kovra_test::makeRequirementSet({});
    project->addRequirementSet(set);
    project->proposals.push_back(kovra_test::makeProposal(building, set, "Villa"));
    return project;
}

std::string exportText(const std::shared_ptr<bg::Project>& project, int schema = bgexport::schemaIfc4,
                       const bgexport::ExportSettings& settings = bgexport::ExportSettings())
{
    testsupport::TempFile file(".ifc");
    exporttest::exportTo(file.path(), project, project->proposals.front(), schema, settings);
    return kovra_test::readText(file.path());
}

int count(const std::string& text, const std::string& part)
{
    int n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

TEST(ExportFile, HasOneFrameAndTheHeaderFields)
{
    const std::string text = exportText(projectWith(kovra_test::makeRectBuilding(10, 8)));
    EXPECT_EQ(text.rfind("ISO-10303-21;\nHEADER;\n", 0), 0u);
    EXPECT_EQ(count(text, "ISO-10303-21;"), 2); // the opening line and END-ISO-10303-21;
    EXPECT_EQ(count(text, "HEADER;"), 1);
    EXPECT_EQ(count(text, "DATA;"), 1);
    EXPECT_NE(text.find("FILE_NAME('test.ifc'"), std::string::npos);
    EXPECT_NE(text.find("('Ada Architect'),('Tolm-Brix'),'Kovra Roomwright "), std::string::npos);
    EXPECT_NE(text.find("FILE_SCHEMA(('IFC4'));"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 26), "ENDSEC;\nEND-ISO-10303-21;\n");
}

// The true-north direction as written: (x, y) of the context's direction.
std::pair<double, double> trueNorth(const std::string& text)
{
    for (const auto& context : linesNamed(text, "IFCGEOMETRICREPRESENTATIONCONTEXT")) {
        const std::size_t at = context.attributes.rfind(",#");
        const std::uint64_t id = std::stoull(context.attributes.substr(at + 2));
        for (const auto& line : dataLines(text))
            if (line.id == id) {
                double x = 0, y = 0;
                std::sscanf(line.attributes.c_str(), "(%lf,%lf)", &x, &y);
                return {x, y};
            }
    }
    return {NAN, NAN};
}

TEST(ExportFile, TrueNorthFollowsTheSiteOrientation)
{
    struct Row {
        bool hasSite;
        double orientation;
        double x, y;
    };
    const Row rows[] = {{false, 0.0, 0.0, 1.0}, {true, 0.0, 0.0, 1.0}, {true, M_PI / 2, -1.0, 0.0}};
    for (const Row& row : rows) {
        auto building = kovra_test::makeRectBuilding(10, 8);
        auto project = projectWith(building);
        if (row.hasSite) {
            auto site = std::make_shared<bg::Site>();
            site->building = building;
            site->orientation = row.orientation;
            project->sites.push_back(site);
        }
        const auto north = trueNorth(exportText(project));
        EXPECT_NEAR(north.first, row.x, 1e-12) << row.hasSite << " " << row.orientation;
        EXPECT_NEAR(north.second, row.y, 1e-12) << row.hasSite << " " << row.orientation;
    }
}

TEST(ExportFile, SiteOfTheBuildingGivesLatitudeAndLongitudeTheLaterOneWinning)
{
    auto building = kovra_test::makeRectBuilding(10, 8);
    auto project = projectWith(building);
    for (double latitude : {10.0, 48.5}) {
        auto site = std::make_shared<bg::Site>();
        site->building = building;
        site->lat = latitude;
        site->lon = 11.25;
        project->sites.push_back(site);
    }
    auto elsewhere = std::make_shared<bg::Site>();
    elsewhere->building = kovra_test::makeRectBuilding(5, 5);
    elsewhere->lat = 1.0;
    project->sites.push_back(elsewhere);
    const auto sites = linesNamed(exportText(project), "IFCSITE");
    ASSERT_EQ(sites.size(), 1u);
    EXPECT_NE(sites[0].attributes.find("'Site Villa'"), std::string::npos);
    EXPECT_NE(sites[0].attributes.find("(48,30,0,0),(11,15,0,0)"), std::string::npos) << sites[0].attributes;
}

TEST(ExportFile, StoreysTopDownWithRoofOnTopAndBaseSlabAtTheBottom)
{
    const std::string text = exportText(projectWith(kovra_test::makeRectBuilding(10, 8, 3)));
    std::vector<std::string> order;
    for (const auto& line : dataLines(text)) {
        if (line.name == "IFCBUILDINGSTOREY")
            order.push_back(line.attributes.substr(line.attributes.find("',#") + 3).substr(0, 0) +
                            line.attributes.substr(line.attributes.find(",'") + 2, 4));
        if (line.name == "IFCSLABSTANDARDCASE")
            order.push_back(line.attributes.substr(line.attributes.rfind(",.") + 2));
    }
    const std::vector<std::string> expected = {"2.OG", "ROOF.", "FLOOR.", "1.OG", "FLOOR.", "EG',", "BASESLAB."};
    EXPECT_EQ(order, expected);
}

TEST(ExportFile, BasementIsNamedByItsLevel)
{
    auto building = std::make_shared<bg::Building>("Building");
    auto basement = std::make_shared<bg::Floor>(-1);
    basement->height = 2.5;
    basement->contour = kovra_test::rectContour(10, 8);
    building->setRoot(basement);
    building->addFloor(basement);
    auto ground = std::make_shared<bg::Floor>(0);
    ground->height = 2.75;
    ground->contour = kovra_test::rectContour(10, 8);
    building->addFloor(ground);
    const auto storeys = linesNamed(exportText(projectWith(building)), "IFCBUILDINGSTOREY");
    ASSERT_EQ(storeys.size(), 2u);
    EXPECT_NE(storeys[0].attributes.find("'EG'"), std::string::npos);
    EXPECT_NE(storeys[1].attributes.find("'-1.OG'"), std::string::npos);
}

TEST(ExportFile, BuildingWithoutFloorsHasTheFrameAndNoStorey)
{
    auto building = std::make_shared<bg::Building>("Empty");
    bgexport::ExportSettings settings;
    settings.enableRoundtrip = true;
    const std::string text = exportText(projectWith(building), bgexport::schemaIfc4, settings);
    EXPECT_EQ(linesNamed(text, "IFCPROJECT").size(), 1u);
    EXPECT_EQ(linesNamed(text, "IFCBUILDING").size(), 1u);
    EXPECT_EQ(linesNamed(text, "IFCBUILDINGSTOREY").size(), 0u);
    EXPECT_EQ(linesNamed(text, "IFCPROPERTYSET").size(), 1u); // the export profile
}

// What a refused or failed export leaves: an earlier file unchanged.
class Refusal : public ::testing::Test {
protected:
    void SetUp() override { kovra_test::writeText(target(), "earlier export\n"); }
    std::string target() const { return folder.file("proposal.ifc"); }
    kovra_test::ScratchFolder folder;
};

TEST_F(Refusal, UnsupportedSchemaLeavesTheFileAlone)
{
    auto project = projectWith(kovra_test::makeRectBuilding(10, 8));
    try {
        exporttest::exportTo(target(), project, project->proposals.front(), 2);
        FAIL() << "no exception";
    } catch (const std::logic_error& e) {
        EXPECT_STREQ(e.what(), "Unsupported IFC schema (no writer available).");
    }
    EXPECT_EQ(kovra_test::readText(target()), "earlier export\n");
}

TEST_F(Refusal, ProposalWithoutBuildingOrWithAGapInItsLevelsIsRefused)
{
    auto project = projectWith(kovra_test::makeRectBuilding(10, 8));
    auto bare = bg::Proposal::create("Bare");
    EXPECT_THROW(exporttest::exportTo(target(), project, bare, 1), std::runtime_error);

    auto building = kovra_test::makeRectBuilding(10, 8, 3);
    for (auto& floor : building->floors)
        if (floor->level == 1)
            floor->level = 5;
    auto gapped = projectWith(building);
    try {
        exporttest::exportTo(target(), gapped, gapped->proposals.front(), 1);
        FAIL() << "no exception";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("no floor on level 1"), std::string::npos) << e.what();
    }
    EXPECT_EQ(kovra_test::readText(target()), "earlier export\n");
}

TEST_F(Refusal, PathThatCannotBeWrittenIsReportedAndNothingIsCreated)
{
    auto project = projectWith(kovra_test::makeRectBuilding(10, 8));
    const std::string path = folder.file("missing/proposal.ifc");
    try {
        exporttest::exportTo(path, project, project->proposals.front(), 1);
        FAIL() << "no exception";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()), "Could not open file " + path);
    }
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(ExportSettingsRecord, ExportsLeaveTheUsersTicksAlone)
{
    auto project = projectWith(kovra_test::makeRectBuilding(10, 8));
    bgexport::ExportSettings* shared = bgexport::getExportSettings();
    const bgexport::ExportSettings before = *shared;
    for (int schema : {bgexport::schemaIfc4, bgexport::schemaIfc2x3}) {
        testsupport::TempFile file(".ifc");
        bgexport::IfcExporter exporter(schema);
        exporter.settings = shared;
        exporter.write(file.path(), project, project->proposals.front(), "Ada");
        bgexport::ExportSettings given;
        exporttest::exportTo(file.path(), project, project->proposals.front(), schema, given);
        EXPECT_TRUE(given.enableDoorStyles && given.enableWindowStyles && given.enableLayerColor);
    }
    EXPECT_TRUE(shared->enableDoorStyles);
    EXPECT_TRUE(shared->enableWindowStyles);
    EXPECT_TRUE(shared->enableLayerColor);
    EXPECT_EQ(shared->enableLayerColor, before.enableLayerColor);
}

TEST(ExportSettingsRecord, IfcFourWritesNoLayersAndNoElementTypes)
{
    auto project = projectWith(kovra_test::makeRectBuilding(10, 8));
    const std::string ifc4 = exportText(project, bgexport::schemaIfc4);
    EXPECT_EQ(linesNamed(ifc4, "IFCPRESENTATIONLAYERWITHSTYLE").size(), 0u);
    EXPECT_EQ(linesNamed(ifc4, "IFCDOORTYPE").size(), 0u);
    EXPECT_EQ(linesNamed(ifc4, "IFCWINDOWTYPE").size(), 0u);
    const std::string ifc2x3 = exportText(project, bgexport::schemaIfc2x3);
    EXPECT_GT(linesNamed(ifc2x3, "IFCPRESENTATIONLAYERWITHSTYLE").size(), 0u);
    EXPECT_EQ(linesNamed(ifc2x3, "IFCDOORSTYLE").size(), 0u);
}

TEST(ExportFile, TwoExportsOfOneProposalDifferOnlyInIdsAndTime)
{
    auto project = exporttest::loadSolved("solved-stairs.xsp");
    auto mask = [](std::string text) {
        static const std::regex globalId(R"re('[0-3][0-9a-zA-Z_$]{21}')re");
        static const std::regex time(R"re('\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d')re");
        static const std::regex stamp(R"re(,\d{9,}\);)re");
        return std::regex_replace(std::regex_replace(std::regex_replace(text, globalId, "G"), time, "T"), stamp,
                                  ",S);");
    };
    EXPECT_EQ(mask(exportText(project)), mask(exportText(project)));
}

} // namespace
