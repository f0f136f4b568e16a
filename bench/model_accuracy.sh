#!/usr/bin/env bash
# Accuracy of the polyphone model alone against reading by context, on a polyphone test set (a
# TSV of sentence TAB code-point index TAB numbered reading, such as the public CPP development
# set). "model alone" is the model run over each whole sentence, its best reading among the
# labelled character's own candidates (tests/reading's polyphone_scores prints them); "tolvane"
# is `tolvane-cli lookup --polyphone context`, as bench/context_accuracy.sh measures it; "words
# only" the same with the model file hidden from the program. Also prints, per character, where
# the two differ most. The set is read where it lies; nothing is copied.
#
#   bench/model_accuracy.sh [set.tsv] [build-dir]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
set_file=${1:-$root/../shared/eval/cpp-dev.tsv}
build=${2:-$root/build}
cli=$build/bin/tolvane-cli
scores=$build/tests/polyphone_scores
model=$build/bin/polyphone_model.bin
for f in "$cli" "$scores"; do [ -x "$f" ] || { echo "build first: $f is missing" >&2; exit 1; }; done
[ -f "$model" ] || { echo "build first: $model is missing" >&2; exit 1; }
[ -f "$set_file" ] || { echo "no such test set: $set_file" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cut -f1 "$set_file" > "$work/sentences.txt"
cut -f1,2 "$set_file" | "$scores" "$model" > "$work/model.txt"
"$cli" lookup --polyphone context --tone numbered --lines "$work/sentences.txt" > "$work/tolvane.tsv"
# The program without the model: a copy of the program folder that lacks the file.
mkdir "$work/bin"
for f in "$build"/bin/*; do [ "$(basename "$f")" = polyphone_model.bin ] || ln -s "$f" "$work/bin/"; done
cp "$cli" "$work/bin/tolvane-cli.real" && rm "$work/bin/tolvane-cli" && mv "$work/bin/tolvane-cli.real" "$work/bin/tolvane-cli"
"$work/bin/tolvane-cli" lookup --polyphone context --tone numbered --lines "$work/sentences.txt" \
  > "$work/words.tsv"
python3 - "$set_file" "$work/model.txt" "$work/tolvane.tsv" "$work/words.tsv" <<'PY'
import collections, sys
set_file, model_file, tolvane_file, words_file = sys.argv[1:5]

def normal(reading):
    # Tolvane writes ü as v only in lv and nv (lue, nue otherwise), as its tables do.
    reading = reading.strip().lower().replace("u:", "v").replace("ü", "v")
    return reading.replace("lue", "lve").replace("nue", "nve")

def field(line, index):
    fields = line.split("\t")
    return fields[index] if index < len(fields) else ""

labels = [line.rstrip("\n").split("\t") for line in open(set_file, encoding="utf-8")]
model = open(model_file, encoding="utf-8").read().split("\n")
tolvane = open(tolvane_file, encoding="utf-8").read().split("\n")
words = open(words_file, encoding="utf-8").read().split("\n")
right = collections.Counter()
better = collections.Counter()
worse = collections.Counter()
for n, (sentence, index, label) in enumerate(labels):
    index, label = int(index), normal(label)
    items = model[n].split()
    scores = {normal(items[k]): float(items[k + 1]) for k in range(0, len(items), 2)}
    alone = max(scores, key=scores.get) if scores else ""
    got = {"model alone": alone, "tolvane": normal(field(tolvane[n], index)),
           "words only": normal(field(words[n], index))}
    for name, reading in got.items():
        right[name] += reading == label
    if got["tolvane"] == label and got["model alone"] != label:
        better[sentence[index]] += 1
    if got["tolvane"] != label and got["model alone"] == label:
        worse[sentence[index]] += 1
total = len(labels)
for name in ("model alone", "tolvane", "words only"):
    print(f"{name:12s} {right[name]}/{total} = {100.0 * right[name] / total:.2f}%")
print("tolvane right, model alone wrong: " + " ".join(f"{c}:{n}" for c, n in better.most_common(12)))
print("model alone right, tolvane wrong: " + " ".join(f"{c}:{n}" for c, n in worse.most_common(12)))
PY
