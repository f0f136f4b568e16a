#pragma once

#include <string_view>

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

}  // namespace tolvane
