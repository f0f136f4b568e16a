#pragma once

#include <QObject>
#include <QString>

class QLineEdit;

namespace tolvane {

// What a user's edit may leave in a field whose typing limit counts GB2312 bytes: an edit that
// stays within `maxBytes`, or that does not lengthen the text, stands; otherwise the inserted
// characters are kept from their front only as far as they fit, as a limited edit control does
// with typed and pasted text. `cursor` receives the position after the kept insertion.
QString FitTypedText(const QString& before, const QString& after, std::size_t maxBytes,
                     int* cursor);

// Holds a line edit's user edits to `maxBytes` GB2312 bytes. Text that the program sets with
// setText() is not cut: only edits that the field reports as the user's are fitted.
class GbTypingLimit : public QObject {
 public:
  GbTypingLimit(QLineEdit* edit, std::size_t maxBytes);

 private:
  void TextEdited();

  QLineEdit* edit_;
  std::size_t maxBytes_;
  QString lastText_;
};

}  // namespace tolvane
