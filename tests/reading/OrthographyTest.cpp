// Written pinyin with the shipped data, table-driven from the basic rules of Hanyu Pinyin
// orthography: words joined and apart, proper nouns and personal names, apostrophes, Latin
// punctuation, numerals and Latin text kept, every tone style; and its parts on their own.
#include <gtest/gtest.h>

#include "engine/AnnotateLine.h"
#include "platform/Error.h"
#include "reading/orthography/LatinPunctuation.h"
#include "reading/orthography/ProperNouns.h"
#include "reading/orthography/SyllableSpelling.h"
#include "reading/orthography/WordUnits.h"
#include "reading/shared/DataFiles.h"
#include "support/SessionSupport.h"
#include "support/TestSupport.h"

namespace tolvane {
namespace {

struct Case {
  const char* text;
  const char* written;
};

class OrthographyTest : public testing::Test {
 protected:
  void SetUp() override {
    test::LinkShippedReadingData(folder_.path());
    StartSession(session_, folder_.path());
  }
  static ConversionSettings Settings(ToneStyle tone = ToneStyle::Marked) {
    ConversionSettings settings;
    settings.polyphone = PolyphonePolicy::ByContext;
    settings.outputFormat = OutputFormat::rb_output_py_only;
    settings.orthography = true;
    settings.toneStyle = tone;
    return settings;
  }
  std::string Written(std::string_view text, ToneStyle tone = ToneStyle::Marked) {
    return std::string(reader_().Orthography(Settings(tone)).Spell(text, TextForm::Unicode));
  }
  void ExpectAll(std::initializer_list<Case> cases, ToneStyle tone = ToneStyle::Marked) {
    for (const Case& c : cases) EXPECT_EQ(Written(c.text, tone), c.written) << c.text;
  }

  test::TempDir folder_;
  Session session_;
  test::CurrentReadings reader_{session_};
};

TEST_F(OrthographyTest, JoinsTheSyllablesOfAWordAndSeparatesWords) {
  ExpectAll({
      {"我们都要冰水。", "Wǒmen dōu yào bīngshuǐ."},
      // 的 地 得 apart, even where the dictionary joins them.
      {"辣的还是不辣的？", "Là de háishì bù là de?"},
      {"小王跑得很远。", "Xiǎo Wáng pǎo de hěn yuǎn."},
      {"慢慢地走着。", "Mànmàn de zǒuzhe."},
      // 着 了 过 joined to the verb, but 了 ending a sentence.
      {"我们看过电影。", "Wǒmen kànguò diànyǐng."},
      {"他来了。", "Tā lái le."},
      {"我买了iPhone。", "Wǒ mǎile iPhone."},
  });
}

TEST_F(OrthographyTest, WritesNumeralsApartFromTheirMeasureWords) {
  ExpectAll({
      {"二十五个朋友", "Èrshíwǔ gè péngyou"},
      {"我有三百五十个苹果。", "Wǒ yǒu sānbǎi wǔshí gè píngguǒ."},
      {"他是第一个来的。", "Tā shì dì-yī gè lái de."},
      {"等一下。", "Děng yīxià."},
  });
}

TEST_F(OrthographyTest, CapitalisesProperNounsAndPersonalNames) {
  ExpectAll({
      {"我爱北京天安门。", "Wǒ ài Běijīng Tiān'ānmén."},
      {"你喜欢《星球大战》吗？", "Nǐ xǐhuan \"Xīngqiú Dàzhàn\" ma?"},
      // A surname and a given name, each capitalised; a compound surname is one word.
      {"毛泽东和欧阳修在西安。", "Máo Zédōng hé Ōuyáng Xiū zài Xī'ān."},
      {"欧阳修、司马光", "Ōuyáng Xiū, Sīmǎ Guāng"},
      // A title after a surname stays small; 老 and 小 before one are capitalised.
      {"王老师来了！", "Wáng lǎoshī lái le!"},
      {"小王来了。", "Xiǎo Wáng lái le."},
      // A full name the word list holds as one word is still surname and given name.
      {"我叫王建国。", "Wǒ jiào Wáng Jiànguó."},
      {"他是李小龙的朋友。", "Tā shì Lǐ Xiǎolóng de péngyou."},
  });
}

TEST_F(OrthographyTest, WritesANameNoDictionaryHoldsAsSurnameAndGivenName) {
  ExpectAll({
      // A common surname before one or two characters the dictionary has no word for.
      {"我叫张伟。", "Wǒ jiào Zhāng Wěi."},
      {"陈静和赵丽来了。", "Chén Jìng hé Zhào Lì lái le."},
      {"我们跟吴磊见面。", "Wǒmen gēn Wú Lěi jiànmiàn."},
      {"老师叫王芳回答。", "Lǎoshī jiào Wáng Fāng huídá."},
      // A compound surname with a given name of its own.
      {"我认识司马建。", "Wǒ rènshi Sīmǎ Jiàn."},
      // A surname after 姓, and 小 with a surname that the dictionary made one word.
      {"他姓钱。", "Tā xìng Qián."},
      {"小张来了。", "Xiǎo Zhāng lái le."},
  });
}

TEST_F(OrthographyTest, LeavesSurnameCharactersThatAreNoNameSmall) {
  ExpectAll({
      {"国王来了。", "Guówáng lái le."},  // 王 inside a word
      {"他很高。", "Tā hěn gāo."},        // 高 after an adverb, with nothing after it
      {"马跑了。", "Mǎ pǎo le."},         // a verb is no given name
      {"小马很可爱。", "Xiǎomǎ hěn kě'ài."},
      {"周二见。", "Zhōu'èr jiàn."},
      // Words the word list tags as names by mistake.
      {"能够进行双启动。", "Nénggòu jìnxíng shuāngqǐdòng."},
  });
}

TEST_F(OrthographyTest, WritesADemonstrativeApartFromItsMeasureWordButZhege) {
  ExpectAll({
      {"这种酒很好。", "Zhè zhǒng jiǔ hěn hǎo."},
      {"那家店很贵。", "Nà jiā diàn hěn guì."},
      {"这位老师", "Zhè wèi lǎoshī"},
      {"这个不贵。", "Zhège bù guì."},
      {"哪个？", "Nǎge?"},
      {"这些人这样做。", "Zhèxiē rén zhèyàng zuò."},
  });
}

TEST_F(OrthographyTest, WritesAQuestionOfTheFormANotAAsThreeWordsWithALightBu) {
  ExpectAll({
      {"你去不去？", "Nǐ qù bu qù?"},
      {"他是不是老师？", "Tā shì bu shì lǎoshī?"},
      {"喜欢不喜欢？", "Xǐhuan bu xǐhuan?"},
      {"你喜不喜欢？", "Nǐ xǐ bu xǐhuan?"},
      {"他不来。", "Tā bù lái."},
  });
}

TEST_F(OrthographyTest, PutsAnApostropheBeforeAOrEInsideAWordOnly) {
  ExpectAll({
      {"西安", "Xī'ān"},
      {"女儿去西安。", "Nǚ'ér qù Xī'ān."},
      {"爱安静", "Ài ānjìng"},
  });
}

TEST_F(OrthographyTest, WritesChinesePunctuationAsLatinWithASpaceAfter) {
  ExpectAll({
      {"他说：“走吧。”", "Tā shuō: \"Zǒu ba.\""},
      {"好，对；是！真的？", "Hǎo, duì; shì! Zhēn de?"},
      {"苹果、香蕉", "Píngguǒ, xiāngjiāo"},
      {"《红楼梦》（小说）", "\"Hónglóu Mèng\" (xiǎoshuō)"},
      {"他‘好’人", "Tā 'hǎo' rén"},
      {"好……走", "Hǎo... zǒu"},
      {"好⋯⋯走", "Hǎo... zǒu"},
      {"好——", "Hǎo—"},
  });
}

TEST_F(OrthographyTest, KeepsDigitsAndLatinTextAsTheyStand) {
  ExpectAll({
      {"2024年12月，我花了9.9元。", "2024 nián 12 yuè, wǒ huāle 9.9 yuán."},
      {"我用Linux和C++。", "Wǒ yòng Linux hé C++."},
      {"他说\"好\"。", "Tā shuō \"hǎo\"."},
      {"", ""},
  });
}

TEST_F(OrthographyTest, WritesEveryToneStyle) {
  ExpectAll({{"我爱北京天安门。", "Wo3 ai4 Bei3jing1 Tian1'an1men2."},
             {"女儿去西安。", "Nv3'er2 qu4 Xi1'an1."}},
            ToneStyle::Numbered);
  ExpectAll(
      {{"我爱北京天安门。", "Wo ai Beijing Tian'anmen."}, {"女儿去西安。", "Nü'er qu Xi'an."}},
      ToneStyle::Plain);
}

TEST_F(OrthographyTest, ThePinyinOnlyLayoutWritesItLineByLine) {
  Separator separator = kStartSeparator;
  const ConversionSettings settings = Settings();
  EXPECT_EQ(AnnotateLine(reader_(), "我爱北京。", settings, separator, TextForm::Unicode),
            std::vector<std::string>{"Wǒ ài Běijīng."});
  // In code page 936 text too, and with no separator carried to the next line.
  EXPECT_EQ(AnnotateLine(reader_(), test::Gb("他来了！"), settings, separator),
            std::vector<std::string>{test::Gb("Tā lái le!")});
  EXPECT_EQ(PreviewLines(reader_(), "西安", settings, TextForm::Unicode),
            std::vector<std::string>{"Xī'ān"});
}

TEST(WordUnitsTest, CitationTonesKeepTheFullTonesOfZhegeAndANotA) {
  const auto nouns = ProperNouns::FromText("", "n.txt");
  const std::u32string text = U"这个是不是";
  const std::vector<Segment> segments = {{0, 2}, {2, 1}, {3, 1}, {4, 1}};
  for (const NeutralTone light : {NeutralTone::Spoken, NeutralTone::Citation}) {
    std::vector<std::string_view> syllables = {"zhe4", "ge4", "shi4", "bu4", "shi4"};
    std::vector<OrthographicWord> words;
    OrthographicWords(text, syllables, segments, *nouns, words, light);
    const bool spoken = light == NeutralTone::Spoken;
    EXPECT_EQ(syllables[1], spoken ? "ge5" : "ge4");
    EXPECT_EQ(syllables[3], spoken ? "bu5" : "bu4");
    EXPECT_EQ(words.size(), 4u);
  }
}

// A file of a user's own need not be sorted; where a word stands twice, its first line counts.
TEST(ProperNounsTest, FindsEveryWordOfAnUnsortedFile) {
  const auto nouns = ProperNouns::FromText(
      "西安\tAa\n北京\tAa\n王建国\tAAa\n北京\tAA\n欧阳修\tAaA\r\n司马\tsurname\n王\tsurname\n",
      "n.txt");
  const struct {
    std::u32string_view word;
    std::string_view pattern;
  } cases[] = {{U"西安", "Aa"},    {U"北京", "Aa"}, {U"王建国", "AAa"},
               {U"欧阳修", "AaA"}, {U"西", ""},     {U"西安市", ""}};
  for (const auto& c : cases) EXPECT_EQ(nouns->PatternOf(c.word), c.pattern);
  EXPECT_TRUE(nouns->IsSurname(U"王"));
  EXPECT_TRUE(nouns->IsSurname(U"司马"));
  EXPECT_FALSE(nouns->IsSurname(U"西安"));
  EXPECT_FALSE(nouns->IsSurname(U""));
}

TEST(ProperNounsTest, ReadsPatternsAndSurnamesAndRejectsMalformedLines) {
  const auto nouns = ProperNouns::FromText("# comment\n毛泽东\tAAa\n欧阳\tsurname\n", "n.txt");
  EXPECT_EQ(nouns->PatternOf(U"毛泽东"), "AAa");
  EXPECT_EQ(nouns->PatternOf(U"毛泽"), "");
  EXPECT_TRUE(nouns->IsSurname(U"欧阳"));
  EXPECT_FALSE(nouns->IsSurname(U"毛"));
  EXPECT_EQ(nouns->LongestWord(), 3u);
  for (const char* bad : {"毛泽东\n", "毛泽东\tAA\n", "毛泽东\taAa\n", "毛泽东\tAXa\n", "\tAa\n"}) {
    try {
      ProperNouns::FromText(bad, "n.txt");
      ADD_FAILURE() << bad;
    } catch (const Error& e) {
      EXPECT_EQ(std::string(e.what()).rfind("n.txt:1: ", 0), 0u) << e.what();
    }
  }
}

TEST(LatinPunctuationTest, MapsEveryChineseMark) {
  using Side = LatinMark::Side;
  const struct {
    char32_t cp;
    LatinMark mark;
  } cases[] = {
      {U'。', {".", Side::Closing, true}}, {U'！', {"!", Side::Closing, true}},
      {U'？', {"?", Side::Closing, true}}, {U'，', {",", Side::Closing}},
      {U'、', {",", Side::Closing}},       {U'；', {";", Side::Closing}},
      {U'：', {":", Side::Closing}},       {U'“', {"\"", Side::Opening}},
      {U'”', {"\"", Side::Closing}},       {U'‘', {"'", Side::Opening}},
      {U'’', {"'", Side::Closing}},        {U'《', {"\"", Side::Opening}},
      {U'》', {"\"", Side::Closing}},      {U'（', {"(", Side::Opening}},
      {U'）', {")", Side::Closing}},       {U'—', {"—", Side::Closing}},
      {U'…', {"...", Side::Closing}},
  };
  for (const auto& c : cases) {
    const auto mark = LatinPunctuation(c.cp, U'好');
    ASSERT_TRUE(mark.has_value()) << static_cast<unsigned>(c.cp);
    EXPECT_EQ(*mark, c.mark) << static_cast<unsigned>(c.cp);
  }
  EXPECT_TRUE(LatinPunctuation(U'—', U'—')->secondHalf);
  EXPECT_TRUE(LatinPunctuation(U'…', U'…')->secondHalf);
  EXPECT_FALSE(LatinPunctuation(U'好', 0).has_value());
  EXPECT_FALSE(LatinPunctuation(U'.', 0).has_value());
}

TEST(SyllableSpellingTest, CapitalsAndApostrophes) {
  const struct {
    const char* in;
    const char* out;
  } capitals[] = {{"bei3", "Bei3"}, {"ōu", "Ōu"}, {"ài", "Ài"},    {"ěr", "Ěr"},
                  {"ó", "Ó"},       {"", ""},     {"2024", "2024"}};
  for (const auto& c : capitals) EXPECT_EQ(Capitalised(c.in), c.out) << c.in;
  for (const char* s : {"an1", "ou1", "er2"}) EXPECT_TRUE(NeedsApostrophe(s)) << s;
  for (const char* s : {"yi1", "wu3", "r5", ""}) EXPECT_FALSE(NeedsApostrophe(s)) << s;
  EXPECT_TRUE(IsNumberedSyllable("lv4"));
  for (const char* s : {"lv", "4", "Lv4", "l v4"}) EXPECT_FALSE(IsNumberedSyllable(s)) << s;
}

}  // namespace
}  // namespace tolvane
