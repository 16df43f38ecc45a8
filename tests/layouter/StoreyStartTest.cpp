// A building of several storeys solved one storey at a time: the layout of
// all storeys that reaches the search passes the independent checker, the
// storeys wait while the search finds layouts of its own, and only models
// that can use them get them.

#include "support/LayoutChecker.h"
#include "support/LayouterSupport.h"

#include "layouter/HeldStart.h"
#include "layouter/Layouter.h"
#include "layouter/StoreyStart.h"
#include "model/Project.h"
#include "model/Proposal.h"

#include <gtest/gtest.h>
#include <scip/scip.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace kovra_test;

std::shared_ptr<bg::Proposal> benchProposal(const std::string& file)
{
    std::vector<std::string> warnings;
    const auto project = bg::Project::load(std::string(KOVRA_SOURCE_DIR) + "/bench/data/" + file, &warnings);
    if (project->proposals.size() != 1)
        return nullptr;
    return project->proposals.front();
}

// The benchmark's two storeys with their model built as "Start" builds it,
// after `prepare` set the Layouter up.
struct StairsModel {
    explicit StairsModel(int allowFreeSpace, const std::function<void(Layouter&)>& prepare)
        : proposal(benchProposal("04-stairs.xsp"))
    {
        if (proposal == nullptr)
            return;
        layouter = std::make_unique<Layouter>(proposal, allowFreeSpace);
        layouter->solutions = &history;
        prepare(*layouter);
        if (layouter->buildModel() == SCIP_OKAY)
            storeys = findStoreyStart(layouter->scip);
    }

    std::shared_ptr<bg::Proposal> proposal;
    SolutionHistory history;
    std::unique_ptr<Layouter> layouter;
    StoreyStart* storeys = nullptr;
};

// The benchmark's two storeys with their floors filled: a stair room on each
// (one rectangle for both), a hall and a landing with doors to every room of
// their floor. The whole model takes the solver about a minute for its
// first layout; each storey alone a second or less. With the search's own
// heuristics off, the only layout it gets is the storeys' one, and it is a
// layout the model and the checker accept: the stairs stacked, each floor
// filled, every door and wish met.
TEST(StoreyStart, TheStoreysTogetherAreALayoutOfTheWholeBuilding)
{
    StairsModel model(0, [](Layouter& layouter) { layouter.tuneFirstLayout = false; });
    ASSERT_NE(model.storeys, nullptr);
    SCIP* scip = model.layouter->scip;
    model.storeys->waitSeconds = 0.0;
    ASSERT_EQ(SCIPsetHeuristics(scip, SCIP_PARAMSETTING_OFF, TRUE), SCIP_OKAY);
    const std::string frequency = std::string("heuristics/") + StoreyStart::heuristicName + "/freq";
    ASSERT_EQ(SCIPsetIntParam(scip, frequency.c_str(), 1), SCIP_OKAY);
    SCIPsetIntParam(scip, "limits/solutions", 1);
    solveFor(*model.layouter, 120.0);

    ASSERT_TRUE(model.storeys->delivered());
    SCIP_SOL* first = SCIPgetBestSol(scip);
    ASSERT_TRUE(first != nullptr && SCIPsolGetHeur(first) != nullptr);
    EXPECT_STREQ(SCIPheurGetName(SCIPsolGetHeur(first)), StoreyStart::heuristicName);
    ASSERT_EQ(model.history.size(), 1u) << "recorded as any layout of the search";
    model.layouter->applySolution(model.history.at(0));
    LayoutRules rules = rulesFor(*model.layouter);
    rules.separation = rules.doors = rules.facades = true;
    EXPECT_EQ(describe(checkLayout(model.proposal, rules)), "");
}

// A search that finds its own first layout soon gives the storeys no time:
// the benchmark's two storeys with space left free, the packing handed over
// only in part (so that no whole start is held), where the zero-objective
// heuristic has a layout before presolving.
TEST(StoreyStart, TheStoreysWaitForTheSearchsOwnFirstLayout)
{
    StairsModel model(1, [](Layouter& layouter) { layouter.offerCompleteStarts = false; });
    ASSERT_NE(model.storeys, nullptr);
    SCIPsetIntParam(model.layouter->scip, "limits/solutions", 1);
    solveFor(*model.layouter, 60.0);
    ASSERT_GE(SCIPgetNSols(model.layouter->scip), 1);
    EXPECT_FALSE(model.storeys->delivered());
    EXPECT_EQ(model.storeys->secondsSpent(), 0.0);
}

// Storeys one at a time where there are several storeys and no whole start
// is held; one storey, or a held start, leaves the model without them.
TEST(StoreyStart, OnlyBuildingsOfSeveralStoreysWithoutAHeldStartGetThem)
{
    struct Case {
        const char* file;
        int allowFreeSpace;
        bool expected;
    };
    const Case cases[] = {
        {"04-stairs.xsp", 0, true},  // no packing satisfies the filled floors
        {"04-stairs.xsp", 1, false}, // the packing is held whole
        {"02-house.xsp", 0, false},  // one storey
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.file) + " allowFreeSpace " + std::to_string(c.allowFreeSpace));
        auto proposal = benchProposal(c.file);
        ASSERT_NE(proposal, nullptr);
        Layouter layouter(proposal, c.allowFreeSpace);
        ASSERT_EQ(layouter.buildModel(), SCIP_OKAY);
        EXPECT_EQ(findStoreyStart(layouter.scip) != nullptr, c.expected);
        if (c.expected) {
            EXPECT_EQ(findHeldStart(layouter.scip), nullptr);
        }
    }
}

} // namespace
