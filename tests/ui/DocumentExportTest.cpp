// Documents are written off the window's thread: while a book is written the window goes on
// taking keys, the document is the one the writer gives when called directly, a failure reaches
// the error box naming the file, a second export waits its turn, and closing the window while a
// document is written leaves the file whole.
#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <memory>
#include <string>

#include "WindowTestSupport.h"
#include "documents/ZipArchive.h"
#include "reading/LineReadings.h"
#include "reading/Session.h"
#include "ui/DocumentExportJob.h"
#include "ui/HandoutExport.h"
#include "ui/LanguageFile.h"
#include "ui/QtText.h"
#include "ui/TfrmMain.h"
#include "ui/TfrmProofread.h"

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

// Generous: the machine may be busy with other builds; nothing here measures time.
constexpr int kExportTimeoutMs = 600000;

// A text long enough that writing it takes a good while: `lines` lines of a poem and prose.
std::string LongText(int lines) {
  std::string text;
  for (int i = 0; i < lines; ++i)
    text += "床前明月光，疑是地上霜。举头望明月，低头思故乡。他去银行取钱，行人很多。\n";
  return text;
}

std::size_t PdfPages(const std::string& bytes) {
  std::size_t pages = 0;
  for (std::size_t at = bytes.find("/Type /Page\n"); at != std::string::npos;
       at = bytes.find("/Type /Page\n", at + 1))
    ++pages;
  return pages;
}

// Waits for the job's report, through the event loop.
bool WaitForReport(DocumentExportJob& job) {
  if (!job.Running()) return true;
  QSignalSpy finished(&job, &DocumentExportJob::finished);
  return finished.wait(kExportTimeoutMs);
}

class ProofreadExport : public testing::Test {
 protected:
  void SetUp() override {
    StartSession(session, folder.path());
    ConversionSettings settings;
    settings.polyphone = PolyphonePolicy::ByContext;
    window = std::make_unique<TfrmProofread>(session, dialogs, settings, kEnglish);
    window->show();
  }
  QPlainTextEdit& Editor() { return Child<QPlainTextEdit>(*window, "edt_text"); }

  TestProgramFolder folder;
  Session session;
  ScriptedDialogs dialogs;
  std::unique_ptr<TfrmProofread> window;
  TempDir documents;
};

TEST_F(ProofreadExport, TheWindowTakesKeysWhileTheHandoutIsWrittenAndTheFileIsTheWritersOwn) {
  Editor().setPlainText(Q(LongText(1500)));
  // The view annotated first, so that the window's thread has nothing of its own to do.
  for (int i = 0; i < 2400 && !window->ViewIsCurrent(); ++i) QTest::qWait(25);
  ASSERT_TRUE(window->ViewIsCurrent());
  // What the worker is to write: the handout of the text as it is when the export starts.
  const Handout expected = window->CurrentHandout(PageDesign{});
  const auto target = documents / "book.docx";
  ASSERT_TRUE(window->ExportHandout(target));
  EXPECT_FALSE(Child<QAction>(*window, "act_export").isEnabled());

  // From the event loop, while the worker writes: a key typed into the text, counted when the
  // worker was still writing after the editor had taken it.
  bool typedWhileWriting = false;
  QTimer typist;
  QObject::connect(&typist, &QTimer::timeout, [&] {
    if (typedWhileWriting) return;
    QTest::keyClick(&Editor(), Qt::Key_X);
    typedWhileWriting = Editor().toPlainText().contains(QLatin1Char('x')) &&
                        !window->Export().Future().isFinished();
  });
  typist.start(0);
  QSignalSpy ended(window.get(), &TfrmProofread::exportFinished);
  ASSERT_TRUE(ended.wait(kExportTimeoutMs));
  typist.stop();
  EXPECT_TRUE(typedWhileWriting);
  EXPECT_EQ(ended.at(0).at(0).toBool(), true);
  EXPECT_TRUE(dialogs.errorTexts.empty());
  EXPECT_TRUE(Child<QAction>(*window, "act_export").isEnabled());

  // The same document as the writer gives called directly (the archive's entries; the zip's
  // own timestamps are the clock's).
  const auto direct = documents / "direct.docx";
  WriteHandout(expected, PageDesign{}, direct);
  const std::vector<std::string> names = ZipEntryNames(direct);
  ASSERT_EQ(ZipEntryNames(target), names);
  for (const std::string& name : names)
    EXPECT_EQ(ReadZipEntry(target, name), ReadZipEntry(direct, name)) << name;
}

TEST_F(ProofreadExport, AFailureNamesTheFileInTheErrorBoxInEveryFormat) {
  Editor().setPlainText(QStringLiteral("他去银行。"));
  for (const char* name : {"a.pdf", "a.docx", "a.odt", "a.epub", "a.html"}) {
    SCOPED_TRACE(name);
    dialogs.errorTexts.clear();
    const auto target = documents / "no-folder" / "deeper" / name;
    ASSERT_TRUE(window->ExportHandout(target));
    ASSERT_TRUE(WaitForReport(window->Export()));
    ASSERT_EQ(dialogs.errorTexts.size(), 1u);
    EXPECT_TRUE(dialogs.errorTexts[0].contains(QStringFromPath(target)))
        << dialogs.errorTexts[0].toStdString();
    EXPECT_FALSE(std::filesystem::exists(target));
  }
}

TEST_F(ProofreadExport, ASecondExportWhileOneIsWrittenIsRefused) {
  Editor().setPlainText(Q(LongText(800)));
  const auto first = documents / "first.odt";
  const auto second = documents / "second.odt";
  ASSERT_TRUE(window->ExportHandout(first));
  EXPECT_FALSE(window->ExportHandout(second));
  EXPECT_EQ(dialogs.messageTexts.size(), 1u);
  ASSERT_TRUE(WaitForReport(window->Export()));
  EXPECT_TRUE(dialogs.errorTexts.empty());
  EXPECT_FALSE(std::filesystem::exists(second));
  EXPECT_NE(ReadZipEntry(first, "content.xml").find("银"), std::string::npos);
  // Once the first is written, the next one goes.
  ASSERT_TRUE(window->ExportHandout(second));
  ASSERT_TRUE(WaitForReport(window->Export()));
  EXPECT_EQ(ReadZipEntry(second, "content.xml"), ReadZipEntry(first, "content.xml"));
}

TEST_F(ProofreadExport, ClosingOrDestroyingTheWindowWhileItWritesLeavesTheFileWhole) {
  Editor().setPlainText(Q(LongText(800)));
  const Handout expected = window->CurrentHandout(PageDesign{});
  const auto direct = documents / "direct.html";
  WriteHandout(expected, PageDesign{}, direct);

  const auto closed = documents / "closed.html";
  ASSERT_TRUE(window->ExportHandout(closed));
  window->close();  // waits, and reports as the end of the export would
  EXPECT_FALSE(window->Export().Running());
  EXPECT_EQ(ReadBytes(closed), ReadBytes(direct));

  const auto destroyed = documents / "destroyed.html";
  ASSERT_TRUE(window->ExportHandout(destroyed));
  window.reset();  // no close: the window goes with its parent, say
  EXPECT_EQ(ReadBytes(destroyed), ReadBytes(direct));
  EXPECT_TRUE(dialogs.errorTexts.empty());
}

class MainWindowExport : public testing::Test {
 protected:
  MainWindowExport() {
    std::string text;
    for (int i = 0; i < 600; ++i)
      text += Gb("床前明月光，疑是地上霜。举头望明月，低头思故乡。") + "\r\n";
    WriteBytes(source, text);
    dialogs.openAnswers.push_back(QStringFromPath(source));
    Child<QPushButton>(window, "btnopen").click();
  }

  // The handout the window's export reads from the source, written directly.
  Handout SourceHandout() {
    LineReadings readings(window.ReadingSession().Data());
    return ReadHandout(readings, source, window.CurrentSettings(), PageDesign{});
  }

  TestProgramFolder folder;
  ScriptedDialogs dialogs;
  TfrmMain window{folder.path(), dialogs};
  TempDir documents;
  const std::filesystem::path source = documents / "book.txt";
};

TEST_F(MainWindowExport, ThePdfIsWrittenWhileTheEventLoopRunsWithThePagesOfTheWriter) {
  const auto pdf = documents / "book.pdf";
  dialogs.saveAnswers.push_back(QStringFromPath(pdf));
  dialogs.confirmAnswers.push_back(false);
  int ticks = 0;
  QTimer ticker;
  QObject::connect(&ticker, &QTimer::timeout, [&] {
    if (window.DocumentJob().Running() && !window.DocumentJob().Future().isFinished()) ++ticks;
  });
  ticker.start(1);
  Child<QAction>(window, "N_pdf").trigger();
  ASSERT_TRUE(window.DocumentJob().Running());
  EXPECT_FALSE(Child<QAction>(window, "N_pdf").isEnabled());
  EXPECT_FALSE(Child<QAction>(window, "N_print").isEnabled());
  EXPECT_FALSE(Child<QPushButton>(window, "btnOk").isEnabled());
  ASSERT_TRUE(WaitForReport(window.DocumentJob()));
  EXPECT_GT(ticks, 0) << "the timer ticked while the PDF was written";
  EXPECT_TRUE(dialogs.errorTexts.empty());
  ASSERT_EQ(dialogs.confirmTexts.size(), 1u);  // the completion question, as before
  EXPECT_TRUE(dialogs.confirmTexts[0].endsWith(QStringFromPath(pdf)));
  EXPECT_TRUE(Child<QAction>(window, "N_pdf").isEnabled());
  EXPECT_TRUE(Child<QPushButton>(window, "btnOk").isEnabled());

  const std::string bytes = ReadBytes(pdf);
  EXPECT_EQ(bytes.substr(0, 5), "%PDF-");
  EXPECT_NE(bytes.rfind("%%EOF"), std::string::npos);
  const int expectedPages = WriteCountedPdf(SourceHandout(), PageDesign{}, documents / "d.pdf");
  EXPECT_GT(expectedPages, 1);
  EXPECT_EQ(PdfPages(bytes), static_cast<std::size_t>(expectedPages));
}

TEST_F(MainWindowExport, AnUnwritablePdfNamesTheFileAndAsksNothing) {
  const auto pdf = documents / "no-folder" / "book.pdf";
  dialogs.saveAnswers.push_back(QStringFromPath(pdf));
  Child<QAction>(window, "N_pdf").trigger();
  ASSERT_TRUE(WaitForReport(window.DocumentJob()));
  ASSERT_EQ(dialogs.errorTexts.size(), 1u);
  EXPECT_TRUE(dialogs.errorTexts[0].contains(QStringFromPath(pdf)))
      << dialogs.errorTexts[0].toStdString();
  EXPECT_TRUE(dialogs.confirmTexts.empty());
}

TEST_F(MainWindowExport, ClosingTheWindowWhileADocumentIsWrittenFinishesIt) {
  // The batch's OK button on a target named as a document.
  const auto epub = documents / "book.epub";
  Child<QLineEdit>(window, "edtEnfile").setText(QStringFromPath(epub));
  dialogs.confirmAnswers.push_back(false);
  Child<QPushButton>(window, "btnOk").click();
  ASSERT_TRUE(window.DocumentJob().Running());
  window.close();
  EXPECT_FALSE(window.DocumentJob().Running());
  EXPECT_EQ(dialogs.confirmTexts.size(), 1u) << "reported before the window went";
  EXPECT_TRUE(dialogs.errorTexts.empty());
  EXPECT_NE(ReadZipEntry(epub, "EPUB/text-0001.xhtml").find("霜"), std::string::npos);
}

}  // namespace
}  // namespace tolvane
