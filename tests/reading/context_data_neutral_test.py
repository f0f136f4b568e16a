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
              "东": ["dong1"], "西": ["xi1"], "我": ["wo3"], "早": ["zao3"], "上": ["shang4"],
              "天": ["tian1"], "舒": ["shu1"], "服": ["fu2"], "爸": ["ba4"], "妈": ["ma1"]}
CEDICT = {
    "朋友": [(("peng2", "you5"), False, "friend")],
    "起来": [(("qi3", "lai5"), False, "to stand up")],
    "东西": [(("dong1", "xi1"), False, "east and west"), (("dong1", "xi5"), False, "thing")],
    "我们": [(("wo3", "men5"), False, "we")],
    "们": [(("men5",), False, "plural marker")],
    "早上": [(("zao3", "shang5"), False, "morning")],
    "天上": [(("tian1", "shang5"), False, "in the sky")],
    "舒服": [(("shu1", "fu5"), False, "comfortable")],
    "舒舒服服": [(("shu1", "shu5", "fu5", "fu5"), False, "comfortably")],
    "爸爸妈妈": [(("ba4", "ba5", "ma1", "ma5"), False, "mum and dad")],
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
            # 上 of a time of day is light by the word; 上 of a place by the sentence.
            ("lexical", {}, "早上", ("zao3", "shang4"), {1}),
            ("lexical", {}, "天上", ("tian1", "shang4"), set()),
            # A reduplicated AABB form is written with every tone, unless it is two kinship
            # terms side by side.
            ("lexical", {}, "舒服", ("shu1", "fu2"), {1}),
            ("lexical", {}, "舒舒服服", ("shu1", "shu1", "fu2", "fu2"), set()),
            ("cedict", {}, "舒舒服服", ("shu1", "shu1", "fu2", "fu2"), set()),
            ("lexical", {}, "爸爸妈妈", ("ba4", "ba4", "ma1", "ma1"), {1, 3}),
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
                         {"朋友": {1}, "朋友们": {1}, "东西": {1}, "早上": {1}, "舒服": {1},
                          "爸爸妈妈": {1, 3}})



class Defaults(unittest.TestCase):
    def test_the_default_file_writes_light_syllables_in_both_forms(self):
        options = gen.arguments([])
        self.assertEqual((options.neutral_tones, options.neutral_form), ("lexical", "both"))
        self.assertEqual(gen.arguments(["--neutral-tones", "none"]).neutral_tones, "none")

    def test_either_tone_follows_from_the_file_written_in_both_forms(self):
        jieba = {"朋友们": (10, "n"), "朋友": (20, "n"), "们": (30, "k")}
        citation, _, _, _ = gen.build(readings(None, jieba=jieba))
        words, _, _, neutral_at = gen.build(readings("lexical", jieba=jieba))
        both = gen.written_light(words, neutral_at, "both")
        spoken = gen.written_light(words, neutral_at, "spoken")
        self.assertEqual(both["朋友"][1], ["peng2", "you3:5"])
        self.assertEqual(spoken["朋友"][1], ["peng2", "you5"])
        self.assertEqual({w: [x.removesuffix(":5") for x in s] for w, (_, s) in both.items()},
                         {w: s for w, (_, s) in citation.items()})
        self.assertEqual({w: [x[:-3] + "5" if x.endswith(":5") else x for x in s]
                          for w, (_, s) in both.items()},
                         {w: s for w, (_, s) in spoken.items()})


REDUPLICATION_CHARACTERS = {"看": ["kan4"], "想": ["xiang3"], "等": ["deng3"],
                            "教": ["jiao1", "jiao4"], "一": ["yi1"], "妈": ["ma1"],
                            "来": ["lai2"], "说": ["shuo1"]}
REDUPLICATION_CEDICT = {
    "看看": [(("kan4", "kan5"), False, "to have a look")],
    "等等": [(("deng3", "deng3"), False, "and so on")],
    "说一说": [(("shuo1", "yi1", "shuo1"), False, "to say a little")],
}
REDUPLICATION_JIEBA = {"看": (60000, "v"), "想": (50000, "v"), "等": (40000, "v"),
                       "教": (20000, "v"), "一": (200000, "m"), "妈": (3000, "n"),
                       "来": (150000, "v"), "说": (200000, "v"), "想想": (1, "v"),
                       "等一等": (1, "v")}
REDUPLICATION_COMPLETE = {"想想": ("xiang3", "xiang3")}


class Reduplication(unittest.TestCase):
    def setUp(self):
        data = gen.Readings(REDUPLICATION_CEDICT, REDUPLICATION_JIEBA, {}, REDUPLICATION_CHARACTERS,
                            {}, REDUPLICATION_COMPLETE, neutral_tones="lexical")
        self.words, self.pairs, _, self.neutral_at = gen.build(data)
        self.plain, plain_pairs, _, _ = gen.build(
            gen.Readings(REDUPLICATION_CEDICT, REDUPLICATION_JIEBA, {}, REDUPLICATION_CHARACTERS,
                         {}, REDUPLICATION_COMPLETE, neutral_tones=None))
        self.assertEqual(self.pairs, plain_pairs)

    def test_light_syllables_of_reduplicated_verbs_and_kinship_terms(self):
        # (word, its syllables, the positions written light; None: the word is not written)
        cases = [
            ("看看", ["kan4", "kan4"], {1}),  # CC-CEDICT reads it light itself
            ("想想", ["xiang3", "xiang3"], {1}),  # listed by jieba alone, with a full tone
            ("看一看", ["kan4", "yi1", "kan4"], {1}),  # added: 一 is light, the verb is not
            ("等一等", ["deng3", "yi1", "deng3"], {1}),  # listed without a reading ("-")
            ("说一说", ["shuo1", "yi1", "shuo1"], {1}),  # CC-CEDICT's citation 一 made light
            ("妈妈", ["ma1", "ma1"], {1}),  # a kinship term, though no verb
            ("等等", ["deng3", "deng3"], set()),  # CC-CEDICT's full reading: another word
            ("教教", None, None),  # a polyphone: no form added that might take the wrong one
            ("来来", None, None),  # a directional verb, light by the sentence alone
        ]
        for word, syllables, light in cases:
            with self.subTest(word=word):
                if syllables is None:
                    self.assertNotIn(word, self.words)
                    continue
                self.assertEqual(self.words[word][1], syllables)
                self.assertEqual(set(self.neutral_at.get(word, ())), light)
                # Written without light syllables, nothing is added.
                if word not in REDUPLICATION_CEDICT and word not in REDUPLICATION_JIEBA:
                    self.assertNotIn(word, self.plain)

    def test_a_reduplicated_form_outweighs_any_cut_of_it(self):
        segmenter = gen.Segmenter({w: f for w, (f, _) in self.words.items()})
        for text in ("看看", "想想", "看一看", "说一说", "妈妈"):
            with self.subTest(text=text):
                self.assertEqual(segmenter.cut(text), [text])


if __name__ == "__main__":
    unittest.main()
