// The page design's saved text, read back, and the tone helpers every document format colours by.
#include <gtest/gtest.h>

#include <set>

#include "documents/PageDesign.h"
#include "platform/Error.h"
#include "support/TestSupport.h"

namespace tolvane {
namespace {

TEST(PageDesignTest, EveryChoiceSurvivesItsText) {
  PageDesign design;
  design.paper = PaperSize::Letter;
  design.marginMm = 12.5;
  design.textFont = "Noto Serif CJK SC";
  design.textSizePt = 22;
  design.readingFont = "Andika";
  design.readingPercent = 60;
  design.lineSpacing = 1.75;
  design.syllableGap = 0.25;
  design.titleSource = TitleSource::Fixed;
  design.titleText = "第一课 我的家";
  design.pageNumbers = false;
  design.toneScheme = ToneColourScheme::Custom;
  design.toneColours[2] = "#123abc";
  design.scope = AnnotationScope::Unusual;
  EXPECT_EQ(ParsePageDesign(PageDesignText(design)), design);
  EXPECT_EQ(ParsePageDesign(PageDesignText(PageDesign())), PageDesign());
}

TEST(PageDesignTest, MissingKeysKeepTheirDefaultsAndCommentsAndBomAreSkipped) {
  const PageDesign design =
      ParsePageDesign("\xEF\xBB\xBF# mine\r\n\r\npaper = a5\r\n  annotate=first  \r\n");
  PageDesign expected;
  expected.paper = PaperSize::A5;
  expected.scope = AnnotationScope::First;
  EXPECT_EQ(design, expected);
}

TEST(PageDesignTest, BadLinesAreErrorsNamingTheFileAndLine) {
  struct Case {
    const char* text;
    const char* reason;
  };
  const Case cases[] = {
      {"paper = a3", "\"a3\" is none of a4, a5, letter"},
      {"margin_mm = -1", "\"-1\" is no number from 0 to 60"},
      {"margin_mm = 10mm", "\"10mm\" is no number from 0 to 60"},
      {"reading_percent = 101", "\"101\" is no number from 20 to 100"},
      {"page_numbers = maybe", "\"maybe\" is neither yes nor no"},
      {"tone_colour_3 = red", "a colour is written #rrggbb"},
      {"tone_colour_6 = #000000", "unknown setting \"tone_colour_6\""},
      {"papr = a4", "unknown setting \"papr\""},
      {"paper", "a line is \"key = value\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    try {
      ParsePageDesign(std::string("# design\n") + c.text, "my.design");
      ADD_FAILURE() << "no error";
    } catch (const Error& error) {
      EXPECT_EQ(std::string(error.what()),
                std::string("Page design my.design, line 2: ") + c.reason);
      EXPECT_EQ(error.path(), "my.design");
    }
  }
}

// A number read from a design is written back as the same number, however many digits it was
// given with, and a short number stays short.
TEST(PageDesignTest, NumbersReadBackExactlyAsWritten) {
  struct Case {
    const char* line;     // as a user writes it
    const char* written;  // as the design is saved
  };
  const Case cases[] = {
      {"margin_mm = 12.3456789", "margin_mm = 12.3456789\n"},
      {"text_size_pt = 10.0000001", "text_size_pt = 10.0000001\n"},
      {"line_spacing = 1.2345678901234567", "line_spacing = 1.2345678901234567\n"},
      {"syllable_gap = 0.1000001", "syllable_gap = 0.1000001\n"},
      {"margin_mm = 12.50", "margin_mm = 12.5\n"},
      {"text_size_pt = 1.8e1", "text_size_pt = 18\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const PageDesign design = ParsePageDesign(c.line);
    const std::string text = PageDesignText(design);
    EXPECT_NE(text.find(c.written), std::string::npos) << text;
    EXPECT_EQ(ParsePageDesign(text), design);
  }
}

TEST(PageDesignTest, FileRoundTripAndMissingFile) {
  test::TempDir dir;
  PageDesign design;
  design.toneScheme = ToneColourScheme::Contrast;
  WritePageDesign(design, dir / "a.design");
  EXPECT_EQ(ReadPageDesign(dir / "a.design"), design);
  EXPECT_THROW(ReadPageDesign(dir / "none.design"), Error);
}

TEST(PageDesignTest, ToneOfSyllableInEveryToneStyle) {
  struct Case {
    const char* syllable;
    int tone;
  };
  const Case cases[] = {
      {"mā", 1},  {"má", 2}, {"mǎ", 3},    {"mà", 4},  {"ma", 5},    {"lǜ", 4},  {"nǚ", 3},
      {"Lǘ", 2},  {"ǹg", 4}, {"ḿ", 2},     {"ma1", 1}, {"ma4", 4},   {"ma5", 5}, {"lv4", 4},
      {"Běi", 3}, {"ê̄", 1},  {"zhong", 5}, {"", 5},    {"shuài", 4},
  };
  for (const Case& c : cases) EXPECT_EQ(ToneOfSyllable(c.syllable), c.tone) << c.syllable;
}

TEST(PageDesignTest, ToneColoursFollowTheScheme) {
  PageDesign design;
  EXPECT_EQ(ToneColour(design, 1), "");
  design.toneScheme = ToneColourScheme::Custom;
  design.toneColours = {"#000001", "#000002", "#000003", "#000004", "#000005"};
  for (int tone = 1; tone <= 4; ++tone)
    EXPECT_EQ(ToneColour(design, tone), "#00000" + std::to_string(tone));
  EXPECT_EQ(ToneColour(design, 5), "#000005");
  EXPECT_EQ(ToneColour(design, 0), "#000005");
  for (const ToneColourScheme scheme :
       {ToneColourScheme::Classic, ToneColourScheme::Dictionary, ToneColourScheme::Contrast}) {
    design.toneScheme = scheme;
    std::set<std::string> colours;
    for (int tone = 1; tone <= 5; ++tone) colours.insert(ToneColour(design, tone));
    EXPECT_EQ(colours.size(), 5u) << "every tone its own colour";
  }
}

TEST(PageDesignTest, PaperSizes) {
  EXPECT_DOUBLE_EQ(PaperSizeMm(PaperSize::A4).width, 210);
  EXPECT_DOUBLE_EQ(PaperSizeMm(PaperSize::A5).height, 210);
  EXPECT_NEAR(PaperSizeMm(PaperSize::Letter).width, 215.9, 1e-9);
}

}  // namespace
}  // namespace tolvane
