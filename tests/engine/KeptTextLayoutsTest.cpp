// The layouts of reading by context keep the text: digits, Latin words and punctuation stay where
// they are written, each reading stands over its character, and a line looks the same whatever
// came before it.
#include <gtest/gtest.h>

#include "engine/AnnotateLine.h"
#include "platform/DisplayColumns.h"
#include "platform/UnicodeText.h"
#include "support/LayoutSupport.h"
#include "support/SessionSupport.h"
#include "support/TestSupport.h"

namespace tolvane {
namespace {

using test::kHan;
using test::kHanPy;
using test::kPy;
using test::kPyHan;
using test::kPyOnly;
using test::Lines;

using test::ByContext;

// The display column where each character of a line starts.
std::vector<std::size_t> ColumnsOf(std::string_view line) {
  std::vector<std::size_t> columns;
  std::size_t column = 0;
  unicode::ForEachCodePoint(line, [&](std::string_view, char32_t cp) {
    columns.push_back(column);
    column += DisplayColumns(cp);
  });
  return columns;
}

// The column where each word of a line of ASCII readings starts.
std::vector<std::size_t> WordStarts(std::string_view line) {
  std::vector<std::size_t> starts;
  for (std::size_t i = 0; i < line.size(); ++i)
    if (line[i] != ' ' && (i == 0 || line[i - 1] == ' ')) starts.push_back(i);
  return starts;
}

bool IsHan(char32_t cp) { return cp >= 0x4E00 && cp <= 0x9FFF; }

class KeptTextLayoutsTest : public testing::Test {
 protected:
  Session session;
  test::CurrentReadings reader{session};
  test::TempDir folder;

  void SetUp() override {
    test::LinkShippedReadingData(folder.path());
    StartSession(session, folder.path());
  }
  // A UTF-8 line annotated after the lines before it in the same run.
  Lines Annotate(const std::string& line, const ConversionSettings& settings,
                 const Lines& before = {}) {
    Separator separator = kStartSeparator;
    for (const std::string& earlier : before)
      AnnotateLine(reader(), earlier, settings, separator, TextForm::Unicode);
    return AnnotateLine(reader(), line, settings, separator, TextForm::Unicode);
  }
};

struct LayoutCase {
  const char* line;
  OutputFormat format;
  Lines expected;
};

TEST_F(KeptTextLayoutsTest, AlignedLayoutsKeepNumbersWordsAndMarksInPlace) {
  const LayoutCase cases[] = {
      // Numbers and Latin words whole in the character line, blanks of their width above.
      {"2024年", kPy, {"    nian2", "2024年"}},
      {"9.9元", kPy, {"   yuan2", "9.9元"}},
      {"3.5%的", kPy, {"    de5", "3.5%的"}},
      {"买iPhone 15", kPy, {"mai3", "买  iPhone 15"}},
      {"发e-mail给我", kPy, {"fa1      gei3 wo3", "发 e-mail给   我"}},
      // A full-width mark takes its two columns in both lines: the next character stays over
      // its syllable.
      {"我，爱", kPy, {"wo3  ai4", "我 ，爱"}},
      {"，我", kPy, {"  wo3", "，我"}},
      {"“你好”", kPy, {"  ni3 hao3", "“你  好  ”"}},
      {"我爱北京", kHan, {"我  爱  北   京", "wo3 ai4 bei3 jing1"}},
      {"", kPy, {"", ""}},
      // Nothing but unread characters: no blanks at the end of the pinyin line.
      {"abc，", kPy, {"", "abc，"}},
  };
  for (const LayoutCase& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(Annotate(c.line, ByContext(c.format)), c.expected);
  }
}

TEST_F(KeptTextLayoutsTest, EveryReadingStartsInItsCharactersColumn) {
  const char* lines[] = {
      "2024年12月，我买了iPhone 15。",
      "价格涨了3.5%，请发e-mail给我！",
      "他说：“银行的利率是9.9%。”（见《报告》第3页）",
      "A股、B股；Windows 11和macOS，都行……",
      "，，，我们。。。他们",
  };
  for (const auto tone : {ToneStyle::Numbered, ToneStyle::Plain}) {
    for (const char* line : lines) {
      SCOPED_TRACE(line);
      const Lines out = Annotate(line, ByContext(kPy, tone));
      ASSERT_EQ(out.size(), 2u);
      // The character line is the line with spaces put in, and none inside a run of letters or
      // digits.
      std::string unspaced = out[1];
      std::erase(unspaced, ' ');
      std::string expected = line;
      std::erase(expected, ' ');
      EXPECT_EQ(unspaced, expected);
      for (const char* run : {"2024", "iPhone 15", "3.5%", "e-mail", "9.9%", "Windows 11", "macOS"})
        if (std::string(line).find(run) != std::string::npos) {
          EXPECT_NE(out[1].find(run), std::string::npos) << run;
        }
      // Each Han character starts in the column where the next reading starts.
      std::vector<std::size_t> hanColumns;
      const std::vector<std::size_t> columns = ColumnsOf(out[1]);
      std::size_t i = 0;
      unicode::ForEachCodePoint(out[1], [&](std::string_view, char32_t cp) {
        if (IsHan(cp)) hanColumns.push_back(columns[i]);
        ++i;
      });
      EXPECT_EQ(WordStarts(out[0]), hanColumns) << out[0] << "\n" << out[1];
    }
  }
}

TEST_F(KeptTextLayoutsTest, ALineAlignsTheSameWhateverCameBeforeIt) {
  for (const auto tone : {ToneStyle::Marked, ToneStyle::Numbered, ToneStyle::Plain}) {
    for (const auto format : {kPy, kHan, kPyOnly}) {
      const ConversionSettings settings = ByContext(format, tone);
      const Lines alone = Annotate("银行的", settings);
      for (const Lines& before :
           {Lines{"我们"}, Lines{"我们，"}, Lines{"abc"}, Lines{"好。", ""}}) {
        SCOPED_TRACE(before.front());
        EXPECT_EQ(Annotate("银行的", settings, before), alone);
      }
    }
  }
  // Marked readings are measured by their letters, as a terminal shows them.
  EXPECT_EQ(Annotate("银行的", ByContext(kPy, ToneStyle::Marked), {"我们，"}),
            (Lines{"yín háng de", "银  行   的"}));
}

TEST_F(KeptTextLayoutsTest, ReadingsOnlyKeepsEveryCharacterWithoutAReadingInPlace) {
  const struct {
    const char* line;
    const char* expected;
  } cases[] = {
      {"2024年12月", "2024 nián 12 yuè"},
      {"我买了iPhone 15。", "wǒ mǎi le iPhone 15。"},
      {"价格涨了3.5%，", "jià gé zhǎng le 3.5%，"},
      {"发e-mail给我", "fā e-mail gěi wǒ"},
      {"“你好”，他说。", "“nǐ hǎo”，tā shuō。"},
      {"（见第3页）", "（jiàn dì 3 yè）"},
      {"我, 你", "wǒ, nǐ"},
      {"abc", "abc"},
      {"", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(Annotate(c.line, ByContext(kPyOnly, ToneStyle::Marked)), Lines{c.expected});
  }
}

TEST_F(KeptTextLayoutsTest, InlineLayoutsKeepRunsWhole) {
  EXPECT_EQ(Annotate("2024年买iPhone 15，3.5%", ByContext(kHanPy, ToneStyle::Marked)),
            Lines{"2024年(nián)买(mǎi)iPhone 15，3.5%"});
  EXPECT_EQ(Annotate("2024年买iPhone 15，3.5%", ByContext(kPyHan, ToneStyle::Marked)),
            Lines{"2024(nián)年(mǎi)买iPhone 15，3.5%"});
}

// A line annotated in two pieces, cut at every character, gives the lines of the whole line.
TEST_F(KeptTextLayoutsTest, PiecesOfALineAddUpToTheWholeLine) {
  const std::string line = "第3页买了iPhone 15，3.5%的e-mail。“好”2024年";
  for (const auto tone : {ToneStyle::Marked, ToneStyle::Numbered}) {
    for (const auto format : {kPy, kHan, kPyOnly}) {
      const ConversionSettings settings = ByContext(format, tone);
      const Lines whole = Annotate(line, settings);
      for (std::size_t cut = 0; cut <= line.size(); cut += unicode::CharLengthAt(line, cut)) {
        SCOPED_TRACE(line.substr(0, cut));
        Separator separator = kStartSeparator;
        LinePosition position;
        AnnotatedLine out;
        AnnotatePiece(reader(), line.substr(0, cut), TextForm::Unicode, settings, separator,
                      position, out);
        Lines pieces = out.Lines();
        // The second piece as a chunk's first would go on: from the position skipped to.
        LinePosition skipped;
        Separator skippedSeparator = kStartSeparator;
        SkipPiece(reader(), line.substr(0, cut), TextForm::Unicode, settings, skippedSeparator,
                  skipped);
        AnnotatePiece(reader(), line.substr(cut), TextForm::Unicode, settings, skippedSeparator,
                      skipped, out);
        for (std::size_t i = 0; i < pieces.size(); ++i) pieces[i] += out.lines[i];
        EXPECT_EQ(pieces, whole);
        if (cut == line.size()) break;
      }
    }
  }
}

}  // namespace
}  // namespace tolvane
