#include "tolvane/Converter.h"

#include <sstream>
#include <system_error>

#include "api/DefaultDataFolders.h"
#include "api/FileReports.h"
#include "api/FileSplit.h"
#include "api/OptionSettings.h"
#include "api/OptionWords.h"
#include "api/TextReadings.h"
#include "engine/SourceReader.h"
#include "frontend/FileConversion.h"
#include "platform/Error.h"
#include "reading/LineReadingsPool.h"
#include "reading/Session.h"

namespace tolvane {

namespace api {

// What a Converter holds: its options, the loaded data of its folder (shared by its copies and
// every converter derived from it), that data with the options' own words, and the readings
// lent to its calls.
struct ConverterState {
  ConverterState(Options options, ConverterFolders folders,
                 std::shared_ptr<const ReadingData> loaded)
      : options(std::move(options)),
        settings(SettingsOf(this->options)),
        folders(std::move(folders)),
        loaded(std::move(loaded)),
        data(WithUserWords(this->loaded, this->options.userWords)),
        pool(data) {
    // Reading by context fails here, not at the first call, when its data cannot be read.
    if (settings.polyphone == PolyphonePolicy::ByContext) data->ContextData();
    if (settings.orthography) data->ProperNounData();
  }

  const Options options;
  const ConversionSettings settings;
  const ConverterFolders folders;
  const std::shared_ptr<const ReadingData> loaded;
  const std::shared_ptr<const ReadingData> data;
  // Each call borrows readings of its own, so calls may come from any number of threads.
  mutable LineReadingsPool pool;
};

}  // namespace api

struct Converter::State : api::ConverterState {
  using ConverterState::ConverterState;
};

namespace {

std::shared_ptr<const ReadingData> LoadData(const ConverterFolders& folders) {
  Session session;
  StartSession(session, folders.data);
  return session.Data();
}

// Follows a run for the library: it asks nothing and prints nothing, and notes whether the
// source held bytes that do not decode.
class QuietObserver : public RunObserver {
 public:
  void ProgressStarted(std::size_t) override {}
  void ProgressStepped() override {}
  void ProgressRangeCorrected(std::size_t) override {}
  void UndecodableBytes(const std::filesystem::path&, const TextEncoding&, std::size_t,
                        UndecodableOutput) override {
    undecodable = true;
  }

  bool undecodable = false;
};

// The request tolvane-cli's convert makes of these options: the layout is asked for (--format)
// unless it is the default, which leaves the target's name and the source to choose.
FileConversionRequest RequestOf(const api::ConverterState& state,
                                const std::filesystem::path& source,
                                const std::filesystem::path& target) {
  FileConversionRequest request;
  request.source = source;
  request.target = target;
  request.settings = state.settings;
  request.layoutAsked = state.options.layout != Layout::Py;
  request.loadData = [data = state.data] { return data; };
  request.scratchFolder = [&folders = state.folders, wrap = state.settings.wrapWidth] {
    if (folders.makeScratch && wrap > 0) {
      std::error_code ec;
      std::filesystem::create_directories(folders.scratch, ec);
      if (ec)
        throw Error("Cannot create folder \"" + folders.scratch.string() + "\". " + ec.message(),
                    folders.scratch);
    }
    return folders.scratch;
  };
  return request;
}

void RaiseFailure(const RunOutcome& outcome, const std::filesystem::path& source) {
  if (outcome.status == RunStatus::SourceMissing) throw Error("File not found", source);
  if (outcome.status == RunStatus::Failed) throw *outcome.error;
}

// The encoding a run reads `source` in, as detected at its start.
SourceEncoding FileEncoding(const std::filesystem::path& source) {
  FileByteSource bytes(source);
  return SourceReader(bytes, EncodingChoice::Auto).encoding();
}

std::uint64_t FileSize(const std::filesystem::path& path) {
  std::error_code ec;
  const std::uintmax_t size = std::filesystem::file_size(path, ec);
  return ec ? 0 : size;
}

}  // namespace

Converter::Converter(const Options& options, const std::filesystem::path& dataFolder) {
  const ConverterFolders folders = dataFolder.empty() ? InstalledFolders() : FoldersOf(dataFolder);
  state_ = std::make_shared<const State>(options, folders, LoadData(folders));
}

Converter::~Converter() = default;
Converter::Converter(const Converter&) = default;
Converter& Converter::operator=(const Converter&) = default;
Converter::Converter(Converter&&) noexcept = default;
Converter& Converter::operator=(Converter&&) noexcept = default;

const Options& Converter::options() const { return state_->options; }

Converter Converter::WithOptions(const Options& options) const {
  Converter derived(*this);
  derived.state_ = std::make_shared<const State>(options, state_->folders, state_->loaded);
  return derived;
}

std::vector<std::string> Converter::Readings(std::string_view text) const {
  const LineReadingsPool::Lease readings = state_->pool.Borrow();
  return CodePointReadings(*readings, text, state_->settings);
}

std::string Converter::AnnotateLine(std::string_view line) const {
  const LineReadingsPool::Lease readings = state_->pool.Borrow();
  return AnnotatedLineText(*readings, line, state_->settings);
}

std::string Converter::HtmlFragment(std::string_view text) const {
  const LineReadingsPool::Lease readings = state_->pool.Borrow();
  return HtmlBlocks(*readings, text, state_->settings);
}

std::string Converter::AnnotateText(std::string_view text) const {
  CheckUtf8(text);
  // As tolvane-cli's convert --encoding utf-8 reads the text from standard input and writes it
  // to standard output.
  FileConversionRequest request = RequestOf(*state_, "-", "-");
  request.sourceEncoding = EncodingChoice::Utf8;
  request.jobs = 1;
  MemoryByteSource bytes(text);
  std::ostringstream out;
  request.sourceByteSource = &bytes;
  request.targetStream = &out;
  QuietObserver observer;
  RaiseFailure(ConvertFileAsAsked(request, observer).outcome, request.source);
  return std::move(out).str();
}

FileReport Converter::ConvertFile(const std::filesystem::path& source,
                                  const std::filesystem::path& target, unsigned threads) const {
  FileConversionRequest request = RequestOf(*state_, source, target);
  request.jobs = threads;
  QuietObserver observer;
  const FileConversionResult result = ConvertFileAsAsked(request, observer);
  RaiseFailure(result.outcome, source);
  FileReport report;
  const TextEncoding encoding = DetectFileEncoding(source);
  report.encoding = EncodingKey(encoding);
  report.bytesRead = FileSize(source);
  report.bytesWritten = FileSize(result.target);
  // Counted only where the run found some, as that takes another pass over the source.
  if (observer.undecodable || ChooseFileConversion(request).document)
    report.undecodableBytes = CountUndecodableBytes(
        source, encoding, encoding.byteOrderMark ? ByteOrderMark(encoding.encoding).size() : 0,
        report.bytesRead);
  return report;
}

std::filesystem::path Converter::TargetFor(const std::filesystem::path& source) const {
  return ChooseFileConversion(RequestOf(*state_, source, {})).target;
}

FileParts Converter::SplitFile(const std::filesystem::path& source, std::uint64_t partBytes) const {
  if (partBytes == 0) throw Error("A part of a file needs at least one byte", source);
  std::error_code ec;
  if (!std::filesystem::exists(source, ec)) throw Error("File not found", source);
  FileParts parts;
  const SourceEncoding encoding = FileEncoding(source);
  parts.encoding = EncodingKey(encoding.encoding);
  parts.size = FileSize(source);
  parts.offsets = {0};
  // Re-cut lines depend on every line before them, and documents and subtitles are written
  // whole: those files stay one part.
  if (state_->settings.wrapWidth > 0 ||
      ChooseFileConversion(RequestOf(*state_, source, {})).document)
    return parts;
  parts.offsets = PartOffsets(source, encoding, parts.size, partBytes);
  return parts;
}

FileReport Converter::ConvertFilePart(const std::filesystem::path& source, const FileParts& parts,
                                      std::size_t index, const std::filesystem::path& target,
                                      unsigned threads) const {
  if (index >= parts.offsets.size())
    throw Error("No part " + std::to_string(index) + " of " + std::to_string(parts.offsets.size()) +
                    " of " + source.string(),
                source);
  if (parts.offsets.size() == 1) return ConvertFile(source, target, threads);
  // The parts must be those of this file as it is now, cut for options that allow it.
  std::error_code ec;
  if (!std::filesystem::exists(source, ec)) throw Error("File not found", source);
  const SourceEncoding encoding = FileEncoding(source);
  const std::uint64_t begin = parts.offsets[index];
  const std::uint64_t end =
      index + 1 < parts.offsets.size() ? parts.offsets[index + 1] : parts.size;
  if (FileSize(source) != parts.size || EncodingKey(encoding.encoding) != parts.encoding ||
      parts.offsets[0] != 0 || end <= begin || end > parts.size)
    throw Error(source.string() + " is not the file it was cut from, or the parts are damaged",
                source);
  if (state_->settings.wrapWidth > 0)
    throw Error("A file is converted whole when lines are re-cut (a wrap width)", source);

  FileConversionRequest request = RequestOf(*state_, source, target);
  // The part's own name chooses nothing: the parts make up the target TargetFor names.
  request.layoutAsked = true;
  request.jobs = threads;
  SourcePart part;
  part.begin = begin;
  part.end = end;
  part.encoding = encoding;
  if (index > 0) part.encoding.byteOrderMarkLength = 0;
  part.head = index == 0;
  part.tail = index + 1 == parts.offsets.size();
  if (index > 0) {
    const LineReadingsPool::Lease readings = state_->pool.Borrow();
    part.separator = SeparatorBefore(source, encoding, begin, *readings, state_->settings);
  }
  request.part = part;
  QuietObserver observer;
  const FileConversionResult result = ConvertFileAsAsked(request, observer);
  RaiseFailure(result.outcome, source);
  FileReport report;
  report.encoding = parts.encoding;
  report.bytesRead = end - begin;
  report.bytesWritten = FileSize(result.target);
  if (observer.undecodable)
    report.undecodableBytes = CountUndecodableBytes(
        source, encoding.encoding,
        std::max<std::uint64_t>(begin, part.encoding.byteOrderMarkLength), end);
  return report;
}

}  // namespace tolvane
