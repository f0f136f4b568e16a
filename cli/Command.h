#pragma once

#include <CLI/CLI.hpp>
#include <iosfwd>
#include <memory>

#include "platform/FileLocations.h"

namespace tolvane {

// What a command runs with: the program's streams and the locations of its files.
struct CliContext {
  std::istream& in;
  std::ostream& out;
  std::ostream& err;
  const FileLocations& locations;
  bool errIsTerminal;
};

// One subcommand of tolvane-cli. Its Add...Command function declares the subcommand with its
// arguments and options on the program's parser, whose results land in the command; the program
// then runs the one command the parser chose.
class Command {
 public:
  explicit Command(CLI::App* subcommand) : subcommand_(subcommand) {}
  virtual ~Command() = default;
  Command(const Command&) = delete;
  Command& operator=(const Command&) = delete;

  bool Chosen() const { return subcommand_->parsed(); }

  // Checks, once the parser has accepted the arguments, what it cannot check by itself; raises a
  // CLI::ParseError, which makes it a usage error.
  virtual void CheckArguments() const {}

  // Returns the exit status. Raises Error for a file or data error.
  virtual int Run(const CliContext& context) = 0;

 protected:
  CLI::App* subcommand_;
};

// The commands, one file each.
std::unique_ptr<Command> AddTableCommand(CLI::App& app);
std::unique_ptr<Command> AddEncodingCommand(CLI::App& app);
std::unique_ptr<Command> AddLookupCommand(CLI::App& app);
std::unique_ptr<Command> AddConvertCommand(CLI::App& app);
std::unique_ptr<Command> AddPreviewCommand(CLI::App& app);

}  // namespace tolvane
