#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/CommonOptions.h"

namespace tolvane {
namespace {

// The options of a reading command parsed on a parser of their own, as a command does: the
// settings they give, or the text of the usage error they raise.
struct Parsed {
  ConversionSettings settings;
  std::string error;
};

Parsed Parse(std::vector<std::string> args) {
  CLI::App app;
  ReadingOptions options;
  options.AddTo(app);
  std::vector<std::string> reversed(args.rbegin(), args.rend());  // CLI11 takes them backwards
  try {
    app.parse(reversed);
    options.CheckReadingByContext();
  } catch (const CLI::ParseError& error) {
    return {options.settings, error.what()};
  }
  return {options.settings, ""};
}

ConversionSettings ByContext(void (*change)(ConversionSettings&)) {
  ConversionSettings settings;
  settings.polyphone = PolyphonePolicy::ByContext;
  change(settings);
  return settings;
}

TEST(ReadingOptions, TheCommandLineReadsByContextUnlessToldOtherwise) {
  EXPECT_EQ(CommandLineSettings(), ByContext([](ConversionSettings&) {}));
  // Everything else as the window's designed settings have it.
  ConversionSettings designed;
  ConversionSettings commandLine = CommandLineSettings();
  commandLine.polyphone = designed.polyphone;
  EXPECT_EQ(commandLine, designed);
}

TEST(ReadingOptions, ParseIntoTheSettings) {
  const struct {
    std::vector<std::string> args;
    ConversionSettings expected;
  } cases[] = {
      {{}, ByContext([](ConversionSettings&) {})},
      {{"--polyphone", "first"}, ConversionSettings{}},
      {{"--polyphone", "all"},
       [] {
         ConversionSettings s;
         s.polyphone = PolyphonePolicy::AllReadings;
         return s;
       }()},
      {{"--neutral-tone", "citation"},
       ByContext([](ConversionSettings& s) { s.neutralTone = NeutralTone::Citation; })},
      {{"--neutral-tone", "CITATION"},
       ByContext([](ConversionSettings& s) { s.neutralTone = NeutralTone::Citation; })},
      {{"--neutral-tone", "spoken"}, ByContext([](ConversionSettings&) {})},
      {{"--sandhi"}, ByContext([](ConversionSettings& s) { s.sandhi = true; })},
      {{"--erhua", "er"}, ByContext([](ConversionSettings& s) { s.erhua = false; })},
      {{"--erhua", "r"}, ByContext([](ConversionSettings&) {})},
      {{"--neutral-tone", "citation", "--erhua", "er"}, ByContext([](ConversionSettings& s) {
         s.neutralTone = NeutralTone::Citation;
         s.erhua = false;
       })},
      {{"--polyphone", "context", "--sandhi", "--erhua", "er", "--tone", "numbered"},
       ByContext([](ConversionSettings& s) {
         s.sandhi = true;
         s.erhua = false;
         s.toneStyle = ToneStyle::Numbered;
       })},
  };
  for (const auto& c : cases) {
    const Parsed parsed = Parse(c.args);
    std::string args;
    for (const std::string& arg : c.args) args += arg + " ";
    EXPECT_EQ(parsed.error, "") << args;
    EXPECT_EQ(parsed.settings, c.expected) << args;
  }
}

TEST(ReadingOptions, AnOptionOfReadingByContextWithAnotherPolicyIsAnErrorNamingIt) {
  const struct {
    std::vector<std::string> args;
    std::string named;  // empty: accepted
  } cases[] = {
      {{"--polyphone", "first", "--sandhi"}, "--sandhi"},
      {{"--polyphone", "all", "--neutral-tone", "spoken"}, "--neutral-tone"},
      {{"--polyphone", "first", "--erhua", "r"}, "--erhua"},
      {{"--neutral-tone", "citation", "--erhua", "r"}, "--erhua r"},
      {{"--neutral-tone", "citation"}, ""},
      {{"--polyphone", "first"}, ""},
      {{"--polyphone", "context", "--sandhi"}, ""},
  };
  for (const auto& c : cases) {
    const std::string error = Parse(c.args).error;
    std::string what;
    for (const std::string& arg : c.args) what += arg + " ";
    if (c.named.empty()) {
      EXPECT_EQ(error, "") << what;
    } else {
      EXPECT_EQ(error.rfind(c.named + ":", 0), 0u) << what << ": " << error;
    }
  }
}

TEST(ReadingOptions, UnknownChoicesAreUsageErrors) {
  for (const std::vector<std::string>& args : {std::vector<std::string>{"--neutral-tone", "light"},
                                               {"--erhua", "yes"},
                                               {"--erhua", ""},
                                               {"--sandhi=maybe"}}) {
    EXPECT_NE(Parse(args).error, "") << args[0];
  }
}

}  // namespace
}  // namespace tolvane
