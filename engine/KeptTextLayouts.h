#pragma once

#include <string_view>

#include "engine/AnnotateLine.h"
#include "platform/TextEncoding.h"
#include "reading/LineReadings.h"
#include "settings/ConversionSettings.h"

// The layouts of reading by context, which keep the text as it is written: a character without a
// reading (a digit, a Latin letter, a punctuation mark) stays where it is and takes its own
// columns, runs of digits and letters stay whole, and a line aligns the same whatever came before
// it. The classic policies keep their own layouts (AnnotateLine) byte for byte.
namespace tolvane {

// Whether `settings` lay a line out with the layouts below.
inline bool KeepsText(const ConversionSettings& settings) {
  return settings.polyphone == PolyphonePolicy::ByContext;
}

// The two-line layouts' pinyin line P and character line H of a piece of a line, going on from
// `position`. Each reading starts in the display column of its character, one column after the
// reading before it at least; a reading wider than its character moves the characters after it
// right. A character without a reading takes its own columns in both lines (blank in P), so runs
// of digits and letters stay whole and a full-width mark moves nothing off its syllable. P never
// ends in blanks: those under unread characters are written before the next reading only. With
// `out` null only `position` moves.
void AppendKeptAlignedLines(LineReadings& readings, std::string_view piece, TextForm form,
                            const ConversionSettings& settings, LinePosition& position,
                            AnnotatedLine* out);

// The readings-only layout's line: every reading in place of its character and every other
// character as it is written. One space parts two readings, and a reading from a run of digits or
// letters ("2024 nián 12 yuè"); punctuation and the text's own spaces stand as written.
void AppendKeptReadingsOnly(LineReadings& readings, std::string_view piece, TextForm form,
                            const ConversionSettings& settings, LinePosition& position,
                            AnnotatedLine* out);

}  // namespace tolvane
