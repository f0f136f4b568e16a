#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// What reading by context needs: a dictionary of words with their frequencies and readings, and
// a default reading for every character. Both come from data files beside the program (see
// tools/gen_context_data.py), loaded when the policy is first used:
//
//   words file:      word TAB frequency TAB syllable[ syllable...]   one syllable per character
//   characters file: character TAB syllable
//
// Lines starting with "#" are comments. Syllables are numbered pinyin ("hang2", "er5", "lv4").
// A one-character line of the words file gives that character's frequency as a word and its
// default reading; the characters file gives the default reading of the others.
namespace tolvane {

using SyllableId = std::uint16_t;

class PhraseData {
 public:
  // Loads both files; a file that cannot be read raises the text-file error, a malformed line
  // "<file>:<line>: <what is wrong>".
  static std::unique_ptr<PhraseData> Load(const std::filesystem::path& wordsFile,
                                          const std::filesystem::path& charactersFile);

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

  const std::string& Syllable(SyllableId id) const { return syllables_[id]; }
  std::size_t SyllableCount() const { return syllables_.size(); }
  std::size_t WordCount() const { return words_.size(); }
  // Memory the loaded data holds, in bytes.
  std::size_t MemoryBytes() const;

 private:
  struct Node {
    char32_t cp;
    std::uint32_t firstChild;
    std::uint32_t childCount;
    std::int32_t word;  // index into words_, or -1
  };
  struct Word {
    float logProbability;
    std::uint32_t readings;  // offset into readings_
    std::uint32_t length;
  };

  const Node* Child(const Node& node, char32_t cp) const;
  const Node* RootChild(char32_t cp) const;

  std::vector<std::string> syllables_;
  std::vector<Node> nodes_;  // nodes_[0] is the root; children stand together, sorted by cp
  std::vector<std::uint32_t> rootIndex_;  // BMP code point -> node index + 1 (0: none)
  std::vector<Word> words_;
  std::vector<SyllableId> readings_;
  std::unordered_map<char32_t, SyllableId> defaults_;
  std::vector<SyllableId> bmpDefaults_;  // BMP code point -> syllable id + 1 (0: none)
  double unknownLogProbability_ = -20.0;

  friend class PhraseDataBuilder;
};

template <typename Visit>
void PhraseData::ForEachWordAt(std::span<const char32_t> text, Visit&& visit) const {
  if (text.empty()) return;
  const Node* node = RootChild(text[0]);
  for (std::size_t length = 1; node != nullptr; ++length) {
    if (node->word >= 0) {
      const Word& word = words_[static_cast<std::size_t>(node->word)];
      visit(WordMatch{length, word.logProbability,
                      std::span<const SyllableId>(readings_.data() + word.readings, length)});
    }
    if (length >= text.size()) break;
    node = Child(*node, text[length]);
  }
}

}  // namespace tolvane
