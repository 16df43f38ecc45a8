#include "layouter/Layouter.h"
#include "model/Constants.h"

#include "geometry/LayoutGeometry.h"
#include "layouter/EventhdlrNewSol.h"
#include "layouter/FirstLayoutTuning.h"
#include "layouter/ModelNames.h"
#include "layouter/ModelSupport.h"
#include "layouter/StartLayout.h"
#include "layouter/StoreyStart.h"
#include "model/Building.h"
#include "model/Proposal.h"
#include "model/Requirement.h"

#include <clipper2/clipper.h>

#include <cmath>
#include <scip/scipdefplugins.h>
#include <stdexcept>

namespace {

// True for four points that run around an axis-parallel rectangle of
// non-zero area. Any other four-point contour (a trapezoid, a bow tie) needs
// the bounding-box complement like every other outline.
bool isAxisParallelRectangle(const std::vector<Vec2>& points)
{
    if (points.size() != 4)
        return false;
    for (size_t i = 0; i < 4; ++i) {
        const Vec2& a = points[i];
        const Vec2& b = points[(i + 1) % 4];
        const bool alongX = a.y == b.y && a.x != b.x;
        const bool alongY = a.x == b.x && a.y != b.y;
        if (!alongX && !alongY)
            return false;
    }
    return twiceSignedArea(points) != 0.0;
}

// A value of the map by name; a missing name reads as 0 and is entered with 0.
double valueOf(std::unordered_map<std::string, double>& values, const std::string& name)
{
    return values.emplace(name, 0.0).first->second;
}

} // namespace

Obstacle::Obstacle(int level_, double x_, double y_, double width_, double height_)
    : level(level_), x(x_), y(y_), width(width_), height(height_)
{
}

void SolutionHistory::append(Solution solution)
{
    std::lock_guard<std::mutex> lock(mutex);
    solutions.push_back(std::move(solution));
}

void SolutionHistory::clear()
{
    std::lock_guard<std::mutex> lock(mutex);
    solutions.clear();
}

std::size_t SolutionHistory::size() const
{
    std::lock_guard<std::mutex> lock(mutex);
    return solutions.size();
}

bool SolutionHistory::empty() const
{
    std::lock_guard<std::mutex> lock(mutex);
    return solutions.empty();
}

std::vector<Solution> SolutionHistory::snapshot() const
{
    std::lock_guard<std::mutex> lock(mutex);
    return solutions;
}

Solution SolutionHistory::at(std::size_t position) const
{
    std::lock_guard<std::mutex> lock(mutex);
    return solutions.at(position);
}

bool SolutionHistory::latest(Solution& newest) const
{
    std::lock_guard<std::mutex> lock(mutex);
    if (solutions.empty())
        return false;
    newest = solutions.back();
    return true;
}

std::vector<std::vector<Vec2>> boundingBoxComplement(std::vector<Vec2> points)
{
    const BoundingBox box = boundingBox(points);
    checkClippable(points, "floor outline");
    Clipper2Lib::PathD boxPath{{box.min.x, box.min.y},
                               {box.max.x, box.min.y},
                               {box.max.x, box.max.y},
                               {box.min.x, box.max.y}};
    Clipper2Lib::PathD outline;
    outline.reserve(points.size());
    for (const Vec2& p : points)
        outline.emplace_back(p.x, p.y);

    Clipper2Lib::PathsD result;
    clipSafely([&] {
        Clipper2Lib::ClipperD clipper(8);
        clipper.AddSubject({boxPath});
        clipper.AddClip({outline});
        clipper.Execute(Clipper2Lib::ClipType::Difference, Clipper2Lib::FillRule::EvenOdd, result);
    });

    std::vector<std::vector<Vec2>> pieces;
    pieces.reserve(result.size());
    for (const Clipper2Lib::PathD& path : result) {
        std::vector<Vec2> piece;
        piece.reserve(path.size());
        for (const Clipper2Lib::PointD& p : path)
            piece.emplace_back(p.x, p.y);
        pieces.push_back(std::move(piece));
    }
    return pieces;
}

Layouter::Layouter(const std::shared_ptr<bg::Proposal>& proposal_, int allowFreeSpace_)
    : proposal(proposal_), parameters(&getBuildingParameters()), allowFreeSpace(allowFreeSpace_)
{
    // A loaded file may have lost the building or the set a proposal names;
    // every model build and read-back relies on both.
    if (!proposal)
        throw std::invalid_argument("There is no proposal to optimise.");
    if (!proposal->building)
        throw std::invalid_argument("The proposal \"" + proposal->name +
                                    "\" has no building; choose one before optimising it.");
    if (!proposal->requirementSet)
        throw std::invalid_argument("The proposal \"" + proposal->name +
                                    "\" has no requirement set; choose one before optimising it.");
    obstacles = computeObstacles();
    requirementSet = proposal->requirementSet;
}

std::vector<Obstacle> Layouter::computeObstacles() const
{
    std::vector<Obstacle> found;
    const double inset = parameters->outerWallStrength - 0.5 * parameters->innerWallStrength;
    if (!proposal->building)
        return found;
    for (const std::shared_ptr<bg::Floor>& floor : proposal->getBuilding()->getFloors()) {
        const std::vector<Vec2> contour = floor->getContour();
        if (isAxisParallelRectangle(contour))
            continue;
        for (const std::vector<Vec2>& piece :
             boundingBoxComplement(insetPolygon(contour, inset))) {
            const BoundingBox box = boundingBox(piece);
            found.emplace_back(floor->getLevel(), box.min.x, box.min.y,
                               box.max.x - box.min.x, box.max.y - box.min.y);
        }
    }
    return found;
}

Layouter::~Layouter()
{
    freeSolver();
}

void Layouter::freeSolver()
{
    variables.clear();
    if (scip != nullptr) {
        // Also deletes the recorder of the model.
        const SCIP_RETCODE freed = SCIPfree(&scip);
        if (freed != SCIP_OKAY)
            SCIPerrorMessage("Error <%d> in function call\n", freed);
        scip = nullptr;
    }
}

SCIP_RETCODE Layouter::recreateSolver(const char* problemName)
{
    freeSolver();
    SCIP_CALL(SCIPcreate(&scip));
    SCIP_CALL(SCIPincludeDefaultPlugins(scip));
    SCIP_CALL(SCIPcreateProbBasic(scip, problemName));
    return SCIP_OKAY;
}

SCIP_RETCODE Layouter::includeRecorder()
{
    // The instance owns the handler from here on and deletes it when freed.
    SCIP_CALL(SCIPincludeObjEventhdlr(
        scip, new EventhdlrNewSol(scip, &variables, &currentValues, solutions, &interruptAtNewLayout), TRUE));
    if (tuneFirstLayout)
        SCIP_CALL(includeFirstLayoutTuning(scip));
    return SCIP_OKAY;
}

SCIP_RETCODE Layouter::buildModel()
{
    // The constructor refused such a proposal; it may have lost them since.
    if (!proposal->building || !requirementSet) {
        SCIPerrorMessage("the proposal has no building or no requirement set\n");
        return SCIP_INVALIDDATA;
    }
    switch (mode) {
    case fixedFloorMode: {
        SCIP_CALL(buildFixedFloorModel());
        return offerStartLayouts();
    }
    case integerFloorMode:
        startValues.clear();
        startsOffered = 0;
        completeStartsOffered = 0;
        return buildIntegerFloorModel();
    default:
        startValues.clear();
        startsOffered = 0;
        completeStartsOffered = 0;
        return buildFloorAssignmentModel();
    }
}

SCIP_RETCODE Layouter::offerStart(const std::unordered_map<std::string, double>& values, bool& partial)
{
    // A start that satisfies every row is the first layout as it stands,
    // held for the solver; one that breaks a row (or leaves a variable the
    // rectangles cannot decide) is left to the solver's completion, which may
    // still mend it.
    bool accepted = false;
    if (offerCompleteStarts)
        SCIP_CALL(startlayout::offerCompleteSolution(scip, variables, values, accepted));
    if (accepted) {
        ++completeStartsOffered;
    } else {
        SCIP_CALL(startlayout::offerPartialSolution(scip, variables, values));
        partial = true;
    }
    ++startsOffered;
    return SCIP_OKAY;
}

SCIP_RETCODE Layouter::offerStartLayouts()
{
    const std::unordered_map<std::string, double> kept = std::move(startValues);
    startValues.clear();
    startsOffered = 0;
    completeStartsOffered = 0;
    bool partial = false;
    const std::vector<std::shared_ptr<bg::Requirement>>& requirements = requirementSet->getRequirements();
    const double t = parameters->innerWallStrength;
    std::vector<startlayout::ObstacleBox> boxes;
    for (const Obstacle& o : obstacles)
        boxes.push_back({o.getLevel(), o.getX(), o.getY(), o.getWidth(), o.getHeight()});
    // The last layout first: the solver tries starts in turn, and that one
    // is usually the better start. It must be a layout of these
    // rooms, no more and no fewer.
    if (!kept.empty() && kept.count(modelnames::roomVarName("x", static_cast<int>(requirements.size()))) == 0) {
        const std::vector<startlayout::PackedRoom> rooms = startlayout::roomsOf(requirements, kept);
        if (!rooms.empty())
            SCIP_CALL(offerStart(startlayout::modelValues(requirements, rooms, boxes, t, parameters->doorWidth),
                                 partial));
    }
    const modelsupport::FloorData floors = modelsupport::computeFloorData(
        proposal->getBuilding()->getFloors(), parameters->outerWallStrength - 0.5 * t);
    if (packStartLayout) {
        const std::vector<startlayout::PackedRoom> packed =
            startlayout::packRooms(requirements, floors, t, allowFreeSpace == 0);
        if (!packed.empty())
            SCIP_CALL(
                offerStart(startlayout::modelValues(requirements, packed, boxes, t, parameters->doorWidth), partial));
    }
    // Several storeys and no whole start: the storeys one at a time, should
    // the search not find a layout of its own soon.
    if (packStartLayout && completeStartsOffered == 0) {
        std::vector<std::pair<int, int>> roomsByLevel;
        std::map<int, double> slack;
        for (const std::shared_ptr<bg::Requirement>& requirement : requirements) {
            roomsByLevel.emplace_back(requirement->getIndex(), requirement->getLevel());
            slack[requirement->getLevel()] += requirement->getAreaErrorRange().second;
        }
        for (auto& [level, share] : slack) {
            const auto area = floors.areas.find(level);
            share = area != floors.areas.end() && area->second > 0.0 ? share / area->second : 0.0;
        }
        SCIP_CALL(includeStoreyStart(scip, variables, roomsByLevel, floors, slack));
    }
    // The completion keeps the start's rectangles as they are: widened
    // bounds would leave it a nonconvex problem of its own, which took a
    // second and more on eight rooms; fixed, only the facade choices remain.
    if (partial)
        SCIP_CALL(SCIPsetRealParam(scip, "heuristics/completesol/boundwidening", 0.0));
    return SCIP_OKAY;
}

SCIP_RETCODE Layouter::reset()
{
    // The layout on the screen starts the new model's search when the rooms
    // stay the same.
    startValues = std::move(currentValues);
    currentValues.clear();
    solved = false;
    proposal->requirementSet = requirementSet;
    {
        auto lock = proposal->lockRooms();
        proposal->rebuildLayoutsAndRooms();
    }
    // The layouts follow the building's current outlines; so must the
    // obstacles, or rooms could be placed in a notch drawn since.
    obstacles = computeObstacles();
    const SCIP_RETCODE built = buildModel();
    timeLimit = 1;
    return built;
}

void Layouter::applyBestSolution()
{
    Solution newest;
    if (solutions == nullptr || !solutions->latest(newest))
        return;
    applySolution(newest);
}

void Layouter::applySolution(const Solution& solution)
{
    currentValues = solution.values;

    using modelnames::roomVarName;
    auto lock = proposal->lockRooms();
    proposal->resetPlacements();
    const auto& layouts = proposal->getLayouts();
    // Only read: the building is not edited while a run's dialog is up.
    const std::list<std::shared_ptr<bg::Floor>> noFloors;
    const std::list<std::shared_ptr<bg::Floor>>& floors =
        proposal->building ? proposal->building->getFloors() : noFloors;
    for (const std::shared_ptr<bg::Room>& room : proposal->getRooms()) {
        const int id = room->index;
        room->position = Vec2(valueOf(currentValues, roomVarName("x", id)),
                              valueOf(currentValues, roomVarName("y", id)));
        room->size = Vec2(valueOf(currentValues, roomVarName("l", id)),
                          valueOf(currentValues, roomVarName("w", id)));
        room->updateContour();

        // A room without a requirement keeps the level resetPlacements gave it.
        const std::shared_ptr<bg::Requirement> requirement = room->getRequirement();
        if (mode == fixedFloorMode) {
            if (requirement)
                room->level = requirement->getLevel();
        } else if (mode == integerFloorMode) {
            // An integer variable comes back within the solver's integrality
            // tolerance (2.9999999 for 3): round, never truncate.
            if (requirement)
                room->level = requirement->getLevel() == bg::anyFloor
                              ? static_cast<int>(std::lround(
                                    valueOf(currentValues, modelnames::floorVarName(id))))
                              : requirement->getLevel();
        } else {
            // The model has a level binary for each of the building's floors,
            // whatever layouts the proposal still has. Binaries come back
            // within the integrality tolerance, so "on this level" means above
            // one half, not exactly 1.
            for (const std::shared_ptr<bg::Floor>& floor : floors) {
                const double onLevel = valueOf(currentValues, modelnames::levelVarName(id, floor->getLevel()));
                if (onLevel > 0.5) {
                    room->level = floor->getLevel();
                    break;
                }
            }
        }
        // The floor of the room's layout; a floor added since the layouts
        // were made has none, and then the building's floor of that level
        // stands in.
        std::shared_ptr<bg::Floor> standing;
        for (const std::shared_ptr<bg::Layout>& layout : layouts) {
            if (layout->getLevel() == room->level)
                standing = layout->getFloor();
        }
        for (const std::shared_ptr<bg::Floor>& floor : floors) {
            if (!standing && floor->getLevel() == room->level)
                standing = floor;
        }
        if (standing)
            room->setFloor(standing);
    }
}
