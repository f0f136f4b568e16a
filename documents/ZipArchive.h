#pragma once

#include <deque>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

struct zip;

// Zip containers (DOCX, ODT and EPUB are all one), through libzip. Writing goes to a temporary
// file that libzip renames over the target only when the whole archive is written, so a failed
// write leaves an existing target as it was.
namespace tolvane {

class ZipWriter {
 public:
  // Raises Error naming `path` when the archive cannot be made there.
  explicit ZipWriter(const std::filesystem::path& path);
  ~ZipWriter();  // discards an archive not closed
  ZipWriter(const ZipWriter&) = delete;
  ZipWriter& operator=(const ZipWriter&) = delete;

  // Adds an entry, deflated, or stored as it is (the mimetype entry that ODT and EPUB readers
  // look for at the archive's start must be stored). Entries keep the order they are added in.
  void Add(std::string_view name, std::string content, bool stored = false);
  // Writes the archive; raises Error naming the path and libzip's reason.
  void Close();

 private:
  std::filesystem::path path_;
  zip* archive_ = nullptr;
  std::deque<std::string> contents_;  // libzip reads them at Close
};

// The names of an archive's entries in order, and one entry's bytes; for reading documents back
// (tests, and checking what was written). Raise Error naming the path.
std::vector<std::string> ZipEntryNames(const std::filesystem::path& path);
std::string ReadZipEntry(const std::filesystem::path& path, std::string_view name);

}  // namespace tolvane
