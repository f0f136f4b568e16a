#!/usr/bin/env python3
"""Prints a profile of the built-in reading tables, to compare one generation with another:

    python3 tools/reading_table_profile.py [reading/classic/ReadingTableData_generated.h]

It reads the generated header itself, so it describes exactly what the program compiles in.
"""
import collections
import re
import sys
from pathlib import Path

DEFAULT = Path(__file__).resolve().parent.parent / "reading" / "classic" / "ReadingTableData_generated.h"
ROW = re.compile(r'^\s*\{"((?:\\x[0-9A-F]{2})+)", "([^"]*)"\},\s*//\s*(\S+)')


def read_tables(path):
    tables, current = {}, None
    for line in path.read_text(encoding="utf-8").splitlines():
        start = re.match(r"inline constexpr ReadingTableEntry (\w+)\[\]", line)
        if start:
            current = tables.setdefault(start.group(1), [])
        elif line.startswith("};"):
            current = None
        elif current is not None:
            row = ROW.match(line)
            if not row:
                sys.exit(f"unexpected line in table: {line!r}")
            current.append((row.group(3), row.group(2)))
    return tables


def histogram(rows):
    counts = collections.Counter(len(readings.split("/")) for _, readings in rows)
    return " ".join(f"{n}:{counts[n]}" for n in sorted(counts))


def longest(rows, measure):
    best = max(measure(r) for _, r in rows)
    return best, " ".join(f"{ch} {r}" for ch, r in rows if measure(r) == best)


def main():
    path = Path(sys.argv[1]) if len(sys.argv) > 1 else DEFAULT
    tables = read_tables(path)
    numbered, plain = tables["kNumbered"], tables["kPlain"]
    syllables = {s for _, r in plain for s in r.split("/")}
    print(f"entries: numbered {len(numbered)}, plain {len(plain)}")
    print(f"items per entry, numbered: {histogram(numbered)}")
    print(f"items per entry, plain:    {histogram(plain)}")
    print(f"distinct syllables: {len(syllables)}")
    neutral = [ch for ch, r in numbered if any(item.endswith("5") for item in r.split("/"))]
    print(f"entries with a neutral tone (5): {len(neutral)}")
    for name, rows in (("numbered", numbered), ("plain", plain)):
        n, who = longest(rows, lambda r: len(r.split("/")))
        print(f"most items, {name}: {n} ({who})")
        n, who = longest(rows, len)
        print(f"longest list in bytes, {name}: {n} ({who})")
    width = max(len(s) for s in syllables)
    print(f"longest syllable: {width} ({' '.join(sorted(s for s in syllables if len(s) == width))})")


if __name__ == "__main__":
    main()
