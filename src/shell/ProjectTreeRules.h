#pragma once

// What the project tree offers and does to the project, apart from the
// window: the context menu's entries, the rule that refuses deleting an
// object another one still uses, and duplication. Tested without a window.

#include <memory>
#include <string>
#include <vector>

namespace bg {
class Building;
class Project;
class RequirementSet;
} // namespace bg

// Context-menu ids of the tree (the "New ..." entries share the ribbon ids).
enum {
    ID_RENAME_PROJECT = 20037,
    ID_DELETE_OBJECT = 20038,
    ID_RENAME_OBJECT = 20039,
    ID_DUPLICATE_OBJECT = 20040,
};

// The kind of a tree item: the root, one of the four containers, or an
// object item (whose object kind is given separately).
enum class TreeItemKind { None, Root, Buildings, RequirementSets, Proposals, Sites, Object };
enum class TreeObjectKind { None, Building, RequirementSet, Proposal, Site };

struct TreeMenuEntry {
    int id; // TREE_MENU_SEPARATOR for a separator
    const char* label;
    bool operator==(const TreeMenuEntry& other) const;
};
constexpr int TREE_MENU_SEPARATOR = -1;

// The context menu's entries, in order, for the item clicked and the object
// it holds.
std::vector<TreeMenuEntry> treeMenuEntries(TreeItemKind item, TreeObjectKind object);

// Why the object may not be deleted from the project ("House is used by the
// proposal Variant A. Delete the proposal first."); empty when nothing in the
// project uses it.
std::string deletionBlocker(const bg::Project& project, const std::shared_ptr<bg::Building>& building);
std::string deletionBlocker(const bg::Project& project, const std::shared_ptr<bg::RequirementSet>& requirementSet);

// A copy named name + "_2" appended to the project: the building with copies
// of its floors and its parameters, the set with a copy of each requirement.
std::shared_ptr<bg::Building> duplicateBuilding(bg::Project& project, const std::shared_ptr<bg::Building>& source);
std::shared_ptr<bg::RequirementSet> duplicateRequirementSet(bg::Project& project,
                                                            const std::shared_ptr<bg::RequirementSet>& source);
