// A data file read in place: mapped where it can be, read whole where it cannot, with the error
// texts of any whole-file read.
#include "platform/FileBytes.h"

#include <gtest/gtest.h>

#include "platform/Error.h"
#include "support/TestSupport.h"

namespace tolvane {
namespace {

using test::TempDir;

TEST(FileBytes, ARegularFileIsMappedWithItsBytes) {
  TempDir dir;
  const std::string content = std::string(10000, 'a') + "\0middle\0" + std::string(9000, 'z');
  test::WriteBytes(dir / "data.bin", content);
  const FileBytes bytes = FileBytes::Map(dir / "data.bin");
  EXPECT_TRUE(bytes.mapped());
  EXPECT_EQ(bytes.view(), content);
}

TEST(FileBytes, AnEmptyFileOrBytesInMemoryAreHeldAsACopy) {
  TempDir dir;
  test::WriteBytes(dir / "empty.bin", "");
  const FileBytes empty = FileBytes::Map(dir / "empty.bin");
  EXPECT_FALSE(empty.mapped());
  EXPECT_EQ(empty.view(), "");
  std::string source = "some bytes";
  const FileBytes copy = FileBytes::Copy(source);
  source[0] = 'X';
  EXPECT_FALSE(copy.mapped());
  EXPECT_EQ(copy.view(), "some bytes");
}

TEST(FileBytes, ForgottenOrPrefetchedPagesReadTheSame) {
  TempDir dir;
  std::string content(5 * 4096 + 123, '\0');
  for (std::size_t i = 0; i < content.size(); ++i) content[i] = static_cast<char>(i * 7 % 251);
  test::WriteBytes(dir / "data.bin", content);
  const FileBytes bytes = FileBytes::Map(dir / "data.bin");
  ASSERT_EQ(bytes.view(), content);
  // A part that does not start or end on a page, and the whole; brought in again at once too.
  bytes.Forget(bytes.view().substr(100, 3 * 4096));
  EXPECT_EQ(bytes.view(), content);
  bytes.Forget(bytes.view().substr(100, 3 * 4096));
  bytes.Prefetch(bytes.view().substr(50, 2 * 4096));
  EXPECT_EQ(bytes.view(), content);
  bytes.Forget(bytes.view());
  EXPECT_EQ(bytes.view(), content);
}

TEST(FileBytes, AMovedMappingKeepsItsBytes) {
  TempDir dir;
  test::WriteBytes(dir / "data.bin", "mapped bytes");
  FileBytes bytes = FileBytes::Map(dir / "data.bin");
  FileBytes moved = std::move(bytes);
  EXPECT_EQ(moved.view(), "mapped bytes");
  FileBytes assigned;
  assigned = std::move(moved);
  EXPECT_EQ(assigned.view(), "mapped bytes");
  EXPECT_TRUE(assigned.mapped());
}

TEST(FileBytes, OpenFailuresRaiseTheWholeFileReadErrors) {
  TempDir dir;
  const struct {
    std::filesystem::path path;
    std::string message;
  } cases[] = {
      {dir / "missing.bin",
       "Cannot open file \"" + (dir / "missing.bin").string() + "\". No such file or directory"},
      {dir.path(), "Cannot open file \"" + dir.path().string() + "\". Is a directory"},
  };
  for (const auto& c : cases) {
    try {
      FileBytes::Map(c.path);
      ADD_FAILURE() << c.path << ": no error";
    } catch (const Error& e) {
      EXPECT_EQ(std::string(e.what()), c.message);
      EXPECT_EQ(e.path(), c.path);
    }
  }
}

}  // namespace
}  // namespace tolvane
