#include <ostream>
#include <string>

#include "cli/Command.h"
#include "cli/CommonOptions.h"
#include "cli/StandardInput.h"
#include "engine/AnnotateLine.h"
#include "engine/SourceReader.h"
#include "platform/Cp936.h"
#include "platform/TextFile.h"
#include "platform/UnicodeText.h"
#include "reading/LineReadings.h"

namespace tolvane {
namespace {

// Text of either form as UTF-8 for the terminal.
std::string Utf8Of(std::string_view text, TextForm form) {
  return form == TextForm::Cp936 ? cp936::DecodeToUtf8(text) : unicode::ToUtf8Bytes(text);
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
void PrintLineReadings(LineReadings& readings, ByteSource& bytes, const ReadingOptions& options,
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

// lookup TEXT: each character's readings; lookup --lines FILE: each line's readings.
class LookupCommand : public Command {
 public:
  explicit LookupCommand(CLI::App& app)
      : Command(app.add_subcommand(
            "lookup",
            "Print, for each character of TEXT: character TAB display reading TAB width "
            "reading; or, with --lines, for each line of FILE its characters' display readings, "
            "TAB-separated, \" \" for a character without one (all in UTF-8)")) {
    options_.AddTo(*subcommand_);
    options_.AddEncodingTo(*subcommand_);
    textOption_ = subcommand_->add_option("TEXT", text_, "Text in UTF-8");
    linesOption_ = subcommand_->add_option(
        "--lines", linesFile_, "A text file in any of the encodings, or - for standard input");
    textOption_->excludes(linesOption_);
  }

  void CheckArguments() const override {
    options_.CheckReadingByContext();
    if (textOption_->count() + linesOption_->count() == 0)
      throw CLI::RequiredError("TEXT or --lines");
  }

  int Run(const CliContext& context) override {
    Session session;
    StartReadingData(session, DataToLoad::WithDataFiles, context.locations, options_.dataDir);
    LineReadings readings(session.Data());
    if (linesOption_->count() == 0) {
      PrintLookups(readings, text_, options_.settings, context.out);
    } else if (linesFile_ == kStandardStream) {
      StandardInputBytes bytes(context.in);
      PrintLineReadings(readings, bytes, options_, context.out);
    } else {
      FileByteSource bytes{std::filesystem::path(linesFile_)};
      PrintLineReadings(readings, bytes, options_, context.out);
    }
    return 0;
  }

 private:
  ReadingOptions options_;
  std::string text_;
  std::string linesFile_;
  CLI::Option* textOption_ = nullptr;
  CLI::Option* linesOption_ = nullptr;
};

}  // namespace

std::unique_ptr<Command> AddLookupCommand(CLI::App& app) {
  return std::make_unique<LookupCommand>(app);
}

}  // namespace tolvane
