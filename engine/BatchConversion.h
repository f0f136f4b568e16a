#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

#include "dictionary/ConversionSettings.h"
#include "platform/Error.h"

namespace tolvane {

// What a batch run needs from whoever drives it (the main window, the CLI, a test).
class BatchHost {
 public:
  enum class Question {
    SourceMissing,  // "没找到源文件,选择文件？"
    OpenCompleted,  // "执行完成，是否打开文件" CR CR target
  };

  virtual ~BatchHost() = default;

  // The run is about to write `lineCount` lines: show the bar (range 0 to lineCount - 1,
  // position 0, step 1) and grow the window.
  virtual void ShowProgress(std::size_t lineCount) = 0;
  virtual void StepProgress() = 0;
  // The bar to its maximum.
  virtual void FillProgress() = 0;
  // Hide the bar and give the window back its height.
  virtual void HideProgress() = 0;
  // A confirmation box; only Yes consents.
  virtual bool Ask(Question question, const std::string& textUtf8) = 0;
  // The open dialog, after the user agreed to choose another source.
  virtual void ChooseSourceFile() = 0;
  // Open the finished target with the program the system associates with it.
  virtual void OpenWithSystem(const std::filesystem::path& target) = 0;
  // The error box.
  virtual void ReportError(const Error& error) = 0;
};

// The text of a question, in UTF-8 for the dialog.
std::string QuestionTextUtf8(BatchHost::Question question, const std::filesystem::path& target);

struct BatchRequest {
  std::filesystem::path source;
  std::filesystem::path target;
  ConversionSettings settings;
  std::filesystem::path programFolder;  // where temp.txt is written when lines are re-cut
};

enum class BatchOutcome { Completed, SourceMissing, Failed };

// Converts the source file into the target file, line by line. Errors are not thrown: they go to
// host.ReportError after the run has closed what it opened, and the outcome says Failed.
BatchOutcome BatchConversion(const BatchRequest& request, BatchHost& host);

// The target path the open dialog derives from a chosen source: "_拼音" in front of the
// extension dot of the file name, or at the end of a file name without one.
std::filesystem::path DeriveTargetPath(const std::filesystem::path& source);

}  // namespace tolvane
