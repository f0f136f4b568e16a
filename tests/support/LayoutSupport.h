#pragma once

#include <string>
#include <vector>

#include "settings/ConversionSettings.h"

// Short names for the layouts and the CR LF text of lines, as the layout and wrap tests write
// their tables.
namespace tolvane::test {

using Lines = std::vector<std::string>;
inline constexpr auto kPy = OutputFormat::rb_output_py;
inline constexpr auto kHan = OutputFormat::rb_output_han;
inline constexpr auto kHanPy = OutputFormat::rb_output_hanpy;
inline constexpr auto kPyHan = OutputFormat::rb_output_pyhan;
inline constexpr auto kPyOnly = OutputFormat::rb_output_py_only;

// Reading by context in `format` and `tone`; with `written`, pinyin written by words.
inline ConversionSettings ByContext(OutputFormat format, ToneStyle tone = ToneStyle::Numbered,
                                    bool written = false) {
  ConversionSettings settings;
  settings.polyphone = PolyphonePolicy::ByContext;
  settings.orthography = written;
  settings.outputFormat = format;
  settings.toneStyle = tone;
  return settings;
}

// The lines, each ended by CR LF, as the wrap pass writes them.
inline std::string JoinCrLf(const Lines& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

// The lines of CR LF text that ends with a line end.
inline Lines SplitCrLf(const std::string& text) {
  Lines lines;
  for (std::size_t begin = 0; begin < text.size();) {
    const std::size_t end = text.find("\r\n", begin);
    lines.push_back(text.substr(begin, end - begin));
    begin = end + 2;
  }
  return lines;
}

}  // namespace tolvane::test
