// The proofreading window: typing shows in the annotated view, a click on a character offers its
// readings, choices show in the view and in the handout, undo and redo take edits and choices
// back and forth, the text with its choices is saved and reopened, and a reading chosen always
// becomes one of the user's words; the user's words are kept in a panel of the window.
#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDockWidget>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <QTextCursor>

#include "WindowTestSupport.h"
#include "documents/ZipArchive.h"
#include "reading/Session.h"
#include "reading/shared/UserWordList.h"
#include "ui/LanguageFile.h"
#include "ui/TfrmMain.h"
#include "ui/TfrmProofread.h"
#include "ui/UserWordsPanel.h"

namespace tolvane {
namespace {

using test::Child;
using test::Q;
using test::ScriptedDialogs;
using test::TestProgramFolder;

ConversionSettings ByContextMarked() {
  ConversionSettings settings;
  settings.polyphone = PolyphonePolicy::ByContext;
  settings.toneStyle = ToneStyle::Marked;
  return settings;
}

// Types text as an input method does, one committed character at a time; a line end as the
// Return key.
void Type(QWidget& editor, const QString& text) {
  for (const uint cp : text.toUcs4()) {
    if (cp == '\n') {
      QTest::keyClick(&editor, Qt::Key_Return);
      continue;
    }
    QInputMethodEvent event;
    event.setCommitString(QString::fromUcs4(reinterpret_cast<const char32_t*>(&cp), 1));
    QApplication::sendEvent(&editor, &event);
  }
}

class TfrmProofreadTest : public testing::Test {
 protected:
  void SetUp() override {
    StartSession(session, folder.path());
    window = std::make_unique<TfrmProofread>(session, dialogs, ByContextMarked(), kEnglish);
    window->resize(1000, 700);
    window->show();
  }

  QPlainTextEdit& Editor() { return Child<QPlainTextEdit>(*window, "edt_text"); }

  // Waits until the view shows the text as it is, every line annotated (the worker is a thread
  // of its own; there is no fixed time to wait).
  static void WaitForView(TfrmProofread& w) {
    QCoreApplication::processEvents();
    for (int i = 0; i < 1200 && !w.ViewIsCurrent(); ++i) QTest::qWait(25);
    ASSERT_TRUE(w.ViewIsCurrent());
  }

  // The reading the view shows over the character at `codePoint`.
  static std::string Shown(TfrmProofread& w, std::size_t codePoint) {
    for (const PlacedViewLine& placed : w.View().Lines()) {
      std::size_t at = placed.firstCodePoint;
      for (const RubyCharacter& unit : placed.line->units) {
        if (at == codePoint) return unit.reading;
        at += test::Q(unit.text).toUcs4().size();
      }
    }
    return "<none>";
  }

  // Clicks the character at `codePoint` where the view's layout says it is, and returns the menu
  // that came up.
  QMenu& ClickCharacter(std::size_t codePoint) {
    const std::optional<QRect> rect = window->View().UnitRect(codePoint);
    if (!rect) throw std::runtime_error("the character is not laid out");
    QTest::mouseClick(window->View().viewport(), Qt::LeftButton, {}, rect->center());
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (menu == nullptr) throw std::runtime_error("no menu came up");
    return *menu;
  }

  void Choose(std::size_t codePoint, const char* action) {
    QMenu& menu = ClickCharacter(codePoint);
    auto* chosen = menu.findChild<QAction*>(QString::fromLatin1(action));
    if (chosen == nullptr) throw std::runtime_error(std::string("no action ") + action);
    chosen->trigger();
    menu.close();
    WaitForView(*window);
  }

  // The handout's reading of the unit at `index` of line `line`.
  std::string HandoutReading(std::size_t line, std::size_t index) {
    PageDesign design;
    design.titleSource = TitleSource::None;
    return window->CurrentHandout(design).lines.at(line).units.at(index).reading;
  }

  // Types a word and its syllables into the user words panel and adds them.
  void AddWord(const QString& word, const QString& syllables) {
    UserWordsPanel& panel = window->UserWords();
    Child<QLineEdit>(panel, "edt_word").setText(word);
    Child<QLineEdit>(panel, "edt_syllables").setText(syllables);
    QTest::mouseClick(&Child<QPushButton>(panel, "btn_add"), Qt::LeftButton);
    WaitForView(*window);
  }

  // The panel's table, row by row: word and syllables.
  std::vector<std::pair<QString, QString>> Table() {
    auto& table = Child<QTableWidget>(window->UserWords(), "tbl_words");
    std::vector<std::pair<QString, QString>> rows;
    for (int row = 0; row < table.rowCount(); ++row)
      rows.emplace_back(table.item(row, 0)->text(), table.item(row, 1)->text());
    return rows;
  }

  UserWordList WordsInFile() { return ReadUserWords(session.Data()->UserWordsFile()).list; }

  TestProgramFolder folder;
  Session session;
  ScriptedDialogs dialogs;
  std::unique_ptr<TfrmProofread> window;
};

TEST_F(TfrmProofreadTest, TypingShowsInTheAnnotatedView) {
  Editor().setFocus();
  Type(Editor(), QStringLiteral("他去银行"));
  WaitForView(*window);
  EXPECT_EQ(window->Text().Text(), "他去银行");
  EXPECT_EQ(Shown(*window, 3), "háng");
  Type(Editor(), QStringLiteral("\n我们行走"));
  WaitForView(*window);
  EXPECT_EQ(Shown(*window, 3), "háng");
  EXPECT_EQ(Shown(*window, 7), "xíng");
}

TEST_F(TfrmProofreadTest, TheReadingOptionsStartFromTheMainWindowsAndChangeTheView) {
  EXPECT_EQ(window->Settings().polyphone, PolyphonePolicy::ByContext);
  EXPECT_EQ(window->Settings().toneStyle, ToneStyle::Marked);
  Editor().setPlainText(QStringLiteral("银行"));
  WaitForView(*window);
  Child<QComboBox>(*window, "cmb_tone").setCurrentIndex(1);  // tone numbers
  WaitForView(*window);
  EXPECT_EQ(Shown(*window, 1), "hang2");
}

TEST_F(TfrmProofreadTest, AChosenReadingShowsInTheViewAndTheHandoutAndIsUndoneAndRedone) {
  Editor().setPlainText(QStringLiteral("他去银行，行人。"));
  WaitForView(*window);
  ASSERT_EQ(Shown(*window, 3), "háng");
  Choose(3, "occurrence:xing2");
  EXPECT_EQ(Shown(*window, 3), "xíng");
  EXPECT_EQ(HandoutReading(0, 3), "xíng");
  EXPECT_EQ(Shown(*window, 5), "xíng");  // the other 行 reads as it did
  window->UndoStack().undo();
  WaitForView(*window);
  EXPECT_EQ(Shown(*window, 3), "háng");
  EXPECT_EQ(HandoutReading(0, 3), "háng");
  window->UndoStack().redo();
  WaitForView(*window);
  EXPECT_EQ(Shown(*window, 3), "xíng");
}

TEST_F(TfrmProofreadTest, TheExportedDocumentCarriesTheChoiceInTheDesign) {
  Editor().setPlainText(QStringLiteral("他去银行，行人。"));
  WaitForView(*window);
  Choose(3, "occurrence:xing2");
  PageDesign design;
  design.scope = AnnotationScope::First;  // the second 行 is bare
  design.titleSource = TitleSource::None;
  window->SetPageDesign(design);
  const auto target = folder.path() / "handout.docx";
  dialogs.saveAnswers.push_back(test::Q(target.string()));
  Child<QAction>(*window, "act_export").trigger();
  window->Export().Finish();
  ASSERT_TRUE(dialogs.errorTexts.empty());
  const std::string xml = ReadZipEntry(target, "word/document.xml");
  EXPECT_NE(xml.find("xíng"), std::string::npos) << "the reading chosen";
  EXPECT_EQ(xml.find("háng"), std::string::npos) << "not the one read";
  std::size_t rubies = 0;
  for (std::size_t at = xml.find("<w:ruby>"); at != std::string::npos;
       at = xml.find("<w:ruby>", at + 1))
    ++rubies;
  EXPECT_EQ(rubies, 5u) << "他去银行 and 人 once each; the second 行 bare";

  // A target that cannot be written shows in the error box.
  dialogs.saveAnswers.push_back(test::Q((folder.path() / "none" / "a.odt").string()));
  Child<QAction>(*window, "act_export").trigger();
  window->Export().Finish();
  EXPECT_EQ(dialogs.errorTexts.size(), 1u);
}

TEST_F(TfrmProofreadTest, EveryOccurrenceTakesTheChoiceAndEditsCarryAChoiceAlong) {
  Editor().setPlainText(QStringLiteral("行人\n行走"));
  WaitForView(*window);
  Choose(0, "every:hang2");
  EXPECT_EQ(Shown(*window, 0), "háng");
  EXPECT_EQ(Shown(*window, 3), "háng");
  Choose(3, "occurrence:heng2");
  // Typing before the chosen character moves its choice with it; undo takes the typing back.
  QTextCursor cursor(Editor().document());
  cursor.setPosition(0);
  Editor().setTextCursor(cursor);
  Editor().setFocus();
  Type(Editor(), QStringLiteral("我们"));
  WaitForView(*window);
  EXPECT_EQ(window->Text().Text(), "我们行人\n行走");
  EXPECT_EQ(Shown(*window, 5), "héng");
  EXPECT_EQ(Shown(*window, 2), "háng");
  QTest::keySequence(&Editor(), QKeySequence::Undo);
  WaitForView(*window);
  EXPECT_EQ(window->Text().Text(), "行人\n行走");
  EXPECT_EQ(Shown(*window, 3), "héng");
  QTest::keySequence(&Editor(), QKeySequence::Redo);
  WaitForView(*window);
  EXPECT_EQ(window->Text().Text(), "我们行人\n行走");
  EXPECT_EQ(Shown(*window, 5), "héng");
}

TEST_F(TfrmProofreadTest, TheTextAndItsChoicesAreSavedAndReopened) {
  Editor().setPlainText(QStringLiteral("他去银行。\n𠀀行"));
  WaitForView(*window);
  Choose(7, "occurrence:heng2");
  test::TempDir dir;
  dialogs.saveAnswers.push_back(Q((dir / "a.tolvane-proof").string()));
  Child<QAction>(*window, "act_save").trigger();
  ASSERT_TRUE(std::filesystem::exists(dir / "a.tolvane-proof"));

  TfrmProofread reopened(session, dialogs, ByContextMarked(), kEnglish);
  reopened.show();
  dialogs.openAnswers.push_back(Q((dir / "a.tolvane-proof").string()));
  Child<QAction>(reopened, "act_open").trigger();
  WaitForView(reopened);
  EXPECT_EQ(reopened.Text(), window->Text());
  EXPECT_EQ(Shown(reopened, 7), "héng");
  EXPECT_TRUE(dialogs.errorTexts.empty());
}

TEST_F(TfrmProofreadTest, ADamagedFileIsNamedInTheErrorBoxAndChangesNothing) {
  test::TempDir dir;
  test::WriteBytes(dir / "bad.tolvane-proof", "tolvane-proofreading 1\nhere\t0\t行\n\n行");
  Editor().setPlainText(QStringLiteral("原文"));
  WaitForView(*window);
  EXPECT_FALSE(window->OpenProofreading(dir / "bad.tolvane-proof"));
  ASSERT_EQ(dialogs.errorTexts.size(), 1u);
  EXPECT_TRUE(dialogs.errorTexts[0].contains(QStringLiteral("bad.tolvane-proof:2:")))
      << dialogs.errorTexts[0].toStdString();
  EXPECT_EQ(window->Text().Text(), "原文");
}

TEST_F(TfrmProofreadTest, AReadingChosenAlwaysIsAUserWordThatReadsElsewhereToo) {
  Editor().setPlainText(QStringLiteral("行。\n他很行！"));
  WaitForView(*window);
  ASSERT_EQ(Shown(*window, 5), "xíng");
  Choose(0, "always:heng2");
  EXPECT_EQ(Shown(*window, 0), "héng");
  EXPECT_EQ(Shown(*window, 5), "héng");
  const UserWordParse words = ReadUserWords(session.Data()->UserWordsFile());
  ASSERT_NE(words.list.Find("行"), nullptr);
  EXPECT_EQ(words.list.Find("行")->syllables, std::vector<std::string>{"heng2"});
  // Not a choice of this text: the file keeps none.
  EXPECT_TRUE(window->Text().Corrections().empty());
  window->UndoStack().undo();
  WaitForView(*window);
  EXPECT_EQ(Shown(*window, 5), "xíng");
  EXPECT_EQ(ReadUserWords(session.Data()->UserWordsFile()).list.Find("行"), nullptr);
}

TEST_F(TfrmProofreadTest, TheMenuOffersTheCharactersReadingsAndTakingAChoiceBack) {
  Editor().setPlainText(QStringLiteral("的"));
  WaitForView(*window);
  std::unique_ptr<QMenu> menu(window->CorrectionMenu(0));
  ASSERT_NE(menu, nullptr);
  for (const char* name : {"occurrence:de5", "occurrence:di4", "every:di2", "always:di4"})
    EXPECT_NE(menu->findChild<QAction*>(QString::fromLatin1(name)), nullptr) << name;
  EXPECT_EQ(menu->findChild<QAction*>(QStringLiteral("remove")), nullptr);
  Choose(0, "occurrence:di4");
  Choose(0, "remove");
  EXPECT_EQ(Shown(*window, 0), "de");
  EXPECT_TRUE(window->Text().Corrections().empty());
}

using Rows = std::vector<std::pair<QString, QString>>;

TEST_F(TfrmProofreadTest, AWordAddedInThePanelIsSavedReadInTheTextAndUndone) {
  Editor().setPlainText(QStringLiteral("他很行！"));
  WaitForView(*window);
  ASSERT_EQ(Shown(*window, 2), "xíng");
  Child<QAction>(*window, "act_user_words").trigger();
  EXPECT_TRUE(Child<QDockWidget>(*window, "dock_user_words").isVisible());
  AddWord(QStringLiteral("行"), QStringLiteral("héng"));
  EXPECT_EQ(Shown(*window, 2), "héng");
  EXPECT_EQ(Table(), (Rows{{QStringLiteral("行"), QStringLiteral("heng2")}}));
  ASSERT_NE(WordsInFile().Find("行"), nullptr);
  EXPECT_EQ(WordsInFile().Find("行")->syllables, std::vector<std::string>{"heng2"});
  EXPECT_TRUE(Child<QLineEdit>(window->UserWords(), "edt_word").text().isEmpty());

  window->UndoStack().undo();
  WaitForView(*window);
  EXPECT_EQ(Shown(*window, 2), "xíng");
  EXPECT_TRUE(Table().empty());
  EXPECT_TRUE(WordsInFile().empty());
  window->UndoStack().redo();
  WaitForView(*window);
  EXPECT_EQ(Shown(*window, 2), "héng");
  EXPECT_EQ(Table().size(), 1u);
}

TEST_F(TfrmProofreadTest, ADoubleClickedWordIsChangedInPlace) {
  AddWord(QStringLiteral("银行"), QStringLiteral("yin2 hang2"));
  AddWord(QStringLiteral("行"), QStringLiteral("heng2"));
  Child<QAction>(*window, "act_user_words").trigger();
  auto& table = Child<QTableWidget>(window->UserWords(), "tbl_words");
  QCoreApplication::processEvents();  // the dock laid out
  const QRect cell = table.visualRect(table.model()->index(0, 1));
  ASSERT_TRUE(table.viewport()->rect().contains(cell.center()));
  QTest::mouseClick(table.viewport(), Qt::LeftButton, {}, cell.center());
  QTest::mouseDClick(table.viewport(), Qt::LeftButton, {}, cell.center());
  EXPECT_EQ(Child<QLineEdit>(window->UserWords(), "edt_word").text(), QStringLiteral("银行"));
  EXPECT_EQ(Child<QLineEdit>(window->UserWords(), "edt_syllables").text(),
            QStringLiteral("yin2 hang2"));
  AddWord(QStringLiteral("银行"), QStringLiteral("yin2 xing2"));
  EXPECT_EQ(Table(), (Rows{{QStringLiteral("银行"), QStringLiteral("yin2 xing2")},
                           {QStringLiteral("行"), QStringLiteral("heng2")}}));
  // Renaming the word being changed replaces its entry.
  window->UserWords().EditRow(1);
  AddWord(QStringLiteral("行人"), QStringLiteral("xing2 ren2"));
  EXPECT_EQ(Table(), (Rows{{QStringLiteral("银行"), QStringLiteral("yin2 xing2")},
                           {QStringLiteral("行人"), QStringLiteral("xing2 ren2")}}));
}

TEST_F(TfrmProofreadTest, AWordRemovedInThePanelNoLongerReads) {
  Editor().setPlainText(QStringLiteral("他很行！"));
  WaitForView(*window);
  AddWord(QStringLiteral("银行"), QStringLiteral("yin2 hang2"));
  AddWord(QStringLiteral("行"), QStringLiteral("heng2"));
  ASSERT_EQ(Shown(*window, 2), "héng");
  auto& table = Child<QTableWidget>(window->UserWords(), "tbl_words");
  table.selectRow(1);
  QTest::mouseClick(&Child<QPushButton>(window->UserWords(), "btn_remove"), Qt::LeftButton);
  WaitForView(*window);
  EXPECT_EQ(Shown(*window, 2), "xíng");
  EXPECT_EQ(Table(), (Rows{{QStringLiteral("银行"), QStringLiteral("yin2 hang2")}}));
  EXPECT_EQ(WordsInFile().Find("行"), nullptr);
  EXPECT_NE(WordsInFile().Find("银行"), nullptr);
}

TEST_F(TfrmProofreadTest, AWordThePanelCannotTakeIsRefusedWithTheReason) {
  struct Case {
    const char* word;
    const char* syllables;
  };
  for (const Case& c : {Case{"银行", "yin2"}, Case{"银行", "yin2 hang2 le5"},
                        Case{"银行", "yin2 qqq2"}, Case{"", "yin2"}}) {
    SCOPED_TRACE(std::string(c.word) + " / " + c.syllables);
    std::string reason;
    ASSERT_FALSE(MakeUserWordEntry(c.word, c.syllables, &reason));
    dialogs.errorTexts.clear();
    AddWord(QString::fromUtf8(c.word), QString::fromUtf8(c.syllables));
    ASSERT_EQ(dialogs.errorTexts.size(), 1u);
    EXPECT_TRUE(dialogs.errorTexts[0].startsWith(QString::fromStdString(reason)))
        << dialogs.errorTexts[0].toStdString();
    EXPECT_EQ(window->UndoStack().count(), 0);
    EXPECT_TRUE(Table().empty());
    EXPECT_FALSE(std::filesystem::exists(session.Data()->UserWordsFile()));
  }
}

TEST_F(TfrmProofreadTest, AnImportedTsvAddsItsGoodWordsAndShowsItsBadLine) {
  Editor().setPlainText(QStringLiteral("他很行！"));
  WaitForView(*window);
  AddWord(QStringLiteral("行"), QStringLiteral("xing2"));
  test::TempDir dir;
  test::WriteBytes(dir / "words.tsv",
                   "word\tpinyin\n行\theng2\n银行\tyin2\n\"重庆\"\tchong2 qing4\textra\n");
  dialogs.openAnswers.push_back(Q((dir / "words.tsv").string()));
  QTest::mouseClick(&Child<QPushButton>(window->UserWords(), "btn_import"), Qt::LeftButton);
  WaitForView(*window);
  EXPECT_EQ(Table(), (Rows{{QStringLiteral("行"), QStringLiteral("heng2")},
                           {QStringLiteral("重庆"), QStringLiteral("chong2 qing4")}}));
  EXPECT_EQ(Shown(*window, 2), "héng");
  ASSERT_EQ(dialogs.messageTexts.size(), 1u);
  EXPECT_TRUE(dialogs.messageTexts[0].contains(QStringLiteral("words.tsv:3: ")))
      << dialogs.messageTexts[0].toStdString();
  EXPECT_EQ(WordsInFile().size(), 2u);
  // One step of undo takes the whole import back.
  window->UndoStack().undo();
  WaitForView(*window);
  EXPECT_EQ(Table(), (Rows{{QStringLiteral("行"), QStringLiteral("xing2")}}));

  // A file that cannot be read shows in the error box and changes nothing.
  dialogs.openAnswers.push_back(Q((dir / "none.tsv").string()));
  QTest::mouseClick(&Child<QPushButton>(window->UserWords(), "btn_import"), Qt::LeftButton);
  ASSERT_EQ(dialogs.errorTexts.size(), 1u);
  EXPECT_TRUE(dialogs.errorTexts[0].contains(QStringLiteral("none.tsv")));
  EXPECT_EQ(Table().size(), 1u);
}

TEST_F(TfrmProofreadTest, TheExportedTsvHoldsTheWordsInTheirOrder) {
  AddWord(QStringLiteral("银行"), QStringLiteral("yín háng"));
  AddWord(QStringLiteral("卡拉OK"), QStringLiteral("ka3 la1 - -"));
  test::TempDir dir;
  dialogs.saveAnswers.push_back(Q((dir / "out.tsv").string()));
  QTest::mouseClick(&Child<QPushButton>(window->UserWords(), "btn_export"), Qt::LeftButton);
  EXPECT_TRUE(dialogs.errorTexts.empty());
  EXPECT_EQ(test::ReadBytes(dir / "out.tsv"),
            "word\tpinyin\n银行\tyin2 hang2\n卡拉OK\tka3 la1 - -\n");
  // And it imports back as it was.
  EXPECT_EQ(ParseUserWordsTsv(test::ReadBytes(dir / "out.tsv")).list, window->UserWords().Words());
}

TEST_F(TfrmProofreadTest, TheUserWordFilesBadLinesAreShownUnderTheTable) {
  test::WriteBytes(session.Data()->UserWordsFile(), "银行 yin2 hang2\n行 heng2 xing2\n");
  session.ReloadDataFiles();
  TfrmProofread reopened(session, dialogs, ByContextMarked(), kEnglish);
  auto& problems = Child<QLabel>(reopened.UserWords(), "lbl_problems");
  EXPECT_FALSE(problems.isHidden());
  EXPECT_TRUE(problems.text().contains(QStringLiteral("user_words.txt:2: ")))
      << problems.text().toStdString();
  EXPECT_EQ(reopened.UserWords().Words().size(), 1u);
  EXPECT_TRUE(Child<QLabel>(window->UserWords(), "lbl_problems").isHidden())
      << "the window opened before read no problem";
}

TEST(TfrmProofreadOpeningTest, TheMainWindowsFileMenuOpensItWithTheMainWindowsOptions) {
  TestProgramFolder folder;
  ScriptedDialogs dialogs;
  TfrmMain main{folder.path(), dialogs};
  Child<QRadioButton>(main, "rb_duoyinzi_context").setChecked(true);
  Child<QRadioButton>(main, "RadioButton_num").setChecked(true);
  EXPECT_EQ(Child<QAction>(main, "N_proofread").text(), QStringLiteral("校对…"));
  Child<QAction>(main, "N_proofread").trigger();
  auto* window = main.findChild<TfrmProofread*>();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(window->Settings().polyphone, PolyphonePolicy::ByContext);
  EXPECT_EQ(window->Settings().toneStyle, ToneStyle::Numbered);
  EXPECT_EQ(window->windowTitle(), QStringLiteral("校对"));
}

TEST(TfrmProofreadLanguageTest, CaptionsFollowTheMainWindowsLanguage) {
  TestProgramFolder folder;
  Session session;
  StartSession(session, folder.path());
  ScriptedDialogs dialogs;
  {
    TfrmProofread english(session, dialogs, ByContextMarked(), kEnglish);
    EXPECT_EQ(english.windowTitle(), QStringLiteral("Proofreading"));
    EXPECT_EQ(Child<QAction>(english, "act_save").text(), QStringLiteral("Save"));
  }
  TfrmProofread chinese(session, dialogs, ByContextMarked(), kChinese);
  EXPECT_EQ(chinese.windowTitle(), QStringLiteral("校对"));
  EXPECT_EQ(Child<QAction>(chinese, "act_save").text(), QStringLiteral("保存"));
  EXPECT_EQ(Child<QComboBox>(chinese, "cmb_policy").itemText(2), QStringLiteral("按词语读音"));
  EXPECT_EQ(Child<QAction>(chinese, "act_user_words").text(), QStringLiteral("我的词语"));
  EXPECT_EQ(Child<QPushButton>(chinese.UserWords(), "btn_import").text(),
            QStringLiteral("导入 TSV…"));
}

}  // namespace
}  // namespace tolvane
