"""Draws the storeys of an IFC file as IfcOpenShell reads them: one plan
(top view) per IfcBuildingStorey, side by side, lowest first, all at one
scale and north up. A plan shows the storey's walls in grey, its spaces
filled, outlined and labelled with their names, and its doors and windows
marked; its title is the storey's name and elevation. ImageMagick draws it.

usage: python3 draw_storeys.py FILE.ifc OUT.png
"""

import subprocess
import sys

import ifcopenshell
import ifcopenshell.geom
import ifcopenshell.util.element
import ifcopenshell.util.unit
import numpy

PIXELS_PER_METRE = 40
MARGIN = 30
TITLE = 50
LEGEND = 10
FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
WALL = "#8c8c8c"
SPACE = ("#dbe9f6", "#4a79a8")
DOOR = ("#f0a040", "#8a4b00")
WINDOW = ("#9fe0f0", "#106a80")


def triangles(settings, product):
    """The product's triangles in world coordinates, an array n x 3 x 3."""
    shape = ifcopenshell.geom.create_shape(settings, product)
    verts = numpy.array(shape.geometry.verts).reshape(-1, 3)
    return verts[numpy.array(shape.geometry.faces).reshape(-1, 3)]


def facing_up(tris):
    normal = numpy.cross(tris[:, 1] - tris[:, 0], tris[:, 2] - tris[:, 0])
    return tris[normal[:, 2] > 1e-6 * numpy.linalg.norm(normal, axis=1)]


def outline(tris):
    """The edges of the top of a prism: of its highest upward triangles,
    the edges that only one of them has."""
    top = facing_up(tris)
    top = top[numpy.isclose(top[:, :, 2].min(axis=1), tris[:, :, 2].max(), atol=1e-4)]
    count = {}
    for tri in top:
        for i in range(3):
            a, b = tuple(numpy.round(tri[i, :2], 4)), tuple(numpy.round(tri[(i + 1) % 3, :2], 4))
            key = (min(a, b), max(a, b))
            count[key] = count.get(key, 0) + 1
    return top, [edge for edge, n in count.items() if n == 1]


def hull(points):
    """The convex hull of 2D points, counter-clockwise (monotone chain)."""
    points = sorted(set(map(tuple, numpy.round(points, 4))))
    if len(points) < 3:
        return points

    def half(seq):
        chain = []
        for p in seq:
            while len(chain) >= 2 and ((chain[-1][0] - chain[-2][0]) * (p[1] - chain[-2][1])
                                       - (chain[-1][1] - chain[-2][1]) * (p[0] - chain[-2][0])) <= 0:
                chain.pop()
            chain.append(p)
        return chain[:-1]

    return half(points) + half(reversed(points))


def storey_shapes(settings, storey):
    """The storey's walls, spaces, doors and windows as triangles, by kind."""
    kinds = {"wall": "IfcWall", "space": "IfcSpace", "door": "IfcDoor", "window": "IfcWindow"}
    shapes = {kind: [] for kind in kinds}
    for product in ifcopenshell.util.element.get_decomposition(storey):
        for kind, ifc_class in kinds.items():
            if product.is_a(ifc_class) and product.Representation is not None:
                shapes[kind].append((product, triangles(settings, product)))
    return shapes


def draw(path, out):
    model = ifcopenshell.open(path)
    settings = ifcopenshell.geom.settings()
    settings.set("use-world-coords", True)
    unit = ifcopenshell.util.unit.calculate_unit_scale(model)
    storeys = sorted(model.by_type("IfcBuildingStorey"), key=lambda s: s.Elevation or 0.0)
    plans = [(storey, storey_shapes(settings, storey)) for storey in storeys]

    # One frame for every plan: the extent of all their shapes.
    every = [t[:, :, :2].reshape(-1, 2) for _, shapes in plans for kind in shapes.values() for _, t in kind]
    every = numpy.concatenate(every) if every else numpy.zeros((1, 2))
    low, high = every.min(axis=0), every.max(axis=0)
    plan_w, plan_h = ((high - low) * PIXELS_PER_METRE).astype(int) + 1
    panel_w = max(plan_w, 260) + 2 * MARGIN
    width, height = panel_w * max(len(plans), 1), plan_h + TITLE + 2 * MARGIN + LEGEND

    mvg = [f"viewbox 0 0 {width} {height}", "fill white", f"rectangle 0,0 {width},{height}",
           f"font '{FONT}'", "stroke-linejoin round"]

    def pixel(panel, x, y):
        return (panel * panel_w + MARGIN + (x - low[0]) * PIXELS_PER_METRE,
                TITLE + MARGIN + (high[1] - y) * PIXELS_PER_METRE)

    def polygon(panel, points, fill, stroke, stroke_width=1):
        coords = " ".join("%.1f,%.1f" % pixel(panel, x, y) for x, y in points)
        mvg.extend([f"fill '{fill}'", f"stroke '{stroke}'", f"stroke-width {stroke_width}", f"polygon {coords}"])

    def text(x, y, words, size, weight="normal"):
        quoted = words.replace("\\", "\\\\").replace('"', '\\"')
        mvg.extend(["stroke none", "fill black", f"font-size {size}", f"font-weight {weight}",
                    f'text {x:.1f},{y:.1f} "{quoted}"'])

    for panel, (storey, shapes) in enumerate(plans):
        labels = []
        for product, tris in shapes["space"]:
            top, edges = outline(tris)
            for tri in top:
                polygon(panel, tri[:, :2], SPACE[0], SPACE[0], 0.5)
            for a, b in edges:
                mvg.extend([f"stroke '{SPACE[1]}'", "stroke-width 1.5",
                            "line %.1f,%.1f %.1f,%.1f" % (pixel(panel, *a) + pixel(panel, *b))])
            area = numpy.abs(numpy.cross(top[:, 1, :2] - top[:, 0, :2], top[:, 2, :2] - top[:, 0, :2]))
            centre = (top[:, :, :2].mean(axis=1) * area[:, None]).sum(axis=0) / max(area.sum(), 1e-12)
            labels.append((pixel(panel, *centre), product.Name or ""))
        for _, tris in shapes["wall"]:
            for tri in facing_up(tris):
                polygon(panel, tri[:, :2], WALL, WALL, 0.5)
        for kind, colours in (("door", DOOR), ("window", WINDOW)):
            for _, tris in shapes[kind]:
                polygon(panel, hull(tris[:, :, :2].reshape(-1, 2)), colours[0], colours[1], 1.5)
        for (x, y), name in labels:  # centred by a guess at the text's width
            text(x - 3.4 * len(name), y + 5, name, 12)
        elevation = (storey.Elevation or 0.0) * unit
        text(panel * panel_w + MARGIN, MARGIN + 14, f"{storey.Name}, elevation {elevation:.2f} m", 16, "bold")

    key = [("wall", (WALL, WALL)), ("space", SPACE), ("door", DOOR), ("window", WINDOW)]
    for i, (word, (fill, stroke)) in enumerate(key):
        x, y = MARGIN + 90 * i, height - 14
        mvg.extend([f"fill '{fill}'", f"stroke '{stroke}'", "stroke-width 1.5", f"rectangle {x},{y - 12} {x + 18},{y}"])
        text(x + 24, y - 1, word, 12)

    subprocess.run(["convert", "mvg:-", out], input="\n".join(mvg).encode(), check=True)


if __name__ == "__main__":
    draw(sys.argv[1], sys.argv[2])
