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
  ModelStates states;
  std::vector<ReadingScore> scores;
};

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
  std::optional<TextWindow> run;  // the window the states hold
  for (const Segment& segment : segments) {
    for (std::uint32_t k = 0; k < segment.length; ++k) {
      const std::size_t i = segment.begin + k;
      if (!ModelDecides(text, segment, k, data, model, out[i])) continue;
      const TextWindow window = ClauseAround(text, i, kModelReach);
      if (run != window) {
        model.Run(text.subspan(window.begin, window.end - window.begin), scratch.states);
        run = window;
      }
      model.ScoresAt(scratch.states, i - window.begin, text[i], scratch.scores);
      // The best of the candidates the phrase data can write.
      std::optional<SyllableId> best;
      float bestScore = 0;
      for (const ReadingScore& score : scratch.scores) {
        const auto id = data.FindSyllable(model.Reading(score.reading));
        if (!id || (best && score.score <= bestScore)) continue;
        best = id;
        bestScore = score.score;
      }
      if (best) out[i] = {ContextReading::Kind::Syllable, *best, {}};
    }
  }
}

}  // namespace tolvane
