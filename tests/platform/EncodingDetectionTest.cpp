#include "platform/EncodingDetection.h"

#include <gtest/gtest.h>

#include "support/TestSupport.h"

namespace tolvane {
namespace {

using namespace std::string_literals;
using test::Gb;

struct DetectionCase {
  const char* name;
  std::string bytes;
  Encoding encoding;
  bool byteOrderMark;
};

TEST(EncodingDetection, DecidesByMarkThenUtf8ThenGb18030ElseCodePage936) {
  const DetectionCase cases[] = {
      {"UTF-8 mark", "\xEF\xBB\xBF" + Gb("中"), Encoding::Utf8, true},  // the mark decides
      {"UTF-8 mark alone", "\xEF\xBB\xBF", Encoding::Utf8, true},
      {"UTF-16LE mark",
       "\xFF\xFE"
       "a\0"s,
       Encoding::Utf16Le, true},
      {"UTF-16BE mark", "\xFE\xFF\0a"s, Encoding::Utf16Be, true},
      {"UTF-8", "我爱北京天安门", Encoding::Utf8, false},
      {"UTF-8, one sign", "a → b", Encoding::Utf8, false},
      {"GB2312", Gb("我爱北京天安门，天安门上红旗飘"), Encoding::Cp936, false},
      {"GBK beyond GB2312", Gb("國堃"), Encoding::Cp936, false},
      {"ASCII", "plain text\r\n", Encoding::Cp936, false},
      {"empty", "", Encoding::Cp936, false},
      {"GB18030 with four-byte sequences", "\xD6\xD0\x95\x32\x82\x36", Encoding::Gb18030, false},
      {"GB18030 shape, unassigned", "\xD6\xD0\x84\x31\xA5\x30", Encoding::Cp936, false},
      {"four bytes among bad bytes", "\x95\x32\x82\x36\xFF", Encoding::Cp936, false},
      {"text in nothing", "\xFF\x80\x80", Encoding::Cp936, false},
      {"UTF-16 without a mark", "a\0b\0"s, Encoding::Cp936, false},
      // A UTF-8 file cut in the middle of its last character; not so a bad byte elsewhere.
      {"UTF-8 cut short at the end", "我爱\xE5\x8C", Encoding::Utf8, false},
      {"UTF-8 cut short, four bytes", "我\xF0\xA0\x80", Encoding::Utf8, false},
      {"UTF-8 with a bad byte inside", "我\xE5\x8C爱", Encoding::Cp936, false},
  };
  for (const DetectionCase& c : cases) {
    SCOPED_TRACE(c.name);
    const SourceEncoding detected = DetectEncoding(c.bytes);
    EXPECT_EQ(detected.encoding.encoding, c.encoding);
    EXPECT_EQ(detected.encoding.byteOrderMark, c.byteOrderMark);
    EXPECT_EQ(detected.byteOrderMarkLength,
              c.byteOrderMark ? (c.encoding == Encoding::Utf8 ? 3u : 2u) : 0u);
  }
}

TEST(EncodingDetection, ShortTextsValidInBothAreReadTheWayThatYieldsChinese) {
  // 工人 in UTF-8 is also GB2312 text (宸ヤ汉); 隆 in GB2312 is also UTF-8 (¡); 氨氨 likewise.
  const DetectionCase cases[] = {
      {"工人 in UTF-8", "工人", Encoding::Utf8, false},
      {"氨氨 in UTF-8", "氨氨", Encoding::Utf8, false},
      {"隆 in GB2312", Gb("隆"), Encoding::Cp936, false},
      {"楼 in GB2312, in a line", Gb("楼") + "\r\n", Encoding::Cp936, false},
      // Latin-1 signs in UTF-8 are GB2312 characters by chance; GB2312's reading wins.
      {"² in UTF-8", "50 km²", Encoding::Cp936, false},
  };
  for (const DetectionCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(DetectEncoding(c.bytes).encoding.encoding, c.encoding);
  }
  // The premise of the cases: each really is valid in both.
  EXPECT_EQ(test::Utf8(Gb("宸ヤ汉")), "宸ヤ汉");
  EXPECT_EQ(Gb("宸ヤ汉"), "工人");
  EXPECT_EQ(Gb("隆"), "¡");
}

TEST(EncodingDetection, AChosenEncodingIsTakenAsItIs) {
  const std::string utf8Marked =
      "\xEF\xBB\xBF"
      "abc";
  EXPECT_EQ(ChooseEncoding(utf8Marked, EncodingChoice::Utf8),
            (SourceEncoding{{Encoding::Utf8, true}, 3}));
  EXPECT_EQ(ChooseEncoding(Gb("中"), EncodingChoice::Utf8),
            (SourceEncoding{{Encoding::Utf8, false}, 0}));
  EXPECT_EQ(ChooseEncoding(utf8Marked, EncodingChoice::Gbk),
            (SourceEncoding{{Encoding::Cp936, false}, 0}));  // the mark is part of the text
  EXPECT_EQ(ChooseEncoding("中文", EncodingChoice::Gb2312).encoding.encoding, Encoding::Cp936);
  EXPECT_EQ(ChooseEncoding(Gb("中"), EncodingChoice::Gb18030).encoding.encoding, Encoding::Gb18030);
  // UTF-16: a mark gives the byte order; without one, where the zero bytes of ASCII stand.
  EXPECT_EQ(ChooseEncoding("\xFE\xFF\0a"s, EncodingChoice::Utf16),
            (SourceEncoding{{Encoding::Utf16Be, true}, 2}));
  EXPECT_EQ(ChooseEncoding("\0a\0b\x4E\x2D"s, EncodingChoice::Utf16).encoding.encoding,
            Encoding::Utf16Be);
  EXPECT_EQ(ChooseEncoding("a\0b\0\x2D\x4E"s, EncodingChoice::Utf16).encoding.encoding,
            Encoding::Utf16Le);
  EXPECT_EQ(ChooseEncoding("", EncodingChoice::Utf16).encoding.encoding, Encoding::Utf16Le);
  EXPECT_EQ(ChooseEncoding("\xFF\xFE", EncodingChoice::Auto),
            (SourceEncoding{{Encoding::Utf16Le, true}, 2}));
}

}  // namespace
}  // namespace tolvane
