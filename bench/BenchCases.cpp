#include "BenchCases.h"
#include "model/Constants.h"

#include "model/Building.h"
#include "model/Proposal.h"
#include "model/Requirement.h"
#include "support/ModelFixtures.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace bench {

namespace {

using bg::anyFloor;

// One room of a brief. Net sides within [minSide, maxSide], net area within
// 0.8 to 1.5 times the target area, a square target unless the room is a
// corridor, which may be long and narrow in either direction.
struct RoomSpec {
    std::string name;
    std::string roomType;
    double area;
    double minSide;
    double maxSide;
    int level;
    const char* wish; // first boundary entry
    std::vector<int> adjacency = {-1};
};

std::shared_ptr<bg::RequirementSet> makeBrief(const std::vector<RoomSpec>& rooms)
{
    using Range = bg::Requirement::Range;
    std::vector<std::shared_ptr<bg::Requirement>> requirements;
    for (std::size_t i = 0; i < rooms.size(); ++i) {
        const RoomSpec& room = rooms[i];
        const bool corridor = room.roomType == "Corridor";
        const double side = std::sqrt(room.area);
        const Range target = corridor ? Range{room.area / room.minSide, room.minSide} : Range{side, side};
        const Range aspect = corridor ? Range{0.1, 10.0} : Range{0.25, 4.0};
        requirements.push_back(std::make_shared<bg::Requirement>(
            static_cast<int>(i), room.name, room.adjacency, room.area, room.roomType, target,
            Range{room.minSide, room.maxSide}, Range{room.minSide, room.maxSide}, aspect, Vec2(bg::noExpectedPosition, bg::noExpectedPosition),
            room.level, std::vector<std::string>{room.wish}, Range{0.8 * room.area, 1.5 * room.area}, 0));
    }
    return kovra_test::makeRequirementSet(requirements, "Brief");
}

std::vector<RoomSpec> sixRoomHouse()
{
    return {
        {"Entrance", "Entrance", 6, 1.5, 4, 0, "whatever"},
        {"Living", "Live and eat", 30, 3, 8, 0, "south"},
        {"Kitchen", "Kitchen and cleaning", 12, 2.5, 6, 0, "north"},
        {"Bedroom", "Bedroom", 16, 3, 6, 0, "east"},
        {"Child", "Bedroom", 12, 2.8, 6, 0, "whatever"},
        {"Corridor", "Corridor", 10, 1.2, 9, 0, "whatever", {0, 1, 2, 3, 4}},
    };
}

struct CaseData {
    std::shared_ptr<bg::Building> building;
    std::vector<RoomSpec> rooms;
};

CaseData caseData(const std::string& id)
{
    using kovra_test::lShapedContour;
    using kovra_test::makeBuilding;
    using kovra_test::makeRectBuilding;
    if (id == "studio")
        return {makeRectBuilding(8, 6),
                {
                    {"Living", "Live and eat", 18, 2.5, 7, 0, "whatever"},
                    {"Bedroom", "Bedroom", 10, 2.4, 5, 0, "whatever"},
                    {"Kitchen", "Kitchen and cleaning", 6, 1.8, 4, 0, "whatever"},
                    {"Bath", "Kitchen and cleaning", 4, 1.5, 3, 0, "whatever"},
                }};
    if (id == "house")
        return {makeRectBuilding(12, 10), sixRoomHouse()};
    if (id == "house-L")
        // The north-east corner of 4 x 4 m is missing: two east and two north walls.
        return {makeBuilding({lShapedContour(13, 11, 4, 4)}), sixRoomHouse()};
    if (id == "stairs")
        // The hall reaches the stair on the ground floor, the landing on the
        // upper one; the two stair rooms share one rectangle.
        return {makeRectBuilding(10, 8.5, 2),
                {
                    {"Entrance", "Entrance", 5, 1.5, 3.5, 0, "whatever"},
                    {"Hall", "Corridor", 8, 1.2, 8, 0, "whatever", {0, 2, 3, 4}},
                    {"Living", "Live and eat", 26, 3, 8, 0, "south"},
                    {"Kitchen", "Kitchen and cleaning", 12, 2.5, 5, 0, "north"},
                    {"Stair", "Stair", 6, 2, 3.5, 0, "whatever"},
                    {"Stair", "Stair", 6, 2, 3.5, 1, "whatever"},
                    {"Landing", "Corridor", 7, 1.2, 8, 1, "whatever", {5, 7, 8, 9}},
                    {"Bedroom", "Bedroom", 16, 3, 6, 1, "south"},
                    {"Child", "Bedroom", 13, 2.8, 6, 1, "whatever"},
                    {"Bath", "Kitchen and cleaning", 8, 2, 4, 1, "north"},
                }};
    if (id == "any-floor")
        return {makeRectBuilding(9, 8, 2),
                {
                    {"Entrance", "Entrance", 5, 1.5, 3.5, 0, "whatever"},
                    {"Living", "Live and eat", 24, 3, 7, 0, "south"},
                    {"Kitchen", "Kitchen and cleaning", 10, 2.5, 5, 0, "whatever", {1}},
                    {"Bedroom", "Bedroom", 15, 3, 6, 1, "whatever"},
                    {"Bath", "Kitchen and cleaning", 7, 2, 4, 1, "whatever"},
                    {"Child", "Bedroom", 12, 2.8, 5, anyFloor, "whatever"},
                    {"Study", "Workroom", 10, 2.5, 5, anyFloor, "whatever"},
                    {"Guest", "Bedroom", 11, 2.8, 5, anyFloor, "whatever"},
                }};
    if (id == "sixteen") {
        const double areas[] = {30, 24, 20, 18, 16, 16, 14, 14, 12, 12, 12, 10, 10, 8, 8, 6};
        const char* types[] = {"Live and eat", "Workroom", "Bedroom", "Kitchen and cleaning"};
        std::vector<RoomSpec> rooms;
        for (int i = 0; i < 16; ++i) {
            const double side = std::sqrt(areas[i]);
            rooms.push_back({"Room " + std::to_string(i + 1), types[i % 4], areas[i], std::max(1.5, 0.5 * side), 2.0 * side, 0,
                             "whatever"});
        }
        return {makeRectBuilding(20, 15), rooms};
    }
    throw std::invalid_argument("no benchmark case \"" + id + "\"");
}

} // namespace

const std::vector<CaseInfo>& cases()
{
    static const std::vector<CaseInfo> all = {
        {"studio", "01-studio.xsp", "studio: four rooms on one 8 x 6 m floor, no adjacency"},
        {"house", "02-house.xsp",
         "six-room house on a 12 x 10 m floor: entrance, corridor doors to every room, facade wishes"},
        {"house-L", "03-house-L.xsp", "the same house on an L-shaped 13 x 11 m floor without its 4 x 4 m north-east corner"},
        {"stairs", "04-stairs.xsp",
         "ten-room house on two 10 x 8.5 m floors, a stair room on each, hall and landing reaching the stair"},
        {"any-floor", "05-any-floor.xsp",
         "eight-room house on two 9 x 8 m floors, three rooms on any floor (floor-assignment model)"},
        {"sixteen", "06-sixteen.xsp", "sixteen rooms on one 20 x 15 m floor, no adjacency, no facade wishes"},
    };
    return all;
}

const CaseInfo* findCase(const std::string& idOrNumber)
{
    const std::vector<CaseInfo>& all = cases();
    for (std::size_t i = 0; i < all.size(); ++i)
        if (idOrNumber == all[i].id || idOrNumber == std::to_string(i + 1))
            return &all[i];
    return nullptr;
}

std::shared_ptr<bg::Project> makeCaseProject(const CaseInfo& info)
{
    CaseData data = caseData(info.id);
    data.building->name = std::string("Benchmark ") + info.id;
    auto project = std::make_shared<bg::Project>(std::string("Benchmark ") + info.id);
    auto brief = makeBrief(data.rooms);
    project->addBuilding(data.building);
    project->addRequirementSet(brief);
    project->proposals.push_back(kovra_test::makeProposal(data.building, brief, "Benchmark"));
    return project;
}

std::vector<std::string> writeCaseFiles(const std::string& folder)
{
    std::vector<std::string> written;
    for (const CaseInfo& info : cases()) {
        const std::string path = folder + "/" + info.file;
        makeCaseProject(info)->saveToFile(path);
        written.push_back(path);
    }
    return written;
}

std::shared_ptr<bg::Project> loadCaseProject(const std::string& folder, const CaseInfo& info)
{
    const std::string path = folder + "/" + info.file;
    std::vector<std::string> warnings;
    const std::shared_ptr<bg::Project> project = bg::Project::load(path, &warnings);
    if (!warnings.empty())
        throw std::runtime_error(path + " loads with warnings: " + warnings.front());
    if (project->proposals.empty())
        throw std::runtime_error(path + " holds no proposal");
    const std::shared_ptr<bg::Proposal> proposal = project->proposals.front();
    if (!proposal->building || !proposal->requirementSet)
        throw std::runtime_error(path + ": the proposal lacks its building or requirement set");
    return project;
}

std::shared_ptr<bg::Proposal> loadCase(const std::string& folder, const CaseInfo& info)
{
    return loadCaseProject(folder, info)->proposals.front();
}

} // namespace bench
