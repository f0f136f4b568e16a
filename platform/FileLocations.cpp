#include "platform/FileLocations.h"

#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <system_error>

#include "platform/Error.h"

namespace tolvane {
namespace {

namespace fs = std::filesystem;

// The read-only data of an installed copy, relative to its program folder (the build sets it
// from its install layout).
#ifndef TOLVANE_DATA_FROM_PROGRAM
#define TOLVANE_DATA_FROM_PROGRAM "../share/tolvane"
#endif
constexpr const char* kInstalledDataFromProgram = TOLVANE_DATA_FROM_PROGRAM;

bool IsWritableFolder(const fs::path& folder) { return ::access(folder.c_str(), W_OK) == 0; }

bool HoldsItsOwnData(const fs::path& programFolder) {
  std::error_code ec;
  return fs::exists(programFolder / kDataMarkerFile, ec);
}

fs::path SharedDataFolder(const fs::path& programFolder) {
  std::error_code ec;
  const fs::path shared = (programFolder / kInstalledDataFromProgram).lexically_normal();
  return fs::is_directory(shared, ec) ? shared : programFolder;
}

fs::path HomeFolder(const EnvironmentLookup& environment) {
  if (const auto home = environment("HOME"); home && !home->empty()) return *home;
  // Without HOME (a service, a scrubbed environment) the account's own entry says.
  if (const passwd* entry = ::getpwuid(::getuid());
      entry != nullptr && entry->pw_dir != nullptr && entry->pw_dir[0] != '\0')
    return entry->pw_dir;
  throw Error("Cannot find the home folder: HOME is not set");
}

bool IsPortable(const fs::path& programFolder) {
  return HoldsItsOwnData(programFolder) && IsWritableFolder(programFolder);
}

// $variable when it holds an absolute path, else the home folder's `fallback`, with "tolvane".
fs::path UserFolder(const EnvironmentLookup& environment, const char* variable,
                    const char* fallback) {
  if (const auto value = environment(variable); value && fs::path(*value).is_absolute())
    return fs::path(*value) / "tolvane";
  return HomeFolder(environment) / fallback / "tolvane";
}

}  // namespace

FileLocations FileLocations::Portable(const fs::path& folder) {
  return {folder, folder, folder, folder, false};
}

const fs::path& FileLocations::ForWriting(const fs::path& folder) const {
  if (!installed) return folder;
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec) throw Error("Cannot create folder \"" + folder.string() + "\". " + ec.message(), folder);
  return folder;
}

std::optional<std::string> SystemEnvironment(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr) return std::nullopt;
  return std::string(value);
}

fs::path ReadOnlyDataFolder(const fs::path& programFolder) {
  return IsPortable(programFolder) ? programFolder : SharedDataFolder(programFolder);
}

FileLocations LocateFiles(const fs::path& programFolder, const EnvironmentLookup& environment) {
  if (IsPortable(programFolder)) return FileLocations::Portable(programFolder);
  FileLocations locations;
  locations.data = SharedDataFolder(programFolder);
  locations.settings = UserFolder(environment, "XDG_CONFIG_HOME", ".config");
  locations.dictionaries = UserFolder(environment, "XDG_DATA_HOME", ".local/share");
  locations.scratch = UserFolder(environment, "XDG_CACHE_HOME", ".cache");
  locations.installed = true;
  return locations;
}

}  // namespace tolvane
