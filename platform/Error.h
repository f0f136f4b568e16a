#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

namespace tolvane {

// The one error type of the system. Its message is the text the user sees (in the GUI's error
// box, or on the CLI's stderr). `path` names the file involved when there is one, so the CLI can
// say which file failed even for messages such as "Disk full" that do not name it themselves.
class Error : public std::runtime_error {
 public:
  explicit Error(const std::string& message, std::filesystem::path path = {})
      : std::runtime_error(message), path_(std::move(path)) {}

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// Text of a failed open, read, write or close of a text file, from the C library's errno value:
// "File not found", "Invalid filename", "Too many open files", "File access denied",
// "Disk full", "Is a directory", "Bad file descriptor", "Broken pipe", or "I/O error %d".
std::string FileErrorText(int errnoValue);

// The error of a failed text-file operation on `path`.
Error FileError(int errnoValue, const std::filesystem::path& path);

// "Read beyond end of file".
Error ReadBeyondEndOfFile(const std::filesystem::path& path);

// "Cannot open file "%s". %s": a whole-file read whose open failed; `reason` is the system's.
Error CannotOpenFile(const std::filesystem::path& path, const std::string& reason);

// "Out of memory": the work on `path` needed more memory than the system would give.
Error OutOfMemory(const std::filesystem::path& path);

// "List index out of bounds (%d).
Error ListIndexOutOfBounds(long long index);

}  // namespace tolvane
