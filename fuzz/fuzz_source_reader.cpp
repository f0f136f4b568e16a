// The streaming SourceReader over reads of every size: a source that hands its bytes out in
// short reads of sizes taken from the input, read in chunks of a size taken from the input, gives
// the same encoding, the same text (lines and line ends), the same first undecodable offset and
// the same trailing bytes as the same bytes read whole in one read. The property compares two
// reads of the same reader, so it holds whatever the reader makes of NULs or of long lines.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "FuzzInput.h"
#include "engine/SourceReader.h"

using namespace tolvane;

namespace {

// Hands out `bytes` in reads of the given sizes, in turn; says its size only when asked to.
class ShortReads : public ByteSource {
 public:
  ShortReads(std::string_view bytes, std::vector<std::size_t> sizes, bool sizeKnown)
      : bytes_(bytes), sizes_(std::move(sizes)), sizeKnown_(sizeKnown), whole_(bytes.size()) {}

  std::size_t Read(char* data, std::size_t size) override {
    const std::size_t step = sizes_[next_++ % sizes_.size()];
    const std::size_t got = std::min({size, step, bytes_.size()});
    std::copy_n(bytes_.data(), got, data);
    bytes_.remove_prefix(got);
    return got;
  }
  std::optional<std::uint64_t> Size() const override {
    return sizeKnown_ ? std::optional<std::uint64_t>(whole_) : std::nullopt;
  }

 private:
  std::string_view bytes_;
  std::vector<std::size_t> sizes_;
  bool sizeKnown_;
  std::size_t whole_;
  std::size_t next_ = 0;
};

struct Read {
  SourceEncoding encoding;
  std::string text;   // every chunk's lines with their line ends, as decoded
  std::string lines;  // the lines alone, put together
  std::optional<std::size_t> firstUndecodable;
  std::string trailingBytes;
};

Read ReadAll(ByteSource& bytes, EncodingChoice choice, std::size_t chunkBytes) {
  SourceReader reader(bytes, choice, chunkBytes);
  Read read;
  read.encoding = reader.encoding();
  LineList lines;
  while (reader.Next(lines)) {
    read.text += lines.bytes();
    for (std::size_t i = 0; i < lines.size(); ++i) read.lines += lines[i];
  }
  read.firstUndecodable = reader.FirstUndecodable();
  read.trailingBytes = reader.TrailingBytes();
  return read;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzInput input(data, size);
  const std::uint8_t flags = input.Byte();
  const auto choice = static_cast<EncodingChoice>(flags % 6);
  const bool sizeKnown = (flags & 0x80) != 0;
  static const std::size_t kChunkBytes[] = {1, 2, 3, 4, 5, 7, 8, 16, 31, 64, 255, 4096};
  const std::size_t chunkBytes = kChunkBytes[input.Byte() % std::size(kChunkBytes)];
  std::vector<std::size_t> sizes;
  for (const char s : input.Bytes(16)) sizes.push_back(static_cast<std::uint8_t>(s) % 32 + 1);
  if (sizes.empty()) sizes.push_back(1);
  const std::string_view bytes = input.Rest();

  MemoryByteSource whole(bytes);
  const Read expected = ReadAll(whole, choice, SourceReader::kChunkBytes);
  ShortReads pieces(bytes, sizes, sizeKnown);
  const Read got = ReadAll(pieces, choice, chunkBytes);

  FUZZ_CHECK(got.encoding == expected.encoding);
  FUZZ_CHECK(got.text == expected.text);
  FUZZ_CHECK(got.lines == expected.lines);
  FUZZ_CHECK(got.firstUndecodable == expected.firstUndecodable);
  FUZZ_CHECK(got.trailingBytes == expected.trailingBytes);
  return 0;
}
