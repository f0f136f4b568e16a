#pragma once

#include <QDialog>
#include <QString>
#include <array>
#include <memory>
#include <string>

#include "documents/PageDesign.h"

namespace Ui {
class TfrmPageDesign;
}

namespace tolvane {

// The page design, saved beside config1.dll in the user's settings folder.
inline constexpr const char* kPageDesignFileName = "page_design.txt";

// The page design window (File ▸ 页面设计…): paper, margins, fonts and sizes, spacing, title, page
// numbers, tone colours and which characters are annotated, with a preview of a few lines laid
// out as printing and PDF lay them out. It edits a copy; the caller takes Design() after OK.
class TfrmPageDesign : public QDialog {
  Q_OBJECT

 public:
  // `language` is the main window's flag (kEnglish or kChinese) for the captions, which come from
  // Qt's translation system (ui/translations) like the proofreading window's.
  TfrmPageDesign(QWidget* parent, int language);
  ~TfrmPageDesign() override;

  void SetDesign(const PageDesign& design);
  PageDesign Design() const;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  // A translator installed or removed anywhere sends LanguageChange, on which the button box
  // puts back its standard texts: its captions are given again once the children have had it.
  bool event(QEvent* event) override;

 private:
  // The captions of the combo boxes' items and the buttons, which the form does not hold.
  void ApplyLanguage();
  void FillChoices();
  void ConnectControls();
  // The colour buttons show the scheme's colours; only the custom scheme lets them be changed.
  void ShowToneColours();
  void ChooseToneColour(std::size_t index);
  void UpdatePreview();

  std::unique_ptr<Ui::TfrmPageDesign> ui;
  // The buttons' captions as the window was made, which LanguageChange would take away.
  QString okCaption_;
  QString cancelCaption_;
  std::array<std::string, 5> customColours_;
  // While SetDesign fills the controls, their changes draw no preview.
  bool filling_ = false;
};

}  // namespace tolvane
