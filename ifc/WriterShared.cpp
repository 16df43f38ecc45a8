// The bodies that Writer4 and Writer2x3 share: one place for the attributes
// both schemas write alike, so that the two files cannot drift apart where
// the schemas agree.

#include "ifc/Writer.h"

#include "ifc/IfcNames.h"
#include "ifc/SchemaSupport.h"

#include <cstdint>
#include <ctime>
#include <initializer_list>
#include <stdexcept>

namespace ifc {

namespace {

// A lining's measures and the unset attributes that end it.
void addLiningAttributes(const EntityPtr& e, std::initializer_list<double> measures, int unsetTail)
{
    for (double measure : measures)
        addReal(e, measure);
    addNulls(e, unsetTail);
}

} // namespace

void Writer::writeOwnerHistoryWith(const std::string& changeAction)
{
    const EntityPtr organisation = writeOrganization();
    const EntityPtr person = writePerson();
    const EntityPtr user = writePersonAndOrganization(person, organisation);
    const EntityPtr application = writeApplication(organisation);

    auto e = create(IFCOWNERHISTORY);
    addReference(e, user);
    addReference(e, application);
    addNull(e);
    if (changeAction.empty())
        addNull(e);
    else
        addEnumeration(e, changeAction);
    addNulls(e, 3);
    addInteger(e, static_cast<std::int32_t>(std::time(nullptr)));
    ownerHistory = hand(e);
}

EntityPtr Writer::writeDoorLining(int unsetTail)
{
    auto e = createUnnamed(IFCDOORLININGPROPERTIES);
    addLiningAttributes(e, {0.05, 0.05}, unsetTail);
    doorLining = hand(e);
    return doorLining;
}

EntityPtr Writer::writeWindowLining(int unsetTail)
{
    auto e = createUnnamed(IFCWINDOWLININGPROPERTIES);
    addLiningAttributes(e, {0.05, 0.05, 0.02}, unsetTail);
    windowLining = hand(e);
    return windowLining;
}

EntityPtr Writer::writeSpaceWith(const std::string& name, const Vec3D& position, const std::string& spaceKind)
{
    auto e = createObject(IFCSPACE, name);
    spacePlacement = addPlacement(e, storeyPlacement, position);
    addRepresentation(e);
    addText(e, name);
    addEnumeration(e, "ELEMENT");
    addEnumeration(e, spaceKind);
    addNull(e);
    space = hand(e);
    addRelated(storey, space);
    currentElement = space;
    return space;
}

EntityPtr Writer::writeSlabAs(const std::string& entityName, const std::string& name, int kind,
                              const Vec3D& position)
{
    auto e = createObject(entityName, name);
    addPlacement(e, storeyPlacement, position);
    addRepresentation(e);
    addNull(e);
    addEnumeration(e, slabTypeName(kind));
    hand(e);
    addRelated(storey, e);
    currentElement = e;
    adoptWaitingEntities(e);
    return e;
}

EntityPtr Writer::writeWallWith(const std::string& name, const EntityPtr& placement, int unsetTail)
{
    auto e = createObject(IFCWALLSTANDARDCASE, name);
    addReference(e, placement);
    addRepresentation(e);
    addNulls(e, unsetTail);
    hand(e);
    addRelated(storey, e);
    currentElement = e;
    return e;
}

EntityPtr Writer::writeZoneWith(const std::string& name, const std::string& description,
                                const std::string& objectType, int unsetTail)
{
    auto e = create(IFCZONE);
    addRoot(e);
    addText(e, name);
    addText(e, description);
    addText(e, objectType);
    addNulls(e, unsetTail);
    zone = hand(e);
    return zone;
}

EntityPtr Writer::writeSpaceTypeWith(const std::string& name, int unsetTail)
{
    auto e = createElementType(IFCSPACETYPE, name, waitingForOwner, "NOTDEFINED");
    addNulls(e, unsetTail);
    hand(e);
    waitingForOwner.clear();
    return e;
}

EntityPtr Writer::writeQuantity(const std::string& entityName, const std::string& name, const EntityPtr& unit,
                                double value, int unsetTail)
{
    auto e = create(entityName);
    addText(e, name);
    addNull(e);
    addReference(e, unit);
    addReal(e, value);
    addNulls(e, unsetTail);
    hand(e);
    elementQuantities->add(std::make_shared<step::Reference>(e));
    return e;
}

EntityPtr Writer::buildRelSpaceBoundary(const std::string& entityName, const std::string& name,
                                        const std::string& description, const EntityPtr& space,
                                        const EntityPtr& element, const EntityPtr& geometry,
                                        const std::string& physicalOrVirtual, int internalOrExternal)
{
    checkBoundaryEnds(space, element);
    auto e = create(entityName);
    addRoot(e);
    addText(e, name);
    addText(e, description);
    addReference(e, space);
    addReference(e, element);
    addReferenceOrNull(e, geometry);
    addEnumeration(e, physicalOrVirtual);
    addEnumeration(e, internalOrExternalName(internalOrExternal));
    return e;
}

EntityPtr Writer::writeMaterialWith(const std::string& name, int unsetTail)
{
    auto e = create(IFCMATERIAL);
    addText(e, name);
    addNulls(e, unsetTail);
    return hand(e);
}

EntityPtr Writer::writeMaterialLayerWith(double thickness, const EntityPtr& material, int unsetTail)
{
    auto e = create(IFCMATERIALLAYER);
    addReference(e, material);
    addReal(e, thickness);
    addNulls(e, unsetTail);
    if (!materialLayers)
        materialLayers = std::make_shared<step::List>();
    materialLayers->add(std::make_shared<step::Reference>(e));
    return hand(e);
}

EntityPtr Writer::writeMaterialLayerSetWith(const std::string& name, int unsetTail)
{
    checkMaterialLayers(materialLayers);
    auto e = create(IFCMATERIALLAYERSET);
    e->add(materialLayers);
    addTextOrNull(e, name);
    addNulls(e, unsetTail);
    materialLayers.reset();
    materialLayerSet = hand(e);
    return materialLayerSet;
}

EntityPtr Writer::writeMaterialLayerSetUsageWith(double offset, int direction, int axis, int unsetTail)
{
    const std::string sense = directionSenseName(direction);
    if (axis != 2 && axis != 3)
        throw std::invalid_argument("Unknown layer set axis " + std::to_string(axis) + " (2 or 3)");
    auto e = create(IFCMATERIALLAYERSETUSAGE);
    addReference(e, materialLayerSet);
    addEnumeration(e, axis == 2 ? "AXIS2" : "AXIS3");
    addEnumeration(e, sense);
    addReal(e, offset);
    addNulls(e, unsetTail);
    materialLayerSet.reset();
    return hand(e);
}

EntityPtr Writer::writeSurfaceStyleWith(const std::string& name, int unsetTail)
{
    auto shading = create(IFCSURFACESTYLESHADING);
    addReference(shading, colour);
    addNulls(shading, unsetTail);
    hand(shading);

    auto e = create(IFCSURFACESTYLE);
    addText(e, name);
    addEnumeration(e, "BOTH");
    addReferenceSet(e, {shading});
    return hand(e);
}

EntityPtr Writer::writeOpeningAs(const std::string& entityName, const EntityPtr& element, const EntityPtr& placement,
                                 int unsetTail)
{
    auto e = create(entityName);
    addRoot(e);
    addNulls(e, 3);
    addReference(e, placement);
    addRepresentation(e);
    addNulls(e, unsetTail);
    hand(e);
    addRelated(element, e);
    addRelated(e, currentElement);
    return e;
}

EntityPtr Writer::writeFillingAs(const std::string& entityName, const std::string& name, const EntityPtr& placement,
                                 double overallHeight, double overallWidth, int unsetTail, const EntityPtr& type)
{
    auto e = createObject(entityName, name);
    addReferenceOrNull(e, placement);
    addRepresentation(e);
    addNull(e);
    addReal(e, overallHeight);
    addReal(e, overallWidth);
    addNulls(e, unsetTail);
    hand(e);
    currentElement = e;
    addRelated(storey, e);
    if (type)
        addRelated(type, e);
    return e;
}

} // namespace ifc
