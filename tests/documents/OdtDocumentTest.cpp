// Handouts written as OpenDocument texts and read back: the native ruby of each annotated unit,
// the page design as styles, metadata, the package's order and failures.
#include <gtest/gtest.h>

#include "documents/Credits.h"
#include "documents/Handout.h"
#include "documents/OdtDocument.h"
#include "documents/XmlText.h"
#include "documents/ZipArchive.h"
#include "platform/Error.h"
#include "support/LayoutSupport.h"
#include "support/ShippedDataFixture.h"
#include "tests/documents/DocumentXmlSupport.h"

namespace tolvane {
namespace {

constexpr const char* kRuby =
    "<text:ruby text:style-name=\"Ruby\"><text:ruby-base>(.*?)</text:ruby-base>"
    "<text:ruby-text text:style-name=\"(\\w+)\">(.*?)</text:ruby-text></text:ruby>";

class OdtDocumentTest : public test::ShippedDataFixture {
 protected:
  Handout Of(std::string_view text, const PageDesign& design, ToneStyle tone = ToneStyle::Marked,
             bool written = false) {
    return HandoutOfText(reader(), text, test::ByContext(OutputFormat::html, tone, written),
                         design);
  }

  std::string Part(std::string_view text, const PageDesign& design,
                   const std::string& part = "content.xml") {
    WriteOdt(Of(text, design), design, target_);
    return ReadZipEntry(target_, part);
  }

  static PageDesign Untitled() {
    PageDesign design;
    design.titleSource = TitleSource::None;
    return design;
  }

  // "base:reading" of every ruby in order.
  static std::vector<std::string> Rubies(const std::string& content) {
    const auto parts = test::Captures(content, kRuby);
    std::vector<std::string> out;
    for (std::size_t i = 0; i + 2 < parts.size(); i += 3)
      out.push_back(test::Unescaped(parts[i]) + ":" +
                    test::WithoutPadding(test::Unescaped(parts[i + 2])));
    return out;
  }

  // The style of every ruby's text in order.
  static std::vector<std::string> ReadingStyles(const std::string& content) {
    const auto parts = test::Captures(content, kRuby);
    std::vector<std::string> out;
    for (std::size_t i = 1; i < parts.size(); i += 3) out.push_back(parts[i]);
    return out;
  }

  // The text outside every ruby, paragraph by paragraph (spaces and tabs as the markup has them).
  static std::vector<std::string> BareText(const std::string& content) {
    const std::string outside =
        std::regex_replace(content, std::regex("<text:ruby .*?</text:ruby>"), "");
    std::vector<std::string> out;
    for (const std::string& paragraph :
         test::Captures(outside, "<text:p text:style-name=\"\\w+\">(.*?)</text:p>"))
      out.push_back(test::Unescaped(paragraph));
    return out;
  }

  // The properties of the named text style in styles.xml.
  std::string StyleProperties(const std::string& name) {
    const auto found = test::Captures(
        ReadZipEntry(target_, "styles.xml"),
        "<style:style style:name=\"" + name +
            "\"[^>]*>(?:<style:paragraph-properties[^>]*/>)?(<style:text-properties[^>]*/>)");
    return found.empty() ? std::string() : found.front();
  }

  test::TempDir dir_;
  std::filesystem::path target_ = dir_ / "讲义.odt";
};

TEST_F(OdtDocumentTest, EveryAnnotatedUnitIsOneRubyAndBareOnesAreText) {
  struct Case {
    const char* text;
    AnnotationScope scope;
    const char* rubies;
    std::vector<std::string> bare;  // per paragraph
  };
  const Case cases[] = {
      {"我家有四口人。\n他去银行，我们行走。",
       AnnotationScope::Every,
       "我:wǒ 家:jiā 有:yǒu 四:sì 口:kǒu 人:rén 他:tā 去:qù 银:yín 行:háng 我:wǒ 们:men 行:xíng "
       "走:zǒu",
       {"。", "，。"}},
      {"饕餮大餐", AnnotationScope::Uncommon, "饕:tāo 餮:tiè", {"大餐"}},
      {"人人有人\n\n有书", AnnotationScope::First, "人:rén 有:yǒu 书:shū", {"人人", "", "有"}},
      // Spaces after the first of a run, and at a paragraph's start, are kept as <text:s/>.
      {" A  B\tC人", AnnotationScope::Every, "人:rén", {"<text:s/>A <text:s/>B<text:tab/>C"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    PageDesign design = Untitled();
    design.scope = c.scope;
    const std::string content = Part(c.text, design);
    EXPECT_EQ(test::Joined(Rubies(content)), c.rubies);
    EXPECT_EQ(BareText(content), c.bare);
  }
}

TEST_F(OdtDocumentTest, TheRubyStandsCentredAboveInAnAutomaticStyle) {
  const std::string content = Part("字", Untitled());
  // Padded so that neighbouring readings never run together.
  EXPECT_EQ(test::Captures(content, "<text:ruby-text[^>]*>(.*?)</text:ruby-text>"),
            std::vector<std::string>{"\u2009zì\u2009"});
  EXPECT_EQ(test::Captures(content,
                           "<office:automatic-styles><style:style style:name=\"Ruby\" "
                           "style:family=\"ruby\"><style:ruby-properties (.*?)/>"),
            std::vector<std::string>{"style:ruby-align=\"center\" style:ruby-position=\"above\""});
}

TEST_F(OdtDocumentTest, ToneColoursAndSizesAreTheReadingsStyles) {
  PageDesign design;  // the first line is the title
  design.textSizePt = 14;
  design.toneScheme = ToneColourScheme::Classic;
  const std::string content = Part("我的\n我的", design);
  // wǒ de over the title, then over the text: the third tone and the light one.
  EXPECT_EQ(ReadingStyles(content), (std::vector<std::string>{"H3", "H5", "R3", "R5"}));
  EXPECT_EQ(test::Captures(content, "<text:p text:style-name=\"(\\w+)\">"),
            (std::vector<std::string>{"Title", "Standard"}));
  EXPECT_NE(StyleProperties("R3").find("fo:font-size=\"7pt\""), std::string::npos);
  EXPECT_NE(StyleProperties("R3").find("fo:color=\"#008a00\""), std::string::npos);
  EXPECT_NE(StyleProperties("H5").find("fo:font-size=\"10.5pt\""), std::string::npos);
  EXPECT_NE(StyleProperties("H5").find("fo:color=\"#707070\""), std::string::npos);
  EXPECT_NE(StyleProperties("R0").find("style:font-name=\"Reading\""), std::string::npos);
  EXPECT_EQ(StyleProperties("R0").find("fo:color"), std::string::npos);
  EXPECT_NE(StyleProperties("Title").find("fo:font-size=\"21pt\""), std::string::npos);

  design.toneScheme = ToneColourScheme::Off;
  Part("我", design);
  EXPECT_EQ(StyleProperties("R3").find("fo:color"), std::string::npos);

  // A written word is coloured when its syllables share a tone and can be told apart.
  design.titleSource = TitleSource::None;
  design.toneScheme = ToneColourScheme::Classic;
  WriteOdt(Of("他去银行", design, ToneStyle::Numbered, true), design, target_);
  const std::string written = ReadZipEntry(target_, "content.xml");
  EXPECT_EQ(test::Joined(Rubies(written)), "他:Ta1 去:qu4 银行:yin2hang2");
  EXPECT_EQ(ReadingStyles(written), (std::vector<std::string>{"R1", "R4", "R2"}));
  WriteOdt(Of("大学", design, ToneStyle::Numbered, true), design, target_);
  EXPECT_EQ(ReadingStyles(ReadZipEntry(target_, "content.xml")), std::vector<std::string>{"R0"});
}

TEST_F(OdtDocumentTest, PageLayoutFontsAndLineSpacingAreTheDesigns) {
  PageDesign design = Untitled();
  design.paper = PaperSize::Letter;
  design.marginMm = 12.5;
  design.lineSpacing = 1.5;
  design.textFont = "楷体";
  const std::string styles = Part("字", design, "styles.xml");
  EXPECT_EQ(test::Captures(styles,
                           "<style:page-layout-properties fo:page-width=\"([\\d.]+mm)\" "
                           "fo:page-height=\"([\\d.]+mm)\""),
            (std::vector<std::string>{"215.9mm", "279.4mm"}));
  const auto page = test::Captures(styles, "(<style:page-layout-properties[^>]*>)");
  ASSERT_EQ(page.size(), 1u);
  EXPECT_EQ(test::Captures(page[0], "fo:margin-(?:top|bottom|left|right)=\"([\\d.]+mm)\""),
            (std::vector<std::string>(4, "12.5mm")));
  EXPECT_EQ(test::Captures(styles, "fo:line-height=\"(\\d+%)\""), std::vector<std::string>{"150%"});
  EXPECT_EQ(
      test::Captures(styles, "<style:font-face style:name=\"(\\w+)\" svg:font-family=\"(.*?)\""),
      (std::vector<std::string>{"Text", "&apos;楷体&apos;", "Reading", "&apos;Noto Sans&apos;"}));
}

TEST_F(OdtDocumentTest, PageNumbersAreAFooterOnTheMasterPage) {
  PageDesign design = Untitled();
  EXPECT_NE(Part("字", design, "styles.xml")
                .find("<style:footer><text:p text:style-name=\"Footer\"><text:page-number"),
            std::string::npos);
  design.pageNumbers = false;
  EXPECT_EQ(Part("字", design, "styles.xml").find("<style:footer"), std::string::npos);
}

TEST_F(OdtDocumentTest, MetadataNamesTheTitleTolvaneAndTheDataCredits) {
  const std::string meta = Part("我的家\n我家有四口人。", PageDesign(), "meta.xml");
  EXPECT_EQ(test::Captures(meta, "<dc:title>(.*?)</dc:title>"), std::vector<std::string>{"我的家"});
  EXPECT_EQ(test::Captures(meta, "<meta:generator>(.*?)</meta:generator>"),
            std::vector<std::string>{"Tolvane"});
  EXPECT_EQ(test::Captures(meta, "<dc:description>(.*?)</dc:description>"),
            std::vector<std::string>{XmlText(CreditsText())});
}

TEST_F(OdtDocumentTest, TheMimetypeComesFirstAndStored) {
  Part("字", Untitled());
  EXPECT_EQ(ZipEntryNames(target_),
            (std::vector<std::string>{"mimetype", "META-INF/manifest.xml", "content.xml",
                                      "styles.xml", "meta.xml"}));
  EXPECT_EQ(test::ReadBytes(target_).substr(30, 47),
            "mimetypeapplication/vnd.oasis.opendocument.text");
  const std::string manifest = ReadZipEntry(target_, "META-INF/manifest.xml");
  for (const char* part : {"content.xml", "styles.xml", "meta.xml"})
    EXPECT_NE(manifest.find(std::string("manifest:full-path=\"") + part + "\""), std::string::npos)
        << part;
}

TEST_F(OdtDocumentTest, MarkupAndControlCharactersInTheTextStayText) {
  const std::string content = Part(
      "a<&>\"b\x01"
      "c人",
      Untitled());
  EXPECT_EQ(BareText(content), std::vector<std::string>{"a<&>\"bc"});
  EXPECT_EQ(content.find('\x01'), std::string::npos);
  EXPECT_EQ(test::Joined(Rubies(content)), "人:rén");
}

TEST_F(OdtDocumentTest, AFailedWriteNamesTheTargetAndAnOldTargetIsReplacedWhole) {
  const Handout handout = Of("我家有四口人。", Untitled());
  const std::filesystem::path missing = dir_ / "没有的文件夹" / "讲义.odt";
  try {
    WriteOdt(handout, Untitled(), missing);
    FAIL() << "no error";
  } catch (const Error& error) {
    EXPECT_NE(std::string(error.what()).find(missing.string()), std::string::npos) << error.what();
  }
  EXPECT_FALSE(std::filesystem::exists(missing));

  test::WriteBytes(target_, std::string(100000, 'x'));
  WriteOdt(handout, Untitled(), target_);
  EXPECT_EQ(ZipEntryNames(target_).size(), 5u);
  EXPECT_EQ(test::Joined(Rubies(ReadZipEntry(target_, "content.xml"))),
            "我:wǒ 家:jiā 有:yǒu 四:sì 口:kǒu 人:rén");
}

}  // namespace
}  // namespace tolvane
