#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tolvane {

// A user dictionary: parallel lists of keys (one character, or two for a compound surname) and
// readings (free text, handed out unchanged). Entry i is (Key(i), Reading(i)).
//
// Files edited by hand may hold fewer readings than keys. A key without a reading is not an
// entry the lookup can use: FindReading passes over it, so the built-in reading stands.
class CustomDictionary {
 public:
  CustomDictionary() = default;
  CustomDictionary(std::vector<std::string> keys, std::vector<std::string> readings);

  // Number of entries: the number of keys.
  std::size_t Count() const { return keys_.size(); }
  bool empty() const { return keys_.empty(); }
  std::size_t ReadingCount() const { return readings_.size(); }
  // Raise "List index out of bounds (%d)" for an index the list does not hold.
  const std::string& Key(std::size_t index) const;
  const std::string& Reading(std::size_t index) const;
  const std::vector<std::string>& Keys() const { return keys_; }
  const std::vector<std::string>& Readings() const { return readings_; }

  // The reading of the first entry whose key equals `character` byte for byte, when that entry
  // has a reading.
  std::optional<std::string_view> FindReading(std::string_view character) const;

 private:
  static std::optional<std::uint32_t> ShortKeyCode(std::string_view key);

  std::vector<std::string> keys_;
  std::vector<std::string> readings_;
  // Keys of one or two bytes (the only ones a single character can equal) to their first index.
  std::unordered_map<std::uint32_t, std::size_t> shortKeyIndex_;
};

}  // namespace tolvane
