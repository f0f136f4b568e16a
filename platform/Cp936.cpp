#include "platform/Cp936.h"

#include <array>
#include <bitset>
#include <cstdint>
#include <memory>

#include "platform/ByteScan.h"
#include "platform/Cp936Table_generated.h"
#include "platform/UnicodeText.h"

namespace tolvane::cp936 {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

char32_t DecodeAt(std::string_view text, std::size_t pos, std::size_t length) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  if (length == 1) {
    if (lead < 0x80) return lead;
    if (lead == 0x80 && cp936_table::kByte80 != 0) return cp936_table::kByte80;
    return kReplacement;
  }
  const auto trail = static_cast<unsigned char>(text[pos + 1]);
  const std::uint16_t cp =
      cp936_table::kToUnicode[(lead - cp936_table::kLeadFirst) * cp936_table::kTrailCount +
                              (trail - cp936_table::kTrailFirst)];
  return cp != 0 ? cp : kReplacement;
}

// Unicode (BMP) to code page 936, built once from the generated table. Where two byte pairs
// decode to the same character, the lower pair wins.
const std::array<std::uint16_t, 0x10000>& FromUnicodeTable() {
  static const auto table = [] {
    auto t = std::make_unique<std::array<std::uint16_t, 0x10000>>();
    t->fill(0);
    for (unsigned lead = cp936_table::kLeadFirst; lead <= cp936_table::kLeadLast; ++lead) {
      for (unsigned trail = cp936_table::kTrailFirst; trail <= cp936_table::kTrailLast; ++trail) {
        const std::uint16_t cp =
            cp936_table::kToUnicode[(lead - cp936_table::kLeadFirst) * cp936_table::kTrailCount +
                                    (trail - cp936_table::kTrailFirst)];
        if (cp != 0 && (*t)[cp] == 0) (*t)[cp] = static_cast<std::uint16_t>(lead << 8 | trail);
      }
    }
    if (cp936_table::kByte80 != 0) (*t)[cp936_table::kByte80] = 0x80;
    return t;
  }();
  return *table;
}

// Whether each byte pair, by lead << 8 | trail, is a two-byte character that decodes to a code
// point that encodes back to it. Built once: the check runs over every character of every source,
// and a table over all pairs needs no range checks.
// One bit per pair (8 KB, so that checking a whole text stays in the nearest cache).
const std::bitset<0x10000>& ExactPairs() {
  static const auto table = [] {
    auto exact = std::make_unique<std::bitset<0x10000>>();
    for (unsigned lead = cp936_table::kLeadFirst; lead <= cp936_table::kLeadLast; ++lead) {
      for (unsigned trail = cp936_table::kTrailFirst; trail <= cp936_table::kTrailLast; ++trail) {
        if (trail == 0x7F) continue;
        const std::uint16_t cp =
            cp936_table::kToUnicode[(lead - cp936_table::kLeadFirst) * cp936_table::kTrailCount +
                                    (trail - cp936_table::kTrailFirst)];
        exact->set(lead << 8 | trail, cp != 0 && FromUnicodeTable()[cp] == (lead << 8 | trail));
      }
    }
    return exact;
  }();
  return *table;
}

bool PairDecodesExactly(unsigned char lead, unsigned char trail) {
  return ExactPairs()[static_cast<unsigned>(lead) << 8 | trail];
}

void AppendEncoded(std::string& out, char32_t cp) {
  const EncodedChar encoded = EncodeChar(cp);
  if (encoded.length == 0) {
    out.push_back('?');
  } else {
    out.append(encoded.view());
  }
}

// Decodes one UTF-8 sequence at `pos`, advancing it; malformed input gives U+FFFD and consumes
// one byte.
char32_t NextUtf8(std::string_view s, std::size_t& pos) {
  const std::size_t length = unicode::WellFormedUtf8Length(s, pos);
  if (length == 0) {
    ++pos;
    return kReplacement;
  }
  const char32_t cp = unicode::CodePointAt(s, pos, length);
  pos += length;
  return cp;
}

}  // namespace

EncodedChar EncodeChar(char32_t cp) {
  EncodedChar encoded;
  if (cp < 0x80) {
    encoded.bytes[0] = static_cast<char>(cp);
    encoded.length = 1;
    return encoded;
  }
  const std::uint16_t code = cp <= 0xFFFF ? FromUnicodeTable()[cp] : 0;
  if (code == 0) return encoded;
  if (code <= 0xFF) {
    encoded.bytes[0] = static_cast<char>(code);
    encoded.length = 1;
  } else {
    encoded.bytes[0] = static_cast<char>(code >> 8);
    encoded.bytes[1] = static_cast<char>(code & 0xFF);
    encoded.length = 2;
  }
  return encoded;
}

bool DecodesExactly(std::string_view ch) {
  if (ch.empty()) return false;
  const auto lead = static_cast<unsigned char>(ch[0]);
  if (lead < 0x80) return true;
  if (ch.size() == 2) return PairDecodesExactly(lead, static_cast<unsigned char>(ch[1]));
  return lead == 0x80 && cp936_table::kByte80 != 0;
}

void AppendAsUnicodeText(std::string_view text, std::string& out) {
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t len = CharLengthAt(text, pos);
    const std::string_view ch = text.substr(pos, len);
    if (static_cast<unsigned char>(ch[0]) < 0x80) {
      out.push_back(ch[0]);
    } else if (DecodesExactly(ch)) {
      unicode::AppendCodePoint(out, DecodeAt(ch, 0, len));
    } else {
      for (const char byte : ch) unicode::AppendRawByte(out, static_cast<unsigned char>(byte));
    }
    pos += len;
  }
}

std::optional<std::size_t> FirstUndecodable(std::string_view text) {
  const std::bitset<0x10000>& exact = ExactPairs();
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t size = text.size();
  for (std::size_t pos = 0; pos < size;) {
    const unsigned lead = bytes[pos];
    if (lead < 0x80) {
      pos = bytescan::FindNonAscii(text, pos);
    } else if (pos + 1 < size && exact[lead << 8 | bytes[pos + 1]]) {
      pos += 2;
    } else if (lead == 0x80 && cp936_table::kByte80 != 0) {
      ++pos;
    } else {
      return pos;
    }
  }
  return std::nullopt;
}

std::string_view FirstChars(std::string_view text, std::size_t count) {
  std::size_t pos = 0;
  for (std::size_t i = 0; i < count && pos < text.size(); ++i) pos += CharLengthAt(text, pos);
  return text.substr(0, pos);
}

std::string_view LastChar(std::string_view text) {
  std::size_t pos = 0;
  std::size_t last = 0;
  while (pos < text.size()) {
    last = pos;
    pos += CharLengthAt(text, pos);
  }
  return text.substr(last);
}

std::size_t CharCount(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t pos = 0; pos < text.size(); pos += CharLengthAt(text, pos)) ++count;
  return count;
}

char32_t DecodeChar(std::string_view ch) {
  if (ch.empty()) return 0;
  return DecodeAt(ch, 0, CharLengthAt(ch, 0));
}

std::string DecodeToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size() * 3 / 2);
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t len = CharLengthAt(text, pos);
    unicode::AppendCodePoint(out, DecodeAt(text, pos, len));
    pos += len;
  }
  return out;
}

std::u16string DecodeToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t len = CharLengthAt(text, pos);
    out.push_back(static_cast<char16_t>(DecodeAt(text, pos, len)));
    pos += len;
  }
  return out;
}

std::string EncodeFromUtf8(std::string_view textUtf8) {
  std::string out;
  out.reserve(textUtf8.size());
  for (std::size_t pos = 0; pos < textUtf8.size();) AppendEncoded(out, NextUtf8(textUtf8, pos));
  return out;
}

std::string EncodeFromUtf16(std::u16string_view textUtf16) {
  std::string out;
  out.reserve(textUtf16.size() * 2);
  for (std::size_t i = 0; i < textUtf16.size(); ++i) {
    char32_t cp = textUtf16[i];
    if (unicode::IsHighSurrogate(cp) && i + 1 < textUtf16.size() &&
        unicode::IsLowSurrogate(textUtf16[i + 1])) {
      cp = unicode::FromSurrogates(cp, textUtf16[i + 1]);
      ++i;
    }
    AppendEncoded(out, cp);
  }
  return out;
}

}  // namespace tolvane::cp936
