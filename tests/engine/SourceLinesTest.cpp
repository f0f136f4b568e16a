// The one reader of a source serves printing, the PDF export and the readings of each line too:
// the lines it gives are those a run annotates.
#include <gtest/gtest.h>

#include <sstream>

#include "engine/SourceReader.h"
#include "platform/Error.h"
#include "platform/TextCodec.h"
#include "support/TestSupport.h"

namespace tolvane {
namespace {

using namespace std::string_literals;
using test::Gb;
using Lines = std::vector<std::string>;

Lines LinesOf(const SourceLines& source) {
  Lines lines;
  for (std::size_t i = 0; i < source.lines.size(); ++i) lines.emplace_back(source.lines[i]);
  return lines;
}

TEST(ReadSourceLines, GivesTheLinesARunAnnotatesInTheFormTheyAreHeldIn) {
  const struct {
    const char* name;
    std::string bytes;
    EncodingChoice choice;
    int wrap;
    TextForm form;
    Lines lines;
  } cases[] = {
      {"GB2312, every kind of line end",
       Gb("我爱\r\n\r\n北京\r天\n安"),
       EncodingChoice::Auto,
       0,
       TextForm::Cp936,
       {Gb("我爱"), "", Gb("北京"), Gb("天"), Gb("安")}},
      {"a NUL is a character of its line",
       "a\r\nb\0c\r\nd"s,
       EncodingChoice::Auto,
       0,
       TextForm::Cp936,
       {"a", "b\0c"s, "d"}},
      {"UTF-8 without its byte-order mark",
       "\xEF\xBB\xBF我\n國",
       EncodingChoice::Auto,
       0,
       TextForm::Unicode,
       {DecodeText("我", Encoding::Utf8).text, DecodeText("國", Encoding::Utf8).text}},
      {"UTF-16",
       "\xFF\xFE"s + EncodeText("我\r\n", Encoding::Utf16Le),
       EncodingChoice::Auto,
       0,
       TextForm::Unicode,
       {DecodeText("我", Encoding::Utf8).text}},
      {"forced GBK keeps a mark as text",
       "\xEF\xBB\xBF"
       "a",
       EncodingChoice::Gbk,
       0,
       TextForm::Cp936,
       {"\xEF\xBB\xBF"
        "a"}},
      {"re-cut, empty lines gone",
       Gb("一二三四五\r\n\r\nab"),
       EncodingChoice::Auto,
       2,
       TextForm::Cp936,
       {Gb("一二"), Gb("三四"), Gb("五"), "ab"}},
  };
  for (const auto& c : cases) {
    MemoryByteSource bytes(c.bytes);
    const SourceLines source = ReadSourceLines(bytes, c.choice, c.wrap);
    EXPECT_EQ(source.form, c.form) << c.name;
    EXPECT_EQ(LinesOf(source), c.lines) << c.name;
  }
}

TEST(ReadSourceLines, ReadsAStreamAndAFileAlike) {
  std::string text;
  for (int i = 0; i < 20000; ++i) text += Gb("长城，重庆") + std::to_string(i) + "\r\n";
  test::TempDir dir;
  test::WriteBytes(dir / "a.txt", text);
  std::istringstream in(text);
  StreamByteSource stream(in, "-");
  const SourceLines fromStream = ReadSourceLines(stream, EncodingChoice::Auto);
  const SourceLines fromFile = ReadSourceLines(dir / "a.txt", EncodingChoice::Auto);
  ASSERT_EQ(fromFile.lines.size(), 20000u);  // more than one chunk
  EXPECT_EQ(LinesOf(fromStream), LinesOf(fromFile));
  EXPECT_EQ(fromFile.lines[19999], Gb("长城，重庆") + "19999");
  EXPECT_THROW(ReadSourceLines(dir / "missing.txt", EncodingChoice::Auto), Error);
}

}  // namespace
}  // namespace tolvane
