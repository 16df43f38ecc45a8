#include "model/Proposal.h"

#include "support/SamePolygon.h"
#include "support/ModelFixtures.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

using kovra_test::makeProposal;
using kovra_test::makeRectBuilding;
using kovra_test::makeRequirement;
using kovra_test::makeRequirementSet;
using kovra_test::samePolygon;

std::shared_ptr<bg::RequirementSet> threeRooms()
{
    return makeRequirementSet({makeRequirement(0, "Hall", 8, 0),
                               makeRequirement(1, "Living", 20, 1),
                               makeRequirement(2, "Store", 4, -999)});
}

TEST(Room, MadeFromARequirementIsUnplaced)
{
    auto requirement = makeRequirement(3, "Kitchen", 12, 1);
    auto room = std::make_shared<bg::Room>(requirement);
    EXPECT_EQ(room->getRequirement(), requirement);
    EXPECT_EQ(room->index, 3);
    EXPECT_EQ(room->getName(), "Kitchen");
    EXPECT_EQ(room->level, -999);
    EXPECT_EQ(room->position.x, 0.0);
    EXPECT_EQ(room->size.y, 0.0);
    EXPECT_TRUE(room->contour.empty());
    EXPECT_TRUE(room->getInnerContour().empty());
    EXPECT_FALSE(room->floor);

    requirement->name = "Changed";
    EXPECT_EQ(room->getName(), "Kitchen");

    bg::Room* plain = room.get();
    EXPECT_EQ(plain->shared_from_this(), room);
}

TEST(Room, ContourRunsCounterClockwiseFromThePosition)
{
    bg::Room room;
    room.position = {1, 2};
    room.size = {3, 4};
    room.updateContour();
    const std::vector<Vec2> expected = {{1, 2}, {4, 2}, {4, 6}, {1, 6}};
    ASSERT_EQ(room.contour.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(room.contour[i].x, expected[i].x) << "corner " << i;
        EXPECT_EQ(room.contour[i].y, expected[i].y) << "corner " << i;
    }

    room.size = {0, 0};
    room.updateContour();
    for (const Vec2& corner : room.contour) {
        EXPECT_EQ(corner.x, 1.0);
        EXPECT_EQ(corner.y, 2.0);
    }
}

TEST(Room, InnerContourIsInsetByHalfTheInnerWall)
{
    bg::Room room;
    room.position = {0, 0};
    room.size = {4, 3};
    room.updateContour();
    room.updateInnerContour();
    EXPECT_TRUE(samePolygon(room.innerContour, {{0.1, 0.1}, {3.9, 0.1}, {3.9, 2.9}, {0.1, 2.9}}, 1e-6));
}

TEST(Proposal, CreateGivesOneLayoutPerFloorAndOneRoomPerRequirement)
{
    auto building = makeRectBuilding(10, 8, 3);
    auto set = threeRooms();
    auto proposal = makeProposal(building, set, "Variant A");

    EXPECT_EQ(proposal->name, "Variant A");
    EXPECT_EQ(proposal->getBuilding(), building);
    EXPECT_EQ(proposal->requirementSet, set);

    ASSERT_EQ(proposal->getLayouts().size(), 3u);
    auto floor = building->floors.begin();
    for (const auto& layout : proposal->getLayouts()) {
        EXPECT_EQ(layout->getFloor(), *floor);
        EXPECT_EQ(layout->getLevel(), (*floor)->level);
        EXPECT_TRUE(samePolygon(layout->getContour(), {{0.36, 0.36}, {9.64, 0.36}, {9.64, 7.64}, {0.36, 7.64}},
                                1e-6));
        ++floor;
    }

    const auto rooms = proposal->getRooms();
    ASSERT_EQ(rooms.size(), 3u);
    const int levels[] = {0, 1, -999};
    for (std::size_t i = 0; i < rooms.size(); ++i) {
        EXPECT_EQ(rooms[i]->getRequirement(), set->requirements[i]) << "room " << i;
        EXPECT_EQ(rooms[i]->level, levels[i]) << "room " << i;
        EXPECT_TRUE(rooms[i]->contour.empty()) << "room " << i;
        EXPECT_EQ(rooms[i]->size.x, 0.0) << "room " << i;
    }
}

TEST(Proposal, CreateByNameIsEmpty)
{
    auto proposal = bg::Proposal::create("Empty");
    EXPECT_EQ(proposal->name, "Empty");
    EXPECT_FALSE(proposal->building);
    EXPECT_FALSE(proposal->requirementSet);
    EXPECT_TRUE(proposal->getLayouts().empty());
    EXPECT_TRUE(proposal->getRooms().empty());
    bg::Proposal* plain = proposal.get();
    EXPECT_EQ(plain->shared_from_this(), proposal);
}

TEST(Proposal, RebuildGivesRoomsTheirZeroRectangleAsContour)
{
    auto proposal = makeProposal(makeRectBuilding(10, 8, 1), threeRooms());
    proposal->rebuildLayoutsAndRooms();
    for (const auto& room : proposal->getRooms()) {
        ASSERT_EQ(room->contour.size(), 4u);
        EXPECT_EQ(room->contour[2].x, 0.0);
    }
    EXPECT_EQ(proposal->getRooms()[1]->level, 1);
}

TEST(Proposal, ResetPlacementsClearsRectanglesAndRestoresLevels)
{
    auto building = makeRectBuilding(10, 8, 2);
    auto set = threeRooms();
    auto proposal = makeProposal(building, set);
    auto rooms = proposal->getRooms();
    for (const auto& room : rooms) {
        kovra_test::placeRoom(proposal, room, {1, 1}, {3, 2}, 1);
        room->updateInnerContour();
    }
    // A room whose index no requirement has any more stays unplaced.
    rooms[2]->index = 7;

    proposal->resetPlacements();

    const int levels[] = {0, 1, -999};
    for (std::size_t i = 0; i < rooms.size(); ++i) {
        EXPECT_EQ(rooms[i]->position.x, 0.0) << "room " << i;
        EXPECT_EQ(rooms[i]->position.y, 0.0) << "room " << i;
        EXPECT_EQ(rooms[i]->size.x, 0.0) << "room " << i;
        EXPECT_EQ(rooms[i]->size.y, 0.0) << "room " << i;
        EXPECT_TRUE(rooms[i]->contour.empty()) << "room " << i;
        EXPECT_TRUE(rooms[i]->innerContour.empty()) << "room " << i;
        EXPECT_EQ(rooms[i]->level, levels[i]) << "room " << i;
        EXPECT_EQ(rooms[i]->floor, building->top) << "room " << i;
        EXPECT_EQ(rooms[i]->getRequirement(), set->requirements[i]) << "room " << i;
    }
}

TEST(Proposal, ResetPlacementsWithSeveralRequirementsOfOneIndexTakesTheLast)
{
    auto set = makeRequirementSet({makeRequirement(0, "A", 8, 0), makeRequirement(0, "B", 8, 2)});
    auto proposal = makeProposal(makeRectBuilding(10, 8, 3), set);
    proposal->resetPlacements();
    EXPECT_EQ(proposal->getRooms()[0]->level, 2);

    proposal->requirementSet = nullptr;
    proposal->resetPlacements();
    EXPECT_EQ(proposal->getRooms()[0]->level, -999);
}

TEST(Proposal, ConstructionParametersComeFromTheDefaults)
{
    auto building = makeRectBuilding(10, 8, 1);
    building->parameters.outerWallStrength = 0.5;
    building->parameters.roofSlab = 0.4;
    auto proposal = makeProposal(building, threeRooms());

    const ConstructionParameters expected = {0,   0,   0,   0,   0,    0,   0,   0.36, 0.2,
                                             0.5, 0.2, 0.35, 1.0, 2.2, 1.0, 0.05, 3.5, 1.0};
    const ConstructionParameters actual = proposal->getConstructionParameters();
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(actual[i], expected[i]) << "position " << i + 1;
}

TEST(Proposal, RoomsLockSerialisesAWriterAndAReader)
{
    auto proposal = makeProposal(makeRectBuilding(10, 8, 1), threeRooms());
    std::thread writer([&] {
        for (int n = 0; n < 2000; ++n) {
            auto lock = proposal->lockRooms();
            proposal->resetPlacements();
            for (const auto& room : proposal->rooms) {
                room->position = {double(n), double(n)};
                room->size = {1, 1};
                room->updateContour();
            }
        }
    });
    for (int n = 0; n < 2000; ++n) {
        auto lock = proposal->lockRooms();
        for (const auto& room : proposal->getRooms()) {
            // Inside the lock a room is either reset or fully placed.
            if (!room->contour.empty()) {
                EXPECT_EQ(room->contour[0].x, room->position.x);
            }
        }
    }
    writer.join();
}

} // namespace
