#pragma once

#include <QString>
#include <QUrl>
#include <functional>

class QMessageBox;
class QPagedPaintDevice;
class QWidget;

// Every modal box, file dialog and shell call of the windows goes through this interface, so that
// tests can answer them from a script instead of a person.
namespace tolvane {

// The application title: the caption of plain message boxes and error boxes.
QString ApplicationTitle();

// The text of an error box: a "." is appended when the last character's code lies above that of
// "." itself. Letters, digits and Chinese characters gain one; a text that already ends in ".",
// or in a sign such as ")", "!" or a blank, keeps its end.
QString ErrorBoxText(const QString& text);

class Dialogs {
 public:
  virtual ~Dialogs() = default;

  // A confirmation box; true only when the user answered Yes.
  virtual bool Confirm(QWidget* parent, const QString& text) = 0;
  // A plain message with one OK button.
  virtual void Message(QWidget* parent, const QString& text) = 0;
  // The error box; `text` is shown as given (ErrorBoxText is the caller's).
  virtual void Error(QWidget* parent, const QString& text) = 0;
  // The open and save dialogs: the confirmed file name, or an empty text after a cancel.
  // `filter` is in Qt's form ("Text file (*.txt);;All (*)"); `initial` preselects a name.
  virtual QString OpenFileName(QWidget* parent, const QString& filter, const QString& initial) = 0;
  virtual QString SaveFileName(QWidget* parent, const QString& filter, const QString& initial) = 0;
  // Opens a file or a web address with the program the system associates with it; the outcome
  // is not examined.
  virtual void OpenUrl(const QUrl& url) = 0;
  // A print preview of what `paint` draws (on an A4 printer, the device it is given), from which
  // the user may print it.
  virtual void PrintPreview(QWidget* parent,
                            const std::function<void(QPagedPaintDevice&)>& paint) = 0;
};

// The real boxes and dialogs.
class QtDialogs : public Dialogs {
 public:
  bool Confirm(QWidget* parent, const QString& text) override;
  void Message(QWidget* parent, const QString& text) override;
  void Error(QWidget* parent, const QString& text) override;
  QString OpenFileName(QWidget* parent, const QString& filter, const QString& initial) override;
  QString SaveFileName(QWidget* parent, const QString& filter, const QString& initial) override;
  void OpenUrl(const QUrl& url) override;
  void PrintPreview(QWidget* parent, const std::function<void(QPagedPaintDevice&)>& paint) override;
};

}  // namespace tolvane
