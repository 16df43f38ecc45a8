#pragma once

#include "layouter/ModelSupport.h"

#include <objscip/objscip.h>

#include <map>
#include <utility>
#include <vector>

// A first layout for a building of several storeys, one storey at a time.
// The stairs tie the storeys together (one rectangle on every level), and
// where the floors must be filled exactly the whole model can take the
// solver a minute before its first layout while each storey alone takes a
// second or less. So the storey with the least slack is solved first, on its
// own, and each storey after it with the rooms of the storeys before it
// fixed where they were put, which puts its stairs in their place. The
// storeys' layouts together go to the search as one solution, when the
// search has found none of its own by then.
//
// Where the stairs go decides whether the other storeys can take them, so
// the first storey puts its stairs (the rooms that rows tie to other levels)
// in a corner of its floor first, one corner after the other, which leaves
// the rest of every storey in one piece; then anywhere away from the places
// tried. After a few places the search goes on alone.
//
// A primal heuristic after each node, with a solver instance of its own per
// storey, copied from the model before the solve: the rows of that storey's
// rooms, the rows that tie it to the others (stairs, objective) and the rows
// of no room. It leaves the search its first two seconds alone and then takes no
// more time than the search has had, in steps that end with the search's
// own time limit, so a slice still ends on time and a search that finds its
// own first layout soon loses little or nothing.
class StoreyStart : public scip::ObjHeur {
public:
    static constexpr const char* heuristicName = "storeys";

    // A room's rectangle variables and its level.
    struct RoomRect {
        int level = 0;
        SCIP_VAR* x = nullptr;
        SCIP_VAR* y = nullptr;
        SCIP_VAR* l = nullptr;
        SCIP_VAR* w = nullptr;
        SCIP_VAR* z = nullptr;
    };

    // `levels` in the order to solve them, with the box of each level's
    // floor; the rooms' variables (x, y, l, w, z) with their levels, and
    // their rectangles.
    StoreyStart(SCIP* scip, std::vector<int> levels, std::map<int, BoundingBox> boxes,
                std::map<SCIP_VAR*, int> roomLevels, std::vector<RoomRect> rooms);
    ~StoreyStart() override;

    SCIP_DECL_HEURFREE(scip_free) override;
    SCIP_DECL_HEUREXEC(scip_exec) override;

    // Copies the storeys' instances from the model; in the problem stage.
    SCIP_RETCODE prepare(SCIP* scip);

    // The search's own solving time before the storeys get any.
    static constexpr double defaultWaitSeconds = 2.0;
    double waitSeconds = defaultWaitSeconds;
    // Places of the stairs tried before giving up: the four corners, then
    // four anywhere else.
    static constexpr int maxAttempts = 8;

    // Whether the storeys' layout went to the search.
    bool delivered() const { return found; }
    // Seconds spent in the storeys' instances.
    double secondsSpent() const { return spent; }
    // Places of the stairs tried so far, the one being tried included.
    int attemptsMade() const { return attempts; }

private:
    struct Storey {
        int level = 0;
        SCIP* sub = nullptr;
        SCIP_HASHMAP* map = nullptr;
        // Variables whose bounds a fixing changed, with their bounds before.
        std::vector<std::pair<SCIP_VAR*, std::pair<double, double>>> fixed;
    };

    // The storey's newest layout: the one the storeys after it build on.
    static SCIP_SOL* chosen(const Storey& storey);
    SCIP_VAR* image(const Storey& storey, SCIP_VAR* var) const;
    SCIP_RETCODE step(SCIP* scip, SCIP_HEUR* heur, double seconds, SCIP_RESULT* result);
    SCIP_RETCODE fixEarlierRooms(std::size_t index);
    SCIP_RETCODE placeShared();
    SCIP_RETCODE nextPlace(bool firstHadLayout);
    SCIP_RETCODE release(Storey& storey);
    SCIP_RETCODE deliver(SCIP* scip, SCIP_HEUR* heur, SCIP_RESULT* result);
    SCIP_RETCODE finish();

    std::vector<int> levels;
    std::map<int, BoundingBox> boxes;
    // Room variables (x, y, l, w, z) of the model with their level.
    std::map<SCIP_VAR*, int> roomLevels;
    std::vector<RoomRect> rooms;
    // Every variable that stands in a row of exactly one level's rooms.
    std::map<SCIP_VAR*, int> boundLevels;
    // The first storey's rooms that rows tie to other levels.
    std::vector<RoomRect> shared;
    // The rows that put them in a corner for the place being tried.
    std::vector<SCIP_CONS*> cornerRows;
    std::vector<Storey> storeys;
    std::size_t current = 0;
    int attempts = 1;
    double spent = 0.0;
    bool finished = false;
    bool found = false;
};

// Includes a StoreyStart for the model when two or more levels have rooms;
// the levels go in the order of their slack, the least first: the largest
// net areas the rooms may take over the area of the floor. In the problem
// stage, after the model is built.
SCIP_RETCODE includeStoreyStart(SCIP* scip, const modelsupport::Registry& variables,
                                const std::vector<std::pair<int, int>>& roomsByLevel,
                                const modelsupport::FloorData& floors, const std::map<int, double>& slack);

// The instance's StoreyStart, null when it has none.
StoreyStart* findStoreyStart(SCIP* scip);
