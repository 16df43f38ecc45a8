#pragma once

#include "geometry/Polygon.h"

#include <wx/control.h>

#include <cstdint>
#include <memory>

class wxGraphicsContext;

namespace bg {
class Building;
class Floor;
} // namespace bg

// The drawing area of the building page: the current floor's outline with
// the length of every side, or all floors side by side in a grid with their
// level numbers. Dragging with the left button pans, the wheel zooms about
// the mouse; every size change refits the view. The arithmetic lives in
// BuildingOutlineView.h.
class BuildingEditorCtrl : public wxControl {
public:
    explicit BuildingEditorCtrl(wxWindow* parent);
    ~BuildingEditorCtrl() override;

    // Shows the building's root floor; a building without floors first gets
    // a root floor of level 0.
    void setBuilding(const std::shared_ptr<bg::Building>& newBuilding);
    // Makes the floor current; one without an outline gets the default
    // rectangle of the application settings.
    void setFloor(const std::shared_ptr<bg::Floor>& newFloor);
    // Fits and centres the drawing. A drawing that cannot be fitted (no
    // extent, a client area within the margin) keeps the view it has.
    void fitToView();
    // The all-floors view with the column count that draws largest.
    void arrangeAll();
    void showOneFloor();

    std::shared_ptr<bg::Building> getBuilding() const { return building; }
    std::shared_ptr<bg::Floor> getFloor() const { return floor; }
    double getScale() const { return scale; }
    double getZoomExponent() const { return zoomExponent; }
    Vec2 getPan() const { return pan; }
    bool isShowingAll() const { return showAll != 0; }
    std::uint64_t getColumns() const { return columns; }

private:
    double fitScale() const;
    BoundingBox floorBounds() const;
    void centreView();
    void drawFloors(wxGraphicsContext& gc);
    void drawFloor(wxGraphicsContext& gc, int level, Vec2 offset);

    void onPaint(wxPaintEvent& event);
    void onLeftDown(wxMouseEvent& event);
    void onLeftUp(wxMouseEvent& event);
    void onMotion(wxMouseEvent& event);
    void onMouseWheel(wxMouseEvent& event);
    void onSize(wxSizeEvent& event);

    std::shared_ptr<bg::Building> building;
    // Drawn in the one-floor view; its box sets the cell of the grid.
    std::shared_ptr<bg::Floor> floor;
    // Pixels per metre; always 1.1 to the power of zoomExponent.
    double scale = 1.0;
    double zoomExponent = 0.0;
    int showAll = 0;
    // Grid columns of the all-floors view.
    std::uint64_t columns = 0;
    // Metres added to every point before it is scaled.
    Vec2 pan;
    Vec2 panAtDragStart;
    // Pixels.
    Vec2 dragStart;
    bool dragging = false;
};
