#include "ifc/Attributes.h"

#include <climits>
#include <cmath>
#include <string>
#include <stdexcept>
#include <initializer_list>

namespace ifc {

void addReference(const EntityPtr& entity, const EntityPtr& target)
{
    entity->add(std::make_shared<step::Reference>(target));
}

void addReferenceOrNull(const EntityPtr& entity, const EntityPtr& target)
{
    if (target)
        addReference(entity, target);
    else
        addNull(entity);
}

void addNull(const EntityPtr& entity)
{
    entity->add(std::make_shared<step::Null>());
}

void addNulls(const EntityPtr& entity, int count)
{
    for (int i = 0; i < count; ++i)
        addNull(entity);
}

void addGlobalId(const EntityPtr& entity)
{
    entity->add(std::make_shared<step::String>(newGlobalId()));
}

void addEnumeration(const EntityPtr& entity, const std::string& text)
{
    entity->add(std::make_shared<step::Enumeration>(text));
}

void addFalse(const EntityPtr& entity)
{
    entity->add(std::make_shared<step::Boolean>(false));
}

void addInteger(const EntityPtr& entity, int value)
{
    entity->add(std::make_shared<step::Integer>(value));
}

void addReal(const EntityPtr& entity, double value)
{
    entity->add(std::make_shared<step::Real>(value));
}

void addText(const EntityPtr& entity, const std::string& text)
{
    entity->add(std::make_shared<step::String>(text));
}

void addTextOrNull(const EntityPtr& entity, const std::string& text)
{
    if (text.empty())
        addNull(entity);
    else
        addText(entity, text);
}

void addReferenceSet(const EntityPtr& entity, const EntityList& targets)
{
    entity->add(toReferenceSet(targets));
}

std::shared_ptr<step::Set> toReferenceSet(const EntityList& targets)
{
    auto set = std::make_shared<step::Set>();
    for (const EntityPtr& target : targets)
        set->add(std::make_shared<step::Reference>(target));
    return set;
}

std::shared_ptr<step::List> toReferenceList(const EntityList& targets)
{
    auto list = std::make_shared<step::List>();
    for (const EntityPtr& target : targets)
        list->add(std::make_shared<step::Reference>(target));
    return list;
}

std::shared_ptr<step::Set> singleReferenceSet(const std::shared_ptr<step::Reference>& reference)
{
    auto set = std::make_shared<step::Set>();
    set->add(reference);
    return set;
}

std::shared_ptr<step::List> toCoordinateList(const Vec3D& v)
{
    auto list = std::make_shared<step::List>();
    for (double c : {v.x, v.y, v.z})
        list->add(std::make_shared<step::Real>(c));
    return list;
}

std::shared_ptr<step::List> toCoordinateList2D(const Vec2& v)
{
    auto list = std::make_shared<step::List>();
    for (double c : {v.x, v.y})
        list->add(std::make_shared<step::Real>(c));
    return list;
}

std::shared_ptr<step::List> toCompoundPlaneAngle(double degrees)
{
    // Every part is written as an integer.
    if (!(std::fabs(degrees) <= static_cast<double>(INT_MAX)))
        throw std::invalid_argument("The angle " + std::to_string(degrees) +
                                    " degrees cannot be written as degrees, minutes and seconds.");
    const double x = std::fabs(degrees);
    const double d = std::floor(x);
    double r = (x - d) * 60.0;
    const double m = std::floor(r);
    r = (r - m) * 60.0;
    const double s = std::floor(r);
    r = (r - s) * 1000000.0;
    const double u = std::floor(r);

    const int sign = degrees < 0 ? -1 : 1;
    auto list = std::make_shared<step::List>();
    for (double part : {d, m, s, u})
        list->add(std::make_shared<step::Integer>(sign * static_cast<int>(part)));
    return list;
}

namespace {

std::string nameOf(int code, std::initializer_list<const char*> names)
{
    if (code < 0 || code >= static_cast<int>(names.size()))
        return "";
    return *(names.begin() + code);
}

} // namespace

std::string slabTypeName(int kind)
{
    return nameOf(kind, {"FLOOR", "ROOF", "LANDING", "BASESLAB", "USERDEFINED", "NOTDEFINED"});
}

std::string buildingSystemTypeName(int kind)
{
    return nameOf(kind, {"FENESTRATION", "FOUNDATION", "LOADBEARING", "OUTERSHELL", "SHADING", "TRANSPORT",
                         "USERDEFINED", "NOTDEFINED"});
}

std::string externalSpatialElementTypeName(int kind)
{
    return nameOf(kind, {"EXTERNAL", "EXTERNAL_EARTH", "EXTERNAL_WATER", "EXTERNAL_FIRE", "USERDEFINED",
                         "NOTDEFINED"});
}

std::string internalOrExternalName(int code)
{
    if (code == 0)
        return "INTERNAL";
    if (code == 1)
        return "EXTERNAL";
    return "NOTDEFINED";
}

} // namespace ifc
