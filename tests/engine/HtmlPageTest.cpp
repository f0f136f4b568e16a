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
  // The first line, re-cut, is short and more follow: it titles the page.
  EXPECT_EQ(page.rfind(HtmlPage::Head("一二三四五六七八九十"), 0), 0u);
  EXPECT_EQ(page.substr(page.size() - HtmlPage::Tail().size()), HtmlPage::Tail());
  // Cut at ten characters; the empty line goes with the wrap pass, as in the text layouts.
  EXPECT_NE(page.find("<ruby>十<rt>shi2</rt></ruby></p>\n<p><ruby>一<rt>yi1</rt></ruby>"),
            std::string::npos);
  EXPECT_NE(page.find("<p><ruby>我<rt>wo3</rt></ruby></p>\n</body>"), std::string::npos);
  EXPECT_EQ(host.steps, 3u);
}

TEST_F(HtmlPageTest, ThePageIsTitledByAShortFirstLineElseByTheFileName) {
  struct Case {
    std::string source;  // code page 936 bytes
    std::size_t chunkBytes;
    HtmlPageLook look;
    std::string title;
  };
  const std::string longLine =
      Gb("我们一起去银行取钱，他说长城很长，重庆的天气很热，你也来吧，我们走。");
  const auto look = [](std::string title, bool fromFirstLine) {
    HtmlPageLook made;
    made.title = std::move(title);
    made.titleFromFirstLine = fromFirstLine;
    return made;
  };
  const Case cases[] = {
      {Gb("  第一课 <天>\t　\r\n\r\n我们"), 0, {}, "第一课 &lt;天&gt;"},
      // One line is the text, not its title.
      {Gb("第一课\r\n"), 0, {}, "课文.txt"},
      {longLine + "\r\n我们", 0, {}, "课文.txt"},
      {Gb("  \r\n我们"), 0, {}, "课文.txt"},
      // A first sentence or clause is the text itself; a question may be a title.
      {Gb("我回到了故乡。\r\n我们"), 0, {}, "课文.txt"},
      {Gb("春天来了，\r\n我们"), 0, {}, "课文.txt"},
      {Gb("你好吗？\r\n我们"), 0, {}, "你好吗？"},
      // A first line longer than a chunk, read in pieces: the same title as read whole.
      {longLine + "\r\n我们", 16, {}, "课文.txt"},
      {Gb("第一课：春晓与静夜思\r\n我们"), 16, {}, "第一课：春晓与静夜思"},
      {Gb("第一课：春晓与静夜思"), 16, {}, "课文.txt"},
      // A short line alone in the first chunk, with more to come.
      {Gb("第一课\r\n") + longLine, 16, {}, "第一课"},
      {Gb("第一课\r\n我们"), 0, look("Fixed & fast", false), "Fixed &amp; fast"},
      {Gb("第一课\r\n我们"), 0, look("", false), "课文.txt"},
      {"", 0, {}, "课文.txt"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(test::Utf8(c.source) + " / " + c.title);
    test::TempDir dir;
    test::WriteBytes(dir / "课文.txt", c.source);
    BatchRequest request;
    request.source = dir / "课文.txt";
    request.target = dir / "课文.html";
    request.settings.outputFormat = OutputFormat::html;
    request.programFolder = folder_.path();
    request.data = session.Data();
    request.chunkBytes = c.chunkBytes;
    request.htmlPage = c.look;
    test::ScriptedObserver host;
    ASSERT_EQ(BatchConversion(request, host).status, RunStatus::Completed);
    const std::string page = test::ReadBytes(dir / "课文.html");
    EXPECT_NE(page.find("<title>" + c.title + "</title>"), std::string::npos) << page;
    // The head comes once, before every block, and the page ends as a page.
    EXPECT_EQ(page.find("<!DOCTYPE html>"), 0u);
    EXPECT_EQ(page.find("<!DOCTYPE html>", 1), std::string::npos);
    EXPECT_LT(page.find("</head>"), page.find("<p>"));
    EXPECT_EQ(page.substr(page.size() - HtmlPage::Tail().size()), HtmlPage::Tail());
  }
}

TEST_F(HtmlPageTest, ADesignsSheetAndColophonReplaceThePagesOwn) {
  test::TempDir dir;
  test::WriteBytes(dir / "a.txt", Gb("我"));
  BatchRequest request;
  request.source = dir / "a.txt";
  request.target = dir / "a.html";
  request.settings.outputFormat = OutputFormat::html;
  request.settings.toneStyle = ToneStyle::Numbered;
  request.programFolder = folder_.path();
  request.data = session.Data();
  request.htmlPage.style = "body { color: navy; }";
  request.htmlPage.colophon = "<section class=\"colophon\">Data: CC-CEDICT</section>";
  test::ScriptedObserver host;
  ASSERT_EQ(BatchConversion(request, host).status, RunStatus::Completed);
  EXPECT_EQ(test::ReadBytes(dir / "a.html"),
            HtmlPage::Head("a.txt", "body { color: navy; }") +
                "<p><ruby>我<rt>wo3</rt></ruby></p>\n"
                "<section class=\"colophon\">Data: CC-CEDICT</section>\n</body>\n</html>\n");
  const std::string head = HtmlPage::Head("a.txt", "body { color: navy; }");
  EXPECT_NE(head.find("<style>\nbody { color: navy; }\n</style>\n</head>"), std::string::npos)
      << head;
  EXPECT_EQ(head.find("ruby-position"), std::string::npos) << head;
}

}  // namespace
}  // namespace tolvane
