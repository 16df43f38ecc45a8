#pragma once

// What the room dialog shows and writes, apart from the window: the form's
// values as the controls hold them, how a requirement fills them, the
// coupling of area, length and width, the locks, the space left in the
// building and what OK makes of it all. Tested without a window.

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace bg {
class Building;
class Requirement;
class RequirementSet;
} // namespace bg

// The level box's entry for a room that may go on any floor.
extern const char* const ANY_FLOOR_ENTRY;
// The remaining-area text when there is no floor to measure.
extern const char* const NO_REMAINING_AREA;

// A row of the dimensions pane: free, locked by the user, or derived from the
// two rows the user locked (area = length x width).
enum class RowState { Free, Locked, Derived };

struct LockStates {
    RowState area = RowState::Free;
    RowState length = RowState::Free;
    RowState width = RowState::Free;
    bool operator==(const LockStates& other) const;
};

enum class DimensionRow { Area, Length, Width };

// The rows after the user presses or releases a row's toggle.
LockStates pressLock(LockStates states, DimensionRow row);
LockStates releaseLock(LockStates states, DimensionRow row);
// The stored lock code of the rows (1 area, 2 length, 4 width summed over
// the rows the user locked); `previous` for a state no code stands for.
int lockCode(const LockStates& states, int previous);
// The rows a stored lock code restores; an unknown code locks nothing.
LockStates lockStatesFromCode(int code);

// The three value fields as texts, as the coupling handlers read and write them.
struct DimensionTexts {
    std::string area;
    std::string length;
    std::string width;
    bool operator==(const DimensionTexts& other) const;
};

// The fields after the user typed in one of them: the others follow so that
// area = length x width, honouring the locks. Nothing changes unless all
// three hold text, or when a field does not start with a number.
DimensionTexts coupleAfterArea(DimensionTexts texts, const LockStates& locks);
DimensionTexts coupleAfterLength(DimensionTexts texts, const LockStates& locks);
DimensionTexts coupleAfterWidth(DimensionTexts texts, const LockStates& locks);

// "%.2f", with "-0.00" shown as "0.00".
std::string formatDimension(double value);
// The leading decimal number of the text (the rest is ignored); none when the
// text does not start with one.
std::optional<double> leadingNumber(const std::string& text);

// A slider's position for a stored bound: the bound in percent of the value,
// truncated toward zero and kept within [low, high]; `fallback` when the
// value gives no finite percentage.
int sliderPercent(double bound, double value, int low, int high, int fallback);
// A slider position as OK applies it: divided by 100 in single precision.
double sliderFactor(int percent);

// The index the next new requirement of the set gets.
int nextIndex(const bg::RequirementSet& set);

// The level box's entries: the building's floor levels in its floor order,
// then ANY_FLOOR_ENTRY (only that without a building).
std::vector<std::string> levelEntries(const bg::Building* building);
// The level box's text for a stored level.
std::string levelBoxText(int level);
// The level the text names: anyFloor for ANY_FLOOR_ENTRY; none when it is not
// an integer.
std::optional<int> parseLevel(const std::string& text);

// The space rooms may take on the floor of `level`: 0.9 of its outline inset
// by the building's own outer wall (0 without such a floor).
double usableFloorArea(const bg::Building& building, int level);
// The space left for rooms: usableFloorArea of every floor, less the areas
// of the set's requirements (all of them, or those of the given level). The
// room dialog and the check before a run both judge space by these two and
// spaceTolerance, so that an area the dialog takes never fails "Start".
double remainingBuildingArea(const bg::Building& building, const bg::RequirementSet& set);
double remainingFloorArea(const bg::Building& building, const bg::RequirementSet& set, int level);
// How far below 0 the space left may be and still count as enough. Areas are
// shown and typed to the hundredth: an area equal to the space left as the
// dialog shows it (a new room starts with it, rounded) fits.
constexpr double spaceTolerance = 0.005;

struct RemainingAreaTexts {
    std::string building;
    bool buildingShort = false; // shown in red
    std::string floor;
    bool floorShort = false;
};

// The two remaining-area fields while the area field holds `areaText`, with
// the level box at `level` (anyFloor for any floor; none for a text that is
// no level). `edited` is the requirement the dialog edits (none for a new
// room); its stored area is given back before the new one is counted.
RemainingAreaTexts remainingAreaTexts(const bg::Building* building, const bg::RequirementSet& set,
                                      const bg::Requirement* edited, const std::string& areaText,
                                      std::optional<int> level);

// The area check of OK: the message to show, none when the area fits. There
// is nothing to check against without a building.
std::optional<std::string> areaCheckMessage(const bg::Building* building, const bg::RequirementSet& set,
                                            const bg::Requirement* edited, double area, int level);

// The eight direction words of the alignment boxes, in the order OK reads them.
const std::vector<std::string>& alignmentWords();
// The direction word whose box a stored boundary wish ticks; empty for none.
std::string directionToTick(const std::vector<std::string>& boundaries);
// The boundary wish of the ticked words: the first in alignmentWords order,
// "whatever" for none.
std::vector<std::string> boundaryWish(const std::vector<std::string>& tickedWords);

// The door list's items ("index_name") for the level (anyFloor: every
// requirement; otherwise that level's and those on any floor). A room has no
// door to itself: the requirement of ownIndex (the edited room) is left out.
std::vector<std::string> doorListItems(const bg::RequirementSet& set, int level,
                                       std::optional<int> ownIndex = std::nullopt);
// The requirement index an item names: the integer before its first underscore.
std::optional<int> doorItemIndex(const std::string& item);
// Which items a stored adjacency list ticks.
std::vector<bool> doorListTicks(const std::vector<std::string>& items, const std::vector<int>& adjacency);
// The adjacency OK stores: the stored entries the list does not show are
// kept (rooms on other floors), shown entries only when ticked, then the
// newly ticked ones in list order; never the room itself; {-1} for none.
std::vector<int> adjacencyFromDoorList(const std::vector<std::string>& items, const std::vector<bool>& ticks,
                                       int ownIndex, const std::vector<int>& storedAdjacency);
// Brings the other requirements' lists in line with the requirement's new
// list: those it names list it back; those the door list showed (`shown`)
// but it does not name drop it; with no neighbours at all it leaves every list.
void updateNeighbourAdjacency(bg::RequirementSet& set, const bg::Requirement& requirement,
                              const std::vector<int>& shown);

// Everything the dialog's controls hold, as text and positions.
struct RoomForm {
    int index = 0;                   // the Room ID field
    std::string name;                // UTF-8
    std::string roomType;            // the selected entry; empty for none
    std::string level;               // the level box's text
    DimensionTexts dimensions;
    int areaMin = 50, areaMax = 150; // slider positions in percent
    int lengthMin = 50, lengthMax = 150;
    int widthMin = 50, widthMax = 150;
    LockStates locks;
    std::string direction;           // the ticked direction word; empty for none
    std::vector<std::string> doorItems;
    std::vector<bool> doorTicks;
    std::string xPosition, yPosition; // the fixed-position fields
};

// The room types the type box offers, in order.
const std::vector<std::string>& roomTypes();

// The form for an existing requirement, or (requirement empty) for a new room
// that starts on `initialLevel` as a square of the space left there.
RoomForm roomFormFor(const bg::Building* building, const bg::RequirementSet& set,
                     const std::shared_ptr<bg::Requirement>& requirement, int initialLevel);

// Writes the form into the requirement (appending a new one with the next
// index when `requirement` is empty) and updates its neighbours. Every field
// is checked first: std::invalid_argument with a message naming the field,
// and nothing written. The area check is the caller's.
void applyRoomForm(const RoomForm& form, bg::RequirementSet& set, std::shared_ptr<bg::Requirement>& requirement);

// The numbers OK would write. checkRoomForm throws std::invalid_argument,
// naming the field, for a field that does not convert, a length or width not
// above 0, a minimum-width slider at 0 % (an infinite aspect ratio), and an
// area, length, width or position beyond kMaximumArea or kMaximumExtent
// (the length, width and area with their upper sliders).
struct FormNumbers {
    double area = 0.0;
    double length = 0.0;
    double width = 0.0;
    int level = 0;
};
FormNumbers checkRoomForm(const RoomForm& form);
