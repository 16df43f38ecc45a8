#pragma once

// Builders for the model objects tests need: a building, a requirement, a
// requirement set or a proposal in a line or two.
//
//   auto building = kovra_test::makeRectBuilding(10, 8, 2);
//   auto set = kovra_test::makeRequirementSet({kovra_test::makeRequirement(0, "Living", 20),
//                                              kovra_test::makeRequirement(1, "Kitchen", 12, 0, {0})});
//   auto proposal = kovra_test::makeProposal(building, set);

#include "geometry/FloorOutline.h"
#include "model/Building.h"
#include "model/Proposal.h"
#include "model/Requirement.h"

#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace kovra_test {

// The rectangle (0, 0) to (width, depth), counter-clockwise.
inline std::vector<Vec2> rectContour(double width, double depth)
{
    return {{0, 0}, {width, 0}, {width, depth}, {0, depth}};
}

// The rectangle (0, 0) to (width, depth) without its north-east corner of
// cutWidth x cutDepth, counter-clockwise: the building page's "Top-Right" L
// (15 x 15 with a 5 x 5 cut gives (0, 0), (15, 0), (15, 10), (10, 10), (10, 15), (0, 15)).
inline std::vector<Vec2> lShapedContour(double width, double depth, double cutWidth, double cutDepth)
{
    return makeLShapeContour(width, depth, "Top-Right", cutWidth, cutDepth);
}

// A building whose floors have levels 0, 1, 2 ... and the given contours,
// stacked with addFloor, every floor `height` high.
inline std::shared_ptr<bg::Building> makeBuilding(const std::vector<std::vector<Vec2>>& contours,
                                                  double height = 2.75, const std::string& name = "Building")
{
    auto building = std::make_shared<bg::Building>(name);
    for (std::size_t i = 0; i < contours.size(); ++i) {
        auto floor = std::make_shared<bg::Floor>(static_cast<int>(i));
        floor->height = height;
        floor->contour = contours[i];
        if (i == 0)
            building->setRoot(floor);
        building->addFloor(floor);
    }
    return building;
}

// `levels` floors of one rectangular outline.
inline std::shared_ptr<bg::Building> makeRectBuilding(double width, double depth, int levels = 1,
                                                      double height = 2.75)
{
    return makeBuilding(std::vector<std::vector<Vec2>>(static_cast<std::size_t>(levels), rectContour(width, depth)),
                        height);
}

// `levels` floors of one L-shaped outline (see lShapedContour).
inline std::shared_ptr<bg::Building> makeLShapedBuilding(double width, double depth, double cutWidth,
                                                         double cutDepth, int levels = 1, double height = 2.75)
{
    return makeBuilding(std::vector<std::vector<Vec2>>(static_cast<std::size_t>(levels),
                                                       lShapedContour(width, depth, cutWidth, cutDepth)),
                        height);
}

// A requirement of the given area: square target (side sqrt(area)), lengths
// and widths from half to twice that side, the aspect-ratio limits that
// follow from them, area bounds 0.8 and 1.5 times the area, no expected
// position. adjacency {-1} means no connection.
inline std::shared_ptr<bg::Requirement> makeRequirement(int index, const std::string& name, double area,
                                                        int level = 0, std::vector<int> adjacency = {-1},
                                                        const std::string& roomType = "Bedroom",
                                                        std::vector<std::string> boundaries = {"whatever"})
{
    const double side = std::sqrt(area);
    const double lo = side * 0.5;
    const double hi = side * 2.0;
    return std::make_shared<bg::Requirement>(index, name, std::move(adjacency), area, roomType,
                                             bg::Requirement::Range{side, side}, bg::Requirement::Range{lo, hi},
                                             bg::Requirement::Range{lo, hi}, bg::Requirement::Range{lo / hi, hi / lo},
                                             Vec2(-999, -999), level, std::move(boundaries),
                                             bg::Requirement::Range{area * 0.8, area * 1.5}, 0);
}

inline std::shared_ptr<bg::RequirementSet> makeRequirementSet(
    std::vector<std::shared_ptr<bg::Requirement>> requirements, const std::string& name = "Brief")
{
    auto set = std::make_shared<bg::RequirementSet>(name);
    set->requirements = std::move(requirements);
    return set;
}

// A new proposal as the new-proposal command makes it: one layout per floor,
// one unplaced room per requirement.
inline std::shared_ptr<bg::Proposal> makeProposal(const std::shared_ptr<bg::Building>& building,
                                                  const std::shared_ptr<bg::RequirementSet>& set,
                                                  const std::string& name = "Proposal")
{
    return bg::Proposal::create(name, building, set);
}

// Places the room: position, size, level, contour and the floor of that
// level (when the proposal's building has one).
inline void placeRoom(const std::shared_ptr<bg::Proposal>& proposal, const std::shared_ptr<bg::Room>& room,
                      Vec2 position, Vec2 size, int level)
{
    room->position = position;
    room->size = size;
    room->level = level;
    room->updateContour();
    if (proposal->building)
        for (const auto& floor : proposal->building->floors)
            if (floor->level == level)
                room->setFloor(floor);
}

} // namespace kovra_test
