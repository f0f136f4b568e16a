#pragma once

#include <filesystem>

namespace tolvane {

// The scratch files that must not outlive the process, so that a run stopped by SIGINT, SIGTERM
// or SIGHUP leaves none behind.
//
// This is the process's one deliberate piece of mutable global state: a signal handler can reach
// nothing else. It is a fixed table of C strings, filled and emptied through atomics, so that the
// handler may read it at any moment on any thread and does nothing there but unlink(2), which is
// async-signal-safe. A path that does not fit (too long, table full) is simply not registered:
// its owner still removes it, only a signal may then leave it behind.
class ScratchRegistration {
 public:
  ScratchRegistration() = default;
  ~ScratchRegistration() { Release(); }
  ScratchRegistration(const ScratchRegistration&) = delete;
  ScratchRegistration& operator=(const ScratchRegistration&) = delete;

  // A signal removes `path` from now on (in place of what was held before).
  void Hold(const std::filesystem::path& path) noexcept;
  // The file is gone or has become something to keep: a signal no longer removes it.
  void Release() noexcept;

 private:
  int slot_ = -1;
};

// Unlinks every registered file. Async-signal-safe.
void RemoveRegisteredScratch() noexcept;

// SIGINT, SIGTERM and SIGHUP first remove the registered files, then end the process as the
// signal would have (default action, re-raised). A signal the process was started with ignored
// stays ignored.
void RemoveScratchOnTerminatingSignals();

}  // namespace tolvane
