// The editors' dictionary work without a window: entries from loaded lists of any lengths,
// trimming, adding, updating, removing, and writing the two files so that a failure keeps the old
// ones.
#include "reading/shared/DictionaryFile.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "platform/Error.h"
#include "support/TestSupport.h"

namespace tolvane {
namespace {

namespace fs = std::filesystem;
using test::Gb;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

constexpr const char* kKeys = "define_han.dll";
constexpr const char* kReadings = "define_py.dll";

DictionaryEntries Entries(std::initializer_list<std::pair<const char*, const char*>> pairs) {
  DictionaryEntries entries;
  for (const auto& [key, reading] : pairs) entries.push_back({Gb(key), Gb(reading)});
  return entries;
}

std::set<std::string> Names(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& item : fs::directory_iterator(folder)) {
    names.insert(item.path().filename().string());
  }
  return names;
}

TEST(EntriesOf, PairsTheListsAndPadsTheShorterOneWithEmptyItems) {
  const struct {
    const char* what;
    std::vector<std::string> keys;
    std::vector<std::string> readings;
    DictionaryEntries expected;
  } cases[] = {
      {"equal lengths",
       {Gb("字"), Gb("长")},
       {"Zi", "Chang"},
       Entries({{"字", "Zi"}, {"长", "Chang"}})},
      {"readings short",
       {Gb("字"), Gb("长"), Gb("欧阳")},
       {"Zi"},
       Entries({{"字", "Zi"}, {"长", ""}, {"欧阳", ""}})},
      {"keys short", {Gb("字")}, {"Zi", "Chang"}, Entries({{"字", "Zi"}, {"", "Chang"}})},
      {"no readings", {Gb("字")}, {}, Entries({{"字", ""}})},
      {"empty", {}, {}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(EntriesOf(CustomDictionary(c.keys, c.readings)), c.expected);
  }
}

TEST(TrimBlanks, RemovesBytesUpToSpaceAtBothEndsOnly) {
  const std::pair<std::string, std::string> cases[] = {
      {Gb(" 字 "), Gb("字")},
      {Gb("\t\r\n字\x01\x1f"), Gb("字")},
      {Gb("欧阳"), Gb("欧阳")},
      {" Zi Chang ", "Zi Chang"},
      {"   ", ""},
      {"", ""},
      {"\x7fZi\x7f", "\x7fZi\x7f"},
      // The trail byte of 　 (the full-width space, A1 A1) is no blank.
      {Gb("　"), Gb("　")},
  };
  for (const auto& [text, trimmed] : cases) EXPECT_EQ(TrimBlanks(text), trimmed) << text;
}

TEST(EditEntries, FindTakesTheFirstAndAddUpdatesEveryMatchSelectingTheLast) {
  DictionaryEntries entries = Entries({{"字", "a"}, {"长", "b"}, {"字", "c"}});
  EXPECT_EQ(FindEntry(entries, Gb("字")), 0u);
  EXPECT_EQ(FindEntry(entries, Gb("长")), 1u);
  EXPECT_EQ(FindEntry(entries, Gb("欧")), std::nullopt);
  EXPECT_EQ(FindEntry(entries, Gb("字 ")), std::nullopt);

  EXPECT_EQ(AddOrUpdateEntry(entries, Gb("字"), "Zi"), 2u);
  EXPECT_EQ(entries, Entries({{"字", "Zi"}, {"长", "b"}, {"字", "Zi"}}));

  EXPECT_EQ(AddOrUpdateEntry(entries, Gb("长"), ""), 1u);
  EXPECT_EQ(entries, Entries({{"字", "Zi"}, {"长", ""}, {"字", "Zi"}}));

  EXPECT_EQ(AddOrUpdateEntry(entries, Gb("欧阳"), "Ouyang"), 3u);
  EXPECT_EQ(AddOrUpdateEntry(entries, "", ""), 4u);
  EXPECT_EQ(entries,
            Entries({{"字", "Zi"}, {"长", ""}, {"字", "Zi"}, {"欧阳", "Ouyang"}, {"", ""}}));

  DictionaryEntries empty;
  EXPECT_EQ(AddOrUpdateEntry(empty, Gb("字"), "Zi"), 0u);
  EXPECT_EQ(empty, Entries({{"字", "Zi"}}));
}

TEST(EditEntries, RemoveTakesExactlyOneEntryAndRefusesAnIndexNotHeld) {
  DictionaryEntries entries = Entries({{"字", "Zi"}, {"长", "Chang"}, {"欧阳", "Ouyang"}});
  RemoveEntry(entries, 1);
  EXPECT_EQ(entries, Entries({{"字", "Zi"}, {"欧阳", "Ouyang"}}));
  try {
    RemoveEntry(entries, 2);
    ADD_FAILURE() << "no error";
  } catch (const Error& error) {
    EXPECT_STREQ(error.what(), "List index out of bounds (2)");
  }
  EXPECT_EQ(entries.size(), 2u);
}

TEST(WriteDictionaryFiles, WritesBothFilesWithCrLfAfterEveryLine) {
  TempDir folder;
  WriteDictionaryFiles(folder.path(), kKeys, kReadings, Entries({{"字", "Zi"}}));
  EXPECT_EQ(ReadBytes(folder / kKeys), "\xD7\xD6\r\n");
  EXPECT_EQ(ReadBytes(folder / kReadings), "Zi\r\n");

  // Replacing a longer pair, then writing none: what stays is exactly the new content.
  WriteBytes(folder / kKeys, Gb("字\r\n长\r\n欧阳"));
  WriteBytes(folder / kReadings, "Zi\nChang\nOuyang\n");
  WriteDictionaryFiles(folder.path(), kKeys, kReadings,
                       Entries({{"欧阳", "Ouyang"}, {"", "Chang"}}));
  EXPECT_EQ(ReadBytes(folder / kKeys), Gb("欧阳\r\n\r\n"));
  EXPECT_EQ(ReadBytes(folder / kReadings), "Ouyang\r\nChang\r\n");

  WriteDictionaryFiles(folder.path(), kKeys, kReadings, {});
  EXPECT_EQ(ReadBytes(folder / kKeys), "");
  EXPECT_EQ(ReadBytes(folder / kReadings), "");
  // Nothing but the two files is left behind.
  EXPECT_EQ(Names(folder.path()), (std::set<std::string>{kKeys, kReadings}));
}

TEST(WriteDictionaryFiles, ReplacesTheFileALinkPointsToAndKeepsPermissions) {
  TempDir folder;
  TempDir elsewhere;
  WriteBytes(elsewhere / kKeys, Gb("长\r\n"));
  fs::permissions(elsewhere / kKeys, fs::perms::owner_read | fs::perms::owner_write);
  fs::create_symlink(elsewhere / kKeys, folder / kKeys);
  WriteDictionaryFiles(folder.path(), kKeys, kReadings, Entries({{"字", "Zi"}}));
  EXPECT_TRUE(fs::is_symlink(folder / kKeys));
  EXPECT_EQ(ReadBytes(elsewhere / kKeys), Gb("字\r\n"));
  EXPECT_EQ(fs::status(elsewhere / kKeys).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(Names(elsewhere.path()), std::set<std::string>{kKeys});
}

// Each case makes the write fail in a way that fails for the superuser too.
TEST(WriteDictionaryFiles, AFailureKeepsTheOldFilesAndLeavesNoTemporaryFile) {
  const std::string oldKeys = Gb("字\r\n长\r\n");
  const std::string oldReadings = "Zi\r\nChang\r\n";
  // A name that leaves no room for the scratch file's longer one beside it.
  const std::string longName = std::string(240, 'r') + ".dll";
  const struct {
    const char* what;
    std::string readingsName;
    std::function<void(const fs::path& folder)> prepare;
    const char* error;
  } cases[] = {
      {"the keys file is a folder", kReadings,
       [](const fs::path& folder) {
         fs::remove(folder / kKeys);
         fs::create_directory(folder / kKeys);
       },
       "Is a directory"},
      {"the readings file is a folder holding a file", kReadings,
       [](const fs::path& folder) {
         fs::remove(folder / kReadings);
         fs::create_directory(folder / kReadings);
         WriteBytes(folder / kReadings / "inside", "x");
       },
       "Is a directory"},
      {"the keys file is read-only", kReadings,
       [](const fs::path& folder) { fs::permissions(folder / kKeys, fs::perms::owner_read); },
       "File access denied"},
      // These two fail once the keys' scratch file is written.
      {"the readings' scratch file cannot be named", longName, [](const fs::path&) {},
       "Invalid filename"},
      {"the readings file links into a missing folder", kReadings,
       [](const fs::path& folder) {
         fs::remove(folder / kReadings);
         fs::create_symlink(folder / "gone" / kReadings, folder / kReadings);
       },
       "File not found"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir folder;
    WriteBytes(folder / kKeys, oldKeys);
    WriteBytes(folder / c.readingsName, oldReadings);
    c.prepare(folder.path());
    const std::set<std::string> before = Names(folder.path());
    try {
      WriteDictionaryFiles(folder.path(), kKeys, c.readingsName.c_str(),
                           Entries({{"欧阳", "Ouyang"}}));
      ADD_FAILURE() << "no error";
    } catch (const Error& error) {
      EXPECT_STREQ(error.what(), c.error);
    }
    for (const auto& [name, bytes] :
         {std::pair{kKeys, oldKeys}, {c.readingsName.c_str(), oldReadings}}) {
      if (fs::is_regular_file(folder / name)) {
        EXPECT_EQ(ReadBytes(folder / name), bytes) << name;
      }
    }
    EXPECT_EQ(Names(folder.path()), before);
  }
}

TEST(WriteDictionaryFiles, AFolderThatIsAFileOrMissingFailsWithoutCreatingAnything) {
  TempDir base;
  WriteBytes(base / "file", "x");
  for (const fs::path& folder : {base / "file", base / "missing"}) {
    SCOPED_TRACE(folder.string());
    try {
      WriteDictionaryFiles(folder, kKeys, kReadings, Entries({{"字", "Zi"}}));
      ADD_FAILURE() << "no error";
    } catch (const Error& error) {
      EXPECT_STREQ(error.what(), "File not found");
    }
    EXPECT_EQ(Names(base.path()), std::set<std::string>{"file"});
    EXPECT_EQ(ReadBytes(base / "file"), "x");
  }
}

TEST(DeleteDictionaryFiles, DeletesBothAndPassesOverWhatItCannotDelete) {
  TempDir folder;
  WriteBytes(folder / kKeys, "a\r\n");
  WriteBytes(folder / kReadings, "b\r\n");
  WriteBytes(folder / "define_wei_han.dll", "c\r\n");
  DeleteDictionaryFiles(folder.path(), kKeys, kReadings);
  EXPECT_EQ(Names(folder.path()), std::set<std::string>{"define_wei_han.dll"});
  // Missing files, and a folder in place of one, are passed over; the folder stays.
  DeleteDictionaryFiles(folder.path(), kKeys, kReadings);
  fs::create_directory(folder / kKeys);
  WriteBytes(folder / kReadings, "b\r\n");
  DeleteDictionaryFiles(folder.path(), kKeys, kReadings);
  EXPECT_TRUE(fs::is_directory(folder / kKeys));
  EXPECT_FALSE(fs::exists(folder / kReadings));
}

}  // namespace
}  // namespace tolvane
