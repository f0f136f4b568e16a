#!/usr/bin/env bash
# Speed of the Python module's readings against pinyin-pro and tolvane-cli, side by side in one
# run on the same lines: the corpus of bench/context_speed.sh (the fortunes-zh text repeated to
# about 8 MB), every line read by context in numbered tones.
#
#   tolvane.readings(line) and Converter.readings(line) line by line (bench/python_readings.py,
#     Debian's /usr/bin/python3, PYTHONPATH=build/python; the data loaded beforehand)
#   pinyin-pro 3.29.5's pinyin(line, {toneType:'num'}) in Node.js (its loading not timed)
#   tolvane-cli lookup --polyphone context --tone numbered --lines (whole run, and net of a
#     one-line run's start-up)
#   g2pM's model in numpy, a Python peer, on a sample of lines, when ../shared/data/g2pm exists
#
# Best of three runs each; rates in characters (code points) per second; ratios against
# pinyin-pro and against the CLI.
#
#   bench/python_readings.sh [build-dir]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/bench/common.sh"
build=${1:-$root/build}
cli=$build/bin/tolvane-cli
[ -x "$cli" ] || { echo "build first: $cli is missing" >&2; exit 1; }
[ -d "$build/python/tolvane" ] || { echo "build first: $build/python/tolvane is missing" >&2; exit 1; }
command -v node >/dev/null || { echo "Node.js is needed to run pinyin-pro" >&2; exit 1; }
cache=$(pinyin_pro_cache)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$root/bench/fortunes_text.sh" > "$work/piece.txt"
: > "$work/text.txt"
while [ "$(stat -c %s "$work/text.txt")" -lt $((8 * 1024 * 1024)) ]; do
  cat "$work/piece.txt" >> "$work/text.txt"
done
characters=$(/usr/bin/python3 -c 'import sys; print(sum(len(l) for l in open(sys.argv[1],encoding="utf-8").read().split("\n")))' "$work/text.txt")
printf 'text: %d bytes, %d lines, %d characters\n' "$(stat -c %s "$work/text.txt")" \
  "$(wc -l < "$work/text.txt")" "$characters"

cat > "$work/pinyin-pro.js" <<'JS'
const { pinyin } = require(process.argv[2] + '/node_modules/pinyin-pro');
const lines = require('fs').readFileSync(process.argv[3], 'utf8').split('\n');
for (let i = 0; i < 1000; i++) pinyin(lines[i % lines.length], { toneType: 'num' });
const start = process.hrtime.bigint();
for (const line of lines) pinyin(line, { toneType: 'num' });
console.log((Number(process.hrtime.bigint() - start) / 1e9).toFixed(4));
JS
node_time=""
for _ in 1 2 3; do
  t=$(node "$work/pinyin-pro.js" "$cache" "$work/text.txt")
  if [ -z "$node_time" ] || [ "$(echo "$t < $node_time" | bc)" = 1 ]; then node_time=$t; fi
done
cli_time=$(best "$cli" lookup --polyphone context --tone numbered --lines "$work/text.txt")
head -n 1 "$work/text.txt" > "$work/one.txt"
startup=$(best "$cli" lookup --polyphone context --tone numbered --lines "$work/one.txt")
cli_net=$(echo "$cli_time - $startup" | bc)
g2pm=$root/../shared/data/g2pm
PYTHONPATH=$build/python /usr/bin/python3 "$root/bench/python_readings.py" "$work/text.txt" \
  --g2pm "$g2pm" > "$work/python.txt"

row() {  # name seconds characters
  printf '%-52s %9.3f %12d %10.1f %8.2f\n' "$1" "$2" "$(echo "$3 / $2" | bc)" \
    "$(echo "($node_time / $characters) / ($2 / $3)" | bc -l)" \
    "$(echo "($2 / $3) / ($cli_net / $characters)" | bc -l)"
}
printf '%-52s %9s %12s %10s %8s\n' what seconds "chars/s" "x pp" "x cli"
row "pinyin-pro pinyin(line, {toneType:'num'}) (Node.js)" "$node_time" "$characters"
row "tolvane-cli lookup --lines (whole run)" "$cli_time" "$characters"
row "tolvane-cli lookup --lines (net of start-up)" "$cli_net" "$characters"
while read -r name seconds count; do
  row "Python $name(line)" "$seconds" "$count"
done < "$work/python.txt"
echo "x pp: speed against pinyin-pro (higher is faster); x cli: time per character against"
echo "the CLI's net run (lower is faster). g2pM runs on a sample; its rate is per character."
module=$(awk '$1 == "tolvane.readings" {print $2}' "$work/python.txt")
printf 'tolvane.readings: %.1fx pinyin-pro (target >= 5), %.2fx the CLI'"'"'s time (target <= 2)\n' \
  "$(echo "$node_time / $module" | bc -l)" "$(echo "$module / $cli_net" | bc -l)"
