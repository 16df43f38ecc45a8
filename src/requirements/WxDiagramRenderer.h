#pragma once

#include "diagram/Renderer.h"

#include <wx/colour.h>
#include <wx/pen.h>

class wxGraphicsContext;
class wxWindow;

// The diagram library's drawing interface on a wxGraphicsContext. The
// diagram control sets the context only while it paints; outside a paint
// every drawing operation does nothing and text measures (0, 0).
class WxDiagramRenderer : public diagram::Renderer {
public:
    explicit WxDiagramRenderer(wxWindow* window) : window(window) {}
    ~WxDiagramRenderer() override;

    // Fills the window's client area white.
    void clear() override;
    // One pixel wide in the style's stroke colour, whatever its width.
    void drawLine(const diagram::Point& from, const diagram::Point& to, const diagram::ShapeStyle& style) override;
    // Stroked with the context's current pen.
    void drawCircle(const diagram::Point& centre, double radius) override;
    void drawRect(const diagram::Point& position, const diagram::Size& size, const diagram::ShapeStyle& style) override;
    // In the font and colour the latest getTextExtent set; the point size is not used.
    void drawText(const std::string& text, int pointSize, const diagram::Point& lowerLeft) override;
    std::pair<double, double> getTextExtent(const std::string& text, int pointSize) override;

    wxWindow* window;                     // whose client area clear fills
    wxGraphicsContext* context = nullptr; // only while the window paints
};

// A colour component from 0 to 1 as a byte, truncated (0.59 gives 150).
unsigned char colourByte(double component);
wxColour toColour(const diagram::Colour& colour);
// 1 dotted, 2 and 3 dot-dash, every other kind solid.
wxPenStyle penStyle(int dash);
// The stroke of a rectangle: stroke colour, width truncated to whole pixels.
wxPen rectPen(const diagram::ShapeStyle& style);
