// AnnotateLine under settings, user dictionaries and tone glyphs all taken from the input, over
// code page 936 lines and over Unicode text (the input read as UTF-8).
// Properties: the walk never loses a character; in the two-line layouts with alignment the
// character line is the input with only spaces put in front of characters; the inline layouts
// hold every input character in order; a missing glyph is the only error there is.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "FuzzInput.h"
#include "engine/AnnotateLine.h"
#include "platform/Cp936.h"
#include "platform/Error.h"
#include "platform/TextCodec.h"
#include "platform/UnicodeText.h"
#include "reading/Session.h"
#include "reading/classic/ReadingTable.h"
#include "reading/shared/DataFiles.h"

using namespace tolvane;

namespace {

const std::filesystem::path& Folder() {
  static const std::filesystem::path folder = [] {
    auto f = std::filesystem::temp_directory_path() / ("tolvane-fuzz-" + std::to_string(getpid()));
    std::filesystem::create_directories(f);
    return f;
  }();
  return folder;
}

void Write(const char* name, const std::string& bytes) {
  std::ofstream(Folder() / name, std::ios::binary | std::ios::trunc) << bytes;
}

// Every character of `line`, in order, occurs in `output`, only `filler` bytes standing before
// each; nothing but filler follows the last one.
bool HoldsInOrderWithFiller(std::string_view line, std::string_view output, bool onlySpaces,
                            TextForm form) {
  std::size_t pos = 0;
  for (std::size_t i = 0; i < line.size();) {
    const std::size_t length =
        form == TextForm::Cp936 ? cp936::CharLengthAt(line, i) : unicode::CharLengthAt(line, i);
    const std::string_view character = line.substr(i, length);
    i += length;
    for (;;) {
      if (pos + length > output.size()) return false;
      if (output.substr(pos, length) == character) break;
      if (onlySpaces && output[pos] != ' ') return false;
      ++pos;
    }
    pos += length;
  }
  if (onlySpaces) return output.substr(pos).find_first_not_of(' ') == std::string_view::npos;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzInput input(data, size);
  ConversionSettings settings;
  const std::uint8_t flags = input.Byte();
  settings.toneStyle = static_cast<ToneStyle>(flags % 3);
  settings.polyphone = static_cast<PolyphonePolicy>((flags >> 2) & 1);
  settings.outputFormat = static_cast<OutputFormat>(((flags >> 3) & 7) % 5);
  settings.align = (flags >> 6) & 1;
  settings.wadeGiles = (flags >> 7) & 1;
  const std::uint8_t more = input.Byte();
  Separator separator = (more & 1) ? " " : "";
  const bool preview = (more >> 1) & 1;

  // Data files: odd keys and readings, and a glyph list of any length up to the full one.
  Write(kStandardKeysFile, input.Bytes(24));
  Write(kStandardReadingsFile, input.Bytes(24));
  Write(kWadeGilesKeysFile, input.Bytes(12));
  Write(kWadeGilesReadingsFile, input.Bytes(12));
  std::string glyphs;
  const int glyphCount = (more >> 2) % 27;
  for (int i = 0; i < glyphCount; ++i) {
    glyphs += static_cast<char>(0xA8);
    glyphs += static_cast<char>(0xA1 + i);
    glyphs += "\r\n";
  }
  Write(kToneVowelFile, glyphs);
  Session session;
  StartSession(session, Folder());
  LineReadings readings(session.Data());

  const TextForm form = (more >> 7) & 1 ? TextForm::Unicode : TextForm::Cp936;
  const std::string line = form == TextForm::Unicode ? DecodeText(input.Rest(), Encoding::Utf8).text
                                                     : std::string(input.Rest());
  std::vector<std::string> lines;
  try {
    lines = preview ? PreviewLines(readings, line, settings, form)
                    : AnnotateLine(readings, line, settings, separator, form);
  } catch (const Error& error) {
    FUZZ_CHECK(settings.toneStyle == ToneStyle::Marked);
    FUZZ_CHECK(std::string_view(error.what()).starts_with("List index out of bounds ("));
    return 0;
  }
  FUZZ_CHECK(separator == " " || separator.empty());
  switch (settings.outputFormat) {
    case OutputFormat::rb_output_py:
    case OutputFormat::rb_output_han: {
      FUZZ_CHECK(lines.size() == 2);
      const std::string& characters =
          lines[settings.outputFormat == OutputFormat::rb_output_py ? 1 : 0];
      if (preview || !settings.align) {
        FUZZ_CHECK(characters == line);
      } else {
        FUZZ_CHECK(HoldsInOrderWithFiller(line, characters, true, form));
      }
      break;
    }
    case OutputFormat::rb_output_hanpy:
    case OutputFormat::rb_output_pyhan:
      FUZZ_CHECK(lines.size() == 1);
      FUZZ_CHECK(HoldsInOrderWithFiller(line, lines[0], false, form));
      break;
    case OutputFormat::rb_output_py_only:
      FUZZ_CHECK(lines.size() == 1);
      break;
    case OutputFormat::html:
      // The page is made by HtmlPage, not by AnnotateLine: the flags never pick it.
      FUZZ_CHECK(false);
      break;
  }
  return 0;
}
