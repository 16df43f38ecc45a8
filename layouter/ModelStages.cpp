#include "layouter/ModelStages.h"

#include "layouter/ModelNames.h"
#include "model/Requirement.h"

using namespace modelsupport;
using namespace modelnames;

namespace modelstages {

SCIP_RETCODE addRoomVariables(SCIP* scip, Registry& variables, int index, const VariableParams& x,
                              const VariableParams& y, const VariableParams& l, const VariableParams& w,
                              const VariableParams& z, RoomShape& room)
{
    const std::pair<const char*, std::pair<const VariableParams*, SCIP_VAR**>> order[] = {
        {"x", {&x, &room.rect.x}}, {"y", {&y, &room.rect.y}}, {"l", {&l, &room.rect.l}},
        {"w", {&w, &room.rect.w}}, {"z", {&z, &room.z}}};
    for (const auto& [prefix, params] : order) {
        const std::string name = roomVarName(prefix, index);
        SCIP_CALL(addVariable(scip, params.second, name, params.first->lb, params.first->ub, params.first->obj,
                              SCIP_VARTYPE_CONTINUOUS));
        registerVariable(variables, name, *params.second);
    }
    return SCIP_OKAY;
}

SCIP_RETCODE addShapeRow(SCIP* scip, int index, const RoomShape& room, double t)
{
    return addQuadraticRow(scip, shapeConsName(index), -t * t, -t * t,
                           {{room.z, -1.0}, {room.rect.l, -t}, {room.rect.w, -t}}, {{room.rect.l, room.rect.w, 1.0}});
}

SCIP_RETCODE addStairRows(const StageInput& in)
{
    for (const std::shared_ptr<bg::Requirement>& first : in.requirements) {
        for (const std::shared_ptr<bg::Requirement>& second : in.requirements) {
            if (first->getRoomType() != "Stair" || second->getRoomType() != "Stair" ||
                first->getIndex() >= second->getIndex())
                continue;
            const RoomVars a = lookupRoom(in.variables, first->getIndex());
            const RoomVars b = lookupRoom(in.variables, second->getIndex());
            SCIP_CALL(addLinearRow(in.scip, "", 0.0, 0.0, {{a.x, 1.0}, {b.x, -1.0}}));
            SCIP_CALL(addLinearRow(in.scip, "", 0.0, 0.0, {{a.y, 1.0}, {b.y, -1.0}}));
            SCIP_CALL(addLinearRow(in.scip, "", 0.0, 0.0, {{a.l, 1.0}, {b.l, -1.0}}));
            SCIP_CALL(addLinearRow(in.scip, "", 0.0, 0.0, {{a.w, 1.0}, {b.w, -1.0}}));
        }
    }
    return SCIP_OKAY;
}

SCIP_RETCODE addObjective(const StageInput& in, double constant)
{
    SCIP* scip = in.scip;
    SCIP_VAR* constantVar;
    SCIP_CALL(addVariable(scip, &constantVar, "Constant", 1.0, 1.0, constant, SCIP_VARTYPE_CONTINUOUS));
    registerVariable(in.variables, "Constant", constantVar);
    SCIP_VAR* quadobj;
    SCIP_CALL(addVariable(scip, &quadobj, "Quadobj", -in.inf, in.inf, 1.0, SCIP_VARTYPE_CONTINUOUS));
    registerVariable(in.variables, "Quadobj", quadobj);

    // The quadratic part of the objective, carried by the free variable Quadobj.
    ConsGuard row(scip);
    SCIP_CALL(SCIPcreateConsBasicQuadraticNonlinear(scip, &row.cons, "QuadobjConstraint", 0, nullptr, nullptr, 0,
                                                    nullptr, nullptr, nullptr, 0.0, 0.0));
    SCIP_CALL(SCIPaddLinearVarNonlinear(scip, row.cons, quadobj, -1.0));
    for (const std::shared_ptr<bg::Requirement>& requirement : in.requirements) {
        const int id = requirement->getIndex();
        ExprGuard l(scip), w(scip), l2(scip), w2(scip), lw(scip);
        SCIP_CALL(SCIPcreateExprVar(scip, &l.expr, lookup(in.variables, roomVarName("l", id)), nullptr, nullptr));
        SCIP_CALL(SCIPcreateExprVar(scip, &w.expr, lookup(in.variables, roomVarName("w", id)), nullptr, nullptr));
        SCIP_CALL(SCIPcreateExprPow(scip, &l2.expr, l.expr, 2.0, nullptr, nullptr));
        SCIP_CALL(SCIPcreateExprPow(scip, &w2.expr, w.expr, 2.0, nullptr, nullptr));
        SCIP_EXPR* factors[] = {l.expr, w.expr};
        SCIP_CALL(SCIPcreateExprProduct(scip, &lw.expr, 2, factors, 1.0, nullptr, nullptr));
        SCIP_CALL(SCIPaddExprNonlinear(scip, row.cons, l2.expr, 1.0));
        SCIP_CALL(SCIPaddExprNonlinear(scip, row.cons, w2.expr, 1.0));
        SCIP_CALL(SCIPaddExprNonlinear(scip, row.cons, lw.expr, -1.0));
    }
    SCIP_CALL(SCIPaddCons(scip, row.cons));
    return SCIP_OKAY;
}

SCIP_RETCODE addAspectRatioRows(const StageInput& in)
{
    const double M = in.bigM;
    for (const std::shared_ptr<bg::Requirement>& requirement : in.requirements) {
        const int id = requirement->getIndex();
        const auto [minRatio, maxRatio] = requirement->getAspectRatioRange();
        // h = 0 holds l/w within the range, h = 1 holds w/l; the other pair of
        // rows is relaxed by M.
        const double h = requirement->getOrientation() == "horizontal" ? 0.0 : 1.0;
        const RoomVars room = lookupRoom(in.variables, id);
        SCIP_CALL(addLinearRow(in.scip, aspectConsName(true, id, true), -in.inf, M * h,
                               {{room.l, -1.0}, {room.w, minRatio}}));
        SCIP_CALL(addLinearRow(in.scip, aspectConsName(true, id, false), -in.inf, M * h,
                               {{room.l, 1.0}, {room.w, -maxRatio}}));
        SCIP_CALL(addLinearRow(in.scip, aspectConsName(false, id, true), -in.inf, M - M * h,
                               {{room.l, minRatio}, {room.w, -1.0}}));
        SCIP_CALL(addLinearRow(in.scip, aspectConsName(false, id, false), -in.inf, M - M * h,
                               {{room.l, -maxRatio}, {room.w, 1.0}}));
    }
    return SCIP_OKAY;
}

SCIP_RETCODE addSideBinaries(SCIP* scip, Registry& variables, const std::function<std::string(const char*)>& nameOf,
                             Sides& sides)
{
    const std::pair<const char*, SCIP_VAR**> order[] = {
        {sideLeft, &sides.left}, {sideRight, &sides.right}, {sideTop, &sides.top}, {sideBottom, &sides.bottom}};
    for (const auto& [side, var] : order) {
        const std::string name = nameOf(side);
        SCIP_CALL(addVariable(scip, var, name, 0.0, 1.0, 0.0, SCIP_VARTYPE_BINARY));
        registerVariable(variables, name, *var);
    }
    return SCIP_OKAY;
}

bool isSide(const std::string& word)
{
    return word == "east" || word == "south" || word == "west" || word == "north";
}

std::vector<std::string> directionWords(const std::vector<std::string>& boundaries)
{
    if (boundaries.empty())
        return {"whatever"};
    const std::string& wish = boundaries.front();
    if (wish == "whatever" || isSide(wish))
        return {wish};
    if (wish == "southeast")
        return {"east", "south"};
    if (wish == "northeast")
        return {"east", "north"};
    if (wish == "southwest")
        return {"west", "south"};
    if (wish == "northwest")
        return {"west", "north"};
    return {};
}

std::array<ContactRow, 3> wallContactRows(const RoomVars& r, const std::string& side, const PolygonEdge& wall,
                                          ContactOrder order)
{
    const Vec2 s = wall.start, e = wall.end;
    ContactRow line, start, end;
    if (side == "east") {
        line = {{{r.x, 1.0}, {r.l, 1.0}}, s.x, true};
        start = {{{r.y, 1.0}}, s.y, true};
        end = {{{r.y, 1.0}, {r.w, 1.0}}, e.y, false};
    } else if (side == "south") {
        line = {{{r.y, 1.0}}, s.y, false};
        start = {{{r.x, 1.0}}, s.x, true};
        end = {{{r.x, 1.0}, {r.l, 1.0}}, e.x, false};
    } else if (side == "west") {
        line = {{{r.x, 1.0}}, s.x, false};
        start = {{{r.y, 1.0}, {r.w, 1.0}}, s.y, false};
        end = {{{r.y, 1.0}}, e.y, true};
    } else {
        line = {{{r.y, 1.0}, {r.w, 1.0}}, s.y, true};
        start = {{{r.x, 1.0}, {r.l, 1.0}}, s.x, false};
        end = {{{r.x, 1.0}}, e.x, true};
    }
    // West and north walls run from high to low coordinates: there the
    // lower limit belongs to the wall's end.
    const bool startIsLower = side == "east" || side == "south";
    if (order == ContactOrder::LowerLimitFirst && !startIsLower)
        return {line, end, start};
    return {line, start, end};
}

SCIP_RETCODE addFacadeBlock(const StageInput& in, const RoomVars& room, const std::string& name,
                            const std::vector<SideWalls>& sides, ContactOrder order)
{
    const double M = in.bigM;
    ConsGuard choice(in.scip);
    SCIP_CALL(SCIPcreateConsBasicLinear(in.scip, &choice.cons, name.c_str(), 0, nullptr, nullptr, 1.0, in.inf));
    for (const SideWalls& side : sides) {
        for (const PolygonEdge& wall : *side.walls) {
            SCIP_VAR* b;
            // Facade binaries stay out of the registry and so out of the
            // recorded solutions.
            SCIP_CALL(addVariable(in.scip, &b, "", 0.0, 1.0, 0.0, SCIP_VARTYPE_BINARY));
            SCIP_CALL(SCIPaddCoefLinear(in.scip, choice.cons, b, 1.0));
            for (ContactRow row : wallContactRows(room, side.side, wall, order)) {
                // b = 1 states the row; b = 0 moves its bound by M.
                row.terms.push_back({b, row.atLeast ? -M : M});
                if (row.atLeast)
                    SCIP_CALL(addLinearRow(in.scip, "", row.bound - M, in.inf, row.terms));
                else
                    SCIP_CALL(addLinearRow(in.scip, "", -in.inf, row.bound + M, row.terms));
            }
        }
    }
    SCIP_CALL(SCIPaddCons(in.scip, choice.cons));
    return SCIP_OKAY;
}

SCIP_RETCODE addSwitchedFacadeBlock(const StageInput& in, const RoomVars& room, SCIP_VAR* on, double most,
                                    const std::vector<SideWalls>& sides, ContactOrder order)
{
    const double M = in.bigM;
    ConsGuard choice(in.scip);
    SCIP_CALL(SCIPcreateConsBasicLinear(in.scip, &choice.cons, "", 0, nullptr, nullptr, 0.0, most));
    for (const SideWalls& side : sides) {
        for (const PolygonEdge& wall : *side.walls) {
            SCIP_VAR* b;
            // Facade binaries stay out of the registry and so out of the
            // recorded solutions.
            SCIP_CALL(addVariable(in.scip, &b, "", 0.0, 1.0, 0.0, SCIP_VARTYPE_BINARY));
            SCIP_CALL(SCIPaddCoefLinear(in.scip, choice.cons, b, 1.0));
            for (ContactRow row : wallContactRows(room, side.side, wall, order)) {
                // Every row as "M·b·on + terms <= bound": a lower limit turned round.
                double rhs = row.bound + M;
                if (row.atLeast) {
                    for (Term& term : row.terms)
                        term.coef = -term.coef;
                    rhs = M - row.bound;
                }
                SCIP_CALL(addQuadraticRow(in.scip, "", -in.inf, rhs, row.terms, {{b, on, M}}));
            }
        }
    }
    SCIP_CALL(SCIPaddCoefLinear(in.scip, choice.cons, on, -1.0));
    SCIP_CALL(SCIPaddCons(in.scip, choice.cons));
    return SCIP_OKAY;
}

} // namespace modelstages
