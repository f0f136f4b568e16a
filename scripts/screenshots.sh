#!/usr/bin/env bash
# Builds the desktop program if needed and saves pictures of its windows, drawn offscreen, into
# docs/screenshots: the main window with options shown, a finished preview and options hidden; the
# standard and the Wade-Giles custom reading editors with a few entries; the usage notes; About;
# the page design dialog; the proofreading window with a character's readings open; and the
# bundled sample as an HTML page, a PDF page (tone colours, uncommon characters only), a DOCX page
# as LibreOffice prints it and an EPUB page as a browser shows it.
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

# The proofreading window with the menu of a character's readings open.
cmake --build "$build" -j "$(nproc)" --target tolvane-proofread-typing >/dev/null
QT_QPA_PLATFORM=offscreen "$build/bin/tolvane-proofread-typing" --shot "$out/proofread-menu.png" \
  >/dev/null
echo "$out/proofread-menu.png"

# A handout with tone colours and only the characters outside the 3,500 common ones annotated.
printf 'tone_colours = classic\nannotate = uncommon\n' > "$work/uncommon.design"
cat > "$work/uncommon.txt" <<'TEXT'
饕餮与貔貅
古书里说，饕餮是一种贪吃的怪兽，贪得无厌的人也常被叫作饕餮。
貔貅据说只进不出，所以商人喜欢在店里摆一只貔貅。
老人耄耋之年，仍然每天在湖边踱步，看晨雾氤氲，听鸟儿啁啾。
他踟蹰了很久，终于没有觊觎别人的东西。
TEXT
QT_QPA_PLATFORM=offscreen "$build/tests/ui_pdf_export" "$work/uncommon.txt" "$work/colours.pdf" \
  --context --design "$work/uncommon.design" >/dev/null
pdftoppm -r 60 -png -f 1 -l 1 -singlefile "$work/colours.pdf" "$out/pdf-colours-uncommon"
echo "$out/pdf-colours-uncommon.png"

# A DOCX handout as LibreOffice lays it out, and an EPUB page in the browser.
printf 'tone_colours = classic\n' > "$work/colours.design"
"$build/bin/tolvane-cli" convert --quiet --design "$work/colours.design" "$root/data/sample.txt" \
  "$work/sample.docx"
HOME=$work soffice -env:UserInstallation="file://$work/lo-profile" --headless --convert-to pdf \
  --outdir "$work" "$work/sample.docx" >/dev/null 2>&1
pdftoppm -r 60 -png -f 1 -l 1 -singlefile "$work/sample.pdf" "$out/docx-page"
echo "$out/docx-page.png"
"$build/bin/tolvane-cli" convert --quiet --design "$work/colours.design" "$root/data/sample.txt" \
  "$work/sample.epub"
mkdir -p "$work/epub" && (cd "$work/epub" && unzip -q ../sample.epub)
chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
  --disable-background-networking --disable-component-update --disable-sync \
  --user-data-dir="$work/profile" --hide-scrollbars --window-size=700,640 \
  --screenshot="$out/epub-page.png" "file://$work/epub/EPUB/text-0001.xhtml" 2>/dev/null
echo "$out/epub-page.png"
