#pragma once

#include <cstddef>
#include <string_view>

#include "platform/DisplayColumns.h"
#include "platform/TextEncoding.h"
#include "reading/LineReadings.h"
#include "settings/ConversionSettings.h"

namespace tolvane {

// One character of a line with what the layouts need of it: its bytes, its code point (0 in code
// page 936 text read by the classic lookup), its display reading (in the form of the line) and
// the columns each takes.
struct CharacterReading {
  std::string_view character;
  char32_t codePoint;
  std::string_view reading;
  std::size_t characterColumns;
  std::size_t readingColumns;
  std::size_t widthColumns;  // the width reading's length (used in the Marked style)
};

// Every character of a line with its reading, from whichever source the settings choose. In
// code page 936 text a character takes as many columns as it has bytes; in Unicode text its
// display columns.
template <TextForm Form, typename Visit>
void ForEachCharacter(LineReadings& readings, std::string_view line,
                      const ConversionSettings& settings, Visit&& visit) {
  readings.ForEachReadingOfLine<
      Form>(line, settings, [&](std::string_view character, char32_t cp, const PositionReading& r) {
    const std::size_t columns = Form == TextForm::Cp936 ? character.size() : DisplayColumns(cp);
    visit(CharacterReading{character, cp, r.display, columns, r.displayColumns, r.width.size()});
  });
}

}  // namespace tolvane
