#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/TextEncoding.h"
#include "reading/context/ContextReading.h"
#include "reading/context/PhraseData.h"
#include "reading/context/UserWords.h"
#include "reading/shared/PositionReading.h"
#include "reading/shared/ToneMarks.h"
#include "settings/ConversionSettings.h"

namespace tolvane {

// Reading by context for one combination of settings: the user's words of the consulted
// dictionary, and every syllable rendered in the tone style as the classic lookup renders a
// reading (numbered as it is, tone marks from the tone glyphs, or no tone), worked out once.
// It reads the data it was made from, which must outlive it, and belongs to one thread at a time
// (it fills its caches as it goes).
class ContextResolver {
 public:
  // `dictionary` is the user dictionary the settings consult; `syllables` the toneless syllables
  // that count as pinyin when a user's reading is cut (KnownSyllables); `model` the polyphone
  // model, if there is one; `ownWords` the user's own words of any length, if any (UserWords).
  ContextResolver(const PhraseData& data, const CustomDictionary& dictionary,
                  const ToneVowels& toneVowels, const std::unordered_set<std::string>& syllables,
                  const ConversionSettings& settings, const PolyphoneModel* model = nullptr,
                  const UserWordList* ownWords = nullptr);

  // The characters of `line` (held in `form`; views into it), their code points (U+FFFD for
  // bytes that decode to nothing), and the reading of each; with `segments`, the words they were
  // read by.
  void ReadLine(std::string_view line, TextForm form, std::vector<std::string_view>& characters,
                std::vector<char32_t>& codePoints, std::vector<PositionReading>& readings,
                std::vector<Segment>* segments = nullptr) const;

  // What each reading of the characters `codePoints` (a line as ReadLine decodes it) is read by,
  // one per character: the same reading, worked out again with its reasons (ReadingBasis).
  void ReadBases(std::span<const char32_t> codePoints, std::vector<ReadingBasis>& bases) const;

  // The user's words it reads with, for a caller that segments a line as it does.
  const UserWords& Words() const { return *words_; }

 private:
  struct Rendered {
    std::string display;  // code page 936
    std::string width;
    std::string displayUnicode;
    bool done = false;
  };
  const Rendered& RenderSyllable(SyllableId id) const;
  const Rendered& RenderUser(std::string_view reading) const;
  PositionReading Position(const Rendered& rendered, TextForm form) const;

  ConversionSettings settings_;
  const PhraseData& data_;
  const PolyphoneModel* model_;
  const CustomDictionary& dictionary_;
  const ToneVowels& toneVowels_;
  std::unique_ptr<UserWords> words_;
  mutable std::vector<Rendered> syllables_;
  mutable std::unordered_map<const char*, Rendered> user_;
  mutable std::vector<ContextReading> scratch_;
};

// The toneless syllables that count as pinyin when a user's reading is cut into syllables: those
// of the phrase data and of `readingLists` (numbered ReadingLists, syllables joined by "/").
std::unordered_set<std::string> KnownSyllables(const PhraseData& data,
                                               const std::vector<std::string_view>& readingLists);

}  // namespace tolvane
