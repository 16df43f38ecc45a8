#include "ifc/Writer4.h"

#include "ifc/IfcNames.h"
#include "ifc/SchemaSupport.h"

#include <cstdint>
#include <ctime>
#include <stdexcept>

namespace ifc {

Writer4::~Writer4()
{
    // Written boundaries are not written again, so their attributes can go;
    // the one entity still pending in the step::Writer keeps its own, and its
    // partner's release breaks the cycle all the same.
    for (const EntityPtr& boundary : correspondingBoundaries)
        if (boundary != out->pending)
            boundary->parameters.clear();
}

void Writer4::addCorrespondingBoundary(const EntityPtr& boundary, const EntityPtr& corresponding)
{
    addReferenceOrNull(boundary, corresponding);
    if (corresponding)
        correspondingBoundaries.push_back(boundary);
}

void Writer4::writeOwnerHistory()
{
    const EntityPtr organisation = writeOrganization();
    const EntityPtr person = writePerson();
    const EntityPtr user = writePersonAndOrganization(person, organisation);
    const EntityPtr application = writeApplication(organisation);

    auto e = create(IFCOWNERHISTORY);
    addReference(e, user);
    addReference(e, application);
    for (int i = 0; i < 5; ++i)
        addNull(e);
    addInteger(e, static_cast<std::int32_t>(std::time(nullptr)));
    ownerHistory = hand(e);
}

EntityPtr Writer4::writeProxy(const std::string& name, const std::string& proxyType, const std::string& tag)
{
    auto e = create(IFCPROXY);
    addRoot(e);
    addText(e, name);
    addNull(e);
    addText(e, "");
    addNull(e);
    addNull(e);
    addEnumeration(e, proxyType);
    addText(e, tag);
    return hand(e);
}

EntityPtr Writer4::writeProjectLibrary(const std::string& name)
{
    auto e = create(IFCPROJECTLIBRARY);
    addRoot(e);
    addText(e, name);
    addText(e, "");
    for (int i = 0; i < 5; ++i)
        addNull(e);
    projectLibrary = hand(e);
    return projectLibrary;
}

EntityPtr Writer4::writeNamedLibraryReference(const std::string& name, const std::string& description,
                                              const std::string& language)
{
    auto e = create(IFCLIBRARYREFERENCE);
    addNull(e);
    addNull(e);
    addText(e, name);
    addText(e, description);
    addText(e, language);
    addNull(e);
    return hand(e);
}

EntityPtr Writer4::writeLibraryReference(const std::string& name, const std::string& language)
{
    auto e = create(IFCLIBRARYREFERENCE);
    addNull(e);
    addNull(e);
    addText(e, name);
    addNull(e);
    addText(e, language);
    addNull(e);
    return hand(e);
}

EntityPtr Writer4::writeDoorLiningProperties()
{
    auto e = create(IFCDOORLININGPROPERTIES);
    addRoot(e);
    addNull(e);
    addNull(e);
    addReal(e, 0.05);
    addReal(e, 0.05);
    for (int i = 0; i < 11; ++i)
        addNull(e);
    doorLining = hand(e);
    return doorLining;
}

EntityPtr Writer4::writeDoorType(const std::string& name)
{
    auto e = create(IFCDOORTYPE);
    addRoot(e);
    addText(e, name);
    addNull(e);
    addNull(e);
    e->add(liningAndPanels(doorLining, doorPanels));
    addNull(e);
    addNull(e);
    addNull(e);
    addEnumeration(e, "DOOR");
    addEnumeration(e, "DOUBLE_DOOR_DOUBLE_SWING");
    addFalse(e);
    addNull(e);
    doorType = hand(e);
    return doorType;
}

EntityPtr Writer4::writeExternalSpatialElement(const std::string& name, int kind)
{
    auto e = create(IFCEXTERNALSPATIALELEMENT);
    addRoot(e);
    addText(e, name);
    for (int i = 0; i < 4; ++i)
        addNull(e);
    addText(e, name);
    addEnumeration(e, externalSpatialElementTypeName(kind));
    return hand(e);
}

EntityPtr Writer4::writeSpace(const std::string& name, const Vec3D& position)
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
    addEnumeration(e, "NOTDEFINED");
    addNull(e);
    space = hand(e);
    addRelated(storey, space);
    currentElement = space;
    return space;
}

EntityPtr Writer4::writeSlab(const std::string& name, int kind, const Vec3D& position)
{
    return writeSlabStandardCase(name, kind, position);
}

EntityPtr Writer4::writeSlabStandardCase(const std::string& name, int kind, const Vec3D& position)
{
    auto e = create(IFCSLABSTANDARDCASE);
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

EntityPtr Writer4::writeWall(const std::string& name, const EntityPtr& placement)
{
    auto e = create(IFCWALLSTANDARDCASE);
    addRoot(e);
    addText(e, name);
    addNull(e);
    addNull(e);
    addReference(e, placement);
    addRepresentation(e);
    addNull(e);
    addNull(e);
    hand(e);
    addRelated(storey, e);
    currentElement = e;
    return e;
}

void Writer4::writeHeader(const std::string& author, const std::string& organisation,
                          const std::string& preprocessorVersion)
{
    writeFileHeader(author, organisation, preprocessorVersion, IFC4);
}

EntityPtr Writer4::writeZone(const std::string& name, const std::string& description, const std::string& objectType)
{
    auto e = create(IFCZONE);
    addRoot(e);
    addText(e, name);
    addText(e, description);
    addText(e, objectType);
    addNull(e);
    zone = hand(e);
    return zone;
}

EntityPtr Writer4::writeSpaceType(const std::string& name)
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
    addNull(e);
    hand(e);
    waitingForOwner.clear();
    return e;
}

EntityPtr Writer4::writeQuantity(const std::string& entityName, const std::string& name, const EntityPtr& unit,
                                 double value)
{
    auto e = create(entityName);
    addText(e, name);
    addNull(e);
    addReference(e, unit);
    addReal(e, value);
    addNull(e);
    hand(e);
    elementQuantities->add(std::make_shared<step::Reference>(e));
    return e;
}

EntityPtr Writer4::writeQuantityLength(const std::string& name, double value)
{
    return writeQuantity(IFCQUANTITYLENGTH, name, lengthUnit, value);
}

EntityPtr Writer4::writeQuantityVolume(const std::string& name, double value)
{
    return writeQuantity(IFCQUANTITYVOLUME, name, volumeUnit, value);
}

EntityPtr Writer4::writeQuantityArea(const std::string& name, double value)
{
    return writeQuantity(IFCQUANTITYAREA, name, areaUnit, value);
}

EntityPtr Writer4::buildSpaceBoundary(const std::string& entityName, const std::string& name,
                                      const std::string& description, const EntityPtr& space,
                                      const EntityPtr& element, const EntityPtr& geometry,
                                      const std::string& physicalOrVirtual, int internalOrExternal,
                                      const EntityPtr& parent)
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
    addReferenceOrNull(e, parent);
    return e;
}

EntityPtr Writer4::writeSpaceBoundary1stLevel(const EntityPtr& space, const EntityPtr& element,
                                              const EntityPtr& geometry, const std::string& physicalOrVirtual,
                                              int internalOrExternal, const EntityPtr& parent)
{
    return hand(buildSpaceBoundary(IFCRELSPACEBOUNDARY1STLEVEL, "1stLevel", "", space, element, geometry,
                                   physicalOrVirtual, internalOrExternal, parent));
}

EntityPtr Writer4::writeSpaceBoundary2ndLevel(const std::string& description, const EntityPtr& space,
                                              const EntityPtr& element, const EntityPtr& geometry,
                                              const std::string& physicalOrVirtual, int internalOrExternal,
                                              const EntityPtr& parent, const EntityPtr& corresponding)
{
    auto e = buildSpaceBoundary(IFCRELSPACEBOUNDARY2NDLEVEL, "2ndLevel", description, space, element, geometry,
                                physicalOrVirtual, internalOrExternal, parent);
    addCorrespondingBoundary(e, corresponding);
    return hand(e);
}

EntityPtr Writer4::createSpaceBoundary2ndLevel(const std::string& description, const EntityPtr& space,
                                               const EntityPtr& element, const EntityPtr& geometry,
                                               const std::string& physicalOrVirtual, int internalOrExternal,
                                               const EntityPtr& parent)
{
    return buildSpaceBoundary(IFCRELSPACEBOUNDARY2NDLEVEL, "2ndLevel", description, space, element, geometry,
                              physicalOrVirtual, internalOrExternal, parent);
}

void Writer4::completeSpaceBoundary(const EntityPtr& boundary, const EntityPtr& corresponding)
{
    if (!boundary)
        return;
    addCorrespondingBoundary(boundary, corresponding);
    hand(boundary);
}

void Writer4::completeSpaceBoundaryWithoutParent(const EntityPtr& boundary, const EntityPtr& corresponding)
{
    if (!boundary)
        return;
    // Replaces a ParentBoundary already set, so that the boundary keeps the
    // eleven attributes of its entity.
    const std::size_t withoutParent = 9;
    while (boundary->parameters.size() > withoutParent)
        boundary->parameters.pop_back();
    addNull(boundary);
    addCorrespondingBoundary(boundary, corresponding);
    hand(boundary);
}

EntityPtr Writer4::writeMaterialProperties(const std::string& name, const EntityPtr& material)
{
    auto e = create(IFCMATERIALPROPERTIES);
    addText(e, name);
    addNull(e);
    e->add(properties);
    addReference(e, material);
    hand(e);
    properties = std::make_shared<step::Set>();
    return e;
}

EntityPtr Writer4::writeMaterial(const std::string& name)
{
    auto e = create(IFCMATERIAL);
    addText(e, name);
    addNull(e);
    addNull(e);
    return hand(e);
}

EntityPtr Writer4::writeMaterialLayer(double thickness, const EntityPtr& material)
{
    auto e = create(IFCMATERIALLAYER);
    addReference(e, material);
    addReal(e, thickness);
    for (int i = 0; i < 5; ++i)
        addNull(e);
    if (!materialLayers)
        materialLayers = std::make_shared<step::List>();
    materialLayers->add(std::make_shared<step::Reference>(e));
    return hand(e);
}

EntityPtr Writer4::writeMaterialLayerSet(const std::string& name)
{
    checkMaterialLayers(materialLayers);
    auto e = create(IFCMATERIALLAYERSET);
    e->add(materialLayers);
    addTextOrNull(e, name);
    addNull(e);
    materialLayers.reset();
    materialLayerSet = hand(e);
    return materialLayerSet;
}

EntityPtr Writer4::writeMaterialLayerSetUsage(double offset, int direction)
{
    const std::string sense = directionSenseName(direction);
    auto e = create(IFCMATERIALLAYERSETUSAGE);
    addReference(e, materialLayerSet);
    addEnumeration(e, "AXIS2");
    addEnumeration(e, sense);
    addReal(e, offset);
    addNull(e);
    materialLayerSet.reset();
    return hand(e);
}

EntityPtr Writer4::writeSurfaceStyle(const std::string& name)
{
    auto shading = create(IFCSURFACESTYLESHADING);
    addReference(shading, colour);
    addNull(shading);
    hand(shading);

    auto e = create(IFCSURFACESTYLE);
    addText(e, name);
    addEnumeration(e, "BOTH");
    addReferenceSet(e, {shading});
    return hand(e);
}

EntityPtr Writer4::writeOpening(const EntityPtr& element, const EntityPtr& placement)
{
    return writeOpeningStandardCase(element, placement);
}

EntityPtr Writer4::writeOpeningStandardCase(const EntityPtr& element, const EntityPtr& placement)
{
    auto e = create(IFCOPENINGSTANDARDCASE);
    addRoot(e);
    addNull(e);
    addNull(e);
    addNull(e);
    addReference(e, placement);
    addRepresentation(e);
    addNull(e);
    addNull(e);
    hand(e);
    addRelated(element, e);
    addRelated(e, currentElement);
    return e;
}

EntityPtr Writer4::writeDoor(const std::string& name, const EntityPtr& placement, double overallHeight,
                             double overallWidth)
{
    return writeDoorStandardCase(name, placement, overallHeight, overallWidth);
}

EntityPtr Writer4::writeDoorStandardCase(const std::string& name, const EntityPtr& placement, double overallHeight,
                                         double overallWidth)
{
    auto e = create(IFCDOORSTANDARDCASE);
    addRoot(e);
    addText(e, name);
    addNull(e);
    addNull(e);
    addReferenceOrNull(e, placement);
    addRepresentation(e);
    addNull(e);
    addReal(e, overallHeight);
    addReal(e, overallWidth);
    addNull(e);
    addNull(e);
    addNull(e);
    door = hand(e);
    currentElement = door;
    addRelated(storey, door);
    if (doorType)
        addRelated(doorType, door);
    return door;
}

EntityPtr Writer4::writeWindow(const std::string& name, const EntityPtr& placement, double overallWidth,
                               double overallHeight)
{
    return writeWindowStandardCase(name, placement, overallWidth, overallHeight);
}

EntityPtr Writer4::writeWindowStandardCase(const std::string& name, const EntityPtr& placement, double overallWidth,
                                           double overallHeight)
{
    auto e = create(IFCWINDOWSTANDARDCASE);
    addRoot(e);
    addText(e, name);
    addNull(e);
    addNull(e);
    addReferenceOrNull(e, placement);
    addRepresentation(e);
    addNull(e);
    addReal(e, overallHeight);
    addReal(e, overallWidth);
    addNull(e);
    addNull(e);
    addNull(e);
    hand(e);
    currentElement = e;
    addRelated(storey, e);
    if (windowType)
        addRelated(windowType, e);
    return e;
}

EntityPtr Writer4::writeWindowLiningProperties()
{
    auto e = create(IFCWINDOWLININGPROPERTIES);
    addRoot(e);
    addNull(e);
    addNull(e);
    addReal(e, 0.05);
    addReal(e, 0.05);
    addReal(e, 0.02);
    for (int i = 0; i < 9; ++i)
        addNull(e);
    windowLining = hand(e);
    return windowLining;
}

EntityPtr Writer4::writeWindowType(const std::string& name)
{
    auto e = create(IFCWINDOWTYPE);
    addRoot(e);
    addText(e, name);
    addNull(e);
    addNull(e);
    addReferenceSet(e, {windowLining, windowPanel});
    addNull(e);
    addNull(e);
    addNull(e);
    addEnumeration(e, "NOTDEFINED");
    addEnumeration(e, "SINGLE_PANEL");
    addFalse(e);
    addNull(e);
    windowType = hand(e);
    return windowType;
}

EntityPtr Writer4::writeBuildingSystem(const std::string& name, int kind)
{
    auto e = create(IFCBUILDINGSYSTEM);
    addRoot(e);
    addText(e, name);
    addNull(e);
    addNull(e);
    addEnumeration(e, buildingSystemTypeName(kind));
    addNull(e);
    return hand(e);
}

EntityPtr Writer4::writeRelServicesBuildings(const EntityPtr& system, const EntityList& buildings)
{
    auto e = create(IFCRELSERVICESBUILDINGS);
    addRoot(e);
    addNull(e);
    addNull(e);
    addReference(e, system);
    addReferenceSet(e, buildings);
    return hand(e);
}

} // namespace ifc
