#!/usr/bin/env bash
# Accuracy of reading by context on a polyphone test set: a TSV of sentence TAB code-point index
# TAB reading (numbered, lower case, v for ü, 5 for the neutral tone), such as the public CPP
# development set. Runs `tolvane-cli lookup --polyphone context --tone numbered --lines` over the
# sentences and prints the share of labelled characters that get exactly the labelled reading,
# and the characters most often read wrong. The set is read where it lies; nothing is copied.
#
#   bench/context_accuracy.sh [set.tsv] [build-dir] [first|all|context] [lookup options...]
#
# CPP's labels are citation tones (认识 ren4 shi2), so reading by context is measured with
# `--neutral-tone citation`.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
set_file=${1:-$root/../shared/eval/cpp-dev.tsv}
build=${2:-$root/build}
policy=${3:-context}
shift $(($# < 3 ? $# : 3))
extra=("$@")  # more lookup options, e.g. --neutral-tone citation
cli=$build/bin/tolvane-cli
[ -x "$cli" ] || { echo "build first: $cli is missing" >&2; exit 1; }
[ -f "$set_file" ] || { echo "no such test set: $set_file" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cut -f1 "$set_file" > "$work/sentences.txt"
start=$(date +%s.%N)
"$cli" lookup --polyphone "$policy" ${extra[@]+"${extra[@]}"} --tone numbered --lines "$work/sentences.txt" > "$work/readings.tsv"
end=$(date +%s.%N)
python3 - "$set_file" "$work/readings.tsv" "$policy" "$(echo "$end - $start" | bc)" <<'PY'
import collections, sys
set_file, readings_file, policy, seconds = sys.argv[1:5]

def normal(reading):
    # Tolvane writes ü as v only in lv and nv (lue, nue otherwise), as its tables do.
    reading = reading.strip().lower().replace("u:", "v").replace("ü", "v")
    return reading.replace("lue", "lve").replace("nue", "nve")

labels = [line.rstrip("\n").split("\t") for line in open(set_file, encoding="utf-8")]
readings = open(readings_file, encoding="utf-8").read().split("\n")
right = 0
wrong = collections.Counter()
for (sentence, index, label), line in zip(labels, readings):
    fields = line.split("\t")
    index = int(index)
    got = fields[index] if index < len(fields) else ""
    if normal(got) == normal(label):
        right += 1
    else:
        wrong[sentence[index]] += 1
total = len(labels)
print(f"policy {policy}: {right}/{total} = {100.0 * right / total:.2f}% "
      f"({float(seconds):.2f} s for the whole set)")
print("most often wrong: " + " ".join(f"{c}:{n}" for c, n in wrong.most_common(15)))
PY
