#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "tolvane/Options.h"

// What the library's tests share: the build's data folder, tolvane-cli run as a user runs it,
// and text in the encodings files come in.
namespace tolvane::test {

// Each layout with the default options, then the first-reading policy with numbered tones: the
// head of the option tables the file tests run over.
std::vector<Options> EveryLayoutAndClassicPolicy();

// tolvane-cli's options for `options`, as a user would give them for the same conversion: the
// default layout (py) is not named, so that the target's name and the source choose as they do
// for the library; a data folder, with --data-dir.
std::vector<std::string> CliOptions(const Options& options);

// Runs the build's tolvane-cli with `arguments` and standard input from `input` (none when
// empty); returns its exit status. Its standard error goes to `errors` when given.
int RunCli(const std::vector<std::string>& arguments, const std::filesystem::path& input = {},
           const std::filesystem::path& output = {}, std::string* errors = nullptr);

// `textUtf8` in `encoding` (an iconv name: "UTF-16LE", "GB18030", "GBK"), without a
// byte-order mark.
std::string Encode(std::string_view textUtf8, const char* encoding);

// A short name of the options for failure messages.
std::string Describe(const Options& options);

}  // namespace tolvane::test
