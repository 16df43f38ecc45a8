// The solver settings for the search before the first layout: in force after
// every model build unless switched off, ended by the first recorded layout
// (inside a solve as well as between the solve loop's slices), and with the
// model's variables and rows untouched. Layouts found with them pass the
// independent layout checker.

#include "support/LayoutChecker.h"
#include "support/LayouterSupport.h"
#include "support/ModelFixtures.h"

#include "layouter/FirstLayoutTuning.h"
#include "layouter/Layouter.h"
#include "layouter/SolveLoop.h"
#include "model/Proposal.h"

#include <gtest/gtest.h>
#include <scip/scip.h>

#include <atomic>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace kovra_test;

// Parameters that the tests and the solve loop set themselves, one that
// the solver switches itself while it solves, with or without the settings,
// and the completion of the start layout that a fixed-floor build sets.
const std::set<std::string> ownParameters = {"limits/time", "limits/solutions", "display/verblevel", "timing/clocktype",
                                             "propagating/genvbounds/timingmask",
                                             "heuristics/completesol/boundwidening"};

// Names of the parameters that differ from the solver's defaults, apart from
// the tests' own.
std::vector<std::string> changedParameters(SCIP* scip)
{
    std::vector<std::string> names;
    SCIP_PARAM** params = SCIPgetParams(scip);
    for (int i = 0; i < SCIPgetNParams(scip); ++i) {
        const std::string name = SCIPparamGetName(params[i]);
        if (!SCIPparamIsDefault(params[i]) && ownParameters.count(name) == 0)
            names.push_back(name);
    }
    return names;
}

std::string listed(const std::vector<std::string>& names)
{
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "" : ", ") + name;
    return text;
}

struct ModelCase {
    const char* label;
    int mode;
    // The proposal of the case: one floor of four rooms, or two floors with
    // two of the rooms on any floor for the floor-assignment model.
    std::shared_ptr<bg::Proposal> (*proposal)();
};

std::shared_ptr<bg::Proposal> oneFloor()
{
    return makeProposal(makeRectBuilding(9, 7),
                        makeRequirementSet({makeRequirement(0, "Living", 20), makeRequirement(1, "Kitchen", 12),
                                            makeRequirement(2, "Bed", 14), makeRequirement(3, "Bath", 6)}));
}

std::shared_ptr<bg::Proposal> twoFloorsAnyFloor()
{
    return makeProposal(makeRectBuilding(8, 6, 2),
                        makeRequirementSet({makeRequirement(0, "Living", 20, 0), makeRequirement(1, "Bed", 14, 1),
                                            makeRequirement(2, "Study", 10, bg::anyFloor),
                                            makeRequirement(3, "Store", 6, bg::anyFloor)}));
}

const ModelCase modelCases[] = {
    {"fixed-floor", fixedFloorMode, oneFloor},
    {"floor-assignment", floorAssignmentMode, twoFloorsAnyFloor},
};

class FirstLayoutTuningTest : public ::testing::TestWithParam<ModelCase> {
protected:
    void SetUp() override
    {
        proposal = GetParam().proposal();
        layouter = std::make_unique<Layouter>(proposal, 1);
        layouter->solutions = &history;
        layouter->mode = GetParam().mode;
    }

    void build()
    {
        ASSERT_EQ(layouter->buildModel(), SCIP_OKAY);
        SCIPsetIntParam(layouter->scip, "display/verblevel", 0);
    }

    std::shared_ptr<bg::Proposal> proposal;
    SolutionHistory history;
    std::unique_ptr<Layouter> layouter;
};

TEST_P(FirstLayoutTuningTest, IsInForceAfterEveryBuildByDefault)
{
    EXPECT_TRUE(layouter->tuneFirstLayout);
    build();
    EXPECT_TRUE(isFirstLayoutTuningActive(layouter->scip));
    EXPECT_FALSE(changedParameters(layouter->scip).empty());

    // A rebuild (as after "Reset") has the settings in force again.
    ASSERT_EQ(layouter->reset(), SCIP_OKAY);
    EXPECT_TRUE(isFirstLayoutTuningActive(layouter->scip));
}

TEST_P(FirstLayoutTuningTest, SwitchedOffTheSolverKeepsItsDefaults)
{
    layouter->tuneFirstLayout = false;
    build();
    EXPECT_FALSE(isFirstLayoutTuningActive(layouter->scip));
    EXPECT_TRUE(changedParameters(layouter->scip).empty()) << listed(changedParameters(layouter->scip));
}

TEST_P(FirstLayoutTuningTest, LeavesTheModelAsBuilt)
{
    layouter->tuneFirstLayout = false;
    build();
    const int vars = SCIPgetNOrigVars(layouter->scip);
    const int conss = SCIPgetNOrigConss(layouter->scip);
    const std::set<std::string> names = registryNames(*layouter);

    layouter->tuneFirstLayout = true;
    build();
    EXPECT_EQ(SCIPgetNOrigVars(layouter->scip), vars);
    EXPECT_EQ(SCIPgetNOrigConss(layouter->scip), conss);
    EXPECT_EQ(registryNames(*layouter), names);
}

// Inside one solve: the solve stops at its first solution, which the
// recorder has recorded, and by then the defaults are back.
TEST_P(FirstLayoutTuningTest, TheFirstRecordedLayoutEndsItWithinASolve)
{
    build();
    SCIPsetIntParam(layouter->scip, "limits/solutions", 1);
    solveFor(*layouter, 30.0);
    ASSERT_FALSE(history.empty()) << "no layout within 30 s";
    EXPECT_FALSE(isFirstLayoutTuningActive(layouter->scip));
    EXPECT_TRUE(changedParameters(layouter->scip).empty()) << listed(changedParameters(layouter->scip));
}

// Through the solve loop: after the slice in which the solver found its first
// layout (a held start may be on the page before) it runs with its defaults,
// and every recorded layout passes the checker.
TEST_P(FirstLayoutTuningTest, TheSolveLoopGoesOnWithTheDefaults)
{
    build();
    std::atomic<bool> stop{false};
    int slices = 0;
    bool activeAfterFirstLayout = true;
    runSolveLoop(*layouter, stop, [&] {
        ++slices;
        if (SCIPgetNSols(layouter->scip) > 0 && !stop) {
            activeAfterFirstLayout = isFirstLayoutTuningActive(layouter->scip);
            stop = true;
        }
        if (slices >= 30)
            stop = true;
    });
    ASSERT_FALSE(history.empty()) << "no layout within 30 slices";
    EXPECT_FALSE(activeAfterFirstLayout);
    EXPECT_TRUE(changedParameters(layouter->scip).empty()) << listed(changedParameters(layouter->scip));

    LayoutRules rules = rulesFor(*layouter);
    rules.separation = true;
    const auto problems = checkLayout(proposal, rules);
    EXPECT_TRUE(problems.empty()) << describe(problems);
}

INSTANTIATE_TEST_SUITE_P(Models, FirstLayoutTuningTest, ::testing::ValuesIn(modelCases),
                         [](const ::testing::TestParamInfo<ModelCase>& info) {
                             std::string name = info.param.label;
                             for (char& c : name)
                                 if (c == '-')
                                     c = '_';
                             return name;
                         });

} // namespace
