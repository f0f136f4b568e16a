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
#include "reading/context/PhraseTables.h"

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
  double UnknownLogProbability() const { return tables_.unknownLogProbability; }

  // The default reading of a character, if it has one.
  std::optional<SyllableId> DefaultReading(char32_t cp) const;

  // The reading of `first` (which == 1) or `second` (which == 2) where the two stand side by
  // side, if the pairs say; kDisputedSyllable where the words disagree.
  std::optional<SyllableId> PairReading(char32_t first, char32_t second, int which) const;

  // The syllables as spoken of the word whose readings (as ForEachWordAt gives them) begin at
  // `readings`: the same but where speech makes a syllable light.
  const SyllableId* SpokenReadingsOf(const SyllableId* readings) const {
    return tables_.spokenReadings.data() + (readings - tables_.readings.data());
  }

  // The syllables that the rules of speech write (一 and 不 changing tone, particles, erhua),
  // there whether or not the files name them.
  using RuleSyllables = PhraseRuleSyllables;
  const RuleSyllables& Rules() const { return tables_.rules; }

  // The text of a syllable id the data handed out: every one is below SyllableCount().
  const std::string& Syllable(SyllableId id) const { return syllables_[id]; }
  std::optional<SyllableId> FindSyllable(std::string_view syllable) const;
  std::size_t SyllableCount() const { return syllables_.size(); }
  std::size_t WordCount() const { return tables_.words.size(); }
  // Memory the loaded data holds, in bytes (of a mapped image, the bytes it maps).
  std::size_t MemoryBytes() const;

  // The built data as flat arrays, as an image stores them (reading/context/PhraseImage.h).
  const PhraseTables& Tables() const { return tables_; }
  // Data read from arrays that lie elsewhere: `storage` keeps them alive. The arrays must be
  // WellFormed for the syllables; their entries may hold anything.
  static std::unique_ptr<PhraseData> FromTables(std::vector<std::string> syllables,
                                                const PhraseTables& tables,
                                                std::shared_ptr<const void> storage);

  PhraseData() = default;
  PhraseData(const PhraseData&) = delete;
  PhraseData& operator=(const PhraseData&) = delete;

 private:
  struct Built;
  void SetSyllables(std::vector<std::string> syllables);

  static std::uint64_t PairKey(char32_t first, char32_t second, int which) {
    return (std::uint64_t{first} << 22 | second) << 1 | (which == 1 ? 1u : 0u);
  }
  // The readings of `word` read as `length` characters, or null when they do not lie within the
  // readings, or one of them or of its syllables as spoken is no syllable of the data (both are
  // kDefaultSyllable where the word leaves the character its default): such a word reads as
  // absent. Data built from the files always passes; the check is for a mapped
  // image, whose entries are checked where they are read rather than all when it is opened
  // (PhraseTables::WellFormed).
  const SyllableId* ReadingsOf(const PhraseWord& word, std::size_t length) const;
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
  PhraseTables tables_;
  // What the tables' arrays lie in: the arrays built from records, or a mapped image.
  std::shared_ptr<const void> storage_;
  std::size_t storageBytes_ = 0;
};

inline const SyllableId* PhraseData::ReadingsOf(const PhraseWord& word, std::size_t length) const {
  if (std::uint64_t{word.begin} + length > tables_.readings.size()) return nullptr;
  const SyllableId* written = tables_.readings.data() + word.begin;
  const SyllableId* spoken = tables_.spokenReadings.data() + word.begin;
  const std::size_t count = syllables_.size();
  bool known = true;
  for (std::size_t k = 0; k < length; ++k)
    known &= (written[k] < count && spoken[k] < count) ||
             (written[k] == kDefaultSyllable && spoken[k] == kDefaultSyllable);
  return known ? written : nullptr;
}

template <typename Visit>
void PhraseData::ForEachWordAt(std::span<const char32_t> text, Visit&& visit) const {
  if (text.empty()) return;
  const auto offer = [&](const PhraseWord& word, std::size_t length) {
    if (const SyllableId* readings = ReadingsOf(word, length))
      visit(WordMatch{length, word.logProbability, std::span<const SyllableId>(readings, length)});
  };
  std::uint32_t first = 0;
  std::uint32_t last = 0;
  if (text[0] < 0x10000) {
    // The common case at one table access: the character as a word, and whether longer words
    // begin with it.
    const PhraseFirstCharacter& entry = tables_.bmpFirst[text[0]];
    if (static_cast<std::uint32_t>(entry.single) < tables_.words.size())  // -1: none
      offer(tables_.words[static_cast<std::uint32_t>(entry.single)], 1);
    if (!entry.longer || text.size() < 2) return;
  } else {
    std::tie(first, last) = WordsBeginningWith(text[0]);
    if (first < last && tables_.words[first].length == 1) offer(tables_.words[first], 1);
    if (text.size() < 2) return;
  }
  // The words of two characters and more that begin with these two, at one probe; then
  // narrowed character by character.
  std::tie(first, last) = WordsBeginningWith(text[0], text[1]);
  for (std::size_t length = 2; first < last; ++length) {
    // Sorted, the word of exactly this length comes first among those sharing its characters.
    const PhraseWord& word = tables_.words[first];
    if (word.length == length) {
      offer(word, length);
      ++first;
    }
    if (length >= text.size() || first >= last) break;
    Narrow(first, last, length, text[length]);
  }
}

}  // namespace tolvane
