// Reading the options file from arbitrary bytes: never a failure, every choice stays inside its
// group, and saving what was read then reading it again gives the same settings.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "FuzzInput.h"
#include "ui/SettingsFile.h"

using namespace tolvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const auto path = std::filesystem::temp_directory_path() /
                           ("tolvane-fuzz-config-" + std::to_string(getpid()) + ".dll");
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  WindowSettings settings = DesignedWindowSettings();
  FUZZ_CHECK(LoadConfigFile(path, settings));
  const int wrap = settings.conversion.wrapWidth;
  FUZZ_CHECK(wrap == 0 || wrap == 100 || wrap == 50 || wrap == 40 || wrap == 30 || wrap == 20 ||
             wrap == 10);
  const auto tone = static_cast<int>(settings.conversion.toneStyle);
  FUZZ_CHECK(tone >= 0 && tone <= 2);
  const auto format = static_cast<int>(settings.conversion.outputFormat);
  FUZZ_CHECK(format >= 0 && format <= 4);
  const std::vector<std::string> lines = ConfigLines(settings);
  // Written by words reads by context: never the one without the other.
  FUZZ_CHECK(!settings.conversion.orthography ||
             settings.conversion.polyphone == PolyphonePolicy::ByContext);
  // The designed eight lines, then neutral tones, 一/不, erhua and pinyin written by words.
  FUZZ_CHECK(lines.size() == 12);
  WindowSettings again = DesignedWindowSettings();
  ParseConfigLines(lines, again);
  // A preview text holding a line end cannot come back as one line; everything else must.
  if (settings.previewText.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos)
    FUZZ_CHECK(again == settings);
  return 0;
}
