#include "BuildingOutlineView.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace {

std::string formatMetres(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

} // namespace

double fitScale(double width, double height, double boxWidth, double boxHeight, std::uint64_t columns,
                std::uint64_t levelCount)
{
    double totalWidth = boxWidth;
    double totalHeight = boxHeight;
    if (columns > 0) {
        if (levelCount == 0)
            return 0.0;
        const std::uint64_t rows = (levelCount + columns - 1) / columns;
        totalWidth = boxWidth * static_cast<double>(columns) + static_cast<double>(columns - 1) * kOutlineCellGap;
        totalHeight = boxHeight * static_cast<double>(rows) + static_cast<double>(rows - 1) * kOutlineCellGap;
    }
    // A drawing without extent has no scale that fits it; a zero box in the
    // grid still has the gaps, but its outlines would be invisible lines.
    if (!(boxWidth > 0.0) || !(boxHeight > 0.0) || !std::isfinite(totalWidth) || !std::isfinite(totalHeight))
        return 0.0;
    const double scale = std::min((height - kOutlineMargin) / totalHeight, (width - kOutlineMargin) / totalWidth);
    return (scale > 0.0 && std::isfinite(scale)) ? scale : 0.0;
}

std::uint64_t bestColumnCount(double width, double height, double boxWidth, double boxHeight,
                              std::uint64_t levelCount)
{
    std::uint64_t best = 0;
    double bestScale = std::numeric_limits<double>::denorm_min();
    for (std::uint64_t c = 1; c <= levelCount; ++c) {
        const double scale = fitScale(width, height, boxWidth, boxHeight, c, levelCount);
        if (scale > bestScale) {
            bestScale = scale;
            best = c;
        }
    }
    return best;
}

Vec2 cellOffset(std::uint64_t k, std::uint64_t columns, double boxWidth, double boxHeight)
{
    if (columns == 0)
        return {0.0, 0.0};
    return {static_cast<double>(k % columns) * (boxWidth + kOutlineCellGap),
            static_cast<double>(k / columns) * (boxHeight + kOutlineCellGap)};
}

Vec2 gridExtent(const std::vector<LevelOutline>& floors, int lowestLevel, std::uint64_t columns, double boxWidth,
                double boxHeight)
{
    bool any = false;
    BoundingBox all;
    for (const LevelOutline& floor : floors) {
        if (floor.contour.size() < 2 || floor.level < lowestLevel)
            continue;
        const BoundingBox box = boundingBox(floor.contour);
        const Vec2 offset = cellOffset(static_cast<std::uint64_t>(static_cast<std::int64_t>(floor.level) - lowestLevel),
                                       columns, boxWidth, boxHeight);
        const Vec2 low = Vec2::plus(box.min, offset);
        const Vec2 high = Vec2::plus(box.max, offset);
        if (!any) {
            all = {low, high};
            any = true;
            continue;
        }
        all.min = {std::min(all.min.x, low.x), std::min(all.min.y, low.y)};
        all.max = {std::max(all.max.x, high.x), std::max(all.max.y, high.y)};
    }
    return any ? Vec2::minus(all.max, all.min) : Vec2{0.0, 0.0};
}

Vec2 centredPan(double width, double height, double scale, Vec2 extent)
{
    return {(width / 2.0) / scale - extent.x / 2.0, (height / 2.0) / scale - extent.y / 2.0};
}

double zoomExponentOf(double scale)
{
    return std::log10(scale) / std::log10(1.1);
}

OutlineZoom zoomAt(const OutlineZoom& view, int rotation, Vec2 mouse)
{
    OutlineZoom zoomed;
    zoomed.zoomExponent = view.zoomExponent + rotation * 0.005;
    zoomed.scale = std::pow(1.1, zoomed.zoomExponent);
    zoomed.pan.x = view.pan.x - (mouse.x / view.scale - mouse.x / zoomed.scale);
    zoomed.pan.y = view.pan.y - (mouse.y / view.scale - mouse.y / zoomed.scale);
    return zoomed;
}

Vec2 toScreen(Vec2 flippedPoint, Vec2 offset, Vec2 pan, double scale)
{
    return {(flippedPoint.x + offset.x + pan.x) * scale, (flippedPoint.y + offset.y + pan.y) * scale};
}

std::vector<OutlineLabel> sideLabels(const std::vector<Vec2>& contour, Vec2 offset, Vec2 pan, double scale)
{
    std::vector<OutlineLabel> labels;
    if (contour.size() < 2)
        return labels;
    const BoundingBox box = boundingBox(contour);
    const double height = box.max.y - box.min.y;
    for (const PolygonEdge& edge : Polygon(contour).getEdges()) {
        const Vec2 middle = {(edge.start.x + edge.end.x) / 2.0, height - (edge.start.y + edge.end.y) / 2.0};
        Vec2 position = toScreen(middle, offset, pan, scale);
        if (edge.side == "east")
            position.x -= 40.0;
        else if (edge.side == "south")
            position.y -= 20.0;
        labels.push_back({formatMetres(Vec2::length(Vec2::minus(edge.end, edge.start))), position});
    }
    return labels;
}

OutlineLabel levelLabel(int level, const std::vector<Vec2>& contour, Vec2 offset, Vec2 pan, double scale)
{
    const BoundingBox box = boundingBox(contour);
    const Vec2 middle = {(box.min.x + box.max.x) / 2.0, (box.min.y + box.max.y) / 2.0};
    return {std::to_string(level), toScreen(middle, offset, pan, scale)};
}
