#include "documents/OdtDocument.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "documents/Credits.h"
#include "documents/DocumentTypography.h"
#include "documents/XmlText.h"
#include "documents/ZipArchive.h"

namespace tolvane {
namespace {

constexpr std::string_view kXmlDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
constexpr std::string_view kOfficeNamespaces =
    " xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\""
    " xmlns:style=\"urn:oasis:names:tc:opendocument:xmlns:style:1.0\""
    " xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\""
    " xmlns:fo=\"urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0\""
    " xmlns:svg=\"urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0\""
    " office:version=\"1.3\"";
constexpr std::string_view kMediaType = "application/vnd.oasis.opendocument.text";

// Text styles of the readings, named ones since LibreOffice sets a ruby's text only in a named
// character style (which the teacher can then change for all readings at once): R0 uncoloured, R1
// to R5 the tones; H0 to H5 the same over a heading's characters.
std::string ReadingStyleName(bool heading, int tone) {
  return std::string(heading ? "H" : "R") + std::to_string(tone);
}

std::string Attribute(std::string_view name, std::string_view value) {
  std::string out;
  out.append(" ").append(name).append("=\"");
  AppendXmlText(value, out);
  out.append("\"");
  return out;
}

// Face and size for the Western, Asian and complex scripts alike.
std::string TextProperties(std::string_view fontName, double pt, std::string_view extra = {}) {
  std::string out = "<style:text-properties";
  if (!fontName.empty())
    out += Attribute("style:font-name", fontName) + Attribute("style:font-name-asian", fontName) +
           Attribute("style:font-name-complex", fontName);
  const std::string size = DecimalText(pt) + "pt";
  out += Attribute("fo:font-size", size) + Attribute("style:font-size-asian", size) +
         Attribute("style:font-size-complex", size);
  out.append(extra).append("/>");
  return out;
}

std::string ReadingStyle(const PageDesign& design, double basePt, bool heading, int tone) {
  const std::string colour = tone == 0 ? std::string() : ToneColour(design, tone);
  std::string shown = heading ? "Heading reading" : "Reading";
  if (tone != 0) shown += " tone " + std::to_string(tone);
  return "<style:style" + Attribute("style:name", ReadingStyleName(heading, tone)) +
         Attribute("style:display-name", shown) + " style:family=\"text\">" +
         TextProperties("Reading", ReadingPt(design, basePt),
                        colour.empty() ? std::string() : Attribute("fo:color", colour)) +
         "</style:style>";
}

// Text in a paragraph: spaces after the first of a run, and at the paragraph's start, as
// <text:s/> (the format collapses them otherwise); tabs as <text:tab/>.
void AppendParagraphText(std::string_view text, bool& afterSpace, std::string& out) {
  std::size_t plain = 0;
  for (std::size_t pos = 0; pos < text.size(); ++pos) {
    const char c = text[pos];
    if (c != ' ' && c != '\t') {
      afterSpace = false;
      continue;
    }
    AppendXmlText(text.substr(plain, pos - plain), out);
    plain = pos + 1;
    if (c == '\t') {
      out.append("<text:tab/>");
    } else {
      out.append(afterSpace ? "<text:s/>" : " ");
    }
    afterSpace = true;
  }
  AppendXmlText(text.substr(plain), out);
}

void AppendRuby(const RubyCharacter& unit, bool heading, const std::string& padding,
                bool& afterSpace, std::string& out) {
  out.append("<text:ruby text:style-name=\"Ruby\"><text:ruby-base>");
  AppendParagraphText(unit.text, afterSpace, out);
  // A ruby's text takes one style, so a written word is coloured only when all its syllables
  // share a tone.
  int tone = 0;
  for (const std::string_view syllable : ColouredSyllables(unit)) {
    const int each = ToneOfSyllable(syllable);
    tone = tone == 0 || tone == each ? each : -1;
  }
  if (tone < 0) tone = 0;
  out.append("</text:ruby-base><text:ruby-text text:style-name=\"")
      .append(ReadingStyleName(heading, tone))
      .append("\">");
  bool readingAfterSpace = false;
  out.append(padding);
  AppendParagraphText(unit.reading, readingAfterSpace, out);
  out.append(padding);
  out.append("</text:ruby-text></text:ruby>");
}

void AppendParagraph(const HandoutLine& line, const std::string& padding, std::string& out) {
  out.append(line.heading ? "<text:p text:style-name=\"Title\">"
                          : "<text:p text:style-name=\"Standard\">");
  bool afterSpace = true;  // a paragraph's leading space is kept only as <text:s/>
  for (const RubyCharacter& unit : line.units) {
    if (unit.reading.empty()) {
      AppendParagraphText(unit.text, afterSpace, out);
    } else {
      AppendRuby(unit, line.heading, padding, afterSpace, out);
    }
  }
  out.append("</text:p>");
}

std::string ContentXml(const Handout& handout, const PageDesign& design) {
  const std::string padding = ReadingPadding(design);
  std::size_t units = 0;
  for (const HandoutLine& line : handout.lines) units += line.units.size();
  std::string out;
  out.reserve(128 * units + 4096);
  out.append(kXmlDeclaration)
      .append("<office:document-content")
      .append(kOfficeNamespaces)
      // LibreOffice takes a ruby's position and alignment only from an automatic style.
      .append(
          "><office:automatic-styles><style:style style:name=\"Ruby\" style:family=\"ruby\">"
          "<style:ruby-properties style:ruby-align=\"center\" style:ruby-position=\"above\"/>"
          "</style:style></office:automatic-styles><office:body><office:text>");
  for (const HandoutLine& line : handout.lines) AppendParagraph(line, padding, out);
  out.append("</office:text></office:body></office:document-content>");
  return out;
}

std::string FontFace(std::string_view name, std::string_view family) {
  std::string quoted = "'" + std::string(family) + "'";
  return "<style:font-face" + Attribute("style:name", name) + Attribute("svg:font-family", quoted) +
         "/>";
}

std::string StylesXml(const PageDesign& design, const DocumentTypography& type) {
  const PaperMm paper = PaperSizeMm(design.paper);
  const std::string margin = DecimalText(design.marginMm) + "mm";
  std::string out(kXmlDeclaration);
  out.append("<office:document-styles").append(kOfficeNamespaces).append(">");
  out.append("<office:font-face-decls>" + FontFace("Text", type.textFont) +
             FontFace("Reading", type.readingFont) + "</office:font-face-decls>");
  out.append("<office:styles><style:default-style style:family=\"paragraph\">");
  out.append("<style:paragraph-properties" +
             Attribute("fo:line-height", DecimalText(design.lineSpacing * 100) + "%") + "/>");
  out.append(TextProperties("Text", type.textPt,
                            " fo:language=\"zh\" fo:country=\"CN\" style:language-asian=\"zh\""
                            " style:country-asian=\"CN\""));
  out.append("</style:default-style>");
  out.append(
      "<style:style style:name=\"Standard\" style:family=\"paragraph\" style:class=\"text\"/>");
  out.append(
      "<style:style style:name=\"Title\" style:family=\"paragraph\""
      " style:parent-style-name=\"Standard\" style:next-style-name=\"Standard\""
      " style:class=\"chapter\"><style:paragraph-properties fo:text-align=\"center\""
      " fo:margin-bottom=\"4.2mm\"/>" +
      TextProperties({}, type.headingPt) + "</style:style>");
  out.append(
      "<style:style style:name=\"Footer\" style:family=\"paragraph\""
      " style:parent-style-name=\"Standard\" style:class=\"extra\">"
      "<style:paragraph-properties fo:text-align=\"center\"/>" +
      TextProperties({}, std::max(8.0, type.textPt * 0.625)) + "</style:style>");
  for (int tone = 0; tone <= 5; ++tone) {
    out.append(ReadingStyle(design, type.textPt, false, tone));
    out.append(ReadingStyle(design, type.headingPt, true, tone));
  }
  out.append("</office:styles><office:automatic-styles>");
  out.append("<style:page-layout style:name=\"Page\"><style:page-layout-properties" +
             Attribute("fo:page-width", DecimalText(paper.width) + "mm") +
             Attribute("fo:page-height", DecimalText(paper.height) + "mm") +
             " style:print-orientation=\"portrait\"" + Attribute("fo:margin-top", margin) +
             Attribute("fo:margin-bottom", margin) + Attribute("fo:margin-left", margin) +
             Attribute("fo:margin-right", margin) + "/>");
  if (design.pageNumbers)
    out.append("<style:footer-style><style:header-footer-properties fo:min-height=\"0mm\"" +
               Attribute("fo:margin-top", DecimalText(design.marginMm / 4) + "mm") +
               "/></style:footer-style>");
  out.append("</style:page-layout></office:automatic-styles><office:master-styles>");
  out.append("<style:master-page style:name=\"Standard\" style:page-layout-name=\"Page\">");
  if (design.pageNumbers)
    out.append(
        "<style:footer><text:p text:style-name=\"Footer\"><text:page-number"
        " text:select-page=\"current\">1</text:page-number></text:p></style:footer>");
  out.append("</style:master-page></office:master-styles></office:document-styles>");
  return out;
}

std::string MetaXml(const Handout& handout) {
  std::string out(kXmlDeclaration);
  out.append(
      "<office:document-meta xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\""
      " xmlns:meta=\"urn:oasis:names:tc:opendocument:xmlns:meta:1.0\""
      " xmlns:dc=\"http://purl.org/dc/elements/1.1/\" office:version=\"1.3\"><office:meta>"
      "<meta:generator>Tolvane</meta:generator><dc:title>");
  AppendXmlText(DocumentTitle(handout), out);
  out.append("</dc:title><dc:description>");
  AppendXmlText(CreditsText(), out);
  out.append(
      "</dc:description><meta:initial-creator>Tolvane</meta:initial-creator>"
      "<dc:creator>Tolvane</dc:creator><dc:language>zh-CN</dc:language>"
      "</office:meta></office:document-meta>");
  return out;
}

std::string ManifestXml() {
  std::string out(kXmlDeclaration);
  out.append(
      "<manifest:manifest xmlns:manifest=\"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0\""
      " manifest:version=\"1.3\">"
      "<manifest:file-entry manifest:full-path=\"/\" manifest:version=\"1.3\"" +
      Attribute("manifest:media-type", kMediaType) + "/>");
  for (const char* part : {"content.xml", "styles.xml", "meta.xml"})
    out.append("<manifest:file-entry" + Attribute("manifest:full-path", part) +
               " manifest:media-type=\"text/xml\"/>");
  out.append("</manifest:manifest>");
  return out;
}

}  // namespace

void WriteOdt(const Handout& handout, const PageDesign& design,
              const std::filesystem::path& target) {
  const DocumentTypography type = TypographyOf(design);
  ZipWriter zip(target);
  // Readers know the format by this entry, stored, at the archive's very start.
  zip.Add("mimetype", std::string(kMediaType), true);
  zip.Add("META-INF/manifest.xml", ManifestXml());
  zip.Add("content.xml", ContentXml(handout, design));
  zip.Add("styles.xml", StylesXml(design, type));
  zip.Add("meta.xml", MetaXml(handout));
  zip.Close();
}

}  // namespace tolvane
