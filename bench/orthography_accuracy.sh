#!/usr/bin/env bash
# How close `tolvane-cli convert --format py-only --orthography` comes to pinyin written by hand,
# word by word (a TSV with a header line, then sentence TAB its pinyin: syllables of a word
# joined, sentences and proper nouns capitalised, Latin punctuation). The set is read where it
# lies; nothing is copied. Prints four figures:
#
#   syllables right   the share of the set's syllables whose spelling (tone marks and ü, case
#                     ignored) ours has at the same place, by an alignment of the two
#                     sequences of syllables on their letters without tones;
#   word boundaries   F1 over the positions between two aligned syllables: a boundary where a
#                     space or a mark stands between them, none where they are joined (an
#                     apostrophe or a hyphen joins);
#   capitals          F1 over the aligned syllables, a capital first letter being the positive;
#   punctuation right the share of the set's punctuation marks ours has, by an alignment of the
#                     two sequences of marks.
#
# Joined words are cut into syllables on the pinyin syllables the phrase data knows, the longest
# way first. With TOLVANE_ORTHOGRAPHY_DIFFS set to a file name, every sentence where the two
# differ is written there (sentence, expected, ours).
#
#   bench/orthography_accuracy.sh [set.tsv] [build-dir] [more convert options...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
set_file=${1:-$root/../shared/eval/orthography-dev.tsv}
build=${2:-$root/build}
shift $(($# < 2 ? $# : 2))
cli=$build/bin/tolvane-cli
[ -x "$cli" ] || { echo "build first: $cli is missing" >&2; exit 1; }
[ -f "$set_file" ] || { echo "no such test set: $set_file" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

tail -n +2 "$set_file" | cut -f1 > "$work/sentences.txt"
"$cli" convert -q --format py-only --orthography "$@" "$work/sentences.txt" "$work/ours.txt"

python3 - "$set_file" "$work/ours.txt" "$build/bin/pinyin_chars.txt" \
  "${TOLVANE_ORTHOGRAPHY_DIFFS:-}" <<'PY'
import difflib, sys, unicodedata
set_file, ours_file, chars_file, diffs_file = sys.argv[1:5]

MARKS = {"\u0304", "\u0301", "\u030c", "\u0300"}
PUNCTUATION = set(".,;:!?\"'()[]—…-~")


def base(text):
    """Lower case, tone marks dropped, ü as v: one character for each of the text's."""
    out = []
    for c in text:
        d = [x for x in unicodedata.normalize("NFD", c.lower()) if x not in MARKS]
        d = "".join(d)
        out.append("v" if d in ("u\u0308", "ü") else (d[:1] or c))
    return "".join(out)


syllables = {"r"}
for line in open(chars_file, encoding="utf-8"):
    if line.startswith("#") or "\t" not in line:
        continue
    syllables.add(line.split("\t")[1].strip()[:-1])


def cut(word):
    """A joined word (letters only) cut into syllables: fewest syllables, else longest first."""
    b = base(word)
    n = len(b)
    best = [None] * (n + 1)
    best[n] = []
    for i in range(n - 1, -1, -1):
        for j in range(min(n, i + 6), i, -1):
            if b[i:j] in syllables and best[j] is not None:
                if best[i] is None or len(best[j]) + 1 < len(best[i]):
                    best[i] = [j] + best[j]
    if best[0] is None:
        return [word]
    out, i = [], 0
    for j in best[0]:
        out.append(word[i:j])
        i = j
    return out


def parse(line):
    """[(syllable, boundary before, capital)], [marks]."""
    items, marks = [], []
    boundary = True
    word = ""

    def flush():
        nonlocal word, boundary
        if not word:
            return
        first = True
        for part in word.replace("-", "'").split("'"):
            if not part:
                continue
            for s in cut(part):
                items.append((unicodedata.normalize("NFC", s.lower()), boundary and first,
                              s[:1].isupper()))
                first = False
        word = ""
        boundary = False

    for c in unicodedata.normalize("NFC", line.strip()):
        if c.isalpha() or c.isdigit() or (c in "'-" and word):
            word += c
            continue
        flush()
        boundary = True
        if c in PUNCTUATION or c in "“”‘’":
            marks.append({"“": '"', "”": '"', "‘": "'", "’": "'", "…": "..."}.get(c, c))
    flush()
    return items, marks


ref_lines = [l.rstrip("\n").split("\t") for l in open(set_file, encoding="utf-8")][1:]
ours = open(ours_file, encoding="utf-8").read().replace("\r\n", "\n").split("\n")
syll_total = syll_right = 0
b_tp = b_fp = b_fn = 0
c_tp = c_fp = c_fn = 0
p_total = p_right = 0
diffs = []
for (sentence, expected, *_), got in zip(ref_lines, ours):
    r_items, r_marks = parse(expected)
    o_items, o_marks = parse(got)
    matcher = difflib.SequenceMatcher(None, [base(s) for s, _, _ in r_items],
                                      [base(s) for s, _, _ in o_items], autojunk=False)
    pairs = {}
    for tag, i1, i2, j1, j2 in matcher.get_opcodes():
        if tag == "equal" or (tag == "replace" and i2 - i1 == j2 - j1):
            for k in range(i2 - i1):
                pairs[i1 + k] = j1 + k
    syll_total += len(r_items)
    for i, j in pairs.items():
        syll_right += r_items[i][0] == o_items[j][0]
        rc, oc = r_items[i][2], o_items[j][2]
        c_tp += rc and oc
        c_fp += oc and not rc
        c_fn += rc and not oc
        if i > 0 and pairs.get(i - 1) == j - 1:
            rb, ob = r_items[i][1], o_items[j][1]
            b_tp += rb and ob
            b_fp += ob and not rb
            b_fn += rb and not ob
    marks = difflib.SequenceMatcher(None, r_marks, o_marks, autojunk=False)
    p_total += len(r_marks)
    p_right += sum(block.size for block in marks.get_matching_blocks())
    if expected.strip() != got.strip():
        diffs.append((sentence, expected, got))


def f1(tp, fp, fn):
    return 100.0 * 2 * tp / (2 * tp + fp + fn) if tp + fp + fn else 100.0


print(f"{set_file}: {len(ref_lines)} sentences, {syll_total} syllables, {p_total} marks")
print(f"syllables right      {100.0 * syll_right / syll_total:6.2f}%  (target 98)")
print(f"word boundaries F1   {f1(b_tp, b_fp, b_fn):6.2f}%  (target 92)")
print(f"capitals F1          {f1(c_tp, c_fp, c_fn):6.2f}%  (target 95)")
print(f"punctuation right    {100.0 * p_right / max(p_total, 1):6.2f}%  (target 99)")
if diffs_file:
    with open(diffs_file, "w", encoding="utf-8") as out:
        for d in diffs:
            out.write("\t".join(d) + "\n")
PY
