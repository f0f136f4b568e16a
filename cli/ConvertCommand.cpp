#include <filesystem>
#include <map>
#include <ostream>
#include <string>

#include "cli/Command.h"
#include "cli/CommonOptions.h"
#include "cli/StandardInput.h"
#include "cli/TerminalProgress.h"
#include "documents/DocumentStyle.h"
#include "documents/Handout.h"
#include "documents/HandoutDocument.h"
#include "documents/PageDesign.h"
#include "documents/Subtitles.h"
#include "engine/BatchConversion.h"
#include "frontend/TargetNaming.h"

namespace tolvane {
namespace {

const std::map<std::string, OutputEncodingChoice> kOutputEncodings = {
    {"same", OutputEncodingChoice::Same},         {"utf-8", OutputEncodingChoice::Utf8},
    {"utf-8-bom", OutputEncodingChoice::Utf8Bom}, {"utf-16le", OutputEncodingChoice::Utf16Le},
    {"utf-16be", OutputEncodingChoice::Utf16Be},  {"gb18030", OutputEncodingChoice::Gb18030}};

// Follows a batch run from the command line: its progress on a terminal only, its warning on
// stderr. The command line never asks: a missing source is an error, and the finished target is
// not opened.
class CliRunObserver : public RunObserver {
 public:
  CliRunObserver(std::ostream& err, bool showProgress) : err_(err), progress_(err, showProgress) {}

  void ProgressStarted(std::size_t lineCount) override { progress_.Start(lineCount); }
  void ProgressStepped() override { progress_.Step(); }
  void ProgressRangeCorrected(std::size_t lineCount) override { progress_.SetTotal(lineCount); }
  // However the run ended, its bar is drawn full and its line ended before anything else is said.
  void RunEnded(const RunOutcome&) override {
    progress_.Fill();
    progress_.Finish();
  }
  void UndecodableBytes(const std::filesystem::path& source, const TextEncoding& encoding,
                        std::size_t offset, UndecodableOutput output) override {
    err_ << "tolvane-cli: warning: " << DisplayName(source, kStandardInputName) << ": byte offset "
         << offset << ": not valid " << EncodingName(encoding) << " text; such bytes are "
         << (output == UndecodableOutput::ReplacementCharacters
                 ? "written as replacement characters (U+FFFD) in the page"
                 : "copied to the output unchanged")
         << '\n';
  }
  void NulCharacters(const std::filesystem::path& source, std::uint64_t offset) override {
    err_ << "tolvane-cli: warning: " << DisplayName(source, "standard input") << ": byte offset "
         << offset << ": contains NUL bytes; they are copied to the output like any character "
         << "without a reading\n";
  }

 private:
  std::ostream& err_;
  TerminalProgress progress_;
};

// A source that exists but is no regular file or folder: a device, a pipe or a socket.
bool IsStreamingSource(const std::filesystem::path& source) {
  std::error_code ec;
  const std::filesystem::file_status status = std::filesystem::status(source, ec);
  return !ec && std::filesystem::exists(status) && !std::filesystem::is_regular_file(status) &&
         !std::filesystem::is_directory(status);
}

// convert SOURCE [TARGET]: a whole file annotated into a new one.
class ConvertCommand : public Command {
 public:
  explicit ConvertCommand(CLI::App& app);

  void CheckArguments() const override {
    options_.CheckReadingByContext();
    options_.CheckOrthography();
    if (source_ == kStandardStream && target_.empty())
      throw CLI::ValidationError("SOURCE", "reading standard input (-) needs a TARGET");
    // A name beside a device or a pipe (/dev/zero_拼音.txt) is no place for a target.
    if (target_.empty() && IsStreamingSource(source_))
      throw CLI::ValidationError(
          "SOURCE", source_.string() + " is a device or a pipe, not a file: it needs a TARGET");
    if (const std::optional<DocumentFormat> document = Document()) {
      if (source_ == kStandardStream || target_ == kStandardStream)
        throw CLI::ValidationError(
            "--format", std::string(ExtensionOf(*document).substr(1)) +
                            " reads a SOURCE file and writes a TARGET file, not standard streams");
      if (outputEncodingOption_->count() > 0)
        throw CLI::ValidationError("--output-encoding", "documents are always written in UTF-8");
    }
  }

  int Run(const CliContext& context) override;

 private:
  std::optional<DocumentFormat> Document() const;
  int WriteDocument(DocumentFormat format, const CliContext& context);
  PageDesign Design() const;
  void AddConvertOptions();
  ConversionSettings Settings() const;
  std::filesystem::path Target(const ConversionSettings& settings) const;
  std::filesystem::path ScratchFolder(const CliContext& context,
                                      const ConversionSettings& settings) const;
  int Report(const RunOutcome& outcome, const std::filesystem::path& target,
             const CliContext& context) const;

  ReadingOptions options_;
  std::filesystem::path source_;
  std::filesystem::path target_;
  std::filesystem::path design_;
  OutputEncodingChoice outputEncoding_ = OutputEncodingChoice::Same;
  CLI::Option* outputEncodingOption_ = nullptr;
  bool quiet_ = false;
  unsigned jobs_ = 0;
};

ConvertCommand::ConvertCommand(CLI::App& app)
    : Command(app.add_subcommand(
          "convert",
          "Annotate a text file into a new one (CR LF line ends), written in the source's "
          "encoding unless --output-encoding says otherwise. TARGET defaults to SOURCE with "
          "\"_拼音\" in front of the file name's extension; - as SOURCE reads standard input "
          "(TARGET is then required), - as TARGET writes standard output")) {
  options_.AddTo(*subcommand_);
  options_.AddEncodingTo(*subcommand_);
  options_.AddLayoutTo(*subcommand_, true, true);
  AddConvertOptions();
}

void ConvertCommand::AddConvertOptions() {
  subcommand_->add_option("SOURCE", source_, "The text file to annotate, or -")->required();
  subcommand_->add_option("TARGET", target_,
                          "The annotated file to write (replaced if it exists), or -");
  outputEncodingOption_ =
      subcommand_
          ->add_option("--output-encoding", outputEncoding_,
                       "Encoding of TARGET: same (default: the source's; UTF-8 keeps a byte-order "
                       "mark exactly when the source has one, UTF-16 always has one), utf-8, "
                       "utf-8-bom, utf-16le, utf-16be or gb18030")
          ->transform(CLI::CheckedTransformer(kOutputEncodings, CLI::ignore_case))
          ->option_text("same|utf-8|utf-8-bom|utf-16le|utf-16be|gb18030");
  subcommand_
      ->add_option("--design", design_,
                   "A page design saved from the window's 页面设计 dialog (paper, margins, fonts, "
                   "sizes, spacing, title, page numbers, tone colours, which characters are "
                   "annotated) for the HTML page and the docx, odt and epub documents")
      ->check(CLI::ExistingFile);
  subcommand_->add_flag("-q,--quiet", quiet_, "No progress bar and no closing message");
  subcommand_
      ->add_option("-j,--jobs", jobs_,
                   "Threads that annotate (default 0: one per core); the output is the same "
                   "whatever the number")
      ->check(CLI::Range(0u, 1024u));
}

// The options' settings; a TARGET named .html or .htm asks for the page unless --format says.
ConversionSettings ConvertCommand::Settings() const {
  ConversionSettings settings = options_.settings;
  if (options_.format->count() == 0 && IsHtmlTarget(target_))
    settings.outputFormat = OutputFormat::html;
  return settings;
}

// TARGET, else one derived from SOURCE.
std::filesystem::path ConvertCommand::Target(const ConversionSettings& settings) const {
  if (!target_.empty()) return target_;
  std::filesystem::path target = DeriveTargetPath(source_);
  if (settings.outputFormat == OutputFormat::html) target.replace_extension(".html");
  return target;
}

// temp.txt goes where --data-dir says, else in the scratch folder, made if need be.
std::filesystem::path ConvertCommand::ScratchFolder(const CliContext& context,
                                                    const ConversionSettings& settings) const {
  if (!options_.dataDir.empty()) return options_.dataDir;
  if (settings.wrapWidth > 0) context.locations.ForWriting(context.locations.scratch);
  return context.locations.scratch;
}

// The document --format or the target's extension asks for; else an SRT or WebVTT source is
// converted cue by cue into its own format, unless --format asks for a text layout.
std::optional<DocumentFormat> ConvertCommand::Document() const {
  if (options_.format->count() > 0) return options_.document;
  if (!target_.empty() && target_ != kStandardStream) {
    if (const std::optional<DocumentFormat> format = DocumentFormatOfTarget(target_)) return format;
  }
  if (source_ == kStandardStream || IsStreamingSource(source_)) return std::nullopt;
  std::optional<SubtitleFormat> subtitles;
  try {
    subtitles = DetectSubtitleFile(source_, options_.encoding);
  } catch (const Error&) {
    return std::nullopt;  // the run reports why the source cannot be read
  }
  if (!subtitles) return std::nullopt;
  return *subtitles == SubtitleFormat::Srt ? DocumentFormat::Srt : DocumentFormat::Vtt;
}

PageDesign ConvertCommand::Design() const {
  return design_.empty() ? PageDesign() : ReadPageDesign(design_);
}

int ConvertCommand::WriteDocument(DocumentFormat format, const CliContext& context) {
  const PageDesign design = Design();
  Session session;
  StartReadingData(session, DataToLoad::WithDataFiles, context.locations, options_.dataDir);
  std::filesystem::path target = target_;
  if (target.empty()) target = DeriveTargetPath(source_).replace_extension(ExtensionOf(format));
  std::error_code error;
  if (!std::filesystem::exists(source_, error)) throw Error("File not found", source_);
  LineReadings readings(session.Data());
  if (IsSubtitleFormat(format)) {
    const SubtitleFormat asked =
        format == DocumentFormat::Srt ? SubtitleFormat::Srt : SubtitleFormat::Vtt;
    const std::optional<SubtitleFormat> held = DetectSubtitleFile(source_, options_.encoding);
    if (held && *held != asked)
      throw Error(source_.string() + " holds " + (*held == SubtitleFormat::Srt ? "SRT" : "WebVTT") +
                      " subtitles: they are annotated in their own format",
                  source_);
    SubtitleOptions subtitleOptions;
    subtitleOptions.encoding = options_.encoding;
    ConvertSubtitles(readings, source_, target, options_.settings, subtitleOptions);
  } else {
    WriteHandoutDocument(
        format, ReadHandout(readings, source_, options_.settings, design, options_.encoding),
        design, target);
  }
  if (!quiet_) context.err << "Wrote " << target.string() << '\n';
  return 0;
}

int ConvertCommand::Run(const CliContext& context) {
  if (const std::optional<DocumentFormat> document = Document())
    return WriteDocument(*document, context);
  Session session;
  StartReadingData(session, DataToLoad::WithDataFiles, context.locations, options_.dataDir);
  const ConversionSettings settings = Settings();
  const std::filesystem::path target = Target(settings);
  CliRunObserver observer(context.err, context.errIsTerminal && !quiet_);
  BatchRequest request{source_, target, settings, session.Data(), ScratchFolder(context, settings)};
  request.sourceEncoding = options_.encoding;
  request.targetEncoding = outputEncoding_;
  request.jobs = jobs_;
  // The page credits the data it was read with; a design gives it its look as well.
  if (design_.empty()) {
    request.htmlPage.colophon = ColophonMarkup();
  } else {
    request.htmlPage = HtmlPageLookOf(Design());
  }
  StandardInputBytes standardInput(context.in);
  if (source_ == kStandardStream) request.sourceByteSource = &standardInput;
  if (target_ == kStandardStream) request.targetStream = &context.out;
  return Report(BatchConversion(request, observer), target, context);
}

int ConvertCommand::Report(const RunOutcome& outcome, const std::filesystem::path& target,
                           const CliContext& context) const {
  switch (outcome.status) {
    case RunStatus::Completed:
      if (!quiet_ && target_ != kStandardStream) context.err << "Wrote " << target.string() << '\n';
      return 0;
    case RunStatus::SourceMissing:
      PrintError(Error("File not found", source_), context.err);
      return 1;
    case RunStatus::Failed:
      PrintError(*outcome.error, context.err);
      return 1;
  }
  return 1;
}

}  // namespace

std::unique_ptr<Command> AddConvertCommand(CLI::App& app) {
  return std::make_unique<ConvertCommand>(app);
}

}  // namespace tolvane
