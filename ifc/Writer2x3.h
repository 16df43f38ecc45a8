#pragma once

#include "ifc/Writer.h"

namespace ifc {

// The IFC2X3 writer: door and window styles, the plain products and one
// IFCRELSPACEBOUNDARY for both boundary levels. What IFC2X3 lacks (proxies,
// libraries, external spatial elements, material properties, building
// systems, paired second-level boundaries) returns an empty pointer or does
// nothing, creating no entity and using no number.
class Writer2x3 : public Writer {
public:
    explicit Writer2x3(step::Writer& out) : Writer(out) {}

    using Writer::writeHeader;

    void writeOwnerHistory() override;
    EntityPtr writeProxy(const std::string& name, const std::string& proxyType, const std::string& tag) override;
    EntityPtr writeProjectLibrary(const std::string& name) override;
    EntityPtr writeNamedLibraryReference(const std::string& name, const std::string& description,
                                         const std::string& language) override;
    EntityPtr writeLibraryReference(const std::string& name, const std::string& language) override;
    EntityPtr writeDoorLiningProperties() override;
    EntityPtr writeDoorType(const std::string& name) override;
    EntityPtr writeExternalSpatialElement(const std::string& name, int kind) override;
    EntityPtr writeSpace(const std::string& name, const Vec3D& position) override;
    EntityPtr writeSlab(const std::string& name, int kind, const Vec3D& position) override;
    EntityPtr writeWall(const std::string& name, const EntityPtr& placement) override;
    void writeHeader(const std::string& author, const std::string& organisation,
                     const std::string& preprocessorVersion) override;
    EntityPtr writeZone(const std::string& name, const std::string& description,
                        const std::string& objectType) override;
    EntityPtr writeSpaceType(const std::string& name) override;
    EntityPtr writeQuantityLength(const std::string& name, double value) override;
    EntityPtr writeQuantityVolume(const std::string& name, double value) override;
    EntityPtr writeQuantityArea(const std::string& name, double value) override;
    EntityPtr writeSpaceBoundary1stLevel(const EntityPtr& space, const EntityPtr& element, const EntityPtr& geometry,
                                         const std::string& physicalOrVirtual, int internalOrExternal,
                                         const EntityPtr& parent) override;
    EntityPtr writeSpaceBoundary2ndLevel(const std::string& description, const EntityPtr& space,
                                         const EntityPtr& element, const EntityPtr& geometry,
                                         const std::string& physicalOrVirtual, int internalOrExternal,
                                         const EntityPtr& parent, const EntityPtr& corresponding) override;
    EntityPtr createSpaceBoundary2ndLevel(const std::string& description, const EntityPtr& space,
                                          const EntityPtr& element, const EntityPtr& geometry,
                                          const std::string& physicalOrVirtual, int internalOrExternal,
                                          const EntityPtr& parent) override;
    void completeSpaceBoundary(const EntityPtr& boundary, const EntityPtr& corresponding) override;
    void completeSpaceBoundaryWithoutParent(const EntityPtr& boundary, const EntityPtr& corresponding) override;
    EntityPtr writeMaterialProperties(const std::string& name, const EntityPtr& material) override;
    EntityPtr writeMaterial(const std::string& name) override;
    EntityPtr writeMaterialLayer(double thickness, const EntityPtr& material) override;
    EntityPtr writeMaterialLayerSet(const std::string& name) override;
    EntityPtr writeMaterialLayerSetUsage(double offset, int direction, int axis) override;
    EntityPtr writeSurfaceStyle(const std::string& name) override;
    EntityPtr writeOpening(const EntityPtr& element, const EntityPtr& placement) override;
    EntityPtr writeDoor(const std::string& name, const EntityPtr& placement, double overallHeight,
                        double overallWidth) override;
    EntityPtr writeWindow(const std::string& name, const EntityPtr& placement, double overallWidth,
                          double overallHeight) override;
    EntityPtr writeWindowLiningProperties() override;
    EntityPtr writeWindowType(const std::string& name) override;
    EntityPtr writeBuildingSystem(const std::string& name, int kind) override;
    EntityPtr writeRelServicesBuildings(const EntityPtr& system, const EntityList& buildings) override;

private:
    // A door or window style: its operation and construction types in the
    // order the entity lists them, ParameterTakesPrecedence and Sizeable
    // false.
    EntityPtr writeFillingStyle(const std::string& entityName, const std::string& name,
                                const EntityList& propertySets, const std::string& firstType,
                                const std::string& secondType);
};

} // namespace ifc
