#!/usr/bin/env python3
"""Checks at link level that no layer needs a symbol that only a layer above it defines.

The include folders already keep a layer from seeing the headers above it; this looks at what the
compiled objects of each layer archive need (`nm`), so a declaration written by hand, or a
function defined in the wrong folder, is caught too.

Usage: layer_symbols.py BUILD_DIR      (exit 1 and one line per symbol when a layer reaches up)"""
import os, subprocess, sys

# The generator uses only base, but no rule layer may use it: it stands just below the ring, with
# the atlas (its pictures, which also use the platform) above it. The content check and the
# replay stand side by side, and so do the atlas and the ring: neither of a pair may use the other.
LAYERS = ["base", "platform", "records", "world", "actors", "view", "gen", "atlas", "aids", "run",
          "replay", "check", "files", "shell", "route", "balance"]
BESIDE = {("replay", "check"), ("atlas", "aids"), ("atlas", "run"), ("atlas", "replay"),
          ("atlas", "check"), ("atlas", "files"), ("atlas", "shell")}


def symbols(archive):
    """The symbols the archive defines, and those its objects need from outside."""
    out = subprocess.run(["nm", "--format=posix", archive], capture_output=True, text=True,
                         check=True).stdout
    defined, needed = set(), set()
    for line in out.splitlines():
        parts = line.split()
        if len(parts) < 2 or line.endswith(":"):
            continue
        name, kind = parts[0], parts[1]
        (needed if kind in "Uw" else defined).add(name)
    return defined, needed - defined


def main():
    if len(sys.argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    build = sys.argv[1]
    tables = {}
    for layer in LAYERS:
        archive = os.path.join(build, "libgrotmere_%s.a" % layer)
        if not os.path.exists(archive):
            print("layer_symbols: no archive %s" % archive, file=sys.stderr)
            return 2
        tables[layer] = symbols(archive)
    faults = 0
    for k, layer in enumerate(LAYERS):
        beside = {b for a, b in BESIDE if a == layer} | {a for a, b in BESIDE if b == layer}
        below = set().union(*(tables[lower][0] for lower in LAYERS[:k + 1] if lower not in beside))
        for upper in LAYERS[k + 1:] + sorted(beside):
            for name in sorted((tables[layer][1] - below) & tables[upper][0]):
                demangled = subprocess.run(["c++filt", name], capture_output=True,
                                           text=True).stdout.strip()
                print("%s needs %s, which only %s defines" % (layer, demangled, upper))
                faults += 1
    print("layer_symbols: %d layers, %d symbols reaching up" % (len(LAYERS), faults))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
