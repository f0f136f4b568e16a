#include "reading/context/SpokenRules.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "reading/context/CharacterRules.h"

namespace tolvane {
namespace {

// The pronouns after which 得 is the modal "must" when a verb follows.
constexpr std::array<std::u32string_view, 12> kPronouns = {
    U"我", U"你", U"他", U"她", U"您", U"咱", U"我们", U"你们", U"他们", U"她们", U"咱们", U"大家"};

// Numerals after which 一 is a digit of a number (十一, 二十一) and digits before which it is one
// (一九四九, 一二三).
constexpr std::u32string_view kNumeralsBefore =
    U"〇零一二三四五六七八九十百千万亿第初0123456789０１２３４５６７８９";
constexpr std::u32string_view kDigitsAfter =
    U"〇零一二三四五六七八九0123456789０１２３４５６７８９月";

bool IsIn(std::u32string_view set, char32_t cp) {
  return set.find(cp) != std::u32string_view::npos;
}

bool IsPhraseSyllable(const ContextReading& reading) {
  return reading.kind == ContextReading::Kind::Syllable;
}

// The tone digit of a syllable (1 to 5), 0 where it has none.
int ToneOf(const PhraseData& data, SyllableId id) {
  const std::string& syllable = data.Syllable(id);
  if (syllable.empty()) return 0;
  const char tone = syllable.back();
  return tone >= '1' && tone <= '5' ? tone - '0' : 0;
}

std::u32string_view SegmentText(std::span<const char32_t> text, const Segment& segment) {
  return {text.data() + segment.begin, segment.length};
}

}  // namespace

void ReadParticlesByRole(std::span<const char32_t> text, std::span<const Segment> segments,
                         const PhraseData& data, std::span<ContextReading> readings) {
  const PhraseData::RuleSyllables& rules = data.Rules();
  for (std::size_t s = 0; s < segments.size(); ++s) {
    const Segment& segment = segments[s];
    if (segment.length != 1 || segment.userWord != nullptr) continue;
    const std::size_t i = segment.begin;
    if (!IsPhraseSyllable(readings[i]) || i == 0 || !IsChineseCharacter(text[i - 1])) continue;
    switch (text[i]) {
      case U'地':
        // The particle leads to the verb it qualifies; at the end of a clause 地 is the place
        // (各地, 等地), unless a reduplicated adverb comes before it (慢慢地，).
        if ((i + 1 < text.size() && IsChineseCharacter(text[i + 1])) ||
            (i >= 2 && text[i - 2] == text[i - 1]))
          readings[i].syllable = rules.de5;
        break;
      case U'着':
        readings[i].syllable = rules.zhe5;
        break;
      case U'得': {
        // 得了 is 得 "to get" with its aspect (他得了第一): its own reading stands.
        if (i + 1 < text.size() && text[i + 1] == U'了') break;
        const bool afterPronoun =
            s > 0 &&
            std::ranges::find(kPronouns, SegmentText(text, segments[s - 1])) != kPronouns.end();
        const bool verbFollows = i + 1 < text.size() && IsChineseCharacter(text[i + 1]);
        readings[i].syllable = afterPronoun && verbFollows ? rules.dei3 : rules.de5;
        break;
      }
      default:
        break;
    }
  }
}

void WriteErhua(std::span<const char32_t> text, std::span<const Segment> segments,
                const PhraseData& data, std::span<ContextReading> readings) {
  const PhraseData::RuleSyllables& rules = data.Rules();
  for (const Segment& segment : segments) {
    if (segment.userWord != nullptr) continue;
    const std::size_t last = segment.begin + segment.length - 1;
    if (text[last] != U'儿' || !IsPhraseSyllable(readings[last])) continue;
    if (segment.length > 1) {
      // In a word, only a light 儿 at its end is erhua: 女儿 nǚ'ér keeps its tone.
      if (readings[last].syllable == rules.er5) readings[last].syllable = rules.r5;
    } else if (last > 0 && IsChineseCharacter(text[last - 1])) {
      readings[last].syllable = rules.r5;
    }
  }
}

void ApplyToneSandhi(std::span<const char32_t> text, std::span<const Segment> segments,
                     const PhraseData& data, std::span<const SyllableId> fullTones,
                     std::span<ContextReading> readings) {
  const PhraseData::RuleSyllables& rules = data.Rules();
  for (const Segment& segment : segments) {
    for (std::uint32_t k = 0; k < segment.length; ++k) {
      const std::size_t i = segment.begin + k;
      const char32_t cp = text[i];
      if ((cp != U'一' && cp != U'不') || !IsPhraseSyllable(readings[i])) continue;
      // The full tone of the next syllable; none at the end of a clause.
      int next = 0;
      if (i + 1 < text.size() && IsChineseCharacter(text[i + 1]) &&
          IsPhraseSyllable(readings[i + 1]))
        next = ToneOf(data, fullTones[i + 1]);
      if (next == 5 && text[i + 1] == U'个') next = 4;  // the measure word is light, gè in full
      if (cp == U'不') {
        if (readings[i].syllable == rules.bu4 && next == 4) readings[i].syllable = rules.bu2;
        continue;
      }
      if (readings[i].syllable != rules.yi1 || next == 0 || next == 5) continue;
      const bool endsWord = segment.length > 1 && k + 1 == segment.length;
      const bool clauseStart = i == 0 || !IsChineseCharacter(text[i - 1]);
      const bool counted = endsWord || (i > 0 && IsIn(kNumeralsBefore, text[i - 1])) ||
                           IsIn(kDigitsAfter, text[i + 1]) ||
                           (clauseStart && text[i + 1] == U'是');  // 一是…二是…, "first"
      if (counted) continue;
      readings[i].syllable = next == 4 ? rules.yi2 : rules.yi4;
    }
  }
}

}  // namespace tolvane
