#include "ApiTestSupport.h"

#include <iconv.h>
#include <sys/wait.h>

#include <cerrno>
#include <stdexcept>

#include "support/TestSupport.h"

namespace tolvane::test {
namespace {

const char* PolicyName(Policy policy) {
  switch (policy) {
    case Policy::First:
      return "first";
    case Policy::All:
      return "all";
    case Policy::Context:
      break;
  }
  return "context";
}

const char* ToneName(Tone tone) {
  switch (tone) {
    case Tone::Numbered:
      return "numbered";
    case Tone::Plain:
      return "plain";
    case Tone::Marked:
      break;
  }
  return "marked";
}

const char* LayoutName(Layout layout) {
  switch (layout) {
    case Layout::Han:
      return "han";
    case Layout::HanPy:
      return "hanpy";
    case Layout::PyHan:
      return "pyhan";
    case Layout::PyOnly:
      return "py-only";
    case Layout::Html:
      return "html";
    case Layout::Py:
      break;
  }
  return "py";
}

// The argument quoted for the shell.
std::string Quoted(std::string_view argument) {
  std::string quoted = "'";
  for (const char c : argument) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

}  // namespace

std::vector<std::string> CliOptions(const Options& options) {
  std::vector<std::string> arguments = {"--polyphone", PolicyName(options.policy), "--tone",
                                        ToneName(options.tone)};
  if (options.policy == Policy::Context) {
    arguments.push_back("--neutral-tone");
    arguments.push_back(options.neutralTones == NeutralTones::Citation ? "citation" : "spoken");
    if (options.sandhi) arguments.push_back("--sandhi");
    if (options.neutralTones == NeutralTones::Spoken || !options.erhua) {
      arguments.push_back("--erhua");
      arguments.push_back(options.erhua ? "r" : "er");
    }
  }
  if (options.orthography) arguments.push_back("--orthography");
  if (options.wadeGiles) arguments.push_back("--wade-giles");
  if (options.layout != Layout::Py) {
    arguments.push_back("--format");
    arguments.push_back(LayoutName(options.layout));
  }
  if (!options.align) arguments.push_back("--no-align");
  if (options.wrapWidth > 0) {
    arguments.push_back("--wrap");
    arguments.push_back(std::to_string(options.wrapWidth));
  }
  arguments.push_back("--data-dir");
  arguments.push_back(BuildProgramFolder().string());
  return arguments;
}

int RunCli(const std::vector<std::string>& arguments, const std::filesystem::path& input,
           const std::filesystem::path& output, std::string* errors) {
  const TempDir folder;
  std::string command = Quoted((BuildProgramFolder() / "tolvane-cli").string());
  for (const std::string& argument : arguments) command += " " + Quoted(argument);
  if (!input.empty()) command += " < " + Quoted(input.string());
  if (!output.empty()) command += " > " + Quoted(output.string());
  command += " 2> " + Quoted((folder / "stderr").string());
  const int status = std::system(command.c_str());
  if (errors != nullptr) *errors = ReadBytes(folder / "stderr");
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string Encode(std::string_view textUtf8, const char* encoding) {
  iconv_t conversion = ::iconv_open(encoding, "UTF-8");
  if (conversion == reinterpret_cast<iconv_t>(-1))
    throw std::runtime_error(std::string("no iconv conversion to ") + encoding);
  std::string in(textUtf8);
  std::string out(in.size() * 4 + 16, '\0');
  char* inPointer = in.data();
  std::size_t inLeft = in.size();
  char* outPointer = out.data();
  std::size_t outLeft = out.size();
  const std::size_t done = ::iconv(conversion, &inPointer, &inLeft, &outPointer, &outLeft);
  ::iconv_close(conversion);
  if (done == static_cast<std::size_t>(-1))
    throw std::runtime_error(std::string("cannot encode the text in ") + encoding);
  out.resize(out.size() - outLeft);
  return out;
}

std::vector<Options> EveryLayoutAndClassicPolicy() {
  std::vector<Options> all;
  for (const Layout layout :
       {Layout::Py, Layout::Han, Layout::HanPy, Layout::PyHan, Layout::PyOnly, Layout::Html}) {
    Options options;
    options.layout = layout;
    all.push_back(options);
  }
  Options first;
  first.policy = Policy::First;
  first.tone = Tone::Numbered;
  all.push_back(first);
  return all;
}

std::string Describe(const Options& options) {
  std::string text = std::string(PolicyName(options.policy)) + " " + ToneName(options.tone) + " " +
                     LayoutName(options.layout);
  if (options.neutralTones == NeutralTones::Citation) text += " citation";
  if (options.sandhi) text += " sandhi";
  if (!options.erhua) text += " er";
  if (options.orthography) text += " orthography";
  if (!options.align) text += " no-align";
  if (options.wrapWidth > 0) text += " wrap " + std::to_string(options.wrapWidth);
  return text;
}

}  // namespace tolvane::test
