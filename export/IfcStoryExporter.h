#pragma once

// Everything one IFC export needs below the project: the writer, the
// building, the options, the storey being written, the colour styles, types
// and systems written once at the start, and the records of every element
// written, which the connections, relations and boundaries read afterwards.
// The driver (IfcExporter) makes one per export and calls its operations in
// the order of the file.

#include "export/ExportSettings.h"
#include "export/OrderedMap.h"
#include "export/Records.h"
#include "ifc/Writer.h"

#include <functional>
#include <list>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace bg {
class Building;
class Floor;
class Proposal;
class RequirementSet;
class Requirement;
class Room;
} // namespace bg

namespace bgexport {

// Space boundary pieces narrower than this (in metres) are left-overs of
// rounding where outlines meet, not surfaces: the export leaves them out and
// names their number and area in one warning.
constexpr double sliverWidth = 1e-3;
struct Slivers {
    int count = 0;
    double area = 0.0;
};

class IfcStoryExporter {
public:
    // Works on its own copy of the process-wide settings, without door and
    // window types, until the driver points it at the export's copy; the
    // process-wide record is never changed.
    IfcStoryExporter(ifc::Writer* writer, std::shared_ptr<bg::Building> building);
    virtual ~IfcStoryExporter() = default;

    IfcStoryExporter(const IfcStoryExporter&) = delete;
    IfcStoryExporter& operator=(const IfcStoryExporter&) = delete;

    // Set-up, once each, in this order (writeSystems only with systems on
    // and some room that gets a space: IFC2X3 forbids a system without
    // members).
    void writeSystems();
    void writeMaterials();
    void writeElementTypes();
    void writeDoorStyle(ifc::Writer* writer);
    void addStorey(int level, const EntityPtr& storey);

    // Whether writeSpace makes a space of the room: it needs an outline with
    // an area and its requirement.
    static bool getsSpace(const bg::Room& room);

    // Elements of the current storey.
    // kind 0 floor slab, 1 roof slab, 3 base slab; elevation is the slab's z
    // in the storey.
    void writeSlab(int kind, double elevation, const std::shared_ptr<bg::Floor>& floor);
    EntityPtr slabQuantities(const std::list<Polygon>& polygons, double thickness);
    EntityPtr slabMaterial(int kind);
    // The layer set usage for elements of the thickness along the axis (2
    // walls about their centre line, 3 slabs downward from their top), made
    // on first use with the one layer set of that thickness; the element is
    // related to it by associateMaterials.
    void useLayers(const EntityPtr& element, int axis, double thickness);
    // Returns the wall, or nothing for a centre line too short to make a
    // solid (skipped with a warning).
    EntityPtr writeWall(const std::vector<Vec2>& centreLine, double thickness, const std::string& layerName,
                        const int& level, const std::string& name);
    void writeExteriorWalls(const std::shared_ptr<bg::Floor>& floor);
    void writeInteriorWalls(const std::shared_ptr<bg::Proposal>& proposal, const std::shared_ptr<bg::Floor>& floor);
    void writeDoorsAndWindows(const std::shared_ptr<bg::Floor>& floor);
    void writeSpace(const std::shared_ptr<bg::RequirementSet>& requirementSet, const std::shared_ptr<bg::Room>& room);
    EntityPtr writeRequirementProperties(const std::shared_ptr<bg::RequirementSet>& requirementSet,
                                         const std::shared_ptr<bg::Requirement>& requirement);

    // After all storeys.
    void connectWalls();
    // First-level space boundaries, in this order.
    void writeFirstLevelSlabBoundaries();
    void writeFirstLevelWallBoundaries();
    void writeFirstLevelDoorBoundaries();
    void writeFirstLevelWindowBoundaries();
    // Second-level space boundaries, in this order.
    void writeSecondLevelSlabBoundaries();
    void writeSecondLevelWallBoundaries();
    void writeSecondLevelDoorBoundaries();
    void writeSecondLevelWindowBoundaries();
    // The building's and the last storey's axis placements in world
    // coordinates, read back from the placements written.
    AxisPlacement buildingFrame();
    AxisPlacement storeyFrame();
    // One group relation per zone (its spaces) and per system (its terminals).
    void assignGroupMembers();
    void aggregateBuilding();
    void aggregateStoreys();
    void containElements();
    // One material relation per layer set usage, for every element using it.
    void associateMaterials();
    void aggregateSpaces();

    // Representation maps of the door and window bodies.
    EntityPtr cachedRepresentationMap(OrderedMap<int, EntityPtr>& cache, double& width, double height,
                                      double thickness);
    EntityPtr writeRepresentationMap(double width, double height, double thickness);

    ifc::Writer* writer;
    std::shared_ptr<bg::Building> building;
    EntityPtr currentStorey;
    EntityPtr airElement;
    EntityPtr earthElement;
    ExportSettings* settings;
    ExportSettings ownSettings;
    std::shared_ptr<bg::Floor> currentFloor;
    std::shared_ptr<bg::Proposal> proposal;
    std::vector<std::vector<Vec2>> interiorWallLines; // of the current storey

    EntityPtr outerWallStyle, innerWallStyle;
    EntityPtr roofStyle, baseSlabStyle, floorSlabStyle;
    EntityPtr roomStyle;
    EntityPtr corridorStyle;
    // Materials by slab kind (0, 1, 3) and for doors (-1); nothing fills it
    // during an export, so no material is related.
    OrderedMap<int, EntityPtr> materialCatalogue;
    EntityPtr lightingType, ventilationType, lightingSystem, ventilationSystem;

    OrderedMap<std::string, double> storeyElevations;
    OrderedMap<int, EntityPtr> storeysByLevel;
    EntityPtr currentSlab;
    OrderedMap<EntityPtr, SlabRecord> slabs;
    OrderedMap<EntityPtr, WallRecord> walls;
    OrderedMap<EntityPtr, SpaceRecord> spaces;
    OrderedMap<EntityPtr, DoorRecord> doors;
    OrderedMap<EntityPtr, WindowRecord> windows;
    OrderedMap<std::string, EntityPtr> zonesByRoomType;
    OrderedMap<EntityPtr, std::list<EntityPtr>> storeyWalls;
    OrderedMap<EntityPtr, std::list<EntityPtr>> storeySlabs;
    OrderedMap<EntityPtr, std::list<EntityPtr>> storeySpaces;
    OrderedMap<std::string, EntityPtr> doorNames;
    // The construction material, its layer sets by thickness, and the layer
    // set usages by axis and thickness with the elements that use them.
    EntityPtr constructionMaterial;
    OrderedMap<std::string, EntityPtr> layerSets;
    struct LayerUse {
        EntityPtr usage;
        ifc::EntityList elements;
    };
    OrderedMap<std::string, LayerUse> layerUses;
    EntityPtr sharedDoorMap, sharedWindowMap;
    OrderedMap<int, EntityPtr> entranceDoorMaps, interiorDoorMaps, windowMaps;

    // Members of each zone and of the two systems, for assignGroupMembers.
    OrderedMap<EntityPtr, std::list<EntityPtr>> zoneSpaces;
    std::list<EntityPtr> lightingTerminals, ventilationTerminals;

    // The first-level boundaries of each wall's faces towards the spaces:
    // which space, the piece of its outline, the boundary. Doors and windows
    // take their parent from the piece of their own space that holds them.
    struct WallPiece {
        EntityPtr space;
        std::vector<Vec2> piece;
        EntityPtr boundary;
    };
    OrderedMap<EntityPtr, std::vector<WallPiece>> firstLevelWallPieces;

    // What the export skipped or mended, one sentence each, for the caller to
    // log.
    std::vector<std::string> warnings;
    // The boundary pieces left out as slivers so far.
    Slivers slivers;
    // One warning for the slivers left out, when there are any.
    void reportSlivers();

private:
    // One side of a second-level boundary: its relating space (empty for an
    // external element that was not written) and how to write its face.
    struct Side {
        EntityPtr relating;
        std::function<EntityPtr()> geometry;
        EntityPtr parent;
    };
    EntityPtr writeSecondLevelSingle(const std::string& description, const Side& side, const EntityPtr& element,
                                     int flag);
    // Both sides name each other; when the second side's element is missing
    // only the first is written. Returns both boundaries (either may be
    // empty).
    std::pair<EntityPtr, EntityPtr> writeSecondLevelPair(const std::string& description, const Side& first,
                                                         const Side& second, const EntityPtr& element, int flag);
    // A first-level boundary (plain when the IFC4 boundary option is off).
    EntityPtr writeFirstLevelBoundary(const EntityPtr& relating, const EntityPtr& element, const EntityPtr& geometry,
                                      int flag, const EntityPtr& parent);
    // The wall boundary of the space whose piece holds the face; empty when
    // none does.
    EntityPtr parentPiece(const EntityPtr& wall, const EntityPtr& space, const std::vector<Vec2>& face);
    // The door or window body source for the options; fills width rounded
    // when per-width maps are used.
    EntityPtr bodySource(OrderedMap<int, EntityPtr>& cache, EntityPtr& shared, double& width, double height,
                         double thickness);
    struct Filling;
    void writeFilling(const Filling& filling);
    bool writeEntranceDoor(const std::shared_ptr<bg::Room>& room, int level);
    // Interior doors of the room's adjacencies on the level; a pair whose door
    // finds no host wall enters `unhosted` (its key and a warning).
    void writeInteriorDoors(const std::shared_ptr<bg::Room>& room, int level,
                            std::map<std::string, std::string>& unhosted);
    void writeWindow(const std::shared_ptr<bg::Room>& room, int level);
};

} // namespace bgexport
