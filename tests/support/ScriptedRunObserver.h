#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "engine/RunObserver.h"

namespace tolvane::test {

// Records everything a run reports: "show" when its progress starts, "end" when it ends (with
// the error of a failed run in `errors`); steps, the range and undecodable bytes apart.
class ScriptedObserver : public RunObserver {
 public:
  std::vector<std::string> events;
  std::vector<std::string> errors;
  std::size_t lineCount = 0;
  std::size_t steps = 0;
  // The range corrected during or at the end of a run: lineCount is the last range given.
  std::size_t rangeCorrections = 0;
  std::vector<std::pair<TextEncoding, std::size_t>> undecodable;
  std::vector<UndecodableOutput> undecodableOutputs;  // what the target holds in their place
  std::vector<RunOutcome> outcomes;

  void ProgressStarted(std::size_t count) override {
    lineCount = count;
    events.push_back("show");
  }
  void ProgressStepped() override { ++steps; }
  void ProgressRangeCorrected(std::size_t count) override {
    lineCount = count;
    ++rangeCorrections;
  }
  void UndecodableBytes(const std::filesystem::path&, const TextEncoding& encoding,
                        std::size_t offset, UndecodableOutput output) override {
    undecodable.push_back({encoding, offset});
    undecodableOutputs.push_back(output);
    events.push_back("undecodable");
  }
  void RunEnded(const RunOutcome& outcome) override {
    outcomes.push_back(outcome);
    if (outcome.error) errors.push_back(outcome.error->what());
    events.push_back("end");
  }
};

}  // namespace tolvane::test
