#pragma once

#include <filesystem>
#include <string_view>

#include "platform/TextFile.h"

namespace tolvane {

// Writes a file's new content into a scratch file beside it, which takes the file's place only
// once it is complete: until Commit the file (if there is one) stays as it was, and a replacement
// abandoned, or destroyed uncommitted, leaves it so, with no scratch file behind. Serves any
// target, the source of a run written over itself among them.
class TargetReplacement {
 public:
  TargetReplacement() = default;
  ~TargetReplacement() { Abandon(); }
  TargetReplacement(const TargetReplacement&) = delete;
  TargetReplacement& operator=(const TargetReplacement&) = delete;

  // Creates the scratch file beside `target`; raises the file error when it cannot be created.
  void Open(const std::filesystem::path& target);
  // Raises the file error of a failed write (the replacement is then still to be abandoned).
  void Write(std::string_view bytes);
  // Closes the scratch file and renames it over the target. A failed close or rename raises
  // its file error, after the scratch file is gone and the target left as it was.
  void Commit();
  // Drops the scratch file; the target stays as it was. Nothing to do when none is open.
  void Abandon() noexcept;

  bool IsOpen() const { return !scratch_.empty(); }
  const std::filesystem::path& target() const { return target_; }

 private:
  std::filesystem::path target_;
  std::filesystem::path scratch_;
  TextFileWriter writer_;
};

}  // namespace tolvane
