#pragma once

// An independent check of a placed layout: given a proposal whose rooms carry
// a solution, list every broken layout rule in words. It uses no solver, so a
// wrong or missing model constraint shows up as a named violation.
//
//   auto problems = kovra_test::checkLayout(proposal, {});
//   EXPECT_TRUE(problems.empty()) << kovra_test::describe(problems);
//
// One function per rule family in LayoutChecker.cpp.

#include "model/Proposal.h"

#include <memory>
#include <string>
#include <vector>

namespace kovra_test {

// A rectangle rooms must keep clear of, on one level.
struct KeepOut {
    int level;
    double x, y, width, height;
};

struct LayoutRules {
    // false: the rooms of a level cover its usable area exactly.
    bool allowFreeSpace = true;
    // No two rooms of one level overlapping, rooms clear of `keepOut`, aspect
    // ratios within their ranges.
    bool separation = true;
    // Facade wishes (the first boundary entry) and "Entrance" rooms touching
    // some wall of their floor.
    bool facades = false;
    // Adjacent rooms lie on one level and share a wall at least a door wide.
    bool doors = false;
    // Extra rectangles to keep clear of (such as the optimiser's obstacles);
    // the floor outline itself is always checked.
    std::vector<KeepOut> keepOut;
    // The integer-floor model's rooms: the rectangle is the net room (its
    // sides and area are the room's own, no wall taken off), and the floor
    // fill and the facade walls are those of the layout outline, the contour
    // inset by the whole outer wall. Containment and obstacles are checked
    // as for every model.
    bool netRectangles = false;
    // Metres; lengths within this count as equal.
    double tolerance = 1e-3;
};

// Every violated rule, one sentence each; empty for a sound layout. Always:
// each room placed on its requirement's level and floor, inside the usable
// outline of its floor (contour inset by the outer wall less half an inner
// wall), with net length, width and area within the requirement's limits;
// all stair rooms on one rectangle; the rooms of each level filling its
// usable area (exactly or at most). As asked: separation, facades, doors.
std::vector<std::string> checkLayout(const std::shared_ptr<bg::Proposal>& proposal,
                                     const LayoutRules& rules);

// The violations one per line, for a test's failure message.
std::string describe(const std::vector<std::string>& violations);

} // namespace kovra_test
