#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/TextEncoding.h"
#include "reading/LineReadings.h"
#include "settings/ConversionSettings.h"

namespace tolvane {

// One character of a line with the reading that goes over it, as the ruby layouts (the HTML
// page, printing and PDF) take them: both in UTF-8, the reading exactly what the text layouts
// write for the character under the same settings, empty for a character without one. A byte
// that is no character stands as U+FFFD: these layouts hold text, not bytes.
struct RubyCharacter {
  std::string text;
  std::string reading;
  bool operator==(const RubyCharacter&) const = default;
};

using RubyLine = std::vector<RubyCharacter>;

// The characters of one line held in `form`, with their readings; with the orthography switch,
// each written word as one unit over all its characters (`text` then holds the word).
RubyLine RubyLineOf(LineReadings& readings, std::string_view line, TextForm form,
                    const ConversionSettings& settings);

// A whole source file's lines as a run reads and re-cuts them (ReadSourceLines), with readings.
std::vector<RubyLine> ReadRubyDocument(LineReadings& readings, const std::filesystem::path& source,
                                       const ConversionSettings& settings,
                                       EncodingChoice choice = EncodingChoice::Auto);

}  // namespace tolvane
