#pragma once

#include <filesystem>

#include "reading/shared/DataFiles.h"

namespace tolvane {

// Where a Converter reads its data and keeps temp.txt (when lines are re-cut).
struct ConverterFolders {
  DataFolders data;
  std::filesystem::path scratch;
  bool makeScratch = false;  // the scratch folder is the user's, made when first needed
};

// The folders of `dataFolder`, as tolvane-cli takes --data-dir: everything in it. Raises Error
// naming it when it does not exist, is no folder or holds no tone glyphs (define_py_tone.dll).
ConverterFolders FoldersOf(const std::filesystem::path& dataFolder);

// The folders of the installed programs, as tolvane-cli finds them without --data-dir: when the
// library lies in a program folder that holds its own data (the build's bin folder, a portable
// copy), that folder; else the read-only data in share/tolvane of the prefix the library was
// built for, and the user's dictionaries and temp.txt in the user's folders.
ConverterFolders InstalledFolders();

}  // namespace tolvane
