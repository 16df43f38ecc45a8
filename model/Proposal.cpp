#include "model/Proposal.h"
#include "model/Constants.h"

#include "geometry/LayoutGeometry.h"
#include "model/Building.h"
#include "model/BuildingParameters.h"
#include "model/References.h"
#include "model/Requirement.h"
#include "model/Xml.h"

namespace bg {

Room::Room(const std::shared_ptr<Requirement>& roomRequirement)
    : requirement(roomRequirement), index(roomRequirement->index), level(notPlaced), name(roomRequirement->name)
{
}

void Room::updateContour()
{
    const double x = position.x;
    const double y = position.y;
    contour = {{x, y}, {x + size.x, y}, {x + size.x, y + size.y}, {x, y + size.y}};
}

void Room::updateInnerContour()
{
    innerContour = contour.empty() ? std::vector<Vec2>()
                                   : insetPolygon(contour, getBuildingParameters().innerWallStrength * 0.5);
}

Proposal::Proposal(const std::string& proposalName) : name(proposalName) {}

std::shared_ptr<Proposal> Proposal::create(const std::string& name)
{
    return std::make_shared<Proposal>(name);
}

std::shared_ptr<Proposal> Proposal::create(const std::string& name, const std::shared_ptr<Building>& building,
                                           const std::shared_ptr<RequirementSet>& requirementSet)
{
    auto proposal = create(name);
    proposal->building = building;
    proposal->requirementSet = requirementSet;
    proposal->rebuildLayoutsAndRooms();
    proposal->resetPlacements();
    return proposal;
}

void Proposal::rebuildLayoutsAndRooms()
{
    layouts.clear();
    if (building) {
        const double outerWall = getBuildingParameters().outerWallStrength;
        for (const auto& floor : building->floors) {
            auto layout = std::make_shared<Layout>();
            layout->floor = floor;
            layout->level = floor->level;
            layout->contour = insetPolygon(floor->contour, outerWall);
            layouts.push_back(layout);
        }
    }
    rooms.clear();
    if (requirementSet) {
        for (const auto& requirement : requirementSet->requirements) {
            auto room = std::make_shared<Room>(requirement);
            room->updateContour();
            room->level = requirement->level;
            rooms.push_back(room);
        }
    }
}

void Proposal::resetPlacements()
{
    for (const auto& room : rooms) {
        room->position = {0.0, 0.0};
        room->size = {0.0, 0.0};
        room->level = notPlaced;
        room->contour.clear();
        room->innerContour.clear();
        if (!requirementSet)
            continue;
        for (const auto& requirement : requirementSet->requirements)
            if (requirement->index == room->index)
                room->level = requirement->level;
    }
}

ConstructionParameters Proposal::getConstructionParameters() const
{
    const BuildingParameters& defaults = getBuildingParameters();
    return {0.0,
            0.0,
            0.0,
            0.0,
            0.0,
            0.0,
            0.0,
            defaults.outerWallStrength,
            defaults.innerWallStrength,
            defaults.baseSlabStrength,
            defaults.floorSlabStrength,
            defaults.roofSlab,
            1.0,
            2.2,
            1.0,
            0.05,
            3.5,
            1.0};
}

// ---------------------------------------------------------------------------
// Project file

void Layout::write(References& references, tinyxml2::XMLElement* element) const
{
    xml::appendText(element, "name", name);
    xml::appendInt(element, "level", level);
    xml::appendText(element, "floor", references.getId(floor));
    xml::appendContour(element, contour);
}

void Layout::read(References& references, tinyxml2::XMLElement* element)
{
    name = xml::requiredText(element, "name");
    level = xml::readAtoi(element, "level");
    floor = references.resolveFloor(xml::requiredText(element, "floor"), nullptr);
    // An id that only a floor's dangling link names is no floor of the file;
    // a stand-in would be dropped by the next save.
    if (floor && !references.floorsRead.count(floor))
        floor = nullptr;
    contour = xml::readContour(xml::requiredChild(element, "contour"));
}

void Room::write(References& references, tinyxml2::XMLElement* element) const
{
    xml::appendInt(element, "index", index);
    xml::appendText(element, "name", name);
    xml::appendText(element, "requirement", references.getId(requirement));
    xml::appendInt(element, "level", level);
    xml::appendPoint(element, "position", position);
    xml::appendPoint(element, "size", size);
    xml::appendContour(element, contour);
}

void Room::read(References& references, tinyxml2::XMLElement* element)
{
    index = xml::readAtoi(element, "index");
    name = xml::requiredText(element, "name");
    requirement = references.resolveRequirement(xml::requiredText(element, "requirement"), nullptr);
    level = xml::readAtoi(element, "level");
    position = xml::readPoint(xml::requiredChild(element, "position"));
    size = xml::readPoint(xml::requiredChild(element, "size"));
    contour = xml::readContour(xml::child(element, "contour"), xml::Numbers::strict);
}

void Proposal::write(References& references, tinyxml2::XMLElement* element) const
{
    xml::appendText(element, "name", name);
    xml::appendText(element, "requirement_set", references.getId(requirementSet));
    xml::appendText(element, "building", references.getId(building));
    for (const auto& layout : layouts)
        layout->write(references, xml::appendElement(element, "layout"));
    for (const auto& room : rooms)
        room->write(references, xml::appendElement(element, "room"));
}

void Proposal::read(References& references, tinyxml2::XMLElement* element)
{
    name = xml::requiredText(element, "name");
    const std::string context = "Proposal \"" + name + "\": ";

    // A set or building the file does not hold costs the proposal that link,
    // not the whole project.
    auto set = references.requirementSetById.find(xml::requiredText(element, "requirement_set"));
    requirementSet = set != references.requirementSetById.end() ? set->second : nullptr;
    if (!requirementSet)
        references.warnings.push_back(context + "its requirement set is not in the file; it has none now.");
    building = references.resolveBuilding(xml::requiredText(element, "building"), nullptr);
    if (!building)
        references.warnings.push_back(context + "its building is not in the file; it has none now.");

    layouts.clear();
    for (tinyxml2::XMLElement* child : xml::children(element, "layout")) {
        auto layout = std::make_shared<Layout>();
        layout->read(references, child);
        if (!layout->floor)
            references.warnings.push_back(context + "the floor of its layout of level " +
                                          std::to_string(layout->level) + " is not in the file.");
        layouts.push_back(layout);
    }
    rooms.clear();
    for (tinyxml2::XMLElement* child : xml::children(element, "room")) {
        auto room = std::make_shared<Room>();
        room->read(references, child);
        if (!room->requirement)
            references.warnings.push_back(context + "the requirement of room \"" + room->name +
                                          "\" is not in the file.");
        rooms.push_back(room);
    }
}

} // namespace bg
