#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer and UndefinedBehaviorSanitizer on)
# and fuzzes each for the given number of seconds, starting from the seed corpus in
# fuzz/corpus/<target>. Prints the executions per target; fails on the first finding, leaving
# the input that caused it in the artifacts folder it names. The parsers of the documents' files
# (a page design, user words, a proofreading file, subtitles) get half the time each: their
# inputs are a few short lines, and the four together add under a minute to the default run.
#
#   fuzz/run.sh [seconds-per-target] [target ...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-20}
shift || true
build=${TOLVANE_FUZZ_BUILD_DIR:-$root/build-fuzz}
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOLVANE_WERROR=OFF \
  -DTOLVANE_FUZZ=ON -DTOLVANE_BUILD_TESTS=OFF -DTOLVANE_BUILD_GUI=OFF -DTOLVANE_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" >/dev/null
half_time=" fuzz_page_design fuzz_proofreading_file fuzz_subtitles fuzz_user_words "
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for t in "$build"/fuzz/fuzz_*; do targets+=("$(basename "$t")"); done
fi
work=$(mktemp -d)
artifacts=$build/fuzz-artifacts
mkdir -p "$artifacts"
status=0
printf '%-28s %8s %12s %10s\n' target seconds executions result
for target in "${targets[@]}"; do
  mkdir -p "$work/$target"
  [ -d "$root/fuzz/corpus/$target" ] && cp "$root/fuzz/corpus/$target"/* "$work/$target"/
  target_seconds=$seconds
  if [[ $half_time == *" $target "* ]]; then target_seconds=$(((seconds + 1) / 2)); fi
  if "$build/fuzz/$target" -max_total_time="$target_seconds" -print_final_stats=1 -timeout=10 \
      -artifact_prefix="$artifacts/$target-" "$work/$target" >"$work/$target.log" 2>&1; then
    result=ok
  else
    result=FAILED
    status=1
  fi
  execs=$(grep -o 'stat::number_of_executed_units: [0-9]*' "$work/$target.log" | grep -o '[0-9]*$' || echo 0)
  printf '%-28s %8s %12s %10s\n' "$target" "$target_seconds" "$execs" "$result"
  if [ "$result" = FAILED ]; then
    grep -E 'property failed|ERROR|SUMMARY|Test unit written' "$work/$target.log" | head -n 8
  fi
done
rm -rf "$work"
if [ $status -eq 0 ]; then
  echo "fuzzing: ${#targets[@]} targets, up to ${seconds} s each, nothing found"
fi
exit $status
