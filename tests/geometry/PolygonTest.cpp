#include "geometry/Polygon.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Points = std::vector<Vec2>;

void expectPoints(const Points& actual, const Points& expected)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_DOUBLE_EQ(actual[i].x, expected[i].x) << "point " << i;
        EXPECT_DOUBLE_EQ(actual[i].y, expected[i].y) << "point " << i;
    }
}

std::vector<std::string> sides(const Polygon& polygon)
{
    std::vector<std::string> result;
    for (const PolygonEdge& edge : polygon.getEdges())
        result.push_back(edge.getSide());
    return result;
}

struct PolygonCase {
    const char* name;
    Points input;
    Points points;
    double area;
    Points corners;
    std::vector<std::string> sides;
};

class PolygonCases : public ::testing::TestWithParam<PolygonCase> {};

TEST_P(PolygonCases, IsCounterClockwiseWithAreaCornersAndSides)
{
    const PolygonCase& c = GetParam();
    Polygon polygon(c.input);
    EXPECT_EQ(polygon.counterClockwise, 1);
    expectPoints(polygon.points, c.points);
    EXPECT_DOUBLE_EQ(polygon.area, c.area);
    EXPECT_DOUBLE_EQ(polygon.getArea(), c.area);
    expectPoints(polygon.corners, c.corners);
    EXPECT_EQ(sides(polygon), c.sides);
    EXPECT_GT(twiceSignedArea(polygon.points), -1e-12) << "points must run counter-clockwise";
}

INSTANTIATE_TEST_SUITE_P(
    Polygons, PolygonCases,
    ::testing::Values(
        PolygonCase{"CounterClockwiseRectangleKeepsItsOrder",
                    {{0, 0}, {4, 0}, {4, 3}, {0, 3}},
                    {{0, 0}, {4, 0}, {4, 3}, {0, 3}},
                    12,
                    {{0, 0}, {0, 3}, {4, 3}, {4, 0}},
                    {"south", "east", "north", "west"}},
        PolygonCase{"ClockwiseRectangleIsReversed",
                    {{0, 0}, {0, 3}, {4, 3}, {4, 0}},
                    {{4, 0}, {4, 3}, {0, 3}, {0, 0}},
                    12,
                    {{0, 0}, {0, 3}, {4, 3}, {4, 0}},
                    {"east", "north", "west", "south"}},
        PolygonCase{"NegativeCoordinates",
                    {{-5, -5}, {-1, -5}, {-1, -2}, {-5, -2}},
                    {{-5, -5}, {-1, -5}, {-1, -2}, {-5, -2}},
                    12,
                    {{-5, -5}, {-5, -2}, {-1, -2}, {-1, -5}},
                    {"south", "east", "north", "west"}},
        PolygonCase{"LShapeClockwise",
                    {{0, 0}, {0, 10}, {6, 10}, {6, 5}, {12, 5}, {12, 0}},
                    {{12, 0}, {12, 5}, {6, 5}, {6, 10}, {0, 10}, {0, 0}},
                    90,
                    {{0, 0}, {0, 10}, {12, 10}, {12, 0}},
                    {"east", "north", "east", "north", "west", "south"}},
        PolygonCase{"SinglePoint", {{2, 3}}, {{2, 3}}, 0, {{2, 3}, {2, 3}, {2, 3}, {2, 3}}, {"west"}}),
    [](const ::testing::TestParamInfo<PolygonCase>& info) { return std::string(info.param.name); });

TEST(Polygon, SetPointsRecomputesEverything)
{
    Polygon polygon({{0, 0}, {4, 0}, {4, 3}, {0, 3}});
    polygon.setPoints({{0, 0}, {0, 2}, {2, 2}, {2, 0}});
    EXPECT_EQ(polygon.counterClockwise, 1);
    EXPECT_DOUBLE_EQ(polygon.area, 4);
    expectPoints(polygon.points, {{2, 0}, {2, 2}, {0, 2}, {0, 0}});
    expectPoints(polygon.corners, {{0, 0}, {0, 2}, {2, 2}, {2, 0}});
    EXPECT_EQ(polygon.edges.size(), 4u);
}

TEST(Polygon, MakeClockwiseAndBackReversesThePoints)
{
    Polygon polygon({{0, 0}, {4, 0}, {4, 3}, {0, 3}});
    polygon.makeClockwise();
    EXPECT_EQ(polygon.counterClockwise, 0);
    expectPoints(polygon.points, {{0, 3}, {4, 3}, {4, 0}, {0, 0}});
    EXPECT_LT(twiceSignedArea(polygon.points), 0);
    polygon.makeClockwise(); // already clockwise: nothing changes
    expectPoints(polygon.points, {{0, 3}, {4, 3}, {4, 0}, {0, 0}});
    polygon.makeCounterClockwise();
    expectPoints(polygon.points, {{0, 0}, {4, 0}, {4, 3}, {0, 3}});
    EXPECT_EQ(sides(polygon), (std::vector<std::string>{"south", "east", "north", "west"}));
}

TEST(PolygonEdge, SlantedEdgesAreLabelledByTheirXDirection)
{
    Polygon triangle({{0, 0}, {4, 0}, {2, 3}});
    EXPECT_EQ(sides(triangle), (std::vector<std::string>{"south", "north", "north"}));
}

TEST(TwiceSignedArea, SignFollowsOrientation)
{
    EXPECT_DOUBLE_EQ(twiceSignedArea({{0, 0}, {4, 0}, {4, 3}, {0, 3}}), 24);
    EXPECT_DOUBLE_EQ(twiceSignedArea({{0, 3}, {4, 3}, {4, 0}, {0, 0}}), -24);
    EXPECT_DOUBLE_EQ(twiceSignedArea({}), 0);
}

TEST(BoundingBox, SpansThePoints)
{
    const BoundingBox box = boundingBox({{1, 2}, {3, -1}});
    EXPECT_DOUBLE_EQ(box.min.x, 1);
    EXPECT_DOUBLE_EQ(box.min.y, -1);
    EXPECT_DOUBLE_EQ(box.max.x, 3);
    EXPECT_DOUBLE_EQ(box.max.y, 2);
}

TEST(BoundingBox, NotANumberTakesNoPart)
{
    const BoundingBox box = boundingBox({{1, 2}, {NAN, 7}, {3, -1}});
    EXPECT_DOUBLE_EQ(box.min.x, 1);
    EXPECT_DOUBLE_EQ(box.max.x, 3);
    EXPECT_DOUBLE_EQ(box.max.y, 7);
}

TEST(BoundingBox, FewerThanTwoPointsFail)
{
    for (const Points& points : {Points{}, Points{{1, 1}}}) {
        try {
            boundingBox(points);
            FAIL() << "expected an error for " << points.size() << " points";
        } catch (const std::runtime_error& error) {
            EXPECT_STREQ(error.what(), "Too few vectors to create a bounding box");
        }
        EXPECT_THROW(flipVertically(points), std::runtime_error);
        EXPECT_THROW(flipAgainst({{1, 1}, {2, 2}}, points), std::runtime_error);
        EXPECT_THROW(flipPointAgainst({1, 1}, points), std::runtime_error);
    }
}

TEST(FlipVertically, MirrorsWithinTheHeight)
{
    expectPoints(flipVertically({{0, 0}, {4, 0}, {4, 3}, {0, 3}}), {{0, 3}, {4, 3}, {4, 0}, {0, 0}});
    // A list not starting at y = 0 is mirrored and shifted as well.
    expectPoints(flipVertically({{0, 2}, {4, 2}, {4, 5}, {0, 5}}), {{0, 1}, {4, 1}, {4, -2}, {0, -2}});
}

TEST(FlipAgainst, MirrorsWithinTheReferenceHeight)
{
    // A room inside a floor 3 m deep from y = 2 to y = 5: every shape of the
    // level flips within the floor's height, not its own.
    const Points floor{{0, 2}, {4, 2}, {4, 5}, {0, 5}};
    expectPoints(flipAgainst({{1, 2}, {2, 2}, {2, 3}}, floor), {{1, 1}, {2, 1}, {2, 0}});
    expectPoints({flipPointAgainst({1.5, 4}, floor)}, {{1.5, -1}});
    expectPoints(flipAgainst(floor, floor), flipVertically(floor));
    EXPECT_TRUE(flipAgainst({}, floor).empty());
}

TEST(Vec2, Arithmetic)
{
    expectPoints({Vec2::minus({5, 3}, {1, 1}), Vec2::plus({5, 3}, {1, 1}), Vec2::scaled({2, -3}, 2)},
                 {{4, 2}, {6, 4}, {4, -6}});
    EXPECT_DOUBLE_EQ(Vec2::length({3, 4}), 5);
    expectPoints({Vec2::normalized({3, 4}), Vec2::normalized({0, 0})}, {{0.6, 0.8}, {0, 0}});
    const Vec2 a = Vec2::abs({-0.0, -2.5});
    EXPECT_FALSE(std::signbit(a.x));
    EXPECT_DOUBLE_EQ(a.y, 2.5);
}

} // namespace
