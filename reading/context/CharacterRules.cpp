#include "reading/context/CharacterRules.h"

#include <unicode/uchar.h>

#include <algorithm>
#include <array>
#include <string_view>

namespace tolvane {
namespace {

// Numerals and demonstratives that a measure word follows.
constexpr std::u32string_view kNumerals =
    U"一二三四五六七八九十百千万亿两几每这那数多半单〇零廿卅俩0123456789０１２３４５６７８９";

// What 为 "for, because of" stands before.
constexpr std::array<std::u32string_view, 15> kAfterWeiFor = {
    U"我",   U"你", U"他", U"她", U"它",   U"们", U"自己", U"大家",
    U"人民", U"国", U"此", U"何", U"什么", U"了", U"谁"};

// Adverbs of degree, before which a character is an adjective.
constexpr std::u32string_view kDegreeAdverbs = U"很太更最真挺极蛮较";

bool IsNumeral(char32_t cp) { return kNumerals.find(cp) != std::u32string_view::npos; }

}  // namespace

bool IsChineseCharacter(char32_t cp) {
  return (cp >= 0x3400 && cp <= 0x9FFF) || (cp >= 0x20000 && cp <= 0x3134F) ||
         (cp >= 0xF900 && cp <= 0xFAFF) || cp == 0x3007;
}

std::optional<std::string_view> CharacterRuleReading(std::span<const char32_t> text,
                                                     std::size_t i) {
  const char32_t before = i > 0 ? text[i - 1] : 0;
  const char32_t after = i + 1 < text.size() ? text[i + 1] : 0;
  switch (text[i]) {
    case U'只':
      return IsNumeral(before) ? "zhi1" : "zhi3";
    case U'为': {
      const std::u32string_view rest(text.data() + i + 1,
                                     std::min<std::size_t>(2, text.size() - i - 1));
      const bool forSomeone =
          std::any_of(kAfterWeiFor.begin(), kAfterWeiFor.end(),
                      [&](std::u32string_view w) { return rest.starts_with(w); });
      return forSomeone ? "wei4" : "wei2";
    }
    case U'哩':
      return !IsChineseCharacter(after) && IsChineseCharacter(before) && !IsNumeral(before) ? "li5"
                                                                                            : "li3";
    case U'弄':
      if (before != 0 && (u_isdigit(static_cast<UChar32>(before)) || before == U'家'))
        return "long4";
      return std::nullopt;
    case U'率':
      return IsChineseCharacter(after) ? "shuai4" : "lv4";
    case U'长':
      // After a degree adverb it is the adjective "long" (头发很长, 路太长), never "to grow".
      if (kDegreeAdverbs.find(before) != std::u32string_view::npos) return "chang2";
      return std::nullopt;
    case U'没':
      // Standing alone it is the negation (没来, 没钱); the sense "to sink, to confiscate" lives
      // in words (沉没, 没收, 淹没) that read it themselves.
      return "mei2";
    case U'谁':
      // The standard reading; shuí is its variant.
      return "shei2";
    default:
      return std::nullopt;
  }
}

}  // namespace tolvane
