#!/usr/bin/env python3
"""Generates reading/classic/ReadingTableData_generated.h: the two built-in reading tables.

Every GB2312 Hanzi (level 1 and level 2) except 36 radical forms gets the Hanyu Pinyin readings
that Unicode's Unihan database gives it, in two forms: numbered ("zhong1/zhong4") and plain
("zhong"). Hand corrections come from tools/reading_overrides.txt. Deterministic and offline:

    python3 tools/gen_reading_tables.py > reading/classic/ReadingTableData_generated.h

An optional argument names another copy of Unihan_Readings.txt (plain or .bz2).
"""
import bz2
import codecs
import hashlib
import re
import sys
import unicodedata
from pathlib import Path

TOOLS = Path(__file__).resolve().parent
DEFAULT_UNIHAN = Path("/usr/share/unicode/Unihan_Readings.txt.bz2")
OVERRIDES = TOOLS / "reading_overrides.txt"
LICENSE = TOOLS / "UNICODE-LICENSE.txt"

# Reading fields in order of preference. kXHC1983 (Xiandai Hanyu Cidian) lists every reading of
# a character in modern use; kTGHZ2013 covers a few characters it lacks; kMandarin is the last
# resort. The first field a character has supplies all its readings.
FIELDS = ("kXHC1983", "kTGHZ2013", "kMandarin")

# Level-2 characters that only occur as components of other characters. They have no reading of
# their own in running text, so the tables leave them out.
RADICAL_FORMS = "匚刂冂亻勹亠冫冖讠卩阝廴凵艹廾扌彡犭夂饣忄丬氵宀辶彐屮纟攵灬礻肀钅疒衤虍"

# Characters whose rows the program relies on as they are stated (the pinned block of
# reading_overrides.txt and the four order exceptions): the first-reading rule does not apply.
STATED_ROWS = "中国的了和行长绿女呒哼阿啊广红重种着都上嗯不略好呵说厂吓唔"

TONE_MARKS = {"\u0304": "1", "\u0301": "2", "\u030C": "3", "\u0300": "4"}
NUMBERED_ITEM = re.compile(r"[a-z]+[1-5]")


def gb2312_hanzi():
    """GB2312 byte pairs of the level-1 (rows B0-D7) and level-2 (rows D8-F7) Hanzi, in code order."""
    for lead in range(0xB0, 0xF8):
        last = 0xF9 if lead == 0xD7 else 0xFE
        for trail in range(0xA1, last + 1):
            yield bytes((lead, trail))


def read_unihan(path):
    """Returns ({character: {field: value}} for FIELDS, header date, header Unicode version)."""
    opener = bz2.open if path.suffix == ".bz2" else open
    fields, date, version = {}, None, None
    with opener(path, "rt", encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\n")
            if line.startswith("#"):
                if line.startswith("# Date:"):
                    date = line[len("# Date:"):].strip()
                elif line.startswith("# Unicode version:"):
                    version = line[len("# Unicode version:"):].strip()
                continue
            if not line:
                continue
            code, field, value = line.split("\t")
            if field in FIELDS:
                fields.setdefault(chr(int(code[2:], 16)), {})[field] = value
    if not date or not version:
        sys.exit(f"{path}: no Date or Unicode version line in the header")
    return fields, date, version


def field_readings(field, value):
    """The marked-pinyin readings of one field value, in the order given, without repeats."""
    if field == "kMandarin":
        words = value.split()
    else:  # "page.pos[,page.pos...]:reading" separated by blanks
        words = [item.split(":", 1)[1] for item in value.split()]
    return list(dict.fromkeys(words))


def numbered(marked):
    """Converts one marked-pinyin syllable to letters + tone digit ("lüè" -> "lue4")."""
    tone = "5"
    letters = []
    for ch in unicodedata.normalize("NFD", marked.lower()):
        if ch in TONE_MARKS:
            tone = TONE_MARKS[ch]
        elif ch == "\u0308":  # diaeresis of ü
            letters.append(":")
        elif ch == "\u0302":  # circumflex of ê
            pass
        else:
            letters.append(ch)
    syllable = "".join(letters)
    # ü keeps its own letter only where u would make another syllable: lü, nü (lu, nu). lüe and
    # nüe have no u counterpart, and after j, q, x, y the dots are never written.
    syllable = re.sub(r"^([ln])u:$", r"\1v", syllable).replace("u:", "u")
    # Syllabic nasals: ń / ńg are written "en" / "eng" so that every syllable has a vowel;
    # m, hm and hng stay as they are.
    if syllable in ("n", "ng"):
        syllable = "e" + syllable
    item = syllable + tone
    if not NUMBERED_ITEM.fullmatch(item):
        sys.exit(f"cannot convert reading {marked!r} (got {item!r})")
    return item


def syllable_key(syllable):
    """Alphabetical order of syllables, v counted as u and sorting after it ("lu" < "lv" < "luo")."""
    return (syllable.replace("v", "u"), syllable)


def item_key(item):
    return syllable_key(item[:-1]) + (item[-1],)


def plain_of(numbered_list):
    """The plain list of a numbered list: tone digits dropped, each syllable at its first place."""
    return "/".join(dict.fromkeys(item[:-1] for item in numbered_list.split("/")))


def check_list(character, text, pattern):
    items = text.split("/")
    if not all(re.fullmatch(pattern, item) for item in items):
        sys.exit(f"{character}: malformed reading list {text!r}")
    if len(set(items)) != len(items):
        sys.exit(f"{character}: repeated item in {text!r}")


def read_overrides(path):
    """Returns {character: (numbered list, plain list or None)}."""
    overrides = {}
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.rstrip("\n")
            if not line.strip() or line.startswith("#"):
                continue
            columns = line.split("\t")
            if len(columns) not in (2, 3) or len(columns[0]) != 1:
                sys.exit(f"{path}:{number}: expected character<TAB>numbered list[<TAB>plain list]")
            character, numbered_list = columns[0], columns[1]
            plain_list = columns[2] if len(columns) == 3 else None
            check_list(character, numbered_list, NUMBERED_ITEM.pattern)
            if plain_list is not None:
                check_list(character, plain_list, r"[a-z]+")
                if sorted(plain_list.split("/")) != sorted(plain_of(numbered_list).split("/")):
                    sys.exit(f"{path}:{number}: plain list does not hold the numbered list's syllables")
            if character in overrides:
                sys.exit(f"{path}:{number}: {character} given twice")
            overrides[character] = (numbered_list, plain_list)
    return overrides


def build_entries(fields, overrides):
    """Returns [(gb2312 bytes, character, numbered list, plain list)] in GB2312 code order."""
    entries = []
    for code in gb2312_hanzi():
        character = codecs.decode(code, "gb2312")
        if character in RADICAL_FORMS:
            if character in overrides:
                sys.exit(f"{character} is a radical form and must not be overridden")
            continue
        if character in overrides:
            numbered_list, plain_list = overrides.pop(character)
        else:
            record = fields.get(character, {})
            field = next((name for name in FIELDS if name in record), None)
            if field is None:
                sys.exit(f"{character} (U+{ord(character):04X}) has no reading in Unihan")
            items = dict.fromkeys(numbered(r) for r in field_readings(field, record[field]))
            numbered_list = "/".join(sorted(items, key=item_key))
            plain_list = None
        entries.append((code, character, numbered_list, plain_list or plain_of(numbered_list)))
    if overrides:
        sys.exit("overrides for characters outside the tables: " + "".join(overrides))
    return entries


def first_reading_violations(entries, fields):
    """Entries, other than the stated rows, whose first numbered reading is one that kTGHZ2013
    does not give the character (where kTGHZ2013 has it): [(character, numbered list, kTGHZ2013
    readings)]."""
    violations = []
    for _, character, numbered_list, _ in entries:
        record = fields.get(character, {})
        if character in STATED_ROWS or "kTGHZ2013" not in record:
            continue
        standard = [numbered(r) for r in field_readings("kTGHZ2013", record["kTGHZ2013"])]
        if numbered_list.split("/")[0] not in standard:
            violations.append((character, numbered_list, "/".join(standard)))
    return violations


def c_bytes(code):
    return "".join(f"\\x{b:02X}" for b in code)


def write_table(out, name, rows):
    out.write(f"inline constexpr ReadingTableEntry {name}[] = {{\n")
    for code, character, readings in rows:
        out.write(f'    {{"{c_bytes(code)}", "{readings}"}},  // {character}\n')
    out.write("};\n")


def main():
    unihan = Path(sys.argv[1]) if len(sys.argv) > 1 else DEFAULT_UNIHAN
    fields, date, version = read_unihan(unihan)
    entries = build_entries(fields, read_overrides(OVERRIDES))
    expected = sum(1 for _ in gb2312_hanzi()) - len(RADICAL_FORMS)
    if len(entries) != expected:
        sys.exit(f"built {len(entries)} entries, expected {expected}")
    violations = first_reading_violations(entries, fields)
    if violations:
        sys.exit("first readings that kTGHZ2013 lacks (add overrides): " +
                 ", ".join(f"{c} {n} (kTGHZ2013 {t})" for c, n, t in violations))

    # Both tables list the characters grouped by the first syllable of their list, groups in
    # alphabetical order. Inside a group the numbered table orders by the first item's tone, the
    # plain table by code alone.
    def first_syllable(readings):
        return syllable_key(readings.split("/")[0].rstrip("12345"))

    numbered_rows = sorted(
        ((code, ch, num) for code, ch, num, _ in entries),
        key=lambda row: (first_syllable(row[2]), row[2].split("/")[0][-1], row[0]))
    plain_rows = sorted(
        ((code, ch, plain) for code, ch, _, plain in entries),
        key=lambda row: (first_syllable(row[2]), row[0]))

    out = sys.stdout
    out.write(f"// Generated by tools/gen_reading_tables.py from {unihan.name.removesuffix('.bz2')}"
              f" (Unicode {version}, {date})\n")
    digest = hashlib.sha256(unihan.read_bytes()).hexdigest()
    out.write(f"// ({unihan.name}: sha256 {digest})\n")
    out.write("// and tools/reading_overrides.txt. Do not edit; regenerate with:\n")
    out.write("//   python3 tools/gen_reading_tables.py > reading/classic/ReadingTableData_generated.h\n")
    out.write("//\n")
    out.write("// The readings are derived from the Unihan database (fields kXHC1983, kTGHZ2013,\n")
    out.write("// kMandarin), converted to numbered and plain pinyin and corrected by hand where\n")
    out.write("// tools/reading_overrides.txt says so. The Unihan data is used under this licence:\n")
    out.write("//\n")
    for line in LICENSE.read_text(encoding="utf-8").splitlines():
        out.write(f"// {line}".rstrip() + "\n")
    out.write("\n#pragma once\n\n")
    out.write('#include "reading/classic/ReadingTable.h"\n\n')
    out.write("namespace tolvane::reading_table_data {\n\n")
    write_table(out, "kNumbered", numbered_rows)
    out.write("\n")
    write_table(out, "kPlain", plain_rows)
    out.write("\n}  // namespace tolvane::reading_table_data\n")


if __name__ == "__main__":
    main()
