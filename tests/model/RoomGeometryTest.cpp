// The layout-geometry helpers on bg::Room, with the defaults
// of getBuildingParameters (the algorithms are tested in tests/geometry).

#include "model/RoomGeometry.h"
#include "model/Proposal.h"
#include "support/SamePolygon.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

std::shared_ptr<bg::Room> room(double x, double y, double l, double w)
{
    auto result = std::make_shared<bg::Room>();
    result->position = Vec2(x, y);
    result->size = Vec2(l, w);
    return result;
}

const std::vector<Vec2> layoutSquare{{0.36, 0.36}, {9.64, 0.36}, {9.64, 9.64}, {0.36, 9.64}};

TEST(RoomGeometry, RoomRectIsPositionAndSize)
{
    const RoomRect r = roomRect(*room(1, 2, 3, 4));
    EXPECT_EQ(r.position.x, 1.0);
    EXPECT_EQ(r.position.y, 2.0);
    EXPECT_EQ(r.size.x, 3.0);
    EXPECT_EQ(r.size.y, 4.0);
}

TEST(RoomGeometry, DoorPairWithTheDefaults)
{
    Vec2 door;
    EXPECT_FALSE(computeDoorPosition(door, room(0, 0, 4, 3), room(4, 0, 3, 3)));
    EXPECT_DOUBLE_EQ(door.x, 4.0);
    EXPECT_DOUBLE_EQ(door.y, 1.0);
    EXPECT_TRUE(computeDoorPosition(door, room(0, 0, 4, 3), room(0, 3, 4, 2)));
    EXPECT_DOUBLE_EQ(door.x, 1.5);
    EXPECT_DOUBLE_EQ(door.y, 3.0);
}

TEST(RoomGeometry, ClipToTheDefaultOuterWall)
{
    // The band is 0.36 wide: a room reaching 0.3 past the contour loses
    // that part, one reaching 0.5 past it keeps its last 0.14.
    EXPECT_TRUE(kovra_test::samePolygon(clipRoomToOuterWall(layoutSquare, room(8, 2, 1.94, 2)),
                                        {{8, 2}, {9.64, 2}, {9.64, 4}, {8, 4}}, 1e-8));
    EXPECT_TRUE(kovra_test::samePolygon(clipRoomToOuterWall(layoutSquare, room(10, 2, 0.14, 2)),
                                        {{10, 2}, {10.14, 2}, {10.14, 4}, {10, 4}}, 1e-8));
}

TEST(RoomGeometry, InteriorEdgesOffTheDefaultInnerWallBand)
{
    // The band is 0.2 wide: the east side 0.1 past the contour goes, the
    // south and north sides keep their parts inside the contour.
    const std::vector<Segment> edges = roomInteriorEdges(layoutSquare, room(8, 2, 1.74, 2));
    ASSERT_EQ(edges.size(), 3u);
    double total = 0;
    for (const Segment& edge : edges)
        total += Vec2::length(Vec2::minus(edge[1], edge[0]));
    EXPECT_NEAR(total, 1.64 + 1.64 + 2.0, 1e-7);
}

} // namespace
