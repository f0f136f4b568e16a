#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ApiTestSupport.h"
#include "support/TestSupport.h"
#include "tolvane/tolvane.h"

namespace tolvane {
namespace {

using Strings = std::vector<std::string>;

Converter ConverterWith(const Options& options) {
  return Converter(options, test::BuildProgramFolder());
}

Options With(void (*change)(Options&)) {
  Options options;
  change(options);
  return options;
}

// Each option against the readings it must give: the syllables a dictionary gives, in the form
// the option asks for.
struct ReadingCase {
  const char* name;
  Options options;
  const char* text;
  Strings readings;
};

const ReadingCase kReadingCases[] = {
    {"context reads 行 as a bank", {}, "银行", {"yín", "háng"}},
    {"context reads 行 as walking", {}, "行走", {"xíng", "zǒu"}},
    {"numbered tones",
     With([](Options& o) { o.tone = Tone::Numbered; }),
     "中国",
     {"zhong1", "guo2"}},
    {"plain tones", With([](Options& o) { o.tone = Tone::Plain; }), "中国", {"zhong", "guo"}},
    {"spoken neutral tone", {}, "朋友", {"péng", "you"}},
    {"citation tones",
     With([](Options& o) { o.neutralTones = NeutralTones::Citation; }),
     "朋友",
     {"péng", "yǒu"}},
    {"without sandhi", {}, "一个", {"yī", "gè"}},
    {"sandhi of 一", With([](Options& o) { o.sandhi = true; }), "一个", {"yí", "gè"}},
    {"sandhi of 不", With([](Options& o) { o.sandhi = true; }), "不是", {"bú", "shì"}},
    {"不 without sandhi", {}, "不是", {"bù", "shì"}},
    {"context reads 长 as growing", {}, "长大", {"zhǎng", "dà"}},
    {"first reading reads every character alone",
     With([](Options& o) { o.policy = Policy::First; }),
     "长大",
     {"cháng", "dà"}},
    {"erhua written r", {}, "哪儿", {"nǎ", "r"}},
    {"numbered light syllable",
     With([](Options& o) { o.tone = Tone::Numbered; }),
     "朋友",
     {"peng2", "you5"}},
};

TEST(ConverterReadings, EachOptionGivesTheReadingsItAsksFor) {
  for (const ReadingCase& each : kReadingCases) {
    SCOPED_TRACE(each.name);
    EXPECT_EQ(ConverterWith(each.options).Readings(each.text), each.readings);
  }
}

TEST(ConverterReadings, AllReadingsJoinEveryReadingOfAPolyphoneWithASlash) {
  const Converter converter = ConverterWith(With([](Options& o) { o.policy = Policy::All; }));
  const Strings readings = converter.Readings("行中");
  ASSERT_EQ(readings.size(), 2u);
  // 行 has both its readings, in the table's order, and nothing else; 中 has its two.
  EXPECT_NE(readings[0].find("xíng"), std::string::npos) << readings[0];
  EXPECT_NE(readings[0].find("háng"), std::string::npos) << readings[0];
  EXPECT_NE(readings[0].find('/'), std::string::npos) << readings[0];
  EXPECT_EQ(readings[0].find(' '), std::string::npos) << readings[0];
  EXPECT_NE(readings[1].find("zhōng"), std::string::npos) << readings[1];
  EXPECT_NE(readings[1].find("zhòng"), std::string::npos) << readings[1];
}

TEST(ConverterReadings, OneEntryPerCodePointWithNothingForWhatHasNoReading) {
  const Converter converter = ConverterWith({});
  // Latin letters, digits, punctuation, spaces and both kinds of line end read as nothing; a
  // character beyond the Basic Multilingual Plane counts as one code point.
  EXPECT_EQ(converter.Readings("A1 中，\r\n国\n"),
            (Strings{"", "", "", "zhōng", "", "", "", "guó", ""}));
  EXPECT_EQ(converter.Readings("𠀀中😀"), (Strings{"hē", "zhōng", ""}));
  EXPECT_EQ(converter.Readings(""), Strings());
  EXPECT_EQ(converter.Readings("\n\n"), (Strings{"", ""}));
}

TEST(ConverterReadings, InvalidUtf8IsAnErrorNamingTheByte) {
  const Converter converter = ConverterWith({});
  const struct {
    std::string text;
    const char* message;
  } cases[] = {
      {"中\xff", "Invalid UTF-8 at byte 3"},           {"ab\xe4\xb8", "Invalid UTF-8 at byte 2"},
      {"\xc0\x80", "Invalid UTF-8 at byte 0"},          // an overlong NUL
      {"x\xed\xa0\x80", "Invalid UTF-8 at byte 1"},     // a surrogate
      {"\xf4\x90\x80\x80", "Invalid UTF-8 at byte 0"},  // beyond U+10FFFF
  };
  for (const auto& each : cases) {
    SCOPED_TRACE(each.message);
    for (const auto& call : {+[](const Converter&c, const std::string&t) { c.Readings(t); },
                             +[](const Converter&c, const std::string&t) { c.AnnotateLine(t); },
                             +[](const Converter&c, const std::string&t) { c.AnnotateText(t); },
                             +[](const Converter&c, const std::string&t) { c.HtmlFragment(t); }}) {
      try {
        call(converter, each.text);
        ADD_FAILURE() << "no error";
      } catch (const Error& error) {
        EXPECT_STREQ(error.what(), each.message);
      }
    }
  }
}

// A user's words, of one to eight characters, take the place of the built-in readings.
TEST(ConverterReadings, UserWordsOfAnyLengthOverrideTheBuiltInReadings) {
  const struct {
    UserWord word;
    const char* text;
    Strings readings;
  } cases[] = {
      {{"行", "hang2"}, "行走", {"háng", "zǒu"}},
      {{"银行", "yin2 xing2"}, "我去银行", {"wǒ", "qù", "yín", "xíng"}},
      {{"重庆", "zhong4 qing4"}, "重庆", {"zhòng", "qìng"}},
      {{"长城站", "zhang3 cheng2 zhan4"}, "长城站", {"zhǎng", "chéng", "zhàn"}},
      {{"一二三四五六七八", "yao1 er4 san1 si4 wu3 liu4 qi1 ba1"},
       "一二三四五六七八",
       {"yāo", "èr", "sān", "sì", "wǔ", "liù", "qī", "bā"}},
  };
  for (const auto& each : cases) {
    SCOPED_TRACE(each.word.word);
    Options options;
    options.userWords = {each.word};
    EXPECT_EQ(ConverterWith(options).Readings(each.text), each.readings);
    // Without the word the built-in reading stands.
    EXPECT_NE(ConverterWith({}).Readings(each.text), each.readings);
  }
}

TEST(ConverterReadings, AMalformedUserWordIsAnErrorNamingIt) {
  for (const UserWord& word : {UserWord{"银行", "yin2"}, UserWord{"银行", "yin2 xyz7"},
                               UserWord{"", "yin2"}, UserWord{"银 行", "yin2 hang2"}}) {
    Options options;
    options.userWords = {word};
    try {
      ConverterWith(options);
      ADD_FAILURE() << "no error for " << word.word;
    } catch (const Error& error) {
      EXPECT_NE(std::string(error.what()).find("\"" + word.word + "\""), std::string::npos)
          << error.what();
    }
    EXPECT_THROW(ConverterWith({}).WithOptions(options), Error);
  }
}

TEST(ConverterReadings, WithOptionsChangesTheOptionsAndKeepsTheOriginal) {
  const Converter marked = ConverterWith({});
  Options numberedOptions;
  numberedOptions.tone = Tone::Numbered;
  const Converter numbered = marked.WithOptions(numberedOptions);
  EXPECT_EQ(numbered.Readings("中"), Strings{"zhong1"});
  EXPECT_EQ(marked.Readings("中"), Strings{"zhōng"});
  EXPECT_EQ(numbered.options().tone, Tone::Numbered);
  const Converter copy = numbered;
  EXPECT_EQ(copy.Readings("中"), Strings{"zhong1"});
}

// One line in each layout; the two-line layouts join their lines with "\n".
TEST(ConverterAnnotateLine, EachLayoutWritesTheLineAsItsLayoutDoes) {
  const struct {
    Options options;
    const char* line;
    const char* expected;
  } cases[] = {
      {{}, "银行", "yín háng\n银  行"},
      {With([](Options& o) { o.layout = Layout::Han; }), "银行", "银  行\nyín háng"},
      {With([](Options& o) { o.layout = Layout::HanPy; }), "银行", "银(yín)行(háng)"},
      {With([](Options& o) { o.layout = Layout::PyHan; }), "银行", "(yín)银(háng)行"},
      {With([](Options& o) { o.layout = Layout::PyOnly; }), "银行", "yín háng"},
      {With([](Options& o) { o.layout = Layout::Html; }), "银行",
       "<p><ruby>银<rt>yín</rt></ruby><ruby>行<rt>háng</rt></ruby></p>"},
      {With([](Options& o) {
         o.layout = Layout::PyOnly;
         o.orthography = true;
       }),
       "我们去北京。", "Wǒmen qù Běijīng."},
  };
  for (const auto& each : cases) {
    SCOPED_TRACE(test::Describe(each.options));
    EXPECT_EQ(ConverterWith(each.options).AnnotateLine(each.line), each.expected);
  }
}

TEST(ConverterAnnotateLine, ALineEndIsAnError) {
  EXPECT_THROW(ConverterWith({}).AnnotateLine("中\n国"), Error);
}

TEST(ConverterHtmlFragment, EachLineIsAParagraphWithoutThePage) {
  Options options;
  options.layout = Layout::Html;
  const std::string fragment = ConverterWith({}).HtmlFragment("中\n\nA<b>");
  EXPECT_EQ(fragment, "<p><ruby>中<rt>zhōng</rt></ruby></p>\n<p></p>\n<p>A&lt;b&gt;</p>\n");
}

TEST(ConverterOptions, TheOrthographyCannotGoWithTheClassicPolicies) {
  Options options;
  options.orthography = true;
  options.policy = Policy::First;
  EXPECT_THROW(ConverterWith(options), Error);
}

TEST(ConverterVersion, IsTheProjectsVersion) {
  const std::string version = Version();
  EXPECT_EQ(version, TOLVANE_PROJECT_VERSION);
}

}  // namespace
}  // namespace tolvane
