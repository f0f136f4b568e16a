#include "api/FileReports.h"

#include <algorithm>
#include <vector>

#include "engine/SourceReader.h"
#include "platform/Cp936.h"
#include "platform/Error.h"
#include "platform/TextCodec.h"
#include "platform/UnicodeText.h"

namespace tolvane {
namespace {

// Counts raw bytes (U+DC00 + byte) in decoded text.
std::uint64_t RawBytesIn(std::string_view text) {
  std::uint64_t count = 0;
  unicode::ForEachCodePoint(text, [&](std::string_view, char32_t cp) {
    if (unicode::IsRawByte(cp)) ++count;
  });
  return count;
}

// Counts the bytes of code page 936 text that start no character.
std::uint64_t UndecodableCp936(std::string_view bytes) {
  std::uint64_t count = 0;
  while (!bytes.empty()) {
    const std::optional<std::size_t> bad = cp936::FirstUndecodable(bytes);
    if (!bad) break;
    ++count;
    bytes.remove_prefix(*bad + 1);
  }
  return count;
}

// How much of `text` can be decoded without cutting a character: up to its last line end (a
// line end byte is part of no other character in these encodings), or for UTF-16 its whole
// code units but a high surrogate at the end.
std::size_t WholeCharacters(std::string_view text, Encoding encoding) {
  if (encoding == Encoding::Utf16Le || encoding == Encoding::Utf16Be) {
    std::size_t cut = text.size() - text.size() % 2;
    if (cut >= 2 && unicode::IsHighSurrogate(
                        unicode::Utf16UnitAt(text, cut - 2, encoding == Encoding::Utf16Be)))
      cut -= 2;
    return cut;
  }
  const std::size_t lineEnd = text.find_last_of('\n');
  return lineEnd == std::string_view::npos ? 0 : lineEnd + 1;
}

}  // namespace

std::string EncodingKey(const TextEncoding& encoding) {
  switch (encoding.encoding) {
    case Encoding::Utf8:
      return encoding.byteOrderMark ? "utf-8-bom" : "utf-8";
    case Encoding::Utf16Le:
      return "utf-16le";
    case Encoding::Utf16Be:
      return "utf-16be";
    case Encoding::Gb18030:
      return "gb18030";
    case Encoding::Cp936:
      break;
  }
  return "gbk";
}

std::uint64_t CountUndecodableBytes(const std::filesystem::path& source,
                                    const TextEncoding& encoding, std::uint64_t offset,
                                    std::uint64_t end) {
  FileByteSource bytes(source);
  std::vector<char> skip(1 << 16);
  for (std::uint64_t skipped = 0; skipped < offset;) {
    const std::size_t step =
        static_cast<std::size_t>(std::min<std::uint64_t>(skip.size(), offset - skipped));
    const std::size_t got = bytes.Read(skip.data(), step);
    if (got == 0) return 0;
    skipped += got;
  }
  std::string text;
  std::string chunk(1 << 20, '\0');
  std::uint64_t count = 0;
  for (std::uint64_t at = offset; at < end;) {
    const std::size_t step =
        static_cast<std::size_t>(std::min<std::uint64_t>(chunk.size(), end - at));
    const std::size_t got = bytes.Read(chunk.data(), step);
    if (got == 0) break;
    at += got;
    text.append(chunk.data(), got);
    const std::size_t cut = at < end ? WholeCharacters(text, encoding.encoding) : text.size();
    const std::string_view part = std::string_view(text).substr(0, cut);
    count += encoding.encoding == Encoding::Cp936
                 ? UndecodableCp936(part)
                 : RawBytesIn(DecodeText(part, encoding.encoding).text);
    text.erase(0, cut);
  }
  return count;
}

}  // namespace tolvane
