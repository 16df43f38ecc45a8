#include "geometry/LayoutGeometry.h"
#include "support/SamePolygon.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
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


// ---- helpers ------------------------------------------------------------------

std::string describe(const std::vector<Segment>& segments)
{
    std::ostringstream out;
    out.precision(17);
    for (const Segment& s : segments) {
        out << "(";
        for (size_t i = 0; i < s.size(); ++i)
            out << (i ? " -> " : "") << "(" << s[i].x << ", " << s[i].y << ")";
        out << ") ";
    }
    return out.str();
}

bool sameSegment(const Segment& a, const Segment& b, double tolerance)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::fabs(a[i].x - b[i].x) > tolerance || std::fabs(a[i].y - b[i].y) > tolerance)
            return false;
    return true;
}

// The segments in this order, each with its points in this order.
::testing::AssertionResult sameSegments(const std::vector<Segment>& actual,
                                        const std::vector<Segment>& expected,
                                        double tolerance = 1e-9)
{
    bool same = actual.size() == expected.size();
    for (size_t i = 0; same && i < expected.size(); ++i)
        same = sameSegment(actual[i], expected[i], tolerance);
    if (same)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "got " << describe(actual) << "expected " << describe(expected);
}

// The same segments in any order (for results in the library's order).
::testing::AssertionResult sameSegmentSet(const std::vector<Segment>& actual,
                                          const std::vector<Segment>& expected,
                                          double tolerance = 1e-9)
{
    std::vector<bool> used(actual.size(), false);
    bool same = actual.size() == expected.size();
    for (size_t i = 0; same && i < expected.size(); ++i) {
        bool found = false;
        for (size_t j = 0; j < actual.size() && !found; ++j) {
            if (!used[j] && sameSegment(actual[j], expected[i], tolerance)) {
                used[j] = true;
                found = true;
            }
        }
        same = found;
    }
    if (same)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got " << describe(actual) << "expected (any order) "
                                         << describe(expected);
}

RoomRect rect(double x, double y, double l, double w)
{
    return {Vec2(x, y), Vec2(l, w)};
}

// ---- subtractSegments -------------------------------------------------------

TEST(SubtractSegments, CutsAPieceOutOfASegmentAlongY)
{
    EXPECT_TRUE(sameSegments(subtractSegments({{0, 0}, {0, 10}}, {{{0, 3}, {0, 4}}}),
                             {{{0, 0}, {0, 3}}, {{0, 4}, {0, 10}}}));
}

TEST(SubtractSegments, GivesTheSamePiecesForTheReversedSegment)
{
    EXPECT_TRUE(sameSegments(subtractSegments({{0, 10}, {0, 0}}, {{{0, 3}, {0, 4}}}),
                             {{{0, 0}, {0, 3}}, {{0, 4}, {0, 10}}}));
}

TEST(SubtractSegments, ACutBeyondTheSegmentLeavesItUnchanged)
{
    EXPECT_TRUE(sameSegments(subtractSegments({{0, 0}, {0, 10}}, {{{0, 12}, {0, 13}}}),
                             {{{0, 0}, {0, 10}}}));
    EXPECT_TRUE(sameSegments(subtractSegments({{0, 10}, {0, 0}}, {{{0, 12}, {0, 13}}}),
                             {{{0, 10}, {0, 0}}}));
}

TEST(SubtractSegments, NoCutLeavesTheSegmentUnchanged)
{
    EXPECT_TRUE(sameSegments(subtractSegments({{0, 10}, {0, 0}}, {}), {{{0, 10}, {0, 0}}}));
}

TEST(SubtractSegments, CutsAlongXAndSortsTheCuts)
{
    EXPECT_TRUE(sameSegments(
        subtractSegments({{10, 2}, {0, 2}}, {{{7, 2}, {6, 2}}, {{2, 2}, {3, 2}}}),
        {{{0, 2}, {2, 2}}, {{3, 2}, {6, 2}}, {{7, 2}, {10, 2}}}));
}

TEST(SubtractSegments, CutsCoveringAnEndLeaveNoPieceThere)
{
    EXPECT_TRUE(sameSegments(subtractSegments({{0, 0}, {0, 10}}, {{{0, -1}, {0, 1}}, {{0, 9}, {0, 11}}}),
                             {{{0, 1}, {0, 9}}}));
    EXPECT_TRUE(subtractSegments({{0, 0}, {0, 10}}, {{{0, -1}, {0, 11}}}).empty());
}

TEST(SubtractSegments, OverlappingAndTouchingCutsAreMergedFirst)
{
    EXPECT_TRUE(sameSegments(
        subtractSegments({{0, 0}, {0, 10}}, {{{0, 2}, {0, 5}}, {{0, 3}, {0, 4}}, {{0, 5}, {0, 6}}}),
        {{{0, 0}, {0, 2}}, {{0, 6}, {0, 10}}}));
}

TEST(SubtractSegments, StretchesBetweenCutsAreNotClippedToTheSegment)
{
    // Only the first and last pieces are bounded by the
    // segment's ends.
    EXPECT_TRUE(sameSegments(subtractSegments({{0, 0}, {0, 10}}, {{{0, -3}, {0, -2}}, {{0, 5}, {0, 6}}}),
                             {{{0, -2}, {0, 5}}, {{0, 6}, {0, 10}}}));
}

TEST(SubtractSegments, AZeroLengthSegmentRunsAlongY)
{
    EXPECT_TRUE(sameSegments(subtractSegments({{2, 5}, {2, 5}}, {{{2, 4}, {2, 6}}}), {}));
    EXPECT_TRUE(sameSegments(subtractSegments({{2, 5}, {2, 5}}, {{{4, 5}, {6, 5}}}),
                             {{{2, 5}, {2, 5}}}));
}

// ---- removeCollinearPoints ----------------------------------------------------

TEST(RemoveCollinearPoints, DropsAStraightThroughVertex)
{
    const Points result = removeCollinearPoints({{0, 0}, {5, 0}, {10, 0}, {10, 5}, {0, 5}});
    ASSERT_EQ(result.size(), 4u);
    EXPECT_TRUE(samePolygon(result, {{0, 0}, {10, 0}, {10, 5}, {0, 5}}));
    EXPECT_EQ(result[0].x, 0.0); // order kept, start kept
    EXPECT_EQ(result[1].x, 10.0);
}

TEST(RemoveCollinearPoints, DropsStraightThroughVerticesAtTheWrapAround)
{
    EXPECT_TRUE(samePolygon(removeCollinearPoints({{0, 2}, {0, 0}, {4, 0}, {4, 4}, {0, 4}}),
                            {{0, 0}, {4, 0}, {4, 4}, {0, 4}}));
}

TEST(RemoveCollinearPoints, KeepsTheCornersOfAnLShape)
{
    const Points l{{0, 0}, {10, 0}, {10, 4}, {4, 4}, {4, 8}, {0, 8}};
    EXPECT_TRUE(samePolygon(removeCollinearPoints(l), l, 0.0));
}

TEST(RemoveCollinearPoints, EmptyAndTwoPointsGiveEmptyLists)
{
    EXPECT_TRUE(removeCollinearPoints({}).empty());
    EXPECT_TRUE(removeCollinearPoints({{0, 0}, {3, 4}}).empty());
}

// ---- computeDoorPosition ------------------------------------------------------

struct DoorCase {
    const char* name;
    RoomRect a;
    RoomRect b;
    double t;
    double doorWidth;
    bool alongX; // the shared wall runs along x
    Vec2 door;
};

class ComputeDoorPosition : public ::testing::TestWithParam<DoorCase> {};

TEST_P(ComputeDoorPosition, PlacesTheDoorOnTheSharedWall)
{
    const DoorCase& c = GetParam();
    Vec2 door;
    EXPECT_EQ(computeDoorPosition(door, c.a, c.b, c.t, c.doorWidth), c.alongX);
    EXPECT_DOUBLE_EQ(door.x, c.door.x);
    EXPECT_DOUBLE_EQ(door.y, c.door.y);
}

INSTANTIATE_TEST_SUITE_P(
    Rooms, ComputeDoorPosition,
    ::testing::Values(
        DoorCase{"SideBySideShareAWallAlongY", rect(0, 0, 4, 3), rect(4, 0, 3, 3), 0.2, 1.0, false, {4.0, 1.0}},
        DoorCase{"OneAboveTheOtherShareAWallAlongX", rect(0, 0, 4, 3), rect(0, 3, 4, 2), 0.2, 1.0, true, {1.5, 3.0}},
        // The order of the rooms does not matter.
        DoorCase{"SideBySideSwapped", rect(4, 0, 3, 3), rect(0, 0, 4, 3), 0.2, 1.0, false, {4.0, 1.0}},
        DoorCase{"OneAboveTheOtherSwapped", rect(0, 3, 4, 2), rect(0, 0, 4, 3), 0.2, 1.0, true, {1.5, 3.0}},
        // Rooms a wall thickness apart; the common stretch along y is [1, 3].
        DoorCase{"CentredOnTheCommonStretch", rect(0, 0, 4, 3), rect(4.2, 1, 3, 4), 0.2, 0.9, false,
                 {4.0, 2.0 - 0.45}},
        // gx = gy = 1.2; equal x: room b counts as the western room.
        DoorCase{"TieCountsAsSideBySideAndRoomBIsWestern", rect(0, 0, 2, 2), rect(0, 0, 1, 1), 0.2, 1.0, false,
                 {1.0, 0.0}},
        // gx = 4.2 > gy = 2.2; equal y: room b counts as the lower room.
        DoorCase{"EqualYRoomBIsLower", rect(0, 0, 4, 2), rect(0, 0, 4, 3), 0.2, 1.0, true, {1.5, 3.0}},
        // Common stretch along y from 5 to 3: its middle 4, minus half the door.
        DoorCase{"NoCommonStretchStillGivesAPoint", rect(0, 0, 4, 3), rect(4, 5, 3, 3), 0.2, 1.0, false,
                 {4.0, 3.5}}),
    [](const ::testing::TestParamInfo<DoorCase>& info) { return std::string(info.param.name); });

// ---- mergeLineIntervals (the merge step of buildInteriorWalls) -------------------

struct MergeCase {
    const char* name;
    std::vector<Interval> input;
    std::vector<Interval> expected;
};

class MergeCases : public ::testing::TestWithParam<MergeCase> {};

TEST_P(MergeCases, MergesUntilNothingOverlaps)
{
    const MergeCase& c = GetParam();
    const std::vector<Interval> result = mergeLineIntervals(c.input);
    ASSERT_EQ(result.size(), c.expected.size());
    for (size_t i = 0; i < result.size(); ++i) {
        EXPECT_DOUBLE_EQ(result[i].first, c.expected[i].first) << "interval " << i;
        EXPECT_DOUBLE_EQ(result[i].second, c.expected[i].second) << "interval " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, MergeCases,
    ::testing::Values(
        MergeCase{"WithinTheTolerance", {{0, 2}, {1.99995, 5}}, {{0, 5}}},
        MergeCase{"BeyondTheTolerance", {{0, 2}, {2.0002, 5}}, {{0, 2}, {2.0002, 5}}},
        MergeCase{"OverlapAndASeparateOne", {{0, 2}, {1, 3}, {7, 9}}, {{0, 3}, {7, 9}}},
        MergeCase{"ChainInTwoPasses", {{0, 2}, {1, 3}, {2.5, 6}}, {{0, 6}}},
        MergeCase{"Unsorted", {{7, 9}, {1, 3}, {0, 2}}, {{7, 9}, {0, 3}}},
        MergeCase{"Contained", {{0, 10}, {2, 3}, {4, 5}}, {{0, 10}}},
        MergeCase{"Single", {{1, 2}}, {{1, 2}}},
        MergeCase{"Empty", {}, {}}),
    [](const ::testing::TestParamInfo<MergeCase>& info) { return std::string(info.param.name); });

// ---- buildInteriorWalls ---------------------------------------------------------

const Points bigSquare{{0, 0}, {0, 10}, {10, 10}, {10, 0}};

TEST(BuildInteriorWalls, LengthensAFreeEndAndCutsTheCrossedYWall)
{
    double t = 0.2;
    // The x-wall starts on the outline edge (0, 0) - (0, 10) and ends free;
    // the y-wall ends where the x-wall runs.
    const std::vector<Segment> result =
        buildInteriorWalls({{{0, 3}, {4, 3}}, {{4, 0}, {4, 3}}}, bigSquare, t);
    EXPECT_TRUE(sameSegments(result, {{{4, 0}, {4, 2.9}}, {{0, 3}, {4.1, 3}}}));
    EXPECT_EQ(t, 0.2);
}

TEST(BuildInteriorWalls, WithoutAnOutlineBothEndsMove)
{
    double t = 0.2;
    EXPECT_TRUE(sameSegments(buildInteriorWalls({{{4, 3}, {0, 3}}}, {}, t),
                             {{{-0.1, 3}, {4.1, 3}}}));
}

TEST(BuildInteriorWalls, GroupsNearbySegmentsIntoOneLineAndMergesThem)
{
    double t = 0.2;
    // Both on the line y = 5 (keyed by the first segment's y), meeting within
    // the tolerance; both ends on the outline.
    const std::vector<Segment> result = buildInteriorWalls(
        {{{0, 5}, {2, 5}}, {{10, 5.00005}, {1.99995, 5.00005}}}, bigSquare, t);
    EXPECT_TRUE(sameSegments(result, {{{0, 5}, {10, 5}}}));
}

TEST(BuildInteriorWalls, AnUncrossedYWallStaysWhole)
{
    double t = 0.2;
    EXPECT_TRUE(sameSegments(buildInteriorWalls({{{5, 10}, {5, 0}}}, bigSquare, t),
                             {{{5, 0}, {5, 10}}}));
}

TEST(BuildInteriorWalls, AWallThroughACrossingIsCutOnBothSides)
{
    double t = 0.2;
    const std::vector<Segment> result =
        buildInteriorWalls({{{5, 0}, {5, 10}}, {{0, 4}, {10, 4}}}, bigSquare, t);
    EXPECT_TRUE(sameSegments(result, {{{5, 0}, {5, 3.9}}, {{5, 4.1}, {5, 10}}, {{0, 4}, {10, 4}}}));
}

TEST(BuildInteriorWalls, YWallPiecesComeFirstInLineOrder)
{
    double t = 0.2;
    const std::vector<Segment> result = buildInteriorWalls(
        {{{0, 6}, {4, 6}}, {{7, 0}, {7, 10}}, {{4, 0}, {4, 10}}, {{7, 2}, {10, 2}}}, bigSquare, t);
    EXPECT_TRUE(sameSegments(result, {{{7, 0}, {7, 1.9}},
                                      {{7, 2.1}, {7, 10}},
                                      {{4, 0}, {4, 5.9}},
                                      {{4, 6.1}, {4, 10}},
                                      {{0, 6}, {4.1, 6}},
                                      {{6.9, 2}, {10, 2}}}));
}

// ClipperD works on a grid of 2^-27 (about 7.5e-9) for eight decimal places.
constexpr double kClip = 1e-8;

// ---- clipRoomToOuterWall ----------------------------------------------------------

// A 10 x 10 floor, its layout contour (inset by the outer wall, 0.36) and
// rooms placed on the floor inset by 0.26.
const Points layoutSquare{{0.36, 0.36}, {9.64, 0.36}, {9.64, 9.64}, {0.36, 9.64}};

TEST(ClipRoomToOuterWall, CutsTheBandOffARoomAtTheOutline)
{
    EXPECT_TRUE(samePolygon(clipRoomToOuterWall(layoutSquare, rect(0.26, 0.26, 4.74, 4.74), 0.36),
                            {{0.36, 0.36}, {5, 0.36}, {5, 5}, {0.36, 5}}, kClip));
}

TEST(ClipRoomToOuterWall, KeepsARoomInsideTheContour)
{
    EXPECT_TRUE(samePolygon(clipRoomToOuterWall(layoutSquare, rect(2, 3, 4, 2), 0.36),
                            {{2, 3}, {6, 3}, {6, 5}, {2, 5}}, kClip));
}

TEST(ClipRoomToOuterWall, AClockwiseContourGivesTheSameResult)
{
    const Points clockwise(layoutSquare.rbegin(), layoutSquare.rend());
    EXPECT_TRUE(samePolygon(clipRoomToOuterWall(clockwise, rect(0.26, 0.26, 4.74, 4.74), 0.36),
                            {{0.36, 0.36}, {5, 0.36}, {5, 5}, {0.36, 5}}, kClip));
}

TEST(ClipRoomToOuterWall, ARoomWithinTheBandGivesAnEmptyList)
{
    EXPECT_TRUE(clipRoomToOuterWall(layoutSquare, rect(0.05, 0.05, 0.2, 0.2), 0.36).empty());
}

TEST(ClipRoomToOuterWall, KeepsWhatLiesBeyondTheBand)
{
    // Only the part between the contour and the grown contour is removed.
    EXPECT_TRUE(samePolygon(clipRoomToOuterWall(layoutSquare, rect(8, 2, 3, 2), 0.36),
                            {{8, 2}, {9.64, 2}, {9.64, 4}, {8, 4}}, kClip));
}

// ---- roomInteriorEdges ------------------------------------------------------------

TEST(RoomInteriorEdges, DropsTheSidesAlongTheOutline)
{
    EXPECT_TRUE(sameSegmentSet(roomInteriorEdges(layoutSquare, rect(0.26, 0.26, 4.74, 4.74), 0.2),
                               {{{5, 0.36}, {5, 5}}, {{0.36, 5}, {5, 5}}}, kClip));
}

TEST(RoomInteriorEdges, KeepsEverySideOfARoomInside)
{
    EXPECT_TRUE(sameSegmentSet(roomInteriorEdges(layoutSquare, rect(2, 3, 4, 2), 0.2),
                               {{{2, 3}, {6, 3}},
                                {{6, 3}, {6, 5}},
                                {{2, 5}, {6, 5}},
                                {{2, 3}, {2, 5}}}, kClip));
}

TEST(RoomInteriorEdges, KeepsSidesBeyondTheBand)
{
    // The room reaches 0.3 past the contour's east side; the band is 0.2.
    EXPECT_TRUE(sameSegmentSet(roomInteriorEdges(layoutSquare, rect(8, 2, 1.94, 2), 0.2),
                               {{{8, 2}, {9.64, 2}},
                                {{9.84, 2}, {9.94, 2}},
                                {{9.94, 2}, {9.94, 4}},
                                {{8, 4}, {9.64, 4}},
                                {{9.84, 4}, {9.94, 4}},
                                {{8, 2}, {8, 4}}}, kClip));
}

// ---- an L-shaped outline, end to end ------------------------------------------------

// Floor (0, 0), (10, 0), (10, 4), (4, 4), (4, 8), (0, 8); rooms on it inset
// by 0.26: A and B share the wall x = 4 in the lower arm, A and C the wall
// y = 3.74 in the upper arm.
const Points lFloor{{0, 0}, {10, 0}, {10, 4}, {4, 4}, {4, 8}, {0, 8}};
const Points lLayout{{0.36, 0.36}, {9.64, 0.36}, {9.64, 3.64}, {3.64, 3.64}, {3.64, 7.64}, {0.36, 7.64}};
const RoomRect roomA = rect(0.26, 0.26, 3.74, 3.48);
const RoomRect roomB = rect(4.0, 0.26, 5.74, 3.48);
const RoomRect roomC = rect(0.26, 3.74, 3.48, 4.0);

TEST(LShapedOutline, LayoutContourIsTheFloorInsetByTheOuterWall)
{
    EXPECT_TRUE(samePolygon(insetPolygon(lFloor, 0.36), lLayout, 1e-9));
}

TEST(LShapedOutline, RoomsClippedToTheOuterWall)
{
    // A reaches 0.1 into the upper arm, past the inner corner (3.64, 3.64).
    EXPECT_TRUE(samePolygon(clipRoomToOuterWall(lLayout, roomA, 0.36),
                            {{0.36, 0.36}, {4, 0.36}, {4, 3.64}, {3.64, 3.64}, {3.64, 3.74},
                             {0.36, 3.74}},
                            kClip));
    EXPECT_TRUE(samePolygon(clipRoomToOuterWall(lLayout, roomB, 0.36),
                            {{4, 0.36}, {9.64, 0.36}, {9.64, 3.64}, {4, 3.64}}, kClip));
    EXPECT_TRUE(samePolygon(clipRoomToOuterWall(lLayout, roomC, 0.36),
                            {{0.36, 3.74}, {3.64, 3.74}, {3.64, 7.64}, {0.36, 7.64}}, kClip));
    // A room over the inner corner keeps the corner's L.
    EXPECT_TRUE(samePolygon(clipRoomToOuterWall(lLayout, rect(0.26, 0.26, 3.74, 3.74), 0.36),
                            {{0.36, 0.36}, {4, 0.36}, {4, 3.64}, {3.64, 3.64}, {3.64, 4},
                             {0.36, 4}}, kClip));
}

TEST(LShapedOutline, InteriorEdgesAndWalls)
{
    const std::vector<Segment> edgesA = roomInteriorEdges(lLayout, roomA, 0.2);
    const std::vector<Segment> edgesB = roomInteriorEdges(lLayout, roomB, 0.2);
    const std::vector<Segment> edgesC = roomInteriorEdges(lLayout, roomC, 0.2);
    EXPECT_TRUE(sameSegmentSet(edgesA, {{{4, 0.36}, {4, 3.64}}, {{0.36, 3.74}, {3.64, 3.74}}}, kClip));
    EXPECT_TRUE(sameSegmentSet(edgesB, {{{4, 0.36}, {4, 3.64}}}, kClip));
    EXPECT_TRUE(sameSegmentSet(edgesC, {{{0.36, 3.74}, {3.64, 3.74}}}, kClip));

    std::vector<Segment> all;
    for (const auto* edges : {&edgesA, &edgesB, &edgesC})
        all.insert(all.end(), edges->begin(), edges->end());
    double t = 0.2;
    // Both walls end on the outline: nothing is lengthened, and the x-wall
    // at 3.74 does not cross the y-wall, which stays whole.
    EXPECT_TRUE(sameSegments(buildInteriorWalls(all, lLayout, t),
                             {{{4, 0.36}, {4, 3.64}}, {{0.36, 3.74}, {3.64, 3.74}}}, kClip));
}

TEST(SquareFloor, InteriorWallsOfThreeRooms)
{
    // A and B on the west half, one above the other; C the east half.
    const RoomRect a = rect(0.26, 0.26, 4.74, 4.74);
    const RoomRect b = rect(0.26, 5, 4.74, 4.74);
    const RoomRect c = rect(5, 0.26, 4.74, 9.48);
    std::vector<Segment> all;
    for (const RoomRect& room : {a, b, c}) {
        const std::vector<Segment> edges = roomInteriorEdges(layoutSquare, room, 0.2);
        all.insert(all.end(), edges.begin(), edges.end());
    }
    EXPECT_TRUE(sameSegmentSet(all, {{{5, 0.36}, {5, 5}},
                                     {{0.36, 5}, {5, 5}},
                                     {{0.36, 5}, {5, 5}},
                                     {{5, 5}, {5, 9.64}},
                                     {{5, 0.36}, {5, 9.64}}}, kClip));
    double t = 0.2;
    // The x-wall ends free at the y-wall and is lengthened through it; the
    // y-wall is cut where it crosses.
    EXPECT_TRUE(sameSegmentSet(buildInteriorWalls(all, layoutSquare, t),
                               {{{5, 0.36}, {5, 4.9}}, {{5, 5.1}, {5, 9.64}}, {{0.36, 5}, {5.1, 5}}}, kClip));
}

} // namespace

namespace {

// Interior walls of 0.2 m inside the outline 0..10 x 0..8 (the exterior
// walls' inner faces).
struct TrimCase {
    const char* name;
    std::vector<Segment> walls;
    // Centre line and thickness of each piece kept, in order.
    std::vector<WallPiece> expected;
};

class TrimInteriorWalls : public ::testing::TestWithParam<TrimCase> {};

TEST_P(TrimInteriorWalls, EndAtTheOutlineAndOverlapNoEarlierWall)
{
    const std::vector<Vec2> outline{{0, 0}, {10, 0}, {10, 8}, {0, 8}};
    const std::vector<WallPiece> pieces = trimInteriorWalls(GetParam().walls, outline, 0.2);
    ASSERT_EQ(pieces.size(), GetParam().expected.size());
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const WallPiece& want = GetParam().expected[i];
        EXPECT_NEAR(pieces[i].thickness, want.thickness, 1e-8) << i;
        for (int k = 0; k < 2; ++k) {
            EXPECT_NEAR(pieces[i].line[k].x, want.line[k].x, 1e-8) << i << " end " << k;
            EXPECT_NEAR(pieces[i].line[k].y, want.line[k].y, 1e-8) << i << " end " << k;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TrimInteriorWalls,
    ::testing::Values(
        // Walls that meet in a T lose nothing and keep their lines exactly.
        TrimCase{"UntouchedTee",
                 {{Vec2(5, 0), Vec2(5, 3.9)}, {Vec2(0, 4), Vec2(10, 4)}},
                 {{{Vec2(5, 0), Vec2(5, 3.9)}, 0.2}, {{Vec2(0, 4), Vec2(10, 4)}, 0.2}}},
        // A room 0.05 m short of the north facade: its wall would reach
        // 0.05 m into the exterior wall; it ends at the inner face instead.
        TrimCase{"ShortOfTheFacade",
                 {{Vec2(0, 7.95), Vec2(4, 7.95)}},
                 {{{Vec2(0, 7.925), Vec2(4, 7.925)}, 0.15}}},
        // Two rooms 0.05 m apart: the second wall keeps what the first
        // leaves, along the first one's length, and its whole thickness
        // beyond it.
        TrimCase{"ParallelWallsAGapApart",
                 {{Vec2(0, 4), Vec2(4, 4)}, {Vec2(2, 4.05), Vec2(6, 4.05)}},
                 {{{Vec2(0, 4), Vec2(4, 4)}, 0.2},
                  {{Vec2(2, 4.125), Vec2(4, 4.125)}, 0.05},
                  {{Vec2(4, 4.05), Vec2(6, 4.05)}, 0.2}}},
        // A wall running on past the outline ends at it.
        TrimCase{"BeyondTheOutline", {{Vec2(3, -0.1), Vec2(3, 2)}}, {{{Vec2(3, 0), Vec2(3, 2)}, 0.2}}}),
    [](const ::testing::TestParamInfo<TrimCase>& info) { return std::string(info.param.name); });

} // namespace
