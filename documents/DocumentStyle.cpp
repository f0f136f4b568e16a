#include "documents/DocumentStyle.h"

#include <charconv>
#include <cmath>

#include "documents/Credits.h"
#include "documents/XmlText.h"
#include "platform/UnicodeText.h"

namespace tolvane {
namespace {

constexpr std::string_view kTextFaces =
    R"("Noto Serif CJK SC", "Source Han Serif SC", "Songti SC", STSong, SimSun, )"
    R"("Noto Sans CJK SC", "Source Han Sans SC", "PingFang SC", "Microsoft YaHei", serif)";
// Andika and Century Gothic write a and g with one storey, as Chinese schoolbooks print pinyin.
constexpr std::string_view kReadingFaces =
    R"(Andika, "Andika New Basic", "Century Gothic", "Noto Sans", "DejaVu Sans", sans-serif)";

// A number for CSS: at most three decimals, no trailing zeros, a point whatever the locale.
std::string Number(double value) {
  const double rounded = std::round(value * 1000) / 1000;
  char buffer[32];
  const auto [end, ec] =
      std::to_chars(buffer, buffer + sizeof buffer, rounded, std::chars_format::fixed, 3);
  std::string text(buffer, ec == std::errc() ? end : buffer);
  if (text.find('.') != std::string::npos) {
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
  }
  return text.empty() ? "0" : text;
}

// A font's name as a CSS string. Quotes and backslashes are escaped, and so are < and > and
// line ends: the sheet may stand inside an HTML page's <style>, which a name must not close.
std::string CssString(std::string_view name) {
  std::string out = "\"";
  for (const char c : name) {
    switch (c) {
      case '"':
      case '\\':
        out += '\\';
        out += c;
        break;
      case '<':
        out += "\\3c ";
        break;
      case '>':
        out += "\\3e ";
        break;
      case '\n':
      case '\r':
      case '\f':
        out += ' ';
        break;
      default:
        out += c;
    }
  }
  return out + "\"";
}

std::string FamiliesWith(const std::string& face, std::string_view fallbacks) {
  if (face.empty()) return std::string(fallbacks);
  return CssString(face) + ", " + std::string(fallbacks);
}

bool OneCharacter(std::string_view text) {
  return !text.empty() && unicode::CharLengthAt(text, 0) == text.size();
}

// Whether a reading is one syllable: the readings of one character are, unless the polyphone
// policy lists several ("zhong4/chong2") or a user reading holds more.
bool OneSyllable(std::string_view reading) {
  for (const char c : reading)
    if (c == ' ' || c == '/' || c == ',' || c == '\'' || c == '-' || c == '(' || c == '[')
      return false;
  return !reading.empty();
}

}  // namespace

std::string TextFontFamilies(const PageDesign& design) {
  return FamiliesWith(design.textFont, kTextFaces);
}

std::string ReadingFontFamilies(const PageDesign& design) {
  return FamiliesWith(design.readingFont, kReadingFaces);
}

std::string DocumentStyleSheet(const PageDesign& design) {
  const PaperMm paper = PaperSizeMm(design.paper);
  // A row is a character with its reading over it; the line spacing is in rows.
  const double row = 1 + design.readingPercent / 100.0;
  const std::string lineHeight = Number(design.lineSpacing * row);
  std::string css;
  css += "@page { size: " + Number(paper.width) + "mm " + Number(paper.height) +
         "mm; margin: " + Number(design.marginMm) + "mm; }\n";
  css += "body { font-family: " + TextFontFamilies(design) +
         "; font-size: " + Number(design.textSizePt) + "pt; line-height: " + lineHeight + "; }\n";
  css += "p { margin: 0; min-height: " + lineHeight + "em; white-space: pre-wrap; }\n";
  css += "h1, h2 { font-weight: bold; line-height: " + lineHeight +
         "; margin: 0 0 0.5em; break-after: avoid; }\n";
  css += "h1 { font-size: 1.4em; text-align: center; }\n";
  css += "h2 { font-size: 1.15em; margin-top: 1em; }\n";
  css += "ruby { ruby-position: over; -epub-ruby-position: over; ruby-align: center; }\n";
  css += "rt { font-family: " + ReadingFontFamilies(design) +
         "; font-size: " + std::to_string(design.readingPercent) +
         "%; font-weight: normal; line-height: 1; padding: 0 " + Number(design.syllableGap) +
         "em; }\n";
  if (design.toneScheme != ToneColourScheme::Off) {
    for (int tone = 1; tone <= 5; ++tone)
      css += ".t" + std::to_string(tone) + " { color: " + ToneColour(design, tone) + "; }\n";
  }
  css += ".colophon { font-size: 0.6em; line-height: 1.5; margin-top: 3em; }\n";
  css += ".colophon p { min-height: 0; margin: 0 0 0.5em; white-space: normal; }\n";
  return css;
}

std::string ToneClass(const RubyCharacter& unit, const PageDesign& design) {
  if (design.toneScheme == ToneColourScheme::Off) return {};
  if (!OneCharacter(unit.text) || !OneSyllable(unit.reading)) return {};
  return "t" + std::to_string(ToneOfSyllable(unit.reading));
}

void AppendRubyUnits(const RubyLine& units, const PageDesign& design, std::string& out) {
  for (const RubyCharacter& unit : units) {
    if (unit.reading.empty()) {
      AppendXmlText(unit.text, out);
      continue;
    }
    out += "<ruby>";
    AppendXmlText(unit.text, out);
    const std::string toneClass = ToneClass(unit, design);
    out += toneClass.empty() ? "<rp>(</rp><rt>" : "<rp>(</rp><rt class=\"" + toneClass + "\">";
    AppendXmlText(unit.reading, out);
    out += "</rt><rp>)</rp></ruby>";
  }
}

std::string ColophonMarkup() {
  std::string out = "<section class=\"colophon\">\n<p>Pinyin by Tolvane, with data from:</p>\n";
  for (const DataCredit& credit : DataCredits()) {
    out += "<p><a href=\"";
    AppendXmlText(credit.url, out);
    out += "\">";
    AppendXmlText(credit.name, out);
    out += "</a>, ";
    AppendXmlText(credit.holder, out);
    out += ", ";
    AppendXmlText(credit.licence, out);
    out += ": ";
    AppendXmlText(credit.use, out);
    out += ".</p>\n";
  }
  return out + "</section>\n";
}

HtmlPageLook HtmlPageLookOf(const PageDesign& design) {
  HtmlPageLook look;
  if (design.titleSource == TitleSource::Fixed) look.title = design.titleText;
  look.titleFromFirstLine = design.titleSource == TitleSource::FirstLine;
  // On a screen the page keeps to a readable width; printed, the design's margins hold.
  look.style = DocumentStyleSheet(design) +
               "@media screen { body { max-width: 40em; margin: 2em auto; padding: 0 1em; } }\n";
  look.colophon = ColophonMarkup();
  return look;
}

}  // namespace tolvane
