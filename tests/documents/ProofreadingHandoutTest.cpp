// The chosen readings over a proofread text's characters, in every tone style and in written
// words, and in the handout every document is written from.
#include <gtest/gtest.h>

#include "documents/ProofreadingHandout.h"
#include "documents/ProofreadingReadings.h"
#include "support/LayoutSupport.h"
#include "support/ShippedDataFixture.h"

namespace tolvane {
namespace {

class ProofreadingHandoutTest : public test::ShippedDataFixture {
 protected:
  // "text:reading" of every unit with a reading, joined by spaces, line by line.
  static std::string Annotated(const Handout& handout) {
    std::string out;
    for (const HandoutLine& line : handout.lines) {
      if (!out.empty()) out += " | ";
      std::string units;
      for (const RubyCharacter& unit : line.units)
        if (!unit.reading.empty())
          units += (units.empty() ? "" : " ") + unit.text + ":" + unit.reading;
      out += units;
    }
    return out;
  }

  static PageDesign EveryReading() {
    PageDesign design;
    design.titleSource = TitleSource::None;
    return design;
  }
};

TEST_F(ProofreadingHandoutTest, ChosenReadingsShowInEveryToneStyle) {
  ProofreadingText text("我们行走。\r\n行人");
  text.AddCorrection({CorrectionScope::Occurrence, 2, "行", {"hang2"}});
  text.AddCorrection({CorrectionScope::EveryOccurrence, 0, "人", {"ren4"}});
  struct Case {
    ToneStyle style;
    const char* annotated;
  };
  const Case cases[] = {
      {ToneStyle::Marked, "我:wǒ 们:men 行:háng 走:zǒu | 行:xíng 人:rèn"},
      {ToneStyle::Numbered, "我:wo3 们:men5 行:hang2 走:zou3 | 行:xing2 人:ren4"},
      {ToneStyle::Plain, "我:wo 们:men 行:hang 走:zou | 行:xing 人:ren"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.annotated);
    EXPECT_EQ(Annotated(ProofreadHandout(
                  reader(), text, test::ByContext(OutputFormat::html, c.style), EveryReading())),
              c.annotated);
  }
}

TEST_F(ProofreadingHandoutTest, TheFirstReadingPolicyTakesTheChoiceToo) {
  ProofreadingText text("银行");
  text.AddCorrection({CorrectionScope::EveryOccurrence, 0, "行", {"hang2"}});
  ConversionSettings settings;
  settings.polyphone = PolyphonePolicy::FirstReading;
  settings.toneStyle = ToneStyle::Numbered;
  EXPECT_EQ(Annotated(ProofreadHandout(reader(), text, settings, EveryReading())),
            "银:yin2 行:hang2");
}

TEST_F(ProofreadingHandoutTest, AWrittenWordTakesItsChosenSyllableAndKeepsTheOthers) {
  // 西安 written as one word: the chosen reading of 安 keeps the capital and the apostrophe.
  ProofreadingText text("他去西安。");
  text.AddCorrection({CorrectionScope::Occurrence, 3, "安", {"an4"}});
  const Handout handout = ProofreadHandout(
      reader(), text, test::ByContext(OutputFormat::html, ToneStyle::Marked, true), EveryReading());
  EXPECT_EQ(Annotated(handout), "他:Tā 去:qù 西安:Xī'àn");
}

TEST_F(ProofreadingHandoutTest, TheDesignChoosesAmongTheCorrectedReadings) {
  // Only readings other than the usual stay under AnnotationScope::Unusual: the chosen háng of a
  // 行 that reads xíng is one.
  ProofreadingText text("我们行走。");
  text.AddCorrection({CorrectionScope::Occurrence, 2, "行", {"hang2"}});
  PageDesign design = EveryReading();
  design.scope = AnnotationScope::Unusual;
  EXPECT_EQ(Annotated(ProofreadHandout(
                reader(), text, test::ByContext(OutputFormat::html, ToneStyle::Marked), design)),
            "行:háng");
}

TEST_F(ProofreadingHandoutTest, ACharacterOffersItsOwnReadingFirstThenTheTablesOnes) {
  struct Case {
    const char* character;
    std::vector<std::string> readings;
  };
  const Case cases[] = {
      {"行", {"xing2", "heng2", "hang4", "hang2"}},
      {"的", {"de5", "di4", "di2"}},
      {"人", {"ren2"}},
      {"a", {}},
      {"", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.character);
    EXPECT_EQ(ReadingsToChooseFrom(reader(), c.character), c.readings);
  }
}

TEST(PlacedLinesTest, LinesKnowWhereTheyBeginInTheText) {
  const std::vector<PlacedLine> lines = PlacedLinesOf("𠀀a\r\n\nb行\nc");
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0].text, "𠀀a");
  EXPECT_EQ(lines[0].firstCodePoint, 0u);
  EXPECT_EQ(lines[1].text, "");
  EXPECT_EQ(lines[1].firstCodePoint, 4u);
  EXPECT_EQ(lines[2].text, "b行");
  EXPECT_EQ(lines[2].firstCodePoint, 5u);
  EXPECT_EQ(lines[3].firstCodePoint, 8u);
}

}  // namespace
}  // namespace tolvane
