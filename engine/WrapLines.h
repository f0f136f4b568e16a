#pragma once

#include <cstddef>

#include "platform/TextEncoding.h"
#include "platform/TextFile.h"

namespace tolvane {

// Where the wrap pass stands inside a long line read in pieces: the characters of the output line
// written so far without its line end.
struct WrapCarry {
  std::size_t characters = 0;
};

// The wrap pass: every line of `source` cut from its front into pieces of `width` characters
// (an ASCII character counts as one, like a Chinese character), the last piece holding the rest,
// each written to `out` as a line. An empty line gives no piece and so disappears. Bytes that
// form no valid character count as a character each, so every byte is kept and the cut ends.
// In Unicode text a character is a code point (or a raw byte); the pieces keep the form.
void WrapLines(const LineList& source, std::size_t width, TextFileWriter& out,
               TextForm form = TextForm::Cp936);

// The same for a chunk of a source read in pieces: the first line goes on from where `carry`
// stands, and when `lastLineContinues` the last line's remainder is written without its line end
// and counted in `carry`, so the pieces of a line are cut exactly as the whole line.
void WrapLines(const LineList& source, std::size_t width, TextFileWriter& out, TextForm form,
               bool lastLineContinues, WrapCarry& carry);

}  // namespace tolvane
