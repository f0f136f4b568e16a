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

# folder -> the folders its files may include (its own folder always)
LAYERS = {
    "platform": set(),
    "settings": set(),
    "reading/shared": {"platform", "settings"},
    "reading/classic": {"platform", "settings", "reading/shared"},
    "reading/context": {"platform", "settings", "reading/shared"},
    "reading/orthography": {"platform", "settings", "reading/shared", "reading/context"},
    "reading": {"platform", "settings", "reading/shared", "reading/classic", "reading/context",
                "reading/orthography"},
    "engine": {"platform", "settings", "reading/shared", "reading/classic", "reading/context",
               "reading/orthography", "reading"},
    "documents": {"platform", "settings", "reading/shared", "reading/classic", "reading/context",
                  "reading/orthography", "reading", "engine"},
    "frontend": {"platform", "settings", "reading/shared", "reading/classic", "reading/context",
                 "reading/orthography", "reading", "engine"},
    "cli": {"platform", "settings", "reading/shared", "reading/classic", "reading/context",
            "reading/orthography", "reading", "engine", "documents", "frontend"},
    "ui": {"platform", "settings", "reading/shared", "reading/classic", "reading/context",
           "reading/orthography", "reading", "engine", "documents", "frontend"},
}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)
SOURCES = ("*.h", "*.cpp")


def layer_of(relative: str):
    """The most specific layer folder that holds `relative`, or None."""
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
