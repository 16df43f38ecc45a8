#pragma once

#include "step/Value.h"

#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <type_traits>

namespace step {

// One attribute of an entity.
class Parameter {
public:
    virtual ~Parameter() = default;
    virtual void accept(Visitor& visitor) = 0;
};

template <class T>
class ConcreteParameter : public Parameter {
    static_assert(std::is_same_v<T, Integer> || std::is_same_v<T, Real> || std::is_same_v<T, String>
                      || std::is_same_v<T, Enumeration> || std::is_same_v<T, Boolean>
                      || std::is_same_v<T, Logical> || std::is_same_v<T, Reference>
                      || std::is_same_v<T, Select> || std::is_same_v<T, Null> || std::is_same_v<T, Omitted>
                      || std::is_same_v<T, List> || std::is_same_v<T, Set> || std::is_same_v<T, Array>,
                  "not an attribute kind of the clear-text encoding");

public:
    explicit ConcreteParameter(std::shared_ptr<T> value) : value(std::move(value)) {}
    void accept(Visitor& visitor) override { value->accept(visitor); }

    std::shared_ptr<T> value;
};

// One entity instance: its number (0 for header entities, which carry none),
// its type name in any case and its attributes in schema order. Nothing
// checks the attribute list against a schema.
class Entity {
public:
    Entity(std::uint64_t id, std::string name) : id(id), name(std::move(name)) {}
    virtual ~Entity() = default;

    template <class T>
    void add(std::shared_ptr<T> value)
    {
        parameters.push_back(std::make_shared<ConcreteParameter<T>>(std::move(value)));
    }

    std::uint64_t id;
    std::string name;
    std::list<std::shared_ptr<Parameter>> parameters;
};

// Numbers the entities of one file from #1 upward in the order of creation,
// never reusing a number, and makes the values that carry no text.
class Factory {
public:
    virtual ~Factory() = default;

    std::shared_ptr<Entity> createEntity(const std::string& name);

    std::shared_ptr<Integer> createInteger(int value);
    std::shared_ptr<Real> createReal(double value);
    std::shared_ptr<Boolean> createBoolean(bool value);
    std::shared_ptr<Logical> createLogical(int value);
    // Throws std::invalid_argument for an empty entity.
    std::shared_ptr<Reference> createReference(std::shared_ptr<Entity> entity);

    std::shared_ptr<Select> createSelect(const std::string& typeName, std::shared_ptr<Boolean> value);
    std::shared_ptr<Select> createSelect(const std::string& typeName, std::shared_ptr<Real> value);
    // A text value, always of the type "IFCTEXT".
    std::shared_ptr<Select> createSelect(std::shared_ptr<String> value);

    std::uint64_t lastId = 0;
};

} // namespace step
