#include "platform/Cp936.h"

#include <gtest/gtest.h>

#include "support/TestSupport.h"

namespace tolvane {
namespace {

using test::Gb;

TEST(Cp936, CharLengthFollowsLeadAndTrailBytes) {
  struct Case {
    std::string text;
    std::size_t pos;
    std::size_t expected;
  };
  const Case cases[] = {
      {"a", 0, 1},
      {"\xB0\xA1", 0, 2},  // 啊
      {"\xB0\xA1", 1, 1},  // a byte at the very end stands alone
      {"\xB0", 0, 1},      // lone lead byte at the end
      {"\xB0"
       "a",
       0, 2},              // 'a' (0x61) is a valid trail byte
      {"\xB0\x30", 0, 1},  // '0' is not a trail byte: the lead stands alone
      {"\xB0\x7F", 0, 1},  // 0x7F is never a trail byte
      {"\xB0\xFF", 0, 1},  // nor is 0xFF
      {"\x80\xA1", 0, 1},  // 0x80 never opens a pair
      {"\xFF\xA1", 0, 1},  // nor does 0xFF
      {"\x81\x40", 0, 2},  // lowest GBK pair
      {"", 0, 0},
      {"ab", 2, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(cp936::CharLengthAt(c.text, c.pos), c.expected) << "pos " << c.pos;
  }
}

TEST(Cp936, WalkConsumesEveryByteOfAnyInput) {
  // Every byte value in every position: the walk ends and the pieces put together are the input.
  std::string all;
  for (int i = 0; i < 256; ++i) {
    all.push_back(static_cast<char>(i));
    all.push_back(static_cast<char>(255 - i));
    all.push_back(static_cast<char>((i * 7) & 0xFF));
  }
  std::string rebuilt;
  std::size_t steps = 0;
  for (std::size_t pos = 0; pos < all.size();) {
    const std::size_t len = cp936::CharLengthAt(all, pos);
    ASSERT_GE(len, 1u);
    rebuilt.append(all, pos, len);
    pos += len;
    ASSERT_LE(++steps, all.size());
  }
  EXPECT_EQ(rebuilt, all);
}

TEST(Cp936, FirstUndecodableFindsTheFirstBadSequenceAfterRunsOfAnyLength) {
  // ASCII is skipped a block at a time: a bad sequence after runs of every length up to
  // three blocks, after a valid pair, and at the very end.
  const std::string pair = "\xD6\xD0";                     // 中
  const std::string bad[] = {"\x81\x7F", "\xFF", "\xA1"};  // no trail, no lead, cut short
  for (const std::string& b : bad) {
    for (std::size_t run = 0; run < 50; ++run) {
      const std::string text = std::string(run, 'x') + pair + std::string(run % 9, 'y') + b;
      EXPECT_EQ(cp936::FirstUndecodable(text), run + 2 + run % 9) << run;
      EXPECT_EQ(cp936::FirstUndecodable(text.substr(0, text.size() - b.size())), std::nullopt)
          << run;
    }
  }
  EXPECT_EQ(cp936::FirstUndecodable(""), std::nullopt);
  // The lone 0x80 byte is found, or passed over, wherever it stands.
  const bool byte80Decodes = !cp936::FirstUndecodable("\x80");
  EXPECT_EQ(cp936::FirstUndecodable(std::string(17, 'x') + "\x80" + pair),
            byte80Decodes ? std::nullopt : std::optional<std::size_t>(17));
}

TEST(Cp936, FirstCharsAndLastChar) {
  const std::string text = Gb("我a爱");
  EXPECT_EQ(cp936::FirstChars(text, 0), "");
  EXPECT_EQ(cp936::FirstChars(text, 1), Gb("我"));
  EXPECT_EQ(cp936::FirstChars(text, 2), Gb("我a"));
  EXPECT_EQ(cp936::FirstChars(text, 3), text);
  EXPECT_EQ(cp936::FirstChars(text, 99), text);
  EXPECT_EQ(cp936::LastChar(text), Gb("爱"));
  EXPECT_EQ(cp936::LastChar(""), "");
  EXPECT_EQ(cp936::LastChar("zhong1"), "1");
  EXPECT_EQ(cp936::LastChar("ab\xB0"), "\xB0");  // a lone lead byte is a character of its own
  EXPECT_EQ(cp936::CharCount(text), 3u);
}

TEST(Cp936, DecodesToUnicode) {
  EXPECT_EQ(cp936::DecodeToUtf8(Gb("中国")), "中国");
  EXPECT_EQ(cp936::DecodeChar("\xB0\xA1"), U'啊');
  EXPECT_EQ(cp936::DecodeChar("\xA8\xA1"), U'ā');
  EXPECT_EQ(cp936::DecodeChar("\xA8\xB9"), U'ü');
  EXPECT_EQ(cp936::DecodeChar("\xA3\xAC"), U'，');
  EXPECT_EQ(cp936::DecodeChar("\xF7\xFE"), U'齄');  // last GB2312 character
  EXPECT_EQ(cp936::DecodeChar("\x81\x40"), U'丂');  // GBK extension
  EXPECT_EQ(cp936::DecodeToUtf16(Gb("a中")), u"a中");
}

TEST(Cp936, InvalidBytesDecodeToReplacementCharacters) {
  EXPECT_EQ(cp936::DecodeToUtf8("a\xB0"), "a\xEF\xBF\xBD");
  EXPECT_EQ(cp936::DecodeToUtf8("\xB0\x30"),
            "\xEF\xBF\xBD"
            "0");
  EXPECT_EQ(cp936::DecodeToUtf8("\xFF"), "\xEF\xBF\xBD");
}

TEST(Cp936, EncodesFromUnicode) {
  EXPECT_EQ(cp936::EncodeFromUtf8("中国"), "\xD6\xD0\xB9\xFA");
  EXPECT_EQ(cp936::EncodeFromUtf8("ābc"),
            "\xA8\xA1"
            "bc");
  EXPECT_EQ(cp936::EncodeFromUtf16(u"中a"),
            "\xD6\xD0"
            "a");
  EXPECT_EQ(cp936::EncodeFromUtf8("€"), "\x80");
}

TEST(Cp936, UnencodableAndMalformedInputBecomesQuestionMarks) {
  EXPECT_EQ(cp936::EncodeFromUtf8("😀"), "?");            // outside the code page
  EXPECT_EQ(cp936::EncodeFromUtf8("a\xE4\xB8"), "a??");  // truncated UTF-8
  EXPECT_EQ(cp936::EncodeFromUtf8("\xC0\x80"), "??");    // overlong
  EXPECT_EQ(cp936::EncodeFromUtf16(u"\xD800x"), "?x");   // lone surrogate
}

TEST(Cp936, RoundTripsEveryAssignedPair) {
  int assigned = 0;
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0x40; trail <= 0xFE; ++trail) {
      if (trail == 0x7F) continue;
      const std::string pair{static_cast<char>(lead), static_cast<char>(trail)};
      const char32_t cp = cp936::DecodeChar(pair);
      if (cp == 0xFFFD) continue;
      ++assigned;
      const std::string utf8 = cp936::DecodeToUtf8(pair);
      ASSERT_EQ(cp936::EncodeFromUtf8(utf8), pair) << std::hex << lead << " " << trail;
    }
  }
  EXPECT_GT(assigned, 21000);  // GBK assigns 21886 pairs
}

}  // namespace
}  // namespace tolvane
