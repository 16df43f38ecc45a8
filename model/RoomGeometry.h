#pragma once

// The layout-geometry helpers on the data model's own types:
// rooms as std::shared_ptr<bg::Room>, the inner and outer wall thickness and
// the door width from the process-wide defaults (getBuildingParameters).
// Each reads the room's rectangle and calls the plain-data function of
// geometry/LayoutGeometry.h, which holds the algorithms; the rest
// (insetPolygon, subtractSegments, removeCollinearPoints,
// buildInteriorWalls) needs no model type and is used from there directly.
//
// The rooms are read without locking: a caller that may run while the
// optimiser writes the rooms holds bg::Proposal::lockRooms.

#include "geometry/LayoutGeometry.h"

#include <memory>
#include <vector>

namespace bg {
class Room;
} // namespace bg

// The room's rectangle: its position and size.
RoomRect roomRect(const bg::Room& room);

// With the default inner wall thickness (0.2) and door width (1.0).
bool computeDoorPosition(Vec2& door, std::shared_ptr<bg::Room> a, std::shared_ptr<bg::Room> b);

// With the default outer wall thickness (0.36).
std::vector<Vec2> clipRoomToOuterWall(std::vector<Vec2> contour, std::shared_ptr<bg::Room> room);

// With the default inner wall thickness (0.2).
std::vector<Segment> roomInteriorEdges(const std::vector<Vec2>& contour,
                                       const std::shared_ptr<bg::Room>& room);
