#include "ui/TfrmAbout.h"

#include <QShowEvent>

#include "ui/Dialogs.h"
#include "ui/GuardedHandler.h"
#include "ui/MakerInfo.h"
#include "ui/TfrmMain.h"
#include "ui/WindowPlacement.h"
#include "ui_TfrmAbout.h"

namespace tolvane {

TfrmAbout::TfrmAbout(TfrmMain* owner, Dialogs& dialogs)
    : QDialog(owner), ui(std::make_unique<Ui::TfrmAbout>()), owner_(owner), dialogs_(dialogs) {
  ui->setupUi(this);
  UseFixedDialogFrame(*this);
  ui->Label3->setText(QString::fromUtf8(maker::kName));
  ui->Label4->setText(QString::fromUtf8(maker::kWebAddress));
  ui->Label5->setText(QString::fromUtf8(maker::kContact));
  for (ClickLabel* label : {ui->Label3, ui->Label4, ui->Label5}) {
    label->setCursor(Qt::PointingHandCursor);
  }
  connect(ui->Label3, &ClickLabel::clicked, this, &TfrmAbout::Label3Click);
  connect(ui->Label4, &ClickLabel::clicked, this, &TfrmAbout::Label4Click);
  connect(ui->Label5, &ClickLabel::clicked, this, &TfrmAbout::Label4Click);
  FormCreate();
}

TfrmAbout::~TfrmAbout() = default;

void TfrmAbout::showEvent(QShowEvent* event) {
  // Here the window has its frame, so the frame is what gets centred; a window that comes back
  // from being minimised stays where it was.
  if (!event->spontaneous()) CentreOverOwner(*this);
  QDialog::showEvent(event);
}

void TfrmAbout::FormCreate() {
  // The version is the main window's, not a text of this window's own.
  RunGuarded(dialogs_, this, [&] { ui->Label2->setText(owner_->VersionText()); });
}

void TfrmAbout::Label3Click() {
  RunGuarded(dialogs_, this, [&] { dialogs_.OpenUrl(maker::WebPageUrl()); });
}

void TfrmAbout::Label4Click() {
  RunGuarded(dialogs_, this, [&] { dialogs_.OpenUrl(maker::WebPageUrl()); });
}

}  // namespace tolvane
