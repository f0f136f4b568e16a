// The user's own words (user_words.txt) in reading by context, and which polyphones the context
// left unsettled, on the data the build ships.
#include <gtest/gtest.h>

#include <filesystem>

#include "reading/ReadingConfidence.h"
#include "reading/shared/DataFiles.h"
#include "support/ShippedDataFixture.h"
#include "support/TestSupport.h"

namespace tolvane {
namespace {

using test::Gb;
using test::WriteBytes;

ConversionSettings Numbered() {
  ConversionSettings settings;
  settings.polyphone = PolyphonePolicy::ByContext;
  settings.toneStyle = ToneStyle::Numbered;
  return settings;
}

class OwnWordsTest : public test::ShippedDataFixture {
 protected:
  void UseWords(const std::string& text) {
    WriteBytes(folder_ / kUserWordsFile, text);
    session.ReloadDataFiles();
  }
  // The readings of a line joined by "|".
  std::string Read(const std::string& line) {
    std::string joined;
    for (const std::string& reading : reader.OfUtf8Line(line, Numbered()))
      joined += (joined.empty() ? "" : "|") + reading;
    return joined;
  }
  // The characters of a line whose reading the context left unsettled.
  std::string Unsettled(const std::string& line) {
    std::vector<CharacterConfidence> confidence;
    ConfidenceOfLine(reader(), line, Numbered(), confidence);
    std::string unsettled;
    for (const CharacterConfidence& c : confidence)
      if (c.unsettled()) unsettled += c.character;
    return unsettled;
  }
};

struct OwnWordCase {
  const char* name;
  const char* words;  // user_words.txt
  const char* line;
  const char* without;  // the readings without the words
  const char* with;     // and with them
};

class OwnWordReadingTest : public OwnWordsTest, public testing::WithParamInterface<OwnWordCase> {};

TEST_P(OwnWordReadingTest, TheWordsReadingsStand) {
  const OwnWordCase& c = GetParam();
  EXPECT_EQ(Read(c.line), c.without);
  UseWords(c.words);
  EXPECT_TRUE(session.Data()->UserWordProblems().empty());
  EXPECT_EQ(Read(c.line), c.with);
}

INSTANTIATE_TEST_SUITE_P(
    OwnWords, OwnWordReadingTest,
    testing::Values(
        OwnWordCase{"OneCharacter", "行 heng2\n", "他行不行", "ta1|xing2|bu4|xing2",
                    "ta1|heng2|bu4|heng2"},
        OwnWordCase{"InsideASentence", "银行 yin2 xing2\n", "我去银行取钱",
                    "wo3|qu4|yin2|hang2|qu3|qian2", "wo3|qu4|yin2|xing2|qu3|qian2"},
        OwnWordCase{"AtTheStart", "银行 yin2 xing2\n", "银行取钱", "yin2|hang2|qu3|qian2",
                    "yin2|xing2|qu3|qian2"},
        OwnWordCase{"AtTheEnd", "银行 yin2 xing2\n", "我去银行", "wo3|qu4|yin2|hang2",
                    "wo3|qu4|yin2|xing2"},
        OwnWordCase{"OverlappingDictionaryWords", "究生 jiu4 sheng4\n", "研究生命起源",
                    "yan2|jiu1|sheng1|ming4|qi3|yuan2", "yan2|jiu4|sheng4|ming4|qi3|yuan2"},
        OwnWordCase{"TwoSideBySide", "重庆 zhong4 qing4\n火锅 huo3 guo4\n", "重庆火锅",
                    "chong2|qing4|huo3|guo1", "zhong4|qing4|huo3|guo4"},
        OwnWordCase{"Traditional", "長城 zhang3 cheng2\n", "長城很長", "chang2|cheng2|hen3|chang2",
                    "zhang3|cheng2|hen3|chang2"},
        OwnWordCase{"BeyondTheBasicPlane", "𠀀𠀁 qiu1 ke3\n", "说𠀀𠀁了", "shuo1|he1|qi1|le5",
                    "shuo1|qiu1|ke3|le5"},
        OwnWordCase{"EightCharacters",
                    "春眠不觉晓处处闻 chun1 mian2 bu4 jiao4 xiao3 chu4 chu4 wen2\n",
                    "春眠不觉晓处处闻啼鸟", "chun1|mian2|bu4|jue2|xiao3|chu4|chu4|wen2|ti2|niao3",
                    "chun1|mian2|bu4|jiao4|xiao3|chu4|chu4|wen2|ti2|niao3"},
        OwnWordCase{"MarkedSyllables", "重庆 Zhòng qìng\n", "重庆", "chong2|qing4", "zhong4|qing4"},
        OwnWordCase{"NoReading", "银行 yin2 -\n", "银行", "yin2|hang2", "yin2| "}),
    [](const testing::TestParamInfo<OwnWordCase>& info) { return info.param.name; });

TEST_F(OwnWordsTest, TheDesignedDictionaryStillWinsForSingleCharacters) {
  WriteBytes(folder_ / kStandardKeysFile, Gb("行\r\n"));
  WriteBytes(folder_ / kStandardReadingsFile, "XING\r\n");
  // 行 has an entry of its own: it reads so everywhere, inside an own word too; 乐 has none, so
  // the one-character own word gives its reading.
  UseWords("行 heng2\n银行 yin2 hang2\n乐 yue4\n");
  EXPECT_EQ(Read("银行很乐"), "yin2|XING|hen3|yue4");
  EXPECT_EQ(Read("行"), "XING");
}

TEST_F(OwnWordsTest, AReloadPicksUpTheChangedFile) {
  UseWords("银行 yin2 xing2\n");
  EXPECT_EQ(Read("银行"), "yin2|xing2");
  UseWords("银行 ying2 heng2\n");
  EXPECT_EQ(Read("银行"), "ying2|heng2");
  std::filesystem::remove(folder_ / kUserWordsFile);
  session.ReloadDataFiles();
  EXPECT_EQ(Read("银行"), "yin2|hang2");
}

TEST_F(OwnWordsTest, ProblemsAreReportedAndTheGoodWordsRead) {
  UseWords("银行 yin2\n重庆 zhong4 qing4\n");
  const auto& problems = session.Data()->UserWordProblems();
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(problems[0],
            (UserWordProblem{folder_ / kUserWordsFile, 1, "1 syllables for 2 characters"}));
  EXPECT_EQ(session.Data()->UserWordsFile(), folder_ / kUserWordsFile);
  EXPECT_EQ(Read("银行重庆"), "yin2|hang2|zhong4|qing4");
}

struct ConfidenceCase {
  const char* words;  // user_words.txt
  const char* line;
  const char* unsettled;
};

class UnsettledTest : public OwnWordsTest, public testing::WithParamInterface<ConfidenceCase> {};

TEST_P(UnsettledTest, MarksThePolyphonesNothingSettled) {
  const ConfidenceCase& c = GetParam();
  UseWords(c.words);
  EXPECT_EQ(Unsettled(c.line), c.unsettled) << c.line;
}

INSTANTIATE_TEST_SUITE_P(
    OwnWords, UnsettledTest,
    testing::Values(ConfidenceCase{"", "我去银行取钱", ""},  // 行 by the word
                    ConfidenceCase{"", "他的头发长", "长"},  // a close call of the model
                    ConfidenceCase{"发长 fa4 zhang3\n", "他的头发长", ""},  // by the user's word
                    ConfidenceCase{"", "她很乐", ""},                       // the model is sure
                    ConfidenceCase{"", "行，", ""},  // xing2 nearly everywhere
                    ConfidenceCase{"", "abc，。", ""}));

}  // namespace
}  // namespace tolvane
