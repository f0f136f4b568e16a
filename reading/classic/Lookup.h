#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "reading/classic/ReadingTable.h"
#include "reading/shared/CustomDictionary.h"
#include "reading/shared/PositionReading.h"
#include "reading/shared/ToneMarks.h"
#include "settings/ConversionSettings.h"

namespace tolvane {

// What the classic lookup reads: the two built-in tables (empty until filled), the two user
// dictionaries and the tone glyphs. The pointed-to lists belong to the loaded data
// (reading/ReadingData.h) and outlive every lookup made from them.
struct ClassicSources {
  ReadingTable numbered;
  ReadingTable plain;
  const CustomDictionary* standard = nullptr;
  const CustomDictionary* wadeGiles = nullptr;
  const ToneVowels* toneVowels = nullptr;
};

// The reading written into the output for one character (1 or 2 bytes of GB2312) under
// `settings`: from the toneless table in the Plain style, else from the numbered one; cut to the
// first reading under the first-reading policy; tone-marked in the Marked style; replaced by the
// consulted user dictionary's reading when it has one (the Wade-Giles dictionary when that
// switch is on, else the standard one). In the Marked style a missing tone glyph raises "List
// index out of bounds (%d)".
std::string LookupReading(const ClassicSources& sources, std::string_view character,
                          const ConversionSettings& settings);

// A text whose byte length is the number of characters of LookupReading's answer in the Marked
// style (the numbered readings less their tone digits, in the same reversed order); in the other
// styles the numbered reading as stored. User readings replace it as in LookupReading.
std::string LookupNumberedReading(const ClassicSources& sources, std::string_view character,
                                  const ConversionSettings& settings);

// The readings of one character of Unicode text (platform/UnicodeText.h), for the layouts. The
// character is looked up by its code page 936 bytes; one that the code page lacks, and a raw
// byte, has no reading. Columns are counted as the layouts count them: a reading's columns are
// its code page 936 byte length, since its letters and tone glyphs are all GB2312 characters.
struct CodePointReading {
  std::string_view display;  // the display reading, as Unicode text
  std::string_view width;    // the width reading, code page 936
  std::uint32_t displayColumns = 0;
  bool resolved = false;
};

// LookupReading and LookupNumberedReading for one combination of settings. Each character is
// worked out in full the first time it comes and remembered, so the next time costs one table
// access (for the single bytes and the GB2312 area; other characters go through a hash map).
// A resolver reads the sources it was made from and belongs to one thread at a time (it fills its
// tables as characters come). The views it gives stay valid as long as it does.
class ReadingResolver {
 public:
  ReadingResolver(const ClassicSources& sources, const ConversionSettings& settings);
  ~ReadingResolver();
  ReadingResolver(const ReadingResolver&) = delete;
  ReadingResolver& operator=(const ReadingResolver&) = delete;

  std::string_view Reading(std::string_view character) const {
    const Slot& slot = Resolve(character);
    return {slot.display, slot.displayLength};
  }
  std::string_view NumberedReading(std::string_view character) const {
    const Slot& slot = Resolve(character);
    return {slot.width, slot.widthLength};
  }
  // Both at once: the display reading and the width reading.
  std::pair<std::string_view, std::string_view> Readings(std::string_view character) const {
    const Slot& slot = Resolve(character);
    return {{slot.display, slot.displayLength}, {slot.width, slot.widthLength}};
  }
  // The readings of a code point of Unicode text.
  const CodePointReading& ReadingOfCodePoint(char32_t cp) const {
    if (cp < 0x10000) {
      const auto& page = codePointPages_[cp >> 8];
      if (page && page[cp & 0xFF].resolved) return page[cp & 0xFF];
    }
    return ResolveCodePoint(cp);
  }

 private:
  static constexpr std::uint32_t kFailed = 0xFFFFFFFF;
  static constexpr std::size_t kChunkSize = 1 << 16;
  struct Slot {
    const char* display = nullptr;  // null until worked out
    const char* width = nullptr;
    std::uint32_t displayLength = 0;  // kFailed: working it out raised errors_[widthLength]
    std::uint32_t widthLength = 0;
  };

  Slot& SlotOf(std::string_view character) const;
  const Slot& Resolve(std::string_view character) const {
    const Slot* slot = FastSlot(character);
    return slot != nullptr ? *slot : ResolveSlowly(character);
  }
  // The slot of a single byte or of a two-byte code in the GB2312 area; null for other characters.
  Slot* FixedSlot(std::string_view character) const {
    if (character.size() == 1) return &singleByte_[static_cast<unsigned char>(character[0])];
    if (character.size() != 2) return nullptr;
    const unsigned row = static_cast<unsigned char>(character[0]) - kAreaFirst;
    const unsigned cell = static_cast<unsigned char>(character[1]) - kAreaFirst;
    return row < kSide && cell < kSide ? &area_[row * kSide + cell] : nullptr;
  }
  // The slot of a character already worked out, without leaving the hot path.
  const Slot* FastSlot(std::string_view character) const {
    const Slot* slot = FixedSlot(character);
    return slot != nullptr && slot->display != nullptr ? slot : nullptr;
  }
  const Slot& ResolveSlowly(std::string_view character) const;
  const CodePointReading& ResolveCodePoint(char32_t cp) const;
  const char* Store(std::string_view text) const;

  static constexpr unsigned kAreaFirst = 0xA1;
  static constexpr unsigned kSide = 0xFE - kAreaFirst + 1;
  ClassicSources sources_;
  ConversionSettings settings_;
  mutable std::array<Slot, 256> singleByte_{};
  mutable std::array<Slot, kSide * kSide> area_{};
  mutable std::unordered_map<std::string, Slot> others_;
  // By code point, made as Unicode text comes: the plane of the common characters in pages of
  // 256, made when a character of the page first comes; the rest in a map.
  mutable std::array<std::unique_ptr<CodePointReading[]>, 256> codePointPages_;
  mutable std::unordered_map<char32_t, CodePointReading> otherCodePoints_;
  mutable std::vector<std::string> errors_;
  mutable std::vector<std::unique_ptr<char[]>> chunks_;
  mutable char* chunkNext_ = nullptr;
  mutable std::size_t chunkFree_ = 0;
};

}  // namespace tolvane
