#pragma once

#include "geometry/Polygon.h"
#include "model/Constants.h"
#include "model/Serializable.h"

#include <cstddef>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace bg {

// What one room of a brief asks for. Lengths run along x, widths along y
// (metres), areas in square metres.
//
// Vocabulary (free text, never checked here): room types "Corridor",
// "Entrance", "Live and eat", "Bedroom", "Kitchen and cleaning", "Workroom",
// "Garden", "Stair"; boundary wishes "east", "south", "west", "north",
// "southeast", "southwest", "northeast", "northwest", "whatever" (no wish).
class Requirement : public std::enable_shared_from_this<Requirement>, public Serializable<References> {
public:
    using Range = std::pair<double, double>; // (length, width) or (minimum, maximum)

    Requirement();
    Requirement(int index, std::string name, std::vector<int> adjacency, double area, std::string roomType,
                Range targetSize, Range lengthRange, Range widthRange, Range aspectRatioRange,
                Vec2 expectedPosition, int level, std::vector<std::string> boundaries, Range areaBounds,
                int lock);
    // Every field of the other requirement but its orientation, which is
    // "horizontal" as from every constructor.
    explicit Requirement(const std::shared_ptr<Requirement>& other);

    int getIndex() const { return index; }
    double getArea() const { return area; }
    int getLevel() const { return level; }
    std::string getName() const { return name; }
    std::string getRoomType() const { return roomType; }
    std::string getOrientation() const { return orientation; }
    std::vector<std::string> getBoundaries() const { return boundaries; }
    std::vector<int> getAdjacency() const { return adjacency; }
    // The indices of the rooms this one must connect to: the adjacency list up
    // to its first -1 (entries after it are never read).
    std::vector<int> connectedIndices() const;
    Range getTargetSize() const { return {targetLength, targetWidth}; }
    Range getLengthRange() const { return {minLength, maxLength}; }
    Range getWidthRange() const { return {minWidth, maxWidth}; }
    Range getAspectRatioRange() const { return {minAspectRatio, maxAspectRatio}; }
    Range getAreaErrorRange() const { return {minAreaError, maxAreaError}; }

    void write(References& references, tinyxml2::XMLElement* element) const override;
    void read(References& references, tinyxml2::XMLElement* element) override;

    // Equal to the requirement's position in its set (0, 1, 2 ...).
    int index = 0;
    std::string name;
    double area = 0.0; // target area
    std::string roomType;
    double targetLength = 0.0;
    double targetWidth = 0.0;
    double minLength = 0.0;
    double maxLength = 0.0;
    double minWidth = 0.0;
    double maxWidth = 0.0;
    // The optimisation models compare it with "horizontal" to choose how the
    // aspect ratio is taken.
    std::string orientation = "horizontal";
    double minAspectRatio = 0.0;
    double maxAspectRatio = 0.0;
    // Shown and exported, never a constraint; noExpectedPosition in both coordinates stands for none.
    Vec2 expectedPosition;
    int level = 0; // anyFloor: any floor
    // The room editor stores exactly one entry; the models read the first.
    std::vector<std::string> boundaries;
    // Indices of the requirements this room must connect to; {-1}: none.
    std::vector<int> adjacency;
    double minAreaError = 0.0; // the bounds of the room's area
    double maxAreaError = 0.0;
    int lock = 0; // 0 to 6: the room editor's dimension locks
};

// A brief: an ordered list of requirements whose indices are their positions.
class RequirementSet : public std::enable_shared_from_this<RequirementSet>, public Serializable<References> {
public:
    explicit RequirementSet(const std::string& name = "New");

    std::vector<std::shared_ptr<Requirement>>& getRequirements() { return requirements; }

    // Takes every occurrence of removedIndex out of every adjacency list: a
    // list holding only that entry becomes {-1}, a list that lost an entry is
    // sorted ascending, other lists stay as they are. An index to add of noIndexToAdd
    // adds nothing (nothing else is ever passed; other values add nothing too).
    void updateAdjacency(const int& removedIndex, const int& indexToAdd);

    // What follows the removal of the requirement with removedIndex: every
    // later index drops by one, and every adjacency list keeps its entries
    // below removedIndex, lowers those above it by one and becomes {-1} when
    // nothing is left.
    void renumberAfterRemoval(int removedIndex);

    // Erases the requirement at that position and keeps indices and adjacency
    // lists consistent (updateAdjacency, then renumberAfterRemoval).
    void removeRequirement(std::size_t position);

    void write(References& references, tinyxml2::XMLElement* element) const override;
    void read(References& references, tinyxml2::XMLElement* element) override;

    std::string name;
    std::vector<std::shared_ptr<Requirement>> requirements;
};

} // namespace bg
