// Rooms as IFC spaces: an extruded body from the room's inner contour, base
// quantities, the requirement as a property set, a zone per room type,
// lighting and ventilation terminals, and the faces of the doors and windows
// that the room sees, for the space boundaries.

#include "export/IfcStoryExporter.h"

#include "model/Building.h"
#include "model/Proposal.h"
#include "model/Requirement.h"

#include <cmath>
#include <cstdio>

namespace bgexport {

namespace {

std::shared_ptr<step::Reference> referenceTo(const EntityPtr& entity)
{
    return std::make_shared<step::Reference>(entity);
}

std::string fixed(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%f", value);
    return text;
}

std::string storeyLabel(int level)
{
    return level == 0 ? "EG" : std::to_string(level) + ".OG";
}

// The face of a door or window on one side of its wall.
std::vector<Vec2> face(const Vec2& location, const Vec2& direction, const Vec2& normal, double offset, double width)
{
    const Vec2 p(location.x + normal.x * offset, location.y + normal.y * offset);
    return {p, {p.x + direction.x * width, p.y + direction.y * width}};
}

} // namespace

bool IfcStoryExporter::getsSpace(const bg::Room& room)
{
    // A room without an outline (never laid out, or squeezed to nothing)
    // would become a space without volume.
    const std::vector<Vec2> contour = room.getInnerContour();
    return contour.size() >= 3 && std::fabs(twiceSignedArea(contour)) >= 1e-9 && room.getRequirement();
}

void IfcStoryExporter::writeSpace(const std::shared_ptr<bg::RequirementSet>& requirementSet,
                                  const std::shared_ptr<bg::Room>& room)
{
    const std::vector<Vec2> contour = room->getInnerContour();
    const std::shared_ptr<bg::Requirement> requirement = room->getRequirement();
    if (!getsSpace(*room)) {
        warnings.push_back("Room \"" + room->name + "\" on storey " + storeyLabel(room->level) +
                           " gets no space: it has no inner outline.");
        return;
    }
    const double h = currentFloor->height;

    Vec2 origin = contour.front();
    for (const Vec2& point : contour)
        if (std::hypot(point.x, point.y) < std::hypot(origin.x, origin.y))
            origin = point;
    std::vector<Vec2> local;
    for (const Vec2& point : contour)
        local.emplace_back(point.x - origin.x, point.y - origin.y);

    writer->writeExtrusionAt({Polygon(local)}, {0.0, 0.0, 0.0}, {0.0, 0.0, 1.0}, h);
    if (settings->enableGeometryColor) {
        writer->writePresentationStyleAssignment();
        writer->writeStyledItem();
    }
    writer->useBodyContext();
    writer->writeShapeRepresentation("Body", "SweptSolid");
    if (settings->enableLayerColor)
        writer->writePresentationLayerWithStyle("Kovra-Space");
    const std::string name = requirement->name;

    double perimeter = 0.0;
    for (std::size_t i = 0; i < local.size(); ++i) {
        const Vec2& a = local[(i + local.size() - 1) % local.size()];
        perimeter += std::hypot(local[i].x - a.x, local[i].y - a.y);
    }
    const double area = std::fabs(twiceSignedArea(local)) / 2.0;
    writer->writeQuantityLength("NominalHeight", h);
    writer->writeQuantityLength("GrossPerimeter", perimeter);
    writer->writeQuantityArea("GrossCeilingArea", area);
    writer->writeQuantityArea("GrossFloorArea", area);
    writer->writeQuantityArea("GrossWallArea", h * perimeter);
    writer->writeQuantityVolume("GrossVolume", area * h);
    const EntityPtr quantities = writer->writeElementQuantity("BaseQuantities");

    const EntityPtr space = writer->writeSpace(name, {origin.x, origin.y, 0.0});
    SpaceRecord record(space, writer->storey, writer, contour);
    record.level = room->level;
    record.floor = currentFloor;
    spaces.insert(space, std::move(record));
    storeySpaces[currentStorey].push_back(space);
    writer->writeRelDefinesByProperties({space}, quantities);

    if (settings->enableSpaceTypes)
        writer->writeRelDefinesByProperties({space}, writeRequirementProperties(requirementSet, requirement));
    if (settings->enableZone) {
        const std::string roomType = requirement->roomType;
        if (!zonesByRoomType.contains(roomType))
            zonesByRoomType.insert(roomType, writer->writeZone(roomType, "", "Room Type"));
        zoneSpaces[*zonesByRoomType.find(roomType)].push_back(space);
    }
    if (settings->enableSystem && lightingSystem && ventilationSystem) {
        lightingTerminals.push_back(
            writer->writeFlowTerminal("Light in " + name, lightingType, lightingSystem, {0.0, 0.0, 0.0}));
        ventilationTerminals.push_back(
            writer->writeFlowTerminal("Ventilation in " + name, ventilationType, ventilationSystem, {0.0, 0.0, 0.0}));
    }

    // Which door and window faces lie on the room's outline.
    const double outer = building->parameters.outerWallStrength;
    std::vector<Vec2> common;
    for (std::size_t k = 0; k < contour.size(); ++k) {
        const Vec2 start = contour[k];
        const Vec2 end = contour[(k + 1) % contour.size()];
        const std::vector<Vec2> edge{start, end};
        const bool backwards = start.y > end.y || (start.y == end.y && start.x > end.x);
        for (auto& [entity, door] : doors) {
            if (door.level != room->level)
                continue;
            for (double side : {-0.5, 0.5}) {
                std::vector<Vec2> f = face(door.location, door.direction, door.normal, side * door.thickness, door.width);
                if (overlapSegments(f, edge, common)) {
                    if (backwards)
                        std::swap(f[0], f[1]);
                    door.spaceFaces.emplace_back(space, f);
                }
            }
        }
        for (auto& [entity, window] : windows) {
            if (window.level != room->level)
                continue;
            for (double side : {-0.5, 0.5}) {
                const std::vector<Vec2> f =
                    face(window.location, window.direction, window.normal, side * outer, window.width);
                if (overlapSegments(f, edge, common))
                    window.spaceFace = {space, f};
            }
        }
    }
}

EntityPtr IfcStoryExporter::writeRequirementProperties(const std::shared_ptr<bg::RequirementSet>& requirementSet,
                                                       const std::shared_ptr<bg::Requirement>& r)
{
    std::string adjacency;
    for (int index : r->adjacency) {
        if (index == -1) {
            adjacency = "None";
            break;
        }
        if (requirementSet)
            for (const auto& other : requirementSet->getRequirements())
                if (other && other->index == index)
                    adjacency += other->name + "; ";
    }
    std::string boundaries;
    for (const std::string& boundary : r->boundaries)
        boundaries += boundary;
    const std::string position = "(" + fixed(r->expectedPosition.x) + ", " + fixed(r->expectedPosition.y) + ");";

    step::Factory values;
    auto text = [&](const std::string& value) { return values.createSelect(std::make_shared<step::String>(value)); };
    const EntityPtr length = writer->lengthUnit;
    const EntityPtr area = writer->getAreaUnit();
    auto properties = std::make_shared<step::Set>();
    auto single = [&](const std::string& property, const std::string& value, const EntityPtr& unit) {
        properties->add(referenceTo(writer->writePropertySingleValue(property, text(value), unit)));
    };
    auto plain = [&](const std::string& property, const std::string& value, const EntityPtr& unit) {
        properties->add(referenceTo(writer->writeTextProperty(property, value, unit)));
    };
    single("RoomName", r->name, nullptr);
    single("RoomType", r->roomType, nullptr);
    single("AreaTarget", fixed(r->area), area);
    single("LengthTarget", fixed(r->targetLength), length);
    single("WidthTarget", fixed(r->targetWidth), length);
    single("MinLength", fixed(r->minLength), length);
    single("MaxLength", fixed(r->maxLength), length);
    single("MinWidth", fixed(r->minWidth), length);
    single("MaxWidth", fixed(r->maxWidth), length);
    plain("MinAspectRatio", fixed(r->minAspectRatio), nullptr);
    plain("MaxAspectRatio", fixed(r->maxAspectRatio), nullptr);
    plain("Level", std::to_string(r->level), nullptr);
    plain("MinArea", fixed(r->minAreaError), area);
    plain("MaxArea", fixed(r->maxAreaError), area);
    plain("RequiredAdjacentRooms", adjacency, nullptr);
    plain("RequiredBoundaries", boundaries, nullptr);
    plain("RequiredPositions", position, nullptr);
    return writer->writePropertySet("Kovra_Requirement", properties);
}

} // namespace bgexport
