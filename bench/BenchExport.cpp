#include "BenchExport.h"

#include "export/IfcExporter.h"
#include "model/Project.h"
#include "model/Requirement.h"
#include "support/LayoutChecker.h"
#include "support/ModelFixtures.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace bench {

namespace {

// Three 20 x 15 m floors, each filled by two rows of five rooms whose outer
// sides lie on the walls' inner faces, as the optimiser places them; every
// room is adjacent to its eastern neighbour, the south-west room of the
// ground floor is the entrance.
std::shared_ptr<bg::Project> solvedThirtyRooms()
{
    const double width = 20.0, depth = 15.0, outer = 0.36, inner = 0.2;
    const int columns = 5, rows = 2, floors = 3;
    const double x0 = outer - inner / 2, y0 = outer - inner / 2;
    const double roomLength = (width - 2 * x0) / columns, roomWidth = (depth - 2 * y0) / rows;
    const char* types[] = {"Bedroom", "Living", "Kitchen", "Bath", "Office"};

    auto building = kovra_test::makeRectBuilding(width, depth, floors);
    std::vector<std::shared_ptr<bg::Requirement>> requirements;
    for (int level = 0; level < floors; ++level)
        for (int row = 0; row < rows; ++row)
            for (int column = 0; column < columns; ++column) {
                const int index = static_cast<int>(requirements.size());
                const bool entrance = index == 0;
                requirements.push_back(kovra_test::makeRequirement(
                    index, "Room " + std::to_string(index), roomLength * roomWidth, level,
                    {column + 1 < columns ? index + 1 : -1}, entrance ? "Entrance" : types[column]));
            }
    auto set = kovra_test::makeRequirementSet(requirements, "Thirty rooms");
    auto proposal = kovra_test::makeProposal(building, set, "Thirty rooms");
    const auto rooms = proposal->getRooms();
    for (std::size_t i = 0; i < rooms.size(); ++i) {
        const int level = static_cast<int>(i) / (columns * rows);
        const int row = (static_cast<int>(i) / columns) % rows;
        const int column = static_cast<int>(i) % columns;
        kovra_test::placeRoom(proposal, rooms[i], {x0 + column * roomLength, y0 + row * roomWidth},
                              {roomLength, roomWidth}, level);
        rooms[i]->updateInnerContour();
    }
    auto project = std::make_shared<bg::Project>("Export benchmark");
    project->addBuilding(building);
    project->addRequirementSet(set);
    project->proposals.push_back(proposal);
    return project;
}

std::string readWhole(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

int runExportBench(int repeats, const std::string& keepFolder)
{
    const auto project = solvedThirtyRooms();
    const auto proposal = project->proposals.front();
    kovra_test::LayoutRules rules;
    rules.allowFreeSpace = false;
    rules.doors = true;
    const auto violations = kovra_test::checkLayout(proposal, rules);
    if (!violations.empty()) {
        std::fprintf(stderr, "kovra_bench: the export's proposal fails the checker:\n%s\n",
                     kovra_test::describe(violations).c_str());
        return 1;
    }

    std::printf("export of a solved proposal: 3 floors, %zu rooms, default options, fastest of %d\n",
                proposal->getRooms().size(), repeats);
    std::printf("%-8s %10s %12s %10s %9s\n", "schema", "seconds", "bytes", "entities", "warnings");
    std::vector<std::string> said; // the warnings' texts, each once, for below the table
    for (int schema : {bgexport::schemaIfc4, bgexport::schemaIfc2x3}) {
        const char* name = schema == bgexport::schemaIfc4 ? "IFC4" : "IFC2X3";
        const std::string path = keepFolder.empty()
                                     ? "/tmp/kovra-bench-export-" + std::to_string(::getpid()) + "-" + name + ".ifc"
                                     : keepFolder + "/export-" + name + ".ifc";
        double best = 1e300;
        std::vector<std::string> warnings;
        for (int run = 0; run < repeats; ++run) {
            const auto start = std::chrono::steady_clock::now();
            try {
                warnings = bgexport::exportProposal(project, proposal, path, schema, bgexport::ExportSettings(),
                                                    "Benchmark");
            } catch (const std::exception& e) {
                std::fprintf(stderr, "kovra_bench: the %s export failed: %s\n", name, e.what());
                return 1;
            }
            best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        }
        const std::string text = readWhole(path);
        std::size_t entities = 0;
        std::istringstream lines(text);
        for (std::string line; std::getline(lines, line);)
            entities += !line.empty() && line[0] == '#' ? 1 : 0;
        std::printf("%-8s %10.3f %12zu %10zu %9zu\n", name, best, text.size(), entities, warnings.size());
        for (const std::string& warning : warnings)
            if (std::find(said.begin(), said.end(), std::string(name) + ": " + warning) == said.end())
                said.push_back(std::string(name) + ": " + warning);
        if (keepFolder.empty())
            std::remove(path.c_str());
    }
    for (const std::string& warning : said)
        std::printf("  %s\n", warning.c_str());
    return 0;
}

} // namespace bench
