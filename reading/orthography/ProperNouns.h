#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
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
  bool IsSurname(std::u32string_view word) const { return surnames_.contains(word); }
  // The most characters a proper noun has.
  std::size_t LongestWord() const { return longest_; }

 private:
  // Looked up by views, without a string made for each probe.
  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::u32string_view word) const {
      return std::hash<std::u32string_view>()(word);
    }
  };
  // Every span of a line is probed, and nearly none is a proper noun: a bit per hash of a noun's
  // first two characters turns most probes away before the table's memory is touched.
  static constexpr std::size_t kOpeningBits = std::size_t{1} << 20;
  static std::size_t OpeningBit(std::u32string_view word) {
    return (static_cast<std::size_t>(word[0]) * 0x9E3779B1u ^ static_cast<std::size_t>(word[1])) &
           (kOpeningBits - 1);
  }

  std::unordered_map<std::u32string, std::string, Hash, std::equal_to<>> patterns_;
  std::unordered_set<std::u32string, Hash, std::equal_to<>> surnames_;
  std::vector<bool> openings_ = std::vector<bool>(kOpeningBits);
  std::size_t longest_ = 0;
};

}  // namespace tolvane
