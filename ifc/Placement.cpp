#include "ifc/Placement.h"

#include "ifc/Writer.h"
#include "step/Reader.h"

#include <cmath>
#include <iterator>
#include <stdexcept>

namespace ifc {

namespace {

const std::shared_ptr<step::Parameter>& attributeAt(const std::shared_ptr<step::Entity>& entity, std::size_t index)
{
    if (index >= entity->parameters.size())
        throw std::out_of_range("invalid vector subscript");
    return *std::next(entity->parameters.begin(), static_cast<std::ptrdiff_t>(index));
}

std::shared_ptr<step::Entity> referencedEntity(const std::shared_ptr<step::Entity>& entity, std::size_t index)
{
    std::shared_ptr<step::Reference> reference;
    step::DefaultForwardingVisitor<step::Reference> reader(&reference);
    attributeAt(entity, index)->accept(reader);
    return reference->entity;
}

Vec3D plus(const Vec3D& a, const Vec3D& b)
{
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}

Vec3D scaled(const Vec3D& v, double s)
{
    return {v.x * s, v.y * s, v.z * s};
}

// The vector v given in the frame (x, y, z), in the frame's parent.
Vec3D inFrame(const Vec3D& v, const Vec3D& x, const Vec3D& y, const Vec3D& z)
{
    return plus(plus(scaled(x, v.x), scaled(y, v.y)), scaled(z, v.z));
}

} // namespace

Vec3D cross(const Vec3D& a, const Vec3D& b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

Vec3D normalize(const Vec3D& v)
{
    const double length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    if (length == 0.0)
        return {0.0, 0.0, 0.0};
    return {v.x / length, v.y / length, v.z / length};
}

std::shared_ptr<step::List> firstAttributeAsList(const std::shared_ptr<step::Entity>& entity)
{
    std::shared_ptr<step::List> list;
    step::DefaultForwardingVisitor<step::List> reader(&list);
    attributeAt(entity, 0)->accept(reader);
    return list;
}

Vec3D readCartesianPoint(const std::shared_ptr<step::Entity>& entity)
{
    const std::shared_ptr<step::List> list = firstAttributeAsList(entity);
    double coordinates[3];
    for (std::size_t i = 0; i < 3; ++i) {
        if (i >= list->items.size())
            throw std::out_of_range("invalid vector subscript");
        std::shared_ptr<step::Real> real;
        step::DefaultForwardingVisitor<step::Real> reader(&real);
        list->items[i]->accept(reader);
        coordinates[i] = real->value;
    }
    return {coordinates[0], coordinates[1], coordinates[2]};
}

AxisPlacement readAxis2Placement(const std::shared_ptr<step::Entity>& entity)
{
    return {readCartesianPoint(referencedEntity(entity, 0)), normalize(readCartesianPoint(referencedEntity(entity, 1))),
            normalize(readCartesianPoint(referencedEntity(entity, 2)))};
}

AxisPlacement composePlacement(const AxisPlacement& parent, const AxisPlacement& child)
{
    const Vec3D z = normalize(parent.at(1));
    const Vec3D x = normalize(parent.at(2));
    const Vec3D y = normalize(cross(z, x));
    return {plus(parent.at(0), inFrame(child.at(0), x, y, z)), normalize(inFrame(normalize(child.at(1)), x, y, z)),
            normalize(inFrame(normalize(child.at(2)), x, y, z))};
}

AxisPlacement composeAxis2Placements(const std::shared_ptr<step::Entity>& parent,
                                     const std::shared_ptr<step::Entity>& child)
{
    return composePlacement(readAxis2Placement(parent), readAxis2Placement(child));
}

AxisPlacement composeWithAxis2Placement(const AxisPlacement& parent, const std::shared_ptr<step::Entity>& child)
{
    return composePlacement(parent, readAxis2Placement(child));
}

AxisPlacement Writer::siteRelativePlacement(const EntityPtr& localPlacement)
{
    if (localPlacement == sitePlacement)
        return readAxis2Placement(referencedEntity(localPlacement, 1));
    return composePlacementChain(referencedEntity(localPlacement, 0),
                                 readAxis2Placement(referencedEntity(localPlacement, 1)));
}

// The site's own relative placement is not applied: the site frame is the
// world frame.
AxisPlacement Writer::composePlacementChain(const EntityPtr& localPlacement, const AxisPlacement& accumulated)
{
    if (localPlacement == sitePlacement)
        return accumulated;
    const AxisPlacement parent = readAxis2Placement(referencedEntity(localPlacement, 1));
    return composePlacementChain(referencedEntity(localPlacement, 0), composePlacement(parent, accumulated));
}

} // namespace ifc
