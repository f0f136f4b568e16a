#include "ui/TfrmProofread.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDockWidget>
#include <QKeyEvent>
#include <QMenu>
#include <QStatusBar>
#include <QTextCursor>
#include <QTimer>
#include <unordered_set>

#include "documents/ProofreadingFile.h"
#include "documents/ProofreadingHandout.h"
#include "documents/ProofreadingReadings.h"
#include "documents/ProofreadingSource.h"
#include "platform/Error.h"
#include "platform/UnicodeText.h"
#include "reading/LineReadings.h"
#include "reading/orthography/SyllableSpelling.h"
#include "ui/Dialogs.h"
#include "ui/HandoutExport.h"
#include "ui/LanguageFile.h"
#include "ui/QtText.h"
#include "ui/UserWordsPanel.h"
#include "ui_TfrmProofread.h"

// The captions written here are translated in the context of the window's form
// ("TfrmProofread"), so that one context of ui/translations holds all of the window's texts.
namespace tolvane {
namespace {

std::string Utf8(const QString& text) { return text.toStdString(); }

QString Q(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// The code points of UTF-16 text: its units less the second halves of surrogate pairs.
std::size_t CodePoints(QStringView text) {
  std::size_t count = 0;
  for (const QChar unit : text)
    if (!unit.isLowSurrogate()) ++count;
  return count;
}

// A line not annotated yet: its characters, bare.
std::shared_ptr<const ViewLine> PendingLine(std::string_view text) {
  auto line = std::make_shared<ViewLine>();
  line->pending = true;
  unicode::ForEachCodePoint(text, [&](std::string_view character, char32_t) {
    line->units.push_back({std::string(character), std::string()});
  });
  return line;
}

constexpr int kPolicyFirst = 0;
constexpr int kPolicyAll = 1;
constexpr int kPolicyContext = 2;

constexpr int kWrittenMessageMilliseconds = 10000;

}  // namespace

TfrmProofread::TfrmProofread(Session& session, Dialogs& dialogs, const ConversionSettings& settings,
                             int language, QWidget* parent)
    : QMainWindow(parent),
      ui(std::make_unique<Ui::TfrmProofread>()),
      session_(session),
      dialogs_(dialogs),
      settings_(settings) {
  ui->setupUi(this);
  if (language != kEnglish && translator_.load(QStringLiteral(":/i18n/tolvane_zh_CN.qm"))) {
    QCoreApplication::installTranslator(&translator_);
    translated_ = true;
    ui->retranslateUi(this);
  }
  // The proofreading is of pinyin: the choices are pinyin syllables.
  settings_.wadeGiles = false;
  QAction* undo =
      undo_.createUndoAction(this, QCoreApplication::translate("TfrmProofread", "Undo"));
  undo->setShortcut(QKeySequence::Undo);
  undo->setObjectName(QStringLiteral("act_undo"));
  QAction* redo =
      undo_.createRedoAction(this, QCoreApplication::translate("TfrmProofread", "Redo"));
  redo->setShortcut(QKeySequence::Redo);
  redo->setObjectName(QStringLiteral("act_redo"));
  ui->menu_edit->addAction(undo);
  ui->menu_edit->addAction(redo);
  userWords_ = new UserWordsPanel(dialogs_);
  userWordsDock_ = new QDockWidget(QCoreApplication::translate("TfrmProofread", "My words"), this);
  userWordsDock_->setObjectName(QStringLiteral("dock_user_words"));
  userWordsDock_->setWidget(userWords_);
  addDockWidget(Qt::RightDockWidgetArea, userWordsDock_);
  userWordsDock_->hide();
  QAction* showWords = userWordsDock_->toggleViewAction();
  showWords->setObjectName(QStringLiteral("act_user_words"));
  showWords->setText(QCoreApplication::translate("TfrmProofread", "My words"));
  ui->menu_edit->addSeparator();
  ui->menu_edit->addAction(showWords);
  ShowUserWords();
  ui->edt_text->setUndoRedoEnabled(false);
  ui->edt_text->installEventFilter(this);
  QFont editorFont = ui->edt_text->font();
  editorFont.setPointSizeF(std::max(14.0, editorFont.pointSizeF() * 1.4));
  ui->edt_text->setFont(editorFont);
  ui->splitter->setStretchFactor(0, 1);
  ui->splitter->setStretchFactor(1, 1);
  ui->splitter->setSizes({500, 600});
  annotator_ = std::make_unique<ProofreadingAnnotator>(
      this, [this](AnnotatedBatch batch) { Receive(std::move(batch)); });
  SetSettings(settings);
  ConnectHandlers();
  UpdateTitle();
}

TfrmProofread::~TfrmProofread() {
  annotator_.reset();
  if (translated_) QCoreApplication::removeTranslator(&translator_);
}

void TfrmProofread::ConnectHandlers() {
  connect(ui->edt_text->document(), &QTextDocument::contentsChanged, this,
          &TfrmProofread::TextChanged);
  connect(ui->cmb_policy, &QComboBox::currentIndexChanged, this, [this] {
    if (ui->cmb_policy->currentIndex() != kPolicyContext) ui->chk_orthography->setChecked(false);
    SettingsChanged();
  });
  connect(ui->chk_orthography, &QCheckBox::toggled, this, [this](bool checked) {
    // Pinyin written by words takes its readings from reading by context.
    if (checked) ui->cmb_policy->setCurrentIndex(kPolicyContext);
    SettingsChanged();
  });
  for (QComboBox* box : {ui->cmb_tone})
    connect(box, &QComboBox::currentIndexChanged, this, &TfrmProofread::SettingsChanged);
  for (QCheckBox* box : {ui->chk_spoken, ui->chk_sandhi})
    connect(box, &QCheckBox::toggled, this, &TfrmProofread::SettingsChanged);
  connect(ui->view, &AnnotatedTextView::characterClicked, this, &TfrmProofread::ShowCorrectionMenu);
  connect(ui->act_open_source, &QAction::triggered, this, &TfrmProofread::OpenSourceClick);
  connect(ui->act_open, &QAction::triggered, this, &TfrmProofread::OpenClick);
  connect(ui->act_save, &QAction::triggered, this, &TfrmProofread::SaveClick);
  connect(ui->act_save_as, &QAction::triggered, this, &TfrmProofread::SaveAsClick);
  connect(ui->act_export, &QAction::triggered, this, &TfrmProofread::ExportClick);
  connect(ui->act_close, &QAction::triggered, this, &QWidget::close);
  connect(
      userWords_, &UserWordsPanel::changeRequested, this,
      [this](const UserWordList& after, const QString& description) {
        undo_.push(new UserWordsCommand(*this, description, session_.Data()->UserWords(), after));
      });
}

ConversionSettings TfrmProofread::Settings() const {
  ConversionSettings settings = settings_;
  const int policy = ui->cmb_policy->currentIndex();
  settings.polyphone = policy == kPolicyFirst ? PolyphonePolicy::FirstReading
                       : policy == kPolicyAll ? PolyphonePolicy::AllReadings
                                              : PolyphonePolicy::ByContext;
  const int tone = ui->cmb_tone->currentIndex();
  settings.toneStyle = tone == 0   ? ToneStyle::Marked
                       : tone == 1 ? ToneStyle::Numbered
                                   : ToneStyle::Plain;
  settings.neutralTone = ui->chk_spoken->isChecked() ? NeutralTone::Spoken : NeutralTone::Citation;
  settings.sandhi = ui->chk_sandhi->isChecked();
  settings.orthography = ui->chk_orthography->isChecked();
  return settings;
}

void TfrmProofread::SetSettings(const ConversionSettings& settings) {
  const QSignalBlocker blockPolicy(ui->cmb_policy);
  const QSignalBlocker blockTone(ui->cmb_tone);
  const QSignalBlocker blockSpoken(ui->chk_spoken);
  const QSignalBlocker blockSandhi(ui->chk_sandhi);
  const QSignalBlocker blockWritten(ui->chk_orthography);
  ui->cmb_policy->setCurrentIndex(settings.polyphone == PolyphonePolicy::FirstReading ? kPolicyFirst
                                  : settings.polyphone == PolyphonePolicy::AllReadings
                                      ? kPolicyAll
                                      : kPolicyContext);
  ui->cmb_tone->setCurrentIndex(settings.toneStyle == ToneStyle::Marked     ? 0
                                : settings.toneStyle == ToneStyle::Numbered ? 1
                                                                            : 2);
  ui->chk_spoken->setChecked(settings.neutralTone == NeutralTone::Spoken);
  ui->chk_sandhi->setChecked(settings.sandhi);
  ui->chk_orthography->setChecked(settings.orthography);
  settings_.erhua = settings.erhua;
  settings_.outputFormat = settings.outputFormat;
  SettingsChanged();
}

void TfrmProofread::SettingsChanged() {
  annotated_.clear();
  firstRequestOfSettings_ = request_ + 1;
  ScheduleUpdate();
}

AnnotatedTextView& TfrmProofread::View() { return *ui->view; }

Handout TfrmProofread::CurrentHandout(const PageDesign& design) const {
  LineReadings readings(session_.Data());
  return ProofreadHandout(readings, text_, Settings(), design);
}

bool TfrmProofread::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ui->edt_text &&
      (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress)) {
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool isUndo = key->matches(QKeySequence::Undo);
    const bool isRedo = key->matches(QKeySequence::Redo);
    if (isUndo || isRedo) {
      // The window's one stack undoes edits and choices alike, not the editor's own.
      if (event->type() == QEvent::KeyPress) isUndo ? undo_.undo() : undo_.redo();
      event->accept();
      return true;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void TfrmProofread::TextChanged() {
  if (applying_) return;
  const QString now = ui->edt_text->toPlainText();
  const QString& old = shownText_;
  const qsizetype shorter = std::min(now.size(), old.size());
  qsizetype prefix = 0;
  while (prefix < shorter && now[prefix] == old[prefix]) ++prefix;
  if (prefix > 0 && now[prefix - 1].isHighSurrogate()) --prefix;
  qsizetype suffix = 0;
  while (suffix < shorter - prefix && now[now.size() - 1 - suffix] == old[old.size() - 1 - suffix])
    ++suffix;
  if (suffix > 0 && now[now.size() - suffix].isLowSurrogate()) --suffix;
  const QString removed = old.mid(prefix, old.size() - prefix - suffix);
  const QString inserted = now.mid(prefix, now.size() - prefix - suffix);
  if (removed.isEmpty() && inserted.isEmpty()) return;
  std::vector<Correction> before = text_.Corrections();
  text_.ApplyEdit(CodePoints(QStringView(old).left(prefix)), CodePoints(removed), Utf8(inserted));
  shownText_ = now;
  undo_.push(new TextEditCommand(*this, static_cast<int>(prefix), removed, inserted,
                                 std::move(before), text_.Corrections()));
  ScheduleUpdate();
}

void TfrmProofread::ReplaceText(int at, int removedLength, const QString& inserted) {
  applying_ = true;
  QTextCursor cursor(ui->edt_text->document());
  cursor.setPosition(at);
  cursor.setPosition(at + removedLength, QTextCursor::KeepAnchor);
  cursor.insertText(inserted);
  applying_ = false;
  ui->edt_text->setTextCursor(cursor);
  const QStringView old(shownText_);
  text_.ApplyEdit(CodePoints(old.left(at)), CodePoints(old.mid(at, removedLength)), Utf8(inserted));
  shownText_ = ui->edt_text->toPlainText();
  ScheduleUpdate();
}

void TfrmProofread::SetCorrections(std::vector<Correction> corrections) {
  text_.SetCorrections(std::move(corrections));
  ScheduleUpdate();
}

void TfrmProofread::ScheduleUpdate() {
  if (updateScheduled_) return;
  updateScheduled_ = true;
  // Changes made in one pass of the event loop (a paste, an undo) make one update.
  QTimer::singleShot(0, this, [this] {
    updateScheduled_ = false;
    UpdateView();
  });
}

void TfrmProofread::UpdateView() {
  const std::vector<std::string> chosen = text_.ChosenSyllables();
  const std::vector<PlacedLine> placed = PlacedLinesOf(text_.Text());
  std::unordered_map<std::string, std::shared_ptr<const ViewLine>> kept;
  std::unordered_set<std::string> asked;
  std::vector<LineToAnnotate> ask;
  shownKeys_.clear();
  shownLines_.clear();
  shownPending_.clear();
  pendingLines_ = 0;
  for (const PlacedLine& line : placed) {
    const std::size_t count = CodePointCount(line.text);
    std::vector<std::string> own(
        chosen.begin() + static_cast<std::ptrdiff_t>(line.firstCodePoint),
        chosen.begin() + static_cast<std::ptrdiff_t>(line.firstCodePoint + count));
    std::string key(line.text);
    for (const std::string& syllable : own) key.append("\x1f").append(syllable);
    std::shared_ptr<const ViewLine> shown;
    if (const auto found = annotated_.find(key); found != annotated_.end()) {
      shown = found->second;
      kept.emplace(key, shown);
    } else {
      shown = PendingLine(line.text);
      ++pendingLines_;
      if (asked.insert(key).second) ask.push_back({key, std::string(line.text), std::move(own)});
    }
    shownKeys_.push_back(std::move(key));
    shownLines_.push_back({shown, line.firstCodePoint});
    shownPending_.push_back(shown->pending);
  }
  annotated_ = std::move(kept);
  if (!ask.empty()) annotator_->Request(++request_, session_.Data(), Settings(), std::move(ask));
  ui->view->SetLines(shownLines_);
  if (pendingLines_ == 0) emit viewUpdated();
}

void TfrmProofread::Receive(AnnotatedBatch batch) {
  if (batch.request < firstRequestOfSettings_) return;
  if (!batch.error.empty()) ShowError(Q(batch.error));
  if (batch.lines.empty()) return;
  std::unordered_map<std::string, std::shared_ptr<const ViewLine>> arrived;
  for (auto& [key, line] : batch.lines) arrived.emplace(std::move(key), std::move(line));
  bool changed = false;
  for (std::size_t i = 0; i < shownKeys_.size(); ++i) {
    if (!shownPending_[i]) continue;
    const auto found = arrived.find(shownKeys_[i]);
    if (found == arrived.end()) continue;
    shownLines_[i].line = found->second;
    shownPending_[i] = false;
    annotated_[shownKeys_[i]] = found->second;
    --pendingLines_;
    changed = true;
  }
  if (!changed) return;
  ui->view->SetLines(shownLines_);
  if (pendingLines_ == 0) emit viewUpdated();
}

QMenu* TfrmProofread::CorrectionMenu(std::size_t codePoint) {
  const std::string& text = text_.Text();
  const std::size_t at = ByteOffsetOfCodePoint(text, codePoint);
  if (at >= text.size()) return nullptr;
  const std::string character = text.substr(at, unicode::CharLengthAt(text, at));
  LineReadings readings(session_.Data());
  const std::vector<std::string> choices = ReadingsToChooseFrom(readings, character);
  auto* menu = new QMenu(this);
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->setObjectName(QStringLiteral("correction_menu"));
  QFont font = menu->font();
  font.setPointSizeF(std::max(12.0, font.pointSizeF() * 1.2));
  menu->setFont(font);
  SyllableSpelling spelling(ToneStyle::Marked, session_.Data()->ToneVowelList());
  // The readings for this place stand in the menu itself; those for every place of the text and
  // for always, in a submenu each, so the menu stays short however many readings there are.
  const auto addChoices = [&](QMenu* into, const char* prefix, auto choose) {
    for (const std::string& syllable : choices) {
      QAction* action = into->addAction(Q(spelling.Spell(syllable)));
      action->setObjectName(QLatin1String(prefix) + Q(syllable));
      connect(action, &QAction::triggered, this,
              [this, codePoint, syllable, choose] { (this->*choose)(codePoint, syllable); });
    }
  };
  if (choices.empty()) {
    menu->addAction(QCoreApplication::translate("TfrmProofread", "No readings known for %1")
                        .arg(Q(character)))
        ->setEnabled(false);
  } else {
    menu->addSection(
        QCoreApplication::translate("TfrmProofread", "This %1 only").arg(Q(character)));
    addChoices(menu, "occurrence:", &TfrmProofread::ChooseHere);
    menu->addSeparator();
    addChoices(menu->addMenu(QCoreApplication::translate("TfrmProofread", "Every %1 in this text")
                                 .arg(Q(character))),
               "every:", &TfrmProofread::ChooseEverywhere);
    addChoices(menu->addMenu(QCoreApplication::translate(
                   "TfrmProofread", "Always, in every text (a word of my own)")),
               "always:", &TfrmProofread::ChooseAlways);
  }
  ProofreadingText probe = text_;
  if (probe.RemoveCorrectionsAt(codePoint)) {
    menu->addSeparator();
    QAction* remove = menu->addAction(
        QCoreApplication::translate("TfrmProofread", "Take back the chosen reading"));
    remove->setObjectName(QStringLiteral("remove"));
    connect(remove, &QAction::triggered, this, [this, codePoint] { RemoveReading(codePoint); });
  }
  return menu;
}

void TfrmProofread::ShowCorrectionMenu(std::size_t codePoint, QPoint globalPos) {
  if (QMenu* menu = CorrectionMenu(codePoint)) menu->popup(globalPos);
}

void TfrmProofread::ChooseReading(std::size_t codePoint, CorrectionScope scope,
                                  const std::string& syllable) {
  const std::string& text = text_.Text();
  const std::size_t at = ByteOffsetOfCodePoint(text, codePoint);
  const std::string character = text.substr(at, unicode::CharLengthAt(text, at));
  std::vector<Correction> before = text_.Corrections();
  try {
    text_.AddCorrection({scope, codePoint, character, {syllable}});
  } catch (const Error& error) {
    ShowError(Q(error.what()));
    return;
  }
  std::vector<Correction> after = text_.Corrections();
  text_.SetCorrections(before);
  undo_.push(new CorrectionCommand(
      *this, QCoreApplication::translate("TfrmProofread", "Reading of %1").arg(Q(character)),
      std::move(before), std::move(after)));
}

void TfrmProofread::ChooseHere(std::size_t codePoint, const std::string& syllable) {
  ChooseReading(codePoint, CorrectionScope::Occurrence, syllable);
}

void TfrmProofread::ChooseEverywhere(std::size_t codePoint, const std::string& syllable) {
  ChooseReading(codePoint, CorrectionScope::EveryOccurrence, syllable);
}

void TfrmProofread::ChooseAlways(std::size_t codePoint, const std::string& syllable) {
  const std::string& text = text_.Text();
  const std::size_t at = ByteOffsetOfCodePoint(text, codePoint);
  const std::string character = text.substr(at, unicode::CharLengthAt(text, at));
  const UserWordList before = session_.Data()->UserWords();
  UserWordList after = before;
  after.Set({character, {syllable}});
  undo_.push(new UserWordsCommand(
      *this, QCoreApplication::translate("TfrmProofread", "Always read %1").arg(Q(character)),
      before, after));
}

bool TfrmProofread::SetUserWords(const UserWordList& words) {
  try {
    WriteUserWords(words, session_.Data()->UserWordsFile());
    session_.ReloadDataFiles();
  } catch (const Error& error) {
    ShowUserWords();
    ShowError(Q(error.what()));
    return false;
  }
  ShowUserWords();
  SettingsChanged();  // every line reads anew with the words
  return true;
}

void TfrmProofread::ShowUserWords() {
  const std::shared_ptr<const ReadingData> data = session_.Data();
  userWords_->ShowWords(data->UserWords(), data->UserWordProblems());
}

void TfrmProofread::RemoveReading(std::size_t codePoint) {
  std::vector<Correction> before = text_.Corrections();
  ProofreadingText probe = text_;
  if (!probe.RemoveCorrectionsAt(codePoint)) return;
  undo_.push(new CorrectionCommand(
      *this, QCoreApplication::translate("TfrmProofread", "Take back a reading"), std::move(before),
      probe.Corrections()));
}

void TfrmProofread::SetWholeText(const ProofreadingText& text) {
  applying_ = true;
  ui->edt_text->setPlainText(Q(text.Text()));
  applying_ = false;
  shownText_ = ui->edt_text->toPlainText();
  text_ = text;
  if (Utf8(shownText_) != text.Text()) text_.SetText(Utf8(shownText_));
  undo_.clear();
  ScheduleUpdate();
}

bool TfrmProofread::OpenSource(const std::filesystem::path& source) {
  try {
    SetWholeText(ProofreadingText(SourceTextUtf8(source)));
  } catch (const Error& error) {
    ShowError(Q(error.what()));
    return false;
  }
  crlf_ = false;
  file_.clear();
  UpdateTitle();
  return true;
}

bool TfrmProofread::OpenProofreading(const std::filesystem::path& file) {
  try {
    const ProofreadingText read = ReadProofreadingFile(file);
    crlf_ = read.Text().find("\r\n") != std::string::npos;
    SetWholeText(WithLineEnds(read, false));
  } catch (const Error& error) {
    ShowError(Q(error.what()));
    return false;
  }
  file_ = file;
  UpdateTitle();
  return true;
}

bool TfrmProofread::SaveProofreading(const std::filesystem::path& file) {
  try {
    WriteProofreadingFile(crlf_ ? WithLineEnds(text_, true) : text_, file);
  } catch (const Error& error) {
    ShowError(Q(error.what()));
    return false;
  }
  file_ = file;
  undo_.setClean();
  UpdateTitle();
  return true;
}

void TfrmProofread::OpenSourceClick() {
  const QString name = dialogs_.OpenFileName(
      this, QCoreApplication::translate("TfrmProofread", "Text files (*.txt);;All files (*)"),
      QString());
  if (!name.isEmpty()) OpenSource(name.toStdU16String());
}

void TfrmProofread::OpenClick() {
  const QString name = dialogs_.OpenFileName(
      this,
      QCoreApplication::translate("TfrmProofread", "Proofreading (*.tolvane-proof);;All files (*)"),
      QString());
  if (!name.isEmpty()) OpenProofreading(name.toStdU16String());
}

void TfrmProofread::SaveClick() {
  if (file_.empty()) {
    SaveAsClick();
  } else {
    SaveProofreading(file_);
  }
}

void TfrmProofread::SaveAsClick() {
  const QString name = dialogs_.SaveFileName(
      this,
      QCoreApplication::translate("TfrmProofread", "Proofreading (*.tolvane-proof);;All files (*)"),
      file_.empty() ? QStringLiteral("text.tolvane-proof") : Q(file_.filename().string()));
  if (!name.isEmpty()) SaveProofreading(name.toStdU16String());
}

void TfrmProofread::ExportClick() {
  std::filesystem::path suggested = file_.empty() ? std::filesystem::path("handout.docx") : file_;
  suggested.replace_extension(".docx");
  const QString name =
      dialogs_.SaveFileName(this, HandoutFilter(), Q(suggested.filename().string()));
  if (!name.isEmpty()) ExportHandout(name.toStdU16String());
}

bool TfrmProofread::ExportHandout(const std::filesystem::path& target) {
  if (export_.Running()) {
    dialogs_.Message(this, QCoreApplication::translate(
                               "TfrmProofread", "A handout is still being written. Please wait."));
    return false;
  }
  // The worker reads these copies only: the editor, the bar and the design may change meanwhile,
  // and a reload of the data publishes another snapshot beside this one.
  std::shared_ptr<const ReadingData> data = session_.Data();
  const ConversionSettings settings = Settings();
  export_.Start(
      [data = std::move(data), text = text_, settings, design = design_, target] {
        LineReadings readings(data);
        WriteHandout(ProofreadHandout(readings, text, settings, design), design, target);
      },
      [this, target](const QString& error) { ExportEnded(target, error); });
  ShowExportBusy(target);
  return true;
}

void TfrmProofread::ShowExportBusy(const std::filesystem::path& target) {
  ui->act_export->setEnabled(false);
  setCursor(Qt::BusyCursor);
  statusBar()->showMessage(
      QCoreApplication::translate("TfrmProofread", "Writing %1…").arg(QStringFromPath(target)));
}

void TfrmProofread::ExportEnded(const std::filesystem::path& target, const QString& error) {
  ui->act_export->setEnabled(true);
  unsetCursor();
  if (error.isEmpty()) {
    statusBar()->showMessage(
        QCoreApplication::translate("TfrmProofread", "Written: %1").arg(QStringFromPath(target)),
        kWrittenMessageMilliseconds);
  } else {
    statusBar()->clearMessage();
    ShowError(error);
  }
  emit exportFinished(error.isEmpty());
}

void TfrmProofread::closeEvent(QCloseEvent* event) {
  export_.Finish();
  QMainWindow::closeEvent(event);
}

void TfrmProofread::ShowError(const QString& text) { dialogs_.Error(this, ErrorBoxText(text)); }

void TfrmProofread::UpdateTitle() {
  QString title = QCoreApplication::translate("TfrmProofread", "Proofreading");
  if (!file_.empty()) title += QStringLiteral(" — ") + Q(file_.filename().string());
  setWindowTitle(title);
}

}  // namespace tolvane
