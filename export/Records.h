#pragma once

// What the storey exporter keeps of every element it wrote: the entities and
// the geometry that the relations, connections and space boundaries read
// afterwards. Geometry is read back from the placements written, so a record
// always agrees with the file.

#include "geometry/Polygon.h"
#include "ifc/Attributes.h"
#include "ifc/Placement.h"

#include <array>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace bg {
class Floor;
}
namespace ifc {
class Writer;
}

namespace bgexport {

using ifc::EntityPtr;
// A space (or an external element) and the segment of a face it sees.
using FaceOfSpace = std::pair<EntityPtr, std::vector<Vec2>>;

// Connection code at a wall end that meets no other wall.
constexpr int noConnection = 5;

// The attribute at index (0-based) of an entity already written, as a
// reference or a text; std::runtime_error "Conversion failed" for another kind.
EntityPtr readReference(const EntityPtr& entity, std::size_t index);
std::string readText(const EntityPtr& entity, std::size_t index);
// An entity's Name (its third attribute).
std::string readEntityName(const EntityPtr& entity);
// The RelativePlacement of an IFCLOCALPLACEMENT, read as an axis placement.
AxisPlacement readRelativePlacement(const EntityPtr& localPlacement);

// Components below 1e-8 in magnitude become 0.
Vec2 snapped(Vec2 v);

struct SlabRecord {
    SlabRecord(const EntityPtr& slab, const EntityPtr& storey, std::vector<Vec2> outline, double thickness, int kind,
               ifc::Writer* writer);

    int level = 0;
    ifc::Writer* writer = nullptr;
    int kind = 0;
    EntityPtr entity;
    EntityPtr placement; // the slab's ObjectPlacement
    EntityPtr storey;
    std::shared_ptr<bg::Floor> floor;
    std::vector<Vec2> outline; // storey coordinates, clockwise
    double thickness = 0.0;
};

struct WallRecord {
    WallRecord(const EntityPtr& wall, const EntityPtr& placement, int level, const EntityPtr& storey, double length,
               double thickness, double height, ifc::Writer* writer, int isExterior);

    ifc::Writer* writer = nullptr;
    int level = 0;
    EntityPtr entity;
    EntityPtr placement;
    EntityPtr storey;
    std::shared_ptr<bg::Floor> floor;
    int isExterior = 0;
    double length = 0.0;
    double thickness = 0.0;
    double height = 0.0;
    // Start right, start left, end left, end right (left = along the normal).
    std::array<Vec2, 4> corners;
    Vec2 start;
    Vec2 direction;
    Vec2 normal; // the left normal
    std::vector<FaceOfSpace> spaceBoundaries;
    std::vector<FaceOfSpace> externalBoundaries;
    int startConnection = noConnection;
    int endConnection = noConnection;
};

struct SpaceRecord {
    SpaceRecord(const EntityPtr& space, const EntityPtr& storey, ifc::Writer* writer, std::vector<Vec2> contour);

    int level = 0;
    ifc::Writer* writer = nullptr;
    EntityPtr entity;
    EntityPtr storey;
    std::shared_ptr<bg::Floor> floor;
    EntityPtr placement;
    std::vector<Vec2> contour; // the room's inner contour, storey coordinates
    Vec2 origin;               // the space placement's location
};

// Where a door or window sits, read back from its placement chain (element in
// opening in wall): the element's frame in the storey.
struct FillingGeometry {
    FillingGeometry(const EntityPtr& placement);

    Vec2 location;
    Vec2 direction; // along the wall
    Vec2 normal;
    AxisPlacement storeyPlacement;
};

struct DoorRecord {
    DoorRecord(const EntityPtr& door, const EntityPtr& placement, double width, double thickness, double height,
               const EntityPtr& wall, ifc::Writer* writer);

    int level = 0;
    ifc::Writer* writer = nullptr;
    EntityPtr entity;
    EntityPtr placement;
    EntityPtr wall;
    EntityPtr parentBoundary;
    EntityPtr outerParentBoundary;
    std::vector<FaceOfSpace> spaceFaces;
    Vec2 location;
    Vec2 direction;
    Vec2 normal;
    AxisPlacement storeyPlacement;
    double height = 0.0;
    double thickness = 0.0;
    double width = 0.0;
    std::shared_ptr<bg::Floor> floor;
};

struct WindowRecord {
    WindowRecord(const EntityPtr& window, const EntityPtr& placement, double width, double thickness, double height,
                 double cillHeight, const EntityPtr& wall, ifc::Writer* writer);

    int level = 0;
    ifc::Writer* writer = nullptr;
    EntityPtr entity;
    EntityPtr placement;
    EntityPtr wall;
    EntityPtr parentBoundary;
    EntityPtr outerParentBoundary;
    FaceOfSpace spaceFace;
    Vec2 location;
    Vec2 direction;
    Vec2 normal;
    AxisPlacement storeyPlacement;
    double height = 0.0;
    double thickness = 0.0;
    double width = 0.0;
    double cillHeight = 0.0;
    std::shared_ptr<bg::Floor> floor;
};

// The common part of two axis-parallel segments on one line (within 1e-4),
// at a's line coordinate with the smaller coordinate first. Segments that
// only meet end to end, lie on different lines or run different ways do not
// overlap. out is emptied in every case.
bool overlapSegments(std::vector<Vec2> a, std::vector<Vec2> b, std::vector<Vec2>& out);

} // namespace bgexport
