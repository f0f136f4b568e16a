// Starts the main window offscreen in a fresh program folder and saves pictures of it:
// main-options-shown.png, main-preview.png and main-options-hidden.png in the folder given.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <cstdio>

#include "dictionary/DataFiles.h"
#include "ui/Dialogs.h"
#include "ui/TfrmMain.h"

namespace {

// No box may come up while the pictures are taken: anything that would ask or report fails
// the run instead.
class NoDialogs : public tolvane::Dialogs {
 public:
  bool failed = false;
  bool Confirm(QWidget*, const QString& text) override { return Fail(text), false; }
  void Message(QWidget*, const QString& text) override { Fail(text); }
  void Error(QWidget*, const QString& text) override { Fail(text); }
  QString OpenFileName(QWidget*, const QString&, const QString&) override {
    return Fail("open dialog"), QString();
  }
  QString SaveFileName(QWidget*, const QString&, const QString&) override {
    return Fail("save dialog"), QString();
  }
  void OpenUrl(const QUrl& url) override { Fail(url.toString()); }

 private:
  void Fail(const QString& what) {
    std::fprintf(stderr, "unexpected: %s\n", what.toLocal8Bit().constData());
    failed = true;
  }
};

bool Save(QWidget& window, const QDir& folder, const char* name) {
  // No focus frame or selected text in the pictures.
  if (QWidget* focused = QApplication::focusWidget()) focused->clearFocus();
  QApplication::processEvents();
  const QString path = folder.filePath(QString::fromLatin1(name));
  if (!window.grab().save(path)) {
    std::fprintf(stderr, "cannot write %s\n", path.toLocal8Bit().constData());
    return false;
  }
  std::printf("%s\n", path.toLocal8Bit().constData());
  return true;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: ui_screenshots OUTPUT_FOLDER\n");
    return 2;
  }
  const QDir output(QString::fromLocal8Bit(argv[1]));
  QTemporaryDir programFolder;
  const QString toneFile = QString::fromLatin1(tolvane::kToneVowelFile);
  if (!programFolder.isValid() ||
      !QFile::copy(QDir(QStringLiteral(TOLVANE_SOURCE_DIR "/data")).filePath(toneFile),
                   QDir(programFolder.path()).filePath(toneFile))) {
    std::fprintf(stderr, "cannot prepare a program folder\n");
    return 1;
  }

  NoDialogs dialogs;
  tolvane::TfrmMain window(programFolder.path().toStdString(), dialogs);
  window.show();
  bool saved = Save(window, output, "main-options-shown.png");
  window.findChild<QPushButton*>(QStringLiteral("btn_pinyin"))->click();
  saved = saved && Save(window, output, "main-preview.png");
  window.findChild<QAction*>(QStringLiteral("N_hideoptions"))->trigger();
  saved = saved && Save(window, output, "main-options-hidden.png");
  window.close();
  return saved && !dialogs.failed ? 0 : 1;
}
