#include "engine/ProgressEstimate.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tolvane {
namespace {

// Every call, in order: "show N", "step", "range N".
class Calls : public RunObserver {
 public:
  std::vector<std::string> calls;
  void ProgressStarted(std::size_t lineCount) override {
    calls.push_back("show " + std::to_string(lineCount));
  }
  void ProgressStepped() override { calls.push_back("step"); }
  void ProgressRangeCorrected(std::size_t lineCount) override {
    calls.push_back("range " + std::to_string(lineCount));
  }
};

using Strings = std::vector<std::string>;

TEST(ProgressEstimate, TheFirstChunksLinesAreScaledToTheSourcesSize) {
  const struct {
    const char* name;
    std::size_t lines;
    std::uint64_t bytesRead;
    std::optional<std::uint64_t> size;
    bool more;
    std::size_t range;
  } cases[] = {
      {"a tenth read", 10, 100, 1000, true, 100},
      {"rounded down", 3, 7, 10, true, 4},
      {"nothing more to read", 10, 100, 1000, false, 10},
      {"size unknown (a stream)", 10, 100, std::nullopt, true, 10},
      {"nothing read", 10, 0, 1000, true, 10},
      {"all of it read", 10, 1000, 1000, true, 10},
      {"a file that grew", 10, 1200, 1000, true, 10},
      {"no lines", 0, 100, 1000, true, 0},
  };
  for (const auto& c : cases) {
    Calls observer;
    ProgressEstimate progress(observer);
    EXPECT_FALSE(progress.Started());
    progress.Start(c.lines, c.bytesRead, c.size, c.more);
    EXPECT_TRUE(progress.Started());
    EXPECT_EQ(observer.calls, Strings{"show " + std::to_string(c.range)}) << c.name;
  }
}

TEST(ProgressEstimate, LinesPastTheRangeDoubleItAndTheEndSetsItToTheLinesWritten) {
  Calls observer;
  ProgressEstimate progress(observer);
  progress.Start(2, 10, std::nullopt, true);
  progress.LinesWritten(2);
  progress.LinesWritten(3);
  progress.Finish();
  EXPECT_EQ(observer.calls,
            (Strings{"show 2", "step", "step", "range 6", "step", "step", "step", "range 5"}));
  EXPECT_EQ(progress.Written(), 5u);
}

TEST(ProgressEstimate, AnExactEstimateIsNotCorrected) {
  Calls observer;
  ProgressEstimate progress(observer);
  progress.Start(3, 10, 10, false);
  progress.LinesWritten(3);
  progress.Finish();
  EXPECT_EQ(observer.calls, (Strings{"show 3", "step", "step", "step"}));
}

TEST(ProgressEstimate, AnOverestimateIsCorrectedAtTheEnd) {
  Calls observer;
  ProgressEstimate progress(observer);
  progress.Start(1, 1, 4, true);
  progress.LinesWritten(2);
  progress.Finish();
  EXPECT_EQ(observer.calls, (Strings{"show 4", "step", "step", "range 2"}));
}

TEST(ProgressEstimate, ARunWithoutChunksStartsAtNoneWhenItEnds) {
  Calls observer;
  ProgressEstimate progress(observer);
  progress.Finish();
  EXPECT_EQ(observer.calls, Strings{"show 0"});
}

}  // namespace
}  // namespace tolvane
