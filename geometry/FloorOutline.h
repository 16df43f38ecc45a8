#pragma once

#include "geometry/Polygon.h"

#include <string>
#include <vector>

// Floor outlines as the building page makes them: metres, x along the
// building's length (east), y along its width (north), counter-clockwise
// from the south-west corner.

// The rectangle (0, 0), (length, 0), (length, width), (0, width).
std::vector<Vec2> makeRectangleContour(double length, double width);

// The length x width rectangle without a cornerLength x cornerWidth notch
// at the named corner: "Top-Left", "Top-Right", "Bottom-Left" or
// "Bottom-Right" (compared exactly; "Top" is north). Six points for a named
// corner, the four-point rectangle for any other text. The sizes are not
// checked: a notch not inside the rectangle gives a self-crossing outline
// (see isCornerInside).
std::vector<Vec2> makeLShapeContour(double length, double width, const std::string& corner, double cornerLength,
                                    double cornerWidth);

// Whether a cornerLength x cornerWidth notch lies strictly inside a
// length x width rectangle, so that the L outline is simple and not empty.
bool isCornerInside(double length, double width, double cornerLength, double cornerWidth);
