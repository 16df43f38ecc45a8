#pragma once

// The drawing interface through which the controller paints; the application
// implements it on its graphics library. Every operation may be called
// outside a paint, where it draws nothing and measures (0, 0).

#include "diagram/Graph.h"

#include <string>
#include <utility>

namespace diagram {

class Renderer {
public:
    virtual ~Renderer() = default;

    // Paints the whole view white.
    virtual void clear() = 0;
    virtual void drawLine(const Point& from, const Point& to, const ShapeStyle& style) = 0;
    virtual void drawCircle(const Point& centre, double radius) = 0;
    virtual void drawRect(const Point& position, const Size& size, const ShapeStyle& style) = 0;
    // `position` is the text's lower-left corner; the text is drawn in the
    // font of the latest getTextExtent.
    virtual void drawText(const std::string& text, int pointSize, const Point& position) = 0;
    // Also selects the font of that size for the next drawText.
    virtual std::pair<double, double> getTextExtent(const std::string& text, int pointSize) = 0;
};

} // namespace diagram
