#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tolvane {

// How a character with more than one reading (a polyphone) is read.
enum class Policy {
  Context,  // from the words, pairs and rules around it, with the polyphone model (the default)
  First,    // the built-in table's first reading, the character alone
  All,      // every reading of the built-in table, the character alone
};

// How a syllable's tone is written.
enum class Tone {
  Marked,    // zhōng (the default)
  Numbered,  // zhong1
  Plain,     // zhong
};

// How reading by context writes the syllables that speech makes light.
enum class NeutralTones {
  Spoken,    // as dictionaries and textbooks write them: péngyou, xǐhuan (the default)
  Citation,  // every syllable of a word in its full tone, but for 的, 了, 吗 and the like
};

// The layouts of tolvane-cli's --format, by the same names.
enum class Layout {
  Py,      // "py": the pinyin line above the character line (the default)
  Han,     // "han": the character line above the pinyin line
  HanPy,   // "hanpy": each reading after its character, 年(nián)
  PyHan,   // "pyhan": each reading before its character, (nián)年
  PyOnly,  // "py-only": the readings in place of their characters, one line
  Html,    // "html": the HTML page, characters with their readings as ruby
};

// A word of the user's own with its readings, read by context wherever the word occurs and
// ahead of the built-in words. `readings` holds one numbered syllable per character, separated
// by spaces ("yin2 hang2"); a word may have any number of characters.
struct UserWord {
  std::string word;
  std::string readings;
};

// The options of a conversion, as tolvane-cli's convert takes them. The defaults are the CLI's.
struct Options {
  Policy policy = Policy::Context;
  Tone tone = Tone::Marked;
  NeutralTones neutralTones = NeutralTones::Spoken;
  bool sandhi = false;  // 一 and 不 in the tones they take before another syllable (--sandhi)
  bool erhua = true;    // the 儿 of an erhua word written as r (--erhua)
  bool orthography = false;  // pinyin written by words, as the national orthography asks
  bool wadeGiles = false;    // Wade-Giles instead of pinyin (the first and all policies)
  Layout layout = Layout::Py;
  bool align = true;  // the py and han layouts: each reading in its character's column
  int wrapWidth = 0;  // re-cut lines to this many characters (0: as they are)
  // The user's own words, on top of those of the data folder's user_words.txt.
  std::vector<UserWord> userWords;
};

}  // namespace tolvane
