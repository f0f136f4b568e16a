#pragma once

#include <memory>
#include <vector>

#include "reading/ReadingData.h"
#include "tolvane/Options.h"

namespace tolvane {

// A snapshot of `data` with `words` among the user's own words, ahead of those of the data
// folder's user_words.txt (a word in both takes the readings given here); `data` itself when
// there are none. The snapshot shares everything else with `data`, the phrase data among it.
// Raises Error naming the word when a word is malformed (no characters, a blank in it, a
// syllable that is no pinyin, not one syllable per character).
std::shared_ptr<const ReadingData> WithUserWords(const std::shared_ptr<const ReadingData>& data,
                                                 const std::vector<UserWord>& words);

}  // namespace tolvane
