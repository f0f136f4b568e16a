#include "ui/TfrmPageDesign.h"

#include <QColorDialog>
#include <QCoreApplication>
#include <QFontDatabase>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QResizeEvent>
#include <QTranslator>
#include <string_view>
#include <utility>
#include <vector>

#include "ui/LanguageFile.h"
#include "ui/RubyPageLayout.h"
#include "ui_TfrmPageDesign.h"

namespace tolvane {
namespace {

// The preview's text: a short poem under its title, a polyphone read otherwise than usual and
// two uncommon characters, so that every choice of annotation shows something.
struct SampleUnit {
  const char* text;
  const char* reading;
  const char* usual;  // the character's most common reading
};
using SampleLine = std::vector<SampleUnit>;

std::vector<SampleLine> SampleLines() {
  return {
      {{"静", "jìng", "jìng"}, {"夜", "yè", "yè"}, {"思", "sī", "sī"}},
      {{"床", "chuáng", "chuáng"},
       {"前", "qián", "qián"},
       {"明", "míng", "míng"},
       {"月", "yuè", "yuè"},
       {"光", "guāng", "guāng"},
       {"，", "", ""},
       {"疑", "yí", "yí"},
       {"是", "shì", "shì"},
       {"地", "dì", "de"},
       {"上", "shàng", "shàng"},
       {"霜", "shuāng", "shuāng"},
       {"。", "", ""}},
      {{"银", "yín", "yín"},
       {"行", "háng", "xíng"},
       {"行", "háng", "xíng"},
       {"长", "zhǎng", "cháng"},
       {"是", "shì", "shì"},
       {"个", "gè", "gè"},
       {"饕", "tāo", "tāo"},
       {"餮", "tiè", "tiè"},
       {"，", "", ""},
       {"说", "shuō", "shuō"},
       {"：", "", ""},
       {"“", "", ""},
       {"好", "hǎo", "hǎo"},
       {"！", "", ""},
       {"”", "", ""}},
  };
}

Handout SampleHandout(const PageDesign& design) {
  std::vector<RubyLine> lines;
  std::vector<std::pair<std::string, std::string>> usual;
  for (const SampleLine& sample : SampleLines()) {
    RubyLine line;
    for (const SampleUnit& unit : sample) {
      line.push_back({unit.text, unit.reading});
      usual.emplace_back(unit.text, unit.usual);
    }
    lines.push_back(std::move(line));
  }
  const UsualReading usualOf = [&usual](std::string_view character) {
    for (const auto& [text, reading] : usual)
      if (text == character) return reading;
    return std::string();
  };
  RubyLine fixedTitle;
  for (const char32_t cp : QString::fromStdString(design.titleText).toStdU32String())
    fixedTitle.push_back({QString::fromUcs4(&cp, 1).toStdString(), ""});
  return ComposeHandout(std::move(lines), usualOf, design, std::move(fixedTitle));
}

// The window's captions are translated in the context of its form, so that one context of
// ui/translations holds all of its texts.
constexpr const char* kContext = "TfrmPageDesign";

QString Tr(const char* english) { return QCoreApplication::translate(kContext, english); }

// Answers the window's own context only: from the Chinese catalogue, or with the English source
// texts. Installed last while the window is made, it wins over a catalogue another window has
// installed, so the window shows the language it was opened in whatever else is open; other
// contexts fall through.
class CaptionTranslator : public QTranslator {
 public:
  explicit CaptionTranslator(bool chinese) {
    if (chinese) chinese_ = catalogue_.load(QStringLiteral(":/i18n/tolvane_zh_CN.qm"));
  }
  QString translate(const char* context, const char* sourceText, const char* disambiguation,
                    int n) const override {
    if (context == nullptr || std::string_view(context) != kContext) return QString();
    if (chinese_) return catalogue_.translate(context, sourceText, disambiguation, n);
    return QString::fromUtf8(sourceText);
  }
  bool isEmpty() const override { return false; }

 private:
  QTranslator catalogue_;
  bool chinese_ = false;
};

template <typename Enum>
void SelectData(QComboBox* box, Enum value) {
  const int index = box->findData(static_cast<int>(value));
  if (index >= 0) box->setCurrentIndex(index);
}

template <typename Enum>
Enum DataOf(const QComboBox* box) {
  return static_cast<Enum>(box->currentData().toInt());
}

void SelectFamily(QComboBox* box, const std::string& family) {
  const QString name = QString::fromStdString(family);
  int index = box->findData(name);
  if (index < 0) {
    // A face that is not installed here (a design from another machine) stays chosen.
    box->addItem(name, name);
    index = box->count() - 1;
  }
  box->setCurrentIndex(index);
}

}  // namespace

TfrmPageDesign::TfrmPageDesign(QWidget* parent, int language)
    : QDialog(parent), ui(std::make_unique<Ui::TfrmPageDesign>()) {
  CaptionTranslator captions(language != kEnglish);
  QCoreApplication::installTranslator(&captions);
  ui->setupUi(this);
  FillChoices();
  ApplyLanguage();
  QCoreApplication::removeTranslator(&captions);
  ConnectControls();
  SetDesign(PageDesign{});
}

TfrmPageDesign::~TfrmPageDesign() = default;

bool TfrmPageDesign::event(QEvent* event) {
  const bool handled = QDialog::event(event);
  if (event->type() == QEvent::LanguageChange) {
    ui->buttonBox->button(QDialogButtonBox::Ok)->setText(okCaption_);
    ui->buttonBox->button(QDialogButtonBox::Cancel)->setText(cancelCaption_);
  }
  return handled;
}

void TfrmPageDesign::FillChoices() {
  const auto add = [&](QComboBox* box, std::initializer_list<std::pair<int, const char*>> items) {
    for (const auto& [value, text] : items) box->addItem(QString::fromUtf8(text), value);
  };
  add(ui->cb_paper, {{static_cast<int>(PaperSize::A4), "A4"},
                     {static_cast<int>(PaperSize::A5), "A5"},
                     {static_cast<int>(PaperSize::Letter), "Letter"}});
  for (QComboBox* box : {ui->cb_textfont, ui->cb_readingfont}) {
    box->addItem(QString(), QString());  // the automatic choice; its caption follows the language
    for (const QString& family : QFontDatabase::families()) box->addItem(family, family);
  }
  add(ui->cb_title, {{static_cast<int>(TitleSource::FirstLine), ""},
                     {static_cast<int>(TitleSource::Fixed), ""},
                     {static_cast<int>(TitleSource::None), ""}});
  add(ui->cb_tones, {{static_cast<int>(ToneColourScheme::Off), ""},
                     {static_cast<int>(ToneColourScheme::Classic), ""},
                     {static_cast<int>(ToneColourScheme::Dictionary), ""},
                     {static_cast<int>(ToneColourScheme::Contrast), ""},
                     {static_cast<int>(ToneColourScheme::Custom), ""}});
  add(ui->cb_annotate, {{static_cast<int>(AnnotationScope::Every), ""},
                        {static_cast<int>(AnnotationScope::Uncommon), ""},
                        {static_cast<int>(AnnotationScope::Unusual), ""},
                        {static_cast<int>(AnnotationScope::First), ""}});
}

void TfrmPageDesign::ApplyLanguage() {
  // The form's own captions came translated from setupUi; the combo boxes' items are filled
  // here, so they are named here.
  const auto name = [](QComboBox* box, std::initializer_list<const char*> captions) {
    int index = 0;
    for (const char* caption : captions) box->setItemText(index++, Tr(caption));
  };
  name(ui->cb_paper, {"A4", "A5", "Letter"});
  for (QComboBox* box : {ui->cb_textfont, ui->cb_readingfont}) name(box, {"(automatic)"});
  name(ui->cb_title, {"First line", "Fixed text", "None"});
  name(ui->cb_tones, {"Off", "Classic", "Dictionary", "High contrast", "Custom"});
  name(ui->cb_annotate,
       {"Every character", "Uncommon characters", "Unusual readings", "First occurrence"});
  ui->cb_annotate->setItemData(0, Tr("Pinyin over every Chinese character"), Qt::ToolTipRole);
  ui->cb_annotate->setItemData(1, Tr("Pinyin only over characters outside the 3,500 common ones"),
                               Qt::ToolTipRole);
  ui->cb_annotate->setItemData(2, Tr("Pinyin only where a character is read otherwise than usual"),
                               Qt::ToolTipRole);
  ui->cb_annotate->setItemData(3, Tr("Pinyin over the first occurrence of each character only"),
                               Qt::ToolTipRole);
  okCaption_ = Tr("OK");
  cancelCaption_ = Tr("Cancel");
  ui->buttonBox->button(QDialogButtonBox::Ok)->setText(okCaption_);
  ui->buttonBox->button(QDialogButtonBox::Cancel)->setText(cancelCaption_);
}

void TfrmPageDesign::ConnectControls() {
  connect(ui->buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(ui->buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
  const auto changed = [this] {
    if (filling_) return;
    ui->ed_titletext->setEnabled(DataOf<TitleSource>(ui->cb_title) == TitleSource::Fixed);
    ShowToneColours();
    UpdatePreview();
  };
  for (QComboBox* box : {ui->cb_paper, ui->cb_textfont, ui->cb_readingfont, ui->cb_title,
                         ui->cb_tones, ui->cb_annotate})
    connect(box, &QComboBox::currentIndexChanged, this, changed);
  for (QDoubleSpinBox* box : {ui->sp_margin, ui->sp_textsize, ui->sp_linespacing, ui->sp_gap})
    connect(box, &QDoubleSpinBox::valueChanged, this, changed);
  connect(ui->sp_readingpercent, &QSpinBox::valueChanged, this, changed);
  connect(ui->ed_titletext, &QLineEdit::textChanged, this, changed);
  connect(ui->ck_pagenumbers, &QCheckBox::toggled, this, changed);
  const std::array<QPushButton*, 5> buttons{ui->btn_tone1, ui->btn_tone2, ui->btn_tone3,
                                            ui->btn_tone4, ui->btn_tone5};
  for (std::size_t i = 0; i < buttons.size(); ++i)
    connect(buttons[i], &QPushButton::clicked, this, [this, i] { ChooseToneColour(i); });
}

void TfrmPageDesign::SetDesign(const PageDesign& design) {
  filling_ = true;
  SelectData(ui->cb_paper, design.paper);
  ui->sp_margin->setValue(design.marginMm);
  SelectFamily(ui->cb_textfont, design.textFont);
  ui->sp_textsize->setValue(design.textSizePt);
  SelectFamily(ui->cb_readingfont, design.readingFont);
  ui->sp_readingpercent->setValue(design.readingPercent);
  ui->sp_linespacing->setValue(design.lineSpacing);
  ui->sp_gap->setValue(design.syllableGap);
  SelectData(ui->cb_title, design.titleSource);
  ui->ed_titletext->setText(QString::fromStdString(design.titleText));
  ui->ck_pagenumbers->setChecked(design.pageNumbers);
  SelectData(ui->cb_tones, design.toneScheme);
  customColours_ = design.toneColours;
  SelectData(ui->cb_annotate, design.scope);
  filling_ = false;
  ui->ed_titletext->setEnabled(design.titleSource == TitleSource::Fixed);
  ShowToneColours();
  UpdatePreview();
}

PageDesign TfrmPageDesign::Design() const {
  PageDesign design;
  design.paper = DataOf<PaperSize>(ui->cb_paper);
  design.marginMm = ui->sp_margin->value();
  design.textFont = ui->cb_textfont->currentData().toString().toStdString();
  design.textSizePt = ui->sp_textsize->value();
  design.readingFont = ui->cb_readingfont->currentData().toString().toStdString();
  design.readingPercent = ui->sp_readingpercent->value();
  design.lineSpacing = ui->sp_linespacing->value();
  design.syllableGap = ui->sp_gap->value();
  design.titleSource = DataOf<TitleSource>(ui->cb_title);
  design.titleText = ui->ed_titletext->text().toStdString();
  design.pageNumbers = ui->ck_pagenumbers->isChecked();
  design.toneScheme = DataOf<ToneColourScheme>(ui->cb_tones);
  design.toneColours = customColours_;
  design.scope = DataOf<AnnotationScope>(ui->cb_annotate);
  return design;
}

void TfrmPageDesign::ShowToneColours() {
  PageDesign design;
  design.toneScheme = DataOf<ToneColourScheme>(ui->cb_tones);
  design.toneColours = customColours_;
  const bool custom = design.toneScheme == ToneColourScheme::Custom;
  const std::array<QPushButton*, 5> buttons{ui->btn_tone1, ui->btn_tone2, ui->btn_tone3,
                                            ui->btn_tone4, ui->btn_tone5};
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    const std::string colour = ToneColour(design, static_cast<int>(i) + 1);
    buttons[i]->setEnabled(custom);
    buttons[i]->setStyleSheet(
        colour.empty()
            ? QString()
            : QStringLiteral("QPushButton { color: %1; }").arg(QString::fromStdString(colour)));
  }
}

void TfrmPageDesign::ChooseToneColour(std::size_t index) {
  const QColor chosen =
      QColorDialog::getColor(QColor(QString::fromStdString(customColours_[index])), this);
  if (!chosen.isValid()) return;
  customColours_[index] = chosen.name().toStdString();
  ShowToneColours();
  UpdatePreview();
}

void TfrmPageDesign::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  UpdatePreview();
}

void TfrmPageDesign::UpdatePreview() {
  // The top of the first page, drawn at a resolution that makes the paper as wide as the box.
  QLabel* box = ui->img_preview;
  const PageDesign design = Design();
  const QSize room = box->contentsRect().size().expandedTo(QSize(200, 200));
  const double dpi = room.width() / (PaperSizeMm(design.paper).width / 25.4);
  QImage page(room, QImage::Format_RGB32);
  const int dotsPerMeter = static_cast<int>(dpi / 0.0254 + 0.5);
  page.setDotsPerMeterX(dotsPerMeter);
  page.setDotsPerMeterY(dotsPerMeter);
  page.fill(Qt::white);
  const RubyPageLayout layout(page, design);
  const std::vector<RubyPage> pages = layout.Layout(SampleHandout(design));
  QPainter painter(&page);
  painter.setRenderHint(QPainter::TextAntialiasing);
  // The margins' edge, faint, so that a change of margin shows.
  painter.setPen(QColor(210, 210, 230));
  painter.drawRect(layout.ContentRect());
  if (!pages.empty()) layout.Paint(painter, pages.front());
  painter.end();
  box->setPixmap(QPixmap::fromImage(page));
}

}  // namespace tolvane
