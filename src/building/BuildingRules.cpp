#include "BuildingRules.h"

#include "model/Bounds.h"

#include "geometry/FloorOutline.h"
#include "geometry/LayoutGeometry.h"
#include "model/NumberText.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace {

std::string format(const char* pattern, double value)
{
    char text[512];
    std::snprintf(text, sizeof text, pattern, value);
    return text;
}

// "Outer wall thickness: " names the field as "Outer wall thickness".
std::string fieldName(const std::string& label)
{
    std::string name = label;
    while (!name.empty() && (name.back() == ' ' || name.back() == ':'))
        name.pop_back();
    return name;
}

double polygonArea(const std::vector<Vec2>& contour)
{
    return contour.empty() ? 0.0 : Polygon(contour).getArea();
}

} // namespace

std::string formatTwoDecimals(double value)
{
    return format("%.2f", value);
}

std::string formatSixDecimals(double value)
{
    return format("%f", value);
}

FloorRow floorRow(const bg::Floor& floor, const BuildingParameters& parameters)
{
    double length = 0.0;
    double width = 0.0;
    if (floor.contour.size() >= 2) {
        const BoundingBox box = boundingBox(floor.contour);
        length = box.max.x - box.min.x;
        width = box.max.y - box.min.y;
    }
    const double gross = polygonArea(floor.contour);
    const double net = floor.contour.empty() ? 0.0
                                             : polygonArea(insetPolygon(floor.contour, parameters.outerWallStrength));
    return {std::to_string(floor.level), formatTwoDecimals(length), formatTwoDecimals(width),
            formatTwoDecimals(gross),    formatTwoDecimals(net),    formatTwoDecimals(floor.elevation)};
}

std::vector<std::shared_ptr<bg::Floor>> floorsInTableOrder(const bg::Building& building)
{
    std::vector<std::shared_ptr<bg::Floor>> ordered(building.floors.begin(), building.floors.end());
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const auto& a, const auto& b) { return a->level > b->level; });
    return ordered;
}

const std::vector<ParameterField>& parameterFields()
{
    static const std::vector<ParameterField> fields = {
        {20059, "Base slab thickness: ", &BuildingParameters::baseSlabStrength},
        {20060, "Floor slab thickness: ", &BuildingParameters::floorSlabStrength},
        {20061, "Roof slab thickness: ", &BuildingParameters::roofSlab},
        {20062, "Outer wall thickness: ", &BuildingParameters::outerWallStrength},
        {20063, "Inner wall thickness: ", &BuildingParameters::innerWallStrength},
        {20064, "Door width: ", &BuildingParameters::doorWidth},
        {20065, "Door height: ", &BuildingParameters::doorHeight},
        {20067, "Sill height: ", &BuildingParameters::cillHeight},
        {20068, "Window height: ", &BuildingParameters::windowHeight},
    };
    return fields;
}

BuildingParameters applyParameterTexts(BuildingParameters parameters, const std::vector<std::string>& texts)
{
    const auto& fields = parameterFields();
    if (texts.size() != fields.size())
        throw std::invalid_argument("Expected " + std::to_string(fields.size()) + " parameter values, got " +
                                    std::to_string(texts.size()));
    std::vector<double> values;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::string name = fieldName(fields[i].label);
        const double value = bg::parseDouble(texts[i], name);
        // A negative or infinite thickness would be taken as real by the
        // space check, the outline inset and the export.
        if (!(value >= 0.0) || !std::isfinite(value))
            throw std::invalid_argument(name + ": \"" + texts[i] + "\" must be a number not below 0");
        // The project file refuses more, and the export would overflow.
        if (!bg::constructionDimensionInRange(value))
            throw std::out_of_range(name + ": \"" + texts[i] + "\" must be at most 1000 metres");
        values.push_back(value);
    }
    for (std::size_t i = 0; i < fields.size(); ++i)
        parameters.*(fields[i].value) = values[i];
    return parameters;
}

FloorFieldTexts floorFieldTexts(const bg::Floor& floor, const FloorFieldTexts& shown)
{
    // Whether `text` reads as `value` as the field shows it.
    auto says = [](const std::string& text, const std::string& formatted) {
        try {
            return bg::parseDouble(text, "") == bg::parseDouble(formatted, "");
        } catch (const std::exception&) {
            return false;
        }
    };
    FloorFieldTexts texts = shown;
    if (floor.contour.size() >= 2) {
        const BoundingBox box = boundingBox(floor.contour);
        const std::string length = formatSixDecimals(box.max.x - box.min.x);
        const std::string width = formatSixDecimals(box.max.y - box.min.y);
        if (!says(texts.length, length))
            texts.length = length;
        if (!says(texts.width, width))
            texts.width = width;
    }
    if (floor.height > 0.0) {
        const std::string height = formatTwoDecimals(floor.height);
        if (!says(texts.height, height))
            texts.height = height;
    }
    return texts;
}

void readFloorFields(const FloorFieldTexts& texts, OutlineSource source, FloorDimensions& dimensions)
{
    // Beyond the bound the outline could not be clipped: such a field is
    // refused like one that is no number, before it or the outline is kept.
    auto read = [](const std::string& text, const char* field) {
        const double value = bg::parseDouble(text, field);
        if (std::fabs(value) > kMaximumExtent)
            throw std::out_of_range(std::string(field) + ": " + text + " is beyond the limit of " +
                                    format("%g", kMaximumExtent) + " m");
        return value;
    };
    dimensions.length = read(texts.length, "Maximal length");
    dimensions.width = read(texts.width, "Maximal width");
    dimensions.cornerLength = read(texts.cornerLength, "Corner length");
    dimensions.cornerWidth = read(texts.cornerWidth, "Corner width");
    dimensions.height = read(texts.height, "Floor height");

    auto positive = [](double value) { return value > 0.0 && std::isfinite(value); };
    if (source != OutlineSource::CopyOfCurrent) {
        if (!positive(dimensions.length))
            throw std::invalid_argument("Maximal length: " + texts.length + " is not a length above 0");
        if (!positive(dimensions.width))
            throw std::invalid_argument("Maximal width: " + texts.width + " is not a width above 0");
    }
    if (source == OutlineSource::LShape &&
        !isCornerInside(dimensions.length, dimensions.width, dimensions.cornerLength, dimensions.cornerWidth))
        throw std::invalid_argument("The corner of the L shape must lie inside the floor: corner length above 0 "
                                    "and below the length, corner width above 0 and below the width");
    if (!positive(dimensions.height))
        throw std::invalid_argument("Floor height: " + texts.height + " is not a height above 0");
}

std::vector<Vec2> floorOutline(OutlineSource source, const FloorDimensions& dimensions, const std::string& corner,
                               const bg::Floor& current)
{
    switch (source) {
    case OutlineSource::CopyOfCurrent:
        return current.contour;
    case OutlineSource::LShape:
        return makeLShapeContour(dimensions.length, dimensions.width, corner, dimensions.cornerLength,
                                 dimensions.cornerWidth);
    case OutlineSource::Rectangle:
        break;
    }
    return makeRectangleContour(dimensions.length, dimensions.width);
}

std::shared_ptr<bg::Floor> addFloorOnTop(bg::Building& building, double height, std::vector<Vec2> contour)
{
    const long long level = building.floors.empty() ? 0 : static_cast<long long>(building.maxLevel) + 1;
    bg::checkLevel(level, "New floor");
    auto floor = std::make_shared<bg::Floor>(static_cast<int>(level));
    floor->height = height;
    floor->setContour(std::move(contour));
    // addFloor links it onto the top floor and recomputes levels and
    // elevations.
    building.addFloor(floor);
    return floor;
}

std::string removalRefusal(const bg::Building& building, const std::shared_ptr<bg::Floor>& floor)
{
    if (floor == building.root)
        return "This is the root floor, it cannot be removed.";
    if (!floor->upper.expired() && !floor->lower.expired())
        return "This floor is between two others, it cannot be removed.";
    return {};
}

std::shared_ptr<bg::Floor> removeFloor(bg::Building& building, const std::shared_ptr<bg::Floor>& floor)
{
    if (auto upper = floor->upper.lock())
        upper->lower.reset();
    if (auto lower = floor->lower.lock())
        lower->upper.reset();
    std::shared_ptr<bg::Floor> parent = floor->parent.lock();
    auto& floors = building.floors;
    const auto found = std::find(floors.begin(), floors.end(), floor);
    if (found != floors.end())
        floors.erase(found);
    building.updateLevels();
    building.updateElevations();
    return parent ? parent : building.root;
}
