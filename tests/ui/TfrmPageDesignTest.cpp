// The page design window and the design it saves beside the options: what it shows is what it
// gives back, OK saves it for the next start, a damaged file is reported and left for the
// defaults, and the window's PDF export lays out pages as the saved design says.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <functional>
#include <vector>

#include "PopplerSupport.h"
#include "WindowTestSupport.h"
#include "documents/PageDesign.h"
#include "ui/QtText.h"
#include "ui/SettingsFile.h"
#include "ui/TfrmMain.h"
#include "ui/TfrmPageDesign.h"

namespace tolvane {
namespace {

using test::Child;
using test::Gb;
using test::Q;
using test::ReadBytes;
using test::ScriptedDialogs;
using test::TempDir;
using test::TestProgramFolder;
using test::WithModalWindow;
using test::WriteBytes;

PageDesign Unusual() {
  PageDesign design;
  design.paper = PaperSize::Letter;
  design.marginMm = 27.5;
  design.textFont = "A Face Not Installed Here";
  design.textSizePt = 21;
  design.readingPercent = 65;
  design.lineSpacing = 1.75;
  design.syllableGap = 0.3;
  design.titleSource = TitleSource::Fixed;
  design.titleText = "第一课";
  design.pageNumbers = false;
  design.toneScheme = ToneColourScheme::Custom;
  design.toneColours = {"#112233", "#445566", "#778899", "#aabbcc", "#ddeeff"};
  design.scope = AnnotationScope::First;
  return design;
}

TEST(PageDesignWindow, GivesBackTheDesignItWasShown) {
  for (const PageDesign& design : {PageDesign{}, Unusual()}) {
    TfrmPageDesign window(nullptr, kChinese);
    window.SetDesign(design);
    EXPECT_EQ(window.Design(), design);
  }
}

TEST(PageDesignWindow, CaptionsFollowTheLanguage) {
  // A control's caption in each language: a label, a check box, a combo box's items, a colour
  // button, a tooltip and the window's title.
  struct CaptionCase {
    std::function<QString(const QDialog&)> caption;
    const char* chinese;
    const char* english;
  };
  const auto label = [](const char* name) {
    return [name](const QDialog& window) { return Child<QLabel>(window, name).text(); };
  };
  const auto item = [](const char* name, int index) {
    return [name, index](const QDialog& window) {
      return Child<QComboBox>(window, name).itemText(index);
    };
  };
  const std::vector<CaptionCase> cases{
      {[](const QDialog& window) { return window.windowTitle(); }, "页面设计", "Page design"},
      {label("lbl_paper"), "纸张", "Paper"},
      {label("lbl_margin"), "页边距", "Margins"},
      {label("lbl_readingfont"), "注音字体", "Pinyin font"},
      {label("lbl_linespacing"), "行距", "Line spacing"},
      {label("lbl_tones"), "声调颜色", "Tone colours"},
      {label("lbl_annotate"), "注音范围", "Annotate"},
      {[](const QDialog& window) { return Child<QCheckBox>(window, "ck_pagenumbers").text(); },
       "显示页码", "Show page numbers"},
      {[](const QDialog& window) { return Child<QPushButton>(window, "btn_tone5").text(); }, "轻声",
       "Light"},
      {[](const QDialog& window) { return Child<QComboBox>(window, "cb_tones").toolTip(); },
       "按声调给拼音着色", "Colours the pinyin by its tone"},
      {item("cb_textfont", 0), "（自动）", "(automatic)"},
      {item("cb_title", 0), "取第一行", "First line"},
      {item("cb_tones", 4), "自定义", "Custom"},
      {item("cb_annotate", 0), "全部汉字", "Every character"},
      {item("cb_annotate", 1), "常用字以外", "Uncommon characters"},
      {item("cb_annotate", 2), "非常用读音", "Unusual readings"},
      {item("cb_annotate", 3), "每字首次出现", "First occurrence"},
      {[](const QDialog& window) {
         return Child<QDialogButtonBox>(window, "buttonBox").button(QDialogButtonBox::Ok)->text();
       },
       "确定", "OK"},
  };
  // Both open at once, and the events of installing their translators delivered: each keeps
  // its own language.
  TfrmPageDesign chinese(nullptr, kChinese);
  TfrmPageDesign english(nullptr, kEnglish);
  QCoreApplication::processEvents();
  for (const CaptionCase& each : cases) {
    EXPECT_EQ(each.caption(chinese), Q(each.chinese));
    EXPECT_EQ(each.caption(english), Q(each.english));
  }
}

class MainWindowDesign : public ::testing::Test {
 protected:
  std::filesystem::path DesignFile() const { return folder / kPageDesignFileName; }
  // Opens the page design window from the File menu, lets `change` set its controls and
  // presses OK (or closes it, with `accept` false).
  void EditDesign(TfrmMain& window, const std::function<void(QDialog&)>& change,
                  bool accept = true) {
    WithModalWindow([&] { Child<QAction>(window, "N_pagedesign").trigger(); },
                    [&](QWidget& modal) {
                      auto* dialog = qobject_cast<TfrmPageDesign*>(&modal);
                      ASSERT_NE(dialog, nullptr);
                      change(*dialog);
                      if (accept) dialog->accept();
                    });
  }

  TestProgramFolder folder;
  ScriptedDialogs dialogs;
};

TEST_F(MainWindowDesign, OkSavesTheDesignBesideTheOptionsAndTheNextStartShowsIt) {
  {
    TfrmMain window(folder.path(), dialogs);
    EditDesign(window, [](QDialog& dialog) {
      Child<QDoubleSpinBox>(dialog, "sp_margin").setValue(27);
      QComboBox& annotate = Child<QComboBox>(dialog, "cb_annotate");
      annotate.setCurrentIndex(annotate.findData(static_cast<int>(AnnotationScope::Uncommon)));
      QComboBox& tones = Child<QComboBox>(dialog, "cb_tones");
      tones.setCurrentIndex(tones.findData(static_cast<int>(ToneColourScheme::Contrast)));
    });
    ASSERT_TRUE(std::filesystem::exists(DesignFile()));
    PageDesign expected;
    expected.marginMm = 27;
    expected.scope = AnnotationScope::Uncommon;
    expected.toneScheme = ToneColourScheme::Contrast;
    EXPECT_EQ(ReadPageDesign(DesignFile()), expected);
    // Closed without OK: nothing changes.
    EditDesign(
        window, [](QDialog& dialog) { Child<QDoubleSpinBox>(dialog, "sp_margin").setValue(5); },
        false);
    EXPECT_EQ(ReadPageDesign(DesignFile()), expected);
    window.close();
  }
  // config1.dll holds the window's options alone, as it always did.
  std::string lines;
  for (const std::string& line : ConfigLines(DesignedWindowSettings())) lines += line + "\r\n";
  EXPECT_EQ(ReadBytes(folder / kSettingsFileName), lines);

  TfrmMain again(folder.path(), dialogs);
  EditDesign(
      again,
      [](QDialog& dialog) {
        EXPECT_EQ(Child<QDoubleSpinBox>(dialog, "sp_margin").value(), 27);
        EXPECT_EQ(Child<QComboBox>(dialog, "cb_annotate").currentData().toInt(),
                  static_cast<int>(AnnotationScope::Uncommon));
      },
      false);
  EXPECT_TRUE(dialogs.errorTexts.empty());
}

TEST_F(MainWindowDesign, ADamagedFileIsReportedWithItsLineAndTheDefaultsStay) {
  WriteBytes(DesignFile(), "paper = a5\nmargin_mm = 99\n");
  TfrmMain window(folder.path(), dialogs);
  ASSERT_EQ(dialogs.errorTexts.size(), 1u);
  EXPECT_TRUE(dialogs.errorTexts[0].contains(Q(kPageDesignFileName)));
  EXPECT_TRUE(dialogs.errorTexts[0].contains(QStringLiteral("line 2")));
  EditDesign(
      window,
      [](QDialog& dialog) {
        EXPECT_EQ(static_cast<TfrmPageDesign&>(dialog).Design(), PageDesign{});
      },
      false);
}

TEST_F(MainWindowDesign, ThePdfExportLaysOutPagesAsTheSavedDesignSays) {
  if (!test::HasPdfTools()) GTEST_SKIP() << "poppler-utils are not installed";
  PageDesign design;
  design.paper = PaperSize::A5;
  design.marginMm = 30;
  design.scope = AnnotationScope::Uncommon;
  design.titleSource = TitleSource::None;
  WritePageDesign(design, DesignFile());
  TempDir documents;
  const auto source = documents / "a.txt";
  std::string text;
  for (int i = 0; i < 12; ++i) text += Gb("我们吃饕餮大餐，我爱北京天安门。") + "\r\n";
  WriteBytes(source, text);
  TfrmMain window(folder.path(), dialogs);
  dialogs.openAnswers.push_back(QStringFromPath(source));
  Child<QPushButton>(window, "btnopen").click();
  const auto pdf = documents / "a.pdf";
  dialogs.saveAnswers.push_back(QStringFromPath(pdf));
  dialogs.confirmAnswers.push_back(false);
  Child<QAction>(window, "N_pdf").trigger();
  window.DocumentJob().Finish();
  ASSERT_TRUE(dialogs.errorTexts.empty());

  const auto size = test::PdfPageSize(pdf);
  ASSERT_TRUE(size.has_value());
  EXPECT_NEAR(size->first, 419.53, 0.5);  // A5
  EXPECT_NEAR(size->second, 595.28, 0.5);
  const double margin = 30 / 25.4 * 72;
  int tao = 0;
  for (const test::PdfWord& word : test::PdfWords(pdf)) {
    SCOPED_TRACE(word.text.toStdString());
    EXPECT_GE(word.xMin, margin - 1);
    EXPECT_LE(word.xMax, size->first - margin + 1);
    EXPECT_GE(word.yMin, margin - 1);
    // Only the uncommon characters carry their readings.
    EXPECT_NE(word.text, Q("wǒ"));
    EXPECT_NE(word.text, Q("běi"));
    if (word.text == Q("tāo")) ++tao;
  }
  EXPECT_EQ(tao, 12);
}

}  // namespace
}  // namespace tolvane
