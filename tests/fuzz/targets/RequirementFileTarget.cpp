#include "FuzzTargets.h"

#include "model/Requirement.h"
#include "model/RequirementFile.h"

#include <sstream>

namespace kovra_fuzz {

namespace {

std::vector<std::shared_ptr<bg::Requirement>> read(const std::string& text)
{
    std::istringstream in(text);
    return bg::readRequirementsCsv(in, "fuzz.csv");
}

// What the reader read must be writable, and read back.
std::string written(std::vector<std::shared_ptr<bg::Requirement>> requirements, const char* which)
{
    bg::RequirementSet set;
    set.requirements = std::move(requirements);
    try {
        return bg::requirementsCsvText(set);
    } catch (const std::exception& error) {
        throw Finding(std::string("the ") + which + " read cannot be written: " + error.what());
    }
}

} // namespace

void requirementFile(const std::uint8_t* data, std::size_t size)
{
    std::vector<std::shared_ptr<bg::Requirement>> requirements;
    try {
        requirements = read(std::string(reinterpret_cast<const char*>(data), size));
    } catch (const std::runtime_error&) {
        return;
    } catch (const std::invalid_argument&) {
        return;
    } catch (const std::out_of_range&) {
        return;
    }
    // "%f" keeps six decimals, so the first write may round what the input
    // held (and the aspect ratios derived from it); from then on the text
    // must stay as it is.
    std::string text = written(std::move(requirements), "first");
    std::string previous;
    for (const char* which : {"second", "third"}) {
        try {
            requirements = read(text);
        } catch (const std::exception& error) {
            throw Finding(std::string("the written file does not read again: ") + error.what() + "\n" + text);
        }
        previous = text;
        text = written(std::move(requirements), which);
    }
    if (text != previous)
        throw Finding("read, write, read, write changed the text:\n" + previous + "\n----\n" + text);
}

} // namespace kovra_fuzz
