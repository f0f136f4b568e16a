#include "ui/TfrmNote.h"

#include <QFontMetrics>
#include <QShowEvent>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

#include "ui/MakerInfo.h"
#include "ui/WindowPlacement.h"
#include "ui_TfrmNote.h"

namespace tolvane {

TfrmNote::TfrmNote(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TfrmNote>()) {
  ui->setupUi(this);
  UseFixedDialogFrame(*this);
  QPalette palette = ui->Memo1->palette();
  palette.setColor(QPalette::Text, Qt::black);
  ui->Memo1->setPalette(palette);
  // The notes end with the maker's two contact lines, kept with the maker's other details.
  ui->Memo1->setPlainText(ui->Memo1->toPlainText() + QStringLiteral("\n   ") +
                          QString::fromUtf8(maker::kContact) + QStringLiteral("\n   网址：") +
                          QString::fromUtf8(maker::kWebAddress));
  FitLines();
}

void TfrmNote::FitLines() {
  // The Chinese glyphs come from a fallback font whose lines are taller than Arial's, so that
  // fourteen of them no longer fit the designed client area. The lines share out its height
  // instead, never closer than Arial's own line spacing.
  QTextDocument* document = ui->Memo1->document();
  const int lineCount = std::max(1, document->blockCount());
  const int spread =
      (ui->Memo1->height() - 2 * static_cast<int>(document->documentMargin())) / lineCount;
  QTextBlockFormat format;
  format.setLineHeight(std::max(spread, QFontMetrics(ui->Memo1->font()).height()),
                       QTextBlockFormat::FixedHeight);
  QTextCursor cursor(document);
  cursor.select(QTextCursor::Document);
  cursor.mergeBlockFormat(format);
}

TfrmNote::~TfrmNote() = default;

void TfrmNote::showEvent(QShowEvent* event) {
  // Here the window has its frame, so the frame is what gets centred; a window that comes back
  // from being minimised stays where it was.
  if (!event->spontaneous()) CentreOverOwner(*this);
  QDialog::showEvent(event);
}

}  // namespace tolvane
