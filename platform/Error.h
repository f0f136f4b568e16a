#pragma once

#include <filesystem>
#include <string>

// The one error type, tolvane::Error, is the library's public one, so that every error the
// engine raises is what a caller of the library catches.
#include "tolvane/Error.h"

namespace tolvane {

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
