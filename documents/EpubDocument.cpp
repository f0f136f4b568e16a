#include "documents/EpubDocument.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string_view>
#include <vector>

#include "documents/Credits.h"
#include "documents/DocumentStyle.h"
#include "documents/XmlText.h"
#include "documents/ZipArchive.h"
#include "platform/ContentHash.h"

namespace tolvane {
namespace {

constexpr std::string_view kLanguage = "zh-Hans";
constexpr std::string_view kStyleName = "style.css";
constexpr std::string_view kNavName = "nav.xhtml";
constexpr std::string_view kColophonName = "colophon.xhtml";
constexpr std::string_view kFolder = "EPUB/";

constexpr std::string_view kContainer =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<container version=\"1.0\" xmlns=\"urn:oasis:names:tc:opendocument:xmlns:container\">\n"
    "<rootfiles>\n"
    "<rootfile full-path=\"EPUB/package.opf\" media-type=\"application/oebps-package+xml\"/>\n"
    "</rootfiles>\n</container>\n";

// One content document: its file name, and its markup so far.
struct Part {
  std::string name;
  std::string body;
};

// A heading of the table of contents: where it is, and its text.
struct Heading {
  std::string href;
  std::string text;
};

// The start of an XHTML content document, up to its body.
std::string DocumentHead(std::string_view title, bool nav) {
  std::string out =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE html>\n"
      "<html xmlns=\"http://www.w3.org/1999/xhtml\"";
  if (nav) out += " xmlns:epub=\"http://www.idpf.org/2007/ops\"";
  out += " xml:lang=\"" + std::string(kLanguage) + "\" lang=\"" + std::string(kLanguage) + "\">\n";
  out += "<head>\n<meta charset=\"utf-8\"/>\n<title>";
  AppendXmlText(title, out);
  out += "</title>\n<link rel=\"stylesheet\" type=\"text/css\" href=\"" + std::string(kStyleName) +
         "\"/>\n</head>\n<body>\n";
  return out;
}

constexpr std::string_view kDocumentTail = "</body>\n</html>\n";

std::string PartName(std::size_t index) {
  char name[32];
  std::snprintf(name, sizeof name, "text-%04zu.xhtml", index + 1);
  return name;
}

// The handout's lines cut into content documents, and its headings.
void LayOutParts(const Handout& handout, const PageDesign& design, std::vector<Part>& parts,
                 std::vector<Heading>& headings) {
  const auto startPart = [&] { parts.push_back({PartName(parts.size()), {}}); };
  startPart();
  bool partHasText = false;
  for (std::size_t i = 0; i < handout.lines.size(); ++i) {
    const HandoutLine& line = handout.lines[i];
    if (partHasText && (line.heading || parts.back().body.size() >= kEpubPartBytes)) startPart();
    partHasText = true;
    std::string& body = parts.back().body;
    if (line.heading) {
      const std::string id = "h" + std::to_string(headings.size() + 1);
      headings.push_back({parts.back().name + "#" + id, TextOfUnits(line.units)});
      const std::string_view tag = i == 0 ? "h1" : "h2";
      body += "<" + std::string(tag) + " id=\"" + id + "\">";
      AppendRubyUnits(line.units, design, body);
      body += "</" + std::string(tag) + ">\n";
    } else {
      body += "<p>";
      AppendRubyUnits(line.units, design, body);
      body += "</p>\n";
    }
  }
}

std::string NavDocument(std::string_view title, const std::vector<Heading>& headings,
                        const std::string& firstPart) {
  std::string out = DocumentHead(title, true);
  out += "<nav epub:type=\"toc\" id=\"toc\">\n<h1>目录</h1>\n<ol>\n";
  const auto entry = [&](std::string_view href, std::string_view text) {
    out += "<li><a href=\"";
    AppendXmlText(href, out);
    out += "\">";
    AppendXmlText(text, out);
    out += "</a></li>\n";
  };
  if (headings.empty()) entry(firstPart, title);
  for (const Heading& heading : headings)
    entry(heading.href, heading.text.empty() ? std::string_view(title) : heading.text);
  entry(kColophonName, "Credits");
  out += "</ol>\n</nav>\n";
  out += kDocumentTail;
  return out;
}

// The book's modification time, as the package document writes it (UTC).
std::string ModifiedTime() {
  std::time_t when = std::time(nullptr);
  if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH"); epoch != nullptr && *epoch != '\0') {
    char* end = nullptr;
    const long long seconds = std::strtoll(epoch, &end, 10);
    if (end != nullptr && *end == '\0' && seconds >= 0) when = static_cast<std::time_t>(seconds);
  }
  std::tm utc{};
  gmtime_r(&when, &utc);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
  return text;
}

std::string PackageDocument(const Handout& handout, const PageDesign& design,
                            std::string_view title, const std::vector<Part>& parts) {
  std::string out =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<package xmlns=\"http://www.idpf.org/2007/opf\" version=\"3.0\" "
      "unique-identifier=\"book-id\" xml:lang=\"" +
      std::string(kLanguage) +
      "\">\n<metadata xmlns:dc=\"http://purl.org/dc/elements/1.1/\">\n"
      "<dc:identifier id=\"book-id\">" +
      EpubIdentifier(handout, design) + "</dc:identifier>\n<dc:title>";
  AppendXmlText(title, out);
  out += "</dc:title>\n<dc:language>" + std::string(kLanguage) + "</dc:language>\n";
  // Tolvane made the book (MARC relator bkp: book producer), not the text.
  out +=
      "<dc:contributor id=\"producer\">Tolvane</dc:contributor>\n"
      "<meta refines=\"#producer\" property=\"role\" scheme=\"marc:relators\">bkp</meta>\n"
      "<dc:description>";
  AppendXmlText(CreditsText(), out);
  out += "</dc:description>\n<meta property=\"dcterms:modified\">" + ModifiedTime() +
         "</meta>\n</metadata>\n<manifest>\n";
  out += "<item id=\"nav\" href=\"" + std::string(kNavName) +
         "\" media-type=\"application/xhtml+xml\" properties=\"nav\"/>\n";
  out += "<item id=\"style\" href=\"" + std::string(kStyleName) + "\" media-type=\"text/css\"/>\n";
  for (std::size_t i = 0; i < parts.size(); ++i)
    out += "<item id=\"text-" + std::to_string(i + 1) + "\" href=\"" + parts[i].name +
           "\" media-type=\"application/xhtml+xml\"/>\n";
  out += "<item id=\"colophon\" href=\"" + std::string(kColophonName) +
         "\" media-type=\"application/xhtml+xml\"/>\n</manifest>\n<spine>\n";
  for (std::size_t i = 0; i < parts.size(); ++i)
    out += "<itemref idref=\"text-" + std::to_string(i + 1) + "\"/>\n";
  out += "<itemref idref=\"colophon\" linear=\"yes\"/>\n</spine>\n</package>\n";
  return out;
}

}  // namespace

std::string EpubIdentifier(const Handout& handout, const PageDesign& design) {
  // Two hashes of everything the book shows, with different seeds: 128 bits.
  std::uint64_t a = HashBytes(PageDesignText(design), 0x746f6c76616e6531ULL);
  const auto feed = [&](std::string_view bytes) {
    a = HashBytes(bytes, a);
    a = HashBytes(std::string_view("\x1f", 1), a);  // so that "ab","c" is not "a","bc"
  };
  feed(handout.title);
  feed(handout.name);
  for (const HandoutLine& line : handout.lines) {
    feed(line.heading ? "h" : "p");
    for (const RubyCharacter& unit : line.units) {
      feed(unit.text);
      feed(unit.reading);
    }
  }
  const std::uint64_t b = HashBytes(std::string_view(reinterpret_cast<const char*>(&a), sizeof a),
                                    0x65707562626f6f6bULL);
  // Version 8 (made by the program's own rule) and the RFC 4122 variant.
  const std::uint64_t high = (a & ~0xF000ULL) | 0x8000ULL;
  const std::uint64_t low = (b & ~(0xC000000000000000ULL)) | 0x8000000000000000ULL;
  char text[64];
  std::snprintf(text, sizeof text, "urn:uuid:%08llx-%04llx-%04llx-%04llx-%012llx",
                static_cast<unsigned long long>(high >> 32),
                static_cast<unsigned long long>((high >> 16) & 0xFFFF),
                static_cast<unsigned long long>(high & 0xFFFF),
                static_cast<unsigned long long>(low >> 48),
                static_cast<unsigned long long>(low & 0xFFFFFFFFFFFFULL));
  return text;
}

void WriteEpub(const Handout& handout, const PageDesign& design,
               const std::filesystem::path& target) {
  const std::string title = DocumentTitle(handout);
  std::vector<Part> parts;
  std::vector<Heading> headings;
  LayOutParts(handout, design, parts, headings);

  ZipWriter zip(target);
  zip.Add("mimetype", "application/epub+zip", true);
  zip.Add("META-INF/container.xml", std::string(kContainer));
  zip.Add(std::string(kFolder) + "package.opf", PackageDocument(handout, design, title, parts));
  zip.Add(std::string(kFolder) + std::string(kNavName),
          NavDocument(title, headings, parts.front().name));
  zip.Add(std::string(kFolder) + std::string(kStyleName), DocumentStyleSheet(design));
  for (Part& part : parts) {
    std::string document = DocumentHead(title, false);
    document += part.body;
    part.body = std::string();
    document += kDocumentTail;
    zip.Add(std::string(kFolder) + part.name, std::move(document));
  }
  zip.Add(std::string(kFolder) + std::string(kColophonName),
          DocumentHead(title, false) + ColophonMarkup() + std::string(kDocumentTail));
  zip.Close();
}

}  // namespace tolvane
