#pragma once

#include "step/Value.h"
#include "step/Visitor.h"

#include <memory>

namespace step {

// Reads one attribute value of the kind T (String, Reference, Real or List)
// back out of a built entity:
//
//     std::shared_ptr<step::Reference> parent;
//     step::DefaultForwardingVisitor<step::Reference> reader(&parent);
//     entity->parameters.front()->accept(reader);
//
// Any other kind, an unset or omitted value, a typed value and (for all but
// the List reader) an aggregate raise std::runtime_error "Conversion failed".
// The List reader takes the list and passes over its items. One visitor
// reads one value.
template <class T>
class DefaultForwardingVisitor : public Visitor {
public:
    explicit DefaultForwardingVisitor(std::shared_ptr<T>* target) : target(target) {}

    void visitSeparator() override;
    void beginSelect(const std::shared_ptr<Select>& value) override;
    void beginSet(const std::shared_ptr<Set>& value) override;
    void beginBag() override;
    void beginList(const std::shared_ptr<List>& value) override;
    void beginArray(const std::shared_ptr<Array>& value) override;
    void endSelect(const std::shared_ptr<Select>& value) override;
    void endSet(const std::shared_ptr<Set>& value) override;
    void endBag() override;
    void endList(const std::shared_ptr<List>& value) override;
    void endArray(const std::shared_ptr<Array>& value) override;
    void visitLogical(const std::shared_ptr<Logical>& value) override;
    void visitBoolean(const std::shared_ptr<Boolean>& value) override;
    void visitReference(const std::shared_ptr<Reference>& value) override;
    void visitNumber(const std::shared_ptr<Real>& value) override;
    void visitEnumeration(const std::shared_ptr<Enumeration>& value) override;
    void visitOmitted(const std::shared_ptr<Omitted>& value) override;
    void visitNull(const std::shared_ptr<Null>& value) override;
    void visitReal(const std::shared_ptr<Real>& value) override;
    void visitInteger(const std::shared_ptr<Integer>& value) override;
    void visitBinary(const std::shared_ptr<String>& value) override;
    void visitString(const std::shared_ptr<String>& value) override;

    std::shared_ptr<T>* target;
    // True while the items of an aggregate are visited.
    bool nested = false;

private:
    // "Conversion failed" unless inside an aggregate.
    void refuse() const;
    template <class V>
    void take(const std::shared_ptr<V>& value);
};

extern template class DefaultForwardingVisitor<String>;
extern template class DefaultForwardingVisitor<Reference>;
extern template class DefaultForwardingVisitor<Real>;
extern template class DefaultForwardingVisitor<List>;

} // namespace step
