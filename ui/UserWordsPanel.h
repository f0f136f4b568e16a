#pragma once

#include <QString>
#include <QWidget>
#include <string>
#include <vector>

#include "reading/shared/UserWordList.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace tolvane {

class Dialogs;

// The user's own words as a table of word and syllables, with a line under it for the lines of
// user_words.txt that were passed over. A word is added or changed from the two fields (a
// double-click on a row puts it there to change), removed, imported from or exported to
// tab-separated values. The panel changes nothing itself: it asks for the whole new list through
// changeRequested, so that its owner saves it, reloads and keeps the change undoable, and then
// shows the words as they were read back (ShowWords).
class UserWordsPanel : public QWidget {
  Q_OBJECT

 public:
  // `dialogs` outlives the panel; the import, export and refusals go through it.
  explicit UserWordsPanel(Dialogs& dialogs, QWidget* parent = nullptr);

  // Shows `words` and the problems of the file they were read from.
  void ShowWords(const UserWordList& words, const std::vector<UserWordProblem>& problems);
  const UserWordList& Words() const { return words_; }

  // Puts the entry of the table's row `row` into the fields to change, as a double-click does.
  void EditRow(int row);

 signals:
  // The user asks for `after` to be the list; `description` names the change (for undo).
  void changeRequested(const UserWordList& after, const QString& description);

 private:
  void AddClick();
  void RemoveClick();
  void ImportClick();
  void ExportClick();
  void StopEditing();
  void Refuse(const QString& reason);

  Dialogs& dialogs_;
  UserWordList words_;
  std::string editing_;  // the word whose entry the fields change; empty when adding
  QTableWidget* table_;
  QLabel* problems_;
  QLineEdit* word_;
  QLineEdit* syllables_;
  QPushButton* add_;
};

// A passed-over line as the user reads it: "<file>:<line>: <reason>", or "<file>: <reason>" for
// the file as a whole.
QString UserWordProblemText(const UserWordProblem& problem);

}  // namespace tolvane
