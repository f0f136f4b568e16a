#include "reading/shared/DictionaryFile.h"

#include <algorithm>
#include <cerrno>

#include "platform/Error.h"
#include "platform/TextFile.h"

namespace tolvane {

namespace fs = std::filesystem;

DictionaryEntries EntriesOf(const CustomDictionary& dictionary) {
  const std::vector<std::string>& keys = dictionary.Keys();
  const std::vector<std::string>& readings = dictionary.Readings();
  DictionaryEntries entries(std::max(keys.size(), readings.size()));
  for (std::size_t i = 0; i < keys.size(); ++i) entries[i].key = keys[i];
  for (std::size_t i = 0; i < readings.size(); ++i) entries[i].reading = readings[i];
  return entries;
}

std::optional<std::size_t> FindEntry(const DictionaryEntries& entries, std::string_view key) {
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].key == key) return i;
  }
  return std::nullopt;
}

std::size_t AddOrUpdateEntry(DictionaryEntries& entries, const std::string& key,
                             const std::string& reading) {
  // Hand-edited files may hold a key twice; all of its entries get the reading, so the lookup,
  // which takes the first, and the editor, which selects the last, agree on it.
  std::optional<std::size_t> selected;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].key != key) continue;
    entries[i].reading = reading;
    selected = i;
  }
  if (selected) return *selected;
  entries.push_back({key, reading});
  return entries.size() - 1;
}

void RemoveEntry(DictionaryEntries& entries, std::size_t index) {
  if (index >= entries.size()) throw ListIndexOutOfBounds(static_cast<long long>(index));
  entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(index));
}

namespace {

Error FileErrorOf(const std::error_code& ec, const fs::path& path) {
  // The portable condition carries an errno value on every platform.
  const int value = ec.default_error_condition().value();
  return FileError(value != 0 ? value : EIO, path);
}

// Where a dictionary file really lies: a link is followed, even one whose target does not exist
// yet, so the link itself stays in place and the file it points to is the one written.
fs::path TargetOf(const fs::path& folder, const char* name) {
  fs::path path = folder / name;
  // As many links in a row as the system itself follows.
  for (int hop = 0; hop < 40; ++hop) {
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(path, ec))) break;
    const fs::path target = fs::read_symlink(path, ec);
    if (ec) break;
    path = target.is_absolute() ? target : path.parent_path() / target;
  }
  return path;
}

// A folder in place of a dictionary file is not ours to replace, nor to move aside; a file
// the user made read-only is not to be written, though a rename would pass over that.
void CheckReplaceable(const fs::path& path) {
  std::error_code ec;
  const fs::file_status status = fs::status(path, ec);
  if (fs::is_directory(status)) throw FileError(EISDIR, path);
  if (fs::exists(status) && (status.permissions() & fs::perms::owner_write) == fs::perms::none) {
    throw FileError(EACCES, path);
  }
}

// The new file keeps the permissions of the one it replaces.
void CopyPermissions(const fs::path& from, const fs::path& to) {
  std::error_code ec;
  const fs::file_status status = fs::status(from, ec);
  if (!ec && fs::exists(status)) fs::permissions(to, status.permissions(), ec);
}

void Rename(const fs::path& from, const fs::path& to) {
  std::error_code ec;
  fs::rename(from, to, ec);
  if (ec) throw FileErrorOf(ec, to);
}

// The temporary files of one write, removed when the write does not get to put them in place.
class TemporaryFiles {
 public:
  ~TemporaryFiles() {
    std::error_code ec;
    for (const fs::path& path : created_) fs::remove(path, ec);
  }
  void Write(const fs::path& path, const DictionaryEntries& entries,
             std::string DictionaryEntry::*field) {
    TextFileWriter writer(path);
    // Only a file this write has opened is ours to remove again.
    created_.push_back(path);
    for (const DictionaryEntry& entry : entries) writer.WriteLine(entry.*field);
    writer.Close();
  }

 private:
  std::vector<fs::path> created_;
};

}  // namespace

void WriteDictionaryFiles(const fs::path& folder, const char* keysFile, const char* readingsFile,
                          const DictionaryEntries& entries) {
  const fs::path keysPath = TargetOf(folder, keysFile);
  const fs::path readingsPath = TargetOf(folder, readingsFile);
  CheckReplaceable(keysPath);
  CheckReplaceable(readingsPath);

  const fs::path keysTemp = ScratchPathBeside(keysPath);
  const fs::path readingsTemp = ScratchPathBeside(readingsPath);
  TemporaryFiles temporaries;
  temporaries.Write(keysTemp, entries, &DictionaryEntry::key);
  temporaries.Write(readingsTemp, entries, &DictionaryEntry::reading);
  CopyPermissions(keysPath, keysTemp);
  CopyPermissions(readingsPath, readingsTemp);

  // Two renames cannot happen at once. The old keys file is moved aside first, so that when the
  // second rename fails it can be put back and the old pair stays together.
  std::error_code ec;
  const bool hadKeys = fs::exists(keysPath, ec);
  const fs::path keysBackup = ScratchPathBeside(keysPath);
  if (hadKeys) Rename(keysPath, keysBackup);
  try {
    Rename(keysTemp, keysPath);
    Rename(readingsTemp, readingsPath);
  } catch (...) {
    if (hadKeys) {
      fs::rename(keysBackup, keysPath, ec);
    } else {
      fs::remove(keysPath, ec);
    }
    throw;
  }
  if (hadKeys) fs::remove(keysBackup, ec);
}

void DeleteDictionaryFiles(const fs::path& folder, const char* keysFile, const char* readingsFile) {
  for (const char* name : {keysFile, readingsFile}) {
    const fs::path path = folder / name;
    std::error_code ec;
    // A folder of that name is not a dictionary file; deleting a file is all that is asked.
    if (fs::is_directory(path, ec)) continue;
    fs::remove(path, ec);
  }
}

}  // namespace tolvane
