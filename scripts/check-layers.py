#!/usr/bin/env python3
"""Fails when a quoted #include in src/ points up a layer, or when folders of one layer include
each other.

The layers and their order come from src/LAYERS only. A file belongs to the layer of the longest
folder of that list its path starts with; an included file likewise (quoted includes are written
from src/, or relative to the including file's folder). Including a file of the same layer or of
a lower one is allowed; a file in src/ outside every listed folder is an error, so that a new
folder gets its place in the list.

Inside a layer every opening between two folders goes one way: when the includes among a layer's
folders go round (A includes B and B includes A, or A -> B -> C -> A), the folders on that circle
are reported with the includes that close it. Folders joined by "+" in the list are one piece and
may include each other both ways.
"""
import os
import re
import sys

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
SRC = os.path.join(ROOT, "src")
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')
SOURCES = (".h", ".hpp", ".cpp", ".cc", ".c", ".inc")


def read_layers():
    """The level of each listed folder, and the piece (one folder, or folders joined by "+") it
    belongs to."""
    layers, pieces = {}, {}
    with open(os.path.join(SRC, "LAYERS"), encoding="utf-8") as f:
        level = 0
        for line in f:
            line = line.split("#", 1)[0].split()
            if not line:
                continue
            for piece in line:
                for folder in piece.split("+"):
                    layers[folder.strip("/")] = level
                    pieces[folder.strip("/")] = piece
            level += 1
    return layers, pieces


def layer_of(path, layers):
    """The listed folder a path (relative to src/) lies in, or None."""
    best = None
    for folder in layers:
        if (path == folder or path.startswith(folder + "/")) and (best is None or len(folder) > len(best)):
            best = folder
    return best


def knots(openings):
    """The groups of pieces that reach one another through `openings` ({(from, to): place}), each
    sorted, with more than one piece in it."""
    after = {}
    for a, b in openings:
        after.setdefault(a, set()).add(b)

    def reach(start):
        seen, todo = set(), [start]
        while todo:
            for b in after.get(todo.pop(), ()):
                if b not in seen:
                    seen.add(b)
                    todo.append(b)
        return seen

    reached = {a: reach(a) for a in after}
    groups = {tuple(sorted({a} | {b for b in reached[a] if a in reached.get(b, ())})) for a in after}
    return sorted(g for g in groups if len(g) > 1)


def main():
    layers, pieces = read_layers()
    errors = []
    # The first include found from one piece into another of the same layer.
    openings = {}
    for dirpath, folders, names in os.walk(SRC):
        folders.sort()  # the same first include of an opening on every machine
        for name in sorted(names):
            if not name.endswith(SOURCES):
                continue
            full = os.path.join(dirpath, name)
            rel = os.path.relpath(full, SRC).replace(os.sep, "/")
            own = layer_of(rel, layers)
            if own is None:
                errors.append(f"src/{rel}: its folder is in no layer of src/LAYERS")
                continue
            with open(full, encoding="utf-8", errors="replace") as f:
                for number, line in enumerate(f, 1):
                    m = INCLUDE.match(line)
                    if not m:
                        continue
                    target = m.group(1)
                    local = os.path.normpath(os.path.join(os.path.dirname(rel), target)).replace(os.sep, "/")
                    if os.path.exists(os.path.join(SRC, local)):
                        target = local
                    elif not os.path.exists(os.path.join(SRC, target)):
                        continue  # not a file of src/ (a generated or a library header)
                    theirs = layer_of(target, layers)
                    if theirs is None or layers[theirs] > layers[own]:
                        errors.append(f"src/{rel}:{number}: includes {m.group(1)} "
                                      f"({theirs or 'no layer'}) from {own}, a lower layer")
                    elif layers[theirs] == layers[own] and pieces[theirs] != pieces[own]:
                        place = f"src/{rel}:{number}: includes {m.group(1)}"
                        openings.setdefault((pieces[own], pieces[theirs]), place)
    for group in knots(openings):
        closing = [place for (a, b), place in sorted(openings.items()) if a in group and b in group]
        errors.append(f"{', '.join(group)} include each other; inside a layer an opening goes one way:\n  "
                      + "\n  ".join(closing))
    for e in errors:
        print(e, file=sys.stderr)
    if errors:
        print(f"{len(errors)} fault(s) against the layer order of src/LAYERS", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
