#pragma once

#include "geometry/Polygon.h"
#include "ifc/Placement.h"
#include "step/Entity.h"

#include <list>
#include <memory>
#include <string>

namespace ifc {

using EntityPtr = std::shared_ptr<step::Entity>;
using EntityList = std::list<EntityPtr>;

// A new GlobalId: 22 characters of "0-9a-zA-Z_$", the first one of "0" to "3",
// "$" never used. The generator is seeded once per process from the system's
// entropy source, so no two runs repeat their ids.
std::string newGlobalId();

// Appending one attribute to an entity.
void addReference(const EntityPtr& entity, const EntityPtr& target); // target required
void addReferenceOrNull(const EntityPtr& entity, const EntityPtr& target);
void addNull(const EntityPtr& entity);
void addNulls(const EntityPtr& entity, int count); // count unset attributes in a row
void addGlobalId(const EntityPtr& entity);
void addEnumeration(const EntityPtr& entity, const std::string& text);
void addFalse(const EntityPtr& entity);
void addInteger(const EntityPtr& entity, int value);
void addReal(const EntityPtr& entity, double value);
void addText(const EntityPtr& entity, const std::string& text);
void addTextOrNull(const EntityPtr& entity, const std::string& text); // $ for ""
void addReferenceSet(const EntityPtr& entity, const EntityList& targets);

// Aggregates, in list order.
std::shared_ptr<step::Set> toReferenceSet(const EntityList& targets);
std::shared_ptr<step::List> toReferenceList(const EntityList& targets);
std::shared_ptr<step::Set> singleReferenceSet(const std::shared_ptr<step::Reference>& reference);
std::shared_ptr<step::List> toCoordinateList(const Vec3D& v);
std::shared_ptr<step::List> toCoordinateList2D(const Vec2& v);

// Degrees as (degrees, minutes, seconds, millionths of a second), all four
// carrying the sign of the angle. std::invalid_argument for an angle that is
// not finite or whose degrees exceed the largest integer.
std::shared_ptr<step::List> toCompoundPlaneAngle(double degrees);

// Enumerators for the export's kind codes; "" for a code without one.
std::string slabTypeName(int kind);
std::string buildingSystemTypeName(int kind);
std::string externalSpatialElementTypeName(int kind);
// "INTERNAL" for 0, "EXTERNAL" for 1, "NOTDEFINED" otherwise.
std::string internalOrExternalName(int code);

} // namespace ifc
