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

# The bundled sample as an HTML page in Chromium and as a page of the PDF export.
cmake --build "$build" -j "$(nproc)" --target tolvane-cli ui_pdf_export >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bin/tolvane-cli" convert --quiet --polyphone context "$root/data/sample.txt" "$work/sample.html"
chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
  --disable-background-networking --disable-component-update --disable-sync \
  --user-data-dir="$work/profile" --hide-scrollbars --window-size=900,640 \
  --screenshot="$out/html-page.png" "file://$work/sample.html" 2>/dev/null
echo "$out/html-page.png"
QT_QPA_PLATFORM=offscreen "$build/tests/ui_pdf_export" "$root/data/sample.txt" "$work/sample.pdf" --context >/dev/null
pdftoppm -r 60 -png -f 1 -l 1 -singlefile "$work/sample.pdf" "$out/pdf-page"
echo "$out/pdf-page.png"
