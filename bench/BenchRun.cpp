#include "BenchRun.h"
#include "model/Constants.h"

#include "layouter/HeldStart.h"
#include "layouter/Layouter.h"
#include "layouter/SolveLoop.h"
#include "model/BuildingParameters.h"
#include "model/Proposal.h"
#include "model/Requirement.h"
#include "geometry/Polygon.h"
#include "support/LayoutChecker.h"

#include <scip/scip.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <sstream>
#include <thread>

namespace bench {

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// When each new best solution came: the bench's own event handler sees the
// same best-solution events as the optimiser's recorder and notes the time.
struct Timeline {
    Clock::time_point start = Clock::now();
    struct Found {
        double wall;
        double solver;
        double objective;
        double primalBound;
        std::string origin;
    };
    std::vector<Found> found;
};

// Where a solution the search found came from (RunResult::firstFrom).
std::string originOf(SCIP_SOL* sol)
{
    switch (SCIPsolGetType(sol)) {
    case SCIP_SOLTYPE_HEUR: return SCIPsolGetHeur(sol) != nullptr ? SCIPheurGetName(SCIPsolGetHeur(sol)) : "heur";
    case SCIP_SOLTYPE_LPRELAX: return "lp";
    case SCIP_SOLTYPE_PSEUDO: return "pseudo";
    case SCIP_SOLTYPE_RELAX: return "relax";
    case SCIP_SOLTYPE_STRONGBRANCH: return "strongbranch";
    default: return "unknown";
    }
}

// From the transformation on, as the optimiser's recorder: some heuristics
// find solutions before presolving. A whole start held for the solver is
// the recorder's first layout: noted when the handler starts, as "start".
SCIP_DECL_EVENTINIT(timelineInit)
{
    SCIP_CALL(SCIPcatchEvent(scip, SCIP_EVENTTYPE_BESTSOLFOUND, eventhdlr, nullptr, nullptr));
    auto* timeline = reinterpret_cast<Timeline*>(SCIPeventhdlrGetData(eventhdlr));
    if (const HeldStart* held = findHeldStart(scip)) {
        const double objective = held->solution().objective;
        timeline->found.push_back(
            {secondsSince(timeline->start), SCIPgetSolvingTime(scip), objective, objective, "start"});
    }
    SCIP_SOL* sol = SCIPgetBestSol(scip);
    if (sol != nullptr && (timeline->found.empty() || SCIPisLT(scip, SCIPgetSolOrigObj(scip, sol),
                                                                timeline->found.back().objective)))
        timeline->found.push_back({secondsSince(timeline->start), SCIPgetSolvingTime(scip), SCIPgetSolOrigObj(scip, sol),
                                   SCIPgetPrimalbound(scip), "start"});
    return SCIP_OKAY;
}

SCIP_DECL_EVENTEXIT(timelineExit)
{
    SCIP_CALL(SCIPdropEvent(scip, SCIP_EVENTTYPE_BESTSOLFOUND, eventhdlr, nullptr, -1));
    return SCIP_OKAY;
}

SCIP_DECL_EVENTEXEC(timelineExec)
{
    (void)eventdata;
    auto* timeline = reinterpret_cast<Timeline*>(SCIPeventhdlrGetData(eventhdlr));
    // The objective of the solution itself: the primal bound may not have
    // caught up with it yet when the event arrives.
    SCIP_SOL* sol = SCIPeventGetSol(event);
    // As the recorder: only what is better than the last layout noted (a
    // held start may be better than the solver's first layouts).
    if (!timeline->found.empty() && !SCIPisLT(scip, SCIPgetSolOrigObj(scip, sol), timeline->found.back().objective))
        return SCIP_OKAY;
    timeline->found.push_back({secondsSince(timeline->start), SCIPgetSolvingTime(scip),
                               SCIPgetSolOrigObj(scip, sol), SCIPgetPrimalbound(scip), originOf(sol)});
    return SCIP_OKAY;
}

SCIP_RETCODE includeTimeline(SCIP* scip, Timeline* timeline)
{
    SCIP_EVENTHDLR* handler = nullptr;
    SCIP_CALL(SCIPincludeEventhdlrBasic(scip, &handler, "benchTimeline", "times of new best solutions",
                                        timelineExec, reinterpret_cast<SCIP_EVENTHDLRDATA*>(timeline)));
    SCIP_CALL(SCIPsetEventhdlrInit(scip, handler, timelineInit));
    SCIP_CALL(SCIPsetEventhdlrExit(scip, handler, timelineExit));
    return SCIP_OKAY;
}

const char* statusName(SCIP_STATUS status)
{
    switch (status) {
    case SCIP_STATUS_OPTIMAL: return "optimal";
    case SCIP_STATUS_INFEASIBLE: return "infeasible";
    case SCIP_STATUS_UNBOUNDED: return "unbounded";
    case SCIP_STATUS_INFORUNBD: return "inf-or-unbd";
    case SCIP_STATUS_TIMELIMIT: return "timelimit";
    case SCIP_STATUS_USERINTERRUPT: return "interrupted";
    case SCIP_STATUS_MEMLIMIT: return "memlimit";
    case SCIP_STATUS_NODELIMIT:
    case SCIP_STATUS_TOTALNODELIMIT:
    case SCIP_STATUS_STALLNODELIMIT: return "nodelimit";
    case SCIP_STATUS_GAPLIMIT: return "gaplimit";
    case SCIP_STATUS_SOLLIMIT:
    case SCIP_STATUS_BESTSOLLIMIT: return "sollimit";
    default: return "unknown";
    }
}

// True when any requirement of the proposal may go on any floor: "Start"
// then builds the floor-assignment model.
bool hasAnyFloorRoom(const bg::Proposal& proposal)
{
    for (const auto& requirement : proposal.requirementSet->getRequirements())
        if (requirement->getLevel() == bg::anyFloor)
            return true;
    return false;
}

// The state "Start" leaves behind: a Layouter with the fill option, its
// solution list and the model of the run's mode.
struct Started {
    Started(const RunConfig& run, RunResult& result, std::shared_ptr<bg::Proposal> loaded = nullptr)
        : proposal(loaded ? std::move(loaded) : loadCase(run.dataFolder, *run.info)),
          layouter(proposal, run.fillAll ? 0 : 1)
    {
        layouter.solutions = &history;
        layouter.tuneFirstLayout = run.tuning;
        layouter.packStartLayout = run.start;
        layouter.offerCompleteStarts = run.completeStart;
        layouter.endSliceAtNewLayout = run.sliceEndsAtLayout;
        layouter.mode = run.mode;
        result.mode = layouter.mode;
        const Clock::time_point start = Clock::now();
        result.buildCode = layouter.buildModel();
        result.buildSeconds = secondsSince(start);
        if (layouter.scip != nullptr) {
            result.vars = SCIPgetNOrigVars(layouter.scip);
            result.binaries = SCIPgetNOrigBinVars(layouter.scip);
            result.constraints = SCIPgetNOrigConss(layouter.scip);
            SCIPsetIntParam(layouter.scip, "display/verblevel", 0);
            // The solver's own clock in CPU seconds: other work on the
            // machine then slows a run without making it look slower.
            SCIPsetIntParam(layouter.scip, "timing/clocktype", 1);
        }
    }

    std::shared_ptr<bg::Proposal> proposal;
    SolutionHistory history;
    Layouter layouter;
};

// The application's solve loop, stopped by a timer thread after the budget
// as the progress dialog's "Stop" would stop it.
void runSliced(Layouter& layouter, double budget, RunResult& result)
{
    std::atomic<bool> stop{false};
    std::mutex mutex;
    std::condition_variable wake;
    bool finished = false;
    std::thread timer([&] {
        std::unique_lock<std::mutex> lock(mutex);
        if (!wake.wait_for(lock, std::chrono::duration<double>(budget), [&] { return finished; }))
            stop = true;
    });
    result.solveCode = runSolveLoop(layouter, stop, [&] {
        ++result.slices;
        if (result.screenSolverSeconds < 0.0 && !layouter.solutions->empty())
            result.screenSolverSeconds = SCIPgetSolvingTime(layouter.scip);
    });
    {
        std::lock_guard<std::mutex> lock(mutex);
        finished = true;
    }
    wake.notify_one();
    timer.join();
    result.solved = layouter.solved;
}

void runContinuous(Layouter& layouter, double budget, RunResult& result)
{
    SCIP_RETCODE code = SCIPsetRealParam(layouter.scip, "limits/time", budget);
    if (code == SCIP_OKAY)
        code = SCIPsolve(layouter.scip);
    result.solveCode = code;
    result.solved = SCIPgetStage(layouter.scip) == SCIP_STAGE_SOLVED;
    layouter.applyBestSolution();
}

void readOutcome(const Layouter& layouter, const Timeline& timeline, double budget, RunResult& result)
{
    SCIP* scip = layouter.scip;
    const std::vector<Solution> history = layouter.solutions->snapshot();
    result.solutions = static_cast<int>(history.size());
    result.events = static_cast<int>(timeline.found.size());
    // The recorder keeps the primal bound of the moment; compare it with the
    // objective of the solution the same event announced.
    for (std::size_t i = 0; i < history.size() && i < timeline.found.size(); ++i) {
        const double objective = timeline.found[i].objective;
        if (std::fabs(history[i].objective - objective) > 1e-6 * (1.0 + std::fabs(objective)))
            ++result.staleObjectives;
    }
    if (!timeline.found.empty()) {
        result.firstSeconds = timeline.found.front().wall;
        result.firstSolverSeconds = timeline.found.front().solver;
        result.firstFrom = timeline.found.front().origin;
    }

    for (int k = 0; k < 3; ++k)
        for (const Timeline::Found& found : timeline.found)
            if (found.wall <= markFractions[k] * budget)
                result.bestAt[k] = found.objective;
    const SCIP_STAGE stage = SCIPgetStage(scip);
    if (stage >= SCIP_STAGE_TRANSFORMED && stage <= SCIP_STAGE_SOLVED) {
        result.primal = SCIPgetPrimalbound(scip);
        result.dual = SCIPgetDualbound(scip);
        result.gap = SCIPgetGap(scip);
        result.nodes = SCIPgetNTotalNodes(scip);
    }
    result.status = statusName(SCIPgetStatus(scip));
    result.solverSeconds = SCIPgetSolvingTime(scip);
}

// The score of the layout in the rooms (see RunResult::score). The
// integer-floor model's rectangles are net rooms; the other models' carry
// half an inner wall on every side.
void scoreLayout(const Layouter& layouter, RunResult& result)
{
    const double wall = layouter.mode == integerFloorMode ? 0.0 : getBuildingParameters().innerWallStrength;
    double squares = 0.0, targets = 0.0, roomArea = 0.0, floorArea = 0.0;
    for (const std::shared_ptr<bg::Room>& room : layouter.proposal->getRooms()) {
        const std::shared_ptr<bg::Requirement> requirement = room->getRequirement();
        if (!requirement)
            continue;
        const auto [targetLength, targetWidth] = requirement->getTargetSize();
        const double l = std::max(0.0, room->size.x - wall), w = std::max(0.0, room->size.y - wall);
        squares += (l - targetLength) * (l - targetLength) + (w - targetWidth) * (w - targetWidth);
        targets += targetLength * targetLength + targetWidth * targetWidth;
        roomArea += l * w;
    }
    // The layouts' outlines: each floor's contour inset by the whole outer wall.
    for (const std::shared_ptr<bg::Layout>& layout : layouter.proposal->getLayouts())
        floorArea += Polygon(layout->getContour()).getArea();
    result.sideError = targets > 0.0 ? squares / targets : 0.0;
    result.freeShare = floorArea > 0.0 ? 1.0 - roomArea / floorArea : 0.0;
    result.score = result.sideError + result.freeShare;
}

void checkBestLayout(Layouter& layouter, RunResult& result)
{
    if (layouter.solutions->empty()) {
        result.check = "no layout";
        return;
    }
    scoreLayout(layouter, result);
    kovra_test::LayoutRules rules;
    rules.netRectangles = layouter.mode == integerFloorMode;
    rules.allowFreeSpace = layouter.allowFreeSpace != 0;
    rules.separation = true;
    rules.facades = true;
    rules.doors = true;
    for (const Obstacle& o : layouter.obstacles)
        rules.keepOut.push_back({o.getLevel(), o.getX(), o.getY(), o.getWidth(), o.getHeight()});
    result.violations = kovra_test::checkLayout(layouter.proposal, rules);
    result.check = result.violations.empty() ? "pass" : "FAIL";
}

void writeStatistics(SCIP* scip, const std::string& path, RunResult& result)
{
    std::FILE* file = std::fopen(path.c_str(), "w");
    if (file == nullptr || SCIPprintStatistics(scip, file) != SCIP_OKAY)
        result.error = "cannot write the solver's statistics to " + path;
    if (file != nullptr)
        std::fclose(file);
}

std::string clean(std::string text)
{
    for (char& c : text)
        if (c == '\t' || c == '\n' || c == '\r')
            c = ' ';
    return text;
}

} // namespace

const char* methodName(Method method)
{
    return method == Method::Sliced ? "sliced" : "continuous";
}

const char* modelName(int mode)
{
    switch (mode) {
    case fixedFloorMode: return "fixed";
    case integerFloorMode: return "integer";
    default: return "assignment";
    }
}

CaseModels caseModels(const std::string& dataFolder, const CaseInfo& info)
{
    const std::shared_ptr<bg::Proposal> proposal = loadCase(dataFolder, info);
    CaseModels models;
    const bool anyFloor = hasAnyFloorRoom(*proposal);
    models.start = anyFloor ? floorAssignmentMode : fixedFloorMode;
    if (!anyFloor)
        models.all.push_back(fixedFloorMode);
    models.all.push_back(floorAssignmentMode);
    models.all.push_back(integerFloorMode);
    return models;
}

RunResult runInProcess(const RunConfig& run)
{
    RunResult result;
    try {
        Started started(run, result);
        Layouter& layouter = started.layouter;
        // A failed build leaves a partial model without the recorder; solving
        // it would measure nothing the application offers.
        if (result.buildCode != SCIP_OKAY || layouter.scip == nullptr)
            return result;
        Timeline timeline;
        if (includeTimeline(layouter.scip, &timeline) != SCIP_OKAY) {
            result.error = "cannot include the bench's event handler";
            return result;
        }
        timeline.start = Clock::now();
        if (run.method == Method::Sliced)
            runSliced(layouter, run.budget, result);
        else
            runContinuous(layouter, run.budget, result);
        result.wallSeconds = secondsSince(timeline.start);
        readOutcome(layouter, timeline, run.budget, result);
        // A continuous solve shows its layouts only at its end; what counts
        // there is when the solver had one.
        if (run.method == Method::Continuous)
            result.screenSolverSeconds = result.firstSolverSeconds;
        if (!run.statisticsPath.empty())
            writeStatistics(layouter.scip, run.statisticsPath, result);
        checkBestLayout(layouter, result);
    } catch (const std::exception& e) {
        result.error = e.what();
    }
    return result;
}

std::string writeModel(const RunConfig& run, const std::string& path)
{
    RunResult result;
    try {
        Started started(run, result);
        if (result.buildCode != SCIP_OKAY)
            return "the model's build failed with SCIP return code " + std::to_string(result.buildCode);
        // The models leave many variables and rows unnamed, and the solver's
        // reader rejects a file whose names repeat: generic names it accepts.
        const SCIP_RETCODE code = SCIPwriteOrigProblem(started.layouter.scip, path.c_str(), "cip", TRUE);
        if (code != SCIP_OKAY)
            return "writing " + path + " failed with SCIP return code " + std::to_string(code);
    } catch (const std::exception& e) {
        return e.what();
    }
    return "";
}

std::string saveSolvedCase(const RunConfig& run, const std::string& path)
{
    RunResult result;
    try {
        const std::shared_ptr<bg::Project> project = loadCaseProject(run.dataFolder, *run.info);
        Started started(run, result, project->proposals.front());
        if (result.buildCode != SCIP_OKAY || started.layouter.scip == nullptr)
            return "the model's build failed with SCIP return code " + std::to_string(result.buildCode);
        runContinuous(started.layouter, run.budget, result);
        checkBestLayout(started.layouter, result);
        if (result.check != "pass") {
            std::string failure = std::string(run.info->id) + ": " + result.check;
            for (const std::string& violation : result.violations)
                failure += "\n  " + violation;
            return failure;
        }
        project->saveToFile(path);
    } catch (const std::exception& e) {
        return e.what();
    }
    return "";
}

std::string serialize(const RunResult& r)
{
    std::ostringstream out;
    out.precision(17);
    out << "error\t" << clean(r.error) << "\n"
        << "mode\t" << r.mode << "\n"
        << "buildCode\t" << r.buildCode << "\n"
        << "buildSeconds\t" << r.buildSeconds << "\n"
        << "vars\t" << r.vars << "\n"
        << "binaries\t" << r.binaries << "\n"
        << "constraints\t" << r.constraints << "\n"
        << "firstSeconds\t" << r.firstSeconds << "\n"
        << "firstSolverSeconds\t" << r.firstSolverSeconds << "\n"
        << "screenSolverSeconds\t" << r.screenSolverSeconds << "\n"
        << "firstFrom\t" << clean(r.firstFrom) << "\n"
        << "solutions\t" << r.solutions << "\n"
        << "events\t" << r.events << "\n"
        << "staleObjectives\t" << r.staleObjectives << "\n";
    for (int k = 0; k < 3; ++k)
        out << "bestAt" << k << "\t" << r.bestAt[k] << "\n";
    out << "primal\t" << r.primal << "\n"
        << "dual\t" << r.dual << "\n"
        << "gap\t" << r.gap << "\n"
        << "status\t" << clean(r.status) << "\n"
        << "solved\t" << (r.solved ? 1 : 0) << "\n"
        << "slices\t" << r.slices << "\n"
        << "wallSeconds\t" << r.wallSeconds << "\n"
        << "solverSeconds\t" << r.solverSeconds << "\n"
        << "nodes\t" << r.nodes << "\n"
        << "solveCode\t" << r.solveCode << "\n"
        << "check\t" << clean(r.check) << "\n"
        << "sideError\t" << r.sideError << "\n"
        << "freeShare\t" << r.freeShare << "\n"
        << "score\t" << r.score << "\n";
    for (const std::string& violation : r.violations)
        out << "violation\t" << clean(violation) << "\n";
    return out.str();
}

RunResult parse(const std::string& text)
{
    RunResult r;
    std::istringstream in(text);
    std::string line;
    auto number = [](const std::string& value) { return std::strtod(value.c_str(), nullptr); };
    while (std::getline(in, line)) {
        const std::size_t tab = line.find('\t');
        if (tab == std::string::npos)
            continue;
        const std::string key = line.substr(0, tab);
        const std::string value = line.substr(tab + 1);
        if (key == "error") r.error = value;
        else if (key == "mode") r.mode = std::atoi(value.c_str());
        else if (key == "buildCode") r.buildCode = std::atoi(value.c_str());
        else if (key == "buildSeconds") r.buildSeconds = number(value);
        else if (key == "vars") r.vars = std::atoi(value.c_str());
        else if (key == "binaries") r.binaries = std::atoi(value.c_str());
        else if (key == "constraints") r.constraints = std::atoi(value.c_str());
        else if (key == "firstSeconds") r.firstSeconds = number(value);
        else if (key == "firstSolverSeconds") r.firstSolverSeconds = number(value);
        else if (key == "screenSolverSeconds") r.screenSolverSeconds = number(value);
        else if (key == "firstFrom") r.firstFrom = value;
        else if (key == "solutions") r.solutions = std::atoi(value.c_str());
        else if (key == "events") r.events = std::atoi(value.c_str());
        else if (key == "staleObjectives") r.staleObjectives = std::atoi(value.c_str());
        else if (key == "bestAt0") r.bestAt[0] = number(value);
        else if (key == "bestAt1") r.bestAt[1] = number(value);
        else if (key == "bestAt2") r.bestAt[2] = number(value);
        else if (key == "primal") r.primal = number(value);
        else if (key == "dual") r.dual = number(value);
        else if (key == "gap") r.gap = number(value);
        else if (key == "status") r.status = value;
        else if (key == "solved") r.solved = value == "1";
        else if (key == "slices") r.slices = std::atoi(value.c_str());
        else if (key == "wallSeconds") r.wallSeconds = number(value);
        else if (key == "solverSeconds") r.solverSeconds = number(value);
        else if (key == "nodes") r.nodes = std::atoll(value.c_str());
        else if (key == "solveCode") r.solveCode = std::atoi(value.c_str());
        else if (key == "check") r.check = value;
        else if (key == "sideError") r.sideError = number(value);
        else if (key == "freeShare") r.freeShare = number(value);
        else if (key == "score") r.score = number(value);
        else if (key == "violation") r.violations.push_back(value);
    }
    return r;
}

} // namespace bench
