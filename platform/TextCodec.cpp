#include "platform/TextCodec.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>

#include <cstdint>
#include <stdexcept>
#include <vector>

#include "platform/ByteScan.h"
#include "platform/Cp936.h"
#include "platform/UnicodeText.h"

namespace tolvane {
namespace {

using unicode::AppendCodePoint;
using unicode::AppendRawByte;

void NoteFirst(std::optional<std::size_t>& first, std::size_t offset) {
  if (!first) first = offset;
}

void DecodeUtf8(std::string_view bytes, std::size_t offset, DecodedText& out) {
  // Most files are well-formed: then the text is the bytes as they are.
  std::size_t pos = 0;
  while ((pos = bytescan::FindNonAscii(bytes, pos)) < bytes.size()) {
    const std::size_t length = unicode::WellFormedUtf8Length(bytes, pos);
    if (length == 0) break;
    pos += length;
  }
  if (pos >= bytes.size()) {
    out.text.assign(bytes);
    return;
  }
  out.text.reserve(bytes.size() + 16);
  out.text.assign(bytes.substr(0, pos));
  while (pos < bytes.size()) {
    const std::size_t length = unicode::WellFormedUtf8Length(bytes, pos);
    if (length == 0) {
      NoteFirst(out.firstUndecodable, offset + pos);
      AppendRawByte(out.text, static_cast<unsigned char>(bytes[pos]));
      ++pos;
    } else {
      out.text.append(bytes.substr(pos, length));
      pos += length;
    }
  }
}

void DecodeUtf16(std::string_view bytes, bool bigEndian, std::size_t offset, DecodedText& out) {
  const std::size_t units = bytes.size() / 2;
  const auto unitAt = [&](std::size_t i) { return unicode::Utf16UnitAt(bytes, 2 * i, bigEndian); };
  out.text.reserve(bytes.size() * 3 / 2);
  for (std::size_t i = 0; i < units; ++i) {
    const char32_t unit = unitAt(i);
    if (unit < 0xD800 || unit > 0xDFFF) {
      AppendCodePoint(out.text, unit);
      continue;
    }
    if (unicode::IsHighSurrogate(unit) && i + 1 < units) {
      const char32_t low = unitAt(i + 1);
      if (unicode::IsLowSurrogate(low)) {
        AppendCodePoint(out.text, unicode::FromSurrogates(unit, low));
        ++i;
        continue;
      }
    }
    // A surrogate without its partner: its two bytes, as they stand.
    NoteFirst(out.firstUndecodable, offset + 2 * i);
    AppendRawByte(out.text, static_cast<unsigned char>(bytes[2 * i]));
    AppendRawByte(out.text, static_cast<unsigned char>(bytes[2 * i + 1]));
  }
  if (bytes.size() % 2 != 0) {
    NoteFirst(out.firstUndecodable, offset + bytes.size() - 1);
    out.trailingBytes.assign(bytes.substr(bytes.size() - 1));
  }
}

// Appends UTF-16 code units as Unicode text. Pairs become their code point; a lone surrogate
// is written as itself, which is how the GB18030 decoder below marks raw bytes.
void AppendUtf16Units(const UChar* units, std::size_t count, std::string& out) {
  for (std::size_t i = 0; i < count; ++i) {
    const char32_t unit = units[i];
    if (unicode::IsHighSurrogate(unit) && i + 1 < count && unicode::IsLowSurrogate(units[i + 1])) {
      AppendCodePoint(out, unicode::FromSurrogates(unit, units[i + 1]));
      ++i;
    } else {
      AppendCodePoint(out, unit);
    }
  }
}

struct ConverterDeleter {
  void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using Converter = std::unique_ptr<UConverter, ConverterDeleter>;

Converter OpenGb18030() {
  UErrorCode status = U_ZERO_ERROR;
  Converter converter(ucnv_open("gb18030", &status));
  if (U_FAILURE(status) || !converter)
    throw std::runtime_error(std::string("ICU has no GB18030 converter: ") + u_errorName(status));
  return converter;
}

struct RawByteContext {
  const char* base;
  std::size_t offset;
  std::optional<std::size_t>* first;
};

// ICU's report of bytes that do not decode: each becomes a raw byte (U+DC00 + byte).
void WriteRawBytes(const void* context, UConverterToUnicodeArgs* args, const char* codeUnits,
                   int32_t length, UConverterCallbackReason reason, UErrorCode* status) {
  if (reason != UCNV_UNASSIGNED && reason != UCNV_ILLEGAL && reason != UCNV_IRREGULAR) return;
  const auto* raw = static_cast<const RawByteContext*>(context);
  NoteFirst(*raw->first, raw->offset + static_cast<std::size_t>(args->source - raw->base) -
                             static_cast<std::size_t>(length));
  std::vector<UChar> units(static_cast<std::size_t>(length));
  for (int32_t i = 0; i < length; ++i)
    units[static_cast<std::size_t>(i)] =
        static_cast<UChar>(unicode::kRawByteFirst + static_cast<unsigned char>(codeUnits[i]));
  *status = U_ZERO_ERROR;
  ucnv_cbToUWriteUChars(args, units.data(), length, 0, status);
}

void DecodeGb18030(std::string_view bytes, std::size_t offset, DecodedText& out) {
  if (bytes.empty()) return;
  Converter converter = OpenGb18030();
  RawByteContext context{bytes.data(), offset, &out.firstUndecodable};
  UErrorCode status = U_ZERO_ERROR;
  ucnv_setToUCallBack(converter.get(), WriteRawBytes, &context, nullptr, nullptr, &status);
  // Every byte gives at most one code unit: a four-byte sequence gives two at most.
  std::vector<UChar> units(bytes.size() + 1);
  UChar* target = units.data();
  const char* source = bytes.data();
  ucnv_toUnicode(converter.get(), &target, units.data() + units.size(), &source,
                 bytes.data() + bytes.size(), nullptr, true, &status);
  if (U_FAILURE(status))
    throw std::runtime_error(std::string("GB18030 decoding failed: ") + u_errorName(status));
  out.text.reserve(bytes.size() * 3 / 2);
  AppendUtf16Units(units.data(), static_cast<std::size_t>(target - units.data()), out.text);
}

}  // namespace

DecodedText DecodeText(std::string_view bytes, Encoding encoding, std::size_t offset) {
  DecodedText out;
  switch (encoding) {
    case Encoding::Cp936:
      out.text.reserve(bytes.size() * 3 / 2);
      cp936::AppendAsUnicodeText(bytes, out.text);
      if (const auto first = cp936::FirstUndecodable(bytes)) out.firstUndecodable = offset + *first;
      break;
    case Encoding::Utf8:
      DecodeUtf8(bytes, offset, out);
      break;
    case Encoding::Utf16Le:
    case Encoding::Utf16Be:
      DecodeUtf16(bytes, encoding == Encoding::Utf16Be, offset, out);
      break;
    case Encoding::Gb18030:
      DecodeGb18030(bytes, offset, out);
      break;
  }
  return out;
}

struct TextEncoder::Icu {
  Converter converter = OpenGb18030();
  std::vector<UChar> units;
};

TextEncoder::TextEncoder(Encoding encoding) : encoding_(encoding) {
  if (encoding == Encoding::Cp936)
    throw std::logic_error("Unicode text is not written in code page 936");
  if (encoding == Encoding::Gb18030) icu_ = std::make_unique<Icu>();
}

TextEncoder::~TextEncoder() = default;

void TextEncoder::Append(std::string_view text, std::string& out) {
  if (encoding_ == Encoding::Utf8) {
    if (!unicode::HoldsRawBytes(text)) {
      out.append(text);
      return;
    }
    out.append(unicode::ToUtf8Bytes(text));
    return;
  }
  // Runs of code points between raw bytes, each run encoded in one piece.
  std::size_t runBegin = 0;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t length = unicode::CharLengthAt(text, pos);
    const char32_t cp = unicode::CodePointAt(text, pos, length);
    if (!unicode::IsRawByte(cp)) {
      pos += length;
      continue;
    }
    AppendCodePoints(text.substr(runBegin, pos - runBegin), out);
    std::size_t rawCount = 0;
    while (pos < text.size()) {
      const std::size_t rawLength = unicode::CharLengthAt(text, pos);
      const char32_t raw = unicode::CodePointAt(text, pos, rawLength);
      if (!unicode::IsRawByte(raw)) break;
      out.push_back(static_cast<char>(unicode::RawByteOf(raw)));
      ++rawCount;
      pos += rawLength;
    }
    const bool utf16 = encoding_ == Encoding::Utf16Le || encoding_ == Encoding::Utf16Be;
    if (utf16 && rawCount % 2 != 0) out.push_back('\0');
    runBegin = pos;
  }
  AppendCodePoints(text.substr(runBegin), out);
}

void TextEncoder::AppendCodePoints(std::string_view text, std::string& out) {
  if (text.empty()) return;
  if (encoding_ == Encoding::Utf16Le || encoding_ == Encoding::Utf16Be) {
    const bool bigEndian = encoding_ == Encoding::Utf16Be;
    const auto appendUnit = [&](char32_t unit) {
      const char high = static_cast<char>(unit >> 8);
      const char low = static_cast<char>(unit & 0xFF);
      out.push_back(bigEndian ? high : low);
      out.push_back(bigEndian ? low : high);
    };
    unicode::ForEachCodePoint(
        text, [&](std::string_view, char32_t cp) { unicode::ForEachUtf16Unit(cp, appendUnit); });
    return;
  }
  // GB18030 through ICU, which holds every code point.
  std::vector<UChar>& units = icu_->units;
  units.clear();
  unicode::ForEachCodePoint(text, [&](std::string_view, char32_t cp) {
    unicode::ForEachUtf16Unit(cp,
                              [&](char32_t unit) { units.push_back(static_cast<UChar>(unit)); });
  });
  UErrorCode status = U_ZERO_ERROR;
  ucnv_resetFromUnicode(icu_->converter.get());
  const std::size_t before = out.size();
  out.resize(before + units.size() * 4 + 8);
  const int32_t written = ucnv_fromUChars(icu_->converter.get(), out.data() + before,
                                          static_cast<int32_t>(out.size() - before), units.data(),
                                          static_cast<int32_t>(units.size()), &status);
  if (U_FAILURE(status) && status != U_STRING_NOT_TERMINATED_WARNING)
    throw std::runtime_error(std::string("GB18030 encoding failed: ") + u_errorName(status));
  out.resize(before + static_cast<std::size_t>(written));
}

std::string EncodeText(std::string_view text, Encoding encoding) {
  std::string out;
  TextEncoder(encoding).Append(text, out);
  return out;
}

}  // namespace tolvane
