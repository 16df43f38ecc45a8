#pragma once

#include "geometry/Polygon.h"
#include "model/BuildingParameters.h"
#include "model/Serializable.h"

#include <climits>
#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <vector>

namespace bg {

// One storey: a level number, a storey height, an elevation above the root
// floor and an outline. The links are weak so that the building's floor list
// alone keeps the floors alive; they form one chain from the root upwards
// through `upper`, with `lower` and `parent` pointing back down.
class Floor : public std::enable_shared_from_this<Floor>, public Serializable<References> {
public:
    Floor() = default;
    explicit Floor(int level);

    void setContour(std::vector<Vec2> newContour) { contour = std::move(newContour); }
    int getLevel() const { return level; }
    double getHeight() const { return height; }
    double getElevation() const { return elevation; }
    std::vector<Vec2> getContour() const { return contour; }

    void write(References& references, tinyxml2::XMLElement* element) const override;
    void read(References& references, tinyxml2::XMLElement* element) override;

    int level = 0;
    // Metres; 0 until someone sets it. A root floor without a height gets the
    // default room height from Building::updateElevations.
    double height = 0.0;
    // Metres above the root floor; computed by Building::updateElevations.
    double elevation = 0.0;
    std::vector<Vec2> contour;
    std::weak_ptr<Floor> parent; // the floor it was added onto
    std::weak_ptr<Floor> upper;
    std::weak_ptr<Floor> lower;
};

// A stack of floors with the building's own construction parameters. Floors
// are only ever stacked onto the current top floor (addFloor); the elevations
// follow from the heights along that stack.
class Building : public std::enable_shared_from_this<Building>, public Serializable<References> {
public:
    explicit Building(const std::string& name);

    // levelCount, maxLevel and minLevel from the floors; top and bottom become
    // the floors of the highest and lowest level, the later one in the list
    // among equals. Without floors top and bottom keep what they held.
    void updateLevels();
    // Walks from the root upwards: each floor's elevation is the sum of the
    // heights below it plus one default floor slab per storey. A root floor
    // without a height (0) gets the default room height; a height the user
    // gave the root floor is kept. Nothing happens without a root.
    void updateElevations();
    // parameters := the process-wide defaults.
    void resetParameters();
    // Stacks copies of the other building's floors (level, height, elevation,
    // contour) in its list order and copies its parameters; the name stays.
    void copyFrom(const std::shared_ptr<Building>& other);
    // Puts the floor on top of the current top floor (whatever its level),
    // then updates levels and elevations.
    void addFloor(const std::shared_ptr<Floor>& floor);
    // Makes the floor the root; nothing else changes.
    void setRoot(const std::shared_ptr<Floor>& floor) { root = floor; }
    std::list<std::shared_ptr<Floor>>& getFloors() { return floors; }

    void write(References& references, tinyxml2::XMLElement* element) const override;
    void read(References& references, tinyxml2::XMLElement* element) override;

    std::string name;
    std::uint64_t levelCount = 0;
    int maxLevel = INT_MIN; // while the building has no floor
    int minLevel = INT_MAX;
    std::list<std::shared_ptr<Floor>> floors; // in the order they were added
    std::shared_ptr<Floor> root;
    std::shared_ptr<Floor> top;
    std::shared_ptr<Floor> bottom;
    BuildingParameters parameters;
};

// The floor that the child `name` of `element` names, resolved in the load's
// id context (a new placeholder floor for an id not met yet); empty when the
// element has no such child.
std::shared_ptr<Floor> readFloorReference(References& references, tinyxml2::XMLElement* element,
                                          const char* name);

} // namespace bg
