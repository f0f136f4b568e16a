#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Code page 936 (GB2312 / GBK) as the system's ANSI code page treats it.
//
// Characters: a byte below 0x80 is a one-byte character. A byte from 0x81 to 0xFE followed by a
// valid trail byte (0x40 to 0xFE, except 0x7F) is a two-byte character, whether or not the pair
// is assigned. Any other byte stands alone as a one-byte character: 0x80, 0xFF, and a lead byte
// at the end of the text or before an invalid trail byte (the invalid trail byte then starts
// the next character). So a walk by characters consumes every byte, keeps every byte, and ends
// after at most as many steps as the text has bytes.
namespace tolvane::cp936 {

// Byte length of the character starting at byte `pos` (1 or 2); 0 when `pos` is at or past the end.
inline std::size_t CharLengthAt(std::string_view text, std::size_t pos) {
  if (pos >= text.size()) return 0;
  const auto lead = static_cast<unsigned char>(text[pos]);
  if (lead < 0x81 || lead == 0xFF || pos + 1 >= text.size()) return 1;
  const auto trail = static_cast<unsigned char>(text[pos + 1]);
  return (trail >= 0x40 && trail <= 0xFE && trail != 0x7F) ? 2 : 1;
}

// The prefix holding the first `count` characters (the whole text when it has fewer).
std::string_view FirstChars(std::string_view text, std::size_t count);

// The text's last character; empty for an empty text.
std::string_view LastChar(std::string_view text);

// Number of characters in the text.
std::size_t CharCount(std::string_view text);

// The Unicode code point of one character (the first of `ch`); U+FFFD when it is a lone byte
// or an unassigned pair; 0 for an empty string.
char32_t DecodeChar(std::string_view ch);

// The code page's bytes for one code point; `length` 0 when the code page lacks it.
struct EncodedChar {
  char bytes[2] = {0, 0};
  std::size_t length = 0;
  std::string_view view() const { return {bytes, length}; }
};
EncodedChar EncodeChar(char32_t cp);

// Whether a two-byte character lies in the GB2312 area (both bytes from 0xA1 to 0xFE). The
// built-in tables and the display width rules know GB2312 characters by this.
inline bool IsGb2312Area(std::string_view ch) {
  return ch.size() == 2 && static_cast<unsigned char>(ch[0]) >= 0xA1 &&
         static_cast<unsigned char>(ch[1]) >= 0xA1 && static_cast<unsigned char>(ch[0]) != 0xFF &&
         static_cast<unsigned char>(ch[1]) != 0xFF;
}

// Whether the character decodes to a code point that encodes back to the same bytes.
bool DecodesExactly(std::string_view ch);

// Appends the text as Unicode text (platform/UnicodeText.h): every character that decodes
// exactly becomes its code point, every other byte a raw byte, so nothing is lost.
void AppendAsUnicodeText(std::string_view text, std::string& out);

// Byte offset of the first character that does not decode exactly, if any.
std::optional<std::size_t> FirstUndecodable(std::string_view text);

// Whole-text conversions for the edges of the system (a UTF-8 terminal, Qt's UTF-16 strings).
// Decoding turns bytes that are no character into U+FFFD; encoding turns characters that code
// page 936 lacks (and malformed UTF-8) into "?".
std::string DecodeToUtf8(std::string_view text);
std::u16string DecodeToUtf16(std::string_view text);
std::string EncodeFromUtf8(std::string_view textUtf8);
std::string EncodeFromUtf16(std::u16string_view textUtf16);

}  // namespace tolvane::cp936
