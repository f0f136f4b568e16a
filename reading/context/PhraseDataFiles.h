#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "reading/context/OpenTable.h"

// The three data files of reading by context (see tools/gen_context_data.py), read into plain
// records; reading/context/PhraseData.h builds its indexes from them.
//
//   words file:      word TAB frequency TAB syllable[ syllable...]   one syllable per character
//   pairs file:      two characters TAB 1 or 2 TAB syllable (or "*")
//   characters file: character TAB syllable
//
// Lines starting with "#" are comments, empty lines are passed over, and a CR before the LF that
// ends a line is dropped. Syllables are numbered pinyin ("hang2", "er5", "lv4"); "-" in a word
// stands for the character's default reading. In a word, a syllable that speech makes light is
// written with its full tone, a colon and the tone it is spoken with ("you3:5" in 朋友): the
// full tone is what citation tones write, the other what spoken tones write.
namespace tolvane {

using SyllableId = std::uint16_t;
// In a word's readings: the character takes its default reading.
inline constexpr SyllableId kDefaultSyllable = 0xFFFF;
// From PairReading, and in a pair record: the words disagree on the reading there.
inline constexpr SyllableId kDisputedSyllable = 0xFFFE;

struct PhraseRecords {
  // A line of the words file. Its characters and their readings stand at [begin, begin + length)
  // of `characters` and `readings`.
  struct Word {
    std::uint32_t begin = 0;
    std::uint32_t frequency = 0;
    std::uint32_t line = 0;
    std::uint16_t length = 0;
  };
  // A line of the pairs file: the reading of the first (which == 1) or the second (which == 2)
  // character where the two stand side by side, or kDisputedSyllable.
  struct Pair {
    char32_t first = 0;
    char32_t second = 0;
    std::uint8_t which = 1;
    SyllableId reading = 0;
  };
  // A line of the characters file.
  struct Character {
    char32_t character = 0;
    SyllableId reading = 0;
  };

  // The words in code point order of their characters, none given twice. Their characters and
  // readings stay in the order of the file, which the generator writes sorted.
  std::vector<Word> words;
  std::vector<char32_t> characters;
  std::vector<SyllableId> readings;  // kDefaultSyllable for "-"
  // In step with `readings`: the syllable as spoken, which differs only where a word's syllable
  // is light ("you3:5" gives you3 in `readings`, you5 here).
  std::vector<SyllableId> spokenReadings;
  // The pairs and the characters in the order of their files.
  std::vector<Pair> pairs;
  std::vector<Character> characterReadings;
  // Every syllable the files name, by its id, and the id of each.
  std::vector<std::string> syllables;
  std::unordered_map<std::string, SyllableId> syllableIds;

  std::span<const char32_t> CharactersOf(const Word& word) const {
    return {characters.data() + word.begin, word.length};
  }
};

// Reads the three files' text into records, one file at a time and each once (syllables are
// numbered across all three). A malformed line raises Error("<file>:<line>: <what is wrong>"),
// naming the file as given.
class PhraseFileParser {
 public:
  void ParseWords(std::string_view text, const std::filesystem::path& file);
  void ParsePairs(std::string_view text, const std::filesystem::path& file);
  void ParseCharacters(std::string_view text, const std::filesystem::path& file);

  // The records read so far; the parser is left empty.
  PhraseRecords TakeRecords();

 private:
  void AppendCodePoints(std::string_view utf8, const std::filesystem::path& file, std::size_t line);
  void AppendSyllables(std::string_view field, const std::filesystem::path& file, std::size_t line);
  template <std::size_t N>
  std::array<char32_t, N> ExactCodePoints(std::string_view field, const std::filesystem::path& file,
                                          std::size_t line, const char* what);
  SyllableId OneSyllable(std::string_view field, const std::filesystem::path& file,
                         std::size_t line);
  SyllableId SyllableIdOf(std::string_view syllable, const std::filesystem::path& file,
                          std::size_t line);
  // Out of line: a load meets a new syllable a thousand times, a known one a million.
  [[gnu::noinline]] SyllableId SyllableIdByName(std::string_view syllable, std::uint64_t packed,
                                                const std::filesystem::path& file,
                                                std::size_t line);
  void SortWords(const std::filesystem::path& file);

  PhraseRecords records_;
  // The ids of short syllables by their bytes packed into a key: a million lookups a load take a
  // probe each instead of a string's hash and compare. Filled up to half its slots, which the
  // some 1300 syllables of the shipped data never reach.
  static constexpr std::size_t kShortSyllables = 4096;
  OpenTable<SyllableId> shortSyllableIds_{kShortSyllables};
};

// Reads and parses the three files. A file that cannot be read raises the text-file error, a
// malformed line the parser's.
PhraseRecords ReadPhraseFiles(const std::filesystem::path& wordsFile,
                              const std::filesystem::path& pairsFile,
                              const std::filesystem::path& charactersFile);

}  // namespace tolvane
