// The fixed-floor model: what a build leaves in the solver and the registry,
// and layouts solved by SCIP under a short time limit, checked by the
// independent layout checker.

#include "layouter/EventhdlrNewSol.h"
#include "layouter/Layouter.h"
#include "support/LayoutChecker.h"
#include "support/LayouterSupport.h"
#include "support/ModelFixtures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <scip/cons_nonlinear.h>

#include <stdexcept>

using namespace kovra_test;

namespace {

// Solver time per case: enough for these small models to find a layout; the
// tests never depend on how fast.
constexpr double kSeconds = 5.0;

std::shared_ptr<bg::Proposal> threeRooms()
{
    return makeProposal(makeRectBuilding(10, 8),
                        makeRequirementSet({makeRequirement(0, "Living", 20), makeRequirement(1, "Kitchen", 12),
                                            makeRequirement(2, "Bath", 6)}));
}

TEST(FixedFloorModelTest, RegistersFiveVariablesPerRoomAndTheObjective)
{
    Layouter layouter(threeRooms(), 1);
    ASSERT_EQ(layouter.buildFixedFloorModel(), SCIP_OKAY);
    EXPECT_STREQ(SCIPgetProbName(layouter.scip), "SCIP_Roomwright");
    for (int i = 0; i < 3; ++i)
        for (const char* prefix : {"x", "y", "l", "w", "z"})
            EXPECT_EQ(layouter.variables.count(std::string(prefix) + "__" + std::to_string(i) + "_"), 1u);
    EXPECT_EQ(layouter.variables.count("Constant"), 1u);
    EXPECT_EQ(layouter.variables.count("Quadobj"), 1u);
    for (const auto& [name, var] : layouter.variables)
        EXPECT_EQ(SCIPfindVar(layouter.scip, name.c_str()), var) << name;

    // Default walls: l runs from minLength + 0.2 to maxLength + 0.2, and the
    // shape row (l − t)(w − t) = z has both sides −t².
    const auto [minLength, maxLength] = layouter.requirementSet->getRequirements()[0]->getLengthRange();
    SCIP_VAR* l = layouter.variables.at("l__0_");
    EXPECT_NEAR(SCIPvarGetLbOriginal(l), minLength + 0.2, 1e-12);
    EXPECT_NEAR(SCIPvarGetUbOriginal(l), maxLength + 0.2, 1e-12);
    SCIP_CONS* shape = SCIPfindCons(layouter.scip, "l_w_z_0_");
    ASSERT_NE(shape, nullptr);
    EXPECT_NEAR(SCIPgetLhsNonlinear(shape), -0.04, 1e-12);
    EXPECT_NEAR(SCIPgetRhsNonlinear(shape), -0.04, 1e-12);
    EXPECT_NE(SCIPfindCons(layouter.scip, "QuadobjConstraint"), nullptr);
    EXPECT_NE(SCIPfindEventhdlr(layouter.scip, "New solution"), nullptr);
}

TEST(FixedFloorModelTest, BuildingTwiceLeavesOneModelOneRecorderAndTheSecondRegistry)
{
    auto proposal = threeRooms();
    Layouter layouter(proposal, 1);
    ASSERT_EQ(layouter.buildFixedFloorModel(), SCIP_OKAY);
    const int handlers = SCIPgetNEventhdlrs(layouter.scip);
    proposal->requirementSet->getRequirements().pop_back();
    ASSERT_EQ(layouter.buildFixedFloorModel(), SCIP_OKAY);

    // The same as a first build of the smaller set.
    Layouter fresh(proposal, 1);
    ASSERT_EQ(fresh.buildFixedFloorModel(), SCIP_OKAY);
    EXPECT_EQ(SCIPgetNEventhdlrs(layouter.scip), handlers);
    EXPECT_EQ(SCIPgetNOrigVars(layouter.scip), SCIPgetNOrigVars(fresh.scip));
    EXPECT_EQ(SCIPgetNOrigConss(layouter.scip), SCIPgetNOrigConss(fresh.scip));
    EXPECT_EQ(layouter.variables.size(), fresh.variables.size());
    for (const auto& [name, var] : layouter.variables) {
        EXPECT_EQ(fresh.variables.count(name), 1u) << name;
        EXPECT_EQ(SCIPfindVar(layouter.scip, name.c_str()), var) << name;
    }
    // The live model solves and records through the second registry.
    SolutionHistory history;
    layouter.solutions = &history;
    ASSERT_EQ(layouter.buildFixedFloorModel(), SCIP_OKAY);
    solveFor(layouter, kSeconds);
    EXPECT_FALSE(history.empty());
}

TEST(FixedFloorModelTest, SolvedLayoutPassesTheCheckerAndEverySolutionCarriesEveryVariable)
{
    auto proposal = threeRooms();
    Layouter layouter(proposal, 1);
    SolutionHistory history;
    layouter.solutions = &history;
    ASSERT_EQ(layouter.buildFixedFloorModel(), SCIP_OKAY);
    solveFor(layouter, kSeconds);

    const std::vector<Solution> solutions = history.snapshot();
    ASSERT_FALSE(solutions.empty()) << "no layout within " << kSeconds << " s";
    for (size_t i = 0; i < solutions.size(); ++i) {
        for (const auto& entry : layouter.variables)
            EXPECT_EQ(solutions[i].values.count(entry.first), 1u) << entry.first << " in solution " << i;
        if (i > 0) {
            EXPECT_LT(solutions[i].objective, solutions[i - 1].objective) << "solution " << i;
        }
    }
    EXPECT_EQ(layouter.currentValues, solutions.back().values);
    // Each solution carries its own objective, not the bound of the one before.
    EXPECT_LT(std::fabs(solutions.front().objective), 1e9);
    EXPECT_DOUBLE_EQ(solutions.back().objective, SCIPgetPrimalbound(layouter.scip));

    layouter.applyBestSolution();
    const auto problems = checkLayout(proposal, rulesFor(layouter));
    EXPECT_TRUE(problems.empty()) << describe(problems);
}

TEST(FixedFloorModelTest, RecorderKeepsEntriesOnlyTheReadBackKnows)
{
    Layouter layouter(threeRooms(), 1);
    SolutionHistory history;
    layouter.solutions = &history;
    ASSERT_EQ(layouter.buildFixedFloorModel(), SCIP_OKAY);
    layouter.currentValues["x__9_"] = 0.0; // entered by an earlier read-back
    solveFor(layouter, kSeconds);
    ASSERT_FALSE(history.empty());
    for (const Solution& solution : history.snapshot())
        EXPECT_EQ(solution.values.count("x__9_"), 1u);
}

TEST(FixedFloorModelTest, RecorderWithoutHistoryStillTracksTheNewestValues)
{
    Layouter layouter(threeRooms(), 1);
    ASSERT_EQ(layouter.buildFixedFloorModel(), SCIP_OKAY);
    solveFor(layouter, kSeconds);
    ASSERT_GT(SCIPgetNSols(layouter.scip), 0);
    EXPECT_EQ(layouter.currentValues.size(), layouter.variables.size());
}

// A heuristic that runs before presolving (zero objective) may find the
// first layout before the solve proper begins; the recorder records it all
// the same, so a solve stopped at its first solution has one layout, the
// solver's best.
TEST(FixedFloorModelTest, RecorderRecordsALayoutFoundBeforePresolving)
{
    Layouter layouter(threeRooms(), 1);
    layouter.tuneFirstLayout = false;
    SolutionHistory history;
    layouter.solutions = &history;
    ASSERT_EQ(layouter.buildFixedFloorModel(), SCIP_OKAY);
    ASSERT_EQ(SCIPsetIntParam(layouter.scip, "heuristics/zeroobj/freq", 0), SCIP_OKAY);
    ASSERT_EQ(SCIPsetIntParam(layouter.scip, "limits/solutions", 1), SCIP_OKAY);
    solveFor(layouter, kSeconds);
    ASSERT_GT(SCIPgetNSols(layouter.scip), 0);
    ASSERT_EQ(history.size(), 1u);
    EXPECT_DOUBLE_EQ(history.at(0).objective, SCIPgetSolOrigObj(layouter.scip, SCIPgetBestSol(layouter.scip)));
}

TEST(FixedFloorModelTest, StairsOnTwoFloorsComeBackStacked)
{
    auto proposal = makeProposal(
        makeRectBuilding(10, 8, 2),
        makeRequirementSet({makeRequirement(0, "Stair down", 8, 0, {-1}, "Stair"),
                            makeRequirement(1, "Living", 20, 0), makeRequirement(2, "Stair up", 8, 1, {-1}, "Stair"),
                            makeRequirement(3, "Study", 12, 1)}));
    Layouter layouter(proposal, 1);
    SolutionHistory history;
    layouter.solutions = &history;
    ASSERT_EQ(layouter.buildFixedFloorModel(), SCIP_OKAY);
    solveFor(layouter, kSeconds);
    ASSERT_FALSE(history.empty()) << "no layout within " << kSeconds << " s";
    layouter.applyBestSolution();
    const auto problems = checkLayout(proposal, rulesFor(layouter));
    EXPECT_TRUE(problems.empty()) << describe(problems);
    EXPECT_EQ(proposal->getRooms()[2]->level, 1);
}

TEST(FixedFloorModelTest, EmptyRequirementSetHasOnlyTheObjectiveAndOneFillRowPerLevel)
{
    struct Case {
        int allowFreeSpace;
        SCIP_STATUS status;
    };
    for (const Case c : {Case{0, SCIP_STATUS_INFEASIBLE}, Case{1, SCIP_STATUS_OPTIMAL}}) {
        auto proposal = makeProposal(makeRectBuilding(10, 8, 2), makeRequirementSet({}));
        Layouter layouter(proposal, c.allowFreeSpace);
        ASSERT_EQ(layouter.buildFixedFloorModel(), SCIP_OKAY);
        EXPECT_EQ(layouter.variables.size(), 2u);
        EXPECT_EQ(SCIPgetNOrigVars(layouter.scip), 2);
        EXPECT_EQ(SCIPgetNOrigConss(layouter.scip), 3) << "QuadobjConstraint and one fill row per level";
        const SCIP_STATUS status = solveFor(layouter, kSeconds);
        if (c.status == SCIP_STATUS_INFEASIBLE) {
            EXPECT_TRUE(status == SCIP_STATUS_INFEASIBLE || status == SCIP_STATUS_INFORUNBD) << status;
        } else {
            EXPECT_EQ(status, SCIP_STATUS_OPTIMAL);
            // The optimum is the total usable area of both floors.
            const double usable = (10 - 0.52) * (8 - 0.52);
            EXPECT_NEAR(SCIPgetPrimalbound(layouter.scip), 2 * usable, 1e-6);
        }
    }
}

TEST(FixedFloorModelTest, RequirementOnAMissingLevelEndsTheBuildNamingTheLevel)
{
    auto proposal = makeProposal(makeRectBuilding(10, 8),
                                 makeRequirementSet({makeRequirement(0, "Living", 20), makeRequirement(1, "Attic", 9, 4)}));
    Layouter layouter(proposal, 1);
    try {
        layouter.buildFixedFloorModel();
        FAIL() << "expected std::out_of_range";
    } catch (const std::out_of_range& error) {
        EXPECT_NE(std::string(error.what()).find("level 4"), std::string::npos) << error.what();
    }
    EXPECT_EQ(layouter.variables.count("x__0_"), 1u);
    EXPECT_EQ(layouter.variables.count("x__1_"), 0u);
}

TEST(FixedFloorModelTest, FloorThatVanishesInsideItsWallsEndsTheBuild)
{
    auto proposal = makeProposal(makeRectBuilding(0.4, 8), makeRequirementSet({}));
    Layouter layouter(proposal, 1);
    EXPECT_THROW(layouter.buildFixedFloorModel(), std::runtime_error);
}

} // namespace
