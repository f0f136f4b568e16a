#pragma once

#include <filesystem>
#include <iosfwd>
#include <string_view>

#include "engine/TargetReplacement.h"
#include "platform/TextFile.h"

namespace tolvane {

// Where a run's bytes go: a stream (standard output), a file written in place, or a file
// replaced only once the run is complete (TargetReplacement). The run writes, then commits or
// abandons, the same way whichever it is.
class RunTarget {
 public:
  // Each raises the file error of an open that fails.
  void OpenStream(std::ostream& stream, const std::filesystem::path& name);
  void OpenFile(const std::filesystem::path& path);
  void OpenReplacement(const std::filesystem::path& path);

  void Write(std::string_view bytes);
  // Everything is written: flushes and closes; a replacement takes the file's place. Raises the
  // file error of a failed write, close or rename.
  void Commit();
  // The run failed: a file written in place keeps what was written so far, a replacement leaves
  // the file as it was. Says nothing of a failure of its own.
  void Abandon() noexcept;

 private:
  TextFileWriter writer_;
  TargetReplacement replacement_;
};

// The target's folder, one level: a run makes it when it is missing. A failure shows later,
// when the target cannot be created.
void MakeTargetFolder(const std::filesystem::path& target);

}  // namespace tolvane
