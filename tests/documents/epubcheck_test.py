#!/usr/bin/env python3
"""Books as epubcheck reads them: EpubTool writes an EPUB of a short text, of a text with a title
and tone colours (and a hostile font name and title), and of a text of about a megabyte, which
is cut into several content documents; epubcheck must pass each with exit status 0 and without
a single WARNING (or ERROR, FATAL) line.

    python3 tests/documents/epubcheck_test.py path/to/EpubTool path/to/epubcheck
"""
import re
import shutil
import subprocess
import sys
import tempfile
import zipfile
from pathlib import Path

SENTENCE = "我们一起去银行取钱，他说长城很长，重庆的天气很热。"


def check(tool, epubcheck, work, name, text, design=None):
    source = work / f"{name}.txt"
    source.write_text(text, encoding="utf-8")
    book = work / f"{name}.epub"
    # The command line as a publisher runs it: the target's extension chooses the EPUB.
    command = [str(tool), "convert", "--quiet", "--tone", "marked"]
    if design is not None:
        design_file = work / f"{name}.design"
        design_file.write_text(design, encoding="utf-8")
        command += ["--design", str(design_file)]
    command += [str(source), str(book)]
    subprocess.run(command, check=True, timeout=300)
    result = subprocess.run(epubcheck + [str(book)], capture_output=True, text=True, timeout=600)
    output = result.stdout + result.stderr
    problems = [line for line in output.splitlines()
                if re.match(r"\s*(WARNING|ERROR|FATAL)", line)]
    failures = []
    if result.returncode != 0 or problems:
        failures.append(f"{name}: epubcheck exit {result.returncode}\n" + output[-4000:])
    with zipfile.ZipFile(book) as archive:
        parts = [n for n in archive.namelist() if re.search(r"text-\d+\.xhtml$", n)]
    return failures, parts


def epubcheck_command(path):
    """Debian installs epubcheck as a jar that only binfmt support makes executable: run it with
    java wherever that is missing (containers, CI)."""
    real = Path(path).resolve()
    if real.suffix == ".jar":
        java = shutil.which("java")
        if java is None:
            sys.exit("FAIL: epubcheck is a jar and there is no java to run it")
        return [java, "-jar", str(real)]
    return [str(real)]


def main():
    tool, epubcheck = Path(sys.argv[1]), epubcheck_command(sys.argv[2])
    failures = []
    with tempfile.TemporaryDirectory() as work:
        work = Path(work)
        found, _ = check(tool, epubcheck, work, "short", SENTENCE + "\n")
        failures += found
        found, _ = check(
            tool, epubcheck, work, "titled",
            "第一课 <天> & \"地\"\n\n" + SENTENCE + "\n\x01a<b>&c\n" + SENTENCE + "\n",
            "tone_colours = classic\ntext_font = A \"quoted\" <face>\npaper = a5\n")
        failures += found
        # About a megabyte of text, in lines of a few sentences.
        line = SENTENCE * 4 + "\n"
        count = 1024 * 1024 // len(line.encode("utf-8")) + 1
        found, parts = check(tool, epubcheck, work, "long", line * count)
        failures += found
        if len(parts) < 3:
            failures.append(f"long: {len(parts)} content documents, expected several")
    for failure in failures:
        print("FAIL:", failure)
    if failures:
        sys.exit(1)
    print("ok: three books pass epubcheck without warnings")


if __name__ == "__main__":
    main()
