#include "layouter/StoreyStart.h"

#include "layouter/FirstLayoutTuning.h"
#include "layouter/ModelNames.h"

#include <scip/cons_bounddisjunction.h>
#include <scip/cons_linear.h>
#include <scip/scip.h>
#include <scip/scipdefplugins.h>

#include <algorithm>
#include <set>

namespace {

// After the other heuristics of a node (the lowest priority there is):
// they may have found a layout.
constexpr int storeyStartPriority = -536870912;
// The longest step in one call, so that the node's other work and the
// check for a layout of the search's own come often enough.
constexpr double longestStep = 0.5;
// How far, in metres along x or y, a shared room of the first storey moves
// from a place where a later storey could not take it.
constexpr double elsewhere = 0.5;
// How far inside their limits, in metres or square metres, the first
// storey keeps the sides and areas of its shared rooms.
constexpr double insideLimits = 1e-4;
// The corners tried first, in turn: east (else west), north (else south).
constexpr bool cornerEast[] = {false, true, false, true};
constexpr bool cornerNorth[] = {false, false, true, true};
constexpr int cornerCount = 4;

// The row's variables and the levels of the room variables among them.
SCIP_RETCODE rowLevels(SCIP* scip, SCIP_CONS* cons, const std::map<SCIP_VAR*, int>& roomLevels,
                       std::vector<SCIP_VAR*>& vars, std::set<int>& levels)
{
    levels.clear();
    vars.clear();
    int count = 0;
    SCIP_Bool success = FALSE;
    SCIP_CALL(SCIPgetConsNVars(scip, cons, &count, &success));
    if (!success)
        return SCIP_OKAY;
    vars.resize(static_cast<std::size_t>(count));
    SCIP_CALL(SCIPgetConsVars(scip, cons, vars.data(), count, &success));
    if (!success) {
        vars.clear();
        return SCIP_OKAY;
    }
    for (SCIP_VAR* var : vars) {
        const auto found = roomLevels.find(var);
        if (found != roomLevels.end())
            levels.insert(found->second);
    }
    return SCIP_OKAY;
}

SCIP_RETCODE addLinear(SCIP* scip, std::vector<SCIP_VAR*> vars, double value, std::vector<SCIP_CONS*>& kept)
{
    std::vector<SCIP_Real> ones(vars.size(), 1.0);
    SCIP_CONS* cons = nullptr;
    SCIP_CALL(SCIPcreateConsBasicLinear(scip, &cons, "corner", static_cast<int>(vars.size()), vars.data(),
                                        ones.data(), value, value));
    SCIP_CALL(SCIPaddCons(scip, cons));
    kept.push_back(cons);
    return SCIP_OKAY;
}

} // namespace

StoreyStart::StoreyStart(SCIP* scip, std::vector<int> levels_, std::map<int, BoundingBox> boxes_,
                         std::map<SCIP_VAR*, int> roomLevels_, std::vector<RoomRect> rooms_)
    : scip::ObjHeur(scip, heuristicName, "a first layout solved one storey at a time, the stairs placed by the first",
                    'Y', storeyStartPriority, 1, 0, -1, SCIP_HEURTIMING_AFTERNODE, FALSE),
      levels(std::move(levels_)), boxes(std::move(boxes_)), roomLevels(std::move(roomLevels_)),
      rooms(std::move(rooms_))
{
}

StoreyStart::~StoreyStart()
{
    // The instance frees its plug-ins through scip_free; this only covers a
    // heuristic that never got that far.
    (void)finish();
}

SCIP_RETCODE StoreyStart::release(Storey& storey)
{
    if (storey.map != nullptr)
        SCIPhashmapFree(&storey.map);
    if (storey.sub != nullptr)
        SCIP_CALL(SCIPfree(&storey.sub));
    storey.fixed.clear();
    return SCIP_OKAY;
}

SCIP_RETCODE StoreyStart::finish()
{
    finished = true;
    if (!storeys.empty())
        for (SCIP_CONS*& cons : cornerRows)
            SCIP_CALL(SCIPreleaseCons(storeys.front().sub, &cons));
    cornerRows.clear();
    for (Storey& storey : storeys)
        SCIP_CALL(release(storey));
    storeys.clear();
    return SCIP_OKAY;
}

SCIP_DECL_HEURFREE(StoreyStart::scip_free)
{
    return finish();
}

SCIP_SOL* StoreyStart::chosen(const Storey& storey)
{
    SCIP_SOL* newest = nullptr;
    SCIP_SOL** sols = SCIPgetSols(storey.sub);
    for (int k = 0; k < SCIPgetNSols(storey.sub); ++k)
        if (newest == nullptr || SCIPsolGetIndex(sols[k]) > SCIPsolGetIndex(newest))
            newest = sols[k];
    return newest;
}

SCIP_VAR* StoreyStart::image(const Storey& storey, SCIP_VAR* var) const
{
    return static_cast<SCIP_VAR*>(SCIPhashmapGetImage(storey.map, var));
}

SCIP_RETCODE StoreyStart::prepare(SCIP* scip)
{
    // Which variables belong to one level: those of rows whose rooms are all
    // of that level. A linear row across levels ties rooms of the first
    // storey to the others (the stairs).
    std::vector<SCIP_VAR*> vars;
    std::set<int> rowLevelSet;
    SCIP_CONS** conss = SCIPgetOrigConss(scip);
    const int nconss = SCIPgetNOrigConss(scip);
    SCIP_CONSHDLR* linear = SCIPfindConshdlr(scip, "linear");
    for (int c = 0; c < nconss; ++c) {
        SCIP_CALL(rowLevels(scip, conss[c], roomLevels, vars, rowLevelSet));
        if (rowLevelSet.size() == 1)
            for (SCIP_VAR* var : vars)
                boundLevels.emplace(var, *rowLevelSet.begin());
        if (rowLevelSet.size() > 1 && SCIPconsGetHdlr(conss[c]) == linear)
            for (const RoomRect& room : rooms)
                if (room.level == levels.front() && std::find(vars.begin(), vars.end(), room.x) != vars.end() &&
                    std::none_of(shared.begin(), shared.end(), [&](const RoomRect& r) { return r.x == room.x; }))
                    shared.push_back(room);
    }

    for (const int level : levels) {
        storeys.emplace_back();
        Storey& storey = storeys.back();
        storey.level = level;
        SCIP_CALL(SCIPcreate(&storey.sub));
        SCIP_CALL(SCIPincludeDefaultPlugins(storey.sub));
        SCIP_CALL(SCIPhashmapCreate(&storey.map, SCIPblkmem(storey.sub), SCIPgetNOrigVars(scip)));
        SCIP_CALL(SCIPcopyOrigProb(scip, storey.sub, storey.map, nullptr, "storey"));
        SCIP_CALL(SCIPcopyOrigVars(scip, storey.sub, storey.map, nullptr, nullptr, nullptr, 0));
        for (int c = 0; c < nconss; ++c) {
            SCIP_CONS* cons = conss[c];
            SCIP_CALL(rowLevels(scip, cons, roomLevels, vars, rowLevelSet));
            if (!rowLevelSet.empty() && rowLevelSet.count(level) == 0)
                continue;
            SCIP_CONS* copy = nullptr;
            SCIP_Bool valid = FALSE;
            SCIP_CALL(SCIPgetConsCopy(scip, storey.sub, cons, &copy, SCIPconsGetHdlr(cons), storey.map, nullptr,
                                      nullptr, SCIPconsIsInitial(cons), SCIPconsIsSeparated(cons),
                                      SCIPconsIsEnforced(cons), SCIPconsIsChecked(cons), SCIPconsIsPropagated(cons),
                                      FALSE, FALSE, SCIPconsIsDynamic(cons), SCIPconsIsRemovable(cons), FALSE, TRUE,
                                      &valid));
            if (!valid || copy == nullptr) {
                // A storey without all of its rows would give layouts the
                // model rejects: no storeys at all then.
                if (copy != nullptr)
                    SCIP_CALL(SCIPreleaseCons(storey.sub, &copy));
                return finish();
            }
            SCIP_CALL(SCIPaddCons(storey.sub, copy));
            SCIP_CALL(SCIPreleaseCons(storey.sub, &copy));
        }
        SCIP_CALL(SCIPsetIntParam(storey.sub, "display/verblevel", 0));
        SCIP_CALL(SCIPsetBoolParam(storey.sub, "misc/catchctrlc", FALSE));
        // The first layout of the storey is all it is asked for.
        SCIP_CALL(SCIPsetIntParam(storey.sub, "limits/solutions", 1));
        SCIP_CALL(includeFirstLayoutTuning(storey.sub));
    }
    // The first storey keeps its shared rooms' sides and area a little inside
    // their limits: the storeys after it take them as they are, and a side
    // or an area on its limit, within the solver's tolerance, can be just
    // past it there.
    const Storey& first = storeys.front();
    for (const RoomRect& room : shared)
        for (SCIP_VAR* var : {room.l, room.w, room.z}) {
            SCIP_VAR* copy = image(first, var);
            const double lower = SCIPvarGetLbOriginal(copy), upper = SCIPvarGetUbOriginal(copy);
            if (upper - lower > 4.0 * insideLimits) {
                SCIP_CALL(SCIPchgVarLb(first.sub, copy, lower + insideLimits));
                SCIP_CALL(SCIPchgVarUb(first.sub, copy, upper - insideLimits));
            }
        }
    return placeShared();
}

SCIP_RETCODE StoreyStart::placeShared()
{
    // One shared room (a stair) goes to a corner of its floor's box for each
    // of the first attempts; later attempts, or several shared rooms, leave
    // the place to the storey's own search.
    if (shared.size() != 1 || attempts > cornerCount)
        return SCIP_OKAY;
    const auto box = boxes.find(levels.front());
    if (box == boxes.end())
        return SCIP_OKAY;
    const Storey& first = storeys.front();
    const RoomRect& room = shared.front();
    const int corner = attempts - 1;
    if (cornerEast[corner])
        SCIP_CALL(addLinear(first.sub, {image(first, room.x), image(first, room.l)}, box->second.max.x, cornerRows));
    else
        SCIP_CALL(addLinear(first.sub, {image(first, room.x)}, box->second.min.x, cornerRows));
    if (cornerNorth[corner])
        SCIP_CALL(addLinear(first.sub, {image(first, room.y), image(first, room.w)}, box->second.max.y, cornerRows));
    else
        SCIP_CALL(addLinear(first.sub, {image(first, room.y)}, box->second.min.y, cornerRows));
    return SCIP_OKAY;
}

SCIP_RETCODE StoreyStart::fixEarlierRooms(std::size_t index)
{
    Storey& storey = storeys[index];
    for (const auto& [var, level] : roomLevels) {
        // The value of the room's variable in the layout of its own storey.
        std::size_t owner = storeys.size();
        for (std::size_t k = 0; k < index; ++k)
            if (storeys[k].level == level)
                owner = k;
        if (owner == storeys.size())
            continue;
        SCIP_SOL* best = chosen(storeys[owner]);
        SCIP_VAR* source = image(storeys[owner], var);
        SCIP_VAR* target = image(storey, var);
        if (best == nullptr || source == nullptr || target == nullptr)
            continue;
        const double lower = SCIPvarGetLbOriginal(target), upper = SCIPvarGetUbOriginal(target);
        const double value = std::clamp(SCIPgetSolVal(storeys[owner].sub, best, source), lower, upper);
        storey.fixed.push_back({target, {lower, upper}});
        SCIP_CALL(SCIPchgVarLb(storey.sub, target, value));
        SCIP_CALL(SCIPchgVarUb(storey.sub, target, value));
    }
    return SCIP_OKAY;
}

SCIP_RETCODE StoreyStart::nextPlace(bool firstHadLayout)
{
    // Without a corner to try next, a first storey that had no layout has
    // none anywhere the places tried leave.
    const bool cornerNext = shared.size() == 1 && attempts < cornerCount;
    if (attempts >= maxAttempts || shared.empty() || (!firstHadLayout && !cornerNext))
        return finish();
    // Where the shared rooms were, before the first storey's layouts go.
    Storey& first = storeys.front();
    std::vector<std::pair<double, double>> places;
    if (SCIP_SOL* tried = firstHadLayout ? chosen(first) : nullptr)
        for (const RoomRect& room : shared)
            places.emplace_back(SCIPgetSolVal(first.sub, tried, image(first, room.x)),
                                SCIPgetSolVal(first.sub, tried, image(first, room.y)));
    for (Storey& storey : storeys) {
        SCIP_CALL(SCIPfreeTransform(storey.sub));
        for (const auto& [var, bounds] : storey.fixed) {
            SCIP_CALL(SCIPchgVarLb(storey.sub, var, bounds.first));
            SCIP_CALL(SCIPchgVarUb(storey.sub, var, bounds.second));
        }
        storey.fixed.clear();
    }
    for (SCIP_CONS*& cons : cornerRows) {
        SCIP_CALL(SCIPdelCons(first.sub, cons));
        SCIP_CALL(SCIPreleaseCons(first.sub, &cons));
    }
    cornerRows.clear();
    // The first storey keeps its shared rooms away from places tried.
    for (std::size_t k = 0; k < places.size(); ++k) {
        const RoomRect& room = shared[k];
        const auto [x0, y0] = places[k];
        SCIP_VAR* vars[] = {image(first, room.x), image(first, room.x), image(first, room.y), image(first, room.y)};
        SCIP_BOUNDTYPE types[] = {SCIP_BOUNDTYPE_UPPER, SCIP_BOUNDTYPE_LOWER, SCIP_BOUNDTYPE_UPPER,
                                  SCIP_BOUNDTYPE_LOWER};
        SCIP_Real bounds[] = {x0 - elsewhere, x0 + elsewhere, y0 - elsewhere, y0 + elsewhere};
        SCIP_CONS* cons = nullptr;
        SCIP_CALL(SCIPcreateConsBasicBounddisjunction(first.sub, &cons, "elsewhere", 4, vars, types, bounds));
        SCIP_CALL(SCIPaddCons(first.sub, cons));
        SCIP_CALL(SCIPreleaseCons(first.sub, &cons));
    }
    ++attempts;
    current = 0;
    return placeShared();
}

SCIP_RETCODE StoreyStart::deliver(SCIP* scip, SCIP_HEUR* heur, SCIP_RESULT* result)
{
    // Each variable of one level from its storey's layout; the rest (the
    // objective's, and the rooms, fixed there) from the last storey's.
    const Storey& last = storeys.back();
    SCIP_SOL* lastBest = chosen(last);
    SCIP_SOL* sol = nullptr;
    SCIP_CALL(SCIPcreateOrigSol(scip, &sol, heur));
    SCIP_VAR** vars = SCIPgetOrigVars(scip);
    for (int k = 0; k < SCIPgetNOrigVars(scip); ++k) {
        SCIP_VAR* var = vars[k];
        const Storey* from = &last;
        SCIP_SOL* best = lastBest;
        const auto bound = boundLevels.find(var);
        if (bound != boundLevels.end() && roomLevels.count(var) == 0)
            for (const Storey& storey : storeys)
                if (storey.level == bound->second) {
                    from = &storey;
                    best = chosen(storey);
                }
        SCIP_VAR* copy = image(*from, var);
        if (copy == nullptr || best == nullptr)
            continue;
        SCIP_CALL(SCIPsetSolVal(scip, sol, var, SCIPgetSolVal(from->sub, best, copy)));
    }
    SCIP_Bool stored = FALSE;
    SCIP_CALL(SCIPtrySolFree(scip, &sol, FALSE, FALSE, TRUE, TRUE, TRUE, &stored));
    found = stored != FALSE;
    if (found)
        *result = SCIP_FOUNDSOL;
    return finish();
}

SCIP_RETCODE StoreyStart::step(SCIP* scip, SCIP_HEUR* heur, double seconds, SCIP_RESULT* result)
{
    Storey& storey = storeys[current];
    // The storey's time on the search's clock.
    if (SCIPgetStage(storey.sub) == SCIP_STAGE_PROBLEM) {
        int clock = 0;
        SCIP_CALL(SCIPgetIntParam(scip, "timing/clocktype", &clock));
        SCIP_CALL(SCIPsetIntParam(storey.sub, "timing/clocktype", clock));
    }
    SCIP_CALL(SCIPsetRealParam(storey.sub, "limits/time", SCIPgetSolvingTime(storey.sub) + seconds));
    SCIP_CALL(SCIPsolve(storey.sub));
    *result = SCIP_DIDNOTFIND;
    const SCIP_STATUS status = SCIPgetStatus(storey.sub);
    if (status == SCIP_STATUS_TIMELIMIT || status == SCIP_STATUS_UNKNOWN)
        return SCIP_OKAY;
    if (SCIPgetNSols(storey.sub) > 0) {
        ++current;
        if (current == storeys.size())
            return deliver(scip, heur, result);
        return fixEarlierRooms(current);
    }
    // No layout of this storey with the rooms before it where they are, or
    // of the first storey with its stairs there: another place.
    return nextPlace(current > 0);
}

SCIP_DECL_HEUREXEC(StoreyStart::scip_exec)
{
    *result = SCIP_DIDNOTRUN;
    if (finished || storeys.empty())
        return SCIP_OKAY;
    // The search found its own: the storeys are not needed any more.
    if (SCIPgetNSols(scip) > 0)
        return finish();
    const double total = SCIPgetSolvingTime(scip);
    const double own = total - spent;
    if (own < waitSeconds || spent >= own)
        return SCIP_OKAY;
    double limit = 0.0;
    SCIP_CALL(SCIPgetRealParam(scip, "limits/time", &limit));
    const double seconds = std::min(limit - total, longestStep);
    if (seconds < 0.01)
        return SCIP_OKAY;
    SCIP_CALL(step(scip, heur, seconds, result));
    spent += SCIPgetSolvingTime(scip) - total;
    return SCIP_OKAY;
}

StoreyStart* findStoreyStart(SCIP* scip)
{
    if (scip == nullptr || SCIPfindHeur(scip, StoreyStart::heuristicName) == nullptr)
        return nullptr;
    return dynamic_cast<StoreyStart*>(SCIPfindObjHeur(scip, StoreyStart::heuristicName));
}

SCIP_RETCODE includeStoreyStart(SCIP* scip, const modelsupport::Registry& variables,
                                const std::vector<std::pair<int, int>>& roomsByLevel,
                                const modelsupport::FloorData& floors, const std::map<int, double>& slack)
{
    std::map<SCIP_VAR*, int> roomLevels;
    std::vector<StoreyStart::RoomRect> rooms;
    std::set<int> levelSet;
    for (const auto& [index, level] : roomsByLevel) {
        StoreyStart::RoomRect room{level};
        SCIP_VAR** fields[] = {&room.x, &room.y, &room.l, &room.w, &room.z};
        const char* prefixes[] = {"x", "y", "l", "w", "z"};
        bool complete = true;
        for (int k = 0; k < 5; ++k) {
            const auto found = variables.find(modelnames::roomVarName(prefixes[k], index));
            if (found == variables.end()) {
                complete = false;
                continue;
            }
            roomLevels[found->second] = level;
            *fields[k] = found->second;
        }
        if (complete)
            rooms.push_back(room);
        levelSet.insert(level);
    }
    if (levelSet.size() < 2 || SCIPfindHeur(scip, StoreyStart::heuristicName) != nullptr)
        return SCIP_OKAY;
    std::vector<int> levels(levelSet.begin(), levelSet.end());
    std::map<int, BoundingBox> boxes;
    for (const int level : levels)
        if (floors.boxes.count(level) != 0)
            boxes[level] = floors.box(level);
    auto slackOf = [&](int level) {
        const auto found = slack.find(level);
        return found != slack.end() ? found->second : 0.0;
    };
    std::stable_sort(levels.begin(), levels.end(), [&](int a, int b) { return slackOf(a) < slackOf(b); });
    auto* heuristic = new StoreyStart(scip, std::move(levels), std::move(boxes), std::move(roomLevels),
                                      std::move(rooms));
    // The instance owns the heuristic from here on and deletes it when freed.
    SCIP_CALL(SCIPincludeObjHeur(scip, heuristic, TRUE));
    return heuristic->prepare(scip);
}
