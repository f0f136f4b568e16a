#include "engine/BatchConversion.h"

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "engine/AnnotateLine.h"
#include "engine/HtmlPage.h"
#include "engine/SourceReader.h"
#include "engine/WorkerPool.h"
#include "engine/WrapPass.h"
#include "platform/Cp936.h"
#include "platform/EncodedLineWriter.h"
#include "platform/TextCodec.h"
#include "platform/TextFile.h"
#include "reading/classic/Lookup.h"
#include "reading/shared/DataFiles.h"

namespace tolvane {
namespace {

constexpr const char* kTempFileName = "temp.txt";

std::string PathUtf8(const std::filesystem::path& path) {
  const auto text = path.u8string();
  return std::string(text.begin(), text.end());
}

bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
  std::error_code ec;
  return std::filesystem::equivalent(a, b, ec) && !ec;
}

}  // namespace

std::string QuestionTextUtf8(BatchHost::Question question, const std::filesystem::path& target) {
  switch (question) {
    case BatchHost::Question::SourceMissing:
      return "没找到源文件,选择文件？";
    case BatchHost::Question::OpenCompleted:
      return "执行完成，是否打开文件\r\r" + PathUtf8(target);
  }
  return {};
}

namespace {

// The page's title: the source file's name ("Tolvane" for standard input).
std::string PageTitle(const std::filesystem::path& source) {
  if (source.empty() || source == "-") return "Tolvane";
  return PathUtf8(source.filename());
}

// One piece of a run: lines that a worker decodes and annotates into the target's bytes.
struct Chunk {
  SourceReader::RawChunk raw;
  SourceReader::DecodedChunk text;
  Separator separator;  // the run's separator before the chunk's first line
  std::string output;
  std::size_t linesDone = 0;
  std::optional<Error> error;
  bool done = false;
};

void AnnotateChunk(Chunk& chunk, const SourceReader& reader, const ConversionSettings& settings,
                   const TextEncoding& target) {
  try {
    reader.Decode(chunk.raw, chunk.text);
    chunk.raw.bytes = std::string();
    const LineList& lines = chunk.text.lines;
    const TextForm form = reader.form();
    if (settings.outputFormat == OutputFormat::html) {
      for (std::size_t i = 0; i < lines.size(); ++i) {
        HtmlPage::AppendLine(lines[i], form, settings, chunk.output);
        ++chunk.linesDone;
      }
      return;
    }
    // Room for the usual output at once: text layouts write about three times what they read.
    chunk.output.reserve(lines.bytes().size() * 13 / 4 + 64);
    EncodedLineWriter writer(chunk.output, form, target);
    Separator separator = chunk.separator;
    AnnotatedLine out;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      AnnotateLine(lines[i], form, settings, separator, out);
      for (std::size_t k = 0; k < out.count; ++k) writer.WriteLine(out.lines[k]);
      ++chunk.linesDone;
    }
  } catch (const Error& error) {
    chunk.error = error;
  }
}

// The run's separator after a chunk: the two aligned layouts leave " " after a line whose last
// character has a reading and "" after one whose last character has none; an empty line leaves
// it as it was. So a chunk's starting separator follows from the last line before it that is not
// empty, and chunks can be annotated apart.
Separator SeparatorAfter(const SourceReader& reader, const SourceReader::RawChunk& raw,
                         const Separator& before, const ConversionSettings& settings) {
  if (settings.outputFormat != OutputFormat::rb_output_py &&
      settings.outputFormat != OutputFormat::rb_output_han)
    return before;
  const std::string line = reader.LastNonEmptyLine(raw);
  if (line.empty()) return before;
  try {
    const auto readings = ReadingsOfLine(line, reader.form(), settings);
    return IsNotFoundReading(readings.back()) ? Separator() : Separator(" ");
  } catch (const Error&) {
    return before;  // the run fails at this line or before it anyway
  }
}

// Streams the source, re-cut into lines of `width` characters, into temp.txt.
void WrapIntoTempFile(SourceReader& reader, std::size_t width, const std::filesystem::path& path) {
  TextFileWriter temp(path);
  WrapSource(reader, width, temp);
  temp.Close();
}

}  // namespace

BatchOutcome BatchConversion(const BatchRequest& request, BatchHost& host) {
  const std::filesystem::path& source = request.source;
  const std::filesystem::path& target = request.target;
  const ConversionSettings& settings = request.settings;

  // The target's folder, one level; a failure shows later, when the target cannot be created.
  if (request.targetStream == nullptr && target.has_parent_path()) {
    std::error_code ec;
    std::filesystem::create_directory(target.parent_path(), ec);
  }

  std::error_code existsError;
  if (request.sourceBytes == nullptr && request.sourceStream == nullptr &&
      (source.empty() || !std::filesystem::exists(source, existsError))) {
    if (host.Ask(BatchHost::Question::SourceMissing,
                 QuestionTextUtf8(BatchHost::Question::SourceMissing, target)))
      host.ChooseSourceFile();
    return BatchOutcome::SourceMissing;
  }

  // The source, read in chunks of lines; with a wrap width, first re-cut through temp.txt.
  std::optional<MemoryByteSource> memory;
  std::optional<StreamByteSource> stream;
  std::optional<FileByteSource> file;
  std::optional<FileByteSource> tempFile;
  std::optional<SourceReader> sourceReader;
  std::optional<SourceReader> tempReader;
  SourceReader* reader = nullptr;
  try {
    ByteSource* bytes = nullptr;
    if (request.sourceBytes != nullptr) {
      bytes = &memory.emplace(*request.sourceBytes);
    } else if (request.sourceStream != nullptr) {
      bytes = &stream.emplace(*request.sourceStream, source);
    } else {
      bytes = &file.emplace(source);
    }
    const std::size_t chunkBytes =
        request.chunkBytes > 0 ? request.chunkBytes : SourceReader::kChunkBytes;
    reader = &sourceReader.emplace(*bytes, request.sourceEncoding, chunkBytes);
    if (settings.wrapWidth > 0) {
      const std::filesystem::path tempPath = request.programFolder / kTempFileName;
      WrapIntoTempFile(*reader, static_cast<std::size_t>(settings.wrapWidth), tempPath);
      reader = &tempReader.emplace(tempFile.emplace(tempPath), sourceReader->form(), chunkBytes);
    }
  } catch (const Error& error) {
    host.ReportError(error);
    return BatchOutcome::Failed;
  }
  const TextEncoding sourceEncoding = sourceReader->encoding().encoding;
  const TextForm form = reader->form();
  bool undecodableNoted = false;
  const auto noteUndecodable = [&] {
    if (undecodableNoted || !sourceReader->FirstUndecodable()) return;
    host.NoteUndecodableBytes(source, sourceEncoding, *sourceReader->FirstUndecodable());
    undecodableNoted = true;
  };
  noteUndecodable();

  // Writing over the source itself goes through a scratch file that replaces the source only
  // once it is complete, so a failure part-way cannot cost the user the source.
  const bool toStream = request.targetStream != nullptr;
  const bool replacesSource = !toStream && request.sourceBytes == nullptr &&
                              request.sourceStream == nullptr && SameFile(source, target);
  const std::filesystem::path writePath = replacesSource ? ScratchPathBeside(target) : target;
  TextFileWriter writer;
  try {
    if (toStream) {
      writer.Attach(*request.targetStream, target);
    } else {
      writer.Open(writePath);
    }
  } catch (const Error& error) {
    host.ReportError(error);
    return BatchOutcome::Failed;
  }

  std::optional<Error> failure;
  try {
    const TextEncoding targetEncoding = OutputEncodingFor(sourceEncoding, request.targetEncoding);
    const bool html = settings.outputFormat == OutputFormat::html;
    std::string head;
    if (html) {
      head = HtmlPage::Head(PageTitle(source));
    } else {
      EncodedLineWriter(head, form, targetEncoding).Start();
    }
    writer.Write(head);

    // Chunks are decoded and annotated on every core and written in order as they come back.
    // The bookkeeping is declared before the pool, so that the pool's threads end before it.
    std::mutex mutex;
    std::condition_variable finished;
    std::deque<std::shared_ptr<Chunk>> inFlight;
    const auto allDone = [&] {
      std::unique_lock lock(mutex);
      finished.wait(lock, [&] {
        return std::all_of(inFlight.begin(), inFlight.end(),
                           [](const std::shared_ptr<Chunk>& c) { return c->done; });
      });
    };
    const unsigned jobs =
        request.jobs > 0 ? request.jobs : std::max(1u, std::thread::hardware_concurrency());
    // One chunk waiting beside each one at work keeps every core busy in bounded memory.
    const std::size_t inFlightLimit = static_cast<std::size_t>(jobs) + 1;
    // Loaded here, once, rather than by the first worker that needs it.
    if (settings.polyphone == PolyphonePolicy::ByContext) ContextData();
    WorkerPool pool(jobs > 1 ? jobs : 0);
    const SourceReader& source_ = *reader;
    Separator separator = kStartSeparator;
    bool more = true;
    const auto readMore = [&] {
      while (more && inFlight.size() < inFlightLimit) {
        auto chunk = std::make_shared<Chunk>();
        more = reader->NextRaw(chunk->raw);
        if (!more) break;
        chunk->separator = separator;
        separator = SeparatorAfter(source_, chunk->raw, separator, settings);
        inFlight.push_back(chunk);
        pool.Run([chunk, &source_, &settings, &targetEncoding, &mutex, &finished] {
          AnnotateChunk(*chunk, source_, settings, targetEncoding);
          {
            std::lock_guard lock(mutex);
            chunk->done = true;
          }
          finished.notify_all();
        });
      }
    };
    // The bar's range: the first chunk's lines, scaled to the size of the source where known;
    // corrected as the run goes and at its end.
    std::optional<std::size_t> range;
    std::size_t written = 0;
    std::string trailing;
    std::optional<Error> chunkFailure;
    try {
      readMore();
      if (inFlight.empty()) {
        range = 0;
        host.ShowProgress(0);
      }
      while (!inFlight.empty()) {
        const std::shared_ptr<Chunk> next = inFlight.front();
        {
          std::unique_lock lock(mutex);
          finished.wait(lock, [&] { return next->done; });
        }
        inFlight.pop_front();
        readMore();
        if (!range) {
          std::size_t estimate = next->text.lines.size();
          const auto size = reader->SourceSize();
          const std::uint64_t seen = reader->BytesConsumed();
          if (more && seen > 0 && size && *size > seen)
            estimate =
                static_cast<std::size_t>(static_cast<double>(estimate) *
                                         static_cast<double>(*size) / static_cast<double>(seen));
          range = estimate;
          host.ShowProgress(estimate);
        }
        if (next->text.firstUndecodable) {
          sourceReader->NoteUndecodable(*next->text.firstUndecodable);
          noteUndecodable();
        }
        writer.Write(next->output);
        for (std::size_t i = 0; i < next->linesDone; ++i) {
          if (++written > *range) host.SetProgressRange(*range = 2 * written);
          host.StepProgress();
        }
        if (next->raw.last) trailing = next->text.trailingBytes;
        if (next->error) {
          chunkFailure = next->error;
          break;
        }
      }
    } catch (...) {
      // Nothing more is read or written; the workers finish what they hold first.
      allDone();
      throw;
    }
    allDone();
    if (chunkFailure) throw *chunkFailure;
    if (written != *range) host.SetProgressRange(written);
    writer.Write(html ? HtmlPage::Tail() : trailing);
    writer.Close();
    if (replacesSource) {
      std::error_code ec;
      std::filesystem::rename(writePath, target, ec);
      if (ec) throw FileError(ec.value(), target);
    }
  } catch (const Error& error) {
    failure = error;
  }

  if (failure) {
    // The target keeps the lines written so far; a failed run is reported as such, without the
    // completion question.
    try {
      writer.Close();
    } catch (const Error&) {
    }
    if (replacesSource) {
      std::error_code ec;
      std::filesystem::remove(writePath, ec);
    }
    host.FillProgress();
    host.HideProgress();
    host.ReportError(*failure);
    return BatchOutcome::Failed;
  }

  host.FillProgress();
  if (host.Ask(BatchHost::Question::OpenCompleted,
               QuestionTextUtf8(BatchHost::Question::OpenCompleted, target)))
    host.OpenWithSystem(target);
  host.HideProgress();
  return BatchOutcome::Completed;
}

}  // namespace tolvane
