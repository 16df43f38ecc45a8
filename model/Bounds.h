#pragma once

// The ranges the project keeps its values in. Every door a value comes in by
// (project and requirement files, the pages' fields, the room dialog) refuses
// what lies outside them, so that whatever is stored can be saved, opened
// again and exported: level arithmetic never overflows, and no size or index
// grows beyond what the writers, the geometry and the IFC export can carry.

#include <cmath>
#include <stdexcept>
#include <string>

namespace bg {

// Floor levels, and the levels requirements ask for (besides anyFloor).
// Far beyond any building (a file may hold many thousands of floors), and
// far from the integer limits, so that a level plus or minus the number of
// levels never overflows.
constexpr int lowestLevel = -100000;
constexpr int highestLevel = 100000;

// A construction dimension of a building (wall and slab thickness, door and
// window sizes, heights), in metres.
constexpr double largestConstructionDimension = 1000.0;

// What the room dialog takes for a room's side, in metres, and for its area
// (the side's square): the bounds the check before a run holds a
// requirement to.
constexpr double largestRoomSide = 1.0e4;
constexpr double largestRoomArea = largestRoomSide * largestRoomSide;

// Requirement indices, which the room dialog counts upwards from.
constexpr int largestRoomIndex = 1000000000;

inline bool levelInRange(long long level)
{
    return level >= lowestLevel && level <= highestLevel;
}

// Throws std::out_of_range "<what>: level <level> lies outside -100000 to 100000."
inline void checkLevel(long long level, const std::string& what)
{
    if (!levelInRange(level))
        throw std::out_of_range(what + ": level " + std::to_string(level) + " lies outside " +
                                std::to_string(lowestLevel) + " to " + std::to_string(highestLevel) + ".");
}

// A construction dimension lies within 0 to largestConstructionDimension
// metres; a glazing factor is a share from 0 to 1.
inline bool constructionDimensionInRange(double metres)
{
    return metres >= 0.0 && metres <= largestConstructionDimension;
}

inline bool glazingFactorInRange(double factor)
{
    return factor >= 0.0 && factor <= 1.0;
}

} // namespace bg
