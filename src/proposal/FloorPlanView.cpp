#include "FloorPlanView.h"

#include "model/Building.h"
#include "model/BuildingParameters.h"
#include "model/Proposal.h"

#include <set>

#include <algorithm>
#include <cmath>

double planFitScale(double width, double height, double spanX, double spanY, bool oneLevel,
                    std::uint64_t columns, std::uint64_t levelCount)
{
    const double availableWidth = width - planFitMargin;
    const double availableHeight = height - planFitMargin;
    double drawingWidth = spanX, drawingHeight = spanY;
    if (!oneLevel) {
        if (columns == 0 || levelCount == 0)
            return 0.0;
        const double n = static_cast<double>(columns);
        const double rows = static_cast<double>((levelCount + columns - 1) / columns);
        drawingWidth = n * spanX + (n - 1) * planCellGap;
        drawingHeight = rows * spanY + (rows - 1) * planCellGap;
    }
    if (availableWidth <= 0.0 || availableHeight <= 0.0 || !(spanX > 0.0) || !(spanY > 0.0))
        return 0.0;
    const double scale = std::min(availableHeight / drawingHeight, availableWidth / drawingWidth);
    return std::isfinite(scale) && scale > 0.0 ? scale : 0.0;
}

std::uint64_t planColumns(double width, double height, double spanX, double spanY, std::uint64_t levelCount)
{
    std::uint64_t best = 0;
    double bestScale = 0.0;
    for (std::uint64_t n = 1; n <= levelCount; ++n) {
        const double scale = planFitScale(width, height, spanX, spanY, false, n, levelCount);
        if (scale > bestScale) {
            best = n;
            bestScale = scale;
        }
    }
    return best;
}

Vec2 planCellOffset(int k, std::uint64_t columns, double spanX, double spanY)
{
    if (columns == 0 || k < 0)
        return {0.0, 0.0};
    const auto index = static_cast<std::uint64_t>(k);
    return {static_cast<double>(index % columns) * (spanX + planCellGap),
            static_cast<double>(index / columns) * (spanY + planCellGap)};
}

Vec2 planCentredPan(double width, double height, double scale, double extentX, double extentY)
{
    return {width * 0.5 / scale - extentX * 0.5, height * 0.5 / scale - extentY * 0.5};
}

Vec2 planToScreen(const Vec2& point, const Vec2& cellOffset, const Vec2& pan, double scale)
{
    return {(point.x + cellOffset.x + pan.x) * scale, (point.y + cellOffset.y + pan.y) * scale};
}

double planZoomExponent(double scale)
{
    return std::log10(scale) / std::log10(planZoomBase);
}

PlanZoom planZoomAt(const PlanZoom& view, double wheelRotation, const Vec2& mouse)
{
    PlanZoom zoomed;
    zoomed.zoomExponent = view.zoomExponent + wheelRotation * planZoomPerRotation;
    zoomed.scale = std::pow(planZoomBase, zoomed.zoomExponent);
    zoomed.pan = {view.pan.x - (mouse.x / view.scale - mouse.x / zoomed.scale),
                  view.pan.y - (mouse.y / view.scale - mouse.y / zoomed.scale)};
    return zoomed;
}

Vec2 planDraggedPan(const Vec2& panAtPress, const Vec2& pressPoint, const Vec2& mouse, double scale)
{
    return {panAtPress.x + (mouse.x - pressPoint.x) / scale, panAtPress.y + (mouse.y - pressPoint.y) / scale};
}

std::vector<int> planLevels(const bg::Building& building)
{
    std::set<int> levels;
    for (const auto& floor : building.floors)
        levels.insert(floor->level);
    return {levels.begin(), levels.end()};
}

std::vector<Vec2> planRectangle(double x0, double y0, double x1, double y1)
{
    return {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
}

std::vector<Vec2> planEntranceDoor(const bg::Room& room, const std::vector<Vec2>& layoutContour,
                                   const BuildingParameters& parameters)
{
    const double t = parameters.innerWallStrength;
    const double d = parameters.doorWidth / 2;
    const double p = parameters.outerWallStrength;
    const double x = room.position.x, y = room.position.y;
    const double l = room.size.x, w = room.size.y;
    const double cx = x + l / 2, cy = y + w / 2;
    constexpr double tolerance = 1e-4;

    // Whether the door's width around `centre` lies within the edge's extent
    // from `a` to `b` along it.
    auto within = [&](double centre, double a, double b) {
        return centre - d >= std::min(a, b) - tolerance && centre + d <= std::max(a, b) + tolerance;
    };
    for (const PolygonEdge& edge : Polygon(layoutContour).getEdges()) {
        if (edge.side == "east" && std::fabs(x + l - t / 2 - edge.start.x) < tolerance
            && within(cy, edge.start.y, edge.end.y)) {
            const double xe = x + l - t / 2;
            return planRectangle(xe, cy - d, xe + p, cy + d);
        }
        if (edge.side == "south" && std::fabs(y + t / 2 - edge.start.y) < tolerance
            && within(cx, edge.start.x, edge.end.x)) {
            const double ys = y + t / 2;
            return planRectangle(cx - d, ys - p, cx + d, ys);
        }
        if (edge.side == "west" && std::fabs(x + t / 2 - edge.start.x) < tolerance
            && within(cy, edge.start.y, edge.end.y)) {
            const double xw = x + t / 2;
            return planRectangle(xw - p, cy - d, xw, cy + d);
        }
        if (edge.side == "north" && std::fabs(y + w - t / 2 - edge.start.y) < tolerance
            && within(cx, edge.start.x, edge.end.x)) {
            const double yn = y + w - t / 2;
            return planRectangle(cx - d, yn, cx + d, yn + p);
        }
    }
    return {};
}
