#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Text read from a UTF-8, UTF-16 or GB18030 file travels inside the system as UTF-8, with one
// addition: a byte of the source that decodes to nothing in its encoding stands as the code
// point U+DC00 + byte, written like any other code point (three bytes, ED B0 80 to ED B3 BF).
// Real text never holds such a code point (UTF-8 and GB18030 cannot express a lone surrogate,
// and a lone surrogate of a UTF-16 file is itself kept as its two bytes), so encoding the text
// back gives every source byte back, and the line ends and the NUL that ends a text are found
// by their ASCII bytes as in code page 936 text.
namespace tolvane::unicode {

inline constexpr char32_t kRawByteFirst = 0xDC00;
inline constexpr char32_t kRawByteLast = 0xDCFF;
inline constexpr char32_t kReplacement = 0xFFFD;

// UTF-16 surrogates: the code point of a pair, and the code units of a code point.
inline constexpr bool IsHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
inline constexpr bool IsLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }
inline constexpr char32_t FromSurrogates(char32_t high, char32_t low) {
  return 0x10000 + ((high - 0xD800) << 10) + (low - 0xDC00);
}
// The UTF-16 code unit of the two bytes at `pos`.
inline char32_t Utf16UnitAt(std::string_view bytes, std::size_t pos, bool bigEndian) {
  const auto a = static_cast<unsigned char>(bytes[pos]);
  const auto b = static_cast<unsigned char>(bytes[pos + 1]);
  return bigEndian ? (char32_t{a} << 8 | b) : (char32_t{b} << 8 | a);
}
template <typename OnUnit>
inline void ForEachUtf16Unit(char32_t cp, OnUnit&& onUnit) {
  if (cp < 0x10000) {
    onUnit(cp);
  } else {
    onUnit(0xD800 + ((cp - 0x10000) >> 10));
    onUnit(0xDC00 + ((cp - 0x10000) & 0x3FF));
  }
}

inline constexpr bool IsRawByte(char32_t cp) { return cp >= kRawByteFirst && cp <= kRawByteLast; }
inline constexpr unsigned char RawByteOf(char32_t cp) {
  return static_cast<unsigned char>(cp - kRawByteFirst);
}

// Byte length of the character starting at `pos` (1 to 4); 0 at or past the end. A byte that
// cannot start a sequence, or a sequence cut short by the end, counts as one byte, so a walk
// always ends.
inline std::size_t CharLengthAt(std::string_view text, std::size_t pos) {
  if (pos >= text.size()) return 0;
  const auto lead = static_cast<unsigned char>(text[pos]);
  const std::size_t length = lead < 0xC0   ? 1
                             : lead < 0xE0 ? 2
                             : lead < 0xF0 ? 3
                             : lead < 0xF8 ? 4
                                           : 1;
  return pos + length <= text.size() ? length : 1;
}

// The code point of the `length` bytes at `pos`, as CharLengthAt measured them. A lone byte
// that is no character on its own (the text was not made by this unit) gives U+FFFD.
inline char32_t CodePointAt(std::string_view text, std::size_t pos, std::size_t length) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[pos + i]); };
  switch (length) {
    case 1:
      return byte(0) < 0x80 ? byte(0) : kReplacement;
    case 2:
      return (char32_t{byte(0)} & 0x1F) << 6 | (byte(1) & 0x3F);
    case 3:
      return (char32_t{byte(0)} & 0x0F) << 12 | (char32_t{byte(1)} & 0x3F) << 6 | (byte(2) & 0x3F);
    case 4:
      return (char32_t{byte(0)} & 0x07) << 18 | (char32_t{byte(1)} & 0x3F) << 12 |
             (char32_t{byte(2)} & 0x3F) << 6 | (byte(3) & 0x3F);
    default:
      return kReplacement;
  }
}

// Appends `cp` in UTF-8; surrogates too, so that raw bytes can be written.
void AppendCodePoint(std::string& out, char32_t cp);
inline void AppendRawByte(std::string& out, unsigned char byte) {
  AppendCodePoint(out, kRawByteFirst + byte);
}

// Calls visit(characterBytes, codePoint) for every character of the text, in order.
template <typename Visit>
void ForEachCodePoint(std::string_view text, Visit&& visit) {
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t length = CharLengthAt(text, pos);
    visit(text.substr(pos, length), CodePointAt(text, pos, length));
    pos += length;
  }
}

// Length of the well-formed UTF-8 sequence at `pos` (1 to 4: no overlong form, no surrogate,
// nothing above U+10FFFF), or 0 when the bytes there are no such sequence.
inline std::size_t WellFormedUtf8Length(std::string_view bytes, std::size_t pos) {
  const std::size_t left = bytes.size() - pos;
  const auto at = [&](std::size_t i) { return static_cast<unsigned char>(bytes[pos + i]); };
  const unsigned char b0 = at(0);
  if (b0 < 0x80) return 1;
  const auto continuation = [&](std::size_t i, unsigned char low = 0x80,
                                unsigned char high = 0xBF) {
    return i < left && at(i) >= low && at(i) <= high;
  };
  // The second byte's range depends on the first (Unicode's table of well-formed sequences).
  if (b0 >= 0xC2 && b0 <= 0xDF) return continuation(1) ? 2 : 0;
  if (b0 >= 0xE0 && b0 <= 0xEF) {
    const unsigned char low = b0 == 0xE0 ? 0xA0 : 0x80;
    const unsigned char high = b0 == 0xED ? 0x9F : 0xBF;
    return continuation(1, low, high) && continuation(2) ? 3 : 0;
  }
  if (b0 >= 0xF0 && b0 <= 0xF4) {
    const unsigned char low = b0 == 0xF0 ? 0x90 : 0x80;
    const unsigned char high = b0 == 0xF4 ? 0x8F : 0xBF;
    return continuation(1, low, high) && continuation(2) && continuation(3) ? 4 : 0;
  }
  return 0;
}

// Number of characters (code points and raw bytes).
std::size_t CharCount(std::string_view text);

// The text as plain UTF-8 for a terminal or a UTF-8 file: raw bytes go out as the bytes they
// stand for.
std::string ToUtf8Bytes(std::string_view text);

// Whether the text holds any raw byte.
bool HoldsRawBytes(std::string_view text);

}  // namespace tolvane::unicode
