#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TfrmNote;
}

namespace tolvane {

// The usage notes: a read-only text in a fixed window, created hidden at start-up and shown,
// not modally, from the Help menu. Closing it only hides it.
class TfrmNote : public QDialog {
  Q_OBJECT

 public:
  explicit TfrmNote(QWidget* parent);
  ~TfrmNote() override;

  // Sizes the window to its text in the text box's font (done when it is made; again after the
  // font changes): the designed 396 x 205 when the text fits it, else as large as the text needs.
  void FitWindowToText();

 protected:
  // Shown, the window is centred over the main window.
  void showEvent(QShowEvent* event) override;

 private:
  std::unique_ptr<Ui::TfrmNote> ui;
};

}  // namespace tolvane
