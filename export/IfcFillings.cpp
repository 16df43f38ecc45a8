// Doors and windows of one storey: an entrance door in the exterior wall of
// every "Entrance" room, one door per pair of adjacent rooms, and at most one
// window per room. Each sits in an opening of its host wall, which the void
// and fill relations tie together.

#include "export/IfcStoryExporter.h"

#include "model/Building.h"
#include "model/Proposal.h"
#include "model/Requirement.h"
#include "model/RoomGeometry.h"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace bgexport {

namespace {

std::shared_ptr<step::Reference> referenceTo(const EntityPtr& entity)
{
    return std::make_shared<step::Reference>(entity);
}

// The profile of the opening box in its placement: x up the wall's height,
// y against the wall's direction.
Polygon openingProfile(double width, double height)
{
    return Polygon({{0.0, 0.0}, {0.0, -width}, {height, -width}, {height, 0.0}});
}

// The opening box extruded through the wall: in the element's frame x from
// 0 to width, y across the wall from -thickness/2 to thickness/2, z from 0 to
// height.
void writeOpeningBox(ifc::Writer& writer, double width, double height, double thickness)
{
    const EntityPtr position = writer.writeAxisPlacement({0.0, thickness / 2.0, 0.0}, {0.0, -1.0, 0.0}, {0.0, 0.0, 1.0});
    writer.writeExtrudedAreaSolid({openingProfile(width, height)}, position, {0.0, 0.0, 1.0}, thickness);
}

double distance(const Vec2& a, const Vec2& b)
{
    return std::hypot(a.x - b.x, a.y - b.y);
}

std::string storeyLabel(int level)
{
    return level == 0 ? "EG" : std::to_string(level) + ".OG";
}

} // namespace

// One door or window to write: its line on the host wall's axis starts at
// `start`.
struct IfcStoryExporter::Filling {
    bool isDoor = true;
    Vec2 start;
    const WallRecord* host = nullptr;
    double width = 0.0;
    double height = 0.0;
    double thickness = 0.0;
    double z = 0.0;
    EntityPtr bodySource;
    bool isExternal = false;
    std::string doorKey; // interior doors only
    int level = 0;
    std::shared_ptr<bg::Floor> floor;
};

EntityPtr IfcStoryExporter::writeRepresentationMap(double width, double height, double thickness)
{
    writeOpeningBox(*writer, width, height, thickness);
    writer->useBodyContext();
    const EntityPtr representation = writer->writeShapeRepresentation("Body", "SweptSolid");
    return writer->writeRepresentationMap(representation);
}

EntityPtr IfcStoryExporter::cachedRepresentationMap(OrderedMap<int, EntityPtr>& cache, double& width, double height,
                                                    double thickness)
{
    // Widths are rounded up to a tenth so that elements of nearly one width
    // share one map; the small allowance keeps 0.3 from becoming 0.4 through
    // the rounding of 0.3 x 10.
    const int key = static_cast<int>(std::ceil(width * 10.0 - 1e-9));
    width = key / 10.0;
    if (EntityPtr* map = cache.find(key))
        return *map;
    return cache.insert(key, writeRepresentationMap(width, height, thickness));
}

EntityPtr IfcStoryExporter::bodySource(OrderedMap<int, EntityPtr>& cache, EntityPtr& shared, double& width,
                                       double height, double thickness)
{
    if (settings->enableCeiledMappedItems)
        return cachedRepresentationMap(cache, width, height, thickness);
    if (settings->enableMappedItems) {
        // One unit box for every element of the kind, scaled per element.
        if (!shared)
            shared = writeRepresentationMap(1.0, 1.0, 1.0);
        return shared;
    }
    return nullptr;
}

void IfcStoryExporter::writeFilling(const Filling& f)
{
    const WallRecord& host = *f.host;
    const double s = distance(f.start, host.start);
    const EntityPtr openingPlacement = writer->writeLocalPlacement(host.placement, writer->writePointPlacement({s, 0.0, f.z}));
    const EntityPtr elementPlacement = writer->writeLocalPlacement(openingPlacement, writer->writeOriginPlacement());

    const bool mapped = f.bodySource != nullptr;
    if (settings->enableCeiledMappedItems && mapped) {
        writer->writeMappedItem(f.bodySource, writer->writeIdentityTransformation());
    } else if (mapped) {
        writer->writeMappedItem(f.bodySource, writer->writeNonUniformTransformation(f.width, f.height, f.thickness));
    } else {
        writeOpeningBox(*writer, f.width, f.height, f.thickness);
    }
    writer->useBodyContext();
    writer->writeShapeRepresentation("Body", mapped ? "MappedRepresentation" : "SweptSolid");

    const EntityPtr element = f.isDoor ? writer->writeDoor("Door", elementPlacement, f.height, f.width)
                                       : writer->writeWindow("Window", elementPlacement, f.width, f.height);
    if (f.isDoor && !f.doorKey.empty())
        doorNames.insert(f.doorKey, element);
    if (f.isDoor) {
        DoorRecord record(element, elementPlacement, f.width, f.thickness, f.height, host.entity, writer);
        record.level = f.level;
        record.floor = f.floor;
        doors.insert(element, std::move(record));
    } else {
        WindowRecord record(element, elementPlacement, f.width, f.thickness, f.height, f.z, host.entity, writer);
        record.level = f.level;
        record.floor = f.floor;
        windows.insert(element, std::move(record));
    }

    step::Factory values;
    auto properties = std::make_shared<step::Set>();
    properties->add(referenceTo(writer->writePropertySingleValue(
        "IsExternal", values.createSelect("IFCBOOLEAN", values.createBoolean(f.isExternal)), nullptr)));
    properties->add(referenceTo(writer->writePropertySingleValue(
        "ThermalTransmittance",
        values.createSelect("IFCTHERMALTRANSMITTANCEMEASURE",
                            values.createReal(f.isDoor ? settings->doorUValue : settings->windowUValue)),
        nullptr)));
    writer->writeRelDefinesByProperties(
        {element}, writer->writePropertySet(f.isDoor ? "Pset_DoorCommon" : "Pset_WindowCommon", properties));

    writeOpeningBox(*writer, f.width, f.height, f.thickness);
    writer->useBodyContext();
    writer->writeShapeRepresentation("Body", "SweptSolid");
    const EntityPtr opening = writer->writeOpening(host.entity, openingPlacement);
    writer->writeRelVoidsElement(host.entity, opening);
    writer->writeRelFillsElement(opening, element);
}

void IfcStoryExporter::writeDoorsAndWindows(const std::shared_ptr<bg::Floor>& floor)
{
    const int level = floor->level;
    const std::vector<std::shared_ptr<bg::Room>> rooms = proposal->getRooms();
    std::map<std::string, std::string> unhosted;
    for (const auto& room : rooms) {
        if (room->level != level || !room->getRequirement())
            continue;
        // A misplaced entrance door costs only that door.
        if (room->getRequirement()->getRoomType() == "Entrance" && !writeEntranceDoor(room, level))
            warnings.push_back("The entrance \"" + room->getRequirement()->name + "\" on storey " +
                               storeyLabel(level) + " gets no door: no single facade of its floor runs along it.");
        writeInteriorDoors(room, level, unhosted);
    }
    // A required door missing from the file leaves a room unreachable: say so.
    for (const auto& [key, sentence] : unhosted)
        if (!doorNames.contains(key))
            warnings.push_back(sentence);
    // Windows follow the room's own level, like doors, so that a room the
    // optimiser put on some floor gets its window there.
    for (const auto& room : rooms)
        if (room->level == level && room->getRequirement() && room->getRequirement()->getRoomType() != "Entrance")
            writeWindow(room, level);
}

bool IfcStoryExporter::writeEntranceDoor(const std::shared_ptr<bg::Room>& room, int level)
{
    const BuildingParameters& p = building->parameters;
    const double i = p.innerWallStrength, o = p.outerWallStrength, d = p.doorWidth;
    const double x = room->position.x, y = room->position.y, L = room->size.x, W = room->size.y;
    std::vector<std::vector<Vec2>> lines;
    for (const auto& layout : proposal->getLayouts()) {
        if (!layout || layout->level != level || layout->contour.size() < 3)
            continue;
        for (const PolygonEdge& edge : Polygon(layout->contour).getEdges()) {
            const Vec2 e = edge.start;
            std::vector<Vec2> line;
            if (edge.side == "east" && std::fabs(x + L - i / 2 - e.x) < 1e-4)
                line = {{x + L - i / 2 + o / 2, y + W / 2 - d / 2}, {x + L - i / 2 + o / 2, y + W / 2 + d / 2}};
            else if (edge.side == "south" && std::fabs(y + i / 2 - e.y) < 1e-4)
                line = {{x + L / 2 - d / 2, y + i / 2 - o / 2}, {x + L / 2 + d / 2, y + i / 2 - o / 2}};
            else if (edge.side == "west" && std::fabs(x + i / 2 - e.x) < 1e-4)
                line = {{x + i / 2 - o / 2, y + W / 2 + d / 2}, {x + i / 2 - o / 2, y + W / 2 - d / 2}};
            else if (edge.side == "north" && std::fabs(y + W - i / 2 - e.y) < 1e-4)
                line = {{x + L / 2 + d / 2, y + W - i / 2 + o / 2}, {x + L / 2 - d / 2, y + W - i / 2 + o / 2}};
            // The facade's line alone is not enough: on an L-shaped floor
            // the notch's edge may lie on the line of a room's side far from
            // it. The door must lie on the edge itself.
            const bool alongX = edge.side == "south" || edge.side == "north";
            const double from = alongX ? std::min(edge.start.x, edge.end.x) : std::min(edge.start.y, edge.end.y);
            const double to = alongX ? std::max(edge.start.x, edge.end.x) : std::max(edge.start.y, edge.end.y);
            if (!line.empty()) {
                const double a = alongX ? line[0].x : line[0].y, b = alongX ? line[1].x : line[1].y;
                if (std::min(a, b) < from - 1e-4 || std::max(a, b) > to + 1e-4)
                    continue;
                lines.push_back(line);
                break;
            }
        }
    }
    if (lines.size() != 1)
        return false;

    Filling door;
    door.width = d;
    door.height = p.doorHeight;
    door.thickness = o;
    door.bodySource = bodySource(entranceDoorMaps, sharedDoorMap, door.width, door.height, door.thickness);
    std::vector<Vec2> common;
    for (const auto& [entity, wall] : walls) {
        if (wall.level != level)
            continue;
        const std::vector<Vec2> axis{wall.start, {wall.start.x + wall.direction.x * wall.length,
                                                  wall.start.y + wall.direction.y * wall.length}};
        if (overlapSegments(lines.front(), axis, common)) {
            door.host = &wall;
            break;
        }
    }
    if (!door.host) {
        warnings.push_back("The entrance \"" + room->getRequirement()->name + "\" on storey " + storeyLabel(level) +
                           " gets no door: no wall runs along its facade.");
        return true;
    }
    door.start = lines.front().front();
    door.isExternal = true;
    door.level = level;
    door.floor = currentFloor;
    writeFilling(door);
    return true;
}

void IfcStoryExporter::writeInteriorDoors(const std::shared_ptr<bg::Room>& room, int level,
                                          std::map<std::string, std::string>& unhosted)
{
    const BuildingParameters& p = building->parameters;
    const double d = p.doorWidth;
    for (int adjacent : room->getRequirement()->getAdjacency()) {
        if (adjacent == -1)
            continue;
        for (const auto& other : proposal->getRooms()) {
            if (other->index != adjacent)
                continue;
            const std::string key = std::to_string(std::min(room->index, other->index)) + " -- " +
                                    std::to_string(std::max(room->index, other->index));
            if (doorNames.contains(key))
                continue;
            Vec2 s;
            const bool alongX = computeDoorPosition(s, room, other);
            Filling door;
            door.width = d;
            door.height = p.doorHeight;
            door.thickness = p.innerWallStrength;
            door.bodySource = bodySource(interiorDoorMaps, sharedDoorMap, door.width, door.height, door.thickness);
            for (const auto& [entity, wall] : walls) {
                if (wall.level != level)
                    continue;
                const double along = alongX ? wall.direction.x : wall.direction.y;
                const double across = alongX ? std::fabs(s.y - wall.start.y) : std::fabs(s.x - wall.start.x);
                if (along == 0.0 || across > 1e-4)
                    continue;
                const double a = alongX ? wall.start.x : wall.start.y;
                const double b = a + along * wall.length;
                const double lo = std::min(a, b), hi = std::max(a, b);
                const double first = alongX ? s.x : s.y;
                if ((first >= lo && hi >= first + d) ||
                    (std::fabs(lo - first) < 1e-4 && std::fabs(hi - (first + d)) < 1e-4)) {
                    door.host = &wall;
                    break;
                }
            }
            if (!door.host) {
                // Tried again from the other room's side; named if that fails too.
                const std::string otherName = other->getRequirement() ? other->getRequirement()->name
                                                                      : "room " + std::to_string(other->index);
                unhosted.emplace(key, "The door between \"" + room->getRequirement()->name + "\" and \"" +
                                          otherName + "\" on storey " + storeyLabel(level) +
                                          " is left out: no single wall runs along a door width of their shared side.");
                continue;
            }
            door.start = s;
            door.isExternal = false;
            door.doorKey = key;
            door.level = level;
            door.floor = currentFloor;
            writeFilling(door);
        }
    }
}

void IfcStoryExporter::writeWindow(const std::shared_ptr<bg::Room>& room, int level)
{
    const BuildingParameters& p = building->parameters;
    const double o = p.outerWallStrength;
    const std::vector<Vec2> contour = room->getInnerContour();
    const double width = std::fabs(twiceSignedArea(contour)) / 2.0 * p.windowGlazingFactor / p.windowHeight;
    // No glazing, no window: a window without width is no solid.
    if (!(width > 1e-6) || contour.size() < 3)
        return;
    for (std::size_t k = 0; k < contour.size(); ++k) {
        const Vec2 p0 = contour[k];
        const Vec2 p1 = contour[(k + 1) % contour.size()];
        if (!(width < distance(p0, p1) - 2.0 * o))
            continue;
        const bool horizontal = p1.x - p0.x != 0.0;
        for (const auto& [entity, wall] : walls) {
            if (!wall.isExterior || wall.level != level)
                continue;
            if ((horizontal && wall.direction.x == 0.0) || (!horizontal && wall.direction.y == 0.0))
                continue;
            const double delta = horizontal ? p0.y - wall.start.y : p0.x - wall.start.x;
            if (std::fabs(std::fabs(delta) - o / 2.0) > 1e-4)
                continue;
            Vec2 m((p0.x + p1.x) / 2.0, (p0.y + p1.y) / 2.0);
            const Vec2 farEnd = wall.corners[3];
            Vec2 first;
            bool hosts = false;
            if (horizontal) {
                m.y = wall.start.y;
                if (p0.x >= wall.start.x && farEnd.x >= p1.x) {
                    first = {m.x - width / 2.0, m.y};
                    hosts = true;
                } else if (wall.start.x >= p0.x && p1.x >= farEnd.x) {
                    first = {m.x + width / 2.0, m.y};
                    hosts = true;
                }
            } else {
                m.x = wall.start.x;
                if (p0.y >= wall.start.y && farEnd.y >= p1.y) {
                    first = {m.x, m.y - width / 2.0};
                    hosts = true;
                } else if (wall.start.y >= p0.y && p1.y >= farEnd.y) {
                    first = {m.x, m.y + width / 2.0};
                    hosts = true;
                }
            }
            if (!hosts)
                continue;
            Filling window;
            window.isDoor = false;
            window.width = width;
            window.height = p.windowHeight;
            window.thickness = o;
            window.z = p.cillHeight;
            window.bodySource = bodySource(windowMaps, sharedWindowMap, window.width, window.height, o);
            window.host = &wall;
            window.start = first;
            window.isExternal = true;
            window.level = level;
            window.floor = currentFloor;
            writeFilling(window);
            return;
        }
    }
}

} // namespace bgexport
