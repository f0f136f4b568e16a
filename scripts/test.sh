#!/usr/bin/env bash
# Set up, check the formatting, build, and run every test: the whole suite through ctest, then the
# Debian package built and checked, then each fuzz target for a short time, then the suite once
# more built with AddressSanitizer and UndefinedBehaviorSanitizer.
# TOLVANE_QUICK=1 runs the plain suite only (for a quick local check).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"

# Every C++ file in the repository as .clang-format lays it out; generated tables are left as
# their scripts write them.
echo "== formatting"
git -C "$root" ls-files -z '*.cpp' '*.h' '*.c' ':(exclude)*_generated.h' |
  (cd "$root" && xargs -0 clang-format --dry-run -Werror)
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

build=${TOLVANE_BUILD_DIR:-$root/build}
"$root/scripts/build.sh"
ctest --test-dir "$build" --output-on-failure -j "$jobs"
[ "${TOLVANE_QUICK:-0}" = 1 ] && exit 0

echo "== the Debian package"
"$root/scripts/package.sh" "$build"

echo "== fuzzing (${TOLVANE_FUZZ_SECONDS:-20} s per target)"
"$root/fuzz/run.sh" "${TOLVANE_FUZZ_SECONDS:-20}"

echo "== the suite under AddressSanitizer and UndefinedBehaviorSanitizer"
asan=${TOLVANE_ASAN_BUILD_DIR:-$root/build-asan}
TOLVANE_BUILD_DIR=$asan "$root/scripts/build.sh" -DTOLVANE_SANITIZE=ON -DTOLVANE_BUILD_BENCH=OFF -DTOLVANE_WERROR=OFF
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  LSAN_OPTIONS=suppressions=$root/tests/lsan.supp \
  ctest --test-dir "$asan" --output-on-failure -j "$jobs"
