#include "support/LayoutChecker.h"

#include "geometry/LayoutGeometry.h"
#include "model/Building.h"
#include "model/BuildingParameters.h"
#include "model/Requirement.h"

#include <clipper2/clipper.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <sstream>

namespace kovra_test {

namespace {

std::string fmt(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", value);
    return text;
}

struct Rect {
    double x0, y0, x1, y1;
};

Rect rectOf(const bg::Room& room)
{
    return {room.position.x, room.position.y, room.position.x + room.size.x,
            room.position.y + room.size.y};
}

std::string nameOf(const bg::Room& room)
{
    return "room " + std::to_string(room.index) + " \"" + room.name + "\"";
}

// Length of the common stretch of [a0, a1] and [b0, b1]; negative for a gap.
double overlap(double a0, double a1, double b0, double b1)
{
    return std::min(a1, b1) - std::max(a0, b0);
}

double areaOutside(const Rect& r, const std::vector<Vec2>& outline)
{
    Clipper2Lib::PathD rect{{r.x0, r.y0}, {r.x1, r.y0}, {r.x1, r.y1}, {r.x0, r.y1}};
    Clipper2Lib::PathD polygon;
    for (const Vec2& p : outline)
        polygon.emplace_back(p.x, p.y);
    const Clipper2Lib::PathsD rest =
        Clipper2Lib::Difference({rect}, {polygon}, Clipper2Lib::FillRule::NonZero, 8);
    return std::fabs(Clipper2Lib::Area(rest));
}

struct FloorOutline {
    std::vector<Vec2> points;     // usable outline, inset from the contour
    std::vector<PolygonEdge> edges; // counter-clockwise, side-labelled
    double area = 0.0;
};

// The walls a facade word asks for: the first boundary entry only.
std::vector<std::string> wishedSides(const std::vector<std::string>& boundaries)
{
    if (boundaries.empty())
        return {};
    const std::string& wish = boundaries.front();
    if (wish == "east" || wish == "south" || wish == "west" || wish == "north")
        return {wish};
    if (wish == "southeast") return {"east", "south"};
    if (wish == "northeast") return {"east", "north"};
    if (wish == "southwest") return {"west", "south"};
    if (wish == "northwest") return {"west", "north"};
    return {};
}

bool knownWish(const std::vector<std::string>& boundaries)
{
    return boundaries.empty() || boundaries.front() == "whatever" || !wishedSides(boundaries).empty();
}

// The room lies against the wall: its side on the wall's line, its extent
// along the wall within the wall.
bool touches(const Rect& r, const PolygonEdge& wall, double tol)
{
    const Vec2 a = wall.start, b = wall.end;
    const double lo = wall.side == "east" || wall.side == "west" ? std::min(a.y, b.y) : std::min(a.x, b.x);
    const double hi = wall.side == "east" || wall.side == "west" ? std::max(a.y, b.y) : std::max(a.x, b.x);
    if (wall.side == "east")
        return std::fabs(r.x1 - a.x) <= tol && r.y0 >= lo - tol && r.y1 <= hi + tol;
    if (wall.side == "west")
        return std::fabs(r.x0 - a.x) <= tol && r.y0 >= lo - tol && r.y1 <= hi + tol;
    if (a.y != b.y)
        return false; // a slanted edge: no room side can lie on it
    if (wall.side == "south")
        return std::fabs(r.y0 - a.y) <= tol && r.x0 >= lo - tol && r.x1 <= hi + tol;
    return std::fabs(r.y1 - a.y) <= tol && r.x0 >= lo - tol && r.x1 <= hi + tol;
}

// What the rule families share: the rules, the wall thickness, the usable
// outline of every level, the area its rooms cover and the problems found.
struct Check {
    const LayoutRules& rules;
    const BuildingParameters& parameters;
    double t;
    double tol;
    std::map<int, FloorOutline> floors;
    std::map<int, double> coveredArea;
    std::vector<std::string> problems;
};

// The usable outline of each level; the first floor of a level counts. The
// edges and the area are those of the outline inset by `fillInset`, the one
// the rooms fill.
std::map<int, FloorOutline> usableOutlines(bg::Building& building, double inset, double fillInset)
{
    std::map<int, FloorOutline> floors;
    for (const std::shared_ptr<bg::Floor>& floor : building.getFloors()) {
        if (floors.count(floor->getLevel()))
            continue;
        FloorOutline outline;
        outline.points = insetPolygon(floor->getContour(), inset);
        Polygon polygon(fillInset == inset ? outline.points : insetPolygon(floor->getContour(), fillInset));
        outline.edges = polygon.getEdges();
        outline.area = polygon.getArea();
        floors.emplace(floor->getLevel(), std::move(outline));
    }
    return floors;
}

// One room on its own: requirement, level and floor, the usable outline,
// obstacles, net extents and area, aspect ratio; adds its area to its level.
// Returns the outline of the room's floor, or null when the room has no
// requirement or stands on a level no floor has (nothing more is checked).
const FloorOutline* checkRoom(Check& check, const bg::Room& room)
{
    const LayoutRules& rules = check.rules;
    const double t = check.t, tol = check.tol;
    std::vector<std::string>& problems = check.problems;
    const std::shared_ptr<bg::Requirement> requirement = room.getRequirement();
    const std::string name = nameOf(room);
    if (!requirement) {
        problems.push_back(name + " has no requirement");
        return nullptr;
    }
    const auto found = check.floors.find(room.level);
    if (found == check.floors.end()) {
        problems.push_back(name + " is on level " + std::to_string(room.level) + ", which no floor has");
        return nullptr;
    }
    if (requirement->getLevel() != -999 && requirement->getLevel() != room.level)
        problems.push_back(name + " is on level " + std::to_string(room.level) + ", its requirement asks for " +
                           std::to_string(requirement->getLevel()));
    if (!room.floor || room.floor->getLevel() != room.level)
        problems.push_back(name + " does not stand on the floor of its level");

    const Rect r = rectOf(room);
    const double l = room.size.x, w = room.size.y;
    const FloorOutline& floor = found->second;
    const double outside = areaOutside(r, floor.points);
    if (outside > tol * 2.0 * (l + w))
        problems.push_back(name + " reaches " + fmt(outside) + " m2 beyond the usable outline of level " +
                           std::to_string(room.level));
    for (size_t k = 0; rules.separation && k < rules.keepOut.size(); ++k) {
        const KeepOut& o = rules.keepOut[k];
        if (o.level == room.level && overlap(r.x0, r.x1, o.x, o.x + o.width) > tol &&
            overlap(r.y0, r.y1, o.y, o.y + o.height) > tol)
            problems.push_back(name + " lies in obstacle " + std::to_string(k));
    }

    const auto [minLength, maxLength] = requirement->getLengthRange();
    const auto [minWidth, maxWidth] = requirement->getWidthRange();
    const auto [minArea, maxArea] = requirement->getAreaErrorRange();
    const auto [minRatio, maxRatio] = requirement->getAspectRatioRange();
    const double wall = rules.netRectangles ? 0.0 : t;
    const double netLength = l - wall, netWidth = w - wall;
    if (netLength < minLength - tol || netLength > maxLength + tol)
        problems.push_back(name + " has the length " + fmt(netLength) + ", outside [" + fmt(minLength) + ", " +
                           fmt(maxLength) + "]");
    if (netWidth < minWidth - tol || netWidth > maxWidth + tol)
        problems.push_back(name + " has the width " + fmt(netWidth) + ", outside [" + fmt(minWidth) + ", " +
                           fmt(maxWidth) + "]");
    const double netArea = netLength * netWidth;
    const double areaTol = tol * (netLength + netWidth);
    if (netArea < minArea - areaTol || netArea > maxArea + areaTol)
        problems.push_back(name + " has the area " + fmt(netArea) + ", outside [" + fmt(minArea) + ", " +
                           fmt(maxArea) + "]");
    // The ratio is taken of the extents with their wall, as the optimiser does.
    const bool horizontal = requirement->getOrientation() == "horizontal";
    const double ratio = horizontal ? l / w : w / l;
    const double ratioTol = tol / std::min(l, w);
    if (rules.separation && !(ratio >= minRatio - ratioTol && ratio <= maxRatio + ratioTol))
        problems.push_back(name + " has the aspect ratio " + fmt(ratio) + ", outside [" + fmt(minRatio) + ", " +
                           fmt(maxRatio) + "]");
    check.coveredArea[room.level] += l * w;
    return &floor;
}

// The room reaches a wall of each side it wishes for; an entrance reaches
// some wall. A wish the models do not know asks for nothing.
void checkFacades(Check& check, const bg::Room& room, const FloorOutline& floor)
{
    const std::shared_ptr<bg::Requirement> requirement = room.getRequirement();
    if (!knownWish(requirement->getBoundaries()))
        return;
    const Rect r = rectOf(room);
    const double tol = check.tol;
    const std::string name = nameOf(room);
    for (const std::string& side : wishedSides(requirement->getBoundaries())) {
        const bool onWall = std::any_of(floor.edges.begin(), floor.edges.end(), [&](const PolygonEdge& e) {
            return e.side == side && touches(r, e, tol);
        });
        if (!onWall)
            check.problems.push_back(name + " does not reach a " + side + " wall of its floor");
    }
    if (requirement->getRoomType() == "Entrance" &&
        std::none_of(floor.edges.begin(), floor.edges.end(),
                     [&](const PolygonEdge& e) { return touches(r, e, tol); }))
        check.problems.push_back(name + " is an entrance away from every facade");
}

// Pairs: no overlap on one level (with separation), stairs stacked.
void checkPairs(Check& check, const std::vector<std::shared_ptr<bg::Room>>& rooms)
{
    const double tol = check.tol;
    for (size_t i = 0; i < rooms.size(); ++i) {
        for (size_t j = i + 1; j < rooms.size(); ++j) {
            const bg::Room& a = *rooms[i];
            const bg::Room& b = *rooms[j];
            const Rect ra = rectOf(a), rb = rectOf(b);
            const double ox = overlap(ra.x0, ra.x1, rb.x0, rb.x1);
            const double oy = overlap(ra.y0, ra.y1, rb.y0, rb.y1);
            if (check.rules.separation && a.level == b.level && ox > tol && oy > tol)
                check.problems.push_back(nameOf(a) + " overlaps " + nameOf(b) + " by " + fmt(ox) + " x " + fmt(oy) +
                                         " m on level " + std::to_string(a.level));
            const bool stairs = a.getRequirement() && b.getRequirement() &&
                                a.getRequirement()->getRoomType() == "Stair" &&
                                b.getRequirement()->getRoomType() == "Stair";
            if (stairs && (std::fabs(ra.x0 - rb.x0) > tol || std::fabs(ra.y0 - rb.y0) > tol ||
                           std::fabs(ra.x1 - rb.x1) > tol || std::fabs(ra.y1 - rb.y1) > tol))
                check.problems.push_back("stair " + nameOf(a) + " and stair " + nameOf(b) + " are not stacked");
        }
    }
}

// The rooms of each level cover at most its usable area, and all of it
// unless free space is allowed.
void checkFill(Check& check)
{
    for (const auto& [level, floor] : check.floors) {
        const double covered = check.coveredArea[level];
        const double areaTol = std::max(1e-2, 1e-4 * floor.area);
        if (covered > floor.area + areaTol)
            check.problems.push_back("the rooms of level " + std::to_string(level) + " cover " + fmt(covered) +
                                     " m2, more than its usable " + fmt(floor.area) + " m2");
        else if (!check.rules.allowFreeSpace && covered < floor.area - areaTol)
            check.problems.push_back("the rooms of level " + std::to_string(level) + " cover " + fmt(covered) +
                                     " m2 of its usable " + fmt(floor.area) + " m2, not all of it");
    }
}

// Adjacent rooms lie on one level, touch, and share a wall at least a door
// and a wall thickness long (the crossing walls at its ends take half a wall
// each), as every model asks.
void checkDoors(Check& check, const std::vector<std::shared_ptr<bg::Room>>& rooms)
{
    const double t = check.t, tol = check.tol;
    const double D = check.parameters.doorWidth + t;
    std::vector<std::string>& problems = check.problems;
    std::map<int, std::shared_ptr<bg::Room>> byIndex;
    for (const std::shared_ptr<bg::Room>& room : rooms)
        byIndex.emplace(room->index, room);
    for (const std::shared_ptr<bg::Room>& room : rooms) {
        if (!room->getRequirement())
            continue;
        for (const int j : room->getRequirement()->connectedIndices()) {
            const auto other = byIndex.find(j);
            if (other == byIndex.end()) {
                problems.push_back(nameOf(*room) + " must connect to room " + std::to_string(j) +
                                   ", which does not exist");
                continue;
            }
            if (j == room->index)
                continue;
            if (other->second->level != room->level) {
                problems.push_back(nameOf(*room) + " on level " + std::to_string(room->level) + " must connect to " +
                                   nameOf(*other->second) + " on level " + std::to_string(other->second->level));
                continue;
            }
            const Rect a = rectOf(*room), b = rectOf(*other->second);
            // Side by side: a shared north-south wall. One north of the
            // other: a shared east-west wall. Rooms a gap apart would each
            // have a wall of their own, and a door in one would open onto the
            // other.
            const bool sideBySide = (std::fabs(a.x1 - b.x0) <= tol || std::fabs(b.x1 - a.x0) <= tol) &&
                                    overlap(a.y0, a.y1, b.y0, b.y1) >= D - tol;
            const bool stacked = (std::fabs(a.y1 - b.y0) <= tol || std::fabs(b.y1 - a.y0) <= tol) &&
                                 overlap(a.x0, a.x1, b.x0, b.x1) >= D - tol;
            if (!sideBySide && !stacked)
                problems.push_back(nameOf(*room) + " shares no wall a door and a wall thickness long with " + nameOf(*other->second));
        }
    }
}

} // namespace

std::vector<std::string> checkLayout(const std::shared_ptr<bg::Proposal>& proposal, const LayoutRules& rules)
{
    const BuildingParameters& parameters = getBuildingParameters();
    const double t = parameters.innerWallStrength;
    const double inset = parameters.outerWallStrength - 0.5 * t;
    const double fillInset = rules.netRectangles ? parameters.outerWallStrength : inset;
    Check check{rules, parameters, t, rules.tolerance, usableOutlines(*proposal->getBuilding(), inset, fillInset),
                {}, {}};

    const std::vector<std::shared_ptr<bg::Room>> rooms = proposal->getRooms();
    for (const std::shared_ptr<bg::Room>& room : rooms) {
        const FloorOutline* floor = checkRoom(check, *room);
        if (floor && rules.facades)
            checkFacades(check, *room, *floor);
    }
    checkPairs(check, rooms);
    checkFill(check);
    if (rules.doors)
        checkDoors(check, rooms);
    return check.problems;
}

std::string describe(const std::vector<std::string>& violations)
{
    std::ostringstream out;
    for (const std::string& violation : violations)
        out << "  " << violation << "\n";
    return out.str();
}

} // namespace kovra_test
