#include "platform/FileLocations.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <map>

#include "platform/Error.h"
#include "support/TestSupport.h"

namespace tolvane {
namespace {

namespace fs = std::filesystem;
using test::TempDir;
using test::WriteBytes;

EnvironmentLookup Environment(std::map<std::string, std::string> values) {
  return [values = std::move(values)](const char* name) -> std::optional<std::string> {
    const auto found = values.find(name);
    if (found == values.end()) return std::nullopt;
    return found->second;
  };
}

// A prefix as `cmake --install` leaves it: the programs in bin/, the data in share/tolvane/.
struct InstalledCopy {
  InstalledCopy() {
    fs::create_directories(prefix / "bin");
    fs::create_directories(prefix / "share" / "tolvane");
    WriteBytes(prefix / "share" / "tolvane" / kDataMarkerFile, "");
  }
  fs::path bin() const { return prefix / "bin"; }
  TempDir prefix;
};

TEST(FileLocations, APortableCopyKeepsEveryFileBesideTheProgram) {
  TempDir program;
  WriteBytes(program / kDataMarkerFile, "");
  const FileLocations where = LocateFiles(program.path(), Environment({{"HOME", "/home/u"}}));
  EXPECT_FALSE(where.installed);
  for (const fs::path& folder : {where.data, where.settings, where.dictionaries, where.scratch})
    EXPECT_EQ(folder, program.path());
  EXPECT_EQ(ReadOnlyDataFolder(program.path()), program.path());
}

TEST(FileLocations, AnInstalledCopyReadsShareAndWritesTheUsersFolders) {
  InstalledCopy copy;
  const fs::path shared = copy.prefix / "share" / "tolvane";
  struct Case {
    const char* name;
    std::map<std::string, std::string> environment;
    fs::path settings, dictionaries, scratch;
  };
  const Case cases[] = {
      {"defaults under HOME",
       {{"HOME", "/home/u"}},
       "/home/u/.config/tolvane",
       "/home/u/.local/share/tolvane",
       "/home/u/.cache/tolvane"},
      {"the XDG variables",
       {{"HOME", "/home/u"},
        {"XDG_CONFIG_HOME", "/cfg"},
        {"XDG_DATA_HOME", "/data"},
        {"XDG_CACHE_HOME", "/cache"}},
       "/cfg/tolvane",
       "/data/tolvane",
       "/cache/tolvane"},
      {"relative and empty values are ignored",
       {{"HOME", "/home/u"}, {"XDG_CONFIG_HOME", "cfg"}, {"XDG_DATA_HOME", ""}},
       "/home/u/.config/tolvane",
       "/home/u/.local/share/tolvane",
       "/home/u/.cache/tolvane"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const FileLocations where = LocateFiles(copy.bin(), Environment(c.environment));
    EXPECT_TRUE(where.installed);
    EXPECT_EQ(where.data, shared);
    EXPECT_EQ(where.settings, c.settings);
    EXPECT_EQ(where.dictionaries, c.dictionaries);
    EXPECT_EQ(where.scratch, c.scratch);
  }
  EXPECT_EQ(ReadOnlyDataFolder(copy.bin()), shared);
}

TEST(FileLocations, WithoutHomeTheAccountsOwnFolderIsUsed) {
  InstalledCopy copy;
  const FileLocations where = LocateFiles(copy.bin(), Environment({}));
  EXPECT_TRUE(where.settings.is_absolute());
  EXPECT_EQ(where.settings.filename(), "tolvane");
  EXPECT_EQ(where.settings.parent_path().filename(), ".config");
}

TEST(FileLocations, AProgramFolderWithoutItsDataIsAnInstalledCopy) {
  // Even when it can be written (root may write to /usr/bin): an installed program's folder
  // never holds the data, and nothing of the user's belongs there.
  InstalledCopy copy;
  ASSERT_EQ(::access(copy.bin().c_str(), W_OK), 0);
  EXPECT_TRUE(LocateFiles(copy.bin(), Environment({{"HOME", "/h"}})).installed);
  // Without a share/tolvane beside it, the data is looked for in the program folder.
  TempDir bare;
  const FileLocations where = LocateFiles(bare.path(), Environment({{"HOME", "/h"}}));
  EXPECT_TRUE(where.installed);
  EXPECT_EQ(where.data, bare.path());
}

TEST(FileLocations, ACopyWithItsDataInAFolderItCannotWriteIsInstalled) {
  TempDir program;
  WriteBytes(program / kDataMarkerFile, "");
  ASSERT_EQ(::chmod(program.path().c_str(), 0555), 0);
  if (::access(program.path().c_str(), W_OK) == 0) {
    ::chmod(program.path().c_str(), 0755);
    GTEST_SKIP() << "this user may write to any folder";
  }
  const FileLocations where = LocateFiles(program.path(), Environment({{"HOME", "/h"}}));
  ::chmod(program.path().c_str(), 0755);
  EXPECT_TRUE(where.installed);
  EXPECT_EQ(where.data, program.path());
  EXPECT_EQ(where.settings, "/h/.config/tolvane");
}

TEST(FileLocations, OnlyAnInstalledCopyMakesItsFoldersWhenWriting) {
  TempDir home;
  InstalledCopy copy;
  const FileLocations installed =
      LocateFiles(copy.bin(), Environment({{"HOME", home.path().string()}}));
  EXPECT_FALSE(fs::exists(installed.dictionaries));
  EXPECT_EQ(installed.ForWriting(installed.dictionaries), installed.dictionaries);
  EXPECT_TRUE(fs::is_directory(installed.dictionaries));
  EXPECT_EQ(installed.ForWriting(installed.dictionaries), installed.dictionaries);  // made already

  const FileLocations portable = FileLocations::Portable(home / "missing");
  EXPECT_EQ(portable.ForWriting(portable.scratch), home / "missing");
  EXPECT_FALSE(fs::exists(home / "missing"));

  // A file where a folder should be.
  WriteBytes(home / "blocked", "");
  FileLocations blocked = installed;
  blocked.settings = home / "blocked" / "tolvane";
  try {
    blocked.ForWriting(blocked.settings);
    FAIL() << "no error";
  } catch (const Error& error) {
    EXPECT_EQ(std::string(error.what())
                  .rfind("Cannot create folder \"" + blocked.settings.string() + "\". ", 0),
              0u)
        << error.what();
  }
}

}  // namespace
}  // namespace tolvane
