#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/TextEncoding.h"
#include "reading/context/ContextResolver.h"
#include "reading/context/PhraseData.h"
#include "reading/context/Segmentation.h"
#include "reading/orthography/ProperNouns.h"
#include "reading/orthography/SyllableSpelling.h"
#include "reading/orthography/WordUnits.h"
#include "reading/shared/PositionReading.h"

// A line in written pinyin, as the basic rules of Hanyu Pinyin orthography spell it: the
// syllables of a word joined and words apart (WordUnits), an apostrophe before a, o or e inside a
// word, capitals at the start of a sentence and for proper nouns, Latin punctuation with a space
// after it where text follows, and digits, Latin letters and anything else without a reading kept
// as they stand.
namespace tolvane {

// Spells lines from reading by context. It reads the readings of a resolver of numbered
// syllables and writes them in the tone style asked. Like the resolver, it belongs to one thread
// and keeps its working memory from line to line; what it is made from must outlive it.
class OrthographicLine {
 public:
  OrthographicLine(const ContextResolver& numbered, const PhraseData& data,
                   const ProperNouns& nouns, ToneStyle style, const ToneVowels& toneVowels);

  // The written form of `line` (held in `form`, without its line end), in the same form; valid
  // until the next call. Raises the lookup's error when a tone glyph is missing.
  std::string_view Spell(std::string_view line, TextForm form);

  // The written words of `line` alone, without spelling them: each word's first character and
  // length, counted in the line's characters (a byte that forms no character counts as one).
  // Valid until the next call.
  std::span<const OrthographicWord> Words(std::string_view line, TextForm form);

 private:
  void ReadWords(std::string_view line, TextForm form);

  const ContextResolver& numbered_;
  const PhraseData& data_;
  const ProperNouns& nouns_;
  SyllableSpelling spelling_;
  std::vector<std::string_view> characters_;
  std::vector<char32_t> codePoints_;
  std::vector<PositionReading> readings_;
  std::vector<std::string_view> syllables_;
  std::vector<Segment> segments_;
  std::vector<OrthographicWord> words_;
  std::string text_;
  std::string out_;
};

}  // namespace tolvane
