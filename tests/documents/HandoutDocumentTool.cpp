// Not a test: writes a handout of a source file as a document, read by context in tone marks
// with the default design or a saved one, so that the LibreOffice test can open what the writers
// write and bench/ can time them.
//
//   handout_document SOURCE TARGET FORMAT [DESIGN]
#include <cstdio>
#include <string_view>

#include "documents/DocxDocument.h"
#include "documents/EpubDocument.h"
#include "documents/Handout.h"
#include "documents/OdtDocument.h"
#include "documents/PageDesign.h"
#include "reading/Session.h"

namespace {

using Writer = void (*)(const tolvane::Handout&, const tolvane::PageDesign&,
                        const std::filesystem::path&);

struct Format {
  std::string_view name;
  Writer write;
};

constexpr Format kFormats[] = {
    {"docx", tolvane::WriteDocx},
    {"odt", tolvane::WriteOdt},
    {"epub", tolvane::WriteEpub},
};

int Usage() {
  std::fprintf(stderr, "usage: handout_document SOURCE TARGET FORMAT [DESIGN]\nformats:");
  for (const Format& format : kFormats)
    std::fprintf(stderr, " %.*s", static_cast<int>(format.name.size()), format.name.data());
  std::fprintf(stderr, "\n");
  return 2;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc < 4 || argc > 5) return Usage();
  const std::string_view name = argv[3];
  const Format* format = nullptr;
  for (const Format& each : kFormats)
    if (each.name == name) format = &each;
  if (format == nullptr) return Usage();
  try {
    tolvane::Session session;
    tolvane::StartSession(session, std::filesystem::path(TOLVANE_PROGRAM_DIR));
    tolvane::LineReadings readings(session.Data());
    tolvane::ConversionSettings settings;
    settings.polyphone = tolvane::PolyphonePolicy::ByContext;
    settings.toneStyle = tolvane::ToneStyle::Marked;
    const tolvane::PageDesign design =
        argc == 5 ? tolvane::ReadPageDesign(argv[4]) : tolvane::PageDesign();
    const tolvane::Handout handout = tolvane::ReadHandout(readings, argv[1], settings, design);
    format->write(handout, design, argv[2]);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "handout_document: %s\n", error.what());
    return 1;
  }
  return 0;
}
