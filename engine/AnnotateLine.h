#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/LineBuffer.h"
#include "platform/TextEncoding.h"
#include "reading/LineReadings.h"
#include "settings/ConversionSettings.h"

namespace tolvane {

// The run's separator: " " or "". A batch run sets it to " " before its first line and carries
// it from line to line; the preview always uses " ".
using Separator = std::string;
inline const Separator kStartSeparator = " ";

// `n` spaces when n > 0, else the empty string.
std::string FillSpace(long long n);

// The working strings of one line, kept by the caller so that annotating many lines reuses their
// memory instead of allocating per line.
struct AnnotatedLine {
  LineBuffer pinyin;      // P: the readings with their separators (inline layouts: everything)
  LineBuffer characters;  // H: the characters, each moved to the column of its reading
  std::string_view lines[2];
  std::size_t count = 0;  // how many of `lines` are the output: 1 or 2

  std::vector<std::string> Lines() const { return std::vector<std::string>(lines, lines + count); }
};

// Annotates one line (without its line end), held in `form`, in the layout of `settings` and
// leaves the output lines, in the same form, in `out.lines` (views into `out` and `line`, valid
// until the next call). The readings come from `readings`. Reads and may change `separator`.
// Raises the lookup's error when a tone glyph is missing. In Unicode text the aligned layouts
// count display columns (DisplayColumns); in code page 936 text a column is a byte.
void AnnotateLine(LineReadings& readings, std::string_view line, TextForm form,
                  const ConversionSettings& settings, Separator& separator, AnnotatedLine& out);

// Where annotation stands inside a line annotated in pieces (a line longer than a piece of the
// source, LineCutPoint): whether the next piece begins the line, and the columns the aligned
// layouts have reached on it.
struct LinePosition {
  bool lineStart = true;
  std::size_t widthColumns = 0;
  std::size_t pinyinColumns = 0;
  std::size_t characterColumns = 0;
  // The layouts that keep the text (reading by context, KeptTextLayouts): the columns of the
  // pinyin line written so far, and whether the last character had a reading or was a letter or
  // digit left unread.
  std::size_t pinyinWritten = 0;
  bool afterReading = false;
  bool afterRun = false;
  // Written pinyin: whether the text that follows begins a sentence (and so a capital).
  bool sentenceStart = true;
};

// Whether the annotation of a line's piece depends on the pieces before it beyond its line start
// (the columns of the aligned layouts, the spacing of the readings-only layout of reading by
// context), so that a chunk beginning inside a line needs the position where the last one ended.
bool PiecesCarryPosition(const ConversionSettings& settings);

// Annotates one piece of a line as AnnotateLine does, going on from `position` and leaving it
// where the piece ends: each output line of the whole line is the same output line of its pieces
// put together (the second line of the aligned layouts too, so it can wait for the line's end).
void AnnotatePiece(LineReadings& readings, std::string_view piece, TextForm form,
                   const ConversionSettings& settings, Separator& separator, LinePosition& position,
                   AnnotatedLine& out);

// Moves `separator` and `position` over `piece` as AnnotatePiece does, without the output.
void SkipPiece(LineReadings& readings, std::string_view piece, TextForm form,
               const ConversionSettings& settings, Separator& separator, LinePosition& position);

// The same, returning the output lines.
std::vector<std::string> AnnotateLine(LineReadings& readings, std::string_view line,
                                      const ConversionSettings& settings, Separator& separator,
                                      TextForm form = TextForm::Cp936);

// The display reading of every character of a line, in order (" " for a character without
// one), in the form of the line. The views stay valid as long as `readings` lives.
std::vector<std::string_view> ReadingsOfLine(LineReadings& readings, std::string_view line,
                                             TextForm form, const ConversionSettings& settings);

// The lines the one-line preview shows for `text`: the separator is always " " and the two-line
// layouts show the text as typed instead of an aligned character line.
std::vector<std::string> PreviewLines(LineReadings& readings, std::string_view text,
                                      const ConversionSettings& settings,
                                      TextForm form = TextForm::Cp936);

}  // namespace tolvane
