// First-level space boundaries: every face of a slab, wall, door or window
// that a space sees, and the outer faces of the shell towards "Air" and
// "Earth" when those exist. Faces seen from a space are given in the space's
// own frame; outer faces in world coordinates.

#include "export/IfcStoryExporter.h"

#include "model/Building.h"

#include <clipper2/clipper.h>

#include <cmath>
#include <functional>

namespace bgexport {

namespace {

// The outer paths of subject minus clip with their holes (precision 0.1 mm,
// non-zero fill): each entry an outline followed by its holes.
std::vector<std::list<Polygon>> outlineDifference(const std::vector<Vec2>& subject, const std::vector<Vec2>& clip)
{
    auto toPath = [](const std::vector<Vec2>& points) {
        Clipper2Lib::PathD path;
        for (const Vec2& p : points)
            path.emplace_back(p.x, p.y);
        return path;
    };
    Clipper2Lib::ClipperD clipper(4);
    clipper.AddSubject({toPath(subject)});
    clipper.AddClip({toPath(clip)});
    Clipper2Lib::PolyTreeD tree;
    std::vector<std::list<Polygon>> faces;
    if (!clipper.Execute(Clipper2Lib::ClipType::Difference, Clipper2Lib::FillRule::NonZero, tree))
        return faces;
    std::function<void(const Clipper2Lib::PolyPathD&)> collect = [&](const Clipper2Lib::PolyPathD& node) {
        for (const auto& child : node) {
            std::vector<Vec2> outline;
            for (const auto& p : child->Polygon())
                outline.emplace_back(p.x, p.y);
            std::list<Polygon> face{Polygon(outline)};
            for (const auto& hole : *child) {
                std::vector<Vec2> points;
                for (const auto& p : hole->Polygon())
                    points.emplace_back(p.x, p.y);
                Polygon polygon(points);
                polygon.makeClockwise();
                face.push_back(polygon);
                collect(*hole); // islands inside the hole are faces of their own
            }
            faces.push_back(face);
        }
    };
    collect(tree);
    return faces;
}

std::vector<Vec2> negatedY(std::vector<Vec2> points)
{
    for (Vec2& p : points)
        p.y = -p.y;
    return points;
}

std::vector<Vec2> rectangle(double x0, double y0, double x1, double y1)
{
    return {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
}

std::list<Polygon> single(const std::vector<Vec2>& points)
{
    return {Polygon(points)};
}

Vec2 unitOf(const Vec2& d)
{
    const double length = std::hypot(d.x, d.y);
    return length == 0.0 ? Vec2(0.0, 0.0) : Vec2(d.x / length, d.y / length);
}

} // namespace

AxisPlacement IfcStoryExporter::buildingFrame()
{
    return ifc::composeAxis2Placements(readReference(writer->sitePlacement, 1),
                                       readReference(writer->buildingPlacement, 1));
}

AxisPlacement IfcStoryExporter::storeyFrame()
{
    return ifc::composeWithAxis2Placement(buildingFrame(), readReference(writer->storeyPlacement, 1));
}

EntityPtr IfcStoryExporter::writeFirstLevelBoundary(const EntityPtr& relating, const EntityPtr& element,
                                                    const EntityPtr& geometry, int flag, const EntityPtr& parent)
{
    if (settings->enableNewIfc4SpaceBoundary)
        return writer->writeSpaceBoundary1stLevel(relating, element, geometry, "PHYSICAL", flag, parent);
    return writer->writeRelSpaceBoundary("1stLevel", "", relating, element, geometry, "PHYSICAL", flag);
}

void IfcStoryExporter::writeFirstLevelSlabBoundaries()
{
    const AxisPlacement building = buildingFrame();
    // An outer face in world coordinates: the building frame with a local
    // placement of absolute height.
    auto world = [&](const Vec3D& location, const Vec3D& axis, const Vec3D& reference,
                     const std::list<Polygon>& outline) {
        const AxisPlacement placed = ifc::composePlacement(building, {location, axis, reference});
        return writer->writeConnectionGeometry(placed[0], placed[1], placed[2], outline);
    };
    for (const auto& [slabEntity, slab] : slabs) {
        const double slabHeight = slab.floor->height;
        for (const auto& [spaceEntity, space] : spaces) {
            std::vector<Vec2> rel;
            for (const Vec2& p : space.contour)
                rel.emplace_back(p.x - space.origin.x, p.y - space.origin.y);
            EntityPtr geometry;
            int flag = 1;
            if (slab.level == space.level && slab.kind == 1) {
                geometry = writer->writeConnectionGeometry({0, 0, slabHeight}, {0, 0, 1}, {1, 0, 0}, single(rel));
            } else if (slab.level == space.level) {
                geometry = writer->writeConnectionGeometry({0, 0, 0}, {0, 0, -1}, {1, 0, 0}, single(negatedY(rel)));
                flag = slab.kind == 0 ? 0 : 1;
            } else if (static_cast<long long>(slab.level) - 1 == space.level && slab.kind == 0) {
                geometry = writer->writeConnectionGeometry({0, 0, space.floor->height}, {0, 0, 1}, {1, 0, 0},
                                                           single(rel));
                flag = 0; // a floor between two storeys is inside the building
            } else {
                continue;
            }
            writeFirstLevelBoundary(spaceEntity, slabEntity, geometry, flag, nullptr);
        }

        if (!settings->enableExternalSpatialElement)
            continue;
        const double t = slab.thickness;
        const double* storeyElevation = storeyElevations.find(readEntityName(slab.storey));
        const double e = storeyElevation ? *storeyElevation : slab.floor->elevation;
        const EntityPtr outside = slab.kind == 3 ? earthElement : airElement;
        if (!outside)
            continue;
        // The slab's faces in the plan, at world heights: top and bottom of
        // the body.
        const double top = slab.kind == 1 ? e + slabHeight + t : e;
        const double bottom = top - t;
        if (slab.kind == 1) {
            writeFirstLevelBoundary(outside, slabEntity,
                                    world({0, 0, top}, {0, 0, -1}, {1, 0, 0}, single(negatedY(slab.outline))), 1,
                                    nullptr);
        } else if (slab.kind == 3) {
            writeFirstLevelBoundary(outside, slabEntity,
                                    world({0, 0, bottom}, {0, 0, 1}, {1, 0, 0}, single(slab.outline)), 1, nullptr);
        } else {
            for (const auto& [otherEntity, other] : slabs) {
                if (other.level == static_cast<long long>(slab.level) - 1) {
                    // The underside of the part that overhangs the storey below.
                    for (const auto& face : outlineDifference(slab.outline, other.outline))
                        writeFirstLevelBoundary(outside, slabEntity,
                                                world({0, 0, bottom}, {0, 0, 1}, {1, 0, 0}, face), 1, nullptr);
                } else if (other.level == static_cast<long long>(slab.level) + 1 && other.kind != 1) {
                    // The top of the part that no floor above covers.
                    for (const auto& face : outlineDifference(slab.outline, other.outline)) {
                        std::list<Polygon> flipped;
                        for (const Polygon& polygon : face) {
                            Polygon mirrored(negatedY(polygon.points));
                            if (flipped.empty())
                                mirrored.makeCounterClockwise();
                            else
                                mirrored.makeClockwise();
                            flipped.push_back(mirrored);
                        }
                        writeFirstLevelBoundary(outside, slabEntity,
                                                world({0, 0, top}, {0, 0, -1}, {1, 0, 0}, flipped), 1, nullptr);
                    }
                }
            }
        }
        // The edge faces, from the top down by the thickness.
        for (std::size_t i = 0; i < slab.outline.size(); ++i) {
            const Vec2 a = slab.outline[i];
            const Vec2 b = slab.outline[(i + 1) % slab.outline.size()];
            const double length = std::hypot(b.x - a.x, b.y - a.y);
            if (length < 1e-9)
                continue;
            const Vec2 d = unitOf({b.x - a.x, b.y - a.y});
            writeFirstLevelBoundary(
                outside, slabEntity,
                world({a.x, a.y, top}, {d.y, -d.x, 0}, {d.x, d.y, 0}, single(rectangle(0, 0, length, -t))), 1,
                nullptr);
        }
    }
}

EntityPtr IfcStoryExporter::parentPiece(const EntityPtr& wall, const EntityPtr& space, const std::vector<Vec2>& face)
{
    const std::vector<WallPiece>* pieces = firstLevelWallPieces.find(wall);
    if (!pieces)
        return nullptr;
    std::vector<Vec2> common;
    for (const WallPiece& piece : *pieces)
        if (piece.space == space && overlapSegments(piece.piece, face, common))
            return piece.boundary;
    return nullptr;
}

void IfcStoryExporter::writeFirstLevelWallBoundaries()
{
    for (const auto& [wallEntity, wall] : walls) {
        const double height = wall.floor->height;
        const int flag = readEntityName(wallEntity) == "Exterior Wall" ? 1 : 0;
        const std::vector<std::vector<Vec2>> sides{{wall.corners[0], wall.corners[1]},
                                                   {wall.corners[1], wall.corners[2]},
                                                   {wall.corners[2], wall.corners[3]},
                                                   {wall.corners[3], wall.corners[0]}};
        for (const auto& [spaceEntity, space] : spaces) {
            if (space.level != wall.level)
                continue;
            const auto& contour = space.contour;
            for (const auto& side : sides) {
                for (std::size_t k = 0; k < contour.size(); ++k) {
                    const Vec2 start = contour[k];
                    const Vec2 end = contour[(k + 1) % contour.size()];
                    std::vector<Vec2> piece;
                    if (!overlapSegments(side, {start, end}, piece))
                        continue;
                    // The piece runs the way the contour runs.
                    if (side[0].y == side[1].y) {
                        if (start.x > end.x)
                            std::swap(piece[0].x, piece[1].x);
                    } else if (start.y > end.y) {
                        std::swap(piece[0].y, piece[1].y);
                    }
                    const Vec2 a = piece[0];
                    const Vec2 u = unitOf({piece[1].x - a.x, piece[1].y - a.y});
                    const double length = std::hypot(piece[1].x - a.x, piece[1].y - a.y);
                    const EntityPtr geometry = writer->writeConnectionGeometry(
                        {a.x - space.origin.x, a.y - space.origin.y, 0}, {u.y, -u.x, 0}, {u.x, u.y, 0},
                        single(rectangle(0, 0, length, height)));
                    const EntityPtr boundary = writeFirstLevelBoundary(spaceEntity, wallEntity, geometry, flag, nullptr);
                    firstLevelWallPieces[wallEntity].push_back({spaceEntity, piece, boundary});
                    if (settings->enableNewIfc4SpaceBoundary) {
                        for (auto& [doorEntity, door] : doors)
                            if (door.wall == wallEntity)
                                door.parentBoundary = boundary;
                        for (auto& [windowEntity, window] : windows)
                            if (window.wall == wallEntity)
                                window.parentBoundary = boundary;
                    }
                }
            }
        }
    }

    if (!settings->enableExternalSpatialElement || !airElement)
        return;
    for (const auto& [wallEntity, wall] : walls) {
        if (!wall.isExterior)
            continue;
        const double t = wall.thickness, h = wall.height, length = wall.length;
        const AxisPlacement frame = writer->siteRelativePlacement(wall.placement);
        auto outer = [&](const AxisPlacement& local, const std::vector<Vec2>& outline) {
            const AxisPlacement placed = ifc::composePlacement(frame, local);
            return writeFirstLevelBoundary(airElement, wallEntity,
                                           writer->writeConnectionGeometry(placed[0], placed[1], placed[2],
                                                                           single(outline)),
                                           1, nullptr);
        };
        if (wall.startConnection == 4)
            outer({{0, 0, 0}, {1, 0, 0}, {0, 0, 1}}, rectangle(0, -t / 2, h, t / 2));
        if (wall.endConnection == 4)
            outer({{length, 0, 0}, {-1, 0, 0}, {0, 0, 1}}, rectangle(0, -t / 2, h, t / 2));
        const double x0 = wall.startConnection == 2 ? t : 0.0;
        const double x1 = wall.endConnection == 2 ? length - t : length;
        const EntityPtr boundary = outer({{0, -t / 2, 0}, {0, 1, 0}, {1, 0, 0}}, rectangle(x0, -h, x1, 0));
        if (settings->enableNewIfc4SpaceBoundary) {
            for (auto& [windowEntity, window] : windows)
                if (window.wall == wallEntity)
                    window.outerParentBoundary = boundary;
            for (auto& [doorEntity, door] : doors)
                if (door.wall == wallEntity)
                    door.outerParentBoundary = boundary;
        }
    }
}

void IfcStoryExporter::writeFirstLevelDoorBoundaries()
{
    for (auto& [doorEntity, door] : doors) {
        const WallRecord* wall = walls.find(door.wall);
        if (!wall)
            continue;
        if (door.spaceFaces.empty() && wall->isExterior) {
            // Without a room behind it the door bounds nothing, not even
            // towards the air.
            warnings.push_back("An entrance door that no room touches gets no space boundary.");
            continue;
        }
        for (const auto& [spaceEntity, face] : door.spaceFaces) {
            const SpaceRecord* space = spaces.find(spaceEntity);
            if (!space || face.size() < 2)
                continue;
            Vec2 a = face[0], b = face[1];
            if (wall->isExterior == 1 && ((wall->direction.x == -1.0 && wall->direction.y == 0.0) ||
                                          (wall->direction.x == 0.0 && wall->direction.y == -1.0)))
                std::swap(a, b);
            const Vec2 u = unitOf({b.x - a.x, b.y - a.y});
            const double length = std::hypot(b.x - a.x, b.y - a.y);
            const EntityPtr geometry = writer->writeConnectionGeometry(
                {a.x - space->origin.x, a.y - space->origin.y, 0}, {u.y, -u.x, 0}, {u.x, u.y, 0},
                single(rectangle(0, 0, length, door.height)));
            const EntityPtr parent =
                settings->enableNewIfc4SpaceBoundary ? parentPiece(door.wall, spaceEntity, face) : nullptr;
            writeFirstLevelBoundary(spaceEntity, doorEntity, geometry, 0, parent);
        }
        if (settings->enableExternalSpatialElement && airElement && wall->isExterior == 1) {
            const AxisPlacement placed = ifc::composePlacement(
                writer->siteRelativePlacement(door.placement), {{0, -door.thickness / 2, 0}, {0, 1, 0}, {1, 0, 0}});
            writeFirstLevelBoundary(airElement, doorEntity,
                                    writer->writeConnectionGeometry(placed[0], placed[1], placed[2],
                                                                    single(rectangle(0, -door.height, door.width, 0))),
                                    1, door.outerParentBoundary);
        }
    }
}

void IfcStoryExporter::writeFirstLevelWindowBoundaries()
{
    for (auto& [windowEntity, window] : windows) {
        const SpaceRecord* space = window.spaceFace.first ? spaces.find(window.spaceFace.first) : nullptr;
        if (!space || window.spaceFace.second.size() < 2) {
            // A window no room sees has no room side to bound.
            warnings.push_back("A window that no room touches gets no space boundary.");
            continue;
        }
        const Vec2 a = window.spaceFace.second[0], b = window.spaceFace.second[1];
        const Vec2 u = unitOf({b.x - a.x, b.y - a.y});
        const double length = std::hypot(b.x - a.x, b.y - a.y);
        const double c = window.cillHeight;
        const EntityPtr geometry = writer->writeConnectionGeometry(
            {a.x - space->origin.x, a.y - space->origin.y, 0}, {u.y, -u.x, 0}, {u.x, u.y, 0},
            single(rectangle(0, c, length, c + window.height)));
        const EntityPtr parent = settings->enableNewIfc4SpaceBoundary
                                     ? parentPiece(window.wall, window.spaceFace.first, window.spaceFace.second)
                                     : nullptr;
        writeFirstLevelBoundary(window.spaceFace.first, windowEntity, geometry, 0, parent);
        if (settings->enableExternalSpatialElement && airElement) {
            const AxisPlacement placed =
                ifc::composePlacement(writer->siteRelativePlacement(window.placement),
                                      {{0, -window.thickness / 2, 0}, {0, 1, 0}, {1, 0, 0}});
            writeFirstLevelBoundary(airElement, windowEntity,
                                    writer->writeConnectionGeometry(
                                        placed[0], placed[1], placed[2],
                                        single(rectangle(0, -window.height, window.width, 0))),
                                    1, window.outerParentBoundary);
        }
    }
}

} // namespace bgexport
