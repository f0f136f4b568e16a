#!/usr/bin/env python3
"""Annotates Chinese text with pinyin: a UTF-8 file (or standard input) in, readings or one of
tolvane-cli's layouts out.

    annotate.py [FILE] [--format py|han|hanpy|pyhan|py-only|html] [--tone marked|numbered|plain]
                [--readings] [--word 银行=yin2,hang2 ...]

With --readings, each line is written as its characters' readings separated by spaces (a
character without one, such as punctuation, stays as it is); otherwise the text in the layout
of --format, as tolvane-cli convert writes it.
"""
import argparse
import sys

import tolvane


def parse_arguments():
    parser = argparse.ArgumentParser(description="Annotate Chinese text with pinyin.")
    parser.add_argument("file", nargs="?", help="a UTF-8 text file (default: standard input)")
    parser.add_argument("--format", default="py",
                        choices=["py", "han", "hanpy", "pyhan", "py-only", "html"])
    parser.add_argument("--tone", default="marked", choices=["marked", "numbered", "plain"])
    parser.add_argument("--policy", default="context", choices=["context", "first", "all"])
    parser.add_argument("--readings", action="store_true",
                        help="write each line's readings instead of a layout")
    parser.add_argument("--word", action="append", default=[], metavar="WORD=READINGS",
                        help="a word of your own, its numbered readings separated by commas")
    return parser.parse_args()


def user_words_of(arguments):
    words = {}
    for given in arguments.word:
        word, _, readings = given.partition("=")
        if not word or not readings:
            sys.exit(f"annotate.py: --word {given!r}: expected WORD=READINGS, e.g. 银行=yin2,hang2")
        words[word] = readings.replace(",", " ")
    return words or None


def readings_line(converter, line):
    """The line with each character that has a reading replaced by it, space-separated."""
    out = []
    for character, reading in zip(line, converter.readings(line)):
        out.append(reading if reading else character)
    return " ".join(out)


def main():
    arguments = parse_arguments()
    try:
        source = open(arguments.file, encoding="utf-8") if arguments.file else sys.stdin
        with source:
            text = source.read()
        converter = tolvane.Converter(format=arguments.format, tone=arguments.tone,
                                      policy=arguments.policy, user_words=user_words_of(arguments))
        if arguments.readings:
            for line in text.splitlines():
                print(readings_line(converter, line))
        else:
            sys.stdout.write(converter.annotate(text))
    except (OSError, UnicodeDecodeError, tolvane.Error) as error:
        sys.exit(f"annotate.py: {error}")


if __name__ == "__main__":
    main()
