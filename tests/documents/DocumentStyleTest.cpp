// The page design as CSS, and the ruby markup of annotated lines.
#include "documents/DocumentStyle.h"

#include <gtest/gtest.h>

#include "documents/Credits.h"

namespace tolvane {
namespace {

bool Has(const std::string& text, std::string_view part) {
  return text.find(part) != std::string::npos;
}

TEST(DocumentStyleTest, TheSheetCarriesThePaperMarginsSizesAndSpacing) {
  struct Case {
    PaperSize paper;
    double margin;
    double textSize;
    int readingPercent;
    double lineSpacing;
    double gap;
    std::vector<std::string_view> expected;
  };
  const Case cases[] = {
      {PaperSize::A4,
       20,
       16,
       50,
       1.2,
       0.1,
       {"size: 210mm 297mm;", "margin: 20mm;", "font-size: 16pt;", "font-size: 50%;",
        "line-height: 1.8;", "padding: 0 0.1em;"}},
      {PaperSize::A5,
       12.5,
       12,
       60,
       1.5,
       0.25,
       {"size: 148mm 210mm;", "margin: 12.5mm;", "font-size: 12pt;", "font-size: 60%;",
        "line-height: 2.4;", "padding: 0 0.25em;"}},
      {PaperSize::Letter,
       25.4,
       20.5,
       40,
       1,
       0,
       {"size: 215.9mm 279.4mm;", "margin: 25.4mm;", "font-size: 20.5pt;", "font-size: 40%;",
        "line-height: 1.4;", "padding: 0 0em;"}},
  };
  for (const Case& c : cases) {
    PageDesign design;
    design.paper = c.paper;
    design.marginMm = c.margin;
    design.textSizePt = c.textSize;
    design.readingPercent = c.readingPercent;
    design.lineSpacing = c.lineSpacing;
    design.syllableGap = c.gap;
    const std::string css = DocumentStyleSheet(design);
    for (const std::string_view part : c.expected)
      EXPECT_TRUE(Has(css, part)) << part << "\n" << css;
    EXPECT_TRUE(Has(css, "ruby-position: over")) << css;
  }
}

TEST(DocumentStyleTest, EmptyFontNamesGiveGoodFacesAndNamedOnesComeFirstQuoted) {
  PageDesign design;
  EXPECT_EQ(TextFontFamilies(design).rfind("\"Noto Serif CJK SC\"", 0), 0u);
  EXPECT_TRUE(Has(TextFontFamilies(design), "\"Noto Sans CJK SC\""));
  EXPECT_EQ(ReadingFontFamilies(design).rfind("Andika", 0), 0u);
  design.textFont = "Kai \"Book\" </style>";
  design.readingFont = "Schoolbook\\Pinyin";
  EXPECT_EQ(TextFontFamilies(design).rfind(R"("Kai \"Book\" \3c /style\3e ", "Noto Serif)", 0), 0u);
  EXPECT_EQ(ReadingFontFamilies(design).rfind(R"("Schoolbook\\Pinyin", Andika)", 0), 0u);
  // A name cannot close the HTML page's <style> element.
  EXPECT_FALSE(Has(DocumentStyleSheet(design), "</style>"));
}

TEST(DocumentStyleTest, ToneColourClassesExactlyWhenTheSchemeIsOn) {
  const RubyLine line{{"我", "wǒ"}, {"们", "men"},       {"去", "qu4"},
                      {"，", ""},   {"银行", "yínháng"}, {"重", "zhòng/chóng"}};
  PageDesign design;
  std::string plain;
  AppendRubyUnits(line, design, plain);
  EXPECT_FALSE(Has(plain, "class=")) << plain;
  EXPECT_FALSE(Has(DocumentStyleSheet(design), ".t1")) << DocumentStyleSheet(design);
  EXPECT_EQ(plain,
            "<ruby>我<rp>(</rp><rt>wǒ</rt><rp>)</rp></ruby>"
            "<ruby>们<rp>(</rp><rt>men</rt><rp>)</rp></ruby>"
            "<ruby>去<rp>(</rp><rt>qu4</rt><rp>)</rp></ruby>，"
            "<ruby>银行<rp>(</rp><rt>yínháng</rt><rp>)</rp></ruby>"
            "<ruby>重<rp>(</rp><rt>zhòng/chóng</rt><rp>)</rp></ruby>");
  for (const auto scheme : {ToneColourScheme::Classic, ToneColourScheme::Dictionary,
                            ToneColourScheme::Contrast, ToneColourScheme::Custom}) {
    design.toneScheme = scheme;
    std::string coloured;
    AppendRubyUnits(line, design, coloured);
    // A written word over several characters and a list of readings stay uncoloured.
    EXPECT_EQ(coloured,
              "<ruby>我<rp>(</rp><rt class=\"t3\">wǒ</rt><rp>)</rp></ruby>"
              "<ruby>们<rp>(</rp><rt class=\"t5\">men</rt><rp>)</rp></ruby>"
              "<ruby>去<rp>(</rp><rt class=\"t4\">qu4</rt><rp>)</rp></ruby>，"
              "<ruby>银行<rp>(</rp><rt>yínháng</rt><rp>)</rp></ruby>"
              "<ruby>重<rp>(</rp><rt>zhòng/chóng</rt><rp>)</rp></ruby>");
    const std::string css = DocumentStyleSheet(design);
    for (int tone = 1; tone <= 5; ++tone)
      EXPECT_TRUE(Has(css, ".t" + std::to_string(tone) + " { color: " + ToneColour(design, tone)))
          << css;
  }
}

TEST(DocumentStyleTest, XmlHostileTextIsEscapedAndControlCharactersLeftOut) {
  std::string out;
  AppendRubyUnits({{"<&>\x01\"", ""}, {"字", "z<ì>&"}}, PageDesign(), out);
  EXPECT_EQ(out, "&lt;&amp;&gt;&quot;<ruby>字<rp>(</rp><rt>z&lt;ì&gt;&amp;</rt><rp>)</rp></ruby>");
}

TEST(DocumentStyleTest, TheHtmlPageTakesTheSheetTheTitleRuleAndTheColophon) {
  PageDesign design;
  design.marginMm = 33;
  HtmlPageLook look = HtmlPageLookOf(design);
  EXPECT_TRUE(Has(look.style, "margin: 33mm;")) << look.style;
  EXPECT_TRUE(look.title.empty());
  EXPECT_TRUE(look.titleFromFirstLine);
  for (const DataCredit& credit : DataCredits()) {
    EXPECT_TRUE(Has(look.colophon, credit.name)) << credit.name;
    EXPECT_TRUE(Has(look.colophon, credit.licence)) << credit.licence;
    EXPECT_TRUE(Has(look.colophon, "href=\"" + credit.url + "\"")) << credit.url;
  }
  design.titleSource = TitleSource::Fixed;
  design.titleText = "第一课";
  look = HtmlPageLookOf(design);
  EXPECT_EQ(look.title, "第一课");
  design.titleSource = TitleSource::None;
  look = HtmlPageLookOf(design);
  EXPECT_TRUE(look.title.empty());
  EXPECT_FALSE(look.titleFromFirstLine);
}

}  // namespace
}  // namespace tolvane
