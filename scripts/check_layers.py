#!/usr/bin/env python3
"""Fails when a layer includes a header of a layer it may not depend on.

Usage: check_layers.py <source folder>

Layers depend one way, so that everything below the GUI builds and tests
without it. A folder that holds C++ sources and is neither a layer of the
table nor one of the folders that are no layer fails too: a new layer must
say here what it may use.
"""

import os
import re
import sys

# What each layer may include besides itself. The GUI (src/) sits on top and
# may include every layer.
ALLOWED = {
    "step": set(),
    "geometry": set(),
    "diagram": set(),
    "platform": set(),
    "ifc": {"step", "geometry"},
    "model": {"geometry"},
    "layouter": {"model", "geometry"},
    # ifc writes through the STEP writer, and the export reads STEP files back.
    "export": {"ifc", "step", "model", "geometry"},
    "src": {"step", "geometry", "diagram", "platform", "ifc", "model", "layouter", "export"},
}

# The only layer that may include wxWidgets.
GUI = "src"

# Folders with sources that are not layers: they sit above every layer.
NOT_LAYERS = {"tests", "bench", "cmake", "scripts", "resources"}

SOURCE_SUFFIXES = (".h", ".hpp", ".cpp", ".cc", ".cxx", ".inl")
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def source_files(folder):
    for dirpath, dirnames, filenames in os.walk(folder):
        dirnames[:] = sorted(d for d in dirnames if not d.startswith("."))
        for name in sorted(filenames):
            if name.endswith(SOURCE_SUFFIXES):
                yield os.path.join(dirpath, name)


def layer_of_path(root, path):
    relative = os.path.relpath(path, root)
    first = relative.split(os.sep, 1)[0]
    return first if first in ALLOWED else None


def included_layer(root, including_file, kind, target):
    """The layer an include names, or None for a header outside the layers."""
    if kind == '"':
        beside = os.path.normpath(os.path.join(os.path.dirname(including_file), target))
        if os.path.isfile(beside):
            return layer_of_path(root, beside)
    first = target.split("/", 1)[0]
    return first if first in ALLOWED and "/" in target else None


def check(root):
    problems = []
    for entry in sorted(os.listdir(root)):
        folder = os.path.join(root, entry)
        if not os.path.isdir(folder) or entry.startswith(".") or entry.startswith("build"):
            continue
        if entry in NOT_LAYERS or entry in ALLOWED:
            continue
        if any(True for _ in source_files(folder)):
            problems.append(f"{entry}/: holds sources but is not in the layer table of {__file__}")

    for layer in sorted(ALLOWED):
        folder = os.path.join(root, layer)
        if not os.path.isdir(folder):
            continue
        for path in source_files(folder):
            with open(path, encoding="utf-8", errors="replace") as text:
                for number, line in enumerate(text, 1):
                    match = INCLUDE.match(line)
                    if not match:
                        continue
                    kind, target = match.groups()
                    where = f"{os.path.relpath(path, root)}:{number}"
                    if target.startswith("wx/") and layer != GUI:
                        problems.append(f"{where}: {layer} includes the wxWidgets header {target}; "
                                        f"only {GUI}/ may")
                        continue
                    other = included_layer(root, path, kind, target)
                    if other is None or other == layer or other in ALLOWED[layer]:
                        continue
                    may = ", ".join(sorted(ALLOWED[layer])) or "no other layer"
                    problems.append(f"{where}: {layer} includes {target} of {other}; {layer} may use {may}")
    return problems


def main():
    if len(sys.argv) != 2:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    root = os.path.abspath(sys.argv[1])
    problems = check(root)
    for problem in problems:
        print(problem)
    if problems:
        print(f"{len(problems)} include(s) against the layer table")
        return 1
    print("every include follows the layer table")
    return 0


if __name__ == "__main__":
    sys.exit(main())
