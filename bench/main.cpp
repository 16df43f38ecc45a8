// kovra_bench: how fast and how well the optimiser lays out the benchmark
// cases, once through the application's solve loop in one-second slices and
// once as one continuous solve with the same time limit, with the model
// "Start" builds or with each model that applies. See README.md.

#include "BenchCases.h"
#include "BenchExport.h"
#include "BenchRun.h"
#include "layouter/Layouter.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#ifndef KOVRA_BENCH_DATA
#define KOVRA_BENCH_DATA "bench/data"
#endif

namespace {

using namespace bench;

struct Options {
    std::string dataFolder = KOVRA_BENCH_DATA;
    std::string csvPath;
    std::string generateFolder;
    std::string cipPath;
    std::string solvedFolder;
    bool exportRow = false;
    int exportRepeats = 5;
    std::string exportFolder;
    std::string caseId;
    // A project file run as the one case instead of the benchmark's (its
    // first proposal), named by its file name.
    std::string projectFile;
    std::string statisticsFolder;
    std::string fill = "both";   // "off", "on" or "both"
    std::string method = "both"; // "sliced", "continuous" or "both"
    std::string tuning = "on";   // "on", "off" or "both"
    std::string start = "on";    // "on", "off", "both", "partial" or "all"
    bool scale = false;          // the scale cases instead of the six
    bool wholeSlices = false;    // slices not ended by better layouts
    std::string model = "start"; // "start", "fixed", "assignment", "integer" or "all"
    double budget = 30.0;
    int jobs = 1;
    bool list = false;
};

void usage(std::FILE* out)
{
    std::fprintf(out,
                 "usage: kovra_bench [options]\n"
                 "  --budget S        seconds per run (default 30)\n"
                 "  --case C          run one case only (id or number, see --list)\n"
                 "  --project FILE    run the first proposal of a project file of one's own as the one case\n"
                 "  --fill off|on|both    \"Fill All\" setting(s) to run (default both)\n"
                 "  --method sliced|continuous|both   (default both)\n"
                 "  --tuning on|off|both  solver settings for the first layout (default on, as in the application)\n"
                 "  --start on|off|both|partial|all   the packing handed to the solver as a start (default on,\n"
                 "                    as in the application: whole when it satisfies the model, else partial);\n"
                 "                    partial: only as a partial solution; all: on, partial and off\n"
                 "  --whole-slices    slices run their full second even after a better layout (as before)\n"
                 "  --scale           the scale cases (6 to 24 rooms, one and two floors) instead of the six\n"
                 "  --model start|fixed|assignment|integer|all   the model(s) to run (default start:\n"
                 "                    the one \"Start\" builds; all: every model that applies)\n"
                 "  --jobs N          runs at the same time, 1 to 4 (default 1)\n"
                 "  --csv FILE        where the CSV goes (default bench-results.csv beside the program)\n"
                 "  --data DIR        the case files (default %s)\n"
                 "  --statistics DIR  write the solver's statistics of every run into DIR\n"
                 "  --write-cip FILE  write the model of --case with --fill off|on in CIP format and stop\n"
                 "  --export          time the IFC export of a solved 3-floor, 30-room proposal and stop\n"
                 "  --export-repeats N  exports per schema, the fastest reported (default 5)\n"
                 "  --export-keep DIR keep the exported files in DIR\n"
                 "  --save-solved DIR solve --case (or every case) once, continuously, with --fill off|on, and\n"
                 "                    save each layout that passes the checker into DIR under the case's file name\n"
                 "  --generate DIR    write the case files into DIR and stop\n"
                 "  --list            list the cases and stop\n",
                 KOVRA_BENCH_DATA);
}

Options parseOptions(int argc, char** argv)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc)
                throw std::invalid_argument(arg + " needs a value");
            return argv[++i];
        };
        if (arg == "--budget") {
            options.budget = std::atof(value().c_str());
            if (!(options.budget > 0.0))
                throw std::invalid_argument("--budget needs a positive number of seconds");
        } else if (arg == "--case") {
            options.caseId = value();
            if (!findCase(options.caseId))
                throw std::invalid_argument("no case \"" + options.caseId + "\" (see --list)");
        } else if (arg == "--project") {
            options.projectFile = value();
        } else if (arg == "--fill") {
            options.fill = value();
            if (options.fill != "off" && options.fill != "on" && options.fill != "both")
                throw std::invalid_argument("--fill takes off, on or both");
        } else if (arg == "--method") {
            options.method = value();
            if (options.method != "sliced" && options.method != "continuous" && options.method != "both")
                throw std::invalid_argument("--method takes sliced, continuous or both");
        } else if (arg == "--model") {
            options.model = value();
            if (options.model != "start" && options.model != "fixed" && options.model != "assignment" &&
                options.model != "integer" && options.model != "all")
                throw std::invalid_argument("--model takes start, fixed, assignment, integer or all");
        } else if (arg == "--tuning") {
            options.tuning = value();
            if (options.tuning != "on" && options.tuning != "off" && options.tuning != "both")
                throw std::invalid_argument("--tuning takes on, off or both");
        } else if (arg == "--start") {
            options.start = value();
            if (options.start != "on" && options.start != "off" && options.start != "both" &&
                options.start != "partial" && options.start != "all")
                throw std::invalid_argument("--start takes on, off, both, partial or all");
        } else if (arg == "--scale") {
            options.scale = true;
        } else if (arg == "--whole-slices") {
            options.wholeSlices = true;
        } else if (arg == "--jobs") {
            options.jobs = std::atoi(value().c_str());
            if (options.jobs < 1 || options.jobs > 4)
                throw std::invalid_argument("--jobs takes 1 to 4");
        } else if (arg == "--csv") {
            options.csvPath = value();
        } else if (arg == "--data") {
            options.dataFolder = value();
        } else if (arg == "--write-cip") {
            options.cipPath = value();
        } else if (arg == "--export") {
            options.exportRow = true;
        } else if (arg == "--export-repeats") {
            options.exportRepeats = std::atoi(value().c_str());
            if (options.exportRepeats < 1)
                throw std::invalid_argument("--export-repeats takes a positive number");
        } else if (arg == "--export-keep") {
            options.exportFolder = value();
        } else if (arg == "--save-solved") {
            options.solvedFolder = value();
        } else if (arg == "--statistics") {
            options.statisticsFolder = value();
        } else if (arg == "--generate") {
            options.generateFolder = value();
        } else if (arg == "--list") {
            options.list = true;
        } else if (arg == "--help" || arg == "-h") {
            usage(stdout);
            std::exit(0);
        } else {
            throw std::invalid_argument("unknown option " + arg);
        }
    }
    if (!options.projectFile.empty()) {
        if (!options.caseId.empty() || options.scale)
            throw std::invalid_argument("--project runs its own file: not with --case or --scale");
        const std::size_t slash = options.projectFile.rfind('/');
        options.dataFolder = slash == std::string::npos ? "." : options.projectFile.substr(0, slash);
    }
    return options;
}

// The case of --project: the file name without its extension as its id,
// the file's folder as the data folder (set by parseOptions).
const CaseInfo& projectCase(const std::string& path)
{
    static std::string id, file;
    static CaseInfo info{"", "", "a project file of one's own"};
    file = path.substr(path.rfind('/') == std::string::npos ? 0 : path.rfind('/') + 1);
    id = file.substr(0, file.rfind('.'));
    info.id = id.c_str();
    info.file = file.c_str();
    return info;
}

// The cases to run: the project file's, the one --case names, or all six
// (or the scale cases).
std::vector<CaseInfo> chosenCases(const Options& options)
{
    if (!options.projectFile.empty())
        return {projectCase(options.projectFile)};
    if (!options.caseId.empty())
        return {*findCase(options.caseId)};
    return options.scale ? scaleCases() : cases();
}

std::string besideProgram(const std::string& name)
{
    char path[4096];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0)
        return name;
    path[length] = '\0';
    std::string folder(path);
    return folder.substr(0, folder.rfind('/') + 1) + name;
}

std::string readWhole(const std::string& path)
{
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The modes --model asks for that apply to the case; none when the case
// cannot take the one asked for (the fixed-floor model of a case with rooms
// on any floor).
std::vector<int> modesToRun(const Options& options, const CaseInfo& info)
{
    const CaseModels models = caseModels(options.dataFolder, info);
    if (options.model == "start")
        return {models.start};
    if (options.model == "all")
        return models.all;
    const int asked = options.model == "fixed" ? fixedFloorMode
                      : options.model == "integer" ? integerFloorMode
                                                   : floorAssignmentMode;
    if (std::find(models.all.begin(), models.all.end(), asked) == models.all.end())
        return {};
    return {asked};
}

// ---------------------------------------------------------------------------
// Child processes

struct Job {
    RunConfig run;
    RunResult result;
    pid_t pid = 0;
    std::chrono::steady_clock::time_point started;
    std::string resultPath;
    std::string logPath;
};

std::string tempPath(const char* kind)
{
    char path[] = "/tmp/kovra-bench-XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0)
        throw std::runtime_error(std::string("cannot create a temporary file for the ") + kind);
    close(fd);
    return path;
}

void startJob(Job& job)
{
    job.resultPath = tempPath("result");
    job.logPath = tempPath("solver output");
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid < 0)
        throw std::runtime_error(std::string("fork failed: ") + std::strerror(errno));
    if (pid == 0) {
        // The solver's own output and error messages go to the log, so that
        // the parent can quote them and the table stays readable.
        const int log = open(job.logPath.c_str(), O_WRONLY | O_TRUNC);
        if (log >= 0) {
            dup2(log, STDOUT_FILENO);
            dup2(log, STDERR_FILENO);
            close(log);
        }
        const std::string report = serialize(runInProcess(job.run));
        std::ofstream out(job.resultPath, std::ios::trunc);
        out << report;
        out.close();
        std::fflush(nullptr);
        _exit(out ? 0 : 3);
    }
    job.pid = pid;
    job.started = std::chrono::steady_clock::now();
}

void finishJob(Job& job, int status, const struct rusage& usage)
{
    job.result = parse(readWhole(job.resultPath));
    // ru_maxrss is in kilobytes on Linux.
    job.result.peakMB = usage.ru_maxrss / 1024.0;
    job.result.cpuSeconds = usage.ru_utime.tv_sec + usage.ru_utime.tv_usec * 1e-6 + usage.ru_stime.tv_sec +
                            usage.ru_stime.tv_usec * 1e-6;
    if (WIFSIGNALED(status))
        job.result.error = "the run died of signal " + std::to_string(WTERMSIG(status)) +
                           (job.result.error.empty() ? "" : " (" + job.result.error + ")");
    else if (WIFEXITED(status) && WEXITSTATUS(status) != 0 && job.result.error.empty())
        job.result.error = "the run ended with exit code " + std::to_string(WEXITSTATUS(status));
    std::istringstream log(readWhole(job.logPath));
    std::string line;
    while (std::getline(log, line))
        if (!line.empty()) {
            job.result.note = line;
            break;
        }
    std::remove(job.resultPath.c_str());
    std::remove(job.logPath.c_str());
    job.pid = 0;
}

std::string fixed(double value, int decimals)
{
    if (std::isnan(value))
        return "-";
    if (std::fabs(value) >= 1e19)
        return value > 0 ? "inf" : "-inf";
    char text[48];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string seconds(double value)
{
    return value < 0.0 ? "never" : fixed(value, 2);
}

std::string gapText(double gap)
{
    if (std::isnan(gap))
        return "-";
    if (gap >= 1e19)
        return "inf";
    return fixed(100.0 * gap, 1) + "%";
}

std::string settingName(const RunConfig& run)
{
    return run.fillAll ? "on" : "off";
}

// "on" (the application), "part" (the packing only as a partial solution)
// or "off".
const char* startName(const RunConfig& run)
{
    if (!run.start)
        return "off";
    return run.completeStart ? "on" : "part";
}

const char* tuningName(const RunConfig& run)
{
    return run.tuning ? "on" : "off";
}

// What the row's check column says, and why when there is no layout.
std::string outcome(const RunResult& r)
{
    if (!r.error.empty())
        return "ERROR";
    if (r.buildCode != 1)
        return "build failed";
    return r.check;
}

void progressLine(std::size_t done, std::size_t total, const Job& job)
{
    const RunResult& r = job.result;
    std::printf("[%2zu/%zu] %-9s %-10s fill %-3s %-10s tuning %-3s start %-3s %6.1f s  first %-7s screen %-7s %3d "
                "solutions  %s%s%s\n",
                done, total, job.run.info->id, modelName(job.run.mode), settingName(job.run).c_str(),
                methodName(job.run.method), tuningName(job.run), startName(job.run), r.wallSeconds,
                seconds(r.firstSeconds).c_str(), seconds(r.screenSolverSeconds).c_str(), r.solutions,
                outcome(r).c_str(),
                r.error.empty() ? "" : ": ", r.error.c_str());
    std::fflush(stdout);
}

void runJobs(std::vector<Job>& jobs, int parallel, double budget)
{
    // A run that outlives its budget by this much is stuck, not slow.
    const double deadline = budget + std::max(60.0, budget);
    std::size_t next = 0, done = 0;
    std::vector<Job*> running;
    while (next < jobs.size() || !running.empty()) {
        while (next < jobs.size() && static_cast<int>(running.size()) < parallel) {
            startJob(jobs[next]);
            running.push_back(&jobs[next]);
            ++next;
        }
        int status = 0;
        struct rusage usage {};
        const pid_t pid = wait4(-1, &status, WNOHANG, &usage);
        if (pid > 0) {
            for (std::size_t i = 0; i < running.size(); ++i) {
                if (running[i]->pid != pid)
                    continue;
                finishJob(*running[i], status, usage);
                progressLine(++done, jobs.size(), *running[i]);
                running.erase(running.begin() + static_cast<long>(i));
                break;
            }
            continue;
        }
        for (Job* job : running) {
            const double age = std::chrono::duration<double>(std::chrono::steady_clock::now() - job->started).count();
            if (age > deadline)
                kill(job->pid, SIGKILL); // reaped above, reported as killed
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

// ---------------------------------------------------------------------------
// Report

std::string markName(int k, double budget)
{
    char text[32];
    std::snprintf(text, sizeof text, "best@%gs", markFractions[k] * budget);
    return text;
}

// When the page would show the first layout, in the solver's CPU seconds,
// with and without the packing as a start, and where the run ended.
void printScreenTable(const std::vector<Job>& jobs)
{
    std::printf("\nfirst layout on the screen (solver CPU s)\n%-9s %-4s %-10s %-5s %7s %7s %-12s %5s %11s %-11s %7s "
                "%-10s\n",
                "case", "fill", "method", "start", "screen", "first", "from", "sols", "primal", "status", "solver",
                "check");
    for (const Job& job : jobs) {
        const RunResult& r = job.result;
        std::printf("%-9s %-4s %-10s %-5s %7s %7s %-12s %5d %11s %-11s %7s %-10s\n", job.run.info->id,
                    settingName(job.run).c_str(), methodName(job.run.method), startName(job.run),
                    seconds(r.screenSolverSeconds).c_str(), seconds(r.firstSolverSeconds).c_str(),
                    r.firstFrom.empty() ? "-" : r.firstFrom.c_str(), r.solutions,
                    r.solutions > 0 ? fixed(r.primal, 3).c_str() : "-", r.status.empty() ? "-" : r.status.c_str(),
                    fixed(r.solverSeconds, 2).c_str(), outcome(r).c_str());
    }
}

void printTable(const std::vector<Job>& jobs, double budget)
{
    std::printf("\n%-9s %-10s %-4s %-10s %-4s %5s %4s %5s %6s %7s %5s %11s %11s %11s %11s %11s %8s %-11s %6s %6s %6s %6s %-12s\n",
                "case", "model", "fill", "method", "tune", "vars", "bin", "cons", "build", "first", "sols", markName(0, budget).c_str(),
                markName(1, budget).c_str(), markName(2, budget).c_str(), "primal", "dual", "gap", "status", "slices",
                "wall", "cpu", "MB", "check");
    for (const Job& job : jobs) {
        const RunResult& r = job.result;
        std::printf("%-9s %-10s %-4s %-10s %-4s %5d %4d %5d %6s %7s %5d %11s %11s %11s %11s %11s %8s %-11s %6s %6s %6s %6.0f %-12s\n",
                    job.run.info->id, modelName(job.run.mode), settingName(job.run).c_str(),
                    methodName(job.run.method), tuningName(job.run), r.vars, r.binaries,
                    r.constraints, fixed(r.buildSeconds, 2).c_str(), seconds(r.firstSeconds).c_str(), r.solutions,
                    fixed(r.bestAt[0], 3).c_str(), fixed(r.bestAt[1], 3).c_str(), fixed(r.bestAt[2], 3).c_str(),
                    r.solutions > 0 ? fixed(r.primal, 3).c_str() : "-", fixed(r.dual, 3).c_str(),
                    r.solutions > 0 ? gapText(r.gap).c_str() : "-", r.status.empty() ? "-" : r.status.c_str(),
                    job.run.method == Method::Sliced ? std::to_string(r.slices).c_str() : "-",
                    fixed(r.wallSeconds, 1).c_str(), fixed(r.cpuSeconds, 1).c_str(), r.peakMB, outcome(r).c_str());
    }
}

const Job* partner(const std::vector<Job>& jobs, const Job& job, Method method, bool tuning)
{
    for (const Job& other : jobs)
        if (other.run.info == job.run.info && other.run.mode == job.run.mode &&
            other.run.fillAll == job.run.fillAll && other.run.method == method && other.run.tuning == tuning &&
            other.run.start == job.run.start && other.run.completeStart == job.run.completeStart)
            return &other;
    return nullptr;
}

// Sliced against continuous: the ratio of the times to the first layout, the
// difference of the best objectives at the end of the budget (objectives may
// be near zero or negative, so a ratio of them says nothing), the search
// nodes each got through, and the sliced run's solver and wall time: a
// sliced run ends with the slice that is running when the budget is up, so
// it may solve up to a second longer than the continuous one.
void printComparison(const std::vector<Job>& jobs, double budget)
{
    bool header = false;
    for (const Job& job : jobs) {
        if (job.run.method != Method::Sliced)
            continue;
        const Job* continuous = partner(jobs, job, Method::Continuous, job.run.tuning);
        if (!continuous)
            continue;
        if (!header) {
            const std::string mark = markName(2, budget);
            std::printf("\nslicing against one continuous solve\n%-9s %-10s %-4s %-4s %8s %8s %6s %11s %11s %9s %9s %9s %8s "
                        "%8s\n",
                        "case", "model", "fill", "tune", "first S", "first C", "S/C", (mark + " S").c_str(), (mark + " C").c_str(),
                        "S - C", "nodes S", "nodes C", "solver S", "wall S");
            header = true;
        }
        const RunResult& s = job.result;
        const RunResult& c = continuous->result;
        const bool both = s.firstSeconds >= 0.0 && c.firstSeconds >= 0.0;
        const double ratio = both && c.firstSeconds > 0.0 ? s.firstSeconds / c.firstSeconds : NAN;
        std::printf("%-9s %-10s %-4s %-4s %8s %8s %6s %11s %11s %9s %9lld %9lld %8s %8s\n", job.run.info->id,
                    modelName(job.run.mode), settingName(job.run).c_str(), tuningName(job.run), seconds(s.firstSeconds).c_str(), seconds(c.firstSeconds).c_str(),
                    fixed(ratio, 2).c_str(), fixed(s.bestAt[2], 3).c_str(), fixed(c.bestAt[2], 3).c_str(),
                    fixed(s.bestAt[2] - c.bestAt[2], 3).c_str(), s.nodes, c.nodes, fixed(s.solverSeconds, 1).c_str(),
                    fixed(s.wallSeconds, 1).c_str());
    }
}

// Seconds to a proven optimum; negative when the run proved none.
double provenSeconds(const RunResult& r)
{
    return r.solved && r.status == "optimal" ? r.wallSeconds : -1.0;
}

// With the first-layout settings against without, per case, setting and
// method: the times to the first layout and to a proven optimum (their
// ratio on/off, above 1: the settings were slower) and the best objectives
// at the end of the budget (their difference on - off, above 0: the
// settings ended worse).
void printTuningComparison(const std::vector<Job>& jobs, double budget)
{
    bool header = false;
    for (const Job& job : jobs) {
        if (!job.run.tuning)
            continue;
        const Job* off = partner(jobs, job, job.run.method, false);
        if (!off)
            continue;
        if (!header) {
            const std::string mark = markName(2, budget);
            std::printf("\nfirst-layout settings on against off\n%-9s %-10s %-4s %-10s %8s %8s %8s %8s %6s %11s %11s "
                        "%9s\n",
                        "case", "model", "fill", "method", "first on", "first off", "proof on", "proof off", "on/off",
                        (mark + " on").c_str(), (mark + " off").c_str(), "on - off");
            header = true;
        }
        const RunResult& a = job.result;
        const RunResult& b = off->result;
        const double proofOn = provenSeconds(a), proofOff = provenSeconds(b);
        const double ratio = proofOn > 0.0 && proofOff > 0.0 ? proofOn / proofOff : NAN;
        std::printf("%-9s %-10s %-4s %-10s %8s %9s %8s %9s %6s %11s %11s %9s\n", job.run.info->id,
                    modelName(job.run.mode), settingName(job.run).c_str(), methodName(job.run.method), seconds(a.firstSeconds).c_str(),
                    seconds(b.firstSeconds).c_str(), proofOn < 0 ? "-" : fixed(proofOn, 1).c_str(),
                    proofOff < 0 ? "-" : fixed(proofOff, 1).c_str(), fixed(ratio, 2).c_str(),
                    fixed(a.bestAt[2], 3).c_str(), fixed(b.bestAt[2], 3).c_str(),
                    fixed(a.bestAt[2] - b.bestAt[2], 3).c_str());
    }
}

// The models side by side, per case, setting, method and tuning, where more
// than one model ran. Their objectives differ, so quality is compared by the
// score of the read-back rooms (see RunResult::score; smaller is better).
void printModels(const std::vector<Job>& jobs)
{
    bool header = false;
    std::vector<const Job*> shown;
    for (const Job& job : jobs) {
        if (std::find(shown.begin(), shown.end(), &job) != shown.end())
            continue;
        std::vector<const Job*> group;
        for (const Job& other : jobs)
            if (other.run.info == job.run.info && other.run.fillAll == job.run.fillAll &&
                other.run.method == job.run.method && other.run.tuning == job.run.tuning &&
                other.run.start == job.run.start && other.run.completeStart == job.run.completeStart)
                group.push_back(&other);
        shown.insert(shown.end(), group.begin(), group.end());
        if (group.size() < 2)
            continue;
        if (!header) {
            std::printf("\nthe models compared\n%-9s %-4s %-10s %-4s %-10s %5s %4s %5s %6s %7s %5s %-11s %8s %-12s "
                        "%7s %6s %7s\n",
                        "case", "fill", "method", "tune", "model", "vars", "bin", "cons", "build", "first", "sols",
                        "status", "gap", "check", "sides", "free", "score");
            header = true;
        }
        for (const Job* member : group) {
            const RunResult& r = member->result;
            // Rounding leaves a filled floor a hair over full: "0.0%", not "-0.0%".
            const double free = std::fabs(r.freeShare) < 5e-4 ? 0.0 : r.freeShare;
            std::printf("%-9s %-4s %-10s %-4s %-10s %5d %4d %5d %6s %7s %5d %-11s %8s %-12s %7s %6s %7s\n",
                        member->run.info->id, settingName(member->run).c_str(), methodName(member->run.method),
                        tuningName(member->run), modelName(member->run.mode), r.vars, r.binaries, r.constraints,
                        fixed(r.buildSeconds, 2).c_str(), seconds(r.firstSeconds).c_str(), r.solutions,
                        r.status.empty() ? "-" : r.status.c_str(), r.solutions > 0 ? gapText(r.gap).c_str() : "-",
                        outcome(r).c_str(), fixed(r.sideError, 3).c_str(),
                        std::isnan(free) ? "-" : (fixed(100.0 * free, 1) + "%").c_str(), fixed(r.score, 3).c_str());
        }
    }
}

void printProblems(const std::vector<Job>& jobs)
{
    bool header = false;
    auto startNotes = [&] {
        if (!header)
            std::printf("\nnotes\n");
        header = true;
    };
    int staleRuns = 0, stale = 0, recorded = 0;
    for (const Job& job : jobs) {
        const RunResult& r = job.result;
        if (r.staleObjectives > 0) {
            ++staleRuns;
            stale += r.staleObjectives;
            recorded += r.solutions;
        }
        if (r.violations.empty() && r.error.empty() && r.note.empty() && r.events == r.solutions)
            continue;
        startNotes();
        const std::string name = std::string(job.run.info->id) + " " + modelName(job.run.mode) + " fill " +
                                 settingName(job.run) + " " + methodName(job.run.method) + " tuning " +
                                 tuningName(job.run);
        if (!r.error.empty())
            std::printf("%s: error: %s\n", name.c_str(), r.error.c_str());
        if (!r.note.empty())
            std::printf("%s: solver said: %s\n", name.c_str(), r.note.c_str());
        if (r.events != r.solutions)
            std::printf("%s: %d best-solution events but %d recorded solutions\n", name.c_str(), r.events,
                        r.solutions);
        if (!r.violations.empty()) {
            std::printf("%s: the best layout FAILS the checker:\n", name.c_str());
            for (const std::string& violation : r.violations)
                std::printf("    %s\n", violation.c_str());
        }
    }
    if (staleRuns > 0) {
        startNotes();
        std::printf("in %d runs, %d of %d recorded solutions carry an objective other than their own: the "
                    "solver's primal bound at the event, which may still be the previous best's (the first: "
                    "infinity); the tables use the solutions' own objectives\n",
                    staleRuns, stale, recorded);
    }
}

std::string csvField(const std::string& text)
{
    std::string quoted = "\"";
    for (char c : text)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

std::string csvNumber(double value)
{
    if (std::isnan(value))
        return "";
    char text[48];
    std::snprintf(text, sizeof text, "%.10g", value);
    return text;
}

void writeCsv(const std::string& path, const std::vector<Job>& jobs, double budget, const std::string& date)
{
    std::ofstream out(path, std::ios::trunc);
    out << "date,case,model,fill_all,method,tuning,start,screen_solver_s,budget_s,mode,build_code,build_s,vars,binaries,constraints,first_s,"
           "first_solver_s,solutions,best_at_"
        << csvNumber(markFractions[0] * budget) << "s,best_at_" << csvNumber(markFractions[1] * budget)
        << "s,best_at_" << csvNumber(markFractions[2] * budget)
        << "s,primal,dual,gap,status,solved,slices,wall_s,solver_s,cpu_s,nodes,peak_mb,check,violations,error,"
           "solver_note,best_solution_events,stale_recorded_objectives,side_error,free_share,score,first_from\n";
    for (const Job& job : jobs) {
        const RunResult& r = job.result;
        std::string violations;
        for (const std::string& violation : r.violations)
            violations += (violations.empty() ? "" : "; ") + violation;
        out << csvField(date) << "," << job.run.info->id << "," << modelName(job.run.mode) << ","
            << (job.run.fillAll ? "on" : "off") << ","
            << methodName(job.run.method) << "," << tuningName(job.run) << "," << (startName(job.run))
            << "," << (r.screenSolverSeconds < 0 ? "" : csvNumber(r.screenSolverSeconds)) << "," << csvNumber(budget) << "," << r.mode << "," << r.buildCode << ","
            << csvNumber(r.buildSeconds) << "," << r.vars << "," << r.binaries << "," << r.constraints << ","
            << (r.firstSeconds < 0 ? "" : csvNumber(r.firstSeconds)) << ","
            << (r.firstSolverSeconds < 0 ? "" : csvNumber(r.firstSolverSeconds)) << "," << r.solutions << ","
            << csvNumber(r.bestAt[0]) << "," << csvNumber(r.bestAt[1]) << "," << csvNumber(r.bestAt[2]) << ","
            << (r.solutions > 0 ? csvNumber(r.primal) : "") << "," << csvNumber(r.dual) << ","
            << (r.solutions > 0 ? csvNumber(r.gap) : "") << "," << r.status << "," << (r.solved ? 1 : 0) << ","
            << r.slices << "," << csvNumber(r.wallSeconds) << "," << csvNumber(r.solverSeconds) << ","
            << csvNumber(r.cpuSeconds) << "," << r.nodes << "," << csvNumber(r.peakMB) << "," << outcome(r) << ","
            << csvField(violations) << "," << csvField(r.error) << "," << csvField(r.note) << "," << r.events << ","
            << r.staleObjectives << "," << csvNumber(r.sideError) << "," << csvNumber(r.freeShare) << ","
            << csvNumber(r.score) << "," << csvField(r.firstFrom) << "\n";
    }
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

std::string now()
{
    const std::time_t t = std::time(nullptr);
    char text[64];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S %Z", std::localtime(&t));
    return text;
}

int run(const Options& options)
{
    if (options.list) {
        for (std::size_t i = 0; i < cases().size(); ++i)
            std::printf("%zu  %-9s %-20s %s\n", i + 1, cases()[i].id, cases()[i].file, cases()[i].what);
        return 0;
    }
    if (!options.generateFolder.empty()) {
        for (const std::string& path : writeCaseFiles(options.generateFolder))
            std::printf("wrote %s\n", path.c_str());
        return 0;
    }
    if (options.exportRow)
        return runExportBench(options.exportRepeats, options.exportFolder);
    if (!options.solvedFolder.empty()) {
        if (options.fill == "both")
            throw std::invalid_argument("--save-solved needs --fill off or --fill on");
        if (options.model == "all")
            throw std::invalid_argument("--save-solved needs one model: start, fixed, assignment or integer");
        int failures = 0;
        const std::vector<CaseInfo> chosen = chosenCases(options);
        for (const CaseInfo& info : chosen) {
            // The model "Start" builds unless --model asks for another: rooms
            // on any floor need the floor-assignment model.
            const std::vector<int> modes = modesToRun(options, info);
            if (modes.empty()) {
                std::fprintf(stderr, "kovra_bench: %s: the %s model does not apply to this case\n", info.id,
                             options.model.c_str());
                ++failures;
                continue;
            }
            RunConfig run;
            run.info = &info;
            run.mode = modes.front();
            run.fillAll = options.fill == "on";
            run.method = Method::Continuous;
            run.budget = options.budget;
            run.dataFolder = options.dataFolder;
            const std::string path = options.solvedFolder + "/" + info.file;
            const std::string failure = saveSolvedCase(run, path);
            if (failure.empty()) {
                std::printf("wrote %s\n", path.c_str());
            } else {
                std::fprintf(stderr, "kovra_bench: %s\n", failure.c_str());
                ++failures;
            }
        }
        return failures == 0 ? 0 : 1;
    }
    if (!options.cipPath.empty()) {
        if ((options.caseId.empty() && options.projectFile.empty()) || options.fill == "both")
            throw std::invalid_argument("--write-cip needs --case (or --project) and --fill off or --fill on");
        const std::vector<CaseInfo> chosen = chosenCases(options);
        RunConfig run;
        run.info = &chosen.front();
        run.fillAll = options.fill == "on";
        run.dataFolder = options.dataFolder;
        run.mode = modesToRun(options, *run.info).at(0);
        const std::string failure = writeModel(run, options.cipPath);
        if (!failure.empty()) {
            std::fprintf(stderr, "kovra_bench: %s\n", failure.c_str());
            return 1;
        }
        std::printf("wrote %s\n", options.cipPath.c_str());
        return 0;
    }

    std::vector<Job> jobs;
    const std::vector<CaseInfo> chosen = chosenCases(options);
    for (const CaseInfo& info : chosen) {
        for (const int mode : modesToRun(options, info)) {
            for (const bool fillAll : {false, true}) {
                if ((fillAll && options.fill == "off") || (!fillAll && options.fill == "on"))
                    continue;
                for (const Method method : {Method::Sliced, Method::Continuous}) {
                    if ((method == Method::Sliced && options.method == "continuous") ||
                        (method == Method::Continuous && options.method == "sliced"))
                        continue;
                    // With both, the two runs of a pair go one after the other,
                    // under the same load as far as the machine allows.
                    for (const bool tuning : {true, false}) {
                        if ((tuning && options.tuning == "off") || (!tuning && options.tuning == "on"))
                            continue;
                        for (const std::string start : {"on", "partial", "off"}) {
                            const bool wanted = options.start == start || options.start == "all" ||
                                                (options.start == "both" && start != "partial");
                            if (!wanted)
                                continue;
                            Job job;
                            job.run = {&info, fillAll, method, options.budget, options.dataFolder, "", tuning};
                            job.run.mode = mode;
                            job.run.start = start != "off";
                            job.run.completeStart = start == "on";
                            job.run.sliceEndsAtLayout = !options.wholeSlices;
                            if (!options.statisticsFolder.empty())
                                job.run.statisticsPath = options.statisticsFolder + "/" + info.id + "-" +
                                                         modelName(mode) + "-fill-" + (fillAll ? "on" : "off") +
                                                         "-" + methodName(method) + (tuning ? "" : "-tuning-off") +
                                                         (start == "on" ? "" : "-start-" + start) + ".txt";
                            jobs.push_back(job);
                        }
                    }
                }
            }
        }
    }
    const std::string date = now();
    const std::string csvPath = options.csvPath.empty() ? besideProgram("bench-results.csv") : options.csvPath;
    std::printf("kovra_bench %s: %zu runs, %g s each, %d at a time, tuning %s\n", date.c_str(), jobs.size(),
                options.budget, options.jobs, options.tuning.c_str());
    // Other work on the machine distorts the timings: say how busy it was.
    std::printf("load average before: %s", readWhole("/proc/loadavg").c_str());
    const auto started = std::chrono::steady_clock::now();
    runJobs(jobs, options.jobs, options.budget);
    const double total = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

    printTable(jobs, options.budget);
    printScreenTable(jobs);
    printComparison(jobs, options.budget);
    printTuningComparison(jobs, options.budget);
    printModels(jobs);
    printProblems(jobs);
    writeCsv(csvPath, jobs, options.budget, date);
    std::printf("\n%zu runs in %.1f min; load average after: %s", jobs.size(), total / 60.0,
                readWhole("/proc/loadavg").c_str());
    std::printf("CSV: %s\n", csvPath.c_str());
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    try {
        return run(parseOptions(argc, argv));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kovra_bench: %s\n", e.what());
        return 2;
    }
}
