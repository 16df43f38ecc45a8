#pragma once

// The arithmetic of the floor-plan view on plain numbers: fitting the
// drawing to the window, choosing grid columns for all levels, centring, and
// zooming and panning with the mouse. FloorPlanCtrl wires it to its window.
//
// A world point p of a level drawn in the grid cell at offset o (metres),
// already flipped to y downward, lands on the screen at (p + o + pan) x scale.

#include "geometry/Polygon.h"

#include <cstdint>
#include <vector>

namespace bg {
class Building;
class Room;
}
struct BuildingParameters;

// The levels that have floors, each once, from the lowest up: the all-levels
// plan gives each a grid cell in this order. Walking them (rather than every
// integer from the lowest level to the highest) keeps levels far apart cheap
// and levels at the limits of int defined.
std::vector<int> planLevels(const bg::Building& building);

// Metres between neighbouring grid cells.
constexpr double planCellGap = 8.0;
// Pixels of the window that the fitted drawing leaves free.
constexpr double planFitMargin = 30.0;
// Zoom exponent per unit of wheel rotation (a notch of 120 adds 0.6).
constexpr double planZoomPerRotation = 0.005;
// Scale = planZoomBase to the power of the zoom exponent.
constexpr double planZoomBase = 1.1;

// Pixels per metre that fit the drawing into a width x height window, for one
// level (oneLevel) or levelCount levels in `columns` columns, each level
// spanX x spanY metres. 0 when nothing fits: no columns or levels, a span
// that is not positive, or a window under the margin.
double planFitScale(double width, double height, double spanX, double spanY, bool oneLevel,
                    std::uint64_t columns, std::uint64_t levelCount);

// The column count from 1 to levelCount with the largest fit scale; among
// equal scales the fewer columns. 0 when no count fits.
std::uint64_t planColumns(double width, double height, double spanX, double spanY, std::uint64_t levelCount);

// The offset of the k-th grid cell (0 top left, then to the right, then the
// next row down) in metres.
Vec2 planCellOffset(int k, std::uint64_t columns, double spanX, double spanY);

// The pan that puts a drawing of extentX x extentY metres into the middle of
// the window.
Vec2 planCentredPan(double width, double height, double scale, double extentX, double extentY);

// Where a world point (flipped, in its cell at `cellOffset`) lands on the screen.
Vec2 planToScreen(const Vec2& point, const Vec2& cellOffset, const Vec2& pan, double scale);

// The zoom exponent whose power is the scale.
double planZoomExponent(double scale);

struct PlanZoom {
    double zoomExponent = 0.0;
    double scale = 1.0;
    Vec2 pan;
};

// The view after a wheel rotation with the mouse at `mouse` (pixels): the
// world point under the mouse stays under it.
PlanZoom planZoomAt(const PlanZoom& view, double wheelRotation, const Vec2& mouse);

// The pan while dragging: the drawing follows the mouse pixel for pixel.
Vec2 planDraggedPan(const Vec2& panAtPress, const Vec2& pressPoint, const Vec2& mouse, double scale);

// The axis-parallel rectangle from (x0, y0) to (x1, y1), counter-clockwise.
std::vector<Vec2> planRectangle(double x0, double y0, double x1, double y1);

// The exterior door of an entrance room: one door width across the middle of
// the room's face that lies on an edge of the layout's contour, the outer
// wall's thickness deep. The face must lie on the edge itself, not only on
// its line (on an L-shaped floor a notch's edge may share a line with a room
// far from it). Empty when no edge holds a face of the room.
std::vector<Vec2> planEntranceDoor(const bg::Room& room, const std::vector<Vec2>& layoutContour,
                                   const BuildingParameters& parameters);
