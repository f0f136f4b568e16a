#include "cli/CliApp.h"

#include <CLI/CLI.hpp>
#include <istream>
#include <map>
#include <ostream>

#include "cli/TerminalProgress.h"
#include "engine/AnnotateLine.h"
#include "engine/BatchConversion.h"
#include "engine/HtmlPage.h"
#include "engine/SourceReader.h"
#include "frontend/TargetNaming.h"
#include "platform/Cp936.h"
#include "platform/EncodingDetection.h"
#include "platform/Error.h"
#include "platform/TextCodec.h"
#include "platform/TextFile.h"
#include "platform/UnicodeText.h"
#include "reading/LineReadings.h"
#include "reading/Session.h"

namespace tolvane {
namespace {

// "-" names standard input as SOURCE or FILE, and standard output as TARGET.
constexpr const char* kStandardStream = "-";

const std::map<std::string, ToneStyle> kToneStyles = {
    {"marked", ToneStyle::Marked}, {"numbered", ToneStyle::Numbered}, {"plain", ToneStyle::Plain}};
const std::map<std::string, PolyphonePolicy> kPolicies = {{"first", PolyphonePolicy::FirstReading},
                                                          {"all", PolyphonePolicy::AllReadings},
                                                          {"context", PolyphonePolicy::ByContext}};
const std::map<std::string, OutputFormat> kFormats = {
    {"py", OutputFormat::rb_output_py},           {"han", OutputFormat::rb_output_han},
    {"hanpy", OutputFormat::rb_output_hanpy},     {"pyhan", OutputFormat::rb_output_pyhan},
    {"py-only", OutputFormat::rb_output_py_only}, {"html", OutputFormat::html}};
const std::map<std::string, EncodingChoice> kEncodings = {
    {"auto", EncodingChoice::Auto},    {"utf-8", EncodingChoice::Utf8},
    {"utf-16", EncodingChoice::Utf16}, {"gb18030", EncodingChoice::Gb18030},
    {"gbk", EncodingChoice::Gbk},      {"gb2312", EncodingChoice::Gb2312}};
const std::map<std::string, OutputEncodingChoice> kOutputEncodings = {
    {"same", OutputEncodingChoice::Same},         {"utf-8", OutputEncodingChoice::Utf8},
    {"utf-8-bom", OutputEncodingChoice::Utf8Bom}, {"utf-16le", OutputEncodingChoice::Utf16Le},
    {"utf-16be", OutputEncodingChoice::Utf16Be},  {"gb18030", OutputEncodingChoice::Gb18030}};

void AddEncodingOption(CLI::App& command, EncodingChoice& encoding, const std::string& help) {
  command.add_option("--encoding", encoding, help)
      ->transform(CLI::CheckedTransformer(kEncodings, CLI::ignore_case))
      ->option_text("auto|utf-8|utf-16|gb18030|gbk|gb2312");
}

// Options shared by the commands that look readings up.
struct LookupOptions {
  ConversionSettings settings;
  FileLocations locations;
  std::filesystem::path dataDir;  // --data-dir: every file of the run in this folder
  EncodingChoice encoding = EncodingChoice::Auto;

  void AddTo(CLI::App& command, const FileLocations& where) {
    locations = where;
    command
        .add_option("--tone", settings.toneStyle, "Tone style: marked (default), numbered or plain")
        ->transform(CLI::CheckedTransformer(kToneStyles, CLI::ignore_case))
        ->option_text("marked|numbered|plain");
    command
        .add_option("--polyphone", settings.polyphone,
                    "Characters with several readings: first (default: the first of the "
                    "built-in table's), all (every one, joined by /) or context (the one the "
                    "words around it call for)")
        ->transform(CLI::CheckedTransformer(kPolicies, CLI::ignore_case))
        ->option_text("first|all|context");
    command.add_flag("--wade-giles", settings.wadeGiles,
                     "Consult the Wade-Giles user dictionary instead of the standard one");
    command
        .add_option("--data-dir", dataDir,
                    "Folder of the data files (user dictionaries, tone glyphs) and of temp.txt; "
                    "default: the program folder of a portable copy; for an installed one, "
                    "the dictionaries in $XDG_DATA_HOME/tolvane, the glyphs in share/tolvane "
                    "and temp.txt in $XDG_CACHE_HOME/tolvane")
        ->check(CLI::ExistingDirectory);
  }

  void AddEncodingTo(CLI::App& command) {
    AddEncodingOption(command, encoding,
                      "Encoding of the file read: auto (default: a byte-order mark, else UTF-8 "
                      "when the file is UTF-8, else GB18030 when it holds GB18030's four-byte "
                      "sequences, else GB2312/GBK), utf-8, utf-16, gb18030, gbk or gb2312");
  }

  CLI::Option* format = nullptr;

  void AddLayoutTo(CLI::App& command, bool withWrap) {
    format = command
                 .add_option("--format", settings.outputFormat,
                             "Layout: py (pinyin line above the characters, default), han "
                             "(characters above pinyin), hanpy (character(reading)), pyhan "
                             "((reading)character), py-only (readings alone), or html (a web "
                             "page in UTF-8 with each reading in ruby over its character; "
                             "chosen too by a TARGET ending in .html or .htm)")
                 ->transform(CLI::CheckedTransformer(kFormats, CLI::ignore_case))
                 ->option_text("py|han|hanpy|pyhan|py-only|html");
    command.add_flag("--no-align{false}", settings.align,
                     "In the py and han layouts, keep the character line as it is instead of "
                     "moving each character under its reading");
    if (withWrap) {
      command
          .add_option("--wrap", settings.wrapWidth,
                      "Re-cut the lines into pieces of this many characters first "
                      "(0 = no re-cut, default): 0, 100, 50, 40, 30, 20 or 10")
          ->check(CLI::IsMember({0, 100, 50, 40, 30, 20, 10}))
          ->option_text("0|100|50|40|30|20|10");
    }
  }

  // The start-up steps the lookup needs: data files, then the built-in tables.
  void Load(Session& session) const {
    StartSession(session, dataDir.empty() ? DataFolders{locations.dictionaries, locations.data}
                                          : DataFolders{dataDir, dataDir});
  }
};

// The text of a command-line argument, which the terminal gives in UTF-8.
std::string UnicodeTextOf(std::string_view argumentUtf8) {
  return DecodeText(argumentUtf8, Encoding::Utf8).text;
}

// Text of either form as UTF-8 for the terminal.
std::string Utf8Of(std::string_view text, TextForm form) {
  return form == TextForm::Cp936 ? cp936::DecodeToUtf8(text) : unicode::ToUtf8Bytes(text);
}

std::string DisplayName(const std::filesystem::path& path, const char* standardName) {
  return path == kStandardStream ? std::string(standardName) : path.string();
}

void PrintTable(const ReadingTable& table, std::ostream& out) {
  for (std::size_t i = 0; i < table.Count(); ++i) {
    const ReadingTableEntry& entry = table.At(i);
    out << cp936::DecodeToUtf8(entry.character) << '\t' << entry.readings << '\n';
  }
}

// For each character of the text: the character, its display reading and its width reading.
// A character that code page 936 lacks has no reading but by context.
void PrintLookups(LineReadings& readings, std::string_view textUtf8,
                  const ConversionSettings& settings, std::ostream& out) {
  readings.ForEachReadingOfLine<TextForm::Unicode>(
      UnicodeTextOf(textUtf8), settings,
      [&](std::string_view character, char32_t, const PositionReading& reading) {
        out << unicode::ToUtf8Bytes(character) << '\t' << unicode::ToUtf8Bytes(reading.display)
            << '\t' << cp936::DecodeToUtf8(reading.width) << '\n';
      });
}

// For every line of the file: the display readings of its characters, TAB-separated, in UTF-8.
// The file is read as a run reads its source, a chunk of lines at a time.
void PrintLineReadings(LineReadings& readings, ByteSource& bytes, const LookupOptions& options,
                       std::ostream& out) {
  SourceReader reader(bytes, options.encoding);
  const TextForm form = reader.form();
  LineList lines;
  std::string line;
  while (reader.Next(lines)) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
      line.clear();
      bool first = true;
      for (const std::string_view reading :
           ReadingsOfLine(readings, lines[i], form, options.settings)) {
        if (!first) line += '\t';
        first = false;
        line += Utf8Of(reading, form);
      }
      out << line << '\n';
    }
  }
}

// Follows a batch run from the command line: its progress on a terminal only, its warning and,
// through PrintError, its error on stderr. The command line never asks: a missing source is an
// error, and the finished target is not opened.
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
                        std::size_t offset) override {
    err_ << "tolvane-cli: warning: " << DisplayName(source, "standard input") << ": byte offset "
         << offset << ": not valid " << EncodingName(encoding)
         << " text; such bytes are copied to the output unchanged\n";
  }

  static void PrintError(const Error& error, std::ostream& err) {
    err << "tolvane-cli: ";
    const std::string message = error.what();
    if (!error.path().empty() && message.find(error.path().string()) == std::string::npos)
      err << DisplayName(error.path(), "standard output") << ": ";
    err << message << '\n';
  }

 private:
  std::ostream& err_;
  TerminalProgress progress_;
};

struct ConvertOptions {
  std::filesystem::path source;
  std::filesystem::path target;
  OutputEncodingChoice outputEncoding = OutputEncodingChoice::Same;
  bool quiet = false;
  unsigned jobs = 0;
};

int Convert(const LookupOptions& options, const ConvertOptions& convert, std::istream& in,
            std::ostream& out, bool errIsTerminal, std::ostream& err) {
  Session session;
  options.Load(session);
  const bool fromStdin = convert.source == kStandardStream;
  const bool toStdout = convert.target == kStandardStream;
  ConversionSettings settings = options.settings;
  if (options.format->count() == 0 && IsHtmlTarget(convert.target))
    settings.outputFormat = OutputFormat::html;
  std::filesystem::path target = convert.target;
  if (target.empty()) {
    target = DeriveTargetPath(convert.source);
    if (settings.outputFormat == OutputFormat::html) target.replace_extension(".html");
  }
  CliRunObserver observer(err, errIsTerminal && !convert.quiet);
  // temp.txt goes where --data-dir says, else in the scratch folder, made if need be.
  std::filesystem::path scratch = options.dataDir;
  if (scratch.empty()) {
    scratch = options.locations.scratch;
    if (settings.wrapWidth > 0) {
      try {
        options.locations.ForWriting(scratch);
      } catch (const Error& error) {
        CliRunObserver::PrintError(error, err);
        return 1;
      }
    }
  }
  BatchRequest request{convert.source, target, settings, session.Data(), scratch};
  request.sourceEncoding = options.encoding;
  request.targetEncoding = convert.outputEncoding;
  request.jobs = convert.jobs;
  if (fromStdin) request.sourceStream = &in;
  if (toStdout) request.targetStream = &out;
  const RunOutcome outcome = BatchConversion(request, observer);
  switch (outcome.status) {
    case RunStatus::Completed:
      if (!convert.quiet && !toStdout) err << "Wrote " << target.string() << '\n';
      return 0;
    case RunStatus::SourceMissing:
      CliRunObserver::PrintError(Error("File not found", convert.source), err);
      return 1;
    case RunStatus::Failed:
      CliRunObserver::PrintError(*outcome.error, err);
      return 1;
  }
  return 1;
}

}  // namespace

int RunCli(int argc, const char* const* argv, std::istream& in, std::ostream& out,
           std::ostream& err, const FileLocations& locations, bool errIsTerminal) {
  CLI::App app{
      "Tolvane: annotates Chinese text with Hanyu Pinyin. Reads GB2312/GBK, UTF-8, "
      "UTF-16 and GB18030 text.",
      "tolvane-cli"};
  app.set_version_flag("--version", std::string("tolvane-cli ") + TOLVANE_VERSION);
  app.require_subcommand(1);

  CLI::App* tableCommand =
      app.add_subcommand("table", "Print a built-in reading table: character TAB readings (UTF-8)");
  std::string tableName;
  tableCommand->add_option("TABLE", tableName, "numbered or plain")
      ->required()
      ->check(CLI::IsMember({"numbered", "plain"}));

  CLI::App* encodingCommand = app.add_subcommand(
      "encoding", "Print, for each FILE, the encoding convert would read it in: FILE TAB encoding");
  std::vector<std::filesystem::path> encodingFiles;
  EncodingChoice encodingChoice = EncodingChoice::Auto;
  encodingCommand->add_option("FILE", encodingFiles, "Text files")->required();
  AddEncodingOption(*encodingCommand, encodingChoice,
                    "As for convert: auto (default), utf-8, utf-16, gb18030, gbk or gb2312");

  CLI::App* lookupCommand = app.add_subcommand(
      "lookup",
      "Print, for each character of TEXT: character TAB display reading TAB width reading; or, "
      "with --lines, for each line of FILE its characters' display readings, TAB-separated, "
      "\" \" for a character without one (all in UTF-8)");
  LookupOptions lookupOptions;
  lookupOptions.AddTo(*lookupCommand, locations);
  lookupOptions.AddEncodingTo(*lookupCommand);
  std::string lookupText;
  std::string linesFile;
  CLI::Option* textOption = lookupCommand->add_option("TEXT", lookupText, "Text in UTF-8");
  CLI::Option* linesOption = lookupCommand->add_option(
      "--lines", linesFile, "A text file in any of the encodings, or - for standard input");
  textOption->excludes(linesOption);

  CLI::App* convertCommand = app.add_subcommand(
      "convert",
      "Annotate a text file into a new one (CR LF line ends), written in the source's encoding "
      "unless --output-encoding says otherwise. TARGET defaults to SOURCE with \"_拼音\" in "
      "front of the file name's extension; - as SOURCE reads standard input (TARGET is then "
      "required), - as TARGET writes standard output");
  LookupOptions convertOptions;
  convertOptions.AddTo(*convertCommand, locations);
  convertOptions.AddEncodingTo(*convertCommand);
  convertOptions.AddLayoutTo(*convertCommand, true);
  ConvertOptions convert;
  convertCommand->add_option("SOURCE", convert.source, "The text file to annotate, or -")
      ->required();
  convertCommand->add_option("TARGET", convert.target,
                             "The annotated file to write (replaced if it exists), or -");
  convertCommand
      ->add_option("--output-encoding", convert.outputEncoding,
                   "Encoding of TARGET: same (default: the source's; UTF-8 keeps a byte-order "
                   "mark exactly when the source has one, UTF-16 always has one), utf-8, "
                   "utf-8-bom, utf-16le, utf-16be or gb18030")
      ->transform(CLI::CheckedTransformer(kOutputEncodings, CLI::ignore_case))
      ->option_text("same|utf-8|utf-8-bom|utf-16le|utf-16be|gb18030");
  convertCommand->add_flag("-q,--quiet", convert.quiet, "No progress bar and no closing message");
  convertCommand
      ->add_option("-j,--jobs", convert.jobs,
                   "Threads that annotate (default 0: one per core); the output is the same "
                   "whatever the number")
      ->check(CLI::Range(0u, 1024u));

  CLI::App* previewCommand = app.add_subcommand(
      "preview", "Print the one-line preview of TEXT (UTF-8) in the chosen layout");
  LookupOptions previewOptions;
  previewOptions.AddTo(*previewCommand, locations);
  previewOptions.AddLayoutTo(*previewCommand, false);
  std::string previewText;
  previewCommand->add_option("TEXT", previewText, "Text in UTF-8")->required();

  try {
    app.parse(argc, argv);
    if (convertCommand->parsed() && convert.source == kStandardStream && convert.target.empty())
      throw CLI::ValidationError("SOURCE", "reading standard input (-) needs a TARGET");
    if (lookupCommand->parsed() && textOption->count() + linesOption->count() == 0)
      throw CLI::RequiredError("TEXT or --lines");
  } catch (const CLI::ParseError& e) {
    return app.exit(e, out, err) == 0 ? 0 : 2;
  }

  try {
    if (encodingCommand->parsed()) {
      for (const std::filesystem::path& file : encodingFiles) {
        const TextEncoding encoding = DetectFileEncoding(file, encodingChoice);
        out << file.string() << '\t' << EncodingName(encoding) << '\n';
      }
    } else if (tableCommand->parsed()) {
      Session session;
      session.InitNumberedTable();
      session.InitPlainTable();
      const auto data = session.Data();
      PrintTable(tableName == "plain" ? data->PlainReadingTable() : data->NumberedReadingTable(),
                 out);
    } else if (lookupCommand->parsed()) {
      Session session;
      lookupOptions.Load(session);
      LineReadings readings(session.Data());
      if (linesOption->count() > 0) {
        if (linesFile == kStandardStream) {
          StreamByteSource bytes(in, kStandardStream);
          PrintLineReadings(readings, bytes, lookupOptions, out);
        } else {
          FileByteSource bytes{std::filesystem::path(linesFile)};
          PrintLineReadings(readings, bytes, lookupOptions, out);
        }
      } else {
        PrintLookups(readings, lookupText, lookupOptions.settings, out);
      }
    } else if (convertCommand->parsed()) {
      return Convert(convertOptions, convert, in, out, errIsTerminal, err);
    } else if (previewCommand->parsed()) {
      Session session;
      previewOptions.Load(session);
      LineReadings readings(session.Data());
      if (previewOptions.settings.outputFormat == OutputFormat::html) {
        std::string block;
        HtmlPage::AppendLine(readings, UnicodeTextOf(previewText), TextForm::Unicode,
                             previewOptions.settings, block);
        out << block;
      } else {
        for (const std::string& line : PreviewLines(readings, UnicodeTextOf(previewText),
                                                    previewOptions.settings, TextForm::Unicode))
          out << unicode::ToUtf8Bytes(line) << '\n';
      }
    }
  } catch (const Error& e) {
    CliRunObserver::PrintError(e, err);
    return 1;
  }
  return 0;
}

}  // namespace tolvane
