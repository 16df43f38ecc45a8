#include "model/Building.h"

#include "model/Bounds.h"

#include "model/References.h"
#include "model/Xml.h"

#include <tinyxml2.h>

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace bg {

Floor::Floor(int floorLevel) : level(floorLevel) {}

Building::Building(const std::string& buildingName) : name(buildingName)
{
    updateLevels();
    resetParameters();
}

void Building::updateLevels()
{
    levelCount = floors.size();
    if (floors.empty()) {
        minLevel = INT_MAX;
        maxLevel = INT_MIN;
        return;
    }
    int highest = INT_MIN;
    int lowest = INT_MAX;
    for (const auto& floor : floors) {
        if (floor->level >= highest)
            top = floor;
        if (floor->level <= lowest)
            bottom = floor;
        highest = std::max(highest, floor->level);
        lowest = std::min(lowest, floor->level);
    }
    maxLevel = highest;
    minLevel = lowest;
}

void Building::updateElevations()
{
    if (!root)
        return;
    const BuildingParameters& defaults = getBuildingParameters();
    if (!(root->height > 0.0))
        root->height = defaults.roomHeight;

    // The visited set stops the walk on upper links that loop (a damaged file).
    std::unordered_set<const Floor*> visited;
    double sum = 0.0;
    for (std::shared_ptr<Floor> floor = root; floor && visited.insert(floor.get()).second;
         floor = floor->upper.lock()) {
        floor->elevation = sum;
        sum += floor->height;
        sum += defaults.floorSlabStrength;
    }
}

void Building::resetParameters()
{
    parameters = getBuildingParameters();
}

void Building::copyFrom(const std::shared_ptr<Building>& other)
{
    const auto sourceFloors = other->floors; // a copy: other may be this building
    for (const auto& source : sourceFloors) {
        auto floor = std::make_shared<Floor>(source->level);
        floor->height = source->height;
        floor->elevation = source->elevation;
        floor->contour = source->contour;
        addFloor(floor);
    }
    parameters = other->parameters;
}

void Building::addFloor(const std::shared_ptr<Floor>& floor)
{
    if (!floors.empty()) {
        floor->parent = top;
        floor->lower = top;
        top->upper = floor;
    } else {
        root = floor;
        bottom = floor;
    }
    top = floor;
    floors.push_back(floor);
    levelCount = floors.size();
    updateLevels();
    updateElevations();
}

// ---------------------------------------------------------------------------
// Project file

namespace {

struct ParameterElement {
    const char* name;
    double BuildingParameters::*field;
};

// The children of "parameters", in the order they are written.
const ParameterElement parameterElements[] = {
    {"outer_wall_strength", &BuildingParameters::outerWallStrength},
    {"inner_wall_strength", &BuildingParameters::innerWallStrength},
    {"door_width", &BuildingParameters::doorWidth},
    {"door_height", &BuildingParameters::doorHeight},
    {"window_height", &BuildingParameters::windowHeight},
    {"cill_height", &BuildingParameters::cillHeight},
    {"path_width", &BuildingParameters::pathWidth},
    {"room_height", &BuildingParameters::roomHeight},
    {"floor_slab_strength", &BuildingParameters::floorSlabStrength},
    {"roof_slab", &BuildingParameters::roofSlab},
    {"base_slab_strength", &BuildingParameters::baseSlabStrength},
    {"door_glazing_factor", &BuildingParameters::doorGlazingFactor},
    {"window_glazing_factor", &BuildingParameters::windowGlazingFactor},
};

void appendFloorLink(References& references, tinyxml2::XMLElement* element, const char* name,
                     const std::weak_ptr<Floor>& link)
{
    if (auto floor = link.lock())
        xml::appendText(element, name, references.getId(floor));
}

// Links every floor to the floors one level above and below it, replacing
// the links read from the file wherever such a neighbour exists; among floors
// of the same level the last in the list is the neighbour. One pass through a
// map by level, since files may hold many thousands of floors.
void relinkByLevel(const std::list<std::shared_ptr<Floor>>& floors)
{
    std::unordered_map<long long, std::shared_ptr<Floor>> lastByLevel;
    for (const auto& floor : floors)
        lastByLevel[floor->level] = floor;
    for (const auto& floor : floors) {
        const long long level = floor->level;
        const auto above = lastByLevel.find(level + 1);
        if (above != lastByLevel.end())
            floor->upper = above->second;
        const auto below = lastByLevel.find(level - 1);
        if (below != lastByLevel.end()) {
            floor->lower = below->second;
            floor->parent = below->second;
        }
    }
}

} // namespace

std::shared_ptr<Floor> readFloorReference(References& references, tinyxml2::XMLElement* element, const char* name)
{
    tinyxml2::XMLElement* link = xml::child(element, name);
    if (!link)
        return nullptr;
    return references.resolveFloor(xml::text(link), std::make_shared<Floor>());
}

void Floor::write(References& references, tinyxml2::XMLElement* element) const
{
    xml::appendText(element, "uuid", references.getId(std::const_pointer_cast<Floor>(shared_from_this())));
    xml::appendInt(element, "level", level);
    xml::appendDouble(element, "height", height);
    xml::appendContour(element, contour);
    appendFloorLink(references, element, "upper", upper);
    appendFloorLink(references, element, "lower", lower);
    appendFloorLink(references, element, "parent", parent);
}

void Floor::read(References& references, tinyxml2::XMLElement* element)
{
    references.resolveFloor(xml::requiredText(element, "uuid"), shared_from_this());
    references.floorsRead.insert(shared_from_this());
    level = xml::readTruncatedInt(element, "level");
    checkLevel(level, "Floor (line " + std::to_string(element->GetLineNum()) + ")");
    height = xml::child(element, "height") ? xml::readStod(element, "height") : getBuildingParameters().roomHeight;
    contour = xml::readContour(xml::requiredChild(element, "contour"), xml::Numbers::strict);
    parent = readFloorReference(references, element, "parent");
    upper = readFloorReference(references, element, "upper");
    lower = readFloorReference(references, element, "lower");
}

void Building::write(References& references, tinyxml2::XMLElement* element) const
{
    xml::appendText(element, "uuid", references.getId(std::const_pointer_cast<Building>(shared_from_this())));
    xml::appendText(element, "name", name);
    xml::appendUnsigned(element, "level_count", levelCount);
    xml::appendInt(element, "max_level", maxLevel);
    xml::appendInt(element, "min_level", minLevel);
    if (root)
        xml::appendText(element, "root", references.getId(root));
    for (const auto& floor : floors)
        floor->write(references, xml::appendElement(element, "floor"));
    tinyxml2::XMLElement* parametersElement = xml::appendElement(element, "parameters");
    for (const ParameterElement& parameter : parameterElements)
        xml::appendDouble(parametersElement, parameter.name, parameters.*parameter.field);
}

void Building::read(References& references, tinyxml2::XMLElement* element)
{
    references.resolveBuilding(xml::requiredText(element, "uuid"), shared_from_this());
    name = xml::requiredText(element, "name");

    if (tinyxml2::XMLElement* rootElement = xml::child(element, "root"))
        setRoot(references.resolveFloor(xml::text(rootElement), std::make_shared<Floor>()));

    for (tinyxml2::XMLElement* child : xml::children(element, "floor")) {
        auto floor = references.resolveFloor(xml::requiredText(child, "uuid"), std::make_shared<Floor>());
        floor->read(references, child);
        floors.push_back(floor);
    }
    relinkByLevel(floors);

    // The stored level fields only repeat what the floors say; a file in which
    // they disagree would leave a wrong top floor, so they are recomputed.
    updateLevels();
    const std::string stored = xml::text(xml::child(element, "level_count")) + "/" +
                               xml::text(xml::child(element, "max_level")) + "/" +
                               xml::text(xml::child(element, "min_level"));
    const std::string actual =
        std::to_string(levelCount) + "/" + std::to_string(maxLevel) + "/" + std::to_string(minLevel);
    if (stored != actual)
        references.warnings.push_back("Building \"" + name +
                                      "\": the stored level count and levels disagree with its floors; "
                                      "they were recomputed from the floors.");

    const bool rootIsAFloor = root && std::find(floors.begin(), floors.end(), root) != floors.end();
    if (!rootIsAFloor && (root || !floors.empty())) {
        references.warnings.push_back("Building \"" + name +
                                      "\": its root floor is not among its floors; the lowest floor became the root.");
        root = bottom;
    }

    resetParameters();
    if (tinyxml2::XMLElement* parametersElement = xml::child(element, "parameters"))
        for (const ParameterElement& parameter : parameterElements)
            if (xml::child(parametersElement, parameter.name)) {
                const double value = xml::readStod(parametersElement, parameter.name);
                const bool glazing = parameter.field == &BuildingParameters::doorGlazingFactor ||
                                     parameter.field == &BuildingParameters::windowGlazingFactor;
                if (glazing ? !glazingFactorInRange(value) : !constructionDimensionInRange(value))
                    throw std::out_of_range("Building \"" + name + "\", parameter \"" + parameter.name + "\": " +
                                            xml::text(xml::child(parametersElement, parameter.name)) +
                                            (glazing ? " lies outside 0 to 1." : " lies outside 0 to 1000 metres."));
                parameters.*parameter.field = value;
            }

    updateElevations();
}

} // namespace bg
