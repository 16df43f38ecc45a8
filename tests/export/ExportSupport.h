#pragma once

// Helpers of the export tests: the solved proposals under tests/data/, an
// export into a scratch file, IfcOpenShell's validator and the check script
// tests/ifc/check_export.py, whose JSON report the tests compare with the
// plan.

#include "export/IfcExporter.h"
#include "model/Building.h"
#include "model/Project.h"
#include "model/Proposal.h"
#include "support/ExternalTool.h"
#include "support/FileSupport.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <map>
#include <memory>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace exporttest {

// A project file with a solved proposal, its rooms' contours made as the
// application makes them after loading.
inline std::shared_ptr<bg::Project> loadSolved(const std::string& file)
{
    std::vector<std::string> warnings;
    auto project = bg::Project::load(kovra_test::dataFile(file), &warnings);
    for (const auto& proposal : project->proposals)
        for (const auto& room : proposal->getRooms()) {
            room->updateContour();
            room->updateInnerContour();
            for (const auto& floor : proposal->building->floors)
                if (floor->level == room->level)
                    room->setFloor(floor);
        }
    return project;
}

inline const char* schemaName(int schema)
{
    return schema == bgexport::schemaIfc4 ? "IFC4" : "IFC2X3";
}

// Exports into path with the given options; returns the warnings.
inline std::vector<std::string> exportTo(const std::string& path, const std::shared_ptr<bg::Project>& project,
                                         const std::shared_ptr<bg::Proposal>& proposal, int schema,
                                         const bgexport::ExportSettings& settings = bgexport::ExportSettings())
{
    return bgexport::exportProposal(project, proposal, path, schema, settings, "Ada Architect");
}

// One data line "#id=NAME(attributes);" of a file.
struct Line {
    std::uint64_t id = 0;
    std::string name;
    std::string attributes;
};

inline std::vector<Line> dataLines(const std::string& text)
{
    static const std::regex data(R"re(^#(\d+)=([A-Z0-9_]+)\((.*)\);$)re");
    std::vector<Line> lines;
    std::istringstream in(text);
    std::string line;
    std::smatch match;
    while (std::getline(in, line))
        if (std::regex_match(line, match, data))
            lines.push_back({std::stoull(match[1]), match[2], match[3]});
    return lines;
}

inline std::vector<Line> linesNamed(const std::string& text, const std::string& name)
{
    std::vector<Line> result;
    for (const Line& line : dataLines(text))
        if (line.name == name)
            result.push_back(line);
    return result;
}

// Every issue of IfcOpenShell's schema and rule validation, one per line;
// empty for a valid file. No rule is excused.
inline std::string validationFailures(const std::string& path)
{
    const auto report = testsupport::runCommand(
        "python3 -m ifcopenshell.validate --rules --json " + testsupport::shellQuote(path), false);
    std::string failures;
    std::istringstream in(report.output);
    std::string line;
    int issues = 0;
    while (std::getline(in, line)) {
        if (line.rfind("{", 0) != 0)
            continue;
        ++issues;
        failures += line + "\n";
    }
    if (report.exitCode != 0 && issues == 0)
        failures += "the validator failed without reporting an issue:\n" + report.output;
    return failures;
}

// The check script's report on the file.
inline nlohmann::json checkReport(const std::string& path)
{
    const auto result = testsupport::runCommand("python3 " +
                                                    testsupport::shellQuote(std::string(KOVRA_SOURCE_DIR) +
                                                                            "/tests/ifc/check_export.py") +
                                                    " " + testsupport::shellQuote(path),
                                                false);
    auto report = nlohmann::json::parse(result.output, nullptr, false);
    if (result.exitCode != 0 || report.is_discarded())
        throw std::runtime_error("the check script failed on " + path + ":\n" + result.output);
    return report;
}

// The products of a report of one IFC type.
inline std::vector<nlohmann::json> productsOf(const nlohmann::json& report, const std::string& type)
{
    std::vector<nlohmann::json> result;
    for (const auto& product : report["products"])
        if (product["type"] == type)
            result.push_back(product);
    return result;
}

// A quantity or property value of a product; NaN when missing.
inline double valueOf(const nlohmann::json& product, const std::string& set, const std::string& name)
{
    if (!product["psets"].contains(set) || !product["psets"][set].contains(name) ||
        !product["psets"][set][name].is_number())
        return std::nan("");
    return product["psets"][set][name].get<double>();
}

} // namespace exporttest
