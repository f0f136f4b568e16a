#include "documents/HandoutDocument.h"

#include "documents/DocxDocument.h"
#include "documents/EpubDocument.h"
#include "documents/OdtDocument.h"
#include "platform/Error.h"

namespace tolvane {

void WriteHandoutDocument(DocumentFormat format, const Handout& handout, const PageDesign& design,
                          const std::filesystem::path& target) {
  switch (format) {
    case DocumentFormat::Docx:
      return WriteDocx(handout, design, target);
    case DocumentFormat::Odt:
      return WriteOdt(handout, design, target);
    case DocumentFormat::Epub:
      return WriteEpub(handout, design, target);
    case DocumentFormat::Srt:
    case DocumentFormat::Vtt:
      break;
  }
  throw Error("Subtitles are annotated cue by cue, not written as a handout", target);
}

}  // namespace tolvane
