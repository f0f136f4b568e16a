#pragma once

#include <filesystem>
#include <iosfwd>

namespace tolvane {

// The whole command-line program, with its streams and program folder passed in so tests can
// run it in-process. Returns the exit status: 0 success, 1 a file or data error, 2 a usage error.
int RunCli(int argc, const char* const* argv, std::istream& in, std::ostream& out,
           std::ostream& err, const std::filesystem::path& programFolder,
           bool errIsTerminal = false);

}  // namespace tolvane
