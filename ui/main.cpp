#include <QApplication>
#include <QScreen>

#include "platform/Error.h"
#include "platform/ProgramFolder.h"
#include "ui/Dialogs.h"
#include "ui/QtText.h"
#include "ui/TfrmMain.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("tolvane"));
  tolvane::QtDialogs dialogs;

  std::filesystem::path programFolder;
  try {
    programFolder = tolvane::ProgramFolder();
  } catch (const tolvane::Error& error) {
    dialogs.Error(nullptr, tolvane::ErrorBoxText(tolvane::QStringFromErrorText(error.what())));
    return 1;
  }

  tolvane::TfrmMain frmMain(programFolder, dialogs);
  // The editors fill their lists from the data files, so they come after the main window has
  // loaded them.
  frmMain.CreateHiddenWindows();

  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect placed = frmMain.frameGeometry();
    placed.moveCenter(screen->availableGeometry().center());
    frmMain.move(placed.topLeft());
  }
  frmMain.show();
  return app.exec();
}
