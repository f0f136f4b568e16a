#include "ui/Startup.h"

#include <QApplication>
#include <QIcon>
#include <QScreen>
#include <utility>

#include "platform/Error.h"
#include "platform/FileLocations.h"
#include "platform/ProgramFolder.h"
#include "ui/Dialogs.h"
#include "ui/QtText.h"
#include "ui/TfrmMain.h"

namespace tolvane {

std::unique_ptr<TfrmMain> StartMainWindow(
    Dialogs& dialogs, const std::optional<std::filesystem::path>& programFolder) {
  QApplication::setApplicationName(QStringLiteral("tolvane"));
  // The menu entry's name: the desktop shows its icon and name for the window.
  QGuiApplication::setDesktopFileName(QStringLiteral("org.example.tolvane"));
  QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("org.example.tolvane")));

  FileLocations locations;
  try {
    locations = LocateFiles(programFolder ? *programFolder : ProgramFolder());
  } catch (const Error& error) {
    dialogs.Error(nullptr, ErrorBoxText(QStringFromErrorText(error.what())));
    return nullptr;
  }

  auto frmMain = std::make_unique<TfrmMain>(std::move(locations), dialogs);
  // The editors fill their lists from the data files, so they come after the main window has
  // loaded them.
  frmMain->CreateHiddenWindows();

  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect placed = frmMain->frameGeometry();
    placed.moveCenter(screen->availableGeometry().center());
    frmMain->move(placed.topLeft());
  }
  frmMain->show();
  return frmMain;
}

}  // namespace tolvane
