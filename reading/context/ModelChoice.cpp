#include "reading/context/ModelChoice.h"

#include <optional>
#include <utility>

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
  std::vector<std::pair<std::size_t, ModelRole>> decided;  // positions the model may change
  ModelStates states;
  std::vector<ReadingScore> scores;
};

// The best of the model's candidates that the phrase data can write, where the model may change
// `current`: freely, or to overrule only by kOverruleMargin over `current`'s own score.
// `margin`, when given, is set to how much surer the model is of the best than of the next.
std::optional<SyllableId> ModelReading(std::span<const ReadingScore> scores, const PhraseData& data,
                                       const PolyphoneModel& model, const ContextReading& current,
                                       ModelRole role, float* margin = nullptr) {
  std::optional<SyllableId> best;
  float bestScore = 0;
  std::optional<float> nextScore;
  std::optional<float> currentScore;
  for (const ReadingScore& score : scores) {
    const auto id = data.FindSyllable(model.Reading(score.reading));
    if (!id) continue;
    if (current.kind == ContextReading::Kind::Syllable && *id == current.syllable)
      currentScore = score.score;
    if (best && score.score <= bestScore) {
      if (!nextScore || score.score > *nextScore) nextScore = score.score;
      continue;
    }
    if (best) nextScore = bestScore;
    best = id;
    bestScore = score.score;
  }
  if (margin != nullptr) *margin = nextScore ? bestScore - *nextScore : kClearMargin;
  if (role == ModelRole::kOverrule &&
      (!currentScore || bestScore - *currentScore < kOverruleMargin))
    return std::nullopt;
  return best;
}

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
                   std::vector<ContextReading>& out, std::vector<ReadingBasis>* basisOut) {
  thread_local ModelScratch scratch;
  // Which positions the model decides depends on the word evidence alone, never on what the
  // model chose elsewhere: all of them first, so that each run knows how far it must go.
  scratch.decided.clear();
  for (const Segment& segment : segments) {
    for (std::uint32_t k = 0; k < segment.length; ++k) {
      const std::size_t i = segment.begin + k;
      const ModelRole role = ModelRoleAt(text, segment, k, data, model, out[i]);
      if (role != ModelRole::kNone) scratch.decided.emplace_back(i, role);
    }
  }
  // One run per window for the decided positions in a row that share it, forward only as far
  // as the last of them and backward only as far as the first.
  for (std::size_t n = 0; n < scratch.decided.size();) {
    const TextWindow window = ClauseAround(text, scratch.decided[n].first, kModelReach);
    std::size_t m = n + 1;
    while (m < scratch.decided.size() &&
           ClauseAround(text, scratch.decided[m].first, kModelReach) == window)
      ++m;
    model.Run(text.subspan(window.begin, window.end - window.begin), scratch.states,
              scratch.decided[n].first - window.begin, scratch.decided[m - 1].first - window.begin);
    for (; n < m; ++n) {
      const auto [i, role] = scratch.decided[n];
      model.ScoresAt(scratch.states, i - window.begin, text[i], scratch.scores);
      float margin = 0;
      const auto best = ModelReading(scratch.scores, data, model, out[i], role,
                                     basisOut != nullptr ? &margin : nullptr);
      if (!best) continue;
      out[i] = {ContextReading::Kind::Syllable, *best, {}};
      if (basisOut != nullptr)
        (*basisOut)[i] = role == ModelRole::kOverrule || margin >= kClearMargin
                             ? ReadingBasis::kModel
                             : ReadingBasis::kModelClose;
    }
  }
}

}  // namespace tolvane
