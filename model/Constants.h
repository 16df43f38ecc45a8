#pragma once

// Values that stand for "nothing" in the data model and its files. Files store
// them as the number -999, so they share that value; the names say which
// meaning a place relies on.

namespace bg {

// A requirement's level when its room may go on any floor.
constexpr int anyFloor = -999;
// A proposal room's level before the optimiser has placed it.
constexpr int notPlaced = -999;
// Both coordinates of a requirement's expected position when it has none.
constexpr double noExpectedPosition = -999.0;
// The index to add when an adjacency update only removes one.
constexpr int noIndexToAdd = -999;

} // namespace bg
