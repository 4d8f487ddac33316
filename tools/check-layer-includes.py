#!/usr/bin/env python3
"""Fails when a source of one layer includes a header of a layer above it.

The layers run one way: toolbox > controls > forms > runtime. The link check catches calls
up the layers; an upward use through a header alone (a template, an inline function, a
constant) links fine, so the includes are checked here. Anything outside the four layers
(tools/, tests/, bench/, fuzz/) sits above them all.

    check-layer-includes.py SOURCE_DIR
"""
import os
import re
import subprocess
import sys

LAYERS = ["runtime", "forms", "controls", "toolbox"]
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"')


def layer_of(path):
    top = path.split("/", 1)[0]
    return LAYERS.index(top) if top in LAYERS else len(LAYERS)


def sources(root):
    try:
        out = subprocess.run(["git", "-C", root, "ls-files", "--cached", "--others", "--exclude-standard", *LAYERS], check=True, capture_output=True, text=True).stdout
        return [f for f in out.split("\n") if f]
    except (OSError, subprocess.CalledProcessError):
        # Not a clone: every file of the layers' directories.
        found = []
        for layer in LAYERS:
            for directory, _, files in os.walk(os.path.join(root, layer)):
                found += [os.path.relpath(os.path.join(directory, f), root) for f in files]
        return found


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else "."
    checked = 0
    upward = []
    for path in sorted(sources(root)):
        if not path.endswith((".h", ".cpp", ".c", ".inc")):
            continue
        checked += 1
        own = layer_of(path)
        with open(os.path.join(root, path), encoding="utf-8", errors="replace") as f:
            for number, line in enumerate(f, 1):
                m = INCLUDE.match(line)
                # Includes without a directory are generated headers of the file's own layer.
                if m and "/" in m.group(1) and layer_of(m.group(1)) > own:
                    upward.append(f"{path}:{number}: {LAYERS[own]} includes {m.group(1)}")
    for line in upward:
        print(line)
    print(f"{checked} sources of the four layers, {len(upward)} includes up the layers")
    return 1 if upward or checked == 0 else 0


if __name__ == "__main__":
    sys.exit(main())
