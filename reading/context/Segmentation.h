#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "reading/context/PhraseData.h"
#include "reading/context/UserWords.h"

namespace tolvane {

// One word of a segmented text: where it stands, and where its readings come from.
struct Segment {
  std::uint32_t begin = 0;
  std::uint32_t length = 0;
  const SyllableId* syllables = nullptr;      // a dictionary word: one syllable per character
  const UserWords::Word* userWord = nullptr;  // a user word
  // Neither: a single character that is no word of the dictionary.
};

// Cuts `text` into words by the most probable path over the dictionary's word frequencies (a
// DAG of every dictionary word at every position, best path by dynamic programming from the
// end, as jieba does). A user word outweighs any path through the dictionary over the same
// characters, so it is taken wherever it occurs. Every character lies in exactly one segment.
void SegmentWords(std::span<const char32_t> text, const PhraseData& data, const UserWords& user,
                  std::vector<Segment>& out);

}  // namespace tolvane
