// A line longer than a piece of the source is read, annotated and written in pieces, and the
// target is exactly what a run that holds the whole line writes: for every layout, tone style,
// policy and wrap width, in every encoding a source comes in.
#include <gtest/gtest.h>

#include <sstream>

#include "engine/BatchConversion.h"
#include "engine/LineSpool.h"
#include "engine/SourceReader.h"
#include "platform/TextCodec.h"
#include "support/ChunkedRunFixture.h"
#include "support/ScriptedRunObserver.h"
#include "support/SessionSupport.h"
#include "support/TestSupport.h"

namespace tolvane {
namespace {

using test::Gb;

constexpr std::size_t kSmallChunk = 64;

std::string Repeat(std::string_view text, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += text;
  return out;
}

// Texts whose middle line is many pieces long, with short lines around it.
struct LongText {
  const char* name;
  std::string utf8;
  bool gb2312;  // every character of it is in GB2312
};

std::vector<LongText> LongTexts() {
  const std::string prose =
      "我爱北京天安门，天安门上红旗飘。重庆银行行长说：“长城很长！”为什么只有三只鸟？"
      "abc def，率领大家弄堂里走。";
  const std::string han = "重庆银行行长长城北京天安门上海为人民服务只有三只鸟哩率领大家弄堂";
  return {
      {"prose", "短行\r\n" + Repeat(prose, 6) + "\r\n\r\n尾行，\n", true},
      {"punctuation only", "a\n" + Repeat("，。！？、；：“”（）", 30) + "\nb", true},
      {"Han only", "开始\n" + Repeat(han, 8) + "\n", true},
      // Four-byte GB18030 sequences and UTF-16 surrogate pairs every few characters, so that
      // cuts fall next to them.
      {"outside the BMP", "x\n" + Repeat("中𠀀国😀人，𪚥龍𠮷", 40) + "\ny", false},
      {"ends without a line end", Repeat("长长的路，走", 40), true},
  };
}

struct Source {
  std::string name;
  std::string bytes;
};

std::vector<Source> SourcesOf(const LongText& text) {
  std::vector<Source> sources = {
      {"UTF-8", text.utf8},
      {"UTF-16LE", "\xFF\xFE" + EncodeText(text.utf8, Encoding::Utf16Le)},
      {"UTF-16BE", "\xFE\xFF" + EncodeText(text.utf8, Encoding::Utf16Be)},
      {"GB18030", EncodeText(text.utf8, Encoding::Gb18030)},
  };
  if (text.gb2312) sources.push_back({"GB2312", Gb(text.utf8)});
  return sources;
}

class LongLineTest : public test::ChunkedRunFixture {};

// The pieces the reader cuts a source into: how many end inside a line, and whether decoding
// them one by one gives the text the whole source decodes to.
struct Pieces {
  std::size_t midLine = 0;
  std::string text;
};

Pieces ReadInPieces(const std::string& bytes, std::size_t chunkBytes) {
  MemoryByteSource in(bytes);
  SourceReader reader(in, EncodingChoice::Auto, chunkBytes);
  Pieces pieces;
  LineList lines;
  bool continues = false;
  while (reader.Next(lines, continues)) {
    pieces.text += lines.bytes();
    if (continues) ++pieces.midLine;
  }
  return pieces;
}

std::string WholeText(const std::string& bytes) {
  MemoryByteSource in(bytes);
  SourceReader reader(in, EncodingChoice::Auto, 1 << 30);
  LineList lines;
  std::string text;
  while (reader.Next(lines)) text += lines.bytes();
  return text;
}

TEST_F(LongLineTest, TheReaderCutsALongLineIntoPiecesBetweenCharacters) {
  for (const LongText& text : LongTexts()) {
    for (const Source& source : SourcesOf(text)) {
      SCOPED_TRACE(std::string(text.name) + " in " + source.name);
      const Pieces pieces = ReadInPieces(source.bytes, kSmallChunk);
      // Several pieces of the one long line, none of them cutting a character in two.
      EXPECT_GE(pieces.midLine, 4u);
      EXPECT_EQ(pieces.text, WholeText(source.bytes));
    }
  }
}

TEST_F(LongLineTest, APieceEndsAfterPunctuationWhereThereIsSome) {
  // Commas every ten characters: every piece ends just after one.
  const std::string line = Gb(Repeat("一二三四五六七八九，", 40));
  MemoryByteSource in(line);
  SourceReader reader(in, EncodingChoice::Gbk, kSmallChunk);
  SourceReader::RawChunk raw;
  std::size_t pieces = 0;
  while (reader.NextRaw(raw) && raw.endsMidLine) {
    ++pieces;
    EXPECT_LE(raw.bytes.size(), kSmallChunk);
    EXPECT_TRUE(raw.bytes.ends_with(Gb("，"))) << test::Utf8(raw.bytes);
  }
  EXPECT_GE(pieces, 10u);
}

TEST_F(LongLineTest, WholeLinesComeBackWholeFromTheLineByLineReading) {
  const std::string text = Gb("短\r\n" + Repeat("长长的路，走", 40) + "\r\n尾");
  MemoryByteSource in(text);
  SourceReader reader(in, EncodingChoice::Gbk, kSmallChunk);
  std::vector<std::string> lines;
  LineList chunk;
  while (reader.Next(chunk))
    for (std::size_t i = 0; i < chunk.size(); ++i) lines.emplace_back(chunk[i]);
  EXPECT_EQ(lines, (std::vector<std::string>{Gb("短"), Gb(Repeat("长长的路，走", 40)), Gb("尾")}));
}

TEST_F(LongLineTest, PiecesOfALineAreWrittenAsTheWholeLine) {
  std::size_t runs = 0;
  for (const LongText& text : LongTexts()) {
    for (const Source& source : SourcesOf(text)) {
      for (const auto format :
           {OutputFormat::rb_output_py, OutputFormat::rb_output_han, OutputFormat::rb_output_hanpy,
            OutputFormat::rb_output_pyhan, OutputFormat::rb_output_py_only, OutputFormat::html}) {
        for (const auto tone : {ToneStyle::Marked, ToneStyle::Numbered, ToneStyle::Plain}) {
          for (const auto policy : {PolyphonePolicy::FirstReading, PolyphonePolicy::AllReadings,
                                    PolyphonePolicy::ByContext}) {
            // A run of Han characters longer than a piece is cut where reading by context
            // may read the characters next to the cut otherwise (see LineCutPoint).
            if (policy == PolyphonePolicy::ByContext && std::string(text.name) == "Han only")
              continue;
            for (const int wrap : {0, 7}) {
              for (const bool align : {true, false}) {
                if (!align && format != OutputFormat::rb_output_py &&
                    format != OutputFormat::rb_output_han)
                  continue;
                ConversionSettings settings;
                settings.outputFormat = format;
                settings.toneStyle = tone;
                settings.polyphone = policy;
                settings.wrapWidth = wrap;
                settings.align = align;
                SCOPED_TRACE(std::string(text.name) + " in " + source.name + " format " +
                             std::to_string(static_cast<int>(format)) + " tone " +
                             std::to_string(static_cast<int>(tone)) + " policy " +
                             std::to_string(static_cast<int>(policy)) + " wrap " +
                             std::to_string(wrap) + (align ? " aligned" : " not aligned"));
                const std::string whole = Run(source.bytes, settings, 1, 1 << 30);
                const std::size_t wholeSteps = steps;
                const std::string pieces = Run(source.bytes, settings, 3, kSmallChunk);
                ASSERT_EQ(whole, pieces);
                EXPECT_EQ(steps, wholeSteps);  // one step per line, not per piece
                EXPECT_EQ(lineCount, steps);
                ++runs;
              }
            }
          }
        }
      }
    }
  }
  EXPECT_GT(runs, 1000u);
}

TEST(LineSpool, WhatGoesBeyondItsMemoryGoesThroughAFileAndComesBackInOrder) {
  LineSpool spool(16);
  std::string expected;
  for (int i = 0; i < 100; ++i) {
    const std::string piece = std::to_string(i) + " ";
    spool.Append(piece);
    expected += piece;
  }
  EXPECT_TRUE(spool.InFile());
  std::string drained;
  spool.Drain([&](std::string_view bytes) { drained += bytes; });
  EXPECT_EQ(drained, expected);
  // Empty again, and in memory until it is full again.
  spool.Append("x");
  EXPECT_FALSE(spool.InFile());
  drained.clear();
  spool.Drain([&](std::string_view bytes) { drained += bytes; });
  EXPECT_EQ(drained, "x");
}

TEST_F(LongLineTest, ALongLineInATwoLineLayoutHoldsItsSecondLineBackUntilItEnds) {
  // Thousands of pieces of one line, the character line waiting for the last.
  const std::string line = Gb(Repeat("我爱北京天安门，", 4000));
  ConversionSettings settings;
  settings.outputFormat = OutputFormat::rb_output_han;
  EXPECT_EQ(Run(line, settings, 2, kSmallChunk), Run(line, settings, 1, 1 << 30));
}

// A source stream that gives some bytes and then runs out of memory.
class FailingBuffer : public std::streambuf {
 public:
  explicit FailingBuffer(std::string bytes) : bytes_(std::move(bytes)) {
    setg(bytes_.data(), bytes_.data(), bytes_.data() + bytes_.size());
  }

 protected:
  int_type underflow() override { throw std::bad_alloc(); }

 private:
  std::string bytes_;
};

// Runs out of memory when the run writes its first line.
class OutOfMemoryObserver : public test::ScriptedObserver {
 public:
  void ProgressStepped() override { throw std::bad_alloc(); }
};

TEST_F(LongLineTest, RunningOutOfMemoryWhileWritingFailsTheRunWithAnError) {
  test::WriteBytes(dir_ / "a.txt", Gb("我爱北京\r\n天安门\r\n"));
  test::WriteBytes(dir_ / "out.txt", "old");
  BatchRequest request;
  request.source = dir_ / "a.txt";
  request.target = dir_ / "out.txt";
  request.programFolder = program_.path();
  request.data = session.Data();
  request.jobs = 2;
  OutOfMemoryObserver host;
  const RunOutcome outcome = BatchConversion(request, host);
  EXPECT_EQ(outcome.status, RunStatus::Failed);
  ASSERT_TRUE(outcome.error);
  EXPECT_STREQ(outcome.error->what(), "Out of memory");
  EXPECT_EQ(outcome.error->path(), request.source);
  EXPECT_EQ(host.errors, std::vector<std::string>{"Out of memory"});
}

TEST_F(LongLineTest, RunningOutOfMemoryWhileReadingFailsTheRunWithAnError) {
  FailingBuffer buffer(Gb("我爱北京\r\n"));
  std::istream in(&buffer);
  in.exceptions(std::ios::badbit);  // what the stream's buffer raises comes through
  std::ostringstream out;
  BatchRequest request;
  request.source = "-";
  request.target = "-";
  request.sourceStream = &in;
  request.targetStream = &out;
  request.programFolder = program_.path();
  request.data = session.Data();
  test::ScriptedObserver host;
  const RunOutcome outcome = BatchConversion(request, host);
  EXPECT_EQ(outcome.status, RunStatus::Failed);
  ASSERT_TRUE(outcome.error);
  EXPECT_STREQ(outcome.error->what(), "Out of memory");
  EXPECT_EQ(outcome.error->path(), "-");
}

}  // namespace
}  // namespace tolvane
