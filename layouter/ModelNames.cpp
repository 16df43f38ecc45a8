#include "layouter/ModelNames.h"

namespace modelnames {

const char* const sideLeft = "_left_";
const char* const sideRight = "_right_";
const char* const sideTop = "_top_";
const char* const sideBottom = "_bottom_";

std::string roomTag(int index)
{
    return "_" + std::to_string(index) + "_";
}

std::string roomVarName(const char* prefix, int index)
{
    return prefix + ("_" + roomTag(index));
}

std::string shapeConsName(int index)
{
    return "l_w_z" + roomTag(index);
}

std::string levelVarName(int index, int level)
{
    return "f_" + roomTag(index) + std::to_string(level) + "_level_";
}

std::string floorVarName(int index)
{
    return "f_" + roomTag(index);
}

std::string levelChoiceConsName(int index)
{
    return "level" + roomTag(index);
}

std::string sameLevelVarName(int p, int q)
{
    return "floor" + roomTag(p) + roomTag(q);
}

std::string sameLevelKey(int p, int q)
{
    return "levels" + roomTag(p) + roomTag(q);
}

std::string obstacleVarName(int roomIndex, int obstacle, const char* side)
{
    return roomTag(roomIndex) + "_ob_" + roomTag(obstacle) + side;
}

std::string overlapVarName(int i, int j, const char* side)
{
    return roomTag(i) + "_overlap_" + roomTag(j) + side;
}

std::string overlapConsName(int i, int j)
{
    return roomTag(i) + "_overlap_" + roomTag(j);
}

std::string aspectConsName(bool horizontal, int index, bool lower)
{
    return std::string(horizontal ? "Aspect_ratio_Horizontal_" : "Aspect_ratio_Vertical_") +
           roomTag(index) + (lower ? "_Lower_bound" : "_Upper_bound");
}

std::string boundaryConsName(const std::string& direction, int index)
{
    return "Boundary_" + direction + "_auxiliary_" + roomTag(index);
}

std::string doorVarName(int i, int j)
{
    return roomTag(i) + "_withDoorVar_" + roomTag(j);
}

std::string doorConsName(int i, int j, const char* suffix)
{
    return roomTag(i) + "_withDoorCons_" + roomTag(j) + suffix;
}

std::string connectionVarName(int r, int a)
{
    return roomTag(r) + "_connected_" + roomTag(a);
}

} // namespace modelnames
