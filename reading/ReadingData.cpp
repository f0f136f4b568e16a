#include "reading/ReadingData.h"

#include "platform/Error.h"
#include "platform/FileLocations.h"
#include "platform/ProgramFolder.h"
#include "reading/context/ContextResolver.h"
#include "reading/context/PhraseImage.h"

namespace tolvane {
namespace {

bool Holds(const std::filesystem::path& folder, const char* file) {
  std::error_code ec;
  return std::filesystem::exists(folder / file, ec);
}

// The folder a file of reading by context is read from: `folder` when it has the file, else the
// read-only data of the program itself (a --data-dir of the user's own dictionaries need not
// copy them).
std::filesystem::path ContextDataFolder(const std::filesystem::path& folder, const char* file) {
  if (Holds(folder, file)) return folder;
  try {
    const std::filesystem::path program = ReadOnlyDataFolder(ProgramFolder());
    if (Holds(program, file)) return program;
  } catch (const Error&) {
  }
  return folder;
}

}  // namespace

void PhraseDataLoader::LoadLocked() {
  if (data_) return;
  const std::filesystem::path folder = ContextDataFolder(folder_, kContextWordsFile);
  // Mapped from the image beside the text files while it is theirs, else parsed from them.
  auto data = LoadPhraseData(folder / kContextWordsFile, folder / kContextPairsFile,
                             folder / kContextCharactersFile, folder / kPhraseImageFile);
  // Without its file the model is simply not used: the words, pairs and rules read every
  // character on their own, as they did before there was a model, only less well on the
  // polyphones the words leave open. A data folder made for the phrase data alone keeps
  // working. A file that is there but damaged is an error, not a silent fallback.
  const std::filesystem::path modelFolder = ContextDataFolder(folder_, kPolyphoneModelFile);
  if (Holds(modelFolder, kPolyphoneModelFile))
    model_ = PolyphoneModel::Load(modelFolder / kPolyphoneModelFile);
  data_ = std::move(data);
}

const PhraseData& PhraseDataLoader::Get() {
  std::lock_guard lock(mutex_);
  LoadLocked();
  return *data_;
}

const ProperNouns& PhraseDataLoader::Names() {
  std::lock_guard lock(mutex_);
  if (!names_) {
    const std::filesystem::path folder = ContextDataFolder(folder_, kProperNounsFile);
    names_ = Holds(folder, kProperNounsFile) ? ProperNouns::Load(folder / kProperNounsFile)
                                             : std::make_unique<ProperNouns>();
  }
  return *names_;
}

const PolyphoneModel* PhraseDataLoader::Model() {
  std::lock_guard lock(mutex_);
  LoadLocked();
  return model_.get();
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
