// How reading by context writes what speech changes, on small hand-made data: a word's light
// syllables in both neutral-tone modes, the particles 地/得/着 by their role, the 儿 of erhua, and
// the tone changes of 一 and 不.
#include <gtest/gtest.h>

#include "platform/Error.h"
#include "reading/context/ContextReading.h"
#include "reading/context/PhraseData.h"
#include "reading/context/UserWords.h"
#include "support/TestSupport.h"

namespace tolvane {
namespace {

using Readings = std::vector<std::string>;

class SpokenRulesTest : public testing::Test {
 protected:
  void SetUp() override {
    test::WriteBytes(dir_ / "w.txt",
                     "朋友\t90\tpeng2 you3:5\n"
                     "东西\t80\tdong1 xi1:5\n"
                     "妈妈\t70\tma1 ma1:5\n"
                     "看看\t60\tkan4 kan4:5\n"
                     "一会儿\t50\tyi1 hui4 er5\n"
                     "哪儿\t50\tna3 er5\n"
                     "女儿\t50\tnv3 er2\n"
                     "儿子\t50\ter2 zi5\n"
                     "土地\t60\ttu3 di4\n"
                     "地方\t60\tdi4 fang1:5\n"
                     "得到\t60\tde2 dao4\n"
                     "慢慢\t40\tman4 man4\n"
                     "统一\t40\ttong3 yi1\n"
                     "第一\t40\tdi4 yi1\n"
                     "一样\t40\tyi1 yang4\n"
                     "一个\t40\tyi1 ge4\n"
                     "我们\t90\two3 men5\n"
                     "跑\t50\tpao3\n快\t50\tkuai4\n好\t50\thao3\n多\t50\tduo1\n去\t50\tqu4\n"
                     "看\t50\tkan4\n着\t50\tzhao2\n得\t50\tde2\n地\t50\tdi4\n儿\t50\ter2\n"
                     "一\t50\tyi1\n不\t50\tbu4\n是\t50\tshi4\n天\t50\ttian1\n年\t50\tnian2\n"
                     "起\t50\tqi3\n对\t50\tdui4\n来\t50\tlai2\n你\t50\tni3\n他\t50\tta1\n"
                     "小\t50\txiao3\n孩\t50\thai2\n九\t50\tjiu3\n四\t50\tsi4\n十\t50\tshi2\n"
                     "月\t50\tyue4\n说\t50\tshuo1\n走\t50\tzou3\n了\t50\tle5\n个\t50\tge5\n"
                     "二\t50\ter4\n三\t50\tsan1\n");
    test::WriteBytes(dir_ / "p.txt", "");
    test::WriteBytes(dir_ / "c.txt", "");
    data_ = PhraseData::Load(dir_ / "w.txt", dir_ / "p.txt", dir_ / "c.txt");
  }
  Readings Read(std::u32string_view text, SpokenStyle style = {},
                const CustomDictionary& dictionary = {}) const {
    const UserWords words(dictionary, {});
    std::vector<ContextReading> readings;
    ReadByContext(text, *data_, words, dictionary, style, readings);
    Readings out;
    for (const ContextReading& r : readings)
      out.push_back(r.kind == ContextReading::Kind::Syllable ? data_->Syllable(r.syllable)
                    : r.kind == ContextReading::Kind::User   ? std::string(r.user)
                                                             : std::string("-"));
    return out;
  }
  static SpokenStyle Citation() { return {false, true, false}; }
  static SpokenStyle Sandhi() { return {true, true, true}; }

  test::TempDir dir_;
  std::unique_ptr<PhraseData> data_;
};

TEST_F(SpokenRulesTest, LightSyllablesAreNeutralAsSpokenAndFullInCitation) {
  const struct {
    std::u32string_view text;
    Readings spoken;
    Readings citation;
  } cases[] = {
      {U"朋友", {"peng2", "you5"}, {"peng2", "you3"}},
      {U"东西", {"dong1", "xi5"}, {"dong1", "xi1"}},
      {U"妈妈", {"ma1", "ma5"}, {"ma1", "ma1"}},
      {U"看看", {"kan4", "kan5"}, {"kan4", "kan4"}},
      {U"地方", {"di4", "fang5"}, {"di4", "fang1"}},
      // A character whose own reading is neutral is neutral in both.
      {U"我们", {"wo3", "men5"}, {"wo3", "men5"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Read(c.text), c.spoken) << "spoken";
    EXPECT_EQ(Read(c.text, Citation()), c.citation) << "citation";
  }
}

TEST_F(SpokenRulesTest, ParticlesAreReadByTheirRoleAndWordsKeepTheirOwn) {
  const struct {
    std::u32string_view text;
    Readings expected;
  } cases[] = {
      {U"慢慢地走", {"man4", "man4", "de5", "zou3"}},
      {U"土地", {"tu3", "di4"}},
      {U"地方", {"di4", "fang5"}},
      {U"地", {"di4"}},  // alone, after nothing: its own default
      {U"慢慢地，走", {"man4", "man4", "de5", "-", "zou3"}},  // a pause after the adverb
      {U"天地，", {"tian1", "di4", "-"}},                     // the place, ending its clause
      {U"跑得快", {"pao3", "de5", "kuai4"}},
      {U"好得多", {"hao3", "de5", "duo1"}},
      {U"得到", {"de2", "dao4"}},
      {U"你得去", {"ni3", "dei3", "qu4"}},
      {U"他得了", {"ta1", "de2", "le5"}},
      {U"看着", {"kan4", "zhe5"}},
  };
  for (const auto& c : cases) EXPECT_EQ(Read(c.text), c.expected);
  // Which reading a particle has is no matter of tone style: citation reads it the same.
  EXPECT_EQ(Read(U"慢慢地走", Citation()), (Readings{"man4", "man4", "de5", "zou3"}));
  EXPECT_EQ(Read(U"你得去", Citation()), (Readings{"ni3", "dei3", "qu4"}));
}

TEST_F(SpokenRulesTest, ErhuaIsWrittenRAndErAsAWordStays) {
  EXPECT_EQ(Read(U"一会儿"), (Readings{"yi1", "hui4", "r5"}));
  EXPECT_EQ(Read(U"哪儿"), (Readings{"na3", "r5"}));
  EXPECT_EQ(Read(U"小孩儿"), (Readings{"xiao3", "hai2", "r5"}));
  EXPECT_EQ(Read(U"女儿"), (Readings{"nv3", "er2"}));
  EXPECT_EQ(Read(U"儿子"), (Readings{"er2", "zi5"}));
  EXPECT_EQ(Read(U"儿"), (Readings{"er2"}));
  // Citation tones and the erhua switch off write er as the words have it.
  EXPECT_EQ(Read(U"哪儿", Citation()), (Readings{"na3", "er5"}));
  EXPECT_EQ(Read(U"哪儿", SpokenStyle{true, false, false}), (Readings{"na3", "er5"}));
}

TEST_F(SpokenRulesTest, YiAndBuChangeToneOnlyWhenAsked) {
  const struct {
    std::u32string_view text;
    Readings sandhi;
  } cases[] = {
      {U"不是", {"bu2", "shi4"}},
      {U"不对", {"bu2", "dui4"}},
      {U"不好", {"bu4", "hao3"}},
      {U"不说", {"bu4", "shuo1"}},
      {U"一样", {"yi2", "yang4"}},
      {U"一天", {"yi4", "tian1"}},
      {U"一年", {"yi4", "nian2"}},
      {U"一起", {"yi4", "qi3"}},
      // The measure word is light, but counts with its full tone.
      {U"一个", {"yi2", "ge4"}},
      // Counted or ordered: yī.
      {U"第一", {"di4", "yi1"}},
      {U"十一", {"shi2", "yi1"}},
      {U"统一", {"tong3", "yi1"}},
      {U"一九四九", {"yi1", "jiu3", "si4", "jiu3"}},
      {U"一二三", {"yi1", "er4", "san1"}},
      {U"一月", {"yi1", "yue4"}},
      {U"一", {"yi1"}},
      {U"一是", {"yi1", "shi4"}},
      {U"说一", {"shuo1", "yi1"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Read(c.text, Sandhi()), c.sandhi) << "with the tone changes";
    Readings citation = c.sandhi;
    for (std::size_t i = 0; i < citation.size(); ++i) {
      if (c.text[i] == U'一') citation[i] = "yi1";
      if (c.text[i] == U'不') citation[i] = "bu4";
    }
    EXPECT_EQ(Read(c.text), citation) << "without them";
  }
}

TEST_F(SpokenRulesTest, UserEntriesWinOverEveryRule) {
  const CustomDictionary dictionary({test::Gb("地"), test::Gb("不")}, {"DI", "BU"});
  EXPECT_EQ(Read(U"慢慢地", Sandhi(), dictionary), (Readings{"man4", "man4", "DI"}));
  EXPECT_EQ(Read(U"不是", Sandhi(), dictionary), (Readings{"BU", "shi4"}));
}

TEST_F(SpokenRulesTest, AMalformedLightSyllableNamesTheFileAndLine) {
  for (const char* token : {"you3:", "you3:9", ":5", "you:5", "you3:55"}) {
    test::WriteBytes(dir_ / "w.txt", std::string("朋友\t9\tpeng2 ") + token + "\n");
    try {
      PhraseData::Load(dir_ / "w.txt", dir_ / "p.txt", dir_ / "c.txt");
      ADD_FAILURE() << token << " was accepted";
    } catch (const Error& error) {
      EXPECT_NE(std::string(error.what()).find("w.txt:1: a light syllable"), std::string::npos)
          << error.what();
    }
  }
}

}  // namespace
}  // namespace tolvane
