#include "ProjectTreeRules.h"

#include "RibbonTable.h"

#include "model/Building.h"
#include "model/Project.h"
#include "model/Proposal.h"
#include "model/Requirement.h"
#include "model/Site.h"

#include <cstring>

bool TreeMenuEntry::operator==(const TreeMenuEntry& other) const
{
    return id == other.id && std::strcmp(label, other.label) == 0;
}

std::vector<TreeMenuEntry> treeMenuEntries(TreeItemKind item, TreeObjectKind object)
{
    std::vector<TreeMenuEntry> entries;
    if (item == TreeItemKind::Root)
        entries.push_back({ID_RENAME_PROJECT, "Rename Project"});
    if (item == TreeItemKind::Buildings || object == TreeObjectKind::Building)
        entries.push_back({ID_NEW_BUILDING, "New building..."});
    if (item == TreeItemKind::RequirementSets || object == TreeObjectKind::RequirementSet) {
        entries.push_back({ID_NEW_REQUIREMENT_SET, "New requirements..."});
        entries.push_back({ID_IMPORT_REQUIREMENT_SET, "Import requirements..."});
    }
    if (item == TreeItemKind::Proposals || object == TreeObjectKind::Proposal)
        entries.push_back({ID_NEW_PROPOSAL, "New proposal..."});
    if (item == TreeItemKind::Sites || object == TreeObjectKind::Site)
        entries.push_back({ID_NEW_SITE, "New site..."});
    if (object != TreeObjectKind::None) {
        entries.push_back({TREE_MENU_SEPARATOR, ""});
        entries.push_back({ID_RENAME_OBJECT, "Rename"});
        entries.push_back({ID_DELETE_OBJECT, "Delete"});
        if (object == TreeObjectKind::Building || object == TreeObjectKind::RequirementSet)
            entries.push_back({ID_DUPLICATE_OBJECT, "Duplicate"});
    }
    return entries;
}

namespace {

// "the proposal A", "the proposals A, B", joined with "and".
std::string users(const char* kind, const std::vector<std::string>& names)
{
    std::string text = std::string("the ") + kind + (names.size() > 1 ? "s " : " ");
    for (std::size_t i = 0; i < names.size(); ++i)
        text += (i == 0 ? "" : ", ") + names[i];
    return text;
}

std::string blocker(const std::string& name, const std::vector<std::string>& proposals,
                    const std::vector<std::string>& sites)
{
    if (proposals.empty() && sites.empty())
        return std::string();
    std::string text = name + " is used by ";
    if (!proposals.empty())
        text += users("proposal", proposals);
    if (!proposals.empty() && !sites.empty())
        text += " and ";
    if (!sites.empty())
        text += users("site", sites);
    const bool one = proposals.size() + sites.size() == 1;
    text += ". Delete ";
    text += one ? (proposals.empty() ? "the site" : "the proposal") : "them";
    return text + " first.";
}

} // namespace

std::string deletionBlocker(const bg::Project& project, const std::shared_ptr<bg::Building>& building)
{
    std::vector<std::string> proposals, sites;
    for (const auto& proposal : project.proposals) {
        if (proposal->building == building)
            proposals.push_back(proposal->name);
    }
    for (const auto& site : project.sites) {
        if (site->building == building)
            sites.push_back(site->name);
    }
    return blocker(building->name, proposals, sites);
}

std::string deletionBlocker(const bg::Project& project, const std::shared_ptr<bg::RequirementSet>& requirementSet)
{
    std::vector<std::string> proposals;
    for (const auto& proposal : project.proposals) {
        if (proposal->requirementSet == requirementSet)
            proposals.push_back(proposal->name);
    }
    return blocker(requirementSet->name, proposals, {});
}

std::shared_ptr<bg::Building> duplicateBuilding(bg::Project& project, const std::shared_ptr<bg::Building>& source)
{
    auto copy = std::make_shared<bg::Building>(source->name + "_2");
    copy->copyFrom(source);
    project.addBuilding(copy);
    return copy;
}

std::shared_ptr<bg::RequirementSet> duplicateRequirementSet(bg::Project& project,
                                                            const std::shared_ptr<bg::RequirementSet>& source)
{
    auto copy = std::make_shared<bg::RequirementSet>(source->name + "_2");
    for (const auto& requirement : source->requirements)
        copy->requirements.push_back(std::make_shared<bg::Requirement>(requirement));
    project.addRequirementSet(copy);
    return copy;
}
