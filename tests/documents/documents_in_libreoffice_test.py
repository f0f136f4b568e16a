#!/usr/bin/env python3
"""The DOCX and ODT handouts as a teacher gets them: every XML part of both documents parses,
and LibreOffice (headless) opens both and prints them to PDF, where every reading of the text
stands in order and the page has the design's size.

    python3 tests/documents/documents_in_libreoffice_test.py path/to/handout_document
"""
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ElementTree
import zipfile
from pathlib import Path

TEXT = ("我的家乡\n"
        "我家有四口人：爸爸、妈妈、哥哥和我。\n"
        "\n"
        "春眠不觉晓，处处闻啼鸟。 a<&>\"b\x01c\n")
# What the shipped data reads for the text, in order: the documents must hold these, so a writer
# that lost or reordered readings fails before LibreOffice is asked.
READINGS = ("wǒ de jiā xiāng wǒ jiā yǒu sì kǒu rén bà ba mā ma gē ge hé wǒ "
            "chūn mián bù jué xiǎo chù chù wén tí niǎo").split()
DESIGN = "paper = a5\nmargin_mm = 15\ntone_colours = classic\n"
A5_POINTS = (419.53, 595.28)

WORD = "{http://schemas.openxmlformats.org/wordprocessingml/2006/main}"
TEXT_NS = "{urn:oasis:names:tc:opendocument:xmlns:text:1.0}"


def parsed_parts(path, failures):
    """Every XML part of the package, parsed; a part that does not parse is a failure."""
    parts = {}
    with zipfile.ZipFile(path) as package:
        for name in package.namelist():
            if not (name.endswith(".xml") or name.endswith(".rels")):
                continue
            try:
                parts[name] = ElementTree.fromstring(package.read(name))
            except ElementTree.ParseError as error:
                failures.append(f"{path.name}: {name} is not well-formed: {error}")
    return parts


def joined_text(element):
    return "".join(element.itertext())


def docx_readings(parts):
    document = parts["word/document.xml"]
    return [joined_text(rt).strip("\u2009") for rt in document.iter(WORD + "rt")]


def odt_readings(parts):
    content = parts["content.xml"]
    return [joined_text(rt).strip("\u2009") for rt in content.iter(TEXT_NS + "ruby-text")]


def in_order(words, text):
    """Whether the words stand in the text in order (whitespace in the text ignored)."""
    flat = re.sub(r"\s+", "", text)
    position = 0
    for word in words:
        found = flat.find(word, position)
        if found < 0:
            return word
        position = found + len(word)
    return None


def font_covers(character):
    """Whether some installed face has a glyph for the character: text in no face comes out of
    LibreOffice's PDF as nothing pdftotext can read, so only what the machine can show is
    looked for."""
    found = subprocess.run(["fc-list", f":charset={ord(character):04x}", "family"],
                           capture_output=True, text=True)
    return found.returncode == 0 and found.stdout.strip() != ""


def main():
    tool = Path(sys.argv[1])
    soffice = shutil.which("soffice") or shutil.which("libreoffice")
    if soffice is None:
        print("LibreOffice (soffice) is not installed: install libreoffice-writer "
              "(scripts/install-deps.sh) to run this test", file=sys.stderr)
        return 1
    failures = []
    with tempfile.TemporaryDirectory() as work:
        work = Path(work)
        source = work / "lesson.txt"
        source.write_text(TEXT, encoding="utf-8")
        design = work / "design.txt"
        design.write_text(DESIGN, encoding="utf-8")
        documents = {"docx": work / "lesson-docx.docx", "odt": work / "lesson-odt.odt"}
        for form, target in documents.items():
            subprocess.run([str(tool), str(source), str(target), form, str(design)], check=True)

        readers = {"docx": docx_readings, "odt": odt_readings}
        for form, target in documents.items():
            parts = parsed_parts(target, failures)
            try:
                readings = readers[form](parts)
            except KeyError as missing:
                failures.append(f"{target.name}: no part {missing}")
                continue
            if readings != READINGS:
                failures.append(f"{target.name}: readings {readings}, expected {READINGS}")

        # One LibreOffice for both, with a profile of its own: tests running at once do not share
        # one, and root can run it.
        profile = (work / "profile").as_uri()
        pdf_folder = work / "pdf"
        subprocess.run([soffice, f"-env:UserInstallation={profile}", "--headless", "--norestore",
                        "--convert-to", "pdf", "--outdir", str(pdf_folder)]
                       + [str(target) for target in documents.values()],
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                       timeout=500, env={"HOME": str(work), "PATH": "/usr/bin:/bin"})
        for form, target in documents.items():
            pdf = pdf_folder / (target.stem + ".pdf")
            if not pdf.exists():
                failures.append(f"LibreOffice made no PDF of {target.name}")
                continue
            text = subprocess.run(["pdftotext", "-enc", "UTF-8", str(pdf), "-"], check=True,
                                  capture_output=True, text=True).stdout
            checks = [(READINGS, "reading", "ǎ"),
                      (["我的家乡", "我家有四口人", "春眠不觉晓", "a<&>\"bc"], "text", "我")]
            for words, kind, sample in checks:
                if not font_covers(sample):
                    print(f"no installed face shows {sample}: {kind} not looked for in the PDF")
                    continue
                missing = in_order(words, text)
                if missing is not None:
                    failures.append(f"{pdf.name}: {kind} {missing} missing or out of order in "
                                    f"{text!r}")
            info = subprocess.run(["pdfinfo", str(pdf)], check=True, capture_output=True,
                                  text=True).stdout
            size = re.search(r"Page size:\s+([\d.]+) x ([\d.]+) pts", info)
            if size is None or any(abs(float(size.group(i + 1)) - A5_POINTS[i]) > 1
                                   for i in range(2)):
                failures.append(f"{pdf.name}: page size {size and size.group(0)}, expected A5")
    for failure in failures:
        print(failure, file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
