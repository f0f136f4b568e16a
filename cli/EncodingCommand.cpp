#include <filesystem>
#include <ostream>
#include <vector>

#include "cli/Command.h"
#include "cli/CommonOptions.h"
#include "engine/SourceReader.h"
#include "platform/TextEncoding.h"

namespace tolvane {
namespace {

// encoding FILE...: the encoding convert would read each file in. It reads no readings.
class EncodingCommand : public Command {
 public:
  explicit EncodingCommand(CLI::App& app)
      : Command(app.add_subcommand("encoding",
                                   "Print, for each FILE, the encoding convert would read it "
                                   "in: FILE TAB encoding")) {
    subcommand_->add_option("FILE", files_, "Text files")->required();
    AddEncodingOption(*subcommand_, encoding_,
                      "As for convert: auto (default), utf-8, utf-16, gb18030, gbk or gb2312");
  }

  int Run(const CliContext& context) override {
    for (const std::filesystem::path& file : files_) {
      const TextEncoding encoding = DetectFileEncoding(file, encoding_);
      context.out << file.string() << '\t' << EncodingName(encoding) << '\n';
    }
    return 0;
  }

 private:
  std::vector<std::filesystem::path> files_;
  EncodingChoice encoding_ = EncodingChoice::Auto;
};

}  // namespace

std::unique_ptr<Command> AddEncodingCommand(CLI::App& app) {
  return std::make_unique<EncodingCommand>(app);
}

}  // namespace tolvane
