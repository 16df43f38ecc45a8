#include "BenchCases.h"
#include "model/Constants.h"

#include "model/Building.h"
#include "model/Proposal.h"
#include "model/Requirement.h"
#include "support/ModelFixtures.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
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

// A scale case: `total` rooms on `levels` floors of one rectangular
// building, each floor with corridors that have doors to every other room
// of the floor (one corridor per up to seven rooms, the way flats and office
// floors are served), on two floors a stair on each reached from a corridor.
// Areas cycle through the rooms of a house and an office; the building is
// sized so that the rooms fill about its floors: two rows of rooms about
// 4.2 m deep along each corridor.
CaseData scaleCase(int total, int levels)
{
    struct Kind {
        const char* name;
        const char* type;
        double area;
        const char* wish;
    };
    const Kind kinds[] = {
        {"Living", "Live and eat", 24, "south"}, {"Kitchen", "Kitchen and cleaning", 11, "north"},
        {"Bedroom", "Bedroom", 14, "whatever"},  {"Bath", "Kitchen and cleaning", 6, "whatever"},
        {"Bedroom", "Bedroom", 12, "whatever"},  {"Study", "Workroom", 10, "whatever"},
        {"Office", "Workroom", 13, "whatever"},  {"Store", "Workroom", 5, "whatever"},
        {"Bedroom", "Bedroom", 16, "whatever"},  {"WC", "Kitchen and cleaning", 4, "whatever"},
    };
    const int perFloor = total / levels;
    const int corridors = (perFloor - 1 + 7) / 8;
    const double rowDepth = 4.2, corridorDepth = 1.2, walls = 2 * 0.36;
    std::vector<RoomSpec> rooms;
    // The floors' rooms first, to size the building: every floor alike.
    double floorArea = 0.0;
    std::vector<std::vector<RoomSpec>> floors(static_cast<std::size_t>(levels));
    int kind = 0;
    for (int level = 0; level < levels; ++level) {
        std::vector<RoomSpec>& floor = floors[static_cast<std::size_t>(level)];
        if (level == 0)
            floor.push_back({"Entrance", "Entrance", 6, 1.5, 4, 0, "whatever"});
        if (levels > 1)
            floor.push_back({"Stair", "Stair", 6, 2, 3.5, level, "whatever"});
        bool south = false, north = false;
        while (static_cast<int>(floor.size()) + corridors < perFloor) {
            const Kind& k = kinds[kind++ % 10];
            const double side = std::sqrt(k.area);
            // One room of a floor wishes the south facade, one the north.
            const char* wish = k.wish;
            if ((std::string(wish) == "south" && south) || (std::string(wish) == "north" && north))
                wish = "whatever";
            south = south || std::string(wish) == "south";
            north = north || std::string(wish) == "north";
            floor.push_back({k.name, k.type, k.area, std::max(1.5, 0.5 * side), 2.0 * side, level, wish});
        }
        double area = 0.0;
        for (const RoomSpec& room : floor)
            area += room.area;
        floorArea = std::max(floorArea, area);
    }
    const double depth = corridors * (2 * rowDepth + corridorDepth);
    const double width = std::round(2.0 * (floorArea / (corridors * 2 * rowDepth) + 0.4)) / 2.0;
    int index = 0;
    for (int level = 0; level < levels; ++level) {
        std::vector<RoomSpec>& floor = floors[static_cast<std::size_t>(level)];
        const int first = index;
        const int count = static_cast<int>(floor.size());
        for (RoomSpec& room : floor)
            rooms.push_back(room);
        index += count;
        // The rooms take turns among the corridors, except that the first
        // serves the entrance and the stair and the south facade's room, the
        // last the north facade's room.
        std::vector<std::vector<int>> servedBy(static_cast<std::size_t>(corridors));
        int turn = 0;
        for (int r = 0; r < count; ++r) {
            const RoomSpec& room = floor[static_cast<std::size_t>(r)];
            int c = turn++ % corridors;
            if (room.roomType == "Entrance" || room.roomType == "Stair" || std::string(room.wish) == "south")
                c = 0;
            else if (std::string(room.wish) == "north")
                c = corridors - 1;
            servedBy[static_cast<std::size_t>(c)].push_back(first + r);
        }
        for (int c = 0; c < corridors; ++c) {
            const std::vector<int>& served = servedBy[static_cast<std::size_t>(c)];
            RoomSpec corridor{"Corridor", "Corridor", corridorDepth * (width - 1.0), corridorDepth, width,
                              level, "whatever", served};
            rooms.push_back(corridor);
            ++index;
        }
    }
    return {kovra_test::makeRectBuilding(width + walls, depth + walls, levels), rooms};
}

// "s06-1" and the like: rooms, dash, floors.
bool parseScaleId(const std::string& id, int& total, int& levels)
{
    if (id.size() != 5 || id[0] != 's' || id[3] != '-')
        return false;
    total = std::atoi(id.substr(1, 2).c_str());
    levels = id[4] - '0';
    return total > 0 && (levels == 1 || levels == 2);
}

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
    int total = 0, levels = 0;
    if (parseScaleId(id, total, levels))
        return scaleCase(total, levels);
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

const std::vector<CaseInfo>& scaleCases()
{
    static const std::vector<CaseInfo> all = {
        {"s06-1", "s06-1.xsp", "scale: 6 rooms on one floor, a corridor with doors to the others"},
        {"s08-1", "s08-1.xsp", "scale: 8 rooms on one floor, a corridor with doors to the others"},
        {"s10-1", "s10-1.xsp", "scale: 10 rooms on one floor, two corridors"},
        {"s12-1", "s12-1.xsp", "scale: 12 rooms on one floor, two corridors"},
        {"s16-1", "s16-1.xsp", "scale: 16 rooms on one floor, two corridors"},
        {"s20-1", "s20-1.xsp", "scale: 20 rooms on one floor, three corridors"},
        {"s24-1", "s24-1.xsp", "scale: 24 rooms on one floor, three corridors"},
        {"s06-2", "s06-2.xsp", "scale: 6 rooms on two floors, a stair and a corridor on each"},
        {"s08-2", "s08-2.xsp", "scale: 8 rooms on two floors, a stair and a corridor on each"},
        {"s10-2", "s10-2.xsp", "scale: 10 rooms on two floors, a stair and a corridor on each"},
        {"s12-2", "s12-2.xsp", "scale: 12 rooms on two floors, a stair and a corridor on each"},
        {"s16-2", "s16-2.xsp", "scale: 16 rooms on two floors, a stair and a corridor on each"},
        {"s20-2", "s20-2.xsp", "scale: 20 rooms on two floors, a stair and two corridors on each"},
        {"s24-2", "s24-2.xsp", "scale: 24 rooms on two floors, a stair and two corridors on each"},
    };
    return all;
}

const CaseInfo* findCase(const std::string& idOrNumber)
{
    const std::vector<CaseInfo>& all = cases();
    for (std::size_t i = 0; i < all.size(); ++i)
        if (idOrNumber == all[i].id || idOrNumber == std::to_string(i + 1))
            return &all[i];
    for (const CaseInfo& info : scaleCases())
        if (idOrNumber == info.id)
            return &info;
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
    for (const std::vector<CaseInfo>* group : {&cases(), &scaleCases()})
        for (const CaseInfo& info : *group) {
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
