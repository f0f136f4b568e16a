#include <gtest/gtest.h>

#include <string>

#include "engine/SourceReader.h"

// A long line read in pieces of any size decodes to the text of the line read whole, whatever
// bytes that do not decode stand next to the cuts.
namespace tolvane {
namespace {

using namespace std::string_literals;

std::string ReadText(const std::string& bytes, EncodingChoice choice, std::size_t chunkBytes) {
  MemoryByteSource source(bytes);
  SourceReader reader(source, choice, chunkBytes);
  std::string text;
  LineList lines;
  while (reader.Next(lines)) text += lines.bytes();
  return text;
}

TEST(LineCut, PiecesNextToUndecodableBytesDecodeAsTheWholeLine) {
  const struct {
    const char* name;
    EncodingChoice choice;
    std::string bytes;
  } cases[] = {
      // A GB18030 lead byte and a digit that no four-byte sequence completes: in the middle of
      // the line the lead byte alone does not decode, at the end of a piece both would not.
      {"GB18030 lead and digit before junk", EncodingChoice::Gb18030,
       "\xE7\x30\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xA1\x8C\n"s},
      {"GB18030 lead and digit before a letter", EncodingChoice::Gb18030,
       "ab\x81\x30xyz\x81\x30\x81\x30q\x81\x39\xFE\n"s},
      {"GBK lead before a space", EncodingChoice::Gbk, "\x81 \x81 \xB0\xA1\x81\n"s},
      {"UTF-8 lead before letters", EncodingChoice::Utf8, "\xE4x\xE4\xB8y\xF0\x9F\x98z\n"s},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string whole = ReadText(c.bytes, c.choice, SourceReader::kChunkBytes);
    for (const std::size_t chunk : {1u, 2u, 3u, 4u, 5u, 7u})
      EXPECT_EQ(ReadText(c.bytes, c.choice, chunk), whole) << "pieces of " << chunk;
  }
}

}  // namespace
}  // namespace tolvane
