// Starts the program offscreen in a fresh program folder and saves pictures of it in the folder
// given: the main window (main-options-shown.png, main-preview.png, main-unicode.png with a UTF-8
// source and a preview of text beyond GB2312, main-context.png read by context,
// main-orthography.png with pinyin written by words, main-options-hidden.png), the menu of reading
// by context open (menu-reading.png), the two custom reading editors with a few entries
// (editor-standard.png, editor-wade-giles.png), the usage notes (notes.png) and the About window
// (about.png).
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <cstdio>
#include <initializer_list>

#include "reading/shared/DataFiles.h"
#include "ui/CustomReadingEditor.h"
#include "ui/Dialogs.h"
#include "ui/QtText.h"
#include "ui/TfrmAbout.h"
#include "ui/TfrmHan.h"
#include "ui/TfrmMain.h"
#include "ui/TfrmNote.h"
#include "ui/TfrmPageDesign.h"
#include "ui/TfrmWeiHan.h"

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
  void PrintPreview(QWidget*, const std::function<void(QPagedPaintDevice&)>&) override {
    Fail("print preview");
  }

 private:
  void Fail(const QString& what) {
    std::fprintf(stderr, "unexpected: %s\n", what.toLocal8Bit().constData());
    failed = true;
  }
};

bool SavePicture(const QPixmap& picture, const QDir& folder, const char* name) {
  const QString path = folder.filePath(QString::fromLatin1(name));
  if (!picture.save(path)) {
    std::fprintf(stderr, "cannot write %s\n", path.toLocal8Bit().constData());
    return false;
  }
  std::printf("%s\n", path.toLocal8Bit().constData());
  return true;
}

bool Save(QWidget& window, const QDir& folder, const char* name) {
  // No focus frame or selected text in the pictures.
  if (QWidget* focused = QApplication::focusWidget()) focused->clearFocus();
  QApplication::processEvents();
  return SavePicture(window.grab(), folder, name);
}

// Opens the menu of the main window's menu bar under its title.
void OpenMenu(QMainWindow& window, QMenu& menu) {
  menu.popup(window.mapToGlobal(window.menuBar()->actionGeometry(menu.menuAction()).bottomLeft()));
}

// The window with its menu open over it, as the screen shows them: a menu is a window of its own,
// which a picture of the main window leaves out.
bool SaveWithMenu(QMainWindow& window, QMenu& menu, const QDir& folder, const char* name) {
  if (QWidget* focused = QApplication::focusWidget()) focused->clearFocus();
  OpenMenu(window, menu);
  QApplication::processEvents();
  QPixmap picture = window.grab();
  {
    QPainter painter(&picture);
    painter.drawPixmap(window.mapFromGlobal(menu.pos()), menu.grab());
  }
  menu.hide();
  return SavePicture(picture, folder, name);
}

// Writes a dictionary file: the lines in GB2312, each followed by CR LF.
bool WriteLines(const QString& folder, const char* name, std::initializer_list<const char*> lines) {
  QFile file(QDir(folder).filePath(QString::fromLatin1(name)));
  if (!file.open(QIODevice::WriteOnly)) return false;
  for (const char* line : lines) {
    const std::string bytes = tolvane::GbFromQString(QString::fromUtf8(line)) + "\r\n";
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
  }
  return file.flush();
}

// The editor as a user leaves it after choosing line `row`.
bool SaveEditor(tolvane::CustomReadingEditor& editor, int row, const QDir& folder,
                const char* name) {
  editor.show();
  // Shown and activated first, so that the focus it then takes can be cleared.
  QApplication::processEvents();
  auto* list = editor.findChild<QListWidget*>(QStringLiteral("ListBox_define_han"));
  // Not blocked, the list reports the selection as it does the user's: the fields fill.
  list->setCurrentRow(row);
  if (QWidget* focused = editor.focusWidget()) focused->clearFocus();
  const bool saved = Save(editor, folder, name);
  editor.hide();
  return saved;
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

  const QString dataFolder = programFolder.path();
  for (const char* file : {tolvane::kContextWordsFile, tolvane::kContextPairsFile,
                           tolvane::kContextCharactersFile, tolvane::kProperNounsFile}) {
    const QString name = QString::fromLatin1(file);
    QFile::link(QDir(QStringLiteral(TOLVANE_SOURCE_DIR "/data")).filePath(name),
                QDir(dataFolder).filePath(name));
  }
  if (!WriteLines(dataFolder, tolvane::kStandardKeysFile, {"字", "长", "欧阳"}) ||
      !WriteLines(dataFolder, tolvane::kStandardReadingsFile, {"Zi", "Chang", "Ouyang"}) ||
      !WriteLines(dataFolder, tolvane::kWadeGilesKeysFile, {"字", "长", "欧阳"}) ||
      !WriteLines(dataFolder, tolvane::kWadeGilesReadingsFile, {"Tzu", "Ch'ang", "Ou-yang"})) {
    std::fprintf(stderr, "cannot write the dictionaries\n");
    return 1;
  }

  NoDialogs dialogs;
  tolvane::TfrmMain window(programFolder.path().toStdString(), dialogs);
  window.CreateHiddenWindows();
  window.show();
  bool saved = Save(window, output, "main-options-shown.png");
  window.findChild<QPushButton*>(QStringLiteral("btn_pinyin"))->click();
  saved = saved && Save(window, output, "main-preview.png");
  {
    // A UTF-8 source chosen, and a preview of text beyond GB2312.
    QFile source(QDir(programFolder.path()).filePath(QStringLiteral("课文.txt")));
    if (!source.open(QIODevice::WriteOnly) || source.write("\xEF\xBB\xBF我爱北京\r\n") < 0) {
      std::fprintf(stderr, "cannot write a source file\n");
      return 1;
    }
    source.close();
    window.OpenDialog1CanClose(source.fileName());
    window.findChild<QLineEdit*>(QStringLiteral("edt_input"))
        ->setText(QString::fromUtf8("我爱國語，堃😀上"));
    window.findChild<QPushButton*>(QStringLiteral("btn_pinyin"))->click();
    saved = saved && Save(window, output, "main-unicode.png");
    // Reading by context: the designed sample with 上 and 红 read as their words say.
    window.findChild<QRadioButton*>(QStringLiteral("rb_duoyinzi_context"))->setChecked(true);
    window.findChild<QLineEdit*>(QStringLiteral("edt_input"))
        ->setText(QString::fromUtf8("我爱北京天安门，天安门上红旗飘"));
    window.findChild<QPushButton*>(QStringLiteral("btn_pinyin"))->click();
    saved = saved && Save(window, output, "main-context.png");
    // Pinyin written by words: a short paragraph with names, a title and quotations, readings
    // alone. A compound surname other than 欧阳, which the standard dictionary above reads Ouyang.
    window.findChild<QAction*>(QStringLiteral("N_orthography"))->trigger();
    window.findChild<QRadioButton*>(QStringLiteral("rb_output_py_only"))->setChecked(true);
    window.findChild<QLineEdit*>(QStringLiteral("edt_input"))
        ->setText(QString::fromUtf8("毛泽东和司马迁在西安。他说：“我们看过《红楼梦》。”"));
    window.findChild<QPushButton*>(QStringLiteral("btn_pinyin"))->click();
    saved = saved && SaveWithMenu(window, *window.findChild<QMenu*>(QStringLiteral("N_reading")),
                                  output, "main-orthography.png");
    // Back to the designed choices; first reading unchecks written pinyin.
    window.findChild<QRadioButton*>(QStringLiteral("rb_output_py"))->setChecked(true);
    window.findChild<QRadioButton*>(QStringLiteral("rb_duoyinzi_single"))->setChecked(true);
  }
  {
    // The menu of reading by context, opened under its title.
    auto* menu = window.findChild<QMenu*>(QStringLiteral("N_reading"));
    OpenMenu(window, *menu);
    saved = saved && Save(*menu, output, "menu-reading.png");
    menu->hide();
  }
  window.findChild<QAction*>(QStringLiteral("N_hideoptions"))->trigger();
  saved = saved && Save(window, output, "main-options-hidden.png");

  saved =
      saved && SaveEditor(*window.findChild<tolvane::TfrmHan*>(), 1, output, "editor-standard.png");
  saved = saved &&
          SaveEditor(*window.findChild<tolvane::TfrmWeiHan*>(), 2, output, "editor-wade-giles.png");
  window.findChild<QAction*>(QStringLiteral("N7"))->trigger();
  saved = saved && Save(*window.findChild<tolvane::TfrmNote*>(), output, "notes.png");
  {
    tolvane::TfrmAbout about(&window, dialogs);
    about.show();
    saved = saved && Save(about, output, "about.png");
  }
  {
    // The page design as a teacher might set it: tone colours on, uncommon characters only.
    tolvane::PageDesign design;
    design.toneScheme = tolvane::ToneColourScheme::Classic;
    design.scope = tolvane::AnnotationScope::Uncommon;
    tolvane::TfrmPageDesign page(&window, tolvane::kChinese);
    page.SetDesign(design);
    page.show();
    QApplication::processEvents();
    saved = saved && Save(page, output, "page-design.png");
  }
  window.close();
  return saved && !dialogs.failed ? 0 : 1;
}
