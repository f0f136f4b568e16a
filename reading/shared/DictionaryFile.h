#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/TrimBlanks.h"
#include "reading/shared/CustomDictionary.h"

// What the custom reading editors do to a user dictionary, free of any window: its entries as
// pairs, adding, updating and removing one, and writing or deleting the dictionary's two files.
namespace tolvane {

struct DictionaryEntry {
  std::string key;
  std::string reading;
  bool operator==(const DictionaryEntry&) const = default;
};

// An editor's working copy of a dictionary: entry i becomes line i of both files.
using DictionaryEntries = std::vector<DictionaryEntry>;

// The loaded dictionary as entries. Files edited by hand may hold more lines in one file than in
// the other. Every line of both files becomes part of an entry, so nothing the user wrote is lost
// or hidden from the editor: a key without a reading gets an empty reading, and a reading beyond
// the last key gets an empty key. The next write therefore gives both files the same length, and
// from then on they pair line by line again.
DictionaryEntries EntriesOf(const CustomDictionary& dictionary);

// The first entry whose key equals `key` byte for byte.
std::optional<std::size_t> FindEntry(const DictionaryEntries& entries, std::string_view key);

// Gives every entry whose key equals `key` the reading `reading`, or appends the pair when there
// is none. Returns the entry to select: the last one updated, or the new one.
std::size_t AddOrUpdateEntry(DictionaryEntries& entries, const std::string& key,
                             const std::string& reading);

// Removes entry `index`; an index the list does not hold raises "List index out of bounds (%d)".
void RemoveEntry(DictionaryEntries& entries, std::size_t index);

// Writes the keys to `keysFile` and the readings to `readingsFile` in `folder`, one per line,
// each line ended by CR LF. Both files are first written completely under temporary names beside
// them and only then put in place of the old ones, so a failure (a full disk, a file that cannot
// be written) leaves the old pair whole and no temporary file behind. A failure raises the file
// error of its cause.
void WriteDictionaryFiles(const std::filesystem::path& folder, const char* keysFile,
                          const char* readingsFile, const DictionaryEntries& entries);

// Deletes both files; a file that is missing or cannot be deleted is passed over.
void DeleteDictionaryFiles(const std::filesystem::path& folder, const char* keysFile,
                           const char* readingsFile);

}  // namespace tolvane
