#include "platform/TextFile.h"

#include <gtest/gtest.h>

#include "platform/Error.h"
#include "support/TestSupport.h"

namespace tolvane {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;
using Lines = std::vector<std::string_view>;

TEST(SplitLines, CutsAtEveryKindOfLineEnd) {
  struct Case {
    std::string_view text;
    Lines expected;
  };
  const Case cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\n", {"a"}},              // a final line end starts no further line
      {"a\r\nb", {"a", "b"}},        // text after the last line end is one more line
      {"a\r\n\r\n", {"a", ""}},      // an empty line between two line ends
      {"a\nb\n", {"a", "b"}},        // LF only
      {"a\rb\r", {"a", "b"}},        // CR only
      {"a\n\rb", {"a", "", "b"}},    // LF CR is two line ends
      {"a\r\r\nb", {"a", "", "b"}},  // CR, then CR LF
      {"\r\n", {""}},
      {"\n\n", {"", ""}},
      {std::string_view("a\0b\r\nc", 6), {"a"}},  // a NUL ends the text
      {"\xEF\xBB\xBFx", {"\xEF\xBB\xBFx"}},       // a byte-order mark stays part of the first line
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SplitLines(c.text), c.expected) << "input of " << c.text.size() << " bytes";
  }
}

TEST(SplitLines, NulInTheMiddleOfALine) {
  const std::string text("ab\0cd\r\nef", 9);
  EXPECT_EQ(SplitLines(text), Lines{"ab"});
}

TEST(SplitLines, FindsEachKindOfLineEndAtEveryPositionOfALongLine) {
  // The line ends are searched sixteen bytes at a time: each end at each offset from a block's
  // start, and the bytes just above the control range (14, 0x80, 0xFF) that must not count.
  const std::string_view ends[] = {"\r\n", "\n", "\r"};
  for (const std::string_view end : ends) {
    for (std::size_t at = 0; at < 40; ++at) {
      std::string text(at, 'a');
      if (at > 0) text[at / 2] = at % 3 == 0 ? '\x0E' : at % 3 == 1 ? '\x80' : '\xFF';
      const std::string first = text;
      text += end;
      text += std::string(37 - at % 37, 'b');
      EXPECT_EQ(SplitLines(text),
                (Lines{first, std::string_view(text).substr(first.size() + end.size())}))
          << "end " << end.size() << " at " << at;
    }
  }
  for (std::size_t at = 0; at < 40; ++at) {
    std::string text(48, 'c');
    text[at] = '\0';
    const Lines expected = at == 0 ? Lines{} : Lines{std::string_view(text).substr(0, at)};
    EXPECT_EQ(SplitLines(text), expected) << "NUL at " << at;
  }
}

TEST(LineList, HoldsTheLinesOfOneBuffer) {
  LineList lines(std::string("one\r\ntwo\rthree\n\nfour"));
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0], "one");
  EXPECT_EQ(lines[3], "");
  EXPECT_EQ(lines[4], "four");
  LineList moved = std::move(lines);  // views must survive a move of the list
  EXPECT_EQ(moved[2], "three");
  moved.clear();
  EXPECT_TRUE(moved.empty());
}

TEST(TextFile, ReadsWholeFilesAndWritesCrLf) {
  TempDir dir;
  const auto path = dir / "a.txt";
  WriteTextLines(path, {"x", "", "\xD6\xD0"});
  EXPECT_EQ(ReadBytes(path), "x\r\n\r\n\xD6\xD0\r\n");
  EXPECT_EQ(ReadTextLines(path), (std::vector<std::string>{"x", "", "\xD6\xD0"}));
  WriteTextLines(path, {});
  EXPECT_EQ(ReadBytes(path), "");  // truncated
}

TEST(TextFile, OpenFailuresNameTheFileAndTheReason) {
  TempDir dir;
  try {
    ReadWholeFile(dir / "missing.txt");
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot open file \"" + (dir / "missing.txt").string() +
                                         "\". No such file or directory");
    EXPECT_EQ(e.path(), dir / "missing.txt");
  }
  try {
    ReadWholeFile(dir.path());
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()),
              "Cannot open file \"" + dir.path().string() + "\". Is a directory");
  }
}

TEST(TextFile, WriteFailuresRaiseTheDesignedTexts) {
  TempDir dir;
  struct Case {
    std::filesystem::path path;
    std::string message;
  };
  const Case cases[] = {
      {dir / "no-such-folder" / "a.txt", "File not found"},
      {dir.path(), "Is a directory"},
  };
  for (const Case& c : cases) {
    try {
      TextFileWriter writer(c.path);
      FAIL() << c.path;
    } catch (const Error& e) {
      EXPECT_EQ(std::string(e.what()), c.message);
      EXPECT_EQ(e.path(), c.path);
    }
  }
}

TEST(TextFile, FullDiskIsReportedAtTheLatestOnClose) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  TextFileWriter writer("/dev/full");
  try {
    writer.WriteLine("some text");
    writer.Close();
    FAIL() << "a write to a full disk was reported as success";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), "Disk full");
  }
}

TEST(FileErrorText, MapsSystemErrors) {
  EXPECT_EQ(FileErrorText(ENOENT), "File not found");
  EXPECT_EQ(FileErrorText(EMFILE), "Too many open files");
  EXPECT_EQ(FileErrorText(EACCES), "File access denied");
  EXPECT_EQ(FileErrorText(ENOSPC), "Disk full");
  EXPECT_EQ(FileErrorText(EIO), "I/O error " + std::to_string(EIO));
  EXPECT_EQ(FileErrorText(EISDIR), "Is a directory");
  EXPECT_EQ(FileErrorText(EBADF), "Bad file descriptor");
  EXPECT_EQ(FileErrorText(EPIPE), "Broken pipe");
  EXPECT_EQ(ListIndexOutOfBounds(24).what(), std::string("List index out of bounds (24)"));
}

TEST(ReplaceTextFile, ReplacesOnlyOnceComplete) {
  TempDir dir;
  const auto path = dir / "config1.dll";
  WriteBytes(path, "old\r\n");
  ReplaceTextFile(path, {"new", "lines"});
  EXPECT_EQ(ReadBytes(path), "new\r\nlines\r\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(ReplaceTextFile, FailureKeepsTheOldFileAndLeavesNoScratch) {
  TempDir dir;
  // A directory cannot be replaced by a file, for root as for anyone.
  std::filesystem::create_directory(dir / "settings");
  EXPECT_THROW(ReplaceTextFile(dir / "settings", {"x"}), Error);
  EXPECT_TRUE(std::filesystem::is_directory(dir / "settings"));
  // A folder that does not exist: nothing can be written there.
  EXPECT_THROW(ReplaceTextFile(dir / "missing" / "a.txt", {"x"}), Error);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

}  // namespace
}  // namespace tolvane
