#include "RequirementTable.h"

#include "model/Constants.h"
#include "model/Requirement.h"

#include <cstdio>

const char* const PLACEHOLDER_NODE_TEXT = "Double Click to create your first room";

const std::vector<RequirementColumn>& requirementColumns()
{
    static const std::vector<RequirementColumn> columns = {
        {"RoomIndex", 90},       {"RoomName", 125},         {"Adjacency", 125},         {"RoomType", 125},
        {"Area (m\u00b2)", 90},  {"Boundaries", 125},       {"Level", 90},              {"Length (m)", 90},
        {"Width (m)", 90},       {"Min. Area", 90},         {"Max. Area", 90},          {"Min. Length", 90},
        {"Max. Length", 90},     {"Min. Width", 90},        {"Max. Width", 90},         {"Min. AspectRatio", 90},
        {"Max. AspectRatio", 90}, {"TargetPositions", 125},
    };
    return columns;
}

namespace {

std::string format(const char* pattern, double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, pattern, value);
    return buffer;
}

std::string twoDecimals(double value)
{
    return format("%.2f", value);
}

std::string coordinate(double value)
{
    return value == bg::noExpectedPosition ? "any" : format("%f", value);
}

template <typename T, typename Text>
std::string joined(const std::vector<T>& values, Text text)
{
    std::string result;
    for (std::size_t i = 0; i < values.size(); ++i)
        result += (i ? "," : "") + text(values[i]);
    return result;
}

} // namespace

std::vector<std::string> requirementRow(const bg::Requirement& r)
{
    return {
        std::to_string(r.index),
        r.name,
        // The codes of the file ({-1}, -999) are no words for a user.
        r.connectedIndices().empty() ? std::string("none")
                                     : joined(r.connectedIndices(), [](int entry) { return std::to_string(entry); }),
        r.roomType,
        twoDecimals(r.area),
        joined(r.boundaries, [](const std::string& wish) { return wish; }),
        r.level == bg::anyFloor ? std::string("any floor") : std::to_string(r.level),
        twoDecimals(r.targetLength),
        twoDecimals(r.targetWidth),
        twoDecimals(r.minAreaError),
        twoDecimals(r.maxAreaError),
        twoDecimals(r.minLength),
        twoDecimals(r.maxLength),
        twoDecimals(r.minWidth),
        twoDecimals(r.maxWidth),
        twoDecimals(r.minAspectRatio),
        twoDecimals(r.maxAspectRatio),
        "(" + coordinate(r.expectedPosition.x) + ", " + coordinate(r.expectedPosition.y) + ")",
    };
}

diagram::Colour diagramNodeColour(const std::string& roomType)
{
    struct Entry {
        const char* type;
        diagram::Colour fill;
    };
    static const Entry table[] = {
        {"Corridor", {1, 0, 0}},           {"Entrance", {1, 0, 0}}, {"Live and eat", {0, 0.59, 0.51}},
        {"Bedroom", {0.98, 0.57, 0}},      {"Kitchen and cleaning", {0, 1, 0}},
        {"Workroom", {0, 0, 1}},           {"Garden", {1, 1, 0}},   {"Stair", {0.5, 0.5, 0.5}},
    };
    for (const Entry& entry : table)
        if (roomType == entry.type)
            return entry.fill;
    return {1, 1, 1};
}

void fillRequirementGraph(diagram::Graph& graph, const bg::RequirementSet& set)
{
    const auto factory = diagram::createWidgetFactory();
    graph.nodes.clear();
    graph.edges.clear();
    if (set.requirements.empty()) {
        diagram::Node placeholder;
        placeholder.id = 0;
        placeholder.fill = {0, 0.59, 0.51};
        placeholder.position = {0, 0};
        placeholder.size = {60, 60};
        placeholder.labels = {factory->createLabel(PLACEHOLDER_NODE_TEXT, 12)};
        graph.nodes.push_back(placeholder);
        return;
    }
    const auto count = static_cast<int>(set.requirements.size());
    for (int i = 0; i < count; ++i) {
        const bg::Requirement& requirement = *set.requirements[static_cast<std::size_t>(i)];
        diagram::Node node;
        node.id = i;
        node.position = {static_cast<double>(i), static_cast<double>(i)};
        node.size = {40, 40};
        node.fill = diagramNodeColour(requirement.roomType);
        node.labels = {factory->createLabel(requirement.name, 12),
                       factory->createLabel(std::to_string(requirement.index), 12)};
        graph.nodes.push_back(node);
    }
    for (int i = 0; i < count; ++i)
        for (int entry : set.requirements[static_cast<std::size_t>(i)]->adjacency) {
            if (entry == -1)
                break;
            // An entry that names no position of the set has no node to meet.
            if (entry >= 0 && entry < count)
                graph.edges.push_back({4.0, i, entry});
        }
}

bool removeRequirementByIndex(bg::RequirementSet& set, int index)
{
    for (std::size_t position = 0; position < set.requirements.size(); ++position)
        if (set.requirements[position]->index == index) {
            set.removeRequirement(position);
            return true;
        }
    return false;
}
