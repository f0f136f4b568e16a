// Text-file line cutting: lines never hold a line end or a NUL, and the lines with one line end
// (CR LF, CR or LF) after each, the last one's optional, give back the text up to its first NUL.
#include <cstdio>
#include <cstdlib>

#include "FuzzInput.h"
#include "platform/TextFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::string_view ended = text.substr(0, text.find('\0'));
  const auto lines = tolvane::SplitLines(text);
  const tolvane::LineList list{text};
  FUZZ_CHECK(list.size() == lines.size());
  std::size_t pos = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string_view line = lines[i];
    FUZZ_CHECK(list[i] == line);
    FUZZ_CHECK(line.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos);
    FUZZ_CHECK(ended.substr(pos, line.size()) == line);
    pos += line.size();
    if (pos == ended.size()) {
      FUZZ_CHECK(i + 1 == lines.size());
      break;
    }
    FUZZ_CHECK(ended[pos] == '\r' || ended[pos] == '\n');
    pos += (ended[pos] == '\r' && pos + 1 < ended.size() && ended[pos + 1] == '\n') ? 2 : 1;
  }
  FUZZ_CHECK(pos == ended.size());
  return 0;
}
