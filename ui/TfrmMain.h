#pragma once

#include <QMainWindow>
#include <QString>
#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "documents/DocumentFormat.h"
#include "documents/Handout.h"
#include "documents/PageDesign.h"
#include "engine/RunObserver.h"
#include "platform/FileLocations.h"
#include "reading/Session.h"
#include "settings/ConversionSettings.h"
#include "ui/DocumentExportJob.h"
#include "ui/LanguageFile.h"
#include "ui/SettingsFile.h"

class QCloseEvent;
class QRadioButton;

namespace Ui {
class TfrmMain;
}

namespace tolvane {

class Dialogs;
class TfrmHan;
class TfrmNote;
class TfrmWeiHan;

// The main window: the option controls that make up the ConversionSettings (the options of
// reading by context as checkable actions of the 词语读音 menu, which leaves the designed form as
// it is), the one-line preview, the batch conversion of a file, and the menus. Creating it runs the
// start-up sequence; closing it releases the data files and saves the options.
// Pinyin written by words (按词连写 in the 词语读音 menu) takes its readings from reading by
// context: checking it chooses that policy, and choosing another policy unchecks it, so the two
// never disagree.
class TfrmMain : public QMainWindow, private RunObserver {
  Q_OBJECT

 public:
  // `locations` says where the data files, config1.dll, config.db and temp.txt are (the program
  // passes LocateFiles(ProgramFolder())); a folder stands for a portable copy's program folder,
  // holding them all (tests pass one of their own). `dialogs` outlives the window.
  TfrmMain(FileLocations locations, Dialogs& dialogs, QWidget* parent = nullptr);
  TfrmMain(const std::filesystem::path& programFolder, Dialogs& dialogs, QWidget* parent = nullptr)
      : TfrmMain(FileLocations::Portable(programFolder), dialogs, parent) {}
  ~TfrmMain() override;

  // The program entry's last step before the event loop: the usage notes, then the Wade-Giles
  // editor, then the standard editor, each created hidden and owned by this window. The editors
  // fill their lists from the data files that start-up has loaded.
  void CreateHiddenWindows();

  const QString& VersionText() const { return versionText_; }
  // The loaded data: start-up loads it, the editors reload it, closing releases it.
  Session& ReadingSession() { return session_; }
  const Session& ReadingSession() const { return session_; }
  int LanguageFlag() const { return languageFlag_; }
  // The document being written (print, PDF export, a target named as a document), if any.
  DocumentExportJob& DocumentJob() { return documentJob_; }

  // The window's outer size: its frame where the platform draws one, else the widget itself.
  QSize OuterSize() const;

  // The option controls as the engine reads them, at this moment.
  ConversionSettings CurrentSettings() const;
  // Everything config1.dll saves, read from the controls.
  WindowSettings SettingsFromControls() const;

  void interfacelanguage(int language);
  void ConfigLoad();
  void ConfigSave();
  void final_config();
  void ShowExample();

  // The confirm hooks of the two file dialogs.
  void OpenDialog1CanClose(const QString& fileName);
  void SaveDialog1CanClose(const QString& fileName);

  // Event handlers, connected in the constructor.
  void btn_pinyinClick();
  void edt_inputChange();
  void btnopenClick();
  void btnOkClick();
  void N2Click();
  void N3Click();
  void N5Click();
  void N_printClick();
  void N_pdfClick();
  void N_pagedesignClick();
  // Opens a proofreading window with the current reading options.
  void N_proofreadClick();
  void n_showoptionsClick();
  void N_hideoptionsClick();
  void N_orthographyToggled(bool checked);
  void rb_duoyinzi_contextToggled(bool checked);
  void N_standardClick();
  void N_weiClick();
  void N7Click();
  void N8Click();
  void N10Click();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void FormCreate();
  void FormClose();
  void ConnectHandlers();
  void AddMenuSeparators();
  void DrawLayoutPictures();
  void ApplySettings(const WindowSettings& settings);
  // The show-options and hide-options actions.
  void ShowOptions(bool shown);
  void SetOuterHeight(int height);
  void SetOuterWidth(int width);
  bool OptionsShown() const;
  void OpenDialog1Execute();
  // The source in the box, when there is such a file; else nothing, after the missing-source
  // question.
  std::optional<std::filesystem::path> SourceOfHandout();
  // Runs `work` (which reads only copies) on a thread of its own while the window shows it is
  // busy and refuses another document; `done` follows on this thread, or the error box shows
  // why the work failed. False when a document is still being written.
  bool StartDocument(DocumentExportJob::Work work, std::function<void()> done);
  // True, after saying so, while a document is being written.
  bool RefuseSecondDocument();
  // The bar running without an end and the document commands off, or all as before.
  void ShowDocumentBusy(bool busy);
  // The page design saved beside config1.dll: a missing file leaves the defaults; a file that
  // cannot be read or holds a bad line is shown in the error box and the defaults stay.
  void LoadPageDesign();
  // The label beside edtChfile: the encoding the chosen source will be read in.
  void ShowSourceEncoding();
  void ShowError(const QString& text);
  // Runs a handler; an error it raises stops it and is shown in the error box.
  template <typename Handler>
  void Guarded(Handler&& handler);

  // The radio groups with the value each button selects.
  template <typename T>
  struct Choice {
    QRadioButton* button;
    T value;
  };
  std::array<Choice<ToneStyle>, 3> ToneChoices() const;
  std::array<Choice<OutputFormat>, 5> OutputChoices() const;
  std::array<Choice<int>, 7> WrapChoices() const;

  // RunObserver: the run's progress in the bar, which shows while the run goes, with the window
  // grown to hold it.
  void ProgressStarted(std::size_t lineCount) override;
  void ProgressStepped() override;
  void ProgressRangeCorrected(std::size_t lineCount) override;
  // Noted for the end of the run, which says so before the completion question.
  void NulCharacters(const std::filesystem::path& source, std::uint64_t offset) override;
  // The bar to its maximum.
  void FillProgress();
  // Hide the bar and give the window back its height.
  void HideProgress();
  // What the window does once a run has ended: the questions, opening the target, the error box.
  void EndRun(const RunOutcome& outcome, const std::filesystem::path& target);
  // The run of a target named as a document: the handout in the page design, or the subtitles
  // annotated cue by cue.
  void WriteDocument(DocumentFormat format, const ConversionSettings& settings);
  // "没找到源文件,选择文件？": Yes shows the open dialog.
  void AskForAnotherSource();
  // "执行完成，是否打开文件" and the file: Yes opens it with the program the system associates
  // with it.
  void OfferToOpen(const std::filesystem::path& file);

  std::unique_ptr<Ui::TfrmMain> ui;
  Session session_;
  FileLocations locations_;
  Dialogs& dialogs_;
  QString versionText_;
  int languageFlag_ = kChinese;
  QString sourcePath_;
  QString targetPath_;
  // The run going on found NUL characters in its source.
  bool runFoundNul_ = false;
  // The save dialog keeps the name last confirmed in it; a cancel shows that name again.
  QString saveDialogFileName_;
  // How handouts are printed and exported.
  PageDesign pageDesign_;
  // Created by CreateHiddenWindows; children of this window, which closes them with it.
  TfrmNote* frmNote_ = nullptr;
  TfrmWeiHan* frmWeiHan_ = nullptr;
  TfrmHan* frmHan_ = nullptr;
  // Last, so that it is destroyed first: it waits for a document still being written.
  DocumentExportJob documentJob_;
};

}  // namespace tolvane
