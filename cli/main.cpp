#include <unistd.h>

#include <iostream>

#include "cli/CliApp.h"
#include "cli/StandardDescriptors.h"
#include "cli/StandardOutput.h"
#include "platform/Error.h"
#include "platform/FileLocations.h"
#include "platform/ProgramFolder.h"
#include "platform/ScratchCleanup.h"

int main(int argc, char** argv) {
  tolvane::TakeClosedStandardDescriptors();
  // Standard output carries whole converted files; C's stdio need not see them.
  std::ios::sync_with_stdio(false);
  // A run stopped from outside takes its scratch files with it.
  tolvane::RemoveScratchOnTerminatingSignals();
  // Every command's output goes through a buffer that remembers why a write failed, so that a
  // full disk or a closed stream fails the command with its reason.
  tolvane::DescriptorOutputBuffer outBuffer(STDOUT_FILENO);
  std::ostream out(&outBuffer);
  int status = 1;
  try {
    status = tolvane::RunCli(argc, argv, std::cin, out, std::cerr,
                             tolvane::LocateFiles(tolvane::ProgramFolder()),
                             ::isatty(STDERR_FILENO) != 0);
  } catch (const std::exception& e) {
    std::cerr << "tolvane-cli: " << e.what() << '\n';
  }
  return tolvane::FinishStandardOutput(out, outBuffer, status, std::cerr);
}
