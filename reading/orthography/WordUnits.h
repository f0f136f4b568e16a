#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "reading/context/Segmentation.h"
#include "reading/orthography/ProperNouns.h"
#include "settings/ConversionSettings.h"

// The words of written pinyin, from the dictionary's segmentation of a line. Where the two
// differ, written pinyin follows its own word units: the particles 的 地 得 apart, the aspect
// particles 了 着 过 and the plural 们 joined to the word before, a numeral apart from its
// measure word, 第 joined to its numeral with a hyphen, a number below a hundred one word and a
// larger one cut after its hundreds and thousands, a demonstrative apart from its measure word
// (zhè zhǒng) but for 这个 那个 哪个 (zhège), a question of the form A不A as three words
// (shì bu shì), a proper noun cut where its capitals fall, and a personal name that no dictionary
// holds (王建国 Wáng Jiànguó) as surname and given name.
namespace tolvane {

struct OrthographicWord {
  std::uint32_t begin = 0;     // the word's first character in the line
  std::uint32_t length = 0;    // characters, one syllable each
  bool capital = false;        // a proper noun's word: written with a capital
  std::uint32_t hyphenAt = 0;  // a hyphen before this syllable of the word (dì-yī); 0 for none

  bool operator==(const OrthographicWord&) const = default;
};

// The words of the characters of `text` that have a syllable (`syllables[i]`, numbered, empty for
// a character without one), from `segments` (SegmentWords over the same text), in order.
// Characters without a syllable belong to no word, and no word runs across one.
// With spoken light syllables (`light`), the syllables that written pinyin makes light where the
// dictionary's words do not are changed in `syllables` too: the 个 of 这个 那个 哪个 (zhège) and
// the 不 of A不A (shì bu shì).
void OrthographicWords(std::span<const char32_t> text, std::span<std::string_view> syllables,
                       std::span<const Segment> segments, const ProperNouns& nouns,
                       std::vector<OrthographicWord>& out, NeutralTone light = NeutralTone::Spoken);

}  // namespace tolvane
