#pragma once

#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_set>

#include "reading/classic/Lookup.h"
#include "reading/classic/ReadingTable.h"
#include "reading/context/PhraseData.h"
#include "reading/context/PolyphoneModel.h"
#include "reading/orthography/ProperNouns.h"
#include "reading/shared/DataFiles.h"
#include "settings/ConversionSettings.h"

namespace tolvane {

// The phrase data of reading by context and the polyphone model beside it: large and read-only,
// so they are loaded the first time they are asked for, once, and shared by every snapshot of
// the data read from the same folder. Safe to ask from several threads at once: the first loads,
// the others wait for it.
class PhraseDataLoader {
 public:
  explicit PhraseDataLoader(std::filesystem::path folder) : folder_(std::move(folder)) {}

  const std::filesystem::path& Folder() const { return folder_; }
  // Loads from the folder when it holds the files, else from the program's own read-only data.
  // Raises "Cannot open file ..." when neither has them (and again at the next call).
  const PhraseData& Get();
  // The polyphone model, loaded with the phrase data (Get), from the folder when it holds the
  // file, else from the program's own data; null when neither has it. A model file that cannot
  // be read or is damaged raises its error, as the phrase data's files do.
  const PolyphoneModel* Model();
  // The proper nouns of written pinyin, loaded the first time they are asked for, from the folder
  // when it holds the file, else from the program's own data; none when neither has it (words
  // are then capitalised only where a sentence begins). A file that cannot be read or is
  // malformed raises its error.
  const ProperNouns& Names();

 private:
  void LoadLocked();

  std::filesystem::path folder_;
  std::mutex mutex_;
  std::unique_ptr<const PhraseData> data_;
  std::unique_ptr<const PolyphoneModel> model_;
  std::unique_ptr<const ProperNouns> names_;
};

// One snapshot of everything the readings are made from: the built-in tables (empty until their
// Init operation has run), the user dictionaries, the tone glyphs and the phrase data. Nothing in
// it changes once it is made (but for the phrase data, loaded on first use), so any number of
// threads may read it at once; a reload makes a new snapshot (Session) and whoever holds the old
// one goes on reading it.
class ReadingData {
 public:
  ReadingData(DataFolders folders, DataFileLists lists, bool numberedFilled, bool plainFilled,
              std::shared_ptr<PhraseDataLoader> context);

  const DataFolders& Folders() const { return folders_; }
  const CustomDictionary& StandardDictionary() const { return lists_.standard; }
  const CustomDictionary& WadeGilesDictionary() const { return lists_.wadeGiles; }
  // The dictionary the settings consult: the Wade-Giles one when that switch is on.
  const CustomDictionary& DictionaryFor(const ConversionSettings& settings) const {
    return settings.wadeGiles ? lists_.wadeGiles : lists_.standard;
  }
  const ToneVowels& ToneVowelList() const { return lists_.toneVowels; }
  // The user's own words, which reading by context reads with whichever dictionary the settings
  // consult, and the lines of their file that were passed over, for the front ends to show.
  const UserWordList& UserWords() const { return lists_.userWords; }
  const std::vector<UserWordProblem>& UserWordProblems() const { return lists_.userWordProblems; }
  // Where the user's own words are read from and saved to: beside the user dictionaries.
  std::filesystem::path UserWordsFile() const { return folders_.dictionaries / kUserWordsFile; }
  const DataFileLists& Lists() const { return lists_; }
  ReadingTable NumberedReadingTable() const { return numbered_; }
  ReadingTable PlainReadingTable() const { return plain_; }
  bool NumberedFilled() const { return numbered_.Count() > 0; }
  bool PlainFilled() const { return plain_.Count() > 0; }

  // What the classic lookup reads.
  ClassicSources Classic() const;
  // The phrase data, loaded the first time it is asked for (PhraseDataLoader::Get).
  const PhraseData& ContextData() const { return context_->Get(); }
  // The polyphone model beside it, or null (PhraseDataLoader::Model). Loads both.
  const PolyphoneModel* ContextModel() const { return context_->Model(); }
  const std::shared_ptr<PhraseDataLoader>& ContextLoader() const { return context_; }
  // The proper nouns of written pinyin (PhraseDataLoader::Names).
  const ProperNouns& ProperNounData() const { return context_->Names(); }
  // The toneless syllables a user's reading is cut into: the phrase data's and the numbered
  // table's. Loads the phrase data.
  std::unordered_set<std::string> KnownSyllables() const;

  // The character lookup: the display reading and the width reading of one GB2312 character.
  std::string LookupReading(std::string_view character, const ConversionSettings& settings) const;
  std::string LookupNumberedReading(std::string_view character,
                                    const ConversionSettings& settings) const;

 private:
  DataFolders folders_;
  DataFileLists lists_;
  ReadingTable numbered_;
  ReadingTable plain_;
  std::shared_ptr<PhraseDataLoader> context_;
};

}  // namespace tolvane
