#pragma once

#include <memory>

namespace step {

class Integer;
class Real;
class Boolean;
class Logical;
class Enumeration;
class String;
class Reference;
class Null;
class Omitted;
class Select;
class Set;
class List;
class Array;

// Receives the values of an entity's attributes as a flat sequence of calls:
// a typed value is bracketed by beginSelect/endSelect, an aggregate by its
// begin/end pair, and visitSeparator comes between two attributes or two
// items. Aggregates never nest, so a visitor can rebuild the structure from
// the calls alone.
//
// beginBag, endBag, visitNumber and visitBinary belong to the clear-text
// encoding but no value class produces them.
class Visitor {
public:
    virtual ~Visitor() = default;

    virtual void visitSeparator() = 0;
    virtual void beginSelect(const std::shared_ptr<Select>& value) = 0;
    virtual void beginSet(const std::shared_ptr<Set>& value) = 0;
    virtual void beginBag() = 0;
    virtual void beginList(const std::shared_ptr<List>& value) = 0;
    virtual void beginArray(const std::shared_ptr<Array>& value) = 0;
    virtual void endSelect(const std::shared_ptr<Select>& value) = 0;
    virtual void endSet(const std::shared_ptr<Set>& value) = 0;
    virtual void endBag() = 0;
    virtual void endList(const std::shared_ptr<List>& value) = 0;
    virtual void endArray(const std::shared_ptr<Array>& value) = 0;
    virtual void visitLogical(const std::shared_ptr<Logical>& value) = 0;
    virtual void visitBoolean(const std::shared_ptr<Boolean>& value) = 0;
    virtual void visitReference(const std::shared_ptr<Reference>& value) = 0;
    virtual void visitNumber(const std::shared_ptr<Real>& value) = 0;
    virtual void visitEnumeration(const std::shared_ptr<Enumeration>& value) = 0;
    virtual void visitOmitted(const std::shared_ptr<Omitted>& value) = 0;
    virtual void visitNull(const std::shared_ptr<Null>& value) = 0;
    virtual void visitReal(const std::shared_ptr<Real>& value) = 0;
    virtual void visitInteger(const std::shared_ptr<Integer>& value) = 0;
    virtual void visitBinary(const std::shared_ptr<String>& value) = 0;
    virtual void visitString(const std::shared_ptr<String>& value) = 0;
};

} // namespace step
