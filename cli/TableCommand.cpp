#include <ostream>
#include <string>

#include "cli/Command.h"
#include "cli/CommonOptions.h"
#include "platform/Cp936.h"
#include "reading/classic/ReadingTable.h"

namespace tolvane {
namespace {

// table numbered|plain: a built-in reading table, one character a line.
class TableCommand : public Command {
 public:
  explicit TableCommand(CLI::App& app)
      : Command(app.add_subcommand(
            "table", "Print a built-in reading table: character TAB readings (UTF-8)")) {
    subcommand_->add_option("TABLE", tableName_, "numbered or plain")
        ->required()
        ->check(CLI::IsMember({"numbered", "plain"}));
  }

  int Run(const CliContext& context) override {
    Session session;
    StartReadingData(session, DataToLoad::BuiltInTables, context.locations, {});
    const auto data = session.Data();
    const ReadingTable table =
        tableName_ == "plain" ? data->PlainReadingTable() : data->NumberedReadingTable();
    for (std::size_t i = 0; i < table.Count(); ++i) {
      const ReadingTableEntry& entry = table.At(i);
      context.out << cp936::DecodeToUtf8(entry.character) << '\t' << entry.readings << '\n';
    }
    return 0;
  }

 private:
  std::string tableName_;
};

}  // namespace

std::unique_ptr<Command> AddTableCommand(CLI::App& app) {
  return std::make_unique<TableCommand>(app);
}

}  // namespace tolvane
