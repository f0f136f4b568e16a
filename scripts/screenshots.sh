#!/usr/bin/env bash
# Builds the desktop program if needed and saves pictures of its windows, drawn offscreen, into
# docs/screenshots: the main window with options shown, a finished preview and options hidden; the
# standard and the Wade-Giles custom reading editors with a few entries; the usage notes; About.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TOLVANE_BUILD_DIR:-$root/build}
out=$root/docs/screenshots
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc)" --target ui_screenshots
mkdir -p "$out"
tool=$(find "$build" -name ui_screenshots -type f -perm -u+x | head -n 1)
QT_QPA_PLATFORM=offscreen "$tool" "$out"
