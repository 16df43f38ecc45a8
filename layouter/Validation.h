#pragma once

#include <memory>
#include <string>
#include <vector>

namespace bg {
class Proposal;
}

// Checks a proposal's data before a model is built from it and returns every
// problem in words a user understands, one sentence each; empty when a model
// can be built. Looks at the building's floors and at each requirement's
// index, level, numbers, limits and adjacency list. Outline points farther
// than 10 km from the origin, lengths and widths above 10 km, areas above
// 100 km^2 and aspect ratios above a million are refused as well.
std::vector<std::string> validateProposal(const std::shared_ptr<bg::Proposal>& proposal);
