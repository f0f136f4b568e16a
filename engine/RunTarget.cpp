#include "engine/RunTarget.h"

namespace tolvane {

void RunTarget::OpenStream(std::ostream& stream, const std::filesystem::path& name) {
  writer_.Attach(stream, name);
}

void RunTarget::OpenFile(const std::filesystem::path& path) { writer_.Open(path); }

void RunTarget::OpenReplacement(const std::filesystem::path& path) { replacement_.Open(path); }

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
}

void RunTarget::Abandon() noexcept {
  replacement_.Abandon();
  try {
    writer_.Close();
  } catch (...) {
    // The run's own failure is the one reported.
  }
}

void MakeTargetFolder(const std::filesystem::path& target) {
  if (!target.has_parent_path()) return;
  std::error_code ec;
  std::filesystem::create_directory(target.parent_path(), ec);
}

}  // namespace tolvane
