#!/usr/bin/env python3
"""Which syllables of a word the context data generator can write neutral, on small made-up
inputs (the real ones are npm and Debian packages the tests do not need): the full tones stay what
the default data has, and the neutral positions follow the selection asked for, through the
re-cutting of words that have no reading of their own.

    python3 tests/reading/context_data_neutral_test.py
"""
import sys
import unittest
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
sys.path.insert(0, str(ROOT / "tools"))
import gen_context_data as gen  # noqa: E402

CHARACTERS = {"朋": ["peng2"], "友": ["you3"], "们": ["men5"], "起": ["qi3"], "来": ["lai2"],
              "东": ["dong1"], "西": ["xi1"], "我": ["wo3"]}
CEDICT = {
    "朋友": [(("peng2", "you5"), False, "friend")],
    "起来": [(("qi3", "lai5"), False, "to stand up")],
    "东西": [(("dong1", "xi1"), False, "east and west"), (("dong1", "xi5"), False, "thing")],
    "我们": [(("wo3", "men5"), False, "we")],
    "们": [(("men5",), False, "plural marker")],
}


def readings(mode, complete=None, jieba=None):
    return gen.Readings(CEDICT, jieba or {}, {}, CHARACTERS, {}, complete or {},
                        neutral_tones=mode)


class NeutralPositions(unittest.TestCase):
    def test_each_selection(self):
        # (selection, @pinyin-pro/data's readings, word, full tones, positions written neutral;
        # without a selection none is written, and the full tones are those of the default data)
        cases = [
            (None, {}, "朋友", ("peng2", "you3"), None),
            ("cedict", {}, "朋友", ("peng2", "you3"), {1}),
            ("lexical", {}, "朋友", ("peng2", "you3"), {1}),
            ("agreed", {}, "朋友", ("peng2", "you3"), {1}),
            ("agreed", {"朋友": ("peng2", "you3")}, "朋友", ("peng2", "you3"), set()),
            ("agreed", {"朋友": ("peng2", "you5")}, "朋友", ("peng2", "you3"), {1}),
            # A directional complement is light by its place in the sentence, not by the word.
            ("cedict", {}, "起来", ("qi3", "lai2"), {1}),
            ("lexical", {}, "起来", ("qi3", "lai2"), set()),
            # Two entries with the same full tones: the neutral one, the full tones unchanged.
            (None, {}, "东西", ("dong1", "xi1"), None),
            ("lexical", {}, "东西", ("dong1", "xi1"), {1}),
            # A character with a neutral reading of its own keeps it in every mode.
            (None, {}, "我们", ("wo3", "men5"), None),
            ("cedict", {}, "我们", ("wo3", "men5"), set()),
        ]
        for mode, complete, word, full, neutral in cases:
            with self.subTest(mode=mode, complete=complete, word=word):
                words, positions = readings(mode, complete).word_readings()
                self.assertEqual(words[word], full)
                if mode:
                    self.assertEqual(set(positions[word]), neutral)

    def test_a_word_cut_again_takes_the_neutral_syllables_of_its_pieces(self):
        jieba = {"朋友们": (10, "n"), "朋友": (20, "n"), "们": (30, "k"), "起来": (5, "v")}
        words, _, _, neutral_at = gen.build(readings("lexical", jieba=jieba))
        self.assertEqual(words["朋友们"][1], ["peng2", "you3", "-"])
        self.assertEqual(words["起来"][1], ["qi3", "lai2"])
        self.assertEqual({w: set(p) for w, p in neutral_at.items()},
                         {"朋友": {1}, "朋友们": {1}, "东西": {1}})


if __name__ == "__main__":
    unittest.main()
