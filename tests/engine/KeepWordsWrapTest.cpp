// The wrap pass of reading by context: lines end only where Chinese typesetting lets them, and
// nothing of the text is lost, repeated or moved, blank lines included.
#include <gtest/gtest.h>

#include <sstream>

#include "engine/WrapLines.h"
#include "platform/UnicodeText.h"
#include "support/LayoutSupport.h"
#include "support/TestSupport.h"

namespace tolvane {
namespace {

using Lines = std::vector<std::string>;

// UTF-8 lines wrapped by `rule`, given as one chunk or in pieces cut after `cut` bytes.
Lines Wrap(const Lines& source, std::size_t width, WrapRule rule = WrapRule::KeepWords) {
  std::ostringstream text;
  TextFileWriter out;
  out.Attach(text, {});
  WrapLines(LineList(test::JoinCrLf(source)), width, out, TextForm::Unicode, rule);
  out.Close();
  return test::SplitCrLf(text.str());
}

std::vector<std::u32string> CodePoints(const Lines& lines) {
  std::vector<std::u32string> out;
  for (const std::string& line : lines) {
    std::u32string points;
    unicode::ForEachCodePoint(line, [&](std::string_view, char32_t cp) { points += cp; });
    out.push_back(points);
  }
  return out;
}

const std::u32string kClosing = U"。，、；：？！”’）》」』】.,;:?!)";
const std::u32string kOpening = U"“‘（《「『【([";

TEST(KeepWordsWrap, CutsWhereTypesettingLets) {
  const struct {
    Lines source;
    std::size_t width;
    Lines expected;
  } cases[] = {
      // A number, a Latin word and a decimal stay whole; the line breaks before them.
      {{"今年是2024年"}, 5, {"今年是", "2024年"}},
      {{"价格9.9元"}, 4, {"价格", "9.9元"}},
      {{"请发e-mail"}, 5, {"请发", "e-mail"}},
      // Closing punctuation takes the character before it to the next line.
      {{"我爱北京。"}, 4, {"我爱北", "京。"}},
      {{"他说：“好”"}, 3, {"他说：", "“好”"}},
      // Opening punctuation goes on with what it opens.
      {{"一二三“四"}, 4, {"一二三", "“四"}},
      // Blank lines stay.
      {{"一", "", "二"}, 10, {"一", "", "二"}},
      // A run longer than a line gets a line of its own.
      {{"号码1234567890。好"}, 4, {"号码", "1234567890。", "好"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.source.front() + " at " + std::to_string(c.width));
    EXPECT_EQ(Wrap(c.source, c.width), c.expected);
  }
}

TEST(KeepWordsWrap, AtEveryWidthNothingIsLostNoRunIsSplitNoMarkIsStranded) {
  const Lines source = {
      "2024年12月，我买了iPhone 15。价格涨了3.5%，请发e-mail给我。",
      "",
      "他说：“银行的利率是9.9%。”（见《报告》第3页）",
      "",
      "",
      "A股、B股；Windows 11和macOS，都行……好！",
  };
  const char* runs[] = {"2024",   "12",   "iPhone",  "15", "3.5%",
                        "e-mail", "9.9%", "Windows", "11", "macOS"};
  const std::size_t kLongestUnit = 8;
  for (std::size_t width = 1; width <= 60; ++width) {
    SCOPED_TRACE(width);
    const Lines wrapped = Wrap(source, width);
    // The lines of each source line put together are the source line; blank lines stay blank.
    // No line ends inside a run of digits or letters.
    std::size_t next = 0;
    for (const std::string& line : source) {
      std::string joined;
      std::vector<std::size_t> cuts;
      do {
        ASSERT_LT(next, wrapped.size());
        joined += wrapped[next++];
        cuts.push_back(joined.size());
      } while (joined.size() < line.size());
      EXPECT_EQ(joined, line);
      for (const std::string_view run : runs) {
        for (std::size_t at = line.find(run); at != std::string::npos; at = line.find(run, at + 1))
          for (const std::size_t cut : cuts)
            EXPECT_FALSE(cut > at && cut < at + run.size()) << run << " split in " << line;
      }
    }
    EXPECT_EQ(next, wrapped.size());
    const auto points = CodePoints(wrapped);
    for (std::size_t i = 0; i < points.size(); ++i) {
      if (points[i].empty()) continue;
      const bool continues = i > 0 && !points[i - 1].empty();
      if (continues) {
        EXPECT_EQ(kClosing.find(points[i].front()), std::u32string::npos) << wrapped[i];
        EXPECT_EQ(kOpening.find(points[i - 1].back()), std::u32string::npos) << wrapped[i - 1];
      }
      // Wide enough for its longest unbreakable stretch ("Windows " with its space), no line
      // runs over.
      if (width >= kLongestUnit) {
        EXPECT_LE(points[i].size(), width) << wrapped[i];
      }
    }
  }
}

TEST(KeepWordsWrap, TheClassicPoliciesStillCutEveryWidth) {
  EXPECT_EQ(Wrap({"今年是2024年", "", "好。"}, 4, WrapRule::EveryWidth),
            (Lines{"今年是2", "024年", "好。"}));
}

// A line read in pieces is cut as the whole line, wherever the pieces end.
TEST(KeepWordsWrap, PiecesOfALineAreCutAsTheWholeLine) {
  const std::string line = "2024年12月，我买了iPhone 15。“价格”涨了3.5%。";
  for (const std::size_t width : {1u, 3u, 5u, 10u}) {
    const Lines whole = Wrap({line}, width);
    for (std::size_t cut = 1; cut < line.size(); cut += unicode::CharLengthAt(line, cut)) {
      SCOPED_TRACE(std::to_string(width) + " cut at " + std::to_string(cut));
      std::ostringstream text;
      TextFileWriter out;
      out.Attach(text, {});
      WrapCarry carry;
      WrapLines(LineList(line.substr(0, cut)), width, out, TextForm::Unicode, true, carry,
                WrapRule::KeepWords);
      WrapLines(LineList(line.substr(cut) + "\r\n"), width, out, TextForm::Unicode, false, carry,
                WrapRule::KeepWords);
      out.Close();
      EXPECT_EQ(test::SplitCrLf(text.str()), whole);
    }
  }
}

}  // namespace
}  // namespace tolvane
