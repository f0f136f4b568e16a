#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "documents/PageDesign.h"
#include "engine/RubyLine.h"

// The faces and sizes a word processor's document sets a handout in (DOCX and ODT alike), so
// that a design looks the same whichever of the two a teacher edits.
namespace tolvane {

struct DocumentTypography {
  std::string textFont;     // the characters' family
  std::string readingFont;  // the readings' family
  double textPt;            // a line's characters
  double headingPt;         // a heading's characters
};

// The design's faces and sizes. An empty family in the design takes a default: the document is
// opened on machines other than the one that wrote it, so the defaults are free faces that are
// common on every system a teacher uses (and that a word processor replaces by a like face where
// they are missing) rather than whatever this machine has installed.
DocumentTypography TypographyOf(const PageDesign& design);

// The readings' size over characters of `basePt` under the design.
double ReadingPt(const PageDesign& design, double basePt);

// What a reading is padded with on each side, so that the readings of neighbouring characters
// never run together: the word processors set a ruby as wide as its reading and put the next one
// right against it, and they take no spacing of the reading's letters into account. Thin spaces
// (U+2009, about a fifth of the reading's size in most faces), one per fifth of the design's
// syllable gap and at least one; empty for no gap.
std::string ReadingPadding(const PageDesign& design);

// A decimal number as documents write it: at most two decimals, no trailing zeros, and a point
// whatever the locale ("10.5", "16").
std::string DecimalText(double value);

// The syllables of a unit's reading, each to be coloured by its own tone: the reading whole when
// the unit is one character; for a written word over several characters, the syllables when its
// reading splits into them without guessing (tone digits end each syllable), and none when it
// does not (tone marks do not say where one syllable ends), so that the word stays uncoloured
// rather than coloured wrongly.
std::vector<std::string_view> ColouredSyllables(const RubyCharacter& unit);

}  // namespace tolvane
