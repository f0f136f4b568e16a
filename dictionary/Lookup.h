#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "dictionary/ConversionSettings.h"

namespace tolvane {

// The lookup's answer for a character that neither the built-in table nor the consulted user
// dictionary holds: exactly one space. The engine tests for this value.
inline constexpr std::string_view kNotFoundReading = " ";

// The reading written into the output for one character (1 or 2 bytes of GB2312) under
// `settings`: from the toneless table in the Plain style, else from the numbered one; cut to the
// first reading under the first-reading policy; tone-marked in the Marked style; replaced by the
// consulted user dictionary's reading when it has one (the Wade-Giles dictionary when that
// switch is on, else the standard one).
//
// The view stays valid until the data files are next loaded, reloaded or released. In the Marked
// style a missing tone glyph raises "List index out of bounds (%d)".
std::string_view LookupReading(std::string_view character, const ConversionSettings& settings);

// A text whose byte length is the number of characters of LookupReading's answer in the Marked
// style (the numbered readings less their tone digits, in the same reversed order); in the other
// styles the numbered reading as stored. User readings replace it as in LookupReading.
std::string_view LookupNumberedReading(std::string_view character,
                                       const ConversionSettings& settings);

// LookupReading and LookupNumberedReading for one combination of settings, answered by one
// table access per character: the answers for every single byte and every two-byte code of the
// GB2312 area are worked out when the resolver is made. Other characters, and those whose lookup
// fails, take the full lookup each time. A resolver is valid until the data files change or the
// built-in tables are filled; ResolverFor hands out a current one.
class ReadingResolver {
 public:
  explicit ReadingResolver(const ConversionSettings& settings);

  std::string_view Reading(std::string_view character) const {
    const Slot* slot = SlotFor(character);
    return slot != nullptr ? View(slot->displayOffset, slot->displayLength)
                           : FullReading(character);
  }
  std::string_view NumberedReading(std::string_view character) const {
    const Slot* slot = SlotFor(character);
    return slot != nullptr ? View(slot->widthOffset, slot->widthLength)
                           : FullNumberedReading(character);
  }

 private:
  static constexpr std::uint16_t kUnresolved = 0xFFFF;
  static constexpr unsigned kAreaFirst = 0xA1;
  static constexpr unsigned kAreaSide = 0xFE - 0xA1 + 1;
  struct Slot {
    std::uint32_t displayOffset = 0;
    std::uint32_t widthOffset = 0;
    std::uint16_t displayLength = kUnresolved;
    std::uint16_t widthLength = 0;
  };

  const Slot* SlotFor(std::string_view character) const {
    const Slot* slot = nullptr;
    if (character.size() == 1) {
      slot = &singleByte_[static_cast<unsigned char>(character[0])];
    } else if (character.size() == 2) {
      const unsigned row = static_cast<unsigned char>(character[0]) - kAreaFirst;
      const unsigned cell = static_cast<unsigned char>(character[1]) - kAreaFirst;
      if (row < kAreaSide && cell < kAreaSide) slot = &area_[row * kAreaSide + cell];
    }
    return slot != nullptr && slot->displayLength != kUnresolved ? slot : nullptr;
  }
  std::string_view View(std::uint32_t offset, std::uint16_t length) const {
    return {arena_.data() + offset, length};
  }
  std::string_view FullReading(std::string_view character) const;
  std::string_view FullNumberedReading(std::string_view character) const;

  ConversionSettings settings_;
  std::string arena_;
  std::array<Slot, 256> singleByte_;
  std::array<Slot, kAreaSide * kAreaSide> area_;
};

const ReadingResolver& ResolverFor(const ConversionSettings& settings);

}  // namespace tolvane
