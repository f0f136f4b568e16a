#include "reading/shared/ToneMarks.h"

#include <gtest/gtest.h>

#include "platform/Cp936.h"
#include "platform/Error.h"
#include "platform/TextFile.h"
#include "support/TestSupport.h"

namespace tolvane {
namespace {

using test::Gb;

ToneVowels ShippedGlyphs() {
  return ReadTextLines(test::SourceDataFolder() / "define_py_tone.dll");
}

TEST(ToneVowelFile, HoldsTheTwentyFiveGlyphsInVowelOrder) {
  const ToneVowels glyphs = ShippedGlyphs();
  const char* expected[] = {"ā", "á", "ǎ", "à", "ō", "ó", "ǒ", "ò", "ē", "é", "ě", "è", "ī",
                            "í", "ǐ", "ì", "ū", "ú", "ǔ", "ù", "ǖ", "ǘ", "ǚ", "ǜ", "ü"};
  ASSERT_EQ(glyphs.size(), 25u);
  for (std::size_t i = 0; i < 25; ++i) {
    EXPECT_EQ(glyphs[i], Gb(expected[i])) << "index " << i;
    EXPECT_EQ(glyphs[i].size(), 2u);
  }
}

enum class Op { Mark, MarkList, Strip };

struct ToneCase {
  const char* input;
  Op op;
  const char* expectedUtf8;
};

void PrintTo(const ToneCase& c, std::ostream* os) {
  *os << (c.op == Op::Mark       ? "MarkReading("
          : c.op == Op::MarkList ? "MarkReadingList("
                                 : "StripToneDigits(")
      << c.input << ")";
}

class ToneMarksTable : public testing::TestWithParam<ToneCase> {};

TEST_P(ToneMarksTable, GivesTheDesignedResult) {
  const ToneCase& c = GetParam();
  const ToneVowels glyphs = ShippedGlyphs();
  std::string result;
  switch (c.op) {
    case Op::Mark:
      result = MarkReading(c.input, glyphs);
      break;
    case Op::MarkList:
      result = MarkReadingList(c.input, glyphs);
      break;
    case Op::Strip:
      result = StripToneDigits(c.input);
      break;
  }
  EXPECT_EQ(test::Utf8(result), c.expectedUtf8) << "input " << c.input;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ToneMarksTable,
    testing::Values(
        ToneCase{"zhuang1", Op::Mark, "zhuāng"},  // two-letter initial put back
        ToneCase{"shi4", Op::Mark, "shì"},
        ToneCase{"zi4", Op::Mark, "zì"},  // z before i is a one-letter initial
        ToneCase{"a5", Op::Mark, "a"},    // neutral tone: digit removed, no mark
        ToneCase{"er2", Op::Mark, "ér"},
        ToneCase{"you3", Op::Mark, "yǒu"},  // y is an initial; mark on o
        ToneCase{"gui4", Op::Mark, "guì"},  // ui: mark on the i
        ToneCase{"liu2", Op::Mark, "liú"},  // iu: mark on the u
        ToneCase{"yue4", Op::Mark, "yuè"},
        ToneCase{"lue4", Op::Mark, "luè"},  // u is not turned into ü
        ToneCase{"nve4", Op::Mark, "nvè"},  // only the marked letter changes
        ToneCase{"lv3", Op::Mark, "lǚ"}, ToneCase{"lv5", Op::Mark, "lü"},  // item 24
        ToneCase{"m2", Op::Mark, "m"},  // no markable vowel: only the digit goes
        ToneCase{"hng5", Op::Mark, "hng"}, ToneCase{"ang2", Op::Mark, "áng"},  // no initial at all
        ToneCase{"chuang3", Op::Mark, "chuǎng"}, ToneCase{"cui1", Op::Mark, "cuī"},  // c + ui
        ToneCase{"zhuo2", Op::Mark, "zhuó"},                                         // o before u
        ToneCase{"xiong2", Op::Mark, "xióng"},
        ToneCase{"zhong ", Op::Mark, "zhon"},  // trailing blank: empty tone, the g goes
        ToneCase{"", Op::Mark, ""}, ToneCase{"a1/a5/e1", Op::MarkList, "ē/a/ā"},
        ToneCase{"chang2/zhang3", Op::MarkList, "zhǎng/cháng"},
        ToneCase{"cheng2", Op::MarkList, "chéng"},  // one item, no separator
        ToneCase{"", Op::MarkList, ""},
        ToneCase{"a1/", Op::MarkList, "/ā"},  // an empty item stays empty
        ToneCase{"a1/a5/e1", Op::Strip, "e/a/a"},
        ToneCase{"chang2/zhang3", Op::Strip, "zhang/chang"}, ToneCase{"zhong4", Op::Strip, "zhong"},
        ToneCase{"", Op::Strip, ""}, ToneCase{"a1//b2", Op::Strip, "b//a"}));

TEST(ToneMarks, StrippedBytesEqualMarkedCharacters) {
  const ToneVowels glyphs = ShippedGlyphs();
  for (const char* list : {"chang2/zhang3", "a1/a5/e1", "lv3/luo1", "en2/en3/en4/eng2/eng3/eng4",
                           "zhao1/zhao2/zhe5/zhuo2", "nv3"}) {
    EXPECT_EQ(StripToneDigits(list).size(), cp936::CharCount(MarkReadingList(list, glyphs)))
        << list;
  }
}

TEST(ToneMarks, EmptyGlyphListFailsOnlyWhereAMarkIsNeeded) {
  const ToneVowels none;
  try {
    MarkReading("zhuang1", none);
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "List index out of bounds (0)");
  }
  EXPECT_EQ(MarkReading("a5", none), "a");
  EXPECT_EQ(MarkReading("si5", none), "si");
  EXPECT_EQ(MarkReading("m2", none), "m");
  EXPECT_THROW(MarkReading("lv5", none), Error);  // the neutral ü still needs item 24
  EXPECT_THROW(MarkReadingList("a5/zhuang1", none), Error);
}

TEST(ToneMarks, ShortGlyphListNamesTheMissingIndex) {
  ToneVowels glyphs = ShippedGlyphs();
  glyphs.resize(20);
  EXPECT_EQ(test::Utf8(MarkReading("zhu4", glyphs)), "zhù");
  try {
    MarkReading("lv3", glyphs);
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "List index out of bounds (22)");
  }
}

}  // namespace
}  // namespace tolvane
