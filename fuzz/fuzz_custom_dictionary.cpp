// Loading a user dictionary from arbitrary file bytes, and finding readings in it: the indexed
// search answers exactly as a scan from the first entry would, and never reads past the readings.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "FuzzInput.h"
#include "platform/Cp936.h"
#include "reading/Session.h"
#include "reading/shared/DataFiles.h"

using namespace tolvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const auto folder = [] {
    auto f =
        std::filesystem::temp_directory_path() / ("tolvane-fuzz-dict-" + std::to_string(getpid()));
    std::filesystem::create_directories(f);
    return f;
  }();
  fuzz::FuzzInput input(data, size);
  const std::string keys = input.Bytes(255);
  const std::string readings(input.Rest());
  std::ofstream(folder / kStandardKeysFile, std::ios::binary | std::ios::trunc) << keys;
  std::ofstream(folder / kStandardReadingsFile, std::ios::binary | std::ios::trunc) << readings;
  Session session;
  session.LoadDataFiles(folder);
  const auto loaded = session.Data();
  const CustomDictionary& dictionary = loaded->StandardDictionary();

  const auto scan = [&](std::string_view character) -> std::optional<std::string_view> {
    for (std::size_t i = 0; i < dictionary.Count(); ++i) {
      if (dictionary.Keys()[i] == character) {
        if (i >= dictionary.ReadingCount()) return std::nullopt;
        return dictionary.Readings()[i];
      }
    }
    return std::nullopt;
  };
  // Every key, every character of the keys file, and a few that are in no file.
  std::vector<std::string> probes(dictionary.Keys().begin(), dictionary.Keys().end());
  for (std::size_t pos = 0; pos < keys.size();) {
    const std::size_t length = cp936::CharLengthAt(keys, pos);
    probes.push_back(keys.substr(pos, length));
    pos += length;
  }
  probes.insert(probes.end(), {"", "a", " ", "\xD6\xD0"});
  for (const std::string& probe : probes) FUZZ_CHECK(dictionary.FindReading(probe) == scan(probe));
  return 0;
}
