#include "cli/StandardInput.h"

#include <cerrno>
#include <istream>

#include "platform/Error.h"

namespace tolvane {

std::size_t StandardInputBytes::Read(char* data, std::size_t size) {
  errno = 0;
  in_.read(data, static_cast<std::streamsize>(size));
  const int reason = errno;
  if (in_.bad()) throw FileError(reason != 0 ? reason : EIO, kStandardInputName);
  return static_cast<std::size_t>(in_.gcount());
}

}  // namespace tolvane
