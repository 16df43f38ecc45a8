// The outline control's arithmetic, without a window.
#include "building/BuildingOutlineView.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <string>
#include <vector>

namespace {

TEST(BuildingOutlineViewTest, OneFloorFitsWithAMarginAndIsCentred)
{
    const double scale = fitScale(430, 330, 15, 15, 0, 1);
    EXPECT_DOUBLE_EQ(scale, 20.0);
    const Vec2 pan = centredPan(430, 330, scale, {15, 15});
    EXPECT_DOUBLE_EQ(pan.x, 3.25);
    EXPECT_DOUBLE_EQ(pan.y, 0.75);
}

struct ColumnCase {
    double width, height;
    std::uint64_t levels;
    std::uint64_t columns;
};

void PrintTo(const ColumnCase& c, std::ostream* out)
{
    *out << c.levels << "_floors_in_" << c.width << "x" << c.height;
}

const ColumnCase columnCases[] = {
    {1000, 330, 3, 3}, // wide: side by side
    {330, 1000, 3, 1}, // tall: one above the other
    {1000, 330, 1, 1},
    {530, 530, 2, 1},  // 1 and 2 columns draw equally large: the fewer wins
    {29, 1000, 3, 0},  // nothing fits within the margin
    {1000, 30, 3, 0},
    {1000, 330, 0, 0}, // no floors
};

class ColumnCountTest : public ::testing::TestWithParam<ColumnCase> {};

TEST_P(ColumnCountTest, ViewAllTakesTheColumnCountThatDrawsLargest)
{
    const ColumnCase& c = GetParam();
    EXPECT_EQ(bestColumnCount(c.width, c.height, 15, 15, c.levels), c.columns)
        << c.levels << " floors in " << c.width << " x " << c.height;
}

INSTANTIATE_TEST_SUITE_P(Sizes, ColumnCountTest, ::testing::ValuesIn(columnCases));

TEST(BuildingOutlineViewTest, GridScalesForThreeFloors)
{
    EXPECT_NEAR(fitScale(1000, 330, 15, 15, 1, 3), 4.92, 0.005);
    EXPECT_NEAR(fitScale(1000, 330, 15, 15, 2, 3), 7.89, 0.005);
    EXPECT_NEAR(fitScale(1000, 330, 15, 15, 3, 3), 15.90, 0.005);
    EXPECT_NEAR(fitScale(330, 1000, 15, 15, 1, 3), 15.90, 0.005);
}

struct NoFitCase {
    const char* what;
    double width, height, boxWidth, boxHeight;
    std::uint64_t columns, levels;
};

void PrintTo(const NoFitCase& c, std::ostream* out)
{
    *out << c.what;
}

const NoFitCase noFitCases[] = {
    {"zero length", 430, 330, 0, 15, 0, 1},
    {"zero width", 430, 330, 15, 0, 0, 1},
    {"zero width in the grid", 430, 330, 15, 0, 2, 3},
    {"negative extent", 430, 330, -15, 15, 0, 1},
    {"NaN extent", 430, 330, NAN, 15, 0, 1},
    {"client within the margin", 20, 330, 15, 15, 0, 1},
    {"client exactly the margin", 430, 30, 15, 15, 0, 1},
    {"grid without levels", 430, 330, 15, 15, 2, 0},
};

class NoFitTest : public ::testing::TestWithParam<NoFitCase> {};

TEST_P(NoFitTest, GivesNoScaleRatherThanAnInfiniteOrNegativeOne)
{
    const NoFitCase& c = GetParam();
    EXPECT_EQ(fitScale(c.width, c.height, c.boxWidth, c.boxHeight, c.columns, c.levels), 0.0) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Cases, NoFitTest, ::testing::ValuesIn(noFitCases));

TEST(BuildingOutlineViewTest, GridCellsRunRightThenDown)
{
    const Vec2 expected[] = {{0, 0}, {23, 0}, {0, 18}, {23, 18}, {0, 36}};
    for (std::uint64_t k = 0; k < 5; ++k) {
        const Vec2 offset = cellOffset(k, 2, 15, 10);
        EXPECT_DOUBLE_EQ(offset.x, expected[k].x) << "cell " << k;
        EXPECT_DOUBLE_EQ(offset.y, expected[k].y) << "cell " << k;
    }
}

TEST(BuildingOutlineViewTest, GridExtentCoversEveryLevelsCell)
{
    const std::vector<Vec2> square = {{0, 0}, {15, 0}, {15, 15}, {0, 15}};
    const std::vector<LevelOutline> floors = {{0, square}, {1, square}, {2, square}, {3, {{0, 0}}}};
    const Vec2 oneRow = gridExtent(floors, 0, 3, 15, 15);
    EXPECT_DOUBLE_EQ(oneRow.x, 3 * 15 + 2 * 8);
    EXPECT_DOUBLE_EQ(oneRow.y, 15);
    const Vec2 oneColumn = gridExtent(floors, 0, 1, 15, 15);
    EXPECT_DOUBLE_EQ(oneColumn.x, 15);
    EXPECT_DOUBLE_EQ(oneColumn.y, 3 * 15 + 2 * 8);
}

TEST(BuildingOutlineViewTest, WheelNotchZoomsAboutTheMouse)
{
    const OutlineZoom view{20.0, zoomExponentOf(20.0), {3.25, 0.75}};
    const Vec2 mouse{100, 70};
    const OutlineZoom in = zoomAt(view, 120, mouse);
    EXPECT_NEAR(in.scale / view.scale, 1.0589, 1e-4);
    EXPECT_NEAR(in.scale, std::pow(1.1, in.zoomExponent), 1e-12);
    // The world point under the mouse is the same before and after.
    EXPECT_NEAR(mouse.x / in.scale - in.pan.x, mouse.x / view.scale - view.pan.x, 1e-12);
    EXPECT_NEAR(mouse.y / in.scale - in.pan.y, mouse.y / view.scale - view.pan.y, 1e-12);

    const OutlineZoom back = zoomAt(in, -120, mouse);
    EXPECT_NEAR(back.scale, view.scale, 1e-9);
    EXPECT_NEAR(back.pan.x, view.pan.x, 1e-9);
    EXPECT_NEAR(back.pan.y, view.pan.y, 1e-9);
}

TEST(BuildingOutlineViewTest, RectangleSidesAreLabelledAtTheirMiddles)
{
    // 15 x 10 at 20 px/m without pan: the drawing spans (0, 0) to (300, 200),
    // north up.
    const std::vector<OutlineLabel> labels = sideLabels({{0, 0}, {15, 0}, {15, 10}, {0, 10}}, {0, 0}, {0, 0}, 20);
    ASSERT_EQ(labels.size(), 4u);
    const OutlineLabel expected[] = {
        {"15.00", {150, 200 - 20}}, // south side, moved up
        {"10.00", {300 - 40, 100}}, // east side, moved left
        {"15.00", {150, 0}},        // north
        {"10.00", {0, 100}},        // west
    };
    for (size_t i = 0; i < labels.size(); ++i) {
        EXPECT_EQ(labels[i].text, expected[i].text) << "side " << i;
        EXPECT_DOUBLE_EQ(labels[i].position.x, expected[i].position.x) << "side " << i;
        EXPECT_DOUBLE_EQ(labels[i].position.y, expected[i].position.y) << "side " << i;
    }
}

TEST(BuildingOutlineViewTest, LShapeHasSixSideLabels)
{
    const std::vector<Vec2> l = {{0, 0}, {15, 0}, {15, 10}, {10, 10}, {10, 15}, {0, 15}};
    const std::vector<OutlineLabel> labels = sideLabels(l, {0, 0}, {1, 1}, 20);
    std::vector<std::string> texts;
    for (const OutlineLabel& label : labels)
        texts.push_back(label.text);
    EXPECT_EQ(texts, (std::vector<std::string>{"15.00", "10.00", "5.00", "5.00", "10.00", "15.00"}));
}

TEST(BuildingOutlineViewTest, ContoursTooShortToDrawGiveNoLabels)
{
    EXPECT_TRUE(sideLabels({}, {0, 0}, {0, 0}, 20).empty());
    EXPECT_TRUE(sideLabels({{1, 1}}, {0, 0}, {0, 0}, 20).empty());
}

TEST(BuildingOutlineViewTest, LevelNumberStandsInTheMiddleOfItsCell)
{
    const OutlineLabel label = levelLabel(2, {{0, 0}, {15, 0}, {15, 15}, {0, 15}}, {46, 0}, {1, 2}, 10);
    EXPECT_EQ(label.text, "2");
    EXPECT_DOUBLE_EQ(label.position.x, (7.5 + 46 + 1) * 10);
    EXPECT_DOUBLE_EQ(label.position.y, (7.5 + 0 + 2) * 10);
}

} // namespace
