#include "ui/CustomReadingEditor.h"

#include <QShowEvent>

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QResizeEvent>
#include <QSignalBlocker>
#include <algorithm>

#include "platform/Error.h"
#include "reading/shared/DataFiles.h"
#include "ui/Dialogs.h"
#include "ui/GbTypingLimit.h"
#include "ui/GuardedHandler.h"
#include "ui/QtText.h"
#include "ui/WindowPlacement.h"

namespace tolvane {
namespace {

// One Chinese character or a compound surname of two.
constexpr std::size_t kKeyByteLimit = 4;
// The list keeps this much of the client height for the controls above it and a margin below.
constexpr int kListHeightReserve = 210;

QString ListLine(const DictionaryEntry& entry) {
  return QStringFromGb(entry.key + " " + entry.reading);
}

}  // namespace

CustomReadingEditor::CustomReadingEditor(QWidget* parent, Dialogs& dialogs, Session& session,
                                         FileLocations locations, EditedDictionary edited)
    : QDialog(parent),
      dialogs_(dialogs),
      session_(session),
      locations_(std::move(locations)),
      edited_(edited) {}

DictionaryEntries CustomReadingEditor::Entries() const {
  const std::shared_ptr<const ReadingData> data = session_.Data();
  return EntriesOf(((*data).*edited_.dictionary)());
}

void CustomReadingEditor::Attach(const Controls& controls, QSize outerSize) {
  controls_ = controls;
  const QSize frame = frameGeometry().size() - size();
  resize(outerSize - frame);
  new GbTypingLimit(controls_.edt_han, kKeyByteLimit);

  QListWidget* list = controls_.ListBox_define_han;
  // The user's selection: a click on a line, or the arrow keys. A click on a line not yet
  // selected reports both signals; the handler gives the same result twice. Selections made by
  // the program run with the list's signals blocked.
  connect(list, &QListWidget::currentRowChanged, this,
          &CustomReadingEditor::ListBox_define_hanClick);
  connect(list, &QListWidget::itemClicked, this, &CustomReadingEditor::ListBox_define_hanClick);
  connect(controls_.edt_han, &QLineEdit::textChanged, this, &CustomReadingEditor::edt_hanChange);
  connect(controls_.btn_add, &QPushButton::clicked, this, &CustomReadingEditor::btn_addClick);
  connect(controls_.btn_del, &QPushButton::clicked, this, &CustomReadingEditor::btn_delClick);
  connect(controls_.btn_clear, &QPushButton::clicked, this, &CustomReadingEditor::btn_clearClick);
  connect(controls_.btn_search, &QPushButton::clicked, this, &CustomReadingEditor::btn_searchClick);

  FormCreate();
  FormResize();
}

template <typename Handler>
void CustomReadingEditor::Guarded(Handler&& handler) {
  RunGuarded(dialogs_, this, std::forward<Handler>(handler));
}

QSize CustomReadingEditor::OuterSize() const { return frameGeometry().size(); }

void CustomReadingEditor::showEvent(QShowEvent* event) {
  // Here the window has its frame, so the frame is what gets centred; a window that comes back
  // from being minimised stays where it was.
  if (!event->spontaneous()) CentreOverOwner(*this);
  QDialog::showEvent(event);
}

void CustomReadingEditor::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  FormResize();
}

void CustomReadingEditor::FormCreate() {
  Guarded([&] { FillList(); });
}

void CustomReadingEditor::FormResize() {
  Guarded([&] {
    QListWidget* list = controls_.ListBox_define_han;
    if (list == nullptr) return;
    list->resize(list->width(), std::max(0, height() - kListHeightReserve));
  });
}

void CustomReadingEditor::FillList() {
  QListWidget* list = controls_.ListBox_define_han;
  const QSignalBlocker programmatic(list);
  list->clear();
  for (const DictionaryEntry& entry : Entries()) list->addItem(ListLine(entry));
}

void CustomReadingEditor::SelectLine(std::size_t line) {
  QListWidget* list = controls_.ListBox_define_han;
  const QSignalBlocker programmatic(list);
  list->setCurrentRow(static_cast<int>(line));
  if (QListWidgetItem* item = list->currentItem()) list->scrollToItem(item);
}

int CustomReadingEditor::SelectedLine() const {
  const QList<QListWidgetItem*> selected = controls_.ListBox_define_han->selectedItems();
  return selected.isEmpty() ? -1 : controls_.ListBox_define_han->row(selected.front());
}

void CustomReadingEditor::SaveAndReload(const DictionaryEntries& entries) {
  // A failed write leaves the old files whole and raises; the lists and this window's list then
  // stay as they are.
  WriteDictionaryFiles(locations_.ForWriting(locations_.dictionaries), edited_.keysFile,
                       edited_.readingsFile, entries);
  session_.ReloadDataFiles();
}

void CustomReadingEditor::ListBox_define_hanClick() {
  Guarded([&] {
    const int line = SelectedLine();
    if (line < 0) return;
    const DictionaryEntries entries = Entries();
    if (static_cast<std::size_t>(line) >= entries.size()) throw ListIndexOutOfBounds(line);
    const DictionaryEntry& entry = entries[static_cast<std::size_t>(line)];
    // Setting the characters empties the reading (edt_hanChange); the reading comes after.
    controls_.edt_han->setText(QStringFromGb(entry.key));
    controls_.edt_pinyin->setText(QStringFromGb(entry.reading));
  });
}

void CustomReadingEditor::edt_hanChange() {
  // A reading shown for one character is never left beside another.
  Guarded([&] { controls_.edt_pinyin->clear(); });
}

void CustomReadingEditor::btn_addClick() {
  Guarded([&] {
    const std::string key(TrimBlanks(GbFromQString(controls_.edt_han->text())));
    const std::string reading(TrimBlanks(GbFromQString(controls_.edt_pinyin->text())));
    DictionaryEntries entries = Entries();
    const std::size_t selected = AddOrUpdateEntry(entries, key, reading);
    SaveAndReload(entries);
    FillList();
    SelectLine(selected);
  });
}

void CustomReadingEditor::btn_delClick() {
  Guarded([&] {
    const int line = SelectedLine();
    if (line < 0) return;
    const QString shown = controls_.ListBox_define_han->item(line)->text();
    if (!dialogs_.Confirm(this,
                          QStringLiteral("确认要删除  ") + shown + QStringLiteral("  吗？"))) {
      return;
    }
    DictionaryEntries entries = Entries();
    RemoveEntry(entries, static_cast<std::size_t>(line));
    SaveAndReload(entries);
    FillList();
  });
}

void CustomReadingEditor::btn_clearClick() {
  Guarded([&] {
    if (!dialogs_.Confirm(this, QStringLiteral("确认要清空所有自定义拼音吗？"))) return;
    DeleteDictionaryFiles(locations_.dictionaries, edited_.keysFile, edited_.readingsFile);
    session_.ReloadDataFiles();
    FillList();
  });
}

void CustomReadingEditor::btn_searchClick() {
  Guarded([&] {
    const QString typed = controls_.edt_han->text();
    const DictionaryEntries entries = Entries();
    if (const auto found = FindEntry(entries, TrimBlanks(GbFromQString(typed)))) {
      SelectLine(*found);
      controls_.edt_pinyin->setText(QStringFromGb(entries[*found].reading));
      return;
    }
    dialogs_.Message(this, QStringLiteral("没有找到：  ") + typed);
    controls_.edt_pinyin->clear();
  });
}

}  // namespace tolvane
