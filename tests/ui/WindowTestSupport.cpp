#include "WindowTestSupport.h"

#include <QCoreApplication>
#include <QPdfWriter>

#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>

#include "reading/shared/DataFiles.h"

namespace tolvane::test {

bool ScriptedDialogs::Confirm(QWidget*, const QString& text) {
  calls.push_back("confirm");
  confirmTexts.push_back(text);
  if (whileAsking) whileAsking(text);
  if (confirmAnswers.empty()) {
    ADD_FAILURE() << "unexpected question: " << text.toStdString();
    return false;
  }
  const bool answer = confirmAnswers.front();
  confirmAnswers.pop_front();
  return answer;
}

void ScriptedDialogs::Message(QWidget*, const QString& text) {
  calls.push_back("message");
  messageTexts.push_back(text);
}

void ScriptedDialogs::Error(QWidget*, const QString& text) {
  calls.push_back("error");
  errorTexts.push_back(text);
  if (whileShowingError) whileShowingError(text);
}

QString ScriptedDialogs::OpenFileName(QWidget*, const QString& filter, const QString& initial) {
  calls.push_back("open dialog");
  openFilters.push_back(filter);
  openInitials.push_back(initial);
  if (openAnswers.empty()) {
    ADD_FAILURE() << "unexpected open dialog";
    return {};
  }
  const QString answer = openAnswers.front();
  openAnswers.pop_front();
  return answer;
}

QString ScriptedDialogs::SaveFileName(QWidget*, const QString& filter, const QString& initial) {
  calls.push_back("save dialog");
  saveFilters.push_back(filter);
  saveInitials.push_back(initial);
  if (saveAnswers.empty()) {
    ADD_FAILURE() << "unexpected save dialog";
    return {};
  }
  const QString answer = saveAnswers.front();
  saveAnswers.pop_front();
  return answer;
}

void ScriptedDialogs::OpenUrl(const QUrl& url) {
  calls.push_back("open url");
  openedUrls.push_back(url);
  if (whileOpeningUrl) whileOpeningUrl(url);
}

void ScriptedDialogs::PrintPreview(QWidget*, const std::function<void(QPagedPaintDevice&)>& paint) {
  calls.push_back("print preview");
  ++previews;
  printedPdf = std::filesystem::temp_directory_path() /
               ("tolvane-preview-" + std::to_string(QCoreApplication::applicationPid()) + ".pdf");
  QPdfWriter writer(QString::fromStdString(printedPdf.string()));
  writer.setPageSize(QPageSize(QPageSize::A4));
  paint(writer);
}

TestProgramFolder::TestProgramFolder() {
  std::filesystem::copy_file(SourceDataFolder() / kToneVowelFile, dir_ / kToneVowelFile);
  // The read-only data of reading by context and of pinyin written by words, large and never
  // written: linked, not copied.
  for (const char* file :
       {kContextWordsFile, kContextPairsFile, kContextCharactersFile, kProperNounsFile})
    std::filesystem::create_symlink(SourceDataFolder() / file, dir_ / file);
}

QString Q(std::string_view textUtf8) {
  return QString::fromUtf8(textUtf8.data(), static_cast<qsizetype>(textUtf8.size()));
}

std::string GbLines(std::initializer_list<std::string_view> linesUtf8) {
  std::string bytes;
  for (std::string_view line : linesUtf8) bytes += Gb(line) + "\r\n";
  return bytes;
}

void WithModalWindow(const std::function<void()>& open,
                     const std::function<void(QWidget& modal)>& inspect) {
  bool seen = false;
  QTimer::singleShot(0, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr) return;
    seen = true;
    inspect(*modal);
    modal->close();
  });
  open();
  // When `open` showed nothing modal, the timer is still due; let it find nothing.
  if (!seen) QCoreApplication::processEvents();
  EXPECT_TRUE(seen) << "no modal window came up";
}

}  // namespace tolvane::test
