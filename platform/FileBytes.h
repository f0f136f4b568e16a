#pragma once

#include <cstddef>
#include <filesystem>
#include <string_view>

#include "platform/TextFile.h"

namespace tolvane {

// The bytes of a data file that is read in place: mapped read-only where the file allows it, so
// that only the pages a program touches come into memory and they are shared with every other
// process that maps the file; read whole into memory where it cannot be mapped (a pipe, an empty
// file) or when made from bytes already in memory.
class FileBytes {
 public:
  FileBytes() = default;
  // Raises the errors of ReadFileBytes: "Cannot open file "<path>". <reason>" and the file error
  // of a failed read.
  static FileBytes Map(const std::filesystem::path& path);
  static FileBytes Copy(std::string_view bytes);

  FileBytes(FileBytes&& other) noexcept;
  FileBytes& operator=(FileBytes&& other) noexcept;
  FileBytes(const FileBytes&) = delete;
  FileBytes& operator=(const FileBytes&) = delete;
  ~FileBytes();

  std::string_view view() const { return bytes_; }
  bool mapped() const { return mapped_ != nullptr; }
  // Brings the pages of `part` (a view into these bytes) in at once, one call rather than a
  // fault for each page, where the system can (Linux 5.14 on); else they come in as they are
  // read. Nothing for bytes in memory.
  void Prefetch(std::string_view part) const;
  // Lets go of the pages of `part` (a view into these bytes) that were read so far: a mapping
  // reads them from the file again when they are next touched, so a part read once at loading
  // (to check it) holds no memory until it is used. Nothing for bytes in memory.
  void Forget(std::string_view part) const;

 private:
  void Unmap();

  void* mapped_ = nullptr;
  std::size_t mappedSize_ = 0;
  ByteBuffer copy_;
  std::string_view bytes_;
};

}  // namespace tolvane
