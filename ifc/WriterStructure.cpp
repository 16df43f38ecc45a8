#include "ifc/Writer.h"

#include "ifc/IfcNames.h"
#include "ifc/SchemaSupport.h"

namespace ifc {

void Writer::writeSite(const std::string& name, double latitude, double longitude)
{
    auto e = create(IFCSITE);
    addRoot(e);
    addText(e, name);
    addNull(e);
    addNull(e);
    sitePlacement = addOriginPlacement(e, nullptr);
    addNull(e);
    addNull(e);
    addEnumeration(e, "ELEMENT");
    e->add(toCompoundPlaneAngle(latitude));
    e->add(toCompoundPlaneAngle(longitude));
    addNull(e);
    addNull(e);
    addNull(e);
    site = hand(e);
}

void Writer::writeBuilding(const std::string& name)
{
    auto e = create(IFCBUILDING);
    addRoot(e);
    addText(e, name);
    addNull(e);
    addNull(e);
    buildingPlacement = addPlacement(e, sitePlacement, {0.0, 0.0, 0.0});
    addRepresentation(e);
    addNull(e);
    addEnumeration(e, "ELEMENT");
    addNull(e);
    addNull(e);
    addNull(e);
    building = hand(e);
    currentElement = building;
    addRelated(site, building);
}

EntityPtr Writer::writeBuildingStorey(const std::string& name, const Vec3D& position)
{
    auto e = create(IFCBUILDINGSTOREY);
    addRoot(e);
    addText(e, name);
    addNull(e);
    addNull(e);
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
    auto e = create(IFCRELAGGREGATES);
    addRoot(e);
    addNull(e);
    addNull(e);
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
    auto e = create(IFCRELVOIDSELEMENT);
    addRoot(e);
    addNull(e);
    addNull(e);
    addReference(e, element);
    addReference(e, opening);
    return hand(e);
}

EntityPtr Writer::writeRelFillsElement(const EntityPtr& opening, const EntityPtr& element)
{
    auto e = create(IFCRELFILLSELEMENT);
    addRoot(e);
    addNull(e);
    addNull(e);
    addReference(e, opening);
    addReference(e, element);
    return hand(e);
}

EntityPtr Writer::writeRelDefinesByProperties(const EntityList& objects, const EntityPtr& definition)
{
    auto e = create(IFCRELDEFINESBYPROPERTIES);
    addRoot(e);
    addNull(e);
    addNull(e);
    addReferenceSet(e, objects);
    addReference(e, definition);
    return hand(e);
}

EntityPtr Writer::writeRelAssignsToGroup(const EntityList& objects, const EntityPtr& group)
{
    auto e = create(IFCRELASSIGNSTOGROUP);
    addRoot(e);
    addNull(e);
    addNull(e);
    addReferenceSet(e, objects);
    addNull(e);
    addReference(e, group);
    return hand(e);
}

EntityPtr Writer::writeRelSpaceBoundary(const std::string& name, const std::string& description,
                                        const EntityPtr& space, const EntityPtr& element, const EntityPtr& geometry,
                                        const std::string& physicalOrVirtual, int internalOrExternal)
{
    checkBoundaryEnds(space, element);
    auto e = create(IFCRELSPACEBOUNDARY);
    addRoot(e);
    addText(e, name);
    addText(e, description);
    addReference(e, space);
    addReference(e, element);
    addReferenceOrNull(e, geometry);
    addEnumeration(e, physicalOrVirtual);
    addEnumeration(e, internalOrExternalName(internalOrExternal));
    return hand(e);
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
    addNull(e);
    addNull(e);
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
    auto e = create(IFCWINDOWPANELPROPERTIES);
    addRoot(e);
    addNull(e);
    addNull(e);
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
    auto e = create(IFCDOORPANELPROPERTIES);
    addRoot(e);
    addNull(e);
    addNull(e);
    addReal(e, 0.04);
    addEnumeration(e, "DOUBLE_ACTING");
    addReal(e, 0.5);
    addEnumeration(e, panelPosition);
    addNull(e);
    hand(e);
    doorPanels.push_back(e);
    return e;
}

namespace {

void addTypeAttributes(const EntityPtr& e, const std::string& name)
{
    addText(e, name);
    for (int i = 0; i < 6; ++i)
        addNull(e);
    addEnumeration(e, "NOTDEFINED");
}

} // namespace

EntityPtr Writer::writeLightFixtureType(const std::string& name)
{
    auto e = create(IFCLIGHTFIXTURETYPE);
    addRoot(e);
    addTypeAttributes(e, name);
    return hand(e);
}

EntityPtr Writer::writeAirTerminalType(const std::string& name)
{
    auto e = create(IFCAIRTERMINALTYPE);
    addRoot(e);
    addTypeAttributes(e, name);
    return hand(e);
}

EntityPtr Writer::writeSystem(const std::string& name)
{
    auto e = create(IFCSYSTEM);
    addRoot(e);
    addText(e, name);
    addNull(e);
    addNull(e);
    return hand(e);
}

EntityPtr Writer::writeFlowTerminal(const std::string& name, const EntityPtr& firstSystem,
                                    const EntityPtr& secondSystem, const Vec3D& position)
{
    auto e = create(IFCFLOWTERMINAL);
    addRoot(e);
    addText(e, name);
    addNull(e);
    addNull(e);
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
