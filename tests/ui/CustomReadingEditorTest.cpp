// The two custom reading editors: their designed windows, the user's selection, adding, updating,
// searching, deleting and clearing, a write that fails, dictionary files of unequal lengths, and
// the main window's preview after a change. The behaviour tests run for both editors.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <functional>
#include <optional>
#include <set>

#include "WindowTestSupport.h"
#include "reading/shared/DataFiles.h"
#include "ui/TfrmHan.h"
#include "ui/TfrmMain.h"
#include "ui/TfrmNote.h"
#include "ui/TfrmWeiHan.h"

namespace tolvane {
namespace {

namespace fs = std::filesystem;
using test::Child;
using test::Gb;
using test::GbLines;
using test::Q;
using test::ReadBytes;
using test::ScriptedDialogs;
using test::TestProgramFolder;
using test::WithModalWindow;
using test::WriteBytes;

struct EditorCase {
  const char* name;
  bool wadeGiles;
  const char* keysFile;
  const char* readingsFile;
  const char* otherKeysFile;
  const char* otherReadingsFile;
  const char* menuItem;
};

void PrintTo(const EditorCase& editor, std::ostream* out) { *out << editor.name; }

const EditorCase kEditors[] = {
    {"Standard", false, kStandardKeysFile, kStandardReadingsFile, kWadeGilesKeysFile,
     kWadeGilesReadingsFile, "N_standard"},
    {"WadeGiles", true, kWadeGilesKeysFile, kWadeGilesReadingsFile, kStandardKeysFile,
     kStandardReadingsFile, "N_wei"},
};

const std::string kThreeKeys = GbLines({"字", "长", "欧阳"});
const std::string kThreeReadings = GbLines({"Zi", "Chang", "Ouyang"});

// The program with a folder of its own: the main window, then the hidden windows of the program
// entry. Tests write the dictionary files they need before Start.
class Program {
 protected:
  void Start() {
    window.emplace(folder.path(), dialogs);
    window->CreateHiddenWindows();
  }
  TfrmHan& Han() const { return *window->findChild<TfrmHan*>(); }
  TfrmWeiHan& WeiHan() const { return *window->findChild<TfrmWeiHan*>(); }

  TestProgramFolder folder;
  ScriptedDialogs dialogs;
  std::optional<TfrmMain> window;
};

class Editor : public Program, public ::testing::TestWithParam<EditorCase> {
 protected:
  CustomReadingEditor& Window() const {
    if (GetParam().wadeGiles) return WeiHan();
    return Han();
  }
  QLineEdit& HanField() const { return Child<QLineEdit>(Window(), "edt_han"); }
  QLineEdit& PinyinField() const { return Child<QLineEdit>(Window(), "edt_pinyin"); }
  QListWidget& List() const { return Child<QListWidget>(Window(), "ListBox_define_han"); }
  void Click(const char* name) const { Child<QPushButton>(Window(), name).click(); }

  void WriteOwn(const std::string& keys, const std::string& readings) {
    WriteBytes(folder / GetParam().keysFile, keys);
    WriteBytes(folder / GetParam().readingsFile, readings);
  }
  std::string Keys() const { return ReadBytes(folder / GetParam().keysFile); }
  std::string Readings() const { return ReadBytes(folder / GetParam().readingsFile); }
  // The dictionaries as the program has them loaded now.
  CustomDictionary Own() const {
    const auto data = window->ReadingSession().Data();
    return GetParam().wadeGiles ? data->WadeGilesDictionary() : data->StandardDictionary();
  }
  CustomDictionary Other() const {
    const auto data = window->ReadingSession().Data();
    return GetParam().wadeGiles ? data->StandardDictionary() : data->WadeGilesDictionary();
  }

  // What a user types: the characters (which empties the reading), then the reading.
  void Type(const char* hanUtf8, const char* pinyinUtf8) const {
    HanField().setText(Q(hanUtf8));
    PinyinField().setText(Q(pinyinUtf8));
  }
  QStringList Lines() const {
    QStringList lines;
    for (int i = 0; i < List().count(); ++i) lines << List().item(i)->text();
    return lines;
  }
  int Selected() const {
    const auto selected = List().selectedItems();
    return selected.isEmpty() ? -1 : List().row(selected.front());
  }
  // The user clicks line `row` of the list.
  void ClickLine(int row) const {
    Window().show();
    QListWidget& list = List();
    list.scrollToItem(list.item(row));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                      list.visualItemRect(list.item(row)).center());
  }
  // The main window's preview of 字 with tone numbers.
  QString Preview() const {
    Child<QRadioButton>(*window, "RadioButton_num").setChecked(true);
    Child<QLineEdit>(*window, "edt_input").setText(Q("字"));
    Child<QPushButton>(*window, "btn_pinyin").click();
    return Child<QPlainTextEdit>(*window, "Memo_output").toPlainText();
  }
};

// Types `text` one character at a time, as key presses carrying the character.
void TypeKeys(QLineEdit& edit, const QString& text) {
  for (const QChar ch : text) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
    QApplication::sendEvent(&edit, &press);
  }
}

INSTANTIATE_TEST_SUITE_P(BothEditors, Editor, ::testing::ValuesIn(kEditors),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_P(Editor, AddingToAnEmptyDictionaryCreatesBothFilesAndSelectsTheEntry) {
  Start();
  ASSERT_TRUE(Lines().isEmpty());
  Type("字", "Zi");
  Click("btn_add");
  EXPECT_EQ(Keys(), "\xD7\xD6\r\n");
  EXPECT_EQ(Readings(), "Zi\r\n");
  EXPECT_EQ(Lines(), QStringList{Q("字 Zi")});
  EXPECT_EQ(Selected(), 0);
  EXPECT_EQ(HanField().text(), Q("字"));
  EXPECT_EQ(PinyinField().text(), "Zi");
  EXPECT_EQ(Own().FindReading(Gb("字")), "Zi");
  EXPECT_FALSE(fs::exists(folder / GetParam().otherKeysFile));
  EXPECT_FALSE(fs::exists(folder / GetParam().otherReadingsFile));
  EXPECT_TRUE(dialogs.errorTexts.empty());
}

TEST_P(Editor, AddingAPresentCharacterReplacesItsReadingInPlace) {
  WriteOwn(kThreeKeys, kThreeReadings);
  Start();
  Type("长", "Zhang");
  Click("btn_add");
  EXPECT_EQ(Keys(), kThreeKeys);
  EXPECT_EQ(Readings(), GbLines({"Zi", "Zhang", "Ouyang"}));
  EXPECT_EQ(Lines(), (QStringList{Q("字 Zi"), Q("长 Zhang"), Q("欧阳 Ouyang")}));
  EXPECT_EQ(Selected(), 1);
}

TEST_P(Editor, BlanksAroundTheCharacterAreNeitherStoredNorMatched) {
  WriteOwn(GbLines({"长"}), GbLines({"Chang"}));
  Start();
  Type(" 字 ", " Zi\t");
  Click("btn_add");
  EXPECT_EQ(Keys(), GbLines({"长", "字"}));
  EXPECT_EQ(Readings(), GbLines({"Chang", "Zi"}));
  EXPECT_EQ(Selected(), 1);
  // A selection by the program leaves the fields as the user typed them.
  EXPECT_EQ(HanField().text(), Q(" 字 "));
  EXPECT_EQ(PinyinField().text(), Q(" Zi\t"));

  ClickLine(0);
  Type(" 字 ", "");
  Click("btn_search");
  EXPECT_EQ(Selected(), 1);
  EXPECT_EQ(PinyinField().text(), "Zi");

  Type(" 无 ", "x");
  Click("btn_search");
  EXPECT_EQ(dialogs.messageTexts, std::vector<QString>{Q("没有找到：   无 ")});
  EXPECT_EQ(PinyinField().text(), "");
  EXPECT_EQ(Selected(), 1);
}

TEST_P(Editor, ATwiceHeldKeyIsUpdatedTwiceSelectingTheSecondAndFoundFirst) {
  WriteOwn(GbLines({"字", "长", "字"}), GbLines({"a", "b", "c"}));
  Start();
  Type("字", "Zi");
  Click("btn_add");
  EXPECT_EQ(Readings(), GbLines({"Zi", "b", "Zi"}));
  EXPECT_EQ(Selected(), 2);

  ClickLine(1);
  Type("字", "");
  Click("btn_search");
  EXPECT_EQ(Selected(), 0);
  EXPECT_EQ(PinyinField().text(), "Zi");
}

TEST_P(Editor, TheUsersSelectionFillsTheFieldsAndAChangedCharacterEmptiesTheReading) {
  WriteOwn(kThreeKeys, kThreeReadings);
  Start();
  ClickLine(2);
  EXPECT_EQ(HanField().text(), Q("欧阳"));
  EXPECT_EQ(PinyinField().text(), "Ouyang");

  // The arrow keys select too.
  List().setFocus();
  QTest::keyClick(&List(), Qt::Key_Up);
  EXPECT_EQ(HanField().text(), Q("长"));
  EXPECT_EQ(PinyinField().text(), "Chang");

  // A click on the line already selected shows its reading again.
  PinyinField().setText("x");
  ClickLine(1);
  EXPECT_EQ(PinyinField().text(), "Chang");

  QTest::keyClick(&HanField(), Qt::Key_End);
  QTest::keyClick(&HanField(), Qt::Key_Backspace);
  EXPECT_EQ(HanField().text(), "");
  EXPECT_EQ(PinyinField().text(), "");

  // Typing stops at four bytes: two Chinese characters.
  PinyinField().setText("Ouyang");
  TypeKeys(HanField(), Q("欧阳修"));
  EXPECT_EQ(HanField().text(), Q("欧阳"));
  EXPECT_EQ(PinyinField().text(), "");
  EXPECT_TRUE(dialogs.errorTexts.empty());
}

TEST_P(Editor, DeleteWithNoLineSelectedAsksNothingAndChangesNothing) {
  WriteOwn(kThreeKeys, kThreeReadings);
  Start();
  Click("btn_del");
  EXPECT_TRUE(dialogs.confirmTexts.empty());
  EXPECT_EQ(Keys(), kThreeKeys);
  EXPECT_EQ(Readings(), kThreeReadings);
  EXPECT_EQ(Lines().size(), 3);
}

TEST_P(Editor, DeleteAsksAndRemovesExactlyTheSelectedEntry) {
  WriteOwn(kThreeKeys, kThreeReadings);
  Start();
  ClickLine(1);
  dialogs.confirmAnswers = {false};
  Click("btn_del");
  EXPECT_EQ(Keys(), kThreeKeys);
  EXPECT_EQ(Selected(), 1);

  dialogs.confirmAnswers = {true};
  Click("btn_del");
  EXPECT_EQ(dialogs.confirmTexts, std::vector<QString>(2, Q("确认要删除  长 Chang  吗？")));
  EXPECT_EQ(Keys(), GbLines({"字", "欧阳"}));
  EXPECT_EQ(Readings(), GbLines({"Zi", "Ouyang"}));
  EXPECT_EQ(Lines(), (QStringList{Q("字 Zi"), Q("欧阳 Ouyang")}));
  EXPECT_EQ(Selected(), -1);
  EXPECT_EQ(HanField().text(), Q("长"));
  EXPECT_EQ(PinyinField().text(), "Chang");
  EXPECT_EQ(Own().FindReading(Gb("长")), std::nullopt);
}

TEST_P(Editor, ClearAnsweredNoChangesNothingAndYesDeletesBothFiles) {
  WriteOwn(kThreeKeys, kThreeReadings);
  WriteBytes(folder / GetParam().otherKeysFile, GbLines({"字"}));
  WriteBytes(folder / GetParam().otherReadingsFile, GbLines({"Other"}));
  Start();
  Type("长", "Chang");
  dialogs.confirmAnswers = {false};
  Click("btn_clear");
  EXPECT_EQ(Keys(), kThreeKeys);
  EXPECT_EQ(Lines().size(), 3);

  dialogs.confirmAnswers = {true};
  Click("btn_clear");
  EXPECT_EQ(dialogs.confirmTexts, std::vector<QString>(2, Q("确认要清空所有自定义拼音吗？")));
  EXPECT_FALSE(fs::exists(folder / GetParam().keysFile));
  EXPECT_FALSE(fs::exists(folder / GetParam().readingsFile));
  EXPECT_TRUE(Lines().isEmpty());
  EXPECT_TRUE(Own().empty());
  EXPECT_EQ(HanField().text(), Q("长"));
  EXPECT_EQ(PinyinField().text(), "Chang");
  // The other dictionary is reloaded from its own, untouched files.
  EXPECT_EQ(ReadBytes(folder / GetParam().otherKeysFile), GbLines({"字"}));
  EXPECT_EQ(Other().FindReading(Gb("字")), "Other");

  // Clearing what is already gone is no error.
  dialogs.confirmAnswers = {true};
  Click("btn_clear");
  EXPECT_TRUE(dialogs.errorTexts.empty());
}

TEST_P(Editor, ChangesOnlyItsOwnFilesAndReloadsTheOtherDictionaryUnchanged) {
  const std::string otherKeys = GbLines({"字", "长"});
  const std::string otherReadings = GbLines({"Other", "Chang"});
  WriteBytes(folder / GetParam().otherKeysFile, otherKeys);
  WriteBytes(folder / GetParam().otherReadingsFile, otherReadings);
  Start();
  const auto before = window->ReadingSession().Data();
  Type("字", "Zi");
  Click("btn_add");
  EXPECT_NE(window->ReadingSession().Data(), before) << "the data files were reloaded";
  EXPECT_EQ(ReadBytes(folder / GetParam().otherKeysFile), otherKeys);
  EXPECT_EQ(ReadBytes(folder / GetParam().otherReadingsFile), otherReadings);
  EXPECT_EQ(EntriesOf(Other()), (DictionaryEntries{{Gb("字"), "Other"}, {Gb("长"), "Chang"}}));
  EXPECT_EQ(Own().FindReading(Gb("字")), "Zi");
}

TEST_P(Editor, ThePreviewShowsTheReadingOfEveryChange) {
  Start();
  Child<QCheckBox>(*window, "CheckBox_wei").setChecked(GetParam().wadeGiles);
  ASSERT_TRUE(Preview().contains("zi4"));

  Type("字", "Zi");
  Click("btn_add");
  EXPECT_TRUE(Preview().contains("Zi"));
  EXPECT_FALSE(Preview().contains("zi4"));

  // Under the other switch the other, empty, dictionary is consulted.
  Child<QCheckBox>(*window, "CheckBox_wei").setChecked(!GetParam().wadeGiles);
  EXPECT_TRUE(Preview().contains("zi4"));
  Child<QCheckBox>(*window, "CheckBox_wei").setChecked(GetParam().wadeGiles);

  Type("字", "Tzu");
  Click("btn_add");
  EXPECT_TRUE(Preview().contains("Tzu"));

  ClickLine(0);
  dialogs.confirmAnswers = {true};
  Click("btn_del");
  EXPECT_TRUE(Preview().contains("zi4"));

  Type("字", "Zi");
  Click("btn_add");
  dialogs.confirmAnswers = {true};
  Click("btn_clear");
  EXPECT_TRUE(Preview().contains("zi4"));
  EXPECT_TRUE(dialogs.errorTexts.empty());
}

std::set<std::string> Names(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& item : fs::directory_iterator(folder)) {
    names.insert(item.path().filename().string());
  }
  return names;
}

// A folder in place of one of the two files fails the write for the superuser too.
TEST_P(Editor, AFailedWriteKeepsTheOldFilesTheListsAndTheWindowsList) {
  for (const bool blockKeys : {true, false}) {
    SCOPED_TRACE(blockKeys ? "keys file blocked" : "readings file blocked");
    WriteOwn(kThreeKeys, kThreeReadings);
    dialogs.errorTexts.clear();
    Start();
    const fs::path blocked = folder / (blockKeys ? GetParam().keysFile : GetParam().readingsFile);
    fs::remove(blocked);
    fs::create_directory(blocked);
    // Written now, the other dictionary's files show whether the data files were reloaded.
    WriteBytes(folder / GetParam().otherKeysFile, GbLines({"字"}));
    WriteBytes(folder / GetParam().otherReadingsFile, GbLines({"Other"}));
    const std::set<std::string> names = Names(folder.path());
    ClickLine(2);

    Type("字", "Zhang");
    Click("btn_add");
    ClickLine(2);
    dialogs.confirmAnswers = {true};
    Click("btn_del");

    EXPECT_EQ(dialogs.errorTexts, std::vector<QString>(2, "Is a directory."));
    EXPECT_EQ(blockKeys ? Readings() : Keys(), blockKeys ? kThreeReadings : kThreeKeys);
    EXPECT_EQ(Names(folder.path()), names) << "no file left behind";
    EXPECT_TRUE(Other().empty());
    EXPECT_EQ(Lines().size(), 3);
    EXPECT_EQ(Selected(), 2);

    fs::remove(blocked);
    fs::remove(folder / GetParam().otherKeysFile);
    fs::remove(folder / GetParam().otherReadingsFile);
    window.reset();
  }
}

// Files edited by hand may differ in length: every line of both shows, a missing key or reading
// as empty, and the next write makes the two files equally long.
TEST_P(Editor, FilesOfUnequalLengthsShowEveryLineAndAreEvenedByTheNextWrite) {
  WriteOwn(kThreeKeys, GbLines({"Zi"}));
  Start();
  EXPECT_EQ(Lines(), (QStringList{Q("字 Zi"), Q("长 "), Q("欧阳 ")}));
  ClickLine(2);
  EXPECT_EQ(HanField().text(), Q("欧阳"));
  EXPECT_EQ(PinyinField().text(), "");
  Type("长", "x");
  Click("btn_search");
  EXPECT_EQ(Selected(), 1);
  EXPECT_EQ(PinyinField().text(), "");

  Type("长", "Chang");
  Click("btn_add");
  EXPECT_EQ(Keys(), kThreeKeys);
  EXPECT_EQ(Readings(), GbLines({"Zi", "Chang", ""}));
  EXPECT_EQ(Selected(), 1);
  EXPECT_TRUE(dialogs.errorTexts.empty());
  window.reset();

  // More readings than keys: the extra ones show with empty characters and can be deleted.
  WriteOwn(GbLines({"字"}), GbLines({"Zi", "Chang", "Ouyang"}));
  Start();
  EXPECT_EQ(Lines(), (QStringList{Q("字 Zi"), " Chang", " Ouyang"}));
  ClickLine(1);
  dialogs.confirmAnswers = {true};
  Click("btn_del");
  EXPECT_EQ(dialogs.confirmTexts.back(), Q("确认要删除   Chang  吗？"));
  EXPECT_EQ(Keys(), GbLines({"字", ""}));
  EXPECT_EQ(Readings(), GbLines({"Zi", "Ouyang"}));
  EXPECT_EQ(Lines(), (QStringList{Q("字 Zi"), " Ouyang"}));
  EXPECT_TRUE(dialogs.errorTexts.empty());
}

TEST_P(Editor, ItsMenuItemShowsItModallyCentredOverTheMainWindow) {
  WriteOwn(kThreeKeys, kThreeReadings);
  Start();
  window->show();
  CustomReadingEditor* editor = &Window();
  EXPECT_TRUE(editor->isHidden());
  WithModalWindow([&] { Child<QAction>(*window, GetParam().menuItem).trigger(); },
                  [&](QWidget& modal) {
                    EXPECT_EQ(&modal, editor);
                    EXPECT_EQ(modal.windowModality(), Qt::ApplicationModal);
                    EXPECT_EQ(modal.frameGeometry().center(), window->frameGeometry().center());
                    EXPECT_EQ(Lines().size(), 3);
                  });
  // Closing only hides it: the same window, with its list, comes up next time.
  EXPECT_TRUE(editor->isHidden());
  WithModalWindow([&] { Child<QAction>(*window, GetParam().menuItem).trigger(); },
                  [&](QWidget& modal) { EXPECT_EQ(&modal, editor); });
  EXPECT_EQ(window->findChildren<CustomReadingEditor*>().size(), 2);
}

// The designed controls, relative to the window or to GroupBox1; a size of 0 is not designed.
struct Placed {
  const char* name;
  const char* parent;
  QRect rect;
  const char* text;
};

QString TextOf(const QWidget& control) {
  if (const auto* label = qobject_cast<const QLabel*>(&control)) return label->text();
  if (const auto* button = qobject_cast<const QAbstractButton*>(&control)) return button->text();
  if (const auto* box = qobject_cast<const QGroupBox*>(&control)) return box->title();
  if (const auto* edit = qobject_cast<const QLineEdit*>(&control)) return edit->text();
  return {};
}

void ExpectDesigned(const CustomReadingEditor& editor, const QString& title, QSize outer,
                    const std::vector<Placed>& controls) {
  EXPECT_EQ(editor.windowTitle(), title);
  EXPECT_EQ(editor.OuterSize(), outer);
  EXPECT_NE(editor.minimumSize(), editor.maximumSize()) << "resizable";
  EXPECT_TRUE(editor.isHidden());
  for (const Placed& placed : controls) {
    SCOPED_TRACE(placed.name);
    const auto& control = Child<QWidget>(editor, placed.name);
    EXPECT_EQ(control.parentWidget()->objectName(), placed.parent);
    EXPECT_EQ(control.pos(), placed.rect.topLeft());
    if (placed.rect.width() > 0) {
      EXPECT_EQ(control.size(), placed.rect.size());
    }
    EXPECT_EQ(TextOf(control), Q(placed.text));
  }
  const auto& list = Child<QListWidget>(editor, "ListBox_define_han");
  EXPECT_EQ(list.selectionMode(), QAbstractItemView::SingleSelection);
}

class DesignedEditors : public Program, public ::testing::Test {};

TEST_F(DesignedEditors, HaveTheirDesignedControls) {
  Start();
  // The list's height follows the window: client height 583 less 210.
  ExpectDesigned(Han(), Q("自定义标准拼音"), {264, 583},
                 {{"Label3", "TfrmHan", {8, 8, 230, 13}, "支持单个汉字和复姓，最多两个汉字"},
                  {"GroupBox1", "TfrmHan", {16, 34, 217, 120}, "标准大陆拼音"},
                  {"Label1", "GroupBox1", {16, 24, 0, 0}, "中文汉字"},
                  {"edt_han", "GroupBox1", {80, 20, 100, 21}, "字"},
                  {"Label2", "GroupBox1", {16, 56, 0, 0}, "汉语拼音"},
                  {"edt_pinyin", "GroupBox1", {80, 52, 100, 21}, "Zi"},
                  {"btn_add", "GroupBox1", {78, 83, 75, 25}, "添加/更新"},
                  {"btn_search", "TfrmHan", {175, 117, 50, 25}, "搜索"},
                  {"Label4", "TfrmHan", {16, 168, 0, 0}, "自定义字库"},
                  {"btn_del", "TfrmHan", {94, 162, 60, 25}, "删除"},
                  {"btn_clear", "TfrmHan", {166, 162, 60, 25}, "清空"},
                  {"ListBox_define_han", "TfrmHan", {16, 194, 217, 373}, ""}});
  ExpectDesigned(WeiHan(), Q("自定义韦氏港台拼音"), {259, 583},
                 {{"Label3", "TfrmWeiHan", {7, 8, 232, 13}, "支持单个汉字和复姓，最多两个汉字"},
                  {"GroupBox1", "TfrmWeiHan", {17, 34, 217, 120}, "韦氏港台拼音"},
                  {"Label1", "GroupBox1", {16, 24, 0, 0}, "中文汉字"},
                  {"edt_han", "GroupBox1", {80, 20, 100, 21}, "字"},
                  {"Label2", "GroupBox1", {16, 54, 0, 0}, "汉语拼音"},
                  {"edt_pinyin", "GroupBox1", {80, 50, 100, 21}, "Zi"},
                  {"btn_add", "GroupBox1", {78, 83, 75, 25}, "添加/更新"},
                  {"btn_search", "GroupBox1", {159, 83, 50, 25}, "搜索"},
                  {"Label4", "TfrmWeiHan", {16, 170, 0, 0}, "自定义字库"},
                  {"btn_del", "TfrmWeiHan", {96, 162, 65, 25}, "删除"},
                  {"btn_clear", "TfrmWeiHan", {168, 162, 60, 25}, "清空"},
                  {"ListBox_define_han", "TfrmWeiHan", {16, 194, 217, 373}, ""}});
}

TEST_F(DesignedEditors, TheListFollowsTheWindowsHeightAndTheSearchButtonLiesOnTop) {
  Start();
  for (CustomReadingEditor* editor :
       {static_cast<CustomReadingEditor*>(&Han()), static_cast<CustomReadingEditor*>(&WeiHan())}) {
    SCOPED_TRACE(editor->objectName().toStdString());
    editor->show();
    auto& search = Child<QPushButton>(*editor, "btn_search");
    EXPECT_EQ(editor->childAt(search.mapTo(editor, search.rect().center())), &search);
    const auto& list = Child<QListWidget>(*editor, "ListBox_define_han");
    for (const int height : {400, 700, 583}) {
      editor->resize(editor->width(), height);
      QApplication::processEvents();
      ASSERT_EQ(editor->height(), height);
      EXPECT_EQ(list.height(), height - 210);
      EXPECT_EQ(list.width(), 217);
    }
    editor->hide();
  }
}

TEST_F(DesignedEditors, TheProgramEntryCreatesTheWindowsHiddenInOrderWithTheirListsFilled) {
  WriteBytes(folder / kStandardKeysFile, GbLines({"字", "长"}));
  WriteBytes(folder / kStandardReadingsFile, GbLines({"Zi", "Chang"}));
  WriteBytes(folder / kWadeGilesKeysFile, GbLines({"字"}));
  WriteBytes(folder / kWadeGilesReadingsFile, GbLines({"Tzu"}));
  Start();
  std::vector<QString> order;
  for (const QObject* child : window->children()) {
    if (qobject_cast<const QDialog*>(child) != nullptr) order.push_back(child->objectName());
  }
  EXPECT_EQ(order, (std::vector<QString>{"TfrmNote", "TfrmWeiHan", "TfrmHan"}));
  for (const QWidget* shown :
       std::initializer_list<const QWidget*>{window->findChild<TfrmNote*>(), &Han(), &WeiHan()}) {
    EXPECT_TRUE(shown->isHidden());
  }
  EXPECT_EQ(Child<QListWidget>(Han(), "ListBox_define_han").count(), 2);
  EXPECT_EQ(Child<QListWidget>(Han(), "ListBox_define_han").item(1)->text(), Q("长 Chang"));
  EXPECT_EQ(Child<QListWidget>(WeiHan(), "ListBox_define_han").item(0)->text(), Q("字 Tzu"));
  EXPECT_TRUE(dialogs.errorTexts.empty());
}

}  // namespace
}  // namespace tolvane
