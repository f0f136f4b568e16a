#!/usr/bin/env bash
# The three figures of reading by context side by side with pinyin-pro, in one run: running text
# as taught (the hand-annotated reading passages, with the tone changes of 一 and 不), single
# polyphones (the CPP development set, in citation tones as it is labelled), and the speed of
# whole convert runs. Each comes from its own script, which says how it counts.
#
#   bench/reading_targets.sh [build-dir] [passages.tsv] [polyphones.tsv]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
passages=${2:-$root/../shared/eval/psc-dev.tsv}
polyphones=${3:-$root/../shared/eval/cpp-dev.tsv}
echo "== running text: $passages"
"$root/bench/psc_accuracy.sh" "$passages" "$build" --polyphone context --sandhi | sed -n 1,3p
echo "== single polyphones: $polyphones"
"$root/bench/context_accuracy.sh" "$polyphones" "$build" context --neutral-tone citation | head -n 1
echo "== speed"
"$root/bench/context_speed.sh" "$build" | tail -n 1
