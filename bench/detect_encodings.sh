#!/usr/bin/env bash
# What auto-detection decides on real files: the bundled sample and the fortunes-zh corpus of
# bench/end_to_end.sh, each written in every encoding Tolvane reads (with iconv), and 3000 lines
# of both, cut to 1 to 8 characters, each as a short file of its own in GB2312 and in UTF-8
# (short texts are where GB2312 and UTF-8 can be mistaken for each other). Prints the decisions
# and the share of short files read in the encoding they were written in.
#
#   bench/detect_encodings.sh [build-dir]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
cli=$build/bin/tolvane-cli
[ -x "$cli" ] || { echo "build first: $cli is missing" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

iconv -f GB2312 -t UTF-8 "$root/data/sample.txt" > "$work/sample.utf8"
"$root/bench/fortunes_text.sh" > "$work/corpus.utf8"

echo "== whole files"
for name in sample corpus; do
  src=$work/$name.utf8
  iconv -c -f UTF-8 -t GB2312 "$src" > "$work/$name-gb2312.txt"
  cp "$src" "$work/$name-utf8.txt"
  { printf '\xEF\xBB\xBF'; cat "$src"; } > "$work/$name-utf8-bom.txt"
  iconv -f UTF-8 -t UTF-16LE "$src" | { printf '\xFF\xFE'; cat; } > "$work/$name-utf16le.txt"
  iconv -f UTF-8 -t UTF-16BE "$src" | { printf '\xFE\xFF'; cat; } > "$work/$name-utf16be.txt"
  # GB18030 proper: the text with one character beyond GBK (𠀀) at its end.
  { cat "$src"; printf '\xF0\xA0\x80\x80\n'; } | iconv -f UTF-8 -t GB18030 > "$work/$name-gb18030.txt"
  # GBK: the text with one traditional character (國) at its end.
  { cat "$src"; printf "\xE5\x9C\x8B\n"; } | iconv -c -f UTF-8 -t GBK > "$work/$name-gbk.txt"
  for f in "$work/$name"-*.txt; do
    printf '%-22s %10d bytes  ->  %s\n' "$(basename "$f")" "$(stat -c %s "$f")" \
      "$("$cli" encoding "$f" | cut -f2)"
  done
done

echo "== short files (3000 lines of both, each cut to n characters; pieces that hold Chinese)"
python3 - "$work" <<'PY'
import os, sys
work = sys.argv[1]
lines = sorted({l.strip() for name in ("sample.utf8", "corpus.utf8")
                for l in open(os.path.join(work, name), encoding="utf-8") if l.strip()})
step = max(1, len(lines) // 3000)
lines = lines[::step][:3000]
for n in (1, 2, 3, 4, 8):
    folder = os.path.join(work, "short%d" % n)
    os.makedirs(folder)
    for i, line in enumerate(lines):
        piece = line[:n]
        if all(ord(c) < 0x80 for c in piece):
            continue
        open(os.path.join(folder, "%d.u8" % i), "wb").write(piece.encode("utf-8"))
        try:
            open(os.path.join(folder, "%d.gb" % i), "wb").write(piece.encode("gb2312"))
        except UnicodeEncodeError:
            pass
PY
printf '%-6s %20s %20s\n' chars "GB2312 read right" "UTF-8 read right"
for n in 1 2 3 4 8; do
  gbTotal=$(find "$work/short$n" -name '*.gb' | wc -l)
  u8Total=$(find "$work/short$n" -name '*.u8' | wc -l)
  gbRight=$(find "$work/short$n" -name '*.gb' -print0 | xargs -0 "$cli" encoding | grep -c 'GB2312/GBK$' || true)
  u8Right=$(find "$work/short$n" -name '*.u8' -print0 | xargs -0 "$cli" encoding | grep -c 'UTF-8$' || true)
  printf '%-6s %13d/%-6d %13d/%-6d\n' "$n" "$gbRight" "$gbTotal" "$u8Right" "$u8Total"
  find "$work/short$n" -name '*.gb' -print0 | xargs -0 "$cli" encoding | grep -v 'GB2312/GBK$' |
    cut -f1 | head -n 3 | while read -r f; do printf '       misread GB2312: %s\n' "$(iconv -f GB2312 -t UTF-8 "$f")"; done || true
  find "$work/short$n" -name '*.u8' -print0 | xargs -0 "$cli" encoding | grep -v 'UTF-8$' |
    cut -f1 | head -n 3 | while read -r f; do printf '       misread UTF-8: %s\n' "$(cat "$f")"; done || true
done
