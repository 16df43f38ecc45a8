#include "step/Entity.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// Records the calls a value makes, one word per call.
class RecordingVisitor : public step::Visitor {
public:
    std::vector<std::string> calls;

    void visitSeparator() override { calls.push_back(","); }
    void beginSelect(const std::shared_ptr<step::Select>& v) override { calls.push_back("select " + v->typeName); }
    void beginSet(const std::shared_ptr<step::Set>&) override { calls.push_back("set"); }
    void beginBag() override { calls.push_back("bag"); }
    void beginList(const std::shared_ptr<step::List>&) override { calls.push_back("list"); }
    void beginArray(const std::shared_ptr<step::Array>&) override { calls.push_back("array"); }
    void endSelect(const std::shared_ptr<step::Select>&) override { calls.push_back("/select"); }
    void endSet(const std::shared_ptr<step::Set>&) override { calls.push_back("/set"); }
    void endBag() override { calls.push_back("/bag"); }
    void endList(const std::shared_ptr<step::List>&) override { calls.push_back("/list"); }
    void endArray(const std::shared_ptr<step::Array>&) override { calls.push_back("/array"); }
    void visitLogical(const std::shared_ptr<step::Logical>& v) override
    {
        calls.push_back("logical " + std::to_string(v->value));
    }
    void visitBoolean(const std::shared_ptr<step::Boolean>& v) override
    {
        calls.push_back(v->value ? "true" : "false");
    }
    void visitReference(const std::shared_ptr<step::Reference>& v) override
    {
        calls.push_back("#" + std::to_string(v->id));
    }
    void visitNumber(const std::shared_ptr<step::Real>&) override { calls.push_back("number"); }
    void visitEnumeration(const std::shared_ptr<step::Enumeration>& v) override { calls.push_back("." + v->value); }
    void visitOmitted(const std::shared_ptr<step::Omitted>&) override { calls.push_back("*"); }
    void visitNull(const std::shared_ptr<step::Null>&) override { calls.push_back("$"); }
    void visitReal(const std::shared_ptr<step::Real>& v) override
    {
        calls.push_back("real " + std::to_string(v->value));
    }
    void visitInteger(const std::shared_ptr<step::Integer>& v) override
    {
        calls.push_back("int " + std::to_string(v->value));
    }
    void visitBinary(const std::shared_ptr<step::String>&) override { calls.push_back("binary"); }
    void visitString(const std::shared_ptr<step::String>& v) override { calls.push_back("'" + v->value + "'"); }
};

std::vector<std::string> visitAll(const std::shared_ptr<step::Entity>& entity)
{
    RecordingVisitor visitor;
    for (const auto& parameter : entity->parameters)
        parameter->accept(visitor);
    return visitor.calls;
}

using Calls = std::vector<std::string>;

TEST(StepFactory, NumbersEntitiesFromOneInCreationOrder)
{
    step::Factory factory;
    EXPECT_EQ(factory.lastId, 0u);
    const auto first = factory.createEntity("IfcWall");
    const auto second = factory.createEntity("IFCSLAB");
    EXPECT_EQ(first->id, 1u);
    EXPECT_EQ(second->id, 2u);
    EXPECT_EQ(first->name, "IfcWall");
    EXPECT_TRUE(first->parameters.empty());
    EXPECT_EQ(factory.lastId, 2u);

    step::Factory other;
    EXPECT_EQ(other.createEntity("X")->id, 1u) << "each file has its own numbering";
}

TEST(StepFactory, ReferenceCopiesTheEntityIdAndKeepsTheEntity)
{
    step::Factory factory;
    factory.createEntity("A");
    auto target = factory.createEntity("B");
    const auto reference = factory.createReference(target);
    EXPECT_EQ(reference->id, 2u);
    EXPECT_EQ(reference->entity, target);

    target.reset();
    ASSERT_NE(reference->entity, nullptr) << "a reference keeps its entity alive";
    EXPECT_EQ(reference->entity->name, "B");
}

TEST(StepFactory, ReferenceToAMissingEntityIsRefused)
{
    step::Factory factory;
    EXPECT_THROW(factory.createReference(nullptr), std::invalid_argument);
}

TEST(StepFactory, TextSelectIsAlwaysIfcText)
{
    step::Factory factory;
    for (const std::string text : {"", "IFCLABEL", "Wall"}) {
        const auto select = factory.createSelect(std::make_shared<step::String>(text));
        EXPECT_EQ(select->typeName, "IFCTEXT") << text;
    }
    EXPECT_EQ(factory.createSelect("IfcBoolean", factory.createBoolean(true))->typeName, "IfcBoolean");
}

TEST(StepValues, AttributesDispatchToTheirVisitOperationInOrder)
{
    step::Factory factory;
    auto referenced = factory.createEntity("TARGET");
    auto entity = factory.createEntity("THING");
    entity->add(factory.createInteger(-4));
    entity->add(factory.createReal(2.5));
    entity->add(std::make_shared<step::String>("a"));
    entity->add(std::make_shared<step::Enumeration>("ELEMENT"));
    entity->add(factory.createBoolean(false));
    entity->add(factory.createLogical(2));
    entity->add(factory.createReference(referenced));
    entity->add(std::make_shared<step::Null>());
    entity->add(std::make_shared<step::Omitted>());
    entity->add(factory.createSelect("IFCLENGTHMEASURE", factory.createReal(1.0)));

    EXPECT_EQ(visitAll(entity), (Calls{"int -4", "real 2.500000", "'a'", ".ELEMENT", "false", "logical 2", "#1", "$",
                                       "*", "select IFCLENGTHMEASURE", "real 1.000000", "/select"}));
}

TEST(StepValues, AggregatesPutSeparatorsOnlyBetweenItems)
{
    step::Factory factory;
    struct Case {
        const char* name;
        std::function<std::shared_ptr<step::Entity>()> build;
        Calls calls;
    };
    const std::vector<Case> cases = {
        {"empty list",
         [&] {
             auto e = factory.createEntity("E");
             e->add(std::make_shared<step::List>());
             return e;
         },
         {"list", "/list"}},
        {"set of one",
         [&] {
             auto e = factory.createEntity("E");
             auto set = std::make_shared<step::Set>();
             set->add(factory.createInteger(7));
             e->add(set);
             return e;
         },
         {"set", "int 7", "/set"}},
        {"array of three mixed items",
         [&] {
             auto e = factory.createEntity("E");
             auto array = std::make_shared<step::Array>();
             array->add(factory.createReal(1.0));
             array->add(std::make_shared<step::String>("s"));
             array->add(factory.createReference(factory.createEntity("T")));
             e->add(array);
             return e;
         },
         {"array", "real 1.000000", ",", "'s'", ",", "#4", "/array"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(visitAll(c.build()), c.calls) << c.name;
}

TEST(StepValues, OneValueMaySitInSeveralEntities)
{
    step::Factory factory;
    const auto shared = factory.createReal(0.5);
    auto a = factory.createEntity("A");
    auto b = factory.createEntity("B");
    auto list = std::make_shared<step::List>();
    list->add(shared);
    a->add(shared);
    b->add(list);
    EXPECT_EQ(visitAll(a), (Calls{"real 0.500000"}));
    EXPECT_EQ(visitAll(b), (Calls{"list", "real 0.500000", "/list"}));
}

TEST(StepValues, AValueNotOwnedBySharedPointerCannotBeVisited)
{
    step::Real onStack(1.0);
    RecordingVisitor visitor;
    EXPECT_THROW(onStack.accept(visitor), std::bad_weak_ptr);
}

} // namespace
