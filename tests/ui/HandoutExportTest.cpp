// Handouts written to their files: the writer chosen by the target's extension, and the PDF as a
// reader's program sees it (its paper, its embedded fonts, its words and where they stand).
#include <gtest/gtest.h>

#include <QRegularExpression>

#include "PopplerSupport.h"
#include "documents/HandoutHtml.h"
#include "platform/Error.h"
#include "support/TestSupport.h"
#include "ui/HandoutExport.h"

namespace tolvane {
namespace {

using test::PdfWords;
using test::ReadBytes;
using test::TempDir;

Handout SampleHandout() {
  Handout handout;
  handout.title = "银行";
  handout.name = "sample";
  handout.lines.push_back({{{"银", "yín"}, {"行", "háng"}}, true});
  RubyLine line;
  for (int i = 0; i < 4; ++i)
    for (const auto& [text, reading] :
         {std::pair{"行", "háng"}, {"长", "zhǎng"}, {"长", "cháng"}, {"行", "xíng"}, {"，", ""}})
      line.push_back({text, reading});
  handout.lines.push_back({line, false});
  return handout;
}

struct FormatCase {
  const char* target;
  const char* format;
};

TEST(HandoutExport, TheTargetsExtensionChoosesTheFormat) {
  for (const FormatCase& each :
       {FormatCase{"a.pdf", "PDF"}, FormatCase{"a.PDF", "PDF"}, FormatCase{"a.html", "HTML"},
        FormatCase{"a.HTM", "HTML"}, FormatCase{"a.txt", "PDF"}, FormatCase{"a", "PDF"},
        FormatCase{"讲义.docx", "Word (DOCX)"}, FormatCase{"a.ODT", "LibreOffice (ODT)"},
        FormatCase{"a.epub", "EPUB"}}) {
    SCOPED_TRACE(each.target);
    EXPECT_STREQ(HandoutFormatOf(each.target).filterName, each.format);
  }
  EXPECT_EQ(HandoutFilter(),
            "PDF (*.pdf);;Word (DOCX) (*.docx);;LibreOffice (ODT) (*.odt);;EPUB (*.epub);;"
            "HTML (*.html *.htm)");
}

TEST(HandoutExport, AnHtmlTargetGetsTheRubyPageOfTheHandout) {
  TempDir dir;
  PageDesign design;
  design.toneScheme = ToneColourScheme::Classic;
  design.marginMm = 25;
  WriteHandout(SampleHandout(), design, dir / "a.htm");
  const std::string html = ReadBytes(dir / "a.htm");
  EXPECT_NE(html.find("<title>银行</title>"), std::string::npos);
  EXPECT_NE(html.find("<h1><ruby>银<rp>(</rp><rt class=\"t2\">yín</rt>"), std::string::npos);
  EXPECT_NE(html.find("<ruby>长<rp>(</rp><rt class=\"t3\">zhǎng</rt>"), std::string::npos);
  EXPECT_NE(html.find(".t2 { color: " + ToneColour(design, 2) + "; }"), std::string::npos);
  EXPECT_NE(html.find("CC-CEDICT"), std::string::npos) << "the colophon credits the data";
  EXPECT_NE(html.find("margin: 25mm"), std::string::npos);
  EXPECT_EQ(html.find("%PDF"), std::string::npos);
}

struct PaperCase {
  PaperSize paper;
  double widthPt;
  double heightPt;
};

TEST(HandoutExport, ThePdfsPagesAreThePaperWithEveryReadingAsAWordAndFontsEmbedded) {
  if (!test::HasPdfTools()) GTEST_SKIP() << "poppler-utils are not installed";
  TempDir dir;
  for (const PaperCase& paper :
       {PaperCase{PaperSize::A4, 595.28, 841.89}, PaperCase{PaperSize::A5, 419.53, 595.28},
        PaperCase{PaperSize::Letter, 612, 792}}) {
    SCOPED_TRACE(static_cast<int>(paper.paper));
    PageDesign design;
    design.paper = paper.paper;
    design.marginMm = 25;
    const auto pdf = dir / "a.pdf";
    WriteHandout(SampleHandout(), design, pdf);
    const auto size = test::PdfPageSize(pdf);
    ASSERT_TRUE(size.has_value());
    EXPECT_NEAR(size->first, paper.widthPt, 0.5);
    EXPECT_NEAR(size->second, paper.heightPt, 0.5);

    // Every word within the margins, and every reading a word of its own.
    const double margin = 25 / 25.4 * 72;
    std::vector<QString> readings;
    for (const test::PdfWord& word : PdfWords(pdf)) {
      SCOPED_TRACE(word.text.toStdString());
      EXPECT_GE(word.xMin, margin - 1);
      EXPECT_LE(word.xMax, paper.widthPt - margin + 1);
      EXPECT_GE(word.yMin, margin - 1);
      if (word.text.at(0).unicode() < 0x2E80) readings.push_back(word.text);
    }
    std::vector<QString> expected{"yín", "háng"};
    for (int i = 0; i < 4; ++i)
      for (const char* reading : {"háng", "zhǎng", "cháng", "xíng"})
        expected.push_back(QString::fromUtf8(reading));
    expected.push_back(QStringLiteral("1"));  // the page number
    EXPECT_EQ(readings, expected);
  }
  const auto fonts = test::RunPdfTool("pdffonts", {test::PdfArg(dir / "a.pdf")});
  ASSERT_TRUE(fonts.has_value());
  // name type encoding emb sub uni object ID: two heading lines, then one line a font.
  const QStringList lines = fonts->trimmed().split(QLatin1Char('\n'));
  ASSERT_GT(lines.size(), 2);
  for (qsizetype i = 2; i < lines.size(); ++i) {
    SCOPED_TRACE(lines[i].toStdString());
    const QStringList columns = lines[i].simplified().split(QLatin1Char(' '));
    ASSERT_GE(columns.size(), 7);
    EXPECT_EQ(columns[columns.size() - 5], "yes");  // emb
  }
  const auto info = test::RunPdfTool(
      "pdfinfo", {QStringLiteral("-enc"), QStringLiteral("UTF-8"), test::PdfArg(dir / "a.pdf")});
  ASSERT_TRUE(info.has_value());
  EXPECT_TRUE(info->contains(QRegularExpression(QStringLiteral("Title: +银行\\n"))));
}

TEST(HandoutExport, AFileThatCannotBeWrittenRaisesItsReason) {
  TempDir dir;
  EXPECT_THROW(WritePdf(SampleHandout(), PageDesign{}, dir / "no-folder" / "a.pdf"), Error);
  EXPECT_THROW(WriteHandout(SampleHandout(), PageDesign{}, dir / "no-folder" / "a.html"), Error);
}

}  // namespace
}  // namespace tolvane
