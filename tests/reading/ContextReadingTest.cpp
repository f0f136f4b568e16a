// Reading by context with the shipped data: words decide polyphones, every ideograph has a
// reading, user entries win, and every layout and tone style takes the readings.
#include <gtest/gtest.h>

#include "engine/AnnotateLine.h"
#include "platform/Error.h"
#include "platform/TextCodec.h"
#include "platform/UnicodeText.h"
#include "reading/classic/ReadingTable.h"
#include "reading/shared/DataFiles.h"
#include "support/ShippedDataFixture.h"
#include "support/TestSupport.h"

namespace tolvane {
namespace {

using test::Gb;

class ContextReadingTest : public test::ShippedDataFixture {
 protected:
  void WriteUserDictionary(const std::string& keysUtf8, const std::string& readingsUtf8) {
    test::WriteBytes(folder_ / kStandardKeysFile, Gb(keysUtf8));
    test::WriteBytes(folder_ / kStandardReadingsFile, Gb(readingsUtf8));
    session.ReloadDataFiles();
  }
  static ConversionSettings Context(ToneStyle tone = ToneStyle::Numbered) {
    ConversionSettings settings;
    settings.polyphone = PolyphonePolicy::ByContext;
    settings.toneStyle = tone;
    return settings;
  }
  // The readings of a line of UTF-8 text, in UTF-8.
  std::vector<std::string> Read(const std::string& textUtf8,
                                const ConversionSettings& settings = Context()) {
    return reader.OfUtf8Line(textUtf8, settings);
  }
};

using Readings = std::vector<std::string>;

TEST_F(ContextReadingTest, TheWordsAroundAPolyphoneDecideItsReading) {
  const struct {
    const char* text;
    Readings expected;
  } cases[] = {
      {"银行", {"yin2", "hang2"}},
      {"行走", {"xing2", "zou3"}},
      {"他在银行工作", {"ta1", "zai4", "yin2", "hang2", "gong1", "zuo4"}},
      {"长大", {"zhang3", "da4"}},
      {"长城", {"chang2", "cheng2"}},
      {"重庆", {"chong2", "qing4"}},
      {"重要", {"zhong4", "yao4"}},
      {"天安门上红旗飘", {"tian1", "an1", "men2", "shang4", "hong2", "qi2", "piao1"}},
      {"已经", {"yi3", "jing1"}},
      {"银行家在行走", {"yin2", "hang2", "jia1", "zai4", "xing2", "zou3"}},
  };
  for (const auto& c : cases) EXPECT_EQ(Read(c.text), c.expected) << c.text;
}

// Where no word decides, a character that mostly lives inside words is read as its words read
// it; one that readers mostly meet alone keeps the reading it has alone.
TEST_F(ContextReadingTest, OutsideAnyWordACharacterTakesTheReadingOfItsKind) {
  const struct {
    const char* text;
    std::size_t index;
    const char* expected;
  } cases[] = {
      {"帘蛤科", 1, "ge2"},       // the clams' family names, as 文蛤, 蛤蜊
      {"蛤蟆", 0, "ha2"},         // its own word still decides
      {"阿尔代什省", 3, "shi2"},  // a name, as 什锦
      {"什么", 0, "shen2"},
      {"质量很差", 3, "cha4"},  // running text meets chà far more often than chā
      {"我吃了饭", 2, "le5"},
  };
  for (const auto& c : cases) {
    const Readings readings = Read(c.text);
    ASSERT_GT(readings.size(), c.index) << c.text;
    EXPECT_EQ(readings[c.index], c.expected) << c.text;
  }
}

TEST_F(ContextReadingTest, EveryIdeographHasAReadingAndOtherCharactersNone) {
  // Beyond the built-in table's 6727: traditional, rare, Extension B.
  const Readings readings = Read("國堃𠀀a，😀");
  ASSERT_EQ(readings.size(), 6u);
  EXPECT_EQ(readings[0], "guo2");
  EXPECT_EQ(readings[1], "kun1");
  EXPECT_NE(readings[2], " ");
  EXPECT_EQ((Readings{readings[3], readings[4], readings[5]}), (Readings{" ", " ", " "}));
  // Code page 936 lines are read by the same words.
  const auto gb = ReadingsOfLine(reader(), Gb("银行行走"), TextForm::Cp936, Context());
  EXPECT_EQ(std::vector<std::string>(gb.begin(), gb.end()),
            (Readings{"yin2", "hang2", "xing2", "zou3"}));
}

TEST_F(ContextReadingTest, NeutralTonesAndErhuaRenderInEveryToneStyle) {
  // 的 keeps its own neutral tone; 儿 is read r in 哪儿 as spoken, er5 in citation tones:
  // readings the table entries lack.
  EXPECT_EQ(Read("我的"), (Readings{"wo3", "de5"}));
  EXPECT_EQ(Read("哪儿"), (Readings{"na3", "r5"}));
  EXPECT_EQ(Read("哪儿", Context(ToneStyle::Marked)), (Readings{"nǎ", "r"}));
  EXPECT_EQ(Read("哪儿", Context(ToneStyle::Plain)), (Readings{"na", "r"}));
  ConversionSettings citation = Context(ToneStyle::Marked);
  citation.neutralTone = NeutralTone::Citation;
  EXPECT_EQ(Read("哪儿", citation), (Readings{"nǎ", "er"}));
  citation.toneStyle = ToneStyle::Numbered;
  EXPECT_EQ(Read("哪儿", citation), (Readings{"na3", "er5"}));
  EXPECT_EQ(Read("绿色", Context(ToneStyle::Marked)), (Readings{"lǜ", "sè"}));
}

TEST_F(ContextReadingTest, UserEntriesOfOneTwoAndThreeCharactersWin) {
  WriteUserDictionary("长\r\n欧阳\r\n欧阳修\r\n司马\r\n诸葛\r\n",
                      "CHANG\r\nOuyang\r\nOu yang xiu\r\nSi'ma\r\nZhugeliang\r\n");
  // One character: its reading wherever it stands, inside a word too.
  EXPECT_EQ(Read("长城"), (Readings{"CHANG", "cheng2"}));
  // Two: a word the segmentation takes, its reading cut by pinyin syllables or at apostrophes.
  // 先生 keeps the light syllable of its own word.
  EXPECT_EQ(Read("欧阳先生"), (Readings{"Ou", "yang", "xian1", "sheng5"}));
  EXPECT_EQ(Read("司马光"), (Readings{"Si", "ma", "guang1"}));
  // Three, cut at blanks; it wins over the two-character word inside it.
  EXPECT_EQ(Read("欧阳修"), (Readings{"Ou", "yang", "xiu"}));
  // A reading that makes no two syllables: the first character carries it, the other none.
  EXPECT_EQ(Read("诸葛"), (Readings{"Zhugeliang", " "}));
  // Other tone styles hand user readings out as stored.
  EXPECT_EQ(Read("欧阳", Context(ToneStyle::Marked)), (Readings{"Ou", "yang"}));
}

TEST_F(ContextReadingTest, TheWadeGilesSwitchChoosesTheDictionary) {
  test::WriteBytes(folder_ / kWadeGilesKeysFile, Gb("欧阳\r\n"));
  test::WriteBytes(folder_ / kWadeGilesReadingsFile, "Ou-yang\r\n");
  session.ReloadDataFiles();
  ConversionSettings settings = Context();
  EXPECT_EQ(Read("欧阳", settings), (Readings{"ou1", "yang2"}));
  settings.wadeGiles = true;
  EXPECT_EQ(Read("欧阳", settings), (Readings{"Ou-yang", " "}));
}

TEST_F(ContextReadingTest, EveryLayoutAndToneStyleTakesTheContextReadings) {
  const std::string line = "天安门上，国重";
  for (const auto tone : {ToneStyle::Numbered, ToneStyle::Marked, ToneStyle::Plain}) {
    for (const auto format :
         {OutputFormat::rb_output_py, OutputFormat::rb_output_han, OutputFormat::rb_output_hanpy,
          OutputFormat::rb_output_pyhan, OutputFormat::rb_output_py_only}) {
      ConversionSettings settings = Context(tone);
      settings.outputFormat = format;
      SCOPED_TRACE(std::to_string(static_cast<int>(tone)) + " " +
                   std::to_string(static_cast<int>(format)));
      const Readings readings = Read(line, settings);
      // The layouts work as they do for the classic lookup: replay them from the readings.
      std::string expectedInline;
      std::string readingsOnly;
      for (std::size_t i = 0, pos = 0; pos < line.size(); ++i) {
        const std::size_t length = unicode::CharLengthAt(line, pos);
        const std::string character = line.substr(pos, length);
        pos += length;
        const bool found = readings[i] != " ";
        if (format == OutputFormat::rb_output_pyhan) {
          expectedInline += found ? "(" + readings[i] + ")" + character : character;
        } else {
          expectedInline += character + (found ? "(" + readings[i] + ")" : "");
        }
        // Readings alone keep the characters without a reading as written, one space parting
        // two readings.
        const bool afterReading = i > 0 && readings[i - 1] != " ";
        readingsOnly += found ? (afterReading ? " " : "") + readings[i] : character;
      }
      Separator separator = kStartSeparator;
      const auto out = AnnotateLine(reader(), line, settings, separator, TextForm::Unicode);
      if (format == OutputFormat::rb_output_hanpy || format == OutputFormat::rb_output_pyhan) {
        EXPECT_EQ(out, Readings{expectedInline});
      } else if (format == OutputFormat::rb_output_py_only) {
        EXPECT_EQ(out, Readings{readingsOnly});
      } else {
        ASSERT_EQ(out.size(), 2u);
        const std::string& pinyin = out[format == OutputFormat::rb_output_py ? 0 : 1];
        for (const std::string& r : readings) {
          if (r != " ") {
            EXPECT_NE(pinyin.find(r), std::string::npos) << r;
          }
        }
      }
    }
  }
  // The designed preview sample, read by context.
  EXPECT_EQ(PreviewLines(reader(), "我爱北京天安门，天安门上红旗飘", Context(ToneStyle::Marked),
                         TextForm::Unicode)[0],
            "wǒ ài běi jīng tiān ān mén   tiān ān mén shàng hóng qí piāo");
}

TEST_F(ContextReadingTest, AMissingToneGlyphFailsAsTheClassicLookupDoes) {
  std::filesystem::remove(folder_ / kToneVowelFile);
  session.ReloadDataFiles();
  EXPECT_THROW(Read("上", Context(ToneStyle::Marked)), Error);
  EXPECT_EQ(Read("上"), (Readings{"shang4"}));
}

TEST(ContextData, MissingFilesRaiseTheFileErrorNamingTheFile) {
  Session session;
  // Neither the data folder nor the test program's own folder holds the files.
  test::TempDir empty;
  session.LoadDataFiles(empty.path());
  try {
    session.Data()->ContextData();
    ADD_FAILURE() << "loaded context data from nowhere";
  } catch (const Error& error) {
    EXPECT_NE(std::string(error.what()).find(kContextWordsFile), std::string::npos) << error.what();
  }
}

}  // namespace
}  // namespace tolvane
