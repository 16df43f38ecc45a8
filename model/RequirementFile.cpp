#include "model/RequirementFile.h"
#include "model/Bounds.h"
#include "model/Constants.h"

#include "model/AtomicFile.h"
#include "model/NumberText.h"
#include "model/Requirement.h"

#include "geometry/LayoutGeometry.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <algorithm>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <stdexcept>

namespace bg {

namespace {

constexpr std::size_t columnCount = 18;

const char* const columns[columnCount] = {
    "Index",       "Room",       "Adjacency",  "Type",             "Area",             "Boundaries",
    "Level",       "Length",     "Width",      "Min. Area",        "Max. Area",        "Min. Length",
    "Max. Length", "Min. Width", "Max. Width", "Min. AspectRatio", "Max. AspectRatio", "Position",
};

// The columns a reader converts; the last three are recomputed or unused.
enum Column {
    indexColumn,
    roomColumn,
    adjacencyColumn,
    typeColumn,
    areaColumn,
    boundariesColumn,
    levelColumn,
    lengthColumn,
    widthColumn,
    minAreaColumn,
    maxAreaColumn,
    minLengthColumn,
    maxLengthColumn,
    minWidthColumn,
    maxWidthColumn,
};


std::string shortNumber(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

std::string fixed(double value)
{
    const int size = std::snprintf(nullptr, 0, "%f", value);
    std::string text(static_cast<std::size_t>(size) + 1, '\0');
    std::snprintf(&text[0], text.size(), "%f", value);
    text.resize(static_cast<std::size_t>(size));
    return text;
}

// A number field in "%f", which keeps six decimals; a value that would come
// out as zero (a width of 1e-7 as "0.000000", which the reader refuses) is
// written instead in the shortest form that reads back exactly.
std::string numberField(const Requirement& requirement, const char* what, double value)
{
    if (!std::isfinite(value))
        throw std::runtime_error("Room \"" + requirement.name + "\" (index " + std::to_string(requirement.index) +
                                 "): its " + what + " is not a finite number, which a requirement file cannot carry.");
    const std::string text = fixed(value);
    if (value == 0.0 || std::strtod(text.c_str(), nullptr) != 0.0)
        return text;
    for (int digits = 1; digits <= 17; ++digits) {
        char exact[64];
        std::snprintf(exact, sizeof exact, "%.*g", digits, value);
        if (std::strtod(exact, nullptr) == value)
            return exact;
    }
    return text;
}

// The one wish the file can carry; "whatever" (no wish) and several wishes
// are written as an empty field.
std::string boundaryField(const std::vector<std::string>& boundaries)
{
    if (boundaries.size() != 1 || boundaries.front() == "whatever")
        return "";
    return boundaries.front();
}

void checkWritable(const Requirement& requirement, const char* what, const std::string& text)
{
    if (text.find_first_of(std::string(";\r\n\0", 4)) != std::string::npos)
        throw std::runtime_error("Room \"" + std::string(requirement.name.c_str()) + "\" (index " +
                                 std::to_string(requirement.index) + "): its " + what +
                                 " holds \";\", a line break or a NUL character, which a requirement file "
                                 "cannot carry.");
}

std::string requirementLine(const Requirement& requirement)
{
    const std::string boundary = boundaryField(requirement.boundaries);
    checkWritable(requirement, "name", requirement.name);
    checkWritable(requirement, "room type", requirement.roomType);
    checkWritable(requirement, "boundary wish", boundary);

    std::string adjacency;
    for (int entry : requirement.adjacency)
        adjacency += std::to_string(entry) + ",";

    const std::string fields[columnCount] = {
        std::to_string(requirement.index),
        requirement.name,
        adjacency,
        requirement.roomType,
        numberField(requirement, "area", requirement.area),
        boundary,
        std::to_string(requirement.level),
        numberField(requirement, "target length", requirement.targetLength),
        numberField(requirement, "target width", requirement.targetWidth),
        numberField(requirement, "minimum area", requirement.minAreaError),
        numberField(requirement, "maximum area", requirement.maxAreaError),
        numberField(requirement, "minimum length", requirement.minLength),
        numberField(requirement, "maximum length", requirement.maxLength),
        numberField(requirement, "minimum width", requirement.minWidth),
        numberField(requirement, "maximum width", requirement.maxWidth),
        numberField(requirement, "minimum aspect ratio", requirement.minAspectRatio),
        numberField(requirement, "maximum aspect ratio", requirement.maxAspectRatio),
        "(any, any)",
    };
    std::string line;
    for (std::size_t i = 0; i < columnCount; ++i)
        line += fields[i] + (i + 1 < columnCount ? ";" : "\n");
    return line;
}

// The parts between separators; a final separator adds no empty part.
std::vector<std::string> split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, separator);)
        parts.push_back(part);
    return parts;
}

// One line of the file being read, for conversions and messages that name it.
class Line {
public:
    Line(const std::string& path, int number, std::vector<std::string> fields)
        : where_("Line " + std::to_string(number) + " of \"" + path + "\""), fields_(std::move(fields))
    {
    }

    const std::string& where() const { return where_; }
    const std::string& text(Column column) const { return fields_[column]; }
    int integer(Column column) const { return integer(column, text(column)); }
    int integer(Column column, const std::string& value) const { return parseInt(value, where(column)); }
    double number(Column column) const { return parseDouble(text(column), where(column)); }
    // A number whose magnitude is at most bound (kMaximumExtent or kMaximumArea).
    double number(Column column, double bound) const
    {
        const double value = number(column);
        if (std::fabs(value) > bound) {
            char limit[32];
            std::snprintf(limit, sizeof limit, "%g", bound);
            throw std::out_of_range(where(column) + ": \"" + text(column) + "\" lies beyond the limit of " + limit +
                                    ", far beyond any building");
        }
        return value;
    }

private:
    std::string where(Column column) const { return where_ + ", column \"" + columns[column] + "\""; }

    std::string where_;
    std::vector<std::string> fields_;
};

std::vector<int> readAdjacency(const Line& line)
{
    const std::string& field = line.text(adjacencyColumn);
    if (field.empty() || field == "-1")
        return {-1};
    std::vector<int> adjacency;
    for (const std::string& part : split(field, ','))
        adjacency.push_back(line.integer(adjacencyColumn, part));
    return adjacency;
}

// The aspect-ratio limits divide the lengths by the widths.
void checkDimensions(const Line& line, const std::string& room, double minLength, double maxLength,
                     double minWidth, double maxWidth)
{
    const struct {
        const char* what;
        double value;
        bool valid;
    } checks[] = {
        {"minimum width", minWidth, minWidth > 0},
        {"maximum width", maxWidth, maxWidth > 0},
        {"minimum length", minLength, minLength >= 0},
        {"maximum length", maxLength, maxLength >= 0},
    };
    for (const auto& check : checks)
        if (!check.valid)
            throw std::runtime_error(line.where() + " (room \"" + room + "\"): the " + check.what + " is " +
                                     fixed(check.value) +
                                     "; it would make the aspect-ratio limits infinite or undefined.");
}

std::shared_ptr<Requirement> readRequirement(const Line& line)
{
    const int index = line.integer(indexColumn);
    const std::string& name = line.text(roomColumn);
    std::vector<int> adjacency = readAdjacency(line);
    const std::string& roomType = line.text(typeColumn);
    const double area = line.number(areaColumn, kMaximumArea);
    const std::string& boundary = line.text(boundariesColumn);
    const int level = line.text(levelColumn).empty() ? anyFloor : line.integer(levelColumn);
    if (level != anyFloor)
        checkLevel(level, line.where() + ", column \"Level\"");
    const double length = line.number(lengthColumn, kMaximumExtent);
    const double width = line.number(widthColumn, kMaximumExtent);
    const double minArea = line.number(minAreaColumn, kMaximumArea);
    const double maxArea = line.number(maxAreaColumn, kMaximumArea);
    const double minLength = line.number(minLengthColumn, kMaximumExtent);
    const double maxLength = line.number(maxLengthColumn, kMaximumExtent);
    const double minWidth = line.number(minWidthColumn, kMaximumExtent);
    const double maxWidth = line.number(maxWidthColumn, kMaximumExtent);
    checkDimensions(line, name, minLength, maxLength, minWidth, maxWidth);
    const double minAspectRatio = minLength / maxWidth;
    const double maxAspectRatio = maxLength / minWidth;
    if (!std::isfinite(minAspectRatio))
        throw std::runtime_error(line.where() + " (room \"" + name + "\"): the minimum length " +
                                 fixed(minLength) + " over the maximum width " + fixed(maxWidth) +
                                 " makes the aspect-ratio limit infinite.");
    if (!std::isfinite(maxAspectRatio))
        throw std::runtime_error(line.where() + " (room \"" + name + "\"): the maximum length " +
                                 fixed(maxLength) + " over the minimum width " + fixed(minWidth) +
                                 " makes the aspect-ratio limit infinite.");

    return std::make_shared<Requirement>(index, name, std::move(adjacency), area, roomType,
                                         Requirement::Range{length, width}, Requirement::Range{minLength, maxLength},
                                         Requirement::Range{minWidth, maxWidth},
                                         Requirement::Range{minAspectRatio, maxAspectRatio},
                                         Vec2(noExpectedPosition, noExpectedPosition), level,
                                         std::vector<std::string>{boundary.empty() ? "whatever" : boundary},
                                         Requirement::Range{minArea, maxArea}, 0);
}

} // namespace

std::string requirementsCsvText(const RequirementSet& set)
{
    std::string text;
    for (const char* column : columns)
        text += std::string(column) + ";";
    text += "\n";
    for (const auto& requirement : set.requirements)
        text += requirementLine(*requirement);
    text += "End";
    return text;
}

void exportRequirementsCsv(const std::shared_ptr<RequirementSet>& set, const std::string& path)
{
    writeFileAtomically(path, requirementsCsvText(*set));
}

std::vector<std::shared_ptr<Requirement>> readRequirementsCsv(std::istream& in, const std::string& path,
                                                              std::vector<int>* lineNumbers)
{
    if (lineNumbers)
        lineNumbers->clear();
    std::vector<std::shared_ptr<Requirement>> requirements;
    std::string text;
    int number = 0;
    bool headerRead = false;
    while (std::getline(in, text)) {
        ++number;
        if (text.find('\0') != std::string::npos)
            throw std::runtime_error("Line " + std::to_string(number) + " of \"" + path +
                                     "\": it holds a NUL character, which a requirement file cannot carry.");
        if (!text.empty() && text.back() == '\r')
            text.pop_back();
        // Other readers of the format end a line there; the writer never
        // writes one.
        if (headerRead && text.find('\r') != std::string::npos)
            throw std::runtime_error("Line " + std::to_string(number) + " of \"" + path +
                                     "\": it holds a carriage return within the line, which a requirement file "
                                     "cannot carry.");
        if (!headerRead) {
            headerRead = true; // its text is not compared
            continue;
        }
        if (text.empty())
            continue;
        std::vector<std::string> fields = split(text, ';');
        if (fields.front() == "End")
            return requirements;
        if (fields.size() != columnCount)
            throw std::runtime_error("Line " + std::to_string(number) + " of \"" + path + "\": expected " +
                                     std::to_string(columnCount) + " fields, found " +
                                     std::to_string(fields.size()) + ".");
        requirements.push_back(readRequirement(Line(path, number, std::move(fields))));
        if (lineNumbers)
            lineNumbers->push_back(number);
    }
    if (in.bad())
        throw std::runtime_error("Cannot read the requirement file \"" + path + "\": " + std::strerror(errno) + ".");
    if (!headerRead)
        throw std::runtime_error("The requirement file \"" + path + "\" is empty: it has no header line.");
    return requirements;
}

std::vector<std::shared_ptr<Requirement>> importRequirementsCsv(const std::string& path, std::vector<int>* lineNumbers)
{
    std::ifstream in(path);
    if (!in)
        throw std::runtime_error("Cannot read the requirement file \"" + path + "\": " + std::strerror(errno) + ".");
    return readRequirementsCsv(in, path, lineNumbers);
}

std::vector<std::string> requirementFileProblems(const std::vector<std::shared_ptr<Requirement>>& requirements,
                                                 const std::vector<int>& lineNumbers,
                                                 const std::vector<int>* floorLevels)
{
    std::vector<std::string> problems;
    std::map<int, int> firstLineOfIndex;
    for (std::size_t i = 0; i < requirements.size(); ++i)
        firstLineOfIndex.emplace(requirements[i]->index, i < lineNumbers.size() ? lineNumbers[i] : 0);
    for (std::size_t i = 0; i < requirements.size(); ++i) {
        const Requirement& r = *requirements[i];
        const int number = i < lineNumbers.size() ? lineNumbers[i] : 0;
        const std::string label = "Line " + std::to_string(number) + ": Room " + std::to_string(r.index) + " \"" +
                                  r.name + "\"";
        if (r.area < 0.0)
            problems.push_back(label + ": the area is negative (" + shortNumber(r.area) + ").");
        const int firstLine = firstLineOfIndex.at(r.index);
        if (firstLine != number)
            problems.push_back(label + " has the index of the room on line " + std::to_string(firstLine) +
                               "; every room needs an index of its own.");
        if (r.minAreaError > r.maxAreaError)
            problems.push_back(label + ": the minimum area (" + shortNumber(r.minAreaError) +
                               ") is above the maximum area (" + shortNumber(r.maxAreaError) + ").");
        if (floorLevels && r.level != anyFloor &&
            std::find(floorLevels->begin(), floorLevels->end(), r.level) == floorLevels->end())
            problems.push_back(label + " is on level " + std::to_string(r.level) +
                               ", but the building has no floor with that level.");
        std::set<int> named;
        for (int other : r.adjacency)
            if (other != -1 && other != r.index && !firstLineOfIndex.count(other) && named.insert(other).second)
                problems.push_back(label + " is to connect to room " + std::to_string(other) +
                                   ", which the requirement set does not have.");
    }
    return problems;
}

} // namespace bg
