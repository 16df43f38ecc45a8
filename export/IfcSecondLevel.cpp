// Second-level space boundaries: the faces of slabs, walls, doors and windows
// split by what lies on their other side, as pairs where a space or "Air" is
// there and single boundaries where another element is.

#include "export/IfcStoryExporter.h"

#include "geometry/LayoutGeometry.h"
#include "model/Building.h"

#include <clipper2/clipper.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <iomanip>
#include <sstream>

namespace bgexport {

namespace {

using Segment2 = std::vector<Vec2>;

std::vector<Vec2> negatedY(std::vector<Vec2> points)
{
    for (Vec2& p : points)
        p.y = -p.y;
    return points;
}

std::vector<Vec2> shifted(const std::vector<Vec2>& points, const Vec2& by)
{
    std::vector<Vec2> result;
    for (const Vec2& p : points)
        result.emplace_back(p.x + by.x, p.y + by.y);
    return result;
}

Vec2 plus(const Vec2& a, const Vec2& b, double scale = 1.0)
{
    return {a.x + b.x * scale, a.y + b.y * scale};
}

double ringPerimeterOf(const std::vector<Vec2>& ring)
{
    double length = 0.0;
    for (std::size_t i = 0; i < ring.size(); ++i)
        length += std::hypot(ring[(i + 1) % ring.size()].x - ring[i].x, ring[(i + 1) % ring.size()].y - ring[i].y);
    return length;
}

// The short side of the rectangle with the piece's area and perimeter: the
// width of a thin piece, whatever its shape.
double pieceWidth(const std::vector<std::vector<Vec2>>& piece, double& area)
{
    area = std::fabs(twiceSignedArea(piece[0])) / 2.0;
    double perimeter = ringPerimeterOf(piece[0]);
    for (std::size_t k = 1; k < piece.size(); ++k) {
        area -= std::fabs(twiceSignedArea(piece[k])) / 2.0;
        perimeter += ringPerimeterOf(piece[k]);
    }
    const double half = perimeter / 2.0;
    return (half - std::sqrt(std::max(0.0, half * half - 4.0 * area))) / 2.0;
}

// Outline pieces of a clipping (precision 1e-8, even-odd fill), each an
// outline followed by its holes in plan coordinates; the subject is an
// outline with its holes. Pieces narrower than sliverWidth are rounding
// left-overs, no surface: they are counted into `slivers` and left out.
std::vector<std::vector<std::vector<Vec2>>> clip(const std::vector<std::vector<Vec2>>& subject,
                                                 const std::vector<Vec2>& by, Clipper2Lib::ClipType type,
                                                 Slivers& slivers)
{
    auto toPath = [](const std::vector<Vec2>& points) {
        Clipper2Lib::PathD path;
        for (const Vec2& p : points)
            path.emplace_back(p.x, p.y);
        return path;
    };
    std::vector<std::vector<std::vector<Vec2>>> pieces;
    if (subject.empty() || subject[0].size() < 3 || by.size() < 3)
        return pieces;
    Clipper2Lib::ClipperD clipper(8);
    Clipper2Lib::PathsD subjectPaths;
    for (const std::vector<Vec2>& ring : subject)
        subjectPaths.push_back(toPath(ring));
    clipper.AddSubject(subjectPaths);
    clipper.AddClip({toPath(by)});
    Clipper2Lib::PolyTreeD tree;
    if (!clipper.Execute(type, Clipper2Lib::FillRule::EvenOdd, tree))
        return pieces;
    std::function<void(const Clipper2Lib::PolyPathD&)> collect = [&](const Clipper2Lib::PolyPathD& node) {
        for (const auto& child : node) {
            std::vector<std::vector<Vec2>> piece(1);
            for (const auto& p : child->Polygon())
                piece[0].emplace_back(p.x, p.y);
            for (const auto& hole : *child) {
                piece.emplace_back();
                for (const auto& p : hole->Polygon())
                    piece.back().emplace_back(p.x, p.y);
                collect(*hole);
            }
            double area = 0.0;
            if (std::fabs(twiceSignedArea(piece[0])) <= 1e-12)
                continue;
            if (pieceWidth(piece, area) < sliverWidth) {
                ++slivers.count;
                slivers.area += std::max(0.0, area);
                continue;
            }
            pieces.push_back(piece);
        }
    };
    collect(tree);
    return pieces;
}

std::vector<std::vector<std::vector<Vec2>>> clip(const std::vector<Vec2>& subject, const std::vector<Vec2>& by,
                                                 Clipper2Lib::ClipType type, Slivers& slivers)
{
    return clip(std::vector<std::vector<Vec2>>{subject}, by, type, slivers);
}

// A horizontal face: the piece moved by `by`, mirrored for a face looking
// down, an outline with clockwise holes.
std::list<Polygon> horizontal(const std::vector<std::vector<Vec2>>& piece, const Vec2& by, bool down)
{
    std::list<Polygon> polygons;
    for (const auto& ring : piece) {
        std::vector<Vec2> points = shifted(ring, by);
        Polygon polygon(down ? negatedY(points) : points);
        if (!polygons.empty())
            polygon.makeClockwise();
        polygons.push_back(polygon);
    }
    return polygons;
}

std::array<Segment2, 4> faces(const WallRecord& w)
{
    // left, right, start, end
    return {Segment2{w.corners[1], w.corners[2]}, Segment2{w.corners[3], w.corners[0]},
            Segment2{w.corners[0], w.corners[1]}, Segment2{w.corners[2], w.corners[3]}};
}

std::vector<Vec2> footprint(const WallRecord& w)
{
    return {w.corners[0], w.corners[1], w.corners[2], w.corners[3]};
}

} // namespace

EntityPtr IfcStoryExporter::writeSecondLevelSingle(const std::string& description, const Side& side,
                                                   const EntityPtr& element, int flag)
{
    if (!side.relating)
        return nullptr;
    const EntityPtr geometry = side.geometry();
    if (!settings->enableNewIfc4SpaceBoundary)
        return writer->writeRelSpaceBoundary("2ndLevel", description, side.relating, element, geometry, "PHYSICAL",
                                             flag);
    return writer->writeSpaceBoundary2ndLevel(description, side.relating, element, geometry, "PHYSICAL", flag,
                                              side.parent, nullptr);
}

std::pair<EntityPtr, EntityPtr> IfcStoryExporter::writeSecondLevelPair(const std::string& description,
                                                                       const Side& first, const Side& second,
                                                                       const EntityPtr& element, int flag)
{
    if (!second.relating)
        return {writeSecondLevelSingle(description, first, element, flag), nullptr};
    const EntityPtr firstGeometry = first.geometry();
    const EntityPtr secondGeometry = second.geometry();
    if (!settings->enableNewIfc4SpaceBoundary)
        return {writer->writeRelSpaceBoundary("2ndLevel", description, first.relating, element, firstGeometry,
                                              "PHYSICAL", flag),
                writer->writeRelSpaceBoundary("2ndLevel", description, second.relating, element, secondGeometry,
                                              "PHYSICAL", flag)};
    const EntityPtr a = writer->createSpaceBoundary2ndLevel(description, first.relating, element, firstGeometry,
                                                            "PHYSICAL", flag, first.parent);
    if (!a)
        return {writer->writeSpaceBoundary2ndLevel(description, first.relating, element, firstGeometry, "PHYSICAL",
                                                   flag, first.parent, nullptr),
                writer->writeSpaceBoundary2ndLevel(description, second.relating, element, secondGeometry,
                                                   "PHYSICAL", flag, second.parent, nullptr)};
    const EntityPtr b = writer->createSpaceBoundary2ndLevel(description, second.relating, element, secondGeometry,
                                                            "PHYSICAL", flag, second.parent);
    writer->completeSpaceBoundary(a, b);
    writer->completeSpaceBoundary(b, a);
    return {a, b};
}

void IfcStoryExporter::reportSlivers()
{
    if (slivers.count == 0)
        return;
    std::ostringstream text;
    text << slivers.count << " space boundary piece(s) narrower than " << sliverWidth * 1000.0
         << " mm are left out, " << std::setprecision(3) << slivers.area << " m2 in all.";
    warnings.push_back(text.str());
}

void IfcStoryExporter::writeSecondLevelSlabBoundaries()
{
    const bool external = settings->enableExternalSpatialElement;
    const EntityPtr air = external ? airElement : nullptr;
    const EntityPtr earth = external ? earthElement : nullptr;
    auto flat = [this](double z, bool down, const std::list<Polygon>& outline) {
        return [this, z, down, outline] {
            return writer->writeConnectionGeometry({0, 0, z}, {0, 0, down ? -1.0 : 1.0}, {1, 0, 0}, outline);
        };
    };
    auto upright = [this](const Vec2& a, const Vec2& b, double z, double v) {
        return [this, a, b, z, v] {
            const double length = std::hypot(b.x - a.x, b.y - a.y);
            const Vec2 d((b.x - a.x) / length, (b.y - a.y) / length);
            return writer->writeConnectionGeometry({a.x, a.y, z}, {d.y, -d.x, 0}, {d.x, d.y, 0},
                                                   {Polygon({{0, 0}, {length, 0}, {length, v}, {0, v}})});
        };
    };
    auto spaceOrigin = [](const SpaceRecord& s) { return Vec2(-s.origin.x, -s.origin.y); };

    for (const auto& [slabEntity, slab] : slabs) {
        const double h = slab.floor->height, e = slab.floor->elevation, t = slab.thickness;
        const int n = slab.level;
        auto edges = [&](double z, double v, const EntityPtr& outside, int flag) {
            if (!outside)
                return;
            for (std::size_t i = 0; i < slab.outline.size(); ++i) {
                const Vec2 a = slab.outline[i], b = slab.outline[(i + 1) % slab.outline.size()];
                if (std::hypot(b.x - a.x, b.y - a.y) > 1e-9)
                    writeSecondLevelSingle("2b", {outside, upright(a, b, z, v), nullptr}, slabEntity, flag);
            }
        };
        if (slab.kind == 1) {
            for (const auto& [spaceEntity, space] : spaces)
                if (space.level == n)
                    writeSecondLevelPair(
                        "2a", {spaceEntity, flat(h, false, horizontal({space.contour}, spaceOrigin(space), false)), nullptr},
                        {air, flat(e + h + t, true, horizontal({space.contour}, {0, 0}, true)), nullptr}, slabEntity, 1);
            for (const auto& [wallEntity, wall] : walls)
                if (wall.level == n)
                    writeSecondLevelSingle("2b", {air, flat(e + h + t, true, horizontal({footprint(wall)}, {0, 0}, true)), nullptr},
                                           slabEntity, 1);
            edges(e + h, t, air, 1);
        } else if (slab.kind == 3) {
            for (const auto& [spaceEntity, space] : spaces)
                if (space.level == n)
                    writeSecondLevelPair(
                        "2a", {spaceEntity, flat(0, true, horizontal({space.contour}, spaceOrigin(space), true)), nullptr},
                        {earth, flat(e - t, false, horizontal({space.contour}, {0, 0}, false)), nullptr}, slabEntity, 1);
            for (const auto& [wallEntity, wall] : walls)
                if (wall.level == n)
                    writeSecondLevelSingle("2b", {earth, flat(e - t, false, horizontal({footprint(wall)}, {0, 0}, false)), nullptr},
                                           slabEntity, 1);
            edges(e, -t, earth, 1);
        } else {
            for (const auto& [upperEntity, upper] : spaces) {
                if (upper.level != n)
                    continue;
                for (const auto& [lowerEntity, lower] : spaces) {
                    if (lower.level != n - 1)
                        continue;
                    for (const auto& piece : clip(upper.contour, lower.contour, Clipper2Lib::ClipType::Intersection, slivers))
                        writeSecondLevelPair(
                            "2a", {upperEntity, flat(0, true, horizontal(piece, spaceOrigin(upper), true)), nullptr},
                            {lowerEntity, flat(lower.floor->height, false, horizontal(piece, spaceOrigin(lower), false)),
                             nullptr},
                            slabEntity, 0);
                }
            }
            for (const auto& [spaceEntity, space] : spaces) {
                const bool above = space.level == n;
                if (!above && space.level != n - 1)
                    continue;
                for (const auto& [wallEntity, wall] : walls) {
                    if (wall.level != (above ? n - 1 : n))
                        continue;
                    for (const auto& piece : clip(space.contour, footprint(wall), Clipper2Lib::ClipType::Intersection, slivers))
                        writeSecondLevelSingle(
                            "2b",
                            {spaceEntity,
                             flat(above ? 0.0 : space.floor->height, above, horizontal(piece, spaceOrigin(space), above)),
                             nullptr},
                            slabEntity, 0);
                }
            }
            for (const auto& [belowEntity, below] : slabs) {
                if (below.level != n - 1)
                    continue;
                for (const auto& overhang : clip(slab.outline, below.outline, Clipper2Lib::ClipType::Difference, slivers)) {
                    for (const auto& [spaceEntity, space] : spaces) {
                        if (space.level != n)
                            continue;
                        for (const auto& piece : clip(overhang, space.contour, Clipper2Lib::ClipType::Intersection, slivers))
                            writeSecondLevelPair(
                                "2a", {spaceEntity, flat(0, true, horizontal(piece, spaceOrigin(space), true)), nullptr},
                                {air, flat(e - t, false, horizontal(piece, {0, 0}, false)), nullptr}, slabEntity, 0);
                    }
                    for (const auto& [wallEntity, wall] : walls)
                        if (wall.level == n)
                            for (const auto& piece : clip(overhang, footprint(wall), Clipper2Lib::ClipType::Intersection, slivers))
                                writeSecondLevelSingle("2b", {air, flat(e - t, false, horizontal(piece, {0, 0}, false)), nullptr},
                                                       slabEntity, 0);
                }
            }
            edges(e, -t, air, 1);
        }
    }
}

void IfcStoryExporter::writeSecondLevelWallBoundaries()
{
    const EntityPtr air = settings->enableExternalSpatialElement ? airElement : nullptr;
    // A vertical face from a along d for the segment's length at height z,
    // in the frame given by `origin` (subtracted); right normal up, left
    // normal down.
    auto upright = [this](Vec2 a, Vec2 b, Vec2 origin, double z, bool rightNormal, double height) {
        return [this, a, b, origin, z, rightNormal, height] {
            const double length = std::hypot(b.x - a.x, b.y - a.y);
            const Vec2 d = length == 0.0 ? Vec2(0, 0) : Vec2((b.x - a.x) / length, (b.y - a.y) / length);
            const Vec3D axis = rightNormal ? Vec3D(d.y, -d.x, 0) : Vec3D(-d.y, d.x, 0);
            const double v = rightNormal ? height : -height;
            return writer->writeConnectionGeometry({a.x - origin.x, a.y - origin.y, z}, axis, {d.x, d.y, 0},
                                                   {Polygon({{0, 0}, {length, 0}, {length, v}, {0, v}})});
        };
    };
    // A face narrower than sliverWidth is a left-over of rounding where
    // outlines meet: counted with the slab pieces left out, not written.
    auto sliver = [this](const Segment2& segment, double height) {
        const double length = std::hypot(segment[1].x - segment[0].x, segment[1].y - segment[0].y);
        if (length >= sliverWidth)
            return false;
        // Shorter than the slab pieces' clipping precision: a point, as a
        // slab piece that short would have no area.
        if (length <= 1e-8)
            return true;
        ++slivers.count;
        slivers.area += length * height;
        return true;
    };
    const Vec2 world(0, 0);
    std::vector<Vec2> common;
    for (auto& [wallEntity, wall] : walls) {
        const double t = wall.thickness, H = wall.floor->height, e = wall.floor->elevation;
        const Vec2 n = wall.normal;
        const auto face = faces(wall);
        const Vec2 outward(-n.x * t, -n.y * t);
        if (wall.isExterior) {
            const bool f = !(wall.corners[0].x > wall.corners[3].x || wall.corners[0].y > wall.corners[3].y);
            auto ordered = [f](const Segment2& x) { return f ? x : Segment2{x[1], x[0]}; };
            if (wall.startConnection == 4 && !sliver({wall.corners[0], wall.corners[1]}, H))
                writeSecondLevelSingle("2b", {air, upright(wall.corners[0], wall.corners[1], world, e, true, H), nullptr},
                                       wallEntity, 1);
            if (wall.endConnection == 4 && !sliver({wall.corners[2], wall.corners[3]}, H))
                writeSecondLevelSingle("2b", {air, upright(wall.corners[2], wall.corners[3], world, e, true, H), nullptr},
                                       wallEntity, 1);
            for (const auto& [spaceEntity, space] : spaces) {
                if (space.level != wall.level)
                    continue;
                const auto& c = space.contour;
                for (std::size_t k = 0; k < c.size(); ++k) {
                    const Segment2 edge{c[k], c[(k + 1) % c.size()]};
                    Segment2 o;
                    if (overlapSegments(face[0], edge, o)) {
                        const Segment2 pq = ordered(o);
                        const Segment2 outer = shifted(pq, outward);
                        auto pair = [&](const Segment2& ab) -> std::pair<EntityPtr, EntityPtr> {
                            if (sliver(ab, H))
                                return {};
                            return writeSecondLevelPair(
                                "2a", {spaceEntity, upright(ab[0], ab[1], space.origin, 0, true, H), nullptr},
                                {air, upright(plus(ab[0], outward), plus(ab[1], outward), world, e, false, H), nullptr},
                                wallEntity, 1);
                        };
                        std::pair<EntityPtr, EntityPtr> written;
                        bool split = false;
                        if (wall.endConnection == 2) {
                            for (const auto& [otherEntity, other] : walls) {
                                Segment2 x;
                                if (otherEntity == wallEntity || other.level != wall.level || !other.isExterior ||
                                    !overlapSegments(outer, faces(other)[2], x))
                                    continue;
                                split = true;
                                const Segment2 contact = shifted(ordered(x), {n.x * t, n.y * t});
                                if (!sliver(contact, H))
                                    writeSecondLevelSingle(
                                        "2b", {spaceEntity, upright(contact[0], contact[1], space.origin, 0, true, H), nullptr},
                                        wallEntity, 1);
                                for (const Segment& rest : subtractSegments(outer, {x}))
                                    written = pair(shifted(ordered(rest), {n.x * t, n.y * t}));
                                break;
                            }
                        }
                        if (!split)
                            written = pair(pq);
                        if (settings->enableNewIfc4SpaceBoundary) {
                            if (written.first)
                                wall.spaceBoundaries.emplace_back(written.first, pq);
                            if (written.second)
                                wall.externalBoundaries.emplace_back(written.second, outer);
                        }
                    }
                    Segment2 x;
                    if (overlapSegments(face[2], edge, x) && !sliver(x, H)) {
                        const Segment2 ab = ordered(x);
                        writeSecondLevelSingle("2b", {spaceEntity, upright(ab[0], ab[1], space.origin, 0, true, H), nullptr},
                                               wallEntity, 1);
                    }
                    if (overlapSegments(face[3], edge, x) && !sliver(x, H)) {
                        const Segment2 ab = ordered(x);
                        writeSecondLevelSingle("2b", {spaceEntity, upright(ab[0], ab[1], space.origin, 0, false, H), nullptr},
                                               wallEntity, 1);
                    }
                }
            }
            for (const auto& [otherEntity, other] : walls) {
                if (otherEntity == wallEntity || other.level != wall.level)
                    continue;
                for (const Segment2& otherFace : faces(other)) {
                    Segment2 x;
                    if (overlapSegments(face[0], otherFace, x) && !sliver(x, H)) {
                        const Segment2 ab = ordered(x);
                        writeSecondLevelSingle(
                            "2b", {air, upright(plus(ab[0], outward), plus(ab[1], outward), world, e, false, H), nullptr},
                            wallEntity, 1);
                    }
                }
            }
            continue;
        }

        // An interior wall: pairs where rooms face each other through it.
        const Vec2 m(-n.x, -n.y);
        std::vector<std::pair<EntityPtr, Segment2>> left, right;
        for (const auto& [spaceEntity, space] : spaces) {
            if (space.level != wall.level)
                continue;
            const auto& c = space.contour;
            for (std::size_t k = 0; k < c.size(); ++k) {
                const Segment2 edge{c[k], c[(k + 1) % c.size()]};
                Segment2 x;
                if (overlapSegments(face[0], edge, x))
                    left.emplace_back(spaceEntity, x);
                if (overlapSegments(face[1], edge, x))
                    right.emplace_back(spaceEntity, x);
                if (overlapSegments(face[2], edge, x) && !sliver(x, H))
                    writeSecondLevelSingle("2b", {spaceEntity, upright(x[0], x[1], space.origin, 0, true, H), nullptr},
                                           wallEntity, 0);
                if (overlapSegments(face[3], edge, x) && !sliver(x, H))
                    writeSecondLevelSingle("2b", {spaceEntity, upright(x[0], x[1], space.origin, 0, false, H), nullptr},
                                           wallEntity, 0);
            }
        }
        const Vec2 across(m.x * t, m.y * t);
        const Vec2 back(-across.x, -across.y);
        for (const auto& [s1, o1] : left) {
            const SpaceRecord& first = *spaces.find(s1);
            std::vector<Segment> covered;
            for (const auto& [s2, o2] : right) {
                const SpaceRecord& second = *spaces.find(s2);
                Segment2 x;
                if (!overlapSegments(o1, shifted(o2, back), x))
                    continue;
                covered.push_back(x);
                if (sliver(x, H))
                    continue;
                const auto written = writeSecondLevelPair(
                    "2a", {s1, upright(x[0], x[1], first.origin, 0, true, H), nullptr},
                    {s2, upright(plus(x[0], across), plus(x[1], across), second.origin, 0, false, H), nullptr},
                    wallEntity, 0);
                if (settings->enableNewIfc4SpaceBoundary) {
                    if (written.first)
                        wall.spaceBoundaries.emplace_back(written.first, x);
                    if (written.second)
                        wall.spaceBoundaries.emplace_back(written.second, shifted(x, across));
                }
            }
            for (const Segment& rest : subtractSegments(o1, covered))
                if (!sliver(rest, H))
                    writeSecondLevelSingle("2b", {s1, upright(rest[0], rest[1], first.origin, 0, true, H), nullptr},
                                           wallEntity, 0);
        }
        for (const auto& [s2, o2] : right) {
            const SpaceRecord& second = *spaces.find(s2);
            std::vector<Segment> covered;
            for (const auto& [s1, o1] : left) {
                Segment2 x;
                if (overlapSegments(o2, shifted(o1, across), x))
                    covered.push_back(x);
            }
            for (const Segment& rest : subtractSegments(o2, covered))
                if (!sliver(rest, H))
                    writeSecondLevelSingle("2b", {s2, upright(rest[0], rest[1], second.origin, 0, false, H), nullptr},
                                           wallEntity, 0);
        }
    }
}

namespace {

// The wall boundary whose segment overlaps the face: the last one or the first.
EntityPtr parentOf(const std::vector<FaceOfSpace>& boundaries, const Segment2& face, bool last)
{
    EntityPtr found;
    Segment2 common;
    for (const auto& [boundary, segment] : boundaries) {
        if (!overlapSegments(segment, face, common))
            continue;
        found = boundary;
        if (!last)
            break;
    }
    return found;
}

} // namespace

void IfcStoryExporter::writeSecondLevelDoorBoundaries()
{
    const EntityPtr air = settings->enableExternalSpatialElement ? airElement : nullptr;
    const bool parents = settings->enableNewIfc4SpaceBoundary;
    auto upright = [this](Vec2 a, Vec2 b, Vec2 origin, double z, bool rightNormal, double height) {
        return [this, a, b, origin, z, rightNormal, height] {
            const double length = std::hypot(b.x - a.x, b.y - a.y);
            const Vec2 d = length == 0.0 ? Vec2(0, 0) : Vec2((b.x - a.x) / length, (b.y - a.y) / length);
            const Vec3D axis = rightNormal ? Vec3D(d.y, -d.x, 0) : Vec3D(-d.y, d.x, 0);
            const double v = rightNormal ? height : -height;
            return writer->writeConnectionGeometry({a.x - origin.x, a.y - origin.y, z}, axis, {d.x, d.y, 0},
                                                   {Polygon({{0, 0}, {length, 0}, {length, v}, {0, v}})});
        };
    };
    for (const auto& [doorEntity, door] : doors) {
        const WallRecord* wall = walls.find(door.wall);
        if (!wall)
            continue;
        if (door.spaceFaces.size() == 2) {
            const auto& [s0, f0] = door.spaceFaces[0];
            const auto& [s1, f1] = door.spaceFaces[1];
            const SpaceRecord* first = spaces.find(s0);
            const SpaceRecord* second = spaces.find(s1);
            if (!first || !second)
                continue;
            writeSecondLevelPair(
                "2a",
                {s0, upright(f0[0], f0[1], first->origin, 0, true, door.height),
                 parents ? parentOf(wall->spaceBoundaries, f0, true) : nullptr},
                {s1, upright(f1[0], f1[1], second->origin, 0, true, door.height),
                 parents ? parentOf(wall->spaceBoundaries, f1, true) : nullptr},
                doorEntity, 0);
        } else if (wall->isExterior == 1) {
            if (door.spaceFaces.empty())
                continue; // no room reaches the door; the first level says so
            const auto& [spaceEntity, face] = door.spaceFaces.front();
            const SpaceRecord* space = spaces.find(spaceEntity);
            if (!space)
                continue;
            Vec2 a = face[0], b = face[1];
            if ((wall->direction.x == 0.0 && wall->direction.y < 0.0) ||
                (wall->direction.y == 0.0 && wall->direction.x < 0.0))
                std::swap(a, b);
            const Vec2 out(-wall->normal.x * wall->thickness, -wall->normal.y * wall->thickness);
            writeSecondLevelPair(
                "2a",
                {spaceEntity, upright(a, b, space->origin, 0, true, door.height),
                 parents ? parentOf(wall->spaceBoundaries, {a, b}, true) : nullptr},
                {air, upright(plus(a, out), plus(b, out), {0, 0}, wall->floor->elevation, false, door.height),
                 parents ? parentOf(wall->externalBoundaries, {plus(a, out), plus(b, out)}, true) : nullptr},
                doorEntity, 1);
        }
    }
}

void IfcStoryExporter::writeSecondLevelWindowBoundaries()
{
    const EntityPtr air = settings->enableExternalSpatialElement ? airElement : nullptr;
    const bool parents = settings->enableNewIfc4SpaceBoundary;
    for (const auto& [windowEntity, window] : windows) {
        const WallRecord* wall = walls.find(window.wall);
        const SpaceRecord* space = window.spaceFace.first ? spaces.find(window.spaceFace.first) : nullptr;
        if (!wall || !space)
            continue; // no room sees the window; the first level says so
        const double t = window.thickness;
        const Vec2 a = plus(window.location, window.normal, t / 2);
        const Vec2 b = plus(a, window.direction, window.width);
        const Vec2 out(-window.normal.x * t, -window.normal.y * t);
        const double length = std::hypot(b.x - a.x, b.y - a.y);
        const Vec2 d = length == 0.0 ? Vec2(0, 0) : Vec2((b.x - a.x) / length, (b.y - a.y) / length);
        const double c = window.cillHeight, h = window.height, e = wall->floor->elevation;
        const Vec2 origin = space->origin;
        auto inner = [this, a, d, length, origin, c, h] {
            return writer->writeConnectionGeometry({a.x - origin.x, a.y - origin.y, c}, {d.y, -d.x, 0}, {d.x, d.y, 0},
                                                   {Polygon({{0, 0}, {length, 0}, {length, h}, {0, h}})});
        };
        const Vec2 ao = plus(a, out);
        auto outer = [this, ao, d, length, e, c, h] {
            return writer->writeConnectionGeometry({ao.x, ao.y, e + c}, {-d.y, d.x, 0}, {d.x, d.y, 0},
                                                   {Polygon({{0, 0}, {length, 0}, {length, -h}, {0, -h}})});
        };
        writeSecondLevelPair("2a",
                             {window.spaceFace.first, inner,
                              parents ? parentOf(wall->spaceBoundaries, {a, b}, false) : nullptr},
                             {air, outer, parents ? parentOf(wall->externalBoundaries, {ao, plus(b, out)}, false) : nullptr},
                             windowEntity, 1);
    }
}

} // namespace bgexport
