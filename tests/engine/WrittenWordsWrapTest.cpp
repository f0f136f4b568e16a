// The wrap pass of written pinyin: a line ends only between the words its pinyin is written in,
// on top of the typesetting rules of reading by context, and nothing of the text is lost.
#include <gtest/gtest.h>

#include <sstream>

#include "engine/WrapLines.h"
#include "engine/WrapPass.h"
#include "platform/UnicodeText.h"
#include "support/ChunkedRunFixture.h"
#include "support/LayoutSupport.h"
#include "support/ShippedDataFixture.h"
#include "support/TestSupport.h"

namespace tolvane {
namespace {

using Lines = std::vector<std::string>;
using Words = std::vector<OrthographicWord>;

// Lines wrapped under KeepWrittenWords with `words`, given as one chunk.
Lines Wrap(const Lines& source, std::size_t width, const WrittenWords& words,
           TextForm form = TextForm::Unicode) {
  std::ostringstream text;
  TextFileWriter out;
  out.Attach(text, {});
  WrapLines(LineList(test::JoinCrLf(source)), width, out, form, WrapRule::KeepWrittenWords, words);
  out.Close();
  return test::SplitCrLf(text.str());
}

OrthographicWord Word(std::uint32_t begin, std::uint32_t length) {
  return OrthographicWord{begin, length};
}

// Words given by hand for each line, so that the cutting is tested apart from the segmentation.
struct GivenWords {
  std::vector<std::pair<std::string, Words>> lines;

  std::span<const OrthographicWord> operator()(std::string_view line, TextForm) const {
    for (const auto& [text, words] : lines)
      if (text == line) return words;
    ADD_FAILURE() << "no words given for " << line;
    return {};
  }
};

TEST(WrittenWordsWrap, CutsOnlyBetweenTheWordsGiven) {
  const struct {
    std::string line;
    Words words;
    std::size_t width;
    Lines expected;
  } cases[] = {
      // Reading by context alone gives 我们去银|行了.
      {"我们去银行了", {Word(0, 2), Word(2, 1), Word(3, 2), Word(5, 1)}, 4, {"我们去", "银行了"}},
      {"我们去银行了",
       {Word(0, 2), Word(2, 1), Word(3, 2), Word(5, 1)},
       2,
       {"我们", "去", "银行", "了"}},
      {"我们去银行了", {Word(0, 2), Word(2, 1), Word(3, 3)}, 5, {"我们去", "银行了"}},
      // A closing mark takes the whole word before it along, not its last character.
      {"我爱北京。", {Word(0, 1), Word(1, 1), Word(2, 2)}, 4, {"我爱", "北京。"}},
      // An opening mark goes on with the word it opens.
      {"他说“银行”", {Word(0, 1), Word(1, 1), Word(3, 2)}, 4, {"他说", "“银行”"}},
      // A word longer than a line runs over it on a line of its own, like a long number.
      {"你去图书馆吗",
       {Word(0, 1), Word(1, 1), Word(2, 3), Word(5, 1)},
       2,
       {"你去", "图书馆", "吗"}},
      {"图书馆", {Word(0, 3)}, 1, {"图书馆"}},
      // Digits and Latin letters belong to no word and keep their own rule.
      {"今年是2024年", {Word(0, 2), Word(2, 1), Word(7, 1)}, 5, {"今年是", "2024年"}},
      {"用iPhone拍照", {Word(0, 1), Word(7, 2)}, 3, {"用", "iPhone", "拍照"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line + " at " + std::to_string(c.width));
    EXPECT_EQ(Wrap({c.line}, c.width, GivenWords{{{c.line, c.words}}}), c.expected);
  }
}

TEST(WrittenWordsWrap, BlankLinesStayAndEachLineHasItsOwnWords) {
  const GivenWords words{{{"我们", {Word(0, 2)}}, {"银行", {Word(0, 2)}}}};
  EXPECT_EQ(Wrap({"我们", "", "", "银行"}, 1, words), (Lines{"我们", "", "", "银行"}));
}

TEST(WrittenWordsWrap, WithoutWordsItCutsAsReadingByContext) {
  EXPECT_EQ(Wrap({"我们去银行了"}, 4, WrittenWords()), (Lines{"我们去银", "行了"}));
}

// A long line read in pieces: each piece brings its own words, counted from its own start.
TEST(WrittenWordsWrap, APieceCutBetweenWordsIsCutAsTheWholeLine) {
  const std::string half = "我们去银行。";
  const Words halfWords = {Word(0, 2), Word(2, 1), Word(3, 2)};
  Words wholeWords = halfWords;
  for (const OrthographicWord& word : halfWords) wholeWords.push_back(Word(word.begin + 6, 2));
  wholeWords[4].length = 1;
  const GivenWords words{{{half, halfWords}, {half + half, wholeWords}}};
  for (std::size_t width = 1; width <= 8; ++width) {
    SCOPED_TRACE(width);
    std::ostringstream text;
    TextFileWriter out;
    out.Attach(text, {});
    WrapCarry carry;
    WrapLines(LineList(half), width, out, TextForm::Unicode, true, carry,
              WrapRule::KeepWrittenWords, words);
    WrapLines(LineList(half + "\r\n"), width, out, TextForm::Unicode, false, carry,
              WrapRule::KeepWrittenWords, words);
    out.Close();
    EXPECT_EQ(test::SplitCrLf(text.str()), Wrap({half + half}, width, words));
  }
}

TEST(WrittenWordsWrap, TheSwitchChoosesTheRule) {
  ConversionSettings settings;
  EXPECT_EQ(WrapRuleFor(settings), WrapRule::EveryWidth);
  settings.polyphone = PolyphonePolicy::ByContext;
  EXPECT_EQ(WrapRuleFor(settings), WrapRule::KeepWords);
  settings.orthography = true;
  EXPECT_EQ(WrapRuleFor(settings), WrapRule::KeepWrittenWords);
}

std::size_t CharacterCount(std::string_view line, TextForm form) {
  std::size_t count = 0;
  for (std::size_t pos = 0; pos < line.size(); ++count)
    pos +=
        form == TextForm::Cp936 ? cp936::CharLengthAt(line, pos) : unicode::CharLengthAt(line, pos);
  return count;
}

const std::u32string kClosing = U"。，、；：？！”’）》」』】.,;:?!)";
const std::u32string kOpening = U"“‘（《「『【([";

char32_t FirstCodePoint(std::string_view utf8) {
  return utf8.empty() ? 0 : unicode::CodePointAt(utf8, 0, unicode::CharLengthAt(utf8, 0));
}

char32_t LastCodePoint(std::string_view utf8) {
  char32_t last = 0;
  unicode::ForEachCodePoint(utf8, [&](std::string_view, char32_t cp) { last = cp; });
  return last;
}

class WrittenWordsOfTheDataTest : public test::ShippedDataFixture {
 protected:
  ConversionSettings settings = Orthography();

  static ConversionSettings Orthography() {
    ConversionSettings settings;
    settings.polyphone = PolyphonePolicy::ByContext;
    settings.outputFormat = OutputFormat::rb_output_py_only;
    settings.orthography = true;
    return settings;
  }

  // Where a line of the source may not end: after the first character of each of its written
  // words, up to the last.
  std::vector<bool> InsideWords(std::string_view line, TextForm form) {
    std::vector<bool> inside(CharacterCount(line, form) + 1, false);
    for (const OrthographicWord& word : reader().Orthography(settings).Words(line, form))
      for (std::uint32_t k = 1; k < word.length; ++k) inside.at(word.begin + k) = true;
    return inside;
  }
};

TEST_F(WrittenWordsOfTheDataTest, LinesEndOnlyBetweenWordsAtEveryWidthInBothForms) {
  const Lines source = {
      "我们去银行了。",
      "",
      "他说：“北京大学的图书馆很大。”",
      "2024年12月，我买了iPhone 15，价格涨了3.5%。",
      "",
      "",
      "中华人民共和国成立于1949年（见《报告》第3页）……好！",
      "研究生命起源，请发e-mail给我们。",
  };
  for (const TextForm form : {TextForm::Unicode, TextForm::Cp936}) {
    Lines lines;
    for (const std::string& line : source)
      lines.push_back(form == TextForm::Cp936 ? test::Gb(line) : line);
    for (std::size_t width = 1; width <= 8; ++width) {
      SCOPED_TRACE((form == TextForm::Cp936 ? "cp936 at " : "UTF-8 at ") + std::to_string(width));
      const Lines wrapped = Wrap(lines, width, WrittenWordsFrom(reader(), settings), form);
      // The lines of each source line put together are the source line; blank lines stay
      // blank; no line ends inside a word.
      std::size_t next = 0;
      for (const std::string& line : lines) {
        const std::vector<bool> inside = InsideWords(line, form);
        std::string joined;
        do {
          ASSERT_LT(next, wrapped.size());
          joined += wrapped[next++];
          const std::size_t cut = CharacterCount(joined, form);
          EXPECT_FALSE(cut < inside.size() && inside[cut])
              << "cut inside a word after " << test::Utf8(joined);
        } while (joined.size() < line.size());
        EXPECT_EQ(joined, line);
      }
      EXPECT_EQ(next, wrapped.size());
      // The typesetting rules stay: no closing mark begins a line that goes on from the one
      // before, no opening mark ends one.
      for (std::size_t i = 1; i < wrapped.size(); ++i) {
        if (wrapped[i].empty() || wrapped[i - 1].empty()) continue;
        const std::string line = form == TextForm::Cp936 ? test::Utf8(wrapped[i]) : wrapped[i];
        const std::string before =
            form == TextForm::Cp936 ? test::Utf8(wrapped[i - 1]) : wrapped[i - 1];
        EXPECT_EQ(kClosing.find(FirstCodePoint(line)), std::u32string::npos) << line;
        EXPECT_EQ(kOpening.find(LastCodePoint(before)), std::u32string::npos) << before;
      }
    }
  }
}

// The words count a byte that forms no character as one character, as the wrap pass does, in
// either form: the cuts fall between the same words on either side of it.
TEST_F(WrittenWordsOfTheDataTest, StrayBytesCountAsOneCharacterInBothForms) {
  for (const TextForm form : {TextForm::Unicode, TextForm::Cp936}) {
    const auto text = [&](std::string_view utf8) {
      return form == TextForm::Cp936 ? test::Gb(utf8) : std::string(utf8);
    };
    const std::string line = text("我") + "\x80" + text("去银行");
    SCOPED_TRACE(form == TextForm::Cp936 ? "cp936" : "UTF-8");
    EXPECT_EQ(Wrap({line}, 2, WrittenWordsFrom(reader(), settings), form),
              (Lines{text("我") + "\x80", text("去"), text("银行")}));
  }
}

// Through a whole run: the re-cut text the run annotates, in the source's own encoding.
class WrittenWordsRunTest : public test::ChunkedRunFixture {};

TEST_F(WrittenWordsRunTest, TheRunReCutsBetweenWrittenWords) {
  const struct {
    bool orthography;
    bool gb;
    std::string expected;
  } cases[] = {
      {true, false, "我们去\r\n银行了。\r\n\r\n我去\r\n图书馆\r\n看书\r\n"},
      {true, true, "我们去\r\n银行了。\r\n\r\n我去\r\n图书馆\r\n看书\r\n"},
      // Without the switch, reading by context cuts between any two characters.
      {false, false, "我们去银\r\n行了。\r\n\r\n我去图书\r\n馆看书\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.orthography) + (c.gb ? " cp936" : " UTF-8"));
    ConversionSettings settings;
    settings.polyphone = PolyphonePolicy::ByContext;
    settings.outputFormat = OutputFormat::rb_output_py_only;
    settings.orthography = c.orthography;
    settings.wrapWidth = 4;
    const std::string source = "我们去银行了。\r\n\r\n我去图书馆看书\r\n";
    Run(c.gb ? test::Gb(source) : source, settings, 1, 0);
    const std::string temp = test::ReadBytes(program_ / "temp.txt");
    EXPECT_EQ(c.gb ? test::Utf8(temp) : temp, c.expected);
  }
}

// A line longer than a chunk is read in pieces ending after punctuation, where no word runs
// across: it is re-cut and written as the whole line is.
TEST_F(WrittenWordsRunTest, PiecesEndingAfterPunctuationAreReCutAsTheWholeLine) {
  std::string line;
  for (int i = 0; i < 30; ++i) line += "我们去银行了，科学家们来到了北京大学。";
  const std::string source = "短行\r\n" + line + "\r\n\r\n尾行\r\n";
  ConversionSettings settings;
  settings.polyphone = PolyphonePolicy::ByContext;
  settings.outputFormat = OutputFormat::rb_output_py_only;
  settings.orthography = true;
  for (const bool gb : {false, true}) {
    for (const int wrap : {3, 7}) {
      SCOPED_TRACE(std::to_string(wrap) + (gb ? " cp936" : " UTF-8"));
      settings.wrapWidth = wrap;
      const std::string bytes = gb ? test::Gb(source) : source;
      const std::string whole = Run(bytes, settings, 1, 1 << 30);
      const std::string wholeTemp = test::ReadBytes(program_ / "temp.txt");
      EXPECT_EQ(Run(bytes, settings, 2, 64), whole);
      EXPECT_EQ(test::ReadBytes(program_ / "temp.txt"), wholeTemp);
    }
  }
}

}  // namespace
}  // namespace tolvane
