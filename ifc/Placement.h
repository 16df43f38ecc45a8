#pragma once

#include "step/Entity.h"

#include <memory>
#include <vector>

// A 3-D point or direction in metres, in the building's coordinates with z up.
struct Vec3D {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;

    Vec3D() = default;
    Vec3D(double x, double y, double z) : x(x), y(y), z(z) {}
};

// Exactly three vectors, as the attributes of IFCAXIS2PLACEMENT3D: location,
// axis (local z) and reference direction (local x).
using AxisPlacement = std::vector<Vec3D>;

namespace ifc {

Vec3D cross(const Vec3D& a, const Vec3D& b);
// v / |v|; the zero vector stays (0, 0, 0).
Vec3D normalize(const Vec3D& v);

// The first attribute of the entity as a list ("Conversion failed" when it is
// something else).
std::shared_ptr<step::List> firstAttributeAsList(const std::shared_ptr<step::Entity>& entity);
// The first three coordinates of an IFCCARTESIANPOINT or IFCDIRECTION; a
// shorter list raises std::out_of_range "invalid vector subscript".
Vec3D readCartesianPoint(const std::shared_ptr<step::Entity>& entity);
// Location as written, axis and reference direction normalised.
AxisPlacement readAxis2Placement(const std::shared_ptr<step::Entity>& entity);

// The child placement expressed in the frame in which the parent is given.
// The parent's reference direction is not made perpendicular to its axis.
AxisPlacement composePlacement(const AxisPlacement& parent, const AxisPlacement& child);
AxisPlacement composeAxis2Placements(const std::shared_ptr<step::Entity>& parent,
                                     const std::shared_ptr<step::Entity>& child);
AxisPlacement composeWithAxis2Placement(const AxisPlacement& parent, const std::shared_ptr<step::Entity>& child);

} // namespace ifc
