#include <gtest/gtest.h>

#include "engine/AnnotateLine.h"
#include "reading/classic/ReadingTable.h"
#include "reading/shared/DataFiles.h"
#include "support/SessionSupport.h"
#include "support/TestSupport.h"

// Lines of Unicode text (from UTF-8, UTF-16 and GB18030 files) through the same layouts as code
// page 936 lines: the same output for the same characters, and display columns for the rest.
namespace tolvane {
namespace {

using test::Gb;
using Lines = std::vector<std::string>;

// Every combination of the settings the layouts and the lookup read.
std::vector<ConversionSettings> AllSettings() {
  std::vector<ConversionSettings> all;
  for (const auto format :
       {OutputFormat::rb_output_py, OutputFormat::rb_output_han, OutputFormat::rb_output_hanpy,
        OutputFormat::rb_output_pyhan, OutputFormat::rb_output_py_only})
    for (const auto tone : {ToneStyle::Numbered, ToneStyle::Marked, ToneStyle::Plain})
      for (const auto policy : {PolyphonePolicy::FirstReading, PolyphonePolicy::AllReadings})
        for (const bool align : {true, false})
          for (const bool wadeGiles : {false, true}) {
            ConversionSettings settings;
            settings.outputFormat = format;
            settings.toneStyle = tone;
            settings.polyphone = policy;
            settings.align = align;
            settings.wadeGiles = wadeGiles;
            all.push_back(settings);
          }
  return all;
}

std::string Describe(const ConversionSettings& s) {
  return "format " + std::to_string(static_cast<int>(s.outputFormat)) + " tone " +
         std::to_string(static_cast<int>(s.toneStyle)) + " policy " +
         std::to_string(static_cast<int>(s.polyphone)) + " align " + std::to_string(s.align) +
         " wade-giles " + std::to_string(s.wadeGiles);
}

class UnicodeLinesTest : public testing::Test {
 protected:
  Session session;
  test::CurrentReadings reader{session};

 protected:
  void SetUp() override {
    // The shipped tone glyphs, and user readings for a character, a sign and a letter.
    std::filesystem::copy_file(test::SourceDataFolder() / "define_py_tone.dll",
                               folder / "define_py_tone.dll");
    test::WriteBytes(folder / "define_han.dll", Gb("长\r\n，\r\nx\r\n"));
    test::WriteBytes(folder / "define_py.dll", Gb("Zhang\r\n逗号\r\nèks\r\n"));
    test::WriteBytes(folder / "define_wei_han.dll", Gb("我\r\n"));
    test::WriteBytes(folder / "define_wei_py.dll", Gb("wo\r\n"));
    StartSession(session, folder.path());
  }
  test::TempDir folder;

  // A run of lines, the separator carried from one to the next.
  Lines Run(const std::vector<std::string>& lines, TextForm form,
            const ConversionSettings& settings) {
    Lines out;
    Separator separator = kStartSeparator;
    for (const std::string& line : lines) {
      for (const std::string& o : AnnotateLine(reader(), line, settings, separator, form))
        out.push_back(o);
    }
    return out;
  }
  static Lines Utf8(const Lines& gb) {
    Lines out;
    for (const auto& line : gb) out.push_back(test::Utf8(line));
    return out;
  }
};

TEST_F(UnicodeLinesTest, GbCharactersComeOutAsTheyDoInCodePage936Lines) {
  const std::vector<std::string> linesUtf8 = {
      "我爱北京天安门，天安门上红旗飘",
      "长，ab长x长",
      "",
      "阿a1《啊》——·广",
      "x",
      "女绿了",
      "    ，，",
      "长",
  };
  std::vector<std::string> linesGb;
  for (const auto& line : linesUtf8) linesGb.push_back(Gb(line));
  for (const ConversionSettings& settings : AllSettings()) {
    SCOPED_TRACE(Describe(settings));
    EXPECT_EQ(Run(linesUtf8, TextForm::Unicode, settings),
              Utf8(Run(linesGb, TextForm::Cp936, settings)));
    for (std::size_t i = 0; i < linesUtf8.size(); ++i) {
      EXPECT_EQ(PreviewLines(reader(), linesUtf8[i], settings, TextForm::Unicode),
                Utf8(PreviewLines(reader(), linesGb[i], settings)));
    }
  }
}

// Each of `characters` in place of the k-th "※" of every line.
Lines PutBack(Lines lines, const std::vector<std::string>& characters) {
  for (std::string& line : lines) {
    std::size_t k = 0;
    for (std::size_t at = line.find("※"); at != std::string::npos; at = line.find("※", at)) {
      line.replace(at, std::string("※").size(), characters[k]);
      at += characters[k].size();
      k = (k + 1) % characters.size();
    }
  }
  return lines;
}

TEST_F(UnicodeLinesTest, CharactersBeyondGb2312KeepTheirPlaceAndWidthWithoutAReading) {
  // ※ is a wide GB2312 sign without a reading: a wide character beyond GB2312 must behave as
  // it does, and come out as itself.
  const struct {
    std::string with;
    std::string signs;
    std::vector<std::string> putBack;
  } lines[] = {
      {"我國爱", "我※爱", {"國"}},
      {"國堃𠀀😀", "※※※※", {"國", "堃", "𠀀", "😀"}},
      {"长😀x，國a", "长※x，※a", {"😀", "國"}},
      {"😀", "※", {"😀"}},
  };
  for (const ConversionSettings& settings : AllSettings()) {
    SCOPED_TRACE(Describe(settings));
    for (const auto& line : lines) {
      SCOPED_TRACE(line.with);
      Separator a = kStartSeparator;
      Separator b = kStartSeparator;
      EXPECT_EQ(AnnotateLine(reader(), line.with, settings, a, TextForm::Unicode),
                PutBack(AnnotateLine(reader(), line.signs, settings, b, TextForm::Unicode),
                        line.putBack));
      EXPECT_EQ(a, b);
      EXPECT_EQ(
          PreviewLines(reader(), line.with, settings, TextForm::Unicode),
          PutBack(PreviewLines(reader(), line.signs, settings, TextForm::Unicode), line.putBack));
    }
  }
}

TEST_F(UnicodeLinesTest, AlignedLayoutsCountDisplayColumns) {
  ConversionSettings numbered;
  numbered.toneStyle = ToneStyle::Numbered;
  ConversionSettings marked;  // width readings wo, ai
  const struct {
    const char* line;
    const ConversionSettings& settings;
    Lines expected;
  } cases[] = {
      // A narrow character beyond GB2312 takes one column, like an ASCII letter.
      {"ñ我", numbered, {" wo3", "ñ我"}},
      {"a我", numbered, {" wo3", "a我"}},
      // A combining mark takes none: 我 stands at the column of wo3, two columns in.
      {"e\u0301我", numbered, {"  wo3", "e\u0301 我"}},
      // Half-width katakana is narrow, a full-width letter of GB2312 two columns wide.
      {"ｱ爱", numbered, {" ai4", "ｱ爱"}},
      {"我😀爱", numbered, {"wo3  ai4", "我  😀爱"}},
      {"我😀爱", marked, {"wǒ  ài", "我 😀爱"}},
      {"𠀀我", marked, {" wǒ", "𠀀我"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    Separator separator = kStartSeparator;
    EXPECT_EQ(AnnotateLine(reader(), c.line, c.settings, separator, TextForm::Unicode), c.expected);
  }
}

TEST_F(UnicodeLinesTest, RawBytesAreCharactersWithoutAReading) {
  std::string line = "我";
  line += "\xED\xB3\xBF";  // the raw byte 0xFF
  line += "爱";
  ConversionSettings settings;
  settings.toneStyle = ToneStyle::Numbered;
  settings.outputFormat = OutputFormat::rb_output_hanpy;
  Separator separator = kStartSeparator;
  EXPECT_EQ(AnnotateLine(reader(), line, settings, separator, TextForm::Unicode),
            Lines{"我(wo3)\xED\xB3\xBF爱(ai4)"});
  settings.outputFormat = OutputFormat::rb_output_py;
  EXPECT_EQ(AnnotateLine(reader(), line, settings, separator, TextForm::Unicode),
            (Lines{"wo3  ai4", "我  \xED\xB3\xBF爱"}));
}

TEST_F(UnicodeLinesTest, ReadingsOfLineGivesOneReadingPerCharacter) {
  ConversionSettings settings;
  settings.toneStyle = ToneStyle::Numbered;
  settings.polyphone = PolyphonePolicy::AllReadings;
  const auto unicode = ReadingsOfLine(reader(), "长國x，😀", TextForm::Unicode, settings);
  EXPECT_EQ(unicode, (std::vector<std::string_view>{"Zhang", " ", "èks", "逗号", " "}));
  const auto gb = ReadingsOfLine(reader(), Gb("中a"), TextForm::Cp936, settings);
  EXPECT_EQ(gb, (std::vector<std::string_view>{"zhong1/zhong4", " "}));
  EXPECT_TRUE(ReadingsOfLine(reader(), "", TextForm::Unicode, settings).empty());
}

}  // namespace
}  // namespace tolvane
