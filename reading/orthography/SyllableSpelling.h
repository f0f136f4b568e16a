#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

#include "reading/shared/ToneMarks.h"
#include "settings/ConversionSettings.h"

// One syllable of written pinyin from its numbered form: in the tone style asked, with ü where
// the numbered form writes v, and with a capital where the word asks for one.
namespace tolvane {

// Whether `reading` is a numbered syllable of the phrase data (letters, then a tone 1 to 5).
bool IsNumberedSyllable(std::string_view reading);

// Whether written pinyin puts an apostrophe before the syllable inside a word: it begins with a,
// o or e (Xī'ān, Tiān'ānmén).
bool NeedsApostrophe(std::string_view numberedSyllable);

// `text` (UTF-8) with its first letter a capital, for the letters pinyin begins a syllable with
// (the Latin letters and a, e, o with a tone mark); anything else unchanged.
std::string Capitalised(std::string_view text);

// Renders numbered syllables in one tone style, remembering each (UTF-8). The tone glyphs are
// those the program writes tone marks with (define_py_tone.dll); they must outlive it.
class SyllableSpelling {
 public:
  SyllableSpelling(ToneStyle style, const ToneVowels& toneVowels)
      : style_(style), toneVowels_(toneVowels) {}

  // The written form of a numbered syllable: Marked "lǜ", Numbered "lv4", Plain "lü"; the light
  // syllable of erhua (r5) is a bare r in every style but Numbered. Raises the lookup's error
  // when a tone glyph is missing.
  const std::string& Spell(std::string_view numberedSyllable);

 private:
  ToneStyle style_;
  const ToneVowels& toneVowels_;
  std::unordered_map<std::string, std::string> spelled_;
};

}  // namespace tolvane
