// A handout's title and the characters its design leaves annotated, read by context from the
// shipped data.
#include <gtest/gtest.h>

#include "documents/Handout.h"
#include "support/LayoutSupport.h"
#include "support/ShippedDataFixture.h"

namespace tolvane {
namespace {

class HandoutTest : public test::ShippedDataFixture {
 protected:
  Handout Of(std::string_view text, const PageDesign& design, bool written = false) {
    return HandoutOfText(reader(), text,
                         test::ByContext(OutputFormat::html, ToneStyle::Marked, written), design);
  }

  static PageDesign Scope(AnnotationScope scope) {
    PageDesign design;
    design.titleSource = TitleSource::None;
    design.scope = scope;
    return design;
  }

  // The units of every line that kept a reading, "text:reading" joined by spaces.
  static std::string Annotated(const Handout& handout) {
    std::string out;
    for (const HandoutLine& line : handout.lines)
      for (const RubyCharacter& unit : line.units)
        if (!unit.reading.empty()) out += (out.empty() ? "" : " ") + unit.text + ":" + unit.reading;
    return out;
  }
};

TEST_F(HandoutTest, ScopeLeavesExactlyTheChosenCharactersAnnotated) {
  struct Case {
    AnnotationScope scope;
    const char* text;
    const char* annotated;
  };
  const Case cases[] = {
      {AnnotationScope::Every, "人人有书", "人:rén 人:rén 有:yǒu 书:shū"},
      {AnnotationScope::First, "人人有人\n有书", "人:rén 有:yǒu 书:shū"},
      {AnnotationScope::Uncommon, "饕餮大餐", "饕:tāo 餮:tiè"},
      // Traditional forms of the common characters count as common.
      {AnnotationScope::Uncommon, "學習饕餮", "饕:tāo 餮:tiè"},
      {AnnotationScope::Unusual, "他去银行，我们行走。", "行:háng"},
      // A light syllable is the usual reading without its tone.
      {AnnotationScope::Unusual, "我的朋友", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(Annotated(Of(c.text, Scope(c.scope))), c.annotated);
  }
}

TEST_F(HandoutTest, UnusualWrittenWordsCompareAllTheirSyllables) {
  // 银行 written as one word keeps its reading for háng; 行走 reads as usual.
  EXPECT_EQ(Annotated(Of("他去银行，我们行走。", Scope(AnnotationScope::Unusual), true)),
            "银行:yínháng");
}

TEST_F(HandoutTest, ShortFirstLineIsTheTitle) {
  PageDesign design;
  const Handout titled = Of("我的家\n我家有四口人。", design);
  EXPECT_EQ(titled.title, "我的家");
  ASSERT_EQ(titled.lines.size(), 2u);
  EXPECT_TRUE(titled.lines[0].heading);
  EXPECT_FALSE(titled.lines[1].heading);
  EXPECT_EQ(titled.lines[0].units[0].reading, "wǒ");

  EXPECT_EQ(Of("我家有四口人。", design).title, "") << "a single line is the text itself";
  EXPECT_EQ(Of("\n我家有四口人。", design).title, "") << "an empty first line is no title";
  EXPECT_EQ(Of(std::string(31, 'a') + "\nb", design).title, "");
  EXPECT_EQ(Of(std::string(30, 'a') + "\nb", design).title, std::string(30, 'a'));
  EXPECT_EQ(Of("我回到了故乡。\n我家有四口人。", design).title, "") << "a sentence";
  EXPECT_EQ(Of("春天来了，\n花开了。", design).title, "") << "a clause";
  EXPECT_EQ(Of("你好吗？\n我很好。", design).title, "你好吗？");
}

TEST_F(HandoutTest, FixedTitleIsAnAnnotatedHeadingAndNoneIsNone) {
  PageDesign design;
  design.titleSource = TitleSource::Fixed;
  design.titleText = "第一课";
  const Handout fixed = Of("我的家\n我家有四口人。", design);
  EXPECT_EQ(fixed.title, "第一课");
  ASSERT_EQ(fixed.lines.size(), 3u);
  EXPECT_TRUE(fixed.lines[0].heading);
  EXPECT_EQ(TextOfUnits(fixed.lines[0].units), "第一课");
  EXPECT_EQ(fixed.lines[0].units[0].reading, "dì");
  EXPECT_FALSE(fixed.lines[1].heading);

  design.titleSource = TitleSource::None;
  const Handout none = Of("我的家\n我家有四口人。", design);
  EXPECT_EQ(none.title, "");
  EXPECT_FALSE(none.lines[0].heading);
}

TEST_F(HandoutTest, FileHandoutNamesItsSource) {
  test::WriteBytes(folder_ / "lesson one.txt", "我的家\r\n我家有四口人。\r\n");
  const Handout handout =
      ReadHandout(reader(), folder_ / "lesson one.txt",
                  test::ByContext(OutputFormat::html, ToneStyle::Marked), PageDesign());
  EXPECT_EQ(handout.name, "lesson one");
  EXPECT_EQ(handout.title, "我的家");
  EXPECT_EQ(handout.lines.size(), 2u);
}

}  // namespace
}  // namespace tolvane
