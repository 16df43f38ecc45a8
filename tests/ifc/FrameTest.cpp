// The file frame: HEADER section, numbering, owner entities, units, world
// coordinate system, representation contexts, project and GlobalIds.

#include "WrittenFile.h"
#include "support/ExternalTool.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <filesystem>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;
using ifctest::withoutGlobalIds;
using ifctest::WrittenFile;

template <class W>
Lines dataLinesWithoutIds(WrittenFile<W>& file)
{
    Lines result;
    for (const std::string& line : file.dataLines())
        result.push_back(withoutGlobalIds(line));
    return result;
}

// The owner history's CreationDate, which changes every second.
std::string withoutCreationDate(const std::string& line)
{
    return std::regex_replace(line, std::regex(R"re(,\d+\);$)re"), ",<time>);");
}

TEST(IfcHeader, WritesTheThreeHeaderEntities)
{
    struct Case {
        const char* name;
        std::function<void(ifc::Writer&)> write;
        const char* schemaLine;
    };
    const std::vector<Case> cases = {
        {"IFC4 writer", [](ifc::Writer& w) { w.writeHeader("Ada", "Tolm-Brix", "Kovra 0.1"); }, "FILE_SCHEMA(('IFC4'));"},
        {"IFC4 writer, the export's form", [](ifc::Writer& w) { w.writeHeader("", "Ada", "Tolm-Brix", "Kovra 0.1"); },
         "FILE_SCHEMA(('IFC4'));"},
        {"empty schema", [](ifc::Writer& w) { w.writeFileHeader("Ada", "Tolm-Brix", "Kovra 0.1", ""); },
         "FILE_SCHEMA(('IFC2X3'));"},
    };
    for (const Case& c : cases) {
        WrittenFile<ifc::Writer4> file;
        c.write(*file);
        const Lines& lines = file.finish();
        ASSERT_EQ(lines.size(), 7u) << c.name;
        EXPECT_EQ(lines[2], "FILE_DESCRIPTION(('ViewDefinition [Kovra, ToBeDefined]'),'2;1');") << c.name;
        EXPECT_TRUE(std::regex_match(
            lines[3], std::regex(R"re(FILE_NAME\('test\.ifc','\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d',\('Ada'\),\('Tolm-Brix'\),'Kovra 0\.1','',''\);)re")))
            << c.name << ": " << lines[3];
        EXPECT_EQ(lines[4], c.schemaLine) << c.name;
    }

    WrittenFile<ifc::Writer2x3> file2x3;
    file2x3->writeHeader("Ada", "Tolm-Brix", "Kovra 0.1");
    EXPECT_EQ(file2x3.finish().at(4), "FILE_SCHEMA(('IFC2X3'));");
}

template <class W>
Lines ownerEntities()
{
    WrittenFile<W> file;
    file->writeHeader("a", "o", "p");
    file->writeOwnerHistory();
    Lines lines;
    for (const std::string& line : file.dataLines())
        lines.push_back(withoutCreationDate(line));
    return lines;
}

TEST(IfcOwnerHistory, OwnerEntitiesComeFirstInBothSchemas)
{
    const Lines common = {"#1=IFCORGANIZATION($,'Tolm/Brix','',$,$);", "#2=IFCPERSON($,'','',$,$,$,$,$);",
                          "#3=IFCPERSONANDORGANIZATION(#2,#1,$);",
                          "#4=IFCAPPLICATION(#1,'testing','Kovra Floorsmith','');"};
    Lines ifc4 = common;
    ifc4.push_back("#5=IFCOWNERHISTORY(#3,#4,$,$,$,$,$,<time>);");
    Lines ifc2x3 = common;
    ifc2x3.push_back("#5=IFCOWNERHISTORY(#3,#4,$,.MODIFIED.,$,$,$,<time>);");
    EXPECT_EQ(ownerEntities<ifc::Writer4>(), ifc4);
    EXPECT_EQ(ownerEntities<ifc::Writer2x3>(), ifc2x3);
}

TEST(IfcFrame, UnitsWorldSystemAndNumbering)
{
    WrittenFile<ifc::Writer4> file;
    file->writeHeader("a", "o", "p");
    file->writeWorldCoordinateSystem();
    file->writeUnits();
    EXPECT_EQ(file->getAreaUnit(), file->areaUnit);
    EXPECT_EQ(file->factory.lastId, 9u);
    file->writeAxisPlacement({1, 2, 3}, {0, 0, 1}, {1, 0, 0});
    EXPECT_EQ(file->factory.lastId, 13u) << "a placement from vectors takes four numbers";
    EXPECT_EQ(file.dataLines(), (Lines{"#1=IFCDIRECTION((1.,0.,0.));",
                                       "#2=IFCDIRECTION((0.,0.,1.));",
                                       "#3=IFCCARTESIANPOINT((0.,0.,0.));",
                                       "#4=IFCAXIS2PLACEMENT3D(#3,#2,#1);",
                                       "#5=IFCSIUNIT(*,.LENGTHUNIT.,$,.METRE.);",
                                       "#6=IFCSIUNIT(*,.AREAUNIT.,$,.SQUARE_METRE.);",
                                       "#7=IFCSIUNIT(*,.VOLUMEUNIT.,$,.CUBIC_METRE.);",
                                       "#8=IFCSIUNIT(*,.PLANEANGLEUNIT.,$,.RADIAN.);",
                                       "#9=IFCUNITASSIGNMENT((#5,#6,#7,#8));",
                                       "#10=IFCDIRECTION((1.,0.,0.));",
                                       "#11=IFCDIRECTION((0.,0.,1.));",
                                       "#12=IFCCARTESIANPOINT((1.,2.,3.));",
                                       "#13=IFCAXIS2PLACEMENT3D(#12,#11,#10);"}));
}

TEST(IfcContexts, TrueNorthIsWrittenOnceWithItsSecondComponentNegated)
{
    WrittenFile<ifc::Writer4> file;
    file->writeHeader("a", "o", "p");
    file->writeWorldCoordinateSystem(); // #1 to #4
    file->writeRepresentationContexts({-0.5, -0.75});
    file->writeRepresentationContexts({0.0, 1.0});
    EXPECT_EQ(file->contexts->items.size(), 2u);
    EXPECT_EQ(file.dataLines(),
              (Lines{"#1=IFCDIRECTION((1.,0.,0.));", "#2=IFCDIRECTION((0.,0.,1.));", "#3=IFCCARTESIANPOINT((0.,0.,0.));",
                     "#4=IFCAXIS2PLACEMENT3D(#3,#2,#1);", "#5=IFCDIRECTION((-0.5,0.75));",
                     "#6=IFCGEOMETRICREPRESENTATIONCONTEXT($,'Model',3,1.0000000000000001E-05,#4,#5);",
                     "#7=IFCGEOMETRICREPRESENTATIONSUBCONTEXT('Body','Model',*,*,*,*,#6,$,.MODEL_VIEW.,$);",
                     "#8=IFCGEOMETRICREPRESENTATIONSUBCONTEXT('Axis','Model',*,*,*,*,#6,$,.MODEL_VIEW.,$);",
                     "#9=IFCGEOMETRICREPRESENTATIONCONTEXT($,'Model',3,1.0000000000000001E-05,#4,#5);",
                     "#10=IFCGEOMETRICREPRESENTATIONSUBCONTEXT('Body','Model',*,*,*,*,#9,$,.MODEL_VIEW.,$);",
                     "#11=IFCGEOMETRICREPRESENTATIONSUBCONTEXT('Axis','Model',*,*,*,*,#9,$,.MODEL_VIEW.,$);"}));

    WrittenFile<ifc::Writer4> north;
    north->writeHeader("a", "o", "p");
    north->writeWorldCoordinateSystem();
    north->writeRepresentationContexts({0.0, 1.0});
    EXPECT_EQ(north.instance(5).line, "#5=IFCDIRECTION((0.,-1.));");
}

TEST(IfcContexts, PlanContextsFromTheHighestLevelDown)
{
    WrittenFile<ifc::Writer4> file;
    file->writeHeader("a", "o", "p");
    file->writeOwnerHistory();                  // #1 to #5
    file->writeWorldCoordinateSystem();         // #6 to #9
    file->writeUnits();                         // #10 to #14
    file->writeRepresentationContexts({0, 1});  // #15 to #18, model context #16
    file->writePlanContexts(0, 1, 0.01);        // nothing
    file->writePlanContexts(2, -1, 0.01);       // #19 to #26
    file->writeProject("Proposal 1");
    file->useBodyContext();
    const ifc::EntityPtr body = file->currentContext;
    EXPECT_THROW(
        {
            try {
                file->usePlanContext("3.OG");
            } catch (const std::out_of_range& e) {
                EXPECT_STREQ(e.what(), "invalid unordered_map<K, T> key");
                throw;
            }
        },
        std::out_of_range);
    EXPECT_EQ(file->currentContext, body) << "a failed choice leaves the context as it was";
    file->usePlanContext("-1.OG");
    EXPECT_EQ(file->currentContext->id, 26u);

    const Lines expected = {
        "#19=IFCGEOMETRICREPRESENTATIONCONTEXT('FloorPlan_2.OG','Plan',2,1.0000000000000001E-05,#9,#15);",
        "#20=IFCGEOMETRICREPRESENTATIONSUBCONTEXT('Viewport_2.OG','Plan',*,*,*,*,#19,0.01,.PLAN_VIEW.,$);",
        "#21=IFCGEOMETRICREPRESENTATIONCONTEXT('FloorPlan_1.OG','Plan',2,1.0000000000000001E-05,#9,#15);",
        "#22=IFCGEOMETRICREPRESENTATIONSUBCONTEXT('Viewport_1.OG','Plan',*,*,*,*,#21,0.01,.PLAN_VIEW.,$);",
        "#23=IFCGEOMETRICREPRESENTATIONCONTEXT('FloorPlan_EG','Plan',2,1.0000000000000001E-05,#9,#15);",
        "#24=IFCGEOMETRICREPRESENTATIONSUBCONTEXT('Viewport_EG','Plan',*,*,*,*,#23,0.01,.PLAN_VIEW.,$);",
        "#25=IFCGEOMETRICREPRESENTATIONCONTEXT('FloorPlan_-1.OG','Plan',2,1.0000000000000001E-05,#9,#15);",
        "#26=IFCGEOMETRICREPRESENTATIONSUBCONTEXT('Viewport_-1.OG','Plan',*,*,*,*,#25,0.01,.PLAN_VIEW.,$);",
        "#27=IFCPROJECT(G,#5,'Proposal 1',$,$,$,$,(#16,#19,#21,#23,#25),#14);",
    };
    const Lines lines = dataLinesWithoutIds(file);
    EXPECT_EQ(Lines(lines.begin() + 18, lines.end()), expected);
}

TEST(IfcGlobalId, TwentyTwoCharactersOfTheAlphabetWithoutDollar)
{
    const std::regex form("[0-3][0-9a-zA-Z_]{21}");
    std::set<std::string> seen;
    for (int i = 0; i < 20000; ++i) {
        const std::string id = ifc::newGlobalId();
        ASSERT_TRUE(std::regex_match(id, form)) << id;
        ASSERT_TRUE(seen.insert(id).second) << "repeated: " << id;
    }
}

// Runs this very test in two further processes, which print one GlobalId each.
TEST(IfcGlobalId, DiffersBetweenRuns)
{
    if (std::getenv("KOVRA_PRINT_GLOBAL_ID")) {
        std::printf("GlobalId %s\n", ifc::newGlobalId().c_str());
        return;
    }
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    // The child runs this one test whatever shard of the program the parent is.
    const std::string command = "env -u GTEST_TOTAL_SHARDS -u GTEST_SHARD_INDEX KOVRA_PRINT_GLOBAL_ID=1 "
                                + testsupport::shellQuote(self)
                                + " --gtest_filter=IfcGlobalId.DiffersBetweenRuns";
    std::vector<std::string> ids;
    for (int run = 0; run < 2; ++run) {
        const auto result = testsupport::runCommand(command);
        ASSERT_EQ(result.exitCode, 0) << result.output;
        std::smatch match;
        ASSERT_TRUE(std::regex_search(result.output, match, std::regex("GlobalId (\\S{22})"))) << result.output;
        ids.push_back(match[1]);
    }
    EXPECT_NE(ids[0], ids[1]) << "every run draws the same GlobalIds";
}

} // namespace
