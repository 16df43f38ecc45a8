#include "geometry/LayoutGeometry.h"

#include <clipper2/clipper.h>

#include <algorithm>
#include <cmath>

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

} // namespace

std::vector<Vec2> insetPolygon(std::vector<Vec2> points, double d)
{
    const Clipper2Lib::PathsD paths{toPath(points)};
    const Clipper2Lib::PathsD result =
        Clipper2Lib::InflatePaths(paths, -std::fabs(d), Clipper2Lib::JoinType::Miter,
                                  Clipper2Lib::EndType::Polygon, 2.0, 6, 0.0);
    if (result.empty())
        return {};
    return toPoints(result.front());
}
