#pragma once

#include "ifc/Attributes.h"

#include <memory>
#include <string>

// What the IFC4 and IFC2X3 writers share beyond the writer base.

namespace ifc {

// The lining followed by every panel, as a type's HasPropertySets.
EntityList liningAndPanels(const EntityPtr& lining, const EntityList& panels);
// A type's HasPropertySets: $ when there are none, since the schemas allow
// no empty set there.
void addPropertySetsOrNull(const EntityPtr& type, const EntityList& propertySets);
// Throws std::logic_error "Missing relatingSpace" or "Missing buildingElement".
void checkBoundaryEnds(const EntityPtr& space, const EntityPtr& element);
// Throws std::runtime_error when no layer has been collected.
void checkMaterialLayers(const std::shared_ptr<step::List>& layers);
// "POSITIVE" for 0, "NEGATIVE" for 1; std::invalid_argument otherwise.
std::string directionSenseName(int direction);

} // namespace ifc
