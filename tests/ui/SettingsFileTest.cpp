#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "platform/Error.h"
#include "support/TestSupport.h"
#include "ui/LanguageFile.h"
#include "ui/SettingsFile.h"

namespace tolvane {
namespace {

using test::Gb;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;
using Lines = std::vector<std::string>;

WindowSettings With(std::function<void(WindowSettings&)> change) {
  WindowSettings settings = DesignedWindowSettings();
  change(settings);
  return settings;
}

TEST(ConfigLines, DesignedStateSavesTheEightDefaultLinesThenTheReadingDefaults) {
  EXPECT_EQ(ConfigLines(DesignedWindowSettings()),
            (Lines{"0", "1", "0", "0", "0", "0", "0", Gb("我爱北京天安门，天安门上红旗飘"), "0",
                   "0", "1", "0"}));
}

TEST(ConfigLines, EachChoiceHasItsDigit) {
  const std::pair<ToneStyle, std::string> tones[] = {
      {ToneStyle::Numbered, "0"}, {ToneStyle::Marked, "1"}, {ToneStyle::Plain, "2"}};
  for (const auto& [tone, digit] : tones) {
    const auto lines = ConfigLines(With([&](auto& s) { s.conversion.toneStyle = tone; }));
    EXPECT_EQ(lines[1], digit);
  }
  const std::pair<OutputFormat, std::string> formats[] = {{OutputFormat::rb_output_py, "0"},
                                                          {OutputFormat::rb_output_han, "1"},
                                                          {OutputFormat::rb_output_hanpy, "2"},
                                                          {OutputFormat::rb_output_pyhan, "3"},
                                                          {OutputFormat::rb_output_py_only, "4"}};
  for (const auto& [format, digit] : formats) {
    const auto lines = ConfigLines(With([&](auto& s) { s.conversion.outputFormat = format; }));
    EXPECT_EQ(lines[3], digit);
  }
  const std::pair<int, std::string> widths[] = {{0, "0"},  {100, "1"}, {50, "2"}, {40, "3"},
                                                {30, "4"}, {20, "5"},  {10, "6"}};
  for (const auto& [width, digit] : widths) {
    const auto lines = ConfigLines(With([&](auto& s) { s.conversion.wrapWidth = width; }));
    EXPECT_EQ(lines[4], digit);
  }
  // The switches have different polarities: line 3 "1" is on, lines 6 and 7 "0" are on.
  const auto flipped = ConfigLines(With([](auto& s) {
    s.conversion.polyphone = PolyphonePolicy::AllReadings;
    s.conversion.wadeGiles = true;
    s.conversion.align = false;
    s.optionsShown = false;
    s.previewText = "  x  ";
  }));
  EXPECT_EQ(flipped, (Lines{"1", "1", "1", "0", "0", "1", "1", "  x  ", "0", "0", "1", "0"}));
  // Lines 9 to 11: citation tones "1", 一 and 不 as spoken "1", erhua as r "1"; line 12: pinyin
  // written by words "1".
  const std::pair<std::function<void(WindowSettings&)>, Lines> reading[] = {
      {[](auto& s) { s.conversion.neutralTone = NeutralTone::Citation; }, {"1", "0", "1", "0"}},
      {[](auto& s) { s.conversion.sandhi = true; }, {"0", "1", "1", "0"}},
      {[](auto& s) { s.conversion.erhua = false; }, {"0", "0", "0", "0"}},
      {[](auto& s) { s.conversion.orthography = true; }, {"0", "0", "1", "1"}},
  };
  const Lines designed = ConfigLines(DesignedWindowSettings());
  for (const auto& [change, lines] : reading) {
    const Lines saved = ConfigLines(With(change));
    ASSERT_EQ(saved.size(), 12u);
    EXPECT_EQ(Lines(saved.begin() + 8, saved.end()), lines);
    EXPECT_EQ(Lines(saved.begin(), saved.begin() + 8),
              Lines(designed.begin(), designed.begin() + 8))
        << "the designed eight lines stay as they are";
  }
  // Reading by context has a digit of its own in line 1.
  EXPECT_EQ(
      ConfigLines(With([](auto& s) { s.conversion.polyphone = PolyphonePolicy::ByContext; }))[0],
      "2");
}

TEST(ParseConfigLines, AppliesEachLineByItsRule) {
  struct Case {
    const char* what;
    WindowSettings start;
    Lines lines;
    WindowSettings expected;
  };
  const WindowSettings numberedHan50 = With([](auto& s) {
    s.conversion.toneStyle = ToneStyle::Numbered;
    s.conversion.outputFormat = OutputFormat::rb_output_han;
    s.conversion.wrapWidth = 50;
  });
  // Empty and unknown texts in lines 1, 3, 6 and 7: all readings, Wade-Giles off, align off,
  // panels hidden; the radio groups of lines 2, 4 and 5 keep what they had.
  const auto offSwitches = [](WindowSettings s, std::string preview) {
    s.conversion.polyphone = PolyphonePolicy::AllReadings;
    s.conversion.wadeGiles = false;
    s.conversion.align = false;
    s.optionsShown = false;
    s.previewText = std::move(preview);
    return s;
  };
  // Every option of reading by context away from its default.
  const WindowSettings notDefaultReading = With([](auto& s) {
    s.conversion.neutralTone = NeutralTone::Citation;
    s.conversion.sandhi = true;
    s.conversion.erhua = false;
  });
  const Case cases[] = {
      {"the example",
       DesignedWindowSettings(),
       {"1", "2", "1", "4", "6", "1", "1", Gb("天")},
       With([](auto& s) {
         s.conversion = {PolyphonePolicy::AllReadings,
                         ToneStyle::Plain,
                         true,
                         OutputFormat::rb_output_py_only,
                         false,
                         10};
         s.optionsShown = false;
         s.previewText = Gb("天");
       })},
      {"all zeros",
       DesignedWindowSettings(),
       {"0", "0", "0", "0", "0", "0", "0", ""},
       With([](auto& s) {
         s.conversion.toneStyle = ToneStyle::Numbered;
         s.previewText = "";
       })},
      {"digits out of range",
       numberedHan50,
       {"0", "3", "0", "5", "7", "0", "0", "x"},
       With([&](auto& s) {
         s = numberedHan50;
         s.previewText = "x";
       })},
      {"nothing is trimmed",
       numberedHan50,
       {" 0", "1 ", " 1", "0\t", "00", "0 ", " 0", " x "},
       offSwitches(numberedHan50, " x ")},
      {"letters and signs",
       numberedHan50,
       {"a", "-1", "+1", "", "", "yes", "false", ""},
       offSwitches(numberedHan50, "")},
      {"a short file", numberedHan50, {"0", "2"}, With([&](auto& s) {
         s = offSwitches(numberedHan50, "");
         s.conversion.polyphone = PolyphonePolicy::FirstReading;
         s.conversion.toneStyle = ToneStyle::Plain;
       })},
      {"an empty file", numberedHan50, {}, offSwitches(numberedHan50, "")},
      {"reading by context",
       DesignedWindowSettings(),
       {"2", "1", "0", "0", "0", "0", "0", "a"},
       With([](auto& s) {
         s.conversion.polyphone = PolyphonePolicy::ByContext;
         s.previewText = "a";
       })},
      {"only a bare 2 is reading by context",
       DesignedWindowSettings(),
       {"2 ", "1", "0", "0", "0", "0", "0", "a"},
       With([](auto& s) {
         s.conversion.polyphone = PolyphonePolicy::AllReadings;
         s.previewText = "a";
       })},
      {"the lines of reading by context",
       DesignedWindowSettings(),
       {"0", "1", "0", "0", "0", "0", "0", "a", "1", "1", "0"},
       With([](auto& s) {
         s.previewText = "a";
         s.conversion.neutralTone = NeutralTone::Citation;
         s.conversion.sandhi = true;
         s.conversion.erhua = false;
       })},
      {"an older file of eight lines gives their defaults, not what was there",
       notDefaultReading,
       {"0", "1", "0", "0", "0", "0", "0", "a"},
       With([](auto& s) { s.previewText = "a"; })},
      {"each malformed line of reading by context gives its own default",
       notDefaultReading,
       {"0", "1", "0", "0", "0", "0", "0", "a", "2", "1", "x"},
       With([](auto& s) {
         s.previewText = "a";
         s.conversion.sandhi = true;
       })},
      {"nothing is trimmed after the eighth line either",
       notDefaultReading,
       {"0", "1", "0", "0", "0", "0", "0", "a", "1 ", " 1", "00"},
       With([](auto& s) { s.previewText = "a"; })},
      {"empty lines after the eighth",
       notDefaultReading,
       {"0", "1", "0", "0", "0", "0", "0", "a", "", "", ""},
       With([](auto& s) { s.previewText = "a"; })},
      {"a line of reading by context that is well formed stands beside malformed ones",
       DesignedWindowSettings(),
       {"0", "1", "0", "0", "0", "0", "0", "a", "yes", "-1", "0"},
       With([](auto& s) {
         s.previewText = "a";
         s.conversion.erhua = false;
       })},
      {"lines after the twelfth",
       DesignedWindowSettings(),
       {"2", "1", "0", "0", "0", "0", "0", "a", "0", "0", "1", "0", "1", "1"},
       With([](auto& s) {
         s.conversion.polyphone = PolyphonePolicy::ByContext;
         s.previewText = "a";
       })},
      {"a preview text beyond the typing limit",
       DesignedWindowSettings(),
       {"0", "1", "0", "0", "0", "0", "0", Gb("一二三四五六七八九十一二三四五六七八九十一二")},
       With([](auto& s) { s.previewText = Gb("一二三四五六七八九十一二三四五六七八九十一二"); })},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WindowSettings settings = c.start;
    ParseConfigLines(c.lines, settings);
    EXPECT_TRUE(settings == c.expected);
    EXPECT_EQ(settings.previewText, c.expected.previewText);
  }
}

TEST(ParseConfigLines, LineTwelveWritesPinyinByWordsUnderReadingByContextOnly) {
  struct Case {
    const char* polyphone;                   // line 1
    std::optional<std::string> orthography;  // line 12; none for a file of eleven lines
    bool startsOn;
    bool expected;
  };
  const Case cases[] = {
      {"2", "1", false, true},
      {"2", "0", true, false},
      // Missing or anything but a bare digit: the default, off, whatever was there before.
      {"2", std::nullopt, true, false},
      {"2", "", true, false},
      {"2", " 1", false, false},
      {"2", "1 ", false, false},
      {"2", "01", false, false},
      {"2", "2", true, false},
      {"2", "yes", false, false},
      {"2", "true", false, false},
      {"2", "-1", false, false},
      // Another policy in the designed line 1 wins: it does not read by context.
      {"0", "1", false, false},
      {"1", "1", false, false},
      {"x", "1", false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("line 1 \"") + c.polyphone + "\", line 12 " +
                 (c.orthography ? "\"" + *c.orthography + "\"" : "missing") +
                 (c.startsOn ? ", on before" : ", off before"));
    Lines lines{c.polyphone, "1", "0", "0", "0", "0", "0", "a", "0", "0", "1"};
    if (c.orthography) lines.push_back(*c.orthography);
    WindowSettings settings = With([&](auto& s) {
      s.conversion.polyphone = PolyphonePolicy::ByContext;
      s.conversion.orthography = c.startsOn;
    });
    ParseConfigLines(lines, settings);
    EXPECT_EQ(settings.conversion.orthography, c.expected);
    // The lines before it read as they did without it.
    WindowSettings without = DesignedWindowSettings();
    ParseConfigLines(Lines(lines.begin(), lines.begin() + 11), without);
    without.conversion.orthography = c.expected;
    EXPECT_TRUE(settings == without);
  }
}

TEST(ParseConfigLines, ReadsBackEverySavedState) {
  for (const auto tone : {ToneStyle::Numbered, ToneStyle::Marked, ToneStyle::Plain}) {
    for (const auto format :
         {OutputFormat::rb_output_py, OutputFormat::rb_output_han, OutputFormat::rb_output_hanpy,
          OutputFormat::rb_output_pyhan, OutputFormat::rb_output_py_only}) {
      for (const int width : {0, 100, 50, 40, 30, 20, 10}) {
        for (const int flags :
             {0, 1, 2, 3, 4, 5, 6, 7, 8, 15, 16, 31, 32, 64, 128, 224, 255, 256, 272, 511}) {
          WindowSettings saved;
          saved.conversion = {(flags & 16)  ? PolyphonePolicy::ByContext
                              : (flags & 1) ? PolyphonePolicy::AllReadings
                                            : PolyphonePolicy::FirstReading,
                              tone,
                              (flags & 2) != 0,
                              format,
                              (flags & 4) != 0,
                              width};
          saved.conversion.neutralTone = (flags & 32) ? NeutralTone::Citation : NeutralTone::Spoken;
          saved.conversion.sandhi = (flags & 64) != 0;
          saved.conversion.erhua = (flags & 128) == 0;
          // Written by words only ever goes with reading by context.
          saved.conversion.orthography = (flags & 16) && (flags & 256);
          saved.optionsShown = (flags & 8) != 0;
          saved.previewText = Gb("中文 text");
          WindowSettings read = DesignedWindowSettings();
          ParseConfigLines(ConfigLines(saved), read);
          EXPECT_TRUE(read == saved) << static_cast<int>(tone) << " " << static_cast<int>(format)
                                     << " " << width << " " << flags;
        }
      }
    }
  }
}

TEST(ConfigFile, MissingFileLeavesTheSettingsAlone) {
  TempDir dir;
  WindowSettings settings = With([](auto& s) { s.conversion.wrapWidth = 30; });
  const WindowSettings before = settings;
  EXPECT_FALSE(LoadConfigFile(dir / kSettingsFileName, settings));
  EXPECT_TRUE(settings == before);
}

TEST(ConfigFile, WritesCrLfLinesAndReadsThemBackByteForByte) {
  TempDir dir;
  const auto path = dir / kSettingsFileName;
  SaveConfigFile(path, DesignedWindowSettings());
  // The designed eight lines as they always were, then the three of reading by context and the
  // switch of pinyin written by words.
  EXPECT_EQ(ReadBytes(path),
            Gb("0\r\n1\r\n0\r\n0\r\n0\r\n0\r\n0\r\n我爱北京天安门，天安门上红旗飘\r\n") +
                "0\r\n0\r\n1\r\n0\r\n");

  // A file as the program writes it, and hand-edited ones with other line ends: saving what was
  // loaded gives the program's own form. A file of eight or eleven lines gains the others with
  // their defaults; malformed ones are saved as the defaults they gave.
  const std::pair<std::string, std::string> files[] = {
      {"1\r\n2\r\n1\r\n4\r\n6\r\n1\r\n1\r\n" + Gb("天") + "\r\n1\r\n1\r\n0\r\n0\r\n",
       "1\r\n2\r\n1\r\n4\r\n6\r\n1\r\n1\r\n" + Gb("天") + "\r\n1\r\n1\r\n0\r\n0\r\n"},
      {"2\r\n2\r\n1\r\n4\r\n6\r\n1\r\n1\r\n" + Gb("天") + "\r\n1\r\n1\r\n0\r\n1\r\n",
       "2\r\n2\r\n1\r\n4\r\n6\r\n1\r\n1\r\n" + Gb("天") + "\r\n1\r\n1\r\n0\r\n1\r\n"},
      {"1\r\n2\r\n1\r\n4\r\n6\r\n1\r\n1\r\n" + Gb("天") + "\r\n",
       "1\r\n2\r\n1\r\n4\r\n6\r\n1\r\n1\r\n" + Gb("天") + "\r\n0\r\n0\r\n1\r\n0\r\n"},
      {"2\r\n2\r\n1\r\n4\r\n6\r\n1\r\n1\r\n" + Gb("天") + "\r\n1\r\n1\r\n0\r\n",
       "2\r\n2\r\n1\r\n4\r\n6\r\n1\r\n1\r\n" + Gb("天") + "\r\n1\r\n1\r\n0\r\n0\r\n"},
      {"0\n0\n0\n3\n2\n0\n1\nabc",
       "0\r\n0\r\n0\r\n3\r\n2\r\n0\r\n1\r\nabc\r\n0\r\n0\r\n1\r\n0\r\n"},
      {"0\n0\n0\n3\n2\n0\n1\nabc\nx\n\n7\nmore\n",
       "0\r\n0\r\n0\r\n3\r\n2\r\n0\r\n1\r\nabc\r\n0\r\n0\r\n1\r\n0\r\n"},
      {"", "1\r\n1\r\n0\r\n0\r\n0\r\n1\r\n1\r\n\r\n0\r\n0\r\n1\r\n0\r\n"},
  };
  for (const auto& [bytes, saved] : files) {
    WriteBytes(path, bytes);
    WindowSettings settings = DesignedWindowSettings();
    EXPECT_TRUE(LoadConfigFile(path, settings));
    SaveConfigFile(path, settings);
    EXPECT_EQ(ReadBytes(path), saved);
    WindowSettings again = DesignedWindowSettings();
    LoadConfigFile(path, again);
    SaveConfigFile(path, again);
    EXPECT_EQ(ReadBytes(path), saved) << "saving after loading changes nothing";
  }
}

TEST(ConfigFile, FilesThatCannotBeReadOrWrittenRaiseTheFileError) {
  TempDir dir;
  const auto path = dir / kSettingsFileName;
  std::filesystem::create_directory(path);
  WindowSettings settings = DesignedWindowSettings();
  try {
    LoadConfigFile(path, settings);
    ADD_FAILURE() << "a directory was read as a settings file";
  } catch (const Error& error) {
    EXPECT_EQ(std::string(error.what()).rfind("Cannot open file \"", 0), 0u) << error.what();
  }
  EXPECT_TRUE(settings == DesignedWindowSettings());
  EXPECT_THROW(SaveConfigFile(path, settings), Error);
  EXPECT_THROW(SaveConfigFile(dir / "missing" / kSettingsFileName, settings), Error);
}

TEST(LanguageFlag, OnlyAnExactEnOnTheFirstLineIsEnglish) {
  const std::pair<Lines, int> cases[] = {
      {{"en"}, kEnglish},
      {{"en", "ch", "x"}, kEnglish},
      {{}, kChinese},
      {{""}, kChinese},
      {{"EN"}, kChinese},
      {{"En"}, kChinese},
      {{"en "}, kChinese},
      {{" en"}, kChinese},
      {{"eng"}, kChinese},
      {{"ch"}, kChinese},
      {{"", "en"}, kChinese},
      {{"\xEF\xBB\xBF"
        "en"},
       kChinese},
  };
  for (const auto& [lines, flag] : cases) {
    EXPECT_EQ(LanguageFlagFromLines(lines), flag) << (lines.empty() ? "(none)" : lines[0]);
  }
}

TEST(LanguageFile, ReadsTheFirstLineOfTheFile) {
  TempDir dir;
  const auto path = dir / kLanguageFileName;
  EXPECT_EQ(ReadLanguageFlag(path), kChinese) << "no file";
  const std::pair<std::string, int> files[] = {
      {"en\r\n", kEnglish},
      {"en", kEnglish},
      {"en\rmore\r\n", kEnglish},
      {"en\nch\n", kEnglish},
      {"", kChinese},
      {"en \r\n", kChinese},
      {"\r\nen\r\n", kChinese},
      {std::string("e\0n", 3), kChinese},
  };
  for (const auto& [bytes, flag] : files) {
    WriteBytes(path, bytes);
    EXPECT_EQ(ReadLanguageFlag(path), flag) << bytes;
  }
}

TEST(LanguageFile, IsRewrittenAsOneLine) {
  TempDir dir;
  const auto path = dir / kLanguageFileName;
  WriteBytes(path, "en\r\nsecond\r\nthird\r\n");
  WriteLanguageFile(path, kEnglish);
  EXPECT_EQ(ReadBytes(path), "en\r\n");
  WriteLanguageFile(path, kChinese);
  EXPECT_EQ(ReadBytes(path), "ch\r\n");
  WriteLanguageFile(path, 2);
  EXPECT_EQ(ReadBytes(path), "ch\r\n") << "every flag but 1 is Chinese";
}

TEST(LanguageFile, FilesThatCannotBeReadOrWrittenRaiseTheFileError) {
  TempDir dir;
  const auto path = dir / kLanguageFileName;
  std::filesystem::create_directory(path);
  EXPECT_THROW(ReadLanguageFlag(path), Error);
  EXPECT_THROW(WriteLanguageFile(path, kChinese), Error);
}

}  // namespace
}  // namespace tolvane
