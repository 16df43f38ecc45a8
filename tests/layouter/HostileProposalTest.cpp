// Proposals that careless or hostile files leave behind: outlines that are
// not finite or lie absurdly far away, and proposals whose building or
// requirement set the file lacks. Each is refused with the project's own
// error, never with the clipping library's exception or a crash.

#include "geometry/LayoutGeometry.h"
#include "layouter/Layouter.h"
#include "layouter/Validation.h"
#include "model/Project.h"
#include "support/ModelFixtures.h"

#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>

using namespace kovra_test;

namespace {

const double nan = std::numeric_limits<double>::quiet_NaN();

struct OutlineCase {
    const char* name;
    std::vector<Vec2> contour;
};

// Beyond the clipping's integer grid: about 2.3e12 for the insets, 2.3e10
// for the clipping of the obstacle complement.
const OutlineCase outlines[] = {
    {"NotANumber", {{0, 0}, {nan, 0}, {10, 8}, {0, 8}}},
    {"Infinite", {{0, 0}, {std::numeric_limits<double>::infinity(), 0}, {10, 8}, {0, 8}}},
    {"BeyondTheInsetGrid", {{0, 0}, {3e12, 0}, {2e12, 8}, {0, 8}}},
    {"BeyondTheClippingGrid", {{0, 0}, {5e10, 0}, {4e10, 8}, {0, 8}}},
};

class HostileOutline : public ::testing::TestWithParam<OutlineCase> {};

TEST_P(HostileOutline, ValidationReportsIt)
{
    auto proposal = makeProposal(makeRectBuilding(10, 8), makeRequirementSet({makeRequirement(0, "Living", 20)}));
    proposal->getBuilding()->getFloors().front()->contour = GetParam().contour;
    EXPECT_EQ(validateProposal(proposal).size(), 1u);
}

TEST_P(HostileOutline, ProposalAndLayouterRefuseItWithTheProjectsError)
{
    auto building = makeBuilding({GetParam().contour});
    auto set = makeRequirementSet({makeRequirement(0, "Living", 20)});
    EXPECT_THROW(bg::Proposal::create("P", building, set), GeometryError);

    auto proposal = bg::Proposal::create("P");
    proposal->building = building;
    proposal->requirementSet = set;
    EXPECT_THROW(Layouter(proposal, 0), GeometryError);
}

INSTANTIATE_TEST_SUITE_P(Cases, HostileOutline, ::testing::ValuesIn(outlines),
                         [](const ::testing::TestParamInfo<OutlineCase>& info) { return info.param.name; });

// A project whose proposal names a building and a requirement set that the
// file does not hold: it loads (with warnings), but cannot be optimised.
const char* const orphanProposal = R"(<project><name>p</name>
<proposal><name>P</name><requirement_set>s</requirement_set><building>b</building></proposal>
</project>)";

TEST(HostileProposal, LayouterRefusesAProposalWithoutBuildingOrSet)
{
    std::vector<std::string> warnings;
    auto project = bg::Project::loadFromText(orphanProposal, &warnings);
    EXPECT_EQ(warnings.size(), 2u);
    auto proposal = project->proposals.front();
    EXPECT_THROW(Layouter(proposal, 0), std::invalid_argument);

    proposal->building = makeRectBuilding(10, 8);
    try {
        Layouter layouter(proposal, 0);
        ADD_FAILURE() << "a proposal without a requirement set was taken";
    } catch (const std::invalid_argument& error) {
        EXPECT_STREQ(error.what(), "The proposal \"P\" has no requirement set; choose one before optimising it.");
    }
}

TEST(HostileProposal, ALayouterWhoseProposalLostItsBuildingBuildsNothing)
{
    auto proposal = makeProposal(makeRectBuilding(10, 8), makeRequirementSet({makeRequirement(0, "Living", 20)}));
    Layouter layouter(proposal, 0);
    proposal->building = nullptr;
    EXPECT_NE(layouter.reset(), SCIP_OKAY);
    SolutionHistory history;
    history.append({0.0, {}});
    layouter.solutions = &history;
    layouter.applyBestSolution();
}

} // namespace
