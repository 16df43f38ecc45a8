#include "FuzzTargets.h"

#include "geometry/LayoutGeometry.h"
#include "layouter/Layouter.h"
#include "layouter/Validation.h"
#include "model/Building.h"
#include "model/Project.h"
#include "model/Proposal.h"
#include "model/Requirement.h"

#include <map>
#include <sstream>

namespace kovra_fuzz {

namespace {

// Every uuid text replaced by its number of first appearance: every save
// hands out new ids.
std::string maskIds(const std::string& text)
{
    auto uuidAt = [&text](std::size_t pos) {
        if (pos + 36 > text.size())
            return false;
        for (std::size_t i = 0; i < 36; ++i) {
            const char c = text[pos + i];
            const bool dash = i == 8 || i == 13 || i == 18 || i == 23;
            if (dash ? c != '-' : !((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
                return false;
        }
        return true;
    };
    std::map<std::string, int> numbers;
    std::string masked;
    for (std::size_t pos = 0; pos < text.size();) {
        if (uuidAt(pos)) {
            masked += "id-" + std::to_string(numbers.emplace(text.substr(pos, 36), numbers.size()).first->second);
            pos += 36;
        } else {
            masked += text[pos++];
        }
    }
    return masked;
}

std::string saved(const bg::Project& project)
{
    std::stringstream out;
    project.saveToStream(out);
    return out.str();
}

std::shared_ptr<bg::Project> reload(const std::string& text, const char* which)
{
    try {
        return bg::Project::loadFromText(text);
    } catch (const std::exception& error) {
        throw Finding(std::string("the ") + which + " save does not load again: " + error.what());
    }
}

// What the optimiser does with a loaded project before any solve.
void prepareProposals(const bg::Project& project)
{
    for (const auto& building : project.buildings) {
        for (const auto& set : project.requirementSets) {
            std::shared_ptr<bg::Proposal> proposal;
            try {
                proposal = bg::Proposal::create("Fuzz", building, set);
            } catch (const GeometryError&) {
                continue;
            }
            if (!validateProposal(proposal).empty())
                continue;
            try {
                Layouter layouter(proposal, 0);
            } catch (const std::runtime_error&) {
                // GeometryError or a piece too small for a bounding box:
                // both documented refusals.
            }
        }
    }
    for (const auto& proposal : project.proposals) {
        try {
            Layouter layouter(proposal, 0);
        } catch (const std::invalid_argument&) {
        } catch (const std::runtime_error&) {
        }
    }
}

} // namespace

void projectFile(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::shared_ptr<bg::Project> first;
    try {
        first = bg::Project::loadFromText(text);
    } catch (const std::runtime_error&) {
        return;
    } catch (const std::invalid_argument&) {
        return;
    } catch (const std::out_of_range&) {
        return;
    }
    const std::string firstSave = saved(*first);
    const std::string secondSave = saved(*reload(firstSave, "first"));
    if (maskIds(firstSave) != maskIds(secondSave))
        throw Finding("load, save, load, save changed the text:\n" + firstSave + "\n----\n" + secondSave);
    prepareProposals(*first);
}

} // namespace kovra_fuzz
