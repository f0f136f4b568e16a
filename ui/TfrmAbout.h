#pragma once

#include <QDialog>
#include <QUrl>
#include <memory>

namespace Ui {
class TfrmAbout;
}

namespace tolvane {

class Dialogs;
class TfrmMain;

// The About window: the program's name and version and the maker's details, and under them the
// data the readings come from, each with its holder, licence and link, as the licences ask. A
// fresh one is built for each opening, shown modally and destroyed when it closes. Three of its
// labels open the maker's web page; the credits' links open theirs.
class TfrmAbout : public QDialog {
  Q_OBJECT

 public:
  // `owner` is the main window, over which the window is centred; `dialogs` outlives it.
  TfrmAbout(TfrmMain* owner, Dialogs& dialogs);
  ~TfrmAbout() override;

  // Sizes the labels to their texts in their font (done when the window is made; again after a
  // font changes): the designed tops and sizes when every text fits its label, else each label
  // as tall and the window as wide as its text needs, the labels moved down so none covers the
  // next, never below the designed size. The credits take the window's width below the labels'
  // designed space, some lines of their font tall (they scroll).
  void FitLabelsToText();

  // Event handlers, connected in the constructor.
  void Label3Click();
  void Label4Click();
  void CreditLinkClick(const QUrl& url);

 protected:
  // Shown, the window is centred over the main window.
  void showEvent(QShowEvent* event) override;

 private:
  void FormCreate();

  std::unique_ptr<Ui::TfrmAbout> ui;
  Dialogs& dialogs_;
};

}  // namespace tolvane
