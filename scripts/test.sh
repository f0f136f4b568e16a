#!/usr/bin/env bash
# Set up, build, and run every test through ctest.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "${TOLVANE_BUILD_DIR:-$root/build}" --output-on-failure -j "$(nproc)"
