#include "engine/RunTarget.h"

#include <unistd.h>

#include <cerrno>

#include "platform/Error.h"

namespace tolvane {
namespace {

namespace fs = std::filesystem;

// The file a link points to, so that the link stays a link.
fs::path FollowLinks(const fs::path& path) {
  std::error_code ec;
  if (!fs::is_symlink(fs::symlink_status(path, ec))) return path;
  const fs::path followed = fs::weakly_canonical(path, ec);
  return ec ? path : followed;
}

}  // namespace

void RunTarget::OpenStream(std::ostream& stream, const fs::path& name) {
  writer_.Attach(stream, name);
}

void RunTarget::OpenFile(const fs::path& path) {
  std::error_code ec;
  const fs::file_status status = fs::status(path, ec);
  if (fs::is_directory(status)) throw FileError(EISDIR, path);
  if (fs::exists(status) && !fs::is_regular_file(status)) {
    writer_.Open(path);
    return;
  }
  // Replacing a file asks only for the folder; writing it asked for the file too, and still does.
  if (fs::exists(status) && ::access(path.c_str(), W_OK) != 0) throw FileError(errno, path);
  Replace(FollowLinks(path));
}

void RunTarget::OpenReplacement(const fs::path& path) { Replace(FollowLinks(path)); }

void RunTarget::Replace(const fs::path& path) {
  // Made only now, when the run has its source and is about to write: a run that fails before
  // leaves no folder behind.
  std::error_code ec;
  if (path.has_parent_path() && fs::create_directory(path.parent_path(), ec))
    madeFolder_ = path.parent_path();
  try {
    replacement_.Open(path);
  } catch (...) {
    Abandon();
    throw;
  }
}

void RunTarget::Write(std::string_view bytes) {
  if (replacement_.IsOpen()) {
    replacement_.Write(bytes);
  } else {
    writer_.Write(bytes);
  }
}

void RunTarget::Commit() {
  if (replacement_.IsOpen()) {
    replacement_.Commit();
  } else {
    writer_.Close();
  }
  madeFolder_.clear();
}

void RunTarget::Abandon() noexcept {
  replacement_.Abandon();
  try {
    writer_.Close();
  } catch (...) {
    // The run's own failure is the one reported.
  }
  if (madeFolder_.empty()) return;
  // Only an empty folder goes: a run writing into it meanwhile keeps it.
  ::rmdir(madeFolder_.c_str());
  madeFolder_.clear();
}

}  // namespace tolvane
