#include "reading/shared/DataFiles.h"

#include <gtest/gtest.h>

#include "platform/Error.h"
#include "support/SessionSupport.h"
#include "support/TestSupport.h"

namespace tolvane {
namespace {

using test::Gb;
using test::TempDir;
using test::WriteBytes;
using Items = std::vector<std::string>;

TEST(DataFiles, NoFilesMeansFiveEmptyLists) {
  Session session;
  TempDir dir;
  session.LoadDataFiles(dir.path());
  EXPECT_EQ(session.Data()->StandardDictionary().Count(), 0u);
  EXPECT_EQ(session.Data()->WadeGilesDictionary().Count(), 0u);
  EXPECT_TRUE(session.Data()->ToneVowelList().empty());
  EXPECT_EQ(session.DataFilesFolder(), dir.path());
}

TEST(DataFiles, TheDictionariesAndTheGlyphsMayLieInFoldersOfTheirOwn) {
  Session session;
  // An installed copy: the user's dictionaries in the user's folder, the glyphs that come with
  // the program in its read-only folder; a reload reads both again from where they were.
  TempDir user;
  TempDir shared;
  WriteBytes(user / "define_han.dll", Gb("字\r\n"));
  WriteBytes(user / "define_py.dll", "Zi\r\n");
  WriteBytes(user / "define_py_tone.dll", Gb("ǎ\r\n"));  // not where the glyphs are read
  WriteBytes(shared / "define_han.dll", Gb("中\r\n"));   // nor the dictionaries
  WriteBytes(shared / "define_py_tone.dll", Gb("ā\r\ná\r\n"));
  session.LoadDataFiles(DataFolders{user.path(), shared.path()});
  EXPECT_EQ(session.Data()->StandardDictionary().Keys(), Items{Gb("字")});
  EXPECT_EQ(session.Data()->ToneVowelList(), (Items{Gb("ā"), Gb("á")}));
  EXPECT_EQ(session.DataFilesFolder(), user.path());
  WriteBytes(user / "define_han.dll", Gb("字\r\n词\r\n"));
  session.ReloadDataFiles();
  EXPECT_EQ(session.Data()->StandardDictionary().Count(), 2u);
  EXPECT_EQ(session.Data()->ToneVowelList().size(), 2u);
}

TEST(DataFiles, LoadsEachFileIntoItsList) {
  Session session;
  TempDir dir;
  WriteBytes(dir / "define_han.dll", Gb("字\r\n中\r\n"));
  WriteBytes(dir / "define_py.dll", "Zi\r\nzhong4/zhong1\r\n");
  WriteBytes(dir / "define_wei_han.dll", Gb("字\r\n"));
  WriteBytes(dir / "define_wei_py.dll", "tzu4\r\n");
  WriteBytes(dir / "define_py_tone.dll", Gb("ā\r\ná\r\n"));
  session.LoadDataFiles(dir.path());
  EXPECT_EQ(session.Data()->StandardDictionary().Keys(), (Items{Gb("字"), Gb("中")}));
  EXPECT_EQ(session.Data()->StandardDictionary().Readings(), (Items{"Zi", "zhong4/zhong1"}));
  EXPECT_EQ(session.Data()->WadeGilesDictionary().Keys(), Items{Gb("字")});
  EXPECT_EQ(session.Data()->WadeGilesDictionary().Reading(0), "tzu4");
  EXPECT_EQ(session.Data()->ToneVowelList(), (Items{Gb("ā"), Gb("á")}));
  EXPECT_THROW(session.Data()->StandardDictionary().Key(2), Error);
}

TEST(DataFiles, LinesAreCutAndKeptAsTheyStand) {
  Session session;
  struct Case {
    std::string bytes;
    Items expected;
  };
  const Case cases[] = {
      {"a\r\nb", {"a", "b"}},             // last line without a line end
      {"a\r\nb\r\n", {"a", "b"}},         // no empty last item
      {"a\r\n\r\n", {"a", ""}},           // an empty line is an empty item
      {"a\nb\n", {"a", "b"}},             // LF only
      {"a\rb\r", {"a", "b"}},             // CR only
      {Gb("字 ") + "\r\n", {Gb("字 ")}},  // blanks are kept
      {"\xEF\xBB\xBF"
       "a",
       {"\xEF\xBB\xBF"
        "a"}},  // no byte-order mark handling
  };
  TempDir dir;
  for (const Case& c : cases) {
    WriteBytes(dir / "define_han.dll", c.bytes);
    session.LoadDataFiles(dir.path());
    EXPECT_EQ(session.Data()->StandardDictionary().Keys(), c.expected);
  }
}

TEST(DataFiles, ThirtyGlyphLinesLoadThirty) {
  Session session;
  TempDir dir;
  std::string bytes;
  for (int i = 0; i < 30; ++i) bytes += Gb("ā") + "\r\n";
  WriteBytes(dir / "define_py_tone.dll", bytes);
  session.LoadDataFiles(dir.path());
  EXPECT_EQ(session.Data()->ToneVowelList().size(), 30u);
}

TEST(DataFiles, ReloadSeesChangesOnDiskAndReleaseEmptiesEverything) {
  Session session;
  TempDir dir;
  WriteBytes(dir / "define_han.dll", Gb("字") + "\r\n");
  WriteBytes(dir / "define_py.dll", "Zi\r\n");
  WriteBytes(dir / "define_wei_han.dll", Gb("字") + "\r\n");
  WriteBytes(dir / "define_wei_py.dll", "tzu4\r\n");
  session.LoadDataFiles(dir.path());
  std::filesystem::remove(dir / "define_han.dll");
  std::filesystem::remove(dir / "define_py.dll");
  session.ReloadDataFiles();
  EXPECT_EQ(session.Data()->StandardDictionary().Count(), 0u);
  EXPECT_EQ(session.Data()->WadeGilesDictionary().Count(),
            1u);  // the other dictionary keeps its entries
  session.ReleaseDataFiles();
  EXPECT_EQ(session.Data()->WadeGilesDictionary().Count(), 0u);
}

TEST(DataFiles, UnreadableFileRaisesAndLeavesEveryListExisting) {
  Session session;
  TempDir dir;
  WriteBytes(dir / "define_han.dll", Gb("字") + "\r\n");
  WriteBytes(dir / "define_py.dll", "Zi\r\n");
  // A directory in place of a file cannot be read, even by root.
  std::filesystem::create_directory(dir / "define_wei_han.dll");
  try {
    session.LoadDataFiles(dir.path());
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()),
              "Cannot open file \"" + (dir / "define_wei_han.dll").string() + "\". Is a directory");
  }
  EXPECT_EQ(session.Data()->StandardDictionary().Count(), 1u);  // loaded before the failure
  EXPECT_EQ(session.Data()->WadeGilesDictionary().Count(), 0u);
  EXPECT_TRUE(session.Data()->ToneVowelList().empty());
}

TEST(CustomDictionary, FindsTheFirstEqualKeyByteForByte) {
  const CustomDictionary dictionary({Gb("字"), Gb("字 "), "a", Gb("字"), Gb("欧阳")},
                                    {"one", "blank", "letter", "second", "surname"});
  EXPECT_EQ(dictionary.FindReading(Gb("字")), "one");  // first of two equal keys
  EXPECT_EQ(dictionary.FindReading("a"), "letter");
  EXPECT_EQ(dictionary.FindReading(Gb("欧阳")), "surname");
  EXPECT_FALSE(dictionary.FindReading("b"));
  EXPECT_FALSE(dictionary.FindReading(Gb("欧")));
  EXPECT_FALSE(dictionary.FindReading(""));
}

TEST(CustomDictionary, UnknownLongKeyNeverTakesAnotherEntrysReading) {
  // More readings than keys (hand-edited files): a key that is not there must not pick up the
  // reading that stands after the last key.
  const CustomDictionary dictionary({Gb("欧阳")}, {"Ouyang", "stray"});
  EXPECT_FALSE(dictionary.FindReading(""));
  EXPECT_FALSE(dictionary.FindReading(Gb("司马")));
  EXPECT_EQ(dictionary.FindReading(Gb("欧阳")), "Ouyang");
}

TEST(CustomDictionary, KeyWithoutReadingIsPassedOver) {
  // A hand-edited readings file shorter than its keys file.
  const CustomDictionary dictionary({Gb("字"), Gb("中")}, {"Zi"});
  EXPECT_EQ(dictionary.Count(), 2u);
  EXPECT_EQ(dictionary.FindReading(Gb("字")), "Zi");
  EXPECT_FALSE(dictionary.FindReading(Gb("中")));
  EXPECT_THROW(dictionary.Reading(1), Error);
}

}  // namespace
}  // namespace tolvane
