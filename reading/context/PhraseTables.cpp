#include "reading/context/PhraseTables.h"

namespace tolvane {

bool PhraseTables::WellFormed(std::size_t syllableCount) const {
  const std::size_t wordCount = words.size();
  if (characters.size() != readings.size() || characters.size() != spokenReadings.size() ||
      thirdCharacters.size() != wordCount || wordCount >= 0x7FFFFFFF ||
      characters.size() > 0xFFFFFFFFu || bmpFirst.size() != kBmp || bmpDefaults.size() != kBmp ||
      pairedCharacters.size() != kBmp / 64 || syllableCount >= kDisputedSyllable)
    return false;
  const PhraseRuleSyllables& r = rules;
  for (const SyllableId id :
       {r.yi1, r.yi2, r.yi4, r.bu2, r.bu4, r.de5, r.dei3, r.zhe5, r.er5, r.r5})
    if (id >= syllableCount) return false;
  return prefixes.WellFormed() && defaults.WellFormed() && pairs.WellFormed();
}

}  // namespace tolvane
