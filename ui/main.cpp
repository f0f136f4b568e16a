#include <QApplication>
#include <QIcon>
#include <QScreen>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "platform/Error.h"
#include "platform/FileLocations.h"
#include "platform/ProgramFolder.h"
#include "ui/Dialogs.h"
#include "ui/QtText.h"
#include "ui/TfrmMain.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("tolvane"));
  // The menu entry's name: the desktop shows its icon and name for the window.
  QGuiApplication::setDesktopFileName(QStringLiteral("org.example.tolvane"));
  QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("org.example.tolvane")));
  tolvane::QtDialogs dialogs;

  tolvane::FileLocations locations;
  try {
    locations = tolvane::LocateFiles(tolvane::ProgramFolder());
  } catch (const tolvane::Error& error) {
    dialogs.Error(nullptr, tolvane::ErrorBoxText(tolvane::QStringFromErrorText(error.what())));
    return 1;
  }

  tolvane::TfrmMain frmMain(locations, dialogs);
  // The editors fill their lists from the data files, so they come after the main window has
  // loaded them.
  frmMain.CreateHiddenWindows();

  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect placed = frmMain.frameGeometry();
    placed.moveCenter(screen->availableGeometry().center());
    frmMain.move(placed.topLeft());
  }
  frmMain.show();
  if (qEnvironmentVariableIsSet("TOLVANE_STARTUP_BENCH")) {
    // bench/throughput.sh: when the shown window's first events have run, say when (wall-clock
    // nanoseconds, which the script compares with the moment it started the program) and leave
    // without closing, so that nothing is saved.
    QTimer::singleShot(0, [] {
      const auto now = std::chrono::system_clock::now().time_since_epoch();
      std::fprintf(stderr, "shown at %lld ns\n",
                   static_cast<long long>(
                       std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
      std::fflush(stderr);
      std::_Exit(0);
    });
  }
  return app.exec();
}
