#include "BuildingEditorCtrl.h"

#include "shell/AppSettings.h"
#include "BuildingOutlineView.h"
#include "proposal/FloorPlanView.h"

#include "geometry/FloorOutline.h"
#include "model/Building.h"

#include <wx/dcbuffer.h>
#include <wx/graphics.h>
#include <wx/log.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <exception>

BuildingEditorCtrl::BuildingEditorCtrl(wxWindow* parent)
    : wxControl(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxBORDER_NONE)
{
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    SetFont(wxFont(12, wxFONTFAMILY_DEFAULT, wxFONTSTYLE_NORMAL, wxFONTWEIGHT_LIGHT));
    Bind(wxEVT_LEAVE_WINDOW, &BuildingEditorCtrl::onLeftUp, this);
    Bind(wxEVT_LEFT_DOWN, &BuildingEditorCtrl::onLeftDown, this);
    Bind(wxEVT_PAINT, &BuildingEditorCtrl::onPaint, this);
    Bind(wxEVT_LEFT_UP, &BuildingEditorCtrl::onLeftUp, this);
    Bind(wxEVT_MOTION, &BuildingEditorCtrl::onMotion, this);
    Bind(wxEVT_MOUSEWHEEL, &BuildingEditorCtrl::onMouseWheel, this);
    Bind(wxEVT_SIZE, &BuildingEditorCtrl::onSize, this);
}

BuildingEditorCtrl::~BuildingEditorCtrl() = default;

void BuildingEditorCtrl::setBuilding(const std::shared_ptr<bg::Building>& newBuilding)
{
    building = newBuilding;
    std::shared_ptr<bg::Floor> shown = building ? building->root : nullptr;
    if (building && !shown) {
        shown = std::make_shared<bg::Floor>(0);
        building->setRoot(shown);
        building->addFloor(shown);
    }
    setFloor(shown);
    Refresh();
}

void BuildingEditorCtrl::setFloor(const std::shared_ptr<bg::Floor>& newFloor)
{
    floor = newFloor;
    if (floor && floor->contour.empty()) {
        const AppSettings& settings = getAppSettings();
        floor->setContour(makeRectangleContour(settings.defaultLength, settings.defaultWidth));
    }
    Refresh();
}

BoundingBox BuildingEditorCtrl::floorBounds() const
{
    // All floors share one cell size, which must hold the largest of them.
    if (showAll && building) {
        std::vector<Vec2> corners;
        for (const auto& each : building->floors)
            if (each->contour.size() >= 2) {
                const BoundingBox box = boundingBox(each->contour);
                corners.push_back(box.min);
                corners.push_back(box.max);
            }
        if (!corners.empty())
            return boundingBox(corners);
    }
    if (!floor || floor->contour.size() < 2)
        return {};
    return boundingBox(floor->contour);
}

double BuildingEditorCtrl::fitScale() const
{
    const wxSize client = GetClientSize();
    const BoundingBox box = floorBounds();
    const std::uint64_t levels = building ? building->levelCount : 0;
    return ::fitScale(client.x, client.y, box.max.x - box.min.x, box.max.y - box.min.y, showAll ? columns : 0,
                      levels);
}

void BuildingEditorCtrl::fitToView()
{
    const double fitted = fitScale();
    if (fitted > 0.0) {
        scale = fitted;
        zoomExponent = zoomExponentOf(scale);
        centreView();
    }
    Refresh();
}

void BuildingEditorCtrl::centreView()
{
    Vec2 extent;
    const BoundingBox box = floorBounds();
    if (showAll && building) {
        std::vector<LevelOutline> outlines;
        for (const auto& each : building->floors)
            outlines.push_back({each->level, each->contour});
        extent = gridExtent(outlines, building->minLevel, columns, box.max.x - box.min.x, box.max.y - box.min.y);
    } else {
        extent = Vec2::minus(box.max, box.min);
    }
    const wxSize size = GetClientSize();
    pan = centredPan(size.x, size.y, scale, extent);
}

void BuildingEditorCtrl::arrangeAll()
{
    showAll = 1;
    Refresh();
    const wxSize client = GetClientSize();
    const BoundingBox box = floorBounds();
    columns = bestColumnCount(client.x, client.y, box.max.x - box.min.x, box.max.y - box.min.y,
                              building ? building->levelCount : 0);
    fitToView();
}

void BuildingEditorCtrl::showOneFloor()
{
    showAll = 0;
    columns = 0;
    Refresh();
    fitToView();
}

void BuildingEditorCtrl::drawFloors(wxGraphicsContext& gc)
{
    if (!building || !floor)
        return;
    const BoundingBox box = floorBounds();
    if (!showAll) {
        drawFloor(gc, floor->level, {0.0, 0.0});
        return;
    }
    if (columns == 0 || building->floors.empty())
        return;
    const double boxWidth = box.max.x - box.min.x;
    const double boxHeight = box.max.y - box.min.y;
    const std::vector<int> levels = planLevels(*building);
    for (std::size_t k = 0; k < levels.size(); ++k)
        drawFloor(gc, levels[k], cellOffset(k, columns, boxWidth, boxHeight));
}

void BuildingEditorCtrl::drawFloor(wxGraphicsContext& gc, int level, Vec2 offset)
{
    gc.SetPen(wxPen(*wxBLACK, 1, wxPENSTYLE_SOLID));
    for (const auto& each : building->floors) {
        if (each->level != level || each->contour.size() < 2)
            continue;
        const std::vector<Vec2> flipped = flipVertically(each->contour);
        wxGraphicsPath path = gc.CreatePath();
        const Vec2 last = toScreen(flipped.back(), offset, pan, scale);
        path.MoveToPoint(last.x, last.y);
        for (const Vec2& point : flipped) {
            const Vec2 screen = toScreen(point, offset, pan, scale);
            path.AddLineToPoint(screen.x, screen.y);
        }
        gc.StrokePath(path);

        if (showAll) {
            const OutlineLabel label = levelLabel(each->level, each->contour, offset, pan, scale);
            gc.DrawText(wxString::FromUTF8(label.text), label.position.x, label.position.y);
        } else {
            for (const OutlineLabel& label : sideLabels(each->contour, offset, pan, scale))
                gc.DrawText(wxString::FromUTF8(label.text), label.position.x, label.position.y);
        }
    }
}

void BuildingEditorCtrl::onPaint(wxPaintEvent&)
{
    wxAutoBufferedPaintDC dc(this);
    std::unique_ptr<wxGraphicsContext> gc(wxGraphicsContext::Create(dc));
    if (!gc)
        return;
    gc->SetFont(gc->CreateFont(GetFont(), *wxBLACK));
    gc->SetAntialiasMode(wxANTIALIAS_DEFAULT);
    const wxSize client = GetClientSize();
    gc->SetBrush(*wxWHITE_BRUSH);
    gc->SetPen(*wxWHITE_PEN);
    gc->DrawRectangle(0, 0, client.x, client.y);
    try {
        drawFloors(*gc);
    } catch (const std::exception& error) {
        // A damaged outline must not take the window down; the rest is drawn.
        wxLogDebug("Building outline not drawn: %s", error.what());
    }
}

void BuildingEditorCtrl::onLeftDown(wxMouseEvent& event)
{
    panAtDragStart = pan;
    dragStart = {static_cast<double>(event.GetX()), static_cast<double>(event.GetY())};
    dragging = true;
    event.Skip();
}

void BuildingEditorCtrl::onLeftUp(wxMouseEvent& event)
{
    dragging = false;
    event.Skip();
}

void BuildingEditorCtrl::onMotion(wxMouseEvent& event)
{
    if (!dragging)
        return;
    pan = {(event.GetX() - dragStart.x) / scale + panAtDragStart.x,
           (event.GetY() - dragStart.y) / scale + panAtDragStart.y};
    Refresh();
}

void BuildingEditorCtrl::onMouseWheel(wxMouseEvent& event)
{
    const OutlineZoom zoomed = zoomAt({scale, zoomExponent, pan}, event.GetWheelRotation(),
                                      {static_cast<double>(event.GetX()), static_cast<double>(event.GetY())});
    if (!(zoomed.scale > 0.0) || !std::isfinite(zoomed.scale))
        return;
    scale = zoomed.scale;
    zoomExponent = zoomed.zoomExponent;
    pan = zoomed.pan;
    Refresh();
}

void BuildingEditorCtrl::onSize(wxSizeEvent& event)
{
    event.Skip();
    fitToView();
}
