#pragma once

#include <filesystem>
#include <string_view>

#include "platform/ScratchFile.h"
#include "platform/TextFile.h"

namespace tolvane {

// Writes a file's new content into a scratch file beside it (ScratchFile), which takes the file's
// place only once it is complete: until Commit the file (if there is one) stays as it was, and a
// replacement abandoned, destroyed uncommitted or stopped by a terminating signal leaves it so,
// with no scratch file behind. The new file keeps the mode, owner and group of the file it
// replaces (as far as the process may give them); a new file gets the usual mode. Of two
// replacements of one file at the same time, the one committed last is the file, whole.
class TargetReplacement {
 public:
  TargetReplacement() = default;
  ~TargetReplacement() { Abandon(); }
  TargetReplacement(const TargetReplacement&) = delete;
  TargetReplacement& operator=(const TargetReplacement&) = delete;

  // Removes scratch files of `target` left by processes that are gone, then creates this one's.
  // Raises the file error, naming `target`, when it cannot be created.
  void Open(const std::filesystem::path& target);
  // Raises the file error of a failed write, naming the target (the replacement is then still to
  // be abandoned).
  void Write(std::string_view bytes);
  // Closes the scratch file and renames it over the target. A failed close or rename raises
  // its file error, after the scratch file is gone and the target left as it was.
  void Commit();
  // Drops the scratch file; the target stays as it was. Nothing to do when none is open.
  void Abandon() noexcept;

  bool IsOpen() const { return scratch_.Exists(); }
  const std::filesystem::path& target() const { return target_; }

 private:
  std::filesystem::path target_;
  ScratchFile scratch_;
  TextFileWriter writer_;
};

}  // namespace tolvane
