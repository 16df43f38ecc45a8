#include "layouter/ModelSupport.h"

#include "geometry/LayoutGeometry.h"
#include "layouter/ModelNames.h"
#include "model/Building.h"

#include <algorithm>
#include <stdexcept>

namespace modelsupport {

SCIP_RETCODE addLinearRow(SCIP* scip, const std::string& name, double lhs, double rhs,
                          const std::vector<Term>& terms)
{
    std::vector<SCIP_VAR*> vars;
    std::vector<double> coefs;
    vars.reserve(terms.size());
    coefs.reserve(terms.size());
    for (const Term& term : terms) {
        vars.push_back(term.var);
        coefs.push_back(term.coef);
    }
    SCIP_CONS* cons = nullptr;
    SCIP_CALL(SCIPcreateConsBasicLinear(scip, &cons, name.c_str(), static_cast<int>(vars.size()),
                                        vars.data(), coefs.data(), lhs, rhs));
    const SCIP_RETCODE added = SCIPaddCons(scip, cons);
    SCIP_CALL(SCIPreleaseCons(scip, &cons));
    SCIP_CALL(added);
    return SCIP_OKAY;
}

SCIP_RETCODE addQuadraticRow(SCIP* scip, const std::string& name, double lhs, double rhs,
                             const std::vector<Term>& linear,
                             const std::vector<BilinearTerm>& bilinear)
{
    std::vector<SCIP_VAR*> linVars, quadVars1, quadVars2;
    std::vector<double> linCoefs, quadCoefs;
    for (const Term& term : linear) {
        linVars.push_back(term.var);
        linCoefs.push_back(term.coef);
    }
    for (const BilinearTerm& term : bilinear) {
        quadVars1.push_back(term.var1);
        quadVars2.push_back(term.var2);
        quadCoefs.push_back(term.coef);
    }
    SCIP_CONS* cons = nullptr;
    SCIP_CALL(SCIPcreateConsBasicQuadraticNonlinear(
        scip, &cons, name.c_str(), static_cast<int>(linVars.size()), linVars.data(),
        linCoefs.data(), static_cast<int>(quadVars1.size()), quadVars1.data(), quadVars2.data(),
        quadCoefs.data(), lhs, rhs));
    const SCIP_RETCODE added = SCIPaddCons(scip, cons);
    SCIP_CALL(SCIPreleaseCons(scip, &cons));
    SCIP_CALL(added);
    return SCIP_OKAY;
}

SCIP_RETCODE addVariable(SCIP* scip, SCIP_VAR** var, const std::string& name, double lb,
                         double ub, double obj, SCIP_VARTYPE type)
{
    SCIP_CALL(SCIPcreateVarBasic(scip, var, name.c_str(), lb, ub, obj, type));
    const SCIP_RETCODE added = SCIPaddVar(scip, *var);
    SCIP_VAR* own = *var;
    if (added != SCIP_OKAY)
        *var = nullptr; // released below with the builder's only reference
    SCIP_CALL(SCIPreleaseVar(scip, &own));
    SCIP_CALL(added);
    return SCIP_OKAY;
}

ConsGuard::~ConsGuard()
{
    if (cons != nullptr)
        SCIPreleaseCons(scip, &cons);
}

ExprGuard::~ExprGuard()
{
    if (expr != nullptr)
        SCIPreleaseExpr(scip, &expr);
}

void registerVariable(Registry& registry, const std::string& name, SCIP_VAR* var)
{
    registry.emplace(name, var);
}

SCIP_VAR* lookup(const Registry& registry, const std::string& name)
{
    const auto found = registry.find(name);
    if (found == registry.end())
        throw std::out_of_range("The model has no variable named \"" + name + "\"");
    return found->second;
}

RoomVars lookupRoom(const Registry& registry, int index)
{
    using modelnames::roomVarName;
    return {lookup(registry, roomVarName("x", index)), lookup(registry, roomVarName("y", index)),
            lookup(registry, roomVarName("l", index)), lookup(registry, roomVarName("w", index))};
}

const BoundingBox& FloorData::box(int level) const
{
    const auto found = boxes.find(level);
    if (found == boxes.end())
        throw std::out_of_range("No floor of the building has the level " + std::to_string(level));
    return found->second;
}

void FloorData::addOutline(int level, const std::vector<Vec2>& contour)
{
    const BoundingBox box = boundingBox(contour);
    if (boxes.empty()) {
        modelBox = box;
    } else {
        modelBox.min.x = std::min(modelBox.min.x, box.min.x);
        modelBox.min.y = std::min(modelBox.min.y, box.min.y);
        modelBox.max.x = std::max(modelBox.max.x, box.max.x);
        modelBox.max.y = std::max(modelBox.max.y, box.max.y);
    }
    Polygon polygon(contour);
    const double area = polygon.getArea();
    if (boxes.emplace(level, box).second)
        levels.push_back(level);
    polygons.emplace(level, std::move(polygon));
    areas.emplace(level, area);
    totalArea += area;
}

void FloorData::setBigM()
{
    // Width plus depth, not the largest x: a building at negative x or one
    // deeper than wide needs the relaxation of its own extent.
    bigM = 2.0 * ((modelBox.max.x - modelBox.min.x) + (modelBox.max.y - modelBox.min.y));
}

FloorData computeFloorData(const std::list<std::shared_ptr<bg::Floor>>& floors, double inset)
{
    FloorData data;
    for (const std::shared_ptr<bg::Floor>& floor : floors)
        data.addOutline(floor->getLevel(), insetPolygon(floor->getContour(), inset));
    data.setBigM();
    return data;
}

const std::vector<PolygonEdge>& WallLists::walls(const std::string& side, int level) const
{
    const std::map<int, std::vector<PolygonEdge>>* lists = &northWalls;
    if (side == "east")
        lists = &eastWalls;
    else if (side == "south")
        lists = &southWalls;
    else if (side == "west")
        lists = &westWalls;
    const auto found = lists->find(level);
    if (found == lists->end())
        throw std::out_of_range("No floor of the building has the level " + std::to_string(level));
    return found->second;
}

WallLists makeWallLists(const std::map<int, Polygon>& polygons)
{
    WallLists lists;
    for (const auto& [level, polygon] : polygons) {
        std::vector<PolygonEdge>& east = lists.eastWalls[level];
        std::vector<PolygonEdge>& south = lists.southWalls[level];
        std::vector<PolygonEdge>& west = lists.westWalls[level];
        std::vector<PolygonEdge>& north = lists.northWalls[level];
        for (const PolygonEdge& edge : polygon.getEdges()) {
            if (edge.side == "east")
                east.push_back(edge);
            else if (edge.side == "south")
                south.push_back(edge);
            else if (edge.side == "west")
                west.push_back(edge);
            else
                north.push_back(edge);
        }
    }
    return lists;
}

} // namespace modelsupport
