#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "reading/context/PhraseData.h"
#include "reading/context/PolyphoneModel.h"
#include "reading/context/ReadingBasis.h"
#include "reading/context/Segmentation.h"
#include "reading/context/UserWords.h"
#include "reading/shared/CustomDictionary.h"

namespace tolvane {

// How reading by context reads one character: by a syllable of the phrase data, by a piece of
// the user's own reading, by a syllable of the phrase data that a user's own word gives (written
// as a syllable, never changed by the rules of speech), or not at all.
struct ContextReading {
  enum class Kind : std::uint8_t { None, Syllable, User, UserSyllable };
  Kind kind = Kind::None;
  SyllableId syllable = 0;
  std::string_view user;  // code page 936 text, for Kind::User

  bool operator==(const ContextReading&) const = default;
};

// What reading by context writes as speech has it: a word's light syllables with the neutral
// tone (péngyou) rather than their full tones, the 儿 of erhua as r (with light syllables only:
// full tones write every syllable as it is read alone), and 一 and 不 with their tone changes.
struct SpokenStyle {
  bool lightSyllables = true;
  bool erhua = true;
  bool sandhi = false;

  bool operator==(const SpokenStyle&) const = default;
};

// The reading of every character of `text` from the words it stands in: the text is segmented
// (SegmentWords); a dictionary word gives its own syllables, a user word its pieces, any other
// character its default reading (a user's own word gives no reading where it has "-"). With a
// `model`, the polyphones the words leave open are then read by it (ChooseByModel); the particles
// 地, 得 and 着 are read by their role. Then `style` says how speech changes them, and last a user
// entry for a single character replaces that character's reading wherever it stands. `dictionary`
// is the user dictionary consulted, `words` its words of two or more characters. The views point
// into `data`, `words` and `dictionary`. With `segmentsOut`, the segmentation read by is left there
// for a caller that needs it too; with `basisOut`, what each character's reading was read by (one
// per character).
void ReadByContext(std::span<const char32_t> text, const PhraseData& data, const UserWords& words,
                   const CustomDictionary& dictionary, const SpokenStyle& style,
                   std::vector<ContextReading>& out, const PolyphoneModel* model = nullptr,
                   std::vector<Segment>* segmentsOut = nullptr,
                   std::vector<ReadingBasis>* basisOut = nullptr);

}  // namespace tolvane
