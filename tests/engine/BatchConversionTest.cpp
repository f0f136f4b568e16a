#include "engine/BatchConversion.h"

#include <gtest/gtest.h>

#include "reading/classic/ReadingTable.h"
#include "reading/shared/DataFiles.h"
#include "support/ScriptedRunObserver.h"
#include "support/SessionSupport.h"
#include "support/TestSupport.h"

namespace tolvane {
namespace {

using test::Gb;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

using test::ScriptedObserver;

class BatchConversionTest : public testing::Test {
 protected:
  Session session;
  test::CurrentReadings reader{session};

 protected:
  void SetUp() override { StartSession(session, test::SourceDataFolder()); }
  BatchRequest Request(OutputFormat format = OutputFormat::rb_output_py, int wrap = 0) {
    BatchRequest request;
    request.source = dir_ / "a.txt";
    request.target = dir_ / "a_out.txt";
    request.settings.toneStyle = ToneStyle::Numbered;
    request.settings.outputFormat = format;
    request.settings.wrapWidth = wrap;
    request.programFolder = program_.path();
    request.data = session.Data();
    return request;
  }
  TempDir dir_;
  TempDir program_;
  ScriptedObserver host_;
};

using Events = std::vector<std::string>;

TEST_F(BatchConversionTest, ConvertsEveryLineWithCrLf) {
  WriteBytes(dir_ / "a.txt", Gb("我爱\r\n\r\n北京"));  // last line without a line end
  ASSERT_EQ(BatchConversion(Request(), host_).status, RunStatus::Completed);
  EXPECT_EQ(ReadBytes(dir_ / "a_out.txt"),
            Gb("wo3 ai4\r\n我  爱\r\n\r\n\r\nbei3 jing1\r\n北   京\r\n"));
  EXPECT_EQ(host_.lineCount, 3u);
  EXPECT_EQ(host_.steps, 3u);
  // The run only reports; the window's questions after it are its own (TfrmMainBatchTest).
  EXPECT_EQ(host_.events, (Events{"show", "end"}));

  host_ = ScriptedObserver();
  WriteBytes(dir_ / "a.txt", Gb("我\r爱\n北"));  // a lone CR or LF ends a line too
  ASSERT_EQ(BatchConversion(Request(OutputFormat::rb_output_hanpy), host_).status,
            RunStatus::Completed);
  EXPECT_EQ(ReadBytes(dir_ / "a_out.txt"), Gb("我(wo3)\r\n爱(ai4)\r\n北(bei3)\r\n"));  // replaced
  EXPECT_EQ(host_.events, (Events{"show", "end"}));
}

TEST_F(BatchConversionTest, EmptySourceGivesEmptyTargetAndTheUsualEnd) {
  WriteBytes(dir_ / "a.txt", "");
  ASSERT_EQ(BatchConversion(Request(), host_).status, RunStatus::Completed);
  EXPECT_EQ(ReadBytes(dir_ / "a_out.txt"), "");
  EXPECT_EQ(host_.lineCount, 0u);
  EXPECT_EQ(host_.events, (Events{"show", "end"}));
}

TEST_F(BatchConversionTest, MissingSourceEndsTheRunAndCreatesNoTarget) {
  auto request = Request();
  request.target = dir_ / "new-folder" / "a_out.txt";
  const RunOutcome outcome = BatchConversion(request, host_);
  EXPECT_EQ(outcome.status, RunStatus::SourceMissing);
  EXPECT_FALSE(outcome.error);
  EXPECT_FALSE(outcome.targetOpened);
  EXPECT_EQ(host_.events, (Events{"end"}));  // no progress: the window asks for another source
  EXPECT_FALSE(std::filesystem::exists(request.target));
  EXPECT_FALSE(std::filesystem::exists(dir_ / "new-folder"));  // made only for a run that writes

  host_ = ScriptedObserver();
  request.source.clear();  // an empty box is a missing source too
  EXPECT_EQ(BatchConversion(request, host_).status, RunStatus::SourceMissing);
  EXPECT_EQ(host_.events, (Events{"end"}));
}

TEST_F(BatchConversionTest, WrapCutsLinesIntoPiecesThroughTheTempFile) {
  const std::string twentyFive = Gb("一二三四五六七八九十一二三四五六七八九十一二三四五");
  const std::string ten = Gb("abcdefghi十");
  WriteBytes(dir_ / "a.txt", twentyFive + "\r\n\r\n" + ten + "\r\n");
  ASSERT_EQ(BatchConversion(Request(OutputFormat::rb_output_hanpy, 10), host_).status,
            RunStatus::Completed);
  const std::string temp = ReadBytes(program_ / "temp.txt");
  EXPECT_EQ(temp, twentyFive.substr(0, 20) + "\r\n" + twentyFive.substr(20, 20) + "\r\n" +
                      twentyFive.substr(40) + "\r\n" + ten + "\r\n");
  EXPECT_EQ(host_.lineCount, 4u);  // the empty line vanished
}

TEST_F(BatchConversionTest, WrapConsumesALoneLeadByteAtTheEndOfALine) {
  WriteBytes(dir_ / "a.txt", Gb("一二三") + "\xB0\r\n" + "\xB0\r\n");
  ASSERT_EQ(BatchConversion(Request(OutputFormat::rb_output_hanpy, 2), host_).status,
            RunStatus::Completed);
  EXPECT_EQ(ReadBytes(program_ / "temp.txt"),
            Gb("一二") + "\r\n" + Gb("三") + "\xB0\r\n" + "\xB0\r\n");
}

TEST_F(BatchConversionTest, TargetEqualToSourceIsReplacedByItsAnnotation) {
  WriteBytes(dir_ / "a.txt", Gb("我"));
  auto request = Request(OutputFormat::rb_output_hanpy);
  request.target = request.source;
  ASSERT_EQ(BatchConversion(request, host_).status, RunStatus::Completed);
  EXPECT_EQ(ReadBytes(dir_ / "a.txt"), Gb("我(wo3)\r\n"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.path()), {}), 1);
}

TEST_F(BatchConversionTest, FailedRunOverTheSourceLeavesTheSourceIntact) {
  // Without tone glyphs the Marked style fails at the first character that needs a mark.
  TempDir noGlyphs;
  session.LoadDataFiles(noGlyphs.path());
  const std::string original = Gb("们\r\n中国\r\n");
  WriteBytes(dir_ / "a.txt", original);
  auto request = Request();
  request.settings.toneStyle = ToneStyle::Marked;
  request.target = request.source;
  EXPECT_EQ(BatchConversion(request, host_).status, RunStatus::Failed);
  EXPECT_EQ(ReadBytes(dir_ / "a.txt"), original);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.path()), {}), 1)
      << "no scratch file left behind";
  EXPECT_EQ(host_.errors, std::vector<std::string>{"List index out of bounds (4)"});
}

TEST_F(BatchConversionTest, FailureAfterTheTargetWasOpenedEndsFailedWithTheTargetOpened) {
  TempDir noGlyphs;
  session.LoadDataFiles(noGlyphs.path());
  WriteBytes(dir_ / "a.txt", Gb("们\r\n中\r\n"));
  auto request = Request();
  request.settings.toneStyle = ToneStyle::Marked;
  const RunOutcome outcome = BatchConversion(request, host_);
  EXPECT_EQ(outcome.status, RunStatus::Failed);
  EXPECT_TRUE(outcome.targetOpened);  // the window closes its bar before the error box
  EXPECT_FALSE(std::filesystem::exists(dir_ / "a_out.txt"));  // the lines written are dropped
  EXPECT_EQ(host_.events, (Events{"show", "end"}));
  EXPECT_EQ(host_.errors, std::vector<std::string>{"List index out of bounds (4)"});
}

TEST_F(BatchConversionTest, FullDiskIsAFailureNotASuccess) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP();
  WriteBytes(dir_ / "a.txt", Gb("我爱北京\r\n"));
  auto request = Request();
  request.target = "/dev/full";
  EXPECT_EQ(BatchConversion(request, host_).status, RunStatus::Failed);
  EXPECT_EQ(host_.errors, std::vector<std::string>{"Disk full"});
  EXPECT_TRUE(host_.outcomes.at(0).targetOpened);
}

TEST_F(BatchConversionTest, FailuresBeforeTheTargetOnlyReportTheError) {
  struct Case {
    const char* name;
    std::function<void(BatchRequest&)> arrange;
    std::string error;
  };
  const Case cases[] = {
      {"source is a directory", [&](BatchRequest& r) { r.source = dir_.path(); },
       "Cannot open file \"" + dir_.path().string() + "\". Is a directory"},
      {"target folder cannot be made",
       [&](BatchRequest& r) { r.target = dir_ / "x" / "y" / "out.txt"; }, "File not found"},
      {"target is a directory", [&](BatchRequest& r) { r.target = dir_.path(); }, "Is a directory"},
      {"temp.txt cannot be created",
       [&](BatchRequest& r) {
         r.settings.wrapWidth = 10;
         r.programFolder = dir_ / "missing-program-folder";
       },
       "File not found"},
  };
  for (const Case& c : cases) {
    WriteBytes(dir_ / "a.txt", Gb("我\r\n"));
    ScriptedObserver host;
    auto request = Request();
    c.arrange(request);
    const RunOutcome outcome = BatchConversion(request, host);
    EXPECT_EQ(outcome.status, RunStatus::Failed) << c.name;
    EXPECT_FALSE(outcome.targetOpened) << c.name;  // so the window shows the error box alone
    EXPECT_EQ(host.events, Events{"end"}) << c.name;
    EXPECT_EQ(host.errors, std::vector<std::string>{c.error}) << c.name;
  }
}

TEST_F(BatchConversionTest, HugeSingleLineAndOddBytesConvertCompletely) {
  // 50 MB on one line, with NUL-free junk bytes, a lone CR-only ending and no final line end.
  std::string line;
  const std::string piece = Gb("我爱北京天安门") + "abc\x80\xFF" + Gb("，");
  line.reserve(50u << 20);
  while (line.size() < (50u << 20)) line += piece;
  WriteBytes(dir_ / "a.txt", line + "\r" + "\xB0");
  ASSERT_EQ(BatchConversion(Request(OutputFormat::rb_output_hanpy), host_).status,
            RunStatus::Completed);
  EXPECT_EQ(host_.lineCount, 2u);
  const std::string target = ReadBytes(dir_ / "a_out.txt");
  const std::string expectedPiece =
      Gb("我(wo3)爱(ai4)北(bei3)京(jing1)天(tian1)安(an1)门(men2)") + "abc\x80\xFF" + Gb("，");
  ASSERT_EQ(target.size(), line.size() / piece.size() * expectedPiece.size() + 2 + 1 + 2);
  EXPECT_EQ(target.substr(0, expectedPiece.size()), expectedPiece);
  EXPECT_EQ(target.substr(target.size() - 5), "\r\n\xB0\r\n");
}

TEST_F(BatchConversionTest, NulByteIsKeptAndTheRestOfTheSourceToo) {
  WriteBytes(dir_ / "a.txt", std::string("\xCE\xD2\r\n\0\xB0\xAE\r\n", 9));
  ASSERT_EQ(BatchConversion(Request(OutputFormat::rb_output_hanpy), host_).status,
            RunStatus::Completed);
  EXPECT_EQ(ReadBytes(dir_ / "a_out.txt"), Gb("我(wo3)\r\n") + '\0' + Gb("爱(ai4)\r\n"));
}

}  // namespace
}  // namespace tolvane
