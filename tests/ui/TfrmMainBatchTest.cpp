// The batch group: the two file dialogs, a run through btnOk with its questions, the progress
// bar and the window heights. The run itself only reports; what is asked after it, and when, is
// the window's.
#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

#include "WindowTestSupport.h"
#include "documents/ZipArchive.h"
#include "engine/AnnotateLine.h"
#include "frontend/TargetNaming.h"
#include "reading/shared/DataFiles.h"
#include "ui/HandoutExport.h"
#include "ui/QtText.h"
#include "ui/TfrmMain.h"

namespace tolvane {
namespace {

using test::Child;
using test::Gb;
using test::Q;
using test::ReadBytes;
using test::ScriptedDialogs;
using test::TempDir;
using test::TestProgramFolder;
using test::WriteBytes;

class Batch : public ::testing::Test {
 protected:
  Batch() {
    WriteBytes(source, Gb("我爱\r\n北京\r\n"));
    // What the window looks like while the completion question is up.
    dialogs.whileAsking = [this](const QString&) {
      heightsWhileAsking.push_back(window.OuterSize().height());
      barShownWhileAsking.push_back(!Bar().isHidden());
      barFullWhileAsking.push_back(Bar().value() == Bar().maximum());
    };
    dialogs.whileOpeningUrl = [this](const QUrl&) {
      barShownWhileOpening.push_back(!Bar().isHidden());
    };
    dialogs.whileShowingError = [this](const QString&) {
      heightsWhileShowingError.push_back(window.OuterSize().height());
      barShownWhileShowingError.push_back(!Bar().isHidden());
      barFullWhileShowingError.push_back(Bar().value() == Bar().maximum());
    };
  }

  static QString Str(const std::filesystem::path& path) { return QStringFromPath(path); }
  QProgressBar& Bar() { return Child<QProgressBar>(window, "ProgressBar1"); }
  QString Text(const char* name) { return Child<QLineEdit>(window, name).text(); }
  // A document the command starts is waited for and reported before the test goes on (the
  // asynchronous side has tests of its own, in DocumentExportTest).
  void Click(const char* name) {
    Child<QPushButton>(window, name).click();
    window.DocumentJob().Finish();
  }
  void Trigger(const char* name) {
    Child<QAction>(window, name).trigger();
    window.DocumentJob().Finish();
  }
  void Select(const char* name) { Child<QRadioButton>(window, name).setChecked(true); }
  void ChooseSource(const std::filesystem::path& path) {
    dialogs.openAnswers.push_back(Str(path));
    Click("btnopen");
  }

  TestProgramFolder folder;
  TempDir documents;
  const std::filesystem::path source = documents / "a.txt";
  const std::filesystem::path target = documents / "a_拼音.txt";
  ScriptedDialogs dialogs;
  TfrmMain window{folder.path(), dialogs};
  std::vector<int> heightsWhileAsking;
  std::vector<bool> barShownWhileAsking;
  std::vector<bool> barFullWhileAsking;
  std::vector<bool> barShownWhileOpening;
  std::vector<int> heightsWhileShowingError;
  std::vector<bool> barShownWhileShowingError;
  std::vector<bool> barFullWhileShowingError;
};

using Calls = std::vector<std::string>;

TEST_F(Batch, OpenDialogSetsBothBoxes) {
  ChooseSource(source);
  EXPECT_EQ(Text("edtChfile"), Str(source));
  EXPECT_EQ(Text("edtEnfile"), Str(target));
  EXPECT_EQ(Text("edtEnfile"), Str(DeriveTargetPath(source)));
  ASSERT_EQ(dialogs.openFilters.size(), 1u);
  EXPECT_EQ(dialogs.openFilters[0], "Text file (*.txt);;All (*)");

  // A cancel changes nothing; the next dialog starts at the chosen file.
  dialogs.openAnswers.push_back(QString());
  Trigger("N2");
  EXPECT_EQ(Text("edtChfile"), Str(source));
  EXPECT_EQ(dialogs.openInitials.back(), Str(source));

  const auto other = documents / "b.text.txt";
  dialogs.openAnswers.push_back(Str(other));
  Trigger("N2");
  EXPECT_EQ(Text("edtChfile"), Str(other));
  EXPECT_EQ(Text("edtEnfile"), Str(documents / "b.text_拼音.txt"));
}

TEST_F(Batch, RunWithYesWritesTheTargetAndOpensIt) {
  Select("RadioButton_num");
  Select("rb_output_hanpy");
  ChooseSource(source);
  dialogs.confirmAnswers.push_back(true);
  Click("btnOk");

  EXPECT_EQ(ReadBytes(target), Gb("我(wo3)爱(ai4)\r\n北(bei3)京(jing1)\r\n"));
  ASSERT_EQ(dialogs.confirmTexts.size(), 1u);
  EXPECT_EQ(dialogs.confirmTexts[0], Q("执行完成，是否打开文件") + "\r\r" + Str(target));
  ASSERT_EQ(dialogs.openedUrls.size(), 1u);
  EXPECT_EQ(dialogs.openedUrls[0], QUrl::fromLocalFile(Str(target)));
  EXPECT_EQ(heightsWhileAsking, std::vector<int>{525});
  EXPECT_EQ(barShownWhileAsking, std::vector<bool>{true});
  // The bar is filled before the question, and hidden only after the target was opened.
  EXPECT_EQ(barFullWhileAsking, std::vector<bool>{true});
  EXPECT_EQ(barShownWhileOpening, std::vector<bool>{true});
  EXPECT_EQ(dialogs.calls, (Calls{"open dialog", "confirm", "open url"}));
  EXPECT_EQ(window.OuterSize(), QSize(532, 495));
  EXPECT_TRUE(Bar().isHidden());
  EXPECT_EQ(Bar().value(), Bar().maximum());
  EXPECT_EQ(Bar().maximum(), 1) << "range up to the index of the last line";
  EXPECT_TRUE(dialogs.errorTexts.empty());
}

TEST_F(Batch, AnEmptySourceRunsToTheUsualEnd) {
  WriteBytes(source, "");
  ChooseSource(source);
  dialogs.confirmAnswers.push_back(false);
  Click("btnOk");
  EXPECT_EQ(ReadBytes(target), "");
  EXPECT_EQ(dialogs.confirmTexts,
            std::vector<QString>{Q("执行完成，是否打开文件") + "\r\r" + Str(target)});
  EXPECT_EQ(barShownWhileAsking, std::vector<bool>{true});
  EXPECT_EQ(barFullWhileAsking, std::vector<bool>{true});
  EXPECT_EQ(Bar().maximum(), 0);
  EXPECT_TRUE(Bar().isHidden());
  EXPECT_TRUE(dialogs.openedUrls.empty());
  EXPECT_EQ(window.OuterSize(), QSize(532, 495));
}

TEST_F(Batch, TheChosenSourcesEncodingShowsBesideItAndTheRunKeepsIt) {
  QLabel& label = Child<QLabel>(window, "Label_encoding");
  ChooseSource(source);
  EXPECT_EQ(label.text(), "GB2312/GBK");

  const auto utf8 = documents / "u.txt";
  WriteBytes(utf8, "\xEF\xBB\xBF我國\r\n");
  ChooseSource(utf8);
  EXPECT_EQ(label.text(), "UTF-8 BOM");
  // The label sits over the right end of the source box, which keeps its designed geometry.
  QLineEdit& box = Child<QLineEdit>(window, "edtChfile");
  EXPECT_EQ(box.geometry(), QRect(95, 15, 330, 21));
  EXPECT_TRUE(box.geometry().contains(label.geometry()));
  EXPECT_GE(box.textMargins().right(), box.geometry().right() - label.geometry().left());

  Select("RadioButton_num");
  Select("rb_output_hanpy");
  dialogs.confirmAnswers.push_back(false);
  Click("btnOk");
  EXPECT_EQ(ReadBytes(documents / "u_拼音.txt"), "\xEF\xBB\xBF我(wo3)國\r\n");
  EXPECT_TRUE(dialogs.errorTexts.empty());

  ChooseSource(documents / "missing.txt");
  EXPECT_EQ(label.text(), "");
  EXPECT_EQ(box.textMargins().right(), 0);
}

TEST_F(Batch, ARunReadsByContextWhenAskedTo) {
  WriteBytes(source, Gb("银行\r\n行走\r\n"));
  Select("rb_duoyinzi_context");
  Select("RadioButton_num");
  Select("rb_output_hanpy");
  ChooseSource(source);
  dialogs.confirmAnswers.push_back(false);
  Click("btnOk");
  EXPECT_EQ(ReadBytes(target), Gb("银(yin2)行(hang2)\r\n行(xing2)走(zou3)\r\n"));
  EXPECT_TRUE(dialogs.errorTexts.empty());
}

TEST_F(Batch, ARunWritesPinyinByWordsWhenAskedTo) {
  WriteBytes(source, Gb("我爱北京。\r\n他说：“好。”\r\n"));
  Select("rb_output_py_only");
  Trigger("N_orthography");
  ChooseSource(source);
  dialogs.confirmAnswers.push_back(false);
  Click("btnOk");
  EXPECT_EQ(ReadBytes(target), Gb("Wǒ ài Běijīng.\r\nTā shuō: \"Hǎo.\"\r\n"));
  EXPECT_TRUE(dialogs.errorTexts.empty());
}

TEST_F(Batch, ATargetNamedHtmlGetsThePage) {
  Select("RadioButton_num");
  ChooseSource(source);
  const auto page = documents / "a.html";
  dialogs.saveAnswers.push_back(Str(page));
  Trigger("N3");
  dialogs.confirmAnswers.push_back(true);
  Click("btnOk");
  const std::string html = ReadBytes(page);
  // The short first line, with more after it, titles the page.
  EXPECT_NE(html.find("<title>我爱</title>"), std::string::npos);
  EXPECT_NE(html.find("<p><ruby>我<rt>wo3</rt></ruby><ruby>爱<rt>ai4</rt></ruby></p>"),
            std::string::npos);
  ASSERT_EQ(dialogs.openedUrls.size(), 1u);  // opened with the system's program: the browser
  EXPECT_EQ(dialogs.openedUrls[0], QUrl::fromLocalFile(Str(page)));
}

TEST_F(Batch, ATargetNamedAsADocumentGetsTheDocumentInThePageDesign) {
  Select("RadioButton_num");
  ChooseSource(source);
  const auto docx = documents / "a.docx";
  dialogs.saveAnswers.push_back(Str(docx));
  Trigger("N3");
  dialogs.confirmAnswers.push_back(false);
  Click("btnOk");
  const std::string xml = ReadZipEntry(docx, "word/document.xml");
  EXPECT_NE(xml.find("wo3"), std::string::npos) << "the window's tone style";
  EXPECT_NE(xml.find("<w:ruby>"), std::string::npos);
  EXPECT_TRUE(dialogs.errorTexts.empty());

  // Subtitles are annotated cue by cue, their timings kept.
  const auto film = documents / "film.srt";
  WriteBytes(film, "1\r\n00:00:01,000 --> 00:00:02,000\r\n" + std::string("我爱你") + "\r\n");
  ChooseSource(film);
  dialogs.saveAnswers.push_back(Str(documents / "film_拼音.srt"));
  Trigger("N3");
  dialogs.confirmAnswers.push_back(false);
  Click("btnOk");
  EXPECT_EQ(ReadBytes(documents / "film_拼音.srt"),
            "1\r\n00:00:01,000 --> 00:00:02,000\r\nwo3 ai4 ni3\r\n我爱你\r\n");
  EXPECT_TRUE(dialogs.errorTexts.empty());
}

TEST_F(Batch, PrintShowsAPreviewOfTheSourceLaidOutAsRuby) {
  dialogs.confirmAnswers.push_back(false);
  Trigger("N_print");  // no source yet: the question of the missing source
  EXPECT_EQ(dialogs.confirmTexts, std::vector<QString>{Q("没找到源文件,选择文件？")});
  EXPECT_EQ(dialogs.previews, 0);
  ChooseSource(source);
  Trigger("N_print");
  ASSERT_EQ(dialogs.previews, 1);
  const std::string pdf = ReadBytes(dialogs.printedPdf);
  EXPECT_EQ(pdf.substr(0, 5), "%PDF-");
  std::filesystem::remove(dialogs.printedPdf);
  EXPECT_TRUE(dialogs.errorTexts.empty());
}

TEST_F(Batch, ExportPdfWritesTheChosenFileWithItsFontsEmbedded) {
  std::string text;
  for (int i = 0; i < 200; ++i) text += Gb("我爱北京天安门，天安门上红旗飘") + "\r\n";
  WriteBytes(source, text);
  ChooseSource(source);
  const auto pdf = documents / "book.pdf";
  dialogs.saveAnswers.push_back(Str(pdf));
  dialogs.confirmAnswers.push_back(false);
  Trigger("N_pdf");
  ASSERT_EQ(dialogs.saveFilters.back(), HandoutFilter());
  EXPECT_EQ(dialogs.saveInitials.back(), Str(documents / "a_拼音.pdf"));
  const std::string bytes = ReadBytes(pdf);
  EXPECT_EQ(bytes.substr(0, 5), "%PDF-");
  EXPECT_NE(bytes.find("/FontFile"), std::string::npos) << "fonts embedded";
  std::size_t pages = 0;
  for (std::size_t at = bytes.find("/Type /Page\n"); at != std::string::npos;
       at = bytes.find("/Type /Page\n", at + 1))
    ++pages;
  EXPECT_GT(pages, 1u);  // 200 lines do not fit one A4 page
  ASSERT_EQ(dialogs.confirmTexts.size(), 1u);
  EXPECT_EQ(dialogs.confirmTexts[0], Q("执行完成，是否打开文件") + "\r\r" + Str(pdf));

  // A file that cannot be written: the error box names the reason, nothing is asked.
  dialogs.saveAnswers.push_back(Str(documents / "no-folder" / "x.pdf"));
  Trigger("N_pdf");
  EXPECT_EQ(dialogs.errorTexts.size(), 1u);
  EXPECT_EQ(dialogs.confirmTexts.size(), 1u);
}

TEST_F(Batch, ExportChoosesTheDocumentByTheNameChosen) {
  WriteBytes(source, Gb("我爱北京天安门") + "\r\n");
  ChooseSource(source);
  for (const char* name : {"book.docx", "book.odt", "book.epub"}) {
    SCOPED_TRACE(name);
    const auto target = documents / name;
    dialogs.saveAnswers.push_back(Str(target));
    dialogs.confirmAnswers.push_back(false);
    Trigger("N_pdf");
    EXPECT_EQ(ReadBytes(target).substr(0, 2), "PK") << "a zip container";
    EXPECT_NE(ReadZipEntry(target, std::string(name).ends_with(".docx")  ? "word/document.xml"
                                   : std::string(name).ends_with(".odt") ? "content.xml"
                                                                         : "EPUB/text-0001.xhtml")
                  .find("京"),
              std::string::npos);
  }
  EXPECT_TRUE(dialogs.errorTexts.empty());
}

TEST_F(Batch, RunWithNoLeavesTheTargetUnopened) {
  Child<QAction>(window, "N_hideoptions").trigger();
  ChooseSource(source);
  dialogs.confirmAnswers.push_back(false);
  Click("btnOk");

  // The designed options: tone marks, pinyin above the aligned characters.
  ConversionSettings settings;
  Separator separator = kStartSeparator;
  std::string expected;
  LineReadings readings(window.ReadingSession().Data());
  for (const char* line : {"我爱", "北京"}) {
    for (const std::string& out : AnnotateLine(readings, Gb(line), settings, separator)) {
      expected += out + "\r\n";
    }
  }
  EXPECT_EQ(ReadBytes(target), expected);
  EXPECT_EQ(ReadBytes(target).substr(0, Gb("wǒ ài\r\n").size()), Gb("wǒ ài\r\n"));
  EXPECT_TRUE(dialogs.openedUrls.empty());
  EXPECT_EQ(heightsWhileAsking, std::vector<int>{325});
  EXPECT_EQ(barFullWhileAsking, std::vector<bool>{true});
  EXPECT_EQ(dialogs.calls, (Calls{"open dialog", "confirm"}));  // answered No: nothing more
  EXPECT_EQ(window.OuterSize(), QSize(532, 295));
  EXPECT_TRUE(Bar().isHidden());
}

TEST_F(Batch, TheBoxesAreWhatCounts) {
  // The save dialog's name replaces the target, and re-cut lines go through temp.txt in the
  // program folder.
  ChooseSource(source);
  const auto chosen = documents / "out" / "chosen.txt";
  dialogs.saveAnswers.push_back(Str(chosen));
  Trigger("N3");
  EXPECT_EQ(Text("edtEnfile"), Str(chosen));
  Select("rb_output_py_only");
  Select("RadioButton_notone");
  Select("rb_huanghang10");
  WriteBytes(source, Gb("一二三四五六七八九十一二三四五六七八九十一二三四五\r\n"));
  dialogs.confirmAnswers.push_back(false);
  Click("btnOk");
  EXPECT_EQ(ReadBytes(chosen),
            "yi er san si wu liu qi ba jiu shi\r\n"
            "yi er san si wu liu qi ba jiu shi\r\n"
            "yi er san si wu\r\n");
  EXPECT_TRUE(std::filesystem::exists(folder / "temp.txt"));
  EXPECT_FALSE(std::filesystem::exists(target));
}

TEST_F(Batch, MissingSourceAsksAndYesOpensTheDialog) {
  const auto missing = documents / "gone" / "missing.txt";
  window.OpenDialog1CanClose(Str(missing));
  dialogs.confirmAnswers.push_back(true);
  dialogs.openAnswers.push_back(Str(source));
  Click("btnOk");
  ASSERT_EQ(dialogs.confirmTexts.size(), 1u);
  EXPECT_EQ(dialogs.confirmTexts[0], Q("没找到源文件,选择文件？"));
  EXPECT_EQ(dialogs.openFilters.size(), 1u);
  EXPECT_EQ(Text("edtChfile"), Str(source)) << "the dialog chose the source";
  EXPECT_FALSE(std::filesystem::exists(DeriveTargetPath(missing)));
  EXPECT_FALSE(std::filesystem::exists(missing.parent_path()))
      << "the target's folder is made only for a run that writes the target";
  EXPECT_TRUE(heightsWhileAsking == std::vector<int>{495});
  EXPECT_EQ(barShownWhileAsking, std::vector<bool>{false});
  EXPECT_TRUE(Bar().isHidden());
  EXPECT_EQ(dialogs.calls, (Calls{"confirm", "open dialog"}));

  // No: nothing more.
  window.OpenDialog1CanClose(Str(missing));
  dialogs.confirmAnswers.push_back(false);
  dialogs.calls.clear();
  Click("btnOk");
  EXPECT_EQ(dialogs.confirmTexts.size(), 2u);
  EXPECT_EQ(dialogs.confirmTexts[1], Q("没找到源文件,选择文件？"));
  EXPECT_EQ(dialogs.openFilters.size(), 1u);
  EXPECT_EQ(dialogs.calls, Calls{"confirm"});
  EXPECT_EQ(Text("edtChfile"), Str(missing));
  EXPECT_TRUE(dialogs.errorTexts.empty());
}

TEST_F(Batch, EmptyBoxesCountAsAMissingSource) {
  dialogs.confirmAnswers.push_back(false);
  Click("btnOk");
  EXPECT_EQ(dialogs.confirmTexts, std::vector<QString>{Q("没找到源文件,选择文件？")});
}

TEST_F(Batch, AFailedRunIsReportedInTheErrorBox) {
  ChooseSource(source);
  // Two folders that do not exist: the run makes one level only, so the target cannot be made.
  dialogs.saveAnswers.push_back(Str(documents / "x" / "y" / "out.txt"));
  Trigger("N3");
  Click("btnOk");
  ASSERT_EQ(dialogs.errorTexts.size(), 1u);
  EXPECT_EQ(dialogs.errorTexts[0], "File not found.");
  EXPECT_TRUE(dialogs.confirmTexts.empty());
  EXPECT_EQ(window.OuterSize(), QSize(532, 495));
  EXPECT_TRUE(Bar().isHidden());
  // The run never started: the error box alone, the bar as the open button left it.
  EXPECT_EQ(Bar().value(), 0);
  EXPECT_EQ(dialogs.calls, (Calls{"open dialog", "save dialog", "error"}));
}

TEST_F(Batch, AFailureMidwayFillsAndHidesTheBarThenShowsTheErrorBox) {
  struct Case {
    const char* name;
    std::function<void()> arrange;
    std::string error;
    bool derivedTarget;  // the target is the one named after the source, which did not exist
  };
  // The full disk first: the other case takes the tone glyphs away for good.
  const Case cases[] = {
      {"a full disk",
       [&] {
         dialogs.saveAnswers.push_back("/dev/full");
         Trigger("N3");
       },
       "Disk full.", false},
      {"no tone glyphs",
       [&] {
         // The Marked style fails at the first character that needs a mark: 中.
         std::filesystem::remove(folder / kToneVowelFile);
         window.ReadingSession().ReloadDataFiles();
         WriteBytes(source, Gb("们\r\n中\r\n"));
       },
       "List index out of bounds (4)", true},
  };
  for (const Case& c : cases) {
    if (std::string(c.name) == "a full disk" && !std::filesystem::exists("/dev/full")) continue;
    ChooseSource(source);
    c.arrange();
    dialogs.calls.clear();
    dialogs.errorTexts.clear();
    heightsWhileShowingError.clear();
    barShownWhileShowingError.clear();
    barFullWhileShowingError.clear();
    Click("btnOk");
    EXPECT_EQ(dialogs.errorTexts, std::vector<QString>{Q(c.error)}) << c.name;
    EXPECT_EQ(dialogs.calls, Calls{"error"}) << c.name << ": no completion question";
    EXPECT_EQ(heightsWhileShowingError, std::vector<int>{495}) << c.name;
    EXPECT_EQ(barShownWhileShowingError, std::vector<bool>{false}) << c.name;
    EXPECT_EQ(barFullWhileShowingError, std::vector<bool>{true}) << c.name;
    EXPECT_TRUE(dialogs.openedUrls.empty()) << c.name;
    if (c.derivedTarget) {
      // What the run wrote was dropped: there is no partial target to offer or open.
      EXPECT_FALSE(std::filesystem::exists(target)) << c.name;
    }
  }
}

TEST_F(Batch, OnlyTheOpenButtonResetsTheBar) {
  ChooseSource(source);
  dialogs.confirmAnswers.push_back(false);
  Click("btnOk");
  ASSERT_EQ(Bar().value(), 1);
  dialogs.openAnswers.push_back(QString());
  Trigger("N2");
  EXPECT_EQ(Bar().value(), 1);
  dialogs.openAnswers.push_back(QString());
  Click("btnopen");
  EXPECT_EQ(Bar().value(), 0) << "even after a cancel";
}

TEST_F(Batch, SaveDialogShowsItsNameAgainAfterACancel) {
  dialogs.saveAnswers.push_back(QString());
  Trigger("N3");
  EXPECT_EQ(Text("edtEnfile"), "") << "nothing confirmed yet";
  ASSERT_EQ(dialogs.saveFilters.size(), 1u);
  EXPECT_EQ(dialogs.saveFilters[0],
            "Text file (*.txt);;HTML (*.html);;Word (*.docx);;LibreOffice (*.odt);;EPUB (*.epub);;"
            "Subtitles (*.srt *.vtt);;All (*)");

  const QString saved = Str(documents / "saved.txt");
  dialogs.saveAnswers.push_back(saved);
  Trigger("N3");
  EXPECT_EQ(Text("edtEnfile"), saved);

  ChooseSource(source);
  EXPECT_EQ(Text("edtEnfile"), Str(target));
  dialogs.saveAnswers.push_back(QString());
  Trigger("N3");
  EXPECT_EQ(dialogs.saveInitials.back(), saved);
  EXPECT_EQ(Text("edtEnfile"), saved) << "the name confirmed earlier";
}

}  // namespace
}  // namespace tolvane
