#!/usr/bin/env bash
# Throughput and memory of `tolvane-cli convert` in the window's default settings (tone marks,
# pinyin above the aligned characters, first reading: --polyphone first, as the command line reads
# by context unless told otherwise) against the yardstick (bench/yardstick.c, the
# simplest table-driven annotator in C, compiled here), side by side in one run on the GB2312
# benchmark corpus of bench/end_to_end.sh; then 1 and every job, peak memory on a 400 MB file
# and through standard input and output, and start-up times. Best of three for each time.
#
#   bench/throughput.sh [build-dir] [corpus-megabytes]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/bench/common.sh"
build=${1:-$root/build}
megabytes=${2:-16}
cli=$build/bin/tolvane-cli
[ -x "$cli" ] || { echo "build first: $cli is missing" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cc -O2 -o "$work/yardstick" "$root/bench/yardstick.c"
"$cli" table numbered | iconv -f UTF-8 -t GB2312 > "$work/table.txt"
gb_corpus "$work/corpus.txt" "$megabytes"
size=$(stat -c %s "$work/corpus.txt")
mb=$(echo "$size / 1048576" | bc -l)
printf 'corpus: %.1f MB, %d lines; %d cores\n' "$mb" "$(wc -l < "$work/corpus.txt")" "$(nproc)"

yard=$(best "$work/yardstick" "$work/table.txt" "$work/corpus.txt" "$work/yard.txt")
one=$(best "$cli" convert --quiet --polyphone first --jobs 1 "$work/corpus.txt" "$work/out1.txt")
all=$(best "$cli" convert --quiet --polyphone first "$work/corpus.txt" "$work/out.txt")
cmp -s "$work/out1.txt" "$work/out.txt" || { echo "FAIL: --jobs 1 and every job differ" >&2; exit 1; }
printf '%-40s %9s %9s %8s\n' what seconds "MB/s" ratio
printf '%-40s %9.3f %9.1f %8s\n' "yardstick (C, one table lookup a char)" "$yard" "$(echo "$mb / $yard" | bc -l)" 1.00
printf '%-40s %9.3f %9.1f %8.2f\n' "tolvane-cli convert --jobs 1" "$one" "$(echo "$mb / $one" | bc -l)" "$(echo "$yard / $one" | bc -l)"
printf '%-40s %9.3f %9.1f %8.2f\n' "tolvane-cli convert (every core)" "$all" "$(echo "$mb / $all" | bc -l)" "$(echo "$yard / $all" | bc -l)"

# Peak memory on a 400 MB file, to a file and through standard input and output.
for _ in $(seq $(( (400 + megabytes - 1) / megabytes ))); do cat "$work/corpus.txt"; done > "$work/big.txt"
printf 'big file: %.0f MB\n' "$(echo "$(stat -c %s "$work/big.txt") / 1048576" | bc -l)"
# Each row reads by first reading unless it names a policy.
for setting in "" "--wrap 20" "--format hanpy --tone numbered" "--polyphone context"; do
  policy="--polyphone first"
  case $setting in *--polyphone*) policy=""; esac
  # shellcheck disable=SC2086
  /usr/bin/time -f '%e %M' -o "$work/time" "$cli" convert --quiet $policy $setting \
    "$work/big.txt" "$work/big-out.txt"
  read -r seconds kb < "$work/time"
  printf '  file to file %-30s %7.2f s %7.1f MiB peak\n' "${setting:-(default)}" "$seconds" "$(echo "$kb / 1024" | bc -l)"
done
rm -f "$work/big-out.txt"
/usr/bin/time -f '%e %M' -o "$work/time" sh -c "\"$cli\" convert --quiet --polyphone first - - < \"$work/big.txt\" > /dev/null"
read -r seconds kb < "$work/time"
printf '  stdin to stdout %-27s %7.2f s %7.1f MiB peak\n' "(default)" "$seconds" "$(echo "$kb / 1024" | bc -l)"

# Start-up: converting an empty file, the mean of 50 runs.
: > "$work/empty.txt"
start=$(date +%s.%N)
for _ in $(seq 50); do "$cli" convert --quiet --polyphone first "$work/empty.txt" "$work/empty-out.txt"; done
end=$(date +%s.%N)
printf 'start-up, converting an empty file: %.1f ms\n' "$(echo "($end - $start) * 1000 / 50" | bc -l)"
# The window: tolvane-window-startup starts it as tolvane does and says when it is shown.
if [ -x "$build/bin/tolvane-window-startup" ]; then
  total=0
  for _ in 1 2 3 4 5; do
    start=$(date +%s%N)
    shown=$(QT_QPA_PLATFORM=offscreen "$build/bin/tolvane-window-startup" 2>/dev/null |
            sed -n 's/^shown at \([0-9]*\) ns$/\1/p')
    total=$(echo "$total + (${shown:-$start} - $start) / 1000000" | bc -l)
  done
  printf 'window shown after: %.1f ms (mean of 5, offscreen, from starting the program)\n' \
    "$(echo "$total / 5" | bc -l)"
fi
