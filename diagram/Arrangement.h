#pragma once

// Spring arrangement of boxes: Graphviz's neato with overlap removal.

#include "diagram/Graph.h"

#include <cstddef>
#include <utility>
#include <vector>

namespace diagram {

// Box centres for boxes of the given sizes (in points, 72 to the inch)
// joined by the given links (pairs of box indices), such that no two boxes
// overlap. A positive `aspect` (height / width of the view) stretches the
// arrangement along one axis towards that shape. The same input gives the
// same positions. Throws
// std::runtime_error when Graphviz fails. GUI thread only: Graphviz keeps
// global state.
std::vector<Point> arrangeBoxes(const std::vector<Size>& boxes,
                                const std::vector<std::pair<std::size_t, std::size_t>>& links,
                                double aspect = 0.0);

} // namespace diagram
