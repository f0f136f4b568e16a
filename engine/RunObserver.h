#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>

#include "platform/Error.h"
#include "platform/TextEncoding.h"

namespace tolvane {

// How a run ended.
enum class RunStatus { Completed, SourceMissing, Failed };

struct RunOutcome {
  RunStatus status = RunStatus::Completed;
  // Why a Failed run failed.
  std::optional<Error> error;
  // Whether the run got as far as opening its target (for a file, the scratch file that replaces
  // it) before it ended: a run that failed after that had progress to show. What it wrote of a
  // file target was thrown away: the file is as it was.
  bool targetOpened = false;
};

// What the target holds where the source has bytes that do not decode.
enum class UndecodableOutput {
  // The bytes themselves: the text layouts write the source's bytes as they come.
  Unchanged,
  // U+FFFD in their place: the HTML page is UTF-8 throughout, and raw bytes would break it.
  ReplacementCharacters,
};

// What a run tells whoever drives it, as it goes. A run only reports: it asks nothing, so the
// front ends decide what to ask or print. Every call comes on the thread that called the run.
class RunObserver {
 public:
  virtual ~RunObserver() = default;

  // The run is about to write about `lineCount` lines (an estimate where the source is read in
  // pieces); one step follows per line written.
  virtual void ProgressStarted(std::size_t lineCount) = 0;
  virtual void ProgressStepped() = 0;
  // The number of lines turned out to differ from the estimate: it is now `lineCount`. At the end
  // of a completed run, the number of lines written.
  virtual void ProgressRangeCorrected(std::size_t lineCount) = 0;
  // Part of the source does not decode in the encoding it is read in; `output` says what the
  // target holds in their place. `offset` is the byte offset of the first such sequence. Said
  // once, as soon as it is found.
  virtual void UndecodableBytes(const std::filesystem::path& source, const TextEncoding& encoding,
                                std::size_t offset, UndecodableOutput output) {
    (void)source, (void)encoding, (void)offset, (void)output;
  }
  // The source holds NUL characters; they go into the target as they are, like any character
  // without a reading. `offset` is the byte offset of the first. Said once, as soon as it is found.
  virtual void NulCharacters(const std::filesystem::path& source, std::uint64_t offset) {
    (void)source, (void)offset;
  }
  // The last call of every run, after it has closed what it opened; the run returns the same.
  virtual void RunEnded(const RunOutcome& outcome) { (void)outcome; }
};

}  // namespace tolvane
