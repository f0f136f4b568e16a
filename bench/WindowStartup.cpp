// Starts the desktop program's main window exactly as tolvane does (the same StartMainWindow) and,
// once the shown window's first events have run, prints "shown at N ns" (wall-clock nanoseconds
// since the epoch, for the caller to compare with the moment it started this program) and leaves
// without closing the window, so that nothing is saved. bench/throughput.sh times the start-up
// with it; tests/install/install_test.sh starts an installed copy's window with it.
//
//   tolvane-window-startup [PROGRAM-FOLDER]   (default: this program's folder)
//
// A box that would wait for a person instead prints its text on stderr, and the run fails.
#include <QApplication>
#include <QStringList>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>

#include "ui/Dialogs.h"
#include "ui/Startup.h"
#include "ui/TfrmMain.h"

namespace {

class NoDialogs : public tolvane::Dialogs {
 public:
  bool failed = false;
  bool Confirm(QWidget*, const QString& text) override { return Fail(text), false; }
  void Message(QWidget*, const QString& text) override { Fail(text); }
  void Error(QWidget*, const QString& text) override { Fail(text); }
  QString OpenFileName(QWidget*, const QString&, const QString&) override {
    return Fail(QStringLiteral("open dialog")), QString();
  }
  QString SaveFileName(QWidget*, const QString&, const QString&) override {
    return Fail(QStringLiteral("save dialog")), QString();
  }
  void OpenUrl(const QUrl& url) override { Fail(url.toString()); }
  void PrintPreview(QWidget*, const std::function<void(QPagedPaintDevice&)>&) override {
    Fail(QStringLiteral("print preview"));
  }

 private:
  void Fail(const QString& what) {
    std::fprintf(stderr, "tolvane-window-startup: %s\n", what.toLocal8Bit().constData());
    failed = true;
  }
};

long long NanosecondsSinceEpoch() {
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  return static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count());
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  const QStringList arguments = QCoreApplication::arguments();
  std::optional<std::filesystem::path> programFolder;
  if (arguments.size() > 1) programFolder = arguments[1].toStdString();
  NoDialogs dialogs;
  const std::unique_ptr<tolvane::TfrmMain> frmMain =
      tolvane::StartMainWindow(dialogs, programFolder);
  if (!frmMain || dialogs.failed) return 1;
  QTimer::singleShot(0, [&dialogs] {
    std::printf("shown at %lld ns\n", NanosecondsSinceEpoch());
    std::fflush(stdout);
    std::_Exit(dialogs.failed ? 1 : 0);
  });
  return app.exec();
}
