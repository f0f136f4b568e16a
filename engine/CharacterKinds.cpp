#include "engine/CharacterKinds.h"

#include <unicode/uchar.h>
#include <unicode/uscript.h>

#include <string_view>

namespace tolvane {
namespace {

bool IsOneOf(char32_t cp, std::u32string_view set) { return set.find(cp) != set.npos; }

}  // namespace

bool IsRunCharacter(char32_t cp) {
  const auto c = static_cast<UChar32>(cp);
  const auto type = u_charType(c);
  if (type == U_NON_SPACING_MARK || type == U_COMBINING_SPACING_MARK) return true;
  if (!u_isalnum(c)) return false;
  UErrorCode error = U_ZERO_ERROR;
  return uscript_getScript(c, &error) != USCRIPT_HAN;
}

bool IsRunJoiner(char32_t cp) { return IsOneOf(cp, U".,-'\u2019/:_&+\u00B7\uFF0E"); }

bool IsRunSuffix(char32_t cp) { return IsOneOf(cp, U"%\uFF05\u2030\u00B0\u2103\u2109+"); }

bool IsClosingPunctuation(char32_t cp) {
  const auto type = u_charType(static_cast<UChar32>(cp));
  if (type == U_END_PUNCTUATION || type == U_FINAL_PUNCTUATION) return true;
  return IsOneOf(cp,
                 U"\u3002\uFF0C\u3001\uFF1B\uFF1A\uFF1F\uFF01\uFF0E\u2026\u2025\u30FB"
                 U".,;:?!%\uFF05");
}

bool IsOpeningPunctuation(char32_t cp) {
  const auto type = u_charType(static_cast<UChar32>(cp));
  return type == U_START_PUNCTUATION || type == U_INITIAL_PUNCTUATION;
}

}  // namespace tolvane
