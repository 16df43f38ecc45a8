// Values that come in through the files stay within the ranges the rest of
// the program can carry: what a reader takes can be saved and read again,
// and what it cannot take is refused with a message naming it.

#include "model/Bounds.h"
#include "model/Building.h"
#include "model/Project.h"
#include "model/Requirement.h"
#include "model/RequirementFile.h"

#include "support/FileSupport.h"
#include "support/ModelFixtures.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

using namespace kovra_test;

std::string saveText(const bg::Project& project)
{
    std::stringstream out;
    project.saveToStream(out);
    return out.str();
}

// The fixture project with the text of one element replaced.
std::string fixtureWith(const std::string& from, const std::string& to)
{
    std::string text = readText(dataFile("project.xsp"));
    const auto at = text.find(from);
    if (at == std::string::npos)
        throw std::logic_error("the fixture has no " + from);
    return text.replace(at, from.size(), to);
}

struct ProjectCase {
    const char* name;
    const char* from;
    const char* to;
    const char* refusal; // part of the message; nullptr when read
};

const ProjectCase projectCases[] = {
    {"DoorWidthHuge", "<door_width>1.1000000000000001</door_width>", "<door_width>1e300</door_width>",
     "parameter \"door_width\": 1e300 lies outside 0 to 1000 metres"},
    {"DoorWidthNegative", "<door_width>1.1000000000000001</door_width>", "<door_width>-0.5</door_width>",
     "parameter \"door_width\": -0.5 lies outside"},
    {"DoorWidthAtTheLimit", "<door_width>1.1000000000000001</door_width>", "<door_width>1000</door_width>", nullptr},
    {"GlazingAboveOne", "<window_glazing_factor>", "<window_glazing_factor>7", "lies outside 0 to 1."},
    {"FloorLevelBelowTheRange", "<level>0</level>", "<level>-100001</level>",
     "level -100001 lies outside -100000 to 100000"},
    {"FloorLevelAtIntMin", "<level>0</level>", "<level>-2147483648</level>", "level -2147483648 lies outside"},
    {"FloorLevelAtTheRangeEnd", "<level>1</level>", "<level>-100000</level>", nullptr},
};

class ProjectEntry : public ::testing::TestWithParam<ProjectCase> {};

TEST_P(ProjectEntry, IsRefusedNamingTheValueOrSavesAndOpensEqual)
{
    const ProjectCase& row = GetParam();
    const std::string text = fixtureWith(row.from, row.to);
    if (row.refusal) {
        try {
            bg::Project::loadFromText(text);
            FAIL() << "read";
        } catch (const std::exception& e) {
            EXPECT_NE(std::string(e.what()).find(row.refusal), std::string::npos) << e.what();
        }
        return;
    }
    const auto project = bg::Project::loadFromText(text);
    const std::string saved = saveText(*project);
    EXPECT_EQ(maskIds(saveText(*bg::Project::loadFromText(saved))), maskIds(saved)); // save, open again: equal
}

INSTANTIATE_TEST_SUITE_P(Rows, ProjectEntry, ::testing::ValuesIn(projectCases),
                         [](const auto& info) { return std::string(info.param.name); });

const std::string header = "Index;Room;Adjacency;Type;Area;Boundaries;Level;Length;Width;Min. Area;Max. Area;"
                           "Min. Length;Max. Length;Min. Width;Max. Width;Min. AspectRatio;Max. AspectRatio;"
                           "Position;\n";

std::string csvLine(const std::string& level, const std::string& minLength, const std::string& maxWidth)
{
    return "0;Hall;;Bedroom;12.000000;;" + level + ";4.000000;3.000000;9.600000;18.000000;" + minLength +
           ";6.000000;2.000000;" + maxWidth + ";0.750000;3.000000;(any, any)\n";
}

struct CsvCase {
    const char* name;
    std::string line;
    const char* refusal;
};

const CsvCase csvCases[] = {
    {"MinimumLengthBeyondTheBound", csvLine("0", "1e308", "0.5"), "column \"Min. Length\""},
    {"LevelAboveTheRange", csvLine("100001", "3.000000", "4.000000"),
     "column \"Level\": level 100001 lies outside -100000 to 100000"},
    {"LevelAtIntMin", csvLine("-2147483648", "3.000000", "4.000000"), "level -2147483648 lies outside"},
    {"AnyFloor", csvLine("", "3.000000", "4.000000"), nullptr},
    {"LevelAtTheRangeEnd", csvLine("100000", "3.000000", "4.000000"), nullptr},
    {"LargeButFiniteRatio", csvLine("0", "10000", "1e-7"), nullptr},
};

class RequirementEntry : public ::testing::TestWithParam<CsvCase> {};

TEST_P(RequirementEntry, IsRefusedNamingTheValueOrSavesAndOpensEqual)
{
    const CsvCase& row = GetParam();
    std::istringstream in(header + row.line + "End");
    if (row.refusal) {
        try {
            bg::readRequirementsCsv(in, "rooms.csv");
            FAIL() << "read";
        } catch (const std::exception& e) {
            EXPECT_NE(std::string(e.what()).find(row.refusal), std::string::npos) << e.what();
        }
        return;
    }
    const auto requirements = bg::readRequirementsCsv(in, "rooms.csv");
    auto set = makeRequirementSet(requirements);
    // What the reader took both writers write: the requirement file and the
    // project holding it.
    const std::string written = bg::requirementsCsvText(*set);
    std::istringstream again(written);
    EXPECT_EQ(bg::requirementsCsvText(*makeRequirementSet(bg::readRequirementsCsv(again, "rooms.csv"))),
              written); // save, open again: equal
    bg::Project project("p");
    project.addRequirementSet(set);
    const std::string saved = saveText(project);
    EXPECT_EQ(maskIds(saveText(*bg::Project::loadFromText(saved))), maskIds(saved));
}

INSTANTIATE_TEST_SUITE_P(Rows, RequirementEntry, ::testing::ValuesIn(csvCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Files that read but hold what the check before a run refuses: each
// problem is named with its line, in that check's words.
std::string roomLine(const std::string& index, const std::string& name, const std::string& adjacency,
                     const std::string& area, const std::string& level, const std::string& minArea,
                     const std::string& maxArea)
{
    return index + ";" + name + ";" + adjacency + ";Bedroom;" + area + ";;" + level + ";4.000000;3.000000;" +
           minArea + ";" + maxArea + ";3.000000;6.000000;2.000000;4.000000;0.750000;3.000000;(any, any)\n";
}

struct ProblemCase {
    const char* name;
    std::string lines;
    std::vector<std::string> problems;
};

const std::string hall = roomLine("0", "Hall", "1,", "12.000000", "0", "9.600000", "18.000000");
const std::string bath = roomLine("1", "Bath", "0,", "6.000000", "0", "4.800000", "9.000000");

const ProblemCase problemCases[] = {
    {"NegativeArea", hall + roomLine("1", "Bath", "0,", "-6.000000", "0", "4.800000", "9.000000"),
     {"Line 3: Room 1 \"Bath\": the area is negative (-6)."}},
    {"DuplicatedIndex", hall + bath + roomLine("1", "Study", "", "8.000000", "0", "6.400000", "12.000000"),
     {"Line 4: Room 1 \"Study\" has the index of the room on line 3; every room needs an index of its own."}},
    {"LevelWithoutAFloor", hall + roomLine("1", "Bath", "0,", "6.000000", "3", "4.800000", "9.000000"),
     {"Line 3: Room 1 \"Bath\" is on level 3, but the building has no floor with that level."}},
    {"MinimumAreaAboveMaximum", hall + roomLine("1", "Bath", "0,", "6.000000", "0", "9.000000", "4.800000"),
     {"Line 3: Room 1 \"Bath\": the minimum area (9) is above the maximum area (4.8)."}},
    {"DoorToAMissingRoom", hall + roomLine("1", "Bath", "0,7,", "6.000000", "0", "4.800000", "9.000000"),
     {"Line 3: Room 1 \"Bath\" is to connect to room 7, which the requirement set does not have."}},
    {"AllAtOnce", hall + roomLine("0", "Bath", "9,", "-1.000000", "5", "3.000000", "2.000000"),
     {"Line 2: Room 0 \"Hall\" is to connect to room 1, which the requirement set does not have.",
      "Line 3: Room 0 \"Bath\": the area is negative (-1).",
      "Line 3: Room 0 \"Bath\" has the index of the room on line 2; every room needs an index of its own.",
      "Line 3: Room 0 \"Bath\": the minimum area (3) is above the maximum area (2).",
      "Line 3: Room 0 \"Bath\" is on level 5, but the building has no floor with that level.",
      "Line 3: Room 0 \"Bath\" is to connect to room 9, which the requirement set does not have."}},
    {"Sound", hall + bath + roomLine("2", "Stairs", "", "5.000000", "", "4.000000", "6.000000"), {}},
};

class RequirementProblems : public ::testing::TestWithParam<ProblemCase> {};

TEST_P(RequirementProblems, AreListedByLineAndTheSetSavesAndOpensEqual)
{
    const ProblemCase& row = GetParam();
    std::istringstream in(header + row.lines + "End");
    std::vector<int> lines;
    const auto requirements = bg::readRequirementsCsv(in, "rooms.csv", &lines);
    const std::vector<int> floorLevels = {0, 1};
    EXPECT_EQ(bg::requirementFileProblems(requirements, lines, &floorLevels), row.problems);
    // What was imported is kept as it is: written and read back, equal.
    const std::string written = bg::requirementsCsvText(*makeRequirementSet(requirements));
    std::istringstream again(written);
    EXPECT_EQ(bg::requirementsCsvText(*makeRequirementSet(bg::readRequirementsCsv(again, "rooms.csv"))),
              written); // save, open again: equal
}

INSTANTIATE_TEST_SUITE_P(Rows, RequirementProblems, ::testing::ValuesIn(problemCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RequirementProblemsWithoutABuilding, LevelsAreNotChecked)
{
    std::istringstream in(header + roomLine("0", "Hall", "", "12.000000", "4", "9.600000", "18.000000") + "End");
    std::vector<int> lines;
    const auto requirements = bg::readRequirementsCsv(in, "rooms.csv", &lines);
    EXPECT_EQ(lines, std::vector<int>{2});
    EXPECT_TRUE(bg::requirementFileProblems(requirements, lines, nullptr).empty());
}

} // namespace
