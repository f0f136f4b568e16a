#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "support/TestSupport.h"
#include "tolvane/tolvane.h"

// Failures are tolvane::Error with a message a user can read and the path of the file involved.
namespace tolvane {
namespace {

// The error `call` raises; fails the test when it raises none.
template <typename Call>
Error ErrorOf(Call&& call) {
  try {
    call();
  } catch (const Error& error) {
    return error;
  }
  ADD_FAILURE() << "no error";
  return Error("");
}

TEST(ConverterErrors, AMissingDataFolderIsNamed) {
  const test::TempDir folder;
  const Error error = ErrorOf([&] { Converter({}, folder / "nowhere"); });
  EXPECT_EQ(error.path(), folder / "nowhere");
  EXPECT_NE(std::string(error.what()).find("not found"), std::string::npos) << error.what();
  test::WriteBytes(folder / "file", "x");
  EXPECT_EQ(ErrorOf([&] { Converter({}, folder / "file"); }).path(), folder / "file");
}

TEST(ConverterErrors, AFolderWithoutTheToneGlyphsIsNoDataFolder) {
  const test::TempDir folder;
  const Error error = ErrorOf([&] { Converter({}, folder.path()); });
  EXPECT_EQ(error.path(), folder.path());
  EXPECT_NE(std::string(error.what()).find("define_py_tone.dll"), std::string::npos)
      << error.what();
}

// A folder of one's own dictionaries and the tone glyphs: the classic policies need nothing
// more; reading by context fails when the converter is made, naming the file it lacks.
TEST(ConverterErrors, WithoutThePhraseDataReadingByContextFailsWhenTheConverterIsMade) {
  const test::TempDir folder;
  std::filesystem::copy_file(test::BuildProgramFolder() / "define_py_tone.dll",
                             folder / "define_py_tone.dll");
  Options first;
  first.policy = Policy::First;
  EXPECT_EQ(Converter(first, folder.path()).Readings("中"), std::vector<std::string>{"zhōng"});
  const Error error = ErrorOf([&] { Converter({}, folder.path()); });
  EXPECT_NE(std::string(error.what()).find("pinyin_"), std::string::npos) << error.what();
}

TEST(ConverterErrors, AMissingSourceIsFileNotFoundNamingIt) {
  const test::TempDir folder;
  const Converter converter({}, test::BuildProgramFolder());
  const Error error =
      ErrorOf([&] { converter.ConvertFile(folder / "missing.txt", folder / "out.txt"); });
  EXPECT_STREQ(error.what(), "File not found");
  EXPECT_EQ(error.path(), folder / "missing.txt");
  EXPECT_FALSE(std::filesystem::exists(folder / "out.txt"));
}

// A target whose folder cannot be made (a file stands where it would be) or written.
TEST(ConverterErrors, AnUnwritableTargetIsNamedAndNothingIsLeftBehind) {
  const test::TempDir folder;
  test::WriteBytes(folder / "source.txt", "中文\n");
  test::WriteBytes(folder / "file", "x");
  const Converter converter({}, test::BuildProgramFolder());
  const Error error =
      ErrorOf([&] { converter.ConvertFile(folder / "source.txt", folder / "file" / "out.txt"); });
  EXPECT_NE(error.path().string().find("file"), std::string::npos) << error.what();
  EXPECT_EQ(test::ReadBytes(folder / "file"), "x");
  if (::geteuid() == 0) return;  // root writes anywhere
  std::filesystem::create_directory(folder / "locked");
  ::chmod((folder / "locked").c_str(), 0555);
  const Error locked =
      ErrorOf([&] { converter.ConvertFile(folder / "source.txt", folder / "locked" / "out.txt"); });
  ::chmod((folder / "locked").c_str(), 0755);
  EXPECT_NE(locked.path().string().find("locked"), std::string::npos) << locked.what();
  EXPECT_TRUE(std::filesystem::is_empty(folder / "locked"));
}

TEST(ConverterErrors, ASourceThatIsAFolderIsNamed) {
  const test::TempDir folder;
  std::filesystem::create_directory(folder / "dir.txt");
  const Converter converter({}, test::BuildProgramFolder());
  const Error error = ErrorOf([&] { converter.ConvertFile(folder / "dir.txt", folder / "o.txt"); });
  EXPECT_EQ(error.path(), folder / "dir.txt");
}

}  // namespace
}  // namespace tolvane
