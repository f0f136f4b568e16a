// Written pinyin in every layout: each word over, before or after the characters it writes, its
// punctuation leaning on it as written pinyin writes it, and the text itself kept.
#include <gtest/gtest.h>

#include "engine/AnnotateLine.h"
#include "engine/HtmlPage.h"
#include "platform/Cp936.h"
#include "platform/DisplayColumns.h"
#include "platform/UnicodeText.h"
#include "support/LayoutSupport.h"
#include "support/ShippedDataFixture.h"

namespace tolvane {
namespace {

using test::kHan;
using test::kHanPy;
using test::kPy;
using test::kPyHan;
using test::kPyOnly;
using test::Lines;

ConversionSettings Written(OutputFormat format, ToneStyle tone = ToneStyle::Numbered) {
  return test::ByContext(format, tone, true);
}

bool IsHan(char32_t cp) { return cp >= 0x4E00 && cp <= 0x9FFF; }

// The display columns where the runs of Han characters of a line start, a run ending at anything
// else (a space the layout put in included).
std::vector<std::size_t> HanRunStarts(std::string_view line) {
  std::vector<std::size_t> starts;
  std::size_t column = 0;
  bool inRun = false;
  unicode::ForEachCodePoint(line, [&](std::string_view, char32_t cp) {
    if (IsHan(cp) && !inRun) starts.push_back(column);
    inRun = IsHan(cp);
    column += DisplayColumns(cp);
  });
  return starts;
}

// The columns where the pinyin line's words start, a word being a run of letters, digits and the
// apostrophe and hyphen inside it, after a space or a quotation mark.
std::vector<std::size_t> WordStarts(std::string_view line) {
  std::vector<std::size_t> starts;
  std::size_t column = 0;
  char32_t before = U' ';
  unicode::ForEachCodePoint(line, [&](std::string_view, char32_t cp) {
    const bool letter = cp > 0x7F || std::isalnum(static_cast<int>(cp)) != 0;
    if (letter && (before == U' ' || before == U'"' || before == U'\'' || before == U'('))
      starts.push_back(column);
    before = cp;
    ++column;  // written pinyin takes a column per letter
  });
  return starts;
}

class WrittenLayoutsTest : public test::ShippedDataFixture {
 protected:
  Lines Annotate(std::string_view line, const ConversionSettings& settings,
                 TextForm form = TextForm::Unicode) {
    Separator separator = kStartSeparator;
    return AnnotateLine(reader(), line, settings, separator, form);
  }
};

struct LayoutCase {
  const char* line;
  OutputFormat format;
  Lines expected;
};

TEST_F(WrittenLayoutsTest, EachLayoutSetsWordsByTheirCharacters) {
  const LayoutCase cases[] = {
      // Each word starts in its first character's column; a word wider than its characters
      // moves the characters after it right; the Latin mark leans on its word, the text's own
      // mark stays in the character line.
      {"我爱北京。", kPy, {"Wo3 ai4 Bei3jing1.", "我  爱  北京。"}},
      {"我爱北京。", kHan, {"我  爱  北京。", "Wo3 ai4 Bei3jing1."}},
      // Digits stand in both lines, whole.
      {"2024年", kPy, {"2024 nian2", "2024 年"}},
      {"西安很美", kPyOnly, {"Xi1'an1 hen3 mei3"}},
      {"我们在西安。", kHanPy, {"我们(Wo3men5)在(zai4)西安(Xi1'an1)。"}},
      {"我们在西安。", kPyHan, {"(Wo3men5)我们(zai4)在(Xi1'an1)西安。"}},
      // Latin text and punctuation as written, without brackets.
      {"买iPhone。", kHanPy, {"买(Mai3)iPhone。"}},
      {"", kPy, {"", ""}},
      {"", kHanPy, {""}},
      // Nothing to spell: the pinyin line holds the text's own Latin text.
      {"OK", kPy, {"OK", "OK"}},
  };
  for (const LayoutCase& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(Annotate(c.line, Written(c.format)), c.expected);
  }
}

TEST_F(WrittenLayoutsTest, EveryWordStartsOverItsCharacters) {
  const char* lines[] = {
      "毛泽东和欧阳修在西安。",
      "他说：“我们2024年看过《红楼梦》，OK。”",
      "天安门广场很大，我们明天去银行。",
      "价格涨了3.5%，请发e-mail给我！",
      "，，，我们。。。他们",
  };
  for (const auto tone : {ToneStyle::Marked, ToneStyle::Numbered, ToneStyle::Plain}) {
    for (const char* line : lines) {
      SCOPED_TRACE(line);
      const Lines out = Annotate(line, Written(kPy, tone));
      ASSERT_EQ(out.size(), 2u);
      // The character line is the line with spaces put in.
      std::string unspaced = out[1];
      std::erase(unspaced, ' ');
      EXPECT_EQ(unspaced, line);
      // The pinyin line is the written line, with more space between words where the characters
      // need it.
      std::string written = out[0];
      std::string single = Annotate(line, Written(kPyOnly, tone))[0];
      for (std::string* s : {&written, &single}) std::erase(*s, ' ');
      EXPECT_EQ(written, single);
      // Each run of Han characters starts where a word of the pinyin line does.
      const std::vector<std::size_t> words = WordStarts(out[0]);
      for (const std::size_t start : HanRunStarts(out[1]))
        EXPECT_NE(std::find(words.begin(), words.end(), start), words.end()) << start << "\n"
                                                                             << out[0] << "\n"
                                                                             << out[1];
      EXPECT_FALSE(out[0].ends_with(' '));
    }
  }
}

TEST_F(WrittenLayoutsTest, ALineLooksTheSameWhateverCameBeforeIt) {
  for (const auto format : {kPy, kHan, kHanPy, kPyOnly}) {
    const ConversionSettings settings = Written(format);
    const Lines alone = Annotate("银行的利率。", settings);
    Separator separator = kStartSeparator;
    AnnotateLine(reader(), "他说：", settings, separator, TextForm::Unicode);
    EXPECT_EQ(AnnotateLine(reader(), "银行的利率。", settings, separator, TextForm::Unicode),
              alone);
  }
}

// A long line read in pieces gives the lines of the whole line once its pieces are put together.
TEST_F(WrittenLayoutsTest, PiecesOfALineMakeTheWholeLine) {
  const std::string line = "我们明天去银行。他们2024年在西安，OK。";
  for (const auto format : {kPy, kHan, kHanPy, kPyHan, kPyOnly}) {
    const ConversionSettings settings = Written(format);
    const Lines whole = Annotate(line, settings);
    for (const std::size_t cut :
         {line.find("去"), line.find("他"), line.find("2024"), line.find("，")}) {
      SCOPED_TRACE(cut);
      Separator separator = kStartSeparator;
      LinePosition position;
      AnnotatedLine out;
      Lines joined(whole.size());
      for (const std::string_view piece :
           {std::string_view(line).substr(0, cut), std::string_view(line).substr(cut)}) {
        AnnotatePiece(reader(), piece, TextForm::Unicode, settings, separator, position, out);
        const Lines lines = out.Lines();
        for (std::size_t i = 0; i < joined.size(); ++i) joined[i] += lines[i];
      }
      EXPECT_EQ(joined, whole);
      // Moving over the first piece without writing leaves the same place to go on from.
      Separator skipSeparator = kStartSeparator;
      LinePosition skipped;
      SkipPiece(reader(), std::string_view(line).substr(0, cut), TextForm::Unicode, settings,
                skipSeparator, skipped);
      Separator afterSeparator = kStartSeparator;
      LinePosition after;
      AnnotatePiece(reader(), std::string_view(line).substr(0, cut), TextForm::Unicode, settings,
                    afterSeparator, after, out);
      EXPECT_EQ(skipped.pinyinColumns, after.pinyinColumns);
      EXPECT_EQ(skipped.characterColumns, after.characterColumns);
    }
  }
}

// Code page 936 text is laid out as the same text in Unicode, in its own bytes.
TEST_F(WrittenLayoutsTest, CodePage936TextLaysOutAsUnicodeText) {
  const char* line = "他说：“我们在西安看过《红楼梦》。”";
  for (const auto tone : {ToneStyle::Marked, ToneStyle::Numbered}) {
    for (const auto format : {kPy, kHan, kHanPy, kPyHan, kPyOnly}) {
      const Lines unicode = Annotate(line, Written(format, tone));
      Lines decoded;
      for (const std::string& l :
           Annotate(cp936::EncodeFromUtf8(line), Written(format, tone), TextForm::Cp936))
        decoded.push_back(cp936::DecodeToUtf8(l));
      EXPECT_EQ(decoded, unicode);
    }
  }
}

TEST_F(WrittenLayoutsTest, TheHtmlPagePutsOneRubyOverEachWord) {
  std::string page;
  HtmlPage::AppendLine(reader(), "我们在西安。", TextForm::Unicode, Written(kPy, ToneStyle::Marked),
                       page);
  EXPECT_EQ(page,
            "<p><ruby>我们<rt>Wǒmen</rt></ruby><ruby>在<rt>zài</rt></ruby>"
            "<ruby>西安<rt>Xī&#39;ān</rt></ruby>。</p>\n");
}

}  // namespace
}  // namespace tolvane
