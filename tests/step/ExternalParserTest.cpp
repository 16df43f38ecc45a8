// An independent STEP parser (IfcOpenShell's) must accept what the writer
// produces and read back the texts and numbers that were put in.

#include "step/Writer.h"
#include "support/ExternalTool.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

using testsupport::runCommand;
using testsupport::shellQuote;

// Names that stress the string encoding, with the code points a reader must
// get back.
struct NameCase {
    const char* utf8;
    const char* codePoints; // as Python prints [hex(ord(c)) for c in name]
};

const std::vector<NameCase> names = {
    {"Kitchen", "['0x4b', '0x69', '0x74', '0x63', '0x68', '0x65', '0x6e']"},
    {"it's \\", "['0x69', '0x74', '0x27', '0x73', '0x20', '0x5c']"},
    {"B\xC3\xBCro \xE2\x82\xAC", "['0x42', '0xfc', '0x72', '0x6f', '0x20', '0x20ac']"},
    {"a\tb\nc", "['0x61', '0x9', '0x62', '0xa', '0x63']"},
    {"\xF0\x9F\x8F\xA0!", "['0x1f3e0', '0x21']"},
    {"", "[]"},
};

void writeSmallIfc4File(std::ostream& out)
{
    step::Factory factory;
    step::Writer writer(out);

    auto description = writer.beginHeaderEntity("FILE_DESCRIPTION");
    auto views = std::make_shared<step::Array>();
    views->add(std::make_shared<step::String>("ViewDefinition [Kovra, ToBeDefined]"));
    description->add(views);
    description->add(std::make_shared<step::String>("2;1"));

    auto fileName = writer.beginHeaderEntity("FILE_NAME");
    fileName->add(std::make_shared<step::String>("test.ifc"));
    fileName->add(std::make_shared<step::String>("2024-05-01T12:00:00"));
    for (const char* who : {"author", "organisation"}) {
        auto one = std::make_shared<step::Array>();
        one->add(std::make_shared<step::String>(who));
        fileName->add(one);
    }
    for (const char* text : {"preprocessor", "", ""})
        fileName->add(std::make_shared<step::String>(text));

    auto schema = std::make_shared<step::Array>();
    schema->add(std::make_shared<step::String>("IFC4"));
    writer.beginHeaderEntity("FILE_SCHEMA")->add(schema);

    // A gap in the numbers and a forward reference: the placement (#1) refers
    // to the point (#3), which is written before it; #2 is never written.
    auto placement = factory.createEntity("IfcAxis2Placement3D");
    factory.createEntity("IfcUnused");
    auto point = factory.createEntity("IfcCartesianPoint");
    auto coordinates = std::make_shared<step::List>();
    for (double v : {0.1, -0.0, 1e20})
        coordinates->add(factory.createReal(v));
    point->add(coordinates);
    writer.writeEntity(point);
    placement->add(factory.createReference(point));
    placement->add(std::make_shared<step::Null>());
    placement->add(std::make_shared<step::Null>());
    writer.writeEntity(placement);

    for (const NameCase& name : names) {
        auto organisation = factory.createEntity("IfcOrganization");
        organisation->add(std::make_shared<step::Null>());
        organisation->add(std::make_shared<step::String>(name.utf8));
        organisation->add(std::make_shared<step::Null>());
        organisation->add(std::make_shared<step::Null>());
        organisation->add(std::make_shared<step::Null>());
        writer.writeEntity(organisation);
    }
}

class ExternalParser : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto available = testsupport::ifcOpenShellAvailable();
        ASSERT_EQ(available.exitCode, 0) << "IfcOpenShell for python3 is needed (package python3-ifcopenshell):\n"
                                         << available.output;
    }
};

// The whole file: the writer ends it when it is destroyed.
std::string completeFile()
{
    std::ostringstream out;
    writeSmallIfc4File(out);
    return out.str();
}

TEST_F(ExternalParser, AcceptsTheSyntaxOfAWrittenFile)
{
    testsupport::TempFile file(".ifc");
    file.write(completeFile());
    const auto result = runCommand("python3 -m ifcopenshell.simple_spf " + shellQuote(file.path()));
    EXPECT_EQ(result.exitCode, 0) << result.output;
}

TEST_F(ExternalParser, ReadsBackTextsAndNumbers)
{
    testsupport::TempFile file(".ifc");
    file.write(completeFile());
    testsupport::TempFile program(".py");
    program.write("import sys, ifcopenshell\n"
                  "f = ifcopenshell.open(sys.argv[1])\n"
                  "print(repr(f.by_id(3).Coordinates))\n"
                  "for o in f.by_type('IfcOrganization'):\n"
                  "    print([hex(ord(c)) for c in o.Name])\n");
    const auto result = runCommand("python3 " + shellQuote(program.path()) + " " + shellQuote(file.path()));
    ASSERT_EQ(result.exitCode, 0) << result.output;

    std::vector<std::string> expected = {"(0.1, -0.0, 1e+20)"};
    for (const NameCase& name : names)
        expected.push_back(name.codePoints);
    std::istringstream in(result.output);
    std::string line;
    for (const std::string& want : expected) {
        ASSERT_TRUE(std::getline(in, line)) << "missing output line, wanted " << want << "\n" << result.output;
        EXPECT_EQ(line, want);
    }
}

} // namespace
