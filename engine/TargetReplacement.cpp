#include "engine/TargetReplacement.h"

#include "platform/Error.h"

namespace tolvane {
namespace {

// The scratch file is the run's own business: its failures are told of the target.
template <typename Step>
void AsTarget(const std::filesystem::path& target, Step step) {
  try {
    step();
  } catch (const Error& error) {
    throw Error(error.what(), target);
  }
}

}  // namespace

void TargetReplacement::Open(const std::filesystem::path& target) {
  Abandon();
  RemoveStaleScratch(target);
  scratch_.Create(target, true);
  target_ = target;
  try {
    AsTarget(target_, [&] { writer_.Open(scratch_.path()); });
  } catch (...) {
    scratch_.Remove();
    throw;
  }
}

void TargetReplacement::Write(std::string_view bytes) {
  AsTarget(target_, [&] { writer_.Write(bytes); });
}

void TargetReplacement::Commit() {
  try {
    AsTarget(target_, [&] { writer_.Close(); });
    scratch_.RenameTo(target_);
  } catch (...) {
    Abandon();
    throw;
  }
}

void TargetReplacement::Abandon() noexcept {
  if (!scratch_.Exists()) return;
  try {
    writer_.Close();
  } catch (...) {
    // Whatever it held is thrown away with it.
  }
  scratch_.Remove();
}

}  // namespace tolvane
