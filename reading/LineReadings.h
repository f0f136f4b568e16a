#pragma once

#include <string_view>
#include <vector>

#include "platform/Cp936.h"
#include "platform/TextEncoding.h"
#include "platform/UnicodeText.h"
#include "reading/classic/Lookup.h"
#include "reading/context/ContextResolver.h"
#include "settings/ConversionSettings.h"

// The readings of a whole line, one reading and one width reading per character position: the
// one question the layouts ask. Two sources answer it: the classic per-character lookup (first
// reading, all readings) and reading by context. The layouts do not know which one spoke.
namespace tolvane {

// Calls visit(character, codePoint, const PositionReading&) for every character of `line`, held
// in `Form`, in order. `character` is the character's bytes in the line; `codePoint` is its code
// point in Unicode text (in code page 936 text the classic source leaves it 0, since a column
// there is a byte). The form is a template argument so that the per-character work is compiled
// into each caller's loop.
template <TextForm Form, typename Visit>
void ForEachReadingOfLine(std::string_view line, const ConversionSettings& settings,
                          Visit&& visit) {
  if (settings.polyphone == PolyphonePolicy::ByContext) {
    thread_local std::vector<std::string_view> characters;
    thread_local std::vector<char32_t> codePoints;
    thread_local std::vector<PositionReading> readings;
    ContextResolverFor(settings).ReadLine(line, Form, characters, codePoints, readings);
    for (std::size_t i = 0; i < characters.size(); ++i)
      visit(characters[i], codePoints[i], readings[i]);
    return;
  }
  const ReadingResolver& resolver = ResolverFor(settings);
  if constexpr (Form == TextForm::Cp936) {
    for (std::size_t pos = 0; pos < line.size();) {
      const std::string_view character = line.substr(pos, cp936::CharLengthAt(line, pos));
      const auto [display, width] = resolver.Readings(character);
      visit(character, char32_t{0},
            PositionReading{display, width, static_cast<std::uint32_t>(display.size())});
      pos += character.size();
    }
  } else {
    unicode::ForEachCodePoint(line, [&](std::string_view character, char32_t cp) {
      const CodePointReading& reading = resolver.ReadingOfCodePoint(cp);
      visit(character, cp, PositionReading{reading.display, reading.width, reading.displayColumns});
    });
  }
}

}  // namespace tolvane
