#!/usr/bin/env bash
# The main job: set up, build, and annotate the bundled sample text, printing the result.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" >/dev/null
bin=${TOLVANE_BUILD_DIR:-$root/build}/bin
"$bin/tolvane-cli" lookup "$(iconv -f CP936 -t UTF-8 "$bin/sample.txt" | head -n 1)"
