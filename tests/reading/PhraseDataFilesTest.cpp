// The phrase data's three files read into records: what each line gives, and the file and line
// of every malformed one.
#include "reading/context/PhraseDataFiles.h"

#include <gtest/gtest.h>

#include "platform/Error.h"
#include "platform/UnicodeText.h"
#include "support/TestSupport.h"

namespace tolvane {
namespace {

using namespace std::string_literals;

PhraseRecords Parse(const std::string& words, const std::string& pairs = "",
                    const std::string& chars = "") {
  PhraseFileParser parser;
  parser.ParseWords(words, "w.txt");
  parser.ParsePairs(pairs, "p.txt");
  parser.ParseCharacters(chars, "c.txt");
  return parser.TakeRecords();
}

std::u32string CharactersOf(const PhraseRecords& records, const PhraseRecords::Word& word) {
  const auto span = records.CharactersOf(word);
  return std::u32string(span.begin(), span.end());
}

std::vector<std::string> ReadingsOf(const PhraseRecords& records, const PhraseRecords::Word& word) {
  std::vector<std::string> out;
  for (std::size_t i = word.begin; i < word.begin + word.length; ++i) {
    const SyllableId id = records.readings[i];
    out.push_back(id == kDefaultSyllable ? "-" : records.syllables.at(id));
  }
  return out;
}

TEST(PhraseDataFiles, EachLineGivesOneRecord) {
  const PhraseRecords records = Parse(
      "# comment\n"
      "生命\t80\tsheng1 ming4\r\n"
      "\n"
      "研究\t100\tyan2 jiu1\n"
      "𠀀\t3\tqiu1\n"
      "长城\t20\tchang2 -",  // the last line has no line end
      "长大\t1\tzhang3\n大长\t2\t*\n", "研\tyan2\n𠀁\tqiu1\n");
  const struct {
    std::u32string characters;
    std::uint32_t frequency;
    std::uint32_t line;
    std::vector<std::string> readings;
  } expected[] = {
      // In code point order: 生 U+751F, 研 U+7814, 长 U+957F, then beyond the BMP.
      {U"生命", 80, 2, {"sheng1", "ming4"}},
      {U"研究", 100, 4, {"yan2", "jiu1"}},
      {U"长城", 20, 6, {"chang2", "-"}},
      {U"𠀀", 3, 5, {"qiu1"}},
  };
  ASSERT_EQ(records.words.size(), std::size(expected));
  for (std::size_t i = 0; i < records.words.size(); ++i) {
    const PhraseRecords::Word& word = records.words[i];
    EXPECT_EQ(CharactersOf(records, word), expected[i].characters) << i;
    EXPECT_EQ(word.frequency, expected[i].frequency) << i;
    EXPECT_EQ(word.line, expected[i].line) << i;
    EXPECT_EQ(ReadingsOf(records, word), expected[i].readings) << i;
  }

  ASSERT_EQ(records.pairs.size(), 2u);
  EXPECT_EQ(records.pairs[0].first, U'长');
  EXPECT_EQ(records.pairs[0].second, U'大');
  EXPECT_EQ(records.pairs[0].which, 1);
  EXPECT_EQ(records.syllables.at(records.pairs[0].reading), "zhang3");
  EXPECT_EQ(records.pairs[1].first, U'大');
  EXPECT_EQ(records.pairs[1].which, 2);
  EXPECT_EQ(records.pairs[1].reading, kDisputedSyllable);

  ASSERT_EQ(records.characterReadings.size(), 2u);
  EXPECT_EQ(records.characterReadings[0].character, U'研');
  EXPECT_EQ(records.characterReadings[1].character, U'\U00020001');
  // One id per syllable across the three files, numbered as they first appear.
  EXPECT_EQ(records.characterReadings[0].reading, records.syllableIds.at("yan2"));
  EXPECT_EQ(records.characterReadings[1].reading, records.syllableIds.at("qiu1"));
  EXPECT_EQ(records.syllables, (std::vector<std::string>{"sheng1", "ming4", "yan2", "jiu1", "qiu1",
                                                         "chang2", "zhang3"}));
  EXPECT_EQ(records.syllableIds.size(), records.syllables.size());
}

TEST(PhraseDataFiles, SyllablesAreTheirExactBytes) {
  // Short syllables are looked up by their bytes packed into a number: neither a NUL byte nor
  // the length may make two of them one.
  const std::string names[] = {"a", "a\0"s, "\0"s, "ab", "zhuang1", "zhuang12", "zhuang123x", "é"};
  std::string words;
  char32_t character = U'一';
  for (const std::string& name : names) {
    unicode::AppendCodePoint(words, character++);
    words += "\t1\t" + name + "\n";
  }
  const PhraseRecords records = Parse(words);
  ASSERT_EQ(records.words.size(), std::size(names));
  ASSERT_EQ(records.syllables.size(), std::size(names));
  for (std::size_t i = 0; i < std::size(names); ++i) {
    EXPECT_EQ(ReadingsOf(records, records.words[i]), std::vector<std::string>{names[i]}) << i;
    EXPECT_EQ(records.syllables[i], names[i]) << i;
  }
}

TEST(PhraseDataFiles, MalformedLinesAreReportedWithFileAndLine) {
  const struct {
    std::string words;
    std::string pairs;
    std::string chars;
    std::string error;
  } cases[] = {
      {"研究\t100\tyan2\n", "", "", "w.txt:1: not one syllable per character"},
      {"研\t100\tyan2 jiu1\n", "", "", "w.txt:1: not one syllable per character"},
      {"研究\tmany\tyan2 jiu1\n", "", "",
       "w.txt:1: the frequency is not a whole number from 1 to 4294967295"},
      {"研\t0\tyan2\n", "", "",
       "w.txt:1: the frequency is not a whole number from 1 to 4294967295"},
      {"研\t4294967296\tyan2\n", "", "",
       "w.txt:1: the frequency is not a whole number from 1 to 4294967295"},
      {"研\t-1\tyan2\n", "", "",
       "w.txt:1: the frequency is not a whole number from 1 to 4294967295"},
      {"研\t\tyan2\n", "", "", "w.txt:1: the frequency is not a whole number from 1 to 4294967295"},
      {"# x\n\n研究\t100\n", "", "", "w.txt:3: expected 3 fields separated by TABs"},
      {"研\t1\tyan2\t\n", "", "", "w.txt:1: expected 3 fields separated by TABs"},
      {"\t1\tyan2\n", "", "", "w.txt:1: expected 3 fields separated by TABs"},
      {"研究\t1\tyan2  jiu1\n", "", "", "w.txt:1: an empty syllable"},
      {"研\t1\tyan2 \n", "", "", "w.txt:1: an empty syllable"},
      {"研\t1\t\n", "", "", "w.txt:1: an empty syllable"},
      {"研究\t1\tyan2 jiu1\n研究\t2\tyan2 jiu1\n", "", "", "w.txt:2: the word is given twice"},
      // Found after sorting: the later of the two lines is named.
      {"研究\t1\tyan2 jiu1\n生\t1\tsheng1\n研究\t2\tyan2 jiu1\n", "", "",
       "w.txt:3: the word is given twice"},
      {"\xFF\t1\tx1\n", "", "", "w.txt:1: not UTF-8"},
      {"\xE7\xA0\t1\tx1\n", "", "", "w.txt:1: not UTF-8"},      // cut short
      {"\xED\xA0\x80\t1\tx1\n", "", "", "w.txt:1: not UTF-8"},  // a surrogate
      {"", "研究\t3\tyan2\n", "", "p.txt:1: not 1 or 2"},
      {"", "研究\t12\tyan2\n", "", "p.txt:1: not 1 or 2"},
      {"", "研\t1\tyan2\n", "", "p.txt:1: not two characters"},
      {"", "研究生\t1\tyan2\n", "", "p.txt:1: not two characters"},
      {"", "研究\t1\t-\n", "", "p.txt:1: not one syllable"},
      {"", "研究\t1\tyan2 jiu1\n", "", "p.txt:1: not one syllable"},
      {"", "研究\t1\n", "", "p.txt:1: expected 3 fields separated by TABs"},
      {"", "", "研究\tyan2\n", "c.txt:1: not one character"},
      {"", "", "研\t-\n", "c.txt:1: not one syllable"},
      {"", "", "研\tyan2\t1\n", "c.txt:1: expected 2 fields separated by TABs"},
      {"", "", "研\tyan2\n\xC0\x80\tyan2\n", "c.txt:2: not UTF-8"},  // overlong
  };
  for (const auto& c : cases) {
    try {
      Parse(c.words, c.pairs, c.chars);
      ADD_FAILURE() << "no error for " << c.error;
    } catch (const Error& error) {
      EXPECT_EQ(std::string(error.what()), c.error);
    }
  }
}

TEST(PhraseDataFiles, LimitsAreReportedWithFileAndLine) {
  // A word of more characters than a record counts.
  std::string longWord;
  for (int i = 0; i < 0x10000; ++i) longWord += "a";
  try {
    Parse("# x\n" + longWord + "\t1\t-\n");
    ADD_FAILURE() << "no error for a word of 65536 characters";
  } catch (const Error& error) {
    EXPECT_EQ(std::string(error.what()), "w.txt:2: the word is too long");
  }
  // More syllables than ids: 65518 fit (a few stay for the rules of speech), the next does not.
  std::string chars;
  for (int i = 0; i <= 0xFFFE; ++i) {
    unicode::AppendCodePoint(chars, static_cast<char32_t>(0x20000 + i));
    chars += "\ts" + std::to_string(i) + "\n";
  }
  try {
    Parse("", "", chars);
    ADD_FAILURE() << "no error for 65535 syllables";
  } catch (const Error& error) {
    EXPECT_EQ(std::string(error.what()), "c.txt:65519: too many syllables");
  }
}

TEST(PhraseDataFiles, ReadingMissingFilesRaisesTheFileError) {
  test::TempDir dir;
  test::WriteBytes(dir / "w.txt", "研\t1\tyan2\n");
  test::WriteBytes(dir / "c.txt", "");
  try {
    ReadPhraseFiles(dir / "w.txt", dir / "p.txt", dir / "c.txt");
    ADD_FAILURE() << "read a missing file";
  } catch (const Error& error) {
    EXPECT_EQ(error.path(), dir / "p.txt");
  }
  test::WriteBytes(dir / "p.txt", "研究\t1\tyan2\n");
  const PhraseRecords records = ReadPhraseFiles(dir / "w.txt", dir / "p.txt", dir / "c.txt");
  EXPECT_EQ(records.words.size(), 1u);
  EXPECT_EQ(records.pairs.size(), 1u);
  EXPECT_EQ(records.syllables, std::vector<std::string>{"yan2"});
}

}  // namespace
}  // namespace tolvane
