#pragma once

// What the requirement-set page shows and does to its set, apart from the
// window: the table's cells, the diagram's nodes and edges, and the removal
// of a room. Tested without a window.

#include "diagram/Graph.h"

#include <string>
#include <vector>

namespace bg {
class Requirement;
class RequirementSet;
} // namespace bg

struct RequirementColumn {
    const char* title;
    int width; // pixels
};

// The table's 18 columns in order.
const std::vector<RequirementColumn>& requirementColumns();

// The 18 cells of the requirement's row.
std::vector<std::string> requirementRow(const bg::Requirement& requirement);

// A room type's fill colour in the diagram; white for a type not known.
diagram::Colour diagramNodeColour(const std::string& roomType);

// The text of the node that stands for an empty set.
extern const char* const PLACEHOLDER_NODE_TEXT;

// Refills the graph: one node per requirement (its position in the set as
// id), one edge per adjacency entry that names a position, or the single
// placeholder node for an empty set.
void fillRequirementGraph(diagram::Graph& graph, const bg::RequirementSet& set);

// Removes the first requirement with that index and renumbers the others and
// their adjacency lists so that indices run 0, 1, 2 ... again and every entry
// names the same room. False when no requirement has the index.
bool removeRequirementByIndex(bg::RequirementSet& set, int index);
