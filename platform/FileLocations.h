#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

// Where the program keeps its files. A portable copy (its folder holds its own data and can be
// written: the build folder, an unpacked archive) keeps every file beside the executable. An
// installed copy (in bin/ of a prefix, with its read-only data in share/tolvane/ of the same
// prefix) keeps what it writes in the user's folders of the XDG base directory rules. The file
// names and formats are the same in both, so a portable copy's files can be copied into the
// user's folders and kept. This unit is the only one that decides; the rest ask it.
namespace tolvane {

struct FileLocations {
  std::filesystem::path data;          // read-only data: tone glyphs, phrase data, the sample
  std::filesystem::path settings;      // config1.dll and config.db
  std::filesystem::path dictionaries;  // the user dictionaries, define_*.dll
  std::filesystem::path scratch;       // temp.txt
  // The folders above lie in the user's folders and are made when first written to.
  bool installed = false;

  // Every file in one folder.
  static FileLocations Portable(const std::filesystem::path& folder);

  // `folder` (one of the folders above), made with its parents first when this copy is
  // installed; a portable copy's folders are used as they are, so a missing one fails where
  // the file is written. Raises "Cannot create folder "%s". %s".
  const std::filesystem::path& ForWriting(const std::filesystem::path& folder) const;
};

// A file of the read-only data: a program folder that holds it holds its own data.
inline constexpr const char* kDataMarkerFile = "define_py_tone.dll";

// The value of an environment variable, or nothing when it is not set.
using EnvironmentLookup = std::function<std::optional<std::string>(const char* name)>;
std::optional<std::string> SystemEnvironment(const char* name);

// The locations for a program in `programFolder`. A copy is portable when its folder holds its
// own data (kDataMarkerFile) and can be written; otherwise it is installed: its data is read
// from share/tolvane of its prefix (../share/tolvane from the program folder, as the build's
// install layout says; when that folder is missing, from the program folder) and
// settings, dictionaries and temp.txt go to $XDG_CONFIG_HOME/tolvane, $XDG_DATA_HOME/tolvane and
// $XDG_CACHE_HOME/tolvane (by default ~/.config, ~/.local/share and ~/.cache; a relative value
// is ignored, as the rules say). Raises an error when an installed copy finds no home folder.
FileLocations LocateFiles(const std::filesystem::path& programFolder,
                          const EnvironmentLookup& environment = SystemEnvironment);

// LocateFiles(programFolder).data, without looking for the user's folders.
std::filesystem::path ReadOnlyDataFolder(const std::filesystem::path& programFolder);

}  // namespace tolvane
