#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "reading/context/PhraseData.h"
#include "reading/context/PolyphoneModel.h"
#include "reading/context/UserWords.h"
#include "reading/shared/CustomDictionary.h"

namespace tolvane {

// How reading by context reads one character: by a syllable of the phrase data, by a piece of
// the user's own reading, or not at all.
struct ContextReading {
  enum class Kind : std::uint8_t { None, Syllable, User };
  Kind kind = Kind::None;
  SyllableId syllable = 0;
  std::string_view user;  // code page 936 text, for Kind::User

  bool operator==(const ContextReading&) const = default;
};

// The reading of every character of `text` from the words it stands in: the text is segmented
// (SegmentWords); a dictionary word gives its own syllables, a user word its pieces, any other
// character its default reading. With a `model`, the polyphones the words leave open are then
// read by it (ChooseByModel). Then a user entry for a single character replaces that
// character's reading wherever it stands. `dictionary` is the user dictionary consulted, `words`
// its words of two or more characters. The views point into `data`, `words` and `dictionary`.
void ReadByContext(std::span<const char32_t> text, const PhraseData& data, const UserWords& words,
                   const CustomDictionary& dictionary, std::vector<ContextReading>& out,
                   const PolyphoneModel* model = nullptr);

}  // namespace tolvane
