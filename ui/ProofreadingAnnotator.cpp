#include "ui/ProofreadingAnnotator.h"

#include <QMetaObject>
#include <exception>

#include "documents/ProofreadingHandout.h"
#include "reading/LineReadings.h"
#include "reading/ReadingConfidence.h"

namespace tolvane {
namespace {

// Lines annotated before the finished ones are handed over, so a long text shows as it goes.
constexpr std::size_t kBatchLines = 64;

std::shared_ptr<const ViewLine> Annotate(LineReadings& readings, const LineToAnnotate& line,
                                         const ConversionSettings& settings,
                                         std::vector<CharacterConfidence>& confidence) {
  auto out = std::make_shared<ViewLine>();
  out->units = CorrectedRubyLine(readings, line.text, line.chosen, settings);
  out->marks.assign(out->units.size(), ViewLine::kPlain);
  // Polyphones the context left to chance are marked, where reading by context reads.
  confidence.clear();
  if (settings.polyphone == PolyphonePolicy::ByContext)
    ConfidenceOfLine(readings, line.text, settings, confidence);
  std::size_t at = 0;
  for (std::size_t u = 0; u < out->units.size(); ++u) {
    const std::string& text = out->units[u].text;
    for (std::size_t b = 0; b < text.size(); ++b) {
      if ((static_cast<unsigned char>(text[b]) & 0xC0) == 0x80) continue;
      if (at < line.chosen.size() && !line.chosen[at].empty()) {
        out->marks[u] = ViewLine::kChosen;
      } else if (at < confidence.size() && confidence[at].unsettled() &&
                 out->marks[u] != ViewLine::kChosen) {
        out->marks[u] = ViewLine::kUnsettled;
      }
      ++at;
    }
  }
  return out;
}

}  // namespace

ProofreadingAnnotator::ProofreadingAnnotator(QObject* context, Deliver deliver)
    : context_(context), deliver_(std::move(deliver)), thread_([this] { Run(); }) {}

ProofreadingAnnotator::~ProofreadingAnnotator() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    next_.reset();
  }
  wake_.notify_all();
  thread_.join();
}

void ProofreadingAnnotator::Request(std::uint64_t request, std::shared_ptr<const ReadingData> data,
                                    const ConversionSettings& settings,
                                    std::vector<LineToAnnotate> lines) {
  {
    std::lock_guard lock(mutex_);
    next_ = Job{request, std::move(data), settings, std::move(lines)};
  }
  wake_.notify_all();
}

void ProofreadingAnnotator::Post(AnnotatedBatch batch) {
  QObject* context = context_.data();
  if (!context) return;
  QMetaObject::invokeMethod(
      context,
      [deliver = deliver_, batch = std::move(batch)]() mutable { deliver(std::move(batch)); },
      Qt::QueuedConnection);
}

void ProofreadingAnnotator::Run() {
  std::unique_ptr<LineReadings> readings;
  std::vector<CharacterConfidence> confidence;
  for (;;) {
    Job job;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [&] { return stopping_ || next_.has_value(); });
      if (stopping_) return;
      job = std::move(*next_);
      next_.reset();
    }
    if (!readings || &readings->Data() != job.data.get())
      readings = std::make_unique<LineReadings>(job.data);
    AnnotatedBatch batch{job.request, {}, {}};
    try {
      for (const LineToAnnotate& line : job.lines) {
        batch.lines.emplace_back(line.key, Annotate(*readings, line, job.settings, confidence));
        if (batch.lines.size() < kBatchLines) continue;
        Post(std::move(batch));
        batch = AnnotatedBatch{job.request, {}, {}};
        std::lock_guard lock(mutex_);
        if (stopping_ || next_) break;  // a newer request: the rest is stale
      }
    } catch (const std::exception& error) {
      batch.error = error.what();
    }
    Post(std::move(batch));
  }
}

}  // namespace tolvane
