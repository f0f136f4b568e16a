#include "engine/HtmlPage.h"

#include "engine/RubyLine.h"

namespace tolvane {
namespace {

constexpr std::string_view kStyle = R"(<style>
body { font-family: "Noto Serif CJK SC", "Noto Sans CJK SC", "Source Han Serif SC",
  "Source Han Sans SC", "Songti SC", "PingFang SC", SimSun, "Microsoft YaHei", serif;
  font-size: 22px; line-height: 2.6; margin: 2em auto; max-width: 48em; padding: 0 1em; }
p { margin: 0; min-height: 2.6em; white-space: pre-wrap; }
ruby { ruby-position: over; ruby-align: center; break-inside: avoid; }
rt { font-size: 50%; line-height: 1.1; padding: 0 0.12em; }
@page { size: A4; margin: 2cm; }
@media print { body { font-size: 16pt; margin: 0; max-width: none; padding: 0; } }
</style>
)";

}  // namespace

void AppendHtmlEscaped(std::string_view textUtf8, std::string& out) {
  for (const char c : textUtf8) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      default:
        out.push_back(c);
    }
  }
}

std::string HtmlPage::Head(std::string_view titleUtf8) {
  std::string head =
      "<!DOCTYPE html>\n<html lang=\"zh-Hans\">\n<head>\n<meta charset=\"utf-8\">\n"
      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
      "<meta name=\"generator\" content=\"Tolvane\">\n<title>";
  AppendHtmlEscaped(titleUtf8, head);
  head += "</title>\n";
  head += kStyle;
  head += "</head>\n<body>\n";
  return head;
}

std::string HtmlPage::Tail() { return "</body>\n</html>\n"; }

void HtmlPage::AppendLine(LineReadings& readings, std::string_view line, TextForm form,
                          const ConversionSettings& settings, std::string& out) {
  AppendPiece(readings, line, form, settings, true, true, out);
}

void HtmlPage::AppendPiece(LineReadings& readings, std::string_view piece, TextForm form,
                           const ConversionSettings& settings, bool lineStart, bool lineEnd,
                           std::string& out) {
  if (lineStart) out += "<p>";
  for (const RubyCharacter& character : RubyLineOf(readings, piece, form, settings)) {
    if (character.reading.empty()) {
      AppendHtmlEscaped(character.text, out);
      continue;
    }
    out += "<ruby>";
    AppendHtmlEscaped(character.text, out);
    out += "<rt>";
    AppendHtmlEscaped(character.reading, out);
    out += "</rt></ruby>";
  }
  if (lineEnd) out += "</p>\n";
}

}  // namespace tolvane
