#include "api/TextReadings.h"

#include "engine/AnnotateLine.h"
#include "engine/HtmlPage.h"
#include "platform/Error.h"
#include "platform/TextFile.h"
#include "platform/UnicodeText.h"

namespace tolvane {
namespace {

bool IsLineEnd(char byte) { return byte == '\n' || byte == '\r'; }

// Appends the readings of one line (no line end) to `out`, one per code point.
void AppendLineReadings(LineReadings& readings, std::string_view line,
                        const ConversionSettings& settings, std::vector<std::string>& out) {
  if (line.empty()) return;
  const std::vector<std::string_view> found =
      ReadingsOfLine(readings, line, TextForm::Unicode, settings);
  const std::size_t first = out.size();
  for (const std::string_view reading : found)
    out.emplace_back(IsNotFoundReading(reading) ? std::string_view() : reading);
  // The layouts read a line one code point at a time; should they ever take two as one
  // character, the caller still gets one entry per code point, the reading on the first.
  std::size_t codePoints = 0;
  unicode::ForEachCodePoint(line, [&](std::string_view, char32_t) { ++codePoints; });
  out.resize(first + codePoints);
}

}  // namespace

void CheckUtf8(std::string_view text) {
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t length = unicode::WellFormedUtf8Length(text, at);
    if (length == 0) throw Error("Invalid UTF-8 at byte " + std::to_string(at));
    at += length;
  }
}

std::vector<std::string> CodePointReadings(LineReadings& readings, std::string_view text,
                                           const ConversionSettings& settings) {
  CheckUtf8(text);
  std::vector<std::string> out;
  std::size_t lineStart = 0;
  for (std::size_t at = 0; at <= text.size(); ++at) {
    if (at < text.size() && !IsLineEnd(text[at])) continue;
    AppendLineReadings(readings, text.substr(lineStart, at - lineStart), settings, out);
    if (at < text.size()) out.emplace_back();  // the line end
    lineStart = at + 1;
  }
  return out;
}

std::string AnnotatedLineText(LineReadings& readings, std::string_view line,
                              const ConversionSettings& settings) {
  CheckUtf8(line);
  if (const std::size_t end = line.find_first_of("\r\n"); end != std::string_view::npos)
    throw Error("One line takes no line end, found at byte " + std::to_string(end));
  if (settings.outputFormat == OutputFormat::html) {
    std::string block;
    HtmlPage::AppendLine(readings, line, TextForm::Unicode, settings, block);
    if (!block.empty() && block.back() == '\n') block.pop_back();
    return block;
  }
  Separator separator = kStartSeparator;
  const std::vector<std::string> lines =
      AnnotateLine(readings, line, settings, separator, TextForm::Unicode);
  std::string joined;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) joined += '\n';
    joined += lines[i];
  }
  return joined;
}

std::string HtmlBlocks(LineReadings& readings, std::string_view text,
                       const ConversionSettings& settings) {
  CheckUtf8(text);
  const LineList lines(text, NulBytes::AreText);
  std::string out;
  for (std::size_t i = 0; i < lines.size(); ++i)
    HtmlPage::AppendLine(readings, lines[i], TextForm::Unicode, settings, out);
  return out;
}

}  // namespace tolvane
