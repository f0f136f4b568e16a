#!/usr/bin/env python3
"""The layering check passes on the tree and fails on an include that points up or sideways.

    python3 tests/check_layers_test.py SOURCE_DIR
"""
import pathlib
import shutil
import subprocess
import sys
import tempfile

root = pathlib.Path(sys.argv[1]).resolve()
checker = root / "tools" / "check_layers.py"


def check(tree: pathlib.Path) -> subprocess.CompletedProcess:
    return subprocess.run([sys.executable, str(checker), str(tree)], capture_output=True,
                          text=True)


failures = []
result = check(root)
if result.returncode != 0:
    failures.append(f"the tree itself fails:\n{result.stderr}")

# (file, include planted in it, whether the check must refuse it)
cases = [
    ("platform/Error.h", "engine/AnnotateLine.h", True),
    ("reading/shared/ToneMarks.cpp", "reading/Session.h", True),
    ("reading/classic/Lookup.cpp", "reading/context/PhraseData.h", True),
    ("reading/context/Segmentation.cpp", "reading/classic/ReadingTable.h", True),
    ("engine/AnnotateLine.cpp", "ui/TfrmMain.h", True),
    ("cli/main.cpp", "ui/TfrmMain.h", True),
    ("engine/AnnotateLine.cpp", "reading/context/PhraseData.h", False),
    ("ui/TfrmMain.cpp", "engine/AnnotateLine.h", False),
]
for file, include, refused in cases:
    with tempfile.TemporaryDirectory() as temp:
        tree = pathlib.Path(temp)
        for folder in ("platform", "settings", "reading", "engine", "frontend", "cli", "ui"):
            if (root / folder).is_dir():
                shutil.copytree(root / folder, tree / folder)
        path = tree / file
        path.write_text(f'#include "{include}"\n' + path.read_text(encoding="utf-8"),
                        encoding="utf-8")
        result = check(tree)
        if refused and (result.returncode == 0 or include not in result.stderr):
            failures.append(f"{file} including {include} was not refused")
        if not refused and result.returncode != 0:
            failures.append(f"{file} including {include} was refused:\n{result.stderr}")

for failure in failures:
    print(failure, file=sys.stderr)
print(f"{len(cases) + 1 - len(failures)} passed, {len(failures)} failed")
sys.exit(1 if failures else 0)
