#pragma once

#include <CLI/CLI.hpp>
#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

#include "documents/DocumentFormat.h"
#include "platform/Error.h"
#include "platform/FileLocations.h"
#include "platform/TextEncoding.h"
#include "reading/Session.h"
#include "settings/ConversionSettings.h"

// What several commands share: their options, the start-up of the reading data and the way
// errors are printed.
namespace tolvane {

// "-" names standard input as SOURCE or FILE, and standard output as TARGET.
inline constexpr const char* kStandardStream = "-";

// --encoding: how the file a command reads is decoded.
void AddEncodingOption(CLI::App& command, EncodingChoice& encoding, const std::string& help);

// The settings the command line starts from: the window's designed ones, but reading by context,
// which reads most text right where the first reading of the built-in table often does not.
ConversionSettings CommandLineSettings();

// The options of the commands that look readings up.
struct ReadingOptions {
  ConversionSettings settings = CommandLineSettings();
  std::filesystem::path dataDir;  // --data-dir: every file of the run in this folder
  EncodingChoice encoding = EncodingChoice::Auto;
  CLI::Option* format = nullptr;  // --format, where the command has it
  // --format docx, odt, epub, srt or vtt, where the command writes documents.
  std::optional<DocumentFormat> document;

  // --tone, --polyphone, --neutral-tone, --sandhi, --erhua, --wade-giles and --data-dir.
  void AddTo(CLI::App& command);
  // Raises CLI::ValidationError, naming the option, for an option of reading by context given
  // with another policy, and for --erhua r with citation tones: each would change nothing, and a
  // user who gives one expects it to.
  void CheckReadingByContext() const;
  // Raises CLI::ValidationError naming --orthography when it is given with another policy than
  // reading by context, which its words come from.
  void CheckOrthography() const;
  // --encoding of the file the command reads.
  void AddEncodingTo(CLI::App& command);
  // --format, --no-align and --orthography, and --wrap when `withWrap`; --format takes the
  // document formats too when `withDocuments`.
  void AddLayoutTo(CLI::App& command, bool withWrap, bool withDocuments = false);

 private:
  CLI::Option* polyphone_ = nullptr;
  CLI::Option* neutralTone_ = nullptr;
  CLI::Option* sandhi_ = nullptr;
  CLI::Option* erhua_ = nullptr;
};

// What a command reads readings from.
enum class DataToLoad {
  BuiltInTables,  // the built-in tables alone
  WithDataFiles,  // the data files (user dictionaries, tone glyphs) as well
};

// The start-up of the reading data, the one place where a command starts it: the data files,
// when asked for, from `dataDir` (--data-dir) or else where `locations` says; then the built-in
// tables (StartSession).
void StartReadingData(Session& session, DataToLoad data, const FileLocations& locations,
                      const std::filesystem::path& dataDir);

// The text of a command-line argument, which the terminal gives in UTF-8.
std::string UnicodeTextOf(std::string_view argumentUtf8);

// `path` as a message names it: `standardName` for "-".
std::string DisplayName(const std::filesystem::path& path, const char* standardName);

// "tolvane-cli: " and the error's message, naming the file when the message does not.
void PrintError(const Error& error, std::ostream& err);

}  // namespace tolvane
