#include "platform/DisplayColumns.h"

#include <gtest/gtest.h>

#include "platform/UnicodeText.h"

namespace tolvane {
namespace {

TEST(DisplayColumns, GbCharactersTakeTheirBytesOthersTheirEastAsianWidth) {
  const struct {
    char32_t cp;
    std::size_t columns;
    const char* why;
  } cases[] = {
      {U'a', 1, "ASCII"},
      {U'\t', 1, "a control character, one byte"},
      {U'中', 2, "GB2312 ideograph"},
      {U'—', 2, "ambiguous width, but GB2312 holds it in two bytes"},
      {U'·', 2, "ambiguous width, GB2312"},
      {U'é', 2, "a pinyin letter of GB2312"},
      {U'Ａ', 2, "full-width letter of GB2312"},
      {U'國', 2, "traditional, beyond GB2312: wide"},
      {U'堃', 2, "rare, beyond GB2312: wide"},
      {U'𠀀', 2, "CJK Extension B: wide"},
      {U'😀', 2, "emoji: wide"},
      {U'가', 2, "Hangul syllable: wide"},
      {U'\u0301', 0, "combining acute accent"},
      {U'\u20DD', 0, "enclosing circle"},
      {U'ñ', 1, "ambiguous width, not GB2312"},
      {U'€', 1, "ambiguous width; code page 936 holds it in one byte, GB2312 not at all"},
      {U'ｱ', 1, "half-width katakana"},
      {unicode::kRawByteFirst + 0xFF, 1, "a raw byte"},
  };
  for (const auto& c : cases) EXPECT_EQ(DisplayColumns(c.cp), c.columns) << c.why;
}

}  // namespace
}  // namespace tolvane
