#include "platform/TextCodec.h"

#include <gtest/gtest.h>

#include "platform/Cp936.h"
#include "platform/UnicodeText.h"

namespace tolvane {
namespace {

using namespace std::string_literals;

// "a中國𠀀😀" with its bytes in each encoding.
const std::string kText = "a中國𠀀😀";
struct EncodedCase {
  Encoding encoding;
  std::string bytes;
};
const EncodedCase kEncoded[] = {
    {Encoding::Utf8, kText},
    {Encoding::Utf16Le, "a\0\x2D\x4E\x0B\x57\x40\xD8\x00\xDC\x3D\xD8\x00\xDE"s},
    {Encoding::Utf16Be, "\0a\x4E\x2D\x57\x0B\xD8\x40\xDC\x00\xD8\x3D\xDE\x00"s},
    {Encoding::Gb18030, "a\xD6\xD0\x87\xF8\x95\x32\x82\x36\x94\x39\xFC\x36"},
};

TEST(TextCodec, DecodesAndEncodesEveryEncoding) {
  for (const EncodedCase& c : kEncoded) {
    SCOPED_TRACE(static_cast<int>(c.encoding));
    const DecodedText decoded = DecodeText(c.bytes, c.encoding);
    EXPECT_EQ(decoded.text, kText);
    EXPECT_FALSE(decoded.firstUndecodable);
    EXPECT_EQ(decoded.trailingBytes, "");
    EXPECT_EQ(EncodeText(kText, c.encoding), c.bytes);
  }
}

TEST(TextCodec, Cp936DecodesWhatItHoldsAndKeepsTheRestAsRawBytes) {
  // 中, the byte 0x80 (the euro sign in this code page), an unassigned pair, a lone lead byte.
  const std::string bytes = "\xD6\xD0\x80\xA2\xABz\xB0";
  const DecodedText decoded = DecodeText(bytes, Encoding::Cp936, 3);
  std::string expected = "中€";
  unicode::AppendRawByte(expected, 0xA2);
  unicode::AppendRawByte(expected, 0xAB);
  expected += "z";
  unicode::AppendRawByte(expected, 0xB0);
  EXPECT_EQ(decoded.text, expected);
  EXPECT_EQ(decoded.firstUndecodable, 3u + 3u);  // counted from the start of the file
  EXPECT_EQ(EncodeText(decoded.text, Encoding::Utf8), "中€\xA2\xABz\xB0");
}

struct BadCase {
  const char* name;
  Encoding encoding;
  std::string bytes;
  std::size_t firstBad;
};

TEST(TextCodec, UndecodableSequencesAreKeptByteForByte) {
  const BadCase cases[] = {
      {"lone continuation", Encoding::Utf8,
       "ab\x80"
       "c",
       2},
      {"truncated at the end", Encoding::Utf8, "\xE4\xB8\xAD\xE4\xB8", 3},
      {"overlong", Encoding::Utf8, "x\xC0\x80", 1},
      {"encoded surrogate", Encoding::Utf8, "\xED\xA0\x80", 0},
      {"above U+10FFFF", Encoding::Utf8, "\xF4\x90\x80\x80", 0},
      {"the raw-byte escape itself", Encoding::Utf8, "\xED\xB2\x80", 0},
      {"lone high surrogate", Encoding::Utf16Le,
       "a\0\x3D\xD8"
       "b\0"s,
       2},
      {"lone low surrogate", Encoding::Utf16Be, "\xDC\x00\0a"s, 0},
      {"high surrogate at the end", Encoding::Utf16Le, "a\0\x3D\xD8"s, 2},
      {"0x80 alone", Encoding::Gb18030,
       "a\x80"
       "b",
       1},
      {"unassigned four bytes", Encoding::Gb18030, "\xD6\xD0\x84\x31\xA5\x30", 2},
      {"truncated four bytes", Encoding::Gb18030, "\x95\x32\x82", 0},
      {"bad trail byte", Encoding::Gb18030, "\xD6\x20z", 0},
  };
  for (const BadCase& c : cases) {
    SCOPED_TRACE(c.name);
    const DecodedText decoded = DecodeText(c.bytes, c.encoding);
    EXPECT_EQ(decoded.firstUndecodable, c.firstBad);
    EXPECT_TRUE(unicode::HoldsRawBytes(decoded.text));
    EXPECT_EQ(EncodeText(decoded.text, c.encoding) + decoded.trailingBytes, c.bytes);
  }
}

TEST(TextCodec, AUtf16FileOfOddLengthKeepsItsLastByteApart) {
  const std::string bytes = "a\0b\0\xE5"s;
  for (const Encoding encoding : {Encoding::Utf16Le, Encoding::Utf16Be}) {
    const DecodedText decoded = DecodeText(bytes, encoding, 2);
    EXPECT_EQ(decoded.trailingBytes, "\xE5");
    EXPECT_EQ(decoded.firstUndecodable, 2u + 4u);
    EXPECT_EQ(EncodeText(decoded.text, encoding) + decoded.trailingBytes, bytes);
  }
  EXPECT_EQ(DecodeText("a\0\x0A"s, Encoding::Utf16Le).text, "a");  // the odd byte is no line end
}

TEST(TextCodec, EmptyTextsInEveryEncoding) {
  for (const Encoding encoding :
       {Encoding::Cp936, Encoding::Utf8, Encoding::Utf16Le, Encoding::Utf16Be, Encoding::Gb18030}) {
    const DecodedText decoded = DecodeText("", encoding);
    EXPECT_EQ(decoded.text, "");
    EXPECT_FALSE(decoded.firstUndecodable);
    if (encoding != Encoding::Cp936) {
      EXPECT_EQ(EncodeText("", encoding), "");
    }
  }
}

TEST(TextCodec, RawBytesInUtf16FromAnotherEncodingKeepTheCodeUnitsAfterThemWhole) {
  std::string text = "a";
  unicode::AppendRawByte(text, 0xFF);
  text += "b";
  EXPECT_EQ(EncodeText(text, Encoding::Utf16Le), "a\0\xFF\0b\0"s);
  unicode::AppendRawByte(text, 0x01);
  unicode::AppendRawByte(text, 0x02);
  EXPECT_EQ(EncodeText(text, Encoding::Utf16Be), "\0a\xFF\0\0b\x01\x02"s);
  EXPECT_EQ(EncodeText(text, Encoding::Gb18030),
            "a\xFF"
            "b\x01\x02");
}

TEST(TextCodec, EveryGb18030TwoByteCodeSurvivesTheRoundTrip) {
  // The converter must be a bijection for decoding and encoding to give every file back.
  std::string all;
  for (int lead = 0x81; lead <= 0xFE; ++lead)
    for (int trail = 0x40; trail <= 0xFE; ++trail)
      if (trail != 0x7F) all += {static_cast<char>(lead), static_cast<char>(trail)};
  const DecodedText decoded = DecodeText(all, Encoding::Gb18030);
  EXPECT_FALSE(decoded.firstUndecodable);
  EXPECT_EQ(EncodeText(decoded.text, Encoding::Gb18030), all);
}

TEST(TextCodec, TheEncodingsMarksAndLineEnds) {
  EXPECT_EQ(ByteOrderMark(Encoding::Utf8), "\xEF\xBB\xBF");
  EXPECT_EQ(ByteOrderMark(Encoding::Utf16Le), "\xFF\xFE");
  EXPECT_EQ(ByteOrderMark(Encoding::Utf16Be), "\xFE\xFF");
  EXPECT_EQ(ByteOrderMark(Encoding::Gb18030), "");
  EXPECT_EQ(LineEnd(Encoding::Utf16Le), "\r\0\n\0"s);
  EXPECT_EQ(LineEnd(Encoding::Utf16Be), "\0\r\0\n"s);
  EXPECT_EQ(LineEnd(Encoding::Cp936), "\r\n");

  const TextEncoding utf8Bom{Encoding::Utf8, true};
  const TextEncoding utf16Le{Encoding::Utf16Le, false};
  EXPECT_EQ(OutputEncodingFor(utf8Bom, OutputEncodingChoice::Same), utf8Bom);
  EXPECT_EQ(OutputEncodingFor(utf16Le, OutputEncodingChoice::Same),
            (TextEncoding{Encoding::Utf16Le, true}));  // UTF-16 is always written with a mark
  EXPECT_EQ(OutputEncodingFor(utf8Bom, OutputEncodingChoice::Utf8),
            (TextEncoding{Encoding::Utf8, false}));
  EXPECT_EQ(OutputEncodingFor({}, OutputEncodingChoice::Utf16Be),
            (TextEncoding{Encoding::Utf16Be, true}));
  EXPECT_EQ(OutputEncodingFor({}, OutputEncodingChoice::Same), TextEncoding{});
}

}  // namespace
}  // namespace tolvane
