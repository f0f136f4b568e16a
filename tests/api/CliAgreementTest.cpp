#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ApiTestSupport.h"
#include "support/TestSupport.h"
#include "tolvane/tolvane.h"

// The library writes what tolvane-cli writes: the same text annotated in memory, and the same
// file converted, byte for byte, with the same options.
namespace tolvane {
namespace {

const char* const kText =
    "银行旁边有一个行人。\n"
    "他不是我的朋友，A1 B2 也不是。\r\n"
    "\n"
    "我们一会儿去北京𠀀吧！\n"
    "最后一行没有行尾";

std::vector<Options> LayoutOptions() {
  std::vector<Options> all = test::EveryLayoutAndClassicPolicy();
  Options every;
  every.policy = Policy::All;
  every.layout = Layout::Han;
  every.align = false;
  all.push_back(every);
  Options written;
  written.orthography = true;
  written.sandhi = true;
  written.layout = Layout::PyOnly;
  all.push_back(written);
  Options wrapped;
  wrapped.wrapWidth = 10;
  wrapped.neutralTones = NeutralTones::Citation;
  wrapped.erhua = false;
  all.push_back(wrapped);
  return all;
}

TEST(ConverterAgreesWithCli, AnnotateTextIsWhatConvertWritesForTheTextOnStandardInput) {
  const test::TempDir folder;
  test::WriteBytes(folder / "text.txt", kText);
  for (const Options& options : LayoutOptions()) {
    SCOPED_TRACE(test::Describe(options));
    const Converter converter(options, test::BuildProgramFolder());
    std::vector<std::string> arguments = {"convert", "--encoding", "utf-8", "-q"};
    for (const std::string& option : test::CliOptions(options)) arguments.push_back(option);
    arguments.push_back("-");
    arguments.push_back("-");
    std::string errors;
    ASSERT_EQ(test::RunCli(arguments, folder / "text.txt", folder / "out", &errors), 0) << errors;
    EXPECT_EQ(converter.AnnotateText(kText), test::ReadBytes(folder / "out"));
  }
}

struct SourceBytes {
  const char* name;
  std::string bytes;
};

std::vector<SourceBytes> Sources() {
  return {{"utf-8", kText},
          {"utf-8 with a byte-order mark", "\xef\xbb\xbf" + std::string(kText)},
          {"utf-16le", "\xff\xfe" + test::Encode(kText, "UTF-16LE")},
          {"gb18030", test::Encode(kText, "GB18030")},
          {"gbk", test::Encode("银行旁边有一个行人。\n他不是我的朋友。\n", "GBK")}};
}

TEST(ConverterAgreesWithCli, ConvertFileWritesWhatConvertWritesForEveryLayoutAndEncoding) {
  const test::TempDir folder;
  for (const SourceBytes& source : Sources()) {
    test::WriteBytes(folder / "source.txt", source.bytes);
    for (const Options& options : LayoutOptions()) {
      SCOPED_TRACE(std::string(source.name) + ", " + test::Describe(options));
      const Converter converter(options, test::BuildProgramFolder());
      const FileReport report =
          converter.ConvertFile(folder / "source.txt", folder / "library.txt", 2);
      std::vector<std::string> arguments = {"convert", "-q"};
      for (const std::string& option : test::CliOptions(options)) arguments.push_back(option);
      arguments.push_back((folder / "source.txt").string());
      arguments.push_back((folder / "cli.txt").string());
      std::string errors;
      ASSERT_EQ(test::RunCli(arguments, {}, {}, &errors), 0) << errors;
      EXPECT_EQ(test::ReadBytes(folder / "library.txt"), test::ReadBytes(folder / "cli.txt"));
      EXPECT_EQ(report.bytesRead, source.bytes.size());
      EXPECT_EQ(report.bytesWritten, test::ReadBytes(folder / "cli.txt").size());
      EXPECT_EQ(report.undecodableBytes, 0u);
    }
  }
}

TEST(ConverterAgreesWithCli, TheReportNamesTheEncodingAndCountsUndecodableBytes) {
  const test::TempDir folder;
  const struct {
    std::string bytes;
    const char* encoding;
    std::uint64_t undecodable;
  } cases[] = {
      {"中文\n", "utf-8", 0},
      {"\xef\xbb\xbf中文\n", "utf-8-bom", 0},
      {"\xff\xfe" + test::Encode("中文\n", "UTF-16LE"), "utf-16le", 0},
      {"\xfe\xff" + test::Encode("中文\n", "UTF-16BE"), "utf-16be", 0},
      {test::Encode("中文𠀀\n", "GB18030"), "gb18030", 0},
      {test::Encode("中文\n", "GBK"), "gbk", 0},
      // GBK text with two bytes that start no character, one on each of two lines.
      {test::Encode("中文\n", "GBK") + "\xff" + test::Encode("中文\n中", "GBK") + "\xff\n", "gbk",
       2},
      // UTF-16 with a lone surrogate: its two bytes.
      {"\xff\xfe" + test::Encode("中\n", "UTF-16LE") + std::string("\x00\xd8", 2) +
           test::Encode("文\n", "UTF-16LE"),
       "utf-16le", 2},
  };
  for (const auto& each : cases) {
    SCOPED_TRACE(each.encoding);
    test::WriteBytes(folder / "source.txt", each.bytes);
    const FileReport report = Converter({}, test::BuildProgramFolder())
                                  .ConvertFile(folder / "source.txt", folder / "target.txt", 1);
    EXPECT_EQ(report.encoding, each.encoding);
    EXPECT_EQ(report.undecodableBytes, each.undecodable);
  }
}

TEST(ConverterAgreesWithCli, AnSrtSourceIsConvertedCueByCueAsConvertDoes) {
  const test::TempDir folder;
  test::WriteBytes(folder / "film.srt",
                   "1\r\n00:00:01,000 --> 00:00:02,000\r\n银行在哪里？\r\n\r\n"
                   "2\r\n00:00:03,000 --> 00:00:04,500\r\n不是这个。\r\nOK\r\n\r\n");
  const Converter converter({}, test::BuildProgramFolder());
  EXPECT_EQ(converter.TargetFor(folder / "film.srt"), folder / "film_拼音.srt");
  converter.ConvertFile(folder / "film.srt", folder / "library.srt");
  std::vector<std::string> arguments = {"convert", "-q"};
  for (const std::string& option : test::CliOptions({})) arguments.push_back(option);
  arguments.push_back((folder / "film.srt").string());
  arguments.push_back((folder / "cli.srt").string());
  ASSERT_EQ(test::RunCli(arguments), 0);
  const std::string written = test::ReadBytes(folder / "library.srt");
  EXPECT_EQ(written, test::ReadBytes(folder / "cli.srt"));
  EXPECT_NE(written.find("yín háng"), std::string::npos) << written;
  EXPECT_NE(written.find("00:00:03,000 --> 00:00:04,500"), std::string::npos) << written;
}

TEST(ConverterAgreesWithCli, TheTargetForASourceIsTheOneConvertDerives) {
  Options html;
  html.layout = Layout::Html;
  const Converter converter({}, test::BuildProgramFolder());
  EXPECT_EQ(converter.TargetFor("/tmp/a/课文.txt"), "/tmp/a/课文_拼音.txt");
  EXPECT_EQ(converter.TargetFor("/tmp/a/README"), "/tmp/a/README_拼音");
  EXPECT_EQ(converter.WithOptions(html).TargetFor("/tmp/a/课文.txt"), "/tmp/a/课文_拼音.html");
}

TEST(ConverterAgreesWithCli, ATargetNamedHtmlGetsThePageUnderTheDefaultLayout) {
  const test::TempDir folder;
  test::WriteBytes(folder / "source.txt", kText);
  Converter({}, test::BuildProgramFolder())
      .ConvertFile(folder / "source.txt", folder / "page.html");
  const std::string page = test::ReadBytes(folder / "page.html");
  EXPECT_EQ(page.rfind("<!DOCTYPE html>", 0), 0u) << page.substr(0, 100);
  std::vector<std::string> arguments = {"convert", "-q"};
  for (const std::string& option : test::CliOptions({})) arguments.push_back(option);
  arguments.push_back((folder / "source.txt").string());
  arguments.push_back((folder / "cli.html").string());
  ASSERT_EQ(test::RunCli(arguments), 0);
  EXPECT_EQ(page, test::ReadBytes(folder / "cli.html"));
}

}  // namespace
}  // namespace tolvane
