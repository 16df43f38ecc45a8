#include "model/Building.h"

#include "support/ModelFixtures.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

using kovra_test::rectContour;

std::shared_ptr<bg::Floor> floorOf(int level, double height = 0.0)
{
    auto floor = std::make_shared<bg::Floor>(level);
    floor->height = height;
    floor->contour = rectContour(10, 8);
    return floor;
}

TEST(Building, StartsWithoutFloorsAndWithTheDefaultParameters)
{
    auto building = std::make_shared<bg::Building>("House");
    EXPECT_EQ(building->name, "House");
    EXPECT_EQ(building->levelCount, 0u);
    EXPECT_EQ(building->maxLevel, INT_MIN);
    EXPECT_EQ(building->minLevel, INT_MAX);
    EXPECT_FALSE(building->root);
    EXPECT_FALSE(building->top);
    EXPECT_FALSE(building->bottom);
    EXPECT_EQ(building->parameters.outerWallStrength, 0.36);
    EXPECT_EQ(building->parameters.windowGlazingFactor, 0.05);

    building->parameters.outerWallStrength = 0.5;
    EXPECT_EQ(getBuildingParameters().outerWallStrength, 0.36);
}

TEST(Building, FirstFloorIsRootTopAndBottomWithTheDefaultHeight)
{
    auto building = std::make_shared<bg::Building>("House");
    auto ground = std::make_shared<bg::Floor>(0);
    building->setRoot(ground);
    building->addFloor(ground);

    EXPECT_EQ(building->root, ground);
    EXPECT_EQ(building->top, ground);
    EXPECT_EQ(building->bottom, ground);
    EXPECT_EQ(ground->height, 2.75);
    EXPECT_EQ(ground->elevation, 0.0);
    EXPECT_EQ(building->levelCount, 1u);
    EXPECT_EQ(building->maxLevel, 0);
    EXPECT_EQ(building->minLevel, 0);
}

TEST(Building, ElevationsOfThreeFloorsAddHeightAndDefaultSlab)
{
    auto building = std::make_shared<bg::Building>("House");
    auto ground = floorOf(0);
    auto first = floorOf(1, 3.0);
    auto second = floorOf(2, 2.5);
    building->setRoot(ground);
    building->addFloor(ground);
    building->addFloor(first);
    building->addFloor(second);

    EXPECT_DOUBLE_EQ(ground->elevation, 0.0);
    EXPECT_DOUBLE_EQ(first->elevation, 2.95);
    EXPECT_DOUBLE_EQ(second->elevation, 6.15);
    EXPECT_EQ(building->levelCount, 3u);
    EXPECT_EQ(building->top, second);
    EXPECT_EQ(building->bottom, ground);

    // The chain runs root -> first -> second.
    EXPECT_EQ(ground->upper.lock(), first);
    EXPECT_EQ(first->lower.lock(), ground);
    EXPECT_EQ(first->parent.lock(), ground);
    EXPECT_EQ(second->lower.lock(), first);

    // The defaults' slab counts, not the building's own.
    building->parameters.floorSlabStrength = 0.3;
    building->updateElevations();
    EXPECT_DOUBLE_EQ(first->elevation, 2.95);
    EXPECT_DOUBLE_EQ(second->elevation, 6.15);
}

TEST(Building, TheRootFloorKeepsAHeightTheUserGaveIt)
{
    auto building = kovra_test::makeRectBuilding(10, 8, 2);
    building->root->height = 3.2;
    building->updateElevations();
    EXPECT_EQ(building->root->height, 3.2);
    EXPECT_DOUBLE_EQ(building->top->elevation, 3.4);
}

TEST(Building, AmongEqualLevelsTheLaterFloorIsTopOrBottom)
{
    auto building = std::make_shared<bg::Building>("House");
    auto a = floorOf(0);
    auto b = floorOf(1);
    auto c = floorOf(1);
    auto d = floorOf(0);
    for (const auto& floor : {a, b, c, d})
        building->addFloor(floor);
    EXPECT_EQ(building->top, c);
    EXPECT_EQ(building->bottom, d);
    EXPECT_EQ(building->root, a);
}

TEST(Building, AFloorOfLowerLevelIsStillStackedOnTheTop)
{
    auto building = std::make_shared<bg::Building>("House");
    auto ground = floorOf(0);
    auto first = floorOf(1, 3.0);
    auto basement = floorOf(-1, 2.5);
    building->addFloor(ground);
    building->addFloor(first);
    building->addFloor(basement);

    EXPECT_EQ(first->upper.lock(), basement);
    EXPECT_EQ(basement->parent.lock(), first);
    EXPECT_EQ(building->top, first);
    EXPECT_EQ(building->bottom, basement);
    EXPECT_EQ(building->minLevel, -1);
    EXPECT_DOUBLE_EQ(basement->elevation, 2.75 + 0.2 + 3.0 + 0.2);
}

TEST(Building, CopyFromMakesNewFloorsWithTheSameValues)
{
    auto source = kovra_test::makeLShapedBuilding(15, 15, 5, 5, 3, 3.0);
    source->parameters.doorWidth = 1.2;
    auto copy = std::make_shared<bg::Building>(source->name + "_2");
    copy->copyFrom(source);

    EXPECT_EQ(copy->name, source->name + "_2");
    ASSERT_EQ(copy->floors.size(), 3u);
    auto from = source->floors.begin();
    for (const auto& floor : copy->floors) {
        EXPECT_NE(floor, *from);
        EXPECT_EQ(floor->level, (*from)->level);
        EXPECT_EQ(floor->height, (*from)->height);
        EXPECT_EQ(floor->elevation, (*from)->elevation);
        EXPECT_EQ(floor->getContour().size(), (*from)->contour.size());
        ++from;
    }
    EXPECT_EQ(copy->root, copy->floors.front());
    EXPECT_EQ(copy->top, copy->floors.back());
    EXPECT_EQ(copy->parameters.doorWidth, 1.2);
}

TEST(Building, UpdateElevationsWithoutRootChangesNothing)
{
    auto building = std::make_shared<bg::Building>("House");
    auto floor = floorOf(0, 0.0);
    floor->elevation = 7.0;
    building->floors.push_back(floor);
    building->updateElevations();
    EXPECT_EQ(floor->height, 0.0);
    EXPECT_EQ(floor->elevation, 7.0);
}

TEST(Building, AnUpperLinkThatLoopsEndsTheElevationWalk)
{
    auto building = kovra_test::makeRectBuilding(10, 8, 2);
    building->top->upper = building->root;
    building->updateElevations();
    EXPECT_DOUBLE_EQ(building->top->elevation, 2.95);
}

TEST(Building, PlainPointersYieldSharedOwnership)
{
    auto building = kovra_test::makeRectBuilding(10, 8, 1);
    bg::Building* plainBuilding = building.get();
    EXPECT_EQ(plainBuilding->shared_from_this(), building);
    bg::Floor* plainFloor = building->root.get();
    EXPECT_EQ(plainFloor->shared_from_this(), building->root);
}

} // namespace
