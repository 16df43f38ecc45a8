#include "geometry/LayoutGeometry.h"
#include "geometry/SamePolygon.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Points = std::vector<Vec2>;
using kovra_test::samePolygon;

const Points square10{{0, 0}, {10, 0}, {10, 10}, {0, 10}};

// ---- insetPolygon -----------------------------------------------------------

TEST(InsetPolygon, ShrinksTheSquareByOne)
{
    EXPECT_TRUE(samePolygon(insetPolygon(square10, 1.0), {{1, 1}, {9, 1}, {9, 9}, {1, 9}}));
}

TEST(InsetPolygon, IgnoresTheSignOfTheDistance)
{
    EXPECT_TRUE(samePolygon(insetPolygon(square10, -1.0), {{1, 1}, {9, 1}, {9, 9}, {1, 9}}));
}

TEST(InsetPolygon, ShrinksAClockwiseContourToo)
{
    const Points clockwise{{0, 0}, {0, 10}, {10, 10}, {10, 0}};
    EXPECT_TRUE(samePolygon(insetPolygon(clockwise, 1.0), {{1, 1}, {9, 1}, {9, 9}, {1, 9}}));
}

TEST(InsetPolygon, NothingRemainsOfTheSquareBySix)
{
    EXPECT_TRUE(insetPolygon(square10, 6.0).empty());
}

TEST(InsetPolygon, ZeroReturnsThePointsUnchanged)
{
    const Points result = insetPolygon(square10, 0.0);
    ASSERT_EQ(result.size(), square10.size());
    for (size_t i = 0; i < square10.size(); ++i) {
        EXPECT_EQ(result[i].x, square10[i].x);
        EXPECT_EQ(result[i].y, square10[i].y);
    }
}

TEST(InsetPolygon, KeepsTheCornersOfAnLShapedOutlineSharp)
{
    const Points outline{{0, 0}, {10, 0}, {10, 4}, {4, 4}, {4, 8}, {0, 8}};
    EXPECT_TRUE(samePolygon(insetPolygon(outline, 0.36),
                            {{0.36, 0.36}, {9.64, 0.36}, {9.64, 3.64}, {3.64, 3.64},
                             {3.64, 7.64}, {0.36, 7.64}},
                            1e-9));
}

TEST(InsetPolygon, RoundsToSixDecimalPlaces)
{
    const Points result = insetPolygon(square10, 0.1234567);
    EXPECT_TRUE(samePolygon(result, {{0.123457, 0.123457}, {9.876543, 0.123457},
                                     {9.876543, 9.876543}, {0.123457, 9.876543}},
                            1e-9));
}

TEST(SamePolygonHelper, AcceptsAnyStartAndOrientationButNotOtherPoints)
{
    EXPECT_TRUE(samePolygon({{10, 10}, {0, 10}, {0, 0}, {10, 0}}, square10));
    EXPECT_TRUE(samePolygon({{10, 0}, {0, 0}, {0, 10}, {10, 10}}, square10));
    EXPECT_FALSE(samePolygon({{0, 0}, {10, 10}, {10, 0}, {0, 10}}, square10));
    EXPECT_FALSE(samePolygon({{0, 0}, {10, 0}, {10, 10}}, square10));
}

} // namespace
