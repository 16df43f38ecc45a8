#include "geometry/LayoutGeometry.h"

#include <clipper2/clipper.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace {

Clipper2Lib::PathD toPath(const std::vector<Vec2>& points)
{
    Clipper2Lib::PathD path;
    path.reserve(points.size());
    for (const Vec2& p : points)
        path.emplace_back(p.x, p.y);
    return path;
}

std::vector<Vec2> toPoints(const Clipper2Lib::PathD& path)
{
    std::vector<Vec2> points;
    points.reserve(path.size());
    for (const Clipper2Lib::PointD& p : path)
        points.emplace_back(p.x, p.y);
    return points;
}

void checkDistance(double d, const char* what)
{
    if (!(std::fabs(d) <= kClippableCoordinate))
        throw GeometryError(std::string("The ") + what + " is not a finite number within " +
                            std::to_string(static_cast<long long>(kClippableCoordinate)) + " m.");
}

} // namespace

void checkClippable(const std::vector<Vec2>& points, const char* what)
{
    for (const Vec2& p : points)
        if (!(std::fabs(p.x) <= kClippableCoordinate && std::fabs(p.y) <= kClippableCoordinate))
            throw GeometryError(std::string("The ") + what +
                                " has a point whose coordinates are not finite numbers within " +
                                std::to_string(static_cast<long long>(kClippableCoordinate)) + " m.");
}

void rethrowClipperError()
{
    try {
        throw;
    } catch (const Clipper2Lib::Clipper2Exception& error) {
        throw GeometryError(std::string("The clipping of a polygon failed: ") + error.what() + ".");
    }
}

std::vector<Vec2> insetPolygon(std::vector<Vec2> points, double d)
{
    checkClippable(points, "polygon to inset");
    checkDistance(d, "inset distance");
    const Clipper2Lib::PathsD paths{toPath(points)};
    const Clipper2Lib::PathsD result = clipSafely([&] {
        return Clipper2Lib::InflatePaths(paths, -std::fabs(d), Clipper2Lib::JoinType::Miter,
                                         Clipper2Lib::EndType::Polygon, 2.0, 6, 0.0);
    });
    if (result.empty())
        return {};
    return toPoints(result.front());
}

std::vector<Segment> subtractSegments(Segment segment, std::vector<Segment> cuts)
{
    if (cuts.empty())
        return {segment};

    const Vec2 direction = Vec2::normalized(Vec2::minus(segment[1], segment[0]));
    const bool alongY = std::fabs(direction.x) < 1e-6;

    const double c = alongY ? segment[0].x : segment[0].y;
    const double s = alongY ? segment[0].y : segment[0].x;
    const double e = alongY ? segment[1].y : segment[1].x;

    std::vector<Interval> intervals;
    intervals.reserve(cuts.size());
    for (const Segment& cut : cuts) {
        const double a = alongY ? cut[0].y : cut[0].x;
        const double b = alongY ? cut[1].y : cut[1].x;
        intervals.push_back({std::min(a, b), std::max(a, b)});
    }
    std::sort(intervals.begin(), intervals.end(),
              [](const Interval& l, const Interval& r) { return l.first < r.first; });

    // Overlapping (or touching) cuts are merged first, so that no stretch
    // between two cuts is inverted or empty.
    std::vector<Interval> merged;
    for (const Interval& interval : intervals) {
        if (!merged.empty() && interval.first <= merged.back().second)
            merged.back().second = std::max(merged.back().second, interval.second);
        else
            merged.push_back(interval);
    }

    const double lo = std::min(s, e);
    const double hi = std::max(s, e);
    if (lo >= merged.back().second || hi <= merged.front().first)
        return {segment};

    std::vector<Interval> pieces;
    if (lo < merged.front().first)
        pieces.push_back({lo, merged.front().first});
    for (size_t i = 0; i + 1 < merged.size(); ++i)
        pieces.push_back({merged[i].second, merged[i + 1].first});
    if (hi > merged.back().second)
        pieces.push_back({merged.back().second, hi});

    std::vector<Segment> result;
    result.reserve(pieces.size());
    for (const Interval& piece : pieces) {
        if (alongY)
            result.push_back({Vec2(c, piece.first), Vec2(c, piece.second)});
        else
            result.push_back({Vec2(piece.first, c), Vec2(piece.second, c)});
    }
    return result;
}

std::vector<Vec2> removeCollinearPoints(std::vector<Vec2> points)
{
    std::vector<Vec2> kept;
    const size_t n = points.size();
    for (size_t i = 0; i < n; ++i) {
        const Vec2& prev = points[i == 0 ? n - 1 : i - 1];
        const Vec2& next = points[i + 1 == n ? 0 : i + 1];
        if (prev.x != next.x && prev.y != next.y)
            kept.push_back(points[i]);
    }
    return kept;
}

bool computeDoorPosition(Vec2& door, const RoomRect& a, const RoomRect& b, double t,
                         double doorWidth)
{
    const double lA = a.size.x, wA = a.size.y;
    const double lB = b.size.x, wB = b.size.y;
    const double centreAx = a.position.x + lA / 2, centreAy = a.position.y + wA / 2;
    const double centreBx = b.position.x + lB / 2, centreBy = b.position.y + wB / 2;

    const double gx = std::fabs(std::fabs(centreAx - centreBx) - t - lA / 2 - lB / 2);
    const double gy = std::fabs(std::fabs(centreAy - centreBy) - t - wA / 2 - wB / 2);

    if (gx > gy) {
        // One above the other: the shared wall runs along x.
        const RoomRect& lower = b.position.y > a.position.y ? a : b;
        const double from = std::max(a.position.x, b.position.x);
        const double to = std::min(a.position.x + lA, b.position.x + lB);
        door.x = (from + to) / 2 - doorWidth / 2;
        door.y = lower.position.y + lower.size.y;
        return true;
    }
    // Side by side: the shared wall runs along y.
    const RoomRect& western = b.position.x > a.position.x ? a : b;
    const double from = std::max(a.position.y, b.position.y);
    const double to = std::min(a.position.y + wA, b.position.y + wB);
    door.x = western.position.x + western.size.x;
    door.y = (from + to) / 2 - doorWidth / 2;
    return false;
}

std::vector<Interval> mergeLineIntervals(std::vector<Interval> intervals)
{
    for (;;) {
        const size_t n = intervals.size();
        std::vector<bool> absorbed(n, false);
        std::vector<Interval> next;
        bool mergedAny = false;
        for (size_t i = 0; i < n; ++i) {
            if (absorbed[i])
                continue;
            const double a1 = intervals[i].first, b1 = intervals[i].second;
            bool overlapped = false;
            for (size_t j = i + 1; j < n; ++j) {
                const double a2 = intervals[j].first, b2 = intervals[j].second;
                if (a1 - b2 <= kWallTolerance && a2 - b1 <= kWallTolerance) {
                    next.push_back({std::min(a1, a2), std::max(b1, b2)});
                    absorbed[j] = true;
                    overlapped = true;
                }
            }
            if (!overlapped)
                next.push_back(intervals[i]);
            else
                mergedAny = true;
        }
        if (!mergedAny)
            return intervals;
        intervals = std::move(next);
    }
}

namespace {

struct Line {
    double key;
    std::vector<Interval> intervals;
};

// Appends the interval to the first line whose key lies within the
// tolerance of `key`, or to a new line.
void addToLines(std::vector<Line>& lines, double key, Interval interval)
{
    for (Line& line : lines) {
        if (std::fabs(line.key - key) < kWallTolerance) {
            line.intervals.push_back(interval);
            return;
        }
    }
    lines.push_back({key, {interval}});
}

bool runsAlongX(const Vec2& from, const Vec2& to)
{
    return Vec2::abs(Vec2::normalized(Vec2::minus(to, from))).x != 0.0;
}

bool edgeHolds(const Segment& edge, const Vec2& p)
{
    const double eps = kWallTolerance;
    if (runsAlongX(edge[0], edge[1])) {
        return std::fabs(edge[0].y - p.y) < eps &&
               p.x >= std::min(edge[0].x, edge[1].x) - eps &&
               p.x <= std::max(edge[0].x, edge[1].x) + eps;
    }
    return std::fabs(edge[0].x - p.x) < eps &&
           p.y >= std::min(edge[0].y, edge[1].y) - eps &&
           p.y <= std::max(edge[0].y, edge[1].y) + eps;
}

bool onOutline(const std::vector<Segment>& edges, const Vec2& p)
{
    for (const Segment& edge : edges)
        if (edgeHolds(edge, p))
            return true;
    return false;
}

// The room sides grouped into lines: sides along x by their y, sides along y
// by their x, each as an interval along its line.
void groupIntoLines(const std::vector<Segment>& segments, std::vector<Line>& linesX, std::vector<Line>& linesY)
{
    for (const Segment& segment : segments) {
        const Vec2& p = segment[0];
        const Vec2& q = segment[1];
        if (runsAlongX(p, q))
            addToLines(linesX, p.y, {std::min(p.x, q.x), std::max(p.x, q.x)});
        else
            addToLines(linesY, p.x, {std::min(p.y, q.y), std::max(p.y, q.y)});
    }
}

// One wall per merged interval of every line, line by line.
std::vector<Segment> mergedWalls(std::vector<Line> lines, bool alongX)
{
    std::vector<Segment> walls;
    for (Line& line : lines)
        line.intervals = mergeLineIntervals(std::move(line.intervals));
    for (const Line& line : lines) {
        for (const Interval& interval : line.intervals) {
            if (alongX)
                walls.push_back({Vec2(interval.first, line.key), Vec2(interval.second, line.key)});
            else
                walls.push_back({Vec2(line.key, interval.first), Vec2(line.key, interval.second)});
        }
    }
    return walls;
}

std::vector<Segment> outlineEdges(const std::vector<Vec2>& contour)
{
    std::vector<Segment> edges;
    for (size_t i = 0; i < contour.size(); ++i)
        edges.push_back({contour[i], contour[(i + 1) % contour.size()]});
    return edges;
}

// An x-wall end that stands free of the outline reaches half a wall further,
// to the middle of the y-wall it meets.
void lengthenFreeEnds(std::vector<Segment>& wallsX, const std::vector<Segment>& edges, double t)
{
    for (Segment& wall : wallsX) {
        if (!onOutline(edges, wall[0]))
            wall[0].x -= t / 2;
        if (!onOutline(edges, wall[1]))
            wall[1].x += t / 2;
    }
}

// The pieces of a y-wall that the x-walls crossing it leave, each crossing
// taking one wall thickness.
void cutAtCrossings(const Segment& wall, const std::vector<Segment>& wallsX, double t, std::vector<Segment>& result)
{
    const double eps = kWallTolerance;
    const double x = wall[0].x;
    const double lo = std::min(wall[0].y, wall[1].y);
    const double hi = std::max(wall[0].y, wall[1].y);
    std::vector<Segment> cuts;
    for (const Segment& crossing : wallsX) {
        const double y = crossing[0].y;
        if (y >= lo - eps && y <= hi + eps && x >= crossing[0].x - eps && x <= crossing[1].x + eps)
            cuts.push_back({Vec2(x, y - t / 2), Vec2(x, y + t / 2)});
    }
    if (cuts.empty()) {
        // Nothing crosses it: one wall from end to end, as it came.
        result.push_back(wall);
        return;
    }
    for (Segment& piece : subtractSegments(wall, cuts))
        result.push_back(std::move(piece));
}

} // namespace

std::vector<Segment> buildInteriorWalls(std::vector<Segment> segments, std::vector<Vec2> contour, double& t)
{
    std::vector<Line> linesX, linesY;
    groupIntoLines(segments, linesX, linesY);
    std::vector<Segment> wallsX = mergedWalls(std::move(linesX), true);
    const std::vector<Segment> wallsY = mergedWalls(std::move(linesY), false);
    lengthenFreeEnds(wallsX, outlineEdges(contour), t);

    // The y-wall pieces first, then the x-walls.
    std::vector<Segment> result;
    for (const Segment& wall : wallsY)
        cutAtCrossings(wall, wallsX, t, result);
    result.insert(result.end(), wallsX.begin(), wallsX.end());
    return result;
}

namespace {

// The pieces of a rectilinear region cut along x (alongX) or y into
// rectangles: the region is sliced at every vertex coordinate along the
// wall, each slice gives the intervals across it, and neighbouring slices
// with the same interval join.
std::vector<WallPiece> rectanglesAlong(const Clipper2Lib::PathsD& region, bool alongX,
                                       const std::vector<double>& exact)
{
    // The clipping rounds to 1e-8: a coordinate that came in exactly goes
    // out exactly.
    auto snap = [&exact](double v) {
        for (const double e : exact)
            if (std::fabs(v - e) < 1e-6)
                return e;
        return v;
    };
    auto along = [alongX](const Clipper2Lib::PointD& p) { return alongX ? p.x : p.y; };
    auto across = [alongX](const Clipper2Lib::PointD& p) { return alongX ? p.y : p.x; };
    std::vector<double> cuts;
    for (const Clipper2Lib::PathD& path : region)
        for (const Clipper2Lib::PointD& p : path)
            cuts.push_back(along(p));
    std::sort(cuts.begin(), cuts.end());
    cuts.erase(std::unique(cuts.begin(), cuts.end(), [](double a, double b) { return b - a < 1e-9; }), cuts.end());
    struct Open {
        double from, to, low, high;
    };
    std::vector<Open> open, done;
    for (std::size_t k = 0; k + 1 < cuts.size(); ++k) {
        const double middle = (cuts[k] + cuts[k + 1]) / 2.0;
        std::vector<double> crossings;
        for (const Clipper2Lib::PathD& path : region)
            for (std::size_t i = 0; i < path.size(); ++i) {
                const Clipper2Lib::PointD& p = path[i];
                const Clipper2Lib::PointD& q = path[(i + 1) % path.size()];
                if ((along(p) - middle) * (along(q) - middle) < 0.0)
                    crossings.push_back(across(p) + (across(q) - across(p)) * (middle - along(p)) / (along(q) - along(p)));
            }
        std::sort(crossings.begin(), crossings.end());
        std::vector<Open> next;
        for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
            const double low = crossings[i], high = crossings[i + 1];
            bool joined = false;
            for (Open& piece : open)
                if (!joined && piece.to == cuts[k] && std::fabs(piece.low - low) < 1e-9 &&
                    std::fabs(piece.high - high) < 1e-9) {
                    piece.to = cuts[k + 1];
                    next.push_back(piece);
                    piece.to = -1e300; // taken over by `next`
                    joined = true;
                }
            if (!joined)
                next.push_back({cuts[k], cuts[k + 1], low, high});
        }
        for (const Open& piece : open)
            if (piece.to != -1e300)
                done.push_back(piece);
        open = std::move(next);
    }
    done.insert(done.end(), open.begin(), open.end());
    std::vector<WallPiece> pieces;
    for (Open piece : done) {
        piece.from = snap(piece.from);
        piece.to = snap(piece.to);
        piece.low = snap(piece.low);
        piece.high = snap(piece.high);
        if (piece.to - piece.from < 1e-3 || piece.high - piece.low < 1e-3)
            continue;
        const double middle = (piece.low + piece.high) / 2.0;
        const Segment line = alongX ? Segment{Vec2(piece.from, middle), Vec2(piece.to, middle)}
                                    : Segment{Vec2(middle, piece.from), Vec2(middle, piece.to)};
        pieces.push_back({line, piece.high - piece.low});
    }
    return pieces;
}

} // namespace

std::vector<WallPiece> trimInteriorWalls(const std::vector<Segment>& walls, const std::vector<Vec2>& contour, double t)
{
    checkClippable(contour, "floor contour");
    checkDistance(t, "inner wall thickness");
    const Clipper2Lib::PathsD outline{toPath(contour)};
    Clipper2Lib::PathsD kept;
    std::vector<WallPiece> result;
    for (const Segment& wall : walls) {
        checkClippable(wall, "interior wall");
        const bool alongX = runsAlongX(wall[0], wall[1]);
        const double lo = alongX ? std::min(wall[0].x, wall[1].x) : std::min(wall[0].y, wall[1].y);
        const double hi = alongX ? std::max(wall[0].x, wall[1].x) : std::max(wall[0].y, wall[1].y);
        const double key = alongX ? wall[0].y : wall[0].x;
        const Clipper2Lib::PathD rectangle =
            alongX ? Clipper2Lib::PathD{{lo, key - t / 2}, {hi, key - t / 2}, {hi, key + t / 2}, {lo, key + t / 2}}
                   : Clipper2Lib::PathD{{key - t / 2, lo}, {key + t / 2, lo}, {key + t / 2, hi}, {key - t / 2, hi}};
        const Clipper2Lib::PathsD region = clipSafely([&] {
            Clipper2Lib::PathsD inside = Clipper2Lib::Intersect({rectangle}, outline, Clipper2Lib::FillRule::NonZero, 8);
            if (kept.empty())
                return inside;
            return Clipper2Lib::Difference(inside, kept, Clipper2Lib::FillRule::NonZero, 8);
        });
        double area = 0.0;
        for (const Clipper2Lib::PathD& path : region)
            area += Clipper2Lib::Area(path);
        kept.insert(kept.end(), region.begin(), region.end());
        kept = clipSafely([&] { return Clipper2Lib::Union(kept, Clipper2Lib::FillRule::NonZero, 8); });
        // Untouched: the wall as it came, free of the clipping's rounding.
        if (std::fabs(std::fabs(area) - (hi - lo) * t) < 1e-6 * std::max(1.0, hi - lo) && region.size() == 1) {
            result.push_back({wall, t});
            continue;
        }
        std::vector<double> exact{lo, hi, key - t / 2, key + t / 2};
        for (const Vec2& p : contour)
            exact.push_back(alongX ? p.y : p.x);
        for (WallPiece& piece : rectanglesAlong(region, alongX, exact))
            result.push_back(std::move(piece));
    }
    return result;
}

namespace {

Clipper2Lib::PathD rectanglePath(const RoomRect& room)
{
    const double x = room.position.x, y = room.position.y;
    const double l = room.size.x, w = room.size.y;
    return {{x, y}, {x + l, y}, {x + l, y + w}, {x, y + w}};
}

} // namespace

std::vector<Vec2> clipRoomToOuterWall(std::vector<Vec2> contour, const RoomRect& room,
                                      double outerWallThickness)
{
    checkClippable({room.position, room.size, Vec2::plus(room.position, room.size)}, "room");
    checkDistance(outerWallThickness, "outer wall thickness");
    if (contour.empty())
        return removeCollinearPoints(toPoints(rectanglePath(room)));
    checkClippable(contour, "floor contour");

    // The band of the outer wall: the contour grown by the wall thickness,
    // with the contour itself as a clockwise hole. The contour is grown in
    // its counter-clockwise order, so that the hole cancels it under the
    // non-zero rule whatever the orientation the caller's contour has.
    Polygon polygon(contour);
    Clipper2Lib::PathsD closed;
    clipSafely([&] {
        Clipper2Lib::PathsD band = Clipper2Lib::InflatePaths(
            {toPath(polygon.points)}, std::fabs(outerWallThickness), Clipper2Lib::JoinType::Miter,
            Clipper2Lib::EndType::Polygon, 2.0, 2, 0.0);
        polygon.makeClockwise();
        band.push_back(toPath(polygon.points));

        Clipper2Lib::ClipperD clipper(8);
        clipper.AddSubject({rectanglePath(room)});
        clipper.AddClip(band);
        clipper.Execute(Clipper2Lib::ClipType::Difference, Clipper2Lib::FillRule::NonZero, closed);
    });
    if (closed.empty())
        return {};
    return removeCollinearPoints(toPoints(closed.front()));
}

std::vector<Segment> roomInteriorEdges(const std::vector<Vec2>& contour, const RoomRect& room,
                                       double innerWallThickness)
{
    checkClippable({room.position, room.size, Vec2::plus(room.position, room.size)}, "room");
    checkClippable(contour, "floor contour");
    checkDistance(innerWallThickness, "inner wall thickness");
    const double x = room.position.x, y = room.position.y;
    const double l = room.size.x, w = room.size.y;
    const Clipper2Lib::PathsD sides{
        {{x, y}, {x + l, y}},                 // south
        {{x + l, y}, {x + l, y + w}},         // east
        {{x + l, y + w}, {x, y + w}},         // north
        {{x, y + w}, {x, y}},                 // west
    };

    Clipper2Lib::PathsD closed, open;
    clipSafely([&] {
        Clipper2Lib::PathsD band =
            Clipper2Lib::InflatePaths({toPath(contour)}, innerWallThickness,
                                      Clipper2Lib::JoinType::Miter, Clipper2Lib::EndType::Polygon,
                                      2.0, 2, 0.0);
        band.push_back(toPath(std::vector<Vec2>(contour.rbegin(), contour.rend())));

        Clipper2Lib::ClipperD clipper(8);
        clipper.AddOpenSubject(sides);
        clipper.AddClip(band);
        clipper.Execute(Clipper2Lib::ClipType::Difference, Clipper2Lib::FillRule::EvenOdd, closed,
                        open);
    });

    std::vector<Segment> result;
    for (const Clipper2Lib::PathD& path : open) {
        if (path.size() != 2)
            continue;
        const Clipper2Lib::PointD& p = path[0];
        const Clipper2Lib::PointD& q = path[1];
        if (p.x == q.x)
            result.push_back({Vec2(p.x, std::min(p.y, q.y)), Vec2(p.x, std::max(p.y, q.y))});
        else
            result.push_back({Vec2(std::min(p.x, q.x), p.y), Vec2(std::max(p.x, q.x), q.y)});
    }
    return result;
}
