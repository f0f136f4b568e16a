#include "ui/TfrmMain.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QProgressBar>
#include <QUrl>
#include <climits>

#include "documents/DocumentFormat.h"
#include "documents/DocumentStyle.h"
#include "documents/HandoutDocument.h"
#include "documents/Subtitles.h"
#include "engine/AnnotateLine.h"
#include "engine/BatchConversion.h"
#include "engine/SourceReader.h"
#include "frontend/TargetNaming.h"
#include "reading/LineReadings.h"
#include "reading/classic/ReadingTable.h"
#include "reading/shared/DataFiles.h"
#include "tolvane/Version.h"
#include "ui/Dialogs.h"
#include "ui/GbTypingLimit.h"
#include "ui/HandoutExport.h"
#include "ui/LayoutPictures.h"
#include "ui/MakerInfo.h"
#include "ui/QtText.h"
#include "ui/RubyPageLayout.h"
#include "ui/TfrmAbout.h"
#include "ui/TfrmHan.h"
#include "ui/TfrmNote.h"
#include "ui/TfrmPageDesign.h"
#include "ui/TfrmProofread.h"
#include "ui/TfrmWeiHan.h"
#include "ui_TfrmMain.h"

namespace tolvane {
namespace {

constexpr std::size_t kPreviewByteLimit = 20;
constexpr int kHintMilliseconds = 10000;

// Window heights and the tops that the show-options and hide-options actions set.
constexpr int kWidth = 532;
constexpr int kHeightShown = 495;
constexpr int kHeightHidden = 295;
constexpr int kProgressGrowth = 30;
constexpr int kDemoTopShown = 210;
constexpr int kDemoTopHidden = 10;
constexpr int kOpenFileTopShown = 346;
constexpr int kOpenFileTopHidden = 146;
constexpr int kProgressTopShown = 440;
constexpr int kProgressTopHidden = 240;

const QString kOpenFilter = QStringLiteral("Text file (*.txt);;All (*)");
// "*" rather than "*.*": on this platform many files have no dot in their names.
const QString kSaveFilter = QStringLiteral(
    "Text file (*.txt);;HTML (*.html);;Word (*.docx);;LibreOffice (*.odt);;EPUB (*.epub);;"
    "Subtitles (*.srt *.vtt);;All (*)");

// The questions of a run, in UTF-8; the completion question is followed by the file's path.
constexpr const char* kSourceMissingQuestion = "没找到源文件,选择文件？";
constexpr const char* kCompletedQuestion = "执行完成，是否打开文件\r\r";
// The NUL characters a source holds are copied like any character without a reading.
constexpr const char* kNulCharactersNotice = "源文件含有 NUL 字节，已原样写入目标文件。\r\r";
// A second document asked for while one is being written.
constexpr const char* kDocumentBusyNotice = "正在写入文件，请稍候。";

}  // namespace

TfrmMain::TfrmMain(FileLocations locations, Dialogs& dialogs, QWidget* parent)
    : QMainWindow(parent),
      ui(std::make_unique<Ui::TfrmMain>()),
      locations_(std::move(locations)),
      dialogs_(dialogs) {
  ui->setupUi(this);
  // A sizeable frame with the system menu, minimise and close, but no maximise.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  AddMenuSeparators();
  DrawLayoutPictures();
  new GbTypingLimit(ui->edt_input, kPreviewByteLimit);
  ConnectHandlers();
  FormCreate();
}

TfrmMain::~TfrmMain() = default;

void TfrmMain::AddMenuSeparators() {
  // Separators cannot be named in a .ui file; these carry their designed names.
  ui->N1->insertSeparator(ui->N5)->setObjectName(QStringLiteral("N4"));
  ui->N6->insertSeparator(ui->N10)->setObjectName(QStringLiteral("N9"));
}

void TfrmMain::DrawLayoutPictures() {
  const struct {
    QLabel* image;
    OutputFormat format;
  } pictures[] = {
      {ui->Image1, OutputFormat::rb_output_py},
      {ui->Image2, OutputFormat::rb_output_han},
      {ui->Image3, OutputFormat::rb_output_hanpy},
      {ui->Image4, OutputFormat::rb_output_pyhan},
  };
  for (const auto& picture : pictures) {
    const QPixmap under = ui->GroupBox_outpu->grab(picture.image->geometry());
    picture.image->setPixmap(LayoutPicture(picture.format, under, ui->rb_output_py_only->font()));
  }
}

void TfrmMain::ConnectHandlers() {
  connect(ui->btn_pinyin, &QPushButton::clicked, this, &TfrmMain::btn_pinyinClick);
  connect(ui->edt_input, &QLineEdit::textChanged, this, &TfrmMain::edt_inputChange);
  connect(ui->btnopen, &QPushButton::clicked, this, &TfrmMain::btnopenClick);
  connect(ui->btnOk, &QPushButton::clicked, this, &TfrmMain::btnOkClick);
  connect(ui->N2, &QAction::triggered, this, &TfrmMain::N2Click);
  connect(ui->N3, &QAction::triggered, this, &TfrmMain::N3Click);
  connect(ui->N5, &QAction::triggered, this, &TfrmMain::N5Click);
  connect(ui->N_print, &QAction::triggered, this, &TfrmMain::N_printClick);
  connect(ui->N_pdf, &QAction::triggered, this, &TfrmMain::N_pdfClick);
  connect(ui->N_pagedesign, &QAction::triggered, this, &TfrmMain::N_pagedesignClick);
  connect(ui->N_proofread, &QAction::triggered, this, &TfrmMain::N_proofreadClick);
  connect(ui->n_showoptions, &QAction::triggered, this, &TfrmMain::n_showoptionsClick);
  connect(ui->N_hideoptions, &QAction::triggered, this, &TfrmMain::N_hideoptionsClick);
  connect(ui->N_orthography, &QAction::toggled, this, &TfrmMain::N_orthographyToggled);
  connect(ui->rb_duoyinzi_context, &QRadioButton::toggled, this,
          &TfrmMain::rb_duoyinzi_contextToggled);
  connect(ui->N_standard, &QAction::triggered, this, &TfrmMain::N_standardClick);
  connect(ui->N_wei, &QAction::triggered, this, &TfrmMain::N_weiClick);
  connect(ui->N7, &QAction::triggered, this, &TfrmMain::N7Click);
  connect(ui->N8, &QAction::triggered, this, &TfrmMain::N8Click);
  connect(ui->N10, &QAction::triggered, this, &TfrmMain::N10Click);
}

void TfrmMain::CreateHiddenWindows() {
  frmNote_ = new TfrmNote(this);
  frmWeiHan_ = new TfrmWeiHan(this, dialogs_, session_, locations_);
  frmHan_ = new TfrmHan(this, dialogs_, session_, locations_);
}

template <typename Handler>
void TfrmMain::Guarded(Handler&& handler) {
  try {
    handler();
  } catch (const std::exception& error) {
    ShowError(QStringFromErrorText(error.what()));
  }
}

void TfrmMain::ShowError(const QString& text) { dialogs_.Error(this, ErrorBoxText(text)); }

void TfrmMain::FormCreate() {
  // An error stops start-up at its step; the window then shows as far as it got.
  Guarded([&] {
    versionText_ = QStringLiteral("v") + QString::fromLatin1(kVersion);
    StartSession(session_, DataFolders{locations_.dictionaries, locations_.data});
    SetOuterHeight(kHeightShown);
    SetOuterWidth(kWidth);
    // Qt keeps no application-wide hint time; edt_input is the only control with a hint.
    ui->edt_input->setToolTipDuration(kHintMilliseconds);
    ui->Image1->raise();
    ui->Image2->raise();
    ui->Image3->raise();
    ui->Image4->raise();
    languageFlag_ = ReadLanguageFlag(locations_.settings / kLanguageFileName);
    interfacelanguage(languageFlag_);
    ConfigLoad();
    final_config();
  });
  LoadPageDesign();
}

void TfrmMain::LoadPageDesign() {
  const std::filesystem::path path = locations_.settings / kPageDesignFileName;
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) return;
  try {
    pageDesign_ = ReadPageDesign(path);
  } catch (const std::exception& error) {
    ShowError(ErrorTextNamingItsFile(error));
  }
}

void TfrmMain::closeEvent(QCloseEvent* event) {
  // A document still being written is finished, and reported, before the data is released.
  documentJob_.Finish();
  FormClose();
  event->accept();
}

void TfrmMain::FormClose() {
  session_.ReleaseDataFiles();
  // When the options cannot be saved the user learns which file and why, and the window still
  // closes: a program that refuses to quit over its settings file would leave the user no way
  // out.
  try {
    ConfigSave();
  } catch (const std::exception& error) {
    ShowError(ErrorTextNamingItsFile(error));
  }
}

QSize TfrmMain::OuterSize() const { return frameGeometry().size(); }

void TfrmMain::SetOuterHeight(int height) {
  const int frame = frameGeometry().height() - this->height();
  resize(width(), height - frame);
}

void TfrmMain::SetOuterWidth(int width) {
  const int frame = frameGeometry().width() - this->width();
  resize(width - frame, height());
}

bool TfrmMain::OptionsShown() const { return !ui->rb_duoyin->isHidden(); }

std::array<TfrmMain::Choice<ToneStyle>, 3> TfrmMain::ToneChoices() const {
  return {{{ui->RadioButton_num, ToneStyle::Numbered},
           {ui->RadioButton_tone, ToneStyle::Marked},
           {ui->RadioButton_notone, ToneStyle::Plain}}};
}

std::array<TfrmMain::Choice<OutputFormat>, 5> TfrmMain::OutputChoices() const {
  return {{{ui->rb_output_py, OutputFormat::rb_output_py},
           {ui->rb_output_han, OutputFormat::rb_output_han},
           {ui->rb_output_hanpy, OutputFormat::rb_output_hanpy},
           {ui->rb_output_pyhan, OutputFormat::rb_output_pyhan},
           {ui->rb_output_py_only, OutputFormat::rb_output_py_only}}};
}

std::array<TfrmMain::Choice<int>, 7> TfrmMain::WrapChoices() const {
  return {{{ui->rb_huanghang_no, 0},
           {ui->rb_huanghang100, 100},
           {ui->rb_huanghang50, 50},
           {ui->rb_huanghang40, 40},
           {ui->rb_huanghang30, 30},
           {ui->rb_huanghang20, 20},
           {ui->rb_huanghang10, 10}}};
}

namespace {

template <typename T, std::size_t N, typename Choice>
T CheckedValue(const std::array<Choice, N>& choices, T fallback) {
  for (const auto& choice : choices) {
    if (choice.button->isChecked()) return choice.value;
  }
  return fallback;
}

template <typename T, std::size_t N, typename Choice>
void Check(const std::array<Choice, N>& choices, T value) {
  for (const auto& choice : choices) {
    if (choice.value == value) choice.button->setChecked(true);
  }
}

}  // namespace

ConversionSettings TfrmMain::CurrentSettings() const {
  ConversionSettings settings;
  settings.polyphone = ui->rb_duoyinzi_single->isChecked()    ? PolyphonePolicy::FirstReading
                       : ui->rb_duoyinzi_context->isChecked() ? PolyphonePolicy::ByContext
                                                              : PolyphonePolicy::AllReadings;
  settings.toneStyle = CheckedValue(ToneChoices(), settings.toneStyle);
  settings.wadeGiles = ui->CheckBox_wei->isChecked();
  settings.outputFormat = CheckedValue(OutputChoices(), settings.outputFormat);
  settings.align = ui->CheckBox_align->isChecked();
  settings.wrapWidth = CheckedValue(WrapChoices(), settings.wrapWidth);
  // The reading menu's switches stay as they were set whatever the policy, like every other
  // control; only reading by context reads them.
  settings.neutralTone = ui->N_spoken->isChecked() ? NeutralTone::Spoken : NeutralTone::Citation;
  settings.sandhi = ui->N_sandhi->isChecked();
  settings.erhua = ui->N_erhua->isChecked();
  // Checked only together with reading by context, which gives it its readings.
  settings.orthography = ui->N_orthography->isChecked();
  return settings;
}

WindowSettings TfrmMain::SettingsFromControls() const {
  return {CurrentSettings(), OptionsShown(), GbFromQString(ui->edt_input->text())};
}

void TfrmMain::ApplySettings(const WindowSettings& settings) {
  const ConversionSettings& conversion = settings.conversion;
  (conversion.polyphone == PolyphonePolicy::FirstReading ? ui->rb_duoyinzi_single
   : conversion.polyphone == PolyphonePolicy::ByContext  ? ui->rb_duoyinzi_context
                                                         : ui->rb_duoyinzi_multi)
      ->setChecked(true);
  Check(ToneChoices(), conversion.toneStyle);
  ui->CheckBox_wei->setChecked(conversion.wadeGiles);
  Check(OutputChoices(), conversion.outputFormat);
  Check(WrapChoices(), conversion.wrapWidth);
  ui->CheckBox_align->setChecked(conversion.align);
  ui->N_spoken->setChecked(conversion.neutralTone == NeutralTone::Spoken);
  ui->N_sandhi->setChecked(conversion.sandhi);
  ui->N_erhua->setChecked(conversion.erhua);
  ui->N_orthography->setChecked(conversion.orthography);
  ShowOptions(settings.optionsShown);
  ui->edt_input->setText(QStringFromGb(settings.previewText));
}

void TfrmMain::interfacelanguage(int language) {
  for (const LanguageCaption& caption : LanguageCaptions()) {
    const QString name = QString::fromLatin1(caption.control);
    const QString text = QString::fromUtf8(CaptionFor(caption, language));
    if (name == QLatin1String(kMainWindowName)) {
      setWindowTitle(text);
    } else if (auto* button = findChild<QAbstractButton*>(name)) {
      button->setText(text);
    } else if (auto* menu = findChild<QMenu*>(name)) {
      menu->setTitle(text);
    } else if (auto* action = findChild<QAction*>(name)) {
      action->setText(text);
    }
  }
  WriteLanguageFile(locations_.ForWriting(locations_.settings) / kLanguageFileName, language);
}

void TfrmMain::ConfigLoad() {
  WindowSettings settings = SettingsFromControls();
  if (LoadConfigFile(locations_.settings / kSettingsFileName, settings)) ApplySettings(settings);
}

void TfrmMain::ConfigSave() {
  SaveConfigFile(locations_.ForWriting(locations_.settings) / kSettingsFileName,
                 SettingsFromControls());
}

void TfrmMain::final_config() { setWindowTitle(QStringLiteral("Tolvane") + versionText_); }

void TfrmMain::ShowExample() {
  // Any text can be typed or pasted: it is annotated as Unicode text, so characters that
  // GB2312 lacks show as they are, without a reading.
  const QByteArray textUtf8 = ui->edt_input->text().toUtf8();
  const std::string_view text(textUtf8.constData(), static_cast<std::size_t>(textUtf8.size()));
  LineReadings readings(session_.Data());
  for (const std::string& line :
       PreviewLines(readings, text, CurrentSettings(), TextForm::Unicode)) {
    ui->Memo_output->appendPlainText(
        QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size())));
  }
}

void TfrmMain::btn_pinyinClick() {
  Guarded([&] {
    ui->Memo_output->clear();
    ShowExample();
  });
}

void TfrmMain::edt_inputChange() {
  Guarded([&] { ui->Memo_output->clear(); });
}

void TfrmMain::n_showoptionsClick() {
  Guarded([&] { ShowOptions(true); });
}

void TfrmMain::N_hideoptionsClick() {
  Guarded([&] { ShowOptions(false); });
}

void TfrmMain::N_orthographyToggled(bool checked) {
  Guarded([&] {
    if (checked) ui->rb_duoyinzi_context->setChecked(true);
  });
}

void TfrmMain::rb_duoyinzi_contextToggled(bool checked) {
  Guarded([&] {
    if (!checked) ui->N_orthography->setChecked(false);
  });
}

void TfrmMain::ShowOptions(bool shown) {
  for (QWidget* box :
       {ui->rb_duoyin, ui->GroupBox_shengdiao, ui->GroupBox_outpu, ui->GroupBox_huanhang}) {
    box->setVisible(shown);
  }
  ui->GroupBox_demo->move(ui->GroupBox_demo->x(), shown ? kDemoTopShown : kDemoTopHidden);
  ui->GroupBox_openfile->move(ui->GroupBox_openfile->x(),
                              shown ? kOpenFileTopShown : kOpenFileTopHidden);
  ui->ProgressBar1->move(ui->ProgressBar1->x(), shown ? kProgressTopShown : kProgressTopHidden);
  SetOuterHeight(shown ? kHeightShown : kHeightHidden);
}

void TfrmMain::N_standardClick() {
  Guarded([&] {
    if (frmHan_ != nullptr) frmHan_->exec();
  });
}

void TfrmMain::N_weiClick() {
  Guarded([&] {
    if (frmWeiHan_ != nullptr) frmWeiHan_->exec();
  });
}

void TfrmMain::N7Click() {
  Guarded([&] {
    if (frmNote_ == nullptr) return;
    frmNote_->show();
    frmNote_->raise();
    frmNote_->activateWindow();
  });
}

void TfrmMain::N8Click() {
  Guarded([&] { dialogs_.OpenUrl(maker::WebPageUrl()); });
}

void TfrmMain::N10Click() {
  Guarded([&] {
    // A fresh window for each opening, gone when it closes.
    TfrmAbout about(this, dialogs_);
    about.exec();
  });
}

void TfrmMain::OpenDialog1Execute() {
  const QString fileName = dialogs_.OpenFileName(this, kOpenFilter, sourcePath_);
  if (!fileName.isEmpty()) OpenDialog1CanClose(fileName);
}

void TfrmMain::OpenDialog1CanClose(const QString& fileName) {
  sourcePath_ = fileName;
  targetPath_ = QStringFromPath(DeriveTargetPath(PathFromQString(sourcePath_)));
  ui->edtChfile->setText(sourcePath_);
  ui->edtEnfile->setText(targetPath_);
  ShowSourceEncoding();
}

void TfrmMain::ShowSourceEncoding() {
  const std::optional<TextEncoding> encoding = EncodingOfFile(PathFromQString(sourcePath_));
  QLabel* label = ui->Label_encoding;
  label->setText(encoding ? QString::fromLatin1(EncodingName(*encoding)) : QString());
  // The path in the box stops short of the label that sits over the box's right end.
  const int room = label->text().isEmpty()
                       ? 0
                       : ui->edtChfile->geometry().right() - label->geometry().left() + 2;
  ui->edtChfile->setTextMargins(0, 0, room, 0);
}

void TfrmMain::SaveDialog1CanClose(const QString& fileName) {
  targetPath_ = fileName;
  saveDialogFileName_ = fileName;
}

void TfrmMain::btnopenClick() {
  Guarded([&] {
    OpenDialog1Execute();
    ui->ProgressBar1->setValue(0);
  });
}

void TfrmMain::N2Click() {
  Guarded([&] { OpenDialog1Execute(); });
}

void TfrmMain::N3Click() {
  Guarded([&] {
    const QString fileName = dialogs_.SaveFileName(this, kSaveFilter, saveDialogFileName_);
    if (!fileName.isEmpty()) SaveDialog1CanClose(fileName);
    if (!saveDialogFileName_.isEmpty()) ui->edtEnfile->setText(saveDialogFileName_);
  });
}

void TfrmMain::N5Click() {
  Guarded([&] { close(); });
}

void TfrmMain::btnOkClick() {
  Guarded([&] {
    // The boxes are what counts: a run takes both paths from them.
    sourcePath_ = ui->edtChfile->text();
    targetPath_ = ui->edtEnfile->text();
    ConversionSettings settings = CurrentSettings();
    // A target named .docx, .odt, .epub, .srt or .vtt is written as that document.
    if (const auto document = DocumentFormatOfTarget(PathFromQString(targetPath_))) {
      WriteDocument(*document, settings);
      return;
    }
    // A target named .html or .htm is written as the HTML page, in the page design.
    if (IsHtmlTarget(PathFromQString(targetPath_))) settings.outputFormat = OutputFormat::html;
    BatchRequest request{PathFromQString(sourcePath_), PathFromQString(targetPath_), settings,
                         session_.Data(), locations_.scratch};
    request.htmlPage = HtmlPageLookOf(pageDesign_);
    if (settings.wrapWidth > 0) locations_.ForWriting(locations_.scratch);
    runFoundNul_ = false;
    EndRun(BatchConversion(request, *this), request.target);
  });
}

void TfrmMain::WriteDocument(DocumentFormat format, const ConversionSettings& settings) {
  const std::filesystem::path source = PathFromQString(sourcePath_);
  const std::filesystem::path target = PathFromQString(targetPath_);
  std::error_code error;
  if (!std::filesystem::is_regular_file(source, error)) {
    AskForAnotherSource();
    return;
  }
  StartDocument(
      [data = session_.Data(), format, settings, design = pageDesign_, source, target] {
        LineReadings readings(data);
        if (IsSubtitleFormat(format)) {
          ConvertSubtitles(readings, source, target, settings);
        } else {
          WriteHandoutDocument(format, ReadHandout(readings, source, settings, design), design,
                               target);
        }
      },
      [this, target] { OfferToOpen(target); });
}

bool TfrmMain::RefuseSecondDocument() {
  if (!documentJob_.Running()) return false;
  dialogs_.Message(this, QString::fromUtf8(kDocumentBusyNotice));
  return true;
}

bool TfrmMain::StartDocument(DocumentExportJob::Work work, std::function<void()> done) {
  if (RefuseSecondDocument()) return false;
  documentJob_.Start(std::move(work), [this, done = std::move(done)](const QString& error) {
    ShowDocumentBusy(false);
    if (error.isEmpty()) {
      Guarded(done);
    } else {
      ShowError(error);
    }
  });
  ShowDocumentBusy(true);
  return true;
}

void TfrmMain::ShowDocumentBusy(bool busy) {
  for (QAction* action : {ui->N_print, ui->N_pdf}) action->setEnabled(!busy);
  ui->btnOk->setEnabled(!busy);
  if (busy) {
    setCursor(Qt::BusyCursor);
    ui->ProgressBar1->show();
    SetOuterHeight((OptionsShown() ? kHeightShown : kHeightHidden) + kProgressGrowth);
    ui->ProgressBar1->setRange(0, 0);  // no steps to count: the bar runs until the end
  } else {
    unsetCursor();
    ui->ProgressBar1->setRange(0, 1);
    ui->ProgressBar1->setValue(0);
    HideProgress();
  }
}

void TfrmMain::EndRun(const RunOutcome& outcome, const std::filesystem::path& target) {
  switch (outcome.status) {
    case RunStatus::SourceMissing:
      AskForAnotherSource();
      return;
    case RunStatus::Completed:
      FillProgress();
      if (runFoundNul_) {
        const std::u8string source = PathFromQString(sourcePath_).u8string();
        dialogs_.Message(this, QString::fromUtf8(kNulCharactersNotice +
                                                 std::string(source.begin(), source.end())));
      }
      OfferToOpen(target);
      HideProgress();
      return;
    case RunStatus::Failed:
      // A run that failed before its target has shown no bar to close; the completion question
      // is not asked.
      if (outcome.targetOpened) {
        FillProgress();
        HideProgress();
      }
      ShowError(QStringFromErrorText(outcome.error->what()));
      return;
  }
}

void TfrmMain::NulCharacters(const std::filesystem::path&, std::uint64_t) { runFoundNul_ = true; }

void TfrmMain::AskForAnotherSource() {
  if (dialogs_.Confirm(this, QString::fromUtf8(kSourceMissingQuestion))) OpenDialog1Execute();
}

void TfrmMain::OfferToOpen(const std::filesystem::path& file) {
  const std::u8string path = file.u8string();
  const std::string text = kCompletedQuestion + std::string(path.begin(), path.end());
  if (dialogs_.Confirm(this, QString::fromUtf8(text)))
    dialogs_.OpenUrl(QUrl::fromLocalFile(QStringFromPath(file)));
}

std::optional<std::filesystem::path> TfrmMain::SourceOfHandout() {
  sourcePath_ = ui->edtChfile->text();
  const std::filesystem::path source = PathFromQString(sourcePath_);
  std::error_code ec;
  if (sourcePath_.isEmpty() || !std::filesystem::exists(source, ec)) {
    AskForAnotherSource();
    return std::nullopt;
  }
  return source;
}

void TfrmMain::N_printClick() {
  Guarded([&] {
    if (RefuseSecondDocument()) return;
    const auto source = SourceOfHandout();
    if (!source) return;
    // The source is read into a handout off this thread; the preview, which Qt keeps to this
    // thread, opens once it is there.
    auto handout = std::make_shared<std::optional<Handout>>();
    StartDocument(
        [handout, data = session_.Data(), settings = CurrentSettings(), design = pageDesign_,
         source = *source] {
          LineReadings readings(data);
          *handout = ReadHandout(readings, source, settings, design);
        },
        [this, handout, design = pageDesign_] {
          dialogs_.PrintPreview(this, [&](QPagedPaintDevice& device) {
            RubyPageLayout::Print(device, **handout, design);
          });
        });
  });
}

void TfrmMain::N_proofreadClick() {
  Guarded([&] {
    auto* window = new TfrmProofread(session_, dialogs_, CurrentSettings(), languageFlag_, this);
    window->SetPageDesign(pageDesign_);
    window->setWindowFlag(Qt::Window);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
  });
}

void TfrmMain::N_pdfClick() {
  Guarded([&] {
    if (RefuseSecondDocument()) return;
    const auto source = SourceOfHandout();
    if (!source) return;
    std::filesystem::path suggested = PathFromQString(ui->edtEnfile->text());
    if (suggested.empty()) suggested = DeriveTargetPath(*source);
    suggested.replace_extension(".pdf");
    const QString fileName =
        dialogs_.SaveFileName(this, HandoutFilter(), QStringFromPath(suggested));
    if (fileName.isEmpty()) return;
    const std::filesystem::path target = PathFromQString(fileName);
    // The settings and the design as they are now: the window may change them meanwhile.
    StartDocument(
        [data = session_.Data(), settings = CurrentSettings(), design = pageDesign_,
         source = *source, target] {
          LineReadings readings(data);
          WriteHandout(ReadHandout(readings, source, settings, design), design, target);
        },
        [this, target] { OfferToOpen(target); });
  });
}

void TfrmMain::N_pagedesignClick() {
  Guarded([&] {
    TfrmPageDesign dialog(this, languageFlag_);
    dialog.SetDesign(pageDesign_);
    if (dialog.exec() != QDialog::Accepted) return;
    pageDesign_ = dialog.Design();
    WritePageDesign(pageDesign_, locations_.ForWriting(locations_.settings) / kPageDesignFileName);
  });
}

void TfrmMain::ProgressStarted(std::size_t lineCount) {
  ui->ProgressBar1->show();
  SetOuterHeight((OptionsShown() ? kHeightShown : kHeightHidden) + kProgressGrowth);
  const std::size_t last = lineCount > 0 ? lineCount - 1 : 0;
  ui->ProgressBar1->setRange(0, static_cast<int>(std::min<std::size_t>(last, INT_MAX)));
  ui->ProgressBar1->setValue(0);
  // The run holds the GUI thread; let the grown window and the bar reach the screen first,
  // without taking any input meanwhile.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TfrmMain::ProgressRangeCorrected(std::size_t lineCount) {
  const std::size_t last = lineCount > 0 ? lineCount - 1 : 0;
  ui->ProgressBar1->setRange(0, static_cast<int>(std::min<std::size_t>(last, INT_MAX)));
}

void TfrmMain::ProgressStepped() {
  QProgressBar* bar = ui->ProgressBar1;
  const int before = bar->value();
  bar->setValue(before + 1);
  // The event loop is held by the run, so the bar is drawn by hand, once per percent.
  const long long span = std::max(1, bar->maximum() - bar->minimum());
  if ((before + 1LL) * 100 / span != before * 100LL / span) bar->repaint();
}

void TfrmMain::FillProgress() { ui->ProgressBar1->setValue(ui->ProgressBar1->maximum()); }

void TfrmMain::HideProgress() {
  ui->ProgressBar1->hide();
  SetOuterHeight(OptionsShown() ? kHeightShown : kHeightHidden);
}

}  // namespace tolvane
