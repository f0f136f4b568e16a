// The usage notes, the About window and the maker's web page, reached from the Help menu.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>
#include <optional>

#include "WindowTestSupport.h"
#include "documents/Credits.h"
#include "tolvane/Version.h"
#include "ui/MakerInfo.h"
#include "ui/TfrmAbout.h"
#include "ui/TfrmMain.h"
#include "ui/TfrmNote.h"

namespace tolvane {
namespace {

using test::Child;
using test::Q;
using test::ScriptedDialogs;
using test::TestProgramFolder;
using test::WithModalWindow;

class InfoWindows : public ::testing::Test {
 protected:
  InfoWindows() {
    window.CreateHiddenWindows();
    window.show();
  }
  void Trigger(const char* name) { Child<QAction>(window, name).trigger(); }
  TfrmNote* Notes() const { return window.findChild<TfrmNote*>(); }

  TestProgramFolder folder;
  ScriptedDialogs dialogs;
  TfrmMain window{folder.path(), dialogs};
};

QStringList ExpectedNotes() {
  return {Q("   软件说明："),
          Q("   软件收录7800个简体汉字；"),
          Q("   收录399个标准汉字读音；"),
          Q("   软件还支持自定义字库和读音。"),
          "",
          Q("   操作步骤："),
          Q("   1，将需要标注拼音的中文拷贝到文本文件（.txt），作为源文件；"),
          Q("   2，选择拼音格式，然后执行；"),
          Q("   3，软件内置7800多个简体汉字，包括多音字；"),
          Q("   4，软机支持自定义拼音字库。"),
          "",
          Q("   联系方式："),
          Q("   电子邮件：team@tolvane.example.org"),
          Q("   网址：https://tolvane.example.org/")};
}

// What holds for the notes window whatever font answers for its text: the text box fills the
// fixed window, which is at least the designed size and shows every line whole, without a
// scroll bar and without a wrapped line.
void ExpectNotesShownWhole(TfrmNote& notes) {
  const auto& memo = Child<QTextEdit>(notes, "Memo1");
  EXPECT_GE(notes.width(), 396);
  EXPECT_GE(notes.height(), 205);
  EXPECT_EQ(notes.minimumSize(), notes.maximumSize());
  EXPECT_EQ(memo.geometry(), QRect(QPoint(0, 0), notes.size()));
  EXPECT_EQ(memo.verticalScrollBar()->maximum(), 0);
  EXPECT_EQ(memo.horizontalScrollBar()->maximum(), 0);
  const QTextDocument* document = memo.document();
  EXPECT_EQ(document->blockCount(), 14);
  for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
    EXPECT_EQ(block.layout()->lineCount(), 1) << block.text().toStdString();
  EXPECT_LE(document->size().height(), memo.viewport()->height());
}

TEST_F(InfoWindows, TheUsageNotesAreOneFixedWindowWithTheDesignedText) {
  TfrmNote* notes = Notes();
  ASSERT_NE(notes, nullptr);
  EXPECT_TRUE(notes->isHidden());
  EXPECT_EQ(notes->windowTitle(), Q("使用说明"));
  EXPECT_FALSE(notes->windowFlags() & Qt::WindowMinMaxButtonsHint);

  const auto& memo = Child<QTextEdit>(*notes, "Memo1");
  EXPECT_TRUE(memo.isReadOnly());
  EXPECT_EQ(memo.frameShape(), QFrame::NoFrame);
  EXPECT_EQ(memo.font().family(), "Arial");
  EXPECT_EQ(memo.font().pointSize(), 8);
  EXPECT_EQ(memo.palette().color(QPalette::Text), QColor(Qt::black));
  EXPECT_EQ(memo.toPlainText().split(u'\n'), ExpectedNotes());
  notes->show();
  ExpectNotesShownWhole(*notes);
}

TEST_F(InfoWindows, TheNotesWindowKeepsItsDesignedSizeForASmallFontAndGrowsForALargeOne) {
  // Any font's fourteen lines fit 396 x 205 at 4 points and none fits at 20.
  TfrmNote* notes = Notes();
  auto& memo = Child<QTextEdit>(*notes, "Memo1");
  QFont font = memo.font();
  font.setPointSize(4);
  memo.setFont(font);
  notes->FitWindowToText();
  notes->show();
  EXPECT_EQ(notes->size(), QSize(396, 205));
  ExpectNotesShownWhole(*notes);

  font.setPointSize(20);
  memo.setFont(font);
  notes->FitWindowToText();
  QApplication::processEvents();
  EXPECT_GT(notes->height(), 205);
  ExpectNotesShownWhole(*notes);
}

TEST_F(InfoWindows, ChoosingTheNotesAgainBringsTheSameWindowToTheFront) {
  Trigger("N7");
  TfrmNote* notes = Notes();
  EXPECT_TRUE(notes->isVisible());
  EXPECT_FALSE(notes->isModal());
  EXPECT_EQ(notes->frameGeometry().center(), window.frameGeometry().center());
  // All fourteen lines fit the window, Chinese glyphs and all.
  ExpectNotesShownWhole(*notes);

  window.activateWindow();
  QApplication::processEvents();
  Trigger("N7");
  QApplication::processEvents();
  EXPECT_EQ(window.findChildren<TfrmNote*>().size(), 1);
  EXPECT_TRUE(notes->isVisible());
  EXPECT_EQ(QApplication::activeWindow(), notes);

  // Closing hides it; choosing it again shows the same window and text.
  notes->close();
  EXPECT_TRUE(notes->isHidden());
  Trigger("N7");
  EXPECT_EQ(Notes(), notes);
  EXPECT_TRUE(notes->isVisible());
  EXPECT_EQ(Child<QTextEdit>(*notes, "Memo1").toPlainText().split(u'\n'), ExpectedNotes());
  EXPECT_TRUE(dialogs.errorTexts.empty());
}

// What holds for the About window whatever font answers for its labels: each label is as large
// as its text needs, the labels do not overlap, and the window holds them all.
void ExpectLabelsShownWhole(const QWidget& about) {
  int bottom = 0;
  for (const char* name : {"Label1", "Label2", "Label3", "Label4", "Label5"}) {
    SCOPED_TRACE(name);
    const auto& label = Child<QLabel>(about, name);
    EXPECT_GE(label.height(), label.sizeHint().height());
    EXPECT_GE(label.width(), label.sizeHint().width());
    EXPECT_GE(label.y(), bottom);
    bottom = label.geometry().bottom() + 1;
  }
  EXPECT_LE(bottom, about.height());
}

TEST_F(InfoWindows, EachAboutWindowIsAFreshModalWindowWithTheMainWindowsVersion) {
  ASSERT_EQ(window.VersionText(), QStringLiteral("v") + kVersion);
  for (int opening = 0; opening < 2; ++opening) {
    SCOPED_TRACE(opening);
    WithModalWindow(
        [&] { Trigger("N10"); },
        [&](QWidget& modal) {
          ASSERT_NE(qobject_cast<TfrmAbout*>(&modal), nullptr);
          EXPECT_EQ(modal.parentWidget(), &window);
          EXPECT_EQ(modal.windowModality(), Qt::ApplicationModal);
          // Nothing of an earlier window remains.
          EXPECT_FALSE(modal.property("opened before").isValid());
          modal.setProperty("opened before", true);
          EXPECT_EQ(modal.windowTitle(), Q("关于"));
          EXPECT_GE(modal.width(), 254);
          EXPECT_GE(modal.height(), 166);
          EXPECT_EQ(modal.minimumSize(), modal.maximumSize());
          EXPECT_EQ(modal.frameGeometry().center(), window.frameGeometry().center());
          const struct {
            const char* name;
            int top;
            QString text;
          } labels[] = {
              {"Label1", 10, "Tolvane"},           {"Label2", 40, QStringLiteral("v") + kVersion},
              {"Label3", 72, Q(maker::kName)},     {"Label4", 102, Q(maker::kWebAddress)},
              {"Label5", 131, Q(maker::kContact)},
          };
          for (const auto& expected : labels) {
            SCOPED_TRACE(expected.name);
            const auto& label = Child<QLabel>(modal, expected.name);
            EXPECT_EQ(label.text(), expected.text);
            EXPECT_EQ(label.x(), 0);
            EXPECT_GE(label.y(), expected.top);
            EXPECT_EQ(label.width(), modal.width());
            EXPECT_EQ(label.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
            EXPECT_EQ(label.font().family(), "Arial");
            EXPECT_EQ(label.font().pointSize(), 8);
          }
          ExpectLabelsShownWhole(modal);
        });
    EXPECT_TRUE(window.findChildren<TfrmAbout*>().isEmpty());
  }
}

TEST_F(InfoWindows, TheAboutWindowKeepsItsDesignedLayoutForASmallFontAndGrowsForALargeOne) {
  WithModalWindow(
      [&] { Trigger("N10"); },
      [&](QWidget& modal) {
        auto& about = *qobject_cast<TfrmAbout*>(&modal);
        const char* names[] = {"Label1", "Label2", "Label3", "Label4", "Label5"};
        const int tops[] = {10, 40, 72, 102, 131};
        const auto setPoints = [&](int points) {
          for (const char* name : names) {
            auto& label = Child<QLabel>(about, name);
            QFont font = label.font();
            font.setPointSize(points);
            label.setFont(font);
          }
          about.FitLabelsToText();
        };
        // Any font's texts fit the designed labels at 4 points and none at 24.
        setPoints(4);
        EXPECT_EQ(about.width(), 254);
        for (int i = 0; i < 5; ++i)
          EXPECT_EQ(Child<QLabel>(about, names[i]).geometry(), QRect(0, tops[i], 254, 16))
              << names[i];
        // The credits come under the designed space, whole in the window.
        const QRect credits = Child<QTextBrowser>(about, "Credits").geometry();
        EXPECT_EQ(credits.top(), 166);
        EXPECT_TRUE(QRect(QPoint(0, 0), about.size()).contains(credits));
        setPoints(24);
        EXPECT_GT(about.height(), 166);
        ExpectLabelsShownWhole(about);
      });
}

// Every link of a text area's document.
QStringList AnchorsOf(const QTextDocument& document) {
  QStringList anchors;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
    for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment)
      if (fragment.fragment().charFormat().isAnchor())
        anchors << fragment.fragment().charFormat().anchorHref();
  return anchors;
}

TEST_F(InfoWindows, TheAboutWindowCreditsEveryDataSourceCcCedictFirstAndOpensTheirLinks) {
  const auto& credits = DataCredits();
  ASSERT_EQ(credits.front().name, "CC-CEDICT");
  WithModalWindow(
      [&] { Trigger("N10"); },
      [&](QWidget& modal) {
        auto& area = Child<QTextBrowser>(modal, "Credits");
        EXPECT_TRUE(area.isVisible());
        EXPECT_TRUE(area.isReadOnly());
        EXPECT_GE(area.y(), Child<QLabel>(modal, "Label5").geometry().bottom());
        // Each source's name, holder, licence and address, in the order of the list.
        const QString text = area.toPlainText();
        qsizetype from = 0;
        for (const DataCredit& credit : credits) {
          SCOPED_TRACE(credit.name);
          for (const std::string& part : {credit.name, credit.holder, credit.licence, credit.url}) {
            const qsizetype at = text.indexOf(QString::fromStdString(part), from);
            EXPECT_GE(at, from) << part;
            if (at >= 0) from = at;
          }
        }
        const QStringList anchors = AnchorsOf(*area.document());
        EXPECT_TRUE(anchors.contains("https://creativecommons.org/licenses/by-sa/4.0/"));
        for (const DataCredit& credit : credits)
          EXPECT_TRUE(anchors.contains(QString::fromStdString(credit.url))) << credit.name;
        // A click on CC-CEDICT's address opens it through the program's dialogs.
        QTextCursor link = area.document()->find(QString::fromStdString(credits.front().url));
        ASSERT_FALSE(link.isNull());
        link.setPosition(link.selectionStart() + 2);
        area.setTextCursor(link);
        area.ensureCursorVisible();
        const QPoint point = area.cursorRect(link).center();
        QTest::mouseClick(area.viewport(), Qt::LeftButton, {}, point);
      });
  EXPECT_EQ(dialogs.openedUrls,
            std::vector<QUrl>{QUrl(QString::fromStdString(credits.front().url))});
  EXPECT_TRUE(dialogs.errorTexts.empty());
}

TEST_F(InfoWindows, TheMakersLabelsAndOnlineHelpOpenTheOneWebPage) {
  Trigger("N8");
  WithModalWindow([&] { Trigger("N10"); },
                  [&](QWidget& modal) {
                    for (const char* name : {"Label1", "Label2", "Label3", "Label4", "Label5"}) {
                      QTest::mouseClick(&Child<QLabel>(modal, name), Qt::LeftButton);
                    }
                  });
  const QUrl page(QStringLiteral("https://tolvane.example.org/"));
  EXPECT_EQ(dialogs.openedUrls, std::vector<QUrl>(4, page));
  EXPECT_TRUE(dialogs.errorTexts.empty());
}

}  // namespace
}  // namespace tolvane
