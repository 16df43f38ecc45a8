#include "geometry/Polygon.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

double Vec2::length(const Vec2& v)
{
    return std::sqrt(v.x * v.x + v.y * v.y);
}

Vec2 Vec2::normalized(const Vec2& v)
{
    const double len = length(v);
    if (len == 0.0)
        return {0.0, 0.0};
    return {v.x / len, v.y / len};
}

Vec2 Vec2::abs(const Vec2& v)
{
    return {std::fabs(v.x), std::fabs(v.y)};
}

BoundingBox boundingBox(const std::vector<Vec2>& points)
{
    if (points.size() < 2)
        throw std::runtime_error("Too few vectors to create a bounding box");
    BoundingBox box{points.front(), points.front()};
    for (size_t i = 1; i < points.size(); ++i) {
        const Vec2& p = points[i];
        if (p.x < box.min.x) box.min.x = p.x;
        if (p.y < box.min.y) box.min.y = p.y;
        if (p.x > box.max.x) box.max.x = p.x;
        if (p.y > box.max.y) box.max.y = p.y;
    }
    return box;
}

double twiceSignedArea(const std::vector<Vec2>& points)
{
    const size_t n = points.size();
    if (n == 0)
        return 0.0;
    double sum = 0.0;
    for (size_t i = 1; i < n; ++i)
        sum += (points[i].y - points[i - 1].y) * (points[i].x + points[i - 1].x);
    sum += (points[0].y - points[n - 1].y) * (points[0].x + points[n - 1].x);
    return sum;
}

std::vector<Vec2> flipVertically(const std::vector<Vec2>& points)
{
    return flipAgainst(points, points);
}

std::vector<Vec2> flipAgainst(const std::vector<Vec2>& points, const std::vector<Vec2>& reference)
{
    const BoundingBox box = boundingBox(reference);
    const double height = box.max.y - box.min.y;
    std::vector<Vec2> flipped;
    flipped.reserve(points.size());
    for (const Vec2& p : points)
        flipped.emplace_back(p.x, height - p.y);
    return flipped;
}

Vec2 flipPointAgainst(const Vec2& point, const std::vector<Vec2>& reference)
{
    const BoundingBox box = boundingBox(reference);
    return {point.x, (box.max.y - box.min.y) - point.y};
}

Polygon::Polygon(const std::vector<Vec2>& pts)
{
    setPoints(pts);
}

void Polygon::setPoints(const std::vector<Vec2>& pts)
{
    counterClockwise = 1;
    points = pts;
    edges.clear();
    corners.assign(4, Vec2{0.0, 0.0});
    computeOrientation();
    computeArea();
    makeCounterClockwise();
    computeEdges();
    computeCorners();
}

double Polygon::getArea()
{
    computeArea();
    return area;
}

void Polygon::makeCounterClockwise()
{
    if (counterClockwise != 0)
        return;
    counterClockwise = 1;
    std::reverse(points.begin(), points.end());
    computeEdges();
    computeCorners();
}

void Polygon::makeClockwise()
{
    if (counterClockwise != 1)
        return;
    counterClockwise = 0;
    std::reverse(points.begin(), points.end());
    computeEdges();
    computeCorners();
}

void Polygon::computeOrientation()
{
    const size_t n = points.size();
    double s = 0.0;
    for (size_t i = 0; i + 1 < n; ++i)
        s += (points[i + 1].x - points[i].x) * (points[i + 1].y + points[i].y);
    if (n > 0)
        s += (points[0].x - points[n - 1].x) * (points[0].y + points[n - 1].y);
    // Not greater than zero covers counter-clockwise, degenerate and NaN sums.
    counterClockwise = (s > 0.0) ? 0 : 1;
}

void Polygon::computeArea()
{
    const size_t n = points.size();
    if (n == 0) {
        area = 0.0;
        return;
    }
    double sum = 0.0;
    for (size_t i = 0; i + 1 < n; ++i)
        sum += points[i].x * points[i + 1].y - points[i + 1].x * points[i].y;
    sum += points[n - 1].x * points[0].y - points[0].x * points[n - 1].y;
    area = std::fabs(sum) / 2.0;
}

static std::string edgeSide(const Vec2& a, const Vec2& b)
{
    if (a.x != b.x)
        return b.x > a.x ? "south" : "north";
    return b.y > a.y ? "east" : "west";
}

void Polygon::computeEdges()
{
    edges.clear();
    const size_t n = points.size();
    if (n == 0)
        return;
    for (size_t i = 0; i + 1 < n; ++i)
        edges.push_back({points[i], points[i + 1], edgeSide(points[i], points[i + 1])});
    edges.push_back({points[n - 1], points[0], edgeSide(points[n - 1], points[0])});
}

void Polygon::computeCorners()
{
    corners.assign(4, Vec2{0.0, 0.0});
    if (points.empty())
        return;
    double minX = points[0].x, maxX = points[0].x, minY = points[0].y, maxY = points[0].y;
    for (const Vec2& p : points) {
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    corners = {{minX, minY}, {minX, maxY}, {maxX, maxY}, {maxX, minY}};
}
