#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "settings/ConversionSettings.h"

// The options file config1.dll: the eight lines of the window's first options, then one line
// each for the options of reading by context added since (lines 9 to 11) and for pinyin written by
// words (line 12); read once at start-up and written once at close. A program that knows only the
// eight lines reads past the others, and an older file without them loads those options' defaults.
// Kept free of the GUI so that its reading and writing can be tested without a screen; the main
// window copies a WindowSettings to and from its controls.
namespace tolvane {

inline constexpr const char* kSettingsFileName = "config1.dll";

// What config1.dll holds: the states of the option controls, whether the option panels are
// shown, and the preview text.
struct WindowSettings {
  ConversionSettings conversion;
  bool optionsShown = true;
  std::string previewText;  // GB2312

  bool operator==(const WindowSettings&) const = default;
};

// The designed states of the controls, which stand whenever no settings file exists.
WindowSettings DesignedWindowSettings();

// Applies the lines of a settings file to `settings`, line by line. Each line is compared whole
// with one-digit texts, nothing trimmed. In the first eight, a line that names no choice of a
// radio group leaves the group as it was; the check boxes and the panel switch have one polarity
// for "on" and take any other text as "off"; missing lines count as empty texts. Lines 9 to 11
// (neutral tones: 0 spoken, 1 citation; 一 and 不 as spoken: 1 on, 0 off; erhua as r: 1 on, 0 off)
// and line 12 (pinyin written by words: 1 on, 0 off) give their option's default when missing or
// when they hold anything else, so that a file of an older version, or one edited by hand, never
// costs the user more than that one option. Pinyin written by words reads by context, so line 12
// counts only when line 1 chooses reading by context: the policy of the designed line wins over
// it. Lines after the twelfth are ignored.
void ParseConfigLines(const std::vector<std::string>& lines, WindowSettings& settings);

// The lines that save `settings`: the designed eight, then lines 9 to 12.
std::vector<std::string> ConfigLines(const WindowSettings& settings);

// Applies the file at `path` to `settings`. Returns false, leaving `settings` alone, when no file
// exists there; a file that exists but cannot be read raises the text-file error.
bool LoadConfigFile(const std::filesystem::path& path, WindowSettings& settings);

// Writes the lines, each ended by CR LF, replacing the file only once all are written.
void SaveConfigFile(const std::filesystem::path& path, const WindowSettings& settings);

}  // namespace tolvane
