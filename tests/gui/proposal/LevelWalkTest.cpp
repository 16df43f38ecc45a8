// Floors far apart: the levels table and the all-levels plan walk the
// levels that exist, never every integer between the lowest and the highest
// (levels at the limits of int made that loop undefined, levels a million
// apart made it take seconds).

#include "proposal/FloorPlanView.h"
#include "proposal/ProposalRules.h"

#include "model/Bounds.h"
#include "model/Project.h"
#include "model/Proposal.h"
#include "support/FileSupport.h"
#include "support/ModelFixtures.h"

#include <gtest/gtest.h>

#include <climits>
#include <sstream>

namespace {

std::shared_ptr<bg::Building> buildingOn(const std::vector<int>& levels)
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
    return building;
}

std::string saveText(const bg::Project& project)
{
    std::stringstream out;
    project.saveToStream(out);
    return out.str();
}

struct WalkCase {
    const char* name;
    std::vector<int> levels;      // of the floors, in list order
    std::vector<int> planOrder;   // the plan's cells
    std::vector<int> tableLevels; // the table's rows
    bool readable;                // within the readers' range
};

const WalkCase walkCases[] = {
    {"ZeroAndHundredMillion", {0, 100000000}, {0, 100000000}, {100000000, 0}, false},
    {"IntLimits", {INT_MAX, INT_MIN}, {INT_MIN, INT_MAX}, {INT_MAX, INT_MIN}, false},
    {"LowestIntAndOneAbove", {INT_MIN, INT_MIN + 1}, {INT_MIN, INT_MIN + 1}, {INT_MIN + 1, INT_MIN}, false},
    {"EndsOfTheReadersRange", {bg::lowestLevel, 0, bg::highestLevel},
     {bg::lowestLevel, 0, bg::highestLevel}, {bg::highestLevel, 0, bg::lowestLevel}, true},
    {"TwoFloorsOnOneLevel", {0, 1, 1}, {0, 1}, {1, 1, 0}, false}, // the reader relinks such floors
};

class LevelWalk : public ::testing::TestWithParam<WalkCase> {};

TEST_P(LevelWalk, TableAndPlanHaveOneEntryPerFloorOrLevel)
{
    const WalkCase& row = GetParam();
    auto building = buildingOn(row.levels);
    auto set = kovra_test::makeRequirementSet({});
    auto proposal = kovra_test::makeProposal(building, set, "Villa");
    EXPECT_EQ(planLevels(*building), row.planOrder);
    EXPECT_EQ(levelsTableLevels(*proposal), row.tableLevels);
    const auto rows = levelRows(*proposal, 0.2);
    ASSERT_EQ(rows.size(), row.tableLevels.size());
    for (std::size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(rows[i][0], std::to_string(row.tableLevels[i]));
    if (!row.readable)
        return;
    bg::Project project("p");
    project.addBuilding(building);
    project.addRequirementSet(set);
    project.proposals.push_back(proposal);
    const std::string saved = saveText(project);
    const auto reopened = bg::Project::loadFromText(saved);
    EXPECT_EQ(kovra_test::maskIds(saveText(*reopened)), kovra_test::maskIds(saved)); // save, open again: equal
    EXPECT_EQ(levelsTableLevels(*reopened->proposals.front()), row.tableLevels);
}

INSTANTIATE_TEST_SUITE_P(Rows, LevelWalk, ::testing::ValuesIn(walkCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
