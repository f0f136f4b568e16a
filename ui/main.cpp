#include <QApplication>
#include <memory>

#include "ui/Dialogs.h"
#include "ui/Startup.h"
#include "ui/TfrmMain.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  tolvane::QtDialogs dialogs;
  const std::unique_ptr<tolvane::TfrmMain> frmMain = tolvane::StartMainWindow(dialogs);
  if (!frmMain) return 1;
  return app.exec();
}
