#include "ui/HandoutExportHtml.h"

#include <QSaveFile>
#include <sstream>

#include "engine/HtmlPage.h"
#include "platform/Error.h"
#include "platform/UnicodeText.h"
#include "ui/QtText.h"

namespace tolvane {
namespace {

std::string Number(double value) {
  std::ostringstream out;
  out << value;
  return out.str();
}

// A CSS font family list: the design's face where it names one, then the usual Chinese faces.
std::string Families(const std::string& chosen, const char* fallbacks) {
  std::string out;
  if (!chosen.empty()) {
    out += '"';
    for (const char c : chosen)
      if (c != '"' && c != '\\' && c != '<' && c != '>') out.push_back(c);
    out += "\", ";
  }
  return out + fallbacks;
}

std::string PaperName(PaperSize paper) {
  switch (paper) {
    case PaperSize::A5:
      return "A5";
    case PaperSize::Letter:
      return "letter";
    case PaperSize::A4:
      break;
  }
  return "A4";
}

std::string Style(const PageDesign& design) {
  const double readingEm = design.readingPercent / 100.0;
  std::string style = "<style>\nbody { font-family: " +
                      Families(design.textFont,
                               "\"Noto Serif CJK SC\", \"Noto Sans CJK SC\", \"Source Han Serif "
                               "SC\", \"Songti SC\", SimSun, serif") +
                      "; font-size: " + Number(design.textSizePt) +
                      "pt; margin: 2em auto; max-width: 48em; padding: 0 1em; "
                      "line-break: strict; }\n";
  style += "p, h1 { margin: 0; line-height: " + Number(design.lineSpacing * (1.35 + readingEm)) +
           "; white-space: pre-wrap; }\n";
  style += "h1 { font-size: 140%; text-align: center; margin-bottom: 0.4em; }\n";
  style += "ruby { ruby-position: over; ruby-align: center; }\n";
  style += "rt { font-family: " +
           Families(design.readingFont,
                    "Andika, \"URW Gothic\", \"Noto Sans\", \"DejaVu Sans\", sans-serif") +
           "; font-size: " + std::to_string(design.readingPercent) +
           "%; line-height: 1.1; padding: 0 " + Number(design.syllableGap) + "em; }\n";
  style += "@page { size: " + PaperName(design.paper) + "; margin: " + Number(design.marginMm) +
           "mm; }\n";
  style += "@media print { body { margin: 0; max-width: none; padding: 0; } }\n</style>\n";
  return style;
}

void AppendUnit(const RubyCharacter& unit, const PageDesign& design, std::string& out) {
  if (unit.reading.empty()) {
    AppendHtmlEscaped(unit.text, out);
    return;
  }
  out += "<ruby>";
  AppendHtmlEscaped(unit.text, out);
  out += "<rt";
  // As in print: a unit of one character has one syllable to colour.
  if (unicode::CharLengthAt(unit.text, 0) == unit.text.size() &&
      unit.reading.find('/') == std::string::npos) {
    const std::string colour = ToneColour(design, ToneOfSyllable(unit.reading));
    if (!colour.empty()) out += " style=\"color: " + colour + "\"";
  }
  out += '>';
  AppendHtmlEscaped(unit.reading, out);
  out += "</rt></ruby>";
}

}  // namespace

std::string HandoutHtml(const Handout& handout, const PageDesign& design) {
  std::string page =
      "<!DOCTYPE html>\n<html lang=\"zh-Hans\">\n<head>\n<meta charset=\"utf-8\">\n"
      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
      "<meta name=\"generator\" content=\"Tolvane\">\n<title>";
  AppendHtmlEscaped(handout.title.empty() ? handout.name : handout.title, page);
  page += "</title>\n" + Style(design) + "</head>\n<body>\n";
  for (const HandoutLine& line : handout.lines) {
    const char* tag = line.heading ? "h1" : "p";
    page += std::string("<") + tag + '>';
    for (const RubyCharacter& unit : line.units) AppendUnit(unit, design, page);
    if (line.units.empty()) page += "<br>";
    page += std::string("</") + tag + ">\n";
  }
  page += "</body>\n</html>\n";
  return page;
}

void WriteHandoutHtml(const Handout& handout, const PageDesign& design,
                      const std::filesystem::path& target) {
  const std::string page = HandoutHtml(handout, design);
  QSaveFile file(QStringFromPath(target));
  if (!file.open(QIODevice::WriteOnly) ||
      file.write(page.data(), static_cast<qint64>(page.size())) !=
          static_cast<qint64>(page.size()) ||
      !file.commit())
    throw Error(file.errorString().toStdString(), target);
}

}  // namespace tolvane
