#include "engine/LineSpool.h"

#include <cerrno>
#include <vector>

#include "platform/Error.h"

namespace tolvane {
namespace {

[[noreturn]] void Fail() { throw FileError(errno != 0 ? errno : EIO, {}); }

}  // namespace

void LineSpool::Spill() {
  if (!file_) {
    errno = 0;
    file_.reset(std::tmpfile());
    if (!file_) Fail();
  }
  errno = 0;
  if (std::fwrite(memory_.data(), 1, memory_.size(), file_.get()) != memory_.size()) Fail();
  memory_.clear();
}

void LineSpool::Append(std::string_view bytes) {
  memory_.append(bytes);
  if (memory_.size() > memoryBytes_) Spill();
}

void LineSpool::Drain(const std::function<void(std::string_view)>& write) {
  if (file_) {
    errno = 0;
    if (std::fflush(file_.get()) != 0) Fail();
    std::rewind(file_.get());
    std::vector<char> block(1 << 16);
    for (;;) {
      const std::size_t got = std::fread(block.data(), 1, block.size(), file_.get());
      if (got == 0) break;
      write(std::string_view(block.data(), got));
    }
    if (std::ferror(file_.get()) != 0) Fail();
    file_.reset();
  }
  write(memory_);
  memory_.clear();
  if (memory_.capacity() > memoryBytes_) memory_.shrink_to_fit();
}

}  // namespace tolvane
