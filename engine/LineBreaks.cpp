#include "engine/LineBreaks.h"

#include <unicode/uchar.h>

#include "engine/CharacterKinds.h"

namespace tolvane {

bool BreakContext::MayBreakBefore(char32_t next) const {
  if (lineStart_) return false;
  // A space stays at the end of the line it follows, so no line begins with one.
  if (u_isUWhiteSpace(static_cast<UChar32>(next))) return false;
  if (IsClosingPunctuation(next) || IsOpeningPunctuation(before_)) return false;
  if (IsRunCharacter(before_)) {
    if (IsRunCharacter(next) || IsRunJoiner(next) || IsRunSuffix(next)) return false;
  }
  // "9.|9", "e-|mail": a joiner between two run characters holds them together.
  if (IsRunJoiner(before_) && IsRunCharacter(beforeThat_) && IsRunCharacter(next)) return false;
  return true;
}

void BreakContext::Pass(char32_t next) {
  lineStart_ = false;
  beforeThat_ = before_;
  before_ = next;
}

}  // namespace tolvane
