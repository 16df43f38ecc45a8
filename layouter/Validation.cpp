#include "layouter/Validation.h"
#include "model/Constants.h"

#include "geometry/LayoutGeometry.h"
#include "model/Building.h"
#include "model/BuildingParameters.h"
#include "model/Proposal.h"
#include "model/Requirement.h"

#include <cmath>
#include <cstdio>
#include <map>
#include <set>

namespace {

// Generous bounds far beyond any building: kMaximumExtent for a coordinate
// or length, kMaximumArea for an area, and a million for an aspect ratio.
// Larger finite values would overflow the clipping library's integer grid or
// leave the solver with a model it cannot build.
constexpr double maximumExtent = kMaximumExtent;
constexpr double maximumArea = kMaximumArea;
constexpr double maximumAspectRatio = 1e6;

std::string number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

std::string roomLabel(const bg::Requirement& requirement)
{
    return "Room " + std::to_string(requirement.getIndex()) + " \"" + requirement.getName() + "\"";
}

struct NamedValue {
    const char* what;
    double value;
    double bound;
};

struct NamedRange {
    const char* what; // "length" gives "minimum length" and "maximum length"
    std::pair<double, double> range;
    double bound;
};

// The usable box of each floor level: the contour inset by the outer wall less
// half an inner wall, as the models take it. Floors that leave nothing usable
// are reported and left out.
std::map<int, BoundingBox> usableFloorBoxes(bg::Building& building, std::vector<std::string>& problems)
{
    const BuildingParameters& parameters = getBuildingParameters();
    const double inset = parameters.outerWallStrength - 0.5 * parameters.innerWallStrength;
    std::map<int, BoundingBox> boxes;
    for (const std::shared_ptr<bg::Floor>& floor : building.getFloors()) {
        const std::string label = "The floor at level " + std::to_string(floor->getLevel());
        const std::vector<Vec2> contour = floor->getContour();
        bool finite = true;
        for (const Vec2& p : contour)
            finite = finite && std::isfinite(p.x) && std::isfinite(p.y);
        if (!finite) {
            problems.push_back(label + " has an outline point that is not a finite number.");
            continue;
        }
        bool near = true;
        for (const Vec2& p : contour)
            near = near && std::fabs(p.x) <= maximumExtent && std::fabs(p.y) <= maximumExtent;
        if (!near) {
            problems.push_back(label + " has an outline point farther than " + number(maximumExtent) +
                               " m from the origin.");
            continue;
        }
        if (contour.size() < 3) {
            problems.push_back(label + " has an outline of fewer than three points.");
            continue;
        }
        const std::vector<Vec2> usable = insetPolygon(contour, inset);
        if (usable.size() < 3) {
            problems.push_back(label + " is too small: nothing remains inside its outer walls.");
            continue;
        }
        boxes.emplace(floor->getLevel(), boundingBox(usable));
    }
    return boxes;
}

void checkRequirement(const bg::Requirement& requirement, std::size_t position, const std::set<int>& indices,
                      const std::set<int>& floorLevels, const std::map<int, BoundingBox>& boxes,
                      std::vector<std::string>& problems)
{
    const std::string label = roomLabel(requirement);
    const int index = requirement.getIndex();
    if (index != static_cast<int>(position))
        problems.push_back("Room \"" + requirement.getName() + "\" has the index " + std::to_string(index) +
                           " but stands at position " + std::to_string(position) +
                           " of the set; indices must run 0, 1, 2, ... in the order of the set.");

    const int level = requirement.getLevel();
    if (level != bg::anyFloor && !floorLevels.count(level))
        problems.push_back(label + " is on level " + std::to_string(level) +
                           ", but the building has no floor with that level.");

    const NamedValue values[] = {{"area", requirement.getArea(), maximumArea},
                                 {"target length", requirement.getTargetSize().first, maximumExtent},
                                 {"target width", requirement.getTargetSize().second, maximumExtent}};
    const NamedRange ranges[] = {{"length", requirement.getLengthRange(), maximumExtent},
                                 {"width", requirement.getWidthRange(), maximumExtent},
                                 {"aspect ratio", requirement.getAspectRatioRange(), maximumAspectRatio},
                                 {"area", requirement.getAreaErrorRange(), maximumArea}};
    auto checkNumber = [&](const std::string& what, double value, double bound) {
        if (!std::isfinite(value)) {
            problems.push_back(label + ": the " + what + " is not a finite number.");
            return false;
        }
        if (value < 0.0) {
            problems.push_back(label + ": the " + what + " is negative (" + number(value) + ").");
            return false;
        }
        if (value > bound) {
            problems.push_back(label + ": the " + what + " (" + number(value) + ") is above the limit of " +
                               number(bound) + ".");
            return false;
        }
        return true;
    };
    for (const NamedValue& v : values)
        checkNumber(v.what, v.value, v.bound);
    for (const NamedRange& r : ranges) {
        const std::string lowName = std::string("minimum ") + r.what;
        const std::string highName = std::string("maximum ") + r.what;
        const bool lowOk = checkNumber(lowName, r.range.first, r.bound);
        const bool highOk = checkNumber(highName, r.range.second, r.bound);
        if (lowOk && highOk && r.range.first > r.range.second)
            problems.push_back(label + ": the " + lowName + " (" + number(r.range.first) + ") is above the " +
                               highName + " (" + number(r.range.second) + ").");
    }

    // A room whose smallest extent exceeds its floor cannot be placed at all.
    const auto box = boxes.find(level);
    if (box != boxes.end()) {
        const double t = getBuildingParameters().innerWallStrength;
        const double minLength = requirement.getLengthRange().first;
        const double minWidth = requirement.getWidthRange().first;
        const double floorLength = box->second.max.x - box->second.min.x - t;
        const double floorWidth = box->second.max.y - box->second.min.y - t;
        if (std::isfinite(minLength) && minLength > floorLength)
            problems.push_back(label + ": the minimum length (" + number(minLength) +
                               " m) does not fit on the floor at level " + std::to_string(level) + " (" +
                               number(floorLength) + " m).");
        if (std::isfinite(minWidth) && minWidth > floorWidth)
            problems.push_back(label + ": the minimum width (" + number(minWidth) +
                               " m) does not fit on the floor at level " + std::to_string(level) + " (" +
                               number(floorWidth) + " m).");
    }

    for (const int other : requirement.connectedIndices()) {
        if (other == index)
            problems.push_back(label + " lists itself as an adjacent room.");
        else if (!indices.count(other))
            problems.push_back(label + " is to connect to room " + std::to_string(other) +
                               ", which the requirement set does not have.");
    }
}

} // namespace

std::vector<std::string> validateProposal(const std::shared_ptr<bg::Proposal>& proposal)
{
    std::vector<std::string> problems;
    const std::shared_ptr<bg::Building> building = proposal->getBuilding();
    const std::shared_ptr<bg::RequirementSet> set = proposal->requirementSet;
    if (!building)
        problems.push_back("The proposal has no building.");
    else if (building->getFloors().empty())
        problems.push_back("The building has no floors.");
    if (!set)
        problems.push_back("The proposal has no requirement set.");
    if (!building || !set)
        return problems;

    std::set<int> floorLevels;
    for (const std::shared_ptr<bg::Floor>& floor : building->getFloors())
        floorLevels.insert(floor->getLevel());
    const std::map<int, BoundingBox> boxes = usableFloorBoxes(*building, problems);

    const std::vector<std::shared_ptr<bg::Requirement>>& requirements = set->getRequirements();
    std::set<int> indices;
    for (const std::shared_ptr<bg::Requirement>& requirement : requirements)
        indices.insert(requirement->getIndex());
    for (std::size_t position = 0; position < requirements.size(); ++position)
        checkRequirement(*requirements[position], position, indices, floorLevels, boxes, problems);
    return problems;
}
