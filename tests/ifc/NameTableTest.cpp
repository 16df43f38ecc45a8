// The IFC name table: every constant holds its own name, and every entity and
// type name is one that the IFC4 or IFC2X3 schema defines (checked against
// IfcOpenShell's schema definitions, so a misspelt name cannot slip through
// even where no writer uses it yet).

#include "ifc/IfcNames.h"
#include "support/ExternalTool.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Constant {
    std::string identifier;
    std::string text;
};

std::vector<Constant> constantsOfTheHeader()
{
    std::ifstream header(std::string(KOVRA_SOURCE_DIR) + "/ifc/IfcNames.h");
    std::vector<Constant> constants;
    const std::regex declaration(R"re(^const std::string (\w+) = "([^"]*)";$)re");
    std::string line;
    std::smatch match;
    while (std::getline(header, line))
        if (std::regex_match(line, match, declaration))
            constants.push_back({match[1], match[2]});
    return constants;
}

std::string joined(const std::vector<Constant>& constants, std::size_t from, std::size_t to)
{
    std::string result;
    for (std::size_t i = from; i < to; ++i)
        result += " " + constants[i].text;
    return result;
}

TEST(IfcNameTable, EveryConstantHoldsItsOwnName)
{
    const auto constants = constantsOfTheHeader();
    ASSERT_EQ(constants.size(), 148u);
    std::set<std::string> seen;
    for (const Constant& c : constants) {
        EXPECT_EQ(c.text, c.identifier);
        EXPECT_TRUE(seen.insert(c.text).second) << "twice: " << c.text;
    }
    EXPECT_EQ(constants[0].text, ifc::IFC2X3);
    EXPECT_EQ(constants[1].text, ifc::IFC4);
    EXPECT_EQ(constants[147].text, ifc::MappedRepresentation);
}

TEST(IfcNameTable, NamesAreThoseOfTheSchemas)
{
    const auto available = testsupport::ifcOpenShellAvailable();
    ASSERT_EQ(available.exitCode, 0) << "IfcOpenShell for python3 is needed (package python3-ifcopenshell):\n"
                                     << available.output;
    const auto constants = constantsOfTheHeader();
    ASSERT_EQ(constants.size(), 148u);

    testsupport::TempFile program(".py");
    program.write("import sys\n"
                  "import ifcopenshell.ifcopenshell_wrapper as w\n"
                  "schemas = [w.schema_by_name(s) for s in sys.argv[1:3]]\n"
                  "def known(name):\n"
                  "    for s in schemas:\n"
                  "        try:\n"
                  "            s.declaration_by_name(name)\n"
                  "            return True\n"
                  "        except RuntimeError:\n"
                  "            pass\n"
                  "    return False\n"
                  "states = schemas[0].declaration_by_name('IfcStateEnum').enumeration_items()\n"
                  "for name in sys.argv[3:]:\n"
                  "    if name.startswith('IFC'):\n"
                  "        if not known(name): print('unknown name', name)\n"
                  "    elif name not in states:\n"
                  "        print('not a state', name)\n");
    // The two schema identifiers open the table, the state texts follow the
    // 132 entity and type names.
    const std::string names = joined(constants, 0, 2).substr(1) + joined(constants, 2, 139);
    const auto result = testsupport::runCommand("python3 " + testsupport::shellQuote(program.path()) + " " + names);
    EXPECT_EQ(result.exitCode, 0) << result.output;
    EXPECT_EQ(result.output, "");
}

} // namespace
