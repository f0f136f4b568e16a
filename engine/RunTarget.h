#pragma once

#include <filesystem>
#include <iosfwd>
#include <string_view>

#include "engine/TargetReplacement.h"
#include "platform/TextFile.h"

namespace tolvane {

// Where a run's bytes go: a stream (standard output), or a file, which is replaced whole once the
// run is complete (TargetReplacement) and is as it was after a run that failed or was stopped.
// A file that cannot be replaced by another (a device such as /dev/null, a pipe) is written in
// place. The run writes, then commits or abandons, the same way whichever it is.
class RunTarget {
 public:
  RunTarget() = default;
  ~RunTarget() { Abandon(); }
  RunTarget(const RunTarget&) = delete;
  RunTarget& operator=(const RunTarget&) = delete;

  // Each raises the file error of an open that fails, naming the target.
  void OpenStream(std::ostream& stream, const std::filesystem::path& name);
  // Makes the target's folder, one level, when it is missing. A target that exists must be one
  // the run may write ("File access denied" else, as for a folder). A symbolic link is followed:
  // the file it points to is replaced, the link stays.
  void OpenFile(const std::filesystem::path& path);
  // The same for the source of the run itself, which is replaced however it may be written.
  void OpenReplacement(const std::filesystem::path& path);

  void Write(std::string_view bytes);
  // Everything is written: flushes and closes; a replacement takes the file's place. Raises the
  // file error of a failed write, close or rename.
  void Commit();
  // The run failed: the file is left as it was (a device or pipe keeps what was written), and a
  // folder the run made for it is removed when it is still empty. Says nothing of a failure of
  // its own.
  void Abandon() noexcept;

 private:
  void Replace(const std::filesystem::path& path);

  TextFileWriter writer_;
  TargetReplacement replacement_;
  std::filesystem::path madeFolder_;
};

}  // namespace tolvane
