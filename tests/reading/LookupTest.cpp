#include "reading/classic/Lookup.h"

#include <gtest/gtest.h>

#include "platform/Cp936.h"
#include "platform/Error.h"
#include "reading/classic/ReadingTable.h"
#include "reading/shared/DataFiles.h"
#include "support/SessionSupport.h"
#include "support/TestSupport.h"

namespace tolvane {
namespace {

using test::Gb;
using test::TempDir;
using test::WriteBytes;

ConversionSettings Settings(ToneStyle tone, PolyphonePolicy policy, bool wadeGiles = false) {
  ConversionSettings settings;
  settings.toneStyle = tone;
  settings.polyphone = policy;
  settings.wadeGiles = wadeGiles;
  return settings;
}

class LookupTest : public testing::Test {
 protected:
  Session session;
  test::CurrentReadings reader{session};

 protected:
  void SetUp() override {
    std::filesystem::copy_file(test::SourceDataFolder() / "define_py_tone.dll",
                               dir_ / "define_py_tone.dll");
    StartSession(session, dir_.path());
  }
  void WriteDictionary(const char* keysFile, const char* readingsFile, const std::string& keys,
                       const std::string& readings) {
    WriteBytes(dir_ / keysFile, keys);
    WriteBytes(dir_ / readingsFile, readings);
    session.ReloadDataFiles();
  }
  std::string Display(const char* characterUtf8, ConversionSettings settings) {
    return test::Utf8(session.Data()->LookupReading(Gb(characterUtf8), settings));
  }
  std::string Width(const char* characterUtf8, ConversionSettings settings) {
    return test::Utf8(session.Data()->LookupNumberedReading(Gb(characterUtf8), settings));
  }
  TempDir dir_;
};

constexpr auto kFirst = PolyphonePolicy::FirstReading;
constexpr auto kAll = PolyphonePolicy::AllReadings;
constexpr auto kNumbered = ToneStyle::Numbered;
constexpr auto kMarked = ToneStyle::Marked;
constexpr auto kPlain = ToneStyle::Plain;

TEST_F(LookupTest, DisplayAndWidthReadingsInEveryStyle) {
  struct Case {
    const char* character;
    ToneStyle tone;
    PolyphonePolicy policy;
    const char* display;
    const char* width;
  };
  const Case cases[] = {
      {"长", kNumbered, kFirst, "chang2", "chang2"},
      {"长", kNumbered, kAll, "chang2/zhang3", "chang2/zhang3"},
      {"长", kMarked, kFirst, "cháng", "chang"},
      {"长", kMarked, kAll, "zhǎng/cháng", "zhang/chang"},  // reversed under Marked
      {"长", kPlain, kFirst, "chang", "chang2"},
      {"长", kPlain, kAll, "chang/zhang", "chang2/zhang3"},
      {"阿", kMarked, kAll, "ē/a/ā", "e/a/a"},
      {"广", kPlain, kFirst, "an", "guang3"},  // the toneless table has its own first item
      {"广", kNumbered, kFirst, "guang3", "guang3"},
      {"广", kMarked, kFirst, "guǎng", "guang"},
      {"女", kNumbered, kFirst, "nv3", "nv3"},
      {"女", kMarked, kFirst, "nǚ", "nv"},
      {"女", kPlain, kFirst, "nv", "nv3"},
      {"，", kMarked, kFirst, " ", " "},  // not in the table
      {"a", kNumbered, kAll, " ", " "},
      {"亻", kPlain, kFirst, " ", " "},
  };
  for (const Case& c : cases) {
    const ConversionSettings settings = Settings(c.tone, c.policy);
    EXPECT_EQ(Display(c.character, settings), c.display) << c.character;
    EXPECT_EQ(Width(c.character, settings), c.width) << c.character;
  }
}

TEST_F(LookupTest, MarkedWidthBytesEqualDisplayCharacters) {
  for (std::size_t i = 0; i < session.Data()->NumberedReadingTable().Count(); ++i) {
    const std::string_view character = session.Data()->NumberedReadingTable().At(i).character;
    for (const auto policy : {kFirst, kAll}) {
      const auto settings = Settings(kMarked, policy);
      ASSERT_EQ(session.Data()->LookupNumberedReading(character, settings).size(),
                cp936::CharCount(session.Data()->LookupReading(character, settings)))
          << test::Utf8(character);
    }
  }
}

TEST_F(LookupTest, CustomReadingOverridesInEveryStyleAndPolicy) {
  WriteDictionary("define_han.dll", "define_py.dll", Gb("长\r\na\r\n，\r\n欧阳\r\n长\r\n"),
                  "Zhang/Chang\r\nei\r\ndou\r\nOuyang\r\nlater\r\n");
  for (const auto tone : {kNumbered, kMarked, kPlain}) {
    for (const auto policy : {kFirst, kAll}) {
      const auto settings = Settings(tone, policy);
      EXPECT_EQ(Display("长", settings), "Zhang/Chang");  // unchanged: no cut, no marks
      EXPECT_EQ(Width("长", settings), "Zhang/Chang");
      EXPECT_EQ(Display("a", settings), "ei");  // fills in for a character without a reading
      EXPECT_EQ(Display("，", settings), "dou");
      EXPECT_EQ(Display("欧", settings), Display("欧", Settings(tone, policy, true)));
    }
  }
}

TEST_F(LookupTest, WadeGilesSwitchChoosesTheDictionary) {
  WriteBytes(dir_ / "define_han.dll", Gb("中\r\n"));
  WriteBytes(dir_ / "define_py.dll", "standard\r\n");
  WriteBytes(dir_ / "define_wei_han.dll", Gb("国\r\n"));
  WriteBytes(dir_ / "define_wei_py.dll", "kuo2\r\n");
  session.ReloadDataFiles();
  EXPECT_EQ(Display("中", Settings(kNumbered, kFirst)), "standard");
  EXPECT_EQ(Display("国", Settings(kNumbered, kFirst)), "guo2");
  EXPECT_EQ(Display("中", Settings(kNumbered, kFirst, true)), "zhong1");
  EXPECT_EQ(Display("国", Settings(kNumbered, kFirst, true)), "kuo2");
}

TEST_F(LookupTest, KeyWithoutReadingLeavesTheBuiltInReading) {
  WriteDictionary("define_han.dll", "define_py.dll", Gb("字\r\n中\r\n"), "Zi\r\n");
  EXPECT_EQ(Display("字", Settings(kNumbered, kFirst)), "Zi");
  EXPECT_EQ(Display("中", Settings(kNumbered, kFirst)), "zhong1");
}

TEST_F(LookupTest, ReloadedGlyphsReachTheMarkedReadings) {
  EXPECT_EQ(Display("中", Settings(kMarked, kFirst)), "zhōng");
  std::filesystem::remove(dir_ / "define_py_tone.dll");
  session.ReloadDataFiles();
  try {
    session.Data()->LookupReading(Gb("中"), Settings(kMarked, kFirst));
    FAIL() << "no error without glyphs";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "List index out of bounds (4)");
  }
  EXPECT_EQ(Display("们", Settings(kMarked, kFirst)), "men");  // a neutral tone needs no glyph
}

TEST_F(LookupTest, CharactersOutsideTheGb2312AreaAndLongReadingsStillLookUp) {
  const std::string gbkOnly = "\x81\x40";  // a GBK character outside the GB2312 rows
  const std::string longReading(70000, 'x');
  WriteDictionary("define_han.dll", "define_py.dll", gbkOnly + "\r\n" + Gb("中") + "\r\n",
                  "kao3\r\n" + longReading + "\r\n");
  for (const auto tone : {kNumbered, kMarked, kPlain}) {
    const auto settings = Settings(tone, kFirst);
    EXPECT_EQ(session.Data()->LookupReading(gbkOnly, settings), "kao3");
    EXPECT_EQ(session.Data()->LookupNumberedReading(gbkOnly, settings), "kao3");
    EXPECT_EQ(session.Data()->LookupReading(Gb("中"), settings), longReading);
    EXPECT_EQ(session.Data()->LookupReading("\x81\x41", settings), " ");
  }
}

TEST_F(LookupTest, AnswersFollowEveryReload) {
  const auto settings = Settings(kNumbered, kFirst);
  EXPECT_EQ(Display("中", settings), "zhong1");
  WriteDictionary("define_han.dll", "define_py.dll", Gb("中\r\n"), "first\r\n");
  EXPECT_EQ(Display("中", settings), "first");
  WriteDictionary("define_han.dll", "define_py.dll", Gb("中\r\n"), "second\r\n");
  EXPECT_EQ(Display("中", settings), "second");
  session.ReleaseDataFiles();
  EXPECT_EQ(Display("中", settings), "zhong1");
}

}  // namespace
}  // namespace tolvane
