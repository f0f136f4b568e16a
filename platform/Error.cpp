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
    case EISDIR:
    case ETXTBSY:
      return "File access denied";
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
