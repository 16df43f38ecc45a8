#include "RoomForm.h"

#include "geometry/LayoutGeometry.h"
#include "geometry/Polygon.h"
#include "model/Building.h"
#include "model/Bounds.h"
#include "model/Constants.h"
#include "model/Requirement.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <stdexcept>

const char* const ANY_FLOOR_ENTRY = "Any floor";
const char* const NO_REMAINING_AREA = "----";

bool LockStates::operator==(const LockStates& other) const
{
    return area == other.area && length == other.length && width == other.width;
}

bool DimensionTexts::operator==(const DimensionTexts& other) const
{
    return area == other.area && length == other.length && width == other.width;
}

namespace {

RowState& rowOf(LockStates& states, DimensionRow row)
{
    switch (row) {
    case DimensionRow::Area:
        return states.area;
    case DimensionRow::Length:
        return states.length;
    default:
        return states.width;
    }
}

// The two rows other than `row`, in area, length, width order.
std::pair<DimensionRow, DimensionRow> otherRows(DimensionRow row)
{
    switch (row) {
    case DimensionRow::Area:
        return {DimensionRow::Length, DimensionRow::Width};
    case DimensionRow::Length:
        return {DimensionRow::Area, DimensionRow::Width};
    default:
        return {DimensionRow::Area, DimensionRow::Length};
    }
}

std::string format(const char* pattern, double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, pattern, value);
    return buffer;
}

// 0.9 of the floor inside the outer wall: the rest goes to inner walls.
double usableArea(const std::vector<Vec2>& contour, double outerWall)
{
    const std::vector<Vec2> inner = insetPolygon(contour, outerWall);
    if (inner.size() < 3)
        return 0.0;
    return 0.9 * Polygon(inner).getArea();
}

double storedArea(const bg::Requirement* edited)
{
    return edited ? edited->area : 0.0;
}

} // namespace

LockStates pressLock(LockStates states, DimensionRow row)
{
    rowOf(states, row) = RowState::Locked;
    const auto [first, second] = otherRows(row);
    if (rowOf(states, first) == RowState::Locked)
        rowOf(states, second) = RowState::Derived;
    else if (rowOf(states, second) == RowState::Locked)
        rowOf(states, first) = RowState::Derived;
    return states;
}

LockStates releaseLock(LockStates states, DimensionRow row)
{
    rowOf(states, row) = RowState::Free;
    for (DimensionRow other : {otherRows(row).first, otherRows(row).second})
        if (rowOf(states, other) == RowState::Derived)
            rowOf(states, other) = RowState::Free;
    return states;
}

int lockCode(const LockStates& states, int previous)
{
    const RowState F = RowState::Free, L = RowState::Locked, D = RowState::Derived;
    struct Entry {
        RowState area, length, width;
        int code;
    };
    static const Entry table[] = {
        {F, F, F, 0}, {L, F, F, 1}, {F, L, F, 2}, {F, F, L, 4}, {L, L, D, 3}, {L, D, L, 5}, {D, L, L, 6},
    };
    for (const Entry& entry : table)
        if (states == LockStates{entry.area, entry.length, entry.width})
            return entry.code;
    return previous;
}

LockStates lockStatesFromCode(int code)
{
    const RowState F = RowState::Free, L = RowState::Locked, D = RowState::Derived;
    switch (code) {
    case 1:
        return {L, F, F};
    case 2:
        return {F, L, F};
    case 4:
        return {F, F, L};
    case 3:
        return {L, L, D};
    case 5:
        return {L, D, L};
    case 6:
        return {D, L, L};
    default:
        return {};
    }
}

std::string formatDimension(double value)
{
    std::string text = format("%.2f", value);
    return text == "-0.00" ? "0.00" : text;
}

std::optional<double> leadingNumber(const std::string& text)
{
    const char* start = text.c_str();
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(start, &end);
    if (end == start || errno == ERANGE || !std::isfinite(value))
        return std::nullopt;
    return value;
}

namespace {

struct Numbers {
    double area, length, width;
};

std::optional<Numbers> readAll(const DimensionTexts& texts)
{
    if (texts.area.empty() || texts.length.empty() || texts.width.empty())
        return std::nullopt;
    auto a = leadingNumber(texts.area), l = leadingNumber(texts.length), w = leadingNumber(texts.width);
    if (!a || !l || !w)
        return std::nullopt;
    return Numbers{*a, *l, *w};
}

std::string quotient(double dividend, double divisor)
{
    return divisor == 0.0 ? "0.0" : formatDimension(dividend / divisor);
}

} // namespace

DimensionTexts coupleAfterArea(DimensionTexts texts, const LockStates& locks)
{
    const auto n = readAll(texts);
    if (!n)
        return texts;
    if (n->area <= 0) {
        texts.length = texts.width = "0.0";
    } else if (locks.length == RowState::Locked) {
        texts.width = quotient(n->area, n->length);
    } else if (locks.width == RowState::Locked) {
        texts.length = quotient(n->area, n->width);
    } else {
        texts.length = texts.width = formatDimension(std::sqrt(n->area));
    }
    return texts;
}

DimensionTexts coupleAfterLength(DimensionTexts texts, const LockStates& locks)
{
    const auto n = readAll(texts);
    if (!n)
        return texts;
    if (locks.width == RowState::Locked)
        texts.area = formatDimension(n->length * n->width);
    else
        texts.width = quotient(n->area, n->length);
    return texts;
}

DimensionTexts coupleAfterWidth(DimensionTexts texts, const LockStates& locks)
{
    const auto n = readAll(texts);
    if (!n)
        return texts;
    if (locks.length == RowState::Locked)
        texts.area = formatDimension(n->length * n->width);
    else
        texts.length = quotient(n->area, n->width);
    return texts;
}

int sliderPercent(double bound, double value, int low, int high, int fallback)
{
    const double percent = bound / value * 100.0;
    if (!std::isfinite(percent))
        return fallback;
    // A bound OK wrote from position p is p / 100 in single precision times
    // the value, a little below p % for some p (29 gives 28.9999992); the
    // slack brings it back to p, where plain truncation would move the slider.
    const double slack = 1e-4;
    return static_cast<int>(
        std::clamp(std::trunc(percent + slack), static_cast<double>(low), static_cast<double>(high)));
}

double sliderFactor(int percent)
{
    return static_cast<double>(static_cast<float>(percent) / 100.0f);
}

int nextIndex(const bg::RequirementSet& set)
{
    if (set.requirements.empty())
        return 0;
    long long next = INT_MIN;
    for (const auto& requirement : set.requirements)
        next = std::max<long long>(next, requirement->index) + 1;
    if (next <= INT_MAX)
        return static_cast<int>(next);
    // Past the largest int: the smallest index no requirement has, so that
    // the new room's index is neither an overflow nor another room's.
    std::set<int> used;
    for (const auto& requirement : set.requirements)
        used.insert(requirement->index);
    int free = 0;
    while (used.count(free))
        ++free;
    return free;
}

std::vector<std::string> levelEntries(const bg::Building* building)
{
    std::vector<std::string> entries;
    if (building)
        for (const auto& floor : building->floors)
            entries.push_back(std::to_string(floor->level));
    entries.push_back(ANY_FLOOR_ENTRY);
    return entries;
}

std::string levelBoxText(int level)
{
    return level == bg::anyFloor ? ANY_FLOOR_ENTRY : std::to_string(level);
}

std::optional<int> parseLevel(const std::string& text)
{
    if (text == ANY_FLOOR_ENTRY)
        return bg::anyFloor;
    const auto value = leadingNumber(text);
    if (!value || *value < INT_MIN || *value > INT_MAX)
        return std::nullopt;
    return static_cast<int>(std::trunc(*value));
}

double remainingBuildingArea(const bg::Building& building, const bg::RequirementSet& set)
{
    double space = 0.0;
    for (const auto& floor : building.floors)
        space += usableArea(floor->contour, building.parameters.outerWallStrength);
    for (const auto& requirement : set.requirements)
        space -= requirement->area;
    return space;
}

double usableFloorArea(const bg::Building& building, int level)
{
    for (const auto& floor : building.floors)
        if (floor->level == level)
            return usableArea(floor->contour, building.parameters.outerWallStrength);
    return 0.0;
}

double remainingFloorArea(const bg::Building& building, const bg::RequirementSet& set, int level)
{
    double space = usableFloorArea(building, level);
    for (const auto& requirement : set.requirements)
        if (requirement->level == level)
            space -= requirement->area;
    return space;
}

namespace {

// The floor's space for the dialog's entry: the edited requirement's stored
// area counts as free when it stands on that floor.
double floorSpaceFor(const bg::Building& building, const bg::RequirementSet& set, const bg::Requirement* edited,
                     int level)
{
    return remainingFloorArea(building, set, level) + (edited && edited->level == level ? edited->area : 0.0);
}

} // namespace

RemainingAreaTexts remainingAreaTexts(const bg::Building* building, const bg::RequirementSet& set,
                                      const bg::Requirement* edited, const std::string& areaText,
                                      std::optional<int> level)
{
    RemainingAreaTexts texts{NO_REMAINING_AREA, false, NO_REMAINING_AREA, false};
    if (!building)
        return texts;
    const double area = leadingNumber(areaText).value_or(0.0);
    const double buildingSpace = remainingBuildingArea(*building, set) + storedArea(edited) - area;
    texts.building = formatDimension(buildingSpace);
    texts.buildingShort = buildingSpace < -spaceTolerance;
    if (level && *level != bg::anyFloor) {
        const double floorSpace = floorSpaceFor(*building, set, edited, *level) - area;
        texts.floor = formatDimension(std::min(buildingSpace, floorSpace));
        texts.floorShort = floorSpace < -spaceTolerance;
    }
    return texts;
}

std::optional<std::string> areaCheckMessage(const bg::Building* building, const bg::RequirementSet& set,
                                            const bg::Requirement* edited, double area, int level)
{
    if (!building)
        return std::nullopt;
    if (area > remainingBuildingArea(*building, set) + storedArea(edited) + spaceTolerance)
        return std::string("Not enough space for the whole building to meet the area requirements.");
    if (level == bg::anyFloor || building->floors.empty())
        return std::nullopt;
    if (area > floorSpaceFor(*building, set, edited, level) + spaceTolerance)
        return "Not enough space on floor " + std::to_string(level) + " to meet the area requirements.";
    return std::nullopt;
}

const std::vector<std::string>& alignmentWords()
{
    static const std::vector<std::string> words = {"southeast", "south", "east",  "southwest",
                                                   "west",      "northeast", "north", "northwest"};
    return words;
}

std::string directionToTick(const std::vector<std::string>& boundaries)
{
    if (boundaries.size() != 1)
        return {};
    const auto& words = alignmentWords();
    return std::find(words.begin(), words.end(), boundaries.front()) != words.end() ? boundaries.front()
                                                                                    : std::string();
}

std::vector<std::string> boundaryWish(const std::vector<std::string>& tickedWords)
{
    for (const std::string& word : alignmentWords())
        if (std::find(tickedWords.begin(), tickedWords.end(), word) != tickedWords.end())
            return {word};
    return {"whatever"};
}

std::vector<std::string> doorListItems(const bg::RequirementSet& set, int level, std::optional<int> ownIndex)
{
    std::vector<std::string> items;
    for (const auto& requirement : set.requirements) {
        if (ownIndex && requirement->index == *ownIndex)
            continue;
        if (level == bg::anyFloor || requirement->level == level || requirement->level == bg::anyFloor)
            items.push_back(std::to_string(requirement->index) + "_" + requirement->name);
    }
    return items;
}

std::optional<int> doorItemIndex(const std::string& item)
{
    const std::string head = item.substr(0, item.find('_'));
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(head.c_str(), &end, 10);
    if (head.empty() || *end != '\0' || errno == ERANGE || value < INT_MIN || value > INT_MAX)
        return std::nullopt;
    return static_cast<int>(value);
}

namespace {

bool hasNeighbours(const std::vector<int>& adjacency)
{
    return !adjacency.empty() && adjacency.front() != -1;
}

bool contains(const std::vector<int>& list, int value)
{
    return std::find(list.begin(), list.end(), value) != list.end();
}

} // namespace

std::vector<bool> doorListTicks(const std::vector<std::string>& items, const std::vector<int>& adjacency)
{
    std::vector<bool> ticks(items.size(), false);
    if (!hasNeighbours(adjacency))
        return ticks;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const auto index = doorItemIndex(items[i]);
        ticks[i] = index && contains(adjacency, *index);
    }
    return ticks;
}

std::vector<int> adjacencyFromDoorList(const std::vector<std::string>& items, const std::vector<bool>& ticks,
                                       int ownIndex, const std::vector<int>& storedAdjacency)
{
    std::vector<int> shown, ticked;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const auto index = doorItemIndex(items[i]);
        if (!index)
            continue;
        shown.push_back(*index);
        if (i < ticks.size() && ticks[i] && *index != ownIndex && !contains(ticked, *index))
            ticked.push_back(*index);
    }
    std::vector<int> result;
    for (int entry : storedAdjacency) {
        if (entry == -1 || entry == ownIndex || contains(result, entry))
            continue;
        if (!contains(shown, entry) || contains(ticked, entry))
            result.push_back(entry);
    }
    for (int entry : ticked)
        if (!contains(result, entry))
            result.push_back(entry);
    if (result.empty())
        result.push_back(-1);
    return result;
}

void updateNeighbourAdjacency(bg::RequirementSet& set, const bg::Requirement& requirement,
                              const std::vector<int>& shown)
{
    const int own = requirement.index;
    const std::vector<int>& neighbours = requirement.adjacency;
    for (const auto& other : set.requirements) {
        if (other.get() == &requirement)
            continue;
        std::vector<int>& list = other->adjacency;
        const bool named = hasNeighbours(neighbours) && contains(neighbours, other->index);
        if (named) {
            if (!hasNeighbours(list))
                list = {own};
            else if (!contains(list, own)) {
                list.push_back(own);
                std::sort(list.begin(), list.end());
            }
        } else if ((!hasNeighbours(neighbours) || contains(shown, other->index)) && contains(list, own)) {
            list.erase(std::remove(list.begin(), list.end(), own), list.end());
            if (list.empty())
                list.push_back(-1);
            std::sort(list.begin(), list.end());
        }
    }
}

const std::vector<std::string>& roomTypes()
{
    static const std::vector<std::string> types = {"Entrance", "Live and eat", "Bedroom", "Kitchen and cleaning",
                                                   "Garden",   "Stair",        "Workroom", "Corridor"};
    return types;
}

RoomForm roomFormFor(const bg::Building* building, const bg::RequirementSet& set,
                     const std::shared_ptr<bg::Requirement>& requirement, int initialLevel)
{
    RoomForm form;
    if (!requirement) {
        form.index = nextIndex(set);
        form.name = "New Room";
        form.roomType = roomTypes().front();
        form.level = building ? levelBoxText(initialLevel) : ANY_FLOOR_ENTRY;
        double space = 0.0;
        if (building)
            space = initialLevel == bg::anyFloor ? remainingBuildingArea(*building, set)
                                                 : remainingFloorArea(*building, set, initialLevel);
        space = std::max(space, 0.0);
        form.dimensions = {formatDimension(space), formatDimension(std::sqrt(space)),
                           formatDimension(std::sqrt(space))};
    } else {
        const bg::Requirement& r = *requirement;
        form.index = r.index;
        form.name = r.name;
        const auto& types = roomTypes();
        form.roomType = std::find(types.begin(), types.end(), r.roomType) != types.end() ? r.roomType : "";
        form.level = levelBoxText(r.level);
        form.dimensions = {formatDimension(r.area), formatDimension(r.targetLength),
                           formatDimension(r.targetWidth)};
        form.areaMin = sliderPercent(r.minAreaError, r.area, 0, 100, 50);
        form.areaMax = sliderPercent(r.maxAreaError, r.area, 100, 200, 150);
        form.lengthMin = sliderPercent(r.minLength, r.targetLength, 0, 100, 50);
        form.lengthMax = sliderPercent(r.maxLength, r.targetLength, 100, 200, 150);
        form.widthMin = sliderPercent(r.minWidth, r.targetWidth, 0, 100, 50);
        form.widthMax = sliderPercent(r.maxWidth, r.targetWidth, 100, 200, 150);
        form.locks = lockStatesFromCode(r.lock);
        // A locked or derived row has no tolerance.
        if (form.locks.area != RowState::Free)
            form.areaMin = form.areaMax = 100;
        if (form.locks.length != RowState::Free)
            form.lengthMin = form.lengthMax = 100;
        if (form.locks.width != RowState::Free)
            form.widthMin = form.widthMax = 100;
        form.direction = directionToTick(r.boundaries);
    }
    const auto level = parseLevel(form.level);
    form.doorItems = doorListItems(set, level.value_or(bg::anyFloor),
                                   requirement ? std::optional<int>(requirement->index) : std::nullopt);
    form.doorTicks = doorListTicks(form.doorItems, requirement ? requirement->adjacency : std::vector<int>{});
    return form;
}

namespace {

double requireNumber(const std::string& text, const char* field)
{
    const auto value = leadingNumber(text);
    if (!value)
        throw std::invalid_argument(std::string("\"") + field + "\" must be a number.");
    return *value;
}

// Refuses a value whose largest stored form (value times the slider's upper
// factor, when above 1) lies beyond bound, naming the field.
void requireWithin(double value, double upperFactor, double bound, const char* field, const char* unit)
{
    if (std::fabs(value) * std::max(1.0, upperFactor) > bound)
        throw std::invalid_argument(std::string("\"") + field + "\" is beyond the limit of " +
                                    format("%g", bound) + " " + unit +
                                    (upperFactor > 1.0 ? " (its upper slider included)." : "."));
}

// -999 for an empty fixed-position field.
double positionValue(const std::string& text, const char* field)
{
    return text.empty() ? bg::noExpectedPosition : requireNumber(text, field);
}

} // namespace

FormNumbers checkRoomForm(const RoomForm& form)
{
    FormNumbers numbers;
    numbers.area = requireNumber(form.dimensions.area, "Area (m\u00b2)");
    numbers.length = requireNumber(form.dimensions.length, "Room Length (m)");
    numbers.width = requireNumber(form.dimensions.width, "Room Width (m)");
    const auto level = parseLevel(form.level);
    if (!level)
        throw std::invalid_argument("\"Storey Level\" must be a floor level or \"Any floor\".");
    numbers.level = *level;
    const double x = positionValue(form.xPosition, "X-Position");
    const double y = positionValue(form.yPosition, "Y-Position");
    // Beyond these the floors' clipping and the optimiser fail later; nothing
    // is stored.
    requireWithin(numbers.area, sliderFactor(form.areaMax), kMaximumArea, "Area (m\u00b2)", "m\u00b2");
    requireWithin(numbers.length, form.locks.length == RowState::Free ? sliderFactor(form.lengthMax) : 1.0,
                  kMaximumExtent, "Room Length (m)", "m");
    requireWithin(numbers.width, form.locks.width == RowState::Free ? sliderFactor(form.widthMax) : 1.0,
                  kMaximumExtent, "Room Width (m)", "m");
    requireWithin(x, 1.0, kMaximumExtent, "X-Position", "m");
    requireWithin(y, 1.0, kMaximumExtent, "Y-Position", "m");
    // A zero length or width would give the optimiser an infinite or zero
    // aspect ratio.
    if (numbers.length <= 0 || numbers.width <= 0)
        throw std::invalid_argument("The room length and width must be greater than 0.");
    if (form.widthMin <= 0)
        throw std::invalid_argument("The minimum room width must be greater than 0 %.");
    // Beyond these the sliders' bounds or the aspect ratios would overflow
    // and the requirement could no longer be saved.
    if (std::fabs(numbers.area) > bg::largestRoomArea)
        throw std::invalid_argument("\"Area (m\u00b2)\" must be at most 100000000 m\u00b2.");
    if (numbers.length > bg::largestRoomSide)
        throw std::invalid_argument("\"Room Length (m)\" must be at most 10000 m.");
    if (numbers.width > bg::largestRoomSide)
        throw std::invalid_argument("\"Room Width (m)\" must be at most 10000 m.");
    const double longest = sliderFactor(std::max(form.lengthMax, 100)) * numbers.length;
    const double narrowest = sliderFactor(form.widthMin) * numbers.width;
    if (!(narrowest > 0.0) || !std::isfinite(longest / narrowest))
        throw std::invalid_argument("\"Room Width (m)\" is too small for the length: the aspect ratio would not be "
                                    "a finite number.");
    if (numbers.level != bg::anyFloor && !bg::levelInRange(numbers.level))
        throw std::invalid_argument("\"Storey Level\" must lie within -100000 to 100000.");
    return numbers;
}

void applyRoomForm(const RoomForm& form, bg::RequirementSet& set, std::shared_ptr<bg::Requirement>& requirement)
{
    const FormNumbers numbers = checkRoomForm(form);
    const double x = positionValue(form.xPosition, "X-Position");
    const double y = positionValue(form.yPosition, "Y-Position");

    // What the dialog opened with: a field or slider the user left as it was
    // keeps the stored value, so that OK without changes changes nothing
    // (the fields show two decimals, the sliders whole percent).
    std::optional<RoomForm> opened;
    struct Stored {
        double area, targetLength, targetWidth;
    };
    std::optional<Stored> stored;
    if (requirement) {
        opened = roomFormFor(nullptr, set, requirement, bg::anyFloor);
        stored = Stored{requirement->area, requirement->targetLength, requirement->targetWidth};
    }

    const int index = nextIndex(set);
    const std::vector<int> storedAdjacency = requirement ? requirement->adjacency : std::vector<int>{};
    if (!requirement) {
        requirement = std::make_shared<bg::Requirement>();
        set.requirements.push_back(requirement);
        requirement->index = index;
    }
    bg::Requirement& r = *requirement;
    r.name = form.name;

    r.adjacency = adjacencyFromDoorList(form.doorItems, form.doorTicks, r.index, storedAdjacency);
    std::vector<int> shown;
    for (const std::string& item : form.doorItems)
        if (const auto shownIndex = doorItemIndex(item))
            shown.push_back(*shownIndex);
    updateNeighbourAdjacency(set, r, shown);

    const bool areaAsOpened = opened && form.dimensions.area == opened->dimensions.area;
    const bool lengthAsOpened = opened && form.dimensions.length == opened->dimensions.length;
    const bool widthAsOpened = opened && form.dimensions.width == opened->dimensions.width;
    const bool locksAsOpened = opened && form.locks == opened->locks;
    const double A = areaAsOpened ? stored->area : numbers.area;
    const double L = lengthAsOpened ? stored->targetLength : numbers.length;
    const double W = widthAsOpened ? stored->targetWidth : numbers.width;
    // A locked or derived row has no tolerance: its bounds are always
    // written from its value.
    const bool areaBoundsKept = areaAsOpened && locksAsOpened && form.locks.area == RowState::Free &&
                                form.areaMin == opened->areaMin && form.areaMax == opened->areaMax;
    const bool lengthBoundsKept = lengthAsOpened && locksAsOpened && form.locks.length == RowState::Free &&
                                  form.lengthMin == opened->lengthMin && form.lengthMax == opened->lengthMax;
    const bool widthBoundsKept = widthAsOpened && locksAsOpened && form.locks.width == RowState::Free &&
                                 form.widthMin == opened->widthMin && form.widthMax == opened->widthMax;

    r.area = A;
    r.roomType = form.roomType;
    if (!areaBoundsKept) {
        r.minAreaError = sliderFactor(form.areaMin) * A;
        r.maxAreaError = sliderFactor(form.areaMax) * A;
    }
    r.targetLength = L;
    r.targetWidth = W;
    if (lengthBoundsKept) {
    } else if (form.locks.length != RowState::Free) {
        r.minLength = r.maxLength = L;
    } else {
        r.minLength = sliderFactor(form.lengthMin) * L;
        r.maxLength = sliderFactor(form.lengthMax) * L;
    }
    if (widthBoundsKept) {
    } else if (form.locks.width != RowState::Free) {
        r.minWidth = r.maxWidth = W;
    } else {
        r.minWidth = sliderFactor(form.widthMin) * W;
        r.maxWidth = sliderFactor(form.widthMax) * W;
    }
    r.lock = lockCode(form.locks, r.lock);
    if (!lengthBoundsKept || !widthBoundsKept) {
        r.minAspectRatio = (sliderFactor(form.lengthMin) * L) / (sliderFactor(form.widthMax) * W);
        r.maxAspectRatio = (sliderFactor(form.lengthMax) * L) / (sliderFactor(form.widthMin) * W);
    }
    r.expectedPosition = Vec2(x, y);
    r.level = numbers.level;
    r.boundaries = boundaryWish(form.direction.empty() ? std::vector<std::string>{}
                                                        : std::vector<std::string>{form.direction});
}
