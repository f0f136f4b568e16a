#pragma once

#include <cstdint>
#include <string_view>

namespace tolvane {

// The answer for a character that neither the built-in table nor the consulted user dictionary
// holds: exactly one space. The layouts test for this value.
inline constexpr std::string_view kNotFoundReading = " ";
inline bool IsNotFoundReading(std::string_view reading) {
  return reading.size() == 1 && reading[0] == ' ';
}

// The reading of one character position of a line, as the layouts need it, whichever way of
// reading gave it.
struct PositionReading {
  std::string_view display;          // the display reading, in the form of the line
  std::string_view width;            // the width reading (code page 936; used in the Marked style)
  std::uint32_t displayColumns = 0;  // columns of the display reading: its code page 936 bytes
};

}  // namespace tolvane
