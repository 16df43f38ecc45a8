#pragma once

// One measured run: a case in one "Fill All" setting with one of the models
// (by default the one "Start" builds), then solved either by the
// application's solve loop in one-second slices or by one continuous solve
// with the same time limit.
// A run happens in a child process of its own (runInChild), so that its
// peak memory is its own and a crash costs one row, not the benchmark.

#include "BenchCases.h"

#include <cmath>
#include <string>
#include <vector>

namespace bench {

enum class Method { Sliced, Continuous };

const char* methodName(Method method);

// The name of a Layouter mode in the tables: "fixed", "assignment" or "integer".
const char* modelName(int mode);

// The models a case can be laid out with: the one "Start" builds, and every
// model that applies (the fixed-floor model only when every room has a
// fixed level), in the order fixed, assignment, integer. Throws like loadCase.
struct CaseModels {
    int start = 0;
    std::vector<int> all;
};
CaseModels caseModels(const std::string& dataFolder, const CaseInfo& info);

struct RunConfig {
    const CaseInfo* info = nullptr;
    bool fillAll = false; // "Fill All" on: allowFreeSpace 0
    Method method = Method::Sliced;
    double budget = 30.0;  // seconds of wall time (sliced) or solver time limit (continuous)
    std::string dataFolder;
    // When set, the solver's statistics of the run are written there.
    std::string statisticsPath;
    // The solver settings for the first layout (Layouter::tuneFirstLayout),
    // on as in the application unless switched off to compare.
    bool tuning = true;
    // The Layouter mode of the model to build.
    int mode = 0;
    // The packing handed to the solver as a start (Layouter::packStartLayout),
    // on as in the application unless switched off to compare.
    bool start = true;
    // With the packing: a start that satisfies every row goes to the solver
    // whole (Layouter::offerCompleteStarts), as in the application; off hands
    // it over only as a partial solution for the solver to complete.
    bool completeStart = true;
    // Slices end at every better layout (Layouter::endSliceAtNewLayout), as
    // in the application; off measures whole one-second slices, as before.
    bool sliceEndsAtLayout = true;
};

// The points in time, as fractions of the budget, at which the best
// objective is reported (5, 15 and 30 s of a 30 s budget).
constexpr double markFractions[3] = {1.0 / 6.0, 0.5, 1.0};

struct RunResult {
    std::string error; // load failure, exception or crash; empty when none
    int mode = 0;
    int buildCode = 1; // SCIP_RETCODE of the build, SCIP_OKAY = 1
    double buildSeconds = 0.0;
    int vars = 0, binaries = 0, constraints = 0;

    // Seconds from the start of the solve (wall clock) to the first recorded
    // solution, and the solver's own clock then; negative: none recorded.
    double firstSeconds = -1.0;
    double firstSolverSeconds = -1.0;
    // The solver's clock (CPU seconds) at the first slice event that finds a
    // recorded layout: when the page would show the first layout. In a
    // continuous run the same as firstSolverSeconds. Negative: never.
    double screenSolverSeconds = -1.0;
    // Where the first recorded solution came from: "start" for a start the
    // solver took whole (it is there before the search begins), else the
    // heuristic that found it ("completesol" for a completed start) or "lp",
    // "pseudo", "relax" for the search's own solutions; empty without one.
    std::string firstFrom;
    int solutions = 0;     // length of the solution history
    int events = 0;        // best-solution events seen by the bench itself
    // Recorded solutions whose objective is not that of the solution the
    // event announced (the solver's primal bound lagging behind).
    int staleObjectives = 0;
    double bestAt[3] = {NAN, NAN, NAN};
    double primal = NAN, dual = NAN, gap = NAN;
    std::string status;    // the solver's status after the run
    bool solved = false;
    int slices = 0;
    double wallSeconds = 0.0;   // the whole solve, wall clock
    double solverSeconds = 0.0; // the solver's total solving time
    long long nodes = 0;
    int solveCode = 1;          // first failing SCIP_RETCODE of the solve, SCIP_OKAY = 1

    // "pass", "FAIL", "no layout" or "-" (nothing solved).
    std::string check = "-";
    std::vector<std::string> violations;

    // The quality of the best layout, comparable between the models (whose
    // objectives differ): sideError is Σ ((l − tl)² + (w − tw)²) / Σ (tl² + tw²)
    // over the rooms' net sides, freeShare the share of the floors' area inside
    // the outer walls that no room's net area covers, score their sum. NAN
    // without a layout.
    double sideError = NAN, freeShare = NAN, score = NAN;

    // Filled in by the parent from the child's resource usage.
    double peakMB = 0.0;
    double cpuSeconds = 0.0;
    // The first line the solver printed to its error output, when any.
    std::string note;
};

// Runs the run in this process.
RunResult runInProcess(const RunConfig& run);

// Builds the case's model as "Start" does and writes it to path in the
// solver's CIP format. Returns an empty string or what went wrong.
std::string writeModel(const RunConfig& run, const std::string& path);

// Solves the case in one continuous solve of run.budget seconds, checks the
// best layout with every rule and, when it passes, saves the project with
// the placed rooms to path. Returns an empty string or what went wrong.
std::string saveSolvedCase(const RunConfig& run, const std::string& path);

// The child's report to the parent, one "key<TAB>value" per line.
std::string serialize(const RunResult& result);
RunResult parse(const std::string& text);

} // namespace bench
