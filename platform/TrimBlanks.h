#pragma once

#include <string_view>

namespace tolvane {

// `text` without its leading and trailing bytes of value 0x20 or less (blanks and control
// characters). Such bytes never occur inside a GB2312 two-byte character, so none is cut.
inline std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= 0x20) text.remove_prefix(1);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= 0x20) text.remove_suffix(1);
  return text;
}

}  // namespace tolvane
