// Careless and hostile files: numbers that are not finite or lie outside
// their range, texts that XML reads differently from how they were written,
// damage that a load mends, and saves onto links, special files and files
// with their own mode. Each input is the smallest that showed a fault.

#include "model/Building.h"
#include "model/Project.h"
#include "model/Proposal.h"
#include "model/Requirement.h"
#include "model/RequirementFile.h"
#include "model/Site.h"

#include "support/FileSupport.h"
#include "support/ModelFixtures.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <sstream>
#include <stdexcept>

namespace {

using namespace kovra_test;
namespace fs = std::filesystem;

std::string saveText(const bg::Project& project)
{
    std::stringstream out;
    project.saveToStream(out);
    return out.str();
}

// A project of one building with one floor whose first point is (x, y).
std::string floorPointProject(const std::string& x, const std::string& y = "0")
{
    return "<project><name>p</name><building><uuid>b</uuid><name>B</name><floor><uuid>f</uuid><level>0</level>"
           "<contour><position><x>" +
           x + "</x><y>" + y + "</y></position></contour></floor></building></project>";
}

// A project of one proposal with one room holding `fields`.
std::string roomProject(const std::string& fields)
{
    return "<project><name>p</name><proposal><uuid>p</uuid><name>P</name><requirement_set>s</requirement_set>"
           "<building>b</building><room><uuid>r</uuid><index>0</index><name>R</name><requirement>x</requirement><level>0</level>" +
           fields + "</room></proposal></project>";
}

// A project of one requirement set with one requirement holding `fields`
// (after the fields every requirement has).
std::string requirementProject(const std::string& fields)
{
    std::string all = "<index>0</index><name>R</name><area>1</area><target_length>1</target_length>"
                      "<target_width>1</target_width><min_length>1</min_length><max_length>1</max_length>"
                      "<min_width>1</min_width><max_width>1</max_width><min_aspect_ratio>1</min_aspect_ratio>"
                      "<max_aspect_ratio>1</max_aspect_ratio>";
    return "<project><name>p</name><requirement_set><uuid>s</uuid><name>S</name><requirement><uuid>r</uuid>" +
           fields + all + "</requirement></requirement_set></project>";
}

std::string siteProject(const std::string& lat, const std::string& lon)
{
    return "<project><name>p</name><site><name>S</name><lat>" + lat + "</lat><lon>" + lon +
           "</lon><orientation>0</orientation><building>b</building></site></project>";
}

std::string message(const std::function<void()>& action)
{
    try {
        action();
    } catch (const std::exception& error) {
        return error.what();
    }
    return "(nothing thrown)";
}

// ---------------------------------------------------------------------------
// Numbers

struct RefusedNumber {
    const char* name;
    std::string file;
    // The start of the message: the element and its line.
    const char* expected;
};

const RefusedNumber refusedNumbers[] = {
    {"FloorPointNan", floorPointProject("nan"), "Element \"x\" (line 1): \"nan\" is not a number"},
    {"FloorPointInfinite", floorPointProject("0", "-inf"), "Element \"y\" (line 1): \"-inf\" is out of range"},
    {"FloorPointBeyondDoubles", floorPointProject("1e999"), "Element \"x\" (line 1): \"1e999\" is out of range"},
    // Finite, but beyond what a building may span: refused before the
    // clipping could fail on it.
    {"FloorPointBeyondTheBound", floorPointProject("2e9"),
     "Element \"x\" (line 1): \"2e9\" lies beyond the limit of 10000"},
    {"FloorPointBelowTheBound", floorPointProject("0", "-10000.5"),
     "Element \"y\" (line 1): \"-10000.5\" lies beyond the limit of 10000"},
    {"RoomSizeBeyondTheBound", roomProject("<position><x>0</x><y>0</y></position><size><x>2e9</x><y>1</y></size>"),
     "Element \"x\" (line 1): \"2e9\" lies beyond the limit of 10000"},
    {"RoomContourBeyondTheBound",
     roomProject("<position><x>0</x><y>0</y></position><size><x>1</x><y>1</y></size>"
                 "<contour><position><x>0</x><y>3e4</y></position></contour>"),
     "Element \"y\" (line 1): \"3e4\" lies beyond the limit of 10000"},
    {"RequirementLengthBeyondTheBound", requirementProject("<max_length>2e9</max_length>"),
     "Element \"max_length\" (line 1): \"2e9\" lies beyond the limit of 10000"},
    {"RequirementAreaBeyondTheBound", requirementProject("<area>2e9</area>"),
     "Element \"area\" (line 1): \"2e9\" lies beyond the limit of 1e+08"},
    {"RequirementPositionBeyondTheBound",
     requirementProject("<expected_position><x>-999</x><y>1e5</y></expected_position>"),
     "Element \"y\" (line 1): \"1e5\" lies beyond the limit of 10000"},
    {"LatitudeNan", siteProject("nan", "0"), "Element \"lat\" (line 1): \"nan\" is not a number"},
    {"LatitudeNotANumber", siteProject("north", "0"), "Element \"lat\" (line 1): \"north\" is not a number"},
    {"LatitudeBeyondThePole", siteProject("90.5", "0"), "Element \"lat\" (line 1): 90.5 degrees lies outside -90"},
    {"LongitudeBeyondIntegers", siteProject("0", "3e9"), "Element \"lon\" (line 1): 3e9 degrees lies outside -180"},
    {"LongitudeInfinite", siteProject("0", "inf"), "Element \"lon\" (line 1): \"inf\" is out of range"},
};

class RefusedNumberTest : public ::testing::TestWithParam<RefusedNumber> {};

TEST_P(RefusedNumberTest, LoadNamesTheElementAndLine)
{
    const std::string what = message([] { bg::Project::loadFromText(GetParam().file); });
    EXPECT_EQ(what.rfind(GetParam().expected, 0), 0u) << what;
}

INSTANTIATE_TEST_SUITE_P(Cases, RefusedNumberTest, ::testing::ValuesIn(refusedNumbers),
                         [](const ::testing::TestParamInfo<RefusedNumber>& info) { return info.param.name; });

TEST(HostileFile, NonFiniteRequirementNumbersAreRefusedWherever)
{
    const std::string requirement = "<project><name>p</name><requirement_set><uuid>s</uuid><name>S</name>"
                                    "<requirement><uuid>r</uuid><index>0</index><name>R</name><area>inf</area>"
                                    "</requirement></requirement_set></project>";
    EXPECT_EQ(message([&] { bg::Project::loadFromText(requirement); }),
              "Element \"area\" (line 1): \"inf\" is out of range");
}

TEST(HostileFile, SiteAnglesWithinTheirRangesLoad)
{
    auto project = bg::Project::loadFromText(siteProject("-90", "180"));
    EXPECT_EQ(project->sites.front()->lat, -90.0);
    EXPECT_EQ(project->sites.front()->lon, 180.0);
}

TEST(HostileFile, SubnormalNumbersSavedAreLoadedAgain)
{
    auto project = bg::Project::loadFromText(floorPointProject("1e-310", "-4.9406564584124654e-324"));
    const auto floor = project->buildings.front()->floors.front();
    EXPECT_EQ(floor->contour.front().x, 1e-310);
    auto room = std::make_shared<bg::Room>();
    room->contour = {{1e-310, 0}};
    auto proposal = bg::Proposal::create("P");
    proposal->rooms.push_back(room);
    project->proposals.push_back(proposal);

    auto reloaded = bg::Project::loadFromText(saveText(*project));
    EXPECT_EQ(reloaded->buildings.front()->floors.front()->contour.front().y, -4.9406564584124654e-324);
    EXPECT_EQ(reloaded->proposals.front()->rooms.front()->contour.front().x, 1e-310);
}

TEST(HostileFile, ANumberTheReaderWouldRefuseIsNotSaved)
{
    bg::Project project("p");
    project.addBuilding(makeBuilding({{{0, 0}, {std::nan(""), 0}, {1, 1}}}));
    EXPECT_THROW(saveText(project), std::invalid_argument);
}

// ---------------------------------------------------------------------------
// Floors and links

TEST(HostileFile, ALayoutOnALinkOnlyFloorLosesItOnTheFirstLoad)
{
    const std::string file = "<project><name>p</name><building><uuid>b</uuid><name>B</name><floor><uuid>f</uuid>"
                             "<level>0</level><contour/><upper>g</upper></floor></building>"
                             "<proposal><name>P</name><requirement_set>s</requirement_set><building>b</building>"
                             "<layout><name/><level>0</level><floor>g</floor><contour/></layout></proposal></project>";
    std::vector<std::string> warnings;
    auto first = bg::Project::loadFromText(file, &warnings);
    EXPECT_EQ(first->proposals.front()->layouts.front()->floor, nullptr);
    EXPECT_NE(std::find(warnings.begin(), warnings.end(),
                        "Proposal \"P\": the floor of its layout of level 0 is not in the file."),
              warnings.end());

    const std::string saved = saveText(*first);
    EXPECT_EQ(maskIds(saveText(*bg::Project::loadFromText(saved))), maskIds(saved));
}

TEST(HostileFile, FloorsAreRelinkedToTheLastFloorOfTheNextLevel)
{
    bg::Building building("B");
    std::vector<std::shared_ptr<bg::Floor>> floors;
    for (int level : {0, 1, 1, 3, 0}) {
        floors.push_back(std::make_shared<bg::Floor>(level));
        floors.back()->contour = rectContour(1, 1);
        building.floors.push_back(floors.back());
    }
    building.root = floors[0];
    bg::Project project("p");
    project.addBuilding(std::make_shared<bg::Building>(building));
    auto loaded = bg::Project::loadFromText(saveText(project))->buildings.front();
    const std::vector<std::shared_ptr<bg::Floor>> read(loaded->floors.begin(), loaded->floors.end());
    EXPECT_EQ(read[0]->upper.lock(), read[2]);
    EXPECT_EQ(read[4]->upper.lock(), read[2]);
    EXPECT_EQ(read[1]->lower.lock(), read[4]);
    EXPECT_EQ(read[2]->parent.lock(), read[4]);
    EXPECT_EQ(read[3]->lower.lock(), nullptr); // no level 2
}

TEST(HostileFile, ManyFloorsLoad)
{
    // Loading once compared every floor with every other floor.
    auto building = std::make_shared<bg::Building>("Tower");
    for (int level = 0; level < 10000; ++level)
        building->floors.push_back(std::make_shared<bg::Floor>(level));
    building->root = building->floors.front();
    bg::Project project("p");
    project.addBuilding(building);
    auto loaded = bg::Project::loadFromText(saveText(project))->buildings.front();
    ASSERT_EQ(loaded->floors.size(), 10000u);
    EXPECT_EQ(loaded->floors.front()->upper.lock(), *std::next(loaded->floors.begin()));
    EXPECT_EQ(loaded->top, loaded->floors.back());
}

// ---------------------------------------------------------------------------
// Texts

struct ExactText {
    const char* name;
    std::string text;
};

const ExactText exactTexts[] = {
    {"SpacesOnly", "   "},
    {"WhiteSpaceOnly", " \t\n "},
    {"CarriageReturn", "a\rb"},
    {"WindowsLineEnd", "a\r\nb"},
    {"LeadingAndTrailingSpaces", "  a b  "},
    {"Markup", "<a & b>\"'"},
    {"ControlCharacter", "a\x01z"},
    {"Empty", ""},
};

class ExactTextTest : public ::testing::TestWithParam<ExactText> {};

TEST_P(ExactTextTest, SurvivesSaveAndLoad)
{
    bg::Project project(GetParam().text);
    auto building = makeRectBuilding(10, 8);
    building->name = GetParam().text;
    project.addBuilding(building);
    const std::string saved = saveText(project);
    auto loaded = bg::Project::loadFromText(saved);
    EXPECT_EQ(loaded->name, GetParam().text);
    EXPECT_EQ(loaded->buildings.front()->name, GetParam().text);
    EXPECT_EQ(maskIds(saveText(*loaded)), maskIds(saved));
}

INSTANTIATE_TEST_SUITE_P(Cases, ExactTextTest, ::testing::ValuesIn(exactTexts),
                         [](const ::testing::TestParamInfo<ExactText>& info) { return info.param.name; });

TEST(HostileFile, ANulIsRefusedOnSave)
{
    ScratchFolder folder;
    const std::string path = folder.file("p.xsp");
    writeText(path, "earlier");
    bg::Project project(std::string("a\0b", 3));
    EXPECT_EQ(message([&] { project.saveToFile(path); }),
              "The text \"a...\" holds a NUL character, which a project file cannot carry.");
    EXPECT_EQ(readText(path), "earlier");
}

TEST(HostileFile, ANulIsRefusedOnLoad)
{
    const struct {
        std::string file;
        const char* expected;
    } cases[] = {
        {std::string("<project><name>a\0b</name></project>", 35), "Cannot read the project: it holds a NUL"},
        {"<project>\n<name>a&#0;b</name></project>", "Cannot read the project: it holds a NUL character (line 2)"},
        {"<project><name>a&#x000;b</name></project>", "Cannot read the project: it holds a NUL character (line 1)"},
    };
    for (const auto& c : cases) {
        const std::string what = message([&] { bg::Project::loadFromText(c.file); });
        EXPECT_EQ(what.rfind(c.expected, 0), 0u) << what;
    }
    ScratchFolder folder;
    const std::string path = folder.file("nul.xsp");
    writeText(path, cases[0].file);
    const std::string what = message([&] { bg::Project::load(path); });
    EXPECT_NE(what.find("NUL"), std::string::npos) << what;
}

// ---------------------------------------------------------------------------
// Requirement files

// A requirement file of one line.
std::string requirementLine(const std::string& area, const std::string& minWidth, const std::string& maxLength = "2",
                            const std::string& name = "R")
{
    return "h\n0;" + name + ";;T;" + area + ";;0;1;1;1;1;1;" + maxLength + ";" + minWidth + ";2;0;0;x\nEnd";
}

std::vector<std::shared_ptr<bg::Requirement>> readCsv(const std::string& text)
{
    std::istringstream in(text);
    return bg::readRequirementsCsv(in, "r.csv");
}

TEST(HostileFile, RequirementFileRefusesWhatIsNotFinite)
{
    const struct {
        std::string file;
        const char* expected;
    } cases[] = {
        {requirementLine("nan", "1"), "Line 2 of \"r.csv\", column \"Area\": \"nan\" is not a number"},
        {requirementLine("1", "inf"), "Line 2 of \"r.csv\", column \"Min. Width\": \"inf\" is out of range"},
        {requirementLine("1", "1e-320", "10000"),
         "Line 2 of \"r.csv\" (room \"R\"): the maximum length 1"},
        // Finite, but beyond what a floor may span: 10 km, its square for areas.
        {requirementLine("1", "1", "1e300"),
         "Line 2 of \"r.csv\", column \"Max. Length\": \"1e300\" lies beyond the limit of 10000"},
        {requirementLine("1e9", "1"), "Line 2 of \"r.csv\", column \"Area\": \"1e9\" lies beyond the limit of 1e+08"},
        {requirementLine("1", "1", "2", std::string("a\0b", 3)),
         "Line 2 of \"r.csv\": it holds a NUL character, which a requirement file cannot carry."},
        {requirementLine("1", "1", "2", "a\rb"),
         "Line 2 of \"r.csv\": it holds a carriage return within the line"},
    };
    for (const auto& c : cases) {
        const std::string what = message([&] { readCsv(c.file); });
        EXPECT_EQ(what.rfind(c.expected, 0), 0u) << what;
    }
}

TEST(HostileFile, ATinyWidthIsWrittenSoThatItReadsBack)
{
    bg::RequirementSet set;
    set.requirements = readCsv(requirementLine("1", "4e-7"));
    EXPECT_EQ(set.requirements.front()->minWidth, 4e-7);
    const std::string written = bg::requirementsCsvText(set);
    EXPECT_NE(written.find(";4e-07;"), std::string::npos) << written;
    bg::RequirementSet again;
    again.requirements = readCsv(written);
    EXPECT_EQ(again.requirements.front()->minWidth, 4e-7);
    EXPECT_EQ(bg::requirementsCsvText(again), written);
}

// ---------------------------------------------------------------------------
// Saving onto what is already there

TEST(HostileFile, SaveWritesThroughASymbolicLink)
{
    ScratchFolder folder;
    const std::string target = folder.file("target.csv");
    const std::string link = folder.file("link.csv");
    writeText(target, "old");
    fs::create_symlink("target.csv", link);
    bg::RequirementSet set;
    bg::exportRequirementsCsv(std::make_shared<bg::RequirementSet>(set), link);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(readText(target).rfind("Index;", 0), 0u);

    // A dangling link gets its target.
    const std::string dangling = folder.file("dangling.csv");
    fs::create_symlink("new.csv", dangling);
    bg::Project("p").saveToFile(dangling);
    EXPECT_TRUE(fs::is_symlink(dangling));
    EXPECT_EQ(bg::Project::load(folder.file("new.csv"))->name, "p");
}

TEST(HostileFile, SaveKeepsModeAndHardLinks)
{
    ScratchFolder folder;
    const std::string path = folder.file("p.xsp");
    writeText(path, "old");
    ::chmod(path.c_str(), 0600);
    bg::Project("p").saveToFile(path);
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u);

    const std::string second = folder.file("second.xsp");
    fs::create_hard_link(path, second);
    bg::Project("q").saveToFile(path);
    EXPECT_EQ(bg::Project::load(second)->name, "q");
    EXPECT_EQ(fs::hard_link_count(path), 2u);
}

TEST(HostileFile, SaveRefusesWhatIsNotARegularFile)
{
    ScratchFolder folder;
    const std::string fifo = folder.file("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(message([&] { bg::Project("p").saveToFile(fifo); }),
              "Cannot save \"" + fifo + "\": it is not a regular file.");
    EXPECT_TRUE(fs::is_fifo(fifo));
    const std::string folderPath = folder.file("folder");
    fs::create_directory(folderPath);
    EXPECT_EQ(message([&] { bg::Project("p").saveToFile(folderPath); }),
              "Cannot save \"" + folderPath + "\": it is not a regular file.");
    EXPECT_EQ(message([&] { bg::Project("p").saveToFile("/dev/null"); }),
              "Cannot save \"/dev/null\": it is not a regular file.");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), {}), 2) << "no temporary file is left behind";
}

} // namespace
