#pragma once

// What the building page does to a building, without its windows: the rows
// of the floor table, the reading of the dimension and parameter fields, and
// adding and removing floors. Texts are converted with the rules of
// std::stod (the application runs in the "C" numeric locale).

#include "model/Building.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

// The cells of one row of the floor table: level, length, width, gross area,
// net area (inside the building's own outer wall) and elevation.
using FloorRow = std::array<std::string, 6>;

FloorRow floorRow(const bg::Floor& floor, const BuildingParameters& parameters);

// The floors in table order: from the highest level down, floors of one level
// in list order. Empty for a building without floors.
std::vector<std::shared_ptr<bg::Floor>> floorsInTableOrder(const bg::Building& building);

// "%.2f" and "%f" as the page's fields show numbers.
std::string formatTwoDecimals(double value);
std::string formatSixDecimals(double value);

// One of the nine construction parameters the page edits.
struct ParameterField {
    int id;
    const char* label; // the text before the field
    double BuildingParameters::*value;
};

// In the order they are read and applied.
const std::vector<ParameterField>& parameterFields();

// The parameters with the nine texts (in parameterFields order) applied. All
// are converted before anything is stored: throws std::invalid_argument or
// std::out_of_range naming the first field that is not a number, or a
// negative or non-finite one, by its label.
BuildingParameters applyParameterTexts(BuildingParameters parameters, const std::vector<std::string>& texts);

// The texts of the page's floor fields.
struct FloorFieldTexts {
    std::string length;
    std::string width;
    std::string cornerLength;
    std::string cornerWidth;
    std::string height;
};

// Which outline a floor command gives a floor.
enum class OutlineSource { Rectangle, LShape, CopyOfCurrent };

struct FloorDimensions {
    double length = 0.0;
    double width = 0.0;
    double cornerLength = 0.0;
    double cornerWidth = 0.0;
    double height = 0.0;
};

// Converts the five fields in the order length, width, corner length, corner
// width, height into `dimensions`, stopping at the first that is not a number
// or lies beyond kMaximumExtent (the ones before it keep their new values),
// then checks what the outline
// will use: a positive length and width unless the outline is copied, a
// corner strictly inside the rectangle for an L, and always a positive
// height, so that storeys do not overlap. Throws std::invalid_argument or
// std::out_of_range with a message naming the field.
void readFloorFields(const FloorFieldTexts& texts, OutlineSource source, FloorDimensions& dimensions);

// The length, width and height fields as they show `floor`: its outline's
// extents and its height. A field whose text already reads as the floor's
// value keeps its text ("15.0" stays for 15). A floor with no outline leaves
// length and width as `shown` has them, one with no height yet the height;
// the corner fields are always kept.
FloorFieldTexts floorFieldTexts(const bg::Floor& floor, const FloorFieldTexts& shown);

// The outline of the given source; the current floor's for a copy.
std::vector<Vec2> floorOutline(OutlineSource source, const FloorDimensions& dimensions, const std::string& corner,
                               const bg::Floor& current);

// Puts a new floor with the given height and outline on top of the building,
// one level above its highest, and returns it.
std::shared_ptr<bg::Floor> addFloorOnTop(bg::Building& building, double height, std::vector<Vec2> contour);

// Why a floor cannot be removed, as the page says it; empty when it can.
std::string removalRefusal(const bg::Building& building, const std::shared_ptr<bg::Floor>& floor);

// Removes a floor that removalRefusal allows: unlinks it from its neighbours,
// drops it from the floor list, updates levels and elevations. Returns the
// floor it was added onto (the root when it has none).
std::shared_ptr<bg::Floor> removeFloor(bg::Building& building, const std::shared_ptr<bg::Floor>& floor);
