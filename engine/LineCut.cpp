#include "engine/LineCut.h"

#include <unicode/uchar.h>

#include "platform/Cp936.h"
#include "platform/UnicodeText.h"

namespace tolvane {
namespace {

// One character of the bytes: its length, its code point where one is known (0 otherwise) and
// whether it decodes to a character at all.
struct CharacterAt {
  std::size_t length = 1;
  char32_t cp = 0;
  bool decodes = true;
};

bool Between(unsigned char b, unsigned char low, unsigned char high) {
  return b >= low && b <= high;
}

CharacterAt Cp936At(std::string_view bytes, std::size_t pos) {
  const std::size_t length = cp936::CharLengthAt(bytes, pos);
  const auto lead = static_cast<unsigned char>(bytes[pos]);
  if (length == 1) return {1, lead < 0x80 ? char32_t{lead} : 0, lead < 0x80};
  return {2, cp936::DecodeChar(bytes.substr(pos, 2)), true};
}

CharacterAt Gb18030At(std::string_view bytes, std::size_t pos) {
  const auto at = [&](std::size_t i) { return static_cast<unsigned char>(bytes[pos + i]); };
  const std::size_t left = bytes.size() - pos;
  if (at(0) < 0x80) return {1, at(0), true};
  if (!Between(at(0), 0x81, 0xFE) || left < 2) return {1, 0, false};
  if (Between(at(1), 0x30, 0x39)) {
    if (left >= 4 && Between(at(2), 0x81, 0xFE) && Between(at(3), 0x30, 0x39)) return {4, 0, true};
    return {1, 0, false};
  }
  if (Between(at(1), 0x40, 0xFE) && at(1) != 0x7F)
    return {2, cp936::DecodeChar(bytes.substr(pos, 2)), true};
  return {1, 0, false};
}

CharacterAt Utf8At(std::string_view bytes, std::size_t pos) {
  const std::size_t length = unicode::WellFormedUtf8Length(bytes, pos);
  if (length == 0) return {1, 0, false};
  return {length, unicode::CodePointAt(bytes, pos, length), true};
}

CharacterAt HeldUnicodeAt(std::string_view bytes, std::size_t pos) {
  const std::size_t length = unicode::CharLengthAt(bytes, pos);
  const char32_t cp = unicode::CodePointAt(bytes, pos, length);
  return {length, cp, !unicode::IsRawByte(cp) && cp != unicode::kReplacement};
}

CharacterAt Utf16At(std::string_view bytes, std::size_t pos, bool bigEndian) {
  if (pos + 2 > bytes.size()) return {bytes.size() - pos, 0, false};
  const char32_t unit = unicode::Utf16UnitAt(bytes, pos, bigEndian);
  if (unicode::IsHighSurrogate(unit) && pos + 4 <= bytes.size()) {
    const char32_t low = unicode::Utf16UnitAt(bytes, pos + 2, bigEndian);
    if (unicode::IsLowSurrogate(low)) return {4, unicode::FromSurrogates(unit, low), true};
  }
  const bool surrogate = unicode::IsHighSurrogate(unit) || unicode::IsLowSurrogate(unit);
  return {2, surrogate ? 0 : unit, !surrogate};
}

CharacterAt CharacterOf(std::string_view bytes, std::size_t pos, CharacterBytes characters) {
  switch (characters) {
    case CharacterBytes::Cp936:
      return Cp936At(bytes, pos);
    case CharacterBytes::Gb18030:
      return Gb18030At(bytes, pos);
    case CharacterBytes::Utf8:
      return Utf8At(bytes, pos);
    case CharacterBytes::Utf16Le:
      return Utf16At(bytes, pos, false);
    case CharacterBytes::Utf16Be:
      return Utf16At(bytes, pos, true);
    case CharacterBytes::HeldUnicode:
      return HeldUnicodeAt(bytes, pos);
  }
  return {};
}

}  // namespace

bool IsWordBreak(char32_t cp) {
  if (cp == 0 || cp == '\r' || cp == '\n') return false;
  const auto c = static_cast<UChar32>(cp);
  return u_isUWhiteSpace(c) || u_ispunct(c);
}

std::size_t LineCutPoint(std::string_view bytes, CharacterBytes characters, std::size_t limit) {
  std::size_t afterBreak = 0;
  std::size_t afterCharacter = 0;
  std::size_t firstEnd = 0;
  // A character right after bytes that do not decode is no place to cut: the decoder may read
  // those bytes and it as the start of one longer sequence cut short (GB18030's lead byte and
  // digit), which it treats otherwise at the end of a piece than in the middle of the line.
  bool afterUndecodable = false;
  for (std::size_t pos = 0; pos < bytes.size();) {
    const CharacterAt c = CharacterOf(bytes, pos, characters);
    if (c.cp == '\r' || c.cp == '\n') break;
    const std::size_t end = pos + c.length;
    if (end > limit) break;
    if (firstEnd == 0) firstEnd = end;
    if (c.decodes && !afterUndecodable) {
      afterCharacter = end;
      if (IsWordBreak(c.cp)) afterBreak = end;
    }
    afterUndecodable = !c.decodes;
    pos = end;
  }
  if (afterBreak > 0) return afterBreak;
  if (afterCharacter > 0) return afterCharacter;
  return firstEnd;
}

}  // namespace tolvane
