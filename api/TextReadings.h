#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "reading/LineReadings.h"
#include "settings/ConversionSettings.h"

// What the library's Converter says about text in memory, UTF-8 in and out: the readings of
// each code point, one line annotated, the HTML markup of a text.
namespace tolvane {

// Raises Error "Invalid UTF-8 at byte N" (from 0) at the first byte of `text` that starts no
// well-formed UTF-8 sequence.
void CheckUtf8(std::string_view text);

// The reading of every code point of `text` (UTF-8, checked), in the tone style of `settings`:
// the reading as the layouts write it ("zhōng"; under the all-readings policy "háng/xíng"), ""
// for a code point without one (punctuation, Latin letters, digits, spaces and line ends).
std::vector<std::string> CodePointReadings(LineReadings& readings, std::string_view text,
                                           const ConversionSettings& settings);

// One line (UTF-8, checked, no line end) in the layout of `settings`: its output lines joined
// by "\n"; the HTML page's block for the page. The line starts a run, as a file's first line.
// Raises Error when the line holds a line end.
std::string AnnotatedLineText(LineReadings& readings, std::string_view line,
                              const ConversionSettings& settings);

// The HTML page's blocks of every line of `text` (UTF-8, checked), without its head and tail.
std::string HtmlBlocks(LineReadings& readings, std::string_view text,
                       const ConversionSettings& settings);

}  // namespace tolvane
