#pragma once

#include <string_view>
#include <vector>

#include "reading/LineReadings.h"
#include "reading/context/ReadingBasis.h"
#include "settings/ConversionSettings.h"

// Which readings of a line reading by context settled, and which it left to chance: a
// proofreader marks the polyphones whose reading came from the character's default alone or from
// a close call of the polyphone model. Asked apart from the reading of a line, which does not
// work this out.
namespace tolvane {

struct CharacterConfidence {
  std::string_view character;  // the character's bytes in the line
  char32_t codePoint = 0;
  // More than one reading in the character data: the built-in table of readings, or the
  // candidates of the polyphone model.
  bool polyphone = false;
  ReadingBasis basis = ReadingBasis::kNone;

  // A polyphone whose reading nothing settled (Unsettled).
  bool unsettled() const { return polyphone && Unsettled(basis); }
};

// Whether `cp` has more than one reading in the character data: of `data` (loads the phrase
// data), or of the built-in table and `model` (which may be null).
bool IsPolyphone(const ReadingData& data, char32_t cp);
bool IsPolyphone(const PolyphoneModel* model, char32_t cp);

// Every character of the UTF-8 `line` with what its reading by context under `settings` (its
// tone style, dictionary and way of writing speech; the policy is taken to be by context
// whatever it says) was read by, in order: the characters ForEachReadingOfLine visits. Loads the
// phrase data the first time.
void ConfidenceOfLine(LineReadings& readings, std::string_view line,
                      const ConversionSettings& settings, std::vector<CharacterConfidence>& out);

}  // namespace tolvane
