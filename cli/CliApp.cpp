#include "cli/CliApp.h"

#include <CLI/CLI.hpp>
#include <string>

#include "cli/Command.h"
#include "cli/CommonOptions.h"
#include "platform/Error.h"
#include "tolvane/Version.h"

namespace tolvane {

int RunCli(int argc, const char* const* argv, std::istream& in, std::ostream& out,
           std::ostream& err, const FileLocations& locations, bool errIsTerminal) {
  CLI::App app{
      "Tolvane: annotates Chinese text with Hanyu Pinyin. Reads GB2312/GBK, UTF-8, "
      "UTF-16 and GB18030 text.",
      "tolvane-cli"};
  app.set_version_flag("--version", std::string("tolvane-cli ") + kVersion);
  app.require_subcommand(1);
  // In the order --help lists them.
  const std::unique_ptr<Command> commands[] = {AddTableCommand(app), AddEncodingCommand(app),
                                               AddLookupCommand(app), AddConvertCommand(app),
                                               AddPreviewCommand(app)};
  Command* chosen = nullptr;
  try {
    app.parse(argc, argv);
    for (const std::unique_ptr<Command>& command : commands) {
      if (command->Chosen()) chosen = command.get();
    }
    if (chosen != nullptr) chosen->CheckArguments();
  } catch (const CLI::ParseError& e) {
    return app.exit(e, out, err) == 0 ? 0 : 2;
  }
  if (chosen == nullptr) return 0;
  try {
    return chosen->Run(CliContext{in, out, err, locations, errIsTerminal});
  } catch (const Error& e) {
    PrintError(e, err);
    return 1;
  }
}

}  // namespace tolvane
