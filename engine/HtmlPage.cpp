#include "engine/HtmlPage.h"

#include <algorithm>

#include "engine/RubyLine.h"
#include "platform/Cp936.h"
#include "platform/UnicodeText.h"

namespace tolvane {
namespace {

// Sized for reading on a screen: the characters half as large again as the browser's text, the
// readings at a little over half their size, in a face whose a and g children learn to write
// where one is installed, with room on both sides so that neighbouring readings never touch.
constexpr std::string_view kStyle = R"(<style>
body { font-family: "Noto Serif CJK SC", "Noto Sans CJK SC", "Source Han Serif SC",
  "Source Han Sans SC", "Songti SC", "PingFang SC", SimSun, "Microsoft YaHei", serif;
  font-size: 1.5em; line-height: 2.4; margin: 2em auto; max-width: 40em; padding: 0 1em; }
p { margin: 0; min-height: 2.4em; white-space: pre-wrap; }
ruby { ruby-position: over; ruby-align: center; break-inside: avoid; }
rt { font-family: Andika, "Andika New Basic", "Century Gothic", "Noto Sans", "DejaVu Sans",
  sans-serif; font-size: 55%; line-height: 1.1; padding: 0 0.15em; }
.colophon { font-size: 0.5em; line-height: 1.5; margin-top: 4em; color: #555; }
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

std::string HtmlPage::Head(std::string_view titleUtf8, std::string_view style) {
  std::string head =
      "<!DOCTYPE html>\n<html lang=\"zh-Hans\">\n<head>\n<meta charset=\"utf-8\">\n"
      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
      "<meta name=\"generator\" content=\"Tolvane\">\n<title>";
  AppendHtmlEscaped(titleUtf8, head);
  head += "</title>\n";
  if (style.empty()) {
    head += kStyle;
  } else {
    head += "<style>\n";
    head += style;
    if (style.back() != '\n') head += '\n';
    head += "</style>\n";
  }
  head += "</head>\n<body>\n";
  return head;
}

std::string HtmlPage::Tail(std::string_view colophon) {
  std::string tail(colophon);
  if (!tail.empty() && tail.back() != '\n') tail += '\n';
  return tail + "</body>\n</html>\n";
}

namespace {

bool IsSpace(char32_t cp) { return cp == U' ' || cp == U'\t' || cp == U'\u3000'; }

}  // namespace

std::string TitleOfFirstLine(std::string_view lineUtf8) {
  std::size_t characters = 0;
  std::size_t first = lineUtf8.size();
  std::size_t end = 0;
  unicode::ForEachCodePoint(lineUtf8, [&](std::string_view bytes, char32_t cp) {
    ++characters;
    if (IsSpace(cp)) return;
    const auto at = static_cast<std::size_t>(bytes.data() - lineUtf8.data());
    first = std::min(first, at);
    end = at + bytes.size();
  });
  if (characters > kLongestTitle || first >= end) return {};
  const std::string_view title = lineUtf8.substr(first, end - first);
  // A line that ends as a sentence or a clause does is the text's first sentence, not its title.
  for (const std::string_view mark : {"。", "，", "；", "：", "、", ".", ",", ";", ":"})
    if (title.ends_with(mark)) return {};
  return std::string(title);
}

void FirstLineTitle::Piece(std::string_view piece, bool lineStart, bool lineEnd) {
  if (settled_) return;
  if (lineStart && lineStarted_) {
    moreLines_ = true;
    settled_ = true;
    return;
  }
  lineStarted_ = true;
  lineEnded_ = lineEnd;
  // A line of more than kLongestTitle characters is no title: only so much of it is decoded.
  const std::size_t room = kLongestTitle + 1 - characters_;
  piece = piece.substr(0, std::min(piece.size(), room * 4));
  std::string text;
  if (form_ == TextForm::Cp936) {
    text = cp936::DecodeToUtf8(piece);
  } else {
    // Unicode text holds the bytes of a source that did not decode as surrogates (UnicodeText.h);
    // a title holds characters.
    unicode::ForEachCodePoint(piece, [&](std::string_view, char32_t cp) {
      unicode::AppendCodePoint(text, cp >= 0xD800 && cp <= 0xDFFF ? unicode::kReplacement : cp);
    });
  }
  unicode::ForEachCodePoint(text, [&](std::string_view bytes, char32_t) {
    if (characters_ <= kLongestTitle) line_ += bytes;
    ++characters_;
  });
  if (characters_ > kLongestTitle) settled_ = true;
}

std::string FirstLineTitle::Title() const {
  if (!lineEnded_ || !moreLines_ || characters_ > kLongestTitle) return {};
  return TitleOfFirstLine(line_);
}

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
