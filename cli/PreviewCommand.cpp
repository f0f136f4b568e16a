#include <ostream>
#include <string>

#include "cli/Command.h"
#include "cli/CommonOptions.h"
#include "engine/AnnotateLine.h"
#include "engine/HtmlPage.h"
#include "platform/UnicodeText.h"
#include "reading/LineReadings.h"

namespace tolvane {
namespace {

// preview TEXT: the window's one-line preview of TEXT, in the chosen layout.
class PreviewCommand : public Command {
 public:
  explicit PreviewCommand(CLI::App& app)
      : Command(app.add_subcommand(
            "preview", "Print the one-line preview of TEXT (UTF-8) in the chosen layout")) {
    options_.AddTo(*subcommand_);
    options_.AddLayoutTo(*subcommand_, false);
    subcommand_->add_option("TEXT", text_, "Text in UTF-8")->required();
  }

  void CheckArguments() const override {
    options_.CheckReadingByContext();
    options_.CheckOrthography();
  }

  int Run(const CliContext& context) override {
    Session session;
    StartReadingData(session, DataToLoad::WithDataFiles, context.locations, options_.dataDir);
    LineReadings readings(session.Data());
    if (options_.settings.outputFormat == OutputFormat::html) {
      std::string block;
      HtmlPage::AppendLine(readings, UnicodeTextOf(text_), TextForm::Unicode, options_.settings,
                           block);
      context.out << block;
    } else {
      for (const std::string& line :
           PreviewLines(readings, UnicodeTextOf(text_), options_.settings, TextForm::Unicode))
        context.out << unicode::ToUtf8Bytes(line) << '\n';
    }
    return 0;
  }

 private:
  ReadingOptions options_;
  std::string text_;
};

}  // namespace

std::unique_ptr<Command> AddPreviewCommand(CLI::App& app) {
  return std::make_unique<PreviewCommand>(app);
}

}  // namespace tolvane
