#include "reading/shared/DataFiles.h"

#include <memory>

#include "platform/Error.h"
#include "platform/FileLocations.h"
#include "platform/ProgramFolder.h"
#include "platform/TextFile.h"

namespace tolvane {
namespace {

struct DataFileLists {
  DataFolders folders;
  CustomDictionary standard;
  CustomDictionary wadeGiles;
  ToneVowels toneVowels;
  unsigned long generation = 0;
  // Read-only and large: loaded once, and again only for another folder.
  std::unique_ptr<PhraseData> context;
  std::filesystem::path contextFor;
};

DataFileLists& Lists() {
  static DataFileLists lists;
  return lists;
}

std::vector<std::string> LoadList(const std::filesystem::path& path) {
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) return {};
  return ReadTextLines(path);
}

}  // namespace

void LoadDataFiles(const std::filesystem::path& folder) {
  LoadDataFiles(DataFolders{folder, folder});
}

void LoadDataFiles(const DataFolders& folders) {
  ReleaseDataFiles();
  DataFileLists& lists = Lists();
  lists.folders = folders;
  const std::filesystem::path& folder = folders.dictionaries;
  // Each dictionary is rebuilt from whatever has been read when a later file fails, so the
  // lists read before the failure keep their content.
  std::vector<std::string> keys;
  std::vector<std::string> readings;
  const auto loadPair = [&](const char* keysFile, const char* readingsFile,
                            CustomDictionary& into) {
    keys.clear();
    readings.clear();
    try {
      keys = LoadList(folder / keysFile);
      readings = LoadList(folder / readingsFile);
    } catch (...) {
      into = CustomDictionary(std::move(keys), std::move(readings));
      throw;
    }
    into = CustomDictionary(std::move(keys), std::move(readings));
  };
  loadPair(kStandardKeysFile, kStandardReadingsFile, lists.standard);
  loadPair(kWadeGilesKeysFile, kWadeGilesReadingsFile, lists.wadeGiles);
  lists.toneVowels = LoadList(folders.readOnly / kToneVowelFile);
}

void ReleaseDataFiles() {
  DataFileLists& lists = Lists();
  lists.standard = {};
  lists.wadeGiles = {};
  lists.toneVowels.clear();
  ++lists.generation;
}

void ReloadDataFiles() {
  const DataFolders folders = Lists().folders;
  ReleaseDataFiles();
  LoadDataFiles(folders);
}

const PhraseData& ContextData() {
  DataFileLists& lists = Lists();
  if (lists.context && lists.contextFor == lists.folders.readOnly) return *lists.context;
  std::error_code ec;
  std::filesystem::path folder = lists.folders.readOnly;
  if (!std::filesystem::exists(folder / kContextWordsFile, ec)) {
    try {
      const std::filesystem::path program = ReadOnlyDataFolder(ProgramFolder());
      if (std::filesystem::exists(program / kContextWordsFile, ec)) folder = program;
    } catch (const Error&) {
    }
  }
  lists.context = PhraseData::Load(folder / kContextWordsFile, folder / kContextPairsFile,
                                   folder / kContextCharactersFile);
  lists.contextFor = lists.folders.readOnly;
  return *lists.context;
}

const std::filesystem::path& DataFilesFolder() { return Lists().folders.dictionaries; }
const CustomDictionary& StandardDictionary() { return Lists().standard; }
const CustomDictionary& WadeGilesDictionary() { return Lists().wadeGiles; }
const ToneVowels& ToneVowelList() { return Lists().toneVowels; }
unsigned long DataFilesGeneration() { return Lists().generation; }

}  // namespace tolvane
