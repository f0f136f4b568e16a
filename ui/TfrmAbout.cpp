#include "ui/TfrmAbout.h"

#include <QLabel>
#include <QShowEvent>
#include <QTextBrowser>
#include <algorithm>
#include <string_view>

#include "documents/Credits.h"
#include "tolvane/Version.h"
#include "ui/Dialogs.h"
#include "ui/GuardedHandler.h"
#include "ui/MakerInfo.h"
#include "ui/TfrmMain.h"
#include "ui/WindowPlacement.h"
#include "ui_TfrmAbout.h"

namespace tolvane {
namespace {

// The licences' own pages: CC BY-SA asks for a link to it beside the credit, and the others are
// as easily followed.
std::string_view LicenceUrl(std::string_view licence) {
  static constexpr std::pair<std::string_view, std::string_view> kPages[] = {
      {"CC BY-SA 4.0", "https://creativecommons.org/licenses/by-sa/4.0/"},
      {"MIT", "https://opensource.org/license/mit"},
      {"ISC", "https://opensource.org/license/isc-license-txt"},
      {"Apache-2.0", "https://www.apache.org/licenses/LICENSE-2.0"},
      {"Unicode License v3", "https://www.unicode.org/license.txt"},
  };
  for (const auto& [name, url] : kPages)
    if (name == licence) return url;
  return {};
}

QString Html(const std::string& text) { return QString::fromStdString(text).toHtmlEscaped(); }

QString Link(const std::string& url, const QString& text) {
  return QStringLiteral("<a href=\"%1\">%2</a>").arg(Html(url), text);
}

// Every source of the data, in the order of DataCredits (CC-CEDICT first): its name, holder and
// licence, its address, and what the readings take from it.
QString CreditsHtml() {
  QString html = QStringLiteral("<p style=\"margin:0 0 6px 0\"><b>%1</b></p>")
                     .arg(QString::fromUtf8("拼音数据来源 (data)"));
  for (const DataCredit& credit : DataCredits()) {
    const std::string licenceUrl(LicenceUrl(credit.licence));
    const QString licence =
        licenceUrl.empty() ? Html(credit.licence) : Link(licenceUrl, Html(credit.licence));
    html += QStringLiteral("<p style=\"margin:0 0 6px 0\"><b>%1</b> &copy; %2, %3<br>%4<br>%5</p>")
                .arg(Html(credit.name), Html(credit.holder), licence,
                     Link(credit.url, Html(credit.url)), Html(credit.use));
  }
  return html;
}

}  // namespace

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
  // The links open through Dialogs, as the labels' page does, not in the text area itself.
  ui->Credits->setOpenLinks(false);
  ui->Credits->setHtml(CreditsHtml());
  connect(ui->Credits, &QTextBrowser::anchorClicked, this, &TfrmAbout::CreditLinkClick);
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
  // The credits below, some lines tall whatever their font, never less than designed.
  constexpr int kCreditsMargin = 8;
  constexpr int kDesignedCreditsHeight = 170;
  constexpr int kCreditsLines = 12;
  const int creditsHeight =
      std::max(kDesignedCreditsHeight, ui->Credits->fontMetrics().lineSpacing() * kCreditsLines +
                                           2 * ui->Credits->frameWidth());
  ui->Credits->setGeometry(kCreditsMargin, height, width - 2 * kCreditsMargin, creditsHeight);
  setFixedSize(width, height + creditsHeight + kCreditsMargin);
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

void TfrmAbout::CreditLinkClick(const QUrl& url) {
  RunGuarded(dialogs_, this, [&] { dialogs_.OpenUrl(url); });
}

}  // namespace tolvane
