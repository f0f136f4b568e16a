#include <filesystem>
#include <map>
#include <ostream>
#include <string>

#include "cli/Command.h"
#include "cli/CommonOptions.h"
#include "cli/StandardInput.h"
#include "cli/TerminalProgress.h"
#include "frontend/FileConversion.h"

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
  void AddConvertOptions();
  FileConversionRequest Request() const;
  std::filesystem::path ScratchFolder(const CliContext& context) const;
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

// The command's arguments as the conversion of a file takes them.
FileConversionRequest ConvertCommand::Request() const {
  FileConversionRequest request;
  request.source = source_;
  request.target = target_;
  request.settings = options_.settings;
  request.layoutAsked = options_.format->count() > 0;
  request.document = options_.document;
  request.sourceEncoding = options_.encoding;
  request.targetEncoding = outputEncoding_;
  request.design = design_;
  request.jobs = jobs_;
  return request;
}

// temp.txt goes where --data-dir says, else in the scratch folder, made if need be.
std::filesystem::path ConvertCommand::ScratchFolder(const CliContext& context) const {
  if (!options_.dataDir.empty()) return options_.dataDir;
  if (options_.settings.wrapWidth > 0) context.locations.ForWriting(context.locations.scratch);
  return context.locations.scratch;
}

// The document the conversion writes, if it writes one (ChooseFileConversion decides).
std::optional<DocumentFormat> ConvertCommand::Document() const {
  return ChooseFileConversion(Request()).document;
}

int ConvertCommand::Run(const CliContext& context) {
  FileConversionRequest request = Request();
  Session session;
  request.loadData = [&] {
    StartReadingData(session, DataToLoad::WithDataFiles, context.locations, options_.dataDir);
    return session.Data();
  };
  request.scratchFolder = [&] { return ScratchFolder(context); };
  StandardInputBytes standardInput(context.in);
  if (source_ == kStandardStream) request.sourceByteSource = &standardInput;
  if (target_ == kStandardStream) request.targetStream = &context.out;
  CliRunObserver observer(context.err, context.errIsTerminal && !quiet_);
  const FileConversionResult result = ConvertFileAsAsked(request, observer);
  return Report(result.outcome, result.target, context);
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
