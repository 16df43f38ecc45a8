#pragma once

#include "geometry/Polygon.h"

#include <wx/colour.h>
#include <wx/control.h>

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

class wxDC;
class wxGraphicsContext;
class wxMouseEvent;
class wxPaintEvent;
class wxSizeEvent;

namespace bg {
class Building;
class Floor;
class Proposal;
} // namespace bg

// A proposal's floor plan: one level, or every level of the building in a
// grid, with the outer-wall band, optionally the interior walls, the rooms in
// the colours of their types with name and index, the doors between
// connected rooms and the exterior door of every entrance. The left button
// pans, the wheel zooms about the mouse, and a resize fits the drawing again.
//
// The page gives it the building, floor and proposal right after creating it
// and sets floor, oneLevel, columns and drawInnerWalls directly.
class FloorPlanCtrl : public wxControl {
public:
    explicit FloorPlanCtrl(wxWindow* parent);
    ~FloorPlanCtrl() override;

    // Scales and centres the drawing in the window. A window too small to
    // hold the margin keeps the scale it had.
    void fitToView();
    // Switches to all levels and picks the column count that draws them
    // largest, then fits.
    void chooseColumns();
    double fitScale();
    void centre();
    // (minX, minY, maxX, maxY) of the current floor's contour.
    BoundingBox floorExtent();
    // Paints the whole plan on the DC, as a paint does.
    void render(wxDC& dc);

    wxGraphicsContext* context = nullptr; // only while a paint runs
    double scale = 1.0;                   // pixels per metre
    double zoomExponent = 0.0;            // scale = 1.1 to this power after every zoom
    std::shared_ptr<bg::Building> building;
    std::shared_ptr<bg::Proposal> proposal;
    // The level drawn in one-level mode, and the extent of every grid cell.
    std::shared_ptr<bg::Floor> floor;
    int oneLevel = 1; // 1: the current floor's level only; 0: all levels in columns
    std::uint64_t columns = 0;
    Vec2 panAtPress;
    Vec2 pan; // metres added to every drawn point before scaling
    bool dragging = false;
    Vec2 pressPoint;
    Vec2 lastMouse;
    bool drawInnerWalls = false; // also the rooms' inner contours ("Draw inner wall")

private:
    void drawAll();
    void drawLevel(int level, const Vec2& cellOffset);
    void drawRooms(int level, const std::vector<Vec2>& reference, const std::vector<Vec2>& outline,
                   const Vec2& cellOffset);
    void fillPolygon(const std::vector<Vec2>& points, const Vec2& cellOffset, const wxColour& colour);
    void drawLabel(const wxString& text, const Vec2& point, const Vec2& cellOffset);
    // Logs each problem of the model once, not at every paint.
    void reportOnce(const std::string& message);

    void onLeftDown(wxMouseEvent& event);
    void onLeftUp(wxMouseEvent& event);
    void onMotion(wxMouseEvent& event);
    void onMouseWheel(wxMouseEvent& event);
    void onPaint(wxPaintEvent& event);
    void onSize(wxSizeEvent& event);

    std::set<std::string> reported;
};

// The fill of a room type: the eight named types have their colours; any
// other type is white.
wxColour roomTypeColour(const std::string& roomType);
