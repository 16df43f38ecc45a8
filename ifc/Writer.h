#pragma once

#include "geometry/Polygon.h"
#include "ifc/Attributes.h"
#include "ifc/Placement.h"
#include "step/Entity.h"
#include "step/Writer.h"

#include <list>
#include <memory>
#include <string>
#include <unordered_map>

namespace ifc {

// Writes the entities of one IFC file. Every entity is numbered by the
// writer's own factory when it is created (so numbers follow creation order)
// and handed to the step::Writer when complete (so file order follows
// hand-over order); entities that a builder writes while assembling its own
// attributes carry higher numbers but stand before it in the file.
//
// Entities that later calls refer to (owner history, units, contexts,
// project, site, building, current storey and space ...) are kept as
// members, so callers pass names, numbers and geometry rather than
// references. Calling order: writeHeader, writeOwnerHistory,
// writeWorldCoordinateSystem, writeUnits, writeRepresentationContexts, then
// site, building, plan contexts, project, storeys with their contents. An
// operation that refers to a member not written yet throws
// std::invalid_argument "Cannot refer to a missing entity".
//
// The entities whose attribute lists differ between IFC4 and IFC2X3 are
// written by the virtual operations, implemented by Writer4 and Writer2x3;
// an operation a schema lacks returns an empty pointer or does nothing.
class Writer {
public:
    explicit Writer(step::Writer& out);
    virtual ~Writer();

    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    // Schema-dependent entities.
    virtual void writeOwnerHistory() = 0;
    virtual EntityPtr writeProxy(const std::string& name, const std::string& proxyType, const std::string& tag) = 0;
    virtual EntityPtr writeProjectLibrary(const std::string& name) = 0;
    virtual EntityPtr writeNamedLibraryReference(const std::string& name, const std::string& description,
                                                 const std::string& language) = 0;
    virtual EntityPtr writeLibraryReference(const std::string& name, const std::string& language) = 0;
    virtual EntityPtr writeDoorLiningProperties() = 0;
    virtual EntityPtr writeDoorType(const std::string& name) = 0;
    virtual EntityPtr writeExternalSpatialElement(const std::string& name, int kind) = 0;
    virtual EntityPtr writeSpace(const std::string& name, const Vec3D& position) = 0;
    virtual EntityPtr writeSlab(const std::string& name, int kind, const Vec3D& position) = 0;
    virtual EntityPtr writeWall(const std::string& name, const EntityPtr& placement) = 0;
    virtual void writeHeader(const std::string& author, const std::string& organisation,
                             const std::string& preprocessorVersion) = 0;
    virtual EntityPtr writeZone(const std::string& name, const std::string& description,
                                const std::string& objectType) = 0;
    virtual EntityPtr writeSpaceType(const std::string& name) = 0;
    virtual EntityPtr writeQuantityLength(const std::string& name, double value) = 0;
    virtual EntityPtr writeQuantityVolume(const std::string& name, double value) = 0;
    virtual EntityPtr writeQuantityArea(const std::string& name, double value) = 0;
    // internalOrExternal: 0 internal, 1 external.
    virtual EntityPtr writeSpaceBoundary1stLevel(const EntityPtr& space, const EntityPtr& element,
                                                 const EntityPtr& geometry, const std::string& physicalOrVirtual,
                                                 int internalOrExternal, const EntityPtr& parent) = 0;
    virtual EntityPtr writeSpaceBoundary2ndLevel(const std::string& description, const EntityPtr& space,
                                                 const EntityPtr& element, const EntityPtr& geometry,
                                                 const std::string& physicalOrVirtual, int internalOrExternal,
                                                 const EntityPtr& parent, const EntityPtr& corresponding) = 0;
    // Builds a boundary without handing it over, so that two boundaries can
    // name each other as corresponding; completeSpaceBoundary finishes it.
    virtual EntityPtr createSpaceBoundary2ndLevel(const std::string& description, const EntityPtr& space,
                                                  const EntityPtr& element, const EntityPtr& geometry,
                                                  const std::string& physicalOrVirtual, int internalOrExternal,
                                                  const EntityPtr& parent) = 0;
    virtual void completeSpaceBoundary(const EntityPtr& boundary, const EntityPtr& corresponding) = 0;
    virtual void completeSpaceBoundaryWithoutParent(const EntityPtr& boundary, const EntityPtr& corresponding) = 0;
    virtual EntityPtr writeMaterialProperties(const std::string& name, const EntityPtr& material) = 0;
    virtual EntityPtr writeMaterial(const std::string& name) = 0;
    virtual EntityPtr writeMaterialLayer(double thickness, const EntityPtr& material) = 0;
    virtual EntityPtr writeMaterialLayerSet(const std::string& name) = 0;
    // Over the last layer set (or the one useMaterialLayerSet names); axis 2
    // for walls (layers across the wall), 3 for slabs (layers upward);
    // direction: 0 positive, 1 negative.
    virtual EntityPtr writeMaterialLayerSetUsage(double offset, int direction, int axis) = 0;
    // Makes an earlier layer set the one the next usage refers to.
    void useMaterialLayerSet(const EntityPtr& layerSet) { materialLayerSet = layerSet; }
    virtual EntityPtr writeSurfaceStyle(const std::string& name) = 0;
    virtual EntityPtr writeOpening(const EntityPtr& element, const EntityPtr& placement) = 0;
    virtual EntityPtr writeDoor(const std::string& name, const EntityPtr& placement, double overallHeight,
                                double overallWidth) = 0;
    // Width before height: the opposite order to writeDoor.
    virtual EntityPtr writeWindow(const std::string& name, const EntityPtr& placement, double overallWidth,
                                  double overallHeight) = 0;
    virtual EntityPtr writeWindowLiningProperties() = 0;
    virtual EntityPtr writeWindowType(const std::string& name) = 0;
    virtual EntityPtr writeBuildingSystem(const std::string& name, int kind) = 0;
    virtual EntityPtr writeRelServicesBuildings(const EntityPtr& system, const EntityList& buildings) = 0;
    virtual EntityPtr writeRelAssignsToGroup(const EntityList& objects, const EntityPtr& group);

    // The export's form of writeHeader: the first text is not used.
    void writeHeader(const std::string& unused, const std::string& author, const std::string& organisation,
                     const std::string& preprocessorVersion);

    // File frame, owner, units, contexts and project.
    void writeFileHeader(const std::string& author, const std::string& organisation,
                         const std::string& preprocessorVersion, const std::string& schema);
    EntityPtr writeOrganization();
    EntityPtr writePerson();
    EntityPtr writePersonAndOrganization(const EntityPtr& person, const EntityPtr& organisation);
    EntityPtr writeApplication(const EntityPtr& organisation);
    EntityPtr writeSIUnit(const std::string& unitType, const std::string& name);
    void writeUnits();
    void writeWorldCoordinateSystem();
    // The true north is written once, from the first call's argument.
    void writeRepresentationContexts(const Vec2& trueNorth);
    // A plan context and viewport for every level from highest down to lowest,
    // named "EG" for level 0 and "<level>.OG" otherwise.
    void writePlanContexts(int highestLevel, int lowestLevel, double scale);
    void writeProject(const std::string& name);
    void useBodyContext();
    // Throws std::out_of_range for a storey without plan contexts.
    void usePlanContext(const std::string& storeyName);
    EntityPtr getAreaUnit() const { return areaUnit; }

    // Geometry.
    EntityPtr writeCartesianPoint(const Vec3D& p);
    EntityPtr writeCartesianPoint2D(const Vec2& p);
    EntityPtr writeDirection(const Vec3D& d);
    // Written with the second component negated.
    EntityPtr writeDirection2D(const Vec2& d);
    // Writes default directions (0,0,1) and (1,0,0) for an empty axis or
    // reference direction.
    EntityPtr writeAxis2Placement3D(const EntityPtr& location, const EntityPtr& axis, const EntityPtr& refDirection);
    EntityPtr writeAxisPlacement(const Vec3D& location, const Vec3D& axis, const Vec3D& refDirection);
    EntityPtr writePlacement(const AxisPlacement& placement);
    EntityPtr writeOriginPlacement();
    EntityPtr writePointPlacement(const Vec3D& location);
    EntityPtr writePlane(const EntityPtr& position);
    EntityPtr writeLocalPlacement(const EntityPtr& relativeTo, const EntityPtr& relativePlacement);
    // Appends the new local placement to the product as its ObjectPlacement.
    EntityPtr addOriginPlacement(const EntityPtr& product, const EntityPtr& relativeTo);
    // A translation relative to relativeTo, appended to the product.
    EntityPtr addPlacement(const EntityPtr& product, const EntityPtr& relativeTo, const Vec3D& position);
    // Closed by a second point entity equal to the first.
    EntityPtr writePolyline2D(const Polygon& polygon);
    EntityPtr writePolyline(const Polygon& polygon, double z);
    EntityPtr writePolylineOfPoints(const EntityList& points);
    // One polygon, or a counter-clockwise outline with clockwise holes.
    EntityPtr writeProfile(const std::list<Polygon>& profile);
    EntityPtr writeExtrudedAreaSolid(const std::list<Polygon>& profile, const EntityPtr& position,
                                     const Vec3D& direction, double depth);
    EntityPtr writeExtrusionAt(const std::list<Polygon>& profile, const Vec3D& location, const Vec3D& direction,
                               double depth);
    void startRepresentationItems();
    EntityPtr writeShapeRepresentation(const std::string& identifier, const std::string& type);
    EntityPtr writeMappedItem(const EntityPtr& source, const EntityPtr& target);
    // IFCREPRESENTATIONMAP of the shape representation at a new origin
    // placement. The representation leaves the pending ones, so that no
    // product takes it as its own.
    EntityPtr writeRepresentationMap(const EntityPtr& representation);
    // Appends the product's Representation: one product definition shape over
    // the pending shape representations, or $ when none is pending.
    EntityPtr addRepresentation(const EntityPtr& product);
    EntityPtr writeIdentityTransformation();
    EntityPtr writeNonUniformTransformation(double scale, double scale3, double scale2);
    EntityPtr writeCurveBoundedPlane(const EntityPtr& plane, const EntityPtr& outerBoundary);
    EntityPtr writeConnectionSurfaceGeometry(const EntityPtr& surface);
    // The first polygon bounds the surface, the others are holes, in the
    // plane's own coordinates.
    EntityPtr writeBoundarySurface(const EntityPtr& position, const std::list<Polygon>& polygons);
    EntityPtr writeConnectionGeometry(const Vec3D& location, const Vec3D& axis, const Vec3D& refDirection,
                                      const std::list<Polygon>& polygons);

    // Spatial structure.
    void writeSite(const std::string& name, double latitude, double longitude);
    void writeBuilding(const std::string& name);
    EntityPtr writeBuildingStorey(const std::string& name, const Vec3D& position);

    // Relations.
    EntityPtr writeRelAggregates(const EntityPtr& relating, const EntityList& related);
    EntityPtr writeRelContainedInSpatialStructure(const std::string& name, const std::string& description,
                                                  const EntityList& elements, const EntityPtr& structure);
    EntityPtr writeRelVoidsElement(const EntityPtr& element, const EntityPtr& opening);
    EntityPtr writeRelFillsElement(const EntityPtr& opening, const EntityPtr& element);
    EntityPtr writeRelDefinesByProperties(const EntityList& objects, const EntityPtr& definition);
    // The objects' material: a material, a layer set or a layer set usage.
    EntityPtr writeRelAssociatesMaterial(const EntityList& objects, const EntityPtr& material);
    // Throws std::logic_error "Missing relatingSpace" or "Missing
    // buildingElement" before anything is created.
    EntityPtr writeRelSpaceBoundary(const std::string& name, const std::string& description, const EntityPtr& space,
                                    const EntityPtr& element, const EntityPtr& geometry,
                                    const std::string& physicalOrVirtual, int internalOrExternal);

    // Properties and quantities.
    EntityPtr writePropertySingleValue(const std::string& name, const std::shared_ptr<step::Select>& value,
                                       const EntityPtr& unit);
    EntityPtr writeTextProperty(const std::string& name, const std::string& text, const EntityPtr& unit);
    EntityPtr writePropertySet(const std::string& name, const std::shared_ptr<step::Set>& properties);
    // Over the quantities written since the last element quantity.
    EntityPtr writeElementQuantity(const std::string& name);
    void addRelated(const EntityPtr& key, const EntityPtr& entity);
    void adoptWaitingEntities(const EntityPtr& owner);

    EntityPtr writeWindowPanelProperties();
    EntityPtr writeDoorPanelProperties(const std::string& panelPosition);

    // Lighting and ventilation.
    EntityPtr writeLightFixtureType(const std::string& name);
    EntityPtr writeAirTerminalType(const std::string& name);
    EntityPtr writeSystem(const std::string& name);
    // Placed relative to the current space unless at exactly (0, 0, 0).
    EntityPtr writeFlowTerminal(const std::string& name, const EntityPtr& firstSystem, const EntityPtr& secondSystem,
                                const Vec3D& position);

    // Presentation.
    EntityPtr writeColourRgb(const std::string& name, double red, double green, double blue);
    EntityPtr writePresentationLayerWithStyle(const std::string& name);
    EntityPtr writePresentationStyleAssignment();
    EntityPtr writeStyledItem();

    // A local placement written by this writer, relative to the site's
    // placement.
    AxisPlacement siteRelativePlacement(const EntityPtr& localPlacement);
    AxisPlacement composePlacementChain(const EntityPtr& localPlacement, const AxisPlacement& accumulated);

    // Read and set by the export.
    step::Writer* out;
    step::Factory factory; // numbers every data entity of the file
    EntityPtr project;
    EntityPtr site;
    EntityPtr building;
    EntityPtr storey;
    EntityPtr storeyPlacement;
    EntityPtr buildingPlacement;
    EntityPtr sitePlacement; // the root of every placement
    EntityPtr lengthUnit;
    EntityPtr areaUnit;
    std::shared_ptr<step::Set> representationItems; // items of the next shape representation
    EntityPtr surfaceStyle;                          // style of the next layer and style assignment
    EntityPtr& currentSurfaceStyle = surfaceStyle;   // the same member, under the export's name
    EntityPtr currentContext;                        // context of the next shape representation
    EntityList pendingRepresentations;              // shape representations not yet given to a product

protected:
    // Creates an entity with the next number.
    EntityPtr create(const std::string& name);
    // Hands a complete entity to the step::Writer and returns it.
    EntityPtr hand(const EntityPtr& entity);
    // GlobalId and the owner history, with which every rooted entity starts.
    void addRoot(const EntityPtr& entity);
    // The create operations below write an entity's first attributes and
    // leave the rest and the hand-over to the caller.
    // Rooted, Name and Description unset: relationships and property
    // definitions.
    EntityPtr createUnnamed(const std::string& entityName);
    // An object: Name given, Description and ObjectType unset.
    EntityPtr createObject(const std::string& entityName, const std::string& name);
    // A type product up to its Tag: Name given, HasPropertySets $ when there
    // are none, the rest unset.
    EntityPtr createTypeProduct(const std::string& entityName, const std::string& name,
                                const EntityList& propertySets);
    // A type product followed by ElementType unset and the predefined type.
    EntityPtr createElementType(const std::string& entityName, const std::string& name,
                                const EntityList& propertySets, const std::string& predefinedType);
    // innerBoundaries: the curves of the holes.
    EntityPtr writeCurveBoundedPlaneWithHoles(const EntityPtr& plane, const EntityPtr& outerBoundary,
                                              const std::shared_ptr<step::Set>& innerBoundaries);
    EntityPtr writeSubContext(const std::string& identifier, const std::string& type, const EntityPtr& parent,
                              const std::shared_ptr<step::Real>& targetScale, const std::string& targetView);
    // A geometric representation context of the model, added to the
    // project's contexts; an empty identifier is written as $.
    EntityPtr writeContext(const std::string& identifier, const std::string& type, int dimension);

    // The bodies of the schema-dependent operations that IFC4 and IFC2X3
    // share. Where the two schemas name the entity differently, the name is
    // passed; where IFC4 ends an entity with optional attributes that IFC2X3
    // lacks, unsetTail counts the unset attributes that end it.
    void writeOwnerHistoryWith(const std::string& changeAction); // $ for ""
    EntityPtr writeDoorLining(int unsetTail);
    EntityPtr writeWindowLining(int unsetTail);
    // spaceKind follows the composition type: the predefined type in IFC4,
    // interior or exterior in IFC2X3.
    EntityPtr writeSpaceWith(const std::string& name, const Vec3D& position, const std::string& spaceKind);
    EntityPtr writeSlabAs(const std::string& entityName, const std::string& name, int kind, const Vec3D& position);
    EntityPtr writeWallWith(const std::string& name, const EntityPtr& placement, int unsetTail);
    EntityPtr writeZoneWith(const std::string& name, const std::string& description, const std::string& objectType,
                            int unsetTail);
    EntityPtr writeSpaceTypeWith(const std::string& name, int unsetTail);
    // Added to the element quantities being collected.
    EntityPtr writeQuantity(const std::string& entityName, const std::string& name, const EntityPtr& unit,
                            double value, int unsetTail);
    // A space boundary up to InternalOrExternalBoundary, not handed over.
    // Throws as writeRelSpaceBoundary before anything is created.
    EntityPtr buildRelSpaceBoundary(const std::string& entityName, const std::string& name,
                                    const std::string& description, const EntityPtr& space,
                                    const EntityPtr& element, const EntityPtr& geometry,
                                    const std::string& physicalOrVirtual, int internalOrExternal);
    EntityPtr writeMaterialWith(const std::string& name, int unsetTail);
    EntityPtr writeMaterialLayerWith(double thickness, const EntityPtr& material, int unsetTail);
    EntityPtr writeMaterialLayerSetWith(const std::string& name, int unsetTail);
    EntityPtr writeMaterialLayerSetUsageWith(double offset, int direction, int axis, int unsetTail);
    // unsetTail is the surface style shading's.
    EntityPtr writeSurfaceStyleWith(const std::string& name, int unsetTail);
    EntityPtr writeOpeningAs(const std::string& entityName, const EntityPtr& element, const EntityPtr& placement,
                             int unsetTail);
    // A door or window, height before width, joined to the storey and to
    // its type when there is one.
    EntityPtr writeFillingAs(const std::string& entityName, const std::string& name, const EntityPtr& placement,
                             double overallHeight, double overallWidth, int unsetTail, const EntityPtr& type);

    EntityPtr styleAssignment;
    EntityPtr solid;
    EntityPtr doorLining;
    EntityPtr windowLining;
    EntityPtr windowType;
    EntityPtr windowPanel;
    EntityPtr ownerHistory;
    EntityPtr worldCoordinateSystem;
    EntityPtr unitAssignment;
    EntityPtr trueNorth;
    std::shared_ptr<step::Set> contexts;
    EntityPtr projectLibrary;
    EntityPtr space;
    EntityPtr zone;
    EntityPtr door;
    EntityPtr doorType;
    EntityPtr currentElement;
    std::shared_ptr<step::Set> elementQuantities;
    EntityPtr modelContext;
    // Which entities belong to which; kept for callers, not written.
    std::unordered_map<EntityPtr, EntityList> relations;
    EntityPtr bodyContext;
    EntityPtr axisContext;
    std::unordered_map<std::string, EntityPtr> planContexts;
    std::shared_ptr<step::List> materialLayers;
    EntityPtr volumeUnit;
    EntityPtr planeAngleUnit;
    EntityPtr colour;
    EntityPtr shapeRepresentation;
    std::shared_ptr<step::Set> properties; // single values since the last material properties
    EntityList doorPanels;
    EntityList waitingForOwner; // element quantities not yet related to an owner
    EntityPtr spacePlacement;
    EntityPtr materialLayerSet;
};

} // namespace ifc
