// The wrap pass: pieces hold at most W characters, only the last piece of a line fewer, no piece
// is empty, and the pieces of a line put together are the line: every byte is kept.
#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "FuzzInput.h"
#include "engine/WrapLines.h"
#include "platform/Cp936.h"

using namespace tolvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzInput input(data, size);
  static const std::size_t kWidths[] = {100, 50, 40, 30, 20, 10, 1, 2, 3};
  const std::size_t width = kWidths[input.Byte() % 9];
  const LineList source{input.Rest()};
  static const std::filesystem::path temp =
      std::filesystem::temp_directory_path() / ("tolvane-fuzz-wrap-" + std::to_string(getpid()));
  {
    TextFileWriter out(temp);
    WrapLines(source, width, out);
    out.Close();
  }
  const LineList pieces = LineList::FromFile(temp);
  std::size_t next = 0;
  for (std::size_t i = 0; i < source.size(); ++i) {
    const std::string_view line = source[i];
    std::string joined;
    while (joined.size() < line.size()) {
      FUZZ_CHECK(next < pieces.size());
      const std::string_view piece = pieces[next++];
      FUZZ_CHECK(!piece.empty());
      const std::size_t count = cp936::CharCount(piece);
      FUZZ_CHECK(count <= width);
      joined += piece;
      FUZZ_CHECK(count == width || joined.size() == line.size());
    }
    FUZZ_CHECK(joined == line);
  }
  FUZZ_CHECK(next == pieces.size());
  return 0;
}
