#include <unistd.h>

#include <iostream>

#include "cli/CliApp.h"
#include "platform/Error.h"
#include "platform/FileLocations.h"
#include "platform/ProgramFolder.h"
#include "platform/ScratchCleanup.h"

int main(int argc, char** argv) {
  // Standard output carries whole converted files; C's stdio need not see them.
  std::ios::sync_with_stdio(false);
  // A run stopped from outside takes its scratch files with it.
  tolvane::RemoveScratchOnTerminatingSignals();
  try {
    return tolvane::RunCli(argc, argv, std::cin, std::cout, std::cerr,
                           tolvane::LocateFiles(tolvane::ProgramFolder()),
                           ::isatty(STDERR_FILENO) != 0);
  } catch (const std::exception& e) {
    std::cerr << "tolvane-cli: " << e.what() << '\n';
    return 1;
  }
}
