#include "documents/DocxDocument.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "documents/Credits.h"
#include "documents/DocumentTypography.h"
#include "documents/XmlText.h"
#include "documents/ZipArchive.h"

namespace tolvane {
namespace {

constexpr std::string_view kXmlDeclaration =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
constexpr std::string_view kWordNamespaces =
    " xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\""
    " xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"";

int Twips(double mm) { return static_cast<int>(std::lround(mm * 1440 / 25.4)); }
int HalfPoints(double pt) { return std::max(1, static_cast<int>(std::lround(pt * 2))); }

std::string Attribute(std::string_view name, std::string_view value) {
  std::string out;
  out.append(" ").append(name).append("=\"");
  AppendXmlText(value, out);
  out.append("\"");
  return out;
}

std::string Val(std::string_view element, std::string_view value) {
  return "<" + std::string(element) + Attribute("w:val", value) + "/>";
}

std::string Val(std::string_view element, int value) { return Val(element, std::to_string(value)); }

std::string FontsElement(const std::string& family) {
  return "<w:rFonts" + Attribute("w:ascii", family) + Attribute("w:hAnsi", family) +
         Attribute("w:eastAsia", family) + Attribute("w:cs", family) + "/>";
}

std::string SizeElements(double pt) {
  return Val("w:sz", HalfPoints(pt)) + Val("w:szCs", HalfPoints(pt));
}

// The ruby's properties and the start of a reading run's properties for characters of one size:
// the same for every unit of a paragraph, so written once per size.
struct RubyParts {
  std::string rubyPr;        // <w:rubyPr>…</w:rubyPr>
  std::string readingStart;  // <w:r><w:rPr><w:rFonts/>, before the colour
  std::string readingSize;   // <w:sz/></w:rPr>
  std::string padding;       // on each side of a reading
};

RubyParts RubyPartsFor(const PageDesign& design, const std::string& readingFont, double basePt) {
  const double readingPt = ReadingPt(design, basePt);
  RubyParts parts;
  // The reading's baseline a little more than the characters' size above theirs: clear of the
  // characters, with room for the descenders of g, p and y.
  const int raise = HalfPoints(basePt + readingPt * 0.25);
  parts.rubyPr = "<w:rubyPr>" + Val("w:rubyAlign", "center") + Val("w:hps", HalfPoints(readingPt)) +
                 Val("w:hpsRaise", raise) + Val("w:hpsBaseText", HalfPoints(basePt)) +
                 Val("w:lid", "zh-CN") + "</w:rubyPr>";
  // The face as the run's own property, not a character style: LibreOffice sets a ruby's text in
  // the run's own properties only. Given for East Asian text too, where Word would otherwise set
  // ü and the marked vowels in the characters' face; no face nor size for complex scripts.
  parts.readingStart = "<w:r><w:rPr><w:rFonts" + Attribute("w:ascii", readingFont) +
                       Attribute("w:hAnsi", readingFont) + Attribute("w:eastAsia", readingFont) +
                       "/>";
  parts.readingSize = Val("w:sz", HalfPoints(readingPt)) + "</w:rPr>";
  parts.padding = ReadingPadding(design);
  return parts;
}

// Text of a run as Word's w:t, told to keep the spaces at its ends where it has any (most have
// none, and a long handout holds hundreds of thousands of them).
void AppendTextElement(std::string_view text, std::string& out) {
  const bool spaced = !text.empty() && (text.front() == ' ' || text.back() == ' ');
  out.append(spaced ? "<w:t xml:space=\"preserve\">" : "<w:t>");
  AppendXmlText(text, out);
  out.append("</w:t>");
}

// Text in a run, its tabs as Word's tab.
void AppendRunText(std::string_view text, std::string& out) {
  for (std::size_t tab = text.find('\t'); tab != std::string_view::npos; tab = text.find('\t')) {
    if (tab > 0) AppendTextElement(text.substr(0, tab), out);
    out.append("<w:tab/>");
    text.remove_prefix(tab + 1);
  }
  if (!text.empty()) AppendTextElement(text, out);
}

void AppendRun(std::string_view text, std::string& out) {
  if (text.empty()) return;
  out.append("<w:r>");
  AppendRunText(text, out);
  out.append("</w:r>");
}

void AppendReadingRun(std::string_view reading, int tone, const PageDesign& design,
                      const RubyParts& parts, std::string& out) {
  out.append(parts.readingStart);
  const std::string colour = tone == 0 ? std::string() : ToneColour(design, tone);
  if (!colour.empty()) out.append("<w:color w:val=\"").append(colour.substr(1)).append("\"/>");
  out.append(parts.readingSize);
  AppendRunText(reading, out);
  out.append("</w:r>");
}

void AppendRuby(const RubyCharacter& unit, const PageDesign& design, const RubyParts& parts,
                std::string& out) {
  out.append("<w:r><w:ruby>").append(parts.rubyPr).append("<w:rt>");
  const std::vector<std::string_view> syllables = ColouredSyllables(unit);
  if (syllables.empty()) {
    AppendReadingRun(parts.padding + unit.reading + parts.padding, 0, design, parts, out);
  } else {
    std::string text;
    for (std::size_t i = 0; i < syllables.size(); ++i) {
      text.assign(i == 0 ? parts.padding : std::string()).append(syllables[i]);
      if (i + 1 == syllables.size()) text.append(parts.padding);
      AppendReadingRun(text, ToneOfSyllable(syllables[i]), design, parts, out);
    }
  }
  out.append("</w:rt><w:rubyBase>");
  AppendRun(unit.text, out);
  out.append("</w:rubyBase></w:ruby></w:r>");
}

void AppendParagraph(const HandoutLine& line, const PageDesign& design, const RubyParts& parts,
                     std::string& out) {
  out.append("<w:p>");
  if (line.heading) out.append("<w:pPr>").append(Val("w:pStyle", "Title")).append("</w:pPr>");
  // Neighbouring bare characters make one run, as a word processor would hold typed text.
  std::string bare;
  for (const RubyCharacter& unit : line.units) {
    if (unit.reading.empty()) {
      bare.append(unit.text);
      continue;
    }
    AppendRun(bare, out);
    bare.clear();
    AppendRuby(unit, design, parts, out);
  }
  AppendRun(bare, out);
  out.append("</w:p>");
}

std::string SectionProperties(const PageDesign& design) {
  const PaperMm paper = PaperSizeMm(design.paper);
  const std::string margin = std::to_string(Twips(design.marginMm));
  std::string out = "<w:sectPr>";
  if (design.pageNumbers) out.append("<w:footerReference w:type=\"default\" r:id=\"rIdFooter\"/>");
  out.append("<w:pgSz" + Attribute("w:w", std::to_string(Twips(paper.width))) +
             Attribute("w:h", std::to_string(Twips(paper.height))) + "/>");
  // The footer's page number halfway down the bottom margin.
  out.append("<w:pgMar" + Attribute("w:top", margin) + Attribute("w:right", margin) +
             Attribute("w:bottom", margin) + Attribute("w:left", margin) +
             Attribute("w:header", std::to_string(Twips(design.marginMm / 2))) +
             Attribute("w:footer", std::to_string(Twips(design.marginMm / 2))) +
             Attribute("w:gutter", "0") + "/>");
  out.append("</w:sectPr>");
  return out;
}

std::string DocumentXml(const Handout& handout, const PageDesign& design,
                        const DocumentTypography& type) {
  const RubyParts textParts = RubyPartsFor(design, type.readingFont, type.textPt);
  const RubyParts headingParts = RubyPartsFor(design, type.readingFont, type.headingPt);
  // Room for every unit in a ruby with a coloured reading, so that the text is not copied as it
  // grows.
  std::size_t units = 0;
  std::size_t bytes = 0;
  for (const HandoutLine& line : handout.lines) {
    units += line.units.size();
    for (const RubyCharacter& unit : line.units) bytes += unit.text.size() + unit.reading.size();
  }
  const RubyParts& larger = type.headingPt > type.textPt ? headingParts : textParts;
  const std::size_t perUnit = larger.rubyPr.size() + larger.readingStart.size() +
                              larger.readingSize.size() + 2 * larger.padding.size() + 128;
  std::string out;
  out.reserve(perUnit * units + bytes + 4096);
  out.append(kXmlDeclaration).append("<w:document").append(kWordNamespaces).append("><w:body>");
  for (const HandoutLine& line : handout.lines)
    AppendParagraph(line, design, line.heading ? headingParts : textParts, out);
  out.append(SectionProperties(design)).append("</w:body></w:document>");
  return out;
}

// Word reads properties only in the order its schema gives them (a part out of order makes the
// document "unreadable"), so every element here keeps that order.
std::string StylesXml(const PageDesign& design, const DocumentTypography& type) {
  const std::string language = "<w:lang w:val=\"zh-CN\" w:eastAsia=\"zh-CN\"/>";
  std::string out(kXmlDeclaration);
  out.append("<w:styles").append(kWordNamespaces).append(">");
  out.append("<w:docDefaults><w:rPrDefault><w:rPr>" + FontsElement(type.textFont) +
             SizeElements(type.textPt) + language + "</w:rPr></w:rPrDefault>");
  out.append("<w:pPrDefault><w:pPr><w:spacing w:before=\"0\" w:after=\"0\"" +
             Attribute("w:line", std::to_string(std::lround(240 * design.lineSpacing))) +
             " w:lineRule=\"auto\"/></w:pPr></w:pPrDefault></w:docDefaults>");
  out.append(
      "<w:style w:type=\"paragraph\" w:default=\"1\" w:styleId=\"Normal\">"
      "<w:name w:val=\"Normal\"/><w:qFormat/></w:style>");
  out.append(
      "<w:style w:type=\"paragraph\" w:styleId=\"Title\"><w:name w:val=\"Title\"/>"
      "<w:basedOn w:val=\"Normal\"/><w:next w:val=\"Normal\"/><w:qFormat/>"
      "<w:pPr><w:spacing w:after=\"240\"/><w:jc w:val=\"center\"/><w:outlineLvl w:val=\"0\"/>"
      "</w:pPr><w:rPr>" +
      SizeElements(type.headingPt) + "</w:rPr></w:style>");
  out.append(
      "<w:style w:type=\"paragraph\" w:styleId=\"Footer\"><w:name w:val=\"footer\"/>"
      "<w:basedOn w:val=\"Normal\"/><w:pPr><w:jc w:val=\"center\"/></w:pPr><w:rPr>" +
      SizeElements(std::max(8.0, type.textPt * 0.625)) + "</w:rPr></w:style>");
  out.append("</w:styles>");
  return out;
}

std::string FooterXml() {
  return std::string(kXmlDeclaration) + "<w:ftr" + std::string(kWordNamespaces) +
         "><w:p><w:pPr><w:pStyle w:val=\"Footer\"/></w:pPr>"
         "<w:r><w:fldChar w:fldCharType=\"begin\"/></w:r>"
         "<w:r><w:instrText xml:space=\"preserve\"> PAGE </w:instrText></w:r>"
         "<w:r><w:fldChar w:fldCharType=\"separate\"/></w:r>"
         "<w:r><w:t>1</w:t></w:r>"
         "<w:r><w:fldChar w:fldCharType=\"end\"/></w:r></w:p></w:ftr>";
}

std::string ContentTypesXml(bool footer) {
  std::string out(kXmlDeclaration);
  out.append(
      "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
      "<Default Extension=\"rels\" "
      "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
      "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
      "<Override PartName=\"/word/document.xml\" ContentType=\"application/"
      "vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/>"
      "<Override PartName=\"/word/styles.xml\" ContentType=\"application/"
      "vnd.openxmlformats-officedocument.wordprocessingml.styles+xml\"/>");
  if (footer)
    out.append(
        "<Override PartName=\"/word/footer1.xml\" ContentType=\"application/"
        "vnd.openxmlformats-officedocument.wordprocessingml.footer+xml\"/>");
  out.append(
      "<Override PartName=\"/docProps/core.xml\" "
      "ContentType=\"application/vnd.openxmlformats-package.core-properties+xml\"/>"
      "<Override PartName=\"/docProps/app.xml\" ContentType=\"application/"
      "vnd.openxmlformats-officedocument.extended-properties+xml\"/></Types>");
  return out;
}

std::string PackageRelationshipsXml() {
  return std::string(kXmlDeclaration) +
         "<Relationships "
         "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
         "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
         "relationships/officeDocument\" Target=\"word/document.xml\"/>"
         "<Relationship Id=\"rId2\" Type=\"http://schemas.openxmlformats.org/package/2006/"
         "relationships/metadata/core-properties\" Target=\"docProps/core.xml\"/>"
         "<Relationship Id=\"rId3\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
         "relationships/extended-properties\" Target=\"docProps/app.xml\"/></Relationships>";
}

std::string DocumentRelationshipsXml(bool footer) {
  std::string out(kXmlDeclaration);
  out.append(
      "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
      "<Relationship Id=\"rIdStyles\" Type=\"http://schemas.openxmlformats.org/officeDocument/"
      "2006/relationships/styles\" Target=\"styles.xml\"/>");
  if (footer)
    out.append(
        "<Relationship Id=\"rIdFooter\" Type=\"http://schemas.openxmlformats.org/"
        "officeDocument/2006/relationships/footer\" Target=\"footer1.xml\"/>");
  out.append("</Relationships>");
  return out;
}

std::string CoreXml(const Handout& handout) {
  std::string out(kXmlDeclaration);
  out.append(
      "<cp:coreProperties "
      "xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/metadata/core-properties\" "
      "xmlns:dc=\"http://purl.org/dc/elements/1.1/\">");
  out.append("<dc:title>");
  AppendXmlText(DocumentTitle(handout), out);
  out.append("</dc:title><dc:creator>Tolvane</dc:creator>");
  out.append("<cp:lastModifiedBy>Tolvane</cp:lastModifiedBy><dc:description>");
  AppendXmlText(CreditsText(), out);
  out.append("</dc:description><dc:language>zh-CN</dc:language></cp:coreProperties>");
  return out;
}

std::string AppXml() {
  return std::string(kXmlDeclaration) +
         "<Properties xmlns=\"http://schemas.openxmlformats.org/officeDocument/2006/"
         "extended-properties\"><Application>Tolvane</Application></Properties>";
}

}  // namespace

void WriteDocx(const Handout& handout, const PageDesign& design,
               const std::filesystem::path& target) {
  const DocumentTypography type = TypographyOf(design);
  ZipWriter zip(target);
  zip.Add("[Content_Types].xml", ContentTypesXml(design.pageNumbers));
  zip.Add("_rels/.rels", PackageRelationshipsXml());
  zip.Add("word/document.xml", DocumentXml(handout, design, type));
  zip.Add("word/styles.xml", StylesXml(design, type));
  if (design.pageNumbers) zip.Add("word/footer1.xml", FooterXml());
  zip.Add("word/_rels/document.xml.rels", DocumentRelationshipsXml(design.pageNumbers));
  zip.Add("docProps/core.xml", CoreXml(handout));
  zip.Add("docProps/app.xml", AppXml());
  zip.Close();
}

}  // namespace tolvane
