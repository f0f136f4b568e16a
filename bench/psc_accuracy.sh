#!/usr/bin/env bash
# Accuracy of running text read aloud, per ideograph, for tolvane-cli and pinyin-pro side by side,
# on a set of passages annotated character by character (a TSV with a header line, then passage
# TAB index TAB characters TAB tone-marked reading; neutral tones unmarked, 一 and 不 with their
# tone changes as spoken, erhua words such as 点儿 on one row as diǎnr; rows of "//" are page
# marks, not text). The text of a passage is the concatenation of its characters; each passage
# goes to `tolvane-cli lookup --tone numbered --lines` as one line with the options given (by
# default --polyphone context) and to pinyin-pro 3.29.5's pinyin() with its defaults (tone
# changes of 一 and 不 on). The set is read where it lies; nothing is copied.
#
# An ideograph counts as right when its reading equals the set's, tones compared as digits (no
# mark = neutral = 5, a tool's 0 too) and ü as v. Of an erhua row the first character must have
# the syllable without the r (diǎn), with the r written on it or not, and 儿 must be r, or nothing
# when the r went onto the syllable before; an erhua the text does not write (shuǐr of 水) is
# compared without its r. Wrong ones fall in the first class that fits:
# erhua (a row such as 点儿), 一/不 (their tone changes), 地/得/着/了 (one of them where either
# side reads it neutral), neutral tone expected (any other), other. With TOLVANE_PSC_ERRORS set
# to a file name, every wrong ideograph of tolvane-cli is written there as TSV.
#
#   bench/psc_accuracy.sh [set.tsv] [build-dir] [tolvane-cli lookup options...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/bench/common.sh"
set_file=${1:-$root/../shared/eval/psc-dev.tsv}
build=${2:-$root/build}
shift $(($# < 2 ? $# : 2))
options=("$@")
[ ${#options[@]} -gt 0 ] || options=(--polyphone context)
cli=$build/bin/tolvane-cli
[ -x "$cli" ] || { echo "build first: $cli is missing" >&2; exit 1; }
[ -f "$set_file" ] || { echo "no such test set: $set_file" >&2; exit 1; }
command -v node >/dev/null || { echo "Node.js is needed to run pinyin-pro" >&2; exit 1; }
cache=$(pinyin_pro_cache)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

python3 - "$set_file" > "$work/passages.txt" <<'PY'
import sys
passages = {}
for number, line in enumerate(open(sys.argv[1], encoding="utf-8")):
    fields = line.rstrip("\n").split("\t")
    if number == 0 or len(fields) < 3 or fields[2] == "//":
        continue
    passages.setdefault(fields[0], []).append(fields[2])
for number in sorted(passages):
    print("".join(passages[number]))
PY

"$cli" lookup "${options[@]}" --tone numbered --lines "$work/passages.txt" > "$work/tolvane.tsv"

cat > "$work/pinyin-pro.js" <<'JS'
const { pinyin } = require(process.argv[2] + '/node_modules/pinyin-pro');
const lines = require('fs').readFileSync(process.argv[3], 'utf8').split('\n');
if (lines[lines.length - 1] === '') lines.pop();
for (const line of lines) {
  const items = pinyin(line, { type: 'all', toneType: 'num' });
  console.log(items.map((item) => (item.isZh ? item.pinyin : ' ')).join('\t'));
}
JS
node "$work/pinyin-pro.js" "$cache" "$work/passages.txt" > "$work/pinyin-pro.tsv"

python3 - "$set_file" "$work/tolvane.tsv" "$work/pinyin-pro.tsv" "${options[*]}" \
  "${TOLVANE_PSC_ERRORS:-}" <<'PY'
import collections, sys, unicodedata
set_file, tolvane_file, pro_file, options, errors_file = sys.argv[1:6]

TONES = {"\u0304": "1", "\u0301": "2", "\u030c": "3", "\u0300": "4"}
CLASSES = ["neutral tone expected", "一/不 tone change", "erhua", "地/得/着/了", "other"]


def ideograph(c):
    return unicodedata.name(c, "").startswith("CJK UNIFIED IDEOGRAPH")


def numbered(marked):
    # diǎn -> dian3, de -> de5, lǜ -> lv4: the tone as a digit after the syllable.
    tone, letters = "5", []
    for c in unicodedata.normalize("NFD", marked.strip().lower()):
        if c in TONES:
            tone = TONES[c]
        elif c == "\u0308" and letters and letters[-1] == "u":
            letters[-1] = "v"
        else:
            letters.append(c)
    return "".join(letters) + tone if letters else ""


def normal(reading):
    # A tool's numbered reading: ü as v everywhere (Tolvane writes lue, nue), 0 as 5.
    reading = reading.strip().lower().replace("u:", "v").replace("ü", "v")
    reading = reading.replace("lue", "lve").replace("nue", "nve")
    if reading and reading[-1] == "0":
        reading = reading[:-1] + "5"
    if reading and not reading[-1].isdigit():
        reading += "5"
    return reading


def neutral(reading):
    return reading.endswith("5")


# The set: per passage its text and, per ideograph, (offset, expected, erhua part).
passages = collections.OrderedDict()
for number, line in enumerate(open(set_file, encoding="utf-8")):
    fields = line.rstrip("\n").split("\t")
    if number == 0 or len(fields) < 3 or fields[2] == "//":
        continue
    passage, chars = fields[0], fields[2]
    reading = fields[3] if len(fields) > 3 else ""
    text, items = passages.setdefault(passage, ([], []))
    offset = sum(len(piece) for piece in text)
    text.append(chars)
    # An erhua syllable: diǎnr of 点儿, or shuǐr of a 水 whose r the text does not write.
    erhua = reading.endswith("r") and numbered(reading)[:-1] != "er"
    if erhua:
        items.append((offset, numbered(reading[:-1]), "first"))
        if chars[1:] == "儿":
            items.append((offset + 1, "r5", "er"))
    else:
        for i, c in enumerate(chars):
            if ideograph(c):
                items.append((offset + i, numbered(reading), ""))


def right(got, expected, part, next_got):
    if part == "first":
        return got in (expected, expected[:-1] + "r" + expected[-1])
    if part == "er":
        return got in ("r5", "5") or (got == "" and next_got.endswith("r"))
    return got == expected


def error_class(char, expected, got, part):
    if part:
        return "erhua"
    if char in "一不":
        return "一/不 tone change"
    if char in "地得着了" and (neutral(expected) or neutral(got)):
        return "地/得/着/了"
    if neutral(expected):
        return "neutral tone expected"
    return "other"


def score(readings_file, name):
    lines = open(readings_file, encoding="utf-8").read().split("\n")
    total = good = 0
    errors = []
    for (passage, (text, items)), line in zip(passages.items(), lines):
        text = "".join(text)
        fields = line.split("\t")
        if len(fields) != len(text):
            sys.exit(f"{name}: passage {passage} has {len(text)} characters, "
                     f"{len(fields)} readings")
        for offset, expected, part in items:
            got = normal(fields[offset]) if fields[offset].strip() else ""
            before = normal(fields[offset - 1]) if part == "er" and fields[offset - 1].strip() else ""
            total += 1
            if right(got, expected, part, before):
                good += 1
            else:
                char = text[offset]
                context = text[max(0, offset - 4):offset] + "[" + char + "]" + text[offset + 1:offset + 5]
                errors.append((passage, offset, context, char, expected, got,
                               error_class(char, expected, got, part)))
    return total, good, errors


total, tolvane_right, tolvane_errors = score(tolvane_file, "tolvane-cli")
_, pro_right, pro_errors = score(pro_file, "pinyin-pro")
tolvane_classes = collections.Counter(e[6] for e in tolvane_errors)
pro_classes = collections.Counter(e[6] for e in pro_errors)

print(f"{set_file}: {len(passages)} passages, {total} ideographs")
print(f"{'':28}{'tolvane-cli ' + options:>36}{'pinyin-pro 3.29.5':>22}")
print(f"{'right':28}{f'{tolvane_right} = {100.0 * tolvane_right / total:.2f}%':>36}"
      f"{f'{pro_right} = {100.0 * pro_right / total:.2f}%':>22}")
print("wrong, by class:")
for name in CLASSES:
    print(f"  {name:26}{tolvane_classes[name]:>36}{pro_classes[name]:>22}")
print("tolvane-cli's most frequent errors (character expected>got count):")
for name in CLASSES:
    common = collections.Counter((e[3], e[4], e[5]) for e in tolvane_errors if e[6] == name)
    print(f"  {name}: " + " ".join(f"{c}{x}>{g or '-'}:{n}" for (c, x, g), n in
                                   common.most_common(12)))
if errors_file:
    with open(errors_file, "w", encoding="utf-8") as out:
        out.write("passage\toffset\tcontext\tcharacter\texpected\tgot\tclass\n")
        for error in tolvane_errors:
            out.write("\t".join(str(field) for field in error) + "\n")
PY
