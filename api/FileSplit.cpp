#include "api/FileSplit.h"

#include <algorithm>

#include "engine/AnnotateLine.h"
#include "engine/ChunkAnnotation.h"
#include "engine/SourceReader.h"
#include "platform/Error.h"
#include "platform/UnicodeText.h"

namespace tolvane {
namespace {

constexpr std::size_t kScanBytes = 1 << 20;

bool IsUtf16(Encoding encoding) {
  return encoding == Encoding::Utf16Le || encoding == Encoding::Utf16Be;
}

// Where lines start in `bytes` (file offset `at`), calling `lineStart` with each offset just past
// a line feed. In UTF-16 `at` is on a code unit.
template <typename LineStart>
void ForEachLineStart(std::string_view bytes, std::uint64_t at, Encoding encoding,
                      LineStart&& lineStart) {
  if (!IsUtf16(encoding)) {
    for (std::size_t i = bytes.find('\n'); i != std::string_view::npos; i = bytes.find('\n', i + 1))
      lineStart(at + i + 1);
    return;
  }
  const bool bigEndian = encoding == Encoding::Utf16Be;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
    if (unicode::Utf16UnitAt(bytes, i, bigEndian) == '\n') lineStart(at + i + 2);
}

// `count` bytes of `source` from `offset` (fewer at its end).
std::string ReadRange(const std::filesystem::path& source, std::uint64_t offset,
                      std::uint64_t count) {
  FileByteSource bytes(source, offset, offset + count);
  std::string out(static_cast<std::size_t>(count), '\0');
  std::size_t got = 0;
  while (got < out.size()) {
    const std::size_t step = bytes.Read(out.data() + got, out.size() - got);
    if (step == 0) break;
    got += step;
  }
  out.resize(got);
  return out;
}

}  // namespace

std::vector<std::uint64_t> PartOffsets(const std::filesystem::path& source,
                                       const SourceEncoding& encoding, std::uint64_t size,
                                       std::uint64_t partBytes) {
  std::vector<std::uint64_t> offsets = {0};
  FileByteSource bytes(source);
  std::string block(kScanBytes, '\0');
  std::uint64_t at = 0;
  std::size_t lineEnds = 0;
  std::uint64_t next = std::max<std::uint64_t>(partBytes, 1);
  while (at < size) {
    const std::size_t got = bytes.Read(block.data(), block.size());
    if (got == 0) break;
    ForEachLineStart(std::string_view(block.data(), got), at, encoding.encoding.encoding,
                     [&](std::uint64_t lineStart) {
                       ++lineEnds;
                       // The first part holds two whole lines at least; no part is empty.
                       if (lineEnds < 2 || lineStart < next || lineStart >= size) return;
                       offsets.push_back(lineStart);
                       next = lineStart + partBytes;
                     });
    at += got;
  }
  return offsets;
}

std::string SeparatorBefore(const std::filesystem::path& source, const SourceEncoding& encoding,
                            std::uint64_t offset, LineReadings& readings,
                            const ConversionSettings& settings) {
  // The text before `offset`, read backwards in growing windows until one holds a line that is
  // not empty after a line start, or the text's start.
  const std::uint64_t textStart = encoding.byteOrderMarkLength;
  for (std::uint64_t window = 1 << 16;; window *= 2) {
    const std::uint64_t from = offset > textStart + window ? offset - window : textStart;
    std::string bytes = ReadRange(source, from, offset - from);
    // Cut off what comes before the window's first line start, unless that is the text's start.
    if (from > textStart) {
      std::size_t lineStart = std::string::npos;
      ForEachLineStart(bytes, 0, encoding.encoding.encoding, [&](std::uint64_t at) {
        if (lineStart == std::string::npos) lineStart = static_cast<std::size_t>(at);
      });
      if (lineStart == std::string::npos) continue;
      bytes.erase(0, lineStart);
    }
    MemoryByteSource memory(bytes);
    SourceEncoding part = encoding;
    part.byteOrderMarkLength = 0;
    const SourceReader reader(memory, part);
    SourceReader::RawChunk raw;
    raw.bytes = std::move(bytes);
    const bool found = !reader.LastNonEmptyLine(raw).empty();
    if (found || from == textStart)
      return SeparatorAfter(readings, reader, raw, kStartSeparator, settings);
  }
}

}  // namespace tolvane
