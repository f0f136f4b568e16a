#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "reading/context/ContextReading.h"
#include "reading/context/PhraseData.h"
#include "reading/context/PolyphoneModel.h"
#include "reading/context/Segmentation.h"

namespace tolvane {

// How far the model reads around a polyphone: its clause, at most this many characters each
// way. Clauses are short in running text; the bound keeps a long unpunctuated line from costing
// a run over all of it for every polyphone.
inline constexpr std::size_t kModelReach = 32;

// Whether the model reads the character `k` of `segment` (within `text`), which the word
// evidence reads `reading`: the words leave it open (a character read alone, or taking its
// default inside a word), the model decides it among two or more readings, and neither the pairs
// nor a character rule changed its default. Words settle a reading better than the model does
// (measured on sentences outside the model's training data), and so do the hand-made rules.
// Where the default is the character's usual reading (PolyphoneModel::UsualReading) the model
// is not run either: it would almost never change it.
bool ModelDecides(std::span<const char32_t> text, const Segment& segment, std::uint32_t k,
                  const PhraseData& data, const PolyphoneModel& model,
                  const ContextReading& reading);

// Lets the polyphone model choose the readings of `text` that ModelDecides leaves to it: its
// best candidate that the phrase data can write replaces the reading in `out`, which holds the
// readings of `text` from its `segments`. The model runs once per window (ClauseAround) that
// holds such characters, forward only as far as the last of them and backward only as far as
// the first.
void ChooseByModel(std::span<const char32_t> text, std::span<const Segment> segments,
                   const PhraseData& data, const PolyphoneModel& model,
                   std::vector<ContextReading>& out);

}  // namespace tolvane
