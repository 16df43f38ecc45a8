#pragma once

#include "geometry/Polygon.h"

#include <scip/scip.h>
#include <scip/scipdefplugins.h>

#include <list>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace bg {
class Floor;
}

// Building blocks shared by the model builders: rows from (variable,
// coefficient) pairs, the registry of named variables and the per-floor data
// of one build. Every function returning SCIP_RETCODE reports a failing solver
// call with its file and line (SCIP_CALL) and returns its code.
namespace modelsupport {

struct Term {
    SCIP_VAR* var;
    double coef;
};

// lhs <= sum of the terms <= rhs, created, added and released at once.
SCIP_RETCODE addLinearRow(SCIP* scip, const std::string& name, double lhs, double rhs,
                          const std::vector<Term>& terms);

// A term coef * var1 * var2 of a quadratic row.
struct BilinearTerm {
    SCIP_VAR* var1;
    SCIP_VAR* var2;
    double coef;
};

// lhs <= linear terms + bilinear terms <= rhs, created, added and released.
SCIP_RETCODE addQuadraticRow(SCIP* scip, const std::string& name, double lhs, double rhs,
                             const std::vector<Term>& linear,
                             const std::vector<BilinearTerm>& bilinear);

// Creates a variable and adds it to the problem. The problem holds the only
// reference, so `var` stays valid for the life of the solver instance.
SCIP_RETCODE addVariable(SCIP* scip, SCIP_VAR** var, const std::string& name, double lb,
                         double ub, double obj, SCIP_VARTYPE type);

// Holds the builder's reference to a constraint or expression while it is
// being filled, and releases it on every way out of the scope.
class ConsGuard {
public:
    explicit ConsGuard(SCIP* scip_) : scip(scip_) {}
    ~ConsGuard();
    ConsGuard(const ConsGuard&) = delete;
    ConsGuard& operator=(const ConsGuard&) = delete;
    SCIP_CONS* cons = nullptr;

private:
    SCIP* scip;
};

class ExprGuard {
public:
    explicit ExprGuard(SCIP* scip_) : scip(scip_) {}
    ~ExprGuard();
    ExprGuard(const ExprGuard&) = delete;
    ExprGuard& operator=(const ExprGuard&) = delete;
    SCIP_EXPR* expr = nullptr;

private:
    SCIP* scip;
};

using Registry = std::unordered_map<std::string, SCIP_VAR*>;

// Enters the variable unless the name is taken; the first entry stays.
void registerVariable(Registry& registry, const std::string& name, SCIP_VAR* var);
// Throws std::out_of_range naming the variable when the registry lacks it.
SCIP_VAR* lookup(const Registry& registry, const std::string& name);

// The registered rectangle variables of a room: x, y of its south-west
// corner and its extents l (along x) and w (along y), walls included.
struct RoomVars {
    SCIP_VAR* x;
    SCIP_VAR* y;
    SCIP_VAR* l;
    SCIP_VAR* w;
};
RoomVars lookupRoom(const Registry& registry, int index);

// Per level: the floor contour inset by the outer wall minus half an inner
// wall, its bounding box and its area. The first floor of a level counts;
// every floor's area enters totalArea.
struct FloorData {
    // The floors' levels in the building's floor order, each once.
    std::vector<int> levels;
    std::map<int, BoundingBox> boxes;
    std::map<int, Polygon> polygons;
    std::map<int, double> areas;
    double totalArea = 0.0;
    BoundingBox modelBox{};
    // 2 * (width + depth) of the model box: the relaxation of the disjunctions.
    double bigM = 0.0;

    // Throws std::out_of_range naming the level when no floor has it.
    const BoundingBox& box(int level) const;

    // Adds one outline on the given level: its box widens the model box, its
    // area counts towards the total (and the level's, for its first outline).
    void addOutline(int level, const std::vector<Vec2>& contour);
    // Sets bigM from the model box, once every outline is added.
    void setBigM();
};

// Throws std::runtime_error "Too few vectors to create a bounding box" for a
// floor whose inset contour has fewer than two points.
FloorData computeFloorData(const std::list<std::shared_ptr<bg::Floor>>& floors, double inset);

// The walls of each level's floor polygon by their side label, in edge order.
// Every level of `polygons` has an entry in all four maps, maybe empty.
struct WallLists {
    std::map<int, std::vector<PolygonEdge>> eastWalls;
    std::map<int, std::vector<PolygonEdge>> southWalls;
    std::map<int, std::vector<PolygonEdge>> westWalls;
    std::map<int, std::vector<PolygonEdge>> northWalls;

    // The walls of `side` ("east", "south", "west", "north") on `level`;
    // std::out_of_range for a level without a floor.
    const std::vector<PolygonEdge>& walls(const std::string& side, int level) const;
};
WallLists makeWallLists(const std::map<int, Polygon>& polygons);

} // namespace modelsupport
