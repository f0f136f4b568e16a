#include "cli/CliApp.h"

#include <CLI/CLI.hpp>
#include <map>
#include <ostream>

#include "cli/TerminalProgress.h"
#include "dictionary/DataFiles.h"
#include "dictionary/Lookup.h"
#include "dictionary/ReadingTable.h"
#include "engine/AnnotateLine.h"
#include "engine/BatchConversion.h"
#include "platform/Cp936.h"
#include "platform/Error.h"

namespace tolvane {
namespace {

const std::map<std::string, ToneStyle> kToneStyles = {
    {"marked", ToneStyle::Marked}, {"numbered", ToneStyle::Numbered}, {"plain", ToneStyle::Plain}};
const std::map<std::string, PolyphonePolicy> kPolicies = {{"first", PolyphonePolicy::FirstReading},
                                                          {"all", PolyphonePolicy::AllReadings}};
const std::map<std::string, OutputFormat> kFormats = {{"py", OutputFormat::rb_output_py},
                                                      {"han", OutputFormat::rb_output_han},
                                                      {"hanpy", OutputFormat::rb_output_hanpy},
                                                      {"pyhan", OutputFormat::rb_output_pyhan},
                                                      {"py-only", OutputFormat::rb_output_py_only}};

// Options shared by the commands that look readings up.
struct LookupOptions {
  ConversionSettings settings;
  std::filesystem::path dataDir;

  void AddTo(CLI::App& command, const std::filesystem::path& programFolder) {
    dataDir = programFolder;
    command
        .add_option("--tone", settings.toneStyle, "Tone style: marked (default), numbered or plain")
        ->transform(CLI::CheckedTransformer(kToneStyles, CLI::ignore_case));
    command
        .add_option("--polyphone", settings.polyphone,
                    "Characters with several readings: first (default) or all")
        ->transform(CLI::CheckedTransformer(kPolicies, CLI::ignore_case));
    command.add_flag("--wade-giles", settings.wadeGiles,
                     "Consult the Wade-Giles user dictionary instead of the standard one");
    command
        .add_option("--data-dir", dataDir,
                    "Folder of the data files (user dictionaries, tone glyphs) and temp.txt; "
                    "default: the program folder")
        ->check(CLI::ExistingDirectory);
  }

  void AddLayoutTo(CLI::App& command, bool withWrap) {
    command
        .add_option("--format", settings.outputFormat,
                    "Layout: py (pinyin line above the characters, default), han (characters "
                    "above pinyin), hanpy (character(reading)), pyhan ((reading)character), "
                    "py-only (readings alone)")
        ->transform(CLI::CheckedTransformer(kFormats, CLI::ignore_case));
    command.add_flag("--no-align{false}", settings.align,
                     "In the py and han layouts, keep the character line as it is instead of "
                     "moving each character under its reading");
    if (withWrap) {
      command
          .add_option("--wrap", settings.wrapWidth,
                      "Re-cut the lines into pieces of this many characters first "
                      "(0 = no re-cut, default): 0, 100, 50, 40, 30, 20 or 10")
          ->check(CLI::IsMember({0, 100, 50, 40, 30, 20, 10}));
    }
  }

  // The start-up steps the lookup needs: data files, then the built-in tables.
  void Load() const {
    LoadDataFiles(dataDir);
    InitNumberedTable();
    InitPlainTable();
  }
};

void PrintTable(const ReadingTable& table, std::ostream& out) {
  for (std::size_t i = 0; i < table.Count(); ++i) {
    const ReadingTableEntry& entry = table.At(i);
    out << cp936::DecodeToUtf8(entry.character) << '\t' << entry.readings << '\n';
  }
}

void PrintLookups(std::string_view textUtf8, const ConversionSettings& settings,
                  std::ostream& out) {
  const std::string text = cp936::EncodeFromUtf8(textUtf8);
  for (std::size_t pos = 0; pos < text.size();) {
    const std::string_view character(text.data() + pos, cp936::CharLengthAt(text, pos));
    pos += character.size();
    out << cp936::DecodeToUtf8(character) << '\t'
        << cp936::DecodeToUtf8(LookupReading(character, settings)) << '\t'
        << cp936::DecodeToUtf8(LookupNumberedReading(character, settings)) << '\n';
  }
}

// Drives a batch run from the command line: it never asks (the missing source is an error, the
// finished target is not opened) and shows progress on a terminal only.
class CliBatchHost : public BatchHost {
 public:
  CliBatchHost(std::ostream& err, bool showProgress) : err_(err), progress_(err, showProgress) {}

  void ShowProgress(std::size_t lineCount) override { progress_.Start(lineCount); }
  void StepProgress() override { progress_.Step(); }
  void FillProgress() override { progress_.Fill(); }
  void HideProgress() override { progress_.Finish(); }
  bool Ask(Question, const std::string&) override { return false; }
  void ChooseSourceFile() override {}
  void OpenWithSystem(const std::filesystem::path&) override {}
  void ReportError(const Error& error) override { PrintError(error, err_); }

  static void PrintError(const Error& error, std::ostream& err) {
    err << "tolvane-cli: ";
    const std::string message = error.what();
    if (!error.path().empty() && message.find(error.path().string()) == std::string::npos)
      err << error.path().string() << ": ";
    err << message << '\n';
  }

 private:
  std::ostream& err_;
  TerminalProgress progress_;
};

int Convert(const LookupOptions& options, const std::filesystem::path& source,
            std::filesystem::path target, bool quiet, bool errIsTerminal, std::ostream& err) {
  options.Load();
  if (target.empty()) target = DeriveTargetPath(source);
  CliBatchHost host(err, errIsTerminal && !quiet);
  const BatchRequest request{source, target, options.settings, options.dataDir};
  switch (BatchConversion(request, host)) {
    case BatchOutcome::Completed:
      if (!quiet) err << "Wrote " << target.string() << '\n';
      return 0;
    case BatchOutcome::SourceMissing:
      CliBatchHost::PrintError(Error("File not found", source), err);
      return 1;
    case BatchOutcome::Failed:
      return 1;
  }
  return 1;
}

}  // namespace

int RunCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
           const std::filesystem::path& programFolder, bool errIsTerminal) {
  CLI::App app{"Tolvane: annotates Simplified Chinese (GB2312) text with Hanyu Pinyin.",
               "tolvane-cli"};
  app.require_subcommand(1);

  CLI::App* tableCommand =
      app.add_subcommand("table", "Print a built-in reading table: character TAB readings (UTF-8)");
  std::string tableName;
  tableCommand->add_option("TABLE", tableName, "numbered or plain")
      ->required()
      ->check(CLI::IsMember({"numbered", "plain"}));

  CLI::App* lookupCommand = app.add_subcommand(
      "lookup",
      "Print, for each character of TEXT: character TAB display reading TAB width reading (UTF-8)");
  LookupOptions lookupOptions;
  lookupOptions.AddTo(*lookupCommand, programFolder);
  std::string lookupText;
  lookupCommand->add_option("TEXT", lookupText, "Text in UTF-8")->required();

  CLI::App* convertCommand = app.add_subcommand(
      "convert",
      "Annotate a GB2312 text file into a new GB2312 file (CR LF line ends). TARGET defaults to "
      "SOURCE with \"_拼音\" in front of the file name's extension");
  LookupOptions convertOptions;
  convertOptions.AddTo(*convertCommand, programFolder);
  convertOptions.AddLayoutTo(*convertCommand, true);
  std::filesystem::path source;
  std::filesystem::path target;
  bool quiet = false;
  convertCommand->add_option("SOURCE", source, "The GB2312 text file to annotate")->required();
  convertCommand->add_option("TARGET", target,
                             "The annotated file to write (replaced if it exists)");
  convertCommand->add_flag("-q,--quiet", quiet, "No progress bar and no closing message");

  CLI::App* previewCommand = app.add_subcommand(
      "preview", "Print the one-line preview of TEXT (UTF-8) in the chosen layout");
  LookupOptions previewOptions;
  previewOptions.AddTo(*previewCommand, programFolder);
  previewOptions.AddLayoutTo(*previewCommand, false);
  std::string previewText;
  previewCommand->add_option("TEXT", previewText, "Text in UTF-8")->required();

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return app.exit(e, out, err) == 0 ? 0 : 2;
  }

  try {
    if (tableCommand->parsed()) {
      InitNumberedTable();
      InitPlainTable();
      PrintTable(tableName == "plain" ? PlainReadingTable() : NumberedReadingTable(), out);
    } else if (lookupCommand->parsed()) {
      lookupOptions.Load();
      PrintLookups(lookupText, lookupOptions.settings, out);
    } else if (convertCommand->parsed()) {
      return Convert(convertOptions, source, target, quiet, errIsTerminal, err);
    } else if (previewCommand->parsed()) {
      previewOptions.Load();
      for (const std::string& line :
           PreviewLines(cp936::EncodeFromUtf8(previewText), previewOptions.settings))
        out << cp936::DecodeToUtf8(line) << '\n';
    }
  } catch (const Error& e) {
    CliBatchHost::PrintError(e, err);
    return 1;
  }
  return 0;
}

}  // namespace tolvane
