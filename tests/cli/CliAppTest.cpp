#include "cli/CliApp.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace std::string_literals;

#include "support/TestSupport.h"

namespace tolvane {
namespace {

using test::Gb;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

struct Result {
  int status;
  std::string out;
  std::string err;
};

class CliTest : public testing::Test {
 protected:
  // A program folder with the tone glyphs and the phrase data, which the command line reads by
  // default.
  void SetUp() override {
    std::filesystem::copy_file(test::SourceDataFolder() / "define_py_tone.dll",
                               program_ / "define_py_tone.dll");
    for (const char* file :
         {"pinyin_words.txt", "pinyin_pairs.txt", "pinyin_chars.txt", "pinyin_names.txt"})
      std::filesystem::create_symlink(test::SourceDataFolder() / file, program_ / file);
  }
  Result Run(std::vector<std::string> args, bool errIsTerminal = false) {
    args.insert(args.begin(), "tolvane-cli");
    std::vector<const char*> argv;
    for (const auto& a : args) argv.push_back(a.c_str());
    std::istringstream in(input_);
    std::ostringstream out;
    std::ostringstream err;
    const int status = RunCli(static_cast<int>(argv.size()), argv.data(), in, out, err,
                              FileLocations::Portable(program_.path()), errIsTerminal);
    return {status, out.str(), err.str()};
  }
  TempDir program_;
  TempDir work_;
  std::string input_;  // standard input of the next run
};

TEST_F(CliTest, UsageErrorsExitWithTwo) {
  const std::vector<std::vector<std::string>> usageErrors = {
      {},
      {"frobnicate"},
      {"table"},
      {"table", "numbers"},
      {"convert"},
      {"convert", "a.txt", "--wrap", "7"},
      {"convert", "a.txt", "--format", "wide"},
      {"convert", "a.txt", "--tone", "loud"},
      {"lookup", "--polyphone", "some", "x"},
      {"lookup", "--data-dir", "/no/such/folder", "x"},
      {"convert", "a", "b", "c"},
      {"convert", "--neutral-tone", "light", "a.txt"},
      {"preview", "--erhua", "yes", "x"},
      {"lookup", "--polyphone", "first", "--sandhi", "x"},
      {"lookup", "--polyphone", "all", "--neutral-tone", "citation", "--lines", "-"},
      {"convert", "--polyphone", "first", "--erhua", "er", "a.txt"},
      {"preview", "--neutral-tone", "citation", "--erhua", "r", "x"},
  };
  for (const auto& args : usageErrors) {
    const Result result = Run(args);
    EXPECT_EQ(result.status, 2) << (args.empty() ? "(none)" : args[0]) << " " << result.err;
    EXPECT_FALSE(result.err.empty());
  }
  const Result help = Run({"convert", "--help"});
  EXPECT_EQ(help.status, 0);
  for (const char* option :
       {"--polyphone", "--tone", "--format", "--no-align", "--wrap", "--wade-giles", "--data-dir",
        "--quiet", "--jobs", "--encoding", "--output-encoding", "--neutral-tone", "--sandhi",
        "--erhua", "--orthography"})
    EXPECT_NE(help.out.find(option), std::string::npos) << option;
}

// Written pinyin reads by context and, for now, is written by the py-only layout alone: any
// other combination is a usage error naming the switch.
TEST_F(CliTest, OrthographyNeedsReadingByContext) {
  const std::vector<std::vector<std::string>> usageErrors = {
      {"preview", "--orthography", "--format", "py-only", "--polyphone", "first", "x"},
      {"convert", "--orthography", "--format", "py-only", "--polyphone", "all", "a.txt"},
      {"convert", "--orthography", "--polyphone", "first", "a.txt", "a.html"},
  };
  for (const auto& args : usageErrors) {
    const Result result = Run(args);
    EXPECT_EQ(result.status, 2) << args[0] << " " << args[2];
    EXPECT_NE(result.err.find("--orthography"), std::string::npos) << result.err;
  }
  const Result help = Run({"preview", "--help"});
  EXPECT_NE(help.out.find("--orthography"), std::string::npos);
}

// Every layout takes the switch: words over, beside or in ruby over their characters.
TEST_F(CliTest, OrthographyWorksInEveryLayout) {
  WriteBytes(work_ / "a.txt", "我们在西安。\r\n");
  const struct {
    const char* format;
    const char* expected;
  } cases[] = {
      {"py", "Wo3men5 zai4 Xi1'an1.\r\n我们    在   西安。\r\n"},
      {"hanpy", "我们(Wo3men5)在(zai4)西安(Xi1'an1)。\r\n"},
      {"pyhan", "(Wo3men5)我们(zai4)在(Xi1'an1)西安。\r\n"},
  };
  for (const auto& c : cases) {
    const Result result = Run({"convert", "-q", "--orthography", "--tone", "numbered", "--format",
                               c.format, (work_ / "a.txt").string(), "-"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, c.expected) << c.format;
  }
  const Result html = Run(
      {"convert", "-q", "--orthography", (work_ / "a.txt").string(), (work_ / "a.html").string()});
  EXPECT_EQ(html.status, 0) << html.err;
  EXPECT_NE(ReadBytes((work_ / "a.html").string()).find("<ruby>西安<rt>Xī&#39;ān</rt></ruby>"),
            std::string::npos);
}

TEST_F(CliTest, ConvertWritesOrthographicLinesInTheSourcesEncoding) {
  WriteBytes(work_ / "a.txt", Gb("我爱北京天安门。\r\n\r\n他来了！\r\n"));
  const auto out = (work_ / "out.txt").string();
  const Result result = Run({"convert", "-q", "--format", "py-only", "--orthography", "--polyphone",
                             "context", (work_ / "a.txt").string(), out});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(ReadBytes(out), Gb("Wǒ ài Běijīng Tiān'ānmén.\r\n\r\nTā lái le!\r\n"));
  const Result preview =
      Run({"preview", "--format", "py-only", "--orthography", "--tone", "numbered", "我爱北京。"});
  EXPECT_EQ(preview.out, "Wo3 ai4 Bei3jing1.\n");
}

TEST_F(CliTest, ConvertWritesTheDerivedTargetByDefault) {
  WriteBytes(work_ / "a.txt", Gb("我爱北京\r\n"));
  const Result result = Run({"convert", "--polyphone", "first", (work_ / "a.txt").string()});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(ReadBytes(work_ / "a_拼音.txt"), Gb("wǒ ài běi jīng\r\n我 爱 北  京\r\n"));
}

TEST_F(CliTest, ConvertHonoursEveryOption) {
  WriteBytes(work_ / "a.txt", Gb("长，ab长长\r\n"));
  WriteBytes(program_ / "define_wei_han.dll", "a\r\n");
  WriteBytes(program_ / "define_wei_py.dll", "A\r\n");
  const auto out = (work_ / "out.txt").string();
  struct Case {
    std::vector<std::string> options;
    std::string expectedUtf8;
  };
  const Case cases[] = {
      {{"--tone", "numbered", "--polyphone", "all", "--format", "hanpy"},
       "长(chang2/zhang3)，ab长(chang2/zhang3)长(chang2/zhang3)\r\n"},
      {{"--tone", "plain", "--polyphone", "first", "--format", "pyhan"},
       "(chang)长，ab(chang)长(chang)长\r\n"},
      {{"--tone", "marked", "--polyphone", "first", "--format", "py-only"},
       "cháng       cháng cháng\r\n"},
      {{"--tone", "numbered", "--polyphone", "first", "--format", "han", "--no-align"},
       "长，ab长长\r\nchang2    chang2 chang2\r\n"},
      {{"--tone", "numbered", "--polyphone", "first", "--format", "hanpy", "--wrap", "10",
        "--wade-giles"},
       "长(chang2)，a(A)b长(chang2)长(chang2)\r\n"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {"convert", "-q"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    args.push_back((work_ / "a.txt").string());
    args.push_back(out);
    const Result result = Run(args);
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(test::Utf8(ReadBytes(out)), c.expectedUtf8)
        << c.options[1] << " " << c.options[3] << " " << c.options[5];
    EXPECT_EQ(result.err, "");  // --quiet
  }
}

TEST_F(CliTest, FileErrorsExitWithOneAndNameTheFile) {
  const Result missing = Run({"convert", (work_ / "none.txt").string()});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err, "tolvane-cli: " + (work_ / "none.txt").string() + ": File not found\n");
  EXPECT_FALSE(std::filesystem::exists(work_ / "none_拼音.txt"));

  WriteBytes(work_ / "a.txt", Gb("我\r\n"));
  const Result full = Run({"convert", (work_ / "a.txt").string(), "/dev/full"});
  EXPECT_EQ(full.status, 1);
  EXPECT_EQ(full.err, "tolvane-cli: /dev/full: Disk full\n");

  std::filesystem::create_directory(program_ / "define_han.dll");
  const Result badData = Run({"convert", (work_ / "a.txt").string()});
  EXPECT_EQ(badData.status, 1);
  EXPECT_NE(badData.err.find("Cannot open file \"" + (program_ / "define_han.dll").string()),
            std::string::npos);
}

TEST_F(CliTest, PreviewLookupAndTable) {
  const Result preview = Run({"preview", "--polyphone", "first", "--tone", "numbered", "我，爱"});
  EXPECT_EQ(preview.status, 0);
  EXPECT_EQ(preview.out, "wo3   ai4\n我，爱\n");

  const Result lookup = Run({"lookup", "--polyphone", "all", "长a"});
  EXPECT_EQ(lookup.out, "长\tzhǎng/cháng\tzhang/chang\na\t \t \n");

  const Result table = Run({"table", "plain"});
  EXPECT_EQ(std::count(table.out.begin(), table.out.end(), '\n'), 6727);
  EXPECT_NE(table.out.find("广\tan/guang\n"), std::string::npos);
}

TEST_F(CliTest, ConvertReadsAndWritesTheChosenEncodings) {
  const auto source = (work_ / "u.txt").string();
  const auto target = (work_ / "u_out.txt").string();
  WriteBytes(work_ / "u.txt", "\xEF\xBB\xBF长國\n");
  const struct {
    std::vector<std::string> options;
    std::string expected;
  } cases[] = {
      {{},
       "\xEF\xBB\xBF"
       "长(cháng)國\r\n"},
      {{"--output-encoding", "utf-8"}, "长(cháng)國\r\n"},
      {{"--output-encoding", "utf-16le"},
       "\xFF\xFE\x7F\x95(\0c\0h\0\xE1\0n\0g\0)\0\x0B\x57\r\0\n\0"s},
      {{"--output-encoding", "gb18030"}, Gb("长(cháng)") + "\x87\xF8\r\n"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = {"convert", "-q", "--polyphone", "first", "--format", "hanpy"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    args.push_back(source);
    args.push_back(target);
    const Result result = Run(args);
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(ReadBytes(target), c.expected) << (c.options.empty() ? "" : c.options.back());
  }
  EXPECT_EQ(Run({"convert", "--encoding", "latin1", source}).status, 2);
  EXPECT_EQ(Run({"convert", "--output-encoding", "gb2312", source}).status, 2);
}

TEST_F(CliTest, StandardInputAndOutput) {
  input_ = "我國\n";
  Result result = Run({"convert", "--polyphone", "first", "--tone", "numbered", "-", "-"});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, "wo3 \r\n我  國\r\n");
  EXPECT_EQ(result.err, "");  // nothing said of a "file" written

  const auto target = (work_ / "from-stdin.txt").string();
  result = Run({"convert", "-q", "--polyphone", "first", "--tone", "numbered", "-", target});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(ReadBytes(target), "wo3 \r\n我  國\r\n");

  WriteBytes(work_ / "g.txt", Gb("我\r\n"));
  result = Run(
      {"convert", "--polyphone", "first", "--tone", "numbered", (work_ / "g.txt").string(), "-"});
  EXPECT_EQ(result.out, Gb("wo3\r\n我\r\n"));

  result = Run({"convert", "-"});  // no target to derive from standard input
  EXPECT_EQ(result.status, 2);
  EXPECT_NE(result.err.find("TARGET"), std::string::npos) << result.err;
}

TEST_F(CliTest, UndecodableBytesGiveOneWarningAndSuccess) {
  WriteBytes(work_ / "bad.txt", "我\xFF\n\xFE爱\n");
  const auto source = (work_ / "bad.txt").string();
  const Result result = Run(
      {"convert", "--polyphone", "first", "--encoding", "utf-8", "--format", "hanpy", source, "-"});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out, "我(wǒ)\xFF\r\n\xFE爱(ài)\r\n");
  EXPECT_EQ(result.err, "tolvane-cli: warning: " + source +
                            ": byte offset 3: not valid UTF-8 text; such bytes are copied to "
                            "the output unchanged\n");
}

TEST_F(CliTest, ANulIsCopiedWithAWarningAndTheTextGoesOn) {
  WriteBytes(work_ / "nul.txt", Gb("我") + "\0"s + Gb("爱\r\n北"));
  const auto source = (work_ / "nul.txt").string();
  const Result result = Run({"convert", "--polyphone", "first", "--format", "hanpy", source, "-"});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out, Gb("我(wǒ)") + "\0"s + Gb("爱(ài)\r\n北(běi)\r\n"));
  EXPECT_EQ(result.err, "tolvane-cli: warning: " + source +
                            ": byte offset 2: contains NUL bytes; they are copied to the output "
                            "like any character without a reading\n");
}

TEST_F(CliTest, ADeviceAsSourceNeedsATarget) {
  const Result result = Run({"convert", "/dev/null"});
  EXPECT_NE(result.status, 0);
  EXPECT_NE(result.err.find("/dev/null is a device or a pipe, not a file: it needs a TARGET"),
            std::string::npos)
      << result.err;
  EXPECT_FALSE(std::filesystem::exists("/dev/null_拼音"));
}

TEST_F(CliTest, TheWarningSaysWhatThePageHoldsInPlaceOfUndecodableBytes) {
  WriteBytes(work_ / "bad.txt", "我\xFF\n");
  const auto source = (work_ / "bad.txt").string();
  const std::string start =
      "tolvane-cli: warning: " + source + ": byte offset 3: not valid UTF-8 text; such bytes are ";
  const struct {
    std::vector<std::string> args;
    std::string warning;
  } cases[] = {
      {{"--format", "html", source, "-"},
       start + "written as replacement characters (U+FFFD) in the page\n"},
      {{source, (work_ / "page.html").string()},
       start + "written as replacement characters (U+FFFD) in the page\n"},
      {{"--format", "py", source, "-"}, start + "copied to the output unchanged\n"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = {"convert", "--quiet", "--encoding", "utf-8"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const Result result = Run(args);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, c.warning);
  }
}

TEST_F(CliTest, EncodingNamesWhatConvertWouldRead) {
  WriteBytes(work_ / "u.txt",
             "\xFF\xFE"
             "a\0"s);
  WriteBytes(work_ / "g.txt", Gb("我"));
  const auto u = (work_ / "u.txt").string();
  const auto g = (work_ / "g.txt").string();
  Result result = Run({"encoding", u, g});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out, u + "\tUTF-16LE\n" + g + "\tGB2312/GBK\n");
  EXPECT_EQ(Run({"encoding", "--encoding", "gb18030", g}).out, g + "\tGB18030\n");
  result = Run({"encoding", (work_ / "none.txt").string()});
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find("none.txt"), std::string::npos);
}

TEST_F(CliTest, LookupLinesGivesOneFieldPerCharacter) {
  const std::string expected = "zhang3\t \t \t \n\nwo3\n";
  const struct {
    const char* name;
    std::string bytes;
  } files[] = {
      {"utf-8", "长a國😀\n\n我"},
      {"utf-16",
       "\xFF\xFE\x7F\x95"
       "a\0\x0B\x57\x3D\xD8\x00\xDE\n\0\n\0\x11\x62"s},
      {"gb18030", Gb("长a") + "\x87\xF8\x94\x39\xFC\x36\r\n\r\n" + Gb("我")},
  };
  WriteBytes(program_ / "define_han.dll", Gb("长\r\n"));
  WriteBytes(program_ / "define_py.dll", "zhang3\r\n");
  for (const auto& file : files) {
    WriteBytes(work_ / "lines.txt", file.bytes);
    const Result result = Run({"lookup", "--polyphone", "first", "--tone", "numbered", "--lines",
                               (work_ / "lines.txt").string()});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, expected) << file.name;
  }
  input_ = Gb("中\r\n");
  const Result all = Run({"lookup", "--polyphone", "all", "--lines", "-"});
  EXPECT_EQ(all.out, "zhòng/zhōng\n");
  EXPECT_EQ(Run({"lookup", "--tone", "numbered"}).status, 2);  // neither TEXT nor --lines
  EXPECT_EQ(Run({"lookup", "x", "--lines", "-"}).status, 2);   // both
  EXPECT_EQ(Run({"lookup", "--lines", (work_ / "none.txt").string()}).status, 1);
}

TEST_F(CliTest, PreviewAndLookupTakeAnyUnicodeText) {
  const Result preview = Run({"preview", "--polyphone", "first", "--tone", "numbered", "我國😀爱"});
  EXPECT_EQ(preview.out, "wo3     ai4\n我國😀爱\n");
  const Result inline_ =
      Run({"preview", "--polyphone", "first", "--format", "pyhan", "--tone", "plain", "國爱"});
  EXPECT_EQ(inline_.out, "國(ai)爱\n");
  const Result lookup = Run({"lookup", "--polyphone", "first", "𠀀长"});
  EXPECT_EQ(lookup.out, "𠀀\t \t \n长\tcháng\tchang\n");
}

TEST_F(CliTest, ReadingByContextInEveryCommand) {
  WriteBytes(work_ / "a.txt", "银行行走\n");
  Result result = Run({"convert", "-q", "--polyphone", "context", "--tone", "numbered", "--format",
                       "hanpy", (work_ / "a.txt").string(), "-"});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, "银(yin2)行(hang2)行(xing2)走(zou3)\r\n");
  input_ = "重庆\n重要\n";
  result = Run({"lookup", "--polyphone", "context", "--tone", "numbered", "--lines", "-"});
  EXPECT_EQ(result.out, "chong2\tqing4\nzhong4\tyao4\n");
  result = Run({"lookup", "--polyphone", "context", "长城"});
  EXPECT_EQ(result.out, "长\tcháng\tchang\n城\tchéng\tcheng\n");
  result = Run({"preview", "--polyphone", "context", "天安门上"});
  EXPECT_EQ(result.out, "tiān ān mén shàng\n天安门上\n");
  EXPECT_NE(Run({"convert", "--help"}).out.find("context"), std::string::npos);
  // Reading by context is the command line's default; --polyphone first reads each character
  // alone, as the window does by default.
  EXPECT_EQ(Run({"preview", "--tone", "numbered", "银行行走"}).out,
            "yin2 hang2 xing2 zou3\n银行行走\n");
  EXPECT_EQ(Run({"preview", "--polyphone", "first", "--tone", "numbered", "银行行走"}).out,
            "yin2 hang2 hang2 zou3\n银行行走\n");
}

TEST_F(CliTest, TheOptionsOfReadingByContextInEveryCommand) {
  WriteBytes(work_ / "a.txt", "我们\n");
  input_ = "我们\n";
  const std::vector<std::string> options = {"--neutral-tone", "citation", "--sandhi", "--erhua",
                                            "er"};
  const std::vector<std::string> commands[] = {
      {"convert", "-q", (work_ / "a.txt").string(), "-"},
      {"preview", "我们"},
      {"lookup", "我们"},
      {"lookup", "--lines", "-"},
  };
  for (const auto& command : commands) {
    std::vector<std::string> args = command;
    args.insert(args.begin() + 1, options.begin(), options.end());
    const Result result = Run(args);
    EXPECT_EQ(result.status, 0) << command[0] << " " << command[1] << ": " << result.err;
    EXPECT_FALSE(result.out.empty()) << command[0] << " " << command[1];
  }
  // Given with another policy, they would change nothing: the error names the option.
  const Result first = Run({"preview", "--polyphone", "first", "--sandhi", "我们"});
  EXPECT_EQ(first.status, 2);
  EXPECT_NE(first.err.find("--sandhi: applies to reading by context only (--polyphone context)"),
            std::string::npos)
      << first.err;
  EXPECT_EQ(first.out, "");
}

TEST_F(CliTest, HtmlIsChosenByFormatOrByTheTargetsName) {
  WriteBytes(work_ / "a.txt", Gb("我\r\n"));
  const auto source = (work_ / "a.txt").string();
  const std::string block = "<p><ruby>我<rt>wo3</rt></ruby></p>\n";
  EXPECT_EQ(Run({"convert", "-q", "--polyphone", "first", "--tone", "numbered", source,
                 (work_ / "b.html").string()})
                .status,
            0);
  EXPECT_NE(ReadBytes(work_ / "b.html").find(block), std::string::npos);
  EXPECT_EQ(Run({"convert", "-q", "--polyphone", "first", "--tone", "numbered", source,
                 (work_ / "c.HTM").string()})
                .status,
            0);
  EXPECT_NE(ReadBytes(work_ / "c.HTM").find(block), std::string::npos);
  // --format html with no target: the derived name, as a page.
  EXPECT_EQ(Run({"convert", "-q", "--polyphone", "first", "--tone", "numbered", "--format", "html",
                 source})
                .status,
            0);
  EXPECT_NE(ReadBytes(work_ / "a_拼音.html").find("<title>a.txt</title>"), std::string::npos);
  // A text layout asked for by name wins over the target's extension.
  EXPECT_EQ(Run({"convert", "-q", "--polyphone", "first", "--tone", "numbered", "--format", "hanpy",
                 source, (work_ / "d.html").string()})
                .status,
            0);
  EXPECT_EQ(ReadBytes(work_ / "d.html"), Gb("我(wo3)\r\n"));
  EXPECT_EQ(
      Run({"preview", "--polyphone", "first", "--format", "html", "--tone", "numbered", "我"}).out,
      block);
}

TEST_F(CliTest, JobsChangeNothingButTheSpeed) {
  std::string text;
  for (int i = 0; i < 3000; ++i) text += Gb("长城，重庆a\r\n\r\n");
  WriteBytes(work_ / "a.txt", text);
  std::string first;
  for (const char* jobs : {"1", "2", "5", "0"}) {
    const auto target = (work_ / (std::string("out") + jobs + ".txt")).string();
    const Result result =
        Run({"convert", "-q", "--jobs", jobs, (work_ / "a.txt").string(), target});
    ASSERT_EQ(result.status, 0) << result.err;
    if (first.empty()) first = ReadBytes(target);
    EXPECT_EQ(ReadBytes(target), first) << jobs;
  }
  EXPECT_EQ(Run({"convert", "--jobs", "x", (work_ / "a.txt").string()}).status, 2);
}

TEST_F(CliTest, ProgressBarOnlyOnATerminalAndNotWhenQuiet) {
  std::string text;
  for (int i = 0; i < 300; ++i) text += Gb("我爱北京") + "\r\n";
  WriteBytes(work_ / "a.txt", text);
  const auto source = (work_ / "a.txt").string();
  const Result terminal = Run({"convert", source}, true);
  EXPECT_EQ(terminal.status, 0);
  EXPECT_NE(terminal.err.find("] 100%"), std::string::npos) << terminal.err;
  EXPECT_NE(terminal.err.find("] 50%"), std::string::npos);
  EXPECT_EQ(Run({"convert", source}, false).err.find('%'), std::string::npos);
  EXPECT_EQ(Run({"convert", "--quiet", source}, true).err, "");
}

}  // namespace
}  // namespace tolvane
