// Zip containers written and read back, and a failed write that leaves the old target.
#include <gtest/gtest.h>

#include "documents/ZipArchive.h"
#include "platform/Error.h"
#include "support/TestSupport.h"

namespace tolvane {
namespace {

TEST(ZipArchiveTest, EntriesKeepTheirOrderAndBytes) {
  test::TempDir dir;
  const std::string big(200000, 'x');
  ZipWriter writer(dir / "a.zip");
  writer.Add("mimetype", "application/epub+zip", true);
  writer.Add("EPUB/文本.xhtml", "<p>字</p>");
  writer.Add("big", big);
  writer.Close();
  EXPECT_EQ(ZipEntryNames(dir / "a.zip"),
            (std::vector<std::string>{"mimetype", "EPUB/文本.xhtml", "big"}));
  EXPECT_EQ(ReadZipEntry(dir / "a.zip", "mimetype"), "application/epub+zip");
  EXPECT_EQ(ReadZipEntry(dir / "a.zip", "EPUB/文本.xhtml"), "<p>字</p>");
  EXPECT_EQ(ReadZipEntry(dir / "a.zip", "big"), big);
  // A stored entry's bytes stand as they are right after its local header, where readers of
  // ODT and EPUB look for them.
  EXPECT_EQ(test::ReadBytes(dir / "a.zip").substr(30, 28), "mimetypeapplication/epub+zip");
  EXPECT_THROW(ReadZipEntry(dir / "a.zip", "none"), Error);
}

TEST(ZipArchiveTest, AnArchiveNotClosedLeavesTheOldTarget) {
  test::TempDir dir;
  test::WriteBytes(dir / "old.docx", "old");
  {
    ZipWriter writer(dir / "old.docx");
    writer.Add("a", "b");
  }
  EXPECT_EQ(test::ReadBytes(dir / "old.docx"), "old");
}

TEST(ZipArchiveTest, UnwritableFolderIsAnErrorNamingThePath) {
  test::TempDir dir;
  const auto target = dir / "no such folder" / "a.docx";
  try {
    ZipWriter writer(target);
    writer.Add("a", "b");
    writer.Close();
    ADD_FAILURE() << "no error";
  } catch (const Error& error) {
    EXPECT_EQ(error.path(), target);
    EXPECT_NE(std::string(error.what()).find(target.string()), std::string::npos);
  }
}

TEST(ZipArchiveTest, NotAnArchiveIsAnError) {
  test::TempDir dir;
  test::WriteBytes(dir / "a.zip", "not a zip");
  EXPECT_THROW(ZipEntryNames(dir / "a.zip"), Error);
}

}  // namespace
}  // namespace tolvane
