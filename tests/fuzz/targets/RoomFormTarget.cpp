#include "FuzzTargets.h"

#include "requirements/RoomForm.h"

#include "model/Requirement.h"
#include "model/RequirementFile.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>

namespace kovra_fuzz {

namespace {

std::vector<double> numbersOf(const bg::Requirement& r)
{
    return {r.area,      r.targetLength, r.targetWidth, r.minAreaError,   r.maxAreaError,   r.minLength,
            r.maxLength, r.minWidth,     r.maxWidth,    r.minAspectRatio, r.maxAspectRatio, double(r.level)};
}

std::string writable(const bg::RequirementSet& set, const char* after)
{
    try {
        return bg::requirementsCsvText(set);
    } catch (const std::exception& error) {
        throw Finding(std::string("the set cannot be saved after ") + after + ": " + error.what());
    }
}

int slider(const std::string& text, int low, int high)
{
    return std::clamp(std::atoi(text.c_str()), low, high);
}

} // namespace

// The input: a requirement file, optionally followed by a line "#FORM" and
// the texts the user types (area, length, width, level, then the six slider
// positions and the two position fields), one a line.
void roomForm(const std::uint8_t* data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    const auto marker = input.find("\n#FORM\n");
    std::istringstream file(input.substr(0, marker));
    std::vector<std::shared_ptr<bg::Requirement>> requirements;
    try {
        requirements = bg::readRequirementsCsv(file, "fuzz.csv");
    } catch (const std::exception&) {
        return;
    }
    auto set = std::make_shared<bg::RequirementSet>();
    set->requirements = requirements;
    // The reader's file may round on its first write; the set must save.
    writable(*set, "reading");

    // OK without changes: the requirement keeps its numbers (a locked row
    // loses its tolerance once), and a second OK changes nothing.
    for (auto requirement : requirements) {
        try {
            applyRoomForm(roomFormFor(nullptr, *set, requirement, bg::anyFloor), *set, requirement);
        } catch (const std::invalid_argument&) {
            continue; // what the file holds and the dialog refuses (a width of 0 %)
        }
        const std::vector<double> first = numbersOf(*requirement);
        applyRoomForm(roomFormFor(nullptr, *set, requirement, bg::anyFloor), *set, requirement);
        if (numbersOf(*requirement) != first)
            throw Finding("a second OK without changes changed \"" + requirement->name + "\"");
        writable(*set, "OK without changes");
    }

    // A new room with the typed texts: refused naming a field, or stored
    // with an index of its own and savable.
    std::vector<std::string> lines;
    if (marker != std::string::npos) {
        std::istringstream rest(input.substr(marker + 7));
        for (std::string line; std::getline(rest, line) && lines.size() < 12;)
            lines.push_back(line);
    }
    lines.resize(12);
    RoomForm form = roomFormFor(nullptr, *set, nullptr, bg::anyFloor);
    form.dimensions = {lines[0], lines[1], lines[2]};
    form.level = lines[3];
    form.areaMin = slider(lines[4], 0, 100);
    form.areaMax = slider(lines[5], 100, 200);
    form.lengthMin = slider(lines[6], 0, 100);
    form.lengthMax = slider(lines[7], 100, 200);
    form.widthMin = slider(lines[8], 0, 100);
    form.widthMax = slider(lines[9], 100, 200);
    form.xPosition = lines[10];
    form.yPosition = lines[11];
    std::shared_ptr<bg::Requirement> added;
    try {
        applyRoomForm(form, *set, added);
    } catch (const std::invalid_argument&) {
        return;
    }
    for (const auto& other : set->requirements)
        if (other != added && other->index == added->index &&
            std::count_if(requirements.begin(), requirements.end(),
                          [&](const auto& r) { return r->index == added->index; }) > 0)
            throw Finding("the new room got the index " + std::to_string(added->index) + " of another room");
    const std::string text = writable(*set, "adding a room");
    std::istringstream again(text);
    try {
        bg::readRequirementsCsv(again, "fuzz.csv");
    } catch (const std::exception& error) {
        throw Finding(std::string("the saved set does not read again: ") + error.what());
    }
}

} // namespace kovra_fuzz
