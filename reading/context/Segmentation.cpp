#include "reading/context/Segmentation.h"

#include <limits>

namespace tolvane {
namespace {

// Per character of a user word, more than the whole dictionary path could weigh: a log
// probability is never below -40 per word in practice (one in 10^17), so no line of ordinary
// length comes near.
constexpr double kUserWordWeight = 1.0e6;

struct Choice {
  double score = -std::numeric_limits<double>::infinity();
  Segment segment;
};

}  // namespace

void SegmentWords(std::span<const char32_t> text, const PhraseData& data, const UserWords& user,
                  std::vector<Segment>& out) {
  out.clear();
  const std::size_t n = text.size();
  // Scratch memory only, reused from line to line; every entry used is set before it is read,
  // so nothing passes from one call to the next.
  thread_local std::vector<Choice> best;
  if (best.size() < n + 1) best.resize(n + 1);
  best[n].score = 0.0;
  best[n].segment = {};
  const bool userWords = !user.empty();
  for (std::size_t i = n; i-- > 0;) {
    Choice& choice = best[i];
    choice = Choice{};
    const auto offer = [&](double score, std::size_t length, const SyllableId* syllables,
                           const UserWords::Word* word) {
      const double total = score + best[i + length].score;
      // On a tie the longer word wins, so that the result does not depend on the order of
      // the candidates.
      if (total > choice.score || (total == choice.score && length > choice.segment.length)) {
        choice.score = total;
        choice.segment = {static_cast<std::uint32_t>(i), static_cast<std::uint32_t>(length),
                          syllables, word};
      }
    };
    bool single = false;
    data.ForEachWordAt(text.subspan(i), [&](const PhraseData::WordMatch& match) {
      single = single || match.length == 1;
      offer(match.logProbability, match.length, match.readings.data(), nullptr);
    });
    if (!single) offer(data.UnknownLogProbability(), 1, nullptr, nullptr);
    if (userWords) {
      user.ForEachWordAt(text.subspan(i), [&](const UserWords::Word& word) {
        offer(kUserWordWeight * static_cast<double>(word.characters.size()), word.characters.size(),
              nullptr, &word);
      });
    }
  }
  for (std::size_t i = 0; i < n; i += best[i].segment.length) out.push_back(best[i].segment);
}

}  // namespace tolvane
