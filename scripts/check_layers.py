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
    # The map services' clients and their arithmetic: tile and place URLs,
    # place replies, the libcurl transfer.
    "sitemap": set(),
    "ifc": {"step", "geometry"},
    "model": {"geometry"},
    "layouter": {"model", "geometry"},
    # ifc writes through the STEP writer, and the export reads STEP files back.
    "export": {"ifc", "step", "model", "geometry"},
    "src": {"step", "geometry", "diagram", "platform", "sitemap", "ifc", "model", "layouter", "export"},
}

# The window's workspaces inside src/ and which others each may include. The
# shell builds every page; a workspace uses the shell's events, state and
# dialogs, and no other workspace unless named here.
WORKSPACES = {
    "shell": {"building", "requirements", "proposal", "site", "platformui"},
    # The building page fits its floors with the plan view's scale rule.
    "building": {"shell", "proposal"},
    "requirements": {"shell", "platformui"},
    "proposal": {"shell", "requirements"},
    "site": {"shell"},
    "platformui": {"shell"},
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


def included_workspace(root, target):
    """The workspace of src/ a quoted include names, or None."""
    first = target.split("/", 1)[0]
    if first in WORKSPACES and os.path.isfile(os.path.join(root, GUI, target)):
        return first
    return None


def workspace_problem(root, path, target, where):
    relative = os.path.relpath(path, os.path.join(root, GUI)).split(os.sep)
    if len(relative) < 2 or relative[0] not in WORKSPACES:
        return f"{where}: sources of {GUI}/ belong in a workspace folder ({', '.join(sorted(WORKSPACES))})"
    own = relative[0]
    other = included_workspace(root, target)
    if other is None or other == own or other in WORKSPACES[own]:
        return None
    may = ", ".join(sorted(WORKSPACES[own])) or "no other workspace"
    return f"{where}: {GUI}/{own} includes {target} of {GUI}/{other}; {own} may use {may}"


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
                    if layer == GUI and kind == '"':
                        problem = workspace_problem(root, path, target, where)
                        if problem:
                            problems.append(problem)
                        if included_workspace(root, target) or os.path.isfile(
                                os.path.join(os.path.dirname(path), target)):
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
