#include "step/Entity.h"

#include <stdexcept>

namespace step {

void Integer::accept(Visitor& visitor)
{
    visitor.visitInteger(shared_from_this());
}

void Real::accept(Visitor& visitor)
{
    visitor.visitReal(shared_from_this());
}

void Boolean::accept(Visitor& visitor)
{
    visitor.visitBoolean(shared_from_this());
}

void Logical::accept(Visitor& visitor)
{
    visitor.visitLogical(shared_from_this());
}

void Enumeration::accept(Visitor& visitor)
{
    visitor.visitEnumeration(shared_from_this());
}

void String::accept(Visitor& visitor)
{
    visitor.visitString(shared_from_this());
}

Reference::Reference(std::shared_ptr<Entity> target) : entity(std::move(target)), id(0)
{
    if (!entity)
        throw std::invalid_argument("Cannot refer to a missing entity");
    id = entity->id;
}

void Reference::accept(Visitor& visitor)
{
    visitor.visitReference(shared_from_this());
}

void Null::accept(Visitor& visitor)
{
    visitor.visitNull(shared_from_this());
}

void Omitted::accept(Visitor& visitor)
{
    visitor.visitOmitted(shared_from_this());
}

void Select::accept(Visitor& visitor)
{
    const std::shared_ptr<Select> self = shared_from_this();
    visitor.beginSelect(self);
    value->accept(visitor);
    visitor.endSelect(self);
}

void Container::accept(Visitor& visitor)
{
    bool first = true;
    for (const std::shared_ptr<ContainerItem>& item : items) {
        if (!first)
            visitor.visitSeparator();
        first = false;
        item->accept(visitor);
    }
}

void List::accept(Visitor& visitor)
{
    const std::shared_ptr<List> self = shared_from_this();
    visitor.beginList(self);
    Container::accept(visitor);
    visitor.endList(self);
}

void Set::accept(Visitor& visitor)
{
    const std::shared_ptr<Set> self = shared_from_this();
    visitor.beginSet(self);
    Container::accept(visitor);
    visitor.endSet(self);
}

void Array::accept(Visitor& visitor)
{
    const std::shared_ptr<Array> self = shared_from_this();
    visitor.beginArray(self);
    Container::accept(visitor);
    visitor.endArray(self);
}

std::shared_ptr<Entity> Factory::createEntity(const std::string& name)
{
    return std::make_shared<Entity>(++lastId, name);
}

std::shared_ptr<Integer> Factory::createInteger(int value)
{
    return std::make_shared<Integer>(value);
}

std::shared_ptr<Real> Factory::createReal(double value)
{
    return std::make_shared<Real>(value);
}

std::shared_ptr<Boolean> Factory::createBoolean(bool value)
{
    return std::make_shared<Boolean>(value);
}

std::shared_ptr<Logical> Factory::createLogical(int value)
{
    return std::make_shared<Logical>(value);
}

std::shared_ptr<Reference> Factory::createReference(std::shared_ptr<Entity> entity)
{
    return std::make_shared<Reference>(std::move(entity));
}

std::shared_ptr<Select> Factory::createSelect(const std::string& typeName, std::shared_ptr<Boolean> value)
{
    return std::make_shared<Select>(typeName,
                                    std::make_shared<ConcreteSelectVal<std::shared_ptr<Boolean>>>(std::move(value)));
}

std::shared_ptr<Select> Factory::createSelect(const std::string& typeName, std::shared_ptr<Real> value)
{
    return std::make_shared<Select>(typeName,
                                    std::make_shared<ConcreteSelectVal<std::shared_ptr<Real>>>(std::move(value)));
}

std::shared_ptr<Select> Factory::createSelect(std::shared_ptr<String> value)
{
    return std::make_shared<Select>("IFCTEXT",
                                    std::make_shared<ConcreteSelectVal<std::shared_ptr<String>>>(std::move(value)));
}

} // namespace step
