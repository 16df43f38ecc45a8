#include "geometry/FloorOutline.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <limits>
#include <string>
#include <vector>

namespace {

using Points = std::vector<Vec2>;

struct LShapeCase {
    const char* corner;
    Points expected;
};

void PrintTo(const LShapeCase& c, std::ostream* out)
{
    *out << "corner \"" << c.corner << "\"";
}

// A 15 x 15 floor with a 5 x 5 notch (the building page's defaults).
const LShapeCase lShapeCases[] = {
    {"Top-Right", {{0, 0}, {15, 0}, {15, 10}, {10, 10}, {10, 15}, {0, 15}}},
    {"Top-Left", {{0, 0}, {15, 0}, {15, 15}, {5, 15}, {5, 10}, {0, 10}}},
    {"Bottom-Left", {{0, 5}, {5, 5}, {5, 0}, {15, 0}, {15, 15}, {0, 15}}},
    {"Bottom-Right", {{0, 0}, {10, 0}, {10, 5}, {15, 5}, {15, 15}, {0, 15}}},
    // Only the exact names notch a corner.
    {"", {{0, 0}, {15, 0}, {15, 15}, {0, 15}}},
    {"top-right", {{0, 0}, {15, 0}, {15, 15}, {0, 15}}},
    {"Top-Right ", {{0, 0}, {15, 0}, {15, 15}, {0, 15}}},
    {"Top", {{0, 0}, {15, 0}, {15, 15}, {0, 15}}},
};

class LShapeTest : public ::testing::TestWithParam<LShapeCase> {};

TEST_P(LShapeTest, NamedCornerIsNotchedCounterClockwiseFromSouthWest)
{
    const LShapeCase& c = GetParam();
    const Points contour = makeLShapeContour(15.0, 15.0, c.corner, 5.0, 5.0);
    ASSERT_EQ(contour.size(), c.expected.size()) << "corner \"" << c.corner << "\"";
    for (size_t i = 0; i < contour.size(); ++i) {
        EXPECT_DOUBLE_EQ(contour[i].x, c.expected[i].x) << "corner \"" << c.corner << "\", point " << i;
        EXPECT_DOUBLE_EQ(contour[i].y, c.expected[i].y) << "corner \"" << c.corner << "\", point " << i;
    }
    EXPECT_GT(twiceSignedArea(contour), 0.0) << "corner \"" << c.corner << "\" runs clockwise";
    const double area = contour.size() == 6 ? 200.0 : 225.0;
    EXPECT_DOUBLE_EQ(Polygon(contour).getArea(), area) << "corner \"" << c.corner << "\"";
}

INSTANTIATE_TEST_SUITE_P(Corners, LShapeTest, ::testing::ValuesIn(lShapeCases));

TEST(FloorOutlineTest, NotchTakesItsLengthAlongXAndItsWidthAlongY)
{
    const Points contour = makeLShapeContour(20.0, 12.0, "Top-Right", 6.0, 4.0);
    const Points expected = {{0, 0}, {20, 0}, {20, 8}, {14, 8}, {14, 12}, {0, 12}};
    ASSERT_EQ(contour.size(), expected.size());
    for (size_t i = 0; i < contour.size(); ++i) {
        EXPECT_DOUBLE_EQ(contour[i].x, expected[i].x) << "point " << i;
        EXPECT_DOUBLE_EQ(contour[i].y, expected[i].y) << "point " << i;
    }
    EXPECT_DOUBLE_EQ(Polygon(contour).getArea(), 20.0 * 12.0 - 6.0 * 4.0);
}

TEST(FloorOutlineTest, RectangleRunsCounterClockwiseFromOrigin)
{
    const Points contour = makeRectangleContour(12.5, 8.0);
    const Points expected = {{0, 0}, {12.5, 0}, {12.5, 8}, {0, 8}};
    ASSERT_EQ(contour.size(), expected.size());
    for (size_t i = 0; i < contour.size(); ++i) {
        EXPECT_DOUBLE_EQ(contour[i].x, expected[i].x) << "point " << i;
        EXPECT_DOUBLE_EQ(contour[i].y, expected[i].y) << "point " << i;
    }
}

struct CornerFitCase {
    double length, width, cornerLength, cornerWidth;
    bool inside;
};

void PrintTo(const CornerFitCase& c, std::ostream* out)
{
    *out << c.length << "x" << c.width << " corner " << c.cornerLength << "x" << c.cornerWidth;
}

const double nan = std::numeric_limits<double>::quiet_NaN();
const double inf = std::numeric_limits<double>::infinity();

const CornerFitCase cornerFitCases[] = {
    {15, 15, 5, 5, true},
    {15, 10, 14.9, 9.9, true},
    {15, 15, 15, 5, false},   // notch as long as the floor: no L, a thinner rectangle
    {15, 15, 5, 15, false},
    {15, 15, 20, 5, false},   // would cross itself
    {15, 15, 0, 5, false},    // no notch at all: a rectangle with doubled points
    {15, 15, 5, 0, false},
    {15, 15, -5, 5, false},
    {15, 15, nan, 5, false},
    {15, 15, 5, nan, false},
    {inf, 15, 5, 5, false},
    {15, inf, 5, 5, false},
};

class CornerFitTest : public ::testing::TestWithParam<CornerFitCase> {};

TEST_P(CornerFitTest, OnlyANotchStrictlyInsideGivesASimpleL)
{
    const CornerFitCase& c = GetParam();
    EXPECT_EQ(isCornerInside(c.length, c.width, c.cornerLength, c.cornerWidth), c.inside)
        << c.length << " x " << c.width << " with corner " << c.cornerLength << " x " << c.cornerWidth;
}

INSTANTIATE_TEST_SUITE_P(Sizes, CornerFitTest, ::testing::ValuesIn(cornerFitCases));

} // namespace
