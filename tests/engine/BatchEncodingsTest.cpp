#include <gtest/gtest.h>

#include <sstream>

#include "engine/BatchConversion.h"
#include "engine/SourceReader.h"
#include "platform/Cp936.h"
#include "platform/TextCodec.h"
#include "reading/classic/ReadingTable.h"
#include "reading/shared/DataFiles.h"
#include "support/ScriptedRunObserver.h"
#include "support/SessionSupport.h"
#include "support/TestSupport.h"

// Batch runs over sources in every encoding: what is read, what is written, what is kept.
namespace tolvane {
namespace {

using namespace std::string_literals;
using test::Gb;
using test::ReadBytes;
using test::ScriptedObserver;
using test::TempDir;
using test::WriteBytes;

// A source with empty lines, a lone CR, signs, letters and no final line end.
const std::string kTextUtf8 = "我爱北京天安门，天安门上红旗飘\r\n\r\nabc长——·\r我\n阿a1";

class BatchEncodingsTest : public testing::Test {
 protected:
  Session session;
  test::CurrentReadings reader{session};

 protected:
  void SetUp() override { StartSession(session, test::SourceDataFolder()); }
  BatchRequest Request(const ConversionSettings& settings = {}) {
    BatchRequest request;
    request.source = dir_ / "a.txt";
    request.target = dir_ / "a_out.txt";
    request.settings = settings;
    request.programFolder = program_.path();
    request.data = session.Data();
    return request;
  }
  // Converts `bytes` and returns the target's bytes.
  std::string Convert(const std::string& bytes, BatchRequest request) {
    WriteBytes(request.source, bytes);
    host_ = ScriptedObserver();
    EXPECT_EQ(BatchConversion(request, host_).status, RunStatus::Completed);
    return ReadBytes(request.target);
  }
  std::string Convert(const std::string& bytes) { return Convert(bytes, Request()); }

  static std::vector<ConversionSettings> SomeSettings() {
    std::vector<ConversionSettings> all;
    for (const auto format : {OutputFormat::rb_output_py, OutputFormat::rb_output_hanpy,
                              OutputFormat::rb_output_py_only})
      for (const auto tone : {ToneStyle::Marked, ToneStyle::Numbered})
        for (const int wrap : {0, 10}) {
          ConversionSettings settings;
          settings.outputFormat = format;
          settings.toneStyle = tone;
          settings.wrapWidth = wrap;
          all.push_back(settings);
        }
    return all;
  }

  TempDir dir_;
  TempDir program_;
  ScriptedObserver host_;
};

std::string Encoded(std::string_view textUtf8, Encoding encoding, bool mark) {
  return std::string(mark ? ByteOrderMark(encoding) : "") + EncodeText(textUtf8, encoding);
}

TEST_F(BatchEncodingsTest, EachEncodingConvertsLikeItsGb2312Twin) {
  const struct {
    Encoding encoding;
    bool mark;
  } sources[] = {{Encoding::Utf8, false},
                 {Encoding::Utf8, true},
                 {Encoding::Utf16Le, true},
                 {Encoding::Utf16Be, true}};
  for (const ConversionSettings& settings : SomeSettings()) {
    const std::string gbTarget = Convert(Gb(kTextUtf8), Request(settings));
    const std::string targetUtf8 = test::Utf8(gbTarget);
    for (const auto& source : sources) {
      SCOPED_TRACE(std::to_string(static_cast<int>(source.encoding)) + " format " +
                   std::to_string(static_cast<int>(settings.outputFormat)) + " wrap " +
                   std::to_string(settings.wrapWidth));
      const bool utf16 = source.encoding != Encoding::Utf8;
      EXPECT_EQ(Convert(Encoded(kTextUtf8, source.encoding, source.mark), Request(settings)),
                Encoded(targetUtf8, source.encoding, source.mark || utf16));
      EXPECT_TRUE(host_.undecodable.empty());
    }
  }
}

TEST_F(BatchEncodingsTest, Gb18030ReadsAndWritesCharactersBeyondGbk) {
  // Detected by its four-byte sequences; 𠀀 and 😀 have no reading and come back as they were.
  const std::string textUtf8 = "我𠀀爱\r\n😀";
  auto request = Request();
  request.settings.outputFormat = OutputFormat::rb_output_hanpy;
  request.settings.toneStyle = ToneStyle::Numbered;
  const std::string target = Convert(EncodeText(textUtf8, Encoding::Gb18030), request);
  EXPECT_EQ(target, EncodeText("我(wo3)𠀀爱(ai4)\r\n😀\r\n", Encoding::Gb18030));
  request.targetEncoding = OutputEncodingChoice::Utf8;
  EXPECT_EQ(Convert(EncodeText(textUtf8, Encoding::Gb18030), request), "我(wo3)𠀀爱(ai4)\r\n😀\r\n");
}

TEST_F(BatchEncodingsTest, TheOutputEncodingCanBeChosen) {
  auto request = Request();
  request.settings.outputFormat = OutputFormat::rb_output_hanpy;
  request.settings.toneStyle = ToneStyle::Marked;
  const std::string expectedUtf8 = "长(cháng)a國\r\n";
  const struct {
    OutputEncodingChoice choice;
    std::string expected;
  } cases[] = {
      {OutputEncodingChoice::Utf8, expectedUtf8},
      {OutputEncodingChoice::Utf8Bom, "\xEF\xBB\xBF" + expectedUtf8},
      {OutputEncodingChoice::Utf16Le, Encoded(expectedUtf8, Encoding::Utf16Le, true)},
      {OutputEncodingChoice::Utf16Be, Encoded(expectedUtf8, Encoding::Utf16Be, true)},
      {OutputEncodingChoice::Gb18030, EncodeText(expectedUtf8, Encoding::Gb18030)},
  };
  for (const auto& c : cases) {
    request.targetEncoding = c.choice;
    SCOPED_TRACE(static_cast<int>(c.choice));
    EXPECT_EQ(Convert("长a國\n", request), c.expected);                 // a UTF-8 source
    EXPECT_EQ(Convert(Gb("长a") + "\x87\xF8\n", request), c.expected);  // a GBK source
  }
}

TEST_F(BatchEncodingsTest, AByteOrderMarkIsKeptExactlyWhenTheSourceHasOne) {
  EXPECT_EQ(Convert("\xEF\xBB\xBF"
                    "我"),
            "\xEF\xBB\xBF"
            "wǒ\r\n我\r\n");
  EXPECT_EQ(Convert("我"), "wǒ\r\n我\r\n");
  auto request = Request();
  request.targetEncoding = OutputEncodingChoice::Utf8;
  EXPECT_EQ(Convert("\xEF\xBB\xBF"
                    "我",
                    request),
            "wǒ\r\n我\r\n");
  // A forced GB2312 reading takes the mark for text, as the designed walk always did.
  request = Request();
  request.settings.outputFormat = OutputFormat::rb_output_hanpy;
  request.sourceEncoding = EncodingChoice::Gb2312;
  // (EF BB is the GB2312 character 锘.)
  EXPECT_EQ(Convert("\xEF\xBB\xBF"
                    "ab",
                    request),
            "\xEF\xBB" + Gb("(nuò)") +
                "\xBF"
                "ab\r\n");
}

TEST_F(BatchEncodingsTest, EmptyFilesInEveryEncoding) {
  const struct {
    std::string source;
    std::string target;
  } cases[] = {
      {"", ""},
      {"\xEF\xBB\xBF", "\xEF\xBB\xBF"},
      {"\xFF\xFE", "\xFF\xFE"},
      {"\xFE\xFF", "\xFE\xFF"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Convert(c.source), c.target);
    EXPECT_EQ(host_.lineCount, 0u);
    EXPECT_EQ(host_.events, (std::vector<std::string>{"show", "end"}));
  }
  for (const EncodingChoice forced :
       {EncodingChoice::Utf8, EncodingChoice::Utf16, EncodingChoice::Gb18030}) {
    auto request = Request();
    request.sourceEncoding = forced;
    EXPECT_EQ(Convert("", request), forced == EncodingChoice::Utf16 ? "\xFF\xFE" : "");
  }
}

TEST_F(BatchEncodingsTest, UndecodableBytesAreCarriedAndNotedOnce) {
  auto request = Request();
  request.settings.outputFormat = OutputFormat::rb_output_hanpy;
  request.settings.toneStyle = ToneStyle::Numbered;
  // Forced UTF-8 over text that is not: every stray byte goes through, the first one is noted.
  request.sourceEncoding = EncodingChoice::Utf8;
  EXPECT_EQ(Convert("我\xFF\r\n\xC0爱\xE4\xB8", request), "我(wo3)\xFF\r\n\xC0爱(ai4)\xE4\xB8\r\n");
  ASSERT_EQ(host_.undecodable.size(), 1u);
  EXPECT_EQ(host_.undecodable[0].first, (TextEncoding{Encoding::Utf8, false}));
  EXPECT_EQ(host_.undecodable[0].second, 3u);
  // In UTF-16, a lone surrogate keeps its two bytes and its place.
  request.sourceEncoding = EncodingChoice::Auto;
  const std::string lone =
      "\xFF\xFE"
      "a\0\x3D\xD8"
      "b\0"s;
  EXPECT_EQ(Convert(lone, request),
            "\xFF\xFE"
            "a\0\x3D\xD8"
            "b\0\r\0\n\0"s);
  ASSERT_EQ(host_.undecodable.size(), 1u);
  EXPECT_EQ(host_.undecodable[0].second, 4u);
  // Code page 936 text: the bytes were always kept; now the first bad one is also noted.
  EXPECT_EQ(Convert(Gb("我") + "\xFF", request), Gb("我(wo3)") + "\xFF\r\n");
  ASSERT_EQ(host_.undecodable.size(), 1u);
  EXPECT_EQ(host_.undecodable[0].second, 2u);
  EXPECT_EQ(Convert(Gb("我爱")), Gb("wǒ ài\r\n我 爱\r\n"));
  EXPECT_TRUE(host_.undecodable.empty());
}

TEST_F(BatchEncodingsTest, AUtf16FileOfOddLengthKeepsItsLastByte) {
  auto request = Request();
  request.settings.outputFormat = OutputFormat::rb_output_hanpy;
  request.settings.toneStyle = ToneStyle::Numbered;
  const std::string source = Encoded("我\r\n爱", Encoding::Utf16Le, true) + "\x42";
  EXPECT_EQ(Convert(source, request),
            Encoded("我(wo3)\r\n爱(ai4)\r\n", Encoding::Utf16Le, true) + "\x42");
  EXPECT_EQ(host_.undecodable.size(), 1u);
  EXPECT_EQ(host_.undecodable[0].second, source.size() - 1);
}

TEST_F(BatchEncodingsTest, WrappingCountsCodePointsAndKeepsTheFormInTempTxt) {
  auto request = Request();
  request.settings.outputFormat = OutputFormat::rb_output_hanpy;
  request.settings.wrapWidth = 10;
  const std::string line = "一二三四五六七八九𠀀一二三四五六七八九😀一二三四五";
  Convert("\xEF\xBB\xBF" + line + "\r\n\r\nabc", request);
  EXPECT_EQ(ReadBytes(program_ / "temp.txt"),
            "一二三四五六七八九𠀀\r\n一二三四五六七八九😀\r\n一二三四五\r\nabc\r\n");
  EXPECT_EQ(host_.lineCount, 4u);
}

TEST_F(BatchEncodingsTest, StandardInputAndOutputStandInForTheFiles) {
  auto request = Request();
  request.source = "-";
  request.target = "-";
  request.settings.outputFormat = OutputFormat::rb_output_hanpy;
  request.settings.toneStyle = ToneStyle::Numbered;
  const std::string input = Encoded("我國\n", Encoding::Utf16Be, true);
  std::ostringstream output;
  request.sourceBytes = &input;
  request.targetStream = &output;
  ASSERT_EQ(BatchConversion(request, host_).status, RunStatus::Completed);
  EXPECT_EQ(output.str(), Encoded("我(wo3)國\r\n", Encoding::Utf16Be, true));
  EXPECT_FALSE(std::filesystem::exists("-"));
}

TEST_F(BatchEncodingsTest, EncodingOfFileNamesWhatARunWouldRead) {
  WriteBytes(dir_ / "u.txt",
             "\xEF\xBB\xBF"
             "x");
  WriteBytes(dir_ / "g.txt", Gb("我"));
  EXPECT_EQ(EncodingOfFile(dir_ / "u.txt"), (TextEncoding{Encoding::Utf8, true}));
  EXPECT_EQ(EncodingOfFile(dir_ / "g.txt"), (TextEncoding{Encoding::Cp936, false}));
  EXPECT_EQ(EncodingOfFile(dir_ / "missing.txt"), std::nullopt);
  EXPECT_EQ(EncodingName(*EncodingOfFile(dir_ / "u.txt")), "UTF-8 BOM");
}

}  // namespace
}  // namespace tolvane
