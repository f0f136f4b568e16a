#include "engine/HtmlPage.h"

#include <gtest/gtest.h>

#include "engine/AnnotateLine.h"
#include "engine/BatchConversion.h"
#include "platform/UnicodeText.h"
#include "reading/classic/ReadingTable.h"
#include "reading/shared/DataFiles.h"
#include "support/ScriptedRunObserver.h"
#include "support/SessionSupport.h"
#include "support/TestSupport.h"

namespace tolvane {
namespace {

using test::Gb;

class HtmlPageTest : public testing::Test {
 protected:
  Session session;
  test::CurrentReadings reader{session};

 protected:
  void SetUp() override {
    test::LinkShippedReadingData(folder_.path());
    test::WriteBytes(folder_ / kStandardKeysFile, Gb("国\r\n"));
    test::WriteBytes(folder_ / kStandardReadingsFile, Gb("<Guo>\r\n"));
    StartSession(session, folder_.path());
  }
  std::string Block(std::string_view line, const ConversionSettings& settings,
                    TextForm form = TextForm::Unicode) {
    std::string out;
    HtmlPage::AppendLine(reader(), line, form, settings, out);
    return out;
  }
  test::TempDir folder_;
};

TEST_F(HtmlPageTest, ReadingsAreTheTextLayoutsReadingsInEveryStyleAndPolicy) {
  const std::string line = "长城国行，重";
  for (const auto tone : {ToneStyle::Numbered, ToneStyle::Marked, ToneStyle::Plain}) {
    for (const auto policy : {PolyphonePolicy::FirstReading, PolyphonePolicy::AllReadings,
                              PolyphonePolicy::ByContext}) {
      ConversionSettings settings;
      settings.toneStyle = tone;
      settings.polyphone = policy;
      // The hanpy layout writes character(reading); the page the same readings in ruby.
      ConversionSettings hanpy = settings;
      hanpy.outputFormat = OutputFormat::rb_output_hanpy;
      Separator separator = kStartSeparator;
      const std::string hanpyLine =
          AnnotateLine(reader(), line, hanpy, separator, TextForm::Unicode)[0];
      std::string expected;
      for (std::size_t pos = 0; pos < hanpyLine.size();) {
        const std::string character = hanpyLine.substr(pos, unicode::CharLengthAt(hanpyLine, pos));
        pos += character.size();
        if (pos < hanpyLine.size() && hanpyLine[pos] == '(') {
          const std::size_t close = hanpyLine.find(')', pos);
          std::string reading;
          AppendHtmlEscaped(hanpyLine.substr(pos + 1, close - pos - 1), reading);
          expected += "<ruby>" + character + "<rt>" + reading + "</rt></ruby>";
          pos = close + 1;
        } else {
          expected += character;
        }
      }
      settings.outputFormat = OutputFormat::html;
      EXPECT_EQ(Block(line, settings), "<p>" + expected + "</p>\n")
          << static_cast<int>(tone) << " " << static_cast<int>(policy);
    }
  }
}

TEST_F(HtmlPageTest, OtherCharactersAreEscapedTextAndNothingIsDropped) {
  ConversionSettings settings;
  settings.toneStyle = ToneStyle::Numbered;
  EXPECT_EQ(Block("a<b>&\"'我 😀", settings),
            "<p>a&lt;b&gt;&amp;&quot;&#39;<ruby>我<rt>wo3</rt></ruby> 😀</p>\n");
  EXPECT_EQ(Block("", settings), "<p></p>\n");
  // Code page 936 lines come out in UTF-8; a byte that is no character as U+FFFD.
  EXPECT_EQ(Block(Gb("我") + "\xFF", settings, TextForm::Cp936),
            "<p><ruby>我<rt>wo3</rt></ruby>\xEF\xBF\xBD</p>\n");
  const std::string head = HtmlPage::Head("a<b>.txt");
  EXPECT_NE(head.find("<meta charset=\"utf-8\">"), std::string::npos);
  EXPECT_NE(head.find("<title>a&lt;b&gt;.txt</title>"), std::string::npos);
  EXPECT_NE(head.find("@media print"), std::string::npos);
}

TEST_F(HtmlPageTest, ABatchRunWritesAWholePageInUtf8WithWrappedLines) {
  test::TempDir dir;
  test::WriteBytes(dir / "课文.txt", Gb("一二三四五六七八九十一二\r\n\r\n我"));
  BatchRequest request;
  request.source = dir / "课文.txt";
  request.target = dir / "课文.html";
  request.settings.outputFormat = OutputFormat::html;
  request.settings.toneStyle = ToneStyle::Numbered;
  request.settings.wrapWidth = 10;
  request.programFolder = folder_.path();
  request.data = session.Data();
  test::ScriptedObserver host;
  ASSERT_EQ(BatchConversion(request, host).status, RunStatus::Completed);
  const std::string page = test::ReadBytes(dir / "课文.html");
  EXPECT_EQ(page.rfind(HtmlPage::Head("课文.txt"), 0), 0u);
  EXPECT_EQ(page.substr(page.size() - HtmlPage::Tail().size()), HtmlPage::Tail());
  // Cut at ten characters; the empty line goes with the wrap pass, as in the text layouts.
  EXPECT_NE(page.find("<ruby>十<rt>shi2</rt></ruby></p>\n<p><ruby>一<rt>yi1</rt></ruby>"),
            std::string::npos);
  EXPECT_NE(page.find("<p><ruby>我<rt>wo3</rt></ruby></p>\n</body>"), std::string::npos);
  EXPECT_EQ(host.steps, 3u);
}

}  // namespace
}  // namespace tolvane
