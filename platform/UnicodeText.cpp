#include "platform/UnicodeText.h"

#include <cstring>

namespace tolvane::unicode {

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
