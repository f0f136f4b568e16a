#include "ui/UserWordsPanel.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cerrno>
#include <cstdio>
#include <set>

#include "platform/Error.h"
#include "platform/TextFile.h"
#include "ui/Dialogs.h"

// The panel belongs to the proofreading window: its captions are translated in the window's
// context, so that one context holds all of the window's texts.
namespace tolvane {
namespace {

QString Q(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QString Tr(const char* text) { return QCoreApplication::translate("TfrmProofread", text); }

QPushButton* Button(const char* name, const QString& text, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(QString::fromLatin1(name));
  return button;
}

QLineEdit* Field(const char* name, const QString& placeholder, QWidget* parent) {
  auto* field = new QLineEdit(parent);
  field->setObjectName(QString::fromLatin1(name));
  field->setPlaceholderText(placeholder);
  return field;
}

// Writes `text` whole to `file`; a failure raises the file error of its cause.
void WriteText(const std::string& text, const std::filesystem::path& file) {
  std::FILE* out = std::fopen(file.c_str(), "wb");
  if (out == nullptr) throw FileError(errno, file);
  const bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
  const int writeError = errno;
  if (std::fclose(out) != 0 || !written) throw FileError(written ? errno : writeError, file);
}

QString TsvFilter() { return Tr("Tab-separated values (*.tsv *.txt);;All files (*)"); }

}  // namespace

QString UserWordProblemText(const UserWordProblem& problem) {
  QString place = Q(problem.file.string());
  if (problem.line > 0) place += QLatin1Char(':') + QString::number(problem.line);
  return place + QStringLiteral(": ") + Q(problem.reason);
}

UserWordsPanel::UserWordsPanel(Dialogs& dialogs, QWidget* parent)
    : QWidget(parent), dialogs_(dialogs) {
  table_ = new QTableWidget(0, 2, this);
  table_->setObjectName(QStringLiteral("tbl_words"));
  table_->setHorizontalHeaderLabels({Tr("Word"), Tr("Pinyin")});
  table_->horizontalHeader()->setStretchLastSection(true);
  table_->verticalHeader()->hide();
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  problems_ = new QLabel(this);
  problems_->setObjectName(QStringLiteral("lbl_problems"));
  problems_->setWordWrap(true);
  problems_->setTextFormat(Qt::PlainText);
  problems_->hide();
  word_ = Field("edt_word", Tr("Word"), this);
  syllables_ = Field("edt_syllables", Tr("Pinyin, e.g. yin2 hang2"), this);
  add_ = Button("btn_add", Tr("Add"), this);
  QPushButton* remove = Button("btn_remove", Tr("Remove"), this);
  QPushButton* import = Button("btn_import", Tr("Import TSV…"), this);
  QPushButton* exportButton = Button("btn_export", Tr("Export TSV…"), this);

  auto* fields = new QHBoxLayout;
  fields->addWidget(word_, 1);
  fields->addWidget(syllables_, 2);
  fields->addWidget(add_);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(remove);
  buttons->addStretch();
  buttons->addWidget(import);
  buttons->addWidget(exportButton);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(table_, 1);
  layout->addWidget(problems_);
  layout->addLayout(fields);
  layout->addLayout(buttons);

  connect(add_, &QPushButton::clicked, this, &UserWordsPanel::AddClick);
  connect(syllables_, &QLineEdit::returnPressed, this, &UserWordsPanel::AddClick);
  connect(remove, &QPushButton::clicked, this, &UserWordsPanel::RemoveClick);
  connect(import, &QPushButton::clicked, this, &UserWordsPanel::ImportClick);
  connect(exportButton, &QPushButton::clicked, this, &UserWordsPanel::ExportClick);
  connect(table_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { EditRow(row); });
}

void UserWordsPanel::ShowWords(const UserWordList& words,
                               const std::vector<UserWordProblem>& problems) {
  words_ = words;
  table_->setRowCount(static_cast<int>(words.size()));
  int row = 0;
  for (const UserWordEntry& entry : words.Entries()) {
    table_->setItem(row, 0, new QTableWidgetItem(Q(entry.word)));
    table_->setItem(row, 1, new QTableWidgetItem(Q(entry.SyllableText())));
    ++row;
  }
  QStringList lines;
  for (const UserWordProblem& problem : problems) lines << UserWordProblemText(problem);
  problems_->setText(lines.isEmpty() ? QString()
                                     : Tr("Lines passed over:") + QLatin1Char('\n') +
                                           lines.join(QLatin1Char('\n')));
  problems_->setVisible(!lines.isEmpty());
  // The word being changed may be gone (undone, removed): the fields then add.
  if (!editing_.empty() && words_.Find(editing_) == nullptr) StopEditing();
}

void UserWordsPanel::EditRow(int row) {
  if (row < 0 || row >= static_cast<int>(words_.size())) return;
  const UserWordEntry& entry = words_.Entries()[static_cast<std::size_t>(row)];
  editing_ = entry.word;
  word_->setText(Q(entry.word));
  syllables_->setText(Q(entry.SyllableText()));
  add_->setText(Tr("Change"));
  syllables_->setFocus();
}

void UserWordsPanel::StopEditing() {
  editing_.clear();
  add_->setText(Tr("Add"));
}

void UserWordsPanel::Refuse(const QString& reason) { dialogs_.Error(this, ErrorBoxText(reason)); }

void UserWordsPanel::AddClick() {
  std::string reason;
  const std::optional<UserWordEntry> entry = MakeUserWordEntry(
      word_->text().trimmed().toStdString(), syllables_->text().toStdString(), &reason);
  if (!entry) {
    Refuse(Q(reason));
    return;
  }
  UserWordList after = words_;
  // A word renamed while it is changed leaves its old entry.
  if (!editing_.empty() && editing_ != entry->word) after.Remove(editing_);
  after.Set(*entry);
  StopEditing();
  word_->clear();
  syllables_->clear();
  if (after == words_) return;
  emit changeRequested(after, Tr("My word %1").arg(Q(entry->word)));
}

void UserWordsPanel::RemoveClick() {
  std::set<int> rows;
  for (const QModelIndex& index : table_->selectionModel()->selectedRows())
    rows.insert(index.row());
  if (rows.empty()) return;
  UserWordList after = words_;
  QStringList removed;
  for (const int row : rows) {
    if (row >= static_cast<int>(words_.size())) continue;
    const std::string& word = words_.Entries()[static_cast<std::size_t>(row)].word;
    after.Remove(word);
    removed << Q(word);
  }
  if (after == words_) return;
  emit changeRequested(after, Tr("Remove my word %1").arg(removed.join(QStringLiteral("、"))));
}

void UserWordsPanel::ImportClick() {
  const QString name = dialogs_.OpenFileName(this, TsvFilter(), QString());
  if (name.isEmpty()) return;
  const std::filesystem::path file(name.toStdU16String());
  UserWordParse parse;
  try {
    parse = ParseUserWordsTsv(ReadWholeFile(file), file);
  } catch (const Error& error) {
    Refuse(Q(error.what()));
    return;
  }
  UserWordList after = words_;
  for (const UserWordEntry& entry : parse.list.Entries()) after.Set(entry);
  if (!parse.problems.empty()) {
    QStringList lines;
    for (const UserWordProblem& problem : parse.problems) lines << UserWordProblemText(problem);
    dialogs_.Message(this,
                     Tr("Lines passed over:") + QLatin1Char('\n') + lines.join(QLatin1Char('\n')));
  }
  if (after == words_) return;
  emit changeRequested(after, Tr("Import %1").arg(Q(file.filename().string())));
}

void UserWordsPanel::ExportClick() {
  const QString name = dialogs_.SaveFileName(this, TsvFilter(), QStringLiteral("my_words.tsv"));
  if (name.isEmpty()) return;
  try {
    WriteText(UserWordsTsv(words_), std::filesystem::path(name.toStdU16String()));
  } catch (const Error& error) {
    Refuse(Q(error.what()));
  }
}

}  // namespace tolvane
