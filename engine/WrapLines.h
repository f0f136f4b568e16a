#pragma once

#include <cstddef>

#include "platform/TextEncoding.h"
#include "platform/TextFile.h"

namespace tolvane {

// The wrap pass: every line of `source` cut from its front into pieces of `width` characters
// (an ASCII character counts as one, like a Chinese character), the last piece holding the rest,
// each written to `out` as a line. An empty line gives no piece and so disappears. Bytes that
// form no valid character count as a character each, so every byte is kept and the cut ends.
// In Unicode text a character is a code point (or a raw byte); the pieces keep the form.
void WrapLines(const LineList& source, std::size_t width, TextFileWriter& out,
               TextForm form = TextForm::Cp936);

}  // namespace tolvane
