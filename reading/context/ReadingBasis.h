#pragma once

#include <cstdint>

namespace tolvane {

// What reading by context read a character by, strongest evidence aside, for a caller that wants
// to know how sure the reading is (a proofreader marks the ones nothing settled). The normal
// reading of a line does not work it out.
enum class ReadingBasis : std::uint8_t {
  kNone,        // no reading: no data has the character
  kDefault,     // the character's default: nothing around it spoke
  kUsual,       // the default, which the model holds to be the character's reading nearly
                // everywhere (PolyphoneModel::UsualReading), so it was not asked
  kWord,        // a syllable of the dictionary word the character stands in
  kNeighbours,  // a pair of characters or a character rule
  kModel,       // the polyphone model, surer of its reading than of any other by kClearMargin
  kModelClose,  // the polyphone model, by less than that
  kRole,        // the role of a particle (地, 得, 着)
  kUserWord,    // a user's word: a dictionary's word of two characters or an own word
  kUserEntry,   // a user dictionary's entry for the character alone
};

// How much surer (in logits) the model must be of its reading than of the next before its
// choice counts as settled: odds of about seven to one between the two.
inline constexpr float kClearMargin = 2.0f;

// Whether a reading so read was left to chance: the default nothing confirmed, or a close call
// of the model.
constexpr bool Unsettled(ReadingBasis basis) {
  return basis == ReadingBasis::kDefault || basis == ReadingBasis::kModelClose;
}

}  // namespace tolvane
