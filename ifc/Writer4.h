#pragma once

#include "ifc/Writer.h"

#include <optional>

namespace ifc {

// The IFC4 writer: the specialised standard-case products, door and window
// types, and first- and second-level space boundaries.
class Writer4 : public Writer {
public:
    explicit Writer4(step::Writer& out) : Writer(out) {}
    // Releases the references between corresponding boundaries.
    ~Writer4() override;

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
    // Completes a boundary from createSpaceBoundary2ndLevel without its parent
    // boundary: ParentBoundary becomes $.
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

    EntityPtr writeSlabStandardCase(const std::string& name, int kind, const Vec3D& position);
    EntityPtr writeOpeningStandardCase(const EntityPtr& element, const EntityPtr& placement);
    EntityPtr writeDoorStandardCase(const std::string& name, const EntityPtr& placement, double overallHeight,
                                    double overallWidth);
    EntityPtr writeWindowStandardCase(const std::string& name, const EntityPtr& placement, double overallWidth,
                                      double overallHeight);

private:
    // Second-level boundaries written with a corresponding boundary: pairs
    // that refer to each other would otherwise keep each other alive.
    EntityList correspondingBoundaries;

    void addCorrespondingBoundary(const EntityPtr& boundary, const EntityPtr& corresponding);
    // The attributes common to both boundary levels, up to ParentBoundary.
    EntityPtr buildSpaceBoundary(const std::string& entityName, const std::string& name,
                                 const std::string& description, const EntityPtr& space, const EntityPtr& element,
                                 const EntityPtr& geometry, const std::string& physicalOrVirtual,
                                 int internalOrExternal, const EntityPtr& parent);
    // A library reference whose description is unset when none is given.
    EntityPtr writeLibraryReferenceWith(const std::string& name, const std::optional<std::string>& description,
                                        const std::string& language);
    // A door or window type: ParameterTakesPrecedence false, the
    // user-defined operation unset.
    EntityPtr writeFillingType(const std::string& entityName, const std::string& name,
                               const EntityList& propertySets, const std::string& predefinedType,
                               const std::string& operationType);
};

} // namespace ifc
