#include "ifc/Writer.h"

#include "ifc/IfcNames.h"
#include "ifc/SchemaSupport.h"

namespace ifc {

void Writer::writeSite(const std::string& name, double latitude, double longitude)
{
    auto e = createObject(IFCSITE, name);
    sitePlacement = addOriginPlacement(e, nullptr);
    addNulls(e, 2);
    addEnumeration(e, "ELEMENT");
    e->add(toCompoundPlaneAngle(latitude));
    e->add(toCompoundPlaneAngle(longitude));
    addNulls(e, 3);
    site = hand(e);
}

void Writer::writeBuilding(const std::string& name)
{
    auto e = createObject(IFCBUILDING, name);
    buildingPlacement = addPlacement(e, sitePlacement, {0.0, 0.0, 0.0});
    addRepresentation(e);
    addNull(e);
    addEnumeration(e, "ELEMENT");
    addNulls(e, 3);
    building = hand(e);
    currentElement = building;
    addRelated(site, building);
}

EntityPtr Writer::writeBuildingStorey(const std::string& name, const Vec3D& position)
{
    auto e = createObject(IFCBUILDINGSTOREY, name);
    storeyPlacement = addPlacement(e, buildingPlacement, position);
    addRepresentation(e);
    addNull(e);
    addEnumeration(e, "ELEMENT");
    addReal(e, position.z);
    storey = hand(e);
    currentElement = storey;
    addRelated(building, storey);
    return storey;
}

EntityPtr Writer::writeRelAggregates(const EntityPtr& relating, const EntityList& related)
{
    auto e = createUnnamed(IFCRELAGGREGATES);
    addReference(e, relating);
    addReferenceSet(e, related);
    return hand(e);
}

EntityPtr Writer::writeRelContainedInSpatialStructure(const std::string& name, const std::string& description,
                                                      const EntityList& elements, const EntityPtr& structure)
{
    auto e = create(IFCRELCONTAINEDINSPATIALSTRUCTURE);
    addRoot(e);
    addTextOrNull(e, name);
    addTextOrNull(e, description);
    addReferenceSet(e, elements);
    addReference(e, structure);
    return hand(e);
}

EntityPtr Writer::writeRelVoidsElement(const EntityPtr& element, const EntityPtr& opening)
{
    auto e = createUnnamed(IFCRELVOIDSELEMENT);
    addReference(e, element);
    addReference(e, opening);
    return hand(e);
}

EntityPtr Writer::writeRelFillsElement(const EntityPtr& opening, const EntityPtr& element)
{
    auto e = createUnnamed(IFCRELFILLSELEMENT);
    addReference(e, opening);
    addReference(e, element);
    return hand(e);
}

EntityPtr Writer::writeRelDefinesByProperties(const EntityList& objects, const EntityPtr& definition)
{
    auto e = createUnnamed(IFCRELDEFINESBYPROPERTIES);
    addReferenceSet(e, objects);
    addReference(e, definition);
    return hand(e);
}

EntityPtr Writer::writeRelAssociatesMaterial(const EntityList& objects, const EntityPtr& material)
{
    auto e = createUnnamed(IFCRELASSOCIATESMATERIAL);
    addReferenceSet(e, objects);
    addReference(e, material);
    return hand(e);
}

EntityPtr Writer::writeRelAssignsToGroup(const EntityList& objects, const EntityPtr& group)
{
    auto e = createUnnamed(IFCRELASSIGNSTOGROUP);
    addReferenceSet(e, objects);
    addNull(e);
    addReference(e, group);
    return hand(e);
}

EntityPtr Writer::writeRelSpaceBoundary(const std::string& name, const std::string& description,
                                        const EntityPtr& space, const EntityPtr& element, const EntityPtr& geometry,
                                        const std::string& physicalOrVirtual, int internalOrExternal)
{
    return hand(buildRelSpaceBoundary(IFCRELSPACEBOUNDARY, name, description, space, element, geometry,
                                      physicalOrVirtual, internalOrExternal));
}

EntityPtr Writer::writePropertySingleValue(const std::string& name, const std::shared_ptr<step::Select>& value,
                                           const EntityPtr& unit)
{
    auto e = create(IFCPROPERTYSINGLEVALUE);
    addText(e, name);
    addNull(e);
    if (value)
        e->add(value);
    else
        addNull(e);
    addReferenceOrNull(e, unit);
    hand(e);
    properties->add(std::make_shared<step::Reference>(e));
    return e;
}

EntityPtr Writer::writeTextProperty(const std::string& name, const std::string& text, const EntityPtr& unit)
{
    return writePropertySingleValue(name, factory.createSelect(std::make_shared<step::String>(text)), unit);
}

EntityPtr Writer::writePropertySet(const std::string& name, const std::shared_ptr<step::Set>& propertySet)
{
    auto e = create(IFCPROPERTYSET);
    addRoot(e);
    addText(e, name);
    addNull(e);
    e->add(propertySet ? propertySet : std::make_shared<step::Set>());
    return hand(e);
}

EntityPtr Writer::writeElementQuantity(const std::string& name)
{
    auto e = create(IFCELEMENTQUANTITY);
    addRoot(e);
    addText(e, name);
    addNulls(e, 2);
    e->add(elementQuantities);
    hand(e);
    elementQuantities = std::make_shared<step::Set>();
    waitingForOwner.push_back(e);
    return e;
}

void Writer::addRelated(const EntityPtr& key, const EntityPtr& entity)
{
    relations[key].push_back(entity);
}

void Writer::adoptWaitingEntities(const EntityPtr& owner)
{
    for (const EntityPtr& waiting : waitingForOwner)
        addRelated(waiting, owner);
    waitingForOwner.clear();
}

EntityPtr Writer::writeWindowPanelProperties()
{
    auto e = createUnnamed(IFCWINDOWPANELPROPERTIES);
    addEnumeration(e, "FIXEDCASEMENT");
    addEnumeration(e, "NOTDEFINED");
    addReal(e, 0.03);
    addReal(e, 0.03);
    addNull(e);
    windowPanel = hand(e);
    return windowPanel;
}

EntityPtr Writer::writeDoorPanelProperties(const std::string& panelPosition)
{
    auto e = createUnnamed(IFCDOORPANELPROPERTIES);
    addReal(e, 0.04);
    addEnumeration(e, "DOUBLE_ACTING");
    addReal(e, 0.5);
    addEnumeration(e, panelPosition);
    addNull(e);
    hand(e);
    doorPanels.push_back(e);
    return e;
}

EntityPtr Writer::writeLightFixtureType(const std::string& name)
{
    return hand(createElementType(IFCLIGHTFIXTURETYPE, name, {}, "NOTDEFINED"));
}

EntityPtr Writer::writeAirTerminalType(const std::string& name)
{
    return hand(createElementType(IFCAIRTERMINALTYPE, name, {}, "NOTDEFINED"));
}

EntityPtr Writer::writeSystem(const std::string& name)
{
    auto e = createObject(IFCSYSTEM, name);
    return hand(e);
}

EntityPtr Writer::writeFlowTerminal(const std::string& name, const EntityPtr& firstSystem,
                                    const EntityPtr& secondSystem, const Vec3D& position)
{
    auto e = createObject(IFCFLOWTERMINAL, name);
    if (position.x != 0.0 || position.y != 0.0 || position.z != 0.0)
        addPlacement(e, spacePlacement, position);
    else
        addNull(e);
    addRepresentation(e);
    addNull(e);
    hand(e);
    addRelated(space, e);
    addRelated(firstSystem, e);
    addRelated(secondSystem, e);
    return e;
}

EntityPtr Writer::writeColourRgb(const std::string& name, double red, double green, double blue)
{
    auto e = create(IFCCOLOURRGB);
    addText(e, name);
    addReal(e, red);
    addReal(e, green);
    addReal(e, blue);
    colour = hand(e);
    return colour;
}

EntityPtr Writer::writePresentationLayerWithStyle(const std::string& name)
{
    auto e = create(IFCPRESENTATIONLAYERWITHSTYLE);
    addText(e, name);
    addNull(e);
    addReferenceSet(e, pendingRepresentations);
    addNull(e);
    e->add(std::make_shared<step::Logical>(0)); // LayerOn
    e->add(std::make_shared<step::Logical>(1)); // LayerFrozen
    e->add(std::make_shared<step::Logical>(1)); // LayerBlocked
    addReferenceSet(e, {surfaceStyle});
    return hand(e);
}

EntityPtr Writer::writePresentationStyleAssignment()
{
    auto e = create(IFCPRESENTATIONSTYLEASSIGNMENT);
    addReferenceSet(e, {surfaceStyle});
    styleAssignment = hand(e);
    return styleAssignment;
}

EntityPtr Writer::writeStyledItem()
{
    auto e = create(IFCSTYLEDITEM);
    addReference(e, solid);
    addReferenceSet(e, {styleAssignment});
    addNull(e);
    return hand(e);
}

} // namespace ifc
