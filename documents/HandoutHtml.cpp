#include "documents/HandoutHtml.h"

#include "documents/DocumentStyle.h"
#include "documents/XmlText.h"
#include "engine/TargetReplacement.h"

namespace tolvane {

std::string HandoutHtml(const Handout& handout, const PageDesign& design) {
  std::string page =
      "<!DOCTYPE html>\n<html lang=\"zh-Hans\">\n<head>\n<meta charset=\"utf-8\">\n"
      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
      "<meta name=\"generator\" content=\"Tolvane\">\n<title>";
  AppendXmlText(DocumentTitle(handout), page);
  page += "</title>\n<style>\n" + DocumentStyleSheet(design) + "</style>\n</head>\n<body>\n";
  for (const HandoutLine& line : handout.lines) {
    const char* tag = line.heading ? "h1" : "p";
    page += std::string("<") + tag + '>';
    AppendRubyUnits(line.units, design, page);
    if (line.units.empty()) page += "<br>";
    page += std::string("</") + tag + ">\n";
  }
  page += ColophonMarkup() + "</body>\n</html>\n";
  return page;
}

void WriteHandoutHtml(const Handout& handout, const PageDesign& design,
                      const std::filesystem::path& target) {
  TargetReplacement replacement;
  replacement.Open(target);
  replacement.Write(HandoutHtml(handout, design));
  replacement.Commit();
}

}  // namespace tolvane
