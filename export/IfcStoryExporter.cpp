#include "export/IfcStoryExporter.h"

#include "geometry/LayoutGeometry.h"
#include "model/Building.h"
#include "model/Proposal.h"
#include "model/RoomGeometry.h"

#include <clipper.hpp>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <stdexcept>

namespace bgexport {

namespace {

constexpr int floorSlab = 0;
constexpr int roofSlab = 1;
constexpr int baseSlab = 3;

struct SlabKind {
    int kind;
    double BuildingParameters::*thickness;
    const char* layer;
    bool isExternal;
    double ExportSettings::*uValue;
    EntityPtr IfcStoryExporter::*style;
};

const SlabKind slabKinds[] = {
    {floorSlab, &BuildingParameters::floorSlabStrength, "Floor_Slab", false, &ExportSettings::floorSlabUValue,
     &IfcStoryExporter::floorSlabStyle},
    {roofSlab, &BuildingParameters::roofSlab, "Roof_Slab", true, &ExportSettings::roofSlabUValue,
     &IfcStoryExporter::roofStyle},
    {baseSlab, &BuildingParameters::baseSlabStrength, "Base_Slab", true, &ExportSettings::baseSlabUValue,
     &IfcStoryExporter::baseSlabStyle},
};

const SlabKind& slabKind(int kind)
{
    for (const SlabKind& entry : slabKinds)
        if (entry.kind == kind)
            return entry;
    throw std::runtime_error("No material found for slab type");
}

// Twice the signed area over the closed ring, positive counter-clockwise.
double ringSum(const std::vector<Vec2>& points)
{
    double sum = 0.0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const Vec2& previous = points[(i + points.size() - 1) % points.size()];
        sum += (points[i].y - previous.y) * (points[i].x + previous.x);
    }
    return sum;
}

double ringPerimeter(const std::vector<Vec2>& points)
{
    double sum = 0.0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const Vec2& previous = points[(i + points.size() - 1) % points.size()];
        sum += std::hypot(points[i].x - previous.x, points[i].y - previous.y);
    }
    return sum;
}

ClipperLib::Path toClipperPath(const std::vector<Vec2>& points)
{
    ClipperLib::Path path;
    for (const Vec2& p : points)
        path.emplace_back(static_cast<ClipperLib::cInt>(std::llround(p.x * 10000.0)),
                          static_cast<ClipperLib::cInt>(std::llround(p.y * 10000.0)));
    return path;
}

std::vector<Vec2> fromClipperPath(const ClipperLib::Path& path)
{
    std::vector<Vec2> points;
    for (const ClipperLib::IntPoint& p : path)
        points.emplace_back(static_cast<double>(p.X) / 10000.0, static_cast<double>(p.Y) / 10000.0);
    return points;
}

std::string storeyLabel(int level)
{
    return level == 0 ? "EG" : std::to_string(level) + ".OG";
}

std::shared_ptr<step::Reference> referenceTo(const EntityPtr& entity)
{
    return std::make_shared<step::Reference>(entity);
}

} // namespace

IfcStoryExporter::IfcStoryExporter(ifc::Writer* writer, std::shared_ptr<bg::Building> building)
    : writer(writer), building(std::move(building)), settings(&ownSettings), ownSettings(*getExportSettings())
{
    // No door or window types in any export: nothing relates elements to them.
    settings->enableDoorStyles = false;
    settings->enableWindowStyles = false;
}

void IfcStoryExporter::writeSystems()
{
    lightingType = writer->writeLightFixtureType("Default lighting type");
    ventilationType = writer->writeAirTerminalType("Default ventilation type");
    lightingSystem = writer->writeSystem("Lighting");
    ventilationSystem = writer->writeSystem("Ventilation");
}

void IfcStoryExporter::writeMaterials()
{
    struct Style {
        const char* name;
        int red, green, blue;
        EntityPtr IfcStoryExporter::*field;
    };
    static const Style styles[] = {
        {"Outer wall", 200, 200, 200, &IfcStoryExporter::outerWallStyle},
        {"Inner wall", 150, 150, 150, &IfcStoryExporter::innerWallStyle},
        {"Roof", 255, 0, 0, &IfcStoryExporter::roofStyle},
        {"Base slab", 127, 51, 0, &IfcStoryExporter::baseSlabStyle},
        {"Floor slab", 100, 100, 100, &IfcStoryExporter::floorSlabStyle},
        {"Room", 150, 201, 227, &IfcStoryExporter::roomStyle},
        {"Corridor", 184, 244, 214, &IfcStoryExporter::corridorStyle},
    };
    for (const Style& style : styles) {
        writer->writeColourRgb(style.name, style.red / 255.0, style.green / 255.0, style.blue / 255.0);
        this->*(style.field) = writer->writeSurfaceStyle(style.name);
    }
}

void IfcStoryExporter::writeElementTypes()
{
    if (settings->enableDoorStyles)
        writeDoorStyle(writer);
    if (settings->enableWindowStyles) {
        writer->writeWindowLiningProperties();
        writer->writeWindowPanelProperties();
        writer->writeWindowType("Sugar Window");
    }
}

void IfcStoryExporter::writeDoorStyle(ifc::Writer* target)
{
    target->writeDoorLiningProperties();
    target->writeDoorPanelProperties("LEFT");
    target->writeDoorPanelProperties("RIGHT");
    target->writeDoorType("Gingerbread Door");
}

void IfcStoryExporter::addStorey(int level, const EntityPtr& storey)
{
    storeysByLevel.insert(level, storey);
}

// ---------------------------------------------------------------------------
// Slabs

void IfcStoryExporter::writeSlab(int kind, double elevation, const std::shared_ptr<bg::Floor>& floor)
{
    const SlabKind& slab = slabKind(kind);
    writer->currentSurfaceStyle = this->*(slab.style);
    const double t = building->parameters.*(slab.thickness);

    // A floor slab carries the storey and covers the ceiling of the storey
    // below, so it takes the union of both outlines.
    std::vector<Vec2> outline = floor->contour;
    const std::shared_ptr<bg::Floor> lower = floor->lower.lock();
    if (kind != roofSlab && lower) {
        ClipperLib::Clipper clipper;
        const ClipperLib::Path own = toClipperPath(floor->contour);
        clipper.AddPath(own, ClipperLib::ptSubject, true);
        clipper.AddPath(toClipperPath(lower->contour), ClipperLib::ptClip, true);
        ClipperLib::Paths solution;
        clipper.Execute(ClipperLib::ctUnion, solution, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
        // The outline is the outer path around the storey's own contour; the
        // union of outlines that do not touch has further paths, which one
        // extruded profile cannot carry.
        std::size_t chosen = solution.size();
        for (std::size_t i = 0; i < solution.size() && chosen == solution.size(); ++i) {
            if (!ClipperLib::Orientation(solution[i]))
                continue;
            bool holdsOwn = true;
            for (const ClipperLib::IntPoint& p : own)
                holdsOwn = holdsOwn && ClipperLib::PointInPolygon(p, solution[i]) != 0;
            if (holdsOwn)
                chosen = i;
        }
        if (chosen == solution.size() && !solution.empty())
            chosen = 0;
        if (chosen < solution.size()) {
            outline = fromClipperPath(solution[chosen]);
            if (solution.size() > 1)
                warnings.push_back("The slab under storey " + storeyLabel(floor->level) + " leaves out " +
                                   std::to_string(solution.size() - 1) +
                                   " part(s) of the outline of the floor below that do not join its own.");
        }
    }
    if (ringSum(outline) > 0.0)
        std::reverse(outline.begin(), outline.end());

    Polygon polygon(outline);
    const std::list<Polygon> profile{polygon};
    writer->writeExtrusionAt(profile, {0.0, 0.0, -t}, {0.0, 0.0, 1.0}, t);
    if (settings->enableGeometryColor) {
        writer->writePresentationStyleAssignment();
        writer->writeStyledItem();
    }
    writer->useBodyContext();
    writer->writeShapeRepresentation("Body", "SweptSolid");
    if (settings->enableRoundtrip) {
        const EntityPtr footprint = writer->writePolyline(polygon, -t);
        writer->usePlanContext(readEntityName(currentStorey));
        writer->representationItems->add(referenceTo(footprint));
        writer->writeShapeRepresentation("FootPrint", "Annotation2D");
    }
    if (settings->enableLayerColor)
        writer->writePresentationLayerWithStyle(slab.layer);
    const EntityPtr quantities = slabQuantities(profile, t);

    const EntityPtr entity = writer->writeSlab("Slab", kind, {0.0, 0.0, elevation});
    currentSlab = entity;
    writer->writeRelDefinesByProperties({entity}, quantities);
    storeySlabs[currentStorey].push_back(entity);
    SlabRecord record(entity, writer->storey, outline, t, kind, writer);
    record.level = floor->level;
    record.floor = floor;
    slabs.insert(entity, std::move(record));

    step::Factory values;
    auto properties = std::make_shared<step::Set>();
    properties->add(referenceTo(writer->writePropertySingleValue(
        "IsExternal", values.createSelect("IFCBOOLEAN", values.createBoolean(slab.isExternal)), nullptr)));
    properties->add(referenceTo(writer->writePropertySingleValue(
        "ThermalTransmittance",
        values.createSelect("IFCTHERMALTRANSMITTANCEMEASURE", values.createReal(settings->*(slab.uValue))),
        nullptr)));
    writer->writeRelDefinesByProperties({entity}, writer->writePropertySet("Pset_SlabCommon", properties));

    const EntityPtr material = slabMaterial(kind);
    (void)material; // the catalogue stays empty: no material relation
    useLayers(entity, 3, t);
}

EntityPtr IfcStoryExporter::slabQuantities(const std::list<Polygon>& polygons, double thickness)
{
    double sum = 0.0;
    double perimeter = 0.0;
    for (const Polygon& polygon : polygons) {
        sum += ringSum(polygon.points) / 2.0;
        perimeter += ringPerimeter(polygon.points);
    }
    const double area = std::fabs(sum);
    writer->writeQuantityLength("NominalWidth", thickness);
    writer->writeQuantityLength("Perimeter", perimeter);
    writer->writeQuantityArea("GrossArea", area);
    writer->writeQuantityVolume("GrossVolume", thickness * area);
    return writer->writeElementQuantity("BaseQuantities");
}

void IfcStoryExporter::useLayers(const EntityPtr& element, int axis, double thickness)
{
    std::ostringstream text;
    text.precision(6);
    text << thickness;
    const std::string size = text.str();
    const std::string key = std::to_string(axis) + " " + size;
    LayerUse* use = layerUses.find(key);
    if (!use) {
        if (!constructionMaterial)
            constructionMaterial = writer->writeMaterial("Construction");
        EntityPtr* layerSet = layerSets.find(size);
        if (!layerSet) {
            writer->writeMaterialLayer(thickness, constructionMaterial);
            layerSet = &layerSets.insert(size, writer->writeMaterialLayerSet("Construction " + size + " m"));
        }
        writer->useMaterialLayerSet(*layerSet);
        // Walls stand on their centre line, slabs hang below their top.
        const double offset = axis == 2 ? -thickness / 2.0 : -thickness;
        use = &layerUses.insert(key, LayerUse{writer->writeMaterialLayerSetUsage(offset, 0, axis), {}});
    }
    use->elements.push_back(element);
}

void IfcStoryExporter::associateMaterials()
{
    for (const auto& [key, use] : layerUses)
        writer->writeRelAssociatesMaterial(use.elements, use.usage);
}

EntityPtr IfcStoryExporter::slabMaterial(int kind)
{
    slabKind(kind); // an unknown kind has no material
    const EntityPtr* material = materialCatalogue.find(kind);
    return material ? *material : nullptr;
}

// ---------------------------------------------------------------------------
// Walls

EntityPtr IfcStoryExporter::writeWall(const std::vector<Vec2>& centreLine, double thickness,
                                      const std::string& layerName, const int& level, const std::string& name)
{
    const Vec2 s = centreLine.at(0);
    const Vec2 e = centreLine.at(1);
    const double length = std::hypot(e.x - s.x, e.y - s.y);
    // A wall without length would be a solid without volume, which readers
    // reject.
    if (length < 1e-4) {
        std::ostringstream text;
        text << name << " at (" << s.x << ", " << s.y << ") on storey " << storeyLabel(level)
             << " is left out: its centre line is shorter than 0.1 mm.";
        warnings.push_back(text.str());
        return nullptr;
    }
    const Vec2 u((e.x - s.x) / length, (e.y - s.y) / length);
    const double h = currentFloor->height;
    const double half = thickness / 2.0;

    Polygon profile({{0.0, -half}, {length, -half}, {length, half}, {0.0, half}});
    writer->writeExtrusionAt({profile}, {0.0, 0.0, 0.0}, {0.0, 0.0, 1.0}, h);
    writer->useBodyContext();
    writer->writeShapeRepresentation("Body", "SweptSolid");
    if (settings->enableRoundtrip) {
        const EntityPtr footprint = writer->writePolyline2D(profile);
        writer->usePlanContext(readEntityName(currentStorey));
        writer->representationItems->add(referenceTo(footprint));
        writer->writeShapeRepresentation("FootPrint", "Annotation2D");
    }
    if (settings->enableGeometryColor) {
        writer->writePresentationStyleAssignment();
        writer->writeStyledItem();
    }
    if (settings->enableLayerColor)
        writer->writePresentationLayerWithStyle(layerName);

    const EntityPtr refDirection = writer->writeDirection({u.x, u.y, 0.0});
    const EntityPtr axis = writer->writeDirection({0.0, 0.0, 1.0});
    const EntityPtr point = writer->writeCartesianPoint({s.x, s.y, 0.0});
    const EntityPtr placement =
        writer->writeLocalPlacement(writer->storeyPlacement, writer->writeAxis2Placement3D(point, axis, refDirection));

    writer->writeQuantityLength("NominalLength", length);
    writer->writeQuantityLength("NominalWidth", thickness);
    writer->writeQuantityLength("NominalHeight", h);
    writer->writeQuantityArea("GrossSideArea", length * h);
    writer->writeQuantityVolume("GrossVolume", thickness * length * h);
    const EntityPtr quantities = writer->writeElementQuantity("BaseQuantities");

    const EntityPtr wall = writer->writeWall(name, placement);
    writer->writeRelDefinesByProperties({wall}, quantities);
    storeyWalls[currentStorey].push_back(wall);
    const int isExterior = name == "Exterior Wall" ? 1 : 0;
    WallRecord record(wall, placement, level, writer->storey, length, thickness, h, writer, isExterior);
    record.floor = currentFloor;
    walls.insert(wall, std::move(record));

    step::Factory values;
    auto properties = std::make_shared<step::Set>();
    properties->add(referenceTo(writer->writePropertySingleValue(
        "IsExternal", values.createSelect("IFCBOOLEAN", values.createBoolean(isExterior != 0)), nullptr)));
    properties->add(referenceTo(writer->writePropertySingleValue(
        "ThermalTransmittance",
        values.createSelect("IFCTHERMALTRANSMITTANCEMEASURE",
                            values.createReal(isExterior ? settings->outerWallUValue : settings->innerWallUValue)),
        nullptr)));
    writer->writeRelDefinesByProperties({wall}, writer->writePropertySet("Pset_WallCommon", properties));
    useLayers(wall, 2, thickness);
    writer->useBodyContext();
    return wall;
}

void IfcStoryExporter::writeExteriorWalls(const std::shared_ptr<bg::Floor>& floor)
{
    const double thickness = building->parameters.outerWallStrength;
    const double e = thickness / 2.0;
    writer->currentSurfaceStyle = outerWallStyle;
    const std::vector<Vec2> ring = insetPolygon(floor->contour, e);
    if (ring.size() < 3) {
        warnings.push_back("Storey " + storeyLabel(floor->level) +
                           " gets no exterior walls: its outline is too small for walls of " +
                           std::to_string(thickness) + " m.");
        return;
    }
    // South and north walls run through the corners; east and west walls fit
    // between their inner faces.
    for (const PolygonEdge& edge : Polygon(ring).getEdges()) {
        const Vec2 a = edge.start;
        const Vec2 b = edge.end;
        std::vector<Vec2> line;
        if (edge.side == "south")
            line = {{a.x - e, a.y}, {b.x + e, a.y}};
        else if (edge.side == "east")
            line = {{a.x, a.y + e}, {a.x, b.y - e}};
        else if (edge.side == "north")
            line = {{a.x + e, a.y}, {b.x - e, a.y}};
        else
            line = {{a.x, a.y - e}, {a.x, b.y + e}};
        writeWall(line, thickness, "Kovra-Exterior-Wall", floor->level, "Exterior Wall");
    }
}

void IfcStoryExporter::writeInteriorWalls(const std::shared_ptr<bg::Proposal>& source,
                                          const std::shared_ptr<bg::Floor>& floor)
{
    double thickness = building->parameters.innerWallStrength;
    writer->currentSurfaceStyle = innerWallStyle;
    const std::vector<Vec2> inner = insetPolygon(floor->contour, building->parameters.outerWallStrength);
    std::vector<Segment> segments;
    for (const auto& room : source->getRooms())
        if (room->level == floor->level)
            for (const Segment& segment : roomInteriorEdges(inner, room))
                segments.push_back(segment);
    // Walls of rooms that stop short of a facade or of each other would
    // reach into the exterior wall or into one another: each ends where the
    // exterior wall's inner face or an earlier wall begins.
    interiorWallLines.clear();
    for (const ::WallPiece& piece : trimInteriorWalls(buildInteriorWalls(segments, inner, thickness), inner, thickness)) {
        interiorWallLines.push_back(piece.line);
        writeWall(piece.line, piece.thickness, "Kovra-Exterior-Wall", floor->level, "Interior Wall");
    }
}

void IfcStoryExporter::connectWalls()
{
    auto near = [](const Vec2& a, const Vec2& b) { return std::hypot(a.x - b.x, a.y - b.y) < 1e-4; };
    auto same = [](const Vec2& a, const Vec2& b) { return a.x == b.x && a.y == b.y; };
    for (auto& [entityA, a] : walls) {
        if (!a.isExterior)
            continue;
        for (auto& [entityB, b] : walls) {
            if (entityB == entityA || !b.isExterior || b.storey != a.storey)
                continue;
            int endCode = noConnection;
            int startCode = noConnection;
            if (near(a.corners[3], b.corners[0]) && same(a.direction, b.direction)) {
                endCode = 0;
                startCode = 0;
            } else if (near(a.corners[2], b.corners[0]) && same(a.direction, b.normal)) {
                endCode = 1;
                startCode = 2;
            } else if (near(a.corners[2], b.corners[0]) && same(a.normal, b.direction)) {
                endCode = 4;
                startCode = 3;
            } else if (near(a.corners[3], b.corners[1]) && same(a.direction, b.normal)) {
                endCode = 2;
                startCode = 1;
            } else if (near(a.corners[3], b.corners[1]) && same(a.normal, b.direction)) {
                endCode = 3;
                startCode = 4;
            } else {
                continue;
            }
            a.endConnection = endCode;
            b.startConnection = startCode;
            break;
        }
    }
}

// ---------------------------------------------------------------------------
// Relations

void IfcStoryExporter::assignGroupMembers()
{
    for (const auto& [zone, members] : zoneSpaces)
        if (!members.empty())
            writer->writeRelAssignsToGroup(members, zone);
    if (lightingSystem && !lightingTerminals.empty())
        writer->writeRelAssignsToGroup(lightingTerminals, lightingSystem);
    if (ventilationSystem && !ventilationTerminals.empty())
        writer->writeRelAssignsToGroup(ventilationTerminals, ventilationSystem);
}

void IfcStoryExporter::aggregateBuilding()
{
    writer->writeRelAggregates(writer->site, {writer->building});
}

void IfcStoryExporter::aggregateStoreys()
{
    ifc::EntityList storeys;
    for (const auto& entry : storeysByLevel)
        storeys.push_back(entry.second);
    if (!storeys.empty())
        writer->writeRelAggregates(writer->building, storeys);
}

void IfcStoryExporter::containElements()
{
    OrderedMap<EntityPtr, ifc::EntityList> contained;
    for (const auto& [storey, list] : storeyWalls)
        for (const EntityPtr& wall : list)
            contained[storey].push_back(wall);
    for (const auto& [storey, list] : storeySlabs)
        for (const EntityPtr& slab : list)
            contained[storey].push_back(slab);
    for (const auto& [storey, elements] : contained)
        writer->writeRelContainedInSpatialStructure("", "", elements, storey);
}

void IfcStoryExporter::aggregateSpaces()
{
    for (const auto& [storey, list] : storeySpaces)
        writer->writeRelAggregates(storey, ifc::EntityList(list.begin(), list.end()));
}

} // namespace bgexport
