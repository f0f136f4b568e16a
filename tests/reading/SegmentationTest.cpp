// The mechanics of reading by context on small hand-made data: loading the three files, the most
// probable path, user words, neighbour pairs, and cutting user readings into syllables.
#include <gtest/gtest.h>

#include "platform/Error.h"
#include "reading/context/ContextReading.h"
#include "reading/context/PhraseData.h"
#include "reading/context/Segmentation.h"
#include "reading/context/UserWords.h"
#include "support/TestSupport.h"

namespace tolvane {
namespace {

using test::Gb;

std::u32string U(std::u32string_view text) { return std::u32string(text); }

class SegmentationTest : public testing::Test {
 protected:
  // Words: 研究 (often), 研究生 (rarely), 生命 (often), 起源 ...; 长 defaults to chang2.
  void SetUp() override {
    Write(
        "# a comment line\n"
        "研究\t100\tyan2 jiu1\n"
        "研究生\t5\tyan2 jiu1 sheng1\n"
        "生命\t80\tsheng1 ming4\n"
        "命\t10\tming4\n"
        "起源\t50\tqi3 yuan2\n"
        "的\t500\tde5\n"
        "长城\t20\tchang2 -\n",
        "长大\t1\tzhang3\n"
        "大长\t2\tchang2\n",
        "研\tyan2\n生\tsheng1\n长\tchang2\n城\tcheng2\n大\tda4\n");
  }
  void Write(const std::string& words, const std::string& pairs, const std::string& chars) {
    test::WriteBytes(dir_ / "w.txt", words);
    test::WriteBytes(dir_ / "p.txt", pairs);
    test::WriteBytes(dir_ / "c.txt", chars);
  }
  std::unique_ptr<PhraseData> Load() {
    return PhraseData::Load(dir_ / "w.txt", dir_ / "p.txt", dir_ / "c.txt");
  }
  static std::vector<std::u32string> Words(const std::u32string& text, const PhraseData& data,
                                           const UserWords& user) {
    std::vector<Segment> segments;
    SegmentWords(text, data, user, segments);
    std::vector<std::u32string> words;
    std::size_t covered = 0;
    for (const Segment& s : segments) {
      EXPECT_EQ(s.begin, covered);
      covered += s.length;
      words.push_back(text.substr(s.begin, s.length));
    }
    EXPECT_EQ(covered, text.size());
    return words;
  }
  static std::vector<std::string> Syllables(const std::u32string& text, const PhraseData& data,
                                            const CustomDictionary& dictionary = {}) {
    const UserWords words(dictionary, {"ou", "yang", "si", "ma"});
    std::vector<ContextReading> readings;
    ReadByContext(text, data, words, dictionary, SpokenStyle{}, readings);
    std::vector<std::string> out;
    for (const ContextReading& r : readings) {
      out.push_back(r.kind == ContextReading::Kind::Syllable ? data.Syllable(r.syllable)
                    : r.kind == ContextReading::Kind::User   ? std::string(r.user)
                                                             : std::string("none"));
    }
    return out;
  }
  test::TempDir dir_;
};

TEST_F(SegmentationTest, TheMostProbablePathWins) {
  const auto data = Load();
  const UserWords none({}, {});
  // 研究|生命|起源 outweighs 研究生|命|起源: the frequent words together are likelier.
  EXPECT_EQ(Words(U(U"研究生命起源"), *data, none),
            (std::vector<std::u32string>{U"研究", U"生命", U"起源"}));
  EXPECT_EQ(Words(U(U"研究生"), *data, none), (std::vector<std::u32string>{U"研究生"}));
  // Characters no word holds stand alone, as do signs and letters.
  EXPECT_EQ(Words(U(U"a研x"), *data, none), (std::vector<std::u32string>{U"a", U"研", U"x"}));
  EXPECT_TRUE(Words(U(U""), *data, none).empty());
}

TEST_F(SegmentationTest, AUserWordIsTakenWhereverItOccurs) {
  const auto data = Load();
  const CustomDictionary dictionary({Gb("究生命")}, {"jiu sheng ming"});
  const UserWords user(dictionary, {"jiu", "sheng", "ming"});
  EXPECT_EQ(Words(U(U"研究生命起源"), *data, user),
            (std::vector<std::u32string>{U"研", U"究生命", U"起源"}));
}

TEST_F(SegmentationTest, ReadingsComeFromWordsDefaultsPairsAndTheUser) {
  const auto data = Load();
  EXPECT_EQ(Syllables(U(U"研究生命"), *data),
            (std::vector<std::string>{"yan2", "jiu1", "sheng1", "ming4"}));
  // "-" in a word: the character's default. A lone 长 by its pairs: before 大 zhang3, after
  // 大 chang2; with neither, its default.
  EXPECT_EQ(Syllables(U(U"长城"), *data), (std::vector<std::string>{"chang2", "cheng2"}));
  EXPECT_EQ(Syllables(U(U"长大"), *data), (std::vector<std::string>{"zhang3", "da4"}));
  EXPECT_EQ(Syllables(U(U"大长"), *data), (std::vector<std::string>{"da4", "chang2"}));
  EXPECT_EQ(Syllables(U(U"长"), *data), (std::vector<std::string>{"chang2"}));
  EXPECT_EQ(Syllables(U(U"x的?"), *data), (std::vector<std::string>{"none", "de5", "none"}));
  // A one-character user entry replaces the reading wherever the character stands.
  const CustomDictionary dictionary({Gb("究")}, {"JIU"});
  EXPECT_EQ(Syllables(U(U"研究"), *data, dictionary), (std::vector<std::string>{"yan2", "JIU"}));
}

TEST_F(SegmentationTest, MalformedFilesAreReportedWithFileAndLine) {
  const struct {
    std::string words;
    std::string pairs;
    std::string chars;
    std::string error;
  } cases[] = {
      {"研究\t100\tyan2\n", "", "", "w.txt:1: not one syllable per character"},
      {"研究\tmany\tyan2 jiu1\n", "", "", "w.txt:1: the frequency is not a whole number"},
      {"研究\t100\n", "", "", "w.txt:1: expected 3 fields"},
      {"研究\t1\tyan2 jiu1\n研究\t2\tyan2 jiu1\n", "", "", "w.txt:2: the word is given twice"},
      {"研\t1\tyan2\n", "研究\t3\tyan2\n", "", "p.txt:1: not 1 or 2"},
      {"", "研\t1\tyan2\n", "", "p.txt:1: not two characters"},
      {"", "", "研究\tyan2\n", "c.txt:1: not one character"},
      {"", "", "研\t-\n", "c.txt:1: not one syllable"},
      {"\xFF\t1\tx1\n", "", "", "w.txt:1: not UTF-8"},
  };
  for (const auto& c : cases) {
    Write(c.words, c.pairs, c.chars);
    try {
      Load();
      ADD_FAILURE() << "no error for " << c.error;
    } catch (const Error& error) {
      EXPECT_NE(std::string(error.what()).find(c.error), std::string::npos) << error.what();
    }
  }
  std::filesystem::remove(dir_ / "p.txt");
  EXPECT_THROW(Load(), Error);
}

TEST(SplitUserReading, OnePiecePerCharacter) {
  const std::unordered_set<std::string> syllables = {"ou",    "yang", "xiu", "si", "ma",
                                                     "guang", "zhu",  "ge",  "lv", "e"};
  const struct {
    std::string reading;
    std::size_t count;
    std::vector<std::string> pieces;
  } cases[] = {
      {"Ou yang", 2, {"Ou", "yang"}},
      {"Si'ma", 2, {"Si", "ma"}},
      {"  Ou   yang  ", 2, {"Ou", "yang"}},
      {"Ouyang", 2, {"Ou", "yang"}},
      {"OUYANG", 2, {"OU", "YANG"}},
      {"ou1yang2", 2, {"ou1", "yang2"}},
      {Gb("ōuyáng"), 2, {Gb("ōu"), Gb("yáng")}},
      {"Ou'yangxiu", 3, {"Ou", "yang", "xiu"}},
      {Gb("lǜe"), 2, {Gb("lǜ"), "e"}},
      {"Zhugeliang", 2, {"Zhugeliang", " "}},  // three syllables: the first takes it all
      {"Ou yang xiu", 2, {"Ou yang xiu", " "}},
      {Gb("欧阳"), 2, {Gb("欧阳"), " "}},  // not pinyin at all
      {"", 2, {"", " "}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SplitUserReading(c.reading, c.count, syllables), c.pieces) << c.reading;
  }
}

}  // namespace
}  // namespace tolvane
