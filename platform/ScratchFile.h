#pragma once

#include <filesystem>

#include "platform/ScratchCleanup.h"

namespace tolvane {

// A file that one run writes beside another before it takes that file's place (or is copied
// there): ".<name>.tolvane-<pid>-<6 characters>", in the folder of the file it stands in for.
// The name is made for the run alone (created exclusively), so that runs at the same time never
// write into each other's files, and it says whose it is, so that one left behind by a process
// that was killed outright can be tidied later (RemoveStaleScratch). It is removed when dropped
// unless it was renamed into place, and by the terminating signals (ScratchCleanup).
class ScratchFile {
 public:
  ScratchFile() = default;
  ~ScratchFile() { Remove(); }
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;

  // Creates an empty scratch file beside `file`. It has the mode a new file gets (0666 less the
  // umask), or, with `keepAttributes` and `file` a regular file, `file`'s mode and, as far as
  // this process may give them, its owner and group. A failure raises the file error of its
  // cause, naming `file`.
  void Create(const std::filesystem::path& file, bool keepAttributes);
  // Renames the scratch file to `file`, which it then is for good. A failure raises the file
  // error naming `file`; the scratch file is then still there, to be removed.
  void RenameTo(const std::filesystem::path& file);
  // Removes the scratch file, if there is one; says nothing of a failure.
  void Remove() noexcept;

  bool Exists() const { return !path_.empty(); }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
  ScratchRegistration registration_;
};

// Removes the scratch files of `file` left by processes that no longer run (a run killed with
// SIGKILL, a crash). A live process's files, this process's among them, stay. Says nothing of
// what it cannot remove.
void RemoveStaleScratch(const std::filesystem::path& file) noexcept;

}  // namespace tolvane
