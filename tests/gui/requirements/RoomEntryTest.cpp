// What the room dialog stores stays what the files can carry and reopens as
// it was: slider positions round-trip, OK without changes changes nothing,
// a new room's index never overflows, and sizes beyond the bounds are
// refused with the field named.

#include "requirements/RoomForm.h"

#include "model/Constants.h"
#include "model/Project.h"
#include "model/Requirement.h"
#include "model/RequirementFile.h"
#include "support/FileSupport.h"
#include "support/ModelFixtures.h"

#include <gtest/gtest.h>

#include <climits>
#include <sstream>
#include <stdexcept>

using kovra_test::makeRequirement;
using kovra_test::makeRequirementSet;

namespace {

std::string saveText(const bg::Project& project)
{
    std::stringstream out;
    project.saveToStream(out);
    return out.str();
}

// The set saved as a requirement file and in a project, each opened again
// and saved again: equal.
void expectSavesAndOpensEqual(const std::shared_ptr<bg::RequirementSet>& set)
{
    // The file keeps six decimals and derives the aspect ratios, so the
    // first write may round; from then on the text stays.
    std::istringstream first(bg::requirementsCsvText(*set));
    const std::string csv = bg::requirementsCsvText(*makeRequirementSet(bg::readRequirementsCsv(first, "rooms.csv")));
    std::istringstream in(csv);
    EXPECT_EQ(bg::requirementsCsvText(*makeRequirementSet(bg::readRequirementsCsv(in, "rooms.csv"))), csv);
    bg::Project project("p");
    project.addRequirementSet(set);
    const std::string saved = saveText(project);
    EXPECT_EQ(kovra_test::maskIds(saveText(*bg::Project::loadFromText(saved))), kovra_test::maskIds(saved));
}

std::vector<double> numbersOf(const bg::Requirement& r)
{
    return {r.area,     r.targetLength, r.targetWidth, r.minAreaError,   r.maxAreaError,   r.minLength,
            r.maxLength, r.minWidth,    r.maxWidth,    r.minAspectRatio, r.maxAspectRatio, double(r.level),
            double(r.lock)};
}

TEST(RoomEntry, EverySliderPositionReopensWhereItWasSet)
{
    for (double value : {1.0, 3.0, 12.34, 29.0, 1e-3, 0.7, 9999.99}) {
        for (int percent = 0; percent <= 200; ++percent) {
            const double bound = sliderFactor(percent) * value;
            ASSERT_EQ(sliderPercent(bound, value, 0, 200, -1), percent) << percent << " % of " << value;
        }
    }
}

// One slider moved and OK pressed: the dialog reopens with that slider
// where it was left, and the set saves and opens again.
struct SliderCase {
    const char* name;
    int RoomForm::*slider;
    int position;
};

const SliderCase sliderCases[] = {
    {"AreaMinimumAt29", &RoomForm::areaMin, 29},
    {"AreaMaximumAt113", &RoomForm::areaMax, 113},
    {"LengthMinimumAt57", &RoomForm::lengthMin, 57},
    {"LengthMaximumAt199", &RoomForm::lengthMax, 199},
    {"WidthMinimumAt1", &RoomForm::widthMin, 1},
    {"WidthMaximumAt101", &RoomForm::widthMax, 101},
};

class SliderRoundTrip : public ::testing::TestWithParam<SliderCase> {};

TEST_P(SliderRoundTrip, ReopensAtTheSamePosition)
{
    const SliderCase& row = GetParam();
    auto requirement = makeRequirement(0, "Living", 20.3);
    auto set = makeRequirementSet({requirement});
    RoomForm form = roomFormFor(nullptr, *set, requirement, 0);
    form.*row.slider = row.position;
    applyRoomForm(form, *set, requirement);
    const RoomForm reopened = roomFormFor(nullptr, *set, requirement, 0);
    EXPECT_EQ(reopened.*row.slider, row.position);
    expectSavesAndOpensEqual(set);
}

INSTANTIATE_TEST_SUITE_P(Rows, SliderRoundTrip, ::testing::ValuesIn(sliderCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Requirements as files bring them: values with more than two decimals,
// bounds that are no whole percentage, locked rows.
struct UnchangedCase {
    const char* name;
    double area, length, width;
    double minArea, maxArea, minLength, maxLength, minWidth, maxWidth;
    int lock;
};

const UnchangedCase unchangedCases[] = {
    {"ThreeDecimals", 12.345, 4.111, 3.003, 9.8765, 18.1, 2.0555, 8.2, 1.5, 6.006, 0},
    {"AreaLocked", 20.0, 5.0, 4.0, 19.0, 21.0, 2.5, 7.5, 2.0, 6.0, 1},
    {"LengthAndWidthLocked", 20.0, 5.0, 4.0, 16.0, 30.0, 4.9, 5.1, 3.9, 4.1, 6},
    {"BoundsOutsideTheSliders", 10.0, 3.0, 3.0, 0.5, 40.0, 0.1, 9.9, 0.2, 9.0, 0},
};

class OkWithoutChanges : public ::testing::TestWithParam<UnchangedCase> {};

TEST_P(OkWithoutChanges, ChangesNothingEvenTwice)
{
    const UnchangedCase& row = GetParam();
    auto requirement = std::make_shared<bg::Requirement>(
        0, "Study", std::vector<int>{-1}, row.area, "Bedroom", bg::Requirement::Range{row.length, row.width},
        bg::Requirement::Range{row.minLength, row.maxLength}, bg::Requirement::Range{row.minWidth, row.maxWidth},
        bg::Requirement::Range{row.minLength / row.maxWidth, row.maxLength / row.minWidth}, Vec2(-999, -999), 0,
        std::vector<std::string>{"whatever"}, bg::Requirement::Range{row.minArea, row.maxArea}, row.lock);
    auto set = makeRequirementSet({requirement});
    // A locked row loses its tolerance at the first OK (the dialog shows it
    // without one); free rows keep everything, and a second OK changes
    // nothing at all.
    const std::vector<double> before = numbersOf(*requirement);
    applyRoomForm(roomFormFor(nullptr, *set, requirement, 0), *set, requirement);
    const std::vector<double> afterFirst = numbersOf(*requirement);
    if (row.lock == 0) {
        EXPECT_EQ(afterFirst, before);
    }
    applyRoomForm(roomFormFor(nullptr, *set, requirement, 0), *set, requirement);
    EXPECT_EQ(numbersOf(*requirement), afterFirst);
    expectSavesAndOpensEqual(set);
}

INSTANTIATE_TEST_SUITE_P(Rows, OkWithoutChanges, ::testing::ValuesIn(unchangedCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RoomEntry, NewRoomAfterTheLargestIndexTakesAFreeOne)
{
    struct Case {
        std::vector<int> indices;
        int next;
    };
    const Case cases[] = {{{INT_MAX}, 0}, {{0, 1, INT_MAX}, 2}, {{INT_MAX - 1}, INT_MAX}, {{INT_MIN}, INT_MIN + 1}};
    for (const Case& c : cases) {
        auto set = makeRequirementSet({});
        for (int index : c.indices)
            set->requirements.push_back(makeRequirement(index, "Room", 10));
        EXPECT_EQ(nextIndex(*set), c.next);
        std::shared_ptr<bg::Requirement> added;
        RoomForm form = roomFormFor(nullptr, *set, nullptr, bg::anyFloor);
        form.dimensions = {"12", "4", "3"};
        applyRoomForm(form, *set, added);
        ASSERT_TRUE(added);
        EXPECT_EQ(added->index, c.next);
        expectSavesAndOpensEqual(set);
    }
}

// Sizes typed into the dialog: beyond the bounds refused with the field
// named and nothing stored; at the bounds stored, saved and opened again.
struct SizeCase {
    const char* name;
    const char* area;
    const char* length;
    const char* width;
    const char* level;
    const char* refusal; // part of the message; nullptr when stored
};

const SizeCase sizeCases[] = {
    {"LengthHuge", "12", "1e308", "3", "0", "\"Room Length (m)\""},
    {"WidthBeyondTheBound", "12", "3", "10000.5", "0", "\"Room Width (m)\""},
    {"AreaHuge", "1e300", "3", "3", "0", "\"Area (m\u00b2)\""},
    {"LevelBeyondTheRange", "12", "4", "3", "2147483647", "\"Storey Level\""},
    {"WidthTooSmallForTheLength", "12", "5000", "2.5e-305", "0", "aspect ratio would not be a finite number"},
    {"LargeWithinTheBounds", "1000000", "1000", "1000", "100000", nullptr},
    {"Ordinary", "12", "4", "3", "0", nullptr},
};

class TypedSizes : public ::testing::TestWithParam<SizeCase> {};

TEST_P(TypedSizes, AreRefusedNamedOrSavedAndOpenedEqual)
{
    const SizeCase& row = GetParam();
    auto requirement = makeRequirement(0, "Hall", 12);
    auto set = makeRequirementSet({requirement});
    RoomForm form = roomFormFor(nullptr, *set, requirement, 0);
    form.dimensions = {row.area, row.length, row.width};
    form.level = row.level;
    const std::vector<double> before = numbersOf(*requirement);
    if (row.refusal) {
        try {
            applyRoomForm(form, *set, requirement);
            FAIL() << "stored";
        } catch (const std::invalid_argument& e) {
            EXPECT_NE(std::string(e.what()).find(row.refusal), std::string::npos) << e.what();
        }
        EXPECT_EQ(numbersOf(*requirement), before);
    } else {
        applyRoomForm(form, *set, requirement);
    }
    expectSavesAndOpensEqual(set);
}

INSTANTIATE_TEST_SUITE_P(Rows, TypedSizes, ::testing::ValuesIn(sizeCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
