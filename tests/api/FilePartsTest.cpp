#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ApiTestSupport.h"
#include "support/TestSupport.h"
#include "tolvane/tolvane.h"

// A file cut into small parts, each converted on its own: the parts' targets put together are
// the whole file's target, byte for byte, in every layout and encoding.
namespace tolvane {
namespace {

// Lines that end with and without a reading (the aligned layouts' separator depends on the last
// non-empty line before a part), empty lines, a line that is a title, Latin text.
const char* const kText =
    "课文\n"
    "银行旁边有一个行人\n"
    "\n"
    "他不是我的朋友，A1 B2 也不是。\r\n"
    "我们一会儿去北京吧！\n"
    "ABC\n"
    "\n"
    "\n"
    "重庆的火锅很好吃𠀀\n"
    "长大以后我要当老师\n"
    "Latin only line\n"
    "最后一行没有行尾";

std::string Repeated(std::string_view text, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) {
    out += text;
    out += "\n";
  }
  return out;
}

struct SourceBytes {
  const char* name;
  std::string bytes;
};

std::vector<SourceBytes> Sources() {
  const std::string text = Repeated(kText, 3) + kText;
  return {
      {"utf-8", text},
      {"utf-8 with a byte-order mark", "\xef\xbb\xbf" + text},
      {"utf-16le", "\xff\xfe" + test::Encode(text, "UTF-16LE")},
      {"utf-16be with an odd last byte", "\xfe\xff" + test::Encode(text, "UTF-16BE") + "x"},
      {"gb18030", test::Encode(text, "GB18030")},
      {"gbk", test::Encode(Repeated("银行旁边有一个行人\n\nABC\n他不是我的朋友。", 12), "GBK")}};
}

std::vector<Options> PartOptions() {
  std::vector<Options> all = test::EveryLayoutAndClassicPolicy();
  Options every;
  every.policy = Policy::All;
  every.layout = Layout::Han;
  all.push_back(every);
  Options written;
  written.orthography = true;
  all.push_back(written);
  Options unaligned;
  unaligned.align = false;
  all.push_back(unaligned);
  return all;
}

TEST(ConverterFileParts, ThePartsTargetsPutTogetherAreTheWholeTarget) {
  const test::TempDir folder;
  for (const SourceBytes& source : Sources()) {
    test::WriteBytes(folder / "source.txt", source.bytes);
    for (const Options& options : PartOptions()) {
      SCOPED_TRACE(std::string(source.name) + ", " + test::Describe(options));
      const Converter converter(options, test::BuildProgramFolder());
      converter.ConvertFile(folder / "source.txt", folder / "whole.txt", 1);
      const FileParts parts = converter.SplitFile(folder / "source.txt", 64);
      EXPECT_GT(parts.offsets.size(), 5u);
      EXPECT_EQ(parts.size, source.bytes.size());
      std::string joined;
      std::uint64_t undecodable = 0;
      for (std::size_t i = 0; i < parts.offsets.size(); ++i) {
        const std::filesystem::path part = folder / ("part" + std::to_string(i));
        const FileReport report =
            converter.ConvertFilePart(folder / "source.txt", parts, i, part, 1);
        EXPECT_EQ(report.encoding, parts.encoding);
        undecodable += report.undecodableBytes;
        joined += test::ReadBytes(part);
      }
      EXPECT_EQ(joined, test::ReadBytes(folder / "whole.txt"));
      EXPECT_EQ(undecodable, 0u);
    }
  }
}

TEST(ConverterFileParts, PartsBeginAtLineStartsAndTheFirstHoldsTwoLines) {
  const test::TempDir folder;
  test::WriteBytes(folder / "source.txt", "a\nbb\nccc\ndddd\neeeee\n");
  const FileParts parts =
      Converter({}, test::BuildProgramFolder()).SplitFile(folder / "source.txt", 1);
  EXPECT_EQ(parts.offsets, (std::vector<std::uint64_t>{0, 5, 9, 14}));
  EXPECT_EQ(parts.encoding, "gbk");  // ASCII reads as code page 936
  EXPECT_EQ(parts.size, 20u);
}

TEST(ConverterFileParts, WhatCannotBeCutStaysOnePartConvertedWhole) {
  const test::TempDir folder;
  test::WriteBytes(folder / "source.txt", Repeated(kText, 6));
  test::WriteBytes(folder / "film.srt",
                   "1\n00:00:01,000 --> 00:00:02,000\n银行在哪里？\n\n"
                   "2\n00:00:03,000 --> 00:00:04,000\n不是这个。\n\n");
  Options wrapped;
  wrapped.wrapWidth = 10;
  const Converter converter(wrapped, test::BuildProgramFolder());
  const FileParts parts = converter.SplitFile(folder / "source.txt", 64);
  EXPECT_EQ(parts.offsets, std::vector<std::uint64_t>{0});
  converter.ConvertFilePart(folder / "source.txt", parts, 0, folder / "part.txt");
  converter.ConvertFile(folder / "source.txt", folder / "whole.txt");
  EXPECT_EQ(test::ReadBytes(folder / "part.txt"), test::ReadBytes(folder / "whole.txt"));

  const Converter plain({}, test::BuildProgramFolder());
  const FileParts subtitles = plain.SplitFile(folder / "film.srt", 16);
  EXPECT_EQ(subtitles.offsets, std::vector<std::uint64_t>{0});
  plain.ConvertFilePart(folder / "film.srt", subtitles, 0, folder / "part.srt");
  plain.ConvertFile(folder / "film.srt", folder / "whole.srt");
  EXPECT_EQ(test::ReadBytes(folder / "part.srt"), test::ReadBytes(folder / "whole.srt"));
}

TEST(ConverterFileParts, PartsOfAnotherFileOrStateAreErrors) {
  const test::TempDir folder;
  test::WriteBytes(folder / "source.txt", Repeated(kText, 4));
  const Converter converter({}, test::BuildProgramFolder());
  const FileParts parts = converter.SplitFile(folder / "source.txt", 64);
  ASSERT_GT(parts.offsets.size(), 2u);
  EXPECT_THROW(converter.ConvertFilePart(folder / "source.txt", parts, parts.offsets.size(),
                                         folder / "part"),
               Error);
  test::WriteBytes(folder / "source.txt", Repeated(kText, 5));
  EXPECT_THROW(converter.ConvertFilePart(folder / "source.txt", parts, 1, folder / "part"), Error);
  EXPECT_THROW(converter.SplitFile(folder / "missing.txt", 64), Error);
  EXPECT_THROW(converter.SplitFile(folder / "source.txt", 0), Error);
}

}  // namespace
}  // namespace tolvane
