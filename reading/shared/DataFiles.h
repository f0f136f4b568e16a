#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "reading/shared/CustomDictionary.h"
#include "reading/shared/ToneMarks.h"
#include "reading/shared/UserWordList.h"

// The data files beside the program: two user dictionaries and the tone glyphs, and the names of
// the read-only files of reading by context.
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
// The proper nouns and surnames that written pinyin capitalises (ProperNouns), installed beside
// them.
inline constexpr const char* kProperNounsFile = "pinyin_names.txt";
// The polyphone model of reading by context (PolyphoneModel), installed beside them.
inline constexpr const char* kPolyphoneModelFile = "polyphone_model.bin";

// Where the data files are read from. The user dictionaries are the user's own; the tone glyphs
// and the phrase data come with the program (platform/FileLocations.h says where each lies).
struct DataFolders {
  std::filesystem::path dictionaries;  // define_han.dll ... define_wei_py.dll
  std::filesystem::path readOnly;      // define_py_tone.dll and the phrase data

  bool operator==(const DataFolders&) const = default;
};

// The five lists, as loaded, and the user's own words (user_words.txt beside the dictionaries)
// with the lines of their file that were passed over.
struct DataFileLists {
  CustomDictionary standard;
  CustomDictionary wadeGiles;
  ToneVowels toneVowels;
  UserWordList userWords;
  std::vector<UserWordProblem> userWordProblems;
};

// Reads the five files into `lists`, which must be empty: the dictionaries from
// `folders.dictionaries`, the tone glyphs from `folders.readOnly`. A missing file gives an empty
// list. A file that exists but cannot be read raises "Cannot open file "%s". %s"; the lists read
// before it keep their content and the others stay empty. The user's own words are read first
// (ReadUserWords): whatever is wrong with their file is a problem in the lists, never an error.
void ReadDataFileLists(const DataFolders& folders, DataFileLists& lists);

}  // namespace tolvane
