#!/usr/bin/env bash
# The main job: set up, build, annotate the bundled sample text and print the result (UTF-8).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" >/dev/null
bin=${TOLVANE_BUILD_DIR:-$root/build}/bin
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
# Each character by its first reading, as the window converts by default, unless the arguments
# name a policy (the command line alone reads by context by default, and takes --polyphone once).
policy=(--polyphone first)
for arg in "$@"; do
  case $arg in --polyphone | --polyphone=*) policy=() ;; esac
done
"$bin/tolvane-cli" convert --quiet "${policy[@]}" "$@" "$bin/sample.txt" "$out/sample_拼音.txt"
iconv -f CP936 -t UTF-8 "$out/sample_拼音.txt" | tr -d '\r'
