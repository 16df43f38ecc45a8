#include "ifc/SchemaSupport.h"

#include <stdexcept>

namespace ifc {

EntityList liningAndPanels(const EntityPtr& lining, const EntityList& panels)
{
    EntityList all{lining};
    all.insert(all.end(), panels.begin(), panels.end());
    return all;
}

void addPropertySetsOrNull(const EntityPtr& type, const EntityList& propertySets)
{
    if (propertySets.empty())
        addNull(type);
    else
        addReferenceSet(type, propertySets);
}

void checkBoundaryEnds(const EntityPtr& space, const EntityPtr& element)
{
    if (!space)
        throw std::logic_error("Missing relatingSpace");
    if (!element)
        throw std::logic_error("Missing buildingElement");
}

void checkMaterialLayers(const std::shared_ptr<step::List>& layers)
{
    if (!layers || layers->items.empty())
        throw std::runtime_error("Could not write IfcMaterialLayerSet: No layers found");
}

std::string directionSenseName(int direction)
{
    if (direction == 0)
        return "POSITIVE";
    if (direction == 1)
        return "NEGATIVE";
    throw std::invalid_argument("Unknown layer direction " + std::to_string(direction)
                                + " (0 positive, 1 negative)");
}

} // namespace ifc
