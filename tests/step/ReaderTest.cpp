#include "step/Entity.h"
#include "step/Reader.h"

#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace {

// One entity holding one attribute of every kind, at these positions.
enum Attribute {
    IntegerAt,
    RealAt,
    StringAt,
    EnumerationAt,
    BooleanAt,
    LogicalAt,
    ReferenceAt,
    NullAt,
    OmittedAt,
    TextSelectAt,
    RealSelectAt,
    ListAt,
    SetAt,
    ArrayAt,
    AttributeCount
};

const char* const attributeNames[] = {"integer", "real",  "string",     "enumeration", "boolean",
                                      "logical", "reference", "null",   "omitted",     "typed text",
                                      "typed real", "list", "set",      "array"};

struct Fixture {
    step::Factory factory;
    std::shared_ptr<step::Entity> target = factory.createEntity("IFCCARTESIANPOINT");
    std::shared_ptr<step::Entity> entity = factory.createEntity("THING");
    std::shared_ptr<step::List> list = std::make_shared<step::List>();

    Fixture()
    {
        for (double v : {1.0, 2.0, 3.0})
            list->add(factory.createReal(v));
        auto set = std::make_shared<step::Set>();
        set->add(factory.createReference(target));
        auto array = std::make_shared<step::Array>();
        array->add(std::make_shared<step::String>("a"));

        entity->add(factory.createInteger(5));
        entity->add(factory.createReal(2.5));
        entity->add(std::make_shared<step::String>("name"));
        entity->add(std::make_shared<step::Enumeration>("ELEMENT"));
        entity->add(factory.createBoolean(true));
        entity->add(factory.createLogical(0));
        entity->add(factory.createReference(target));
        entity->add(std::make_shared<step::Null>());
        entity->add(std::make_shared<step::Omitted>());
        entity->add(factory.createSelect(std::make_shared<step::String>("text")));
        entity->add(factory.createSelect("IFCLENGTHMEASURE", factory.createReal(3.0)));
        entity->add(list);
        entity->add(set);
        entity->add(array);
    }

    const std::shared_ptr<step::Parameter>& attribute(int position) const
    {
        return *std::next(entity->parameters.begin(), position);
    }
};

// Reads one attribute with the reader of kind T: "ok" when it gives a value,
// the error text otherwise.
template <class T>
std::string read(const Fixture& fixture, int position, std::shared_ptr<T>* value)
{
    step::DefaultForwardingVisitor<T> reader(value);
    try {
        fixture.attribute(position)->accept(reader);
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    return *value ? "ok" : "nothing";
}

TEST(StepReader, EachReaderTakesItsOwnKindAndRefusesEveryOther)
{
    const Fixture fixture;
    // The one attribute each reader accepts; every other fails.
    struct Reader {
        const char* name;
        int accepted;
        std::function<std::string(int)> read;
    };
    const std::vector<Reader> readers = {
        {"String", StringAt,
         [&](int at) {
             std::shared_ptr<step::String> v;
             return read(fixture, at, &v);
         }},
        {"Reference", ReferenceAt,
         [&](int at) {
             std::shared_ptr<step::Reference> v;
             return read(fixture, at, &v);
         }},
        {"Real", RealAt,
         [&](int at) {
             std::shared_ptr<step::Real> v;
             return read(fixture, at, &v);
         }},
        {"List", ListAt,
         [&](int at) {
             std::shared_ptr<step::List> v;
             return read(fixture, at, &v);
         }},
    };
    for (const Reader& reader : readers) {
        for (int at = 0; at < AttributeCount; ++at) {
            const std::string expected = at == reader.accepted ? "ok" : "Conversion failed";
            EXPECT_EQ(reader.read(at), expected) << reader.name << " reader on the " << attributeNames[at];
        }
    }
}

TEST(StepReader, GivesTheEntitysOwnValues)
{
    const Fixture fixture;

    std::shared_ptr<step::Reference> reference;
    ASSERT_EQ(read(fixture, ReferenceAt, &reference), "ok");
    EXPECT_EQ(reference->entity, fixture.target);
    EXPECT_EQ(reference->id, fixture.target->id);

    std::shared_ptr<step::List> list;
    ASSERT_EQ(read(fixture, ListAt, &list), "ok");
    EXPECT_EQ(list, fixture.list) << "the very list of the entity";
    EXPECT_EQ(list->items.size(), 3u);

    std::shared_ptr<step::String> text;
    ASSERT_EQ(read(fixture, StringAt, &text), "ok");
    EXPECT_EQ(text->value, "name");

    std::shared_ptr<step::Real> real;
    ASSERT_EQ(read(fixture, RealAt, &real), "ok");
    EXPECT_EQ(real->value, 2.5);
}

TEST(StepReader, ReadsItemsOfAList)
{
    const Fixture fixture;
    for (std::size_t i = 0; i < fixture.list->items.size(); ++i) {
        std::shared_ptr<step::Real> real;
        step::DefaultForwardingVisitor<step::Real> reader(&real);
        fixture.list->items[i]->accept(reader);
        ASSERT_NE(real, nullptr);
        EXPECT_EQ(real->value, 1.0 + i);
    }
}

TEST(StepReader, TypedValueIsRefusedEvenWhenItsInnerValueMatches)
{
    const Fixture fixture;
    std::shared_ptr<step::Real> real;
    EXPECT_EQ(read(fixture, RealSelectAt, &real), "Conversion failed");
}

} // namespace
