#pragma once

#include <QObject>
#include <QPointer>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "reading/ReadingData.h"
#include "settings/ConversionSettings.h"
#include "ui/AnnotatedTextView.h"

namespace tolvane {

// A line to annotate: its text (UTF-8) and the reader's chosen syllable for each of its code
// points ("" where none). `key` names the pair; the answer comes back under it.
struct LineToAnnotate {
  std::string key;
  std::string text;
  std::vector<std::string> chosen;
};

// Annotated lines, as they come back: each under the key it was asked with.
struct AnnotatedBatch {
  std::uint64_t request = 0;
  std::vector<std::pair<std::string, std::shared_ptr<const ViewLine>>> lines;
  std::string error;  // what stopped the request, if anything
};

// Annotates lines on a thread of its own, so that typing never waits for reading by context. It
// keeps its own LineReadings (a resolver belongs to one thread), made anew when the data's
// snapshot changes. Only the latest request is worked on: a newer one makes the worker give up
// the rest of the older (lines already done are still delivered: their keys say what they are).
// Batches are handed to `deliver` on the thread of `context`, as events of that object, and are
// dropped if it is gone.
class ProofreadingAnnotator {
 public:
  using Deliver = std::function<void(AnnotatedBatch)>;
  ProofreadingAnnotator(QObject* context, Deliver deliver);
  ~ProofreadingAnnotator();
  ProofreadingAnnotator(const ProofreadingAnnotator&) = delete;
  ProofreadingAnnotator& operator=(const ProofreadingAnnotator&) = delete;

  void Request(std::uint64_t request, std::shared_ptr<const ReadingData> data,
               const ConversionSettings& settings, std::vector<LineToAnnotate> lines);

 private:
  struct Job {
    std::uint64_t request;
    std::shared_ptr<const ReadingData> data;
    ConversionSettings settings;
    std::vector<LineToAnnotate> lines;
  };
  void Run();
  void Post(AnnotatedBatch batch);

  QPointer<QObject> context_;
  Deliver deliver_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::optional<Job> next_;
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace tolvane
