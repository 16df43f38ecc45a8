#pragma once

#include "step/Visitor.h"

#include <cstdint>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

namespace step {

class Entity;

// Attribute values of the clear-text encoding. Every value lives in a
// std::shared_ptr (made with std::make_shared) and may be shared by several
// entities and aggregates; accept hands the visitor a shared pointer to the
// value itself, so a value not owned by a shared pointer cannot be visited
// (std::bad_weak_ptr).

class Integer : public std::enable_shared_from_this<Integer> {
public:
    explicit Integer(int value) : value(value) {}
    void accept(Visitor& visitor);

    int value;
};

class Real : public std::enable_shared_from_this<Real> {
public:
    explicit Real(double value) : value(value) {}
    void accept(Visitor& visitor);

    double value;
};

class Boolean : public std::enable_shared_from_this<Boolean> {
public:
    explicit Boolean(bool value) : value(value) {}
    void accept(Visitor& visitor);

    bool value;
};

// 0 is TRUE, 1 is FALSE, every other value UNKNOWN.
class Logical : public std::enable_shared_from_this<Logical> {
public:
    explicit Logical(int value) : value(value) {}
    void accept(Visitor& visitor);

    int value;
};

// The enumerator without its dots, in the case in which it is written.
class Enumeration : public std::enable_shared_from_this<Enumeration> {
public:
    explicit Enumeration(std::string value) : value(std::move(value)) {}
    void accept(Visitor& visitor);

    std::string value;
};

// Text in UTF-8; the writer encodes it.
class String : public std::enable_shared_from_this<String> {
public:
    explicit String(std::string value) : value(std::move(value)) {}
    virtual ~String() = default;
    void accept(Visitor& visitor);

    std::string value;
};

// Keeps the entity referred to alive; the id is copied when the reference is
// made and equals the entity's, which never changes.
class Reference : public std::enable_shared_from_this<Reference> {
public:
    // Throws std::invalid_argument for an empty entity.
    explicit Reference(std::shared_ptr<Entity> entity);
    virtual ~Reference() = default;
    void accept(Visitor& visitor);

    std::shared_ptr<Entity> entity;
    std::uint64_t id;
};

// The unset value, written $.
class Null : public std::enable_shared_from_this<Null> {
public:
    virtual ~Null() = default;
    void accept(Visitor& visitor);
};

// The omitted (derived) value, written *.
class Omitted : public std::enable_shared_from_this<Omitted> {
public:
    virtual ~Omitted() = default;
    void accept(Visitor& visitor);
};

// The value held by a typed parameter.
class SelectVal {
public:
    virtual ~SelectVal() = default;
    virtual void accept(Visitor& visitor) = 0;
};

template <class T>
class ConcreteSelectVal;

template <class T>
class ConcreteSelectVal<std::shared_ptr<T>> : public SelectVal {
    static_assert(std::is_same_v<T, Real> || std::is_same_v<T, Boolean> || std::is_same_v<T, String>,
                  "a typed parameter holds a real, a boolean or a string");

public:
    explicit ConcreteSelectVal(std::shared_ptr<T> value) : value(std::move(value)) {}
    void accept(Visitor& visitor) override { value->accept(visitor); }

    std::shared_ptr<T> value;
};

// A typed parameter: a defined type around a simple value, such as
// IFCLABEL('Wall').
class Select : public std::enable_shared_from_this<Select> {
public:
    Select(std::string typeName, std::shared_ptr<SelectVal> value)
        : typeName(std::move(typeName)), value(std::move(value)) {}
    virtual ~Select() = default;
    void accept(Visitor& visitor);

    std::string typeName;
    std::shared_ptr<SelectVal> value;
};

// Aggregates hold only integers, reals, strings and references: never another
// aggregate, so they never nest.
class ContainerItem {
public:
    virtual ~ContainerItem() = default;
    virtual void accept(Visitor& visitor) = 0;
};

template <class T>
class ConcreteContainerItem : public ContainerItem {
    static_assert(std::is_same_v<T, Integer> || std::is_same_v<T, Real> || std::is_same_v<T, String>
                      || std::is_same_v<T, Reference>,
                  "an aggregate holds integers, reals, strings and references only");

public:
    explicit ConcreteContainerItem(std::shared_ptr<T> value) : value(std::move(value)) {}
    void accept(Visitor& visitor) override { value->accept(visitor); }

    std::shared_ptr<T> value;
};

class Container {
public:
    virtual ~Container() = default;
    // The items in order, with visitSeparator between two of them.
    virtual void accept(Visitor& visitor);

    template <class T>
    void add(std::shared_ptr<T> value)
    {
        items.push_back(std::make_shared<ConcreteContainerItem<T>>(std::move(value)));
    }

    std::vector<std::shared_ptr<ContainerItem>> items;
};

class List : public Container, public std::enable_shared_from_this<List> {
public:
    void accept(Visitor& visitor) override;
};

class Set : public Container, public std::enable_shared_from_this<Set> {
public:
    void accept(Visitor& visitor) override;
};

class Array : public Container, public std::enable_shared_from_this<Array> {
public:
    void accept(Visitor& visitor) override;
};

} // namespace step
