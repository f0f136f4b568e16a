#pragma once

#include <QDialog>
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
  // `language` is the main window's flag (kEnglish or kChinese) for the captions.
  TfrmPageDesign(QWidget* parent, int language);
  ~TfrmPageDesign() override;

  void SetDesign(const PageDesign& design);
  PageDesign Design() const;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void ApplyLanguage();
  void FillChoices();
  void ConnectControls();
  // The colour buttons show the scheme's colours; only the custom scheme lets them be changed.
  void ShowToneColours();
  void ChooseToneColour(std::size_t index);
  void UpdatePreview();
  QString Caption(const char* chineseUtf8, const char* english) const;

  std::unique_ptr<Ui::TfrmPageDesign> ui;
  int language_;
  std::array<std::string, 5> customColours_;
  // While SetDesign fills the controls, their changes draw no preview.
  bool filling_ = false;
};

}  // namespace tolvane
