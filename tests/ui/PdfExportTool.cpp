// Not a test: writes the PDF that the window's 导出PDF… writes, for a source file, the default
// settings (tone marks, first reading; --context for reading by context) and the default page
// design or a saved one, so that bench/book_cost.sh can time it and a page can be looked at.
//
//   ui_pdf_export SOURCE TARGET.pdf [--context] [--design FILE]
#include <QApplication>
#include <chrono>
#include <cstdio>
#include <cstring>

#include "documents/Handout.h"
#include "documents/PageDesign.h"
#include "reading/Session.h"
#include "ui/HandoutExport.h"

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (argc < 3) {
    std::fprintf(stderr, "usage: ui_pdf_export SOURCE TARGET.pdf [--context] [--design FILE]\n");
    return 2;
  }
  try {
    tolvane::ConversionSettings settings;
    tolvane::PageDesign design;
    for (int i = 3; i < argc; ++i) {
      if (std::strcmp(argv[i], "--context") == 0) {
        settings.polyphone = tolvane::PolyphonePolicy::ByContext;
      } else if (std::strcmp(argv[i], "--design") == 0 && i + 1 < argc) {
        design = tolvane::ReadPageDesign(argv[++i]);
      } else {
        std::fprintf(stderr, "ui_pdf_export: unknown argument %s\n", argv[i]);
        return 2;
      }
    }
    tolvane::Session session;
    tolvane::StartSession(session, std::filesystem::path(TOLVANE_SOURCE_DIR) / "data");
    tolvane::LineReadings readings(session.Data());
    const auto start = std::chrono::steady_clock::now();
    const tolvane::Handout handout = tolvane::ReadHandout(readings, argv[1], settings, design);
    const int pages = tolvane::WriteCountedPdf(handout, design, argv[2]);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%d pages in %.2f s\n", pages, seconds);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "ui_pdf_export: %s\n", error.what());
    return 1;
  }
  return 0;
}
