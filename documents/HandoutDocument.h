#pragma once

#include <filesystem>

#include "documents/DocumentFormat.h"
#include "documents/Handout.h"
#include "documents/PageDesign.h"

namespace tolvane {

// Writes a handout as the document `format` names (DOCX, ODT or EPUB); raises Error naming the
// target when it cannot, and for a subtitle format, which is no handout.
void WriteHandoutDocument(DocumentFormat format, const Handout& handout, const PageDesign& design,
                          const std::filesystem::path& target);

}  // namespace tolvane
