#pragma once

#include <string>
#include <vector>

// Plane geometry of floor plans: metres, +x east, +y north.

struct Vec2 {
    double x = 0.0;
    double y = 0.0;

    Vec2() = default;
    Vec2(double x_, double y_) : x(x_), y(y_) {}

    double getX() const { return x; }
    double getY() const { return y; }

    static Vec2 minus(const Vec2& a, const Vec2& b) { return {a.x - b.x, a.y - b.y}; }
    static Vec2 plus(const Vec2& a, const Vec2& b) { return {a.x + b.x, a.y + b.y}; }
    static Vec2 scaled(const Vec2& v, double s) { return {v.x * s, v.y * s}; }
    static double length(const Vec2& v);
    // v divided by its length; (0, 0) for the zero vector.
    static Vec2 normalized(const Vec2& v);
    // Both coordinates with their sign bits cleared (-0.0 becomes 0.0).
    static Vec2 abs(const Vec2& v);
};

struct BoundingBox {
    Vec2 min;
    Vec2 max;
};

struct PolygonEdge {
    Vec2 start;
    Vec2 end;
    std::string side; // "south", "north", "east" or "west"

    Vec2 getStart() const { return start; }
    Vec2 getEnd() const { return end; }
    std::string getSide() const { return side; }
};

// Throws std::runtime_error "Too few vectors to create a bounding box" for
// fewer than two points.
BoundingBox boundingBox(const std::vector<Vec2>& points);

// Positive for a counter-clockwise list, negative for a clockwise one; its
// absolute value is twice the enclosed area. 0 for an empty list.
double twiceSignedArea(const std::vector<Vec2>& points);

// Mirrors floor coordinates (y up) into drawing coordinates (y down):
// (x, y) becomes (x, (maxY - minY) - y). Throws like boundingBox.
std::vector<Vec2> flipVertically(const std::vector<Vec2>& points);

// The same mirror taken within the y extent of another outline, so that
// every shape of one level flips against that level's floor: (x, y) becomes
// (x, (maxY - minY) - y) with minY and maxY over `reference`. Throws like
// boundingBox when the reference has fewer than two points.
std::vector<Vec2> flipAgainst(const std::vector<Vec2>& points, const std::vector<Vec2>& reference);
Vec2 flipPointAgainst(const Vec2& point, const std::vector<Vec2>& reference);

// A closed polygon, always counter-clockwise after construction, with its
// area, side-labelled edges and the four corners of its bounding box.
class Polygon {
public:
    explicit Polygon(const std::vector<Vec2>& points);

    void setPoints(const std::vector<Vec2>& points);
    double getArea();
    std::vector<PolygonEdge> getEdges() const { return edges; }

    void makeCounterClockwise();
    void makeClockwise();

    void computeOrientation();
    void computeArea();
    void computeEdges();
    void computeCorners();

    int counterClockwise = 1;
    std::vector<Vec2> points;
    double area = 0.0;
    std::vector<PolygonEdge> edges;
    std::vector<Vec2> corners;
};
