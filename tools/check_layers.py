#!/usr/bin/env python3
"""Fails when a file includes a header of a layer above its own, or of a layer beside it.

    python3 tools/check_layers.py [ROOT]

The layers, lowest first, and what each may include besides its own folder. A file belongs to the
most specific folder listed; tests, benchmarks, fuzz targets and tools may include anything.
The build runs this check, so an include that points up fails the build.
"""
import pathlib
import re
import sys

# The library's public headers, included as "tolvane/...", are the lowest layer: the one error
# type is theirs, so every layer may include them, and they include nothing of the layers.
PUBLIC = "include/tolvane"
CORE = [PUBLIC, "platform", "settings", "reading/shared", "reading/classic", "reading/context",
        "reading/orthography", "reading", "engine"]

# folder -> the folders its files may include (its own folder always)
LAYERS = {
    PUBLIC: set(),
    "platform": {PUBLIC},
    "settings": {PUBLIC},
    "reading/shared": {PUBLIC, "platform", "settings"},
    "reading/classic": {PUBLIC, "platform", "settings", "reading/shared"},
    "reading/context": {PUBLIC, "platform", "settings", "reading/shared"},
    "reading/orthography": {PUBLIC, "platform", "settings", "reading/shared", "reading/context"},
    "reading": {PUBLIC, "platform", "settings", "reading/shared", "reading/classic",
                "reading/context", "reading/orthography"},
    "engine": set(CORE[:-1]),
    "documents": set(CORE),
    "frontend": set(CORE) | {"documents"},
    "api": set(CORE) | {"documents", "frontend"},
    "cli": set(CORE) | {"documents", "frontend", "api"},
    "ui": set(CORE) | {"documents", "frontend", "api"},
}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)
SOURCES = ("*.h", "*.cpp")


def layer_of(relative: str):
    """The most specific layer folder that holds `relative`, or None."""
    if relative.startswith("tolvane/"):  # a public header as it is included
        relative = "include/" + relative
    best = None
    for folder in LAYERS:
        if relative.startswith(folder + "/") and (best is None or len(folder) > len(best)):
            best = folder
    return best


def violations(root: pathlib.Path):
    for pattern in SOURCES:
        for path in sorted(root.rglob(pattern)):
            relative = path.relative_to(root).as_posix()
            if relative.startswith(("build", ".git")):
                continue
            own = layer_of(relative)
            if own is None:
                continue
            for included in INCLUDE.findall(path.read_text(encoding="utf-8", errors="replace")):
                target = layer_of(included)
                if target is None or target == own or target in LAYERS[own]:
                    continue
                yield f"{relative}: includes {included} ({target} is not below {own})"


def main() -> int:
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".").resolve()
    found = list(violations(root))
    for line in found:
        print(line, file=sys.stderr)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
