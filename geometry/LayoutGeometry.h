#pragma once

#include "geometry/Polygon.h"

#include <stdexcept>
#include <utility>
#include <vector>

// Layout geometry: free functions that turn floor contours and
// placed rooms into insets, wall centre lines, door positions and clipped
// room outlines. Clipping and offsetting use Clipper2 on double coordinates.
//
// This layer knows nothing of the data model: the functions here take a
// room's rectangle and the wall thickness or door width as plain values. The
// overloads on std::shared_ptr<bg::Room> with the defaults of
// getBuildingParameters live in model/RoomGeometry.h.

// The error of the functions below for input the clipping library cannot take:
// a coordinate or distance that is not finite or lies beyond
// kClippableCoordinate, or any failure the library itself reports. The
// message says what was wrong in words.
class GeometryError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The largest coordinate (metres, either sign) handed to the clipping library;
// far beyond any building, well within the integer grid of its finest
// precision.
constexpr double kClippableCoordinate = 1e9;

// The largest coordinate, length or width (metres, either sign) a building,
// room or requirement may have, and its square the largest area: ten
// kilometres, far beyond any building and far within kClippableCoordinate.
// The project and requirement readers, the building page, the room dialog
// and the check before a run refuse anything beyond them, naming the value.
constexpr double kMaximumExtent = 1e4;
constexpr double kMaximumArea = kMaximumExtent * kMaximumExtent;
static_assert(kMaximumExtent < kClippableCoordinate);

// Throws GeometryError unless every coordinate is finite and within
// kClippableCoordinate; `what` names the points in the message.
void checkClippable(const std::vector<Vec2>& points, const char* what);

// Runs a clipping call, turning the library's own exception into
// GeometryError.
template <class Call>
auto clipSafely(Call call) -> decltype(call());

// A segment: exactly two points.
using Segment = std::vector<Vec2>;

// A closed interval [first, second] on a line, first <= second.
using Interval = std::pair<double, double>;

// The tolerance with which interior walls are grouped into lines, merged and
// matched with the outline.
constexpr double kWallTolerance = 1e-4;

// A room's rectangle: position (x, y) and size (l along x, w along y); the
// corners (x, y), (x + l, y), (x + l, y + w), (x, y + w).
struct RoomRect {
    Vec2 position;
    Vec2 size;
};

// The contour shrunk by |d| (Clipper2 InflatePaths, miter joins, miter limit
// 2, precision 6); the sign of d is ignored. Empty when nothing remains; the
// points unchanged for d = 0. Start vertex and orientation of the result are
// the library's.
std::vector<Vec2> insetPolygon(std::vector<Vec2> points, double d);

// The pieces of the axis-parallel segment that no cut covers, each with its
// smaller coordinate first. Cuts that overlap or touch are merged first; the
// stretches between cuts are not clipped to the segment.
std::vector<Segment> subtractSegments(Segment segment, std::vector<Segment> cuts);

// The points without the vertices whose two neighbours share an x or a y
// (compared exactly). Fewer than three points give an empty list.
std::vector<Vec2> removeCollinearPoints(std::vector<Vec2> points);

// The start of the door between two adjacent rooms, with t the inner wall
// thickness and doorWidth the door width. Returns true when the shared wall
// runs along x (the door extends doorWidth toward +x from `door`), false when
// it runs along y (toward +y).
bool computeDoorPosition(Vec2& door, const RoomRect& a, const RoomRect& b,
                         double t, double doorWidth);

// The merge step of buildInteriorWalls: merges the intervals of one line in passes
// until a pass merges nothing; two intervals overlap when they meet or come
// within kWallTolerance of each other.
std::vector<Interval> mergeLineIntervals(std::vector<Interval> intervals);

// The interior wall centre lines of one floor from its rooms' interior sides
// (as roomInteriorEdges yields them) and the floor's contour: the y-wall
// pieces first, then the x-walls. A y-wall that no x-wall crosses is kept
// whole.
std::vector<Segment> buildInteriorWalls(std::vector<Segment> segments,
                                        std::vector<Vec2> contour, double& t);

// An interior wall as built: its centre line and its own thickness.
struct WallPiece {
    Segment line;
    double thickness;
};

// The interior walls (centre lines of thickness t, as buildInteriorWalls
// yields them) as solids that end at the contour (the exterior walls' inner
// faces) and overlap no wall before them: each wall's rectangle less what
// lies outside the contour and in the pieces already kept, cut into
// rectangles along the wall, each with its centre line and thickness.
// Pieces under 1 mm long or thick are dropped. A wall that loses nothing
// keeps its centre line and t exactly.
std::vector<WallPiece> trimInteriorWalls(const std::vector<Segment>& walls, const std::vector<Vec2>& contour,
                                         double t);

// The room's rectangle without the band of the outer wall (the contour grown
// by outerWallThickness, with the contour itself as a hole), collinear points
// removed; start vertex and orientation are the library's. Empty when
// nothing of the rectangle lies outside the band; an empty contour leaves
// the rectangle whole. The contour may run either way round.
std::vector<Vec2> clipRoomToOuterWall(std::vector<Vec2> contour, const RoomRect& room,
                                      double outerWallThickness);

// The room's sides without the parts inside the band of one inner wall
// thickness just outside the contour: the sides between rooms.
std::vector<Segment> roomInteriorEdges(const std::vector<Vec2>& contour,
                                       const RoomRect& room, double innerWallThickness);

// Declared here so that callers outside this layer need not see the library.
[[noreturn]] void rethrowClipperError();

template <class Call>
auto clipSafely(Call call) -> decltype(call())
{
    try {
        return call();
    } catch (const GeometryError&) {
        throw;
    } catch (...) {
        rethrowClipperError();
    }
}
