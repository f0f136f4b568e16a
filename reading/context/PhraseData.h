#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "reading/context/OpenTable.h"
#include "reading/context/PhraseDataFiles.h"

// What reading by context needs: a dictionary of words with their frequencies and readings, and
// a default reading for every character. Both come from data files beside the program (their
// lines are described in reading/context/PhraseDataFiles.h), loaded when the policy is first used.
//
// A one-character line of the words file gives that character's frequency as a word and its
// default reading; the characters file gives the default reading of the others. A pair gives the
// reading that the first or the second of two characters standing side by side has there, "*"
// where the words disagree.
namespace tolvane {

class PhraseData {
 public:
  // Loads the three files; a file that cannot be read raises the text-file error, a malformed
  // line "<file>:<line>: <what is wrong>".
  static std::unique_ptr<PhraseData> Load(const std::filesystem::path& wordsFile,
                                          const std::filesystem::path& pairsFile,
                                          const std::filesystem::path& charactersFile);
  // The indexes of records already read. A character's default reading is that of its
  // one-character word, else of its first line in the characters file; of a pair given twice,
  // the later line counts.
  static std::unique_ptr<PhraseData> FromRecords(PhraseRecords records);

  // A word of the dictionary that starts at some position of a text.
  struct WordMatch {
    std::size_t length;  // characters
    double logProbability;
    std::span<const SyllableId> readings;  // one per character
  };

  // Calls visit(const WordMatch&) for every dictionary word that `text` starts with, shortest
  // first. One-character words are included.
  template <typename Visit>
  void ForEachWordAt(std::span<const char32_t> text, Visit&& visit) const;

  // The log probability given to a character that is no word of the dictionary.
  double UnknownLogProbability() const { return unknownLogProbability_; }

  // The default reading of a character, if it has one.
  std::optional<SyllableId> DefaultReading(char32_t cp) const;

  // The reading of `first` (which == 1) or `second` (which == 2) where the two stand side by
  // side, if the pairs say; kDisputedSyllable where the words disagree.
  std::optional<SyllableId> PairReading(char32_t first, char32_t second, int which) const;

  // The syllables as spoken of the word whose readings (as ForEachWordAt gives them) begin at
  // `readings`: the same but where speech makes a syllable light.
  const SyllableId* SpokenReadingsOf(const SyllableId* readings) const {
    return spokenReadings_.data() + (readings - readings_.data());
  }

  // The syllables that the rules of speech write (一 and 不 changing tone, particles, erhua),
  // there whether or not the files name them.
  struct RuleSyllables {
    SyllableId yi1, yi2, yi4, bu2, bu4, de5, dei3, zhe5, er5, r5;
  };
  const RuleSyllables& Rules() const { return rules_; }

  const std::string& Syllable(SyllableId id) const { return syllables_[id]; }
  std::optional<SyllableId> FindSyllable(std::string_view syllable) const;
  std::size_t SyllableCount() const { return syllables_.size(); }
  std::size_t WordCount() const { return words_.size(); }
  // Memory the loaded data holds, in bytes.
  std::size_t MemoryBytes() const;

 private:
  void BuildPairs(const std::vector<PhraseRecords::Pair>& pairs);
  void BuildWords(const PhraseRecords& records);
  void BuildPrefixes();
  void BuildDefaults(const PhraseRecords& records);
  SyllableId InternSyllable(const std::string& syllable);

  // A word: its characters and its readings stand at [begin, begin + length) of characters_ and
  // readings_. Words are sorted by their characters, so the words that share a beginning stand
  // together and narrowing them character by character is a binary search.
  struct Word {
    std::uint32_t begin;
    std::uint16_t length;
    float logProbability;
  };

  static std::uint64_t PairKey(char32_t first, char32_t second, int which) {
    return (std::uint64_t{first} << 22 | second) << 1 | (which == 1 ? 1u : 0u);
  }
  // Of the words [first, last), which all share their first `depth` characters and are longer,
  // those whose next character is `cp`.
  void Narrow(std::uint32_t& first, std::uint32_t& last, std::size_t depth, char32_t cp) const;
  // The words that begin with `cp`, and those that begin with `first` then `second`.
  std::pair<std::uint32_t, std::uint32_t> WordsBeginningWith(char32_t cp) const;
  std::pair<std::uint32_t, std::uint32_t> WordsBeginningWith(char32_t first, char32_t second) const;
  static std::uint64_t PrefixKey(char32_t first, char32_t second) {
    return std::uint64_t{first} << 21 | second;
  }

  std::vector<std::string> syllables_;
  std::unordered_map<std::string, SyllableId> syllableIds_;
  std::vector<Word> words_;
  std::vector<char32_t> characters_;
  // The third character of each word (0 where it is shorter), apart and dense: the narrowing
  // there, where most of what the prefix table leaves happens, reads it alone.
  std::vector<char32_t> thirdCharacters_;
  // Every two-character beginning of a word, with its words [first, last).
  OpenTable<std::pair<std::uint32_t, std::uint32_t>> prefixes_;
  std::vector<SyllableId> readings_;
  std::vector<SyllableId> spokenReadings_;  // in step with readings_
  // For a first character of the Basic Multilingual Plane: the word it is alone, and whether
  // longer words begin with it.
  struct FirstCharacter {
    std::int32_t single = -1;
    bool longer = false;
  };
  std::vector<FirstCharacter> bmpFirst_;
  OpenTable<SyllableId> defaults_;       // code point beyond the BMP -> syllable id
  OpenTable<SyllableId> pairs_;          // PairKey -> syllable id or kDisputedSyllable
  std::vector<bool> pairedCharacters_;   // BMP code point -> stands in a pair
  std::vector<SyllableId> bmpDefaults_;  // BMP code point -> syllable id + 1 (0: none)
  double unknownLogProbability_ = -20.0;
  RuleSyllables rules_{};
};

template <typename Visit>
void PhraseData::ForEachWordAt(std::span<const char32_t> text, Visit&& visit) const {
  if (text.empty()) return;
  std::uint32_t first = 0;
  std::uint32_t last = 0;
  if (text[0] < 0x10000) {
    // The common case at one table access: the character as a word, and whether longer words
    // begin with it.
    const FirstCharacter& entry = bmpFirst_[text[0]];
    if (entry.single >= 0) {
      const Word& word = words_[static_cast<std::uint32_t>(entry.single)];
      visit(WordMatch{1, word.logProbability,
                      std::span<const SyllableId>(readings_.data() + word.begin, 1)});
    }
    if (!entry.longer || text.size() < 2) return;
  } else {
    std::tie(first, last) = WordsBeginningWith(text[0]);
    if (first < last && words_[first].length == 1) {
      const Word& word = words_[first];
      visit(WordMatch{1, word.logProbability,
                      std::span<const SyllableId>(readings_.data() + word.begin, 1)});
    }
    if (text.size() < 2) return;
  }
  // The words of two characters and more that begin with these two, at one probe; then
  // narrowed character by character.
  std::tie(first, last) = WordsBeginningWith(text[0], text[1]);
  for (std::size_t length = 2; first < last; ++length) {
    // Sorted, the word of exactly this length comes first among those sharing its characters.
    const Word& word = words_[first];
    if (word.length == length) {
      visit(WordMatch{length, word.logProbability,
                      std::span<const SyllableId>(readings_.data() + word.begin, length)});
      ++first;
    }
    if (length >= text.size() || first >= last) break;
    Narrow(first, last, length, text[length]);
  }
}

}  // namespace tolvane
