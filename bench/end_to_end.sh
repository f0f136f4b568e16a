#!/usr/bin/env bash
# End-to-end throughput and peak memory of `tolvane-cli convert` on a GB2312 corpus of at least
# 16 MB built from the Chinese texts that Debian's fortunes-zh installs (bench/fortunes_text.sh,
# converted to GB2312 with CR LF line ends, repeated to size), each character by its first reading
# (--polyphone first; the command line reads by context unless told otherwise).
#
#   bench/end_to_end.sh [build-dir] [megabytes]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/bench/common.sh"
build=${1:-$root/build}
megabytes=${2:-16}
cli=$build/bin/tolvane-cli
[ -x "$cli" ] || { echo "build first: $cli is missing" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
gb_corpus "$work/corpus.txt" "$megabytes"
size=$(stat -c %s "$work/corpus.txt")
lines=$(wc -l < "$work/corpus.txt")
printf 'corpus: %d bytes (%.1f MB), %d lines\n' "$size" "$(echo "$size/1048576" | bc -l)" "$lines"
runs=${TOLVANE_BENCH_RUNS:-3}
printf 'best of %d runs each\n' "$runs"
printf '%-28s %10s %10s %12s %12s\n' options seconds "MB/s" "peak MB" "output MB"
# The last row is the default layout again with glibc's transparent-huge-page tunable for malloc:
# on virtual machines where page faults are dear, most of the remaining time is spent faulting in
# the fresh memory that holds the input.
for args in "--format py" "--format han" "--format hanpy" "--format pyhan" "--format py-only" \
            "--format py --tone numbered" "--format py --tone plain" "--format py --wrap 20" \
            "--format py (huge pages)"; do
  tunables=""
  case "$args" in *"(huge pages)") tunables=glibc.malloc.hugetlb=1; esac
  best=""
  peakKb=0
  for _ in $(seq "$runs"); do
    GLIBC_TUNABLES=$tunables /usr/bin/time -f '%e %M' -o "$work/time" "$cli" convert --quiet \
      --polyphone first ${args% (huge pages)} --data-dir "$build/bin" "$work/corpus.txt" "$work/out.txt"
    read -r seconds kb < "$work/time"
    if [ -z "$best" ] || [ "$(echo "$seconds < $best" | bc)" = 1 ]; then best=$seconds; fi
    [ "$kb" -gt "$peakKb" ] && peakKb=$kb
  done
  seconds=$best
  out=$(stat -c %s "$work/out.txt")
  printf '%-28s %10s %10.1f %12.1f %12.1f\n' "$args" "$seconds" \
    "$(echo "$size/1048576/($seconds+0.0001)" | bc -l)" "$(echo "$peakKb/1024" | bc -l)" \
    "$(echo "$out/1048576" | bc -l)"
done
