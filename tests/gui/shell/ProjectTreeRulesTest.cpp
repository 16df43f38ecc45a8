#include "proposal/InnerContours.h"
#include "shell/ProjectTreeRules.h"
#include "shell/RibbonTable.h"

#include "model/Building.h"
#include "model/Project.h"
#include "model/Proposal.h"
#include "model/Requirement.h"
#include "model/Site.h"
#include "support/FileSupport.h"
#include "support/ModelFixtures.h"
#include "support/SamePolygon.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using namespace kovra_test;

struct MenuCase {
    const char* what;
    TreeItemKind item;
    TreeObjectKind object;
    std::vector<TreeMenuEntry> entries;
};

const TreeMenuEntry separator{TREE_MENU_SEPARATOR, ""};
const TreeMenuEntry rename{ID_RENAME_OBJECT, "Rename"};
const TreeMenuEntry remove{ID_DELETE_OBJECT, "Delete"};
const TreeMenuEntry duplicate{ID_DUPLICATE_OBJECT, "Duplicate"};

class TreeMenu : public ::testing::TestWithParam<MenuCase> {};

TEST_P(TreeMenu, OffersTheEntriesOfTheClickedItem)
{
    const MenuCase& c = GetParam();
    EXPECT_EQ(treeMenuEntries(c.item, c.object), c.entries) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Items, TreeMenu,
    ::testing::Values(
        MenuCase{"root", TreeItemKind::Root, TreeObjectKind::None, {{ID_RENAME_PROJECT, "Rename Project"}}},
        MenuCase{"buildings", TreeItemKind::Buildings, TreeObjectKind::None, {{ID_NEW_BUILDING, "New building..."}}},
        MenuCase{"requirement sets",
                 TreeItemKind::RequirementSets,
                 TreeObjectKind::None,
                 {{ID_NEW_REQUIREMENT_SET, "New requirements..."},
                  {ID_IMPORT_REQUIREMENT_SET, "Import requirements..."}}},
        MenuCase{"proposals", TreeItemKind::Proposals, TreeObjectKind::None, {{ID_NEW_PROPOSAL, "New proposal..."}}},
        MenuCase{"sites", TreeItemKind::Sites, TreeObjectKind::None, {{ID_NEW_SITE, "New site..."}}},
        MenuCase{"building",
                 TreeItemKind::Object,
                 TreeObjectKind::Building,
                 {{ID_NEW_BUILDING, "New building..."}, separator, rename, remove, duplicate}},
        MenuCase{"requirement set",
                 TreeItemKind::Object,
                 TreeObjectKind::RequirementSet,
                 {{ID_NEW_REQUIREMENT_SET, "New requirements..."},
                  {ID_IMPORT_REQUIREMENT_SET, "Import requirements..."},
                  separator,
                  rename,
                  remove,
                  duplicate}},
        MenuCase{"proposal",
                 TreeItemKind::Object,
                 TreeObjectKind::Proposal,
                 {{ID_NEW_PROPOSAL, "New proposal..."}, separator, rename, remove}},
        MenuCase{"site", TreeItemKind::Object, TreeObjectKind::Site, {{ID_NEW_SITE, "New site..."}, separator, rename, remove}},
        MenuCase{"nothing", TreeItemKind::None, TreeObjectKind::None, {}}),
    [](const auto& info) {
        std::string name = info.param.what;
        std::replace(name.begin(), name.end(), ' ', '_');
        return name;
    });

// A project whose proposal uses the first building and the set, and whose
// site stands on the first building too.
struct UsedProject {
    UsedProject()
    {
        project.addBuilding(house);
        project.addBuilding(shed);
        project.addRequirementSet(brief);
        project.addRequirementSet(spare);
        auto proposal = makeProposal(house, brief);
        proposal->name = "Variant A";
        project.proposals.push_back(proposal);
        auto site = std::make_shared<bg::Site>();
        site->name = "Plot";
        site->building = house;
        project.sites.push_back(site);
    }

    bg::Project project{"Used"};
    std::shared_ptr<bg::Building> house = makeRectBuilding(10, 8, 1, 2.75);
    std::shared_ptr<bg::Building> shed = makeRectBuilding(4, 3);
    std::shared_ptr<bg::RequirementSet> brief = makeRequirementSet({makeRequirement(0, "Living", 20)});
    std::shared_ptr<bg::RequirementSet> spare = makeRequirementSet({makeRequirement(0, "Store", 5)});
};

TEST(TreeDelete, RefusesAnObjectStillInUseAndNamesItsUsers)
{
    UsedProject used;
    used.house->name = "House";
    used.brief->name = "Brief";
    EXPECT_EQ(deletionBlocker(used.project, used.house),
              "House is used by the proposal Variant A and the site Plot. Delete them first.");
    EXPECT_EQ(deletionBlocker(used.project, used.brief), "Brief is used by the proposal Variant A. Delete the proposal first.");
    EXPECT_EQ(deletionBlocker(used.project, used.shed), "");
    EXPECT_EQ(deletionBlocker(used.project, used.spare), "");

    used.project.sites.clear();
    EXPECT_EQ(deletionBlocker(used.project, used.house), "House is used by the proposal Variant A. Delete the proposal first.");
}

TEST(TreeDuplicate, CopiesABuildingWithItsFloorsAndParametersToTheEnd)
{
    UsedProject used;
    used.house->name = "House";
    used.house->parameters.outerWallStrength = 0.45;
    auto copy = duplicateBuilding(used.project, used.house);
    EXPECT_EQ(copy->name, "House_2");
    EXPECT_EQ(used.project.buildings.back(), copy);
    ASSERT_EQ(copy->floors.size(), used.house->floors.size());
    EXPECT_NE(copy->floors.front(), used.house->floors.front());
    EXPECT_TRUE(samePolygon(copy->floors.front()->contour, used.house->floors.front()->contour));
    EXPECT_EQ(copy->parameters.outerWallStrength, 0.45);
    EXPECT_EQ(duplicateBuilding(used.project, copy)->name, "House_2_2");
    EXPECT_EQ(used.house->name, "House");
}

TEST(TreeDuplicate, CopiesEachRequirementOfASet)
{
    UsedProject used;
    used.brief->name = "Brief";
    auto copy = duplicateRequirementSet(used.project, used.brief);
    EXPECT_EQ(copy->name, "Brief_2");
    EXPECT_EQ(used.project.requirementSets.back(), copy);
    ASSERT_EQ(copy->requirements.size(), 1u);
    EXPECT_NE(copy->requirements[0], used.brief->requirements[0]);
    EXPECT_EQ(copy->requirements[0]->getName(), "Living");
    EXPECT_EQ(copy->requirements[0]->getArea(), 20);
}

TEST(InnerContours, PlacedRoomsOnTheBuildingsLevelsGetTheirInset)
{
    bg::Project project("P");
    auto building = makeRectBuilding(10, 8, 3); // levels 0 to 2
    auto proposal = makeProposal(building, makeRequirementSet({makeRequirement(0, "A", 12), makeRequirement(1, "B", 9),
                                                               makeRequirement(2, "C", 9)}));
    project.proposals.push_back(proposal);
    auto& placed = proposal->rooms[0];
    placed->level = 1;
    placed->contour = {{0, 0}, {4, 0}, {4, 3}, {0, 3}};
    auto& unplaced = proposal->rooms[1];
    unplaced->level = -999;
    unplaced->contour.clear();
    unplaced->innerContour.clear();
    auto& outside = proposal->rooms[2];
    outside->level = 5;
    outside->contour = {{0, 0}, {2, 0}, {2, 2}, {0, 2}};
    outside->innerContour.clear();

    recomputeInnerContours(&project);
    EXPECT_TRUE(samePolygon(placed->innerContour, {{0.1, 0.1}, {3.9, 0.1}, {3.9, 2.9}, {0.1, 2.9}}));
    EXPECT_TRUE(unplaced->innerContour.empty());
    EXPECT_TRUE(outside->innerContour.empty());
    recomputeInnerContours(nullptr); // no project: nothing to do
}

} // namespace
