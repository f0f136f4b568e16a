#pragma once

#include <filesystem>

#include "documents/Handout.h"
#include "documents/PageDesign.h"

namespace tolvane {

// Writes the handout as a Word document (Office Open XML) with the word processor's own phonetic
// guide: each annotated unit is one ruby of its characters and reading, so Word and LibreOffice
// show the readings above the characters and keep them as the teacher goes on editing. Bare
// characters are ordinary text. The page, faces, sizes, line spacing, tone colours and page
// numbers follow the design. An existing target is replaced whole, and only once the document is
// written; raises Error naming the target when it cannot be.
void WriteDocx(const Handout& handout, const PageDesign& design,
               const std::filesystem::path& target);

}  // namespace tolvane
