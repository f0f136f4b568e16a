#include <istream>
#include <iterator>
#include <ostream>
#include <string>

#include "cli/Command.h"
#include "cli/CommonOptions.h"
#include "engine/AnnotateLine.h"
#include "platform/Cp936.h"
#include "platform/EncodingDetection.h"
#include "platform/TextCodec.h"
#include "platform/TextFile.h"
#include "platform/UnicodeText.h"
#include "reading/LineReadings.h"

namespace tolvane {
namespace {

std::string ReadAll(std::istream& in) {
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Text of either form as UTF-8 for the terminal.
std::string Utf8Of(std::string_view text, TextForm form) {
  return form == TextForm::Cp936 ? cp936::DecodeToUtf8(text) : unicode::ToUtf8Bytes(text);
}

// For each character of the text: the character, its display reading and its width reading.
// A character that code page 936 lacks has no reading but by context.
void PrintLookups(std::string_view textUtf8, const ConversionSettings& settings,
                  std::ostream& out) {
  ForEachReadingOfLine<TextForm::Unicode>(
      UnicodeTextOf(textUtf8), settings,
      [&](std::string_view character, char32_t, const PositionReading& reading) {
        out << unicode::ToUtf8Bytes(character) << '\t' << unicode::ToUtf8Bytes(reading.display)
            << '\t' << cp936::DecodeToUtf8(reading.width) << '\n';
      });
}

// For every line of the file: the display readings of its characters, TAB-separated, in UTF-8.
void PrintLineReadings(std::string_view bytes, const ReadingOptions& options, std::ostream& out) {
  const SourceEncoding encoding = ChooseEncoding(bytes, options.encoding);
  const TextForm form = FormOf(encoding.encoding.encoding);
  std::string decoded;
  std::string_view text = bytes;
  if (form == TextForm::Unicode) {
    decoded =
        DecodeText(bytes.substr(encoding.byteOrderMarkLength), encoding.encoding.encoding).text;
    text = decoded;
  }
  std::string line;
  for (const std::string_view source : SplitLines(text)) {
    line.clear();
    bool first = true;
    for (const std::string_view reading : ReadingsOfLine(source, form, options.settings)) {
      if (!first) line += '\t';
      first = false;
      line += Utf8Of(reading, form);
    }
    out << line << '\n';
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
    if (textOption_->count() + linesOption_->count() == 0)
      throw CLI::RequiredError("TEXT or --lines");
  }

  int Run(const CliContext& context) override {
    StartReadingData(ReadingData::WithDataFiles, context.locations, options_.dataDir);
    if (linesOption_->count() > 0) {
      const std::string bytes = linesFile_ == kStandardStream
                                    ? ReadAll(context.in)
                                    : ReadWholeFile(std::filesystem::path(linesFile_));
      PrintLineReadings(bytes, options_, context.out);
    } else {
      PrintLookups(text_, options_.settings, context.out);
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
