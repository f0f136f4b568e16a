#include "reading/shared/DataFiles.h"

#include "platform/TextFile.h"

namespace tolvane {
namespace {

std::vector<std::string> LoadList(const std::filesystem::path& path) {
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) return {};
  return ReadTextLines(path);
}

// A dictionary is built from whatever has been read when its second file fails, so the keys
// read before the failure stay.
void LoadDictionary(const std::filesystem::path& folder, const char* keysFile,
                    const char* readingsFile, CustomDictionary& into) {
  std::vector<std::string> keys;
  std::vector<std::string> readings;
  try {
    keys = LoadList(folder / keysFile);
    readings = LoadList(folder / readingsFile);
  } catch (...) {
    into = CustomDictionary(std::move(keys), std::move(readings));
    throw;
  }
  into = CustomDictionary(std::move(keys), std::move(readings));
}

}  // namespace

void ReadDataFileLists(const DataFolders& folders, DataFileLists& lists) {
  UserWordParse own = ReadUserWords(folders.dictionaries / kUserWordsFile);
  lists.userWords = std::move(own.list);
  lists.userWordProblems = std::move(own.problems);
  LoadDictionary(folders.dictionaries, kStandardKeysFile, kStandardReadingsFile, lists.standard);
  LoadDictionary(folders.dictionaries, kWadeGilesKeysFile, kWadeGilesReadingsFile, lists.wadeGiles);
  lists.toneVowels = LoadList(folders.readOnly / kToneVowelFile);
}

}  // namespace tolvane
