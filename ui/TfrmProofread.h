#pragma once

#include <QMainWindow>
#include <QString>
#include <QTranslator>
#include <QUndoStack>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "documents/Handout.h"
#include "documents/PageDesign.h"
#include "documents/ProofreadingText.h"
#include "reading/Session.h"
#include "settings/ConversionSettings.h"
#include "ui/AnnotatedTextView.h"
#include "ui/DocumentExportJob.h"
#include "ui/ProofreadingAnnotator.h"
#include "ui/ProofreadingCommands.h"

class QDockWidget;
class QMenu;

namespace Ui {
class TfrmProofread;
}

namespace tolvane {

class Dialogs;
class UserWordsPanel;

// The proofreading window: a text typed, pasted or opened on the left, the same text annotated on
// the right, updated as it is typed (lines are annotated on a thread of their own, only those
// that changed). Clicking a character offers its readings, to choose for that place, for every
// place of the text, or always. Edits and choices are undone and redone together, and the text
// with its choices is saved in a file of its own (documents/ProofreadingFile.h). The reading
// options start from the main window's.
class TfrmProofread : public QMainWindow, private ProofreadingEditor {
  Q_OBJECT

 public:
  // `session` and `dialogs` outlive the window. `language` is the main window's (kEnglish shows
  // English captions, anything else Chinese).
  TfrmProofread(Session& session, Dialogs& dialogs, const ConversionSettings& settings,
                int language, QWidget* parent = nullptr);
  ~TfrmProofread() override;

  // The reading options of the bar, as the engine reads them.
  ConversionSettings Settings() const;
  void SetSettings(const ConversionSettings& settings);
  const ProofreadingText& Text() const { return text_; }
  // The handout of the text with its choices, as every document is written from it.
  Handout CurrentHandout(const PageDesign& design) const;
  AnnotatedTextView& View();
  QUndoStack& UndoStack() { return undo_; }
  // Whether every line shown is annotated for the text as it is now.
  bool ViewIsCurrent() const { return !updateScheduled_ && pendingLines_ == 0; }

  // The file operations, which the menu reaches through the dialogs; an error shows in the error
  // box and leaves the window as it was.
  bool OpenSource(const std::filesystem::path& source);
  bool OpenProofreading(const std::filesystem::path& file);
  bool SaveProofreading(const std::filesystem::path& file);
  // Starts writing the handout of the text with its choices in the page design, as the target's
  // name asks (PDF, DOCX, ODT, EPUB or HTML), on a thread of its own from a copy of the text, so
  // the text can be edited meanwhile; exportFinished tells the end, a failure shows in the error
  // box. False, starting nothing, while another export runs.
  bool ExportHandout(const std::filesystem::path& target);
  // The export going on, if any.
  DocumentExportJob& Export() { return export_; }
  // The page design the exports are laid out by (the main window's).
  void SetPageDesign(const PageDesign& design) { design_ = design; }

  // The menu of a character's readings (shown by a click on it), not yet shown. Its actions are
  // named "occurrence:<syllable>", "every:<syllable>", "always:<syllable>" and "remove".
  QMenu* CorrectionMenu(std::size_t codePoint);

  // The user's words, in a dock the Edit menu shows ("act_user_words"); its changes are saved,
  // read back and undone as a reading chosen always is.
  UserWordsPanel& UserWords() { return *userWords_; }

 signals:
  // The view shows the text as it is now, every line annotated.
  void viewUpdated();
  // An export has ended (and its error, if any, has been shown).
  void exportFinished(bool written);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  // Waits for an export going on, so its file is whole and its error shown, then closes.
  void closeEvent(QCloseEvent* event) override;

 private:
  // ProofreadingEditor
  void ReplaceText(int at, int removedLength, const QString& inserted) override;
  void SetCorrections(std::vector<Correction> corrections) override;
  bool SetUserWords(const UserWordList& words) override;

  void ConnectHandlers();
  void TextChanged();
  void SettingsChanged();
  void ScheduleUpdate();
  void UpdateView();
  void Receive(AnnotatedBatch batch);
  void ChooseReading(std::size_t codePoint, CorrectionScope scope, const std::string& syllable);
  void ChooseHere(std::size_t codePoint, const std::string& syllable);
  void ChooseEverywhere(std::size_t codePoint, const std::string& syllable);
  void RemoveReading(std::size_t codePoint);
  // The character's reading as one of the user's words, which every text reads.
  void ChooseAlways(std::size_t codePoint, const std::string& syllable);
  // Shows the words as the session read them back, with the file's problems.
  void ShowUserWords();
  void ShowCorrectionMenu(std::size_t codePoint, QPoint globalPos);
  void SetWholeText(const ProofreadingText& text);
  void OpenSourceClick();
  void OpenClick();
  void SaveClick();
  void SaveAsClick();
  void ExportClick();
  // While a document is written: the export refused, the status bar saying so, a busy cursor.
  void ShowExportBusy(const std::filesystem::path& target);
  void ExportEnded(const std::filesystem::path& target, const QString& error);
  void ShowError(const QString& text);
  void UpdateTitle();

  std::unique_ptr<Ui::TfrmProofread> ui;
  Session& session_;
  Dialogs& dialogs_;
  ConversionSettings settings_;  // the options the bar does not show, from the main window
  QTranslator translator_;
  bool translated_ = false;
  QUndoStack undo_;
  ProofreadingText text_;  // the editor's text (LF line ends) and the choices
  QString shownText_;      // the editor's text the model holds
  bool crlf_ = false;      // the text came with CR LF line ends, and is saved with them
  bool applying_ = false;  // the window itself is changing the editor's text
  bool updateScheduled_ = false;
  std::filesystem::path file_;  // the proofreading file, once saved or opened
  PageDesign design_;
  std::uint64_t request_ = 0;
  std::uint64_t firstRequestOfSettings_ = 1;  // older answers were read with other settings
  std::size_t pendingLines_ = 0;
  // Annotated lines of these settings, by their key (text and choices).
  std::unordered_map<std::string, std::shared_ptr<const ViewLine>> annotated_;
  // The key of each line the view shows, and which of them wait for the worker.
  std::vector<std::string> shownKeys_;
  std::vector<PlacedViewLine> shownLines_;
  std::vector<bool> shownPending_;
  std::unique_ptr<ProofreadingAnnotator> annotator_;
  QDockWidget* userWordsDock_ = nullptr;
  UserWordsPanel* userWords_ = nullptr;
  // Last, so that it is destroyed first: it waits for a document still being written.
  DocumentExportJob export_;
};

}  // namespace tolvane
