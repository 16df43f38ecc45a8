#include "geometry/FloorOutline.h"

#include <cmath>

std::vector<Vec2> makeRectangleContour(double length, double width)
{
    return {{0, 0}, {length, 0}, {length, width}, {0, width}};
}

std::vector<Vec2> makeLShapeContour(double length, double width, const std::string& corner, double cornerLength,
                                    double cornerWidth)
{
    const double l = length;
    const double w = width;
    const double a = cornerLength;
    const double b = cornerWidth;
    std::vector<Vec2> contour;
    // One group per corner, walked counter-clockwise; a notched corner
    // replaces its single point by the three points around the notch.
    if (corner == "Bottom-Left")
        contour.insert(contour.end(), {{0, b}, {a, b}, {a, 0}});
    else
        contour.push_back({0, 0});
    if (corner == "Bottom-Right")
        contour.insert(contour.end(), {{l - a, 0}, {l - a, b}, {l, b}});
    else
        contour.push_back({l, 0});
    if (corner == "Top-Right")
        contour.insert(contour.end(), {{l, w - b}, {l - a, w - b}, {l - a, w}});
    else
        contour.push_back({l, w});
    if (corner == "Top-Left")
        contour.insert(contour.end(), {{a, w}, {a, w - b}, {0, w - b}});
    else
        contour.push_back({0, w});
    return contour;
}

bool isCornerInside(double length, double width, double cornerLength, double cornerWidth)
{
    // Written so that NaN fails every comparison and is refused.
    return cornerLength > 0 && cornerWidth > 0 && cornerLength < length && cornerWidth < width &&
           std::isfinite(length) && std::isfinite(width);
}
