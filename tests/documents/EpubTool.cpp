// Writes an EPUB of a text file, read by context with tone marks, for checking books with
// epubcheck and for measuring how long a book takes:
//
//   EpubTool SOURCE TARGET [DESIGN]
//
// DESIGN is a saved page design; without one the default design is used. Reads the data the
// build ships in its program folder.
#include <iostream>

#include "documents/EpubDocument.h"
#include "documents/Handout.h"
#include "platform/Error.h"
#include "reading/LineReadings.h"
#include "reading/Session.h"

int main(int argc, char** argv) {
  if (argc < 3 || argc > 4) {
    std::cerr << "usage: EpubTool SOURCE TARGET [DESIGN]\n";
    return 2;
  }
  try {
    tolvane::Session session;
    tolvane::StartSession(session, std::filesystem::path(TOLVANE_PROGRAM_DIR));
    tolvane::ConversionSettings settings;
    settings.polyphone = tolvane::PolyphonePolicy::ByContext;
    settings.toneStyle = tolvane::ToneStyle::Marked;
    settings.outputFormat = tolvane::OutputFormat::html;
    const tolvane::PageDesign design =
        argc == 4 ? tolvane::ReadPageDesign(argv[3]) : tolvane::PageDesign();
    tolvane::LineReadings readings(session.Data());
    const tolvane::Handout handout = tolvane::ReadHandout(readings, argv[1], settings, design);
    tolvane::WriteEpub(handout, design, argv[2]);
  } catch (const tolvane::Error& e) {
    std::cerr << e.what() << "\n";
    return 1;
  }
  return 0;
}
