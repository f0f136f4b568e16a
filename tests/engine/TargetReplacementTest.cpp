#include "engine/TargetReplacement.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <iterator>

#include "platform/Error.h"
#include "support/TestSupport.h"

namespace tolvane {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

const std::string kOld = "the old file\r\nas it was\r\n";

std::ptrdiff_t FilesIn(const std::filesystem::path& folder) {
  return std::distance(std::filesystem::directory_iterator(folder), {});
}

// Files written by this process cannot grow past `bytes` while it lives: a write beyond fails
// (EFBIG) as on a full disk, whoever runs the test.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, previousHandler_);
  }

 private:
  rlimit saved_{};
  void (*previousHandler_)(int) = nullptr;
};

TEST(TargetReplacement, ACommitPutsTheNewContentInTheFilesPlace) {
  TempDir dir;
  WriteBytes(dir / "a.txt", kOld);
  TargetReplacement replacement;
  replacement.Open(dir / "a.txt");
  replacement.Write("new ");
  replacement.Write("content");
  // Until the commit the file is as it was, and the new content waits beside it.
  EXPECT_EQ(ReadBytes(dir / "a.txt"), kOld);
  EXPECT_EQ(FilesIn(dir.path()), 2);
  replacement.Commit();
  EXPECT_EQ(ReadBytes(dir / "a.txt"), "new content");
  EXPECT_EQ(FilesIn(dir.path()), 1) << "no scratch file left behind";
  EXPECT_FALSE(replacement.IsOpen());
}

TEST(TargetReplacement, ATargetThatDoesNotExistYetIsCreatedByTheCommit) {
  TempDir dir;
  TargetReplacement replacement;
  replacement.Open(dir / "new.txt");
  EXPECT_FALSE(std::filesystem::exists(dir / "new.txt"));
  replacement.Write("x");
  replacement.Commit();
  EXPECT_EQ(ReadBytes(dir / "new.txt"), "x");
  EXPECT_EQ(FilesIn(dir.path()), 1);
}

TEST(TargetReplacement, AbandonedOrDroppedItLeavesTheFileAsItWas) {
  const struct {
    const char* name;
    bool abandon;  // else the replacement is destroyed uncommitted
  } cases[] = {{"abandoned", true}, {"destroyed", false}};
  for (const auto& c : cases) {
    TempDir dir;
    WriteBytes(dir / "a.txt", kOld);
    {
      TargetReplacement replacement;
      replacement.Open(dir / "a.txt");
      replacement.Write(std::string(3 << 20, 'x'));  // past the writer's buffer: on disk
      if (c.abandon) replacement.Abandon();
    }
    EXPECT_EQ(ReadBytes(dir / "a.txt"), kOld) << c.name;
    EXPECT_EQ(FilesIn(dir.path()), 1) << c.name;
  }
}

TEST(TargetReplacement, AFailedWriteLeavesTheOldFileByteForByteAndNoScratchFile) {
  const struct {
    const char* name;
    std::size_t bytes;  // written before the commit
    bool writeFails;    // or the commit, which writes what the writer still holds
  } cases[] = {
      {"a write past the writer's buffer", 3 << 20, true},
      {"the last bytes, written by the commit", 100 << 10, false},
  };
  for (const auto& c : cases) {
    TempDir dir;
    WriteBytes(dir / "a.txt", kOld);
    TargetReplacement replacement;
    replacement.Open(dir / "a.txt");
    bool raised = false;
    {
      FileSizeLimit limit(64 << 10);
      try {
        replacement.Write(std::string(c.bytes, 'x'));
        EXPECT_FALSE(c.writeFails) << c.name;
        replacement.Commit();
      } catch (const Error&) {
        raised = true;
        replacement.Abandon();  // as a failed run does
      }
    }
    EXPECT_TRUE(raised) << c.name;
    EXPECT_EQ(ReadBytes(dir / "a.txt"), kOld) << c.name;
    EXPECT_EQ(FilesIn(dir.path()), 1) << c.name << ": no scratch file left behind";
  }
}

TEST(TargetReplacement, ACommitThatCannotRenameRaisesAndLeavesTheFile) {
  TempDir dir;
  WriteBytes(dir / "a.txt", kOld);
  TargetReplacement replacement;
  replacement.Open(dir / "a.txt");
  replacement.Write("new");
  // Someone else takes the scratch file away before the commit.
  for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
    if (entry.path().filename() != "a.txt") std::filesystem::remove(entry.path());
  EXPECT_THROW(replacement.Commit(), Error);
  EXPECT_EQ(ReadBytes(dir / "a.txt"), kOld);
  EXPECT_EQ(FilesIn(dir.path()), 1);
}

TEST(TargetReplacement, AnOpenThatFailsCreatesNothing) {
  TempDir dir;
  TargetReplacement replacement;
  EXPECT_THROW(replacement.Open(dir / "no-folder" / "a.txt"), Error);
  EXPECT_FALSE(replacement.IsOpen());
  EXPECT_EQ(FilesIn(dir.path()), 0);
}

}  // namespace
}  // namespace tolvane
