#include "platform/EncodingDetection.h"

#include <algorithm>
#include <string>

#include "platform/Cp936.h"
#include "platform/TextCodec.h"
#include "platform/UnicodeText.h"

namespace tolvane {
namespace {

using namespace std::string_view_literals;

bool StartsWith(std::string_view bytes, std::string_view prefix) {
  return bytes.substr(0, prefix.size()) == prefix;
}

// A byte-order mark at the start of the bytes, if any.
std::optional<SourceEncoding> ByByteOrderMark(std::string_view bytes) {
  for (const Encoding encoding : {Encoding::Utf8, Encoding::Utf16Le, Encoding::Utf16Be}) {
    const std::string_view mark = ByteOrderMark(encoding);
    if (StartsWith(bytes, mark)) return SourceEncoding{{encoding, true}, mark.size()};
  }
  return std::nullopt;
}

struct Utf8Scan {
  bool wellFormed = true;
  bool multiByte = false;
};

// Whether the bytes from `pos` to the end are the beginning of a well-formed sequence that the
// end of the file cut short.
bool IsCutShortAtTheEnd(std::string_view bytes, std::size_t pos) {
  const auto lead = static_cast<unsigned char>(bytes[pos]);
  const std::size_t needed = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
  if (needed == 0 || pos + needed <= bytes.size()) return false;
  // Complete it with the smallest continuation bytes and see whether it is then well-formed.
  std::string completed(bytes.substr(pos));
  while (completed.size() < needed) completed.push_back('\x80');
  if (lead == 0xE0)
    completed[1] =
        static_cast<char>(std::max<unsigned char>(static_cast<unsigned char>(completed[1]), 0xA0));
  if (lead == 0xF0)
    completed[1] =
        static_cast<char>(std::max<unsigned char>(static_cast<unsigned char>(completed[1]), 0x90));
  return unicode::WellFormedUtf8Length(completed, 0) == needed;
}

Utf8Scan ScanUtf8(std::string_view bytes) {
  Utf8Scan scan;
  for (std::size_t pos = 0; pos < bytes.size();) {
    const std::size_t length = unicode::WellFormedUtf8Length(bytes, pos);
    if (length == 0) {
      // A file cut in the middle of its last character is still UTF-8; the bytes of that
      // character are kept as they are, like any that do not decode.
      scan.wellFormed = IsCutShortAtTheEnd(bytes, pos);
      return scan;
    }
    scan.multiByte = scan.multiByte || length > 1;
    pos += length;
  }
  return scan;
}

// How much a reading of the bytes looks like Chinese text: a point for each of GB2312's level-1
// characters (the 3755 most common ones, first bytes 0xB0 to 0xD7), nothing for a rarer
// ideograph, a point off for anything else outside ASCII. Real text scores about one point a
// character in its right reading and little or less than nothing in the wrong one; on short
// texts cut from real ones, this tells GB2312 from UTF-8 where a plain count of Chinese
// characters does not (bench/detect_encodings.sh).
class ReadingScore {
 public:
  void Add(char32_t cp, std::string_view gb) {
    if (cp < 0x80) return;
    const bool exact = gb.size() == 2 && cp936::IsGb2312Area(gb) && cp936::DecodesExactly(gb);
    const auto lead = exact ? static_cast<unsigned char>(gb[0]) : 0;
    if (lead >= 0xB0 && lead <= 0xD7) {
      ++value_;
    } else if (!(lead >= 0xD8 && lead <= 0xF7) && !IsIdeograph(cp)) {
      --value_;
    }
  }
  long long value() const { return value_; }

 private:
  static bool IsIdeograph(char32_t cp) {
    return (cp >= 0x4E00 && cp <= 0x9FFF) || (cp >= 0x3400 && cp <= 0x4DBF) ||
           (cp >= 0xF900 && cp <= 0xFAFF) || (cp >= 0x20000 && cp <= 0x3FFFF);
  }
  long long value_ = 0;
};

// The score of the bytes read as GB2312, or nothing when they are not GB2312 text (a byte from
// 0x80 that does not open a GB2312 character from the first 87 rows).
std::optional<long long> Gb2312Score(std::string_view bytes) {
  ReadingScore score;
  for (std::size_t pos = 0; pos < bytes.size();) {
    const std::size_t length = cp936::CharLengthAt(bytes, pos);
    const std::string_view ch = bytes.substr(pos, length);
    const bool ascii = static_cast<unsigned char>(ch[0]) < 0x80;
    if (!ascii && (!cp936::IsGb2312Area(ch) || static_cast<unsigned char>(ch[0]) > 0xF7 ||
                   !cp936::DecodesExactly(ch)))
      return std::nullopt;
    score.Add(ascii ? static_cast<char32_t>(ch[0]) : cp936::DecodeChar(ch), ch);
    pos += length;
  }
  return score.value();
}

long long Utf8Score(std::string_view bytes) {
  ReadingScore score;
  unicode::ForEachCodePoint(
      bytes, [&](std::string_view, char32_t cp) { score.Add(cp, cp936::EncodeChar(cp).view()); });
  return score.value();
}

// Whether the bytes are GB18030 throughout and hold at least one four-byte sequence.
bool IsGb18030WithFourByteSequences(std::string_view bytes) {
  const auto at = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
  bool fourByte = false;
  for (std::size_t pos = 0; pos < bytes.size();) {
    const unsigned char lead = at(pos);
    if (lead < 0x80) {
      ++pos;
      continue;
    }
    if (lead == 0x80 || lead == 0xFF || pos + 1 >= bytes.size()) return false;
    const unsigned char second = at(pos + 1);
    if (second >= 0x30 && second <= 0x39) {
      if (pos + 3 >= bytes.size() || at(pos + 2) < 0x81 || at(pos + 2) > 0xFE ||
          at(pos + 3) < 0x30 || at(pos + 3) > 0x39)
        return false;
      fourByte = true;
      pos += 4;
    } else if (second >= 0x40 && second <= 0xFE && second != 0x7F) {
      pos += 2;
    } else {
      return false;
    }
  }
  // The shape is right; the converter says whether every four-byte sequence is assigned.
  return fourByte && !DecodeText(bytes, Encoding::Gb18030).firstUndecodable;
}

// UTF-16 without a mark: text is mostly ASCII and CJK, whose zero bytes (for ASCII) stand in
// the high half of their code units.
Encoding GuessUtf16ByteOrder(std::string_view bytes) {
  std::size_t zerosFirst = 0;
  std::size_t zerosSecond = 0;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    zerosFirst += bytes[i] == '\0';
    zerosSecond += bytes[i + 1] == '\0';
  }
  return zerosFirst > zerosSecond ? Encoding::Utf16Be : Encoding::Utf16Le;
}

}  // namespace

SourceEncoding DetectEncoding(std::string_view bytes,
                              std::optional<std::size_t>* firstUndecodable) {
  if (const auto marked = ByByteOrderMark(bytes)) return *marked;
  const SourceEncoding cp936{{Encoding::Cp936, false}, 0};
  const Utf8Scan utf8 = ScanUtf8(bytes);
  if (utf8.wellFormed && utf8.multiByte) {
    const std::optional<long long> gb = Gb2312Score(bytes);
    if (!gb || *gb <= Utf8Score(bytes)) return {{Encoding::Utf8, false}, 0};
    if (firstUndecodable != nullptr) *firstUndecodable = std::nullopt;  // it is GB2312 text
    return cp936;
  }
  // A four-byte sequence opens with a byte that code page 936 cannot pair with the digit after
  // it, so text that code page 936 decodes throughout holds none.
  const std::optional<std::size_t> undecodable = cp936::FirstUndecodable(bytes);
  if (undecodable && IsGb18030WithFourByteSequences(bytes)) return {{Encoding::Gb18030, false}, 0};
  if (firstUndecodable != nullptr) *firstUndecodable = undecodable;
  return cp936;
}

SourceEncoding ChooseEncoding(std::string_view bytes, EncodingChoice choice,
                              std::optional<std::size_t>* firstUndecodable) {
  const std::optional<SourceEncoding> marked = ByByteOrderMark(bytes);
  switch (choice) {
    case EncodingChoice::Auto:
      return DetectEncoding(bytes, firstUndecodable);
    case EncodingChoice::Utf8:
      if (marked && marked->encoding.encoding == Encoding::Utf8) return *marked;
      return {{Encoding::Utf8, false}, 0};
    case EncodingChoice::Utf16:
      if (marked && marked->encoding.encoding != Encoding::Utf8) return *marked;
      return {{GuessUtf16ByteOrder(bytes), false}, 0};
    case EncodingChoice::Gb18030:
      return {{Encoding::Gb18030, false}, 0};
    case EncodingChoice::Gbk:
    case EncodingChoice::Gb2312:
      if (firstUndecodable != nullptr) *firstUndecodable = cp936::FirstUndecodable(bytes);
      return {{Encoding::Cp936, false}, 0};
  }
  return {{Encoding::Cp936, false}, 0};
}

}  // namespace tolvane
