#include "model/Requirement.h"
#include "model/Bounds.h"
#include "model/Constants.h"

#include "model/References.h"
#include "model/Xml.h"

#include "geometry/LayoutGeometry.h"

#include <tinyxml2.h>

#include <algorithm>
#include <cstdlib>

namespace bg {

Requirement::Requirement() = default;

Requirement::Requirement(int index_, std::string name_, std::vector<int> adjacency_, double area_,
                         std::string roomType_, Range targetSize, Range lengthRange, Range widthRange,
                         Range aspectRatioRange, Vec2 expectedPosition_, int level_,
                         std::vector<std::string> boundaries_, Range areaBounds, int lock_)
    : index(index_),
      name(std::move(name_)),
      area(area_),
      roomType(std::move(roomType_)),
      targetLength(targetSize.first),
      targetWidth(targetSize.second),
      minLength(lengthRange.first),
      maxLength(lengthRange.second),
      minWidth(widthRange.first),
      maxWidth(widthRange.second),
      minAspectRatio(aspectRatioRange.first),
      maxAspectRatio(aspectRatioRange.second),
      expectedPosition(expectedPosition_),
      level(level_),
      boundaries(std::move(boundaries_)),
      adjacency(std::move(adjacency_)),
      minAreaError(areaBounds.first),
      maxAreaError(areaBounds.second),
      lock(lock_)
{
}

Requirement::Requirement(const std::shared_ptr<Requirement>& other)
    : Requirement(other->index, other->name, other->adjacency, other->area, other->roomType, other->getTargetSize(),
                  other->getLengthRange(), other->getWidthRange(), other->getAspectRatioRange(),
                  other->expectedPosition, other->level, other->boundaries, other->getAreaErrorRange(), other->lock)
{
}

std::vector<int> Requirement::connectedIndices() const
{
    return {adjacency.begin(), std::find(adjacency.begin(), adjacency.end(), -1)};
}

RequirementSet::RequirementSet(const std::string& setName) : name(setName) {}

void RequirementSet::updateAdjacency(const int& removedIndex, const int& /*indexToAdd*/)
{
    for (const auto& requirement : requirements) {
        std::vector<int>& list = requirement->adjacency;
        const std::vector<int> entries = list;
        for (int entry : entries) {
            if (entry != removedIndex)
                continue;
            auto found = std::find(list.begin(), list.end(), removedIndex);
            if (found == list.end())
                continue;
            if (list.size() == 1)
                *found = -1;
            else
                list.erase(found);
            std::sort(list.begin(), list.end());
        }
    }
}

void RequirementSet::renumberAfterRemoval(int removedIndex)
{
    for (const auto& requirement : requirements) {
        if (requirement->index > removedIndex)
            --requirement->index;
        std::vector<int> renumbered;
        for (int entry : requirement->adjacency) {
            if (entry < removedIndex)
                renumbered.push_back(entry);
            else if (entry > removedIndex)
                renumbered.push_back(entry - 1);
        }
        if (renumbered.empty())
            renumbered.push_back(-1);
        requirement->adjacency = std::move(renumbered);
    }
}

void RequirementSet::removeRequirement(std::size_t position)
{
    if (position >= requirements.size())
        return;
    const int removedIndex = requirements[position]->index;
    requirements.erase(requirements.begin() + static_cast<std::ptrdiff_t>(position));
    updateAdjacency(removedIndex, noIndexToAdd);
    renumberAfterRemoval(removedIndex);
}

// ---------------------------------------------------------------------------
// Project file

namespace {
}

void Requirement::write(References& references, tinyxml2::XMLElement* element) const
{
    xml::appendText(element, "uuid", references.getId(std::const_pointer_cast<Requirement>(shared_from_this())));
    xml::appendInt(element, "index", index);
    xml::appendText(element, "name", name);
    // {-1} (no connection) is written as no element at all.
    if (!adjacency.empty() && adjacency.front() != -1)
        for (int entry : adjacency)
            xml::appendInt(element, "adjacency", entry);
    xml::appendDouble(element, "area", area);
    xml::appendText(element, "room_type", roomType);
    xml::appendDouble(element, "target_length", targetLength);
    xml::appendDouble(element, "target_width", targetWidth);
    xml::appendDouble(element, "min_length", minLength);
    xml::appendDouble(element, "max_length", maxLength);
    xml::appendDouble(element, "min_width", minWidth);
    xml::appendDouble(element, "max_width", maxWidth);
    xml::appendText(element, "orientation", orientation);
    xml::appendDouble(element, "min_aspect_ratio", minAspectRatio);
    xml::appendDouble(element, "max_aspect_ratio", maxAspectRatio);
    xml::appendPoint(element, "expected_position", expectedPosition);
    if (level != anyFloor)
        xml::appendInt(element, "level", level);
    tinyxml2::XMLElement* boundariesElement = xml::appendElement(element, "boundaries");
    for (const std::string& boundary : boundaries)
        xml::appendText(boundariesElement, "boundary", boundary);
    xml::appendDouble(element, "min_area_error", minAreaError);
    xml::appendDouble(element, "max_area_error", maxAreaError);
    xml::appendInt(element, "lock", lock);
}

void Requirement::read(References& references, tinyxml2::XMLElement* element)
{
    references.requirementById[xml::requiredText(element, "uuid")] = shared_from_this();
    index = xml::readAtoi(element, "index");
    name = xml::requiredText(element, "name");

    adjacency.clear();
    for (tinyxml2::XMLElement* entry : xml::children(element, "adjacency"))
        adjacency.push_back(std::atoi(xml::text(entry).c_str()));
    if (adjacency.empty())
        adjacency.push_back(-1);

    area = xml::readAtofWithin(element, "area", kMaximumArea);
    roomType = xml::child(element, "room_type") ? xml::requiredText(element, "room_type") : "test";
    targetLength = xml::readAtofWithin(element, "target_length", kMaximumExtent);
    targetWidth = xml::readAtofWithin(element, "target_width", kMaximumExtent);
    minLength = xml::readAtofWithin(element, "min_length", kMaximumExtent);
    maxLength = xml::readAtofWithin(element, "max_length", kMaximumExtent);
    minWidth = xml::readAtofWithin(element, "min_width", kMaximumExtent);
    maxWidth = xml::readAtofWithin(element, "max_width", kMaximumExtent);
    orientation = xml::child(element, "orientation") ? xml::requiredText(element, "orientation") : "horizontal";
    minAspectRatio = xml::readAtof(element, "min_aspect_ratio");
    maxAspectRatio = xml::readAtof(element, "max_aspect_ratio");
    tinyxml2::XMLElement* position = xml::child(element, "expected_position");
    expectedPosition = position ? xml::readPoint(position) : Vec2(noExpectedPosition, noExpectedPosition);
    level = xml::child(element, "level") ? xml::readStoi(element, "level") : anyFloor;
    if (level != anyFloor)
        checkLevel(level, "Requirement \"" + name + "\"");

    boundaries.clear();
    if (tinyxml2::XMLElement* boundariesElement = xml::child(element, "boundaries")) {
        // The first boundary without text ends the list.
        for (tinyxml2::XMLElement* boundary : xml::children(boundariesElement, "boundary")) {
            const char* wish = boundary->GetText();
            boundaries.push_back(wish ? wish : "");
            if (!wish)
                break;
        }
    } else {
        boundaries.push_back("");
    }

    minAreaError = xml::child(element, "min_area_error") ? xml::readAtofWithin(element, "min_area_error", kMaximumArea) : area * 0.8;
    maxAreaError = xml::child(element, "max_area_error") ? xml::readAtofWithin(element, "max_area_error", kMaximumArea) : area * 1.5;
    lock = xml::child(element, "lock") ? xml::readAtoi(element, "lock") : 0;
}

void RequirementSet::write(References& references, tinyxml2::XMLElement* element) const
{
    xml::appendText(element, "name", name);
    xml::appendText(element, "uuid", references.getId(std::const_pointer_cast<RequirementSet>(shared_from_this())));
    for (const auto& requirement : requirements)
        requirement->write(references, xml::appendElement(element, "requirement"));
}

void RequirementSet::read(References& references, tinyxml2::XMLElement* element)
{
    references.requirementSetById[xml::requiredText(element, "uuid")] = shared_from_this();
    name = xml::requiredText(element, "name");
    requirements.clear();
    for (tinyxml2::XMLElement* child : xml::children(element, "requirement")) {
        auto requirement = std::make_shared<Requirement>();
        requirement->read(references, child);
        requirements.push_back(requirement);
    }
}

} // namespace bg
