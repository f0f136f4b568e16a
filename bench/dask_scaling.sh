#!/usr/bin/env bash
# How tolvane-dask scales from one worker process to two: 20 files of 2-4 MB made of the
# fortunes-zh texts (bench/fortunes_text.sh), in UTF-8, converted on a local Dask cluster of 1
# worker and then of 2 workers (processes, 1 thread each), side by side in one run. Prints the
# throughput (MB read per second) of each, best of three, and their ratio; the target is 2
# workers at 1.6 times one worker or more. Needs the Python module (build it first) and
# Debian's python3-dask and python3-distributed.
#
#   bench/dask_scaling.sh [build-dir] [files]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
files=${2:-20}
[ -f "$build/python/tolvane/dask.py" ] || { echo "build first: $build/python/tolvane is missing" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$root/bench/fortunes_text.sh" > "$work/piece.txt"
# The texts repeated past 4 MB; each file is a cut of them at a line end.
: > "$work/text.txt"
while [ "$(stat -c %s "$work/text.txt")" -lt $((4 * 1024 * 1024 + 65536)) ]; do
  cat "$work/piece.txt" >> "$work/text.txt"
done
mkdir "$work/corpus"
for i in $(seq -w 1 "$files"); do
  # 2, 3 or 4 MB: files of unequal length, as a real corpus has.
  megabytes=$((2 + 10#$i % 3))
  head -c $((megabytes * 1024 * 1024)) "$work/text.txt" | sed '$d' > "$work/corpus/text$i.txt"
done
PYTHONPATH="$build/python${PYTHONPATH:+:$PYTHONPATH}" /usr/bin/python3 \
  "$root/bench/dask_scaling.py" "$work/corpus" "$work/out" --data-dir "$build/bin"
