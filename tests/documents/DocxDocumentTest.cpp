// Handouts written as Word documents and read back: the native ruby of each annotated unit, the
// page design in the document's own terms (twips, half-points), metadata and failures.
#include <gtest/gtest.h>

#include "documents/Credits.h"
#include "documents/DocxDocument.h"
#include "documents/Handout.h"
#include "documents/XmlText.h"
#include "documents/ZipArchive.h"
#include "platform/Error.h"
#include "support/LayoutSupport.h"
#include "support/ShippedDataFixture.h"
#include "tests/documents/DocumentXmlSupport.h"

namespace tolvane {
namespace {

class DocxDocumentTest : public test::ShippedDataFixture {
 protected:
  Handout Of(std::string_view text, const PageDesign& design, ToneStyle tone = ToneStyle::Marked,
             bool written = false) {
    return HandoutOfText(reader(), text, test::ByContext(OutputFormat::html, tone, written),
                         design);
  }

  // Writes the handout of `text` and returns the named part.
  std::string Part(std::string_view text, const PageDesign& design,
                   const std::string& part = "word/document.xml") {
    WriteDocx(Of(text, design), design, target_);
    return ReadZipEntry(target_, part);
  }

  static PageDesign Untitled() {
    PageDesign design;
    design.titleSource = TitleSource::None;
    return design;
  }

  // "base:reading" of every ruby in order.
  static std::vector<std::string> Rubies(const std::string& document) {
    std::vector<std::string> out;
    for (const std::string& ruby : test::Captures(document, "<w:ruby>(.*?)</w:ruby>")) {
      const auto reading = test::Captures(ruby, "<w:rt>(.*?)</w:rt>");
      const auto base = test::Captures(ruby, "<w:rubyBase>(.*?)</w:rubyBase>");
      EXPECT_EQ(reading.size(), 1u);
      EXPECT_EQ(base.size(), 1u);
      out.push_back(Text(base.at(0)) + ":" + test::WithoutPadding(Text(reading.at(0))));
    }
    return out;
  }

  // The text of every w:t in `xml`, put together.
  static std::string Text(const std::string& xml) {
    std::string text;
    for (const std::string& each : test::Captures(xml, "<w:t(?: [^>]*)?>([^<]*)</w:t>"))
      text += test::Unescaped(each);
    return text;
  }

  // The document's text outside every ruby, paragraph by paragraph.
  static std::vector<std::string> BareText(const std::string& document) {
    const std::string outside =
        std::regex_replace(document, std::regex("<w:ruby>.*?</w:ruby>"), "");
    std::vector<std::string> out;
    for (const std::string& paragraph : test::Captures(outside, "<w:p>(.*?)</w:p>"))
      out.push_back(Text(paragraph));
    return out;
  }

  test::TempDir dir_;
  std::filesystem::path target_ = dir_ / "讲义.docx";
};

TEST_F(DocxDocumentTest, EveryAnnotatedUnitIsOneRubyAndBareOnesAreText) {
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
      // Neighbouring bare characters stay one run.
      {"ABC 12人", AnnotationScope::Every, "人:rén", {"ABC 12"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    PageDesign design = Untitled();
    design.scope = c.scope;
    const std::string document = Part(c.text, design);
    EXPECT_EQ(test::Joined(Rubies(document)), c.rubies);
    EXPECT_EQ(BareText(document), c.bare);
  }
  EXPECT_NE(Part("ABC 12人", Untitled()).find("<w:r><w:t>ABC 12</w:t></w:r>"), std::string::npos);
  // Spaces at a run's ends are kept.
  EXPECT_NE(Part(" A 人 B ", Untitled()).find("<w:t xml:space=\"preserve\"> A </w:t>"),
            std::string::npos);
  EXPECT_NE(Part(" A 人 B ", Untitled()).find("<w:t xml:space=\"preserve\"> B </w:t>"),
            std::string::npos);
}

TEST_F(DocxDocumentTest, RubyPropertiesFollowTheSizesInHalfPoints) {
  PageDesign design;  // the first line is the title
  design.textSizePt = 14;
  design.readingPercent = 50;
  const std::string document = Part("题目\n正文", design);
  // 14 pt characters with 7 pt readings; the title's characters half as big again.
  EXPECT_EQ(test::Captures(document, "<w:hpsBaseText w:val=\"(\\d+)\"/>"),
            (std::vector<std::string>{"42", "42", "28", "28"}));
  EXPECT_EQ(test::Captures(document, "<w:hps w:val=\"(\\d+)\"/>"),
            (std::vector<std::string>{"21", "21", "14", "14"}));
  EXPECT_EQ(test::Captures(document, "<w:rt><w:r><w:rPr>.*?<w:sz w:val=\"(\\d+)\"/>"),
            (std::vector<std::string>{"21", "21", "14", "14"}));
  for (const std::string& raise : test::Captures(document, "<w:hpsRaise w:val=\"(\\d+)\"/>"))
    EXPECT_GT(std::stoi(raise), 28) << "the reading clears the characters";
  EXPECT_EQ(test::Captures(document, "<w:rubyAlign w:val=\"(\\w+)\"/>").front(), "center");
  EXPECT_EQ(test::Captures(document, "<w:lid w:val=\"([\\w-]+)\"/>").front(), "zh-CN");

  const std::string styles = ReadZipEntry(target_, "word/styles.xml");
  EXPECT_EQ(test::Captures(styles, "<w:rPrDefault><w:rPr>.*?<w:sz w:val=\"(\\d+)\"/>"),
            std::vector<std::string>{"28"});
}

TEST_F(DocxDocumentTest, TheTitleIsAParagraphInTheTitleStyle) {
  const std::string document = Part("我的家\n我家有四口人。", PageDesign());
  EXPECT_EQ(test::Captures(document, "<w:p>(<w:pPr><w:pStyle w:val=\"Title\"/></w:pPr>)?"),
            (std::vector<std::string>{"<w:pPr><w:pStyle w:val=\"Title\"/></w:pPr>", ""}));
  EXPECT_EQ(test::Captures(ReadZipEntry(target_, "word/styles.xml"),
                           "<w:style w:type=\"paragraph\" w:styleId=\"(Title)\">"),
            std::vector<std::string>{"Title"});
}

TEST_F(DocxDocumentTest, PaperAndMarginsAreTwips) {
  struct Case {
    PaperSize paper;
    double marginMm;
    const char* width;
    const char* height;
    const char* margin;
  };
  const Case cases[] = {
      {PaperSize::A4, 20, "11906", "16838", "1134"},
      {PaperSize::A5, 10, "8391", "11906", "567"},
      {PaperSize::Letter, 25.4, "12240", "15840", "1440"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.width);
    PageDesign design = Untitled();
    design.paper = c.paper;
    design.marginMm = c.marginMm;
    const std::string document = Part("字", design);
    EXPECT_EQ(test::Captures(document, "<w:pgSz w:w=\"(\\d+)\" w:h=\"(\\d+)\"/>"),
              (std::vector<std::string>{c.width, c.height}));
    EXPECT_EQ(test::Captures(document,
                             "<w:pgMar w:top=\"(\\d+)\" w:right=\"(\\d+)\" w:bottom=\"(\\d+)\" "
                             "w:left=\"(\\d+)\""),
              (std::vector<std::string>(4, c.margin)));
  }
}

TEST_F(DocxDocumentTest, ToneColoursGoOnEachReadingRun) {
  // The colour of every reading run in order, "-" for none.
  const auto colours = [](const std::string& document) {
    std::vector<std::string> out;
    for (const std::string& run : test::Captures(document, "<w:rt>(.*?)</w:rt>")) {
      for (const std::string& props : test::Captures(run, "<w:rPr>(.*?)</w:rPr>")) {
        const auto colour = test::Captures(props, "<w:color w:val=\"(\\w+)\"/>");
        out.push_back(colour.empty() ? "-" : colour.front());
      }
    }
    return out;
  };
  PageDesign design = Untitled();
  design.toneScheme = ToneColourScheme::Classic;
  // wǒ de: the third tone and the light one.
  EXPECT_EQ(colours(Part("我的", design)), (std::vector<std::string>{"008a00", "707070"}));
  design.toneScheme = ToneColourScheme::Custom;
  design.toneColours[2] = "#123456";
  EXPECT_EQ(colours(Part("我", design)), std::vector<std::string>{"123456"});
  design.toneScheme = ToneColourScheme::Off;
  EXPECT_EQ(colours(Part("我的", design)), (std::vector<std::string>{"-", "-"}));

  // A written word in tone digits is coloured syllable by syllable; in tone marks, where the
  // syllables cannot be told apart for sure, it stays uncoloured.
  design.toneScheme = ToneColourScheme::Classic;
  WriteDocx(Of("他去银行", design, ToneStyle::Numbered, true), design, target_);
  const std::string numbered = ReadZipEntry(target_, "word/document.xml");
  EXPECT_EQ(test::Joined(Rubies(numbered)), "他:Ta1 去:qu4 银行:yin2hang2");
  EXPECT_EQ(colours(numbered), (std::vector<std::string>{"e30000", "0050e6", "e07000", "e07000"}));
  std::vector<std::string> runs;
  for (const std::string& reading : test::Captures(numbered, "<w:rt>(.*?)</w:rt>"))
    for (const std::string& run : test::Captures(reading, "<w:t[^>]*>([^<]*)</w:t>"))
      runs.push_back(run);
  EXPECT_EQ(runs, (std::vector<std::string>{"\u2009Ta1\u2009", "\u2009qu4\u2009", "\u2009yin2",
                                            "hang2\u2009"}));
  WriteDocx(Of("银行", design, ToneStyle::Marked, true), design, target_);
  EXPECT_EQ(colours(ReadZipEntry(target_, "word/document.xml")), std::vector<std::string>{"-"});
}

TEST_F(DocxDocumentTest, ReadingsArePaddedByTheSyllableGap) {
  PageDesign design = Untitled();
  design.syllableGap = 0.4;
  EXPECT_EQ(test::Captures(Part("我", design), "<w:rt>.*?<w:t[^>]*>([^<]*)</w:t>"),
            std::vector<std::string>{"\u2009\u2009wǒ\u2009\u2009"});
  design.syllableGap = 0.05;
  EXPECT_EQ(test::Captures(Part("我", design), "<w:rt>.*?<w:t[^>]*>([^<]*)</w:t>"),
            std::vector<std::string>{"\u2009wǒ\u2009"});
  design.syllableGap = 0;
  EXPECT_EQ(test::Captures(Part("我", design), "<w:rt>.*?<w:t[^>]*>([^<]*)</w:t>"),
            std::vector<std::string>{"wǒ"});
}

TEST_F(DocxDocumentTest, FontsAreTheDesignsOrTheDefaults) {
  PageDesign design = Untitled();
  design.textFont = "楷体";
  design.readingFont = "Andika";
  const std::string document = Part("我", design);
  EXPECT_NE(document.find("<w:rFonts w:ascii=\"Andika\" w:hAnsi=\"Andika\" w:eastAsia=\"Andika\""),
            std::string::npos);
  EXPECT_NE(ReadZipEntry(target_, "word/styles.xml")
                .find("<w:rFonts w:ascii=\"楷体\" w:hAnsi=\"楷体\" w:eastAsia=\"楷体\""),
            std::string::npos);
  EXPECT_NE(Part("我", Untitled()).find("<w:rFonts w:ascii=\"Noto Sans\""), std::string::npos);
  EXPECT_NE(ReadZipEntry(target_, "word/styles.xml").find("w:eastAsia=\"Noto Serif CJK SC\""),
            std::string::npos);
}

TEST_F(DocxDocumentTest, PageNumbersAreAFooterWithThePageField) {
  PageDesign design = Untitled();
  Part("字", design);
  EXPECT_NE(
      ReadZipEntry(target_, "word/footer1.xml").find("<w:instrText xml:space=\"preserve\"> PAGE "),
      std::string::npos);
  EXPECT_NE(ReadZipEntry(target_, "word/document.xml").find("<w:footerReference"),
            std::string::npos);
  EXPECT_NE(ReadZipEntry(target_, "word/_rels/document.xml.rels").find("footer1.xml"),
            std::string::npos);

  // Without them the footer goes, and the document that had one is replaced whole.
  design.pageNumbers = false;
  Part("字", design);
  const auto names = ZipEntryNames(target_);
  EXPECT_EQ(std::count(names.begin(), names.end(), "word/footer1.xml"), 0);
  EXPECT_EQ(ReadZipEntry(target_, "word/document.xml").find("<w:footerReference"),
            std::string::npos);
  EXPECT_EQ(ReadZipEntry(target_, "[Content_Types].xml").find("footer"), std::string::npos);
}

TEST_F(DocxDocumentTest, MetadataNamesTheTitleTolvaneAndTheDataCredits) {
  Part("我的家\n我家有四口人。", PageDesign());
  const std::string core = ReadZipEntry(target_, "docProps/core.xml");
  EXPECT_EQ(test::Captures(core, "<dc:title>(.*?)</dc:title>"), std::vector<std::string>{"我的家"});
  EXPECT_EQ(test::Captures(core, "<dc:creator>(.*?)</dc:creator>"),
            std::vector<std::string>{"Tolvane"});
  EXPECT_EQ(test::Captures(core, "<cp:lastModifiedBy>(.*?)</cp:lastModifiedBy>"),
            std::vector<std::string>{"Tolvane"});
  EXPECT_EQ(test::Captures(core, "<dc:description>(.*?)</dc:description>"),
            std::vector<std::string>{XmlText(CreditsText())});
  EXPECT_EQ(
      test::Captures(ReadZipEntry(target_, "docProps/app.xml"), "<Application>(.*?)</Application>"),
      std::vector<std::string>{"Tolvane"});

  // Without a title, the source's name.
  Handout handout = Of("我家有四口人。", Untitled());
  handout.name = "第一课 <a&b>";
  WriteDocx(handout, Untitled(), target_);
  EXPECT_EQ(
      test::Captures(ReadZipEntry(target_, "docProps/core.xml"), "<dc:title>(.*?)</dc:title>"),
      std::vector<std::string>{"第一课 &lt;a&amp;b&gt;"});
}

TEST_F(DocxDocumentTest, MarkupAndControlCharactersInTheTextStayText) {
  const std::string document = Part(
      "a<&>\"b\x01"
      "c\t人",
      Untitled());
  EXPECT_EQ(BareText(document), std::vector<std::string>{"a<&>\"bc"});
  EXPECT_EQ(document.find('\x01'), std::string::npos);
  EXPECT_NE(document.find("a&lt;&amp;&gt;&quot;bc</w:t><w:tab/>"), std::string::npos);
  EXPECT_EQ(test::Joined(Rubies(document)), "人:rén");
}

TEST_F(DocxDocumentTest, AFailedWriteNamesTheTargetAndAnOldTargetIsReplacedWhole) {
  const Handout handout = Of("我家有四口人。", Untitled());
  const std::filesystem::path missing = dir_ / "没有的文件夹" / "讲义.docx";
  try {
    WriteDocx(handout, Untitled(), missing);
    FAIL() << "no error";
  } catch (const Error& error) {
    EXPECT_NE(std::string(error.what()).find(missing.string()), std::string::npos) << error.what();
  }
  EXPECT_FALSE(std::filesystem::exists(missing));

  test::WriteBytes(target_, std::string(100000, 'x'));
  WriteDocx(handout, Untitled(), target_);
  EXPECT_EQ(ZipEntryNames(target_),
            (std::vector<std::string>{"[Content_Types].xml", "_rels/.rels", "word/document.xml",
                                      "word/styles.xml", "word/footer1.xml",
                                      "word/_rels/document.xml.rels", "docProps/core.xml",
                                      "docProps/app.xml"}));
}

}  // namespace
}  // namespace tolvane
