"""Reads an exported IFC file back with IfcOpenShell and prints, as one JSON
document, what the export tests compare with the plan: the storeys in file
order, and per product its type, name, storey, geometric volume (openings
cut), base quantities and common properties, its material layer set
usages, and how the spatial structure holds it; its space boundaries with
their faces placed in the world; under "wallFaces" per space what its
second-level boundaries on wall faces cover; and under "walk" what a
person meets beyond each door's faces and the volume walls of one storey
share.

usage: python3 check_export.py FILE.ifc
"""

import json
import sys

import ifcopenshell
import ifcopenshell.geom
import ifcopenshell.util.element
import ifcopenshell.util.placement
import numpy


def volume(shape):
    verts = shape.geometry.verts
    faces = shape.geometry.faces
    total = 0.0
    for i in range(0, len(faces), 3):
        a, b, c = (verts[3 * faces[i + k]: 3 * faces[i + k] + 3] for k in range(3))
        total += (a[0] * (b[1] * c[2] - b[2] * c[1])
                  - a[1] * (b[0] * c[2] - b[2] * c[0])
                  + a[2] * (b[0] * c[1] - b[1] * c[0]))
    return total / 6.0


def polyline(curve):
    return [tuple(p.Coordinates) + (0.0,) * (3 - len(p.Coordinates)) for p in curve.Points]


def planar_area(points):
    total = 0.0
    for i in range(len(points)):
        x0, y0 = points[i - 1][0], points[i - 1][1]
        x1, y1 = points[i][0], points[i][1]
        total += x0 * y1 - x1 * y0
    return abs(total) / 2.0


def inside(points, box, tolerance=1e-3):
    if box is None:
        return None
    low, high = box
    return bool(numpy.all(points >= low - tolerance) and numpy.all(points <= high + tolerance))


def boundary(rel, boxes):
    """A space boundary's surface placed in the world (through the relating
    space's placement, or as written for an external element), its area and
    whether it lies within the boxes of its element and of its space."""
    entry = {"id": rel.id(), "type": rel.is_a(), "name": rel.Name, "description": rel.Description,
             "flag": rel.InternalOrExternalBoundary, "relating": rel.RelatingSpace.id(),
             "relatingType": rel.RelatingSpace.is_a(), "relatingName": rel.RelatingSpace.Name,
             "element": rel.RelatedBuildingElement.id(), "elementType": rel.RelatedBuildingElement.is_a()}
    parent = getattr(rel, "ParentBoundary", None)
    entry["parentRelating"] = parent.RelatingSpace.id() if parent is not None else None
    entry["parent"] = parent.id() if parent is not None else None
    corresponding = getattr(rel, "CorrespondingBoundary", None)
    entry["corresponding"] = corresponding.id() if corresponding is not None else None
    surface = rel.ConnectionGeometry.SurfaceOnRelatingElement
    plane = ifcopenshell.util.placement.get_axis2placement(surface.BasisSurface.Position)
    frame = numpy.eye(4)
    if rel.RelatingSpace.is_a("IfcSpace"):
        frame = ifcopenshell.util.placement.get_local_placement(rel.RelatingSpace.ObjectPlacement)
    outer = polyline(surface.OuterBoundary)
    area = planar_area(outer) - sum(planar_area(polyline(c)) for c in surface.InnerBoundaries or [])
    local = numpy.array([[x, y, 0.0, 1.0] for x, y, _ in outer])
    world = (frame @ plane @ local.T).T[:, :3]
    entry["area"] = area
    entry["low"] = [float(v) for v in world.min(axis=0)]
    entry["high"] = [float(v) for v in world.max(axis=0)]
    entry["zmin"] = float(world[:, 2].min())
    entry["zmax"] = float(world[:, 2].max())
    entry["inElement"] = inside(world, boxes.get(rel.RelatedBuildingElement.id()))
    entry["inSpace"] = inside(world, boxes.get(rel.RelatingSpace.id())) if rel.RelatingSpace.is_a("IfcSpace") else None
    return entry


def box_overlap(a, b):
    """The volume two axis-aligned boxes share."""
    low = numpy.maximum(a[0], b[0])
    high = numpy.minimum(a[1], b[1])
    return float(numpy.prod(numpy.clip(high - low, 0.0, None)))


def in_box(point, box, tolerance=0.0):
    return box is not None and bool(numpy.all(point >= box[0] - tolerance) and numpy.all(point <= box[1] + tolerance))


def upright_face(entry, tolerance=1e-6):
    """The plane and extent of an upright boundary face: the axis (0 x, 1 y)
    it is constant along, that constant, its interval along the other axis
    and its heights; None for a face that is not upright along x or y."""
    low, high = entry["low"], entry["high"]
    if high[2] - low[2] <= tolerance:
        return None
    for axis in (0, 1):
        if high[axis] - low[axis] <= tolerance:
            other = 1 - axis
            return axis, (low[axis] + high[axis]) / 2.0, (low[other], high[other]), (low[2], high[2])
    return None


def shared_area(a, b, tolerance=1e-6):
    """The area two upright faces share: nothing unless they lie in one plane."""
    if a is None or b is None or a[0] != b[0] or abs(a[1] - b[1]) > tolerance:
        return 0.0
    along = min(a[2][1], b[2][1]) - max(a[2][0], b[2][0])
    up = min(a[3][1], b[3][1]) - max(a[3][0], b[3][0])
    return max(0.0, along) * max(0.0, up)


def wall_faces(boundaries):
    """Per space, what its second-level boundaries on wall faces cover: their
    summed area, the areas any two of them share, faces that are not upright,
    and for each door or window face of the space how much of it lies on
    those wall faces (the export writes a wall face whole, its openings as
    boundaries of their own on top of it)."""
    per_space = {}
    for entry in boundaries:
        if entry["name"] != "2ndLevel" or entry["relatingType"] != "IfcSpace":
            continue
        element = entry["elementType"]
        space = per_space.setdefault(entry["relating"], {"space": entry["relating"], "name": entry["relatingName"],
                                                         "area": 0.0, "walls": [], "openings": []})
        if element.startswith("IfcWall"):
            space["walls"].append(entry)
        elif element.startswith("IfcDoor") or element.startswith("IfcWindow"):
            space["openings"].append(entry)
    result = []
    for space in per_space.values():
        walls = [(entry, upright_face(entry)) for entry in space["walls"]]
        overlaps = []
        for i, (a, face_a) in enumerate(walls):
            for b, face_b in walls[i + 1:]:
                shared = shared_area(face_a, face_b)
                if shared > 1e-9:
                    overlaps.append({"boundaries": [a["id"], b["id"]], "area": shared})
        openings = []
        for opening in space["openings"]:
            face = upright_face(opening)
            openings.append({"id": opening["id"], "element": opening["element"], "area": opening["area"],
                             "onWalls": sum(shared_area(face, wall_face) for _, wall_face in walls)})
        result.append({"space": space["space"], "name": space["name"],
                       "area": sum(entry["area"] for entry, _ in walls), "count": len(walls),
                       "notUpright": [entry["id"] for entry, face in walls if face is None],
                       "overlaps": overlaps, "openings": openings})
    return result


def walk(model, whole_boxes, storey_of):
    """What a person meets: for each door, the spaces and walls holding a
    point 5 cm beyond each face at one metre above its sill; for each pair of
    walls of one storey, the volume their whole shapes share (every wall of
    the export is an upright box along x or y, so its shape's box is the
    wall)."""
    spaces = [s for s in model.by_type("IfcSpace") if s.id() in whole_boxes]
    walls = [w for w in model.by_type("IfcWall") if w.id() in whole_boxes]
    doors = []
    for door in model.by_type("IfcDoor"):
        box = whole_boxes.get(door.id())
        if box is None:
            continue
        extent = box[1] - box[0]
        across = 0 if extent[0] < extent[1] else 1
        centre = (box[0] + box[1]) / 2.0
        centre[2] = box[0][2] + 1.0
        faces = []
        for sign in (-1.0, 1.0):
            point = centre.copy()
            point[across] += sign * (extent[across] / 2.0 + 0.05)
            faces.append({"spaces": [sp.Name for sp in spaces if in_box(point, whole_boxes[sp.id()])],
                          "walls": [w.id() for w in walls if in_box(point, whole_boxes[w.id()], -1e-6)]})
        external = bool(ifcopenshell.util.element.get_psets(door).get("Pset_DoorCommon", {}).get("IsExternal"))
        doors.append({"id": door.id(), "external": external, "faces": faces})
    overlaps = []
    for i, a in enumerate(walls):
        for b in walls[i + 1:]:
            if storey_of.get(a.id()) != storey_of.get(b.id()):
                continue
            shared = box_overlap(whole_boxes[a.id()], whole_boxes[b.id()])
            if shared > 1e-6:
                overlaps.append({"walls": [a.id(), b.id()], "names": [a.Name, b.Name], "volume": shared})
    return {"doors": doors, "wallOverlaps": overlaps}


def main(path):
    model = ifcopenshell.open(path)
    settings = ifcopenshell.geom.settings()
    settings.set("use-world-coords", True)
    # The boxes that boundaries must lie in are those of the whole element:
    # a door as wide as its wall piece leaves only the lintel of the cut one.
    whole = ifcopenshell.geom.settings()
    whole.set("use-world-coords", True)
    whole.set("disable-opening-subtractions", True)

    report = {"schema": model.schema, "storeys": [], "products": [], "aggregates": [], "groups": [],
              "boundaries": []}
    boxes = {}
    whole_boxes = {}
    storey_of = {}
    for storey in model.by_type("IfcBuildingStorey"):
        parents = [rel.RelatingObject.is_a() for rel in storey.Decomposes or []]
        report["storeys"].append({"id": storey.id(), "name": storey.Name, "elevation": storey.Elevation,
                                  "aggregatedBy": parents})

    for product in model.by_type("IfcProduct"):
        if product.is_a() in ("IfcSite", "IfcBuilding", "IfcBuildingStorey", "IfcExternalSpatialElement"):
            continue
        entry = {"id": product.id(), "type": product.is_a(), "name": product.Name}
        contained = [rel.RelatingStructure.Name for rel in getattr(product, "ContainedInStructure", []) or []]
        entry["containedIn"] = contained
        entry["aggregatedIn"] = [rel.RelatingObject.Name for rel in getattr(product, "Decomposes", []) or []]
        entry["voids"] = [rel.RelatingBuildingElement.id() for rel in getattr(product, "VoidsElements", []) or []]
        entry["fills"] = [rel.RelatingOpeningElement.id() for rel in getattr(product, "FillsVoids", []) or []]
        if product.is_a("IfcDoor") or product.is_a("IfcWindow"):
            entry["overallWidth"] = product.OverallWidth
            entry["overallHeight"] = product.OverallHeight
        usages = [rel.RelatingMaterial for rel in getattr(product, "HasAssociations", []) or []
                  if rel.is_a("IfcRelAssociatesMaterial") and rel.RelatingMaterial.is_a("IfcMaterialLayerSetUsage")]
        entry["layerSetUsages"] = [{"id": u.id(), "axis": u.LayerSetDirection, "sense": u.DirectionSense,
                                    "offset": u.OffsetFromReferenceLine, "layerSet": u.ForLayerSet.id(),
                                    "thickness": sum(layer.LayerThickness for layer in u.ForLayerSet.MaterialLayers)}
                                   for u in usages]
        container = ifcopenshell.util.element.get_container(product)
        entry["storey"] = container.Name if container is not None else None
        storey_of[product.id()] = entry["storey"]
        psets = ifcopenshell.util.element.get_psets(product)
        entry["psets"] = {name: {k: v for k, v in values.items() if k != "id"} for name, values in psets.items()}
        if product.Representation is not None and not product.is_a("IfcOpeningElement"):
            try:
                shape = ifcopenshell.geom.create_shape(settings, product)
                entry["volume"] = volume(shape)
                entry["vertices"] = len(shape.geometry.verts) // 3
                if product.is_a("IfcWall") or product.is_a("IfcSlab"):
                    shape = ifcopenshell.geom.create_shape(whole, product)
                points = numpy.array(shape.geometry.verts).reshape(-1, 3)
                if len(points):
                    whole_boxes[product.id()] = (points.min(axis=0), points.max(axis=0))
                if len(points):
                    boxes[product.id()] = (points.min(axis=0), points.max(axis=0))
            except Exception as error:  # reported, the test decides
                entry["volume"] = None
                entry["geometryError"] = str(error)
        report["products"].append(entry)

    for group in model.by_type("IfcGroup"):
        members = []
        for rel in getattr(group, "IsGroupedBy", []) or []:
            members.extend(o.id() for o in rel.RelatedObjects)
        report["groups"].append({"type": group.is_a(), "name": group.Name, "members": members,
                                 "relations": len(getattr(group, "IsGroupedBy", []) or [])})
    for rel in model.by_type("IfcRelSpaceBoundary"):
        report["boundaries"].append(boundary(rel, boxes))
    report["wallFaces"] = wall_faces(report["boundaries"])
    report["walk"] = walk(model, whole_boxes, storey_of)
    json.dump(report, sys.stdout)


if __name__ == "__main__":
    main(sys.argv[1])
