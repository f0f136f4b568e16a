#include "reading/classic/Lookup.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>
#include <stdexcept>
#include <tuple>

#include "platform/Cp936.h"
#include "platform/Error.h"
#include "platform/UnicodeText.h"
#include "reading/shared/ToneMarks.h"

namespace tolvane {
namespace {

std::optional<std::string_view> CustomReading(const ClassicSources& sources,
                                              std::string_view character,
                                              const ConversionSettings& settings) {
  const CustomDictionary* dictionary = settings.wadeGiles ? sources.wadeGiles : sources.standard;
  if (dictionary == nullptr) return std::nullopt;
  return dictionary->FindReading(character);
}

std::string_view FirstReading(std::string_view list, const ConversionSettings& settings) {
  if (settings.polyphone == PolyphonePolicy::AllReadings) return list;
  return list.substr(0, list.find('/'));
}

// The display reading and the width reading of one character, worked out in full. The user's
// reading is looked for first: it replaces whatever the table would give, so the table and the
// tone marks need not be consulted for it at all.
std::pair<std::string, std::string> ComputeReadings(const ClassicSources& sources,
                                                    std::string_view character,
                                                    const ConversionSettings& settings) {
  if (const auto custom = CustomReading(sources, character, settings))
    return {std::string(*custom), std::string(*custom)};
  const auto numberedIndex = sources.numbered.FindIndex(character);
  const std::string numbered =
      numberedIndex
          ? std::string(FirstReading(sources.numbered.At(*numberedIndex).readings, settings))
          : std::string(kNotFoundReading);
  switch (settings.toneStyle) {
    case ToneStyle::Numbered:
      return {numbered, numbered};
    case ToneStyle::Plain: {
      const auto plain = sources.plain.Find(character);
      return {plain ? std::string(FirstReading(*plain, settings)) : std::string(kNotFoundReading),
              numbered};
    }
    case ToneStyle::Marked:
      if (!numberedIndex) return {std::string(kNotFoundReading), std::string(kNotFoundReading)};
      return {MarkReadingList(numbered,
                              sources.toneVowels != nullptr ? *sources.toneVowels : ToneVowels{}),
              StripToneDigits(numbered)};
  }
  return {};
}

}  // namespace

ReadingResolver::ReadingResolver(const ClassicSources& sources, const ConversionSettings& settings)
    : sources_(sources), settings_(settings) {}

ReadingResolver::~ReadingResolver() = default;

ReadingResolver::Slot& ReadingResolver::SlotOf(std::string_view character) const {
  if (Slot* slot = FixedSlot(character)) return *slot;
  return others_[std::string(character)];
}

const char* ReadingResolver::Store(std::string_view text) const {
  if (text.size() > chunkFree_) {
    const std::size_t size = std::max<std::size_t>(kChunkSize, text.size());
    chunks_.push_back(std::make_unique_for_overwrite<char[]>(size));
    chunkNext_ = chunks_.back().get();
    chunkFree_ = size;
  }
  char* stored = chunkNext_;
  if (!text.empty()) std::memcpy(stored, text.data(), text.size());
  chunkNext_ += text.size();
  chunkFree_ -= text.size();
  return stored;
}

const ReadingResolver::Slot& ReadingResolver::ResolveSlowly(std::string_view character) const {
  Slot& slot = SlotOf(character);
  if (slot.display == nullptr && slot.displayLength != kFailed) {
    try {
      const auto [display, width] = ComputeReadings(sources_, character, settings_);
      slot.display = Store(display);
      slot.width = Store(width);
      slot.displayLength = static_cast<std::uint32_t>(display.size());
      slot.widthLength = static_cast<std::uint32_t>(width.size());
    } catch (const Error& error) {
      slot.displayLength = kFailed;
      slot.widthLength = static_cast<std::uint32_t>(errors_.size());
      errors_.emplace_back(error.what());
    }
  }
  // A failure is remembered and raised again each time the character comes.
  if (slot.displayLength == kFailed) throw Error(errors_[slot.widthLength]);
  return slot;
}

const CodePointReading& ReadingResolver::ResolveCodePoint(char32_t cp) const {
  if (cp < 0x10000 && !codePointPages_[cp >> 8])
    codePointPages_[cp >> 8] = std::make_unique<CodePointReading[]>(256);
  CodePointReading& reading =
      cp < 0x10000 ? codePointPages_[cp >> 8][cp & 0xFF] : otherCodePoints_[cp];
  if (reading.resolved) return reading;
  const cp936::EncodedChar gb =
      unicode::IsRawByte(cp) ? cp936::EncodedChar{} : cp936::EncodeChar(cp);
  std::string_view display = kNotFoundReading;
  std::string_view width = kNotFoundReading;
  if (gb.length > 0) std::tie(display, width) = Readings(gb.view());
  std::string displayText;
  cp936::AppendAsUnicodeText(display, displayText);
  reading.display = {Store(displayText), displayText.size()};
  reading.width = width;
  reading.displayColumns = static_cast<std::uint32_t>(display.size());
  reading.resolved = true;
  return reading;
}

std::string LookupReading(const ClassicSources& sources, std::string_view character,
                          const ConversionSettings& settings) {
  return ComputeReadings(sources, character, settings).first;
}

std::string LookupNumberedReading(const ClassicSources& sources, std::string_view character,
                                  const ConversionSettings& settings) {
  return ComputeReadings(sources, character, settings).second;
}

}  // namespace tolvane
