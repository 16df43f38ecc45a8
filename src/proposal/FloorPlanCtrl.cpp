#include "FloorPlanCtrl.h"

#include "FloorPlanView.h"

#include "geometry/LayoutGeometry.h"
#include "model/Building.h"
#include "model/BuildingParameters.h"
#include "model/Proposal.h"
#include "model/Requirement.h"
#include "model/RoomGeometry.h"

#include <wx/brush.h>
#include <wx/dcbuffer.h>
#include <wx/graphics.h>
#include <wx/log.h>

#include <algorithm>
#include <cmath>
#include <exception>
#include <mutex>

namespace {

const wxColour wallColour("#8f8f8f");
const wxColour doorColour("#ffffff");

// The floors of one level, in the building's floor order.
std::vector<std::shared_ptr<bg::Floor>> floorsOfLevel(const bg::Building& building, int level)
{
    std::vector<std::shared_ptr<bg::Floor>> found;
    for (const auto& floor : building.floors)
        if (floor && floor->level == level)
            found.push_back(floor);
    return found;
}

wxString levelText(int level)
{
    return wxString::Format("%d", level);
}

} // namespace

wxColour roomTypeColour(const std::string& roomType)
{
    if (roomType == "Corridor" || roomType == "Entrance")
        return *wxRED;
    if (roomType == "Live and eat")
        return wxColour("#009682");
    if (roomType == "Bedroom")
        return wxColour("#fa8e00");
    if (roomType == "Kitchen and cleaning")
        return *wxGREEN;
    if (roomType == "Workroom")
        return *wxBLUE;
    if (roomType == "Garden")
        return *wxYELLOW;
    if (roomType == "Stair")
        return *wxLIGHT_GREY;
    return *wxWHITE;
}

FloorPlanCtrl::FloorPlanCtrl(wxWindow* parent)
{
    Create(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, 0, wxDefaultValidator, wxControlNameStr);
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    SetFont(wxFont(wxFontInfo(20).Family(wxFONTFAMILY_DEFAULT).Style(wxFONTSTYLE_NORMAL).Light()));

    Bind(wxEVT_LEAVE_WINDOW, &FloorPlanCtrl::onLeftUp, this);
    Bind(wxEVT_LEFT_DOWN, &FloorPlanCtrl::onLeftDown, this);
    Bind(wxEVT_LEFT_UP, &FloorPlanCtrl::onLeftUp, this);
    Bind(wxEVT_PAINT, &FloorPlanCtrl::onPaint, this);
    Bind(wxEVT_MOTION, &FloorPlanCtrl::onMotion, this);
    Bind(wxEVT_MOUSEWHEEL, &FloorPlanCtrl::onMouseWheel, this);
    Bind(wxEVT_SIZE, &FloorPlanCtrl::onSize, this);
}

FloorPlanCtrl::~FloorPlanCtrl() = default;

BoundingBox FloorPlanCtrl::floorExtent()
{
    if (!floor)
        throw std::runtime_error("Floor plan: there is no floor to draw");
    return boundingBox(floor->contour);
}

double FloorPlanCtrl::fitScale()
{
    if (!floor || !building)
        return 0.0;
    const BoundingBox extent = floorExtent();
    const wxSize client = GetClientSize();
    return planFitScale(client.x, client.y, extent.max.x - extent.min.x, extent.max.y - extent.min.y,
                        oneLevel != 0, columns, building->levelCount);
}

void FloorPlanCtrl::centre()
{
    if (!floor || !building)
        return;
    double extentX = 0.0, extentY = 0.0;
    if (oneLevel) {
        const BoundingBox box = floorExtent();
        extentX = box.max.x - box.min.x;
        extentY = box.max.y - box.min.y;
    } else if (columns > 0) {
        const BoundingBox cell = floorExtent();
        const double spanX = cell.max.x - cell.min.x, spanY = cell.max.y - cell.min.y;
        bool any = false;
        BoundingBox drawing;
        const std::vector<int> levels = planLevels(*building);
        for (std::size_t k = 0; k < levels.size(); ++k) {
            const int level = levels[k];
            const Vec2 offset = planCellOffset(static_cast<int>(k), columns, spanX, spanY);
            for (const auto& levelFloor : floorsOfLevel(*building, level)) {
                if (levelFloor->contour.size() < 2) {
                    reportOnce("Floor plan: a floor outline of level " + levelText(level).ToStdString() +
                               " has fewer than two points; it is not drawn");
                    continue;
                }
                BoundingBox box = boundingBox(levelFloor->contour);
                box.min = Vec2::plus(box.min, offset);
                box.max = Vec2::plus(box.max, offset);
                if (!any)
                    drawing = box;
                drawing.min = {std::min(drawing.min.x, box.min.x), std::min(drawing.min.y, box.min.y)};
                drawing.max = {std::max(drawing.max.x, box.max.x), std::max(drawing.max.y, box.max.y)};
                any = true;
            }
        }
        if (any) {
            extentX = drawing.max.x - drawing.min.x;
            extentY = drawing.max.y - drawing.min.y;
        }
    }
    const wxSize client = GetClientSize();
    pan = planCentredPan(client.x, client.y, scale, extentX, extentY);
}

void FloorPlanCtrl::fitToView()
{
    try {
        const double fitted = fitScale();
        if (fitted > 0.0) {
            scale = fitted;
            zoomExponent = planZoomExponent(scale);
        }
        centre();
    } catch (const std::exception& error) {
        reportOnce(error.what());
    }
    Refresh(true);
}

void FloorPlanCtrl::chooseColumns()
{
    oneLevel = 0;
    Refresh(true);
    columns = 0;
    if (floor && building) {
        try {
            const BoundingBox extent = floorExtent();
            const wxSize client = GetClientSize();
            columns = planColumns(client.x, client.y, extent.max.x - extent.min.x, extent.max.y - extent.min.y,
                                  building->levelCount);
        } catch (const std::exception& error) {
            reportOnce(error.what());
        }
    }
    fitToView();
}

void FloorPlanCtrl::render(wxDC& dc)
{
    std::unique_ptr<wxGraphicsContext> graphics(wxGraphicsContext::CreateFromUnknownDC(dc));
    if (!graphics)
        return;
    context = graphics.get();
    context->SetFont(GetFont(), *wxBLACK);
    context->SetBrush(*wxWHITE_BRUSH);
    context->SetPen(*wxWHITE_PEN);
    const wxSize client = GetClientSize();
    context->DrawRectangle(0, 0, client.x, client.y);
    try {
        drawAll();
    } catch (const std::exception& error) {
        reportOnce(error.what());
    }
    context = nullptr;
}

void FloorPlanCtrl::drawAll()
{
    if (!building)
        return;
    // The optimiser's worker writes the rooms after every time slice.
    std::unique_lock<std::mutex> roomsLock;
    if (proposal) {
        roomsLock = proposal->lockRooms();
        const double halfWall = getBuildingParameters().innerWallStrength / 2;
        for (const auto& room : proposal->rooms)
            if (room && room->level >= building->minLevel && room->level <= building->maxLevel &&
                !room->contour.empty())
                room->innerContour = insetPolygon(room->contour, halfWall);
    }

    if (oneLevel) {
        if (floor)
            drawLevel(floor->level, {0.0, 0.0});
        return;
    }
    if (columns == 0 || !floor || floor->contour.size() < 2)
        return;
    const BoundingBox cell = floorExtent();
    const double spanX = cell.max.x - cell.min.x, spanY = cell.max.y - cell.min.y;
    const std::vector<int> levels = planLevels(*building);
    for (std::size_t k = 0; k < levels.size(); ++k) {
        // A gap between two levels is named once, however wide it is.
        if (k > 0 && static_cast<long long>(levels[k]) - levels[k - 1] > 1) {
            const long long first = static_cast<long long>(levels[k - 1]) + 1, last = levels[k] - 1LL;
            reportOnce(first == last ? "Floor plan: level " + std::to_string(first) + " has no floor; it is not drawn"
                                     : "Floor plan: levels " + std::to_string(first) + " to " + std::to_string(last) +
                                           " have no floor; they are not drawn");
        }
        drawLevel(levels[k], planCellOffset(static_cast<int>(k), columns, spanX, spanY));
    }
}

void FloorPlanCtrl::drawLevel(int level, const Vec2& cellOffset)
{
    const auto floors = floorsOfLevel(*building, level);
    if (floors.empty()) {
        reportOnce("Floor plan: level " + levelText(level).ToStdString() + " has no floor; it is not drawn");
        return;
    }
    for (const auto& levelFloor : floors)
        if (levelFloor->contour.size() < 2) {
            reportOnce("Floor plan: a floor outline of level " + levelText(level).ToStdString() +
                       " has fewer than two points; it is not drawn");
            return;
        }

    context->SetPen(wxPen(*wxBLACK, 1, wxPENSTYLE_SOLID));
    const BuildingParameters& parameters = getBuildingParameters();

    // The outer wall is the grey band left between the floor's contour and
    // the white inside.
    std::vector<Vec2> outline;
    for (const auto& levelFloor : floors) {
        const std::vector<Vec2> flipped = flipVertically(levelFloor->contour);
        fillPolygon(flipped, cellOffset, wallColour);
        outline = insetPolygon(levelFloor->contour, parameters.outerWallStrength);
        fillPolygon(flipAgainst(outline, flipped), cellOffset, *wxWHITE);
    }

    const std::vector<Vec2>& reference = floors.front()->contour;
    if (!proposal)
        return;

    if (drawInnerWalls) {
        std::vector<Segment> segments;
        for (const auto& room : proposal->rooms)
            if (room && room->level == level && !room->contour.empty())
                for (const Segment& segment : roomInteriorEdges(outline, room))
                    segments.push_back(segment);
        double t = parameters.innerWallStrength;
        for (const Segment& wall : buildInteriorWalls(segments, outline, t)) {
            if (wall.size() < 2)
                continue;
            const Vec2& s0 = wall[0];
            const Vec2& s1 = wall[1];
            const std::vector<Vec2> band =
                s0.x != s1.x ? std::vector<Vec2>{{s0.x, s0.y - t / 2}, {s1.x, s1.y - t / 2}, {s1.x, s1.y + t / 2}, {s0.x, s0.y + t / 2}}
                             : std::vector<Vec2>{{s0.x - t / 2, s0.y}, {s0.x + t / 2, s0.y}, {s1.x + t / 2, s1.y}, {s1.x - t / 2, s1.y}};
            fillPolygon(flipAgainst(band, reference), cellOffset, wallColour);
        }
    }

    drawRooms(level, reference, outline, cellOffset);
}

void FloorPlanCtrl::drawRooms(int level, const std::vector<Vec2>& reference, const std::vector<Vec2>& outline,
                              const Vec2& cellOffset)
{
    const BuildingParameters& parameters = getBuildingParameters();
    const double t = parameters.innerWallStrength;
    const double doorWidth = parameters.doorWidth;

    for (const auto& room : proposal->rooms) {
        if (!room || room->level != level || room->contour.empty())
            continue;
        const auto& requirement = room->requirement;
        const std::string roomType = requirement ? requirement->roomType : std::string();

        room->innerContour = insetPolygon(room->contour, t / 2);
        const std::vector<Vec2> shape = drawInnerWalls ? room->innerContour : clipRoomToOuterWall(outline, room);
        fillPolygon(flipAgainst(shape, reference), cellOffset, roomTypeColour(roomType));

        const Vec2 middle(room->position.x + room->size.x / 2, room->position.y + room->size.y / 2);
        drawLabel(wxString::FromUTF8(room->name) + "\n" + wxString::Format("%d", room->index),
                  flipPointAgainst(middle, reference), cellOffset);

        if (requirement) {
            for (int other : requirement->adjacency) {
                if (other == -1)
                    continue;
                for (const auto& neighbour : proposal->rooms) {
                    // A door leads only to a placed room of the same level.
                    if (!neighbour || neighbour->index != other || neighbour->level != level ||
                        neighbour->contour.empty())
                        continue;
                    Vec2 door;
                    const std::vector<Vec2> gap = computeDoorPosition(door, room, neighbour)
                        ? planRectangle(door.x, door.y - t / 2, door.x + doorWidth, door.y + t / 2)
                        : planRectangle(door.x - t / 2, door.y, door.x + t / 2, door.y + doorWidth);
                    fillPolygon(flipAgainst(gap, reference), cellOffset, doorColour);
                }
            }
        }

        if (roomType == "Entrance" && !room->innerContour.empty())
            for (const auto& layout : proposal->layouts)
                if (layout && layout->level == level) {
                    const std::vector<Vec2> door = planEntranceDoor(*room, layout->contour, getBuildingParameters());
                    if (door.size() == 4)
                        fillPolygon(flipAgainst(door, reference), cellOffset, doorColour);
                }
    }
}

void FloorPlanCtrl::fillPolygon(const std::vector<Vec2>& points, const Vec2& cellOffset, const wxColour& colour)
{
    if (points.empty())
        return;
    context->SetPen(wxPen(*wxBLACK, 1, wxPENSTYLE_SOLID));
    context->SetBrush(wxBrush(colour, wxBRUSHSTYLE_SOLID));
    wxGraphicsPath path = context->CreatePath();
    // Corners land on whole pixels.
    auto pixel = [&](const Vec2& point) {
        const Vec2 screen = planToScreen(point, cellOffset, pan, scale);
        return wxPoint2DDouble(static_cast<int>(screen.x), static_cast<int>(screen.y));
    };
    path.MoveToPoint(pixel(points.front()));
    for (std::size_t i = 1; i < points.size(); ++i)
        path.AddLineToPoint(pixel(points[i]));
    path.AddLineToPoint(pixel(points.front()));
    context->DrawPath(path, wxODDEVEN_RULE);
}

void FloorPlanCtrl::drawLabel(const wxString& text, const Vec2& point, const Vec2& cellOffset)
{
    double width = 0.0, height = 0.0;
    context->GetTextExtent(text, &width, &height);
    const Vec2 screen = planToScreen(point, cellOffset, pan, scale);
    context->DrawText(text, screen.x - width / 2, screen.y - height / 2);
}

void FloorPlanCtrl::reportOnce(const std::string& message)
{
    if (reported.insert(message).second)
        wxLogWarning("%s", wxString::FromUTF8(message));
}

void FloorPlanCtrl::onLeftDown(wxMouseEvent& event)
{
    panAtPress = pan;
    dragging = true;
    pressPoint = {static_cast<double>(event.GetX()), static_cast<double>(event.GetY())};
}

void FloorPlanCtrl::onLeftUp(wxMouseEvent&)
{
    dragging = false;
}

void FloorPlanCtrl::onMotion(wxMouseEvent& event)
{
    lastMouse = {static_cast<double>(event.GetX()), static_cast<double>(event.GetY())};
    if (!dragging)
        return;
    pan = planDraggedPan(panAtPress, pressPoint, lastMouse, scale);
    Refresh(true);
}

void FloorPlanCtrl::onMouseWheel(wxMouseEvent& event)
{
    const Vec2 mouse(event.GetX(), event.GetY());
    const PlanZoom zoomed = planZoomAt({zoomExponent, scale, pan}, event.GetWheelRotation(), mouse);
    zoomExponent = zoomed.zoomExponent;
    scale = zoomed.scale;
    pan = zoomed.pan;
    Refresh(false);
}

void FloorPlanCtrl::onPaint(wxPaintEvent&)
{
    wxAutoBufferedPaintDC dc(this);
    try {
        render(dc);
    } catch (const std::exception& error) {
        context = nullptr;
        reportOnce(error.what());
    }
}

void FloorPlanCtrl::onSize(wxSizeEvent& event)
{
    event.Skip();
    fitToView();
}
