#include "reading/shared/UserWordList.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/Error.h"
#include "support/TestSupport.h"

namespace tolvane {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;
using Syllables = std::vector<std::string>;

struct SyllableCase {
  const char* written;
  const char* kept;  // nullptr: not pinyin
};

class NumberedSyllableTest : public testing::TestWithParam<SyllableCase> {};

TEST_P(NumberedSyllableTest, IsKeptNumbered) {
  const SyllableCase& c = GetParam();
  const auto kept = NumberedSyllable(c.written);
  if (c.kept == nullptr) {
    EXPECT_FALSE(kept) << c.written << " -> " << *kept;
  } else {
    ASSERT_TRUE(kept) << c.written;
    EXPECT_EQ(*kept, c.kept);
  }
}

INSTANTIATE_TEST_SUITE_P(
    UserWordList, NumberedSyllableTest,
    testing::Values(
        SyllableCase{"yin2", "yin2"}, SyllableCase{"hang2", "hang2"}, SyllableCase{"yín", "yin2"},
        SyllableCase{"Zhōng", "zhong1"}, SyllableCase{"ZHONG1", "zhong1"},
        SyllableCase{"de", "de5"}, SyllableCase{"de0", "de5"}, SyllableCase{"lǜ", "lv4"},
        SyllableCase{"lü4", "lv4"}, SyllableCase{"lu:4", "lv4"}, SyllableCase{"lv4", "lv4"},
        SyllableCase{"nüè", "nue4"}, SyllableCase{"lve4", "lue4"}, SyllableCase{"xué", "xue2"},
        SyllableCase{"ju3", "ju3"}, SyllableCase{"jü3", "ju3"},
        // decomposed marks: e + combining caron, u + diaeresis + grave
        SyllableCase{"ye\xCC\x8C", "ye3"}, SyllableCase{"lu\xCC\x88\xCC\x80", "lv4"},
        SyllableCase{"ń", "n2"}, SyllableCase{"-", "-"}, SyllableCase{"yin6", nullptr},
        SyllableCase{"yín2", nullptr}, SyllableCase{"yin2g", nullptr},
        SyllableCase{"2yin", nullptr}, SyllableCase{"bong1", nullptr}, SyllableCase{"yīn̄", nullptr},
        SyllableCase{"银", nullptr}, SyllableCase{"", nullptr}, SyllableCase{"x", nullptr},
        SyllableCase{"\xFF", nullptr}));

TEST(UserWordList, ParsesWordsAndPassesOverCommentsAndBlankLines) {
  const UserWordParse parse = ParseUserWords(
      "\xEF\xBB\xBF# my words\r\n"
      "\n"
      "银行\tyin2 hang2\r\n"
      "   # an indented comment\n"
      "  重庆   Chóng  qìng  \n"
      "卡拉OK ka3 la1 - -\n"
      "\xF0\xA0\x80\x80字 zi3 zi4\n");
  EXPECT_TRUE(parse.problems.empty());
  const std::vector<UserWordEntry> expected = {
      {"银行", {"yin2", "hang2"}},
      {"重庆", {"chong2", "qing4"}},
      {"卡拉OK", {"ka3", "la1", "-", "-"}},
      {"\xF0\xA0\x80\x80字", {"zi3", "zi4"}},
  };
  EXPECT_EQ(parse.list.Entries(), expected);
}

struct ProblemCase {
  const char* line;
  const char* reason;
};

class UserWordProblemTest : public testing::TestWithParam<ProblemCase> {};

// A bad line is reported with its number and reason, and the good lines on both sides stay.
TEST_P(UserWordProblemTest, IsReportedAndTheGoodLinesStay) {
  const ProblemCase& c = GetParam();
  const std::string text =
      std::string("# words\n银行 yin2 hang2\n") + c.line + "\n重庆 chong2 qing4\n";
  const UserWordParse parse = ParseUserWords(text, "/some/user_words.txt");
  ASSERT_EQ(parse.problems.size(), 1u) << c.line;
  EXPECT_EQ(parse.problems[0], (UserWordProblem{"/some/user_words.txt", 3, c.reason}));
  ASSERT_EQ(parse.list.size(), 2u);
  EXPECT_EQ(parse.list.Entries()[0].word, "银行");
  EXPECT_EQ(parse.list.Entries()[1].word, "重庆");
}

INSTANTIATE_TEST_SUITE_P(
    UserWordList, UserWordProblemTest,
    testing::Values(ProblemCase{"长城 chang2", "1 syllables for 2 characters"},
                    ProblemCase{"长城 chang2 cheng2 a1", "3 syllables for 2 characters"},
                    ProblemCase{"长城", "no syllables after the word"},
                    ProblemCase{"长城 chang2 chengg2", "\"chengg2\" is not a pinyin syllable"},
                    ProblemCase{"长城 chang cheng # wall", "\"#\" is not a pinyin syllable"},
                    ProblemCase{"长\xFF城 chang2 cheng2", "not UTF-8 text"},
                    ProblemCase{"银行 yin2 xing2", "\"银行\" is already given on line 2"}));

TEST(UserWordList, AWordGivenTwiceKeepsItsFirstLine) {
  const UserWordParse parse = ParseUserWords("行 xing2\n行 hang2\n");
  ASSERT_EQ(parse.list.size(), 1u);
  EXPECT_EQ(parse.list.Entries()[0].syllables, Syllables{"xing2"});
}

TEST(UserWordList, AddsReplacesAndRemovesByWord) {
  UserWordList list;
  list.Set(*MakeUserWordEntry("银行", "yin2 hang2"));
  list.Set(*MakeUserWordEntry("重庆", "zhong4 qing4"));
  list.Set(*MakeUserWordEntry("重庆", "chong2 qing4"));  // replaced in place
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list.Entries()[1], (UserWordEntry{"重庆", {"chong2", "qing4"}}));
  ASSERT_NE(list.Find("银行"), nullptr);
  EXPECT_TRUE(list.Remove("银行"));
  EXPECT_FALSE(list.Remove("银行"));
  EXPECT_EQ(list.Find("银行"), nullptr);
  EXPECT_EQ(list.size(), 1u);
}

TEST(UserWordList, MakeEntrySaysWhyItRefuses) {
  std::string reason;
  EXPECT_FALSE(MakeUserWordEntry("银 行", "yin2 hang2", &reason));
  EXPECT_EQ(reason, "\"银 行\" holds a blank");
  EXPECT_FALSE(MakeUserWordEntry("", "yin2", &reason));
  EXPECT_EQ(reason, "no word");
}

UserWordList SampleList() {
  UserWordList list;
  list.Set(*MakeUserWordEntry("银行", "yín háng"));
  list.Set(*MakeUserWordEntry("卡拉OK", "ka3 la1 - -"));
  list.Set(*MakeUserWordEntry("\xF0\xA0\x80\x80", "lǜ"));
  list.Set(*MakeUserWordEntry("的", "de"));
  return list;
}

TEST(UserWordList, FileTextReadsBackAsTheSameList) {
  const UserWordList list = SampleList();
  const UserWordParse parse = ParseUserWords(UserWordsText(list));
  EXPECT_TRUE(parse.problems.empty());
  EXPECT_EQ(parse.list, list);
}

TEST(UserWordList, TsvRoundTrip) {
  const UserWordList list = SampleList();
  const std::string tsv = UserWordsTsv(list);
  EXPECT_EQ(
      tsv, "word\tpinyin\n银行\tyin2 hang2\n卡拉OK\tka3 la1 - -\n\xF0\xA0\x80\x80\tlv4\n的\tde5\n");
  const UserWordParse parse = ParseUserWordsTsv(tsv);
  EXPECT_TRUE(parse.problems.empty());
  EXPECT_EQ(parse.list, list);
}

TEST(UserWordList, TsvFromASpreadsheet) {
  // No header, quoted fields, CR LF, a column of notes, and a bad line reported by its number.
  const UserWordParse parse =
      ParseUserWordsTsv("\"银行\"\t\"yin2 hang2\"\tbank\r\n重庆\tchong2\r\n行长\thang2 zhang3\r\n");
  EXPECT_EQ(parse.list.Entries(), (std::vector<UserWordEntry>{{"银行", {"yin2", "hang2"}},
                                                              {"行长", {"hang2", "zhang3"}}}));
  EXPECT_EQ(parse.problems,
            (std::vector<UserWordProblem>{{"", 2, "1 syllables for 2 characters"}}));
}

// What the file or a spreadsheet would not give back is refused or written so that it comes back:
// a word beginning with # would be a comment line of user_words.txt, and a word in quotes of its
// own would lose them to the spreadsheet's quoting.
TEST(UserWordList, EveryWordTakenComesBackFromBothFiles) {
  struct Case {
    const char* tsvLine;
    const char* problem;  // nullptr: taken
  };
  const Case cases[] = {
      {"#1\t- yi1", "\"#1\" begins with #, which starts a comment"},
      {"\"#1\"\t- yi1", "\"#1\" begins with #, which starts a comment"},
      {"1#\tyi1 -", nullptr},
      {"\"\"好\"\"\t- hao3 -", nullptr},  // the word "好", quotes and all
      {"\"好\"\"\thao3 -", nullptr},      // the word 好"
      {"\"好\t- hao3", nullptr},
      {"\"\t-", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tsvLine);
    const UserWordParse parse = ParseUserWordsTsv(std::string("word\tpinyin\n") + c.tsvLine);
    if (c.problem != nullptr) {
      EXPECT_EQ(parse.problems, (std::vector<UserWordProblem>{{"", 2, c.problem}}));
      EXPECT_TRUE(parse.list.empty());
      continue;
    }
    ASSERT_TRUE(parse.problems.empty()) << parse.problems[0].reason;
    ASSERT_EQ(parse.list.size(), 1u);
    const UserWordParse text = ParseUserWords(UserWordsText(parse.list));
    EXPECT_TRUE(text.problems.empty());
    EXPECT_EQ(text.list, parse.list);
    const UserWordParse tsv = ParseUserWordsTsv(UserWordsTsv(text.list));
    EXPECT_TRUE(tsv.problems.empty());
    EXPECT_EQ(tsv.list, parse.list);
  }
}

TEST(UserWordList, TsvHeaderIsPassedOverButABadFirstEntryIsReported) {
  EXPECT_TRUE(ParseUserWordsTsv("词语\t拼音\n银行\tyin2 hang2\n").problems.empty());
  const UserWordParse parse = ParseUserWordsTsv("银行\tyin2\n");
  EXPECT_EQ(parse.problems,
            (std::vector<UserWordProblem>{{"", 1, "1 syllables for 2 characters"}}));
}

TEST(UserWordList, AMissingFileIsAnEmptyListWithoutProblems) {
  TempDir dir;
  const UserWordParse parse = ReadUserWords(dir / "user_words.txt");
  EXPECT_TRUE(parse.list.empty());
  EXPECT_TRUE(parse.problems.empty());
}

TEST(UserWordList, AFileThatCannotBeReadIsAProblemNotAnError) {
  TempDir dir;
  std::filesystem::create_directory(dir / "user_words.txt");
  const UserWordParse parse = ReadUserWords(dir / "user_words.txt");
  EXPECT_TRUE(parse.list.empty());
  ASSERT_EQ(parse.problems.size(), 1u);
  EXPECT_EQ(parse.problems[0].line, 0u);
  EXPECT_NE(parse.problems[0].reason.find("user_words.txt"), std::string::npos);
}

TEST(UserWordList, SavingReplacesTheFileWholeAndLeavesNoScratchFile) {
  TempDir dir;
  const auto file = dir / "user_words.txt";
  WriteBytes(file, "旧的 jiu4 de5\n" + std::string(10000, '#') + "\n");
  const UserWordList list = SampleList();
  WriteUserWords(list, file);
  EXPECT_EQ(ReadBytes(file), UserWordsText(list));
  std::size_t files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path()))
    ++files;
  EXPECT_EQ(files, 1u);
  const UserWordParse parse = ReadUserWords(file);
  EXPECT_EQ(parse.list, list);
}

TEST(UserWordList, AFailedSaveLeavesTheOldFile) {
  TempDir dir;
  const auto file = dir / "missing-folder" / "user_words.txt";
  EXPECT_THROW(WriteUserWords(SampleList(), file), Error);
  EXPECT_FALSE(std::filesystem::exists(file));
}

}  // namespace
}  // namespace tolvane
