#include "support/ExampleProjects.h"

#include "model/Building.h"
#include "model/Constants.h"
#include "model/Proposal.h"
#include "model/Requirement.h"
#include "support/ModelFixtures.h"

#include <cmath>
#include <stdexcept>

namespace kovra_test {

namespace {

// One room of a brief: net sides within [minSide, maxSide], net area within
// 0.8 to 1.5 times the target, a square target unless the room is a
// corridor, which may be long and narrow either way.
struct RoomSpec {
    const char* name;
    const char* roomType;
    double area;
    double minSide;
    double maxSide;
    int level;
    const char* wish; // the first boundary entry: a facade or "whatever"
    std::vector<int> adjacency = {-1};
};

std::shared_ptr<bg::RequirementSet> makeBrief(const std::string& name, const std::vector<RoomSpec>& rooms)
{
    using Range = bg::Requirement::Range;
    std::vector<std::shared_ptr<bg::Requirement>> requirements;
    for (std::size_t i = 0; i < rooms.size(); ++i) {
        const RoomSpec& room = rooms[i];
        const bool corridor = std::string(room.roomType) == "Corridor";
        const double side = std::sqrt(room.area);
        const Range target = corridor ? Range{room.area / room.minSide, room.minSide} : Range{side, side};
        const Range aspect = corridor ? Range{0.1, 10.0} : Range{0.25, 4.0};
        requirements.push_back(std::make_shared<bg::Requirement>(
            static_cast<int>(i), room.name, room.adjacency, room.area, room.roomType, target,
            Range{room.minSide, room.maxSide}, Range{room.minSide, room.maxSide}, aspect,
            Vec2(bg::noExpectedPosition, bg::noExpectedPosition), room.level, std::vector<std::string>{room.wish},
            Range{0.8 * room.area, 1.5 * room.area}, 0));
    }
    return makeRequirementSet(requirements, name);
}

std::shared_ptr<bg::Project> makeProject(const std::string& name, std::shared_ptr<bg::Building> building,
                                         const std::vector<RoomSpec>& rooms)
{
    building->name = name;
    auto project = std::make_shared<bg::Project>(name);
    auto brief = makeBrief(name + " rooms", rooms);
    project->addBuilding(building);
    project->addRequirementSet(brief);
    project->proposals.push_back(makeProposal(building, brief, "First try"));
    return project;
}

} // namespace

const std::vector<ExampleInfo>& examples()
{
    static const std::vector<ExampleInfo> all = {
        {"bungalow.xsp", "a bungalow: six rooms on one 11 x 9 m floor, a corridor with doors to four of them"},
        {"l-house.xsp", "an L-shaped house: six rooms on a 13 x 11 m floor without its 4 x 4 m north-east corner"},
        {"two-storey.xsp",
         "a two-storey house: ten rooms on two 10 x 8.5 m floors, a stair on each, a study on either floor "
         "with a door to the landing"},
    };
    return all;
}

std::shared_ptr<bg::Project> makeExampleProject(const std::string& file)
{
    if (file == "bungalow.xsp")
        return makeProject("Bungalow", makeRectBuilding(11, 9),
                           {
                               {"Entrance", "Entrance", 5, 1.5, 3.5, 0, "whatever"},
                               {"Living", "Live and eat", 26, 3, 8, 0, "south"},
                               {"Kitchen", "Kitchen and cleaning", 10, 2.5, 5, 0, "north", {1}},
                               {"Bedroom", "Bedroom", 14, 3, 6, 0, "east"},
                               {"Bath", "Kitchen and cleaning", 6, 2, 4, 0, "whatever"},
                               {"Corridor", "Corridor", 8, 1.2, 9, 0, "whatever", {0, 1, 3, 4}},
                           });
    if (file == "l-house.xsp")
        // The north-east corner of 4 x 4 m is missing: two east and two north walls.
        return makeProject("L-shaped house", makeBuilding({lShapedContour(13, 11, 4, 4)}),
                           {
                               {"Entrance", "Entrance", 6, 1.5, 4, 0, "whatever"},
                               {"Living", "Live and eat", 30, 3, 8, 0, "south"},
                               {"Kitchen", "Kitchen and cleaning", 12, 2.5, 6, 0, "north"},
                               {"Bedroom", "Bedroom", 16, 3, 6, 0, "east"},
                               {"Child", "Bedroom", 12, 2.8, 6, 0, "whatever"},
                               {"Corridor", "Corridor", 10, 1.2, 9, 0, "whatever", {0, 1, 2, 3, 4}},
                           });
    if (file == "two-storey.xsp")
        // The hall reaches the stair on the ground floor, the landing on the
        // upper one; the two stair rooms share one rectangle. The study may
        // go on either floor; its door to the landing takes it upstairs.
        return makeProject("Two-storey house", makeRectBuilding(10, 8.5, 2),
                           {
                               {"Entrance", "Entrance", 5, 1.5, 3.5, 0, "whatever"},
                               {"Hall", "Corridor", 8, 1.2, 8, 0, "whatever", {0, 2, 3, 4}},
                               {"Living", "Live and eat", 24, 3, 8, 0, "south"},
                               {"Kitchen", "Kitchen and cleaning", 10, 2.5, 5, 0, "north"},
                               {"Stair", "Stair", 6, 2, 3.5, 0, "whatever"},
                               {"Stair", "Stair", 6, 2, 3.5, 1, "whatever"},
                               {"Landing", "Corridor", 7, 1.2, 8, 1, "whatever", {5, 7, 8, 9}},
                               {"Bedroom", "Bedroom", 15, 3, 6, 1, "south"},
                               {"Bath", "Kitchen and cleaning", 7, 2, 4, 1, "north"},
                               {"Study", "Workroom", 9, 2.5, 5, bg::anyFloor, "whatever"},
                           });
    throw std::invalid_argument("no example \"" + file + "\"");
}

} // namespace kovra_test
