// The room dialog's form logic without a window: indices, sliders, locks,
// coupling, remaining areas, the door list and what OK writes.
#include "requirements/RoomForm.h"

#include "support/ModelFixtures.h"

#include "model/Constants.h"

#include <gtest/gtest.h>

#include <stdexcept>

using kovra_test::makeRequirement;
using kovra_test::makeRequirementSet;

namespace {

std::shared_ptr<bg::RequirementSet> setWithIndices(const std::vector<int>& indices)
{
    auto set = makeRequirementSet({});
    for (int index : indices)
        set->requirements.push_back(makeRequirement(index, "Room" + std::to_string(index), 10));
    return set;
}

// One floor of 5.72 m x 5.72 m on level 0 with a 0.36 m outer wall: 5 x 5 m
// inside, 22.5 m² to plan.
std::shared_ptr<bg::Building> smallHouse()
{
    auto building = kovra_test::makeRectBuilding(5.72, 5.72, 1);
    building->parameters.outerWallStrength = 0.36;
    return building;
}

// Hall (level 0), Kitchen (level 1) and Stairs (any floor).
std::shared_ptr<bg::RequirementSet> hallKitchenStairs()
{
    return makeRequirementSet({makeRequirement(0, "Hall", 10, 0, {1, 2}), makeRequirement(1, "Kitchen", 10, 1, {0}),
                               makeRequirement(2, "Stairs", 5, bg::anyFloor, {0})});
}

} // namespace

TEST(RoomForm, NextIndexFollowsTheLargestBeforeIt)
{
    struct Case {
        std::vector<int> indices;
        int next;
    };
    const Case cases[] = {{{}, 0}, {{0, 1, 2}, 3}, {{5, 0}, 7}, {{2, 9, 3}, 11}};
    for (const Case& c : cases)
        EXPECT_EQ(nextIndex(*setWithIndices(c.indices)), c.next) << "indices of size " << c.indices.size();
}

TEST(RoomForm, SlidersOpenAtTheStoredBoundsAndOkWritesThemBack)
{
    auto requirement = makeRequirement(0, "Living", 20);
    requirement->minAreaError = 10;
    requirement->maxAreaError = 30;
    auto set = makeRequirementSet({requirement});
    RoomForm form = roomFormFor(nullptr, *set, requirement, 0);
    EXPECT_EQ(form.areaMin, 50);
    EXPECT_EQ(form.areaMax, 150);
    applyRoomForm(form, *set, requirement);
    EXPECT_DOUBLE_EQ(requirement->minAreaError, 10.0);
    EXPECT_DOUBLE_EQ(requirement->maxAreaError, 30.0);
    EXPECT_EQ(set->requirements.size(), 1u);
}

TEST(RoomForm, SliderPercentTruncatesAndKeepsItsRange)
{
    struct Case {
        double bound, value;
        int low, high, expected;
    };
    const Case cases[] = {
        {60, 20, 100, 200, 200}, // three times the area
        {15.99, 20, 0, 100, 79}, {40, 20, 100, 200, 200}, {5, 0, 0, 100, 50}, {-1, 20, 0, 100, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(sliderPercent(c.bound, c.value, c.low, c.high, 50), c.expected) << c.bound << " / " << c.value;
}

TEST(RoomForm, SliderFactorIsSinglePrecision)
{
    EXPECT_EQ(sliderFactor(80), 0.800000011920929);
    EXPECT_EQ(sliderFactor(100), 1.0);
}

TEST(RoomForm, LockCodesRestoreTheirRows)
{
    const RowState F = RowState::Free, L = RowState::Locked, D = RowState::Derived;
    struct Case {
        int code;
        LockStates states;
    };
    const Case cases[] = {{0, {F, F, F}}, {1, {L, F, F}}, {2, {F, L, F}}, {4, {F, F, L}},
                          {3, {L, L, D}}, {5, {L, D, L}}, {6, {D, L, L}}, {7, {F, F, F}}};
    for (const Case& c : cases) {
        EXPECT_EQ(lockStatesFromCode(c.code), c.states) << "code " << c.code;
        if (c.code != 7) {
            EXPECT_EQ(lockCode(c.states, 99), c.code) << "code " << c.code;
        }
    }
    EXPECT_EQ(lockCode({L, L, F}, 99), 99);
}

TEST(RoomForm, LockCodeThreeOpensWithEveryRowAtItsValue)
{
    auto requirement = makeRequirement(0, "Living", 20);
    requirement->lock = 3;
    auto set = makeRequirementSet({requirement});
    RoomForm form = roomFormFor(nullptr, *set, requirement, 0);
    EXPECT_EQ(form.locks, (LockStates{RowState::Locked, RowState::Locked, RowState::Derived}));
    for (int percent : {form.areaMin, form.areaMax, form.lengthMin, form.lengthMax, form.widthMin, form.widthMax})
        EXPECT_EQ(percent, 100);
    applyRoomForm(form, *set, requirement);
    EXPECT_EQ(requirement->lock, 3);
    EXPECT_DOUBLE_EQ(requirement->minAreaError, requirement->area);
    EXPECT_DOUBLE_EQ(requirement->maxLength, requirement->targetLength);
    EXPECT_DOUBLE_EQ(requirement->minWidth, requirement->targetWidth);
}

TEST(RoomForm, LockSequence)
{
    LockStates states;
    states = pressLock(states, DimensionRow::Area);
    EXPECT_EQ(states, (LockStates{RowState::Locked, RowState::Free, RowState::Free}));
    states = pressLock(states, DimensionRow::Length);
    EXPECT_EQ(states, (LockStates{RowState::Locked, RowState::Locked, RowState::Derived}));
    states = releaseLock(states, DimensionRow::Length);
    EXPECT_EQ(states, (LockStates{RowState::Locked, RowState::Free, RowState::Free}));

    states = pressLock(pressLock(LockStates{}, DimensionRow::Length), DimensionRow::Width);
    EXPECT_EQ(states, (LockStates{RowState::Derived, RowState::Locked, RowState::Locked}));
    EXPECT_EQ(releaseLock(states, DimensionRow::Length),
              (LockStates{RowState::Free, RowState::Free, RowState::Locked}));
}

TEST(RoomForm, CouplingKeepsAreaEqualToLengthTimesWidth)
{
    const RowState F = RowState::Free, L = RowState::Locked, D = RowState::Derived;
    enum Typed { Area, Length, Width };
    struct Case {
        const char* what;
        Typed typed;
        LockStates locks;
        DimensionTexts before, after;
    };
    const Case cases[] = {
        {"square", Area, {F, F, F}, {"16", "1", "1"}, {"16", "4.00", "4.00"}},
        {"zero area", Area, {F, F, F}, {"0", "3", "3"}, {"0", "0.0", "0.0"}},
        {"negative area", Area, {F, F, F}, {"-2", "3", "3"}, {"-2", "0.0", "0.0"}},
        {"length locked", Area, {F, L, F}, {"20", "5", "1"}, {"20", "5", "4.00"}},
        {"width locked", Area, {F, F, L}, {"20", "1", "2"}, {"20", "10.00", "2"}},
        {"area locked", Length, {L, F, F}, {"20", "5", "1"}, {"20", "5", "4.00"}},
        {"derived width", Length, {L, L, D}, {"20", "5", "1"}, {"20", "5", "4.00"}},
        {"zero length", Length, {F, F, F}, {"20", "0", "1"}, {"20", "0", "0.0"}},
        {"width locked length", Length, {F, F, L}, {"1", "5", "3"}, {"15.00", "5", "3"}},
        {"derived area", Width, {D, L, L}, {"1", "5", "3"}, {"15.00", "5", "3"}},
        {"free width", Width, {F, F, F}, {"20", "1", "4"}, {"20", "5.00", "4"}},
        {"empty field", Area, {F, F, F}, {"16", "", "1"}, {"16", "", "1"}},
        {"not a number", Area, {F, F, F}, {"x", "2", "1"}, {"x", "2", "1"}},
    };
    for (const Case& c : cases) {
        DimensionTexts result = c.typed == Area     ? coupleAfterArea(c.before, c.locks)
                                : c.typed == Length ? coupleAfterLength(c.before, c.locks)
                                                    : coupleAfterWidth(c.before, c.locks);
        EXPECT_EQ(result.area, c.after.area) << c.what;
        EXPECT_EQ(result.length, c.after.length) << c.what;
        EXPECT_EQ(result.width, c.after.width) << c.what;
    }
}

TEST(RoomForm, NegativeZeroShowsAsZero)
{
    EXPECT_EQ(formatDimension(-0.001), "0.00");
    EXPECT_EQ(formatDimension(-1.0), "-1.00");
    EXPECT_EQ(formatDimension(3.5), "3.50");
}

TEST(RoomForm, RemainingAreasOfTheSmallHouse)
{
    auto building = smallHouse();
    auto empty = makeRequirementSet({});
    EXPECT_NEAR(remainingBuildingArea(*building, *empty), 22.5, 1e-9);
    EXPECT_NEAR(remainingFloorArea(*building, *empty, 0), 22.5, 1e-9);
    EXPECT_DOUBLE_EQ(remainingFloorArea(*building, *empty, 3), 0.0);

    auto set = makeRequirementSet({makeRequirement(0, "A", 12.5, 0)});
    RoomForm form = roomFormFor(building.get(), *set, nullptr, 0);
    EXPECT_EQ(form.dimensions, (DimensionTexts{"10.00", "3.16", "3.16"}));
    EXPECT_EQ(form.name, "New Room");
    EXPECT_EQ(form.roomType, "Entrance");
    EXPECT_EQ(form.index, 1);

    struct Case {
        std::string area;
        std::optional<int> level;
        RemainingAreaTexts texts;
    };
    const Case cases[] = {
        {"10.00", 0, {"0.00", false, "0.00", false}},
        {"11", 0, {"-1.00", true, "-1.00", true}},
        {"11", bg::anyFloor, {"-1.00", true, "----", false}},
        {"", 0, {"10.00", false, "10.00", false}},
    };
    for (const Case& c : cases) {
        const RemainingAreaTexts texts = remainingAreaTexts(building.get(), *set, nullptr, c.area, c.level);
        EXPECT_EQ(texts.building, c.texts.building) << c.area;
        EXPECT_EQ(texts.buildingShort, c.texts.buildingShort) << c.area;
        EXPECT_EQ(texts.floor, c.texts.floor) << c.area;
        EXPECT_EQ(texts.floorShort, c.texts.floorShort) << c.area;
    }
}

TEST(RoomForm, NoSpaceLeftStartsAtZero)
{
    auto set = makeRequirementSet({makeRequirement(0, "A", 30, 0)});
    RoomForm form = roomFormFor(smallHouse().get(), *set, nullptr, 0);
    EXPECT_EQ(form.dimensions, (DimensionTexts{"0.00", "0.00", "0.00"}));
}

TEST(RoomForm, WithoutBuildingNothingIsMeasured)
{
    auto set = makeRequirementSet({makeRequirement(0, "A", 30, 0)});
    EXPECT_EQ(levelEntries(nullptr), std::vector<std::string>{"Any floor"});
    const RemainingAreaTexts texts = remainingAreaTexts(nullptr, *set, nullptr, "12", 0);
    EXPECT_EQ(texts.building, "----");
    EXPECT_EQ(texts.floor, "----");
    EXPECT_FALSE(areaCheckMessage(nullptr, *set, nullptr, 1000, 0));
    EXPECT_EQ(roomFormFor(nullptr, *set, nullptr, 0).level, "Any floor");
}

TEST(RoomForm, AreaCheck)
{
    auto building = smallHouse();
    auto edited = makeRequirement(1, "B", 5, 0);
    auto set = makeRequirementSet({makeRequirement(0, "A", 12.5, 0), edited});
    const std::string buildingMessage = "Not enough space for the whole building to meet the area requirements.";
    EXPECT_FALSE(areaCheckMessage(building.get(), *set, edited.get(), 10, 0)); // equality fits
    EXPECT_FALSE(areaCheckMessage(building.get(), *set, edited.get(), 10, bg::anyFloor));
    EXPECT_EQ(areaCheckMessage(building.get(), *set, edited.get(), 10.5, 0).value_or(""), buildingMessage);

    // Two floors: the building has room, level 1 has not.
    auto twoFloors = kovra_test::makeRectBuilding(5.72, 5.72, 2);
    auto upstairs = makeRequirementSet({makeRequirement(0, "A", 20, 1)});
    EXPECT_EQ(areaCheckMessage(twoFloors.get(), *upstairs, nullptr, 5, 1).value_or(""),
              "Not enough space on floor 1 to meet the area requirements.");
    EXPECT_FALSE(areaCheckMessage(twoFloors.get(), *upstairs, nullptr, 5, 0));
}

TEST(RoomForm, BoundaryWishShownAndRead)
{
    struct Case {
        std::vector<std::string> stored;
        std::string ticked;
    };
    const Case cases[] = {{{"south"}, "south"},        {{"whatever"}, ""}, {{""}, ""},
                          {{"south", "east"}, ""},     {{"South"}, ""},    {{"northwest"}, "northwest"}};
    for (const Case& c : cases)
        EXPECT_EQ(directionToTick(c.stored), c.ticked) << c.stored.size();
    EXPECT_EQ(boundaryWish({}), std::vector<std::string>{"whatever"});
    EXPECT_EQ(boundaryWish({"north", "southeast"}), std::vector<std::string>{"southeast"});
}

TEST(RoomForm, DoorListItemsFollowTheLevel)
{
    auto set = hallKitchenStairs();
    EXPECT_EQ(doorListItems(*set, 0), (std::vector<std::string>{"0_Hall", "2_Stairs"}));
    EXPECT_EQ(doorListItems(*set, bg::anyFloor), (std::vector<std::string>{"0_Hall", "1_Kitchen", "2_Stairs"}));
    EXPECT_EQ(doorItemIndex("12_Bath_room"), 12);
    EXPECT_FALSE(doorItemIndex("x_Bath"));
    EXPECT_EQ(doorListTicks({"0_Hall", "2_Stairs"}, {1, 2}), (std::vector<bool>{false, true}));
    EXPECT_EQ(doorListTicks({"0_Hall", "2_Stairs"}, {-1, 2}), (std::vector<bool>{false, false}));
}

// A room has no door to itself: its own dialog leaves it out of the list, on
// its level and on "Any floor"; a new room (no index yet) and a room on
// another level see every room of the level.
TEST(RoomForm, DoorListLeavesOutTheRoomItself)
{
    struct Case {
        int level;
        std::optional<int> own;
        std::vector<std::string> items;
    };
    const Case cases[] = {
        {0, 0, {"2_Stairs"}},
        {bg::anyFloor, 0, {"1_Kitchen", "2_Stairs"}},
        {bg::anyFloor, 2, {"0_Hall", "1_Kitchen"}},
        {1, 2, {"1_Kitchen"}},
        {1, 0, {"1_Kitchen", "2_Stairs"}},
        {0, std::nullopt, {"0_Hall", "2_Stairs"}},
        {0, 7, {"0_Hall", "2_Stairs"}},
    };
    auto set = hallKitchenStairs();
    for (const Case& c : cases)
        EXPECT_EQ(doorListItems(*set, c.level, c.own), c.items) << c.level << " " << c.own.value_or(-99);

    // The form of an existing room leaves it out; a new room's lists all.
    const auto hall = set->requirements[0];
    const RoomForm hallForm = roomFormFor(nullptr, *set, hall, 0);
    EXPECT_EQ(hallForm.doorItems, (std::vector<std::string>{"2_Stairs"}));
    EXPECT_EQ(hallForm.doorTicks, (std::vector<bool>{true}));
    const RoomForm stairsForm = roomFormFor(nullptr, *set, set->requirements[2], 0);
    EXPECT_EQ(stairsForm.doorItems, (std::vector<std::string>{"0_Hall", "1_Kitchen"}));
    EXPECT_EQ(stairsForm.doorTicks, (std::vector<bool>{true, false}));

    // OK with the shortened list keeps the neighbours as they were.
    RoomForm form = hallForm;
    form.level = "0";
    applyRoomForm(form, *set, set->requirements[0]);
    EXPECT_EQ(hall->adjacency, (std::vector<int>{1, 2}));
    EXPECT_EQ(set->requirements[2]->adjacency, std::vector<int>{0});
}

TEST(RoomForm, OkWithoutChangesKeepsNeighboursOnOtherFloors)
{
    auto set = hallKitchenStairs();
    auto hall = set->requirements[0];
    RoomForm form = roomFormFor(nullptr, *set, hall, 0);
    form.level = "0";
    form.doorItems = doorListItems(*set, 0);
    form.doorTicks = doorListTicks(form.doorItems, hall->adjacency);
    applyRoomForm(form, *set, hall);
    EXPECT_EQ(hall->adjacency, (std::vector<int>{1, 2}));
    EXPECT_EQ(set->requirements[1]->adjacency, std::vector<int>{0});
    EXPECT_EQ(set->requirements[2]->adjacency, std::vector<int>{0});
}

TEST(RoomForm, UntickingANeighbourDropsItsEntryBothWays)
{
    auto set = hallKitchenStairs();
    auto hall = set->requirements[0];
    RoomForm form = roomFormFor(nullptr, *set, hall, 0);
    form.doorItems = doorListItems(*set, 0);
    form.doorTicks = {true, false}; // its own item ticked, Stairs unticked
    applyRoomForm(form, *set, hall);
    EXPECT_EQ(hall->adjacency, std::vector<int>{1});
    EXPECT_EQ(set->requirements[2]->adjacency, std::vector<int>{-1});
    EXPECT_EQ(set->requirements[1]->adjacency, std::vector<int>{0});
}

TEST(RoomForm, NewRoomIsListedBackByItsNeighbours)
{
    struct Case {
        std::vector<int> before, after;
    };
    const Case cases[] = {{{-1}, {3}}, {{0}, {0, 3}}, {{0, 3}, {0, 3}}, {{}, {3}}};
    for (const Case& c : cases) {
        auto set = makeRequirementSet({makeRequirement(0, "Hall", 10, 0), makeRequirement(1, "Kitchen", 10, 1, c.before),
                                       makeRequirement(2, "Stairs", 5, bg::anyFloor)});
        std::shared_ptr<bg::Requirement> created;
        RoomForm form = roomFormFor(kovra_test::makeRectBuilding(20, 20, 2).get(), *set, nullptr, 1);
        ASSERT_EQ(form.doorItems, (std::vector<std::string>{"1_Kitchen", "2_Stairs"}));
        form.doorTicks = {true, false};
        applyRoomForm(form, *set, created);
        ASSERT_TRUE(created);
        EXPECT_EQ(created->index, 3);
        EXPECT_EQ(created->adjacency, std::vector<int>{1});
        EXPECT_EQ(set->requirements[1]->adjacency, c.after) << c.before.size();
    }
}

TEST(RoomForm, NoNeighboursLeavesEveryList)
{
    auto set = makeRequirementSet({makeRequirement(0, "A", 10, 0, {2}), makeRequirement(1, "B", 10, 1, {0, 2}),
                                   makeRequirement(2, "C", 10, 0, {0, 1})});
    auto c = set->requirements[2];
    RoomForm form = roomFormFor(nullptr, *set, c, 0);
    form.level = "Any floor"; // every room in the list, none ticked
    form.doorItems = doorListItems(*set, bg::anyFloor);
    form.doorTicks.assign(form.doorItems.size(), false);
    applyRoomForm(form, *set, c);
    EXPECT_EQ(c->adjacency, std::vector<int>{-1});
    EXPECT_EQ(set->requirements[0]->adjacency, std::vector<int>{-1});
    EXPECT_EQ(set->requirements[1]->adjacency, std::vector<int>{0});
}

TEST(RoomForm, OkWritesTheFormIntoANewRequirement)
{
    auto set = makeRequirementSet({});
    std::shared_ptr<bg::Requirement> created;
    RoomForm form = roomFormFor(kovra_test::makeRectBuilding(10, 10, 3).get(), *set, nullptr, 2);
    form.name = "\xc5\x81" "azienka \xc3\xa9";
    form.dimensions = {"20", "5", "4"};
    form.areaMin = 80;
    form.lengthMin = 50;
    form.lengthMax = 150;
    form.widthMin = 25;
    form.widthMax = 200;
    form.direction = "north";
    applyRoomForm(form, *set, created);
    ASSERT_EQ(set->requirements.size(), 1u);
    const bg::Requirement& r = *set->requirements[0];
    EXPECT_EQ(r.index, 0);
    EXPECT_EQ(r.name, form.name);
    EXPECT_EQ(r.level, 2);
    EXPECT_EQ(r.roomType, "Entrance");
    EXPECT_EQ(r.orientation, "horizontal");
    EXPECT_EQ(r.minAreaError, 0.800000011920929 * 20);
    EXPECT_DOUBLE_EQ(r.minLength, 2.5);
    EXPECT_DOUBLE_EQ(r.minAspectRatio, 2.5 / 8.0);
    EXPECT_DOUBLE_EQ(r.maxAspectRatio, 7.5 / 1.0);
    EXPECT_EQ(r.boundaries, std::vector<std::string>{"north"});
    EXPECT_EQ(r.adjacency, std::vector<int>{-1});
    EXPECT_EQ(r.expectedPosition.x, bg::noExpectedPosition);
    EXPECT_EQ(r.expectedPosition.y, bg::noExpectedPosition);
    EXPECT_EQ(r.lock, 0);
}

TEST(RoomForm, OkKeepsOrientationAndDropsTheExpectedPosition)
{
    auto requirement = makeRequirement(0, "A", 10, bg::anyFloor);
    requirement->orientation = "vertical";
    requirement->expectedPosition = Vec2(3, 4);
    requirement->roomType = "Sauna";
    auto set = makeRequirementSet({requirement});
    RoomForm form = roomFormFor(nullptr, *set, requirement, 0);
    EXPECT_EQ(form.roomType, "");
    applyRoomForm(form, *set, requirement);
    EXPECT_EQ(requirement->orientation, "vertical");
    EXPECT_EQ(requirement->expectedPosition.x, bg::noExpectedPosition);
    EXPECT_EQ(requirement->roomType, "");
    EXPECT_EQ(requirement->level, bg::anyFloor);
}

TEST(RoomForm, BadFieldsAreRefusedBeforeAnythingIsWritten)
{
    struct Case {
        const char* what;
        void (*spoil)(RoomForm&);
        const char* named;
    };
    const Case cases[] = {
        {"area", [](RoomForm& f) { f.dimensions.area = "abc"; }, "Area"},
        {"length", [](RoomForm& f) { f.dimensions.length = ""; }, "Room Length"},
        {"width", [](RoomForm& f) { f.dimensions.width = "-"; }, "Room Width"},
        {"level", [](RoomForm& f) { f.level = "ground"; }, "Storey Level"},
        {"zero length", [](RoomForm& f) { f.dimensions.length = "0"; }, "length"},
        {"negative width", [](RoomForm& f) { f.dimensions.width = "-2"; }, "width"},
        {"width slider", [](RoomForm& f) { f.widthMin = 0; }, "minimum room width"},
        // Finite, but beyond what a floor may span (10 km, its square for areas).
        {"area beyond the bound", [](RoomForm& f) { f.dimensions.area = "2e9"; }, "Area"},
        {"area whose upper slider passes the bound",
         [](RoomForm& f) {
             f.dimensions.area = "1e8";
             f.areaMax = 150;
         },
         "Area"},
        {"length beyond the bound", [](RoomForm& f) { f.dimensions.length = "2e9"; }, "Room Length"},
        {"width whose upper slider passes the bound",
         [](RoomForm& f) {
             f.dimensions.width = "9000";
             f.widthMax = 150;
         },
         "Room Width"},
        {"x beyond the bound", [](RoomForm& f) { f.xPosition = "-20000"; }, "X-Position"},
        {"y beyond the bound", [](RoomForm& f) { f.yPosition = "1e300"; }, "Y-Position"},
    };
    for (const Case& c : cases) {
        auto set = hallKitchenStairs();
        auto hall = set->requirements[0];
        const std::vector<int> kitchenBefore = set->requirements[1]->adjacency;
        RoomForm form = roomFormFor(nullptr, *set, hall, 0);
        form.doorTicks.assign(form.doorItems.size(), false);
        c.spoil(form);
        try {
            applyRoomForm(form, *set, hall);
            ADD_FAILURE() << c.what << " was accepted";
        } catch (const std::invalid_argument& error) {
            EXPECT_NE(std::string(error.what()).find(c.named), std::string::npos) << c.what << ": " << error.what();
        }
        EXPECT_EQ(hall->adjacency, (std::vector<int>{1, 2})) << c.what;
        EXPECT_EQ(set->requirements[1]->adjacency, kitchenBefore) << c.what;
        EXPECT_DOUBLE_EQ(hall->area, 10) << c.what;

        std::shared_ptr<bg::Requirement> none;
        EXPECT_THROW(applyRoomForm(form, *set, none), std::invalid_argument) << c.what;
        EXPECT_FALSE(none) << c.what;
        EXPECT_EQ(set->requirements.size(), 3u) << c.what;
    }
}

TEST(RoomForm, LevelEntriesAndTexts)
{
    auto building = kovra_test::makeRectBuilding(10, 10, 3);
    EXPECT_EQ(levelEntries(building.get()), (std::vector<std::string>{"0", "1", "2", "Any floor"}));
    EXPECT_EQ(parseLevel("Any floor"), bg::anyFloor);
    EXPECT_EQ(parseLevel("2"), 2);
    EXPECT_FALSE(parseLevel(""));
    EXPECT_EQ(levelBoxText(bg::anyFloor), "Any floor");
}

TEST(RoomForm, TheSpaceLeftAsShownFits)
{
    // 0.9 x 9.28² = 77.5066 m², shown and prefilled as 77.51.
    auto building = kovra_test::makeRectBuilding(10, 10, 1);
    auto set = makeRequirementSet({});
    const RoomForm form = roomFormFor(building.get(), *set, nullptr, 0);
    EXPECT_EQ(form.dimensions.area, "77.51");
    EXPECT_FALSE(areaCheckMessage(building.get(), *set, nullptr, 77.51, 0));
    EXPECT_TRUE(areaCheckMessage(building.get(), *set, nullptr, 77.52, 0));
    const RemainingAreaTexts texts = remainingAreaTexts(building.get(), *set, nullptr, "77.51", 0);
    EXPECT_EQ(texts.building, "0.00");
    EXPECT_FALSE(texts.buildingShort);
}
