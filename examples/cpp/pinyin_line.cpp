// Prints the pinyin of one line of Chinese text with Tolvane's library: each character with its
// reading, then the whole line as tolvane-cli's py-only layout writes it.
//
//   pinyin_line [--data-dir DIR] [TEXT]
//
// Without TEXT the line is read from standard input. DIR is the data folder to load (the phrase
// data, tone glyphs and user dictionaries); without it, the installed programs' data folder.
#include <tolvane/tolvane.h>

#include <cstddef>
#include <filesystem>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr const char* kUsage = "usage: pinyin_line [--data-dir DIR] [TEXT]\n";
constexpr const char* kHelp =
    "Prints each character of TEXT (or of the first line of standard input) with its pinyin,\n"
    "then the line in the py-only layout.\n"
    "  --data-dir DIR  the data folder to load (default: the installed programs' data)\n";

struct Arguments {
  std::filesystem::path dataFolder;
  std::string text;
  bool hasText = false;
  bool help = false;
};

// Returns false after printing the reason when the arguments are not what the program takes.
bool ParseArguments(int argc, char** argv, Arguments& arguments) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument == "--help") {
      arguments.help = true;
    } else if (argument == "--data-dir" && i + 1 < argc) {
      arguments.dataFolder = argv[++i];
    } else if (argument.rfind("--", 0) == 0 || arguments.hasText) {
      std::cerr << "pinyin_line: unexpected argument " << argument << '\n' << kUsage;
      return false;
    } else {
      arguments.text = argument;
      arguments.hasText = true;
    }
  }
  return true;
}

// The code points of valid UTF-8 text, each as its bytes: Readings() gives one reading for each.
std::vector<std::string_view> CodePoints(std::string_view text) {
  std::vector<std::string_view> codePoints;
  std::size_t start = 0;
  for (std::size_t i = 1; i <= text.size(); ++i) {
    const bool continuation =
        i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80;
    if (!continuation) {
      codePoints.push_back(text.substr(start, i - start));
      start = i;
    }
  }
  return codePoints;
}

void PrintPinyin(const tolvane::Converter& converter, std::string_view line) {
  const std::vector<std::string> readings = converter.Readings(line);
  const std::vector<std::string_view> characters = CodePoints(line);
  for (std::size_t i = 0; i < readings.size() && i < characters.size(); ++i) {
    if (!readings[i].empty()) std::cout << characters[i] << '\t' << readings[i] << '\n';
  }
  tolvane::Options pyOnly = converter.options();
  pyOnly.layout = tolvane::Layout::PyOnly;
  std::cout << converter.WithOptions(pyOnly).AnnotateLine(line) << '\n';
}

}  // namespace

int main(int argc, char** argv) {
  Arguments arguments;
  if (!ParseArguments(argc, argv, arguments)) return 2;
  if (arguments.help) {
    std::cout << kUsage << kHelp;
    return 0;
  }
  if (!arguments.hasText) {
    if (!std::getline(std::cin, arguments.text)) {
      std::cerr << "pinyin_line: no line on standard input\n" << kUsage;
      return 2;
    }
    if (!arguments.text.empty() && arguments.text.back() == '\r') arguments.text.pop_back();
  }
  try {
    const tolvane::Converter converter(tolvane::Options{}, arguments.dataFolder);
    PrintPinyin(converter, arguments.text);
  } catch (const tolvane::Error& error) {
    // The message is the reason; the path, when there is one and the message does not give it,
    // says which file it concerns.
    const std::string message = error.what();
    const std::string file = error.path().string();
    std::cerr << "pinyin_line: ";
    if (!file.empty() && message.find(file) == std::string::npos) std::cerr << file << ": ";
    std::cerr << message << '\n';
    return 1;
  }
  return 0;
}
