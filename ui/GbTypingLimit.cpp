#include "ui/GbTypingLimit.h"

#include <QLineEdit>
#include <QStringView>

#include "ui/QtText.h"

namespace tolvane {

QString FitTypedText(const QString& before, const QString& after, std::size_t maxBytes,
                     int* cursor) {
  const std::size_t afterBytes = GbByteLength(after);
  if (afterBytes <= maxBytes || afterBytes <= GbByteLength(before)) {
    if (cursor != nullptr) *cursor = -1;
    return after;
  }
  // The edit replaced before[prefix, before.size() - suffix) by after[prefix, after.size() -
  // suffix).
  qsizetype prefix = 0;
  const qsizetype shorter = std::min(before.size(), after.size());
  while (prefix < shorter && before[prefix] == after[prefix]) ++prefix;
  qsizetype suffix = 0;
  while (suffix < shorter - prefix &&
         before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix]) {
    ++suffix;
  }
  // Never split a surrogate pair at either end of the insertion.
  if (prefix > 0 && after[prefix - 1].isHighSurrogate()) --prefix;
  if (suffix > 0 && after[after.size() - suffix].isLowSurrogate()) --suffix;

  const QString kept = before.left(prefix) + before.right(suffix);
  const std::size_t keptBytes = GbByteLength(kept);
  const QStringView inserted = QStringView(after).mid(prefix, after.size() - prefix - suffix);
  qsizetype taken = 0;
  std::size_t bytes = keptBytes;
  while (taken < inserted.size()) {
    const qsizetype length =
        inserted[taken].isHighSurrogate() && taken + 1 < inserted.size() ? 2 : 1;
    const std::size_t charBytes = GbByteLength(inserted.mid(taken, length).toString());
    if (bytes + charBytes > maxBytes) break;
    bytes += charBytes;
    taken += length;
  }
  if (cursor != nullptr) *cursor = static_cast<int>(prefix + taken);
  return before.left(prefix) + inserted.left(taken).toString() + before.right(suffix);
}

GbTypingLimit::GbTypingLimit(QLineEdit* edit, std::size_t maxBytes)
    : QObject(edit), edit_(edit), maxBytes_(maxBytes), lastText_(edit->text()) {
  // The field reports a user edit before it reports the change, and reports the change once
  // more after a correction made inside the first report; reading the field itself, instead of
  // the signal's argument, keeps the remembered text right in both orders.
  connect(edit, &QLineEdit::textChanged, this, [this] { lastText_ = edit_->text(); });
  connect(edit, &QLineEdit::textEdited, this, [this] { TextEdited(); });
}

void GbTypingLimit::TextEdited() {
  const QString after = edit_->text();
  int cursor = -1;
  const QString fitted = FitTypedText(lastText_, after, maxBytes_, &cursor);
  if (fitted == after) return;
  edit_->setText(fitted);
  edit_->setCursorPosition(cursor);
}

}  // namespace tolvane
