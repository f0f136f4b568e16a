#pragma once

#include <cstddef>

namespace tolvane {

// The number of display columns a character takes in the aligned layouts. A character that
// GB2312 holds takes its GB2312 byte length (so GB2312 text lines up exactly as its bytes do,
// ambiguous-width signs such as "—" and "·" included); any other character takes 0 when it is a
// combining mark, 2 when it is wide or full-width (East Asian Width W or F), else 1. A raw byte
// takes 1, like a byte that code page 936 cannot decode.
std::size_t DisplayColumns(char32_t cp);

}  // namespace tolvane
