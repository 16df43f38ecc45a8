#include "CommandRules.h"

#include "RibbonTable.h"

#include "model/Project.h"

#include <algorithm>

CommandContext commandContext(const bg::Project* project, bool connected)
{
    CommandContext context;
    context.projectOpen = project != nullptr;
    context.buildings = project ? project->buildings.size() : 0;
    context.requirementSets = project ? project->requirementSets.size() : 0;
    context.connected = connected;
    return context;
}

bool isCommandEnabled(int id, const CommandContext& context)
{
    switch (id) {
    case ID_NEW_BUILDING:
        return context.projectOpen;
    case ID_NEW_REQUIREMENT_SET:
    case ID_IMPORT_REQUIREMENT_SET:
    case ID_NEW_SITE:
        return context.projectOpen && context.buildings > 0;
    case ID_NEW_PROPOSAL:
        return context.projectOpen && context.buildings > 0 && context.requirementSets > 0;
    case ID_PLATFORM_SAVE_PROJECT:
        return context.connected && context.projectOpen;
    default:
        return true;
    }
}

std::string requirementSetNameFor(const std::string& path)
{
    const std::size_t slash = path.find_last_of("/\\");
    const std::string file = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::string name = file.substr(0, file.find('.'));
    return name.empty() ? file : name;
}

FrameSize initialFrameSize(int areaWidth, int areaHeight)
{
    constexpr int neededWidth = 1200;
    constexpr int neededHeight = 760;
    return {std::min(areaWidth, std::max(2 * areaWidth / 3, neededWidth)),
            std::min(areaHeight, std::max(2 * areaHeight / 3, neededHeight))};
}

const std::vector<CommandKey>& projectCommandKeys()
{
    static const std::vector<CommandKey> keys = {
        {'N', ID_NEW_PROJECT}, {'O', ID_LOAD_PROJECT}, {'S', ID_SAVE_PROJECT}};
    return keys;
}
