// The building page's rules on the model, without a window.
#include "building/BuildingRules.h"

#include "model/Bounds.h"
#include "model/Project.h"
#include "support/FileSupport.h"
#include "support/ModelFixtures.h"

#include <sstream>

#include <gtest/gtest.h>

#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using kovra_test::makeBuilding;
using kovra_test::makeRectBuilding;
using kovra_test::rectContour;

TEST(BuildingRulesTest, DefaultFloorRowUsesTheBuildingsOuterWall)
{
    auto building = makeRectBuilding(15, 15);
    const FloorRow row = floorRow(*building->root, building->parameters);
    EXPECT_EQ(row, (FloorRow{"0", "15.00", "15.00", "225.00", "203.92", "0.00"}));
}

TEST(BuildingRulesTest, ThickerOuterWallChangesOnlyNetAreas)
{
    auto building = makeRectBuilding(15, 15, 3);
    BuildingParameters thick = building->parameters;
    thick.outerWallStrength = 0.5;
    for (const auto& floor : building->floors) {
        const FloorRow before = floorRow(*floor, building->parameters);
        const FloorRow after = floorRow(*floor, thick);
        EXPECT_EQ(after[4], "196.00") << "level " << floor->level;
        for (int column : {0, 1, 2, 3, 5})
            EXPECT_EQ(after[column], before[column]) << "level " << floor->level << ", column " << column;
    }
}

TEST(BuildingRulesTest, OutlineNarrowerThanTwoWallsHasNoNetArea)
{
    auto building = makeBuilding({rectContour(15, 0.6)});
    EXPECT_EQ(floorRow(*building->root, building->parameters)[4], "0.00");
}

TEST(BuildingRulesTest, TableListsTheHighestLevelFirst)
{
    auto building = makeRectBuilding(10, 8, 3);
    std::vector<int> levels;
    for (const auto& floor : floorsInTableOrder(*building))
        levels.push_back(floor->level);
    EXPECT_EQ(levels, (std::vector<int>{2, 1, 0}));
    EXPECT_TRUE(floorsInTableOrder(bg::Building("Empty")).empty());
}

TEST(BuildingRulesTest, FieldsShowTwoOrSixDecimals)
{
    EXPECT_EQ(formatTwoDecimals(1.0), "1.00");
    EXPECT_EQ(formatTwoDecimals(0.36), "0.36");
    EXPECT_EQ(formatSixDecimals(12.5), "12.500000");
}

TEST(BuildingRulesTest, ParametersAreAppliedInFieldOrder)
{
    const std::vector<std::string> texts = {"0.4", "0.25", "0.3", "0.5", "0.15", "0.9", "2.1", "0.85", "1.3"};
    const BuildingParameters applied = applyParameterTexts(getBuildingParameters(), texts);
    EXPECT_DOUBLE_EQ(applied.baseSlabStrength, 0.4);
    EXPECT_DOUBLE_EQ(applied.floorSlabStrength, 0.25);
    EXPECT_DOUBLE_EQ(applied.roofSlab, 0.3);
    EXPECT_DOUBLE_EQ(applied.outerWallStrength, 0.5);
    EXPECT_DOUBLE_EQ(applied.innerWallStrength, 0.15);
    EXPECT_DOUBLE_EQ(applied.doorWidth, 0.9);
    EXPECT_DOUBLE_EQ(applied.doorHeight, 2.1);
    EXPECT_DOUBLE_EQ(applied.cillHeight, 0.85);
    EXPECT_DOUBLE_EQ(applied.windowHeight, 1.3);
    // The fields without a text on the page keep their values.
    EXPECT_DOUBLE_EQ(applied.roomHeight, getBuildingParameters().roomHeight);
    EXPECT_DOUBLE_EQ(applied.pathWidth, getBuildingParameters().pathWidth);
}

struct BadParameterCase {
    std::size_t field;
    const char* text;
    const char* named;
};

void PrintTo(const BadParameterCase& c, std::ostream* out)
{
    *out << c.named << " \"" << c.text << "\"";
}

const BadParameterCase badParameterCases[] = {
    {0, "", "Base slab thickness"},
    {3, "wall", "Outer wall thickness"},
    {8, "1e999", "Window height"},
    {4, "-0.2", "Inner wall thickness"},
    {5, "nan", "Door width"},
    {6, "inf", "Door height"},
    {5, "1e300", "Door width"}, // exported as a door of width -214748364.8 once
    {7, "1000.5", "Sill height"},
};

class BadParameterTest : public ::testing::TestWithParam<BadParameterCase> {};

TEST_P(BadParameterTest, NamesTheFieldAndStoresNothing)
{
    const BadParameterCase& c = GetParam();
    std::vector<std::string> texts(9, "0.3");
    texts[c.field] = c.text;
    BuildingParameters parameters = getBuildingParameters();
    try {
        parameters = applyParameterTexts(parameters, texts);
        FAIL() << "\"" << c.text << "\" was accepted";
    } catch (const std::exception& error) {
        EXPECT_NE(std::string(error.what()).find(c.named), std::string::npos) << error.what();
    }
    EXPECT_DOUBLE_EQ(parameters.baseSlabStrength, getBuildingParameters().baseSlabStrength);
    EXPECT_DOUBLE_EQ(parameters.outerWallStrength, getBuildingParameters().outerWallStrength);
}

INSTANTIATE_TEST_SUITE_P(Texts, BadParameterTest, ::testing::ValuesIn(badParameterCases));

TEST(BuildingRulesTest, NumbersAreReadAsStodReadsThem)
{
    FloorDimensions dimensions;
    readFloorFields({"  12.5m", "8", "5", "5", "3,5"}, OutlineSource::Rectangle, dimensions);
    EXPECT_DOUBLE_EQ(dimensions.length, 12.5);
    EXPECT_DOUBLE_EQ(dimensions.width, 8.0);
    EXPECT_DOUBLE_EQ(dimensions.height, 3.0); // the decimal point is a point
}

struct BadFloorCase {
    const char* what;
    FloorFieldTexts texts;
    OutlineSource source;
    const char* named;
};

void PrintTo(const BadFloorCase& c, std::ostream* out)
{
    *out << c.what;
}

const BadFloorCase badFloorCases[] = {
    {"empty length", {"", "15", "5", "5", "2.75"}, OutlineSource::Rectangle, "Maximal length"},
    {"text width", {"15", "wide", "5", "5", "2.75"}, OutlineSource::Rectangle, "Maximal width"},
    {"corner not a number even for a rectangle", {"15", "15", "x", "5", "2.75"}, OutlineSource::Rectangle,
     "Corner length"},
    {"height out of range", {"15", "15", "5", "5", "1e999"}, OutlineSource::Rectangle, "Floor height"},
    {"zero length", {"0", "15", "5", "5", "2.75"}, OutlineSource::Rectangle, "Maximal length"},
    {"negative width", {"15", "-3", "5", "5", "2.75"}, OutlineSource::LShape, "Maximal width"},
    {"zero height", {"15", "15", "5", "5", "0"}, OutlineSource::Rectangle, "Floor height"},
    {"zero height of a copy", {"15", "15", "5", "5", "0"}, OutlineSource::CopyOfCurrent, "Floor height"},
    {"corner as long as the floor", {"15", "15", "15", "5", "2.75"}, OutlineSource::LShape, "corner"},
    {"corner wider than the floor", {"15", "15", "5", "20", "2.75"}, OutlineSource::LShape, "corner"},
    {"no corner", {"15", "15", "0", "5", "2.75"}, OutlineSource::LShape, "corner"},
    // Finite, but beyond what the outline may span.
    {"length beyond the bound", {"2e9", "15", "5", "5", "2.75"}, OutlineSource::Rectangle, "Maximal length"},
    {"width beyond the bound below 0", {"15", "-10000.5", "5", "5", "2.75"}, OutlineSource::LShape,
     "Maximal width"},
    {"corner beyond the bound even for a rectangle", {"15", "15", "1e5", "5", "2.75"}, OutlineSource::Rectangle,
     "Corner length"},
    {"corner width beyond the bound", {"15", "15", "5", "2e9", "2.75"}, OutlineSource::LShape, "Corner width"},
    {"height beyond the bound of a copy", {"15", "15", "5", "5", "2e9"}, OutlineSource::CopyOfCurrent,
     "Floor height"},
};

class BadFloorTest : public ::testing::TestWithParam<BadFloorCase> {};

TEST_P(BadFloorTest, IsRefusedWithTheFieldNamed)
{
    const BadFloorCase& c = GetParam();
    FloorDimensions dimensions;
    try {
        readFloorFields(c.texts, c.source, dimensions);
        FAIL() << c.what << " was accepted";
    } catch (const std::exception& error) {
        EXPECT_NE(std::string(error.what()).find(c.named), std::string::npos) << c.what << ": " << error.what();
    }
}

INSTANTIATE_TEST_SUITE_P(Fields, BadFloorTest, ::testing::ValuesIn(badFloorCases));

TEST(BuildingRulesTest, CopiedOutlineIgnoresTheSizesAndTheCorner)
{
    FloorDimensions dimensions;
    readFloorFields({"0", "0", "99", "99", "3"}, OutlineSource::CopyOfCurrent, dimensions);
    EXPECT_DOUBLE_EQ(dimensions.height, 3.0);
    // Corners are ignored for a rectangle, though they must be numbers.
    readFloorFields({"15", "15", "99", "-1", "3"}, OutlineSource::Rectangle, dimensions);
}

TEST(BuildingRulesTest, ConvertedFieldsStayWhenALaterOneFails)
{
    FloorDimensions dimensions;
    EXPECT_THROW(readFloorFields({"12", "9", "4", "zz", "3"}, OutlineSource::Rectangle, dimensions),
                 std::invalid_argument);
    EXPECT_DOUBLE_EQ(dimensions.length, 12.0);
    EXPECT_DOUBLE_EQ(dimensions.width, 9.0);
    EXPECT_DOUBLE_EQ(dimensions.cornerLength, 4.0);
}

TEST(BuildingRulesTest, ASizeBeyondTheBoundIsNotKeptButTheBoundItselfIs)
{
    FloorDimensions dimensions{12.0, 9.0, 4.0, 3.0, 2.5};
    EXPECT_THROW(readFloorFields({"2e9", "9", "4", "3", "3"}, OutlineSource::Rectangle, dimensions),
                 std::out_of_range);
    EXPECT_DOUBLE_EQ(dimensions.length, 12.0);
    readFloorFields({"10000", "10000", "4", "3", "3"}, OutlineSource::LShape, dimensions);
    EXPECT_DOUBLE_EQ(dimensions.length, 10000.0);
    EXPECT_DOUBLE_EQ(dimensions.width, 10000.0);
}

TEST(BuildingRulesTest, NewFloorGoesOnTopOneLevelHigher)
{
    auto building = makeRectBuilding(15, 15);
    auto root = building->root;
    auto floor = addFloorOnTop(*building, 2.75, rectContour(10, 10));
    EXPECT_EQ(floor->level, 1);
    EXPECT_EQ(building->top, floor);
    EXPECT_EQ(root->upper.lock(), floor);
    EXPECT_EQ(floor->lower.lock(), root);
    EXPECT_EQ(floor->parent.lock(), root);
    EXPECT_DOUBLE_EQ(floor->elevation, 2.95);
    EXPECT_EQ(building->levelCount, 2u);
}

TEST(BuildingRulesTest, RootAndMiddleFloorsAreNotRemovable)
{
    auto building = makeRectBuilding(15, 15, 3);
    auto floors = floorsInTableOrder(*building); // 2, 1, 0
    EXPECT_EQ(removalRefusal(*building, floors[2]), "This is the root floor, it cannot be removed.");
    EXPECT_EQ(removalRefusal(*building, floors[1]), "This floor is between two others, it cannot be removed.");
    EXPECT_EQ(removalRefusal(*building, floors[0]), "");
}

TEST(BuildingRulesTest, RemovingTheTopFloorLeavesItsParentOnTop)
{
    auto building = makeRectBuilding(15, 15, 3);
    auto floors = floorsInTableOrder(*building);
    auto parent = removeFloor(*building, floors[0]);
    EXPECT_EQ(parent, floors[1]);
    EXPECT_TRUE(parent->upper.expired());
    EXPECT_EQ(building->levelCount, 2u);
    EXPECT_EQ(building->maxLevel, 1);
    EXPECT_EQ(building->top, parent);
    // A floor added afterwards takes the freed level.
    EXPECT_EQ(addFloorOnTop(*building, 2.75, rectContour(5, 5))->level, 2);
}

TEST(BuildingRulesTest, FieldsShowTheFloorsOutlineAndHeight)
{
    const FloorFieldTexts shown{"99", "98", "3", "4", "5.5"};
    auto building = makeBuilding({rectContour(12.5, 8)});
    building->root->height = 2.9;
    EXPECT_EQ(floorFieldTexts(*building->root, shown).length, "12.500000");
    EXPECT_EQ(floorFieldTexts(*building->root, shown).width, "8.000000");
    EXPECT_EQ(floorFieldTexts(*building->root, shown).height, "2.90");
    EXPECT_EQ(floorFieldTexts(*building->root, shown).cornerLength, "3");
    EXPECT_EQ(floorFieldTexts(*building->root, shown).cornerWidth, "4");
    // Nothing to show yet: the fields keep what they have.
    bg::Floor bare;
    const FloorFieldTexts kept = floorFieldTexts(bare, shown);
    EXPECT_EQ(kept.length, "99");
    EXPECT_EQ(kept.width, "98");
    EXPECT_EQ(kept.height, "5.5");
}

TEST(BuildingRulesTest, AFieldThatAlreadySaysTheFloorsValueKeepsItsText)
{
    auto building = makeBuilding({rectContour(15, 12)});
    building->root->height = 2.75;
    struct Case {
        FloorFieldTexts shown;
        std::string length, width, height;
    };
    const Case cases[] = {
        {{"15.0", "15.0", "", "", "2.75"}, "15.0", "12.000000", "2.75"},
        {{"15", "12", "", "", "2.750"}, "15", "12", "2.750"},
        {{"15.0000001", "12.5", "", "", "3"}, "15.000000", "12.000000", "2.75"},
        {{"no number", "", "", "", "nan"}, "15.000000", "12.000000", "2.75"},
    };
    for (const Case& c : cases) {
        const FloorFieldTexts texts = floorFieldTexts(*building->root, c.shown);
        EXPECT_EQ(texts.length, c.length) << c.shown.length;
        EXPECT_EQ(texts.width, c.width) << c.shown.width;
        EXPECT_EQ(texts.height, c.height) << c.shown.height;
    }
}

} // namespace

TEST(BuildingRulesTest, ParametersAtTheBoundSaveAndOpenEqual)
{
    std::vector<std::string> texts(9, "0.3");
    texts[5] = "1000"; // door width
    auto building = makeRectBuilding(15, 15);
    building->parameters = applyParameterTexts(building->parameters, texts);
    EXPECT_EQ(building->parameters.doorWidth, 1000.0);
    bg::Project project("p");
    project.addBuilding(building);
    std::stringstream first;
    project.saveToStream(first);
    std::stringstream second;
    bg::Project::loadFromText(first.str())->saveToStream(second);
    EXPECT_EQ(kovra_test::maskIds(second.str()), kovra_test::maskIds(first.str())); // save, open again: equal
}

TEST(BuildingRulesTest, NoFloorIsAddedAboveTheHighestLevel)
{
    auto building = makeRectBuilding(15, 15);
    building->floors.front()->level = bg::highestLevel;
    building->updateLevels();
    EXPECT_THROW(addFloorOnTop(*building, 2.75, rectContour(10, 10)), std::out_of_range);
    EXPECT_EQ(building->floors.size(), 1u);
}
