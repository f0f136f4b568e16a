#include "ui/TfrmNote.h"

#include <QShowEvent>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <cmath>

#include "ui/MakerInfo.h"
#include "ui/WindowPlacement.h"
#include "ui_TfrmNote.h"

namespace tolvane {
namespace {

constexpr QSize kDesignedClient(396, 205);

}  // namespace

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
  FitWindowToText();
}

void TfrmNote::FitWindowToText() {
  // The designed client area holds the fourteen lines in the designed font, but which font
  // answers for "Arial" (and for the Chinese glyphs) depends on the machine: a wider or taller
  // one must not hide a line behind a scroll bar. The text is measured unwrapped at its natural
  // line spacing; when it fits, its lines share out the designed height as before, else the
  // window grows to the text, never below the designed size.
  QTextEdit* memo = ui->Memo1;
  QTextDocument* document = memo->document();
  QTextCursor cursor(document);
  cursor.select(QTextCursor::Document);
  cursor.mergeBlockFormat(QTextBlockFormat());
  QTextBlockFormat natural;
  natural.setLineHeight(100, QTextBlockFormat::ProportionalHeight);
  cursor.mergeBlockFormat(natural);
  memo->setLineWrapMode(QTextEdit::NoWrap);
  // The window takes the text's size, so a bar would only ever take room from the text.
  memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  document->setTextWidth(-1);
  const QSizeF needed = document->size();
  const QSize client(
      std::max(kDesignedClient.width(), static_cast<int>(std::ceil(needed.width()))),
      std::max(kDesignedClient.height(), static_cast<int>(std::ceil(needed.height()))));
  if (client == kDesignedClient) {
    const int lineCount = std::max(1, document->blockCount());
    const int margins = 2 * static_cast<int>(std::ceil(document->documentMargin()));
    QTextBlockFormat spread;
    spread.setLineHeight((client.height() - margins) / lineCount, QTextBlockFormat::MinimumHeight);
    cursor.mergeBlockFormat(spread);
    // Spread lines that no longer fit (rounding) go back to their natural spacing.
    if (document->size().height() > client.height()) cursor.mergeBlockFormat(natural);
  }
  memo->setGeometry(QRect(QPoint(0, 0), client));
  setFixedSize(client);
}

TfrmNote::~TfrmNote() = default;

void TfrmNote::showEvent(QShowEvent* event) {
  // Here the window has its frame, so the frame is what gets centred; a window that comes back
  // from being minimised stays where it was.
  if (!event->spontaneous()) CentreOverOwner(*this);
  QDialog::showEvent(event);
}

}  // namespace tolvane
