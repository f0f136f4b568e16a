#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "engine/RunObserver.h"

namespace tolvane {

// The range of a run's progress, which a source read in pieces does not know beforehand: the
// first chunk's lines, scaled to the size of the source where it is known, then corrected as the
// lines written run past it and, at the end, to the lines written.
class ProgressEstimate {
 public:
  explicit ProgressEstimate(RunObserver& observer) : observer_(observer) {}

  // The first chunk came back with `lines` lines, when `bytesRead` bytes of the source had been
  // read and `moreToRead` says whether the source holds more. Starts the observer's progress.
  void Start(std::size_t lines, std::uint64_t bytesRead, std::optional<std::uint64_t> sourceSize,
             bool moreToRead);
  bool Started() const { return range_.has_value(); }

  // One step per line; a count past the range doubles the range.
  void LinesWritten(std::size_t lines);

  // The run wrote all it had: the range becomes the number of lines written (a run that had no
  // chunk at all starts its progress at none).
  void Finish();

  std::size_t Written() const { return written_; }

 private:
  RunObserver& observer_;
  std::optional<std::size_t> range_;
  std::size_t written_ = 0;
};

}  // namespace tolvane
