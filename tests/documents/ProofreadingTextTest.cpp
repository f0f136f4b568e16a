// A proofread text's corrections as the text is edited around them, and the syllables they
// choose for each character.
#include <gtest/gtest.h>

#include "documents/ProofreadingText.h"
#include "platform/Error.h"

namespace tolvane {
namespace {

Correction Here(std::size_t position, std::string characters, std::vector<std::string> syllables) {
  return {CorrectionScope::Occurrence, position, std::move(characters), std::move(syllables)};
}

Correction Everywhere(std::string characters, std::vector<std::string> syllables) {
  return {CorrectionScope::EveryOccurrence, 0, std::move(characters), std::move(syllables)};
}

// Where the occurrence corrections stand: "position:characters" joined by spaces.
std::string Places(const ProofreadingText& text) {
  std::string out;
  for (const Correction& correction : text.Corrections())
    if (correction.scope == CorrectionScope::Occurrence)
      out += (out.empty() ? "" : " ") + std::to_string(correction.position) + ":" +
             correction.characters;
  return out;
}

TEST(ProofreadingTextTest, OccurrencesMoveWithTheirCharactersOrGoWhenTheEditTouchesThem) {
  struct Case {
    const char* what;
    std::size_t position;
    std::size_t removed;
    const char* inserted;
    const char* text;
    const char* places;
  };
  // The text "他去银行，我们行走。" with 行 at 3 and the word 行走 at 7.
  const Case cases[] = {
      {"insert before both", 0, 0, "今天", "今天他去银行，我们行走。", "5:行 9:行走"},
      {"insert right before one", 3, 0, "𠀀", "他去银𠀀行，我们行走。", "4:行 8:行走"},
      {"insert right after one", 4, 0, "了", "他去银行了，我们行走。", "3:行 8:行走"},
      {"insert inside a word", 8, 0, "x", "他去银行，我们行x走。", "3:行"},
      {"remove before", 0, 2, "", "银行，我们行走。", "1:行 5:行走"},
      {"replace before, longer", 1, 1, "要去", "他要去银行，我们行走。", "4:行 8:行走"},
      {"remove one corrected character", 3, 1, "", "他去银，我们行走。", "6:行走"},
      {"replace across a correction", 2, 3, "家", "他去家我们行走。", "5:行走"},
      {"remove the end of a word", 8, 1, "", "他去银行，我们行。", "3:行"},
      {"remove after both", 9, 1, "", "他去银行，我们行走", "3:行 7:行走"},
      {"past the end is clamped", 50, 3, "！", "他去银行，我们行走。！", "3:行 7:行走"},
      {"nothing at all", 5, 0, "", "他去银行，我们行走。", "3:行 7:行走"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ProofreadingText text("他去银行，我们行走。");
    text.AddCorrection(Here(3, "行", {"xing2"}));
    text.AddCorrection(Here(7, "行走", {"hang2", "zou3"}));
    text.AddCorrection(Everywhere("银行", {"yin2", "hang2"}));
    text.ApplyEdit(c.position, c.removed, c.inserted);
    EXPECT_EQ(text.Text(), c.text);
    EXPECT_EQ(Places(text), c.places);
    // Every occurrence stays whatever the edit.
    EXPECT_EQ(text.Corrections().back(), Everywhere("银行", {"yin2", "hang2"}));
  }
}

TEST(ProofreadingTextTest, ChosenSyllablesPutOccurrencesBeforeEveryOccurrenceAndLongerFirst) {
  ProofreadingText text("行人在银行里行走，银行。\n行");
  text.AddCorrection(Everywhere("行", {"heng2"}));
  text.AddCorrection(Everywhere("银行", {"yin2", "hang2"}));
  text.AddCorrection(Here(6, "行", {"xing2"}));
  const std::vector<std::string> chosen = text.ChosenSyllables();
  ASSERT_EQ(chosen.size(), 14u);
  const std::vector<std::string> expected = {"heng2", "", "",     "yin2",  "hang2", "", "xing2",
                                             "",      "", "yin2", "hang2", "",      "", "heng2"};
  EXPECT_EQ(chosen, expected);
}

TEST(ProofreadingTextTest, SettingTheWholeTextDropsTheOccurrencesOnly) {
  ProofreadingText text("银行");
  text.AddCorrection(Here(1, "行", {"xing2"}));
  text.AddCorrection(Everywhere("银", {"yin2"}));
  text.SetText("行");
  ASSERT_EQ(text.Corrections().size(), 1u);
  EXPECT_EQ(text.Corrections()[0].scope, CorrectionScope::EveryOccurrence);
}

TEST(ProofreadingTextTest, ANewChoiceReplacesTheOldOneOfTheSamePlaceOrCharacters) {
  ProofreadingText text("银行行");
  text.AddCorrection(Here(1, "行", {"xing2"}));
  text.AddCorrection(Here(0, "银行", {"yin2", "hang2"}));  // overlaps the first
  text.AddCorrection(Everywhere("行", {"hang2"}));
  text.AddCorrection(Everywhere("行", {"heng2"}));
  ASSERT_EQ(text.Corrections().size(), 2u);
  EXPECT_EQ(text.Corrections()[0], Here(0, "银行", {"yin2", "hang2"}));
  EXPECT_EQ(text.Corrections()[1], Everywhere("行", {"heng2"}));
}

TEST(ProofreadingTextTest, RemovingAtAPlaceRemovesWhatGivesThatCharacterItsReading) {
  ProofreadingText text("银行和行");
  text.AddCorrection(Here(3, "行", {"xing2"}));
  text.AddCorrection(Everywhere("银行", {"yin2", "hang2"}));
  EXPECT_FALSE(text.RemoveCorrectionsAt(2));
  EXPECT_TRUE(text.RemoveCorrectionsAt(1));  // the second character of 银行
  ASSERT_EQ(text.Corrections().size(), 1u);
  EXPECT_TRUE(text.RemoveCorrectionsAt(3));
  EXPECT_TRUE(text.Corrections().empty());
}

TEST(ProofreadingTextTest, LineEndsChangeAndTheOccurrencesMoveWithTheirCharacters) {
  ProofreadingText crlf("银行\r\n行走\r\n\r\n行");
  crlf.AddCorrection(Here(1, "行", {"hang2"}));
  crlf.AddCorrection(Here(4, "行", {"xing2"}));
  crlf.AddCorrection(Here(10, "行", {"heng2"}));
  crlf.AddCorrection(Everywhere("走", {"zou3"}));
  const ProofreadingText lf = WithLineEnds(crlf, false);
  EXPECT_EQ(lf.Text(), "银行\n行走\n\n行");
  EXPECT_EQ(Places(lf), "1:行 3:行 7:行");
  EXPECT_EQ(lf.Corrections().back(), Everywhere("走", {"zou3"}));
  EXPECT_EQ(WithLineEnds(lf, true), crlf);
  EXPECT_EQ(WithLineEnds(crlf, true), crlf);
}

TEST(ProofreadingTextTest, CorrectionsThatCannotBeKeptAreRefused) {
  struct Case {
    Correction correction;
    const char* problem;
  };
  const Case cases[] = {
      {Here(0, "银行", {"yin2"}), "2 characters but 1 syllables"},
      {Here(0, "银", {"yín"}), "\"yín\" is no numbered syllable"},
      {Here(0, "银", {"yin6"}), "\"yin6\" is no numbered syllable"},
      {Everywhere("a\tb", {"a1", "b1", "c1"}), "characters hold a tab or a line end"},
      {Everywhere("", {}), "no characters"},
      {Here(1, "银", {"yin2"}), "\"银\" does not stand at character 1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.problem);
    ProofreadingText text("银行");
    try {
      text.AddCorrection(c.correction);
      ADD_FAILURE() << "accepted";
    } catch (const Error& error) {
      EXPECT_NE(std::string(error.what()).find(c.problem), std::string::npos) << error.what();
    }
    EXPECT_TRUE(text.Corrections().empty());
  }
}

}  // namespace
}  // namespace tolvane
