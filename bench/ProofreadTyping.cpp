// The proofreading window's answer to typing: on a text of 50,000 characters, the time from a
// character typed (as an input method commits it) to the view showing it annotated, for a number
// of characters typed in the middle of the text, and the time the whole text first takes. With
// --shot, it also saves a picture of the window with a character's menu of readings open.
//
//   tolvane-proofread-typing [--shot FILE.png] [PROGRAM-FOLDER]
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QInputMethodEvent>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "reading/Session.h"
#include "ui/Dialogs.h"
#include "ui/LanguageFile.h"
#include "ui/TfrmProofread.h"

namespace {

class NoDialogs : public tolvane::Dialogs {
 public:
  bool Confirm(QWidget*, const QString& text) override { return Fail(text), false; }
  void Message(QWidget*, const QString& text) override { Fail(text); }
  void Error(QWidget*, const QString& text) override { Fail(text); }
  QString OpenFileName(QWidget*, const QString&, const QString&) override { return {}; }
  QString SaveFileName(QWidget*, const QString&, const QString&) override { return {}; }
  void OpenUrl(const QUrl&) override {}
  void PrintPreview(QWidget*, const std::function<void(QPagedPaintDevice&)>&) override {}

 private:
  static void Fail(const QString& text) {
    std::fprintf(stderr, "unexpected box: %s\n", text.toUtf8().constData());
    std::exit(1);
  }
};

// Waits for the view to be current, at most a minute; the milliseconds it took.
double WaitForView(tolvane::TfrmProofread& window, const QElapsedTimer& since) {
  QEventLoop loop;
  QObject::connect(&window, &tolvane::TfrmProofread::viewUpdated, &loop, &QEventLoop::quit);
  QTimer::singleShot(60000, &loop, &QEventLoop::quit);
  QCoreApplication::processEvents();
  if (!window.ViewIsCurrent()) loop.exec();
  return static_cast<double>(since.nsecsElapsed()) / 1e6;
}

void Commit(QWidget& editor, const QString& text) {
  QInputMethodEvent event;
  event.setCommitString(text);
  QApplication::sendEvent(&editor, &event);
}

QString LongText(int characters) {
  const QString paragraph = QStringLiteral(
      "我们一起去银行办事，路上行人很多。他说这件事不太重要，可是大家都觉得应该重新考虑。"
      "长江是中国最长的河流，长大以后我想去看看。老师让我们把课文读了一遍又一遍，还要背下来。");
  QString text;
  while (text.size() < characters) {
    text += paragraph;
    text += QLatin1Char('\n');
  }
  return text.left(characters);
}

bool Shot(tolvane::TfrmProofread& window, QWidget& editor, const char* file) {
  auto* edit = static_cast<QPlainTextEdit*>(&editor);
  const QString text = QStringLiteral(
      "长江\n"
      "我们一起去银行办事，路上行人很多。\n"
      "他说这件事不太重要，可是大家都觉得应该重新考虑。\n"
      "长大以后，我想去看看长江。老师让我们把课文读了一遍又一遍。\n"
      "这个人真行！");
  edit->setPlainText(text);
  QElapsedTimer timer;
  timer.start();
  WaitForView(window, timer);
  // 行 of 真行 (every character of the text is in the basic plane: a code point is a unit).
  const auto where = static_cast<std::size_t>(text.indexOf(QStringLiteral("真行")) + 1);
  QMenu* menu = window.CorrectionMenu(where);
  const auto rect = window.View().UnitRect(where);
  if (!menu || !rect) return false;
  const QPoint at = window.View().viewport()->mapTo(&window, rect->bottomLeft());
  menu->popup(window.mapToGlobal(at));
  QCoreApplication::processEvents();
  QPixmap picture = window.grab();
  {
    QPainter painter(&picture);
    painter.drawPixmap(at, menu->grab());
  }
  menu->close();
  std::filesystem::create_directories(std::filesystem::path(file).parent_path());
  return picture.save(QString::fromLocal8Bit(file));
}

}  // namespace

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const char* shot = nullptr;
  std::filesystem::path folder = std::filesystem::path(argv[0]).parent_path();
  for (int i = 1; i < argc; ++i) {
    if (std::string_view(argv[i]) == "--shot" && i + 1 < argc) {
      shot = argv[++i];
    } else {
      folder = argv[i];
    }
  }
  tolvane::Session session;
  tolvane::StartSession(session, folder);
  NoDialogs dialogs;
  tolvane::ConversionSettings settings;
  settings.polyphone = tolvane::PolyphonePolicy::ByContext;
  settings.toneStyle = tolvane::ToneStyle::Marked;
  tolvane::TfrmProofread window(session, dialogs, settings,
                                shot ? tolvane::kChinese : tolvane::kEnglish);
  window.resize(1100, 720);
  window.show();
  auto* editor = window.findChild<QPlainTextEdit*>(QStringLiteral("edt_text"));
  if (shot) return Shot(window, *editor, shot) ? 0 : 1;

  constexpr int kCharacters = 50000;
  QElapsedTimer timer;
  timer.start();
  editor->setPlainText(LongText(kCharacters));
  const double first = WaitForView(window, timer);
  std::printf("whole text (%d characters) annotated: %.1f ms\n", kCharacters, first);

  QTextCursor cursor(editor->document());
  cursor.setPosition(kCharacters / 2);
  editor->setTextCursor(cursor);
  editor->setFocus();
  std::vector<double> times;
  const QString typed = QStringLiteral("重行长得了还");
  for (int i = 0; i < 60; ++i) {
    timer.restart();
    Commit(*editor, typed.mid(i % typed.size(), 1));
    times.push_back(WaitForView(window, timer));
  }
  std::sort(times.begin(), times.end());
  std::printf("key to view over %zu characters typed: median %.2f ms, 90th %.2f ms, max %.2f ms\n",
              times.size(), times[times.size() / 2], times[times.size() * 9 / 10], times.back());
  return 0;
}
