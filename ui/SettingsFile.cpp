#include "ui/SettingsFile.h"

#include <array>
#include <optional>

#include "platform/Cp936.h"
#include "platform/TextFile.h"

namespace tolvane {
namespace {

constexpr std::array kToneStyles = {ToneStyle::Numbered, ToneStyle::Marked, ToneStyle::Plain};

constexpr std::array kOutputFormats = {OutputFormat::rb_output_py, OutputFormat::rb_output_han,
                                       OutputFormat::rb_output_hanpy, OutputFormat::rb_output_pyhan,
                                       OutputFormat::rb_output_py_only};

constexpr std::array kWrapWidths = {0, 100, 50, 40, 30, 20, 10};

constexpr std::array kNeutralTones = {NeutralTone::Spoken, NeutralTone::Citation};

// The lines after the eighth write their switches as 0 for off and 1 for on.
constexpr std::array kSwitches = {false, true};

// The choice that a line names: exactly one digit from "0" to the last index, nothing around it.
template <typename T, std::size_t N>
std::optional<T> Choice(const std::string& line, const std::array<T, N>& choices) {
  if (line.size() != 1 || line[0] < '0') return std::nullopt;
  const auto index = static_cast<std::size_t>(line[0] - '0');
  if (index >= N) return std::nullopt;
  return choices[index];
}

// The digit that saves `value`; a value outside the table (which the controls cannot hold) is
// saved as the first choice, so the file always reads back as a valid state.
template <typename T, std::size_t N>
std::string Digit(const T& value, const std::array<T, N>& choices) {
  for (std::size_t i = 0; i < N; ++i) {
    if (choices[i] == value) return std::string(1, static_cast<char>('0' + i));
  }
  return "0";
}

}  // namespace

WindowSettings DesignedWindowSettings() {
  WindowSettings settings;
  settings.previewText = cp936::EncodeFromUtf8("我爱北京天安门，天安门上红旗飘");
  return settings;
}

void ParseConfigLines(const std::vector<std::string>& lines, WindowSettings& settings) {
  const auto line = [&](std::size_t number) -> std::string {
    return number <= lines.size() ? lines[number - 1] : std::string();
  };
  ConversionSettings& conversion = settings.conversion;
  conversion.polyphone = line(1) == "0"   ? PolyphonePolicy::FirstReading
                         : line(1) == "2" ? PolyphonePolicy::ByContext
                                          : PolyphonePolicy::AllReadings;
  if (const auto tone = Choice(line(2), kToneStyles)) conversion.toneStyle = *tone;
  conversion.wadeGiles = line(3) == "1";
  if (const auto format = Choice(line(4), kOutputFormats)) conversion.outputFormat = *format;
  if (const auto width = Choice(line(5), kWrapWidths)) conversion.wrapWidth = *width;
  conversion.align = line(6) == "0";
  settings.optionsShown = line(7) == "0";
  settings.previewText = line(8);
  const ConversionSettings defaults;
  conversion.neutralTone = Choice(line(9), kNeutralTones).value_or(defaults.neutralTone);
  conversion.sandhi = Choice(line(10), kSwitches).value_or(defaults.sandhi);
  conversion.erhua = Choice(line(11), kSwitches).value_or(defaults.erhua);
  conversion.orthography = conversion.polyphone == PolyphonePolicy::ByContext &&
                           Choice(line(12), kSwitches).value_or(defaults.orthography);
}

std::vector<std::string> ConfigLines(const WindowSettings& settings) {
  const ConversionSettings& conversion = settings.conversion;
  return {
      conversion.polyphone == PolyphonePolicy::FirstReading ? "0"
      : conversion.polyphone == PolyphonePolicy::ByContext  ? "2"
                                                            : "1",
      Digit(conversion.toneStyle, kToneStyles),
      conversion.wadeGiles ? "1" : "0",
      Digit(conversion.outputFormat, kOutputFormats),
      Digit(conversion.wrapWidth, kWrapWidths),
      conversion.align ? "0" : "1",
      settings.optionsShown ? "0" : "1",
      settings.previewText,
      Digit(conversion.neutralTone, kNeutralTones),
      Digit(conversion.sandhi, kSwitches),
      Digit(conversion.erhua, kSwitches),
      Digit(conversion.orthography, kSwitches),
  };
}

bool LoadConfigFile(const std::filesystem::path& path, WindowSettings& settings) {
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) return false;
  ParseConfigLines(ReadTextLines(path), settings);
  return true;
}

void SaveConfigFile(const std::filesystem::path& path, const WindowSettings& settings) {
  // Through a scratch file, so that a failed save keeps the options saved before.
  ReplaceTextFile(path, ConfigLines(settings));
}

}  // namespace tolvane
