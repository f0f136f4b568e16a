#pragma once

#include <cstdint>
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

// One part of a written line: a word, a punctuation mark or a run of other text as it stands
// (digits, Latin words), with the characters of the line it writes, so that the layouts can set
// each part over or beside its characters.
struct WrittenPart {
  enum class Kind : std::uint8_t { Word, Mark, Text };
  Kind kind = Kind::Word;
  std::uint32_t begin = 0;  // its first character in the line
  std::uint32_t end = 0;    // past its last character
  // Its written text in the spelled line, without the space before it (empty when code page 936
  // cannot hold a mark), and whether one stands there.
  std::uint32_t writtenBegin = 0;
  std::uint32_t writtenEnd = 0;
  bool spaceBefore = false;
};

// Spells lines from reading by context. It reads the readings of a resolver of numbered
// syllables and writes them in the tone style asked. Like the resolver, it belongs to one thread
// and keeps its working memory from line to line; what it is made from must outlive it.
class OrthographicLine {
 public:
  // `light`: whether speech's light syllables are written (the 个 of 这个, the 不 of A不A).
  OrthographicLine(const ContextResolver& numbered, const ProperNouns& nouns, ToneStyle style,
                   const ToneVowels& toneVowels, NeutralTone light);

  // The written form of `line` (held in `form`, without its line end), in the same form; valid
  // until the next call. Raises the lookup's error when a tone glyph is missing.
  // A piece of a line that goes on inside a sentence begins without a capital
  // (`sentenceStart` false).
  std::string_view Spell(std::string_view line, TextForm form, bool sentenceStart = true);
  // Whether the text after the line last spelled begins a sentence (it ended with 。 ! ? and
  // the like): where the next piece of a long line goes on.
  bool SentenceStartsAfter() const { return sentenceStartsAfter_; }

  // The written words of `line` alone, without spelling them: each word's first character and
  // length, counted in the line's characters (a byte that forms no character counts as one).
  // Valid until the next call.
  std::span<const OrthographicWord> Words(std::string_view line, TextForm form);

  // The parts of the line last spelled, in order, and its characters (each one's bytes in the
  // line; a byte that forms no character counts as one). Valid until the next call. Characters
  // that write nothing (spaces, the second half of a doubled mark) belong to no part.
  std::span<const WrittenPart> Parts() const { return parts_; }
  std::span<const std::string_view> Characters() const { return characters_; }

 private:
  void ReadWords(std::string_view line, TextForm form);

  const ContextResolver& numbered_;
  const ProperNouns& nouns_;
  NeutralTone light_;
  SyllableSpelling spelling_;
  std::vector<std::string_view> characters_;
  std::vector<char32_t> codePoints_;
  std::vector<PositionReading> readings_;
  std::vector<std::string_view> syllables_;
  std::vector<Segment> segments_;
  std::vector<OrthographicWord> words_;
  std::vector<WrittenPart> parts_;
  std::string text_;
  std::string out_;
  bool sentenceStartsAfter_ = true;
};

}  // namespace tolvane
