#include "CommandRules.h"

#include "model/Project.h"

bool canAddBuilding(const bg::Project* project)
{
    return project != nullptr;
}

bool canAddWithBuilding(const bg::Project* project)
{
    return project && !project->buildings.empty();
}

bool canAddProposal(const bg::Project* project)
{
    return canAddWithBuilding(project) && !project->requirementSets.empty();
}

bool canSaveToPlatform(const bg::Project* project, bool connected)
{
    return connected && project;
}
