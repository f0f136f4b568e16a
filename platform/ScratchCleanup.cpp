#include "platform/ScratchCleanup.h"

#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>

namespace tolvane {
namespace {

static_assert(std::atomic<int>::is_always_lock_free, "the signal handler reads the slots' state");

// A run holds two scratch files at most (the re-cut source, the target's), so a few runs of the
// window or the tests fit easily.
constexpr int kSlots = 32;
constexpr std::size_t kPathBytes = 4096;

// A slot is taken by whoever moves it out of kFree or kHeld, so the handler never reads a path
// being written, and a path being read is never overwritten.
enum SlotState : int { kFree, kFilling, kHeld, kRemoving };

struct Slot {
  std::atomic<int> state{kFree};
  char path[kPathBytes];
};

Slot slots[kSlots];

extern "C" void RemoveScratchAndDie(int signal) {
  const int savedErrno = errno;
  RemoveRegisteredScratch();
  // SA_RESETHAND has put the default action back; the signal is blocked until the handler
  // returns, and then ends the process as it would have without the handler.
  std::raise(signal);
  errno = savedErrno;
}

}  // namespace

void ScratchRegistration::Hold(const std::filesystem::path& path) noexcept {
  Release();
  const std::string& text = path.native();
  if (text.size() >= kPathBytes) return;
  for (int i = 0; i < kSlots; ++i) {
    int expected = kFree;
    if (!slots[i].state.compare_exchange_strong(expected, kFilling)) continue;
    std::memcpy(slots[i].path, text.c_str(), text.size() + 1);
    slots[i].state.store(kHeld, std::memory_order_release);
    slot_ = i;
    return;
  }
}

void ScratchRegistration::Release() noexcept {
  if (slot_ < 0) return;
  // When the handler has taken the slot the process is ending: the slot stays its.
  int expected = kHeld;
  slots[slot_].state.compare_exchange_strong(expected, kFree, std::memory_order_acq_rel);
  slot_ = -1;
}

void RemoveRegisteredScratch() noexcept {
  for (Slot& slot : slots) {
    int expected = kHeld;
    if (slot.state.compare_exchange_strong(expected, kRemoving, std::memory_order_acq_rel))
      ::unlink(slot.path);
  }
}

void RemoveScratchOnTerminatingSignals() {
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    struct sigaction current = {};
    if (sigaction(signal, nullptr, &current) != 0 || current.sa_handler == SIG_IGN) continue;
    struct sigaction action = {};
    action.sa_handler = RemoveScratchAndDie;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND;
    sigaction(signal, &action, nullptr);
  }
}

}  // namespace tolvane
