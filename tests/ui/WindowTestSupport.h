#pragma once

#include <QString>
#include <QUrl>
#include <QWidget>
#include <deque>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/TestSupport.h"
#include "ui/Dialogs.h"

namespace tolvane::test {

// Dialogs answered from a script: each question, dialog and shell call is recorded, and answered
// from the queue of its kind. A question or dialog that the test did not expect fails the test.
class ScriptedDialogs : public Dialogs {
 public:
  std::deque<bool> confirmAnswers;
  std::deque<QString> openAnswers;
  std::deque<QString> saveAnswers;
  // Runs while a question is up, e.g. to look at the window in the middle of a run.
  std::function<void(const QString&)> whileAsking;
  // The same while the error box is up, and while a file or web address is being opened.
  std::function<void(const QString&)> whileShowingError;
  std::function<void(const QUrl&)> whileOpeningUrl;

  // Every call in order: "confirm", "message", "error", "open dialog", "save dialog", "open url",
  // "print preview".
  std::vector<std::string> calls;

  std::vector<QString> confirmTexts;
  std::vector<QString> messageTexts;
  std::vector<QString> errorTexts;
  std::vector<QString> openFilters;
  std::vector<QString> openInitials;
  std::vector<QString> saveFilters;
  std::vector<QString> saveInitials;
  std::vector<QUrl> openedUrls;

  bool Confirm(QWidget* parent, const QString& text) override;
  void Message(QWidget* parent, const QString& text) override;
  void Error(QWidget* parent, const QString& text) override;
  QString OpenFileName(QWidget* parent, const QString& filter, const QString& initial) override;
  QString SaveFileName(QWidget* parent, const QString& filter, const QString& initial) override;
  void OpenUrl(const QUrl& url) override;
  // Paints into a PDF file of the scripted dialogs' own, as a printer would be painted on.
  void PrintPreview(QWidget* parent, const std::function<void(QPagedPaintDevice&)>& paint) override;
  std::filesystem::path printedPdf;  // where the last preview's pages went
  int previews = 0;
};

// A program folder of a test's own, holding the tone glyph file as the build installs it and the
// data of reading by context and of pinyin written by words.
class TestProgramFolder {
 public:
  TestProgramFolder();
  const std::filesystem::path& path() const { return dir_.path(); }
  std::filesystem::path operator/(std::string_view name) const { return dir_ / name; }

 private:
  TempDir dir_;
};

// The control named `name` inside `window`; throws when there is none, failing the test.
template <typename T>
T& Child(const QWidget& window, const char* name) {
  T* child = window.findChild<T*>(QString::fromLatin1(name));
  if (child == nullptr) throw std::runtime_error(std::string("no control named ") + name);
  return *child;
}

QString Q(std::string_view textUtf8);

// The bytes of a text file as the system writes it: each line, given in UTF-8, in GB2312 and
// followed by CR LF.
std::string GbLines(std::initializer_list<std::string_view> linesUtf8);

// Runs `open`, which is to show a modal window and wait for it; while that window is up, `inspect`
// looks at it, and then it is closed. Fails the test when no modal window came up.
void WithModalWindow(const std::function<void()>& open,
                     const std::function<void(QWidget& modal)>& inspect);

}  // namespace tolvane::test

// Readable QStrings in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}
