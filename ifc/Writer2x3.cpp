#include "ifc/Writer2x3.h"

#include "ifc/IfcNames.h"
#include "ifc/SchemaSupport.h"

#include <cstdint>
#include <ctime>

namespace ifc {

void Writer2x3::writeOwnerHistory()
{
    const EntityPtr organisation = writeOrganization();
    const EntityPtr person = writePerson();
    const EntityPtr user = writePersonAndOrganization(person, organisation);
    const EntityPtr application = writeApplication(organisation);

    auto e = create(IFCOWNERHISTORY);
    addReference(e, user);
    addReference(e, application);
    addNull(e);
    addEnumeration(e, "MODIFIED");
    for (int i = 0; i < 3; ++i)
        addNull(e);
    addInteger(e, static_cast<std::int32_t>(std::time(nullptr)));
    ownerHistory = hand(e);
}

EntityPtr Writer2x3::writeProxy(const std::string&, const std::string&, const std::string&)
{
    return nullptr;
}

EntityPtr Writer2x3::writeProjectLibrary(const std::string&)
{
    return nullptr;
}

EntityPtr Writer2x3::writeNamedLibraryReference(const std::string&, const std::string&, const std::string&)
{
    return nullptr;
}

EntityPtr Writer2x3::writeLibraryReference(const std::string&, const std::string&)
{
    return nullptr;
}

EntityPtr Writer2x3::writeDoorLiningProperties()
{
    auto e = create(IFCDOORLININGPROPERTIES);
    addRoot(e);
    addNull(e);
    addNull(e);
    addReal(e, 0.05);
    addReal(e, 0.05);
    for (int i = 0; i < 9; ++i)
        addNull(e);
    doorLining = hand(e);
    return doorLining;
}

EntityPtr Writer2x3::writeDoorType(const std::string& name)
{
    auto e = create(IFCDOORSTYLE);
    addRoot(e);
    addText(e, name);
    addNull(e);
    addNull(e);
    e->add(liningAndPanels(doorLining, doorPanels));
    addNull(e);
    addNull(e);
    addEnumeration(e, "DOUBLE_DOOR_DOUBLE_SWING");
    addEnumeration(e, "NOTDEFINED");
    addFalse(e);
    addFalse(e);
    doorType = hand(e);
    return doorType;
}

EntityPtr Writer2x3::writeExternalSpatialElement(const std::string&, int)
{
    return nullptr;
}

EntityPtr Writer2x3::writeSpace(const std::string& name, const Vec3D& position)
{
    auto e = create(IFCSPACE);
    addRoot(e);
    addText(e, name);
    addNull(e);
    addNull(e);
    spacePlacement = addPlacement(e, storeyPlacement, position);
    addRepresentation(e);
    addText(e, name);
    addEnumeration(e, "ELEMENT");
    addEnumeration(e, "INTERNAL");
    addNull(e);
    space = hand(e);
    addRelated(storey, space);
    currentElement = space;
    return space;
}

EntityPtr Writer2x3::writeSlab(const std::string& name, int kind, const Vec3D& position)
{
    auto e = create(IFCSLAB);
    addRoot(e);
    addText(e, name);
    addNull(e);
    addNull(e);
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

EntityPtr Writer2x3::writeWall(const std::string& name, const EntityPtr& placement)
{
    auto e = create(IFCWALLSTANDARDCASE);
    addRoot(e);
    addText(e, name);
    addNull(e);
    addNull(e);
    addReference(e, placement);
    addRepresentation(e);
    addNull(e);
    hand(e);
    addRelated(storey, e);
    currentElement = e;
    return e;
}

void Writer2x3::writeHeader(const std::string& author, const std::string& organisation,
                            const std::string& preprocessorVersion)
{
    writeFileHeader(author, organisation, preprocessorVersion, IFC2X3);
}

EntityPtr Writer2x3::writeZone(const std::string& name, const std::string& description,
                               const std::string& objectType)
{
    auto e = create(IFCZONE);
    addRoot(e);
    addText(e, name);
    addText(e, description);
    addText(e, objectType);
    zone = hand(e);
    return zone;
}

EntityPtr Writer2x3::writeSpaceType(const std::string& name)
{
    auto e = create(IFCSPACETYPE);
    addRoot(e);
    addText(e, name);
    addNull(e);
    addNull(e);
    addPropertySetsOrNull(e, waitingForOwner);
    for (int i = 0; i < 3; ++i)
        addNull(e);
    addEnumeration(e, "NOTDEFINED");
    hand(e);
    waitingForOwner.clear();
    return e;
}

EntityPtr Writer2x3::writeQuantity(const std::string& entityName, const std::string& name, const EntityPtr& unit,
                                   double value)
{
    auto e = create(entityName);
    addText(e, name);
    addNull(e);
    addReference(e, unit);
    addReal(e, value);
    hand(e);
    elementQuantities->add(std::make_shared<step::Reference>(e));
    return e;
}

EntityPtr Writer2x3::writeQuantityLength(const std::string& name, double value)
{
    return writeQuantity(IFCQUANTITYLENGTH, name, lengthUnit, value);
}

EntityPtr Writer2x3::writeQuantityVolume(const std::string& name, double value)
{
    return writeQuantity(IFCQUANTITYVOLUME, name, volumeUnit, value);
}

EntityPtr Writer2x3::writeQuantityArea(const std::string& name, double value)
{
    return writeQuantity(IFCQUANTITYAREA, name, areaUnit, value);
}

// IFC2X3 knows one space boundary for both levels; parent and corresponding
// boundaries are not written.
EntityPtr Writer2x3::writeSpaceBoundary1stLevel(const EntityPtr& space, const EntityPtr& element,
                                                const EntityPtr& geometry, const std::string& physicalOrVirtual,
                                                int internalOrExternal, const EntityPtr&)
{
    return writeRelSpaceBoundary("1stLevel", "", space, element, geometry, physicalOrVirtual, internalOrExternal);
}

EntityPtr Writer2x3::writeSpaceBoundary2ndLevel(const std::string& description, const EntityPtr& space,
                                                const EntityPtr& element, const EntityPtr& geometry,
                                                const std::string& physicalOrVirtual, int internalOrExternal,
                                                const EntityPtr&, const EntityPtr&)
{
    return writeRelSpaceBoundary("2ndLevel", description, space, element, geometry, physicalOrVirtual,
                                 internalOrExternal);
}

EntityPtr Writer2x3::createSpaceBoundary2ndLevel(const std::string&, const EntityPtr&, const EntityPtr&,
                                                 const EntityPtr&, const std::string&, int, const EntityPtr&)
{
    return nullptr;
}

void Writer2x3::completeSpaceBoundary(const EntityPtr&, const EntityPtr&)
{
}

void Writer2x3::completeSpaceBoundaryWithoutParent(const EntityPtr&, const EntityPtr&)
{
}

EntityPtr Writer2x3::writeMaterialProperties(const std::string&, const EntityPtr&)
{
    return nullptr;
}

EntityPtr Writer2x3::writeMaterial(const std::string& name)
{
    auto e = create(IFCMATERIAL);
    addText(e, name);
    return hand(e);
}

EntityPtr Writer2x3::writeMaterialLayer(double thickness, const EntityPtr& material)
{
    auto e = create(IFCMATERIALLAYER);
    addReference(e, material);
    addReal(e, thickness);
    addNull(e);
    if (!materialLayers)
        materialLayers = std::make_shared<step::List>();
    materialLayers->add(std::make_shared<step::Reference>(e));
    return hand(e);
}

EntityPtr Writer2x3::writeMaterialLayerSet(const std::string& name)
{
    checkMaterialLayers(materialLayers);
    auto e = create(IFCMATERIALLAYERSET);
    e->add(materialLayers);
    addTextOrNull(e, name);
    materialLayers.reset();
    materialLayerSet = hand(e);
    return materialLayerSet;
}

EntityPtr Writer2x3::writeMaterialLayerSetUsage(double offset, int direction)
{
    const std::string sense = directionSenseName(direction);
    auto e = create(IFCMATERIALLAYERSETUSAGE);
    addReference(e, materialLayerSet);
    addEnumeration(e, "AXIS2");
    addEnumeration(e, sense);
    addReal(e, offset);
    materialLayerSet.reset();
    return hand(e);
}

EntityPtr Writer2x3::writeSurfaceStyle(const std::string& name)
{
    auto shading = create(IFCSURFACESTYLESHADING);
    addReference(shading, colour);
    hand(shading);

    auto e = create(IFCSURFACESTYLE);
    addText(e, name);
    addEnumeration(e, "BOTH");
    addReferenceSet(e, {shading});
    return hand(e);
}

EntityPtr Writer2x3::writeOpening(const EntityPtr& element, const EntityPtr& placement)
{
    auto e = create(IFCOPENINGELEMENT);
    addRoot(e);
    addNull(e);
    addNull(e);
    addNull(e);
    addReference(e, placement);
    addRepresentation(e);
    addNull(e);
    hand(e);
    addRelated(element, e);
    addRelated(e, currentElement);
    return e;
}

EntityPtr Writer2x3::writeDoor(const std::string& name, const EntityPtr& placement, double overallHeight,
                               double overallWidth)
{
    auto e = create(IFCDOOR);
    addRoot(e);
    addText(e, name);
    addNull(e);
    addNull(e);
    addReferenceOrNull(e, placement);
    addRepresentation(e);
    addNull(e);
    addReal(e, overallHeight);
    addReal(e, overallWidth);
    door = hand(e);
    currentElement = door;
    addRelated(storey, door);
    if (doorType)
        addRelated(doorType, door);
    return door;
}

EntityPtr Writer2x3::writeWindow(const std::string& name, const EntityPtr& placement, double overallWidth,
                                 double overallHeight)
{
    auto e = create(IFCWINDOW);
    addRoot(e);
    addText(e, name);
    addNull(e);
    addNull(e);
    addReferenceOrNull(e, placement);
    addRepresentation(e);
    addNull(e);
    addReal(e, overallHeight);
    addReal(e, overallWidth);
    hand(e);
    currentElement = e;
    addRelated(storey, e);
    if (windowType)
        addRelated(windowType, e);
    return e;
}

EntityPtr Writer2x3::writeWindowLiningProperties()
{
    auto e = create(IFCWINDOWLININGPROPERTIES);
    addRoot(e);
    addNull(e);
    addNull(e);
    addReal(e, 0.05);
    addReal(e, 0.05);
    addReal(e, 0.02);
    for (int i = 0; i < 6; ++i)
        addNull(e);
    windowLining = hand(e);
    return windowLining;
}

EntityPtr Writer2x3::writeWindowType(const std::string& name)
{
    auto e = create(IFCWINDOWSTYLE);
    addRoot(e);
    addText(e, name);
    addNull(e);
    addNull(e);
    addReferenceSet(e, {windowLining, windowPanel});
    addNull(e);
    addNull(e);
    addEnumeration(e, "NOTDEFINED");
    addEnumeration(e, "SINGLE_PANEL");
    addFalse(e);
    addFalse(e);
    windowType = hand(e);
    return windowType;
}

EntityPtr Writer2x3::writeBuildingSystem(const std::string&, int)
{
    return nullptr;
}

EntityPtr Writer2x3::writeRelServicesBuildings(const EntityPtr&, const EntityList&)
{
    return nullptr;
}

} // namespace ifc
