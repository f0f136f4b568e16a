#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "documents/Handout.h"
#include "documents/PageDesign.h"
#include "documents/ProofreadingText.h"
#include "engine/RubyLine.h"
#include "reading/LineReadings.h"
#include "settings/ConversionSettings.h"

// A proofread text annotated with its reader's chosen readings in place of the read ones, for
// the proofreading view and for every document written from it.
namespace tolvane {

// One line of a text as a handout cuts it (at LF, less a CR before it), with the code point
// index of its first character in the whole text.
struct PlacedLine {
  std::string_view text;
  std::size_t firstCodePoint = 0;
};
std::vector<PlacedLine> PlacedLinesOf(std::string_view textUtf8);

// A line's units with the chosen syllables (one per code point of the line, "" where the reading
// stays as read) over their characters, spelled in the settings' tone style. A written word
// (the orthography switch) with a chosen syllable takes the others from reading by context, and
// keeps its capital and apostrophes.
RubyLine CorrectedRubyLine(LineReadings& readings, std::string_view line,
                           std::span<const std::string> chosen, const ConversionSettings& settings);

// The handout of a proofread text: HandoutOfText with the corrections applied before the page
// design chooses which readings show.
Handout ProofreadHandout(LineReadings& readings, const ProofreadingText& text,
                         const ConversionSettings& settings, const PageDesign& design);

}  // namespace tolvane
