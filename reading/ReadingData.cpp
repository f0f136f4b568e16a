#include "reading/ReadingData.h"

#include "platform/Error.h"
#include "platform/FileLocations.h"
#include "platform/ProgramFolder.h"
#include "reading/context/ContextResolver.h"
#include "reading/context/PhraseImage.h"

namespace tolvane {
namespace {

bool HoldsPhraseData(const std::filesystem::path& folder) {
  std::error_code ec;
  return std::filesystem::exists(folder / kContextWordsFile, ec);
}

// The folder the phrase data is read from: `folder` when it has the files, else the read-only
// data of the program itself (a --data-dir of the user's own dictionaries need not copy them).
std::filesystem::path PhraseDataFolder(const std::filesystem::path& folder) {
  if (HoldsPhraseData(folder)) return folder;
  try {
    const std::filesystem::path program = ReadOnlyDataFolder(ProgramFolder());
    if (HoldsPhraseData(program)) return program;
  } catch (const Error&) {
  }
  return folder;
}

}  // namespace

const PhraseData& PhraseDataLoader::Get() {
  std::lock_guard lock(mutex_);
  if (!data_) {
    const std::filesystem::path folder = PhraseDataFolder(folder_);
    // Mapped from the image beside the text files while it is theirs, else parsed from them.
    data_ = LoadPhraseData(folder / kContextWordsFile, folder / kContextPairsFile,
                           folder / kContextCharactersFile, folder / kPhraseImageFile);
  }
  return *data_;
}

ReadingData::ReadingData(DataFolders folders, DataFileLists lists, bool numberedFilled,
                         bool plainFilled, std::shared_ptr<PhraseDataLoader> context)
    : folders_(std::move(folders)),
      lists_(std::move(lists)),
      numbered_(numberedFilled ? BuiltInNumberedTable() : ReadingTable()),
      plain_(plainFilled ? BuiltInPlainTable() : ReadingTable()),
      context_(std::move(context)) {}

ClassicSources ReadingData::Classic() const {
  return {numbered_, plain_, &lists_.standard, &lists_.wadeGiles, &lists_.toneVowels};
}

std::unordered_set<std::string> ReadingData::KnownSyllables() const {
  std::vector<std::string_view> lists;
  lists.reserve(numbered_.Count());
  for (std::size_t i = 0; i < numbered_.Count(); ++i) lists.push_back(numbered_.At(i).readings);
  return tolvane::KnownSyllables(ContextData(), lists);
}

std::string ReadingData::LookupReading(std::string_view character,
                                       const ConversionSettings& settings) const {
  return tolvane::LookupReading(Classic(), character, settings);
}

std::string ReadingData::LookupNumberedReading(std::string_view character,
                                               const ConversionSettings& settings) const {
  return tolvane::LookupNumberedReading(Classic(), character, settings);
}

}  // namespace tolvane
