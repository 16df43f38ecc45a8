#include "step/Writer.h"

#include <gtest/gtest.h>

#include <limits>
#include <locale>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Splits written text into lines (without their newlines).
std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> result;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line))
        result.push_back(line);
    return result;
}

using Lines = std::vector<std::string>;

// The data line written for one entity #1=E(<value>).
template <class T>
std::string lineOf(std::shared_ptr<T> value)
{
    std::ostringstream out;
    {
        step::Writer writer(out);
        writer.beginHeaderEntity("H");
        auto entity = std::make_shared<step::Entity>(1, "E");
        entity->add(std::move(value));
        writer.writeEntity(entity);
    }
    return lines(out.str()).at(5);
}

TEST(StepWriter, EmptyWriterWritesOnlyTheFrame)
{
    std::ostringstream out;
    { step::Writer writer(out); }
    EXPECT_EQ(out.str(), "ISO-10303-21;\nHEADER;\nENDSEC;\nEND-ISO-10303-21;\n");
}

TEST(StepWriter, HeaderWithoutDataHasNoDataSection)
{
    std::ostringstream out;
    {
        step::Writer writer(out);
        auto description = writer.beginHeaderEntity("FILE_DESCRIPTION");
        auto views = std::make_shared<step::Array>();
        views->add(std::make_shared<step::String>("ViewDefinition [Kovra, ToBeDefined]"));
        description->add(views);
        description->add(std::make_shared<step::String>("2;1"));
        writer.beginHeaderEntity("file_schema")->add(std::make_shared<step::Array>());
    }
    EXPECT_EQ(lines(out.str()), (Lines{"ISO-10303-21;", "HEADER;",
                                       "FILE_DESCRIPTION(('ViewDefinition [Kovra, ToBeDefined]'),'2;1');",
                                       "FILE_SCHEMA(());", "ENDSEC;", "END-ISO-10303-21;"}));
}

TEST(StepWriter, WritesEntitiesOneCallLateInHandOverOrder)
{
    std::ostringstream out;
    step::Factory factory;
    {
        step::Writer writer(out);
        auto early = factory.createEntity("IfcEarly");
        EXPECT_EQ(writer.writeEntity(early), nullptr) << "no entity before the header";

        writer.beginHeaderEntity("FILE_NAME")->add(std::make_shared<step::String>("x.ifc"));

        auto first = factory.createEntity("IfcDirection");
        auto skipped = factory.createEntity("IfcNeverWritten");
        auto third = factory.createEntity("IfcLocalPlacement");
        (void)skipped;

        auto points = std::make_shared<step::List>();
        for (double v : {1.0, 0.0, 0.0})
            points->add(factory.createReal(v));
        first->add(points);

        // Referring forward, to an entity handed over later.
        third->add(std::make_shared<step::Null>());
        auto later = factory.createEntity("IfcAxis2Placement3D");
        third->add(factory.createReference(later));

        EXPECT_EQ(writer.writeEntity(third), third);
        third->add(std::make_shared<step::Enumeration>("appendedWhilePending"));
        writer.writeEntity(first);
        third->add(std::make_shared<step::String>("appended too late"));
        writer.writeEntity(later);
        later->add(factory.createInteger(-3));
        writer.writeEntity(factory.createEntity("IfcEmpty"));
    }
    EXPECT_EQ(lines(out.str()), (Lines{"ISO-10303-21;",
                                       "HEADER;",
                                       "FILE_NAME('x.ifc');",
                                       "ENDSEC;",
                                       "DATA;",
                                       "#4=IFCLOCALPLACEMENT($,#5,.appendedWhilePending.);",
                                       "#2=IFCDIRECTION((1.,0.,0.));",
                                       "#5=IFCAXIS2PLACEMENT3D(-3);",
                                       "#6=IFCEMPTY();",
                                       "ENDSEC;",
                                       "END-ISO-10303-21;"}));
}

TEST(StepWriter, ValuesInTheClearTextForm)
{
    step::Factory f;
    auto target = std::make_shared<step::Entity>(12, "T");
    struct Case {
        const char* name;
        std::string line;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"logical 0 is true", lineOf(f.createLogical(0)), "#1=E(.T.);"},
        {"logical 1 is false", lineOf(f.createLogical(1)), "#1=E(.F.);"},
        {"logical 7 is unknown", lineOf(f.createLogical(7)), "#1=E(.U.);"},
        {"logical -1 is unknown", lineOf(f.createLogical(-1)), "#1=E(.U.);"},
        {"boolean", lineOf(f.createBoolean(true)), "#1=E(.T.);"},
        {"enumeration keeps its case", lineOf(std::make_shared<step::Enumeration>("notDefined")),
         "#1=E(.notDefined.);"},
        {"enumeration", lineOf(std::make_shared<step::Enumeration>("NOTDEFINED")), "#1=E(.NOTDEFINED.);"},
        {"reference", lineOf(f.createReference(target)), "#1=E(#12);"},
        {"integer", lineOf(f.createInteger(-42)), "#1=E(-42);"},
        {"null", lineOf(std::make_shared<step::Null>()), "#1=E($);"},
        {"omitted", lineOf(std::make_shared<step::Omitted>()), "#1=E(*);"},
        {"typed value upper-cased", lineOf(f.createSelect("IfcLabel", f.createReal(2.0))), "#1=E(IFCLABEL(2.));"},
        {"typed text", lineOf(f.createSelect(std::make_shared<step::String>("Wall"))), "#1=E(IFCTEXT('Wall'));"},
        {"typed boolean", lineOf(f.createSelect("IFCBOOLEAN", f.createBoolean(false))), "#1=E(IFCBOOLEAN(.F.));"},
        {"empty set", lineOf(std::make_shared<step::Set>()), "#1=E(());"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.line, c.expected) << c.name;
}

TEST(StepWriter, RealForm)
{
    struct Case {
        double value;
        const char* text;
    };
    const Case cases[] = {
        {1.0, "1."},
        {0.0, "0."},
        {-0.0, "-0."},
        {-3.0, "-3."},
        {0.1, "0.10000000000000001"},
        {0.5, "0.5"},
        {2.75, "2.75"},
        {0.36, "0.35999999999999999"},
        {1e20, "1.E+20"},
        {1e-05, "1.0000000000000001E-05"},
        {1.5e-07, "1.4999999999999999E-07"},
        {1e16, "10000000000000000."},
        {-2.5e300, "-2.5000000000000001E+300"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(step::formatReal(c.value), c.text) << c.text;
        EXPECT_EQ(lineOf(std::make_shared<step::Real>(c.value)), std::string("#1=E(") + c.text + ");") << c.text;
    }
}

// A locale such as a GUI library may install: decimal comma and digit groups.
struct CommaPunct : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};

TEST(StepWriter, NumbersIgnoreTheGlobalLocale)
{
    const std::locale previous = std::locale::global(std::locale(std::locale::classic(), new CommaPunct));
    std::ostringstream out;
    {
        step::Writer writer(out);
        writer.beginHeaderEntity("H");
        auto entity = std::make_shared<step::Entity>(123456, "E");
        entity->add(std::make_shared<step::Real>(1234.5));
        entity->add(std::make_shared<step::Integer>(1000000));
        entity->add(std::make_shared<step::Reference>(std::make_shared<step::Entity>(9876543, "T")));
        writer.writeEntity(entity);
    }
    std::locale::global(previous);
    EXPECT_EQ(lines(out.str()).at(5), "#123456=E(1234.5,1000000,#9876543);");
}

TEST(StepWriter, StringEncoding)
{
    struct Case {
        const char* name;
        std::string utf8;
        std::string encoded;
    };
    const std::vector<Case> cases = {
        {"plain", "Living room", "Living room"},
        {"empty", "", ""},
        {"apostrophe doubled", "it's", "it''s"},
        {"backslash doubled", "a\\b", "a\\\\b"},
        {"double quote as is", "say \"hi\"", "say \"hi\""},
        {"umlaut", "\xC3\xBC", "\\X2\\00FC\\X0\\"},
        {"euro sign", "\xE2\x82\xAC", "\\X2\\20AC\\X0\\"},
        {"one directive pair per character", "B\xC3\xBCro \xC3\xA4", "B\\X2\\00FC\\X0\\ro \\X2\\00E4\\X0\\"},
        {"beyond the basic plane", "\xF0\x9F\x98\x80", "\\X4\\0001F600\\X0\\"},
        {"tab and line break escaped", "a\tb\r\nc", "a\\X2\\0009\\X0\\b\\X2\\000D\\X0\\\\X2\\000A\\X0\\c"},
        {"delete escaped", "\x7F", "\\X2\\007F\\X0\\"},
        {"malformed input replaced", "a\xFF" "b", "a\\X2\\FFFD\\X0\\b"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(step::encodeString(c.utf8), c.encoded) << c.name;
        EXPECT_EQ(lineOf(std::make_shared<step::String>(c.utf8)), "#1=E('" + c.encoded + "');") << c.name;
    }
}

TEST(StepWriter, LoneSurrogateCodeUnitIsWrittenAsReplacementCharacter)
{
    std::ostringstream out;
    step::encodeCodeUnit(out, u'\xD83D');
    step::encodeCodeUnit(out, u'A');
    step::encodeCodeUnit(out, u'\'');
    EXPECT_EQ(out.str(), "\\X2\\FFFD\\X0\\A''");
}

TEST(StepWriter, Utf8ToWideGivesUtf16CodeUnits)
{
    struct Case {
        const char* name;
        std::string utf8;
        std::u16string units;
    };
    const std::vector<Case> cases = {
        {"empty", "", u""},
        {"ascii", "Az", u"Az"},
        {"two bytes", "\xC3\xBC", u"\u00FC"},
        {"three bytes", "\xE2\x82\xAC", u"\u20AC"},
        {"four bytes become a surrogate pair", "\xF0\x9F\x98\x80", std::u16string{0xD83D, 0xDE00}},
        {"stray continuation byte", "\x80" "A", std::u16string{0xFFFD, 'A'}},
        {"truncated sequence", "\xE2\x82" "A", std::u16string{0xFFFD, 'A'}},
        {"overlong form", "\xC0\xAF", std::u16string{0xFFFD, 0xFFFD}},
        {"encoded surrogate", "\xED\xA0\x80", std::u16string{0xFFFD, 0xFFFD, 0xFFFD}},
        {"above U+10FFFF", "\xF4\x90\x80\x80", std::u16string{0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD}},
        {"sequence cut by the end", "A\xF0\x9F\x98", std::u16string{'A', 0xFFFD}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(step::utf8ToWide(c.utf8), c.units) << c.name;
}

TEST(StepWriter, RefusesRealsThatAreNotFinite)
{
    const double values[] = {std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
                             std::numeric_limits<double>::quiet_NaN()};
    for (double value : values) {
        EXPECT_THROW(step::formatReal(value), std::invalid_argument) << value;

        std::ostringstream out;
        {
            step::Writer writer(out);
            writer.beginHeaderEntity("H");
            auto good = std::make_shared<step::Entity>(1, "IfcGood");
            writer.writeEntity(good);
            auto bad = std::make_shared<step::Entity>(2, "IfcCartesianPoint");
            auto coordinates = std::make_shared<step::List>();
            coordinates->add(std::make_shared<step::Real>(1.0));
            coordinates->add(std::make_shared<step::Real>(value));
            bad->add(coordinates);
            writer.writeEntity(bad);
            try {
                writer.writeEntity(std::make_shared<step::Entity>(3, "IfcNext"));
                ADD_FAILURE() << "no error for " << value;
            } catch (const std::runtime_error& e) {
                const std::string message = e.what();
                EXPECT_NE(message.find("#2 IFCCARTESIANPOINT"), std::string::npos) << message;
                EXPECT_NE(message.find("not a finite number"), std::string::npos) << message;
            }
        }
        // The refused entity leaves no partial line, and the file is left
        // visibly incomplete rather than closed as if whole.
        EXPECT_EQ(lines(out.str()), (Lines{"ISO-10303-21;", "HEADER;", "H();", "ENDSEC;", "DATA;", "#1=IFCGOOD();"}))
            << value;
    }
}

TEST(StepWriter, DestructorSwallowsTheErrorOfTheLastEntity)
{
    std::ostringstream out;
    {
        step::Writer writer(out);
        writer.beginHeaderEntity("H");
        auto bad = std::make_shared<step::Entity>(1, "E");
        bad->add(std::make_shared<step::Real>(std::numeric_limits<double>::quiet_NaN()));
        writer.writeEntity(bad);
    }
    EXPECT_EQ(lines(out.str()), (Lines{"ISO-10303-21;", "HEADER;", "H();", "ENDSEC;", "DATA;"}));
}

TEST(StepWriter, UpperCasesAsciiOnly)
{
    EXPECT_EQ(step::toUpper("IfcWall_2x \xC3\xBC"), "IFCWALL_2X \xC3\xBC");
}

} // namespace
