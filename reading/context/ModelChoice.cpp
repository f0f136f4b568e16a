#include "reading/context/ModelChoice.h"

#include <optional>

#include "reading/context/CharacterRules.h"

namespace tolvane {
namespace {

// Whether the words of a segment leave the reading of its character `k` open: a character read
// alone, or one that a word leaves at its default.
bool LeftOpen(const Segment& segment, std::uint32_t k) {
  if (segment.userWord != nullptr) return false;
  if (segment.length == 1 || segment.syllables == nullptr) return true;
  return segment.syllables[k] == kDefaultSyllable;
}

// Scratch memory of one thread, reused from line to line; it holds nothing between calls.
struct ModelScratch {
  std::vector<std::size_t> decided;  // the positions the model decides, in order
  ModelStates states;
  std::vector<ReadingScore> scores;
};

// The best of the model's candidates for the character at `i` that the phrase data can write.
std::optional<SyllableId> BestCandidate(std::span<const ReadingScore> scores,
                                        const PhraseData& data, const PolyphoneModel& model) {
  std::optional<SyllableId> best;
  float bestScore = 0;
  for (const ReadingScore& score : scores) {
    const auto id = data.FindSyllable(model.Reading(score.reading));
    if (!id || (best && score.score <= bestScore)) continue;
    best = id;
    bestScore = score.score;
  }
  return best;
}

}  // namespace

bool ModelDecides(std::span<const char32_t> text, const Segment& segment, std::uint32_t k,
                  const PhraseData& data, const PolyphoneModel& model,
                  const ContextReading& reading) {
  const char32_t cp = text[segment.begin + k];
  if (!LeftOpen(segment, k) || model.Candidates(cp).size() < 2) return false;
  if (reading.kind != ContextReading::Kind::Syllable) return true;
  // A character rule that speaks here knows the character's role better than the model.
  if (CharacterRuleReading(text, segment.begin + k)) return false;
  // A reading other than the default came from the pairs or a character rule: kept.
  if (reading.syllable != data.DefaultReading(cp)) return false;
  // Where the default is the reading the model gives the character nearly everywhere, running
  // it would not pay.
  const auto usual = model.UsualReading(cp);
  return !usual || data.FindSyllable(model.Reading(*usual)) != reading.syllable;
}

void ChooseByModel(std::span<const char32_t> text, std::span<const Segment> segments,
                   const PhraseData& data, const PolyphoneModel& model,
                   std::vector<ContextReading>& out) {
  thread_local ModelScratch scratch;
  // Which positions the model decides depends on the word evidence alone, never on what the
  // model chose elsewhere: all of them first, so that each run knows how far it must go.
  scratch.decided.clear();
  for (const Segment& segment : segments) {
    for (std::uint32_t k = 0; k < segment.length; ++k) {
      if (ModelDecides(text, segment, k, data, model, out[segment.begin + k]))
        scratch.decided.push_back(segment.begin + k);
    }
  }
  // One run per window for the decided positions in a row that share it, forward only as far
  // as the last of them and backward only as far as the first.
  for (std::size_t n = 0; n < scratch.decided.size();) {
    const TextWindow window = ClauseAround(text, scratch.decided[n], kModelReach);
    std::size_t m = n + 1;
    while (m < scratch.decided.size() &&
           ClauseAround(text, scratch.decided[m], kModelReach) == window)
      ++m;
    model.Run(text.subspan(window.begin, window.end - window.begin), scratch.states,
              scratch.decided[n] - window.begin, scratch.decided[m - 1] - window.begin);
    for (; n < m; ++n) {
      const std::size_t i = scratch.decided[n];
      model.ScoresAt(scratch.states, i - window.begin, text[i], scratch.scores);
      if (const auto best = BestCandidate(scratch.scores, data, model))
        out[i] = {ContextReading::Kind::Syllable, *best, {}};
    }
  }
}

}  // namespace tolvane
