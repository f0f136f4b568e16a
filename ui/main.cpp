#include <QApplication>
#include <memory>

#include "platform/ScratchCleanup.h"
#include "ui/Dialogs.h"
#include "ui/Startup.h"
#include "ui/TfrmMain.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  // A run stopped from outside takes its scratch files with it.
  tolvane::RemoveScratchOnTerminatingSignals();
  tolvane::QtDialogs dialogs;
  const std::unique_ptr<tolvane::TfrmMain> frmMain = tolvane::StartMainWindow(dialogs);
  if (!frmMain) return 1;
  return app.exec();
}
