#pragma once

#include <filesystem>

#include "documents/Handout.h"
#include "documents/PageDesign.h"

namespace tolvane {

// Writes the handout as an OpenDocument text (LibreOffice's own format) with native ruby: each
// annotated unit is one ruby of its characters and reading, bare characters ordinary text, and the
// page, faces, sizes, line spacing, tone colours and page numbers as the design asks. An existing
// target is replaced whole, and only once the document is written; raises Error naming the target
// when it cannot be.
void WriteOdt(const Handout& handout, const PageDesign& design,
              const std::filesystem::path& target);

}  // namespace tolvane
