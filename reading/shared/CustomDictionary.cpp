#include "reading/shared/CustomDictionary.h"

#include <algorithm>

#include "platform/Error.h"

namespace tolvane {

CustomDictionary::CustomDictionary(std::vector<std::string> keys, std::vector<std::string> readings)
    : keys_(std::move(keys)), readings_(std::move(readings)) {
  for (std::size_t i = 0; i < keys_.size(); ++i) {
    if (const auto code = ShortKeyCode(keys_[i])) shortKeyIndex_.try_emplace(*code, i);
  }
}

std::optional<std::uint32_t> CustomDictionary::ShortKeyCode(std::string_view key) {
  if (key.empty() || key.size() > 2) return std::nullopt;
  const auto byte = [&](std::size_t i) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(key[i]));
  };
  return static_cast<std::uint32_t>(key.size()) << 16 | byte(0) << 8 |
         (key.size() == 2 ? byte(1) : 0);
}

const std::string& CustomDictionary::Key(std::size_t index) const {
  if (index >= keys_.size()) throw ListIndexOutOfBounds(static_cast<long long>(index));
  return keys_[index];
}

const std::string& CustomDictionary::Reading(std::size_t index) const {
  if (index >= readings_.size()) throw ListIndexOutOfBounds(static_cast<long long>(index));
  return readings_[index];
}

std::optional<std::string_view> CustomDictionary::FindReading(std::string_view character) const {
  if (keys_.empty()) return std::nullopt;
  std::optional<std::size_t> index;
  if (const auto code = ShortKeyCode(character)) {
    const auto it = shortKeyIndex_.find(*code);
    if (it != shortKeyIndex_.end()) index = it->second;
  } else {
    const auto it = std::find(keys_.begin(), keys_.end(), character);
    if (it != keys_.end()) index = static_cast<std::size_t>(it - keys_.begin());
  }
  if (!index || *index >= readings_.size()) return std::nullopt;
  return std::string_view(readings_[*index]);
}

}  // namespace tolvane
