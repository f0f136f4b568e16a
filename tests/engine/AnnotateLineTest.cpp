#include "engine/AnnotateLine.h"

#include <gtest/gtest.h>

#include "platform/Error.h"
#include "reading/classic/ReadingTable.h"
#include "reading/shared/DataFiles.h"
#include "support/LayoutSupport.h"
#include "support/SessionSupport.h"
#include "support/TestSupport.h"

namespace tolvane {
namespace {

using test::Gb;
using Lines = std::vector<std::string>;
using test::kHan;
using test::kHanPy;
using test::kPy;
using test::kPyHan;
using test::kPyOnly;

class AnnotateLineTest : public testing::Test {
 protected:
  Session session;
  test::CurrentReadings reader{session};

 protected:
  void SetUp() override {
    session.LoadDataFiles(
        test::SourceDataFolder());  // the shipped tone glyphs, no user dictionaries
    session.InitNumberedTable();
    session.InitPlainTable();
  }
  static ConversionSettings Settings(OutputFormat format, ToneStyle tone = ToneStyle::Numbered,
                                     bool align = true) {
    ConversionSettings settings;
    settings.outputFormat = format;
    settings.toneStyle = tone;
    settings.align = align;
    return settings;
  }
  // Annotates a UTF-8 line at the start of a run and gives the output back in UTF-8.
  Lines Batch(const char* lineUtf8, const ConversionSettings& settings) {
    Separator separator = kStartSeparator;
    return ToUtf8(AnnotateLine(reader(), Gb(lineUtf8), settings, separator));
  }
  Lines Preview(const char* lineUtf8, const ConversionSettings& settings) {
    return ToUtf8(PreviewLines(reader(), Gb(lineUtf8), settings));
  }
  static Lines ToUtf8(const Lines& lines) {
    Lines out;
    for (const auto& line : lines) out.push_back(test::Utf8(line));
    return out;
  }
};

struct LayoutCase {
  const char* input;
  OutputFormat format;
  bool preview;
  Lines expected;
};

TEST_F(AnnotateLineTest, NumberedLayouts) {
  const LayoutCase cases[] = {
      {"我爱北京", kPy, false, {"wo3 ai4 bei3 jing1", "我  爱  北   京"}},
      {"我爱北京", kHan, false, {"我  爱  北   京", "wo3 ai4 bei3 jing1"}},
      // A full-width sign without a reading: one space in P, the next character one column on.
      {"我，爱", kPy, false, {"wo3  ai4", "我  ，爱"}},
      {"我，爱", kPy, true, {"wo3   ai4", "我，爱"}},
      {"我a爱", kPy, false, {"wo3  ai4", "我  a爱"}},
      // One-byte characters without readings stay unbroken.
      {"abc", kPy, false, {"  ", "abc"}},
      {"abc", kPy, true, {"     ", "abc"}},
      {"，我", kPy, false, {" wo3", "，我"}},
      {"我，爱", kHanPy, false, {"我(wo3)，爱(ai4)"}},
      {"我，爱", kPyHan, false, {"(wo3)我，(ai4)爱"}},
      {"我，爱", kPyOnly, false, {"wo3   ai4"}},
      {"我，爱", kHanPy, true, {"我(wo3)，爱(ai4)"}},
      {"我，爱", kPyHan, true, {"(wo3)我，(ai4)爱"}},
      {"我，爱", kPyOnly, true, {"wo3   ai4"}},
      {"我，爱", kHan, true, {"我，爱", "wo3   ai4"}},
      {"", kPy, false, {"", ""}},
      {"", kHan, false, {"", ""}},
      {"", kHanPy, false, {""}},
      {"", kPyHan, false, {""}},
      {"", kPyOnly, false, {""}},
      {"", kPy, true, {"", ""}},
  };
  for (const LayoutCase& c : cases) {
    const auto settings = Settings(c.format);
    EXPECT_EQ(c.preview ? Preview(c.input, settings) : Batch(c.input, settings), c.expected)
        << c.input << " format " << static_cast<int>(c.format) << (c.preview ? " preview" : "");
  }
}

TEST_F(AnnotateLineTest, AlignOffKeepsTheInputLineByteForByte) {
  EXPECT_EQ(Batch("我，爱 ab", Settings(kPy, ToneStyle::Numbered, false)),
            (Lines{"wo3  ai4   ", "我，爱 ab"}));
  EXPECT_EQ(Batch("我爱", Settings(kHan, ToneStyle::Numbered, false)), (Lines{"我爱", "wo3 ai4"}));
  // The switch means nothing to the one-line layouts.
  EXPECT_EQ(Batch("我爱", Settings(kHanPy, ToneStyle::Numbered, false)), Lines{"我(wo3)爱(ai4)"});
}

TEST_F(AnnotateLineTest, AllReadingsArePaddedLikeOneReading) {
  auto settings = Settings(kPy);
  settings.polyphone = PolyphonePolicy::AllReadings;
  EXPECT_EQ(Batch("长大", settings), (Lines{"chang2/zhang3 da4/dai4", "长            大"}));
}

TEST_F(AnnotateLineTest, MarkedStyleMeasuresOnWidthReadings) {
  const auto settings = Settings(kPy, ToneStyle::Marked);
  EXPECT_EQ(Batch("我爱北京", settings), (Lines{"wǒ ài běi jīng", "我 爱 北  京"}));
  EXPECT_EQ(Batch("我a爱", settings), (Lines{"wǒ  ài", "我 a 爱"}));
  EXPECT_EQ(Preview("我爱北京", settings), (Lines{"wǒ ài běi jīng", "我爱北京"}));
}

TEST_F(AnnotateLineTest, SeparatorCarriesAcrossLinesInTheMarkedStyle) {
  const auto marked = Settings(kPy, ToneStyle::Marked);
  const auto annotate = [this](const char* line, const ConversionSettings& settings, Separator& s) {
    Lines out = AnnotateLine(reader(), Gb(line), settings, s);
    return test::Utf8(out[1]);
  };
  Separator separator = kStartSeparator;
  annotate("我", marked, separator);  // ends in a character with a reading
  EXPECT_EQ(annotate("爱你", marked, separator), "爱 你");
  annotate("我，", marked, separator);  // ends in a character without one
  EXPECT_EQ(annotate("爱你", marked, separator), "爱你");
  EXPECT_EQ(separator, " ");

  const auto numbered = Settings(kPy);
  for (const char* before : {"我", "我，"}) {
    separator = kStartSeparator;
    annotate(before, numbered, separator);
    EXPECT_EQ(annotate("爱你", numbered, separator), "爱  你") << "after " << before;
  }
}

// The characters as they stand in an output line: spaces and bracketed readings taken out.
std::string CharactersOf(std::string_view output) {
  std::string kept;
  bool inReading = false;
  for (const char c : output) {
    if (c == '(') inReading = true;
    if (!inReading && c != ' ') kept.push_back(c);
    if (c == ')') inReading = false;
  }
  return kept;
}

TEST_F(AnnotateLineTest, InvalidBytesAreWalkedOneByOneAndKept) {
  // A lone lead byte at the end, a lead byte before an invalid trail byte, bytes never leading.
  for (const std::string& line : {std::string("\xD6\xD0\xB0"), std::string("\xB0\x30\xD6\xD0"),
                                  std::string("\x80\xFF\xD6\xD0")}) {
    for (const auto format : {kPy, kHan, kHanPy, kPyHan}) {
      Separator separator = kStartSeparator;
      const auto lines = AnnotateLine(reader(), line, Settings(format), separator);
      EXPECT_EQ(CharactersOf(format == kPy ? lines[1] : lines[0]), line)
          << "format " << static_cast<int>(format);
    }
  }
}

TEST_F(AnnotateLineTest, MissingGlyphEndsTheLineWithTheIndexError) {
  test::TempDir empty;
  session.LoadDataFiles(empty.path());
  Separator separator = kStartSeparator;
  EXPECT_THROW(AnnotateLine(reader(), Gb("中"), Settings(kPy, ToneStyle::Marked), separator),
               Error);
  EXPECT_EQ(Batch("们", Settings(kPy, ToneStyle::Marked)), (Lines{"men", "们"}));
  session.LoadDataFiles(test::SourceDataFolder());
}

TEST(FillSpace, GivesSpacesOnlyForPositiveCounts) {
  EXPECT_EQ(FillSpace(3), "   ");
  EXPECT_EQ(FillSpace(0), "");
  EXPECT_EQ(FillSpace(-2), "");
}

}  // namespace
}  // namespace tolvane
