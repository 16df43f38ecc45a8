#include "ifc/Writer.h"

#include "ifc/IfcNames.h"

#include <functional>
#include <stdexcept>

namespace ifc {

EntityPtr Writer::writeCartesianPoint(const Vec3D& p)
{
    auto e = create(IFCCARTESIANPOINT);
    e->add(toCoordinateList(p));
    return hand(e);
}

EntityPtr Writer::writeCartesianPoint2D(const Vec2& p)
{
    auto e = create(IFCCARTESIANPOINT);
    e->add(toCoordinateList2D(p));
    return hand(e);
}

EntityPtr Writer::writeDirection(const Vec3D& d)
{
    auto e = create(IFCDIRECTION);
    e->add(toCoordinateList(d));
    return hand(e);
}

EntityPtr Writer::writeDirection2D(const Vec2& d)
{
    auto e = create(IFCDIRECTION);
    e->add(toCoordinateList2D({d.x, -d.y}));
    return hand(e);
}

EntityPtr Writer::writeAxis2Placement3D(const EntityPtr& location, const EntityPtr& axis,
                                        const EntityPtr& refDirection)
{
    auto e = create(IFCAXIS2PLACEMENT3D);
    // Never left unset: readers of the placement rely on both directions.
    const EntityPtr z = axis ? axis : writeDirection({0.0, 0.0, 1.0});
    const EntityPtr x = refDirection ? refDirection : writeDirection({1.0, 0.0, 0.0});
    addReference(e, location);
    addReference(e, z);
    addReference(e, x);
    return hand(e);
}

EntityPtr Writer::writeAxisPlacement(const Vec3D& location, const Vec3D& axis, const Vec3D& refDirection)
{
    const EntityPtr x = writeDirection(refDirection);
    const EntityPtr z = writeDirection(axis);
    const EntityPtr point = writeCartesianPoint(location);
    return writeAxis2Placement3D(point, z, x);
}

EntityPtr Writer::writePlacement(const AxisPlacement& placement)
{
    return writeAxisPlacement(placement.at(0), placement.at(1), placement.at(2));
}

EntityPtr Writer::writeOriginPlacement()
{
    return writePointPlacement({0.0, 0.0, 0.0});
}

EntityPtr Writer::writePointPlacement(const Vec3D& location)
{
    const EntityPtr point = writeCartesianPoint(location);
    return writeAxis2Placement3D(point, nullptr, nullptr);
}

EntityPtr Writer::writePlane(const EntityPtr& position)
{
    auto e = create(IFCPLANE);
    addReference(e, position);
    return hand(e);
}

EntityPtr Writer::writeLocalPlacement(const EntityPtr& relativeTo, const EntityPtr& relativePlacement)
{
    auto e = create(IFCLOCALPLACEMENT);
    addReferenceOrNull(e, relativeTo);
    addReference(e, relativePlacement);
    return hand(e);
}

EntityPtr Writer::addOriginPlacement(const EntityPtr& product, const EntityPtr& relativeTo)
{
    const EntityPtr placement = writeLocalPlacement(relativeTo, worldCoordinateSystem);
    addReference(product, placement);
    return placement;
}

EntityPtr Writer::addPlacement(const EntityPtr& product, const EntityPtr& relativeTo, const Vec3D& position)
{
    // Created before its axes, so that it keeps the lower number that written
    // files have always given it (writeLocalPlacement numbers the axes first).
    auto placement = create(IFCLOCALPLACEMENT);
    const EntityPtr axes = writeAxisPlacement(position, {0.0, 0.0, 1.0}, {1.0, 0.0, 0.0});
    addReferenceOrNull(placement, relativeTo);
    addReference(placement, axes);
    hand(placement);
    addReference(product, placement);
    return placement;
}

namespace {

// The points of a closed polyline: every point of the polygon, then the
// first one again as an entity of its own.
EntityList closedPolylinePoints(const Polygon& polygon, const std::function<EntityPtr(const Vec2&)>& writePoint)
{
    if (polygon.points.empty())
        throw std::invalid_argument("Cannot write a polyline without points");
    EntityList points;
    for (const Vec2& p : polygon.points)
        points.push_back(writePoint(p));
    points.push_back(writePoint(polygon.points.front()));
    return points;
}

} // namespace

EntityPtr Writer::writePolyline2D(const Polygon& polygon)
{
    return writePolylineOfPoints(
        closedPolylinePoints(polygon, [this](const Vec2& p) { return writeCartesianPoint2D(p); }));
}

EntityPtr Writer::writePolyline(const Polygon& polygon, double z)
{
    return writePolylineOfPoints(
        closedPolylinePoints(polygon, [this, z](const Vec2& p) { return writeCartesianPoint({p.x, p.y, z}); }));
}

EntityPtr Writer::writePolylineOfPoints(const EntityList& points)
{
    auto e = create(IFCPOLYLINE);
    e->add(toReferenceList(points));
    return hand(e);
}

EntityPtr Writer::writeProfile(const std::list<Polygon>& profile)
{
    if (profile.empty())
        throw std::invalid_argument("Cannot write a profile without polygons");
    if (profile.size() == 1) {
        const EntityPtr outline = writePolyline2D(profile.front());
        auto e = create(IFCARBITRARYCLOSEDPROFILEDEF);
        addEnumeration(e, "AREA");
        addNull(e);
        addReference(e, outline);
        return hand(e);
    }

    bool hasOutline = false;
    for (const Polygon& polygon : profile)
        hasOutline = hasOutline || polygon.counterClockwise == 1;
    if (!hasOutline)
        throw std::invalid_argument("A profile with holes needs a counter-clockwise outline");

    EntityPtr outer;
    auto inner = std::make_shared<step::Set>();
    for (const Polygon& polygon : profile) {
        const EntityPtr curve = writePolyline2D(polygon);
        if (polygon.counterClockwise == 1)
            outer = curve;
        else
            inner->add(std::make_shared<step::Reference>(curve));
    }
    auto e = create(IFCARBITRARYPROFILEDEFWITHVOIDS);
    addEnumeration(e, "AREA");
    addNull(e);
    addReference(e, outer);
    e->add(inner);
    return hand(e);
}

EntityPtr Writer::writeExtrudedAreaSolid(const std::list<Polygon>& profile, const EntityPtr& position,
                                         const Vec3D& direction, double depth)
{
    const EntityPtr area = writeProfile(profile);
    auto e = create(IFCEXTRUDEDAREASOLID);
    const EntityPtr extrusion = writeDirection(direction);
    addReference(e, area);
    addReference(e, position);
    addReference(e, extrusion);
    addReal(e, depth);
    solid = hand(e);
    representationItems->add(std::make_shared<step::Reference>(solid));
    return solid;
}

EntityPtr Writer::writeRepresentationMap(const EntityPtr& representation)
{
    auto e = create(IFCREPRESENTATIONMAP);
    addReference(e, writeOriginPlacement());
    addReference(e, representation);
    pendingRepresentations.remove(representation);
    return hand(e);
}

EntityPtr Writer::writeExtrusionAt(const std::list<Polygon>& profile, const Vec3D& location, const Vec3D& direction,
                                   double depth)
{
    const EntityPtr position = writePointPlacement(location);
    return writeExtrudedAreaSolid(profile, position, direction, depth);
}

void Writer::startRepresentationItems()
{
    representationItems = std::make_shared<step::Set>();
}

EntityPtr Writer::writeShapeRepresentation(const std::string& identifier, const std::string& type)
{
    auto e = create(IFCSHAPEREPRESENTATION);
    addReferenceOrNull(e, currentContext);
    addText(e, identifier);
    addText(e, type);
    e->add(representationItems);
    shapeRepresentation = hand(e);
    startRepresentationItems();
    pendingRepresentations.push_back(shapeRepresentation);
    return shapeRepresentation;
}

EntityPtr Writer::writeMappedItem(const EntityPtr& source, const EntityPtr& target)
{
    auto e = create(IFCMAPPEDITEM);
    addReference(e, source);
    addReference(e, target);
    hand(e);
    representationItems->add(std::make_shared<step::Reference>(e));
    return e;
}

EntityPtr Writer::addRepresentation(const EntityPtr& product)
{
    if (pendingRepresentations.empty()) {
        addNull(product);
        return nullptr;
    }
    auto e = create(IFCPRODUCTDEFINITIONSHAPE);
    addNulls(e, 2);
    e->add(toReferenceList(pendingRepresentations));
    hand(e);
    addReference(product, e);
    pendingRepresentations.clear();
    return e;
}

EntityPtr Writer::writeIdentityTransformation()
{
    auto e = create(IFCCARTESIANTRANSFORMATIONOPERATOR3D);
    const EntityPtr origin = writeCartesianPoint({0.0, 0.0, 0.0});
    addNulls(e, 2);
    addReference(e, origin);
    addNulls(e, 2);
    return hand(e);
}

EntityPtr Writer::writeNonUniformTransformation(double scale, double scale3, double scale2)
{
    auto e = create(IFCCARTESIANTRANSFORMATIONOPERATOR3DNONUNIFORM);
    const EntityPtr origin = writeCartesianPoint({0.0, 0.0, 0.0});
    addNulls(e, 2);
    addReference(e, origin);
    addReal(e, scale);
    addNull(e);
    addReal(e, scale2);
    addReal(e, scale3);
    return hand(e);
}

EntityPtr Writer::writeCurveBoundedPlane(const EntityPtr& plane, const EntityPtr& outerBoundary)
{
    return writeCurveBoundedPlaneWithHoles(plane, outerBoundary, std::make_shared<step::Set>());
}

EntityPtr Writer::writeCurveBoundedPlaneWithHoles(const EntityPtr& plane, const EntityPtr& outerBoundary,
                                                  const std::shared_ptr<step::Set>& innerBoundaries)
{
    auto e = create(IFCCURVEBOUNDEDPLANE);
    addReference(e, plane);
    addReference(e, outerBoundary);
    e->add(innerBoundaries);
    return hand(e);
}

EntityPtr Writer::writeConnectionSurfaceGeometry(const EntityPtr& surface)
{
    auto e = create(IFCCONNECTIONSURFACEGEOMETRY);
    addReference(e, surface);
    addNull(e);
    return hand(e);
}

EntityPtr Writer::writeBoundarySurface(const EntityPtr& position, const std::list<Polygon>& polygons)
{
    if (polygons.empty())
        throw std::invalid_argument("Cannot write a boundary surface without polygons");
    const EntityPtr outer = writePolyline2D(polygons.front());
    auto inner = std::make_shared<step::Set>();
    for (auto it = std::next(polygons.begin()); it != polygons.end(); ++it)
        inner->add(std::make_shared<step::Reference>(writePolyline2D(*it)));
    const EntityPtr plane = writePlane(position);
    return writeConnectionSurfaceGeometry(writeCurveBoundedPlaneWithHoles(plane, outer, inner));
}

EntityPtr Writer::writeConnectionGeometry(const Vec3D& location, const Vec3D& axis, const Vec3D& refDirection,
                                          const std::list<Polygon>& polygons)
{
    const EntityPtr position = writeAxisPlacement(location, axis, refDirection);
    return writeBoundarySurface(position, polygons);
}

} // namespace ifc
