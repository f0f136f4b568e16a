#pragma once

#include <QString>
#include <filesystem>
#include <span>

#include "documents/Handout.h"
#include "documents/PageDesign.h"

// The document formats a handout is exported to, chosen by the target's extension: one row per
// format, so that a new format is one more row.
namespace tolvane {

using HandoutWriter = void (*)(const Handout& handout, const PageDesign& design,
                               const std::filesystem::path& target);

struct HandoutFormat {
  const char* filterName;                   // as the save dialog lists it
  std::span<const char* const> extensions;  // lower case, with the dot; the first is the default
  HandoutWriter write;
};

// Every format, the PDF first.
std::span<const HandoutFormat> HandoutFormats();

// The format of `target` by its extension (any case); a name of no listed format is written as
// the first, the PDF.
const HandoutFormat& HandoutFormatOf(const std::filesystem::path& target);

// The save dialog's filter: "PDF (*.pdf);;Word (DOCX) (*.docx);;...;;HTML (*.html *.htm)".
QString HandoutFilter();

// Writes `handout` to `target` in the format its name asks for.
void WriteHandout(const Handout& handout, const PageDesign& design,
                  const std::filesystem::path& target);

// The PDF of a handout: the design's paper, fonts embedded, the title as the document's title.
void WritePdf(const Handout& handout, const PageDesign& design,
              const std::filesystem::path& target);
// The same, returning the number of pages written.
int WriteCountedPdf(const Handout& handout, const PageDesign& design,
                    const std::filesystem::path& target);

}  // namespace tolvane
