#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

namespace tolvane {

// Whether a code point is a Chinese character (CJK ideographs, their extensions and
// compatibility forms, and 〇): the characters that reading by context reads.
bool IsChineseCharacter(char32_t cp);

// The reading that a few common characters take from the characters next to them where they
// stand as words of their own (numbered pinyin), or nothing:
//   只 zhi1 (a measure word) after a numeral or demonstrative, else zhi3 (only);
//   为 wei4 (for, because of) before a pronoun, 了, 何, 此, 什么 ..., else wei2 (to be, as);
//   哩 li5 (a particle) ending a clause after a character, else li3 (a mile);
//   弄 long4 (a lane) after a digit or 家;
//   率 shuai4 (to lead) before a character, else lv4 (a rate);
//   长 chang2 (long) after an adverb of degree (很, 太, 更 ...);
//   没 mei2 (not, have not): mo4 (to sink) only inside words;
//   谁 shei2, the standard reading (shui2 is its variant).
// `text` is the line, `i` the character's position.
std::optional<std::string_view> CharacterRuleReading(std::span<const char32_t> text, std::size_t i);

}  // namespace tolvane
