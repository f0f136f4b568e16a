#pragma once

#include <iosfwd>

#include "platform/FileLocations.h"

namespace tolvane {

// The whole command-line program, with its streams and the locations of its files passed in so
// tests can run it in-process. Returns the exit status: 0 success, 1 a file or data error, 2 a
// usage error.
int RunCli(int argc, const char* const* argv, std::istream& in, std::ostream& out,
           std::ostream& err, const FileLocations& locations, bool errIsTerminal = false);

}  // namespace tolvane
