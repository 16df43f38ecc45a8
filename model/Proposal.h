#pragma once

#include "geometry/Polygon.h"
#include "model/Constants.h"
#include "model/Serializable.h"

#include <array>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace bg {
class Building;
class Floor;
class Requirement;
class RequirementSet;
} // namespace bg

// Eighteen doubles for the IFC export, taken whole: positions 1 to 7 (indices
// 0 to 6) zero; 8 to 12 the outer wall, inner wall, base slab, floor slab and
// roof slab thicknesses of the process-wide defaults; 13 to 18 the constants
// 1.0, 2.2, 1.0, 0.05, 3.5, 1.0.
using ConstructionParameters = std::array<double, 18>;

namespace bg {

// The buildable outline of one floor within a proposal.
class Layout : public Serializable<References> {
public:
    Layout() = default;

    std::shared_ptr<Floor> getFloor() const { return floor; }
    int getLevel() const { return level; }
    std::vector<Vec2> getContour() const { return contour; }

    void write(References& references, tinyxml2::XMLElement* element) const override;
    void read(References& references, tinyxml2::XMLElement* element) override;

    std::string name; // empty unless read from a project file
    std::shared_ptr<Floor> floor;
    int level = 0;
    // The floor's contour inset by the default outer wall thickness.
    std::vector<Vec2> contour;
};

// One placed (or not yet placed) room of a proposal: an axis-parallel
// rectangle with its south-west corner at `position` and the extent `size`
// (x: the optimiser's length, y: its width), on the floor of `level`.
class Room : public std::enable_shared_from_this<Room>, public Serializable<References> {
public:
    // For the project-file reader, which sets every field it reads.
    Room() = default;
    // Unplaced: the requirement's index and name, level notPlaced, zero rectangle.
    explicit Room(const std::shared_ptr<Requirement>& requirement);

    // contour := the rectangle's corners (x, y), (x + sx, y), (x + sx, y + sy),
    // (x, y + sy), counter-clockwise.
    void updateContour();
    // innerContour := contour inset by half the default inner wall thickness
    // (empty for an empty contour).
    void updateInnerContour();
    void setFloor(std::shared_ptr<Floor> newFloor) { floor = std::move(newFloor); }

    std::string getName() const { return name; }
    std::vector<Vec2> getInnerContour() const { return innerContour; }
    std::shared_ptr<Requirement> getRequirement() const { return requirement; }

    void write(References& references, tinyxml2::XMLElement* element) const override;
    void read(References& references, tinyxml2::XMLElement* element) override;

    std::shared_ptr<Requirement> requirement;
    int index = 0;     // the requirement's index, copied when the room is made
    int level = notPlaced;
    std::string name;  // the requirement's name, copied when the room is made
    std::vector<Vec2> innerContour; // not saved
    std::vector<Vec2> contour;
    std::shared_ptr<Floor> floor; // set when a solution is applied; not saved
    Vec2 position;
    Vec2 size;
};

// One design variant: a building paired with a requirement set, with one
// layout per floor and one room per requirement.
//
// Threads: while the optimiser runs, its worker thread writes the rooms'
// placements (resetPlacements, position, size, level, contour, floor) after
// every time slice and the GUI thread reads them to paint and fill tables.
// Both sides hold lockRooms() for the whole batch of writes or reads; no
// member function locks by itself, so a holder may call them freely. The
// room and layout lists themselves change only on the GUI thread while no
// optimisation runs (creation, reset, loading).
class Proposal : public std::enable_shared_from_this<Proposal>, public Serializable<References> {
public:
    explicit Proposal(const std::string& name);

    // An empty proposal: no building, no requirement set, no layouts or rooms.
    static std::shared_ptr<Proposal> create(const std::string& name);
    // A new proposal for the building and the set: rebuildLayoutsAndRooms,
    // then resetPlacements (what the new-proposal command makes). Throws
    // GeometryError for a floor outline the clipping cannot take (points that
    // are not finite or lie absurdly far away).
    static std::shared_ptr<Proposal> create(const std::string& name, const std::shared_ptr<Building>& building,
                                            const std::shared_ptr<RequirementSet>& requirementSet);

    std::shared_ptr<Building>& getBuilding() { return building; }
    std::vector<std::shared_ptr<Layout>>& getLayouts() { return layouts; }
    // A copy of the list; the rooms themselves are shared.
    std::vector<std::shared_ptr<Room>> getRooms() const { return rooms; }

    // Replaces the layouts (one per floor of the building, in its floor order,
    // the contour inset by the default outer wall thickness) and the rooms
    // (one per requirement of the set, in its order, zero rectangle with its
    // four corners as contour, the requirement's level).
    void rebuildLayoutsAndRooms();
    // Every room: zero rectangle, empty contours, and the level of the last
    // requirement of the set whose index is the room's (notPlaced when none is).
    // Floors and requirements of the rooms stay.
    void resetPlacements();
    ConstructionParameters getConstructionParameters() const;

    std::unique_lock<std::mutex> lockRooms() const { return std::unique_lock<std::mutex>(roomsMutex); }

    void write(References& references, tinyxml2::XMLElement* element) const override;
    void read(References& references, tinyxml2::XMLElement* element) override;

    std::string name;
    std::vector<std::shared_ptr<Layout>> layouts;
    std::vector<std::shared_ptr<Room>> rooms;
    std::shared_ptr<Building> building;
    std::shared_ptr<RequirementSet> requirementSet;

private:
    mutable std::mutex roomsMutex;
};

} // namespace bg
