#include "platform/Error.h"

#include <cerrno>

namespace tolvane {

std::string FileErrorText(int errnoValue) {
  switch (errnoValue) {
    case ENOENT:
    case ENOTDIR:
      return "File not found";
    case EINVAL:
    case ENAMETOOLONG:
    case EILSEQ:
      return "Invalid filename";
    case EMFILE:
    case ENFILE:
      return "Too many open files";
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
      return "File access denied";
    // A folder where a file was expected, a standard stream that the caller closed, and a reader
    // that went away: the texts above would each send the user looking in the wrong place.
    case EISDIR:
      return "Is a directory";
    case EBADF:
      return "Bad file descriptor";
    case EPIPE:
      return "Broken pipe";
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return "Disk full";
    default:
      return "I/O error " + std::to_string(errnoValue);
  }
}

Error FileError(int errnoValue, const std::filesystem::path& path) {
  return Error(FileErrorText(errnoValue), path);
}

Error ReadBeyondEndOfFile(const std::filesystem::path& path) {
  return Error("Read beyond end of file", path);
}

Error CannotOpenFile(const std::filesystem::path& path, const std::string& reason) {
  return Error("Cannot open file \"" + path.string() + "\". " + reason, path);
}

Error OutOfMemory(const std::filesystem::path& path) { return Error("Out of memory", path); }

Error ListIndexOutOfBounds(long long index) {
  return Error("List index out of bounds (" + std::to_string(index) + ")");
}

}  // namespace tolvane
