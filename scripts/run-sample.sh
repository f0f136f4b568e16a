#!/usr/bin/env bash
# The main job: set up, build, annotate the bundled sample text and print the result (UTF-8).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" >/dev/null
bin=${TOLVANE_BUILD_DIR:-$root/build}/bin
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
"$bin/tolvane-cli" convert --quiet "$@" "$bin/sample.txt" "$out/sample_拼音.txt"
iconv -f CP936 -t UTF-8 "$out/sample_拼音.txt" | tr -d '\r'
