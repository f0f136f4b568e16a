#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tolvane {

// The tone-marked vowel glyphs, one GB2312 glyph per item. Items 0-23 are a, o, e, i, u, ü
// (in that order, which is not the code table's) with tones 1-4; item 24 is ü without a tone.
using ToneVowels = std::vector<std::string>;

// The marked form of one numbered syllable ("zhuang1" -> "zhuāng"), without its tone digit.
// The last character is always removed, digit or not, and a mark replaces exactly one letter,
// so the result has as many characters as the syllable less one. Raises "List index out of
// bounds (%d)" when `toneVowels` lacks the glyph the syllable needs.
std::string MarkReading(std::string_view syllable, const ToneVowels& toneVowels);

// Every item of a ReadingList marked, joined by "/", in reverse order: "a1/a5/e1" -> "ē/a/ā".
std::string MarkReadingList(std::string_view readingList, const ToneVowels& toneVowels);

// Every item of a ReadingList less its last character, joined by "/", in reverse order:
// "a1/a5/e1" -> "e/a/a". Its byte length is the character count of MarkReadingList's result.
std::string StripToneDigits(std::string_view readingList);

}  // namespace tolvane
