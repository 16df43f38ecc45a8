#include "model/RequirementFile.h"

#include "support/FileSupport.h"
#include "support/ModelFixtures.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

namespace {

using namespace kovra_test;

const std::string header = "Index;Room;Adjacency;Type;Area;Boundaries;Level;Length;Width;Min. Area;Max. Area;"
                           "Min. Length;Max. Length;Min. Width;Max. Width;Min. AspectRatio;Max. AspectRatio;"
                           "Position;\n";

// A requirement line with the given fields; the others are those of a valid
// 4 x 3 m room.
std::string line(const std::string& index, const std::string& name, const std::string& adjacency,
                 const std::string& boundaries = "", const std::string& level = "0",
                 const std::string& minWidth = "2.000000", const std::string& area = "12.000000")
{
    return index + ";" + name + ";" + adjacency + ";Bedroom;" + area + ";" + boundaries + ";" + level +
           ";4.000000;3.000000;9.600000;18.000000;3.000000;6.000000;" + minWidth +
           ";4.000000;0.750000;3.000000;(any, any)\n";
}

std::shared_ptr<bg::Requirement> living()
{
    return std::make_shared<bg::Requirement>(0, "Living", std::vector<int>{1, 2}, 20.5, "Live and eat",
                                             bg::Requirement::Range{5, 4.1}, bg::Requirement::Range{3, 7},
                                             bg::Requirement::Range{3, 6}, bg::Requirement::Range{0.5, 7.0 / 3.0},
                                             Vec2(2, 3), 0, std::vector<std::string>{"south"},
                                             bg::Requirement::Range{16.4, 30.75}, 3);
}

TEST(RequirementFile, FixtureFileIsWhatTheWriterWrites)
{
    ScratchFolder folder;
    const std::string path = folder.file("rooms.csv");
    bg::exportRequirementsCsv(makeRequirementSet({living()}), path);
    EXPECT_EQ(readText(path), readText(dataFile("requirements.csv")));
}

TEST(RequirementFile, FixtureFileReads)
{
    const auto requirements = bg::importRequirementsCsv(dataFile("requirements.csv"));
    ASSERT_EQ(requirements.size(), 1u);
    const bg::Requirement& r = *requirements[0];
    EXPECT_EQ(r.index, 0);
    EXPECT_EQ(r.name, "Living");
    EXPECT_EQ(r.adjacency, (std::vector<int>{1, 2}));
    EXPECT_EQ(r.roomType, "Live and eat");
    EXPECT_EQ(r.area, 20.5);
    EXPECT_EQ(r.boundaries, std::vector<std::string>{"south"});
    EXPECT_EQ(r.level, 0);
    EXPECT_EQ(r.getTargetSize(), std::make_pair(5.0, 4.1));
    EXPECT_EQ(r.getAreaErrorRange(), std::make_pair(16.4, 30.75));
    EXPECT_EQ(r.getLengthRange(), std::make_pair(3.0, 7.0));
    EXPECT_EQ(r.getWidthRange(), std::make_pair(3.0, 6.0));
    // Recomputed from the ranges, whatever the file says.
    EXPECT_EQ(r.getAspectRatioRange(), std::make_pair(3.0 / 6.0, 7.0 / 3.0));
    EXPECT_EQ(r.expectedPosition.x, -999.0);
    EXPECT_EQ(r.expectedPosition.y, -999.0);
    EXPECT_EQ(r.orientation, "horizontal");
    EXPECT_EQ(r.lock, 0);
}

TEST(RequirementFile, EmptySetIsHeaderAndEnd)
{
    ScratchFolder folder;
    const std::string path = folder.file("empty.csv");
    bg::exportRequirementsCsv(makeRequirementSet({}), path);
    EXPECT_EQ(readText(path), header + "End");
    EXPECT_TRUE(bg::importRequirementsCsv(path).empty());

    writeText(path, header);
    EXPECT_TRUE(bg::importRequirementsCsv(path).empty());
}

struct RoundTripCase {
    const char* what;
    std::function<void(bg::Requirement&)> set;
    const char* field;  // as written
    std::function<void(const bg::Requirement&)> check; // after reading back
};

TEST(RequirementFile, FieldsAreWrittenAndReadBack)
{
    const RoundTripCase cases[] = {
        {"no connection", [](bg::Requirement& r) { r.adjacency = {-1}; }, ";-1,;",
         [](const bg::Requirement& r) { EXPECT_EQ(r.adjacency, std::vector<int>{-1}); }},
        {"two connections", [](bg::Requirement& r) { r.adjacency = {2, 5}; }, ";2,5,;",
         [](const bg::Requirement& r) { EXPECT_EQ(r.adjacency, (std::vector<int>{2, 5})); }},
        {"empty adjacency", [](bg::Requirement& r) { r.adjacency = {}; }, "Room;;Bedroom",
         [](const bg::Requirement& r) { EXPECT_EQ(r.adjacency, std::vector<int>{-1}); }},
        {"one wish", [](bg::Requirement& r) { r.boundaries = {"south"}; }, ";south;",
         [](const bg::Requirement& r) { EXPECT_EQ(r.boundaries, std::vector<std::string>{"south"}); }},
        {"no wish", [](bg::Requirement& r) { r.boundaries = {"whatever"}; }, "00;;0;",
         [](const bg::Requirement& r) { EXPECT_EQ(r.boundaries, std::vector<std::string>{"whatever"}); }},
        {"two wishes", [](bg::Requirement& r) { r.boundaries = {"south", "east"}; }, "00;;0;",
         [](const bg::Requirement& r) { EXPECT_EQ(r.boundaries, std::vector<std::string>{"whatever"}); }},
        {"any floor", [](bg::Requirement& r) { r.level = -999; }, ";-999;",
         [](const bg::Requirement& r) { EXPECT_EQ(r.level, -999); }},
        {"six decimals", [](bg::Requirement& r) { r.area = 12.3456789; }, ";12.345679;",
         [](const bg::Requirement& r) { EXPECT_EQ(r.area, 12.345679); }},
    };
    ScratchFolder folder;
    const std::string path = folder.file("rooms.csv");
    for (const RoundTripCase& row : cases) {
        SCOPED_TRACE(row.what);
        auto requirement = makeRequirement(0, "Room", 10.0, 0);
        row.set(*requirement);
        bg::exportRequirementsCsv(makeRequirementSet({requirement}), path);
        const std::string text = readText(path);
        EXPECT_NE(text.find(row.field), std::string::npos) << text;
        const auto read = bg::importRequirementsCsv(path);
        ASSERT_EQ(read.size(), 1u);
        row.check(*read[0]);
    }
}

TEST(RequirementFile, ReadingTakesTheFileAsItIs)
{
    ScratchFolder folder;
    const std::string path = folder.file("rooms.csv");

    // Windows line ends, an empty level, lines after "End" ignored.
    writeText(path, "Index;Room;x\r\n" + line("0", "Hall", "", "", "") + "\r\n" +
                        line("5", "Bath", "0,7,", "north", "1") + "End\r\n" + line("x", "ignored", "??"));
    const auto requirements = bg::importRequirementsCsv(path);
    ASSERT_EQ(requirements.size(), 2u);
    EXPECT_EQ(requirements[0]->level, -999);
    EXPECT_EQ(requirements[0]->adjacency, std::vector<int>{-1});
    EXPECT_EQ(requirements[1]->index, 5) << "indices are taken as written";
    EXPECT_EQ(requirements[1]->adjacency, (std::vector<int>{0, 7})) << "also to a room that is not there";
    EXPECT_EQ(requirements[1]->boundaries, std::vector<std::string>{"north"});

    // Without "End" the file ends the list.
    writeText(path, header + line("0", "Hall", "-1,"));
    EXPECT_EQ(bg::importRequirementsCsv(path).size(), 1u);
}

TEST(RequirementFile, DamagedFilesFailNamingTheLine)
{
    const std::string good = line("0", "Hall", "1,");
    // What the file holds (not written for the missing file) and part of the
    // message; "%s" stands for the file's path.
    const std::string rows[][3] = {
        {"missing file", "", "Cannot read the requirement file"},
        {"empty file", "", "has no header line"},
        {"too few fields", header + good + "1;Bath;0,;Bedroom;6.000000\nEnd", "Line 3 of"},
        {"name with a semicolon", header + line("0", "Hall;Lobby", ""), "expected 18 fields, found 19"},
        {"gap in adjacency", header + line("0", "Hall", "2,,5"), "column \"Adjacency\": \"\" is not a number"},
        {"adjacency not a number", header + line("0", "Hall", "one,"), "column \"Adjacency\""},
        {"area not a number", header + line("0", "Hall", "", "", "0", "2.000000", "big"),
         "Line 2 of \"%s\", column \"Area\": \"big\" is not a number"},
        {"index not a number", header + good + line("first", "Bath", ""), "Line 3 of \"%s\", column \"Index\""},
        {"level out of range", header + line("0", "Hall", "", "", "99999999999"), "column \"Level\""},
        {"zero width", header + line("0", "Hall", "", "", "0", "0.000000"),
         "(room \"Hall\"): the minimum width is 0.000000"},
        {"negative width", header + line("0", "Hall", "", "", "0", "-1.000000"), "minimum width"},
    };
    ScratchFolder folder;
    for (const auto& row : rows) {
        SCOPED_TRACE(row[0]);
        const std::string path = folder.file(row[0] + ".csv");
        if (row[0] != "missing file")
            writeText(path, row[1]);
        std::string expected = row[2];
        const auto placeholder = expected.find("%s");
        if (placeholder != std::string::npos)
            expected.replace(placeholder, 2, path);
        try {
            bg::importRequirementsCsv(path);
            ADD_FAILURE() << "read";
        } catch (const std::exception& error) {
            EXPECT_NE(std::string(error.what()).find(expected), std::string::npos) << error.what();
        }
    }
}

TEST(RequirementFile, NumbersThatDoNotConvertKeepTheirExceptionType)
{
    ScratchFolder folder;
    const std::string path = folder.file("rooms.csv");
    writeText(path, header + line("0", "Hall", "2,,5"));
    EXPECT_THROW(bg::importRequirementsCsv(path), std::invalid_argument);
    writeText(path, header + line("0", "Hall", "", "", "99999999999"));
    EXPECT_THROW(bg::importRequirementsCsv(path), std::out_of_range);
}

TEST(RequirementFile, TextTheFormatCannotCarryIsRefusedAndTheEarlierFileKept)
{
    ScratchFolder folder;
    const std::string path = folder.file("rooms.csv");
    writeText(path, "earlier");

    const std::pair<const char*, std::function<void(bg::Requirement&)>> cases[] = {
        {"name", [](bg::Requirement& r) { r.name = "Hall;Lobby"; }},
        {"name", [](bg::Requirement& r) { r.name = "Hall\nLobby"; }},
        {"room type", [](bg::Requirement& r) { r.roomType = "Bed;room"; }},
        {"boundary wish", [](bg::Requirement& r) { r.boundaries = {"so;uth"}; }},
    };
    for (const auto& [what, change] : cases) {
        SCOPED_TRACE(what);
        auto requirement = makeRequirement(4, "Hall", 8);
        change(*requirement);
        try {
            bg::exportRequirementsCsv(makeRequirementSet({makeRequirement(0, "A", 8), requirement}), path);
            ADD_FAILURE() << "written";
        } catch (const std::runtime_error& error) {
            const std::string message = error.what();
            EXPECT_NE(message.find("(index 4): its " + std::string(what)), std::string::npos) << message;
        }
    }
    EXPECT_THROW(bg::exportRequirementsCsv(makeRequirementSet({}), folder.file("missing/rooms.csv")),
                 std::runtime_error);
    EXPECT_EQ(readText(path), "earlier");
}

} // namespace
