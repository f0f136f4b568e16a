// Not a test: writes the PDF that the window's 导出PDF… writes, for a source file and the
// default settings (tone marks, first reading; --polyphone context for reading by context), so
// that bench/book_cost.sh can time it and tests/screenshots can show a page.
//
//   ui_pdf_export SOURCE TARGET.pdf [--context]
#include <QApplication>
#include <QPdfWriter>
#include <chrono>
#include <cstdio>

#include "engine/RubyLine.h"
#include "platform/ProgramFolder.h"
#include "reading/Session.h"
#include "reading/classic/ReadingTable.h"
#include "reading/shared/DataFiles.h"
#include "ui/RubyPageLayout.h"

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (argc < 3) {
    std::fprintf(stderr, "usage: ui_pdf_export SOURCE TARGET.pdf [--context]\n");
    return 2;
  }
  try {
    tolvane::Session session;
    tolvane::StartSession(session, std::filesystem::path(TOLVANE_SOURCE_DIR) / "data");
    tolvane::LineReadings readings(session.Data());
    tolvane::ConversionSettings settings;
    if (argc > 3 && std::string(argv[3]) == "--context")
      settings.polyphone = tolvane::PolyphonePolicy::ByContext;
    const auto start = std::chrono::steady_clock::now();
    const auto document = tolvane::ReadRubyDocument(readings, argv[1], settings);
    QPdfWriter writer(QString::fromLocal8Bit(argv[2]));
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setResolution(300);
    writer.setCreator(QStringLiteral("Tolvane"));
    const int pages = tolvane::RubyPageLayout::Print(writer, document);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%d pages in %.2f s\n", pages, seconds);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "ui_pdf_export: %s\n", error.what());
    return 1;
  }
  return 0;
}
