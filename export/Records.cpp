#include "export/Records.h"

#include "step/Reader.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <stdexcept>

namespace bgexport {

namespace {

std::shared_ptr<step::Parameter> attribute(const EntityPtr& entity, std::size_t index)
{
    if (!entity || index >= entity->parameters.size())
        throw std::runtime_error("Conversion failed");
    return *std::next(entity->parameters.begin(), static_cast<std::ptrdiff_t>(index));
}

Vec2 unit(const Vec2& v)
{
    const double length = std::hypot(v.x, v.y);
    return length == 0.0 ? Vec2(0.0, 0.0) : Vec2(v.x / length, v.y / length);
}

double snap(double value)
{
    return std::fabs(value) < 1e-8 ? 0.0 : value;
}

} // namespace

EntityPtr readReference(const EntityPtr& entity, std::size_t index)
{
    std::shared_ptr<step::Reference> reference;
    step::DefaultForwardingVisitor<step::Reference> reader(&reference);
    attribute(entity, index)->accept(reader);
    return reference->entity;
}

std::string readText(const EntityPtr& entity, std::size_t index)
{
    std::shared_ptr<step::String> text;
    step::DefaultForwardingVisitor<step::String> reader(&text);
    attribute(entity, index)->accept(reader);
    return text->value;
}

std::string readEntityName(const EntityPtr& entity)
{
    return readText(entity, 2);
}

AxisPlacement readRelativePlacement(const EntityPtr& localPlacement)
{
    return ifc::readAxis2Placement(readReference(localPlacement, 1));
}

Vec2 snapped(Vec2 v)
{
    return {snap(v.x), snap(v.y)};
}

SlabRecord::SlabRecord(const EntityPtr& slab, const EntityPtr& storey, std::vector<Vec2> outline, double thickness,
                       int kind, ifc::Writer* writer)
    : writer(writer), kind(kind), entity(slab), placement(readReference(slab, 5)), storey(storey),
      outline(std::move(outline)), thickness(thickness)
{
}

WallRecord::WallRecord(const EntityPtr& wall, const EntityPtr& placement, int level, const EntityPtr& storey,
                       double length, double thickness, double height, ifc::Writer* writer, int isExterior)
    : writer(writer), level(level), entity(wall), placement(placement), storey(storey), isExterior(isExterior),
      length(length), thickness(thickness), height(height)
{
    const AxisPlacement axes = readRelativePlacement(placement);
    start = {axes[0].x, axes[0].y};
    direction = snapped(unit({axes[2].x, axes[2].y}));
    normal = snapped(unit({-direction.y, direction.x}));
    const double half = thickness / 2.0;
    const Vec2 along(direction.x * length, direction.y * length);
    const Vec2 across(normal.x * half, normal.y * half);
    corners = {snapped({start.x - across.x, start.y - across.y}), snapped({start.x + across.x, start.y + across.y}),
               snapped({start.x + along.x + across.x, start.y + along.y + across.y}),
               snapped({start.x + along.x - across.x, start.y + along.y - across.y})};
}

SpaceRecord::SpaceRecord(const EntityPtr& space, const EntityPtr& storey, ifc::Writer* writer,
                         std::vector<Vec2> contour)
    : writer(writer), entity(space), storey(storey), placement(readReference(space, 5)), contour(std::move(contour))
{
    const AxisPlacement axes = readRelativePlacement(placement);
    origin = {axes[0].x, axes[0].y};
}

FillingGeometry::FillingGeometry(const EntityPtr& placement)
{
    // element in opening in wall; the wall's placement is given in the storey.
    const EntityPtr openingPlacement = readReference(placement, 0);
    const EntityPtr wallPlacement = readReference(openingPlacement, 0);
    storeyPlacement = ifc::composePlacement(
        readRelativePlacement(wallPlacement),
        ifc::composePlacement(readRelativePlacement(openingPlacement), readRelativePlacement(placement)));
    location = {storeyPlacement[0].x, storeyPlacement[0].y};
    direction = snapped(unit({storeyPlacement[2].x, storeyPlacement[2].y}));
    normal = snapped(unit({-direction.y, direction.x}));
}

DoorRecord::DoorRecord(const EntityPtr& door, const EntityPtr& placement, double width, double thickness,
                       double height, const EntityPtr& wall, ifc::Writer* writer)
    : writer(writer), entity(door), placement(placement), wall(wall), height(height), thickness(thickness),
      width(width)
{
    const FillingGeometry geometry(placement);
    location = geometry.location;
    direction = geometry.direction;
    normal = geometry.normal;
    storeyPlacement = geometry.storeyPlacement;
}

WindowRecord::WindowRecord(const EntityPtr& window, const EntityPtr& placement, double width, double thickness,
                           double height, double cillHeight, const EntityPtr& wall, ifc::Writer* writer)
    : writer(writer), entity(window), placement(placement), wall(wall), height(height), thickness(thickness),
      width(width), cillHeight(cillHeight)
{
    const FillingGeometry geometry(placement);
    location = geometry.location;
    direction = geometry.direction;
    normal = geometry.normal;
    storeyPlacement = geometry.storeyPlacement;
}

bool overlapSegments(std::vector<Vec2> a, std::vector<Vec2> b, std::vector<Vec2>& out)
{
    out.clear();
    if (a.size() < 2 || b.size() < 2)
        return false;
    const bool aAlongX = a[1].y == a[0].y;
    const bool bAlongX = b[1].y == b[0].y;
    double aMin, aMax, bMin, bMax;
    if (aAlongX) {
        if (!bAlongX || std::fabs(a[0].y - b[0].y) > 1e-4)
            return false;
        aMin = std::min(a[0].x, a[1].x);
        aMax = std::max(a[0].x, a[1].x);
        bMin = std::min(b[0].x, b[1].x);
        bMax = std::max(b[0].x, b[1].x);
    } else {
        if (bAlongX || std::fabs(a[0].x - b[0].x) > 1e-4)
            return false;
        aMin = std::min(a[0].y, a[1].y);
        aMax = std::max(a[0].y, a[1].y);
        bMin = std::min(b[0].y, b[1].y);
        bMax = std::max(b[0].y, b[1].y);
    }
    if (aMin > bMax || bMin > aMax || std::fabs(aMin - bMax) < 1e-4 || std::fabs(bMin - aMax) < 1e-4)
        return false;
    const double lo = std::max(aMin, bMin);
    const double hi = std::min(aMax, bMax);
    if (aAlongX)
        out = {{lo, a[0].y}, {hi, a[0].y}};
    else
        out = {{a[0].x, lo}, {a[0].x, hi}};
    return true;
}

} // namespace bgexport
