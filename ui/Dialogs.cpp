#include "ui/Dialogs.h"

#include <QPrintPreviewDialog>
#include <QPrinter>

#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace tolvane {

QString ApplicationTitle() { return QStringLiteral("Tolvane软件"); }

QString ErrorBoxText(const QString& text) {
  if (!text.isEmpty() && text.back().unicode() > u'.') return text + u'.';
  return text;
}

namespace {

// The questions break their lines with CR alone, as the system's message boxes do; Qt's label
// breaks lines at LF only.
QString DisplayText(QString text) {
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(u'\r', u'\n');
  return text;
}

}  // namespace

bool QtDialogs::Confirm(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::Question, QStringLiteral("Confirm"), DisplayText(text),
                  QMessageBox::NoButton, parent);
  QPushButton* yes = box.addButton(QStringLiteral("&Yes"), QMessageBox::YesRole);
  QPushButton* no = box.addButton(QStringLiteral("&No"), QMessageBox::NoRole);
  box.setDefaultButton(yes);
  box.setEscapeButton(no);
  box.exec();
  // Closing the box any other way than with Yes is a No.
  return box.clickedButton() == yes;
}

void QtDialogs::Message(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, ApplicationTitle(), DisplayText(text), QMessageBox::Ok,
                  parent);
  box.exec();
}

void QtDialogs::Error(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::Critical, ApplicationTitle(), DisplayText(text), QMessageBox::Ok,
                  parent);
  box.exec();
}

QString QtDialogs::OpenFileName(QWidget* parent, const QString& filter, const QString& initial) {
  return QFileDialog::getOpenFileName(parent, QString(), initial, filter);
}

QString QtDialogs::SaveFileName(QWidget* parent, const QString& filter, const QString& initial) {
  // No default extension is added and an existing file is replaced by the run without asking,
  // so the dialog does not ask either.
  return QFileDialog::getSaveFileName(parent, QString(), initial, filter, nullptr,
                                      QFileDialog::DontConfirmOverwrite);
}

void QtDialogs::OpenUrl(const QUrl& url) { QDesktopServices::openUrl(url); }

void QtDialogs::PrintPreview(QWidget* parent,
                             const std::function<void(QPagedPaintDevice&)>& paint) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageSize(QPageSize(QPageSize::A4));
  QPrintPreviewDialog preview(&printer, parent);
  QObject::connect(&preview, &QPrintPreviewDialog::paintRequested,
                   [&](QPrinter* target) { paint(*target); });
  preview.exec();
}

}  // namespace tolvane
