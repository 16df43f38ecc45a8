#include "ifc/Writer4.h"

#include "ifc/IfcNames.h"
#include "ifc/SchemaSupport.h"

#include <optional>

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
    writeOwnerHistoryWith("");
}

EntityPtr Writer4::writeProxy(const std::string& name, const std::string& proxyType, const std::string& tag)
{
    auto e = create(IFCPROXY);
    addRoot(e);
    addText(e, name);
    addNull(e);
    addText(e, "");
    addNulls(e, 2);
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
    addNulls(e, 5);
    projectLibrary = hand(e);
    return projectLibrary;
}

EntityPtr Writer4::writeNamedLibraryReference(const std::string& name, const std::string& description,
                                              const std::string& language)
{
    return writeLibraryReferenceWith(name, description, language);
}

EntityPtr Writer4::writeLibraryReference(const std::string& name, const std::string& language)
{
    return writeLibraryReferenceWith(name, std::nullopt, language);
}

EntityPtr Writer4::writeLibraryReferenceWith(const std::string& name, const std::optional<std::string>& description,
                                             const std::string& language)
{
    auto e = create(IFCLIBRARYREFERENCE);
    addNulls(e, 2);
    addText(e, name);
    if (description)
        addText(e, *description);
    else
        addNull(e);
    addText(e, language);
    addNull(e);
    return hand(e);
}

EntityPtr Writer4::writeDoorLiningProperties()
{
    return writeDoorLining(11); // ThresholdDepth to LiningToPanelOffsetY
}

EntityPtr Writer4::writeDoorType(const std::string& name)
{
    doorType = writeFillingType(IFCDOORTYPE, name, liningAndPanels(doorLining, doorPanels), "DOOR",
                                "DOUBLE_DOOR_DOUBLE_SWING");
    return doorType;
}

EntityPtr Writer4::writeExternalSpatialElement(const std::string& name, int kind)
{
    auto e = create(IFCEXTERNALSPATIALELEMENT);
    addRoot(e);
    addText(e, name);
    addNulls(e, 4);
    addText(e, name);
    addEnumeration(e, externalSpatialElementTypeName(kind));
    return hand(e);
}

EntityPtr Writer4::writeSpace(const std::string& name, const Vec3D& position)
{
    return writeSpaceWith(name, position, "NOTDEFINED");
}

EntityPtr Writer4::writeSlab(const std::string& name, int kind, const Vec3D& position)
{
    return writeSlabStandardCase(name, kind, position);
}

EntityPtr Writer4::writeSlabStandardCase(const std::string& name, int kind, const Vec3D& position)
{
    return writeSlabAs(IFCSLABSTANDARDCASE, name, kind, position);
}

EntityPtr Writer4::writeWall(const std::string& name, const EntityPtr& placement)
{
    return writeWallWith(name, placement, 2); // Tag, PredefinedType
}

void Writer4::writeHeader(const std::string& author, const std::string& organisation,
                          const std::string& preprocessorVersion)
{
    writeFileHeader(author, organisation, preprocessorVersion, IFC4);
}

EntityPtr Writer4::writeZone(const std::string& name, const std::string& description, const std::string& objectType)
{
    return writeZoneWith(name, description, objectType, 1); // LongName
}

EntityPtr Writer4::writeSpaceType(const std::string& name)
{
    return writeSpaceTypeWith(name, 1); // LongName
}

EntityPtr Writer4::writeQuantityLength(const std::string& name, double value)
{
    return writeQuantity(IFCQUANTITYLENGTH, name, lengthUnit, value, 1); // Formula
}

EntityPtr Writer4::writeQuantityVolume(const std::string& name, double value)
{
    return writeQuantity(IFCQUANTITYVOLUME, name, volumeUnit, value, 1); // Formula
}

EntityPtr Writer4::writeQuantityArea(const std::string& name, double value)
{
    return writeQuantity(IFCQUANTITYAREA, name, areaUnit, value, 1); // Formula
}

EntityPtr Writer4::buildSpaceBoundary(const std::string& entityName, const std::string& name,
                                      const std::string& description, const EntityPtr& space,
                                      const EntityPtr& element, const EntityPtr& geometry,
                                      const std::string& physicalOrVirtual, int internalOrExternal,
                                      const EntityPtr& parent)
{
    auto e = buildRelSpaceBoundary(entityName, name, description, space, element, geometry, physicalOrVirtual,
                                   internalOrExternal);
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
    return writeMaterialWith(name, 2); // Description, Category
}

EntityPtr Writer4::writeMaterialLayer(double thickness, const EntityPtr& material)
{
    return writeMaterialLayerWith(thickness, material, 5); // IsVentilated to Priority
}

EntityPtr Writer4::writeMaterialLayerSet(const std::string& name)
{
    return writeMaterialLayerSetWith(name, 1); // Description
}

EntityPtr Writer4::writeMaterialLayerSetUsage(double offset, int direction, int axis)
{
    return writeMaterialLayerSetUsageWith(offset, direction, axis, 1); // ReferenceExtent
}

EntityPtr Writer4::writeSurfaceStyle(const std::string& name)
{
    return writeSurfaceStyleWith(name, 1); // Transparency
}

EntityPtr Writer4::writeOpening(const EntityPtr& element, const EntityPtr& placement)
{
    return writeOpeningStandardCase(element, placement);
}

EntityPtr Writer4::writeOpeningStandardCase(const EntityPtr& element, const EntityPtr& placement)
{
    return writeOpeningAs(IFCOPENINGSTANDARDCASE, element, placement, 2); // Tag, PredefinedType
}

EntityPtr Writer4::writeDoor(const std::string& name, const EntityPtr& placement, double overallHeight,
                             double overallWidth)
{
    return writeDoorStandardCase(name, placement, overallHeight, overallWidth);
}

EntityPtr Writer4::writeDoorStandardCase(const std::string& name, const EntityPtr& placement, double overallHeight,
                                         double overallWidth)
{
    // PredefinedType, OperationType and UserDefinedOperationType unset.
    door = writeFillingAs(IFCDOORSTANDARDCASE, name, placement, overallHeight, overallWidth, 3, doorType);
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
    // PredefinedType, PartitioningType and UserDefinedPartitioningType unset.
    return writeFillingAs(IFCWINDOWSTANDARDCASE, name, placement, overallHeight, overallWidth, 3, windowType);
}

EntityPtr Writer4::writeWindowLiningProperties()
{
    return writeWindowLining(9); // MullionThickness to LiningToPanelOffsetY
}

EntityPtr Writer4::writeWindowType(const std::string& name)
{
    windowType = writeFillingType(IFCWINDOWTYPE, name, {windowLining, windowPanel}, "NOTDEFINED", "SINGLE_PANEL");
    return windowType;
}

EntityPtr Writer4::writeFillingType(const std::string& entityName, const std::string& name,
                                    const EntityList& propertySets, const std::string& predefinedType,
                                    const std::string& operationType)
{
    auto e = createElementType(entityName, name, propertySets, predefinedType);
    addEnumeration(e, operationType);
    addFalse(e);
    addNull(e);
    return hand(e);
}

EntityPtr Writer4::writeBuildingSystem(const std::string& name, int kind)
{
    auto e = createObject(IFCBUILDINGSYSTEM, name);
    addEnumeration(e, buildingSystemTypeName(kind));
    addNull(e);
    return hand(e);
}

EntityPtr Writer4::writeRelServicesBuildings(const EntityPtr& system, const EntityList& buildings)
{
    auto e = createUnnamed(IFCRELSERVICESBUILDINGS);
    addReference(e, system);
    addReferenceSet(e, buildings);
    return hand(e);
}

} // namespace ifc
