#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The proper nouns and surnames that written pinyin capitalises (pinyin_names.txt beside the
// phrase data, made from the dictionary's capitalised readings by tools/gen_context_data.py).
namespace tolvane {

class ProperNouns {
 public:
  // Reads the file: "word TAB pattern" lines (a letter per character: A where a capitalised word
  // of the written name begins, a where it goes on) and "word TAB surname" lines; # starts a
  // comment. A file that cannot be read raises the file error, a malformed line
  // "<file>:<line>: <what is wrong>".
  static std::unique_ptr<ProperNouns> Load(const std::filesystem::path& file);
  // The same from text already read (`name` for the errors).
  static std::unique_ptr<ProperNouns> FromText(std::string_view text,
                                               const std::filesystem::path& name);

  // The pattern of a proper noun, or the empty view when `word` is none.
  std::string_view PatternOf(std::u32string_view word) const;
  bool IsSurname(std::u32string_view word) const;
  // The most characters a proper noun has.
  std::size_t LongestWord() const { return longest_; }

 private:
  // A line of the file: its word (UTF-8) and its pattern, as places in text_. The entries are
  // sorted by word, so a probe is a binary search: the file's tens of thousands of names cost a
  // pass over its text at start-up, not an allocation each.
  struct Entry {
    std::uint32_t word = 0;
    std::uint32_t wordBytes = 0;
    std::uint32_t pattern = 0;  // as many letters as the word has characters
    std::uint32_t patternBytes = 0;
  };
  std::string_view WordOf(const Entry& entry) const {
    return std::string_view(text_).substr(entry.word, entry.wordBytes);
  }
  const Entry* Find(const std::vector<Entry>& entries, std::u32string_view word) const;

  // Every span of a line is probed, and nearly none is a proper noun: a bit per hash of a noun's
  // first two characters turns most probes away before the entries are searched.
  static constexpr std::size_t kOpeningBits = std::size_t{1} << 20;
  static std::size_t OpeningBit(std::u32string_view word) {
    return (static_cast<std::size_t>(word[0]) * 0x9E3779B1u ^ static_cast<std::size_t>(word[1])) &
           (kOpeningBits - 1);
  }

  std::string text_;
  std::vector<Entry> nouns_;
  std::vector<Entry> surnames_;
  std::vector<bool> openings_ = std::vector<bool>(kOpeningBits);
  std::size_t longest_ = 0;
};

}  // namespace tolvane
