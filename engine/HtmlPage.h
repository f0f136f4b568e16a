#pragma once

#include <string>
#include <string_view>

#include "platform/TextEncoding.h"
#include "reading/LineReadings.h"
#include "settings/ConversionSettings.h"

namespace tolvane {

// The HTML output format: a complete HTML5 page in UTF-8 whatever the source's encoding, with
// each reading in ruby markup over its character, <ruby>字<rt>zì</rt></ruby>, so that browsers
// and their printing centre it there. A page holds one block per line of the source (an empty
// line an empty block). A character's reading is exactly what the text layouts write for it
// under the same settings (tone style, polyphone policy, Wade-Giles switch, user readings); a
// character without one stands as text, escaped. The align switch plays no part.
class HtmlPage {
 public:
  // The page's beginning: the doctype, the head with its title (escaped) and style sheet.
  static std::string Head(std::string_view titleUtf8);
  // The page's end.
  static std::string Tail();

  // Appends the block of one source line, held in `form`, to `out` (UTF-8).
  static void AppendLine(LineReadings& readings, std::string_view line, TextForm form,
                         const ConversionSettings& settings, std::string& out);
  // The same for one piece of a line read in pieces: the block opens before the line's first
  // piece and closes after its last, so the pieces put together make the line's block.
  static void AppendPiece(LineReadings& readings, std::string_view piece, TextForm form,
                          const ConversionSettings& settings, bool lineStart, bool lineEnd,
                          std::string& out);
};

// Appends `textUtf8` to `out` with &, <, >, " and ' escaped.
void AppendHtmlEscaped(std::string_view textUtf8, std::string& out);

}  // namespace tolvane
