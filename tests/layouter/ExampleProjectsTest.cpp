// The example projects under examples/: each file is what its builder writes,
// opens without a warning, builds the model "Start" builds and yields a sound
// layout after a short solve.
//
// To write the files again after changing an example (every save hands out
// new ids, so the files change as a whole):
//   KOVRA_WRITE_EXAMPLES=examples build/.../tests/test_layouter --gtest_filter='Example*'
// from the repository's top folder.

#include "layouter/Layouter.h"
#include "model/Building.h"
#include "model/Constants.h"
#include "model/Project.h"
#include "model/Proposal.h"
#include "model/Requirement.h"
#include "support/ExampleProjects.h"
#include "support/FileSupport.h"
#include "support/LayoutChecker.h"
#include "support/LayouterSupport.h"

#include <gtest/gtest.h>
#include <scip/scip.h>

#include <cctype>
#include <map>
#include <set>
#include <vector>
#include <cstdlib>
#include <sstream>
#include <string>

namespace {

using namespace kovra_test;

// The solver's time limit per example: only a bound. The solve stops at the
// first recorded layout; the test asserts nothing about when that comes.
constexpr double kSeconds = 60.0;

std::string examplePath(const std::string& file)
{
    return std::string(KOVRA_SOURCE_DIR) + "/examples/" + file;
}

class ExampleProjectTest : public ::testing::TestWithParam<ExampleInfo> {};

TEST_P(ExampleProjectTest, FileIsWhatItsBuilderWrites)
{
    const std::string file = GetParam().file;
    const auto project = makeExampleProject(file);
    if (const char* folder = std::getenv("KOVRA_WRITE_EXAMPLES"))
        project->saveToFile(std::string(folder) + "/" + file);
    std::stringstream written;
    project->saveToStream(written);
    EXPECT_EQ(maskIds(readText(examplePath(file))), maskIds(written.str()))
        << file << " differs from its builder; write it again (see the top of this file)";
}

TEST_P(ExampleProjectTest, OpensBuildsAndSolvesToASoundLayout)
{
    const std::string file = GetParam().file;
    std::vector<std::string> warnings;
    const auto project = bg::Project::load(examplePath(file), &warnings);
    EXPECT_TRUE(warnings.empty()) << warnings.front();
    ASSERT_EQ(project->buildings.size(), 1u);
    ASSERT_EQ(project->requirementSets.size(), 1u);
    ASSERT_EQ(project->proposals.size(), 1u);
    const auto proposal = project->proposals.front();
    ASSERT_EQ(proposal->building, project->buildings.front());
    ASSERT_EQ(proposal->requirementSet, project->requirementSets.front());
    ASSERT_EQ(proposal->getRooms().size(), proposal->requirementSet->getRequirements().size());
    for (const auto& room : proposal->getRooms())
        EXPECT_EQ(room->size.x * room->size.y, 0.0) << file << ": the proposal is meant unsolved";

    bool anyFloorRoom = false;
    for (const auto& requirement : proposal->requirementSet->getRequirements())
        anyFloorRoom = anyFloorRoom || requirement->getLevel() == bg::anyFloor;

    // As "Start" with "Fill All" off: rooms may leave space free.
    Layouter layouter(proposal, 1);
    SolutionHistory history;
    layouter.solutions = &history;
    layouter.mode = anyFloorRoom ? floorAssignmentMode : fixedFloorMode;
    ASSERT_EQ(layouter.buildModel(), SCIP_OKAY) << file;
    SCIPsetIntParam(layouter.scip, "limits/solutions", 1);
    solveFor(layouter, kSeconds);
    ASSERT_FALSE(history.empty()) << file << ": no layout within " << kSeconds << " s of solving";
    layouter.applyBestSolution();

    LayoutRules rules = rulesFor(layouter);
    rules.facades = true;
    rules.doors = true;
    const auto problems = checkLayout(proposal, rules);
    EXPECT_TRUE(problems.empty()) << file << ":\n" << describe(problems);
}

TEST_P(ExampleProjectTest, EveryRoomCanBeEnteredFromTheEntrance)
{
    const std::string file = GetParam().file;
    const auto project = bg::Project::load(examplePath(file));
    const auto& requirements = project->requirementSets.front()->getRequirements();
    // Doors join rooms both ways; the stair rooms of all floors are one stair.
    std::map<int, std::set<int>> joined;
    std::vector<int> stairs;
    std::vector<int> reached;
    for (const auto& requirement : requirements) {
        for (int other : requirement->connectedIndices()) {
            joined[requirement->index].insert(other);
            joined[other].insert(requirement->index);
        }
        if (requirement->roomType == "Stair")
            stairs.push_back(requirement->index);
        if (requirement->roomType == "Entrance")
            reached.push_back(requirement->index);
    }
    for (int stair : stairs)
        joined[stair].insert(stairs.begin(), stairs.end());
    ASSERT_FALSE(reached.empty()) << file << " has no entrance";
    std::set<int> seen(reached.begin(), reached.end());
    while (!reached.empty()) {
        const int room = reached.back();
        reached.pop_back();
        for (int next : joined[room])
            if (seen.insert(next).second)
                reached.push_back(next);
    }
    for (const auto& requirement : requirements)
        EXPECT_TRUE(seen.count(requirement->index)) << file << ": " << requirement->name << " has no way in";
}

INSTANTIATE_TEST_SUITE_P(Examples, ExampleProjectTest, ::testing::ValuesIn(examples()),
                         [](const ::testing::TestParamInfo<ExampleInfo>& info) {
                             std::string name = info.param.file;
                             name = name.substr(0, name.find('.'));
                             std::string result;
                             for (char ch : name)
                                 if (std::isalnum(static_cast<unsigned char>(ch)))
                                     result += ch;
                             return result;
                         });

} // namespace
