// Floors at any level the model can hold, down to the limits of int: the
// export writes one storey per floor or names the gap, and never counts past
// the limits. The readers keep levels within a range; at its ends a project
// saves, opens again and exports the same.

#include "ExportSupport.h"

#include "model/Bounds.h"
#include "support/FileSupport.h"
#include "support/ModelFixtures.h"

#include <climits>
#include <sstream>

namespace {

using exporttest::linesNamed;

std::shared_ptr<bg::Project> projectOnLevels(const std::vector<int>& levels)
{
    auto building = std::make_shared<bg::Building>("Building");
    for (int level : levels) {
        auto floor = std::make_shared<bg::Floor>(level);
        floor->height = 2.75;
        floor->contour = kovra_test::rectContour(10, 8);
        if (!building->root)
            building->setRoot(floor);
        building->addFloor(floor);
    }
    auto project = std::make_shared<bg::Project>("Project");
    project->addBuilding(building);
    auto set = kovra_test::makeRequirementSet({});
    project->addRequirementSet(set);
    project->proposals.push_back(kovra_test::makeProposal(building, set, "Villa"));
    return project;
}

std::string exportText(const std::shared_ptr<bg::Project>& project, int schema)
{
    bgexport::ExportSettings settings;
    settings.enableRoundtrip = true; // a plan context per storey
    bgexport::IfcExporter exporter(schema);
    exporter.settings = &settings;
    return exporter.fileText(project, project->proposals.front(), "Ada Architect");
}

std::vector<std::string> storeyNames(const std::string& text)
{
    std::vector<std::string> names;
    for (const auto& line : linesNamed(text, "IFCBUILDINGSTOREY")) {
        const auto start = line.attributes.find(",'") + 2;
        names.push_back(line.attributes.substr(start, line.attributes.find('\'', start) - start));
    }
    return names;
}

std::string saveText(const bg::Project& project)
{
    std::stringstream out;
    project.saveToStream(out);
    return out.str();
}

struct LevelCase {
    const char* name;
    std::vector<int> levels;
    std::vector<std::string> storeys; // top down; empty when refused
    const char* refusal;              // part of the message, or nullptr
};

const LevelCase levelCases[] = {
    {"LowestIntAndOneAbove", {INT_MIN, INT_MIN + 1}, {"-2147483647.OG", "-2147483648.OG"}, nullptr},
    {"SingleFloorAtLowestInt", {INT_MIN}, {"-2147483648.OG"}, nullptr},
    {"SingleFloorAtHighestInt", {INT_MAX}, {"2147483647.OG"}, nullptr},
    {"HighestIntAndOneBelow", {INT_MAX - 1, INT_MAX}, {"2147483647.OG", "2147483646.OG"}, nullptr},
    {"BothLimits", {INT_MIN, INT_MAX}, {}, "no floor on level -2147483647;"},
    {"ZeroAndHighestInt", {0, INT_MAX}, {}, "no floor on level 1;"},
    {"TwoOnTheLowestLevel", {INT_MIN, INT_MIN}, {"-2147483648.OG"}, nullptr},
};

class LevelLimits : public ::testing::TestWithParam<LevelCase> {};

TEST_P(LevelLimits, EveryFloorIsOneStoreyOrTheGapIsNamed)
{
    const LevelCase& row = GetParam();
    for (int schema : {bgexport::schemaIfc4, bgexport::schemaIfc2x3}) {
        const auto project = projectOnLevels(row.levels);
        if (row.refusal) {
            try {
                exportText(project, schema);
                FAIL() << "no exception";
            } catch (const std::runtime_error& e) {
                EXPECT_NE(std::string(e.what()).find(row.refusal), std::string::npos) << e.what();
            }
            continue;
        }
        const std::string text = exportText(project, schema);
        EXPECT_EQ(storeyNames(text), row.storeys) << "schema " << schema;
        EXPECT_EQ(linesNamed(text, "IFCWALLSTANDARDCASE").size() + linesNamed(text, "IFCWALL").size(),
                  4u * row.storeys.size())
            << "schema " << schema;
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, LevelLimits, ::testing::ValuesIn(levelCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The readers' range: its ends save, open again and export the same; one
// past either end is refused with the level named.
TEST(LevelRange, EndsOfTheRangeSaveOpenAgainAndExportEqual)
{
    for (const std::vector<int>& levels : {std::vector<int>{bg::lowestLevel, bg::lowestLevel + 1},
                                           std::vector<int>{bg::highestLevel - 1, bg::highestLevel}}) {
        const auto project = projectOnLevels(levels);
        const std::string saved = saveText(*project);
        const auto reopened = bg::Project::loadFromText(saved);
        EXPECT_EQ(kovra_test::maskIds(saveText(*reopened)), kovra_test::maskIds(saved)); // save, open again: equal
        EXPECT_EQ(storeyNames(exportText(reopened, bgexport::schemaIfc4)),
                  storeyNames(exportText(project, bgexport::schemaIfc4)));
    }
    for (int level : {bg::lowestLevel - 1, bg::highestLevel + 1, INT_MIN, INT_MAX}) {
        const std::string saved = saveText(*projectOnLevels({level}));
        try {
            bg::Project::loadFromText(saved);
            FAIL() << "level " << level << " was read";
        } catch (const std::exception& e) {
            EXPECT_NE(std::string(e.what()).find("level " + std::to_string(level) + " lies outside -100000 to 100000"),
                      std::string::npos)
                << e.what();
        }
    }
}

} // namespace
