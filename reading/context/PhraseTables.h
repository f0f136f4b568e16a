#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "reading/context/OpenTable.h"
#include "reading/context/PhraseDataFiles.h"

// The built phrase data as flat arrays of fixed-size entries, read where they lie: in memory
// PhraseData built from the records, or in a mapped image of it (reading/context/PhraseImage.h).
// Nothing in them points anywhere; every link is an index, so the arrays mean the same wherever
// they are.
namespace tolvane {

// A word: its characters and its readings stand at [begin, begin + length) of `characters` and
// `readings`. Words are sorted by their characters, so the words that share a beginning stand
// together and narrowing them character by character is a binary search.
struct PhraseWord {
  std::uint32_t begin = 0;
  std::uint16_t length = 0;
  std::uint16_t unused = 0;  // written as 0: an image holds no undefined bytes
  float logProbability = 0;
};

// For a first character of the Basic Multilingual Plane: the word it is alone (-1: none), and
// whether longer words begin with it.
struct PhraseFirstCharacter {
  std::int32_t single = -1;
  std::uint32_t longer = 0;
};

// The words [first, last) that share a beginning.
struct PhraseWordRange {
  std::uint32_t first = 0;
  std::uint32_t last = 0;
};

// The syllables that the rules of speech write (一 and 不 changing tone, particles, erhua).
struct PhraseRuleSyllables {
  SyllableId yi1, yi2, yi4, bu2, bu4, de5, dei3, zhe5, er5, r5;
};

struct PhraseTables {
  std::span<const PhraseWord> words;
  std::span<const char32_t> characters;
  // The third character of each word (0 where it is shorter), apart and dense: the narrowing
  // there, where most of what the prefix table leaves happens, reads it alone.
  std::span<const char32_t> thirdCharacters;
  std::span<const SyllableId> readings;
  std::span<const SyllableId> spokenReadings;       // in step with readings
  std::span<const PhraseFirstCharacter> bmpFirst;   // 0x10000 of them
  std::span<const SyllableId> bmpDefaults;          // BMP code point -> syllable id + 1 (0: none)
  std::span<const std::uint64_t> pairedCharacters;  // a bit per BMP code point: stands in a pair
  // Every two-character beginning of a word (PrefixKey), with its words.
  OpenTableView<PhraseWordRange> prefixes;
  OpenTableView<SyllableId> defaults;  // code point beyond the BMP -> syllable id
  OpenTableView<SyllableId> pairs;     // PairKey -> syllable id or kDisputedSyllable
  double unknownLogProbability = -20.0;
  PhraseRuleSyllables rules{};

  static constexpr std::size_t kBmp = 0x10000;

  // Whether the arrays have the shape lookups rely on: the arrays in step that must be, the
  // tables of the Basic Multilingual Plane whole, the open tables powers of two, the counts within
  // what an index can hold, the rules' syllables among `syllableCount`. A constant-time check:
  // it reads no entry of an array, so that opening a mapped image reads only its header.
  //
  // What the entries hold is checked where a lookup reads them (PhraseData): a word's place
  // against the characters, a range of words against the words, a syllable id against the
  // syllables, a probe against the table's size. Whatever the arrays hold, no lookup reads
  // outside them, loops forever or hands out a syllable id that is not one of `syllableCount`
  // (or kDefaultSyllable in a word, kDisputedSyllable in a pair); an entry that fails its check
  // reads as absent. Sortedness is not checked either: words out of order make wrong answers,
  // not unsafe ones.
  bool WellFormed(std::size_t syllableCount) const;
};

}  // namespace tolvane
