#!/usr/bin/env bash
# Speed of reading by context against pinyin-pro's phrase mode, side by side in one run, in
# ideographs per second, on the fortunes-zh text (bench/fortunes_text.sh) repeated to about
# 8 MB. pinyin-pro (MIT) is installed from npm into a cache folder the first time; it runs in
# Node.js over the same lines, in its fastest form: pinyin(line, { toneType: 'num' }), a string of
# numbered readings per line (the array form takes about three times as long). Tolvane is timed as
# `tolvane-cli lookup --polyphone context --tone numbered --lines` (the readings of every line)
# and as `convert --polyphone context` in the default layout; the classic policy's convert is
# timed too, for reference. Best of three runs each. Tolvane's whole runs include starting and
# loading the phrase data; the "net" rows take off a run over one line, as pinyin-pro's own
# loading is not timed either.
#
#   bench/context_speed.sh [build-dir]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/bench/common.sh"
build=${1:-$root/build}
cli=$build/bin/tolvane-cli
[ -x "$cli" ] || { echo "build first: $cli is missing" >&2; exit 1; }
command -v node >/dev/null || { echo "Node.js is needed to run pinyin-pro" >&2; exit 1; }
cache=$(pinyin_pro_cache)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$root/bench/fortunes_text.sh" > "$work/piece.txt"
: > "$work/text.txt"
while [ "$(stat -c %s "$work/text.txt")" -lt $((8 * 1024 * 1024)) ]; do
  cat "$work/piece.txt" >> "$work/text.txt"
done
ideographs=$(python3 -c 'import sys,unicodedata; print(sum(1 for c in open(sys.argv[1],encoding="utf-8").read() if "CJK UNIFIED IDEOGRAPH" in unicodedata.name(c,"")))' "$work/text.txt")
printf 'text: %d bytes, %d lines, %d ideographs\n' "$(stat -c %s "$work/text.txt")" \
  "$(wc -l < "$work/text.txt")" "$ideographs"

cat > "$work/pinyin-pro.js" <<'JS'
const { pinyin } = require(process.argv[2] + '/node_modules/pinyin-pro');
const lines = require('fs').readFileSync(process.argv[3], 'utf8').split('\n');
for (let i = 0; i < 1000; i++) pinyin(lines[i % lines.length], { toneType: 'num' });
const start = process.hrtime.bigint();
let characters = 0;
for (const line of lines) characters += pinyin(line, { toneType: 'num' }).length;
console.log((Number(process.hrtime.bigint() - start) / 1e9).toFixed(4));
JS
bestNode=""
for _ in 1 2 3; do
  t=$(node "$work/pinyin-pro.js" "$cache" "$work/text.txt")
  if [ -z "$bestNode" ] || [ "$(echo "$t < $bestNode" | bc)" = 1 ]; then bestNode=$t; fi
done
lookup=$(best "$cli" lookup --polyphone context --tone numbered --lines "$work/text.txt")
convert=$(best "$cli" convert --quiet --polyphone context "$work/text.txt" "$work/out.txt")
classic=$(best "$cli" convert --quiet --polyphone first "$work/text.txt" "$work/out.txt")
head -n 1 "$work/text.txt" > "$work/one.txt"
startup=$(best "$cli" convert --quiet --polyphone context "$work/one.txt" "$work/out.txt")
rate() { echo "$ideographs / $1" | bc; }
printf '%-46s %9s %14s %8s\n' what seconds "ideographs/s" ratio
printf '%-46s %9.3f %14d %8s\n' "pinyin-pro 3.29.5 pinyin() per line (Node.js)" "$bestNode" "$(rate "$bestNode")" "1.0"
net=$(echo "$convert - $startup" | bc)
for row in "lookup --polyphone context --lines:$lookup" "convert --polyphone context:$convert" \
           "convert --polyphone context, net:$net" \
           "convert (first reading, for reference):$classic"; do
  t=${row##*:}
  printf '%-46s %9.3f %14d %8.1f\n' "tolvane-cli ${row%:*}" "$t" "$(rate "$t")" \
    "$(echo "$bestNode / $t" | bc -l)"
done
printf 'start-up with the phrase data (a one-line convert): %.3f s\n' "$startup"
printf 'convert --polyphone context, start-up included, against pinyin-pro: %.1fx\n' \
  "$(echo "$bestNode / $convert" | bc -l)"
