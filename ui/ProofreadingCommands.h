#pragma once

#include <QString>
#include <QUndoCommand>
#include <vector>

#include "documents/ProofreadingText.h"
#include "reading/shared/UserWordList.h"

namespace tolvane {

// What the undo commands of the proofreading window change: its text (at UTF-16 places, as the
// editor counts) and its corrections.
class ProofreadingEditor {
 public:
  virtual ~ProofreadingEditor() = default;
  // Replaces `removedLength` UTF-16 units at `at` with `inserted`, in the editor and the text.
  virtual void ReplaceText(int at, int removedLength, const QString& inserted) = 0;
  virtual void SetCorrections(std::vector<Correction> corrections) = 0;
  // Saves the user's words and has every text read with them; false when they could not be
  // saved (the error is shown).
  virtual bool SetUserWords(const UserWordList& words) = 0;
};

// An edit of the text, with the corrections before and after it (an edit may drop some). Made
// after the editor has made the change, so its first redo changes nothing. Typing at the end of
// the last insertion joins it, so undo takes back a word, not a keystroke.
class TextEditCommand : public QUndoCommand {
 public:
  TextEditCommand(ProofreadingEditor& editor, int at, QString removed, QString inserted,
                  std::vector<Correction> before, std::vector<Correction> after);
  void undo() override;
  void redo() override;
  int id() const override { return 1; }
  bool mergeWith(const QUndoCommand* other) override;

 private:
  ProofreadingEditor& editor_;
  int at_;
  QString removed_;
  QString inserted_;
  std::vector<Correction> before_;
  std::vector<Correction> after_;
  bool done_ = true;
};

// A change of the corrections: a reading chosen or taken back.
class CorrectionCommand : public QUndoCommand {
 public:
  CorrectionCommand(ProofreadingEditor& editor, const QString& text, std::vector<Correction> before,
                    std::vector<Correction> after);
  void undo() override { editor_.SetCorrections(before_); }
  void redo() override { editor_.SetCorrections(after_); }

 private:
  ProofreadingEditor& editor_;
  std::vector<Correction> before_;
  std::vector<Correction> after_;
};

// A change of the user's words: a reading chosen always, for every text.
class UserWordsCommand : public QUndoCommand {
 public:
  UserWordsCommand(ProofreadingEditor& editor, const QString& text, UserWordList before,
                   UserWordList after);
  void undo() override { editor_.SetUserWords(before_); }
  void redo() override { editor_.SetUserWords(after_); }

 private:
  ProofreadingEditor& editor_;
  UserWordList before_;
  UserWordList after_;
};

}  // namespace tolvane
