// A run on several threads, in chunks, writes exactly what a run on one thread writes: for every
// layout, tone style, policy, wrap width and encoding, with chunks that start inside runs of
// empty lines and after lines ending in a character without a reading.
#include <gtest/gtest.h>

#include <sstream>

#include "engine/BatchConversion.h"
#include "platform/TextCodec.h"
#include "reading/classic/ReadingTable.h"
#include "reading/shared/DataFiles.h"
#include "support/ChunkedRunFixture.h"
#include "support/ScriptedRunObserver.h"
#include "support/SessionSupport.h"
#include "support/TestSupport.h"

namespace tolvane {
namespace {

using test::Gb;

// Lines of every kind, many of them: chunks of a few dozen bytes cut it in hundreds of places.
// `hanRun`: the line of one character repeated, longer than a piece. Without a space or mark in
// it, reading by context reads the characters next to a cut as at a line's end (see
// LineCutPoint), so the runs by context take it with marks the pieces are cut after.
std::string SourceTextUtf8(
    const char* hanRun = "长长长长长长长长长长长长长长长长长长长长长长长长长长长长") {
  const char* lines[] = {
      "我爱北京天安门，天安门上红旗飘",
      "",
      "",
      "",
      "长城，",
      "abc",
      "重庆银行行长",
      "",
      "a",
      "國堃😀，",
      "了",
      "  ",
      hanRun,
      "",
      "上海，",
      "",
  };
  std::string text;
  for (int repeat = 0; repeat < 4; ++repeat)
    for (const char* line : lines) text += std::string(line) + (repeat % 3 == 0 ? "\r\n" : "\n");
  return text + "最后一行";
}

class ParallelRunTest : public test::ChunkedRunFixture {};

TEST_F(ParallelRunTest, ChunksOnSeveralThreadsWriteWhatOneThreadWrites) {
  std::size_t runs = 0;
  for (const bool byContext : {false, true}) {
    const std::string text =
        byContext ? SourceTextUtf8("长长长长长长，长长长长长长。长长长长长长！长长长长长长")
                  : SourceTextUtf8();
    const std::pair<const char*, std::string> sources[] = {
        {"GB2312/GBK", Gb(text)},
        {"UTF-8", text},
        {"UTF-16LE", "\xFF\xFE" + EncodeText(text, Encoding::Utf16Le)},
        {"GB18030", EncodeText(text, Encoding::Gb18030)},
    };
    for (const auto& [name, source] : sources) {
      for (const auto format :
           {OutputFormat::rb_output_py, OutputFormat::rb_output_han, OutputFormat::rb_output_hanpy,
            OutputFormat::rb_output_pyhan, OutputFormat::rb_output_py_only, OutputFormat::html}) {
        for (const auto tone : {ToneStyle::Marked, ToneStyle::Numbered, ToneStyle::Plain}) {
          for (const auto policy : {PolyphonePolicy::FirstReading, PolyphonePolicy::AllReadings,
                                    PolyphonePolicy::ByContext}) {
            if ((policy == PolyphonePolicy::ByContext) != byContext) continue;
            for (const int wrap : {0, 10}) {
              ConversionSettings settings;
              settings.outputFormat = format;
              settings.toneStyle = tone;
              settings.polyphone = policy;
              settings.wrapWidth = wrap;
              settings.align = (runs % 2) == 0;
              SCOPED_TRACE(
                  std::string(name) + " format " + std::to_string(static_cast<int>(format)) +
                  " tone " + std::to_string(static_cast<int>(tone)) + " policy " +
                  std::to_string(static_cast<int>(policy)) + " wrap " + std::to_string(wrap));
              const std::string one = Run(source, settings, 1, 1 << 30);
              const std::size_t oneSteps = steps;
              const std::string many = Run(source, settings, 3, 40);
              ASSERT_EQ(one, many);
              EXPECT_EQ(steps, oneSteps);   // the bar steps once per line either way
              EXPECT_EQ(lineCount, steps);  // and its range ends corrected to the count
              ++runs;
            }
          }
        }
      }
    }
  }
  EXPECT_EQ(runs, 4u * 6u * 3u * 3u * 2u);
}

TEST_F(ParallelRunTest, AFailureMidwayLeavesTheSameLinesAsOnOneThread) {
  // Without tone glyphs the Marked style fails at the first character that needs a mark: let
  // that come after many chunks.
  std::string text;
  for (int i = 0; i < 200; ++i) text += "，a，\r\n\r\n";
  text += "我\r\n你\r\n";
  std::filesystem::remove(program_ / kToneVowelFile);
  session.ReloadDataFiles();
  ConversionSettings settings;  // Marked
  const std::string one = Run(Gb(text), settings, 1, 1 << 30, RunStatus::Failed);
  const std::string many = Run(Gb(text), settings, 3, 32, RunStatus::Failed);
  EXPECT_EQ(one, many);
  EXPECT_FALSE(one.empty());
  EXPECT_EQ(one.find(Gb("我")), std::string::npos);
}

TEST_F(ParallelRunTest, StandardInputIsReadInChunksToo) {
  const std::string text = SourceTextUtf8();
  std::istringstream in(text);
  std::ostringstream out;
  BatchRequest request;
  request.source = "-";
  request.target = "-";
  request.sourceStream = &in;
  request.targetStream = &out;
  request.programFolder = program_.path();
  request.data = session.Data();
  request.jobs = 2;
  request.chunkBytes = 100;
  test::ScriptedObserver host;
  ASSERT_EQ(BatchConversion(request, host).status, RunStatus::Completed);
  ConversionSettings settings;
  EXPECT_EQ(out.str(), Run(text, settings, 1, 1 << 30));
}

}  // namespace
}  // namespace tolvane
