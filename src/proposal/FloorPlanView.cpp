#include "FloorPlanView.h"

#include "model/Building.h"

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
