#include "model/RoomGeometry.h"

#include "model/BuildingParameters.h"
#include "model/Proposal.h"

RoomRect roomRect(const bg::Room& room)
{
    return {room.position, room.size};
}

bool computeDoorPosition(Vec2& door, std::shared_ptr<bg::Room> a, std::shared_ptr<bg::Room> b)
{
    const BuildingParameters& parameters = getBuildingParameters();
    return computeDoorPosition(door, roomRect(*a), roomRect(*b), parameters.innerWallStrength,
                               parameters.doorWidth);
}

std::vector<Vec2> clipRoomToOuterWall(std::vector<Vec2> contour, std::shared_ptr<bg::Room> room)
{
    return clipRoomToOuterWall(std::move(contour), roomRect(*room),
                               getBuildingParameters().outerWallStrength);
}

std::vector<Segment> roomInteriorEdges(const std::vector<Vec2>& contour,
                                       const std::shared_ptr<bg::Room>& room)
{
    return roomInteriorEdges(contour, roomRect(*room), getBuildingParameters().innerWallStrength);
}
