#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "reading/context/PhraseData.h"
#include "reading/shared/CustomDictionary.h"
#include "reading/shared/ToneMarks.h"

// The data files beside the program: two user dictionaries and the tone glyphs. This unit owns
// the loaded lists; everything else reads them through the functions below.
namespace tolvane {

inline constexpr const char* kStandardKeysFile = "define_han.dll";
inline constexpr const char* kStandardReadingsFile = "define_py.dll";
inline constexpr const char* kWadeGilesKeysFile = "define_wei_han.dll";
inline constexpr const char* kWadeGilesReadingsFile = "define_wei_py.dll";
inline constexpr const char* kToneVowelFile = "define_py_tone.dll";
// The data of reading by context (PhraseData), read-only files installed beside the programs.
inline constexpr const char* kContextWordsFile = "pinyin_words.txt";
inline constexpr const char* kContextPairsFile = "pinyin_pairs.txt";
inline constexpr const char* kContextCharactersFile = "pinyin_chars.txt";

// Where the data files are read from. The user dictionaries are the user's own; the tone glyphs
// and the phrase data come with the program (platform/FileLocations.h says where each lies).
struct DataFolders {
  std::filesystem::path dictionaries;  // define_han.dll ... define_wei_py.dll
  std::filesystem::path readOnly;      // define_py_tone.dll and the phrase data
};

// Loads the five files: the dictionaries from `folders.dictionaries`, the tone glyphs from
// `folders.readOnly`. A missing file gives an empty list. A file that exists but cannot be read
// raises "Cannot open file "%s". %s"; the lists loaded before it keep their content and the
// others stay empty, so all five lists exist either way.
void LoadDataFiles(const DataFolders& folders);
// All five from one folder (a portable copy's program folder; tests and --data-dir).
void LoadDataFiles(const std::filesystem::path& folder);

// Empties the five lists.
void ReleaseDataFiles();

// ReleaseDataFiles, then LoadDataFiles from the folder of the last load.
void ReloadDataFiles();

// The folder of the dictionaries of the last LoadDataFiles.
const std::filesystem::path& DataFilesFolder();

const CustomDictionary& StandardDictionary();
const CustomDictionary& WadeGilesDictionary();
const ToneVowels& ToneVowelList();

// The data of reading by context, loaded the first time it is asked for, from the read-only
// folder of the data files when it holds them, else from the program folder; kept until the data
// files are loaded from another folder. Raises "Cannot open file ..." when neither folder has them.
const PhraseData& ContextData();

// Bumped at every load and release, so derived data (the marked-reading cache) knows when it is
// stale.
unsigned long DataFilesGeneration();

}  // namespace tolvane
