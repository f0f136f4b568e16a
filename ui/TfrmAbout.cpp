#include "ui/TfrmAbout.h"

#include <QLabel>
#include <QShowEvent>
#include <algorithm>

#include "tolvane/Version.h"
#include "ui/Dialogs.h"
#include "ui/GuardedHandler.h"
#include "ui/MakerInfo.h"
#include "ui/TfrmMain.h"
#include "ui/WindowPlacement.h"
#include "ui_TfrmAbout.h"

namespace tolvane {

TfrmAbout::TfrmAbout(TfrmMain* owner, Dialogs& dialogs)
    : QDialog(owner), ui(std::make_unique<Ui::TfrmAbout>()), dialogs_(dialogs) {
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
  FitLabelsToText();
}

void TfrmAbout::FitLabelsToText() {
  // The designed 16-pixel labels hold their texts in the designed font; the font that answers
  // for "Arial" on another machine may be larger.
  constexpr QSize kDesignedClient(254, 166);
  constexpr int kDesignedLabelHeight = 16;
  constexpr int kDesignedTops[] = {10, 40, 72, 102, 131};
  QLabel* labels[] = {ui->Label1, ui->Label2, ui->Label3, ui->Label4, ui->Label5};
  int width = kDesignedClient.width();
  for (QLabel* label : labels) width = std::max(width, label->sizeHint().width());
  int bottom = 0;
  int index = 0;
  for (QLabel* label : labels) {
    const int height = std::max(kDesignedLabelHeight, label->sizeHint().height());
    const int top = std::max(kDesignedTops[index++], bottom);
    label->setGeometry(0, top, width, height);
    bottom = top + height;
  }
  // The designed space under the last label.
  const int lastBottom = kDesignedTops[4] + kDesignedLabelHeight;
  const int height =
      std::max(kDesignedClient.height(), bottom + kDesignedClient.height() - lastBottom);
  setFixedSize(width, height);
}

TfrmAbout::~TfrmAbout() = default;

void TfrmAbout::showEvent(QShowEvent* event) {
  // Here the window has its frame, so the frame is what gets centred; a window that comes back
  // from being minimised stays where it was.
  if (!event->spontaneous()) CentreOverOwner(*this);
  QDialog::showEvent(event);
}

void TfrmAbout::FormCreate() {
  // The build's version, from project() in CMakeLists.txt, as tolvane-cli --version gives it.
  ui->Label2->setText(QStringLiteral("v") + QString::fromLatin1(kVersion));
}

void TfrmAbout::Label3Click() {
  RunGuarded(dialogs_, this, [&] { dialogs_.OpenUrl(maker::WebPageUrl()); });
}

void TfrmAbout::Label4Click() {
  RunGuarded(dialogs_, this, [&] { dialogs_.OpenUrl(maker::WebPageUrl()); });
}

}  // namespace tolvane
