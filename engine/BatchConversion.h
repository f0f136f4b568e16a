#pragma once

#include <cstddef>
#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>

#include "platform/EncodingDetection.h"
#include "platform/Error.h"
#include "platform/TextEncoding.h"
#include "platform/TextFile.h"
#include "settings/ConversionSettings.h"

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
  // Part of the source does not decode in the encoding it is read in; those bytes go into the
  // target as they are. `offset` is the byte offset of the first such sequence. Said once, as soon
  // as it is found.
  // The number of lines turned out to differ from what ShowProgress was told (a source read in
  // pieces is counted as it goes): the bar's range becomes 0 to lineCount - 1.
  virtual void SetProgressRange(std::size_t lineCount) { (void)lineCount; }
  virtual void NoteUndecodableBytes(const std::filesystem::path& source,
                                    const TextEncoding& encoding, std::size_t offset) {
    (void)source, (void)encoding, (void)offset;
  }
};

// The text of a question, in UTF-8 for the dialog.
std::string QuestionTextUtf8(BatchHost::Question question, const std::filesystem::path& target);

struct BatchRequest {
  std::filesystem::path source;
  std::filesystem::path target;
  ConversionSettings settings;
  std::filesystem::path programFolder;  // where temp.txt is written when lines are re-cut
  EncodingChoice sourceEncoding = EncodingChoice::Auto;
  OutputEncodingChoice targetEncoding = OutputEncodingChoice::Same;
  // Standard input and output: the source's bytes, read beforehand, instead of the source file,
  // and a stream instead of the target file. `source` and `target` then only name them.
  const std::string* sourceBytes = nullptr;
  std::istream* sourceStream = nullptr;
  std::ostream* targetStream = nullptr;
  // Threads that annotate: 0 for one per core, 1 for the calling thread alone.
  unsigned jobs = 0;
  // Bytes of source per chunk of the run (0: the usual); tests make them small.
  std::size_t chunkBytes = 0;
};

enum class BatchOutcome { Completed, SourceMissing, Failed };

// Converts the source file into the target file, line by line. Errors are not thrown: they go to
// host.ReportError after the run has closed what it opened, and the outcome says Failed.
BatchOutcome BatchConversion(const BatchRequest& request, BatchHost& host);

}  // namespace tolvane
