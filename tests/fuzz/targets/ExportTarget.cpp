#include "FuzzTargets.h"

#include "export/IfcExporter.h"
#include "geometry/LayoutGeometry.h"
#include "model/Building.h"
#include "model/Project.h"
#include "model/Proposal.h"

#include <set>
#include <string>

namespace kovra_fuzz {

namespace {

// The STEP file's frame and its entity instances: every data line is
// "#n=NAME(...);" with a new n, parentheses balanced outside strings, and
// every reference names an instance of the file.
void checkStepText(const std::string& text)
{
    const std::string opening = "ISO-10303-21;\nHEADER;\n";
    const std::string closing = "ENDSEC;\nEND-ISO-10303-21;\n";
    if (text.compare(0, opening.size(), opening) != 0 || text.size() < closing.size() ||
        text.compare(text.size() - closing.size(), closing.size(), closing) != 0)
        throw Finding("the STEP text lacks its opening or closing lines");
    const auto data = text.find("\nDATA;\n");
    if (data == std::string::npos)
        throw Finding("the STEP text has no DATA section");
    std::set<long long> defined, referenced;
    std::size_t at = data + 7;
    const std::size_t end = text.size() - closing.size();
    while (at < end) {
        const std::size_t lineEnd = text.find(";\n", at);
        // A string may hold ";\n" only encoded, so the line ends at the
        // first ";\n" outside a string: scanned below.
        if (lineEnd == std::string::npos)
            throw Finding("a data line has no end");
        if (text[at] != '#')
            throw Finding("a data line does not start with '#': " + text.substr(at, 80));
        std::size_t i = at + 1;
        long long id = 0;
        while (i < end && text[i] >= '0' && text[i] <= '9')
            id = id * 10 + (text[i++] - '0');
        if (i == at + 1 || text[i] != '=' || !defined.insert(id).second)
            throw Finding("a data line has no new instance number: " + text.substr(at, 80));
        ++i;
        const std::size_t nameStart = i;
        while (i < end && ((text[i] >= 'A' && text[i] <= 'Z') || (text[i] >= '0' && text[i] <= '9') || text[i] == '_'))
            ++i;
        if (i == nameStart || text[i] != '(')
            throw Finding("a data line has no entity name: " + text.substr(at, 80));
        int depth = 0;
        bool inString = false;
        for (; i < end; ++i) {
            const char c = text[i];
            if (c < 0x20 || c > 0x7e) {
                if (!(c == '\n' && !inString && depth == 0))
                    throw Finding("a data line holds a character outside printable ASCII");
            }
            if (inString) {
                if (c == '\'') {
                    if (text[i + 1] == '\'')
                        ++i;
                    else
                        inString = false;
                }
                continue;
            }
            if (c == '\'')
                inString = true;
            else if (c == '(')
                ++depth;
            else if (c == ')') {
                if (--depth == 0)
                    break;
            } else if (c == '#') {
                long long reference = 0;
                std::size_t j = i + 1;
                while (j < end && text[j] >= '0' && text[j] <= '9')
                    reference = reference * 10 + (text[j++] - '0');
                if (j == i + 1)
                    throw Finding("a '#' without a number");
                referenced.insert(reference);
                i = j - 1;
            }
        }
        if (i >= end || text.compare(i, 3, ");\n") != 0)
            throw Finding("a data line's parentheses do not close: " + text.substr(at, 80));
        at = i + 3;
    }
    for (long long reference : referenced)
        if (!defined.count(reference))
            throw Finding("a reference to #" + std::to_string(reference) + ", which the file does not define");
}

} // namespace

void exportFile(const std::uint8_t* data, std::size_t size)
{
    std::shared_ptr<bg::Project> project;
    try {
        project = bg::Project::loadFromText(std::string(reinterpret_cast<const char*>(data), size));
    } catch (const std::exception&) {
        return; // the reader's refusals are the project target's business
    }
    for (const auto& proposal : project->proposals) {
        // The rooms' outlines as the application makes them after loading.
        try {
            for (const auto& room : proposal->getRooms()) {
                room->updateContour();
                room->updateInnerContour();
                if (proposal->building)
                    for (const auto& floor : proposal->building->floors)
                        if (floor->level == room->level)
                            room->setFloor(floor);
            }
        } catch (const GeometryError&) {
            continue; // the application refuses such a proposal on loading
        }
        for (int schema : {bgexport::schemaIfc4, bgexport::schemaIfc2x3}) {
            bgexport::ExportSettings settings;
            settings.enableRoundtrip = true;
            bgexport::IfcExporter exporter(schema);
            exporter.settings = &settings;
            std::string text;
            try {
                text = exporter.fileText(project, proposal, "Fuzz");
            } catch (const std::runtime_error&) {
                continue; // a documented refusal (no building, a gap in the levels, geometry)
            }
            checkStepText(text);
        }
    }
}

} // namespace kovra_fuzz
