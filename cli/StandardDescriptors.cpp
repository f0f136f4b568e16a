#include "cli/StandardDescriptors.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace tolvane {
namespace {

bool IsClosed(int descriptor) { return ::fcntl(descriptor, F_GETFD) == -1 && errno == EBADF; }

}  // namespace

void TakeClosedStandardDescriptors() {
  // Standard input is opened for writing only, the two others for reading only. The lowest free
  // number comes first, so each open lands on the descriptor it is made for.
  const int modes[] = {O_WRONLY, O_RDONLY, O_RDONLY};
  for (int descriptor = STDIN_FILENO; descriptor <= STDERR_FILENO; ++descriptor) {
    if (!IsClosed(descriptor)) continue;
    const int opened = ::open("/dev/null", modes[descriptor]);
    if (opened >= 0 && opened != descriptor) {
      ::dup2(opened, descriptor);
      ::close(opened);
    }
  }
}

}  // namespace tolvane
