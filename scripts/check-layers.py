#!/usr/bin/env python3
"""Fails when a quoted #include in src/ points up a layer.

The layers and their order come from src/LAYERS only. A file belongs to the layer of the longest
folder of that list its path starts with; an included file likewise (quoted includes are written
from src/, or relative to the including file's folder). Including a file of the same layer or of
a lower one is allowed; a file in src/ outside every listed folder is an error, so that a new
folder gets its place in the list.
"""
import os
import re
import sys

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
SRC = os.path.join(ROOT, "src")
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')
SOURCES = (".h", ".hpp", ".cpp", ".cc", ".c", ".inc")


def read_layers():
    layers = {}
    with open(os.path.join(SRC, "LAYERS"), encoding="utf-8") as f:
        level = 0
        for line in f:
            line = line.split("#", 1)[0].split()
            if not line:
                continue
            for folder in line:
                layers[folder.strip("/")] = level
            level += 1
    return layers


def layer_of(path, layers):
    """The listed folder a path (relative to src/) lies in, or None."""
    best = None
    for folder in layers:
        if (path == folder or path.startswith(folder + "/")) and (best is None or len(folder) > len(best)):
            best = folder
    return best


def main():
    layers = read_layers()
    errors = []
    for dirpath, _, names in os.walk(SRC):
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
    for e in errors:
        print(e, file=sys.stderr)
    if errors:
        print(f"{len(errors)} place(s) against the layer order of src/LAYERS", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
