#include "ifc/Writer2x3.h"

#include "ifc/IfcNames.h"
#include "ifc/SchemaSupport.h"

namespace ifc {

void Writer2x3::writeOwnerHistory()
{
    writeOwnerHistoryWith("MODIFIED");
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
    return writeDoorLining(9); // ThresholdDepth to ShapeAspectStyle
}

EntityPtr Writer2x3::writeDoorType(const std::string& name)
{
    doorType = writeFillingStyle(IFCDOORSTYLE, name, liningAndPanels(doorLining, doorPanels),
                                 "DOUBLE_DOOR_DOUBLE_SWING", "NOTDEFINED");
    return doorType;
}

EntityPtr Writer2x3::writeExternalSpatialElement(const std::string&, int)
{
    return nullptr;
}

EntityPtr Writer2x3::writeSpace(const std::string& name, const Vec3D& position)
{
    return writeSpaceWith(name, position, "INTERNAL");
}

EntityPtr Writer2x3::writeSlab(const std::string& name, int kind, const Vec3D& position)
{
    return writeSlabAs(IFCSLAB, name, kind, position);
}

EntityPtr Writer2x3::writeWall(const std::string& name, const EntityPtr& placement)
{
    return writeWallWith(name, placement, 1); // Tag
}

void Writer2x3::writeHeader(const std::string& author, const std::string& organisation,
                            const std::string& preprocessorVersion)
{
    writeFileHeader(author, organisation, preprocessorVersion, IFC2X3);
}

EntityPtr Writer2x3::writeZone(const std::string& name, const std::string& description,
                               const std::string& objectType)
{
    return writeZoneWith(name, description, objectType, 0);
}

EntityPtr Writer2x3::writeSpaceType(const std::string& name)
{
    return writeSpaceTypeWith(name, 0);
}

EntityPtr Writer2x3::writeQuantityLength(const std::string& name, double value)
{
    return writeQuantity(IFCQUANTITYLENGTH, name, lengthUnit, value, 0);
}

EntityPtr Writer2x3::writeQuantityVolume(const std::string& name, double value)
{
    return writeQuantity(IFCQUANTITYVOLUME, name, volumeUnit, value, 0);
}

EntityPtr Writer2x3::writeQuantityArea(const std::string& name, double value)
{
    return writeQuantity(IFCQUANTITYAREA, name, areaUnit, value, 0);
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
    return writeMaterialWith(name, 0);
}

EntityPtr Writer2x3::writeMaterialLayer(double thickness, const EntityPtr& material)
{
    return writeMaterialLayerWith(thickness, material, 1); // IsVentilated
}

EntityPtr Writer2x3::writeMaterialLayerSet(const std::string& name)
{
    return writeMaterialLayerSetWith(name, 0);
}

EntityPtr Writer2x3::writeMaterialLayerSetUsage(double offset, int direction, int axis)
{
    return writeMaterialLayerSetUsageWith(offset, direction, axis, 0);
}

EntityPtr Writer2x3::writeSurfaceStyle(const std::string& name)
{
    return writeSurfaceStyleWith(name, 0);
}

EntityPtr Writer2x3::writeOpening(const EntityPtr& element, const EntityPtr& placement)
{
    return writeOpeningAs(IFCOPENINGELEMENT, element, placement, 1); // Tag
}

EntityPtr Writer2x3::writeDoor(const std::string& name, const EntityPtr& placement, double overallHeight,
                               double overallWidth)
{
    door = writeFillingAs(IFCDOOR, name, placement, overallHeight, overallWidth, 0, doorType);
    return door;
}

EntityPtr Writer2x3::writeWindow(const std::string& name, const EntityPtr& placement, double overallWidth,
                                 double overallHeight)
{
    return writeFillingAs(IFCWINDOW, name, placement, overallHeight, overallWidth, 0, windowType);
}

EntityPtr Writer2x3::writeWindowLiningProperties()
{
    return writeWindowLining(6); // MullionThickness to ShapeAspectStyle
}

EntityPtr Writer2x3::writeWindowType(const std::string& name)
{
    windowType = writeFillingStyle(IFCWINDOWSTYLE, name, {windowLining, windowPanel}, "NOTDEFINED", "SINGLE_PANEL");
    return windowType;
}

EntityPtr Writer2x3::writeFillingStyle(const std::string& entityName, const std::string& name,
                                       const EntityList& propertySets, const std::string& firstType,
                                       const std::string& secondType)
{
    auto e = createTypeProduct(entityName, name, propertySets);
    addEnumeration(e, firstType);
    addEnumeration(e, secondType);
    addFalse(e);
    addFalse(e);
    return hand(e);
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
