#pragma once

#include <filesystem>
#include <string>

#include "documents/Handout.h"
#include "documents/PageDesign.h"

// A handout as one HTML5 page: each reading in ruby markup over its unit, in the design's style
// sheet (the EPUB's: fonts, sizes, spacing, tone colours, the paper and margins for printing),
// headings as headings, and the colophon crediting the data.
namespace tolvane {

std::string HandoutHtml(const Handout& handout, const PageDesign& design);

// Writes HandoutHtml to `target`, replacing it only once all is written.
void WriteHandoutHtml(const Handout& handout, const PageDesign& design,
                      const std::filesystem::path& target);

}  // namespace tolvane
