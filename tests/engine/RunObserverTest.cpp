// What a run tells its observer: its progress, the undecodable bytes of its source and how it
// ended, the error of a failed run included; the same outcome is returned.
#include <gtest/gtest.h>

#include <sstream>

#include "engine/BatchConversion.h"
#include "reading/classic/ReadingTable.h"
#include "reading/shared/DataFiles.h"
#include "support/ScriptedRunObserver.h"
#include "support/SessionSupport.h"
#include "support/TestSupport.h"

namespace tolvane {
namespace {

using test::Gb;
using test::ScriptedObserver;
using test::TempDir;
using test::WriteBytes;
using Events = std::vector<std::string>;

class RunObserverTest : public testing::Test {
 protected:
  Session session;
  test::CurrentReadings reader{session};

 protected:
  void SetUp() override {
    session.InitNumberedTable();
    session.InitPlainTable();
  }
  BatchRequest Request() {
    BatchRequest request;
    request.source = dir_ / "a.txt";
    request.target = dir_ / "out.txt";
    request.settings.outputFormat = OutputFormat::rb_output_hanpy;
    request.programFolder = dir_.path();
    request.data = session.Data();
    return request;
  }
  TempDir dir_;
  ScriptedObserver observer_;
};

TEST_F(RunObserverTest, AFailingRunReportsItsProgressTheUndecodableBytesAndItsError) {
  // Without tone glyphs the Marked style fails at 中, the first character that needs a mark; the
  // lines before it carry a byte that is not UTF-8.
  session.LoadDataFiles(dir_ / "no-glyphs");
  WriteBytes(dir_ / "a.txt", "a\xFF\r\nb\r\n中\r\nc\r\n");
  auto request = Request();
  request.sourceEncoding = EncodingChoice::Utf8;
  const RunOutcome outcome = BatchConversion(request, observer_);
  EXPECT_EQ(outcome.status, RunStatus::Failed);
  ASSERT_TRUE(outcome.error);
  EXPECT_STREQ(outcome.error->what(), "List index out of bounds (4)");
  EXPECT_TRUE(outcome.targetOpened);
  EXPECT_EQ(observer_.events, (Events{"show", "undecodable", "end"}));
  EXPECT_EQ(observer_.lineCount, 4u);
  EXPECT_EQ(observer_.steps, 2u) << "the two lines written before the failure";
  ASSERT_EQ(observer_.undecodable.size(), 1u);
  EXPECT_EQ(observer_.undecodable[0].first, (TextEncoding{Encoding::Utf8, false}));
  EXPECT_EQ(observer_.undecodable[0].second, 1u);
  // What it reported last is what it returned.
  ASSERT_EQ(observer_.outcomes.size(), 1u);
  EXPECT_EQ(observer_.outcomes[0].status, RunStatus::Failed);
  EXPECT_STREQ(observer_.outcomes[0].error->what(), "List index out of bounds (4)");
  EXPECT_EQ(observer_.errors, std::vector<std::string>{"List index out of bounds (4)"});
}

TEST_F(RunObserverTest, ACompletedRunReportsEveryLineAndNoError) {
  session.LoadDataFiles(test::SourceDataFolder());
  std::string text;
  for (int i = 0; i < 500; ++i) text += Gb("我爱北京") + "\r\n";
  WriteBytes(dir_ / "a.txt", text + "\xFF");
  for (const unsigned jobs : {1u, 3u}) {
    auto request = Request();
    request.jobs = jobs;
    request.chunkBytes = 256;  // many chunks: the range is estimated, then corrected
    ScriptedObserver observer;
    const RunOutcome outcome = BatchConversion(request, observer);
    EXPECT_EQ(outcome.status, RunStatus::Completed);
    EXPECT_FALSE(outcome.error);
    EXPECT_TRUE(outcome.targetOpened);
    EXPECT_EQ(observer.steps, 501u);
    EXPECT_EQ(observer.lineCount, 501u) << "the range ends at the lines written";
    EXPECT_EQ(observer.events, (Events{"undecodable", "show", "end"}))
        << "code page 936 bytes that do not decode are found before the run starts";
    ASSERT_EQ(observer.undecodable.size(), 1u);
    EXPECT_EQ(observer.undecodable[0].second, text.size());
    ASSERT_EQ(observer.outcomes.size(), 1u);
    EXPECT_EQ(observer.outcomes[0].status, RunStatus::Completed);
  }
}

TEST_F(RunObserverTest, AFailureBeforeTheTargetIsReportedWithoutProgress) {
  session.LoadDataFiles(test::SourceDataFolder());
  WriteBytes(dir_ / "a.txt", Gb("我\r\n"));
  auto request = Request();
  request.target = dir_ / "x" / "y" / "out.txt";
  const RunOutcome outcome = BatchConversion(request, observer_);
  EXPECT_EQ(outcome.status, RunStatus::Failed);
  EXPECT_FALSE(outcome.targetOpened);
  EXPECT_EQ(observer_.events, Events{"end"});
  EXPECT_EQ(observer_.errors, std::vector<std::string>{"File not found"});
}

TEST_F(RunObserverTest, UndecodableBytesSayWhatTheTargetHoldsInTheirPlace) {
  // The text layouts copy the bytes; the page, UTF-8 throughout, holds U+FFFD instead.
  const struct {
    OutputFormat format;
    UndecodableOutput output;
    std::string_view written;  // how the target shows the byte
  } cases[] = {
      {OutputFormat::rb_output_hanpy, UndecodableOutput::Unchanged, "\xFF"},
      {OutputFormat::rb_output_py, UndecodableOutput::Unchanged, "\xFF"},
      {OutputFormat::html, UndecodableOutput::ReplacementCharacters, "\xEF\xBF\xBD"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.format));
    WriteBytes(dir_ / "a.txt", "a\xFF\r\n");
    ScriptedObserver observer;
    auto request = Request();
    request.sourceEncoding = EncodingChoice::Utf8;
    request.settings.outputFormat = c.format;
    ASSERT_EQ(BatchConversion(request, observer).status, RunStatus::Completed);
    EXPECT_EQ(observer.undecodableOutputs, std::vector<UndecodableOutput>{c.output});
    EXPECT_NE(test::ReadBytes(dir_ / "out.txt").find(c.written), std::string::npos);
  }
}

}  // namespace
}  // namespace tolvane
