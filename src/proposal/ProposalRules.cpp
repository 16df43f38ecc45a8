#include "ProposalRules.h"

#include "requirements/RoomForm.h"

#include "export/IfcExporter.h"
#include "geometry/LayoutGeometry.h"
#include "geometry/Polygon.h"
#include "layouter/Layouter.h"
#include "model/Building.h"
#include "model/Constants.h"
#include "model/Proposal.h"
#include "model/Requirement.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

std::string format(const char* pattern, double value)
{
    char text[64];
    std::snprintf(text, sizeof text, pattern, value);
    return text;
}

std::string formatInt(long value)
{
    return std::to_string(value);
}

double contourArea(const std::vector<Vec2>& points)
{
    return 0.5 * std::fabs(twiceSignedArea(points));
}

} // namespace

SpaceCheck checkSpace(const std::shared_ptr<bg::Building>& building, const bg::RequirementSet& set)
{
    for (const std::shared_ptr<bg::Floor>& floor : building->getFloors())
        if (remainingFloorArea(*building, set, floor->getLevel()) < -spaceTolerance)
            return {false, "Not enough space on floor " + formatInt(floor->getLevel()) +
                               " to meet the area requirements."};
    if (remainingBuildingArea(*building, set) < -spaceTolerance)
        return {false, "Not enough space for the whole building to meet the area requirements."};
    return {};
}

std::vector<std::string> infeasibilityReasons(const bg::Building& building, const bg::RequirementSet& set,
                                              bool fillAll)
{
    std::vector<std::string> reasons;
    const bool anyFloorRooms = std::any_of(set.requirements.begin(), set.requirements.end(),
                                           [](const auto& r) { return r->level == bg::anyFloor; });
    double netTotal = 0.0, smallestTotal = 0.0, largestTotal = 0.0;
    for (const auto& requirement : set.requirements) {
        smallestTotal += requirement->minAreaError;
        largestTotal += requirement->maxAreaError;
    }
    for (const std::shared_ptr<bg::Floor>& floor : building.floors) {
        const int level = floor->level;
        const std::string name = "Floor " + formatInt(level);
        const double net = usableFloorArea(building, level);
        netTotal += net;
        double smallest = 0.0, largest = 0.0;
        for (const auto& requirement : set.requirements) {
            if (requirement->level != level)
                continue;
            smallest += requirement->minAreaError;
            largest += requirement->maxAreaError;
        }
        if (smallest > net + spaceTolerance)
            reasons.push_back(name + ": the rooms' smallest areas add up to " + format("%.2f", smallest) +
                              " m\u00b2, more than its net area of " + format("%.2f", net) + " m\u00b2.");
        // Rooms that may go on any floor could still fill it.
        if (fillAll && !anyFloorRooms && largest < net - spaceTolerance)
            reasons.push_back(name + ": with \"Fill All\" on, the rooms' largest areas add up to only " +
                              format("%.2f", largest) + " m\u00b2, less than its net area of " +
                              format("%.2f", net) + " m\u00b2.");

        const std::vector<Vec2> inside = insetPolygon(floor->contour, building.parameters.outerWallStrength);
        if (inside.size() < 3)
            continue;
        const BoundingBox box = boundingBox(inside);
        const double length = box.max.x - box.min.x, width = box.max.y - box.min.y;
        for (const auto& requirement : set.requirements)
            if (requirement->level == level && (requirement->minLength > length || requirement->minWidth > width))
                reasons.push_back(name + ": room \"" + requirement->name + "\" is at least " +
                                  format("%.2f", requirement->minLength) + " x " +
                                  format("%.2f", requirement->minWidth) + " m, more than the floor's " +
                                  format("%.2f", length) + " x " + format("%.2f", width) +
                                  " m inside its outer walls.");
    }
    if (anyFloorRooms) {
        if (smallestTotal > netTotal + spaceTolerance)
            reasons.push_back("The whole building: the rooms' smallest areas add up to " +
                              format("%.2f", smallestTotal) + " m\u00b2, more than its net area of " +
                              format("%.2f", netTotal) + " m\u00b2.");
        if (fillAll && largestTotal < netTotal - spaceTolerance)
            reasons.push_back("The whole building: with \"Fill All\" on, the rooms' largest areas add up to only " +
                              format("%.2f", largestTotal) + " m\u00b2, less than its net area of " +
                              format("%.2f", netTotal) + " m\u00b2.");
    }
    return reasons;
}

int layouterModeFor(const bg::RequirementSet& set)
{
    const bool anyFloor = std::any_of(set.requirements.begin(), set.requirements.end(),
                                      [](const auto& r) { return r->getLevel() == bg::anyFloor; });
    return anyFloor ? floorAssignmentMode : fixedFloorMode;
}

std::string formatDifference(double expectedArea, double area)
{
    if (area == expectedArea)
        return "0.0";
    // A requirement without a target size expects nothing: no percentage.
    if (expectedArea == 0.0)
        return "n/a";
    const std::string percent = format("%.2f", std::fabs(expectedArea - area) / expectedArea * 100.0) + "%";
    return area < expectedArea ? "-" + percent : percent;
}

double usedArea(const std::vector<std::shared_ptr<bg::Room>>& rooms, int level, double innerWall)
{
    double used = 0.0;
    for (const std::shared_ptr<bg::Room>& room : rooms)
        // A room not placed yet has no rectangle and uses nothing.
        if (room->level == level)
            used += std::max(0.0, room->size.y - innerWall) * std::max(0.0, room->size.x - innerWall);
    return used;
}

std::vector<SolutionRow> solutionRows(const std::vector<Solution>& solutions)
{
    std::vector<SolutionRow> rows;
    for (std::size_t j = 0; j < solutions.size(); ++j)
        rows.push_back({formatInt(static_cast<long>(j)), format("%.4f", solutions[j].objective)});
    return rows;
}

std::array<std::string, 3> searchProgressLines(const SearchProgress& progress, bool stopping)
{
    std::array<std::string, 3> lines;
    lines[0] = "Layouts found: " + std::to_string(progress.layouts);
    lines[1] = progress.hasObjective ? format("Best objective: %.4f", progress.bestObjective)
                                     : std::string("Best objective: none yet");
    if (progress.optimal)
        lines[2] = "Search: optimal, no better layout exists";
    else if (stopping)
        lines[2] = "Search: stopping after this step...";
    else if (progress.hasObjective && progress.gap >= 0.0 && progress.gap < 1.0)
        lines[2] = format("Search: running, within %.1f %% of the best possible", 100.0 * progress.gap);
    else
        lines[2] = "Search: running";
    return lines;
}

std::string runEndText(std::size_t layouts, bool stopped, bool optimal)
{
    const std::string found = std::to_string(layouts) + (layouts == 1 ? " solution is found." : " solutions are found.");
    if (optimal)
        return "Optimization finished: the best layout is optimal. " + found;
    if (stopped)
        return "Optimization stopped. " + found;
    return "Optimization finished. " + found;
}

std::string currentSolutionText(long position)
{
    return position < 0 ? "Current solution: " : "Current solution: " + formatInt(position);
}

namespace {

// The layouts within the building's levels, from the highest level down, and
// in list order within a level: sorted, never walked level by level, since
// levels may lie far apart.
std::vector<std::shared_ptr<bg::Layout>> orderedLayouts(bg::Proposal& proposal, const bg::Building& building)
{
    std::vector<std::shared_ptr<bg::Layout>> layouts;
    for (const std::shared_ptr<bg::Layout>& layout : proposal.getLayouts())
        if (layout->getLevel() >= building.minLevel && layout->getLevel() <= building.maxLevel)
            layouts.push_back(layout);
    std::stable_sort(layouts.begin(), layouts.end(),
                     [](const auto& a, const auto& b) { return a->getLevel() > b->getLevel(); });
    return layouts;
}

} // namespace

std::vector<int> levelsTableLevels(bg::Proposal& proposal)
{
    std::vector<int> levels;
    const std::shared_ptr<bg::Building>& building = proposal.getBuilding();
    if (!building)
        return levels;
    for (const std::shared_ptr<bg::Layout>& layout : orderedLayouts(proposal, *building))
        levels.push_back(layout->getLevel());
    return levels;
}

std::vector<LevelRow> levelRows(bg::Proposal& proposal, double innerWall)
{
    std::vector<LevelRow> rows;
    const std::shared_ptr<bg::Building>& building = proposal.getBuilding();
    if (!building)
        return rows;
    for (const std::shared_ptr<bg::Layout>& layout : orderedLayouts(proposal, *building)) {
        {
            const int level = layout->getLevel();
            const long rooms = std::count_if(proposal.rooms.begin(), proposal.rooms.end(),
                                             [level](const auto& room) { return room->level == level; });
            const double buildable = contourArea(layout->getContour());
            const double used = usedArea(proposal.rooms, level, innerWall);
            rows.push_back({formatInt(level), formatInt(rooms), format("%.4f", buildable), format("%.4f", used),
                            format("%.4f", buildable - used)});
        }
    }
    return rows;
}

bool roomOfRequirement(const bg::Room& room, const bg::Requirement& requirement)
{
    return room.requirement.get() == &requirement && room.index == requirement.index &&
           room.name == requirement.name;
}

bool roomsMatchSet(const bg::Proposal& proposal)
{
    if (!proposal.requirementSet)
        return true;
    const auto& requirements = proposal.requirementSet->requirements;
    if (proposal.rooms.size() != requirements.size())
        return false;
    for (std::size_t i = 0; i < requirements.size(); ++i)
        if (!roomOfRequirement(*proposal.rooms[i], *requirements[i]))
            return false;
    return true;
}

std::vector<RoomRow> roomRows(const bg::Proposal& proposal)
{
    std::vector<RoomRow> rows;
    for (const std::shared_ptr<bg::Room>& room : proposal.rooms) {
        if (proposal.requirementSet &&
            std::none_of(proposal.requirementSet->requirements.begin(), proposal.requirementSet->requirements.end(),
                         [&](const auto& requirement) { return roomOfRequirement(*room, *requirement); }))
            continue;
        const std::shared_ptr<bg::Requirement> requirement = room->getRequirement();
        const double area = contourArea(room->innerContour);
        const double expected = requirement ? requirement->targetLength * requirement->targetWidth : 0.0;
        rows.push_back({formatInt(room->index), room->name, requirement ? requirement->getRoomType() : "",
                        formatInt(room->level), format("%.2f", area), format("%.2f", expected),
                        formatDifference(expected, area)});
    }
    return rows;
}

diagram::Colour topologyColour(const std::string& roomType)
{
    struct TypeColour {
        const char* type;
        diagram::Colour colour;
    };
    static const TypeColour colours[] = {
        {"Corridor", {1, 0, 0}},         {"Entrance", {1, 0, 0}}, {"Live and eat", {0, 0.59, 0.51}},
        {"Bedroom", {0.98, 0.57, 0}},    {"Kitchen and cleaning", {0, 1, 0}},
        {"Workroom", {0, 0, 1}},         {"Garden", {1, 1, 0}},   {"Stair", {0.5, 0.5, 0.5}},
    };
    for (const TypeColour& entry : colours)
        if (roomType == entry.type)
            return entry.colour;
    return {1, 1, 1};
}

TopologyGraph topologyGraph(const bg::RequirementSet& set, const std::vector<std::shared_ptr<bg::Room>>& rooms,
                            int viewMode, int currentLevel)
{
    std::vector<std::shared_ptr<bg::Requirement>> shown;
    for (const std::shared_ptr<bg::Requirement>& requirement : set.requirements) {
        if (viewMode == 0) {
            shown.push_back(requirement);
            continue;
        }
        const auto room = std::find_if(rooms.begin(), rooms.end(), [&](const auto& candidate) {
            return candidate->index == requirement->getIndex();
        });
        if (room != rooms.end() && (*room)->level == currentLevel)
            shown.push_back(requirement);
    }

    TopologyGraph graph;
    for (const std::shared_ptr<bg::Requirement>& requirement : shown)
        graph.nodes.push_back({requirement->getIndex(), requirement->getName(),
                               topologyColour(requirement->getRoomType())});

    // An entry that names no shown node (a room on another level, or an index
    // beyond the set) draws nothing rather than a line into empty space.
    const int count = static_cast<int>(shown.size());
    for (int p = 0; p < count; ++p) {
        for (int entry : shown[p]->adjacency) {
            if (entry == -1)
                break;
            int target = -1;
            if (viewMode == 0) {
                target = entry >= 0 && entry < count ? entry : -1;
            } else {
                for (int q = 0; q < count && target < 0; ++q)
                    if (shown[q]->getIndex() == entry)
                        target = q;
            }
            if (target >= 0)
                graph.edges.emplace_back(p, target);
        }
    }
    return graph;
}

bool hasLayout(const bg::Proposal& proposal)
{
    for (const std::shared_ptr<bg::Room>& room : proposal.rooms)
        if (room->size.x > 0.0 && room->size.y > 0.0)
            return true;
    return false;
}

std::vector<std::string> exportWarnings(bool laidOut, const std::vector<std::string>& warnings)
{
    if (laidOut)
        return warnings;
    std::vector<std::string> kept{
        "This proposal has no layout yet: the file holds the building without rooms. Press \"Start\" to lay "
        "the rooms out, then export again."};
    for (const std::string& warning : warnings)
        if (warning.rfind("Room \"", 0) != 0 && warning.rfind("The entrance \"", 0) != 0 &&
            warning.rfind("The door between \"", 0) != 0)
            kept.push_back(warning);
    return kept;
}

std::string exportedText(const std::string& fileName, int schema)
{
    return "Exported \"" + fileName + "\" as " + (schema == bgexport::schemaIfc2x3 ? "IFC2X3" : "IFC4") + ".";
}

int exportSchemaForFilter(int filterIndex)
{
    switch (filterIndex) {
    case 0:
        return bgexport::schemaIfc4;
    case 1:
        return bgexport::schemaIfc2x3;
    default:
        return noExportSchema;
    }
}
