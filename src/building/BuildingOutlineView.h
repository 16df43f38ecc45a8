#pragma once

// The arithmetic of the building outline control: fitting, the grid of the
// all-floors view, centring, zooming about the mouse and where the labels
// go. Plain numbers and contours, so that it is tested without a window.

#include "geometry/Polygon.h"

#include <cstdint>
#include <string>
#include <vector>

// Pixels left free around a fitted drawing, both sides together.
constexpr double kOutlineMargin = 30.0;
// Metres between the cells of the all-floors grid.
constexpr double kOutlineCellGap = 8.0;

// Pixels per metre at which the drawing fits a client area of width x height
// pixels with kOutlineMargin / 2 on every side. The drawing is one box of
// boxWidth x boxHeight metres when columns is 0, else levelCount such boxes
// in a grid of that many columns. 0 when nothing fits: a client area within
// the margin, a box without extent, no levels.
double fitScale(double width, double height, double boxWidth, double boxHeight, std::uint64_t columns,
                std::uint64_t levelCount);

// The column count, 1 to levelCount, whose grid gets the largest fitScale;
// the fewest columns among equal scales. 0 when no count gives a scale.
std::uint64_t bestColumnCount(double width, double height, double boxWidth, double boxHeight,
                              std::uint64_t levelCount);

// Offset in metres of grid cell k (0 top left, then rightwards, then the next
// row down).
Vec2 cellOffset(std::uint64_t k, std::uint64_t columns, double boxWidth, double boxHeight);

// One floor's outline and level, as the all-floors view places it.
struct LevelOutline {
    int level = 0;
    std::vector<Vec2> contour;
};

// The extent in metres of the all-floors drawing: the union of the floors'
// boxes, each shifted to the cell of its level counted from lowestLevel.
// Contours of fewer than two points take no room.
Vec2 gridExtent(const std::vector<LevelOutline>& floors, int lowestLevel, std::uint64_t columns, double boxWidth,
                double boxHeight);

// The pan (metres) that centres a drawing of extent (x, y) metres, starting
// at (0, 0), in width x height pixels.
Vec2 centredPan(double width, double height, double scale, Vec2 extent);

// The zoom exponent whose power of 1.1 is scale.
double zoomExponentOf(double scale);

struct OutlineZoom {
    double scale = 1.0;
    double zoomExponent = 0.0;
    Vec2 pan;
};

// The view after a wheel turn of `rotation` (120 a notch) with the mouse at
// `mouse` pixels: 1.1 to the power of zoomExponent + rotation * 0.005, panned
// so that the point under the mouse stays there.
OutlineZoom zoomAt(const OutlineZoom& view, int rotation, Vec2 mouse);

// Pixel position of a floor point already flipped so that north is up.
Vec2 toScreen(Vec2 flippedPoint, Vec2 offset, Vec2 pan, double scale);

// A text and the pixel position of its top-left corner.
struct OutlineLabel {
    std::string text;
    Vec2 position;
};

// The length of each side of the outline ("%.2f") at the side's middle, as
// drawn in the one-floor view; east sides' labels move 40 px left and south
// sides' 20 px up, so that they stay inside the outline. Empty for fewer
// than two points.
std::vector<OutlineLabel> sideLabels(const std::vector<Vec2>& contour, Vec2 offset, Vec2 pan, double scale);

// The level number at the middle of the outline's box, as drawn in the
// all-floors view. Throws for fewer than two points, like boundingBox.
OutlineLabel levelLabel(int level, const std::vector<Vec2>& contour, Vec2 offset, Vec2 pan, double scale);
