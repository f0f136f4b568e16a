#pragma once

#include <span>

#include "reading/context/ContextReading.h"
#include "reading/context/PhraseData.h"
#include "reading/context/Segmentation.h"

// The rules by which speech reads a character differently from the word or the character alone:
// the particles 地, 得 and 着 by their role, the 儿 of erhua, and the tone changes of 一 and 不.
// Each takes the segmented text and the readings so far and changes only syllables of the phrase
// data (Kind::Syllable), never a user's reading.
namespace tolvane {

// 地 standing alone after a character reads de (慢慢地, 一如既往地), 着 zhe (看着); 得 reads de
// (跑得快, 好得多) but děi after a pronoun before a verb (你得去). In words (土地, 得到, 着急) the
// words' own readings stand.
void ReadParticlesByRole(std::span<const char32_t> text, std::span<const Segment> segments,
                         const PhraseData& data, std::span<ContextReading> readings);

// The 儿 of an erhua word (一会儿, 哪儿: er5 at a word's end) or standing alone after a character
// (小孩儿, 雪球儿) reads r; 儿 in a word of its own (儿子, 女儿, 婴儿) stays as it is.
void WriteErhua(std::span<const char32_t> text, std::span<const Segment> segments,
                const PhraseData& data, std::span<ContextReading> readings);

// 不 reads bú before a fourth tone; 一 reads yí before a fourth tone and yì before the others,
// and keeps yī where it is counted or ordered: at the end of a word (统一, 万一) or of a clause,
// after a numeral, 第 or 初, before a digit (一九四九, 一二三) or 月, and as "first" of a list
// (一是…, at a clause's start). The tone of the next syllable
// is its full one (`fullTones`, in step with `readings`): 一个 yí ge.
void ApplyToneSandhi(std::span<const char32_t> text, std::span<const Segment> segments,
                     const PhraseData& data, std::span<const SyllableId> fullTones,
                     std::span<ContextReading> readings);

}  // namespace tolvane
