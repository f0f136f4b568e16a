#!/usr/bin/env python3
"""The clean-up rule over the whole compiled-in table: no entry's first numbered reading may be one
that the 2013 standard dictionary (Unihan kTGHZ2013) does not give that character, where that
dictionary has the character, except the rows the program relies on as they are stated. Reads
the generated header itself, so it checks exactly what the program compiles in.

    python3 tests/reading/first_readings_test.py
"""
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
sys.path.insert(0, str(ROOT / "tools"))
import gen_reading_tables as gen  # noqa: E402
import reading_table_profile as profile  # noqa: E402


def main():
    fields, _, _ = gen.read_unihan(gen.DEFAULT_UNIHAN)
    tables = profile.read_tables(profile.DEFAULT)
    numbered = tables["kNumbered"]
    plain = dict(tables["kPlain"])
    entries = [(None, character, readings, plain[character]) for character, readings in numbered]
    if len(entries) != 6727:
        sys.exit(f"FAIL: {len(entries)} entries")
    violations = gen.first_reading_violations(entries, fields)
    for character, readings, standard in violations:
        print(f"FAIL: {character} {readings}: kTGHZ2013 gives {standard}")
    # The rule is not empty: characters the clean-up changed now lead with the standard reading.
    for character, first in (("已", "yi3"), ("从", "cong2"), ("其", "qi2"), ("呆", "dai1"),
                             ("塔", "ta3"), ("橙", "cheng2"), ("嘬", "zuo1")):
        got = dict(numbered)[character].split("/")[0]
        if got != first:
            print(f"FAIL: {character} leads with {got}, expected {first}")
            violations.append(character)
    # And the stated rows keep their readings even where kTGHZ2013 lacks the first one.
    for character, readings in (("不", "bu2/bu4"), ("红", "gong1/hong2"), ("上", "shang3/shang4")):
        if dict(numbered)[character] != readings:
            print(f"FAIL: {character} is {dict(numbered)[character]}, stated {readings}")
            violations.append(character)
    if violations:
        sys.exit(1)
    print(f"ok: {len(entries)} entries checked")


if __name__ == "__main__":
    main()
