#include "engine/BatchConversion.h"

#include <algorithm>
#include <memory>
#include <new>
#include <optional>
#include <stdexcept>
#include <thread>

#include "engine/ChunkAnnotation.h"
#include "engine/HtmlPage.h"
#include "engine/LineSpool.h"
#include "engine/OrderedPipeline.h"
#include "engine/ProgressEstimate.h"
#include "engine/RunTarget.h"
#include "engine/SourceReader.h"
#include "engine/WrapPass.h"

namespace tolvane {
namespace {

constexpr const char* kTempFileName = "temp.txt";

bool ReadsSourceFile(const BatchRequest& request) {
  return request.sourceBytes == nullptr && request.sourceStream == nullptr &&
         request.sourceByteSource == nullptr;
}

bool SourceIsMissing(const BatchRequest& request) {
  std::error_code ec;
  return ReadsSourceFile(request) &&
         (request.source.empty() || !std::filesystem::exists(request.source, ec));
}

bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
  std::error_code ec;
  return std::filesystem::equivalent(a, b, ec) && !ec;
}

// The name of the HTML page's source, which titles a page without a title of its own ("Tolvane"
// for standard input).
std::string SourceName(const BatchRequest& request) {
  if (request.source.empty() || request.source == "-") return "Tolvane";
  const auto name = request.source.filename().u8string();
  return std::string(name.begin(), name.end());
}

unsigned Jobs(const BatchRequest& request) {
  return request.jobs > 0 ? request.jobs : std::max(1u, std::thread::hardware_concurrency());
}

std::size_t ChunkBytes(const BatchRequest& request) {
  return request.chunkBytes > 0 ? request.chunkBytes : SourceReader::kChunkBytes;
}

std::unique_ptr<ByteSource> SourceBytes(const BatchRequest& request) {
  if (request.part)
    return std::make_unique<FileByteSource>(request.source, request.part->begin, request.part->end);
  if (request.sourceBytes != nullptr)
    return std::make_unique<MemoryByteSource>(*request.sourceBytes);
  if (request.sourceStream != nullptr)
    return std::make_unique<StreamByteSource>(*request.sourceStream, request.source);
  return std::make_unique<FileByteSource>(request.source);
}

// The source as a run reads it: its bytes, from wherever they come, in chunks of lines; with a
// wrap width, re-cut through a scratch file that becomes temp.txt first (WrappedSource). Opening it
// raises the file errors of either.
class RunSource {
 public:
  explicit RunSource(const BatchRequest& request)
      : ownBytes_(request.sourceByteSource != nullptr ? nullptr : SourceBytes(request)),
        source_(Reader(request.sourceByteSource != nullptr ? *request.sourceByteSource : *ownBytes_,
                       request)) {
    if (request.part && request.settings.wrapWidth > 0)
      throw std::invalid_argument("a part of a source is not re-cut");
    if (request.settings.wrapWidth > 0) {
      const WrapRule rule = WrapRuleFor(request.settings);
      // Written words are read by context over the whole source before any worker starts, with
      // readings of the pre-pass's own.
      LineReadings readings(request.data);
      wrapped_.emplace(source_, static_cast<std::size_t>(request.settings.wrapWidth), rule,
                       request.programFolder / kTempFileName, ChunkBytes(request),
                       rule == WrapRule::KeepWrittenWords
                           ? WrittenWordsFrom(readings, request.settings)
                           : WrittenWords());
    }
  }

  // The source's own reader: its encoding and the bytes of it that do not decode.
  SourceReader& source() { return source_; }
  // What the run annotates: the source's lines, or the re-cut ones.
  SourceReader& lines() { return wrapped_ ? wrapped_->reader() : source_; }
  // A UTF-16 source's odd last byte, once the run's lines have ended: the re-cut lines hold
  // whole characters only, so it comes from the source's reader, which the pre-pass read to the
  // end; without a pre-pass, from the last chunk.
  const std::string& TrailingBytes(const std::string& ofLastChunk) const {
    return wrapped_ ? source_.TrailingBytes() : ofLastChunk;
  }

 private:
  // The source's reader: a part in the whole file's encoding, else as detected or chosen.
  static SourceReader Reader(ByteSource& bytes, const BatchRequest& request) {
    if (request.part) return SourceReader(bytes, request.part->encoding, ChunkBytes(request));
    return SourceReader(bytes, request.sourceEncoding, ChunkBytes(request));
  }

  std::unique_ptr<ByteSource> ownBytes_;  // unless the front end lends its own
  SourceReader source_;
  std::optional<WrappedSource> wrapped_;
};

// Tells the observer, once each, of the first bytes of the source that do not decode and of its
// first NUL character.
class SourceNotices {
 public:
  SourceNotices(SourceReader& source, const BatchRequest& request, RunObserver& observer)
      : source_(source),
        name_(request.source),
        output_(request.settings.outputFormat == OutputFormat::html
                    ? UndecodableOutput::ReplacementCharacters
                    : UndecodableOutput::Unchanged),
        observer_(observer) {}

  // What the source's reader has found so far (on detection, in the wrap pre-pass).
  void Check() {
    const std::optional<std::size_t> first = source_.FirstUndecodable();
    if (!toldUndecodable_ && first) {
      observer_.UndecodableBytes(name_, source_.encoding().encoding, *first, output_);
      toldUndecodable_ = true;
    }
    if (!toldNul_ && source_.FirstNul()) {
      observer_.NulCharacters(name_, *source_.FirstNul());
      toldNul_ = true;
    }
  }
  // What a chunk found when it was read and decoded.
  void Found(const SourceReader::RawChunk& raw, const std::optional<std::size_t>& undecodable) {
    if (undecodable) source_.NoteUndecodable(*undecodable);
    if (!toldNul_ && raw.firstNul) {
      observer_.NulCharacters(name_, *raw.firstNul);
      toldNul_ = true;
    }
    Check();
  }

 private:
  SourceReader& source_;
  const std::filesystem::path& name_;
  const UndecodableOutput output_;
  RunObserver& observer_;
  bool toldUndecodable_ = false;
  bool toldNul_ = false;
};

// The body of a run: the head, the source's chunks annotated on every core and written in order
// as they come back, with the progress, and the tail.
class ChunkConversion {
 public:
  ChunkConversion(const BatchRequest& request, RunSource& source, RunTarget& target,
                  SourceNotices& notices, RunObserver& observer)
      : request_(request),
        settings_(request.settings),
        source_(source),
        reader_(source.lines()),
        target_(target),
        targetEncoding_(
            OutputEncodingFor(source.source().encoding().encoding, request.targetEncoding)),
        notices_(notices),
        progress_(observer),
        readings_(request.data),
        separatorReadings_(request.data) {}

  // Raises the first error: of reading, of a chunk, or of writing.
  void Run() {
    // The HTML page's head waits for the first chunk, whose first line may be its title.
    if (!html_ && head_)
      target_.Write(TargetHead(settings_, reader_.form(), targetEncoding_, request_.source));
    PrepareReadings(*request_.data, settings_);
    OrderedPipeline<Chunk>(Jobs(request_))
        .Run([this](Chunk& chunk) { return Produce(chunk); },
             [this](Chunk& chunk) {
               AnnotateChunk(chunk, reader_, settings_, targetEncoding_, readings_);
             },
             [this](Chunk& chunk) { return Consume(chunk); });
    if (html_) WriteHtmlHead();  // if the source ended before its title was settled
    if (failure_) throw *failure_;
    progress_.Finish();
    if (!tail_) return;
    if (html_) {
      target_.Write(HtmlPage::Tail(request_.htmlPage.colophon));
    } else {
      target_.Write(TargetTail(settings_, source_.TrailingBytes(trailingBytes_)));
    }
  }

 private:
  bool Produce(Chunk& chunk) {
    more_ = reader_.NextRaw(chunk.raw);
    if (!more_) return false;
    chunk.separator = separator_;
    chunk.position = position_;
    CarryOver(separatorReadings_, reader_, chunk.raw, settings_, separator_, position_);
    return true;
  }

  bool Consume(Chunk& chunk) {
    if (!progress_.Started()) {
      // Lines that end in the chunk: a piece of a line is no line yet.
      const std::size_t lines = chunk.text.lines.size() - (chunk.raw.endsMidLine ? 1 : 0);
      progress_.Start(lines, reader_.BytesConsumed(), reader_.SourceSize(), more_);
    }
    notices_.Found(chunk.raw, chunk.text.firstUndecodable);
    if (html_ && !headWritten_) {
      // The page's blocks wait for its head, and the head for the title: until the first line
      // is known to be a title or not, which a short first line settles within a chunk or two.
      SeeFirstLine(chunk);
      heldBlocks_ += chunk.output;
      if (title_.Settled()) WriteHtmlHead();
    } else {
      WriteOutput(chunk);
    }
    progress_.LinesWritten(chunk.linesDone);
    if (chunk.raw.last) trailingBytes_ = chunk.text.trailingBytes;
    if (chunk.error) failure_ = chunk.error;
    return !failure_;
  }

  // The chunk's lines as the page's title sees them, piece by piece as they are annotated.
  void SeeFirstLine(const Chunk& chunk) {
    const LineList& lines = chunk.text.lines;
    const bool beginsMidLine = chunk.raw.beginsMidLine;
    const std::size_t count = std::max<std::size_t>(lines.size(), beginsMidLine ? 1 : 0);
    for (std::size_t i = 0; i < count && !title_.Settled(); ++i)
      title_.Piece(i < lines.size() ? lines[i] : std::string_view(), !(beginsMidLine && i == 0),
                   !(chunk.raw.endsMidLine && i + 1 == count));
  }

  // The HTML page's head, once, and the blocks held back until it could be written.
  void WriteHtmlHead() {
    if (headWritten_) return;
    headWritten_ = true;
    const HtmlPageLook& look = request_.htmlPage;
    std::string title = look.title;
    if (title.empty() && look.titleFromFirstLine) title = title_.Title();
    if (title.empty()) title = SourceName(request_);
    target_.Write(HtmlPage::Head(title, look.style));
    target_.Write(heldBlocks_);
    heldBlocks_ = std::string();
  }

  // The chunk's bytes, with the second output line of a line read in pieces put in where it
  // belongs, and held back while that line goes on.
  void WriteOutput(const Chunk& chunk) {
    const std::string_view output = chunk.output;
    if (chunk.spoolAt) {
      target_.Write(output.substr(0, *chunk.spoolAt));
      spool_.Drain([this](std::string_view bytes) { target_.Write(bytes); });
      target_.Write(output.substr(*chunk.spoolAt));
    } else {
      target_.Write(output);
    }
    if (chunk.raw.endsMidLine && !chunk.error) spool_.Append(chunk.secondHalf);
  }

  const BatchRequest& request_;
  const ConversionSettings& settings_;
  RunSource& source_;
  SourceReader& reader_;
  RunTarget& target_;
  const TextEncoding targetEncoding_;
  SourceNotices& notices_;
  ProgressEstimate progress_;
  // The run's snapshot of the loaded data: lent to the workers, and read for the separators.
  LineReadingsPool readings_;
  LineReadings separatorReadings_;
  // A part of a source writes the head or tail only when it has them, and starts with the
  // separator the lines before it leave.
  const bool head_ = !request_.part || request_.part->head;
  const bool tail_ = !request_.part || request_.part->tail;
  Separator separator_ = request_.part ? request_.part->separator : kStartSeparator;
  LinePosition position_;
  LineSpool spool_;
  bool more_ = true;
  std::string trailingBytes_;
  std::optional<Error> failure_;
  // The HTML page: its head waits for the title, the first blocks for the head.
  const bool html_ = settings_.outputFormat == OutputFormat::html;
  bool headWritten_ = !head_;
  FirstLineTitle title_{reader_.form()};
  std::string heldBlocks_;
};

void OpenTarget(const BatchRequest& request, RunTarget& target) {
  if (request.targetStream != nullptr) {
    target.OpenStream(*request.targetStream, request.target);
  } else if (ReadsSourceFile(request) && SameFile(request.source, request.target)) {
    // Written over the source itself, the target replaces the source only once it is complete,
    // so that a failure part-way cannot cost the user the source.
    target.OpenReplacement(request.target);
  } else {
    target.OpenFile(request.target);
  }
}

RunOutcome Failed(const Error& error, bool targetOpened) {
  return {RunStatus::Failed, error, targetOpened};
}

RunOutcome Run(const BatchRequest& request, RunObserver& observer) {
  if (SourceIsMissing(request)) return {RunStatus::SourceMissing, std::nullopt, false};
  std::optional<RunSource> source;
  try {
    source.emplace(request);
  } catch (const Error& error) {
    return Failed(error, false);
  } catch (const std::bad_alloc&) {
    return Failed(OutOfMemory(request.source), false);
  }
  SourceNotices notices(source->source(), request, observer);
  notices.Check();
  RunTarget target;
  try {
    OpenTarget(request, target);
  } catch (const Error& error) {
    return Failed(error, false);
  } catch (const std::bad_alloc&) {
    return Failed(OutOfMemory(request.source), false);
  }
  // Running out of memory anywhere in the run (reading, on a worker, writing) fails it like
  // any other error, and leaves the target as a failure leaves it.
  std::optional<Error> failure;
  try {
    ChunkConversion(request, *source, target, notices, observer).Run();
    target.Commit();
  } catch (const Error& error) {
    failure = error;
  } catch (const std::bad_alloc&) {
    failure = OutOfMemory(request.source);
  }
  if (failure) {
    target.Abandon();
    return Failed(*failure, true);
  }
  return {RunStatus::Completed, std::nullopt, true};
}

}  // namespace

RunOutcome BatchConversion(const BatchRequest& request, RunObserver& observer) {
  if (!request.data) throw std::invalid_argument("a run needs the loaded data it reads");
  const RunOutcome outcome = Run(request, observer);
  observer.RunEnded(outcome);
  return outcome;
}

}  // namespace tolvane
