// Reading a page design from arbitrary text, as the command line's --design and the window's
// saved settings do. Properties: a text either gives a design or raises Error naming the file
// and the line; every value read stays inside its range; and a design that was read, written
// back (WritePageDesign, through a file) and read again is the same design, so saving never
// changes what a teacher chose.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "FuzzInput.h"
#include "documents/PageDesign.h"
#include "platform/Error.h"

using namespace tolvane;

namespace {

bool InRange(double value, double low, double high) { return value >= low && value <= high; }

bool IsColour(std::string_view text) {
  if (text.size() != 7 || text[0] != '#') return false;
  return text.substr(1).find_first_not_of("0123456789abcdefABCDEF") == std::string_view::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::filesystem::path path =
      std::filesystem::temp_directory_path() /
      ("tolvane-fuzz-page-design-" + std::to_string(getpid()) + ".design");
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  PageDesign design;
  try {
    design = ParsePageDesign(text, "fuzz.design");
  } catch (const Error& error) {
    const std::string_view what(error.what());
    constexpr std::string_view kStart = "Page design fuzz.design, line ";
    FUZZ_CHECK(what.starts_with(kStart));
    FUZZ_CHECK(error.path() == "fuzz.design");
    // The line named is one of the text's lines.
    const std::size_t line =
        std::strtoul(std::string(what.substr(kStart.size())).c_str(), nullptr, 10);
    const auto lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
    FUZZ_CHECK(line >= 1 && line <= lines);
    return 0;
  }
  FUZZ_CHECK(InRange(design.marginMm, 0, 60));
  FUZZ_CHECK(InRange(design.textSizePt, 4, 144));
  FUZZ_CHECK(design.readingPercent >= 20 && design.readingPercent <= 100);
  FUZZ_CHECK(InRange(design.lineSpacing, 1, 4));
  FUZZ_CHECK(InRange(design.syllableGap, 0, 1));
  for (const std::string& colour : design.toneColours) FUZZ_CHECK(IsColour(colour));

  // The text the writer makes reads back as the same design, from memory and from a file.
  const std::string written = PageDesignText(design);
  FUZZ_CHECK(ParsePageDesign(written, "again.design") == design);
  WritePageDesign(design, path);
  FUZZ_CHECK(ReadPageDesign(path) == design);
  std::filesystem::remove(path);
  return 0;
}
