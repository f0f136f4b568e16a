#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "reading/context/ContextReading.h"
#include "reading/context/PhraseData.h"
#include "reading/context/PolyphoneModel.h"
#include "reading/context/ReadingBasis.h"
#include "reading/context/Segmentation.h"

namespace tolvane {

// How far the model reads around a polyphone: its clause, at most this many characters each
// way. Clauses are short in running text; the bound keeps a long unpunctuated line from costing
// a run over all of it for every polyphone.
inline constexpr std::size_t kModelReach = 32;

// What the model may do with the character `k` of `segment` (within `text`), which the word
// evidence reads `reading`.
enum class ModelRole {
  kNone,     // nothing: a user's word, a character rule, or a character the model does not know
  kChoose,   // choose freely: the words leave the reading open
  kOverrule  // replace the words' reading only when it is far surer of another
};
// The words leave a reading open where they read the character alone or at its default inside a
// word, and neither the pairs nor a character rule changed that default; there the model
// chooses, unless the default is the character's usual reading (PolyphoneModel::UsualReading),
// which it would almost never change. A character read alone by the pairs the model may overrule
// when it is far surer. Inside a word it may not: the words settle those better than the model
// does, rare words and names too (measured on sentences of two kinds that neither was made from:
// the model, trained on encyclopaedia sentences, overrules 商量, 软木塞, 卷积 wrongly as often as
// it mends a name). Nor does it overrule a usual reading: that would run it on nearly every
// clause (的, 了, 和) to change almost nothing.
ModelRole ModelRoleAt(std::span<const char32_t> text, const Segment& segment, std::uint32_t k,
                      const PhraseData& data, const PolyphoneModel& model,
                      const ContextReading& reading);

// How much surer (in logits) the model must be of another reading than of the words' own before
// it overrules them. Measured on the CPP and g2pL development sentences and on passages read
// aloud: a lower bar overrules right readings as often as wrong ones, a higher one lets wrong
// ones stand.
inline constexpr float kOverruleMargin = 6.0f;

// Lets the polyphone model choose or overrule the readings of `text` as ModelRoleAt allows: its
// best candidate that the phrase data can write replaces the reading in `out`, which holds the
// readings of `text` from its `segments`; to overrule, it must beat the words' reading, one of its
// own candidates, by kOverruleMargin. The model runs once per window (ClauseAround) that holds
// such characters, forward only as far as the last of them and backward only as far as the first.
// With `basisOut` (one per character), the characters it chose are marked kModel or kModelClose
// by the margin of its choice over its next candidate, and those it overruled kModel.
void ChooseByModel(std::span<const char32_t> text, std::span<const Segment> segments,
                   const PhraseData& data, const PolyphoneModel& model,
                   std::vector<ContextReading>& out, std::vector<ReadingBasis>* basisOut = nullptr);

}  // namespace tolvane
