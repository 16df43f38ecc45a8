#pragma once

#include <string>

// The names of solver variables and constraints. Recorded solutions and the
// read-back find values by these names, so every name is made here.
namespace modelnames {

// "_" + index + "_": the tag that ends every per-room name (index 3: "_3_").
std::string roomTag(int index);

// Room variables: prefix + "_" + tag for the prefixes "x", "y", "l", "w" and
// "z" (prefix "x", index 3: "x__3_").
std::string roomVarName(const char* prefix, int index);
// "l_w_z" + tag: the link of a room's extents and its net area.
std::string shapeConsName(int index);
// Level binary of the floor-assignment model: "f_" + tag + level + "_level_".
std::string levelVarName(int index, int level);
// Integer floor variable of the integer-floor model: "f_" + tag.
std::string floorVarName(int index);
// "level" + tag: a room of the floor-assignment model lies on exactly one level.
std::string levelChoiceConsName(int index);
// Same-level binary of the rooms at positions p < q: the solver knows it as
// "floor" + tag(p) + tag(q), the registry as "levels" + tag(p) + tag(q).
std::string sameLevelVarName(int p, int q);
std::string sameLevelKey(int p, int q);

// The side words of the disjunctions.
extern const char* const sideLeft;   // "_left_"
extern const char* const sideRight;  // "_right_"
extern const char* const sideTop;    // "_top_"
extern const char* const sideBottom; // "_bottom_"

// tag(room) + "_ob_" + "_" + obstacle + "_" + side; obstacles are numbered
// over the whole list, all floors together.
std::string obstacleVarName(int roomIndex, int obstacle, const char* side);
// "_" + i + "_" + "_overlap_" + "_" + j + "_" + side for the rooms at
// positions i < j of the requirement set.
std::string overlapVarName(int i, int j, const char* side);
// "_" + i + "_" + "_overlap_" + "_" + j + "_": at least one side binary of the
// pair holds when the two rooms share a level (floor-assignment model).
std::string overlapConsName(int i, int j);
// "Aspect_ratio_Horizontal_" or "Aspect_ratio_Vertical_" + tag +
// "_Lower_bound" or "_Upper_bound".
std::string aspectConsName(bool horizontal, int index, bool lower);
// "Boundary_" + direction + "_auxiliary_" + tag; direction "east", "south",
// "west", "north" or "any".
std::string boundaryConsName(const std::string& direction, int index);
// tag(i) + "_withDoorVar_" + tag(j).
std::string doorVarName(int i, int j);
// tag(i) + "_withDoorCons_" + tag(j) + suffix ("_xlhs", "_xrhs", "_ylhs",
// "_yrhs").
std::string doorConsName(int i, int j, const char* suffix);
// tag(r) + "_connected_" + tag(a): which wall the connected rooms r and a
// share in the floor-assignment model.
std::string connectionVarName(int r, int a);

} // namespace modelnames
