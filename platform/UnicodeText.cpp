#include "platform/UnicodeText.h"

#include <cstring>

namespace tolvane::unicode {

char32_t CodePointAt(std::string_view text, std::size_t pos, std::size_t length) {
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

void AppendCodePoint(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

std::size_t WellFormedUtf8Length(std::string_view bytes, std::size_t pos) {
  const std::size_t left = bytes.size() - pos;
  const auto at = [&](std::size_t i) { return static_cast<unsigned char>(bytes[pos + i]); };
  const unsigned char b0 = at(0);
  if (b0 < 0x80) return 1;
  const auto continuation = [&](std::size_t i, unsigned char low = 0x80, unsigned char high = 0xBF) {
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

std::size_t CharCount(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t pos = 0; pos < text.size(); pos += CharLengthAt(text, pos)) ++count;
  return count;
}

namespace {

// A raw byte's three bytes begin with ED and a second byte from B0 to B3.
inline bool IsRawByteAt(std::string_view text, std::size_t pos) {
  return pos + 2 < text.size() && static_cast<unsigned char>(text[pos]) == 0xED &&
         (static_cast<unsigned char>(text[pos + 1]) & 0xFC) == 0xB0;
}

}  // namespace

bool HoldsRawBytes(std::string_view text) {
  for (std::size_t pos = text.find('\xED'); pos != std::string_view::npos;
       pos = text.find('\xED', pos + 1)) {
    if (IsRawByteAt(text, pos)) return true;
  }
  return false;
}

std::string ToUtf8Bytes(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t done = 0;
  for (std::size_t pos = text.find('\xED'); pos != std::string_view::npos;
       pos = text.find('\xED', pos + 1)) {
    if (!IsRawByteAt(text, pos)) continue;
    out.append(text.substr(done, pos - done));
    out.push_back(static_cast<char>(RawByteOf(CodePointAt(text, pos, 3))));
    done = pos + 3;
    pos += 2;
  }
  out.append(text.substr(done));
  return out;
}

}  // namespace tolvane::unicode
