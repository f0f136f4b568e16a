#include "api/DefaultDataFolders.h"

#include <dlfcn.h>

#include <system_error>

#include "platform/Error.h"
#include "platform/FileLocations.h"
#include "platform/ProgramFolder.h"

namespace tolvane {
namespace {

// The read-only data of the installed programs (the build sets it from its install prefix).
#ifndef TOLVANE_INSTALLED_DATA
#define TOLVANE_INSTALLED_DATA "/usr/local/share/tolvane"
#endif
#ifndef TOLVANE_DATA_FROM_LIBRARY
#define TOLVANE_DATA_FROM_LIBRARY "../../share/tolvane"
#endif

// The folder of the file this code was loaded from: the shared library's, or the program's
// when the code is linked into it.
std::filesystem::path LibraryFolder() {
  Dl_info info{};
  if (::dladdr(reinterpret_cast<const void*>(&LibraryFolder), &info) != 0 &&
      info.dli_fname != nullptr && info.dli_fname[0] != '\0') {
    std::error_code ec;
    const std::filesystem::path file = std::filesystem::canonical(info.dli_fname, ec);
    if (!ec) return file.parent_path();
  }
  return ProgramFolder();
}

bool HoldsItsOwnData(const std::filesystem::path& folder) {
  std::error_code ec;
  return std::filesystem::exists(folder / kDataMarkerFile, ec);
}

}  // namespace

ConverterFolders FoldersOf(const std::filesystem::path& dataFolder) {
  std::error_code ec;
  const std::filesystem::file_status status = std::filesystem::status(dataFolder, ec);
  if (!std::filesystem::exists(status))
    throw Error("Data folder \"" + dataFolder.string() + "\" not found", dataFolder);
  if (!std::filesystem::is_directory(status))
    throw Error("Data folder \"" + dataFolder.string() + "\" is not a folder", dataFolder);
  // Every reading is written with the tone glyphs: a folder without them holds no data at all.
  if (!HoldsItsOwnData(dataFolder))
    throw Error("Data folder \"" + dataFolder.string() + "\" holds no " + kDataMarkerFile +
                    " (the tone glyphs)",
                dataFolder);
  return {DataFolders{dataFolder, dataFolder}, dataFolder, false};
}

ConverterFolders InstalledFolders() {
  const std::filesystem::path folder = LibraryFolder();
  const FileLocations locations = LocateFiles(folder);
  if (!locations.installed) return {{locations.dictionaries, locations.data}, locations.scratch};
  // The data installed with the library (share/tolvane of the prefix it lies in), else that of
  // the prefix the build was configured for.
  const std::filesystem::path besideLibrary =
      (folder / TOLVANE_DATA_FROM_LIBRARY).lexically_normal();
  const std::filesystem::path readOnly = HoldsItsOwnData(folder)          ? folder
                                         : HoldsItsOwnData(besideLibrary) ? besideLibrary
                                                                          : TOLVANE_INSTALLED_DATA;
  return {{locations.dictionaries, readOnly}, locations.scratch, true};
}

}  // namespace tolvane
