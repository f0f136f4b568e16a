#pragma once

#include <cstddef>
#include <string_view>

#include "platform/TextEncoding.h"

namespace tolvane {

// How the characters of a source's bytes are told apart: by the encoding the reader decodes, or,
// for text already held in Tolvane's own form (the wrap pass's temp.txt), by that form.
enum class CharacterBytes { Cp936, Gb18030, Utf8, Utf16Le, Utf16Be, HeldUnicode };

// Where a line too long to be held whole is cut into pieces: within the first `limit` bytes of
// `bytes`, which begin at a character, and never inside a character (a code page 936 or GB18030
// sequence, a UTF-8 sequence, a UTF-16 surrogate pair). Preferably just after the last space or
// punctuation mark, since no word runs across one: reading by context then reads each piece as it
// reads the whole line. Else just after the last character that decodes. A line end ends the
// search (the line ends there anyway). 0 when not even one character fits.
std::size_t LineCutPoint(std::string_view bytes, CharacterBytes characters, std::size_t limit);

// Whether a character ends every word it stands after: a space or a punctuation mark.
bool IsWordBreak(char32_t cp);

}  // namespace tolvane
