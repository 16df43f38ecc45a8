// The benchmark's case files under bench/data/: each still loads cleanly,
// still describes the case it stands for, and its model still builds.

#include "layouter/Layouter.h"
#include "model/Building.h"
#include "model/Project.h"
#include "model/Proposal.h"
#include "model/Requirement.h"

#include <gtest/gtest.h>
#include <scip/scip.h>

#include <cctype>
#include <string>

namespace {

struct FixtureCase {
    const char* file;
    std::size_t rooms;
    std::size_t floors;
    int anyFloorRooms;  // requirements of level -999: the floor-assignment model
    int stairRooms;
    std::size_t obstacles; // one per notch of a non-rectangular floor
};

class BenchFixtureTest : public ::testing::TestWithParam<FixtureCase> {};

TEST_P(BenchFixtureTest, LoadsAsItsCaseAndBuilds)
{
    const FixtureCase& c = GetParam();
    std::vector<std::string> warnings;
    const auto project = bg::Project::load(std::string(KOVRA_SOURCE_DIR) + "/bench/data/" + c.file, &warnings);
    EXPECT_TRUE(warnings.empty()) << warnings.front();
    ASSERT_EQ(project->proposals.size(), 1u);
    const std::shared_ptr<bg::Proposal> proposal = project->proposals.front();
    ASSERT_TRUE(proposal->building && proposal->requirementSet);
    EXPECT_EQ(proposal->building->getFloors().size(), c.floors);
    EXPECT_EQ(proposal->getLayouts().size(), c.floors);
    EXPECT_EQ(proposal->getRooms().size(), c.rooms);

    const auto& requirements = proposal->requirementSet->getRequirements();
    ASSERT_EQ(requirements.size(), c.rooms);
    int anyFloor = 0, stairs = 0;
    for (std::size_t i = 0; i < requirements.size(); ++i) {
        EXPECT_EQ(requirements[i]->getIndex(), static_cast<int>(i));
        anyFloor += requirements[i]->getLevel() == -999;
        stairs += requirements[i]->getRoomType() == "Stair";
    }
    EXPECT_EQ(anyFloor, c.anyFloorRooms);
    EXPECT_EQ(stairs, c.stairRooms);

    for (const int allowFreeSpace : {1, 0}) {
        Layouter layouter(proposal, allowFreeSpace);
        SolutionHistory history;
        layouter.solutions = &history;
        EXPECT_EQ(layouter.obstacles.size(), c.obstacles);
        // The model "Start" builds: floor assignment when a room may go on any floor.
        layouter.mode = c.anyFloorRooms > 0 ? floorAssignmentMode : fixedFloorMode;
        ASSERT_EQ(layouter.buildModel(), SCIP_OKAY) << "allowFreeSpace " << allowFreeSpace;
        EXPECT_GE(SCIPgetNOrigVars(layouter.scip), static_cast<int>(5 * c.rooms));
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, BenchFixtureTest,
                         ::testing::Values(FixtureCase{"01-studio.xsp", 4, 1, 0, 0, 0},
                                           FixtureCase{"02-house.xsp", 6, 1, 0, 0, 0},
                                           FixtureCase{"03-house-L.xsp", 6, 1, 0, 0, 1},
                                           FixtureCase{"04-stairs.xsp", 10, 2, 0, 2, 0},
                                           FixtureCase{"05-any-floor.xsp", 8, 2, 3, 0, 0},
                                           FixtureCase{"06-sixteen.xsp", 16, 1, 0, 0, 0}),
                         [](const ::testing::TestParamInfo<FixtureCase>& info) {
                             std::string name = info.param.file;
                             name = name.substr(0, name.find('.'));
                             for (char& ch : name)
                                 if (!std::isalnum(static_cast<unsigned char>(ch)))
                                     ch = '_';
                             return "File" + name;
                         });

} // namespace
