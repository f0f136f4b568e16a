#include "platform/FileBytes.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <utility>

namespace tolvane {

FileBytes FileBytes::Map(const std::filesystem::path& path) {
  void* address = MAP_FAILED;
  struct stat status {};
  if (const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC); fd >= 0) {
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && status.st_size > 0)
      address =
          ::mmap(nullptr, static_cast<std::size_t>(status.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
    ::close(fd);
  }
  FileBytes bytes;
  if (address == MAP_FAILED) {
    // Read the ordinary way, which also gives a file that cannot be opened (missing, a folder,
    // no access) the error texts of every other whole-file read.
    bytes.copy_ = ReadFileBytes(path);
    bytes.bytes_ = bytes.copy_.view();
    return bytes;
  }
  bytes.mapped_ = address;
  bytes.mappedSize_ = static_cast<std::size_t>(status.st_size);
  bytes.bytes_ = {static_cast<const char*>(address), bytes.mappedSize_};
  return bytes;
}

FileBytes FileBytes::Copy(std::string_view bytes) {
  FileBytes copied;
  copied.copy_ = ByteBuffer::Copy(bytes);
  copied.bytes_ = copied.copy_.view();
  return copied;
}

FileBytes::FileBytes(FileBytes&& other) noexcept
    : mapped_(std::exchange(other.mapped_, nullptr)),
      mappedSize_(std::exchange(other.mappedSize_, 0)),
      copy_(std::move(other.copy_)),
      bytes_(std::exchange(other.bytes_, {})) {}

FileBytes& FileBytes::operator=(FileBytes&& other) noexcept {
  if (this != &other) {
    Unmap();
    mapped_ = std::exchange(other.mapped_, nullptr);
    mappedSize_ = std::exchange(other.mappedSize_, 0);
    copy_ = std::move(other.copy_);
    bytes_ = std::exchange(other.bytes_, {});
  }
  return *this;
}

FileBytes::~FileBytes() { Unmap(); }

void FileBytes::Unmap() {
  if (mapped_ != nullptr) ::munmap(mapped_, mappedSize_);
  mapped_ = nullptr;
}

void FileBytes::Prefetch(std::string_view part) const {
#ifdef MADV_POPULATE_READ
  if (mapped_ == nullptr || part.empty()) return;
  const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
  const auto begin = reinterpret_cast<std::uintptr_t>(part.data()) / page * page;
  const auto end = reinterpret_cast<std::uintptr_t>(part.data()) + part.size();
  // A hint only: an older system refuses it, and the pages then come in as they are read.
  ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_READ);  // NOLINT
#else
  (void)part;
#endif
}

void FileBytes::Forget(std::string_view part) const {
  if (mapped_ == nullptr || part.empty()) return;
  // Whole pages inside the part only: a page it shares with its neighbours may hold their bytes.
  const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
  const auto begin = (reinterpret_cast<std::uintptr_t>(part.data()) + page - 1) / page * page;
  const auto end = (reinterpret_cast<std::uintptr_t>(part.data()) + part.size()) / page * page;
  if (end > begin) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_DONTNEED);  // NOLINT
}

}  // namespace tolvane
