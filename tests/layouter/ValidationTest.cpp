// The check of a proposal's data before a model is built: every problem is
// reported in words, and sound data gives none.

#include "layouter/Validation.h"
#include "support/ModelFixtures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

using namespace kovra_test;

namespace {

// Two floors (levels 0 and 1) of 10 x 8 m and three sound requirements.
std::shared_ptr<bg::Proposal> soundProposal()
{
    return makeProposal(makeRectBuilding(10, 8, 2),
                        makeRequirementSet({makeRequirement(0, "Living", 20, 0, {1, 2}),
                                            makeRequirement(1, "Kitchen", 12, 0, {0, -1, 7}),
                                            makeRequirement(2, "Study", 12, -999)}));
}

struct ValidationCase {
    const char* name;
    std::function<void(bg::Proposal&)> spoil;
    // Every problem must contain one of these, in order.
    std::vector<std::string> expected;
};

bg::Requirement& requirement(bg::Proposal& proposal, int i)
{
    return *proposal.requirementSet->getRequirements().at(i);
}

const double nan = std::numeric_limits<double>::quiet_NaN();
const double infinity = std::numeric_limits<double>::infinity();

const ValidationCase cases[] = {
    {"Sound", [](bg::Proposal&) {}, {}},
    {"LevelWithoutFloor", [](bg::Proposal& p) { requirement(p, 1).level = 3; },
     {"Room 1 \"Kitchen\" is on level 3, but the building has no floor with that level."}},
    {"AdjacencyToNoRequirement", [](bg::Proposal& p) { requirement(p, 0).adjacency = {1, 5}; },
     {"Room 0 \"Living\" is to connect to room 5, which the requirement set does not have."}},
    {"AdjacencyToItself", [](bg::Proposal& p) { requirement(p, 2).adjacency = {2}; },
     {"Room 2 \"Study\" lists itself as an adjacent room."}},
    {"MinimumAboveMaximum",
     [](bg::Proposal& p) {
         requirement(p, 0).minLength = 5;
         requirement(p, 0).maxLength = 4;
         requirement(p, 1).minAspectRatio = 3;
         requirement(p, 1).maxAspectRatio = 2;
         requirement(p, 2).minAreaError = 20;
         requirement(p, 2).maxAreaError = 10;
     },
     {"Room 0 \"Living\": the minimum length (5) is above the maximum length (4).",
      "Room 1 \"Kitchen\": the minimum aspect ratio (3) is above the maximum aspect ratio (2).",
      "Room 2 \"Study\": the minimum area (20) is above the maximum area (10)."}},
    {"NotFiniteOrNegative",
     [](bg::Proposal& p) {
         requirement(p, 0).area = nan;
         requirement(p, 1).maxWidth = infinity;
         requirement(p, 2).minWidth = -1;
     },
     {"Room 0 \"Living\": the area is not a finite number.",
      "Room 1 \"Kitchen\": the maximum width is not a finite number.",
      "Room 2 \"Study\": the minimum width is negative (-1)."}},
    {"IndicesOutOfOrder",
     [](bg::Proposal& p) {
         requirement(p, 1).index = 2;
         requirement(p, 2).index = 1;
         requirement(p, 0).adjacency = {-1};
     },
     {"Room \"Kitchen\" has the index 2 but stands at position 1 of the set; indices must run 0, 1, 2, ... in the "
      "order of the set.",
      "Room \"Study\" has the index 1 but stands at position 2 of the set; indices must run 0, 1, 2, ... in the "
      "order of the set."}},
    {"RoomLongerThanItsFloor", [](bg::Proposal& p) { requirement(p, 0).minLength = 9.5; },
     {"Room 0 \"Living\": the minimum length (9.5) is above the maximum length",
      "Room 0 \"Living\": the minimum length (9.5 m) does not fit on the floor at level 0 (9.28 m)."}},
    {"FloorTooSmall", [](bg::Proposal& p) { p.getBuilding()->getFloors().back()->contour = rectContour(0.5, 8); },
     {"The floor at level 1 is too small: nothing remains inside its outer walls."}},
    {"NoBuilding", [](bg::Proposal& p) { p.building = nullptr; }, {"The proposal has no building."}},
    // Beyond the clipping's integer grid, and far beyond any building.
    {"OutlineFarAway",
     [](bg::Proposal& p) { p.getBuilding()->getFloors().back()->contour = {{0, 0}, {3e12, 0}, {3e12, 8}, {0, 8}}; },
     {"The floor at level 1 has an outline point farther than 10000 m from the origin."}},
    {"OutlineNotFinite",
     [](bg::Proposal& p) { p.getBuilding()->getFloors().front()->contour = {{0, 0}, {nan, 0}, {10, 8}}; },
     {"The floor at level 0 has an outline point that is not a finite number."}},
    {"AbsurdSizes",
     [](bg::Proposal& p) {
         requirement(p, 0).maxLength = 1e300;
         requirement(p, 1).area = 2e8;
         requirement(p, 2).maxAspectRatio = 1e7;
     },
     {"Room 0 \"Living\": the maximum length (1e+300) is above the limit of 10000.",
      "Room 1 \"Kitchen\": the area (2e+08) is above the limit of 1e+08.",
      "Room 2 \"Study\": the maximum aspect ratio (1e+07) is above the limit of 1e+06."}},
};

class ValidationTest : public ::testing::TestWithParam<ValidationCase> {};

TEST_P(ValidationTest, ReportsEachProblemInWords)
{
    auto proposal = soundProposal();
    GetParam().spoil(*proposal);
    const std::vector<std::string> problems = validateProposal(proposal);
    const std::vector<std::string>& expected = GetParam().expected;
    ASSERT_EQ(problems.size(), expected.size()) << [&] {
        std::string all;
        for (const std::string& p : problems)
            all += "\n  " + p;
        return all;
    }();
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(problems[i].rfind(expected[i], 0), 0u) << problems[i] << "\nexpected to start with\n"
                                                         << expected[i];
}

INSTANTIATE_TEST_SUITE_P(Cases, ValidationTest, ::testing::ValuesIn(cases),
                         [](const ::testing::TestParamInfo<ValidationCase>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
