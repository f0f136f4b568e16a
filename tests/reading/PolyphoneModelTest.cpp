// The polyphone model: its file read whole or refused with the file's name, its scores kept to a
// character's own readings, its window, and where reading by context lets it choose.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <set>

#include "engine/AnnotateLine.h"
#include "platform/Error.h"
#include "platform/TextFile.h"
#include "platform/UnicodeText.h"
#include "reading/context/ModelChoice.h"
#include "reading/context/PolyphoneModel.h"
#include "reading/shared/DataFiles.h"
#include "support/ShippedDataFixture.h"
#include "support/TestSupport.h"

namespace tolvane {
namespace {

std::filesystem::path ShippedModel() { return test::SourceDataFolder() / kPolyphoneModelFile; }

std::u32string CodePoints(std::string_view utf8) {
  std::u32string out;
  unicode::ForEachCodePoint(utf8, [&](std::string_view, char32_t cp) { out.push_back(cp); });
  return out;
}

std::set<std::string> Readings(const PolyphoneModel& model, std::span<const ModelReadingId> ids) {
  std::set<std::string> out;
  for (const ModelReadingId id : ids) out.insert(model.Reading(id));
  return out;
}

class PolyphoneModelTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { model_ = PolyphoneModel::Load(ShippedModel()).release(); }
  static void TearDownTestSuite() {
    delete model_;
    model_ = nullptr;
  }
  static const PolyphoneModel& Model() { return *model_; }

 private:
  static const PolyphoneModel* model_;
};
const PolyphoneModel* PolyphoneModelTest::model_ = nullptr;

TEST_F(PolyphoneModelTest, TheShippedFileGivesEachPolyphoneItsReadingsInTheProgramsSpelling) {
  const struct {
    char32_t character;
    std::set<std::string> readings;
  } cases[] = {
      {U'长', {"chang2", "zhang3"}},
      {U'行', {"hang2", "xing2"}},
      {U'率', {"lv4", "shuai4"}},          // ü as v in lv
      {U'了', {"le5", "liao3", "liao4"}},  // the neutral tone as 5
  };
  for (const auto& c : cases)
    EXPECT_EQ(Readings(Model(), Model().Candidates(c.character)), c.readings)
        << static_cast<std::uint32_t>(c.character);
  EXPECT_TRUE(Model().Candidates(U'我').empty()) << "one reading: nothing to decide";
  EXPECT_TRUE(Model().Candidates(U'a').empty());
  EXPECT_GT(Model().PolyphoneCount(), 500u);
}

TEST_F(PolyphoneModelTest, ScoresCoverExactlyTheCharactersOwnReadings) {
  ModelStates states;
  std::vector<ReadingScore> scores;
  for (const char* sentence :
       {"他长得很高，走路很快。", "我去银行取钱", "重庆的重要会议", "率领", "a了b", "了"}) {
    const std::u32string text = CodePoints(sentence);
    Model().Run(text, states);
    for (std::size_t i = 0; i < text.size(); ++i) {
      Model().ScoresAt(states, i, text[i], scores);
      const auto candidates = Model().Candidates(text[i]);
      std::vector<ModelReadingId> got;
      for (const ReadingScore& score : scores) got.push_back(score.reading);
      EXPECT_EQ(got, std::vector<ModelReadingId>(candidates.begin(), candidates.end()))
          << sentence << " at " << i;
    }
    // Beyond the window: nothing, not a read past its states.
    Model().ScoresAt(states, text.size(), U'长', scores);
    EXPECT_TRUE(scores.empty()) << sentence;
  }
}

TEST_F(PolyphoneModelTest, TheContextChangesTheScores) {
  ModelStates states;
  std::vector<ReadingScore> scores;
  const auto best = [&](std::string_view sentence, std::size_t index) {
    const std::u32string text = CodePoints(sentence);
    Model().Run(text, states);
    Model().ScoresAt(states, index, text[index], scores);
    const auto top = std::max_element(scores.begin(), scores.end(),
                                      [](auto a, auto b) { return a.score < b.score; });
    return Model().Reading(top->reading);
  };
  EXPECT_EQ(best("他长得很高", 1), "zhang3");
  EXPECT_EQ(best("长城很长很长", 0), "chang2");
  EXPECT_EQ(best("他干了一天活", 1), "gan4");
  EXPECT_EQ(best("天气很干燥", 3), "gan1");
}

std::vector<ReadingScore> ScoresOf(const PolyphoneModel& model, const ModelStates& states,
                                   std::size_t index, char32_t cp) {
  std::vector<ReadingScore> scores;
  model.ScoresAt(states, index, cp, scores);
  return scores;
}

bool SameScores(const std::vector<ReadingScore>& a, const std::vector<ReadingScore>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](auto x, auto y) { return x.reading == y.reading && x.score == y.score; });
}

TEST_F(PolyphoneModelTest, ARunAsFarAsItsCharactersNeedGivesTheScoresOfTheWholeRun) {
  const std::u32string text = CodePoints("重庆的重要会议上他长得很高，干了一天活");
  ModelStates whole;
  ModelStates part;
  Model().Run(text, whole);
  const struct {
    std::size_t first;
    std::size_t last;
  } ranges[] = {{0, 0}, {3, 3}, {0, 5}, {3, 11}, {8, text.size() - 1}, {0, text.size() - 1}};
  for (const auto& range : ranges) {
    Model().Run(text, part, range.first, range.last);
    for (std::size_t i = 0; i < text.size(); ++i) {
      const auto got = ScoresOf(Model(), part, i, text[i]);
      if (i < range.first || i > range.last) {
        EXPECT_TRUE(got.empty()) << i << " outside [" << range.first << ", " << range.last << "]";
        continue;
      }
      // Bit for bit: each direction's states at a character depend only on the characters
      // before it in that direction.
      EXPECT_TRUE(SameScores(got, ScoresOf(Model(), whole, i, text[i])))
          << i << " in [" << range.first << ", " << range.last << "]";
    }
  }
}

TEST_F(PolyphoneModelTest, TheMappedFileScoresAsItsBytesInMemory) {
  const auto copied = PolyphoneModel::FromBytes(ReadWholeFile(ShippedModel()), ShippedModel());
  const std::u32string text = CodePoints("他长得很高，我去银行取钱。重要的会议");
  ModelStates mapped;
  ModelStates inMemory;
  Model().Run(text, mapped);
  copied->Run(text, inMemory);
  for (std::size_t i = 0; i < text.size(); ++i)
    EXPECT_TRUE(
        SameScores(ScoresOf(Model(), mapped, i, text[i]), ScoresOf(*copied, inMemory, i, text[i])))
        << i;
  // The mapped input gates are the file's pages, not memory of the model's own.
  EXPECT_LT(Model().MemoryBytes() + 5'000'000, copied->MemoryBytes());
}

TEST(PolyphoneModelWindow, AClauseEndsAtSpacesPunctuationAndTheReach) {
  const struct {
    const char* text;
    std::size_t position;
    std::size_t reach;
    TextWindow expected;
  } cases[] = {
      {"他长得很高", 1, 32, {0, 5}},
      {"天黑了。他长得很高。我们走吧", 5, 32, {4, 10}},  // the mark ends its clause
      {"天黑了，他长得很高", 5, 32, {4, 9}},             // and a comma
      {"天黑了 他长得很高", 5, 32, {4, 9}},              // and a space
      {"一二三四五六七八九十", 5, 2, {3, 8}},
      {"一二三四五六七八九十", 0, 2, {0, 3}},
      {"一二三四五六七八九十", 9, 2, {7, 10}},
      {"好！", 0, 32, {0, 2}},
      {"？好", 1, 32, {1, 2}},
  };
  for (const auto& c : cases) {
    const std::u32string text = CodePoints(c.text);
    const TextWindow got = ClauseAround(text, c.position, c.reach);
    EXPECT_EQ(got, c.expected) << c.text << " at " << c.position << ": [" << got.begin << ", "
                               << got.end << ")";
  }
}

// The file cut short anywhere, or damaged, is refused with "<file>: <reason>".
class PolyphoneModelFileTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { bytes_ = new std::string(ReadWholeFile(ShippedModel())); }
  static void TearDownTestSuite() {
    delete bytes_;
    bytes_ = nullptr;
  }
  static const std::string& Bytes() { return *bytes_; }
  static std::size_t BinaryStart() { return Bytes().find("TVPOLYMD"); }

  static void ExpectRefused(std::string_view bytes, const std::string& reasonPart,
                            const std::string& what) {
    const std::filesystem::path file = "/some/folder/polyphone_model.bin";
    try {
      PolyphoneModel::FromBytes(bytes, file);
      ADD_FAILURE() << what << ": loaded";
    } catch (const Error& error) {
      const std::string message = error.what();
      EXPECT_EQ(message.rfind(file.string() + ": ", 0), 0u) << what << ": " << message;
      EXPECT_NE(message.find(reasonPart), std::string::npos) << what << ": " << message;
      EXPECT_EQ(error.path(), file) << what;
    }
  }

 private:
  static const std::string* bytes_;
};
const std::string* PolyphoneModelFileTest::bytes_ = nullptr;

TEST_F(PolyphoneModelFileTest, TheShippedBytesLoad) {
  ASSERT_NE(BinaryStart(), std::string::npos);
  EXPECT_NO_THROW(PolyphoneModel::FromBytes(Bytes(), "polyphone_model.bin"));
}

TEST_F(PolyphoneModelFileTest, AFileCutShortIsRefusedWhereverItEnds) {
  const std::size_t start = BinaryStart();
  const std::size_t size = Bytes().size();
  const struct {
    std::size_t length;
    const char* reason;
  } cases[] = {
      {0, "not a polyphone model"},
      {10, "no model after the banner"},  // inside the banner's first line
      {start, "not a polyphone model"},
      {start + 5, "not a polyphone model"},
      {start + 8, "cut short in the header"},
      {start + 20, "cut short in the header"},
      {start + 44 + 100, "cut short in the vocabulary"},
      {start + 44 + 4 * 5398 + 1000, "cut short in the forward input gates"},
      {size / 2, "cut short in the backward input gates"},
      {size - 1, "cut short in the polyphones"},
  };
  for (const auto& c : cases)
    ExpectRefused(std::string_view(Bytes()).substr(0, c.length), c.reason,
                  "cut after " + std::to_string(c.length) + " bytes");
}

TEST_F(PolyphoneModelFileTest, AWrongMagicVersionOrTrailingBytesAreRefused) {
  std::string bytes = Bytes();
  bytes[BinaryStart()] = 'X';
  ExpectRefused(bytes, "not a polyphone model", "wrong magic");
  bytes = Bytes();
  bytes[BinaryStart() + 8] = 2;
  ExpectRefused(bytes, "version 2", "a later version");
  ExpectRefused(Bytes() + "x", "bytes after the model", "a byte appended");
  ExpectRefused("plain text, no banner", "not a polyphone model", "some other file");
}

TEST_F(PolyphoneModelFileTest, ANumberThatIsNotANumberIsRefused) {
  std::string bytes = Bytes();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  // The first weight of the forward input gates, after the header and the vocabulary.
  std::memcpy(bytes.data() + BinaryStart() + 44 + 4 * 5398, &nan, sizeof nan);
  ExpectRefused(bytes, "not a number in the forward input gates", "a NaN weight");
}

TEST(PolyphoneModelLoad, AMissingFileRaisesTheTextFileErrorNamingIt) {
  test::TempDir folder;
  const std::filesystem::path file = folder / kPolyphoneModelFile;
  try {
    PolyphoneModel::Load(file);
    ADD_FAILURE() << "loaded a missing file";
  } catch (const Error& error) {
    const std::string message = error.what();
    EXPECT_EQ(message.rfind("Cannot open file \"" + file.string() + "\"", 0), 0u) << message;
  }
}

// Reading by context with the shipped data and model: the words settle what they can, the
// model the rest.
class ModelChoiceTest : public test::ShippedDataFixture {
 protected:
  std::vector<std::string> Read(const std::string& textUtf8) {
    ConversionSettings settings;
    settings.polyphone = PolyphonePolicy::ByContext;
    settings.toneStyle = ToneStyle::Numbered;
    return reader.OfUtf8Line(textUtf8, settings);
  }
};

struct PositionCase {
  const char* text;
  std::size_t index;
  const char* expected;
};

TEST_F(ModelChoiceTest, WordsAndRulesSettleWhatTheyCanEvenWhereTheModelAloneWouldErr) {
  // The model alone reads 行 xing2 in the first and 为 wei2 in 为了: the words win.
  const PositionCase cases[] = {
      {"我去银行取钱。", 3, "hang2"},
      {"他在路上行走。", 4, "xing2"},
      {"因为下雨，我们没去。", 1, "wei4"},
      {"为了明天，我们努力。", 0, "wei4"},
      {"作为老师，他很认真。", 1, "wei2"},
      {"他为人很好。", 1, "wei2"},
      // The model reads 没 standing alone mo4 in short clauses; the negation it is.
      {"他没来。", 1, "mei2"},
      {"老板现在没时间。", 4, "mei2"},
      {"我们已经没钱了。", 4, "mei2"},
      {"船沉没了。", 2, "mo4"},
  };
  for (const auto& c : cases) {
    const auto readings = Read(c.text);
    ASSERT_GT(readings.size(), c.index) << c.text;
    EXPECT_EQ(readings[c.index], c.expected) << c.text;
  }
}

TEST_F(ModelChoiceTest, TheModelDecidesWhatTheWordsLeaveOpen) {
  // 得 after a verb and before its complement is the particle; alone, its default is de2.
  const PositionCase cases[] = {
      {"他长得很高。", 2, "de5"},     {"她长得很漂亮。", 2, "de5"},
      {"大家都干得很好。", 4, "de5"}, {"他们相处得很好。", 4, "de5"},
      {"他干了一天活。", 1, "gan4"},  {"天气干燥。", 2, "gan1"},  // a word: unchanged
  };
  for (const auto& c : cases) {
    const auto readings = Read(c.text);
    ASSERT_GT(readings.size(), c.index) << c.text;
    EXPECT_EQ(readings[c.index], c.expected) << c.text;
  }
}

TEST_F(ModelChoiceTest, TheModelOverrulesACharacterReadAloneButNeverAWord) {
  const PhraseData& data = session.Data()->ContextData();
  const PolyphoneModel* model = session.Data()->ContextModel();
  ASSERT_NE(model, nullptr);
  const UserWords words(session.Data()->StandardDictionary(), {});
  struct RoleCase {
    const char* text;
    std::size_t index;
    ModelRole expected;
  };
  const RoleCase cases[] = {
      {"我去银行取钱", 3, ModelRole::kNone},      // inside a common word
      {"再和朋友商量一下", 5, ModelRole::kNone},  // inside a word the corpus hardly counts
      {"瓶口用软木塞塞住", 5, ModelRole::kNone},
      {"他干了一天活", 1, ModelRole::kChoose},    // alone, at a default that is not the usual
      {"头发很长", 3, ModelRole::kNone},          // a character rule: 长 after 很
      {"叫他教我骑车", 2, ModelRole::kOverrule},  // alone, read by the pairs
  };
  std::vector<Segment> segments;
  std::vector<ContextReading> readings;
  for (const RoleCase& c : cases) {
    const std::u32string text = CodePoints(c.text);
    SegmentWords(text, data, words, segments);
    ReadByContext(text, data, words, session.Data()->StandardDictionary(), SpokenStyle{}, readings);
    const auto segment = std::find_if(segments.begin(), segments.end(), [&](const Segment& s) {
      return s.begin <= c.index && c.index < s.begin + s.length;
    });
    ASSERT_NE(segment, segments.end()) << c.text;
    EXPECT_EQ(ModelRoleAt(text, *segment, static_cast<std::uint32_t>(c.index - segment->begin),
                          data, *model, readings[c.index]),
              c.expected)
        << c.text;
  }
  // The words keep their readings however sure the model is of another (it reads 量 liang4 and
  // 塞 sai4 there).
  EXPECT_EQ(Read("再和朋友商量一下")[5], "liang2");
  EXPECT_EQ(Read("瓶口用软木塞塞住")[5], "sai1");
}

TEST_F(ModelChoiceTest, WithoutAModelTheWordEvidenceReadsAlone) {
  const PhraseData& data = session.Data()->ContextData();
  const PolyphoneModel* model = session.Data()->ContextModel();
  ASSERT_NE(model, nullptr);
  const std::u32string text = CodePoints("他干了一天活");
  const UserWords words(session.Data()->StandardDictionary(), {});
  std::vector<ContextReading> without;
  std::vector<ContextReading> with;
  ReadByContext(text, data, words, session.Data()->StandardDictionary(), SpokenStyle{}, without);
  ReadByContext(text, data, words, session.Data()->StandardDictionary(), SpokenStyle{}, with,
                model);
  EXPECT_EQ(data.Syllable(without[1].syllable), "gan1");
  EXPECT_EQ(data.Syllable(with[1].syllable), "gan4");
}

TEST(ModelChoiceData, AMissingModelFileLeavesTheReadingToTheWordsAndADamagedOneFails) {
  test::TempDir folder;
  for (const char* file : {kContextWordsFile, kContextPairsFile, kContextCharactersFile})
    std::filesystem::create_symlink(test::SourceDataFolder() / file, folder / file);
  {
    Session session;
    session.LoadDataFiles(folder.path());
    EXPECT_EQ(session.Data()->ContextModel(), nullptr);
    EXPECT_GT(session.Data()->ContextData().WordCount(), 0u);
  }
  test::WriteBytes(folder / kPolyphoneModelFile, "# a banner only\nTVPOLYMD");
  Session session;
  session.LoadDataFiles(folder.path());
  try {
    session.Data()->ContextData();
    ADD_FAILURE() << "read by context with a damaged model";
  } catch (const Error& error) {
    EXPECT_NE(std::string(error.what()).find(kPolyphoneModelFile), std::string::npos)
        << error.what();
  }
}

}  // namespace
}  // namespace tolvane
