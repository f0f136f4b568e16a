#include "cli/CliApp.h"

#include <CLI/CLI.hpp>
#include <map>
#include <ostream>

#include "dictionary/DataFiles.h"
#include "dictionary/Lookup.h"
#include "dictionary/ReadingTable.h"
#include "platform/Cp936.h"
#include "platform/Error.h"

namespace tolvane {
namespace {

const std::map<std::string, ToneStyle> kToneStyles = {
    {"marked", ToneStyle::Marked}, {"numbered", ToneStyle::Numbered}, {"plain", ToneStyle::Plain}};
const std::map<std::string, PolyphonePolicy> kPolicies = {{"first", PolyphonePolicy::FirstReading},
                                                          {"all", PolyphonePolicy::AllReadings}};

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

}  // namespace

int RunCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
           const std::filesystem::path& programFolder, bool /*errIsTerminal*/) {
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
    }
  } catch (const Error& e) {
    err << "tolvane-cli: ";
    if (!e.path().empty() && std::string(e.what()).find(e.path().string()) == std::string::npos)
      err << e.path().string() << ": ";
    err << e.what() << '\n';
    return 1;
  }
  return 0;
}

}  // namespace tolvane
