#include "ui/ProofreadingCommands.h"

namespace tolvane {

TextEditCommand::TextEditCommand(ProofreadingEditor& editor, int at, QString removed,
                                 QString inserted, std::vector<Correction> before,
                                 std::vector<Correction> after)
    : editor_(editor),
      at_(at),
      removed_(std::move(removed)),
      inserted_(std::move(inserted)),
      before_(std::move(before)),
      after_(std::move(after)) {
  setText(QObject::tr("typing"));
}

void TextEditCommand::undo() {
  editor_.ReplaceText(at_, static_cast<int>(inserted_.size()), removed_);
  editor_.SetCorrections(before_);
  done_ = false;
}

void TextEditCommand::redo() {
  if (done_) return;  // the editor made the change already
  editor_.ReplaceText(at_, static_cast<int>(removed_.size()), inserted_);
  editor_.SetCorrections(after_);
  done_ = true;
}

bool TextEditCommand::mergeWith(const QUndoCommand* other) {
  const auto* next = static_cast<const TextEditCommand*>(other);
  if (!removed_.isEmpty() || !next->removed_.isEmpty()) return false;
  if (next->at_ != at_ + inserted_.size() || next->before_ != after_) return false;
  if (next->inserted_.contains(QLatin1Char('\n'))) return false;
  inserted_ += next->inserted_;
  after_ = next->after_;
  return true;
}

CorrectionCommand::CorrectionCommand(ProofreadingEditor& editor, const QString& text,
                                     std::vector<Correction> before, std::vector<Correction> after)
    : editor_(editor), before_(std::move(before)), after_(std::move(after)) {
  setText(text);
}

UserWordsCommand::UserWordsCommand(ProofreadingEditor& editor, const QString& text,
                                   UserWordList before, UserWordList after)
    : editor_(editor), before_(std::move(before)), after_(std::move(after)) {
  setText(text);
}

}  // namespace tolvane
