#pragma once

#include <span>
#include <string_view>

#include "engine/AnnotateLine.h"
#include "platform/TextEncoding.h"
#include "reading/LineReadings.h"
#include "settings/ConversionSettings.h"

// The layouts of written pinyin (the orthography switch): each written word set over, before or
// after the characters it writes, instead of each syllable over its character.
namespace tolvane {

// The bytes of characters [begin, end) of a spelled line (OrthographicLine::Characters), and the
// written text of one of its parts in the spelled line.
std::string_view CharactersOf(std::span<const std::string_view> characters, std::size_t begin,
                              std::size_t end);
inline std::string_view WrittenTextOf(std::string_view written, const WrittenPart& part) {
  return written.substr(part.writtenBegin, part.writtenEnd - part.writtenBegin);
}

// The readings-only layout's line: the line as written pinyin spells it, going on from
// `position`: a piece that goes on from an earlier piece of its line is parted from it by a space
// unless it begins with a punctuation mark, and begins with a capital only where a sentence does.
// With `out` null only `position` moves.
void AppendWrittenLine(LineReadings& readings, std::string_view piece, TextForm form,
                       const ConversionSettings& settings, LinePosition& position,
                       AnnotatedLine* out);

// The two-line layouts' pinyin line P and character line H of a piece of a line, going on from
// `position`. P is the written line, its words moved right where needed so that each starts in
// the display column of its first character; a word wider than its characters moves the
// characters after it right. Punctuation is written in P as written pinyin writes it, leaning on
// its word, while H keeps the text's own mark; digits and Latin text stand in both lines. P never
// ends in blanks. With `out` null only `position` moves.
void AppendWrittenAlignedLines(LineReadings& readings, std::string_view piece, TextForm form,
                               const ConversionSettings& settings, LinePosition& position,
                               AnnotatedLine* out);

// The inline layouts: every written word in brackets after its characters (hanpy) or before them
// (pyhan), everything else as it is written.
// A piece begins with a capital only where a sentence does (`position`).
void AppendWrittenInline(LineReadings& readings, std::string_view piece, TextForm form,
                         const ConversionSettings& settings, LinePosition& position,
                         AnnotatedLine& out);

}  // namespace tolvane
