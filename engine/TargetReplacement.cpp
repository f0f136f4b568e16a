#include "engine/TargetReplacement.h"

#include "platform/Error.h"

namespace tolvane {

void TargetReplacement::Open(const std::filesystem::path& target) {
  Abandon();
  const std::filesystem::path scratch = ScratchPathBeside(target);
  writer_.Open(scratch);
  target_ = target;
  scratch_ = scratch;
}

void TargetReplacement::Write(std::string_view bytes) { writer_.Write(bytes); }

void TargetReplacement::Commit() {
  try {
    writer_.Close();
    std::error_code ec;
    std::filesystem::rename(scratch_, target_, ec);
    if (ec) throw FileError(ec.value(), target_);
  } catch (...) {
    Abandon();
    throw;
  }
  scratch_.clear();
}

void TargetReplacement::Abandon() noexcept {
  if (scratch_.empty()) return;
  try {
    writer_.Close();
  } catch (...) {
    // Whatever it held is thrown away with it.
  }
  std::error_code ec;
  std::filesystem::remove(scratch_, ec);
  scratch_.clear();
}

}  // namespace tolvane
