// The integer-floor model without solving: the names the recorded solutions
// and the read-back rely on, which pairs of rooms get separation rows and of
// which kind, connections, aspect rows, the objective, the inputs the builder
// refuses, and a second build on one Layouter.

#include "layouter/Layouter.h"
#include "support/LayouterSupport.h"
#include "support/ModelFixtures.h"

#include <gtest/gtest.h>
#include <scip/cons_linear.h>

#include <ostream>
#include <set>
#include <stdexcept>
#include <vector>

using namespace kovra_test;

namespace {

std::set<std::string> roomNames(int index)
{
    std::set<std::string> names;
    for (const char* prefix : {"x_", "y_", "l_", "w_", "z_", "f_"})
        names.insert(prefix + ("_" + std::to_string(index) + "_"));
    return names;
}

std::set<std::string> sideNames(const std::string& stem)
{
    return {stem + "_left_", stem + "_right_", stem + "_top_", stem + "_bottom_"};
}

// Names of the solver's variables that contain `part`.
std::set<std::string> solverVariables(const Layouter& layouter, const std::string& part)
{
    std::set<std::string> names;
    SCIP_VAR** vars = SCIPgetOrigVars(layouter.scip);
    for (int i = 0; i < SCIPgetNOrigVars(layouter.scip); ++i) {
        const std::string name = SCIPvarGetName(vars[i]);
        if (name.find(part) != std::string::npos)
            names.insert(name);
    }
    return names;
}

// The kinds of rows ("linear", "nonlinear" ...) in which the variable appears.
std::set<std::string> rowKindsOf(const Layouter& layouter, SCIP_VAR* var)
{
    std::set<std::string> kinds;
    SCIP_CONS** conss = SCIPgetOrigConss(layouter.scip);
    for (int c = 0; c < SCIPgetNOrigConss(layouter.scip); ++c) {
        int n = 0;
        SCIP_Bool ok = FALSE;
        SCIPgetConsNVars(layouter.scip, conss[c], &n, &ok);
        if (!ok || n == 0)
            continue;
        std::vector<SCIP_VAR*> vars(static_cast<size_t>(n));
        SCIPgetConsVars(layouter.scip, conss[c], vars.data(), n, &ok);
        for (SCIP_VAR* v : vars)
            if (ok && v == var)
                kinds.insert(SCIPconshdlrGetName(SCIPconsGetHdlr(conss[c])));
    }
    return kinds;
}

TEST(IntegerFloorNamesTest, OneRoomRegistersItsSixVariablesByItsIndex)
{
    for (const int index : {7, -3}) {
        Layouter layouter(makeProposal(makeRectBuilding(10, 8, 2),
                                       makeRequirementSet({makeRequirement(index, "Room", 12, -999)})),
                          1);
        layouter.mode = integerFloorMode;
        ASSERT_EQ(layouter.buildModel(), SCIP_OKAY) << index;
        EXPECT_STREQ(SCIPgetProbName(layouter.scip), "SCIP_Floorsmith");
        EXPECT_NE(SCIPfindEventhdlr(layouter.scip, "New solution"), nullptr);
        std::set<std::string> expected = roomNames(index);
        expected.insert({"Constant", "QuadObj"});
        EXPECT_EQ(registryNames(layouter), expected) << index;
        for (const auto& [name, var] : layouter.variables)
            EXPECT_EQ(SCIPfindVar(layouter.scip, name.c_str()), var) << name;
        SCIP_VAR* f = layouter.variables.at(index == 7 ? "f__7_" : "f__-3_");
        // The solver takes an integer variable of bounds 0 and 1 for a binary.
        EXPECT_TRUE(SCIPvarIsIntegral(f));
        EXPECT_EQ(SCIPvarGetLbOriginal(f), 0.0);
        EXPECT_EQ(SCIPvarGetUbOriginal(f), 1.0);
        EXPECT_EQ(SCIPvarGetObj(layouter.variables.at("QuadObj")), 1.0);
        EXPECT_EQ(SCIPvarGetLbOriginal(layouter.variables.at("Constant")), 1.0);
        EXPECT_EQ(SCIPvarGetUbOriginal(layouter.variables.at("Constant")), 1.0);
    }
}

enum class Separation { None, Linear, SwitchedByLevel };

struct PairCase {
    const char* name;
    std::vector<std::vector<Vec2>> floors;
    std::vector<int> levels; // one room per entry, index = position
    // Registered names beyond the rooms' own variables, "Constant" and "QuadObj".
    std::set<std::string> extra;
    Separation separation; // of rooms 0 and 1
};

void PrintTo(const PairCase& c, std::ostream* out)
{
    *out << c.name;
}

std::set<std::string> unite(std::initializer_list<std::set<std::string>> parts)
{
    std::set<std::string> all;
    for (const auto& part : parts)
        all.insert(part.begin(), part.end());
    return all;
}

class IntegerFloorFamiliesTest : public ::testing::TestWithParam<PairCase> {};

TEST_P(IntegerFloorFamiliesTest, SetsGetTheirFamilies)
{
    const PairCase& c = GetParam();
    std::vector<std::shared_ptr<bg::Requirement>> requirements;
    for (size_t i = 0; i < c.levels.size(); ++i)
        requirements.push_back(makeRequirement(static_cast<int>(i), "Room", 9, c.levels[i]));
    Layouter layouter(makeProposal(makeBuilding(c.floors), makeRequirementSet(requirements)), 1);
    layouter.mode = integerFloorMode;
    ASSERT_EQ(layouter.buildModel(), SCIP_OKAY);

    std::set<std::string> expected = c.extra;
    expected.insert({"Constant", "QuadObj"});
    for (size_t i = 0; i < c.levels.size(); ++i)
        expected = unite({expected, roomNames(static_cast<int>(i))});
    EXPECT_EQ(registryNames(layouter), expected);

    if (c.separation == Separation::None)
        return;
    const std::set<std::string> kinds = rowKindsOf(layouter, layouter.variables.at("_0__overlap__1__left_"));
    if (c.separation == Separation::Linear)
        EXPECT_EQ(kinds, std::set<std::string>{"linear"});
    else
        EXPECT_EQ(kinds.count("nonlinear"), 1u) << "the west row is switched by the same-level binary";
}

const std::vector<Vec2> rect = rectContour(10, 8);
const std::vector<Vec2> lShape = lShapedContour(12, 10, 4, 4);

INSTANTIATE_TEST_SUITE_P(
    Sets, IntegerFloorFamiliesTest,
    ::testing::Values(
        PairCase{"OneRoom", {rect, rect}, {-999}, {}, Separation::None},
        PairCase{"TwoFixedLevels", {rect, rect}, {0, 1}, {}, Separation::None},
        PairCase{"OneFixedLevel", {rect, rect}, {1, 1}, sideNames("_0__overlap__1_"), Separation::Linear},
        PairCase{"AnyFloor", {rect, rect}, {0, -999}, sideNames("_0__overlap__1_"), Separation::SwitchedByLevel},
        // Obstacle 0 is the notch of level 0, obstacle 1 that of level 1: the
        // room on level 1 meets obstacle 1 only, the room on any floor both.
        PairCase{"Obstacles",
                 {lShape, lShape},
                 {1, -999},
                 unite({sideNames("_0__ob__1_"), sideNames("_1__ob__0_"), sideNames("_1__ob__1_"),
                        sideNames("_0__overlap__1_")}),
                 Separation::SwitchedByLevel}),
    [](const ::testing::TestParamInfo<PairCase>& info) { return std::string(info.param.name); });

struct ConnectionCase {
    const char* name;
    std::vector<std::vector<int>> adjacency; // per requirement
    std::set<std::string> expected;
};

void PrintTo(const ConnectionCase& c, std::ostream* out)
{
    *out << c.name;
}

class IntegerFloorConnectionTest : public ::testing::TestWithParam<ConnectionCase> {};

TEST_P(IntegerFloorConnectionTest, OneUnregisteredConnectionPerPair)
{
    std::vector<std::shared_ptr<bg::Requirement>> requirements;
    for (size_t i = 0; i < GetParam().adjacency.size(); ++i)
        requirements.push_back(makeRequirement(static_cast<int>(i), "Room", 9, -999, GetParam().adjacency[i]));
    Layouter layouter(makeProposal(makeRectBuilding(10, 8, 2), makeRequirementSet(requirements)), 1);
    ASSERT_EQ(layouter.buildIntegerFloorModel(), SCIP_OKAY);
    EXPECT_EQ(solverVariables(layouter, "_connected_"), GetParam().expected);
    for (const std::string& name : registryNames(layouter))
        EXPECT_EQ(name.find("_connected_"), std::string::npos) << name;
}

INSTANTIATE_TEST_SUITE_P(
    Adjacency, IntegerFloorConnectionTest,
    ::testing::Values(ConnectionCase{"None", {{-1}, {-1}, {-1}, {-1}}, {}},
                      ConnectionCase{"StopsAtMinusOne", {{2, -1, 3}, {-1}, {-1}, {-1}}, {"_0__connected__2_"}},
                      ConnectionCase{"Mutual", {{1}, {0}, {-1}, {-1}}, {"_0__connected__1_"}},
                      ConnectionCase{"ListedTwice", {{-1}, {-1}, {-1}, {1, 1}}, {"_3__connected__1_"}}),
    [](const ::testing::TestParamInfo<ConnectionCase>& info) { return std::string(info.param.name); });

TEST(IntegerFloorAspectTest, OnlyExactlyHorizontalBindsTheHorizontalRows)
{
    struct Case {
        const char* orientation;
        bool horizontal;
    };
    for (const Case& c : {Case{"horizontal", true}, Case{"Horizontal", false}, Case{"", false},
                          Case{"vertical", false}}) {
        auto requirement = makeRequirement(0, "Room", 9, 0);
        requirement->orientation = c.orientation;
        Layouter layouter(makeProposal(makeRectBuilding(10, 8), makeRequirementSet({requirement})), 1);
        ASSERT_EQ(layouter.buildIntegerFloorModel(), SCIP_OKAY);
        for (const char* bound : {"_Lower_bound", "_Upper_bound"}) {
            SCIP_CONS* horizontal =
                SCIPfindCons(layouter.scip, (std::string("Aspect_ratio_Horizontal__0_") + bound).c_str());
            SCIP_CONS* vertical = SCIPfindCons(layouter.scip, (std::string("Aspect_ratio_Vertical__0_") + bound).c_str());
            ASSERT_NE(horizontal, nullptr);
            ASSERT_NE(vertical, nullptr);
            // A bound row binds with right-hand side 0; the other pair is relaxed.
            EXPECT_EQ(SCIPgetRhsLinear(layouter.scip, horizontal) == 0.0, c.horizontal) << c.orientation << bound;
            EXPECT_EQ(SCIPgetRhsLinear(layouter.scip, vertical) == 0.0, !c.horizontal) << c.orientation << bound;
        }
    }
}

TEST(IntegerFloorObjectiveTest, RoomsAtTheirTargetsScoreTheAreaMinusTheirTargetAreas)
{
    // Two floors, so that the constant counts both layouts' areas.
    auto set = makeRequirementSet({makeRequirement(0, "Living", 20, 0), makeRequirement(1, "Study", 12, -999),
                                   makeRequirement(2, "Bath", 6, 1)});
    auto proposal = makeProposal(makeRectBuilding(10, 8, 2), set);
    Layouter layouter(proposal, 1);
    ASSERT_EQ(layouter.buildIntegerFloorModel(), SCIP_OKAY);

    double totalArea = 0.0;
    for (const auto& layout : proposal->getLayouts())
        totalArea += Polygon(layout->getContour()).getArea();
    SCIP_SOL* sol = nullptr;
    ASSERT_EQ(SCIPcreateOrigSol(layouter.scip, &sol, nullptr), SCIP_OKAY);
    double quadObj = 0.0, targetAreas = 0.0;
    for (const auto& requirement : set->getRequirements()) {
        const auto [tl, tw] = requirement->getTargetSize();
        const std::string tag = "_" + std::to_string(requirement->getIndex()) + "_";
        ASSERT_EQ(SCIPsetSolVal(layouter.scip, sol, layouter.variables.at("l_" + tag), tl), SCIP_OKAY);
        ASSERT_EQ(SCIPsetSolVal(layouter.scip, sol, layouter.variables.at("w_" + tag), tw), SCIP_OKAY);
        quadObj += tl * tl + tw * tw - tl * tw;
        targetAreas += tl * tw;
    }
    ASSERT_EQ(SCIPsetSolVal(layouter.scip, sol, layouter.variables.at("QuadObj"), quadObj), SCIP_OKAY);
    ASSERT_EQ(SCIPsetSolVal(layouter.scip, sol, layouter.variables.at("Constant"), 1.0), SCIP_OKAY);
    EXPECT_NEAR(SCIPgetSolOrigObj(layouter.scip, sol), totalArea - targetAreas, 1e-6);
    ASSERT_EQ(SCIPfreeSol(layouter.scip, &sol), SCIP_OKAY);
}

TEST(IntegerFloorInputTest, RefusesWhatItCannotName)
{
    // Indices must be 0 to n - 1: the pairs are named by them.
    {
        Layouter layouter(makeProposal(makeRectBuilding(10, 8), makeRequirementSet({makeRequirement(0, "A", 9, 0),
                                                                                    makeRequirement(2, "B", 9, 0)})),
                          1);
        EXPECT_THROW(layouter.buildIntegerFloorModel(), std::out_of_range);
    }
    {
        Layouter layouter(makeProposal(makeRectBuilding(10, 8), makeRequirementSet({makeRequirement(0, "A", 9, 0),
                                                                                    makeRequirement(0, "B", 9, 0)})),
                          1);
        EXPECT_THROW(layouter.buildIntegerFloorModel(), std::out_of_range);
    }
    // A fixed level that no layout has.
    {
        Layouter layouter(makeProposal(makeRectBuilding(10, 8), makeRequirementSet({makeRequirement(0, "A", 9, 3)})),
                          1);
        EXPECT_THROW(layouter.buildIntegerFloorModel(), std::out_of_range);
    }
    // No layouts at all.
    {
        auto proposal = makeProposal(makeRectBuilding(10, 8), makeRequirementSet({makeRequirement(0, "A", 9, 0)}));
        Layouter layouter(proposal, 1);
        proposal->getLayouts().clear();
        EXPECT_THROW(layouter.buildIntegerFloorModel(), std::invalid_argument);
    }
}

TEST(IntegerFloorRebuildTest, SecondBuildReplacesModelAndRegistry)
{
    auto proposal = makeProposal(makeLShapedBuilding(12, 10, 4, 4, 2),
                                 makeRequirementSet({makeRequirement(0, "A", 12, -999, {1}, "Bedroom", {"south"}),
                                                     makeRequirement(1, "B", 12, 0)}));
    Layouter layouter(proposal, 0);
    layouter.mode = integerFloorMode;
    ASSERT_EQ(layouter.buildModel(), SCIP_OKAY);
    const std::set<std::string> names = registryNames(layouter);
    ASSERT_EQ(layouter.reset(), SCIP_OKAY);
    EXPECT_EQ(registryNames(layouter), names);
    for (const auto& [name, var] : layouter.variables)
        EXPECT_EQ(SCIPfindVar(layouter.scip, name.c_str()), var) << name << " belongs to the new model";
}

} // namespace
