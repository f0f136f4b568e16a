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

ModelRole ModelRoleAt(std::span<const char32_t> text, const Segment& segment, std::uint32_t k,
                      const PhraseData& data, const PolyphoneModel& model,
                      const ContextReading& reading) {
  const char32_t cp = text[segment.begin + k];
  if (segment.userWord != nullptr || model.Candidates(cp).size() < 2) return ModelRole::kNone;
  if (reading.kind != ContextReading::Kind::Syllable) return ModelRole::kChoose;
  // A character rule that speaks here knows the character's role better than the model.
  if (CharacterRuleReading(text, segment.begin + k)) return ModelRole::kNone;
  // A reading other than the default came from the words or the pairs.
  const bool settled = !LeftOpen(segment, k) || reading.syllable != data.DefaultReading(cp);
  const auto usual = model.UsualReading(cp);
  if (!settled && !(usual && data.FindSyllable(model.Reading(*usual)) == reading.syllable))
    return ModelRole::kChoose;
  return segment.length == 1 && reading.syllable != data.DefaultReading(cp) ? ModelRole::kOverrule
                                                                            : ModelRole::kNone;
}

void ChooseByModel(std::span<const char32_t> text, std::span<const Segment> segments,
                   const PhraseData& data, const PolyphoneModel& model,
                   std::vector<ContextReading>& out) {
  thread_local ModelScratch scratch;
  std::optional<TextWindow> run;  // the window the states hold
  for (const Segment& segment : segments) {
    for (std::uint32_t k = 0; k < segment.length; ++k) {
      const std::size_t i = segment.begin + k;
      const ModelRole role = ModelRoleAt(text, segment, k, data, model, out[i]);
      if (role == ModelRole::kNone) continue;
      const TextWindow window = ClauseAround(text, i, kModelReach);
      if (run != window) {
        model.Run(text.subspan(window.begin, window.end - window.begin), scratch.states);
        run = window;
      }
      model.ScoresAt(scratch.states, i - window.begin, text[i], scratch.scores);
      // The best of the candidates the phrase data can write, and the score of the words' own.
      std::optional<SyllableId> best;
      float bestScore = 0;
      std::optional<float> wordsScore;
      for (const ReadingScore& score : scratch.scores) {
        const auto id = data.FindSyllable(model.Reading(score.reading));
        if (!id) continue;
        if (out[i].kind == ContextReading::Kind::Syllable && *id == out[i].syllable)
          wordsScore = score.score;
        if (best && score.score <= bestScore) continue;
        best = id;
        bestScore = score.score;
      }
      if (role == ModelRole::kOverrule &&
          (!wordsScore || bestScore - *wordsScore < kOverruleMargin))
        continue;
      if (best) out[i] = {ContextReading::Kind::Syllable, *best, {}};
    }
  }
}

}  // namespace tolvane
