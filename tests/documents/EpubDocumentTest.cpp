// EPUB books read back entry by entry: the container, the package, the table of contents and the
// ruby of every annotated unit across the content documents.
#include "documents/EpubDocument.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>
#include <utility>
#include <vector>

#include "documents/Credits.h"
#include "documents/ZipArchive.h"
#include "support/LayoutSupport.h"
#include "support/ShippedDataFixture.h"

namespace tolvane {
namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;

bool Has(const std::string& text, std::string_view part) {
  return text.find(part) != std::string::npos;
}

// Every match of `pattern`'s first group in `text`.
std::vector<std::string> Matches(const std::string& text, const std::string& pattern) {
  std::vector<std::string> out;
  const std::regex re(pattern);
  for (auto it = std::sregex_iterator(text.begin(), text.end(), re); it != std::sregex_iterator();
       ++it)
    out.push_back((*it)[1]);
  return out;
}

class EpubDocumentTest : public test::ShippedDataFixture {
 protected:
  std::filesystem::path Write(const Handout& handout, const PageDesign& design = {}) {
    const auto path = folder_ / "book.epub";
    WriteEpub(handout, design, path);
    return path;
  }
  // The content documents in reading order, as the package's spine lists them.
  static std::vector<std::string> SpineDocuments(const std::filesystem::path& book) {
    const std::string package = ReadZipEntry(book, "EPUB/package.opf");
    std::vector<std::string> documents;
    for (const std::string& id : Matches(package, "<itemref idref=\"([^\"]+)\"")) {
      const auto hrefs = Matches(package, "<item id=\"" + id + "\" href=\"([^\"]+)\"");
      EXPECT_EQ(hrefs.size(), 1u) << id;
      if (!hrefs.empty()) documents.push_back(ReadZipEntry(book, "EPUB/" + hrefs[0]));
    }
    return documents;
  }
  // Base and reading of every ruby of the book's text, in reading order.
  static Pairs RubyOf(const std::filesystem::path& book) {
    Pairs out;
    const std::regex ruby("<ruby>([^<]*)<rp>\\(</rp><rt[^>]*>([^<]*)</rt><rp>\\)</rp></ruby>");
    for (const std::string& document : SpineDocuments(book))
      for (auto it = std::sregex_iterator(document.begin(), document.end(), ruby);
           it != std::sregex_iterator(); ++it)
        out.emplace_back((*it)[1], (*it)[2]);
    return out;
  }
  static Pairs Annotated(const Handout& handout) {
    Pairs out;
    for (const HandoutLine& line : handout.lines)
      for (const RubyCharacter& unit : line.units)
        if (!unit.reading.empty()) out.emplace_back(unit.text, unit.reading);
    return out;
  }
  Handout Of(std::string_view text, const PageDesign& design) {
    return HandoutOfText(reader(), text, test::ByContext(OutputFormat::html, ToneStyle::Marked),
                         design);
  }
};

TEST_F(EpubDocumentTest, MimetypeComesFirstStoredAndTheContainerNamesThePackage) {
  const auto book = Write(Of("我们去学校", PageDesign()));
  const std::vector<std::string> names = ZipEntryNames(book);
  ASSERT_FALSE(names.empty());
  EXPECT_EQ(names[0], "mimetype");
  // Stored: the local header's method is 0 and the bytes follow the name uncompressed, as
  // readers look for them at offset 38.
  const std::string bytes = test::ReadBytes(book);
  ASSERT_GT(bytes.size(), 58u);
  EXPECT_EQ(bytes.substr(0, 4), "PK\x03\x04");
  EXPECT_EQ(bytes[8], '\0');
  EXPECT_EQ(bytes[9], '\0');
  EXPECT_EQ(bytes.substr(30, 28), "mimetypeapplication/epub+zip");
  EXPECT_TRUE(Has(ReadZipEntry(book, "META-INF/container.xml"), "full-path=\"EPUB/package.opf\""));
  // Everything the package lists is in the archive.
  const std::string package = ReadZipEntry(book, "EPUB/package.opf");
  for (const std::string& href : Matches(package, "href=\"([^\"]+)\""))
    EXPECT_NO_THROW(ReadZipEntry(book, "EPUB/" + href)) << href;
}

TEST_F(EpubDocumentTest, EveryAnnotatedUnitIsOneRubyInOrderAcrossTheContentDocuments) {
  // Enough text for several content documents.
  std::string text = "第一课\n";
  for (int i = 0; i < 1500; ++i) text += "他去银行取钱，长城很长。重庆的天气很热，我们一起走。\n";
  const Handout handout = Of(text, PageDesign());
  ASSERT_TRUE(handout.lines.front().heading);
  const auto book = Write(handout);
  EXPECT_GE(SpineDocuments(book).size(), 4u);  // three parts of text, and the colophon
  EXPECT_EQ(RubyOf(book), Annotated(handout));
  for (const std::string& document : SpineDocuments(book))
    EXPECT_LE(document.size(), kEpubPartBytes + 4096);
}

TEST_F(EpubDocumentTest, SelectiveAnnotationLeavesExactlyTheChosenUnitsInRuby) {
  PageDesign design;
  design.titleSource = TitleSource::None;
  design.scope = AnnotationScope::First;
  const Handout handout = Of("人人有人\n有书人", design);
  const auto book = Write(handout, design);
  EXPECT_EQ(RubyOf(book), (Pairs{{"人", "rén"}, {"有", "yǒu"}, {"书", "shū"}}));
  const std::vector<std::string> documents = SpineDocuments(book);
  ASSERT_FALSE(documents.empty());
  // The characters left bare are text.
  EXPECT_TRUE(Has(documents[0], "</ruby>人<ruby>有")) << documents[0];
}

TEST_F(EpubDocumentTest, TheTableOfContentsListsEachHeading) {
  const RubyLine first{{"一", "yī"}, {"<&>", ""}};
  const RubyLine second{{"二", "èr"}};
  Handout handout{"一", "lesson", {{first, true}, {{{"文", "wén"}}, false}, {second, true}}};
  const auto book = Write(handout);
  const std::string nav = ReadZipEntry(book, "EPUB/nav.xhtml");
  EXPECT_TRUE(Has(nav, "epub:type=\"toc\"")) << nav;
  const std::vector<std::string> labels = Matches(nav, "<li><a href=\"[^\"]+\">([^<]*)</a>");
  EXPECT_EQ(labels, (std::vector<std::string>{"一&lt;&amp;&gt;", "二", "Credits"}));
  // Each entry points at its heading: the document and the id in it.
  const std::vector<std::string> targets = Matches(nav, "<li><a href=\"([^\"]+)\"");
  ASSERT_EQ(targets.size(), 3u);
  for (std::size_t i = 0; i < 2; ++i) {
    const std::size_t hash = targets[i].find('#');
    ASSERT_NE(hash, std::string::npos) << targets[i];
    const std::string document = ReadZipEntry(book, "EPUB/" + targets[i].substr(0, hash));
    EXPECT_TRUE(Has(document, "id=\"" + targets[i].substr(hash + 1) + "\"")) << document;
  }
  // A heading starts a content document of its own.
  EXPECT_NE(targets[0].substr(0, targets[0].find('#')), targets[1].substr(0, targets[1].find('#')));

  // Without a heading, one entry for the text.
  const auto plain = Write(Handout{"", "lesson", {{second, false}}});
  const std::string plainNav = ReadZipEntry(plain, "EPUB/nav.xhtml");
  EXPECT_EQ(Matches(plainNav, "<li><a href=\"[^\"]+\">([^<]*)</a>"),
            (std::vector<std::string>{"lesson", "Credits"}));
}

TEST_F(EpubDocumentTest, ToneColourClassesAndTheSheetFollowTheDesign) {
  const Handout handout{"", "t", {{{{"我", "wǒ"}, {"是", "shì"}}, false}}};
  PageDesign design;
  design.paper = PaperSize::A5;
  design.marginMm = 15;
  auto book = Write(handout, design);
  std::string text = SpineDocuments(book).front();
  EXPECT_FALSE(Has(text, "class=\"t")) << text;
  const std::string css = ReadZipEntry(book, "EPUB/style.css");
  EXPECT_TRUE(Has(css, "size: 148mm 210mm;")) << css;
  EXPECT_TRUE(Has(css, "margin: 15mm;")) << css;
  EXPECT_TRUE(Has(text, "href=\"style.css\"")) << text;
  design.toneScheme = ToneColourScheme::Dictionary;
  book = Write(handout, design);
  text = SpineDocuments(book).front();
  EXPECT_TRUE(Has(text, "<rt class=\"t3\">wǒ</rt>")) << text;
  EXPECT_TRUE(Has(text, "<rt class=\"t4\">shì</rt>")) << text;
  EXPECT_TRUE(Has(ReadZipEntry(book, "EPUB/style.css"), ".t3 { color: ")) << css;
}

TEST_F(EpubDocumentTest, MetadataCreditsTheDataAndNamesTheBook) {
  const Handout handout{"课 <一> & \"二\"", "lesson", {{{{"课", "kè"}}, true}}};
  ASSERT_EQ(setenv("SOURCE_DATE_EPOCH", "1700000000", 1), 0);
  const auto book = Write(handout);
  unsetenv("SOURCE_DATE_EPOCH");
  const std::string package = ReadZipEntry(book, "EPUB/package.opf");
  EXPECT_TRUE(Has(package, "<dc:title>课 &lt;一&gt; &amp; &quot;二&quot;</dc:title>")) << package;
  EXPECT_TRUE(Has(package, "<dc:language>zh-Hans</dc:language>")) << package;
  EXPECT_TRUE(Has(package, "<meta property=\"dcterms:modified\">2023-11-14T22:13:20Z</meta>"))
      << package;
  EXPECT_TRUE(Has(package, ">Tolvane</dc:contributor>")) << package;
  for (const DataCredit& credit : DataCredits()) {
    EXPECT_TRUE(Has(package, credit.name)) << credit.name;
    EXPECT_TRUE(Has(ReadZipEntry(book, "EPUB/colophon.xhtml"), credit.name)) << credit.name;
  }
  // The identifier follows the content: the same book, the same; another, another.
  const std::string id = EpubIdentifier(handout, PageDesign());
  EXPECT_TRUE(std::regex_match(
      id,
      std::regex("urn:uuid:[0-9a-f]{8}-[0-9a-f]{4}-8[0-9a-f]{3}-[89ab][0-9a-f]{3}-[0-9a-f]{12}")))
      << id;
  EXPECT_TRUE(Has(package, ">" + id + "</dc:identifier>")) << package;
  EXPECT_EQ(EpubIdentifier(handout, PageDesign()), id);
  Handout other = handout;
  other.lines[0].units[0].reading = "ke4";
  EXPECT_NE(EpubIdentifier(other, PageDesign()), id);
  PageDesign design;
  design.toneScheme = ToneColourScheme::Classic;
  EXPECT_NE(EpubIdentifier(handout, design), id);
}

TEST_F(EpubDocumentTest, XmlHostileTextStaysEscaped) {
  const Handout handout{"", "a<b>&c", {{{{"<b>&\x01\x7f", ""}, {"字", "z&ì"}}, false}}};
  const auto book = Write(handout);
  const std::string text = SpineDocuments(book).front();
  EXPECT_TRUE(Has(text, "<title>a&lt;b&gt;&amp;c</title>")) << text;
  EXPECT_TRUE(Has(text, "<p>&lt;b&gt;&amp;\x7f<ruby>字<rp>(</rp><rt>z&amp;ì</rt>")) << text;
  EXPECT_FALSE(Has(text, "\x01"));
}

}  // namespace
}  // namespace tolvane
