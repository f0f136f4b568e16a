#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "engine/BatchConversion.h"

namespace tolvane::test {

// Answers questions from a script and records everything the run asks of its caller.
class ScriptedHost : public BatchHost {
 public:
  bool answer = false;
  std::vector<std::string> events;
  std::vector<std::string> questions;
  std::vector<std::string> errors;
  std::vector<std::filesystem::path> opened;
  std::size_t lineCount = 0;
  std::size_t steps = 0;

  void ShowProgress(std::size_t count) override {
    lineCount = count;
    events.push_back("show");
  }
  void StepProgress() override { ++steps; }
  // The range corrected during or at the end of a run: lineCount is the last range given.
  void SetProgressRange(std::size_t count) override {
    lineCount = count;
    ++rangeCorrections;
  }
  std::size_t rangeCorrections = 0;
  void FillProgress() override { events.push_back("fill"); }
  void HideProgress() override { events.push_back("hide"); }
  bool Ask(Question, const std::string& textUtf8) override {
    questions.push_back(textUtf8);
    events.push_back("ask");
    return answer;
  }
  void ChooseSourceFile() override { events.push_back("choose"); }
  void OpenWithSystem(const std::filesystem::path& target) override {
    opened.push_back(target);
    events.push_back("open");
  }
  void ReportError(const Error& error) override {
    errors.push_back(error.what());
    events.push_back("error");
  }
  void NoteUndecodableBytes(const std::filesystem::path&, const TextEncoding& encoding,
                            std::size_t offset) override {
    undecodable.push_back({encoding, offset});
  }
  std::vector<std::pair<TextEncoding, std::size_t>> undecodable;
};

}  // namespace tolvane::test
