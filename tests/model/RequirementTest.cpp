#include "model/Requirement.h"

#include "support/ModelFixtures.h"

#include <gtest/gtest.h>

#include <iterator>

namespace {

using kovra_test::makeRequirement;
using kovra_test::makeRequirementSet;

TEST(Requirement, DefaultIsHorizontalAndEmpty)
{
    auto requirement = std::make_shared<bg::Requirement>();
    EXPECT_EQ(requirement->getOrientation(), "horizontal");
    EXPECT_EQ(requirement->getName(), "");
    EXPECT_EQ(requirement->getRoomType(), "");
    EXPECT_TRUE(requirement->getAdjacency().empty());
    EXPECT_TRUE(requirement->getBoundaries().empty());
    EXPECT_EQ(requirement->getTargetSize(), std::make_pair(0.0, 0.0));
    EXPECT_EQ(requirement->getAreaErrorRange(), std::make_pair(0.0, 0.0));
    EXPECT_EQ(requirement->expectedPosition.x, 0.0);
    EXPECT_EQ(requirement->expectedPosition.y, 0.0);
    EXPECT_EQ(requirement->lock, 0);
}

TEST(Requirement, FullConstructorKeepsEveryFieldInOrder)
{
    bg::Requirement requirement(3, "Kitchen", {1, 2}, 12.0, "Kitchen and cleaning", {4.0, 3.0}, {2.0, 6.0},
                                {1.5, 4.5}, {0.5, 2.5}, Vec2(1.0, 2.0), 1, {"south"}, {10.0, 15.0}, 4);
    EXPECT_EQ(requirement.getIndex(), 3);
    EXPECT_EQ(requirement.getName(), "Kitchen");
    EXPECT_EQ(requirement.getAdjacency(), (std::vector<int>{1, 2}));
    EXPECT_EQ(requirement.getArea(), 12.0);
    EXPECT_EQ(requirement.getRoomType(), "Kitchen and cleaning");
    EXPECT_EQ(requirement.getTargetSize(), std::make_pair(4.0, 3.0));
    EXPECT_EQ(requirement.getLengthRange(), std::make_pair(2.0, 6.0));
    EXPECT_EQ(requirement.getWidthRange(), std::make_pair(1.5, 4.5));
    EXPECT_EQ(requirement.getAspectRatioRange(), std::make_pair(0.5, 2.5));
    EXPECT_EQ(requirement.expectedPosition.x, 1.0);
    EXPECT_EQ(requirement.expectedPosition.y, 2.0);
    EXPECT_EQ(requirement.getLevel(), 1);
    EXPECT_EQ(requirement.getBoundaries(), (std::vector<std::string>{"south"}));
    EXPECT_EQ(requirement.getAreaErrorRange(), std::make_pair(10.0, 15.0));
    EXPECT_EQ(requirement.lock, 4);
    EXPECT_EQ(requirement.getOrientation(), "horizontal");
}

TEST(Requirement, CopyHasItsOwnListsAndIsHorizontal)
{
    auto source = makeRequirement(2, "Bath", 6.0, 1, {0, 1}, "Workroom", {"north"});
    source->orientation = "vertical";
    auto copy = std::make_shared<bg::Requirement>(source);

    EXPECT_EQ(copy->getOrientation(), "horizontal");
    EXPECT_EQ(copy->index, 2);
    EXPECT_EQ(copy->name, "Bath");
    EXPECT_EQ(copy->area, 6.0);
    EXPECT_EQ(copy->roomType, "Workroom");
    EXPECT_EQ(copy->getLengthRange(), source->getLengthRange());
    EXPECT_EQ(copy->getWidthRange(), source->getWidthRange());
    EXPECT_EQ(copy->getAspectRatioRange(), source->getAspectRatioRange());
    EXPECT_EQ(copy->getAreaErrorRange(), source->getAreaErrorRange());
    EXPECT_EQ(copy->level, 1);
    EXPECT_EQ(copy->adjacency, source->adjacency);
    EXPECT_EQ(copy->boundaries, source->boundaries);

    copy->adjacency.push_back(5);
    copy->boundaries.push_back("east");
    EXPECT_EQ(source->adjacency.size(), 2u);
    EXPECT_EQ(source->boundaries.size(), 1u);
}

struct ConnectedCase {
    std::vector<int> adjacency;
    std::vector<int> connected;
};

TEST(Requirement, ConnectedIndicesEndAtTheFirstMinusOne)
{
    const ConnectedCase cases[] = {
        {{}, {}}, {{-1}, {}}, {{1, 2}, {1, 2}}, {{2, -1, 3}, {2}}, {{4, 4, -1}, {4, 4}},
    };
    for (std::size_t row = 0; row < std::size(cases); ++row) {
        bg::Requirement requirement;
        requirement.adjacency = cases[row].adjacency;
        EXPECT_EQ(requirement.connectedIndices(), cases[row].connected) << "row " << row;
    }
}

struct AdjacencyCase {
    std::vector<int> before;
    std::vector<int> after;
};

TEST(RequirementSet, UpdateAdjacencyTakesTheRemovedIndexOutOfEveryList)
{
    const AdjacencyCase cases[] = {
        {{2}, {-1}},      {{4, 2, 1}, {1, 4}}, {{2, 2}, {-1}},
        {{-1}, {-1}},     {{}, {}},            {{3, 1}, {3, 1}},
    };
    std::vector<std::shared_ptr<bg::Requirement>> requirements;
    for (const AdjacencyCase& row : cases)
        requirements.push_back(makeRequirement(static_cast<int>(requirements.size()), "Room", 10, 0, row.before));
    auto set = makeRequirementSet(requirements);

    set->updateAdjacency(2, -999);

    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(set->requirements[i]->adjacency, cases[i].after) << "row " << i;
}

TEST(RequirementSet, RemovingARequirementRenumbersIndicesAndAdjacency)
{
    auto set = makeRequirementSet({
        makeRequirement(0, "Hall", 8, 0, {1, 2, 3}),
        makeRequirement(1, "Living", 20, 0, {0, 2}),
        makeRequirement(2, "Kitchen", 12, 0, {1}),
        makeRequirement(3, "Bath", 6, 0, {0}),
        makeRequirement(4, "Store", 4, 0, {}),
    });

    set->removeRequirement(1);

    ASSERT_EQ(set->requirements.size(), 4u);
    const std::vector<std::pair<std::string, std::vector<int>>> expected = {
        {"Hall", {1, 2}}, {"Kitchen", {-1}}, {"Bath", {0}}, {"Store", {-1}}};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(set->requirements[i]->index, static_cast<int>(i)) << "position " << i;
        EXPECT_EQ(set->requirements[i]->name, expected[i].first) << "position " << i;
        EXPECT_EQ(set->requirements[i]->adjacency, expected[i].second) << "position " << i;
    }
}

TEST(RequirementSet, DefaultNameIsNew)
{
    auto set = std::make_shared<bg::RequirementSet>();
    EXPECT_EQ(set->name, "New");
    EXPECT_TRUE(set->getRequirements().empty());
    bg::RequirementSet* plain = set.get();
    EXPECT_EQ(plain->shared_from_this(), set);
    auto requirement = makeRequirement(0, "Hall", 8);
    bg::Requirement* plainRequirement = requirement.get();
    EXPECT_EQ(plainRequirement->shared_from_this(), requirement);
}

} // namespace
