#include "engine/ProgressEstimate.h"

namespace tolvane {

void ProgressEstimate::Start(std::size_t lines, std::uint64_t bytesRead,
                             std::optional<std::uint64_t> sourceSize, bool moreToRead) {
  std::size_t estimate = lines;
  if (moreToRead && bytesRead > 0 && sourceSize && *sourceSize > bytesRead)
    estimate =
        static_cast<std::size_t>(static_cast<double>(estimate) * static_cast<double>(*sourceSize) /
                                 static_cast<double>(bytesRead));
  range_ = estimate;
  observer_.ProgressStarted(estimate);
}

void ProgressEstimate::LinesWritten(std::size_t lines) {
  for (std::size_t i = 0; i < lines; ++i) {
    if (++written_ > *range_) observer_.ProgressRangeCorrected(*range_ = 2 * written_);
    observer_.ProgressStepped();
  }
}

void ProgressEstimate::Finish() {
  if (!range_) {
    range_ = 0;
    observer_.ProgressStarted(0);
  }
  if (written_ != *range_) observer_.ProgressRangeCorrected(*range_ = written_);
}

}  // namespace tolvane
