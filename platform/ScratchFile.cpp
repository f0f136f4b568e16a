#include "platform/ScratchFile.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>
#include <string>
#include <string_view>

#include "platform/Error.h"

namespace tolvane {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kRandomCharacters = 6;
constexpr char kCharacters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
// Leaves room for the rest of the name within the usual 255 bytes of a file name.
constexpr std::size_t kNameBytesKept = 200;

// ".<name>.tolvane-": what every scratch file of `file` starts with.
std::string ScratchPrefix(const fs::path& file) {
  return "." + file.filename().native().substr(0, kNameBytesKept) + ".tolvane-";
}

std::string RandomCharacters() {
  thread_local std::mt19937 random{std::random_device{}()};
  std::uniform_int_distribution<std::size_t> pick(0, sizeof kCharacters - 2);
  std::string text;
  for (std::size_t i = 0; i < kRandomCharacters; ++i) text += kCharacters[pick(random)];
  return text;
}

// The owner and mode of the file a scratch file is to replace. Giving the owner may be refused
// (only root may give a file away): the group alone, then nothing, is the best that is allowed.
void TakeAttributes(int fd, const fs::path& file) {
  struct stat status = {};
  if (::stat(file.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return;
  if (::fchown(fd, status.st_uid, status.st_gid) != 0) (void)::fchown(fd, -1, status.st_gid);
  // After fchown, which clears the set-user and set-group bits.
  (void)::fchmod(fd, status.st_mode & 07777);
}

// The pid in a scratch file's name after its prefix ("<pid>-XXXXXX"), or 0 when the rest of the
// name is not that.
pid_t OwnerOf(std::string_view rest) {
  const std::size_t dash = rest.find('-');
  if (dash == 0 || dash == std::string_view::npos || dash > 9) return 0;
  if (rest.size() - dash - 1 != kRandomCharacters) return 0;
  pid_t pid = 0;
  for (const char c : rest.substr(0, dash)) {
    if (c < '0' || c > '9') return 0;
    pid = pid * 10 + (c - '0');
  }
  for (const char c : rest.substr(dash + 1))
    if (std::string_view(kCharacters).find(c) == std::string_view::npos) return 0;
  return pid;
}

}  // namespace

void ScratchFile::Create(const fs::path& file, bool keepAttributes) {
  Remove();
  const fs::path folder = file.parent_path();
  const std::string prefix = ScratchPrefix(file) + std::to_string(::getpid()) + "-";
  for (int attempt = 0;; ++attempt) {
    const fs::path candidate = folder / (prefix + RandomCharacters());
    // 0666: the kernel takes the umask off, as for any new file.
    const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
      if (errno == EEXIST && attempt < 100) continue;
      throw FileError(errno, file);
    }
    path_ = candidate;
    registration_.Hold(path_);
    if (keepAttributes) TakeAttributes(fd, file);
    ::close(fd);
    return;
  }
}

void ScratchFile::RenameTo(const fs::path& file) {
  if (::rename(path_.c_str(), file.c_str()) != 0) throw FileError(errno, file);
  registration_.Release();
  path_.clear();
}

void ScratchFile::Remove() noexcept {
  if (path_.empty()) return;
  ::unlink(path_.c_str());
  registration_.Release();
  path_.clear();
}

void RemoveStaleScratch(const fs::path& file) noexcept {
  const std::string prefix = ScratchPrefix(file);
  const fs::path folder = file.parent_path().empty() ? fs::path(".") : file.parent_path();
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().native();
    if (name.compare(0, prefix.size(), prefix) != 0) continue;
    const pid_t owner = OwnerOf(std::string_view(name).substr(prefix.size()));
    // kill(pid, 0) fails with ESRCH only when no such process exists; EPERM is someone's live
    // process.
    if (owner > 0 && ::kill(owner, 0) != 0 && errno == ESRCH) ::unlink(it->path().c_str());
  }
}

}  // namespace tolvane
