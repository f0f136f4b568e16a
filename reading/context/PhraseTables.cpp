#include "reading/context/PhraseTables.h"

#include <algorithm>

namespace tolvane {

bool PhraseTables::WellFormed(std::size_t syllableCount) const {
  const auto known = [&](SyllableId id) { return id < syllableCount; };
  const std::size_t wordCount = words.size();
  if (characters.size() != readings.size() || characters.size() != spokenReadings.size() ||
      thirdCharacters.size() != wordCount || wordCount >= 0x7FFFFFFF ||
      characters.size() > 0xFFFFFFFFu || bmpFirst.size() != kBmp || bmpDefaults.size() != kBmp ||
      pairedCharacters.size() != kBmp / 64)
    return false;
  const PhraseRuleSyllables& r = rules;
  for (const SyllableId id :
       {r.yi1, r.yi2, r.yi4, r.bu2, r.bu4, r.de5, r.dei3, r.zhe5, r.er5, r.r5})
    if (!known(id)) return false;
  // One pass each, written to run at memory speed: a branch-free fold, then one test.
  bool ok = true;
  for (const PhraseWord& word : words)
    ok &= word.length >= 1 && std::uint64_t{word.begin} + word.length <= characters.size();
  for (std::size_t i = 0; i < readings.size(); ++i) {
    const SyllableId written = readings[i];
    const SyllableId spoken = spokenReadings[i];
    ok &=
        written == kDefaultSyllable ? spoken == kDefaultSyllable : known(written) && known(spoken);
  }
  for (const PhraseFirstCharacter& first : bmpFirst)
    ok &= first.single >= -1 && first.single < static_cast<std::int64_t>(wordCount);
  for (const SyllableId stored : bmpDefaults) ok &= stored == 0 || known(stored - 1);
  if (!ok || !prefixes.WellFormed() || !defaults.WellFormed() || !pairs.WellFormed()) return false;
  for (const PhraseWordRange& range : prefixes.values)
    ok &= range.first <= range.last && range.last <= wordCount;
  for (const SyllableId id : defaults.values) ok &= known(id) || id == 0;
  for (const SyllableId id : pairs.values) ok &= known(id) || id == kDisputedSyllable || id == 0;
  return ok;
}

}  // namespace tolvane
